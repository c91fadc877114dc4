// Switching the language: the index always, the texts of every window on a full switch.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "app/language_apply_gtk.h"
#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/interface_texts.h"
#include "config/language_file.h"
#include "config/settings_window_gtk.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"
#include "settings_gui_fixture.h"

using testing_support::readFile;

namespace {

using config::InterfaceText;
using config::TextPlace;

class LanguageApplyTest : public testing_support::SettingsGuiTest {
 protected:
  void SetUp() override {
    SettingsGuiTest::SetUp();
    const char* lang = std::getenv("LANG");
    hadLang_ = lang != nullptr;
    if (lang) savedLang_ = lang;
  }

  void TearDown() override {
    if (hadLang_)
      setenv("LANG", savedLang_.c_str(), 1);
    else
      unsetenv("LANG");
    SettingsGuiTest::TearDown();
  }

  void installSampleLanguageFile() {
    testing_support::writeFile(dir.file("DizerEZ API-LibLang.inf"),
                               readFile(std::string(ZN_SOURCE_DIR) + "/sample/DizerEZ API-LibLang.inf"));
  }

  void switchTo(int choice, bool quick) {
    config::setLanguageChoice(choice);
    app::ApplyLanguage(quick);
  }

  // Checks every text and tooltip of both tables against the expected text of its key.
  template <typename Expected>
  void expectEveryText(Expected expected) {
    for (const InterfaceText& entry : config::interfaceTexts()) {
      GtkWidget* widget = widgetOf(entry);
      ASSERT_NE(nullptr, widget) << entry.key;
      const std::string text = expected(entry, false);
      // A list shows three items whatever number of parts the text has.
      EXPECT_EQ(GTK_IS_COMBO_BOX(widget) ? threeItems(text) : text, interfaceText(widget)) << entry.key;
    }
    for (const InterfaceText& entry : config::interfaceTooltips()) {
      GtkWidget* widget = widgetOf(entry);
      ASSERT_NE(nullptr, widget) << entry.key;
      EXPECT_EQ(expected(entry, true), tooltip(widget)) << "tooltip " << entry.key;
    }
  }

  static std::string threeItems(const std::string& text) {
    return config::listItemText(text, 0) + "\t" + config::listItemText(text, 1) + "\t" +
           config::listItemText(text, 2);
  }

  void expectBuiltInTexts() {
    expectEveryText([](const InterfaceText& entry, bool) { return std::string(entry.german); });
  }

 private:
  bool hadLang_ = false;
  std::string savedLang_;
};

TEST_F(LanguageApplyTest, EveryWindowStartsWithTheBuiltInGermanTexts) { expectBuiltInTexts(); }

TEST_F(LanguageApplyTest, FullSwitchRelabelsEveryWindowAndSwitchingBackRestoresTheBuiltInTexts) {
  installSampleLanguageFile();
  switchTo(1, false);
  EXPECT_EQ(1, appSettings.Language);
  expectEveryText(
      [](const InterfaceText& entry, bool tip) { return config::LanguageText(entry.key, tip, "en"); });
  EXPECT_EQ("Database path (*.xml):", shownText(control(base::DatabaseLabelControl)));
  EXPECT_EQ("Program settings ...", shownText(control(base::ProgramFrameControl)));
  EXPECT_EQ("Keep the paths with 'Save'", shownText(control(base::KeepPathsControl)));
  EXPECT_EQ("Plain text\tBold, grey comments\tBlue+bold, grey comm.",
            listItems(control(base::CodeMarkingListControl)));
  EXPECT_EQ("Takes the paths (for this session) and reloads the database.",
            tooltip(control(base::ApplyControl)));
  EXPECT_EQ("Database & library ...",
            shownText(services::databaseInfoWindow.control[base::LibraryFrameControl]));
  EXPECT_EQ("Entries:", shownText(services::databaseInfoWindow.control[base::EntriesLabelControl]));
  EXPECT_EQ("A click copies the code path to the clipboard.",
            tooltip(services::databaseInfoWindow.control[base::CopyIconControl]));
  EXPECT_EQ("App update gtk2 available? ", shownText(services::updateWindow.label[0]));
  EXPECT_EQ("Check for updates ...", shownText(app::popupMenuItems[base::UpdateCheckMenuItem]));
  EXPECT_EQ("Opens and closes all nodes.", tooltip(base::mainWindow.control[base::NodeToggleControl]));
  EXPECT_EQ("Shows a short description of the function.",
            tooltip(base::mainWindow.control[base::DescriptionControl]));
  switchTo(2, false);
  EXPECT_EQ("Allemand\tAnglais\tFrançais", listItems(control(base::LanguageListControl)));
  EXPECT_EQ(2, config::settingsListIndex(base::LanguageListControl)) << "relabelling keeps the selection";
  EXPECT_EQ("À propos de la base de données ...",
            shownText(app::popupMenuItems[base::AboutDatabaseMenuItem]));
  switchTo(0, false);
  expectBuiltInTexts();
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(LanguageApplyTest, FullSwitchRebuildsTheIndexInTheNewLanguageKeepingTheRowAndOpeningEveryNode) {
  installSampleLanguageFile();
  selectRow(5);
  app::setNodeToggle(false);
  GtkTreePath* group = gtk_tree_path_new_from_string("0:0");
  gtk_tree_view_collapse_row(base::topicTreeView(), group);
  ASSERT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
  switchTo(1, false);
  EXPECT_EQ(1, treeBuilds());
  EXPECT_EQ("Window", database::topicRowText(4));
  EXPECT_EQ("Button", database::topicRowText(5));
  EXPECT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_TRUE(
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl])));
  EXPECT_TRUE(gtk_tree_view_row_expanded(base::topicTreeView(), group));
  gtk_tree_path_free(group);
  for (const base::Event& event : base::pendingEvents())
    EXPECT_NE(base::TopicTreeControl, event.widget) << "the rebuild raises no tree event";
}

TEST_F(LanguageApplyTest, TheSameLanguageChangesNothing) {
  installSampleLanguageFile();
  switchTo(0, false);
  EXPECT_EQ(0, treeBuilds());
  expectBuiltInTexts();
  EXPECT_TRUE(config::languageTable.empty()) << "German alone never reads the file";
}

TEST_F(LanguageApplyTest, QuickSwitchChangesTheIndexAndLeavesEveryText) {
  installSampleLanguageFile();
  switchTo(1, true);
  EXPECT_EQ(1, appSettings.Language);
  EXPECT_EQ(1, treeBuilds());
  EXPECT_EQ("Button", database::topicRowText(5));
  expectBuiltInTexts();
  // Texts switched before stay in that language through a quick switch.
  switchTo(2, false);
  switchTo(0, true);
  EXPECT_EQ("✰Knopf", database::topicRowText(5));
  EXPECT_EQ("Allemand\tAnglais\tFrançais", listItems(control(base::LanguageListControl)));
  EXPECT_EQ("Un clic copie le chemin du code dans le presse-papiers.",
            tooltip(services::databaseInfoWindow.control[base::CopyIconControl]));
}

TEST_F(LanguageApplyTest, LanguageShortcutsSwitchQuickly) {
  installSampleLanguageFile();
  base::postMenuEvent(base::MainWindowNo, 18);  // F6
  dispatchPending();
  EXPECT_EQ(1, config::languageChoice());
  EXPECT_EQ(1, config::settingsListIndex(base::LanguageListControl));
  EXPECT_EQ(1, appSettings.Language);
  EXPECT_EQ("Button", database::topicRowText(5));
  expectBuiltInTexts();
}

TEST_F(LanguageApplyTest, WithoutALanguageFileTheFullSwitchEmptiesEveryTextAndWarnsOnce) {
  switchTo(1, false);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("", dialogs.requests[0].title);
  EXPECT_EQ("Language-File not found!", dialogs.requests[0].text);
  EXPECT_EQ("Button", database::topicRowText(5)) << "the index still switches";
  expectEveryText([](const InterfaceText&, bool) { return std::string(); });
  EXPECT_EQ("\t\t", listItems(control(base::SearchScopeListControl)));
  switchTo(0, false);
  EXPECT_EQ(1u, dialogs.requests.size());
  expectEveryText([](const InterfaceText&, bool) { return std::string(); });
}

TEST_F(LanguageApplyTest, MissingKeysAndShortListsGiveEmptyTexts) {
  testing_support::writeFile(dir.file("DizerEZ API-LibLang.inf"),
                             "[LanguageItems]\n"
                             "Key = #Cnf_SearchMode\nde = a\nen = One\tTwo\nfr = x\n"
                             "Key = #Cnf_LabelDB   \nde = a\nen = With blanks\nfr = x\n"
                             "[Tooltips]\n"
                             "Key = #Cnf_LabelDB\nde = a\nen = Tooltip only\nfr = x\n");
  switchTo(1, false);
  EXPECT_EQ("One\tTwo\t", listItems(control(base::SearchScopeListControl)));
  EXPECT_EQ("", shownText(control(base::DatabaseLabelControl)));
  EXPECT_EQ("", shownText(control(base::LibraryLabelControl)));
  EXPECT_EQ("", tooltip(control(base::ApplyControl)));
}

TEST_F(LanguageApplyTest, ALanguageWithoutCodeTakesTheTextsOfLang) {
  installSampleLanguageFile();
  setenv("LANG", "fr_FR.UTF-8", 1);
  switchTo(3, false);
  EXPECT_EQ(-1, appSettings.Language) << "the list selects nothing for 3";
  EXPECT_EQ("Bouton", database::topicRowText(5)) << "no selection reads as French";
  EXPECT_EQ("Paramètres du programme ...", shownText(control(base::ProgramFrameControl)));
}

}  // namespace
