// The real program on the sample library, started again and again: the place where a
// run ended is taken up by the next one, a garbled note or --no-restore start as ever,
// and under a window manager Escape in the find bar closes only the bar.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <glib.h>
#include <signal.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using testing_support::mainWindowRegex;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;

std::string titleShowing(const std::string& file) {
  return "^" + testing_support::regexEscape("Linux ZN-ZID-Idavode-Ruriva ~ " + file) + "$";
}

class PlaceE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<testing_support::ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
    viewer->copyProgramFolder();
    viewer->recordingFake("beep");
    viewer->writeSettings({"db-path=" + viewer->programFolder() + testing_support::databaseFileName,
                           "Lib-path=" + viewer->programFolder(), "about=1", "SourceInTitle=1"});
    viewer->setEnvironment("XDG_STATE_HOME=" + state.path());
  }

  void TearDown() override {
    testing_support::reportFailure(*viewer);
    if (windowManager > 0) kill(windowManager, SIGTERM);
  }

  // Starts the program and waits for its window showing the title.
  std::string start(const std::vector<std::string>& arguments, const std::string& titleRegex) {
    if (!viewer->start(arguments)) return std::string();
    return viewer->waitForWindow(titleRegex, startLimitMs);
  }

  // Ends the run with Escape, as a user does, and gives the note it left.
  std::string endAndReadNote(const std::string& window) {
    EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
    EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
    return testing_support::readFile(notePath());
  }

  std::string notePath() const { return state.path() + "zn-api-viewer/place"; }

  testing_support::TempDir state;
  std::unique_ptr<testing_support::ViewerProcess> viewer;
  GPid windowManager = 0;
};

TEST_F(PlaceE2e, ThePlaceOfANormalEndIsTakenUpAtTheNextStartAndAGarbledNoteIsPassedOver) {
  std::string window = start({}, mainWindowRegex);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  ASSERT_TRUE(viewer->click(window, 150, 148));
  ASSERT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Windows/WindowBasics.zn"), stepLimitMs));
  ASSERT_TRUE(viewer->click(window, 150, 300));
  ASSERT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Widgets/ButtonSignals.zn"), stepLimitMs));
  ASSERT_TRUE(viewer->click(window, 100, 16));
  ASSERT_TRUE(viewer->type(window, "treeview"));
  ASSERT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Widgets/TreeViewBasics.zn"), stepLimitMs));
  ASSERT_TRUE(viewer->key(window, "F5"));
  ASSERT_EQ(0, viewer
                   ->xdotool({"mousemove", "--window", window, "600", "300", "keydown", "ctrl", "click", "4",
                              "keyup", "ctrl"})
                   .status);
  const std::string note = endAndReadNote(window);
  for (const char* line : {"\nshown=Gtk/Widgets/TreeViewBasics.zn\tGrundlagen der GtkTreeView\t",
                           "\nhistory=Gtk/Widgets/ButtonSignals.zn\t",
                           "\nhistory=Gtk/Windows/WindowBasics.zn\t", "\nzoom=4\nwrap=1\nsearch=treeview\n"})
    EXPECT_NE(std::string::npos, note.find(line)) << line << " in\n" << note;

  // The next run shows that topic at once, and ends noting exactly what it took up.
  window = start({}, titleShowing("Gtk/Widgets/TreeViewBasics.zn"));
  ASSERT_FALSE(window.empty()) << "the noted topic was not shown";
  EXPECT_EQ(note, endAndReadNote(window));

  // A garbled note, or the note with --no-restore: the start of every day.
  const std::string fresh = "\nzoom=3\nwrap=0\nsearch=\n";
  const std::pair<std::string, std::vector<std::string>> runs[] = {
      {note.substr(0, note.find("zoom=")) + "zoom=12\n", {}}, {note, {"--no-restore"}}};
  for (const auto& run : runs) {
    testing_support::writeFile(notePath(), run.first);
    window = start(run.second, mainWindowRegex);
    ASSERT_FALSE(window.empty());
    const std::string written = endAndReadNote(window);
    EXPECT_NE(std::string::npos, written.find(fresh)) << written;
    EXPECT_EQ(std::string::npos, written.find("history=")) << written;
  }
  EXPECT_TRUE(viewer->dialogs().empty());
  ASSERT_TRUE(viewer->start({"--help"}));
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs));
  EXPECT_NE(std::string::npos, viewer->standardOutput().find("  --no-restore  start fresh"));
}

TEST_F(PlaceE2e, UnderAWindowManagerEscapeInTheFindBarClosesOnlyTheBar) {
  const std::string display = "DISPLAY=" + viewer->display();
  gchar* argv[] = {const_cast<gchar*>("openbox"), const_cast<gchar*>("--sm-disable"), nullptr};
  gchar* envp[] = {const_cast<gchar*>(display.c_str()), nullptr};
  ASSERT_TRUE(g_spawn_async(nullptr, argv, envp,
                            GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                            &windowManager, nullptr));
  // The window manager is in charge once it keeps the desktops.
  for (int attempt = 0; attempt < 200 && viewer->xdotool({"get_desktop"}).status != 0; ++attempt)
    g_usleep(50 * 1000);
  const std::string window = start({"--no-restore"}, mainWindowRegex);
  ASSERT_FALSE(window.empty());
  // Under the window manager the keys go where a user's would: to the active window, which
  // a click on the topic makes it (again, should the window manager be slow to take it).
  const auto active = [&] { return viewer->xdotool({"getactivewindow"}).output == window + "\n"; };
  int clicks = 0;
  do {
    ASSERT_EQ(0, viewer->xdotool({"mousemove", "--window", window, "150", "148", "click", "1"}).status);
    g_usleep(300 * 1000);
  } while (!active() && ++clicks < 30);
  ASSERT_TRUE(active()) << "openbox did not focus the window";
  ASSERT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Windows/WindowBasics.zn"), stepLimitMs));
  for (const char* keys : {"ctrl+f", "g", "t", "k", "Escape", "Down"})
    ASSERT_EQ(0, viewer->xdotool({"key", "--delay", "100", keys}).status) << keys;
  // The program is alive and the focus is back in the tree: Down showed the next topic.
  EXPECT_EQ(window, viewer->waitForWindow(titleShowing("Gtk/Windows/DialogButtons.zn"), stepLimitMs));
  ASSERT_EQ(0, viewer->xdotool({"key", "Escape"}).status);
  EXPECT_EQ(0, viewer->waitForExit(stepLimitMs)) << "Escape outside the bar ends the program";
}

}  // namespace
