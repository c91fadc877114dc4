// The command table: each window's events reach their commands.
#include <gtest/gtest.h>

#include "app/main_window_gtk.h"
#include "app/main_window_signals_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/settings_window_gtk.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"
#include "support/viewer_fixture.h"

using testing_support::pumpUntil;

namespace {

class DispatcherTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    config::createSettingsWindow();
    services::createUpdateWindow();
  }
  void TearDown() override {
    config::destroySettingsWindow();
    if (services::updateWindow.window) gtk_widget_destroy(services::updateWindow.window);
    services::updateWindow = services::UpdateWindow();
    ViewerTest::TearDown();
  }
  void post(int window, base::EventKind kind, int menuItem = -1) {
    base::Event event;
    event.kind = kind;
    event.window = window;
    event.menuItem = menuItem;
    base::postEvent(event);
    dispatchPending();
  }
  std::string clipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    std::string result = text ? text : "";
    g_free(text);
    return result;
  }
};

TEST_F(DispatcherTest, EscapeAndCloseHideTheOtherWindowsButKeepTheProgram) {
  GtkWidget* windows[] = {config::settingsWindow.window, services::databaseInfoWindow.window,
                          services::updateWindow.window};
  for (int number = 1; number <= 3; ++number) {
    for (base::EventKind kind : {base::EventKind::Menu, base::EventKind::Close}) {
      GtkWidget* window = windows[number - 1];
      gtk_widget_show(window);
      post(number, kind, base::EscapeMenuItem);
      EXPECT_FALSE(gtk_widget_get_visible(window)) << "window " << number;
    }
  }
  EXPECT_EQ(0, base::appState.quitRequested);
  post(base::MainWindowNo, base::EventKind::Close);
  EXPECT_EQ(1, base::appState.quitRequested);
}

TEST_F(DispatcherTest, InfoWindowCopiesTheCodePathOnlyWhenAFileIsShown) {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "untouched", -1);
  base::postWidgetEvent(base::DatabaseInfoWindowNo, base::CopyIconControl, base::EventType::LeftClick);
  dispatchPending();
  EXPECT_EQ("untouched", clipboardText());

  appSettings.Lib_path = dir.path();
  selectRow(5);  // File "/Gtk/Button.zn"
  base::postWidgetEvent(base::DatabaseInfoWindowNo, base::CopyIconControl, base::EventType::LeftClick);
  dispatchPending();
  EXPECT_EQ(dir.path() + "Gtk/Button.zn", clipboardText());
}

TEST_F(DispatcherTest, DatabaseInformationIsRefilledAndShown) {
  base::appState.databasePath = "/data/ZN-LinuxAPI-Toc.xml";
  base::appState.groupCount = 6;
  base::appState.codeTopicCount = 31;
  appSettings.Lib_path = "/data/lib/";
  base::postMenuEvent(base::MainWindowNo, 10);
  dispatchPending();
  EXPECT_TRUE(gtk_widget_get_visible(services::databaseInfoWindow.window));
  EXPECT_EQ("/data/ZN-LinuxAPI-Toc.xml", services::databaseInfoFieldText(base::DatabaseFieldControl));
  EXPECT_EQ("Test Library - Test library of 2026-11-30 snippets",
            services::databaseInfoFieldText(base::ContentFieldControl));
  EXPECT_EQ("/data/lib/", services::databaseInfoFieldText(base::LibraryFieldControl));
  EXPECT_EQ("6", services::databaseInfoFieldText(base::TopicsFieldControl));
  EXPECT_EQ("31", services::databaseInfoFieldText(base::EntriesFieldControl));
}

TEST_F(DispatcherTest, LanguageKeysSetTheChoiceAndSwitchTheTreeQuickly) {
  struct Step {
    int before;
    int menuItem;
    int after;
  } steps[] = {{2, base::LanguageToggleMenuItem, 0}, {0, base::LanguageToggleMenuItem, 1},
               {1, base::GermanMenuItem, 0},         {0, base::EnglishMenuItem, 1},
               {1, base::GermanAltMenuItem, 0},      {0, base::FrenchKeyMenuItem, 1}};
  for (const Step& step : steps) {
    config::setLanguageChoice(step.before);
    appSettings.Language = step.before;
    base::postMenuEvent(base::MainWindowNo, step.menuItem);
    dispatchPending();
    EXPECT_EQ(step.after, config::languageChoice()) << "menu item " << step.menuItem;
    EXPECT_EQ(step.after, appSettings.Language);
  }
  EXPECT_EQ("Window", database::topicRowText(4)) << "the tree follows the last switch (English)";
}

TEST_F(DispatcherTest, CopyCodePathMenuUsesTheLoadPath) {
  appSettings.Lib_path = "";
  selectRow(5);
  base::postMenuEvent(base::MainWindowNo, 7);
  dispatchPending();
  EXPECT_EQ(dir.path() + "Gtk/Button.zn", clipboardText()) << "absolute, from the program folder";
}

}  // namespace
