// The real program under a window manager (openbox), which keeps the focus from windows
// that do not earn it: Ctrl+Shift+F opens the code search with the keyboard focus, typing
// and Return show the first hit, Escape closes the search and gives the focus back.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::mainWindowRegex;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

const char* const library =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<toc name=\"Code search\">Code search library of 2026-11-30 snippets\n"
    "  <group name=\"ZID Idavode Ruriva\"><topic File=\"ViewerHelp.txt\" theme_de=\"Hilfe\"/></group>\n"
    "  <group name=\"G\">\n"
    "    <topic File=\"G/First.zn\" theme_de=\"Erstes\"/>\n"
    "    <topic File=\"G/Second.zn\" theme_de=\"Zweites\"/>\n"
    "    <topic File=\"G/Third.zn\" theme_de=\"Drittes\"/>\n"
    "  </group>\n"
    "</toc>\n";

class CodeSearchE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->copyBinaryOnly();
    viewer->writeProgramFile(testing_support::databaseFileName, library);
    viewer->writeProgramFile("ViewerHelp.txt", "Help\n");
    viewer->writeProgramFile("G/First.zn", "no marker here\n");
    viewer->writeProgramFile("G/Second.zn", "; Second\n  call Marker_Call(1)\n");
    viewer->writeProgramFile("G/Third.zn", "MARKER_CALL again\n");
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1", "SourceInTitle=1"});
    // The window manager starts in the program's process group, so it ends with it; the
    // program starts once the manager has taken the screen.
    const std::string launcher = viewer->writeProgramFile(
        "with-openbox.sh",
        "#!/bin/sh\nopenbox --sm-disable >/dev/null 2>&1 &\n"
        "for i in $(seq 200); do xdotool get_desktop >/dev/null 2>&1 && break; sleep 0.05; done\n"
        "exec \"$(dirname \"$0\")/zn-api-viewer\"\n");
    chmod(launcher.c_str(), 0755);
    viewer->useProgramFile(launcher);
  }

  void TearDown() override {
    if (HasFailure()) std::printf("program stderr:\n%s\n", viewer->standardError().c_str());
  }

  // Keys go where a user's keys would go: to the window that has the focus.
  bool press(const std::string& keys) { return viewer->xdotool({"key", "--delay", "20", keys}).status == 0; }

  bool becomesActive(const std::string& window) {
    for (int attempt = 0; attempt < stepLimitMs / 50; ++attempt) {
      if (viewer->xdotool({"getactivewindow"}).output == window + "\n") return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(CodeSearchE2e, CtrlShiftFTypingAndReturnShowTheFirstHitEscapeGivesTheFocusBack) {
  ASSERT_TRUE(viewer->start());
  const std::string main = viewer->waitForWindow(mainWindowRegex, startLimitMs);
  ASSERT_FALSE(main.empty()) << "the main window did not appear";
  ASSERT_TRUE(becomesActive(main));

  ASSERT_TRUE(press("ctrl+shift+f"));
  const std::string search = viewer->waitForWindow("^Im Code suchen$", stepLimitMs);
  ASSERT_FALSE(search.empty()) << "the code search window did not appear";
  ASSERT_TRUE(becomesActive(search)) << "the window manager left the focus elsewhere";

  ASSERT_TRUE(viewer->xdotool({"type", "--delay", "20", "marker_call"}).status == 0);
  const std::string shown =
      "^" + testing_support::regexEscape("Linux ZN-ZID-Idavode-Ruriva ~ G/Second.zn") + "$";
  ASSERT_TRUE(press("Return"));
  EXPECT_EQ(main, viewer->waitForWindow(shown, stepLimitMs)) << viewer->windowName(main);

  // Opened again after work in the main window, the window earns the focus again.
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      ASSERT_TRUE(press("F5"));
      ASSERT_TRUE(press("ctrl+shift+f"));
      ASSERT_TRUE(becomesActive(search)) << "the window manager left the focus elsewhere";
    }
    ASSERT_TRUE(press("Escape"));
    EXPECT_TRUE(viewer->waitUntilHidden(search, stepLimitMs));
    EXPECT_TRUE(viewer->running()) << "Escape in the code search must not end the program";
    ASSERT_TRUE(becomesActive(main));
  }
  // The main window has the keyboard again: its Escape ends the program.
  ASSERT_TRUE(press("Escape"));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
  EXPECT_TRUE(viewer->dialogs().empty());
}

}  // namespace
