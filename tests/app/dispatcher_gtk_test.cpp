// The command table: each window's events reach their commands.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"
#include "app/main_window_signals_gtk.h"
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
  void post(int window, app::EventKind kind, int menuItem = -1) {
    app::Event event;
    event.kind = kind;
    event.window = window;
    event.menuItem = menuItem;
    app::postEvent(event);
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
    for (app::EventKind kind : {app::EventKind::Menu, app::EventKind::Close}) {
      GtkWidget* window = windows[number - 1];
      gtk_widget_show(window);
      post(number, kind, app::EscapeMenuItem);
      EXPECT_FALSE(gtk_widget_get_visible(window)) << "window " << number;
    }
  }
  EXPECT_EQ(0, appState.quitRequested);
  post(MainWindowNo, app::EventKind::Close);
  EXPECT_EQ(1, appState.quitRequested);
}

TEST_F(DispatcherTest, InfoWindowCopiesTheCodePathOnlyWhenAFileIsShown) {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "untouched", -1);
  app::postWidgetEvent(DatabaseInfoWindowNo, services::CopyIconControl, app::EventType::LeftClick);
  dispatchPending();
  EXPECT_EQ("untouched", clipboardText());

  appSettings.Lib_path = dir.path();
  selectRow(5);  // File "/Gtk/Button.zn"
  app::postWidgetEvent(DatabaseInfoWindowNo, services::CopyIconControl, app::EventType::LeftClick);
  dispatchPending();
  EXPECT_EQ(dir.path() + "Gtk/Button.zn", clipboardText());
}

TEST_F(DispatcherTest, DatabaseInformationIsRefilledAndShown) {
  appState.databasePath = "/data/ZN-LinuxAPI-Toc.xml";
  appState.groupCount = 6;
  appState.codeTopicCount = 31;
  appSettings.Lib_path = "/data/lib/";
  app::postMenuEvent(MainWindowNo, 10);
  dispatchPending();
  EXPECT_TRUE(gtk_widget_get_visible(services::databaseInfoWindow.window));
  EXPECT_EQ("/data/ZN-LinuxAPI-Toc.xml", services::databaseInfoFieldText(services::DatabaseFieldControl));
  EXPECT_EQ("Test Library - Test library of 2026-11-30 snippets",
            services::databaseInfoFieldText(services::ContentFieldControl));
  EXPECT_EQ("/data/lib/", services::databaseInfoFieldText(services::LibraryFieldControl));
  EXPECT_EQ("6", services::databaseInfoFieldText(services::TopicsFieldControl));
  EXPECT_EQ("31", services::databaseInfoFieldText(services::EntriesFieldControl));
}

TEST_F(DispatcherTest, LanguageKeysSetTheChoiceAndSwitchTheTreeQuickly) {
  struct Step {
    int before;
    int menuItem;
    int after;
  } steps[] = {{2, app::LanguageToggleMenuItem, 0}, {0, app::LanguageToggleMenuItem, 1},
               {1, app::GermanMenuItem, 0},         {0, app::EnglishMenuItem, 1},
               {1, app::GermanAltMenuItem, 0},      {0, app::FrenchKeyMenuItem, 1}};
  for (const Step& step : steps) {
    config::setLanguageChoice(step.before);
    appSettings.Language = step.before;
    app::postMenuEvent(MainWindowNo, step.menuItem);
    dispatchPending();
    EXPECT_EQ(step.after, config::languageChoice()) << "menu item " << step.menuItem;
    EXPECT_EQ(step.after, appSettings.Language);
  }
  EXPECT_EQ("Window", database::topicRowText(4)) << "the tree follows the last switch (English)";
}

TEST_F(DispatcherTest, CopyCodePathMenuUsesTheLoadPath) {
  appSettings.Lib_path = "";
  selectRow(5);
  app::postMenuEvent(MainWindowNo, 7);
  dispatchPending();
  EXPECT_EQ(dir.path() + "Gtk/Button.zn", clipboardText()) << "absolute, from the program folder";
}

}  // namespace
