// The settings window, the database information window and the info menu under real input:
// clicks, keys and the window manager's close go through the X server.
#include <filesystem>
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
using testing_support::readFile;

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

  // Cancelled means gone: the list shows the stored language again, and Save does not store it.
  openSettings();
  EXPECT_EQ(0, config::settingsListIndex(base::LanguageListControl));
  ASSERT_TRUE(testing_support::clickAt(control(base::SaveControl)));
  ASSERT_TRUE(dispatchUntil([] { return !shown(config::settingsWindow.window); }));
  EXPECT_NE(std::string::npos, readFile(dir.file("DizerEZ VAV-AruRuvove.ini")).find("\nLanguage=0\n"));
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

  // Home on the list chooses its first entry; a toolkit warning (a column taken for a widget) ends the test.
  gtk_window_present(GTK_WINDOW(base::mainWindow.window));
  gtk_widget_grab_focus(mainControl(base::HistoryListControl));
  ASSERT_TRUE(testing_support::pointAt(mainControl(base::HistoryListControl)));
  ASSERT_TRUE(testing_support::pressKeys("Home"));
  ASSERT_TRUE(dispatchUntil([] { return base::appState.currentCodeFile == "/Gtk/Button.zn"; }));

  openSettings();
  ASSERT_TRUE(testing_support::clickAt(control(base::ApplyControl)));
  ASSERT_TRUE(dispatchUntil([] { return base::appState.currentCodeFile.empty(); }));
  EXPECT_EQ("||", fileFields()) << "the code view shows nothing";

  // The rebuilt tree is all open, and the node toggle says so: its next click closes all.
  gdk_window_raise(gtk_widget_get_window(base::mainWindow.window));
  ASSERT_TRUE(testing_support::clickAt(mainControl(base::NodeToggleControl)));
  GtkTreePath* root = gtk_tree_path_new_first();
  EXPECT_TRUE(dispatchUntil([&] { return !gtk_tree_view_row_expanded(base::topicTreeView(), root); }));
  gtk_tree_path_free(root);
}

TEST_F(SettingsInputTest, PathsOfTheBundledSettingsAreShownAndCopiedAbsolute) {
  // The database beside the program and no library folder, as the bundled settings say;
  // the program folder is the working folder.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  appSettings.Lib_path = "";
  base::appState.databasePath = "ZN-LinuxAPI-Toc.xml";
  clickRow(4);
  openDatabaseInformation();
  EXPECT_EQ(dir.path() + "ZN-LinuxAPI-Toc.xml|" + dir.path(),
            field(base::DatabaseFieldControl) + "|" + field(base::LibraryFieldControl));
  ASSERT_TRUE(testing_support::clickAt(services::databaseInfoWindow.control[base::CopyIconControl]));
  EXPECT_TRUE(dispatchUntil([&] { return clipboardText() == dir.path() + "Gtk/Window.zn"; }));
  clickRow(6);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("Missing file:\nGtk/Missing.zn\n\nCheck library-path in settings:\n" + dir.path(),
            dialogs.requests[0].text);
  EXPECT_EQ("", appSettings.Lib_path) << "the settings keep what they hold";
  std::filesystem::current_path(before);
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
