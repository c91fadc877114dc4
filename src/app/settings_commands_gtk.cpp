// The commands of the settings window: the choosers, applying new paths and saving.
#include "app/settings_commands_gtk.h"

#include <cstdint>
#include <string>

#include <gtk/gtk.h>

#include "app/language_apply_gtk.h"
#include "app/main_window_gtk.h"
#include "app/main_window_rules.h"
#include "app/topic_commands_gtk.h"
#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/fonts_gtk.h"
#include "base/paths.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/settings_file.h"
#include "config/settings_store.h"
#include "config/settings_window_gtk.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

// The index entry of the selected tree row, or nullptr when no row is selected.
const database::IndexEntry* selectedIndexEntry() {
  const int row = database::selectedTopicRow(base::topicTreeView());
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

// A database that cannot be read leaves no document, so the index stays empty.
void reloadDatabase() {
  TRACE_LINE();
  if (!database::readDatabaseFile(base::appState.databasePath)) database::closeDatabase();
  GtkTreeView* tree = base::topicTreeView();
  database::rebuildTopicTree(tree, config::languageChoice(), appSettings.DyeingNews != 0);
  database::countTopics(tree);
}

void takeFont() {
  TRACE_LINE();
  const std::string name = config::settingsFieldText(base::FontNameControl);
  const std::int64_t size = config::parseSettingsNumber(config::settingsFieldText(base::FontSizeControl));
  if (name == appSettings.FontName && size == appSettings.FontSize) return;
  // A font that cannot be made keeps the previous one; that is not reported.
  if (base::loadCodeFont(name, size) && base::codeFont && base::mainWindow.control[base::CodeViewControl])
    viewer::setCodeViewFont(base::codeFont);
  appSettings.FontName = name;
  appSettings.FontSize = size;
}

void takeTitleContent() {
  TRACE_LINE();
  const int content = config::settingsListIndex(base::TitleContentListControl);
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
  const std::string proposed = base::folderPart(config::settingsFieldText(base::DatabasePathControl)) +
                               base::appState.databaseFileName;
  const std::string chosen = base::chooseFile("Choose database '" + base::appState.databaseFileName + "' ...",
                                              proposed, "XML files (*.xml)", "*.xml");
  if (!chosen.empty()) config::setSettingsFieldText(base::DatabasePathControl, chosen);
}

void chooseLibraryFolder() {
  TRACE_LINE();
  base::DialogRequest request;
  request.kind = base::DialogKind::ChooseFolder;
  request.title = "Choose Library-Main-Path ...";
  // An empty library path stands for the program folder.
  request.text = appSettings.Lib_path.empty() ? base::appState.programFolder : appSettings.Lib_path;
  std::string chosen = withTrailingSlash(base::runDialog(request));
  if (chosen == base::appState.programFolder) chosen.clear();
  config::setSettingsFieldText(base::LibraryPathControl, chosen);
}

void chooseCodeFont() {
  TRACE_LINE();
  base::DialogRequest request;
  request.kind = base::DialogKind::ChooseFont;
  request.title = "Font Selection";
  request.text = appSettings.FontName + " " + std::to_string(appSettings.FontSize);
  const std::string answer = base::runDialog(request);
  if (answer.empty()) return;
  const ChosenFont font = parseChosenFont(answer);
  if (font.family.empty()) return;
  config::setSettingsFieldText(base::FontNameControl, font.family);
  if (font.size > 0) config::setSettingsFieldText(base::FontSizeControl, std::to_string(font.size));
}

void applyPathsAndReload() {
  TRACE_LINE();
  config::useDatabaseFile(config::settingsFieldText(base::DatabasePathControl));
  appSettings.Lib_path = config::settingsFieldText(base::LibraryPathControl);
  viewer::warnOfNextMissingFile();
  forgetShownTopic();
  reloadDatabase();
  // Counting the topics has opened every node: the toggle shows it, so its next click closes them.
  app::setNodeToggle(true);
  database::selectTopicRow(base::topicTreeView(), 0);
  services::fillDatabaseInfo();
}

void saveSettingsFromDialog() {
  TRACE_LINE();
  appSettings.db_path = base::folderPart(config::settingsFieldText(base::DatabasePathControl));
  appSettings.Lib_path = config::settingsFieldText(base::LibraryPathControl);
  appSettings.SavePaths = config::settingsCheckBoxState(base::KeepPathsControl) ? 1 : 0;
  appSettings.SaveWinSetting = config::settingsCheckBoxState(base::WindowGeometryControl) ? 1 : 0;
  appSettings.SearchHint = config::settingsListIndex(base::SearchHintListControl);
  appSettings.SearchMode = config::settingsListIndex(base::SearchScopeListControl);
  const int marking = config::settingsListIndex(base::CodeMarkingListControl);
  if (marking != appSettings.CodeMarks) {
    appSettings.CodeMarks = marking;
    reloadSelectedTopicCode();
  }
  const std::int64_t dyeing = config::settingsCheckBoxState(base::NewTopicsControl) ? 1 : 0;
  const bool rebuild = dyeing != appSettings.DyeingNews;
  appSettings.DyeingNews = dyeing;
  takeFont();
  ApplyLanguage(false);
  if (config::languageChoice() != appSettings.Language || rebuild) {
    rebuildTreeKeepingSelection();
    appSettings.Language = config::languageChoice();
  }
  viewer::showDescriptionOfRow(database::selectedTopicRow(base::topicTreeView()));
  takeTitleContent();
  viewer::warnOfNextMissingFile();
  config::hideSettingsWindow();
  config::SaveSettings();
}

}  // namespace app
