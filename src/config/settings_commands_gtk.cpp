// The commands of the settings window: the choosers, applying new paths and saving.
#include <cstdint>
#include <string>

#include <gtk/gtk.h>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/fonts_gtk.h"
#include "app/main_window_gtk.h"
#include "app/paths.h"
#include "app/window_title.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/language_apply_gtk.h"
#include "config/settings_file.h"
#include "config/settings_store.h"
#include "config/settings_window_gtk.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "viewer/code_view_gtk.h"

namespace config {
namespace {

// The index entry of the selected tree row, or nullptr when no row is selected.
const database::IndexEntry* selectedIndexEntry() {
  const int row = database::selectedTopicRow(app::topicTreeView());
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return nullptr;
  return &database::indexEntries[row];
}

std::string withTrailingSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + "/";
}

struct ChosenFont {
  std::string family;
  std::int64_t size = 0;
};

// The font chooser answers with a font description such as "DejaVu Sans Mono 12".
ChosenFont parseChosenFont(const std::string& description) {
  ChosenFont font;
  PangoFontDescription* parsed = pango_font_description_from_string(description.c_str());
  if (!parsed) return font;
  if (const char* family = pango_font_description_get_family(parsed)) font.family = family;
  font.size = (pango_font_description_get_size(parsed) + PANGO_SCALE / 2) / PANGO_SCALE;
  pango_font_description_free(parsed);
  return font;
}

void clearShownTopic() {
  TRACE_LINE();
  viewer::clearShownTopic();
  app::setMainTitle(app::programTitle);
  services::setSelectedFileFields("", "", "");
  app::clearHistory();
}

// A database that cannot be read leaves no document, so the index stays empty.
void reloadDatabase() {
  TRACE_LINE();
  if (!database::readDatabaseFile(appState.databasePath)) database::closeDatabase();
  GtkTreeView* tree = app::topicTreeView();
  database::rebuildTopicTree(tree, languageChoice(), appSettings.DyeingNews != 0);
  database::countTopics(tree);
}

void reloadSelectedCode() {
  TRACE_LINE();
  const database::IndexEntry* entry = selectedIndexEntry();
  if (!entry || entry->File.empty()) return;
  const std::string file(entry->File);
  viewer::setDescriptionAlarm(viewer::loadCodeFile(file, 0) != viewer::LoadResult::Loaded);
}

void takeFont() {
  TRACE_LINE();
  const std::string name = settingsFieldText(FontNameControl);
  const std::int64_t size = parseSettingsNumber(settingsFieldText(FontSizeControl));
  if (name == appSettings.FontName && size == appSettings.FontSize) return;
  // A font that cannot be made keeps the previous one; that is not reported.
  if (app::loadCodeFont(name, size) && app::codeFont && app::mainWindow.gadget[app::CodeViewGadget])
    viewer::setCodeViewFont(app::codeFont);
  appSettings.FontName = name;
  appSettings.FontSize = size;
}

void takeTitleContent() {
  TRACE_LINE();
  const int content = settingsListIndex(TitleContentListControl);
  if (content == appSettings.SourceInTitle) return;
  appSettings.SourceInTitle = content;
  const database::IndexEntry* entry = selectedIndexEntry();
  if (entry && !entry->File.empty())
    app::setMainTitle(
        app::titleForCodeFile(std::string(entry->File), appSettings.SourceInTitle, absoluteLibraryFolder()));
}

}  // namespace

void chooseDatabaseFile() {
  TRACE_LINE();
  const std::string proposed =
      paths::folderPart(settingsFieldText(DatabasePathControl)) + appState.databaseFileName;
  const std::string chosen = app::chooseFile("Choose database '" + appState.databaseFileName + "' ...",
                                             proposed, "XML files (*.xml)", "*.xml");
  if (!chosen.empty()) setSettingsFieldText(DatabasePathControl, chosen);
}

void chooseLibraryFolder() {
  TRACE_LINE();
  app::DialogRequest request;
  request.kind = app::DialogKind::ChooseFolder;
  request.title = "Choose Library-Main-Path ...";
  // An empty library path stands for the program folder.
  request.text = appSettings.Lib_path.empty() ? appState.programFolder : appSettings.Lib_path;
  std::string chosen = withTrailingSlash(app::runDialog(request));
  if (chosen == appState.programFolder) chosen.clear();
  setSettingsFieldText(LibraryPathControl, chosen);
}

void chooseCodeFont() {
  TRACE_LINE();
  app::DialogRequest request;
  request.kind = app::DialogKind::ChooseFont;
  request.title = "Font Selection";
  request.text = appSettings.FontName + " " + std::to_string(appSettings.FontSize);
  const std::string answer = app::runDialog(request);
  if (answer.empty()) return;
  const ChosenFont font = parseChosenFont(answer);
  if (font.family.empty()) return;
  setSettingsFieldText(FontNameControl, font.family);
  if (font.size > 0) setSettingsFieldText(FontSizeControl, std::to_string(font.size));
}

void applyPathsAndReload() {
  TRACE_LINE();
  useDatabaseFile(settingsFieldText(DatabasePathControl));
  appSettings.Lib_path = settingsFieldText(LibraryPathControl);
  viewer::warnOfNextMissingFile();
  clearShownTopic();
  reloadDatabase();
  // Counting the topics has opened every node: the toggle shows it, so its next click closes them.
  app::setNodeToggle(true);
  database::selectTopicRow(app::topicTreeView(), 0);
  services::fillDatabaseInfo();
}

void saveSettingsFromDialog() {
  TRACE_LINE();
  appSettings.db_path = paths::folderPart(settingsFieldText(DatabasePathControl));
  appSettings.Lib_path = settingsFieldText(LibraryPathControl);
  appSettings.SavePaths = settingsCheckBoxState(KeepPathsControl) ? 1 : 0;
  appSettings.SaveWinSetting = settingsCheckBoxState(WindowGeometryControl) ? 1 : 0;
  appSettings.SearchHint = settingsListIndex(SearchHintListControl);
  appSettings.SearchMode = settingsListIndex(SearchScopeListControl);
  const int marking = settingsListIndex(CodeMarkingListControl);
  if (marking != appSettings.CodeMarks) {
    appSettings.CodeMarks = marking;
    reloadSelectedCode();
  }
  const std::int64_t dyeing = settingsCheckBoxState(NewTopicsControl) ? 1 : 0;
  const bool rebuild = dyeing != appSettings.DyeingNews;
  appSettings.DyeingNews = dyeing;
  takeFont();
  ApplyLanguage(false);
  if (languageChoice() != appSettings.Language || rebuild) {
    rebuildTreeKeepingSelection();
    appSettings.Language = languageChoice();
  }
  viewer::showDescriptionOfRow(database::selectedTopicRow(app::topicTreeView()));
  takeTitleContent();
  viewer::warnOfNextMissingFile();
  hideSettingsWindow();
  SaveSettings();
}

}  // namespace config
