// Loading snippets into the code view and showing the selected topic.
#include "viewer/code_view_gtk.h"

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/main_window_gtk.h"
#include "app/paths.h"
#include "app/window_events_gtk.h"
#include "app/window_title.h"
#include "config/app_settings.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "services/process_launcher.h"
#include "viewer/code_file.h"
#include "viewer/highlighter_gtk.h"
#include "viewer/topic_display.h"

namespace viewer {
namespace {

GtkTextBuffer* codeBuffer() { return gtk_text_view_get_buffer(app::codeView()); }

void setCodeText(const std::string& text) {
  TRACE_LINE();
  gtk_text_buffer_set_text(codeBuffer(), text.c_str(), static_cast<gint>(text.size()));
  GtkTextIter start;
  gtk_text_buffer_get_start_iter(codeBuffer(), &start);
  gtk_text_buffer_place_cursor(codeBuffer(), &start);
  // Every snippet opens at its first line and column, whatever the previous one showed.
  for (GtkAdjustment* scroll :
       {gtk_text_view_get_hadjustment(app::codeView()), gtk_text_view_get_vadjustment(app::codeView())}) {
    if (scroll) gtk_adjustment_set_value(scroll, gtk_adjustment_get_lower(scroll));
  }
}

// What a buffer holds for an embedded widget.
constexpr gunichar objectPlaceholder = 0xFFFC;

gboolean isObjectPlaceholder(gunichar character, gpointer) { return character == objectPlaceholder; }

// Moves the iterator to the next placeholder from where it stands, or to the limit.
void toPlaceholder(GtkTextIter* iter, const GtkTextIter* limit) {
  if (gtk_text_iter_get_char(iter) == objectPlaceholder) return;
  if (!gtk_text_iter_forward_find_char(iter, isObjectPlaceholder, nullptr, limit)) *iter = *limit;
}

void appendPlainText(std::string& text, const GtkTextIter* start, const GtkTextIter* end) {
  gchar* piece = gtk_text_iter_get_text(start, end);
  text += piece;
  g_free(piece);
}

// The title of the link label at the anchor; a placeholder that is plain text stays.
std::string anchorText(const GtkTextIter* at) {
  GtkTextChildAnchor* anchor = gtk_text_iter_get_child_anchor(at);
  if (!anchor) return "\xEF\xBF\xBC";
  std::string title;
  GList* widgets = gtk_text_child_anchor_get_widgets(anchor);
  for (GList* item = widgets; item && title.empty(); item = item->next) {
    if (GTK_IS_LABEL(item->data)) title = gtk_label_get_text(GTK_LABEL(item->data));
  }
  g_list_free(widgets);
  return title;
}

void setLinkLabelFont(GtkWidget* child, gpointer font) {
  if (GTK_IS_LABEL(child)) gtk_widget_modify_font(child, static_cast<PangoFontDescription*>(font));
}

void reportMissingFile(const std::string& givenPath) {
  TRACE_LINE();
  clearCodeView();
  services::startProgram("beep", "-f 130.8 -l 100", "");
  if (appState.missingFileWarning == 1) {
    app::showMessage(app::messageTitle, missingFileMessage(givenPath, appSettings.Lib_path));
    appState.missingFileWarning = 0;
  } else {
    setCodeText(missingFileBanner);
  }
}

// Groups and the root show their own text; topics their description in the display language.
const std::string& descriptionOfRow(int row) {
  const database::IndexEntry& entry = database::indexEntries[row];
  if (database::topicRowLevel(row) < 2) return entry.Text;
  return descriptionForLanguage(entry, config::displayLanguage());
}

}  // namespace

void clearCodeView() { setCodeText(std::string()); }

void showCodeFileProperties(const std::string& file) {
  TRACE_LINE();
  app::setPropertyLabel(app::SourceLabelGadget, sourceLabelText(codeFileProperties));
  app::setPropertyLabel(app::ExecutableLabelGadget, executableLabelText(codeFileProperties));
  app::setPropertyLabel(app::SubsystemLabelGadget, subsystemLabelText(codeFileProperties));
  services::setSelectedFileFields(file, codeFormatText(codeFileProperties),
                                  executableFormatText(codeFileProperties));
}

void showSelectedDescription() {
  const int row = database::selectedTopicRow(app::topicTreeView());
  if (row >= 0 && row < static_cast<int>(database::indexEntries.size()))
    showDescription(descriptionOfRow(row));
}

std::string shownCodeText(const GtkTextIter* start, const GtkTextIter* end) {
  TRACE_LINE();
  std::string text;
  GtkTextIter from = *start;
  GtkTextIter at = *start;
  for (toPlaceholder(&at, end); gtk_text_iter_compare(&at, end) < 0; toPlaceholder(&at, end)) {
    appendPlainText(text, &from, &at);
    text += anchorText(&at);
    gtk_text_iter_forward_char(&at);
    from = at;
  }
  appendPlainText(text, &from, end);
  return text;
}

std::string shownCodeText() {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(codeBuffer(), &start, &end);
  return shownCodeText(&start, &end);
}

void setCodeViewFont(const PangoFontDescription* font) {
  TRACE_LINE();
  GtkWidget* view = GTK_WIDGET(app::codeView());
  gtk_widget_modify_font(view, const_cast<PangoFontDescription*>(font));
  gtk_container_forall(GTK_CONTAINER(view), setLinkLabelFont, const_cast<PangoFontDescription*>(font));
}

void showDescription(const std::string& text) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(app::descriptionView());
  gtk_text_buffer_set_text(buffer, text.c_str(), static_cast<gint>(text.size()));
}

void setDescriptionAlarm(bool alarm) {
  GtkWidget* description = app::mainWindow.gadget[app::DescriptionGadget];
  if (!alarm) {
    gtk_widget_modify_base(description, GTK_STATE_NORMAL, nullptr);
    return;
  }
  const GdkColor colour = app::toGdkColor(appState.flashColour);
  gtk_widget_modify_base(description, GTK_STATE_NORMAL, &colour);
}

int loadCodeFile(const std::string& path, int external) {
  TRACE_LINE();
  codeFileProperties = CodeFileProperties();
  std::string fullPath;
  if (external == 0) {
    fullPath = codeFileFullPath(appSettings.Lib_path, path);
  } else {
    fullPath = firstDroppedPath(path);
    const std::string extension = codeFileExtension(fullPath);
    if (!passesCodeTypeTest(extension)) {
      app::showMessage(app::messageTitle, unsupportedTypeMessage(extension));
      return 0;
    }
    app::setMainTitle(app::titleForExternalFile(fullPath));
    // The view no longer shows a topic's file; the file fields name none either, so that
    // the copy icon cannot hand over a path that is not shown.
    appState.currentCodeFile.clear();
    services::setSelectedFileFields("", "", "");
  }
  TRACE_LINE();
  const CodeText code = readCodeFile(fullPath);
  if (!code.opened) {
    reportMissingFile(path);
    return 0;
  }
  setCodeText(code.text);
  if (appSettings.CodeMarks != 0 && passesCodeTypeTest(codeFileExtension(fullPath)))
    highlightCodeView(app::codeView());
  return 1;
}

void showSelectedTopic(app::EventType type) {
  TRACE_LINE();
  const int row = database::selectedTopicRow(app::topicTreeView());
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return;
  const database::IndexEntry& entry = database::indexEntries[row];
  showDescription(descriptionOfRow(row));
  if (entry.File.empty()) {
    appState.currentCodeFile.clear();
    app::setMainTitle(app::programTitle);
    services::setSelectedFileFields("", "", "");
    clearCodeView();
    return;
  }
  if (entry.File != appState.currentCodeFile) {
    const std::string file = entry.File;  // the load may not change the entry, but keep a copy
    setDescriptionAlarm(loadCodeFile(file, 0) == 0);
    appState.currentCodeFile = file;
    showCodeFileProperties(file);
    app::setMainTitle(app::titleForCodeFile(file, appSettings.SourceInTitle, appSettings.Lib_path));
  }
  // Runs after a load too: a click that shows a topic also records it.
  if (entry.File == appState.currentCodeFile && type == app::EventType::LeftClick) app::recordHistory(row);
}

}  // namespace viewer
