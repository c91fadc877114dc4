// The real program under a window manager (openbox), as on every desktop: each window and
// message it opens takes the keyboard focus, so the user's Escape or Return reaches it, and
// Escape in any window but the main one leaves the program running.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

struct Case {
  const char* name;
  const char* button;  // x of the main window's button clicked first (y 17)
  const char* keys;    // then pressed wherever the focus is; "chooser": the settings' "..." clicked
  const char* titleRegex;
  const char* closeKey;
};

// Info button 781 (its menu: about, database, update, open code), settings button 711.
const Case cases[] = {
    {"update window", "781", "Down Down Down Return", "Update check$", "Escape"},
    {"database window", "781", "Down Down Return", "^About: current Database", "Escape"},
    {"about dialog", "781", "Down Return", "^About Zarnel", "Escape"},
    {"settings window", "711", "", "Settings$", "Escape"},
    {"database chooser", "711", "chooser", "^Choose database", "Escape"},
    {"settings window again", "", "", "Settings$", "Escape"},
    {"message naming the editor that cannot start", "781", "Down Down Down Down Return",
     "^Linux ZN-ZID-Idavode-Ruriva$", "Return"},
};

TEST(WindowManagerE2e, EveryWindowTakesTheFocusSoItsKeyClosesItAndTheProgramRunsOn) {
  ViewerProcess viewer;
  ASSERT_TRUE(viewer.displayRunning()) << "Xvfb could not be started";
  viewer.copyProgramFolder();
  viewer.writeSettings(
      {"db-path=ZN-LinuxAPI-Toc.xml", "Lib-path=", "about=1", "CodeEditorPath=zn-no-editor"});
  viewer.setEnvironment("ZN_UPDATE_URL=http://127.0.0.1:1/version.ini");
  ASSERT_TRUE(viewer.startWindowManager()) << "openbox did not come up";
  ASSERT_TRUE(viewer.start());
  const std::string main =
      viewer.waitForWindow(testing_support::mainWindowRegex, testing_support::startLimitMs);
  ASSERT_FALSE(main.empty()) << "the main window did not appear";

  // Windows without a title of their own, the menus among them, bear the program's name.
  const char* const untitled = "^Zarnel-Linux-API-Viewer$";
  for (const Case& c : cases) {
    const std::vector<std::string> before = viewer.visibleWindows(untitled);
    if (*c.button) viewer.click(main, std::stoi(c.button), 17);
    const std::string keys = c.keys;
    if (keys == "chooser") {
      viewer.click(viewer.waitForWindow("Settings$", stepLimitMs), 515, 52);
    } else if (!keys.empty()) {
      // The info menu takes keys once it is on the screen.
      viewer.waitForWindow(untitled, stepLimitMs, before);
      viewer.pressKeys(keys);
    }
    const std::string opened = viewer.waitForWindow(c.titleRegex, stepLimitMs, {main});
    ASSERT_FALSE(opened.empty()) << c.name << " did not open";
    // No window is given the focus here: the key goes where the window manager put it.
    viewer.pressKeys(c.closeKey);
    EXPECT_TRUE(viewer.waitUntilHidden(opened, stepLimitMs)) << c.name << ": the key went elsewhere";
    ASSERT_TRUE(viewer.running()) << c.closeKey << " meant for the " << c.name << " ended the program";
  }
  EXPECT_EQ("Das Programm 'zn-no-editor' kann nicht gestartet werden.", viewer.dialogs().back().text);
  viewer.pressKeys("Escape");
  EXPECT_EQ(0, viewer.waitForExit(stepLimitMs)) << "Escape in the main window ends the program";
}

}  // namespace
