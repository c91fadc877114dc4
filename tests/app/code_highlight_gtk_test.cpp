// The highlighter in the code view: tags read back from the buffer, their priorities,
// procedure names, link labels and what activating a link does.
#include "viewer/highlighter_gtk.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <gdk/gdktestutils.h>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "config/app_settings.h"
#include "database/topic_tree_gtk.h"
#include "support/viewer_fixture.h"
#include "viewer/highlight_passes.h"

using testing_support::pumpUntil;

namespace {

struct Range {
  int start;
  int end;
  bool operator==(const Range& other) const { return start == other.start && end == other.end; }
};
using Ranges = std::vector<Range>;

void PrintTo(const Range& range, std::ostream* out) { *out << "[" << range.start << "," << range.end << ")"; }

const char* const tagNames[] = {"BlueBold", "FBold",   "Constant", "Function",
                                "FuncCall", "Literal", "Disable"};

class HighlighterTest : public testing_support::ViewerTest {
 protected:
  GtkTextBuffer* buffer() { return gtk_text_view_get_buffer(base::codeView()); }

  // Puts the text into the code view as a load does, then highlights it.
  void highlight(const std::string& text, int codeMarks = 1) {
    appSettings.CodeMarks = codeMarks;
    gtk_text_buffer_set_text(buffer(), text.c_str(), static_cast<gint>(text.size()));
    viewer::highlightCodeView(base::codeView());
  }

  GtkTextTag* tag(const char* name) {
    return gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer()), name);
  }

  // The character ranges that carry the tag, read back character by character.
  Ranges ranges(const char* name) {
    Ranges result;
    GtkTextTag* wanted = tag(name);
    if (!wanted) return result;
    GtkTextIter iter;
    for (gtk_text_buffer_get_start_iter(buffer(), &iter); !gtk_text_iter_is_end(&iter);
         gtk_text_iter_forward_char(&iter)) {
      if (!gtk_text_iter_has_tag(&iter, wanted)) continue;
      const int offset = gtk_text_iter_get_offset(&iter);
      if (!result.empty() && result.back().end == offset)
        result.back().end = offset + 1;
      else
        result.push_back({offset, offset + 1});
    }
    return result;
  }

  bool anyTag() {
    for (const char* name : tagNames)
      if (!ranges(name).empty()) return true;
    return false;
  }

  // The appearance the view gives the character at the offset.
  GtkTextAttributes* attributesAt(int offset) {
    GtkTextIter iter;
    gtk_text_buffer_get_iter_at_offset(buffer(), &iter, offset);
    GtkTextAttributes* values = gtk_text_view_get_default_attributes(base::codeView());
    gtk_text_iter_get_attributes(&iter, values);
    return values;
  }
  std::string colourAt(int offset) {
    GtkTextAttributes* values = attributesAt(offset);
    const GdkColor colour = values->appearance.fg_color;
    gtk_text_attributes_unref(values);
    char text[8];
    g_snprintf(text, sizeof text, "#%02X%02X%02X", colour.red >> 8, colour.green >> 8, colour.blue >> 8);
    return text;
  }
  int weightAt(int offset) {
    GtkTextAttributes* values = attributesAt(offset);
    const int weight = pango_font_description_get_weight(values->font);
    gtk_text_attributes_unref(values);
    return weight;
  }

  // The link labels at their anchors, with the anchors' offsets.
  std::vector<std::pair<int, GtkWidget*>> linkLabels() {
    std::vector<std::pair<int, GtkWidget*>> labels;
    GtkTextIter iter;
    for (gtk_text_buffer_get_start_iter(buffer(), &iter); !gtk_text_iter_is_end(&iter);
         gtk_text_iter_forward_char(&iter)) {
      GtkTextChildAnchor* anchor = gtk_text_iter_get_child_anchor(&iter);
      if (!anchor) continue;
      GList* widgets = gtk_text_child_anchor_get_widgets(anchor);
      for (GList* item = widgets; item; item = item->next)
        labels.emplace_back(gtk_text_iter_get_offset(&iter), GTK_WIDGET(item->data));
      g_list_free(widgets);
    }
    return labels;
  }

  std::string bufferSlice() {
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer(), &start, &end);
    gchar* text = gtk_text_buffer_get_slice(buffer(), &start, &end, TRUE);
    std::string result = text;
    g_free(text);
    return result;
  }

  // The label takes pointer events in an input window of its own.
  static GdkWindow* inputWindowOf(GtkWidget* label) {
    GdkWindow* input = nullptr;
    GList* children = gdk_window_get_children(gtk_widget_get_window(label));
    for (GList* item = children; item; item = item->next) {
      gpointer owner = nullptr;
      gdk_window_get_user_data(GDK_WINDOW(item->data), &owner);
      if (owner == label) input = GDK_WINDOW(item->data);
    }
    g_list_free(children);
    return input;
  }

  // Moves the pointer onto the label's link and clicks it there.
  static void clickLink(GtkWidget* label) {
    GdkWindow* input = inputWindowOf(label);
    ASSERT_NE(nullptr, input);
    const gint centreX = gdk_window_get_width(input) / 2;
    const gint centreY = gdk_window_get_height(input) / 2;
    gint originX = 0, originY = 0;
    gdk_window_get_origin(input, &originX, &originY);
    GdkDisplay* display = gdk_display_get_default();
    gdk_display_warp_pointer(display, gdk_screen_get_default(), originX + centreX, originY + centreY);
    gdk_display_sync(display);
    // The label learns which link is under the pointer from a motion event, and the X
    // server here sends none for a warped pointer: hand in the one it would have sent.
    GdkEvent* motion = gdk_event_new(GDK_MOTION_NOTIFY);
    motion->motion.window = GDK_WINDOW(g_object_ref(input));
    motion->motion.x = centreX;
    motion->motion.y = centreY;
    motion->motion.x_root = originX + centreX;
    motion->motion.y_root = originY + centreY;
    motion->motion.device = gdk_display_get_core_pointer(display);
    gtk_main_do_event(motion);
    gdk_event_free(motion);
    ASSERT_TRUE(gdk_test_simulate_button(input, -1, -1, 1, GdkModifierType(0), GDK_BUTTON_PRESS));
    ASSERT_TRUE(gdk_test_simulate_button(input, -1, -1, 1, GdkModifierType(0), GDK_BUTTON_RELEASE));
  }

  // Showing the window queues sizing events of its own; only the tree's count here.
  static bool treeEventPending() {
    for (const base::Event& event : base::pendingEvents())
      if (event.window == base::MainWindowNo && event.widget == base::TopicTreeControl) return true;
    return false;
  }

  gboolean activate(GtkWidget* label, const char* uri) {
    gboolean handled = FALSE;
    g_signal_emit_by_name(label, "activate-link", uri, &handled);
    return handled;
  }
};

TEST_F(HighlighterTest, TagsCommentsLiteralsConstantsKeywordsAndProcedures) {
  highlight(
      "Procedure Foo(a) ; \"c\"\n"
      "  If a = #X : s$ = \"If;x\"\n"
      "EndIf\n"
      "Foo(1)");
  EXPECT_EQ((Ranges{{17, 22}}), ranges("Disable"));
  EXPECT_EQ((Ranges{{43, 47}}), ranges("Literal")) << "quotes in the comment open nothing";
  EXPECT_EQ((Ranges{{32, 34}}), ranges("Constant"));
  EXPECT_EQ((Ranges{{0, 9}, {25, 27}, {49, 54}}), ranges("FBold"));
  EXPECT_TRUE(ranges("BlueBold").empty());
  EXPECT_EQ((Ranges{{10, 13}}), ranges("Function"));
  EXPECT_EQ((Ranges{{55, 58}}), ranges("FuncCall"));
  EXPECT_EQ((std::vector<std::string>{"Foo"}), viewer::procedureNames);
}

TEST_F(HighlighterTest, TagsAreCreatedOnceInOrderWithTheirLooks) {
  highlight("If");
  GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer());
  const int tableSize = gtk_text_tag_table_get_size(table);
  for (int i = 1; i < 7; ++i) {
    ASSERT_NE(nullptr, tag(tagNames[i]));
    EXPECT_EQ(gtk_text_tag_get_priority(tag(tagNames[i - 1])) + 1,
              gtk_text_tag_get_priority(tag(tagNames[i])))
        << tagNames[i];
  }
  highlight("EndIf");
  EXPECT_EQ(tableSize, gtk_text_tag_table_get_size(table)) << "a second run reuses the tags";
  EXPECT_EQ((Ranges{{0, 5}}), ranges("FBold")) << "and shows only the current text's marks";

  // What each tag looks like, and which wins where they overlap.
  highlight("If #A \"x #B If\" ; \"c\" If\nProcedure P()\nP()", 1);
  EXPECT_EQ(700, weightAt(0));
  EXPECT_EQ("#000000", colourAt(0)) << "mode 1 keeps the text colour";
  EXPECT_EQ("#007F00", colourAt(3));
  EXPECT_EQ(400, weightAt(3));
  EXPECT_EQ("#FF0000", colourAt(9)) << "a constant in a literal shows the literal's colour";
  EXPECT_EQ("#808080", colourAt(19)) << "a literal in a comment shows grey";
  EXPECT_EQ("#0074A2", colourAt(35));
  EXPECT_EQ(700, weightAt(35));
  EXPECT_EQ("#0074A2", colourAt(39));
  EXPECT_EQ(400, weightAt(39));

  highlight("If x", 2);
  EXPECT_EQ((Ranges{{0, 2}}), ranges("BlueBold"));
  EXPECT_TRUE(ranges("FBold").empty());
  EXPECT_EQ("#0000DC", colourAt(0));
  EXPECT_EQ(700, weightAt(0));
}

TEST_F(HighlighterTest, LongTextGetsEveryRangeOfThePassesAlsoBeyondTheScreen) {
  // Lines out of sight are tagged before the lines in sight; a literal and a comment
  // run across the line where the two parts meet.
  std::string text;
  for (int line = 0; line < 400; ++line) {
    if (line % 37 == 0) text += "x = \"a literal over\nlines ; \" ; and a comment\n";
    text += "Procedure P" + std::to_string(line % 9) + "() : If #A And P" + std::to_string(line % 7) +
            "() : EndIf ; Grüße \"\n";
  }
  highlight(text, 2);
  const viewer::HighlightPlan plan = viewer::planHighlighting(text, 2);
  for (int t = 0; t < viewer::HighlightTagCount; ++t) {
    Ranges expected;
    for (const viewer::TagSpan& span : plan.spans[t]) expected.push_back({span.start, span.end});
    EXPECT_EQ(expected, ranges(tagNames[t])) << tagNames[t];
  }
  EXPECT_EQ(plan.procedureNames, viewer::procedureNames);
}

TEST_F(HighlighterTest, LinesBelowTheViewGetTheirTagsOnceShownOrScrolledToAndNeverOnAnotherText) {
  // Links shift the text below them, also one far below the view's first screen.
  std::string text = "; Link to topic:   Hilfe\n; Link to topic:   Knopf\n";
  for (int line = 0; line < 150; ++line)
    text += (line == 100 ? "; Link to topic:   Fenster\n" : "") + std::string("Procedure P") +
            std::to_string(line % 9) + "() : If #A And P" + std::to_string(line % 7) +
            "() : EndIf ; Grüße \"x\"\n";
  auto allRanges = [this] {
    std::vector<Ranges> all;
    for (const char* name : tagNames) all.push_back(ranges(name));
    return all;
  };
  // Tagged at once, as an unmapped view is: what every way below must give.
  GtkWidget* window = gtk_widget_get_toplevel(GTK_WIDGET(base::codeView()));
  gtk_widget_hide(window);
  highlight(text, 2);
  ASSERT_FALSE(viewer::highlightingPending());
  const std::vector<Ranges> expected = allRanges();
  gtk_widget_show(window);
  ASSERT_TRUE(pumpUntil([] { return gtk_widget_get_mapped(GTK_WIDGET(base::codeView())); }));

  const struct {
    const char* way;
    std::function<void()> then;
    bool tagged;
  } ways[] = {
      {"the loop paints and runs on", [] { pumpUntil([] { return !viewer::highlightingPending(); }); }, true},
      {"the view scrolls before it paints",
       [] {
         GtkAdjustment* scroll = gtk_text_view_get_vadjustment(base::codeView());
         gtk_adjustment_set_value(scroll, gtk_adjustment_get_upper(scroll));
       },
       true},
      {"another text comes in", [&] { gtk_text_buffer_set_text(buffer(), text.c_str(), -1); }, false},
  };
  for (const auto& way : ways) {
    highlight(text, 2);
    ASSERT_TRUE(viewer::highlightingPending()) << way.way << ": the lines below the view wait";
    way.then();
    EXPECT_FALSE(viewer::highlightingPending()) << way.way;
    if (way.tagged)
      EXPECT_EQ(expected, allRanges()) << way.way;
    else
      EXPECT_FALSE(anyTag()) << way.way << ": no tag of the old text on the new one";
  }
}

TEST_F(HighlighterTest, LinkCommentsBecomeLabelsWithTheTitleTakenOutOfTheBuffer) {
  highlight("; Link to topic:   Fenster\n; Link to topic:   <b>&\"x'\nEnd\n; Link to topic: no link");
  const auto labels = linkLabels();
  ASSERT_EQ(2u, labels.size());
  EXPECT_EQ(19, labels[0].first);
  EXPECT_EQ(40, labels[1].first);
  EXPECT_STREQ("Fenster", gtk_label_get_text(GTK_LABEL(labels[0].second)));
  EXPECT_STREQ("<b>&\"x'", gtk_label_get_text(GTK_LABEL(labels[1].second))) << "shown literally";
  EXPECT_STREQ("<a href=\"&lt;b&gt;&amp;&quot;x&apos;\">&lt;b&gt;&amp;&quot;x&apos;</a>",
               gtk_label_get_label(GTK_LABEL(labels[1].second)));
  for (const auto& label : labels) {
    EXPECT_TRUE(gtk_widget_get_visible(label.second));
    EXPECT_EQ(GTK_WIDGET(base::codeView()), gtk_widget_get_parent(label.second));
  }
  EXPECT_EQ("; Link to topic:   \xEF\xBF\xBC\n; Link to topic:   \xEF\xBF\xBC\nEnd\n; Link to topic: no link",
            bufferSlice());
  EXPECT_EQ((Ranges{{0, 19}, {21, 40}, {46, 70}}), ranges("Disable")) << "the marker stays a grey comment";
  EXPECT_EQ((Ranges{{42, 45}}), ranges("FBold"));
}

TEST_F(HighlighterTest, LinkWithoutTitleAtTheVeryEnd) {
  highlight("x\n; Link to topic:   ");
  const auto labels = linkLabels();
  ASSERT_EQ(1u, labels.size());
  EXPECT_EQ(21, labels[0].first);
  EXPECT_STREQ("", gtk_label_get_text(GTK_LABEL(labels[0].second)));
  EXPECT_TRUE(activate(labels[0].second, ""));
  EXPECT_FALSE(treeEventPending());
}

TEST_F(HighlighterTest, ActivatingALinkSelectsTheTopicWithThatTitle) {
  selectRow(4);
  highlight("; Link to topic:   Knopf\n; Link to topic:   Hilfe\n; Link to topic:   Nirgends");
  const auto labels = linkLabels();
  ASSERT_EQ(3u, labels.size());

  EXPECT_TRUE(activate(labels[2].second, "Nirgends")) << "handled, so no URI opener runs";
  EXPECT_FALSE(treeEventPending()) << "an unknown title does nothing";
  EXPECT_EQ(4, database::selectedTopicRow(base::topicTreeView()));

  // "✰Knopf" is the tree's title; the link names it without the marker.
  EXPECT_TRUE(activate(labels[0].second, "Knopf"));
  EXPECT_EQ(5, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_TRUE(treeEventPending()) << "the selection change goes through the event queue";
  dispatchPending();
  EXPECT_EQ("Button code\nsecond", codeText()) << "shown as if the user had selected it";
  EXPECT_EQ("/Gtk/Button.zn", base::appState.currentCodeFile);
}

TEST_F(HighlighterTest, ClickingALinkLabelSelectsTheTopic) {
  appSettings.CodeMarks = 1;
  dir.write("Gtk/Window.zn", "; Link to topic:   Hilfe\nIf x\n");
  selectRow(4);
  const auto labels = linkLabels();
  ASSERT_EQ(1u, labels.size());
  GtkWidget* label = labels[0].second;
  ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_mapped(label); }));

  clickLink(label);
  ASSERT_TRUE(pumpUntil([] { return database::selectedTopicRow(base::topicTreeView()) == 2; }));
  dispatchPending();
  EXPECT_EQ("Help text", codeText());
}

TEST_F(HighlighterTest, TextReplacedWhileTheViewRepaintsStopsTheRun) {
  // A long text is repainted between the passes, which runs the loop; the text changes there.
  g_idle_add(
      [](gpointer view) -> gboolean {
        GtkTextBuffer* text = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
        gtk_text_buffer_set_text(text, "New", -1);
        return FALSE;
      },
      base::codeView());
  std::string text = "; note\n; Link to topic:   Hilfe\n";
  while (text.size() < 30000) text += "If x ; and a comment\n";
  highlight(text);
  EXPECT_EQ("New", bufferSlice());
  EXPECT_TRUE(linkLabels().empty()) << "no link placed by the old offsets";
  EXPECT_FALSE(anyTag()) << "no tag of the old text on the new one";
}

TEST_F(HighlighterTest, ASnippetOfUsualSizeIsTaggedWithoutRunningTheLoop) {
  // Painting a short text pass by pass would only hold back the title and the rest.
  bool loopRan = false;
  g_idle_add(
      [](gpointer ran) -> gboolean {
        *static_cast<bool*>(ran) = true;
        return FALSE;
      },
      &loopRan);
  std::string text = "; Link to topic:   Hilfe\n";
  while (text.size() < 8000) text += "If x ; and a comment\n";
  highlight(text);
  EXPECT_FALSE(loopRan);
  EXPECT_EQ(1u, linkLabels().size());
  const Ranges keywords = ranges("FBold");
  ASSERT_FALSE(keywords.empty());
  EXPECT_EQ((Range{21, 23}), keywords.front()) << "tagged all the same";
  pumpUntil([&] { return loopRan; });
}

TEST_F(HighlighterTest, LoadsHighlightOnlySnippetsAndOnlyWithCodeMarks) {
  const std::string code = "; note\nIf x\n; Link to topic:   Hilfe";
  dir.write("Gtk/Window.zn", code + "\n");
  dir.write("ViewerHelp.txt", code + "\n");

  appSettings.CodeMarks = 0;
  selectRow(4);
  EXPECT_EQ(code, codeText());
  EXPECT_FALSE(anyTag());
  EXPECT_TRUE(linkLabels().empty());

  appSettings.CodeMarks = 1;
  selectRow(2);
  EXPECT_EQ(code, codeText()) << "the help topic is a .txt file";
  EXPECT_FALSE(anyTag());
  EXPECT_TRUE(linkLabels().empty());

  selectRow(4);
  EXPECT_EQ((Ranges{{0, 6}, {12, 31}}), ranges("Disable"));
  EXPECT_EQ((Ranges{{7, 9}}), ranges("FBold"));
  EXPECT_EQ(1u, linkLabels().size());
}

}  // namespace
