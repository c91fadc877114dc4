// Loading snippets into the code view and showing a topic's description and code.
#include "viewer/code_view_gtk.h"

#include <utility>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/process_launcher.h"
#include "viewer/code_file.h"
#include "viewer/highlighter_gtk.h"
#include "viewer/topic_display.h"

namespace viewer {
namespace {

GtkTextBuffer* codeBuffer() { return gtk_text_view_get_buffer(base::codeView()); }

int markOffset(GtkTextBuffer* buffer, GtkTextMark* mark) {
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_mark(buffer, &at, mark);
  return gtk_text_iter_get_offset(&at);
}

void setCodeText(const std::string& text) {
  TRACE_LINE();
  GtkTextBuffer* buffer = codeBuffer();
  const gint length = static_cast<gint>(text.size());
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  if (markOffset(buffer, gtk_text_buffer_get_insert(buffer)) == 0 &&
      markOffset(buffer, gtk_text_buffer_get_selection_bound(buffer)) == 0) {
    // The cursor stands at the start: the new text goes in behind the old one, which
    // then goes, and the cursor stays where it is. Moved, it would make the view lay
    // out the first line at once, before the highlighting changes it anyway.
    const gint oldLength = gtk_text_iter_get_offset(&end);
    gtk_text_buffer_insert(buffer, &end, text.c_str(), length);
    gtk_text_buffer_get_iter_at_offset(buffer, &end, oldLength);
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_delete(buffer, &start, &end);
  } else {
    gtk_text_buffer_set_text(buffer, text.c_str(), length);
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_place_cursor(buffer, &start);
  }
  // Every snippet opens at its first line and column, whatever the previous one showed.
  for (GtkAdjustment* scroll :
       {gtk_text_view_get_hadjustment(base::codeView()), gtk_text_view_get_vadjustment(base::codeView())}) {
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

// Link labels wear the view's style, which a new font replaces.
void wearViewStyle(GtkWidget* child, gpointer view) {
  if (GTK_IS_LABEL(child)) gtk_widget_set_style(child, gtk_widget_get_style(GTK_WIDGET(view)));
}

void reportMissingFile(const std::string& givenPath) {
  TRACE_LINE();
  clearCodeView();
  services::startProgram("beep", "-f 130.8 -l 100", "");
  if (base::appState.missingFileWarning == 1) {
    base::showMessage(base::messageTitle, missingFileMessage(givenPath, absoluteLibraryFolder()));
    base::appState.missingFileWarning = 0;
  } else {
    setCodeText(missingFileBanner);
  }
}

// Whether the buffer holds exactly the text.
bool holds(GtkTextBuffer* buffer, std::string_view text) {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* shown = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
  const bool same = text == shown;
  g_free(shown);
  return same;
}

bool hasRecord(int row) { return row >= 0 && row < static_cast<int>(database::indexEntries.size()); }

std::string_view descriptionInDisplayLanguage(const database::IndexEntry& entry) {
  return entry.*database::languageField(database::EntryText::Description, config::displayLanguage());
}

// Groups and the root show their own text; topics their description in the display language.
std::string_view descriptionOfRow(int row) {
  const database::IndexEntry& entry = database::indexEntries[row];
  if (database::topicRowLevel(row) < 2) return entry.Text;
  return descriptionInDisplayLanguage(entry);
}

// Shows the file unless the view shows it already; a topic without a file empties the view.
// The file is taken by value: it must outlive whatever the load may change.
ShownTopic showCodeOf(std::string file) {
  ShownTopic shown;
  shown.shown = true;
  shown.fileChanged = file.empty() || file != base::appState.currentCodeFile;
  if (file.empty()) {
    clearCodeView();
  } else if (shown.fileChanged) {
    const LoadedCode loaded = loadCodeFile(file, 0);
    setDescriptionAlarm(loaded.result != LoadResult::Loaded);
    shown.properties = loaded.properties;
  }
  shown.file = std::move(file);
  return shown;
}

}  // namespace

void clearCodeView() { setCodeText(std::string()); }

void showDescriptionOfRow(int row) {
  if (hasRecord(row)) showDescription(descriptionOfRow(row));
}

void warnOfNextMissingFile() { base::appState.missingFileWarning = 1; }

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

void selectCodeLine(int line) {
  TRACE_LINE();
  GtkTextBuffer* buffer = codeBuffer();
  if (line < 0 || line >= gtk_text_buffer_get_line_count(buffer)) return;
  GtkTextIter start;
  gtk_text_buffer_get_iter_at_line(buffer, &start, line);
  GtkTextIter end = start;
  if (!gtk_text_iter_ends_line(&end)) gtk_text_iter_forward_to_line_end(&end);
  gtk_text_buffer_select_range(buffer, &start, &end);
  gtk_text_view_scroll_to_mark(base::codeView(), gtk_text_buffer_get_insert(buffer), 0.0, TRUE, 0.0, 0.5);
}

void setCodeViewFont(const PangoFontDescription* font) {
  TRACE_LINE();
  GtkWidget* view = GTK_WIDGET(base::codeView());
  gtk_widget_modify_font(view, const_cast<PangoFontDescription*>(font));
  gtk_container_forall(GTK_CONTAINER(view), wearViewStyle, view);
}

void showDescription(std::string_view text) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::descriptionView());
  // A click reports its row twice, as a click and as a new selection; the text shown
  // already need not be laid out again.
  if (holds(buffer, text)) return;
  // An empty view may hold no address at all; the buffer wants one.
  gtk_text_buffer_set_text(buffer, text.empty() ? "" : text.data(), static_cast<gint>(text.size()));
}

namespace {

// Whether the widget's own background is the colour, or none of its own for nullptr.
bool hasOwnBase(GtkWidget* widget, const GdkColor* colour) {
  GtkRcStyle* style = gtk_widget_get_modifier_style(widget);
  const bool own = (style->color_flags[GTK_STATE_NORMAL] & GTK_RC_BASE) != 0;
  if (!colour) return !own;
  return own && gdk_color_equal(&style->base[GTK_STATE_NORMAL], colour);
}

}  // namespace

void setDescriptionAlarm(bool alarm) {
  GtkWidget* description = GTK_WIDGET(base::descriptionView());
  const GdkColor colour = base::toGdkColor(base::appState.flashColour);
  // A new colour restyles the whole window and lays it out again: only when it changes.
  if (hasOwnBase(description, alarm ? &colour : nullptr)) return;
  gtk_widget_modify_base(description, GTK_STATE_NORMAL, alarm ? &colour : nullptr);
}

LoadedCode loadCodeFile(const std::string& path, int external) {
  TRACE_LINE();
  LoadedCode loaded;
  std::string fullPath;
  if (external == 0) {
    fullPath = codeFileFullPath(appSettings.Lib_path, path);
  } else {
    fullPath = firstDroppedPath(path);
    const std::string extension = codeFileExtension(fullPath);
    if (!passesCodeTypeTest(extension)) {
      base::showMessage(base::messageTitle, unsupportedTypeMessage(extension));
      return loaded;
    }
  }
  TRACE_LINE();
  const CodeText code = readCodeFile(fullPath);
  loaded.properties = code.properties;
  if (!code.opened) {
    reportMissingFile(path);
    loaded.result = LoadResult::Missing;
    return loaded;
  }
  setCodeText(code.text);
  if (appSettings.CodeMarks != 0 && passesCodeTypeTest(codeFileExtension(fullPath)))
    highlightCodeView(base::codeView(), code.text);
  loaded.result = LoadResult::Loaded;
  return loaded;
}

ShownTopic showSelectedTopic(int row) {
  TRACE_LINE();
  if (!hasRecord(row)) return ShownTopic();
  showDescription(descriptionOfRow(row));
  return showCodeOf(std::string(database::indexEntries[row].File));
}

ShownTopic showHistoryEntry(int row) {
  TRACE_LINE();
  if (!hasRecord(row)) return ShownTopic();
  const database::IndexEntry& entry = database::indexEntries[row];
  showDescription(descriptionInDisplayLanguage(entry));
  return showCodeOf(std::string(entry.File));
}

}  // namespace viewer
