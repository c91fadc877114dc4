// The real program on the sample library: a click on a topic shows its code, and the
// copy button hands that code to the clipboard.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

class TopicClickE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->copyProgramFolder();
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1", "SourceInTitle=1"});
  }

  void TearDown() override { testing_support::reportFailure(*viewer); }

  std::string clipboard() {
    const testing_support::CommandResult result = testing_support::runCommand(
        {"xclip", "-o", "-selection", "clipboard"}, {"DISPLAY=" + viewer->display()}, stepLimitMs);
    return result.output;
  }

  std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(TopicClickE2e, ClickOnATopicShowsItsCode) {
  ASSERT_TRUE(viewer->start());
  const std::string window = viewer->waitForWindow("^Linux ZN-ZID-Idavode-Ruriva$", startLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";

  // Row 4 of the open tree, "Ein Hauptfenster erzeugen", lies at this height.
  ASSERT_TRUE(viewer->click(window, 150, 148));
  const std::string shown =
      "^" + testing_support::regexEscape("Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Windows/WindowBasics.zn") + "$";
  ASSERT_EQ(window, viewer->waitForWindow(shown, stepLimitMs)) << viewer->windowName(window);

  // The copy button sits 134 pixels left of the right edge of the 800 pixel wide window.
  ASSERT_TRUE(viewer->click(window, 800 - 134 + 15, 17));
  std::string copied;
  for (int attempt = 0; attempt < 100 && copied.find("gtk_window_new") == std::string::npos; ++attempt)
    copied = clipboard();
  EXPECT_NE(std::string::npos, copied.find("gtk_window_new")) << copied;
  EXPECT_EQ(std::string::npos, copied.find("; IDE Options = "))
      << "the options block is not part of the code";

  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
}

}  // namespace
