// The real program's search field on the sample library: typing finds a topic and
// shows its file, F3 steps on to the next hit.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::mainWindowRegex;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

// The main window's title while the given library file is shown.
std::string titleShowing(const std::string& file) {
  return "^" + testing_support::regexEscape("Linux ZN-ZID-Idavode-Ruriva ~ " + file) + "$";
}

class SearchE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->copyProgramFolder();
    viewer->recordingFake("beep");
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1"});
  }

  void TearDown() override { testing_support::reportFailure(*viewer); }

  std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(SearchE2e, TypingShowsTheFirstHitAndF3StepsOn) {
  ASSERT_TRUE(viewer->start());
  const std::string window = viewer->waitForWindow(mainWindowRegex, startLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";

  // The search field has the keyboard focus from the start.
  ASSERT_TRUE(viewer->type(window, "treeview"));
  EXPECT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Widgets/TreeViewBasics.zn"), stepLimitMs))
      << viewer->windowName(window);

  ASSERT_TRUE(viewer->key(window, "F3"));
  EXPECT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Widgets/TreeViewIcons.zn"), stepLimitMs))
      << viewer->windowName(window);
  ASSERT_TRUE(viewer->key(window, "F3"));
  EXPECT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Widgets/TreeViewSort.zn"), stepLimitMs))
      << viewer->windowName(window);

  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
  EXPECT_TRUE(viewer->dialogs().empty());
}

}  // namespace
