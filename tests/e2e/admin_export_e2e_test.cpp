// The administrator build on the sample library: the admin button opens the admin
// menu, and items chosen there with the keyboard write their exports beside the
// templates, two folders above the program.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "export/web_page.h"
#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using testing_support::readFile;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

const char* const mainTitle = "Linux ZN-ZID-Idavode-Ruriva";

class AdminExportE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->placeProgramBelowRoot();
    viewer->copyProgramFolder();
    viewer->copyBinary(ZN_ADMIN_VIEWER_BINARY);
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1"});
    root = viewer->rootFolder();
    std::filesystem::create_directories(root + "Templates");
    std::filesystem::create_directories(root + "Export");
    for (const char* name : {"ZN-LinuxAPI-Head.html", "ZN-LinuxAPI-Tail.html"}) {
      std::filesystem::copy_file(std::string(ZN_SOURCE_DIR) + "/sample/Templates/" + name,
                                 root + "Templates/" + name);
    }
  }

  void TearDown() override { testing_support::reportFailure(*viewer); }

  // The popup menu: an untitled window of the program, taller than a tooltip.
  bool waitForMenu() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(stepLimitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      for (const std::string& window : viewer->visibleWindows("^Zarnel-Linux-API-Viewer$")) {
        const auto geometry = viewer->windowGeometry(window);
        if (geometry && geometry->height > 100) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  // Clicks the admin button, steps down to the item with the arrow key and takes it.
  void chooseAdminItem(const std::string& mainWindow, int item) {
    ASSERT_TRUE(viewer->click(mainWindow, 420 + 15, 2 + 15));
    ASSERT_TRUE(waitForMenu()) << "the admin menu did not open";
    for (int step = 0; step < item; ++step) ASSERT_EQ(viewer->xdotool({"key", "Down"}).status, 0);
    ASSERT_EQ(viewer->xdotool({"key", "Return"}).status, 0);
  }

  // Waits for the message, then answers it.
  std::string message(const std::string& mainWindow) {
    const std::optional<std::string> text = viewer->waitForDialog(mainTitle, stepLimitMs);
    if (!text) return "(no message)";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(stepLimitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      for (const std::string& window : viewer->visibleWindows(std::string("^") + mainTitle + "$")) {
        if (window != mainWindow && viewer->keyUntilHidden(window, "Return", stepLimitMs)) return *text;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "(message not closed) " + *text;
  }

  std::unique_ptr<ViewerProcess> viewer;
  std::string root;
};

TEST_F(AdminExportE2e, AdminMenuWritesTheWebPageAndTheFileList) {
  const std::string dateBefore = exports::webPageDate(exports::localToday());
  ASSERT_TRUE(viewer->start());
  const std::string window = viewer->waitForWindow(std::string("^") + mainTitle + "$", startLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";

  chooseAdminItem(window, 1);
  EXPECT_EQ(message(window), "html-Export done to ...\n../../Export/ZN-LinuxAPI-Lib.html");
  const std::string page = readFile(root + "Export/ZN-LinuxAPI-Lib.html");
  const std::string dateAfter = exports::webPageDate(exports::localToday());
  EXPECT_EQ(page.compare(0, 15, "<!DOCTYPE html>"), 0) << page.substr(0, 200);
  EXPECT_TRUE(page.find("Stand: " + dateBefore) != std::string::npos ||
              page.find("Stand: " + dateAfter) != std::string::npos);
  EXPECT_NE(page.find("onclick=\"outline('ZID Idavode Ruriva');outline('GTK windows');"), std::string::npos);
  EXPECT_NE(page.find("href=\"Linux/Gtk/Windows/WindowBasics.zn\""), std::string::npos);

  chooseAdminItem(window, 4);
  EXPECT_EQ(message(window), "Filelist-Export done to ...\n../../Export/FileList.txt");
  EXPECT_EQ(
      readFile(root + "Export/FileList.txt").compare(0, 43, "ViewerHelp.txt\nGtk/Windows/WindowBasics.zn\n"),
      0);

  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
}

}  // namespace
