// The update check as a user starts it from the info menu: the busy cursor while it
// runs, then the update window with the results, or with the old ones when it fails.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window_gtk.h"
#include "services/update_check.h"
#include "services/update_window_gtk.h"
#include "support/http_test_server.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

// Last: Xlib's macros (None, Status) would break the program's headers.
#include <X11/extensions/Xfixes.h>
#include <gdk/gdkx.h>

using testing_support::HttpReply;
using testing_support::pumpUntil;

namespace {

const char* const versionPath = "/Linux/ZN-Linux-API-Version.ini";

HttpReply versionFile(const std::string& version, const std::string& date) {
  HttpReply reply;
  reply.body = "[Version]\ngtk3=0.26.1\ngtk2=" + version + "\n[Data]\nDate=" + date + "\n";
  return reply;
}

// A cursor as the X server shows it: size, hot spot, then the pixels.
using CursorLook = std::vector<unsigned long>;

// The cursor shown with the pointer at this point of the screen. A connection of its
// own lets the server's thread ask while the program's thread is held.
CursorLook cursorAt(int x, int y, Cursor defineOnNewWindow = 0) {
  CursorLook look;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return look;
  int eventBase = 0, errorBase = 0, major = 6, minor = 0;
  if (XFixesQueryExtension(display, &eventBase, &errorBase) && XFixesQueryVersion(display, &major, &minor)) {
    if (defineOnNewWindow) {
      XSetWindowAttributes attributes = {};
      attributes.override_redirect = True;
      attributes.cursor = defineOnNewWindow;
      const Window window =
          XCreateWindow(display, DefaultRootWindow(display), x - 5, y - 5, 10, 10, 0, 0, InputOnly,
                        CopyFromParent, CWOverrideRedirect | CWCursor, &attributes);
      XMapRaised(display, window);
    }
    XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XSync(display, False);
    if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
      look = {image->width, image->height, image->xhot, image->yhot};
      look.insert(look.end(), image->pixels, image->pixels + image->width * image->height);
      XFree(image);
    }
  }
  XCloseDisplay(display);
  return look;
}

// The toolkit's watch cursor, shown on a little window of its own in a free corner.
CursorLook watchLook() {
  GdkCursor* watch = gdk_cursor_new(GDK_WATCH);
  gdk_display_sync(gdk_display_get_default());
  const CursorLook look = cursorAt(1200, 1000, gdk_x11_cursor_get_xcursor(watch));
  gdk_cursor_unref(watch);
  return look;
}

class UpdateCheckGuiTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    services::createUpdateWindow();
    g_setenv("ZN_UPDATE_URL", server.url(versionPath).c_str(), TRUE);
  }
  void TearDown() override {
    g_unsetenv("ZN_UPDATE_URL");
    gtk_widget_destroy(services::updateWindow.window);
    services::updateWindow = services::UpdateWindow();
    ViewerTest::TearDown();
  }

  // The info button, then "Auf Updates prüfen ..." in the menu it opens, with real
  // pointer motion: a menu selects its item on motion and takes a release only some
  // time after it opened.
  void chooseUpdateEntry() {
    gtk_widget_hide(services::updateWindow.window);
    ASSERT_TRUE(testing_support::clickAt(base::mainWindow.control[base::InfoButtonControl]));
    ASSERT_TRUE(dispatchUntil([] { return gtk_widget_get_mapped(base::mainWindow.infoMenu); }));
    ASSERT_TRUE(testing_support::clickMenuItem(app::popupMenuItems[base::UpdateCheckMenuItem]));
    ASSERT_TRUE(dispatchUntil([] { return gtk_widget_get_visible(services::updateWindow.window); }));
  }

  static std::array<std::string, 3> results() {
    std::array<std::string, 3> texts;
    for (int row = 0; row < 3; ++row)
      texts[row] = gtk_entry_get_text(GTK_ENTRY(services::updateWindow.result[row]));
    return texts;
  }

  testing_support::HttpTestServer server;
};

TEST_F(UpdateCheckGuiTest, TheInfoMenuEntryShowsTheResultsAndKeepsThemWhenACheckFails) {
  server.serve(versionPath, versionFile("0.25.40", "2026-12-01"));
  services::updateInfo.currentVersion.clear();
  chooseUpdateEntry();
  const std::array<std::string, 3> found = {"yes:  0.25.36 \u2192 0.25.40", " - ",
                                            "yes:  2026-11-30 \u2192 2026-12-01"};
  EXPECT_EQ(found, results());
  EXPECT_EQ("0.25.36", services::updateInfo.currentVersion);

  // A failed check keeps the rows and tells why, in the window; the next good one clears it.
  server.serve(versionPath, versionFile("0.25.36", ""));
  chooseUpdateEntry();
  EXPECT_EQ(found, results());
  EXPECT_EQ(2, server.connectionCount());
  EXPECT_TRUE(dialogs.requests.empty()) << "a failed check opens no message";
  EXPECT_TRUE(gtk_widget_get_visible(services::updateWindow.failureText));
  EXPECT_STREQ("Prüfung fehlgeschlagen: die Antwort ist keine Versionsdatei.",
               gtk_label_get_text(GTK_LABEL(services::updateWindow.failureText)));
  server.serve(versionPath, versionFile("0.25.36", "2026-11-30"));
  chooseUpdateEntry();
  EXPECT_FALSE(gtk_widget_get_visible(services::updateWindow.failureText));
}

TEST_F(UpdateCheckGuiTest, TheMainWindowShowsTheBusyCursorWhileTheCheckRuns) {
  // The code view has a cursor of its own, which the busy cursor must cover too.
  const GdkPoint centre = testing_support::screenPoint(GTK_WIDGET(base::codeView()));
  const int x = centre.x, y = centre.y;
  const CursorLook watch = watchLook();
  ASSERT_FALSE(watch.empty());
  EXPECT_NE(watch, cursorAt(x, y));
  CursorLook busy;
  HttpReply reply = versionFile("0.25.36", "2026-11-30");
  reply.onRequest = [&busy, x, y] { busy = cursorAt(x, y); };
  server.serve(versionPath, reply);

  chooseUpdateEntry();
  EXPECT_EQ(watch, busy);
  gtk_widget_hide(services::updateWindow.window);
  EXPECT_TRUE(pumpUntil([&] { return cursorAt(x, y) != watch; })) << "the watch goes once the check is done";
}

}  // namespace
