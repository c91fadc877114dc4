// The settings window, the database information window and the info menu under real input:
// clicks, keys and the window manager's close go through the X server.
#include <string>

#include <gtest/gtest.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "services/database_info_gtk.h"
#include "settings_gui_fixture.h"
#include "support/x_input_gtk.h"

namespace {

using testing_support::pumpUntil;

class SettingsInputTest : public testing_support::SettingsGuiTest {
 protected:
  // A test that stopped half-way must not leave the button held for the next.
  void TearDown() override {
    testing_support::releaseButton();
    SettingsGuiTest::TearDown();
  }

  GtkWidget* mainControl(int number) { return base::mainWindow.control[number]; }

  static bool shown(GtkWidget* window) { return gtk_widget_get_mapped(window); }

  // The settings button of the main window opens the window; it comes to the top.
  void openSettings() {
    ASSERT_TRUE(testing_support::clickAt(mainControl(base::SettingsButtonControl)));
    ASSERT_TRUE(dispatchUntil([] { return shown(config::settingsWindow.window); }));
    gdk_window_raise(gtk_widget_get_window(config::settingsWindow.window));
  }

  // Info button, then "Über Datenbank ..." in the menu it opens.
  void openDatabaseInformation() {
    ASSERT_TRUE(testing_support::clickAt(mainControl(base::InfoButtonControl)));
    ASSERT_TRUE(dispatchUntil(
        [] { return gtk_widget_get_mapped(app::popupMenuItems[base::AboutDatabaseMenuItem]); }));
    ASSERT_TRUE(testing_support::clickMenuItem(app::popupMenuItems[base::AboutDatabaseMenuItem]));
    ASSERT_TRUE(dispatchUntil([] { return shown(services::databaseInfoWindow.window); }));
    gdk_window_raise(gtk_widget_get_window(services::databaseInfoWindow.window));
  }

  static std::string field(int control) { return services::databaseInfoFieldText(control); }

  std::string fileFields() {
    return field(base::FileFieldControl) + "|" + field(base::CodeFormatFieldControl) + "|" +
           field(base::ExecutableFormatFieldControl);
  }
};

TEST_F(SettingsInputTest, ALanguageChosenAndCancelledLeavesTheSearchInTheSettingsLanguage) {
  appSettings.SearchMode = 0;
  appSettings.SearchHint = 2;
  openSettings();
  ASSERT_TRUE(testing_support::chooseListItem(control(base::LanguageListControl), 1));
  ASSERT_TRUE(pumpUntil([] { return config::languageChoice() == 1; }));
  ASSERT_TRUE(testing_support::clickAt(control(base::CancelControl)));
  ASSERT_TRUE(dispatchUntil([] { return !shown(config::settingsWindow.window); }));

  // "A button" is the English description of row 5; the German texts have no "button".
  ASSERT_TRUE(testing_support::clickAt(mainControl(base::SearchFieldControl)));
  ASSERT_TRUE(testing_support::typeText("button"));
  // Each miss takes the last character back, down to "b", found in the library's name.
  auto fieldText = [this] {
    return std::string(gtk_entry_get_text(GTK_ENTRY(mainControl(base::SearchFieldControl))));
  };
  EXPECT_TRUE(dispatchUntil([&] { return fieldText() == "b" && !base::hasPendingEvent(); })) << fieldText();
  EXPECT_NE(5, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_NE("/Gtk/Button.zn", base::appState.currentCodeFile);
}

TEST_F(SettingsInputTest, SavingAnotherLanguageShowsTheDescriptionInIt) {
  testing_support::writeFile(
      dir.file("DizerEZ API-LibLang.inf"),
      testing_support::readFile(std::string(ZN_SOURCE_DIR) + "/sample/DizerEZ API-LibLang.inf"));
  clickRow(5);
  ASSERT_EQ("Ein Knopf", descriptionText());
  openSettings();
  ASSERT_TRUE(testing_support::chooseListItem(control(base::LanguageListControl), 2));
  ASSERT_TRUE(testing_support::clickAt(control(base::SaveControl)));
  EXPECT_TRUE(dispatchUntil([&] { return descriptionText() == "Un bouton"; })) << descriptionText();
  EXPECT_EQ(2, appSettings.Language);
  EXPECT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
}

TEST_F(SettingsInputTest, FileFieldsNameTheTopicOfTheHistoryEntryAndNothingAfterApply) {
  openDatabaseInformation();
  clickRow(4);
  clickRow(5);
  EXPECT_EQ("/Gtk/Button.zn|Ascii|Ascii", fileFields());
  ASSERT_TRUE(testing_support::chooseListItem(mainControl(base::HistoryListControl), 1));
  ASSERT_TRUE(dispatchUntil([] { return base::appState.currentCodeFile == "Gtk/Window.zn"; }));
  EXPECT_EQ("Gtk/Window.zn|UTF8|Unicode", fileFields());

  gdk_window_raise(gtk_widget_get_window(services::databaseInfoWindow.window));
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "before", -1);
  ASSERT_TRUE(testing_support::clickAt(services::databaseInfoWindow.control[base::CopyIconControl]));
  ASSERT_TRUE(dispatchUntil([&] { return clipboardText() != "before"; }));
  EXPECT_EQ(dir.path() + "Gtk/Window.zn", clipboardText());

  openSettings();
  ASSERT_TRUE(testing_support::clickAt(control(base::ApplyControl)));
  ASSERT_TRUE(dispatchUntil([] { return base::appState.currentCodeFile.empty(); }));
  EXPECT_EQ("||", fileFields()) << "the code view shows nothing";
}

TEST_F(SettingsInputTest, FolderIconOpensTheLibraryAndCloseAndEscapeHideTheWindows) {
  fakeProgram("xdg-open");
  appSettings.Lib_path = dir.path() + "Gtk/";
  openDatabaseInformation();
  ASSERT_TRUE(testing_support::clickAt(services::databaseInfoWindow.control[base::FolderIconControl]));
  dispatchPending();
  ASSERT_TRUE(waitForProgramCalls("xdg-open", 1));
  EXPECT_EQ(dir.path() + "Gtk\n", programLog("xdg-open"));

  testing_support::requestClose(services::databaseInfoWindow.window);
  EXPECT_TRUE(dispatchUntil([] { return !shown(services::databaseInfoWindow.window); }));
  openSettings();
  ASSERT_TRUE(testing_support::pointAt(control(base::CancelControl)));
  ASSERT_TRUE(testing_support::pressKeys("Escape"));
  EXPECT_TRUE(dispatchUntil([] { return !shown(config::settingsWindow.window); }));
  EXPECT_EQ(0, base::appState.quitRequested) << "Escape in another window keeps the program";
}

}  // namespace
