// The settings window: its controls, the choosers, applying new paths and saving.
#include <string>

#include <gtest/gtest.h>

#include "app/dispatcher_gtk.h"
#include "app/language_apply_gtk.h"
#include "app/main_window_rules.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/fonts_gtk.h"
#include "base/main_window_widgets_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/settings_window_gtk.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "settings_gui_fixture.h"

using testing_support::pumpUntil;
using testing_support::readFile;

namespace {

using namespace config;

class SettingsWindowTest : public testing_support::SettingsGuiTest {
 protected:
  void SetUp() override {
    SettingsGuiTest::SetUp();
    settingsFile = dir.file("DizerEZ VAV-AruRuvove.ini");
  }

  void click(int number) {
    base::postWidgetEvent(base::SettingsWindowNo, number, base::EventType::LeftClick);
    dispatchPending();
  }

  void openDialog() {
    base::postWidgetEvent(base::MainWindowNo, base::SettingsButtonControl, base::EventType::LeftClick);
    dispatchPending();
  }

  // The main window posts events of its own while it settles; only window 1 counts here.
  static bool settingsEventPending() {
    for (const base::Event& event : base::pendingEvents())
      if (event.window == base::SettingsWindowNo) return true;
    return false;
  }

  static base::Event takeSettingsEvent() {
    while (base::hasPendingEvent()) {
      const base::Event event = base::takeEvent();
      if (event.window == base::SettingsWindowNo) return event;
    }
    return base::Event();
  }

  bool shown() const { return gtk_widget_get_visible(settingsWindow.window); }
  std::string field(int number) const { return settingsFieldText(number); }
  void selectItem(int list, int item) { gtk_combo_box_set_active(GTK_COMBO_BOX(control(list)), item); }
  void check(int box, bool on) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(control(box)), on); }

  // The value of a key line of the settings file on disk, "(none)" without that key.
  std::string savedValue(const std::string& key) const {
    const std::string bytes = readFile(settingsFile);
    const std::string line = "\n" + key + "=";
    const std::size_t at = bytes.find(line);
    if (at == std::string::npos) return "(none)";
    const std::size_t start = at + line.size();
    return bytes.substr(start, bytes.find('\n', start) - start);
  }

  std::string codeFontFamily() {
    PangoContext* context = gtk_widget_get_pango_context(base::mainWindow.control[base::CodeViewControl]);
    const char* family = pango_font_description_get_family(pango_context_get_font_description(context));
    return family ? family : "";
  }

  int codeFontPoints() {
    PangoContext* context = gtk_widget_get_pango_context(base::mainWindow.control[base::CodeViewControl]);
    return pango_font_description_get_size(pango_context_get_font_description(context)) / PANGO_SCALE;
  }

  std::string settingsFile;
};

struct Placement {
  int number;
  int x, y, width, height;
};

// Every control where the window's layout puts it.
const Placement placements[] = {
    {41, 5, 5, 530, 152},    {17, 15, 22, 400, 26},   {19, 20, 40, 475, 25},  {20, 500, 40, 30, 25},
    {18, 15, 67, 500, 26},   {21, 20, 85, 475, 25},   {22, 500, 85, 30, 25},  {23, 15, 115, 300, 24},
    {24, 395, 115, 135, 36}, {42, 5, 170, 530, 262},  {25, 20, 197, 155, 26}, {26, 180, 190, 210, 30},
    {27, 20, 227, 160, 32},  {28, 180, 224, 175, 22}, {29, 360, 224, 30, 22}, {30, 395, 222, 135, 26},
    {31, 20, 257, 155, 26},  {32, 180, 250, 210, 30}, {33, 20, 287, 155, 26}, {34, 180, 280, 210, 30},
    {35, 20, 317, 155, 26},  {36, 180, 310, 210, 30}, {37, 20, 347, 155, 32}, {38, 180, 340, 210, 30},
    {39, 15, 377, 300, 24},  {40, 15, 404, 300, 24},  {43, 5, 440, 260, 36},  {44, 274, 440, 260, 36},
};

TEST_F(SettingsWindowTest, WindowIsCreatedHiddenWithItsTitleSizeAndEveryControlInPlace) {
  EXPECT_FALSE(shown());
  EXPECT_STREQ("Linux ZN-ZID-Idavode-Ruriva - Settings",
               gtk_window_get_title(GTK_WINDOW(settingsWindow.window)));
  EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(settingsWindow.window)));
  EXPECT_EQ(GTK_WINDOW(base::mainWindow.window),
            gtk_window_get_transient_for(GTK_WINDOW(settingsWindow.window)));
  openDialog();
  ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_mapped(settingsWindow.window); }));
  GtkAllocation window;
  ASSERT_TRUE(pumpUntil([&] {
    gtk_widget_get_allocation(settingsWindow.window, &window);
    return window.width == 540 && window.height == 486;
  }));
  for (const Placement& place : placements) {
    GtkWidget* widget = control(place.number);
    ASSERT_NE(nullptr, widget) << place.number;
    // The two font fields sit inside their border.
    if (place.number == base::FontNameControl || place.number == base::FontSizeControl)
      widget = gtk_widget_get_parent(widget);
    GtkAllocation at;
    gtk_widget_get_allocation(widget, &at);
    EXPECT_EQ(place.x, at.x) << place.number;
    EXPECT_EQ(place.y, at.y) << place.number;
    EXPECT_EQ(place.width, at.width) << place.number;
    EXPECT_EQ(place.height, at.height) << place.number;
  }
}

TEST_F(SettingsWindowTest, ControlsCarryTheirBuiltInTextsTooltipsAndStockItems) {
  EXPECT_EQ("Pfade (Datenbank) temporär oder dauerhaft ändern ...",
            shownText(control(base::PathsFrameControl)));
  EXPECT_EQ("Programm-Einstellungen ...", shownText(control(base::ProgramFrameControl)));
  EXPECT_EQ("Datenbank-Pfad (*.xml):", shownText(control(base::DatabaseLabelControl)));
  EXPECT_EQ("...", shownText(control(base::DatabaseChooserControl)));
  EXPECT_EQ("...", shownText(control(base::LibraryChooserControl)));
  EXPECT_EQ("Zeichensatz ändern", shownText(control(base::FontButtonControl)));
  EXPECT_EQ("Fensterpos. u. größe mitspeichern", shownText(control(base::WindowGeometryControl)));
  EXPECT_EQ("German\tEnglish\tFrench", listItems(control(base::LanguageListControl)));
  EXPECT_EQ("Beide Effekte\tFenster-'shake'\tSuchfeld blinkt",
            listItems(control(base::SearchHintListControl)));
  EXPECT_EQ("Nur Dateiname\tUnterordner & Dateiname\tVoller Pfad & Dateiname",
            listItems(control(base::TitleContentListControl)));
  EXPECT_EQ("Reiner Text\tFett, graue Kommentare\tBlau+Fett, graue Kommentare",
            listItems(control(base::CodeMarkingListControl)));
  EXPECT_EQ(
      "Index + Beschreibung (akt. Sprache)\tNur Index (akt. Sprache)\tIndex + Beschreibung (alle Sprachen)",
      listItems(control(base::SearchScopeListControl)));
  EXPECT_EQ("Übernimmt (temporär) die Pfade und lädt die Datenbank neu.",
            tooltip(control(base::ApplyControl)));
  EXPECT_EQ("Schließt ohne Übernahme der Änderungen.", tooltip(control(base::CancelControl)));
  EXPECT_EQ("Pfad der Datenbank-Datei (xml).", tooltip(control(base::DatabasePathControl)));
  EXPECT_EQ("Aktuell gewählter Zeichensatz für den Code. Änderung über die Schaltfläche rechts.",
            tooltip(control(base::FontNameControl)));
  EXPECT_EQ("", tooltip(control(base::FontSizeControl)));
  EXPECT_EQ("", tooltip(control(base::LanguageLabelControl)));
  const std::pair<int, const char*> stocks[] = {{base::ApplyControl, GTK_STOCK_APPLY},
                                                {base::CancelControl, GTK_STOCK_CANCEL},
                                                {base::SaveControl, GTK_STOCK_SAVE}};
  for (const auto& stock : stocks) {
    EXPECT_TRUE(gtk_button_get_use_stock(GTK_BUTTON(control(stock.first)))) << stock.first;
    EXPECT_STREQ(stock.second, gtk_button_get_label(GTK_BUTTON(control(stock.first))));
  }
  EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(control(base::DatabasePathControl))));
  EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(control(base::LibraryPathControl))));
}

TEST_F(SettingsWindowTest, LanguageListShowsAFlagBeforeEachItem) {
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(control(base::LanguageListControl)));
  GtkTreeIter iter;
  int flags = 0;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
       ok = gtk_tree_model_iter_next(model, &iter)) {
    GdkPixbuf* flag = nullptr;
    gtk_tree_model_get(model, &iter, 0, &flag, -1);
    ASSERT_NE(nullptr, flag);
    EXPECT_EQ(16, gdk_pixbuf_get_width(flag));
    EXPECT_EQ(16, gdk_pixbuf_get_height(flag));
    g_object_unref(flag);
    ++flags;
  }
  EXPECT_EQ(3, flags);
}

TEST_F(SettingsWindowTest, CancelHasTheFocusAndTheNamedControlsKeepItOnClick) {
  EXPECT_EQ(control(base::CancelControl), gtk_window_get_focus(GTK_WINDOW(settingsWindow.window)));
  for (const int number : {base::DatabaseChooserControl, base::LibraryChooserControl, base::KeepPathsControl,
                           base::WindowGeometryControl, base::FontButtonControl})
    EXPECT_FALSE(gtk_button_get_focus_on_click(GTK_BUTTON(control(number)))) << number;
  for (const int number :
       {base::LanguageListControl, base::SearchScopeListControl, base::SearchHintListControl,
        base::TitleContentListControl, base::CodeMarkingListControl})
    EXPECT_FALSE(gtk_combo_box_get_focus_on_click(GTK_COMBO_BOX(control(number)))) << number;
  for (const int number :
       {base::NewTopicsControl, base::ApplyControl, base::CancelControl, base::SaveControl})
    EXPECT_TRUE(gtk_button_get_focus_on_click(GTK_BUTTON(control(number)))) << number;
}

TEST_F(SettingsWindowTest, ControlsStartFromTheSettings) {
  appSettings.SavePaths = 0;
  appSettings.DyeingNews = 0;
  appSettings.SaveWinSetting = 1;
  appSettings.Language = 2;
  appSettings.SearchMode = 1;
  appSettings.SearchHint = 2;
  appSettings.SourceInTitle = 0;
  appSettings.CodeMarks = 7;  // out of range: no item
  appSettings.FontName = "Serif";
  appSettings.FontSize = 14;
  recreateSettingsWindow();
  EXPECT_FALSE(settingsCheckBoxState(base::KeepPathsControl));
  EXPECT_FALSE(settingsCheckBoxState(base::NewTopicsControl));
  EXPECT_TRUE(settingsCheckBoxState(base::WindowGeometryControl));
  EXPECT_EQ(2, settingsListIndex(base::LanguageListControl));
  EXPECT_EQ(2, languageChoice());
  EXPECT_EQ(1, settingsListIndex(base::SearchScopeListControl));
  EXPECT_EQ(2, settingsListIndex(base::SearchHintListControl));
  EXPECT_EQ(0, settingsListIndex(base::TitleContentListControl));
  EXPECT_EQ(-1, settingsListIndex(base::CodeMarkingListControl));
  EXPECT_EQ("Serif", field(base::FontNameControl));
  EXPECT_EQ("14", field(base::FontSizeControl));
  EXPECT_EQ("", field(base::DatabasePathControl));
  EXPECT_FALSE(settingsEventPending());
}

TEST_F(SettingsWindowTest, OpeningShowsTheSettingsAndCancelTakesBackEveryChange) {
  appSettings.db_path = "/data/db/";
  base::appState.databaseFileName = "Lib.xml";
  appSettings.Lib_path = "/data/lib/";
  openDialog();
  EXPECT_TRUE(shown());
  EXPECT_EQ("/data/db/Lib.xml", field(base::DatabasePathControl));
  EXPECT_EQ("/data/lib/", field(base::LibraryPathControl));
  EXPECT_EQ("Monospace", field(base::FontNameControl));
  EXPECT_EQ("10", field(base::FontSizeControl));
  selectItem(base::SearchScopeListControl, 2);
  check(base::WindowGeometryControl, true);
  setSettingsFieldText(base::LibraryPathControl, "/elsewhere/");
  setSettingsFieldText(base::FontNameControl, "Serif");
  click(base::CancelControl);
  EXPECT_FALSE(shown());
  EXPECT_EQ(0, appSettings.SearchMode);
  EXPECT_EQ(0, appSettings.SaveWinSetting);
  EXPECT_EQ(0, settingsListIndex(base::SearchScopeListControl));
  EXPECT_FALSE(settingsCheckBoxState(base::WindowGeometryControl));
  openDialog();
  EXPECT_EQ(0, settingsListIndex(base::SearchScopeListControl));
  EXPECT_EQ("/data/lib/", field(base::LibraryPathControl));
  EXPECT_EQ("Monospace", field(base::FontNameControl));
}

TEST_F(SettingsWindowTest, CancelEscapeAndCloseOnlyHideTheWindow) {
  const AppSettings before = appSettings;
  openDialog();
  selectItem(base::CodeMarkingListControl, 2);
  click(base::CancelControl);
  EXPECT_FALSE(shown());
  openDialog();
  base::postMenuEvent(base::SettingsWindowNo, 14);
  dispatchPending();
  EXPECT_FALSE(shown());
  openDialog();
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(settingsWindow.window)));
  gtk_main_do_event(event);
  gdk_event_free(event);
  dispatchPending();
  EXPECT_FALSE(shown());
  EXPECT_EQ(before.CodeMarks, appSettings.CodeMarks);
  EXPECT_EQ(0, base::appState.quitRequested);
  EXPECT_FALSE(g_file_test(settingsFile.c_str(), G_FILE_TEST_EXISTS));
}

TEST_F(SettingsWindowTest, ButtonsPostTheirEventsButProgramChangesDoNot) {
  gtk_button_clicked(GTK_BUTTON(control(base::ApplyControl)));
  ASSERT_TRUE(settingsEventPending());
  const base::Event event = takeSettingsEvent();
  EXPECT_EQ(base::SettingsWindowNo, event.window);
  EXPECT_EQ(base::ApplyControl, event.widget);
  EXPECT_EQ(base::EventType::LeftClick, event.type);
  {
    const base::ProgramChange guard;
    gtk_button_clicked(GTK_BUTTON(control(base::SaveControl)));
  }
  EXPECT_FALSE(settingsEventPending());
}

TEST_F(SettingsWindowTest, LanguageChoiceIsTheLanguageListsSelection) {
  setLanguageChoice(2);
  EXPECT_EQ(2, settingsListIndex(base::LanguageListControl));
  EXPECT_EQ(French, displayLanguage());
  EXPECT_FALSE(settingsEventPending());
  selectItem(base::LanguageListControl, 1);
  EXPECT_EQ(1, languageChoice());
  EXPECT_EQ(English, displayLanguage());
  setLanguageChoice(3);
  EXPECT_EQ(-1, languageChoice()) << "a list of three items selects nothing for 3";
  EXPECT_EQ(French, displayLanguage());
  selectItem(base::LanguageListControl, 1);
  destroySettingsWindow();
  EXPECT_EQ(1, languageChoice()) << "the list's last choice stays";
  setLanguageChoice(2);
  EXPECT_EQ(2, languageChoice());
}

TEST_F(SettingsWindowTest, DatabaseChooserFillsTheFieldAndACancelKeepsIt) {
  appSettings.db_path = "/data/db/";
  openDialog();
  dialogs.answers = {"/other/place/Other.xml"};
  click(base::DatabaseChooserControl);
  ASSERT_EQ(1u, dialogs.requests.size());
  const base::DialogRequest& request = dialogs.requests[0];
  EXPECT_EQ(base::DialogKind::OpenFile, request.kind);
  EXPECT_EQ("Choose database 'ZN-LinuxAPI-Toc.xml' ...", request.title);
  EXPECT_EQ("/data/db/ZN-LinuxAPI-Toc.xml", request.text);
  EXPECT_EQ("XML files (*.xml)", request.filterName);
  EXPECT_EQ("*.xml", request.filterPattern);
  EXPECT_EQ("/other/place/Other.xml", field(base::DatabasePathControl));
  click(base::DatabaseChooserControl);
  ASSERT_EQ(2u, dialogs.requests.size());
  EXPECT_EQ("/other/place/ZN-LinuxAPI-Toc.xml", dialogs.requests[1].text);
  EXPECT_EQ("/other/place/Other.xml", field(base::DatabasePathControl));
  EXPECT_EQ("/data/db/", appSettings.db_path);
}

TEST_F(SettingsWindowTest, LibraryChooserAddsTheSlashEmptiesTheProgramFolderAndACancel) {
  appSettings.Lib_path = "/data/lib/";
  openDialog();
  dialogs.answers = {"/data/other", dir.path().substr(0, dir.path().size() - 1), "/"};
  click(base::LibraryChooserControl);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ(base::DialogKind::ChooseFolder, dialogs.requests[0].kind);
  EXPECT_EQ("Choose Library-Main-Path ...", dialogs.requests[0].title);
  EXPECT_EQ("/data/lib/", dialogs.requests[0].text);
  EXPECT_EQ("/data/other/", field(base::LibraryPathControl));
  click(base::LibraryChooserControl);
  EXPECT_EQ("", field(base::LibraryPathControl)) << "the program folder is kept as the empty text";
  click(base::LibraryChooserControl);
  EXPECT_EQ("/", field(base::LibraryPathControl));
  click(base::LibraryChooserControl);
  EXPECT_EQ("", field(base::LibraryPathControl)) << "a cancelled chooser empties the field";
  EXPECT_EQ("/data/lib/", appSettings.Lib_path);
}

TEST_F(SettingsWindowTest, LibraryChooserStartsInTheProgramFolderForAnEmptyLibraryPath) {
  appSettings.Lib_path = "";
  click(base::LibraryChooserControl);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ(dir.path(), dialogs.requests[0].text);
}

TEST_F(SettingsWindowTest, FontChooserFillsTheFontFieldsOnlyOnOk) {
  appSettings.FontName = "DejaVu Sans Mono";
  appSettings.FontSize = 11;
  openDialog();
  dialogs.answers = {"Serif Bold Italic 13.4", ""};
  click(base::FontButtonControl);
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ(base::DialogKind::ChooseFont, dialogs.requests[0].kind);
  EXPECT_EQ("Font Selection", dialogs.requests[0].title);
  EXPECT_EQ("DejaVu Sans Mono 11", dialogs.requests[0].text);
  EXPECT_EQ("Serif", field(base::FontNameControl));
  EXPECT_EQ("13", field(base::FontSizeControl));
  click(base::FontButtonControl);
  EXPECT_EQ("Serif", field(base::FontNameControl));
  EXPECT_EQ("13", field(base::FontSizeControl));
  EXPECT_EQ("DejaVu Sans Mono", appSettings.FontName);
  EXPECT_EQ(11, appSettings.FontSize);
}

TEST_F(SettingsWindowTest, ApplyTakesThePathsReloadsTheDatabaseAndWritesNothing) {
  clickRow(4);
  ASSERT_FALSE(base::appState.historyRows.empty());
  dir.write("other/Other.xml",
            "<toc name=\"Other\">Other library of 2027-01-02 x\n"
            "  <group name=\"G1\"><topic File=\"a.zn\" theme_de=\"A\"/><topic File=\"b.zn\" "
            "theme_de=\"B\"/></group>\n"
            "  <group name=\"G2\"><topic File=\"c.zn\" theme_de=\"C\"/></group>\n"
            "</toc>\n");
  openDialog();
  base::appState.missingFileWarning = 0;
  setSettingsFieldText(base::DatabasePathControl, dir.file("other/Other.xml"));
  setSettingsFieldText(base::LibraryPathControl, "/lib/");
  click(base::ApplyControl);
  EXPECT_TRUE(shown()) << "the window stays open";
  EXPECT_EQ(dir.file("other/"), appSettings.db_path);
  EXPECT_EQ("/lib/", appSettings.Lib_path);
  EXPECT_EQ("Other.xml", base::appState.databaseFileName);
  EXPECT_EQ(dir.file("other/Other.xml"), base::appState.databasePath);
  EXPECT_EQ(1, base::appState.missingFileWarning);
  EXPECT_EQ("", codeText());
  EXPECT_EQ("", descriptionText());
  EXPECT_EQ("", base::appState.currentCodeFile);
  EXPECT_EQ(app::programTitle, windowTitle());
  EXPECT_TRUE(base::appState.historyRows.empty());
  EXPECT_EQ(0, base::appState.helpRow);
  ASSERT_EQ(6, database::topicRowCount());
  EXPECT_EQ(6u, database::indexEntries.size());
  EXPECT_EQ("G1", database::topicRowText(1));
  EXPECT_EQ(2, base::appState.groupCount);
  EXPECT_EQ(3, base::appState.codeTopicCount);
  EXPECT_TRUE(
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl])))
      << "the tree is all open";
  EXPECT_EQ(0, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_EQ(dir.file("other/Other.xml"), services::databaseInfoFieldText(base::DatabaseFieldControl));
  EXPECT_EQ("Other - Other library of 2027-01-02 x",
            services::databaseInfoFieldText(base::ContentFieldControl));
  EXPECT_EQ("/lib/", services::databaseInfoFieldText(base::LibraryFieldControl));
  EXPECT_EQ("2", services::databaseInfoFieldText(base::TopicsFieldControl));
  EXPECT_EQ("3", services::databaseInfoFieldText(base::EntriesFieldControl));
  EXPECT_FALSE(g_file_test(settingsFile.c_str(), G_FILE_TEST_EXISTS));
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(SettingsWindowTest, ApplyWithADatabaseThatCannotBeReadLeavesTheIndexEmptyWithoutAMessage) {
  openDialog();
  setSettingsFieldText(base::DatabasePathControl, dir.file("nowhere/Missing.xml"));
  click(base::ApplyControl);
  EXPECT_EQ(0, database::topicRowCount());
  EXPECT_TRUE(database::indexEntries.empty());
  EXPECT_EQ(nullptr, database::documentRoot());
  EXPECT_TRUE(dialogs.requests.empty());
  EXPECT_EQ(" - ", services::databaseInfoFieldText(base::ContentFieldControl));
  // A language switch afterwards finds no document either.
  setLanguageChoice(1);
  app::rebuildTreeKeepingSelection();
  EXPECT_EQ(0, database::topicRowCount());
}

TEST_F(SettingsWindowTest, SaveWithoutApplyKeepsTheOldFileNameAndApplyThenSaveTakesTheNewOne) {
  appSettings.db_path = dir.path();
  dir.write("other/Other.xml", testing_support::smallLibraryDatabase());
  openDialog();
  setSettingsFieldText(base::DatabasePathControl, dir.file("other/Other.xml"));
  click(base::SaveControl);
  EXPECT_FALSE(shown());
  EXPECT_EQ(dir.file("other/ZN-LinuxAPI-Toc.xml"), savedValue("db-path"));
  EXPECT_EQ("ZN-LinuxAPI-Toc.xml", base::appState.databaseFileName);
  EXPECT_EQ(dir.file("ZN-LinuxAPI-Toc.xml"), base::appState.databasePath) << "nothing reloaded";
  openDialog();
  setSettingsFieldText(base::DatabasePathControl, dir.file("other/Other.xml"));
  click(base::ApplyControl);
  click(base::SaveControl);
  EXPECT_EQ(dir.file("other/Other.xml"), savedValue("db-path"));
}

TEST_F(SettingsWindowTest, SaveWithoutKeepingPathsLeavesThePathLinesOfTheFileUntouched) {
  testing_support::writeFile(settingsFile,
                             "\xEF\xBB\xBF\ndb-path=/kept/Toc.xml\nLib-path=/kept/lib/\nabout=1\n");
  appSettings.about = 1;
  appSettings.SavePaths = 1;
  recreateSettingsWindow();
  openDialog();
  check(base::KeepPathsControl, false);
  setSettingsFieldText(base::DatabasePathControl, "/new/db/Toc.xml");
  setSettingsFieldText(base::LibraryPathControl, "/new/lib/");
  click(base::SaveControl);
  EXPECT_EQ("/kept/Toc.xml", savedValue("db-path"));
  EXPECT_EQ("/kept/lib/", savedValue("Lib-path"));
  EXPECT_EQ("0", savedValue("SavePaths"));
  EXPECT_EQ("/new/db/", appSettings.db_path) << "the paths hold for this run";
  EXPECT_EQ("/new/lib/", appSettings.Lib_path);
}

TEST_F(SettingsWindowTest, SaveTakesTheListsAndCheckBoxesIntoSettingsAndFile) {
  openDialog();
  selectItem(base::SearchScopeListControl, 2);
  selectItem(base::SearchHintListControl, 1);
  check(base::WindowGeometryControl, false);
  check(base::KeepPathsControl, true);
  base::appState.missingFileWarning = 0;
  click(base::SaveControl);
  EXPECT_EQ(2, appSettings.SearchMode);
  EXPECT_EQ(1, appSettings.SearchHint);
  EXPECT_EQ(1, appSettings.SavePaths);
  EXPECT_EQ(0, appSettings.SaveWinSetting);
  EXPECT_EQ(1, base::appState.missingFileWarning);
  EXPECT_EQ("2", savedValue("SearchMode"));
  EXPECT_EQ("1", savedValue("SearchHint"));
  EXPECT_EQ("0", savedValue("SaveWinSetting"));
  EXPECT_EQ("Monospace", savedValue("FontName"));
}

TEST_F(SettingsWindowTest, ChangingOnlyTheMarkingReloadsTheCode) {
  selectRow(4);
  ASSERT_EQ("Window code\n; Grüße", codeText());
  dir.write("Gtk/Window.zn", "Changed code\n");
  openDialog();
  click(base::SaveControl);
  EXPECT_EQ("Window code\n; Grüße", codeText()) << "an unchanged dialog reloads nothing";
  EXPECT_EQ(0, treeBuilds()) << "and rebuilds nothing";
  openDialog();
  selectItem(base::CodeMarkingListControl, 2);
  click(base::SaveControl);
  EXPECT_EQ(2, appSettings.CodeMarks);
  EXPECT_EQ("Changed code", codeText());
  EXPECT_EQ("2", savedValue("CodeMarks"));
  EXPECT_EQ(0, treeBuilds());
}

TEST_F(SettingsWindowTest, ChangingOnlyTheFontChangesTheCodeFontWithoutReloading) {
  selectRow(4);
  dir.write("Gtk/Window.zn", "Changed code\n");
  openDialog();
  dialogs.answers = {"Serif 14"};
  click(base::FontButtonControl);
  click(base::SaveControl);
  EXPECT_EQ("Serif", appSettings.FontName);
  EXPECT_EQ(14, appSettings.FontSize);
  EXPECT_EQ("Serif", codeFontFamily());
  EXPECT_EQ(14, codeFontPoints());
  EXPECT_EQ("Window code\n; Grüße", codeText());
  EXPECT_EQ("Serif", savedValue("FontName"));
  EXPECT_EQ("14", savedValue("FontSize"));
  EXPECT_EQ(0, treeBuilds());
}

TEST_F(SettingsWindowTest, ChangingOnlyTheTitleContentRecomposesTheTitle) {
  appSettings.Lib_path = "/opt/lib/";
  selectRow(5);
  ASSERT_EQ(app::titleForCodeFile("/Gtk/Button.zn", 1, "/opt/lib/"), windowTitle());
  openDialog();
  selectItem(base::TitleContentListControl, 2);
  click(base::SaveControl);
  EXPECT_EQ(2, appSettings.SourceInTitle);
  EXPECT_EQ(app::titleForCodeFile("/Gtk/Button.zn", 2, "/opt/lib/"), windowTitle());
  EXPECT_NE(std::string::npos, windowTitle().find("/opt/lib/Gtk/Button.zn"));
  selectRow(7);
  openDialog();
  selectItem(base::TitleContentListControl, 0);
  click(base::SaveControl);
  EXPECT_EQ(0, appSettings.SourceInTitle);
  EXPECT_EQ(app::programTitle, windowTitle()) << "a topic without a file keeps the title";
}

TEST_F(SettingsWindowTest, NewTopicsColouringRebuildsTheIndexKeepingTheRow) {
  selectRow(5);
  openDialog();
  check(base::NewTopicsControl, false);
  click(base::SaveControl);
  EXPECT_EQ(1, treeBuilds());
  EXPECT_EQ(0, appSettings.DyeingNews);
  EXPECT_EQ("Knopf", database::topicRowText(5));
  EXPECT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_TRUE(
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl])));
  EXPECT_EQ("0", savedValue("DyeingNews"));
}

TEST_F(SettingsWindowTest, LanguageAndNewTopicsTogetherRebuildTwice) {
  testing_support::writeFile(dir.file("DizerEZ API-LibLang.inf"), "[LanguageItems]\n");
  selectRow(5);
  openDialog();
  selectItem(base::LanguageListControl, 1);
  check(base::NewTopicsControl, false);
  click(base::SaveControl);
  EXPECT_EQ(2, treeBuilds());
  EXPECT_EQ(1, appSettings.Language);
  EXPECT_EQ("Button", database::topicRowText(5));
  EXPECT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_EQ("1", savedValue("Language"));
  openDialog();
  selectItem(base::LanguageListControl, 0);
  click(base::SaveControl);
  EXPECT_EQ(3, treeBuilds()) << "the language alone rebuilds once";
  EXPECT_EQ("Knopf", database::topicRowText(5));
}

}  // namespace
