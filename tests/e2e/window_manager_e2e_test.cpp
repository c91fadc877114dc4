// Under a window manager (openbox), as on every desktop, each window and message of the real
// program takes the keyboard focus: the user's key reaches it, and the program runs on.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::stepLimitMs;

// The main window's button clicked first (info 781, settings 711, none 0), then the keys
// pressed in its menu (an xdotool command), or a click on the settings window's "...".
struct Case {
  int button;
  std::vector<std::string> menuKeys;
  bool chooser;
  const char* titleRegex;
  const char* closeKey;
};
const Case cases[] = {
    {781, {"key", "Down", "Down", "Down", "Return"}, false, "Update check$", "Escape"},
    {781, {"key", "Down", "Down", "Return"}, false, "^About: current Database", "Escape"},
    {781, {"key", "Down", "Return"}, false, "^About Zarnel", "Escape"},
    {711, {}, false, "Settings$", "Escape"},
    {711, {}, true, "^Choose database", "Escape"},
    {0, {}, false, "Settings$", "Escape"},
    {781, {"key", "Down", "Down", "Down", "Down", "Return"}, false, "Ruriva$", "Return"},  // the message
};

TEST(WindowManagerE2e, EveryWindowTakesTheFocusSoItsKeyClosesItAndTheProgramRunsOn) {
  testing_support::ViewerProcess viewer;
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
    if (c.button) viewer.click(main, c.button, 17);
    if (c.chooser) viewer.click(viewer.waitForWindow("Settings$", stepLimitMs), 515, 52);
    if (!c.menuKeys.empty()) {
      viewer.waitForWindow(untitled, stepLimitMs, before);  // the menu takes keys once it is up
      viewer.xdotool(c.menuKeys);
    }
    const std::string opened = viewer.waitForWindow(c.titleRegex, stepLimitMs, {main});
    ASSERT_FALSE(opened.empty()) << c.titleRegex << " did not open";
    viewer.xdotool({"key", c.closeKey});  // where the window manager put the focus
    EXPECT_TRUE(viewer.waitUntilHidden(opened, stepLimitMs)) << c.titleRegex << ": the key went elsewhere";
    ASSERT_TRUE(viewer.running()) << c.closeKey << " meant for " << c.titleRegex << " ended the program";
  }
  EXPECT_EQ("Das Programm 'zn-no-editor' kann nicht gestartet werden.", viewer.dialogs().back().text);
  viewer.xdotool({"key", "Escape"});
  EXPECT_EQ(0, viewer.waitForExit(stepLimitMs)) << "Escape in the main window ends the program";
}

}  // namespace
