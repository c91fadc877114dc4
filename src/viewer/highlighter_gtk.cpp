// Marks keywords, constants, procedures, strings, comments and topic links in the code view.
// The passes are computed on the plain text first; this layer applies their tags by
// offset and makes the link labels.
#include "viewer/highlighter_gtk.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "viewer/highlight_passes.h"
#include "viewer/topic_links.h"

namespace viewer {
namespace {

// Even a small view gets this many lines tagged pass by pass.
constexpr int minimumLinesInSight = 60;
// Texts up to this many characters (some 500 lines of code) are tagged in one go.
constexpr int passByPassCharacters = 20000;

// One run over one buffer. The refresh steps let the toolkit run; should the text
// change meanwhile, the planned offsets no longer fit and the run stops.
struct HighlightRun {
  GtkTextView* view = nullptr;
  GtkTextBuffer* buffer = nullptr;
  unsigned changes = 0;
};

void onBufferChanged(GtkTextBuffer*, gpointer data) { ++static_cast<HighlightRun*>(data)->changes; }

// Created once per buffer, in table order, so that a later tag has the higher priority.
void ensureTags(GtkTextBuffer* buffer) {
  TRACE_LINE();
  GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer);
  if (gtk_text_tag_table_lookup(table, highlightTagStyles[DisableTag].name)) return;
  for (const HighlightTagStyle& style : highlightTagStyles) {
    GtkTextTag* tag = gtk_text_buffer_create_tag(buffer, style.name, nullptr);
    if (style.weight != 0) g_object_set(tag, "weight", style.weight, nullptr);
    if (style.foreground) g_object_set(tag, "foreground", style.foreground, nullptr);
  }
}

std::string bufferText(GtkTextBuffer* buffer) {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  // The slice keeps a placeholder for every embedded widget, so offsets match the buffer's.
  gchar* text = gtk_text_buffer_get_slice(buffer, &start, &end, TRUE);
  std::string result = text;
  g_free(text);
  return result;
}

// Applies the parts of the ranges that lie between the offsets `from` and `to`, moved
// back by `shift` characters when links made since the plan shortened the text before them.
void applySpans(GtkTextBuffer* buffer, int tagNumber, const std::vector<TagSpan>& spans, int from, int to,
                int shift = 0) {
  TRACE_LINE();
  GtkTextTag* tag =
      gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), highlightTagStyles[tagNumber].name);
  for (const TagSpan& span : spans) {
    const int start = std::max(span.start, from);
    const int end = std::min(span.end, to);
    if (start >= end) continue;
    GtkTextIter startIter, endIter;
    gtk_text_buffer_get_iter_at_offset(buffer, &startIter, start - shift);
    endIter = startIter;
    gtk_text_iter_forward_chars(&endIter, end - start);
    gtk_text_buffer_apply_tag(buffer, tag, &startIter, &endIter);
  }
}

// The height of the widget's font in pixels. Measuring a font is dear, so the last
// font measured is kept with its height.
int fontHeight(GtkWidget* widget) {
  static PangoFontDescription* measuredFont = nullptr;
  static int measuredHeight = 0;
  const PangoFontDescription* font = gtk_widget_get_style(widget)->font_desc;
  if (measuredFont && pango_font_description_equal(measuredFont, font)) return measuredHeight;
  PangoFontMetrics* metrics = pango_context_get_metrics(gtk_widget_get_pango_context(widget), font, nullptr);
  measuredHeight =
      (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
  pango_font_metrics_unref(metrics);
  if (measuredFont) pango_font_description_free(measuredFont);
  measuredFont = pango_font_description_copy(font);
  return measuredHeight;
}

// Rows of text the view has room for, by the height of its font.
int visibleLineCount(GtkTextView* view) {
  GtkWidget* widget = GTK_WIDGET(view);
  const int lineHeight = std::max(1, fontHeight(widget) + gtk_text_view_get_pixels_above_lines(view) +
                                         gtk_text_view_get_pixels_below_lines(view));
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  return std::max(0, allocation.height) / lineHeight + 1;
}

// Where the text in sight ends, with a screenful to spare: a load shows the start of
// the new text.
int endOfSight(GtkTextView* view, GtkTextBuffer* buffer) {
  const int lines = std::max(minimumLinesInSight, 2 * visibleLineCount(view));
  if (lines >= gtk_text_buffer_get_line_count(buffer)) return std::numeric_limits<int>::max();
  GtkTextIter iter;
  gtk_text_buffer_get_iter_at_line(buffer, &iter, lines);
  return gtk_text_iter_get_offset(&iter);
}

// Repaints the view and lets the toolkit handle everything pending; false when the
// text changed meanwhile.
bool refreshCodeView(HighlightRun& run) {
  TRACE_LINE();
  const unsigned changesBefore = run.changes;
  gtk_widget_queue_draw(GTK_WIDGET(run.view));
  while (gtk_events_pending()) gtk_main_iteration();
  return run.changes == changesBefore;
}

// Selects the named topic as a user would; an unknown title does nothing. Handled in
// every case, so the title never reaches the desktop's URI opener.
gboolean onTopicLinkActivate(GtkLabel*, gchar* uri, gpointer) {
  TRACE_LINE();
  const int row = linkedTopicRow(database::indexEntries, config::displayLanguage(), uri ? uri : "");
  if (row < 0) return TRUE;
  database::selectTopicRow(base::topicTreeView(), row);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
  return TRUE;
}

// The toolkit learns which link lies under the pointer only from motion over the
// label, so a tap (the pointer lands and presses at once) would do nothing. Each
// label holds one link, so a press and a release on it are taken as its click.
const char* const linkTitleKey = "zn-link-title";
const char* const linkPressedKey = "zn-link-pressed";

gboolean onLinkPress(GtkWidget* label, GdkEventButton* event, gpointer) {
  if (event->button != 1 || event->type != GDK_BUTTON_PRESS) return FALSE;
  g_object_set_data(G_OBJECT(label), linkPressedKey, GINT_TO_POINTER(1));
  return TRUE;
}

gboolean onLinkRelease(GtkWidget* label, GdkEventButton* event, gpointer) {
  if (event->button != 1) return FALSE;
  const bool pressed = g_object_get_data(G_OBJECT(label), linkPressedKey) != nullptr;
  g_object_set_data(G_OBJECT(label), linkPressedKey, nullptr);
  GtkAllocation box;
  gtk_widget_get_allocation(label, &box);
  const bool inside = event->x >= 0 && event->y >= 0 && event->x < box.width && event->y < box.height;
  if (pressed && inside) {
    gboolean handled = FALSE;
    g_signal_emit_by_name(label, "activate-link", g_object_get_data(G_OBJECT(label), linkTitleKey), &handled);
  }
  return TRUE;
}

// A link label reads as part of the code: it wears the view's own style, font and zoom
// included. Shared, the style costs the label nothing; a font of the label's own would
// make it a style of its own, the dearest part of a link. The link itself comes once
// the label is in the view (setLinkMarkup).
GtkWidget* makeLinkLabel(GtkTextView* view, const std::string& title) {
  TRACE_LINE();
  GtkWidget* label = gtk_label_new("");
  gtk_widget_set_style(label, gtk_widget_get_style(GTK_WIDGET(view)));
  g_object_set_data_full(G_OBJECT(label), linkTitleKey, g_strdup(title.c_str()), g_free);
  g_signal_connect(label, "activate-link", G_CALLBACK(onTopicLinkActivate), nullptr);
  g_signal_connect(label, "button-press-event", G_CALLBACK(onLinkPress), nullptr);
  g_signal_connect(label, "button-release-event", G_CALLBACK(onLinkRelease), nullptr);
  return label;
}

// A label that joins a window parses its markup again, so the markup comes after the
// label is embedded: parsed once instead of twice.
void setLinkMarkup(GtkWidget* label, const std::string& title) {
  gchar* markup = g_markup_printf_escaped("<a href=\"%s\">%s</a>", title.c_str(), title.c_str());
  gtk_label_set_markup(GTK_LABEL(label), markup);
  g_free(markup);
}

// The title leaves the buffer and an anchor with the link label takes its place.
void makeLink(const HighlightRun& run, const TopicLink& link) {
  TRACE_LINE();
  GtkTextIter start, end;
  gtk_text_buffer_get_iter_at_offset(run.buffer, &start, link.anchorOffset);
  end = start;
  gtk_text_iter_forward_chars(&end, link.titleLength);
  gtk_text_buffer_delete(run.buffer, &start, &end);
  GtkTextChildAnchor* anchor = gtk_text_buffer_create_child_anchor(run.buffer, &start);
  GtkWidget* label = makeLinkLabel(run.view, link.title);
  gtk_text_view_add_child_at_anchor(run.view, label, anchor);
  setLinkMarkup(label, link.title);
  gtk_widget_show_all(label);
}

// The lines below the view get their tags once the new topic is painted: nobody sees
// them before, and the topic appears sooner. Should the view scroll first, they get them
// before it paints; a change of the text drops them.
struct PendingTags {
  GtkTextBuffer* buffer = nullptr;
  GtkAdjustment* scroll = nullptr;
  std::array<std::vector<TagSpan>, HighlightTagCount> spans;
  int from = 0;   // where the pending part begins, as the plan counts
  int shift = 0;  // characters the links took out before it
  guint source = 0;
  gulong changedHandler = 0;
  gulong scrolledHandler = 0;
};
PendingTags pendingTags;

void dropPendingTags() {
  PendingTags& pending = pendingTags;
  if (!pending.buffer) return;
  if (pending.source) g_source_remove(pending.source);
  g_signal_handler_disconnect(pending.buffer, pending.changedHandler);
  if (pending.scroll) {
    g_signal_handler_disconnect(pending.scroll, pending.scrolledHandler);
    g_object_unref(pending.scroll);
  }
  g_object_unref(pending.buffer);
  pending = PendingTags();
}

void applyPendingTags() {
  TRACE_LINE();
  const PendingTags& pending = pendingTags;
  if (!pending.buffer) return;
  const int end = std::numeric_limits<int>::max();
  for (int tag = 0; tag < HighlightTagCount; ++tag)
    applySpans(pending.buffer, tag, pending.spans[tag], pending.from, end, pending.shift);
  dropPendingTags();
}

gboolean onPendingTagsDue(gpointer) {
  pendingTags.source = 0;
  applyPendingTags();
  return G_SOURCE_REMOVE;
}

void onTextChangedWhileTagsPending(GtkTextBuffer*, gpointer) { dropPendingTags(); }

void onScrolledWhileTagsPending(GtkAdjustment*, gpointer) { applyPendingTags(); }

// Lines beyond those in sight that are tagged at once, for a part line and the spacing.
constexpr int spareLinesInSight = 3;

// Where the tags may wait, as the plan counts: after the lines in sight and after every
// link (their labels shift what follows); the end when nothing is left to wait.
int startOfPendingTags(const HighlightRun& run, const HighlightPlan& plan) {
  const int none = std::numeric_limits<int>::max();
  // A window not shown paints nothing that the tags could wait for.
  GtkWidget* view = GTK_WIDGET(run.view);
  if (!gtk_widget_get_mapped(view) || !gtk_widget_get_mapped(gtk_widget_get_toplevel(view))) return none;
  int lines = visibleLineCount(run.view) + spareLinesInSight;
  if (!plan.links.empty()) lines = std::max(lines, plan.links.back().line + 1);
  if (lines >= gtk_text_buffer_get_line_count(run.buffer)) return none;
  GtkTextIter iter;
  gtk_text_buffer_get_iter_at_line(run.buffer, &iter, lines);
  return gtk_text_iter_get_offset(&iter);
}

void keepTagsPending(const HighlightRun& run, const HighlightPlan& plan, int from) {
  PendingTags& pending = pendingTags;
  pending.buffer = GTK_TEXT_BUFFER(g_object_ref(run.buffer));
  pending.from = from;
  for (const TopicLink& link : plan.links) pending.shift += link.titleLength - 1;
  for (int tag = 0; tag < HighlightTagCount; ++tag) {
    const std::vector<TagSpan>& spans = plan.spans[tag];
    auto first = std::lower_bound(spans.begin(), spans.end(), from,
                                  [](const TagSpan& span, int offset) { return span.end <= offset; });
    pending.spans[tag].assign(first, spans.end());
  }
  pending.changedHandler =
      g_signal_connect(run.buffer, "changed", G_CALLBACK(onTextChangedWhileTagsPending), nullptr);
  if (GtkAdjustment* scroll = gtk_text_view_get_vadjustment(run.view)) {
    pending.scroll = GTK_ADJUSTMENT(g_object_ref(scroll));
    pending.scrolledHandler =
        g_signal_connect(scroll, "value-changed", G_CALLBACK(onScrolledWhileTagsPending), nullptr);
  }
  // Just after the paint, before the view lays out the lines below it.
  pending.source = g_idle_add_full(GDK_PRIORITY_REDRAW + 1, onPendingTagsDue, nullptr, nullptr);
}

// Applies the tags in sight and makes the links in one go, without painting in between.
void highlightAtOnce(HighlightRun& run, const HighlightPlan& plan) {
  TRACE_LINE();
  const int pendingFrom = startOfPendingTags(run, plan);
  for (int tag = 0; tag < HighlightTagCount; ++tag)
    applySpans(run.buffer, tag, plan.spans[tag], 0, pendingFrom);
  procedureNames = plan.procedureNames;
  for (const TopicLink& link : plan.links) makeLink(run, link);
  if (pendingFrom != std::numeric_limits<int>::max()) keepTagsPending(run, plan, pendingFrom);
}

// A long text takes the passes in sight one after the other, each repainted, so that
// the user sees it progress and the window stays responsive.
void highlightPassByPass(HighlightRun& run, const HighlightPlan& plan) {
  TRACE_LINE();
  // Out of sight the passes cannot be watched, so those lines get all their tags at
  // once; the refreshes then lay out again only the lines in sight instead of every
  // line of the text once per pass. The end result is the same.
  const int sight = endOfSight(run.view, run.buffer);
  const int end = std::numeric_limits<int>::max();
  for (int tag = 0; tag < HighlightTagCount; ++tag) applySpans(run.buffer, tag, plan.spans[tag], sight, end);

  applySpans(run.buffer, DisableTag, plan.spans[DisableTag], 0, sight);
  applySpans(run.buffer, LiteralTag, plan.spans[LiteralTag], 0, sight);
  if (!refreshCodeView(run)) return;
  applySpans(run.buffer, ConstantTag, plan.spans[ConstantTag], 0, sight);
  if (!refreshCodeView(run)) return;
  procedureNames = plan.procedureNames;
  applySpans(run.buffer, BlueBoldTag, plan.spans[BlueBoldTag], 0, sight);
  applySpans(run.buffer, FBoldTag, plan.spans[FBoldTag], 0, sight);
  applySpans(run.buffer, FunctionTag, plan.spans[FunctionTag], 0, sight);
  if (!refreshCodeView(run)) return;
  applySpans(run.buffer, FuncCallTag, plan.spans[FuncCallTag], 0, sight);
  for (const TopicLink& link : plan.links) makeLink(run, link);
  refreshCodeView(run);
}

}  // namespace

void highlightCodeView(GtkTextView* view, const std::string& text) {
  TRACE_LINE();
  dropPendingTags();
  HighlightRun run;
  run.view = view;
  run.buffer = GTK_TEXT_BUFFER(g_object_ref(gtk_text_view_get_buffer(view)));
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(run.buffer, &start, &end);
  gtk_text_buffer_remove_all_tags(run.buffer, &start, &end);
  ensureTags(run.buffer);
  const HighlightPlan plan = planHighlighting(text, appSettings.CodeMarks);
  // A snippet of the usual size is tagged within a frame: painting it pass by pass
  // would only delay the topic, so it is painted once, when the loop next runs.
  if (gtk_text_buffer_get_char_count(run.buffer) <= passByPassCharacters) {
    highlightAtOnce(run, plan);
    g_object_unref(run.buffer);
    return;
  }
  const gulong handler = g_signal_connect(run.buffer, "changed", G_CALLBACK(onBufferChanged), &run);
  highlightPassByPass(run, plan);
  g_signal_handler_disconnect(run.buffer, handler);
  g_object_unref(run.buffer);
}

bool highlightingPending() { return pendingTags.buffer != nullptr; }

void highlightCodeView(GtkTextView* view) {
  highlightCodeView(view, bufferText(gtk_text_view_get_buffer(view)));
}

}  // namespace viewer
