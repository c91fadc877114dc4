// The find bar below the code view and the highlighting of what it finds.
#include "search/find_bar_gtk.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "config/interface_texts.h"
#include "search/code_find.h"

namespace search {

FindBar findBar;

namespace {

const char* const occurrenceTagName = "zn-find-occurrence";
const char* const currentTagName = "zn-find-current";
const char* const currentMarkName = "zn-find-current";
const char* const occurrenceBackground = "#FFF176";
const char* const currentBackground = "#FFA726";

// Tagging a range costs more than finding it: a keystroke on a long snippet would
// spend frames tagging a hundred thousand occurrences nobody sees. So only the lines
// in sight, and a screenful or this many lines on either side, carry the tag; scrolling
// tags the lines that come into sight.
constexpr int linesBesideSight = 50;

// Where the code view stands: the scroll positions across and down.
struct ViewPlace {
  double across = 0;
  double down = 0;
};

struct FindState {
  bool codeStale = true;  // the code changed since it was last folded
  FoldedCode code;
  std::vector<CodeMatch> matches;
  int current = -1;
  int taggedFrom = 0;  // the characters whose occurrences carry the tag: [taggedFrom, taggedTo)
  int taggedTo = 0;
  guint pendingSearch = 0;
  GtkWidget* focusBefore = nullptr;  // weak: where the focus goes back to
  bool typingStarted = false;        // typingStart holds the view the typing began in
  ViewPlace typingStart;
  ViewPlace leftAt;  // where the last search left the view
};

FindState state;

GtkTextView* view() { return base::codeView(); }
GtkTextBuffer* buffer() { return gtk_text_view_get_buffer(view()); }
GtkWidget* field() { return findBar.at(base::FindFieldControl); }

GtkAdjustment* scrollAcross() {
  return gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll));
}
GtkAdjustment* scrollDown() {
  return gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll));
}

ViewPlace viewPlace() {
  return ViewPlace{gtk_adjustment_get_value(scrollAcross()), gtk_adjustment_get_value(scrollDown())};
}

void scrollClamped(GtkAdjustment* scroll, double value) {
  const double last = gtk_adjustment_get_upper(scroll) - gtk_adjustment_get_page_size(scroll);
  gtk_adjustment_set_value(scroll, std::max(gtk_adjustment_get_lower(scroll), std::min(value, last)));
}

// Every text typed is searched from the view the typing began in. A prefix found out of
// sight scrolls the view away, and the longer text must not be sought from there: found
// in that first view, it leaves the view where it was. Once the view moved otherwise (the
// wheel, a step, another topic), the typing begins anew from where it stands.
void returnToTypingStart() {
  const ViewPlace now = viewPlace();
  if (!state.typingStarted || now.across != state.leftAt.across || now.down != state.leftAt.down) {
    state.typingStart = now;
    state.typingStarted = true;
  }
  scrollClamped(scrollAcross(), state.typingStart.across);
  scrollClamped(scrollDown(), state.typingStart.down);
}

GtkTextTag* tagNamed(const char* name) {
  return gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer()), name);
}

void createTags() {
  if (tagNamed(occurrenceTagName)) return;
  gtk_text_buffer_create_tag(buffer(), occurrenceTagName, "background", occurrenceBackground, nullptr);
  gtk_text_buffer_create_tag(buffer(), currentTagName, "background", currentBackground, nullptr);
}

void tagRange(GtkTextTag* tag, int from, int to, bool apply) {
  GtkTextIter start, end;
  gtk_text_buffer_get_iter_at_offset(buffer(), &start, from);
  gtk_text_buffer_get_iter_at_offset(buffer(), &end, to);
  if (apply)
    gtk_text_buffer_apply_tag(buffer(), tag, &start, &end);
  else
    gtk_text_buffer_remove_tag(buffer(), tag, &start, &end);
}

void removeAllFindTags() {
  const int end = gtk_text_buffer_get_char_count(buffer());
  tagRange(tagNamed(occurrenceTagName), 0, end, false);
  tagRange(tagNamed(currentTagName), 0, end, false);
  state.taggedFrom = state.taggedTo = 0;
}

// The offset where the line starts; past the last line, the end of the text.
int lineStart(int line) {
  if (line >= gtk_text_buffer_get_line_count(buffer())) return gtk_text_buffer_get_char_count(buffer());
  GtkTextIter iter;
  gtk_text_buffer_get_iter_at_line(buffer(), &iter, std::max(line, 0));
  return gtk_text_iter_get_offset(&iter);
}

struct LineSpan {
  int first = 0;
  int last = 0;
};

LineSpan linesInSight() {
  GdkRectangle sight;
  gtk_text_view_get_visible_rect(view(), &sight);
  GtkTextIter top, bottom;
  gtk_text_view_get_line_at_y(view(), &top, sight.y, nullptr);
  gtk_text_view_get_line_at_y(view(), &bottom, sight.y + sight.height, nullptr);
  return LineSpan{gtk_text_iter_get_line(&top), gtk_text_iter_get_line(&bottom)};
}

void tagInSight(bool anew) {
  TRACE_LINE();
  const LineSpan sight = linesInSight();
  if (!anew && lineStart(sight.first) >= state.taggedFrom && lineStart(sight.last + 1) <= state.taggedTo)
    return;
  GtkTextTag* tag = tagNamed(occurrenceTagName);
  tagRange(tag, state.taggedFrom, state.taggedTo, false);
  const int beside = std::max(sight.last - sight.first, linesBesideSight);
  state.taggedFrom = lineStart(sight.first - beside);
  state.taggedTo = lineStart(sight.last + beside + 1);
  auto match = std::lower_bound(state.matches.begin(), state.matches.end(), state.taggedFrom,
                                [](const CodeMatch& found, int from) { return found.end <= from; });
  for (; match != state.matches.end() && match->start < state.taggedTo; ++match)
    tagRange(tag, match->start, match->end, true);
}

// Marks the current occurrence and scrolls it into sight, as little as needed.
void showCurrent() {
  tagRange(tagNamed(currentTagName), 0, gtk_text_buffer_get_char_count(buffer()), false);
  if (state.current < 0) return;
  const CodeMatch& match = state.matches[static_cast<std::size_t>(state.current)];
  tagRange(tagNamed(currentTagName), match.start, match.end, true);
  GtkTextIter start;
  gtk_text_buffer_get_iter_at_offset(buffer(), &start, match.start);
  GtkTextMark* mark = gtk_text_buffer_get_mark(buffer(), currentMarkName);
  if (!mark)
    mark = gtk_text_buffer_create_mark(buffer(), currentMarkName, &start, TRUE);
  else
    gtk_text_buffer_move_mark(buffer(), mark, &start);
  gtk_text_view_scroll_to_mark(view(), mark, 0.0, FALSE, 0.0, 0.0);
}

void showCount() {
  const bool empty = gtk_entry_get_text(GTK_ENTRY(field()))[0] == '\0';
  const std::string text = empty ? std::string() : matchCountText(state.current, foundOccurrenceCount());
  gtk_label_set_text(GTK_LABEL(findBar.at(base::FindCountControl)), text.c_str());
}

std::string shownCode() {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer(), &start, &end);
  // The slice keeps a placeholder for every link label, so offsets match the buffer's.
  gchar* text = gtk_text_buffer_get_slice(buffer(), &start, &end, TRUE);
  std::string code = text;
  g_free(text);
  return code;
}

gboolean onCodeChangedIdle(gpointer) {
  state.pendingSearch = 0;
  if (findBarIsOpen()) findInShownCode();
  return G_SOURCE_REMOVE;
}

// Another text in the view: the old offsets mean nothing now. The new text is searched
// once the loading is done, and only while the bar is open.
void onCodeChanged(GtkTextBuffer*, gpointer) {
  state.codeStale = true;
  state.matches.clear();
  state.current = -1;
  state.taggedFrom = state.taggedTo = 0;
  state.typingStarted = false;
  if (findBarIsOpen() && state.pendingSearch == 0)
    state.pendingSearch = g_idle_add(onCodeChangedIdle, nullptr);
}

void onCodeScrolled(GtkAdjustment*, gpointer) {
  if (findBarIsOpen() && !state.matches.empty()) tagInSight(false);
}

GtkWidget* newBarButton(const char* stockImage) {
  GtkWidget* button = gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(button), gtk_image_new_from_stock(stockImage, GTK_ICON_SIZE_MENU));
  gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(button), FALSE);
  return button;
}

void keep(int number, GtkWidget* widget) { findBar.control[number - base::FindBarFirstControl] = widget; }

void setBuiltInTexts() {
  for (const config::InterfaceText& entry : config::interfaceTexts()) {
    if (entry.place == config::TextPlace::FindBar)
      gtk_label_set_text(GTK_LABEL(findBar.at(entry.widget)), entry.german);
  }
  for (const config::InterfaceText& entry : config::interfaceTooltips()) {
    if (entry.place == config::TextPlace::FindBar)
      gtk_widget_set_tooltip_text(findBar.at(entry.widget), entry.german);
  }
}

void forgetFocusBefore() {
  if (state.focusBefore)
    g_object_remove_weak_pointer(G_OBJECT(state.focusBefore),
                                 reinterpret_cast<gpointer*>(&state.focusBefore));
  state.focusBefore = nullptr;
}

}  // namespace

GtkWidget* createFindBar() {
  TRACE_LINE();
  GtkWidget* row = gtk_hbox_new(FALSE, 4);
  findBar.bar = row;
  keep(base::FindLabelControl, gtk_label_new(""));
  keep(base::FindFieldControl, gtk_entry_new());
  keep(base::FindCountControl, gtk_label_new(""));
  gtk_label_set_width_chars(GTK_LABEL(findBar.at(base::FindCountControl)), 13);
  keep(base::FindPreviousControl, newBarButton(GTK_STOCK_GO_UP));
  keep(base::FindNextControl, newBarButton(GTK_STOCK_GO_DOWN));
  keep(base::FindCloseControl, newBarButton(GTK_STOCK_CLOSE));
  for (int number = base::FindBarFirstControl; number < base::FindBarControlEnd; ++number)
    gtk_box_pack_start(GTK_BOX(row), findBar.at(number), number == base::FindFieldControl, TRUE, 0);
  setBuiltInTexts();
  gtk_widget_show_all(row);
  gtk_widget_hide(row);
  gtk_widget_set_no_show_all(row, TRUE);
  createTags();
  g_signal_connect(buffer(), "changed", G_CALLBACK(onCodeChanged), nullptr);
  GtkAdjustment* scroll =
      gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll));
  g_signal_connect(scroll, "value-changed", G_CALLBACK(onCodeScrolled), nullptr);
  g_signal_connect(scroll, "changed", G_CALLBACK(onCodeScrolled), nullptr);
  return row;
}

void forgetFindBar() {
  if (state.pendingSearch) g_source_remove(state.pendingSearch);
  forgetFocusBefore();
  state = FindState();
  findBar = FindBar();
}

bool findBarIsOpen() { return findBar.bar && gtk_widget_get_visible(findBar.bar); }

bool findBarHasFocus() {
  if (!findBar.bar) return false;
  GtkWidget* window = gtk_widget_get_toplevel(findBar.bar);
  if (!GTK_IS_WINDOW(window)) return false;
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  return focus && (focus == findBar.bar || gtk_widget_is_ancestor(focus, findBar.bar));
}

void openFindBar() {
  TRACE_LINE();
  if (!findBar.bar) return;
  if (!findBarHasFocus()) {
    forgetFocusBefore();
    GtkWidget* window = gtk_widget_get_toplevel(findBar.bar);
    if (GTK_IS_WINDOW(window)) state.focusBefore = gtk_window_get_focus(GTK_WINDOW(window));
    if (state.focusBefore)
      g_object_add_weak_pointer(G_OBJECT(state.focusBefore), reinterpret_cast<gpointer*>(&state.focusBefore));
  }
  gtk_widget_show(findBar.bar);
  state.typingStarted = false;
  gtk_widget_grab_focus(field());
  gtk_editable_select_region(GTK_EDITABLE(field()), 0, -1);
  findInShownCode();
}

void closeFindBar() {
  TRACE_LINE();
  if (!findBarIsOpen()) return;
  gtk_widget_hide(findBar.bar);
  removeAllFindTags();
  state.matches.clear();
  state.current = -1;
  if (state.focusBefore && gtk_widget_get_visible(state.focusBefore))
    gtk_widget_grab_focus(state.focusBefore);
  forgetFocusBefore();
}

void findInShownCode() {
  TRACE_LINE();
  if (!findBarIsOpen()) return;
  // The code is folded once per text shown while the bar is open, before the first keystroke.
  if (state.codeStale) {
    state.code = foldCode(shownCode());
    state.codeStale = false;
  }
  state.matches = findInCode(state.code, gtk_entry_get_text(GTK_ENTRY(field())));
  removeAllFindTags();
  returnToTypingStart();
  state.current = firstMatchFrom(state.matches, lineStart(linesInSight().first));
  tagInSight(true);
  showCurrent();
  state.leftAt = viewPlace();
  showCount();
}

void stepFoundOccurrence(int direction) {
  TRACE_LINE();
  if (!findBarIsOpen() || state.matches.empty()) return;
  state.current = steppedMatch(state.current, foundOccurrenceCount(), direction);
  state.typingStarted = false;
  showCurrent();
  showCount();
}

int foundOccurrenceCount() { return static_cast<int>(state.matches.size()); }

}  // namespace search
