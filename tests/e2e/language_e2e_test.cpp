// The real program starts in the language its settings store.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::mainWindowRegex;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

class LanguageE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->copyProgramFolder();
  }

  void TearDown() override { testing_support::reportFailure(*viewer); }

  void storeLanguage(int language) {
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1",
                           "Language=" + std::to_string(language), "SearchMode=1"});
  }

  // The message without a title: of the untitled windows, neither the screen itself
  // nor a window of a single pixel.
  std::string untitledWindow() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(stepLimitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      for (const std::string& id : viewer->visibleWindows("^$")) {
        const auto geometry = viewer->windowGeometry(id);
        if (geometry && geometry->width > 1 && geometry->x > 0) return id;
      }
    }
    return std::string();
  }

  std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(LanguageE2e, StoredEnglishIsAppliedAtTheStartAndAMissingLanguageFileIsReportedOnce) {
  std::filesystem::remove(viewer->programFolder() + "DizerEZ API-LibLang.inf");
  storeLanguage(1);
  ASSERT_TRUE(viewer->start());

  // Only the full switch of the start reads the language file.
  const auto text = viewer->waitForDialog("", startLimitMs);
  ASSERT_TRUE(text.has_value()) << "the stored language was not applied";
  EXPECT_EQ("Language-File not found!", *text);
  const std::string message = untitledWindow();
  ASSERT_FALSE(message.empty());
  EXPECT_TRUE(viewer->keyUntilHidden(message, "Return", stepLimitMs));

  const std::string window = viewer->waitForWindow(mainWindowRegex, stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  // The index shows the English titles; the search looks at titles only.
  ASSERT_TRUE(viewer->type(window, "Creating a top"));
  const std::string shown =
      "^" + testing_support::regexEscape("Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Windows/WindowBasics.zn") + "$";
  EXPECT_EQ(window, viewer->waitForWindow(shown, stepLimitMs)) << viewer->windowName(window);
  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
  EXPECT_EQ(1u, viewer->dialogs().size());
}

}  // namespace
