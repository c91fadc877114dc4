// The search field of the main window: typing, F3, Return, the take-back of a
// character and the three hints of a miss.
#include "search/search_gtk.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "database/topic_tree_gtk.h"
#include "support/viewer_fixture.h"

// Last: Xlib defines macros such as None that clash with names above.
#include <gdk/gdkx.h>

using testing_support::pumpPending;
using testing_support::pumpUntil;

// Found by the comparisons of std::vector<GdkColor>, so it lives beside GdkColor.
static bool operator==(const GdkColor& a, const GdkColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

namespace {

// Watches what a hint shows: the background colours the search field takes on and
// the horizontal positions the X server gives the main window.
class HintWatch {
 public:
  HintWatch() {
    field_ = base::mainWindow.control[base::SearchFieldControl];
    window_ = gtk_widget_get_window(base::mainWindow.window);
    styleHandler_ = g_signal_connect(field_, "style-set", G_CALLBACK(onStyleSet), this);
    // A late report of where the window already stands is no move.
    gint y = 0;
    gtk_window_get_position(GTK_WINDOW(base::mainWindow.window), &lastX_, &y);
    gdk_window_add_filter(window_, onXEvent, this);
  }
  ~HintWatch() {
    g_signal_handler_disconnect(field_, styleHandler_);
    gdk_window_remove_filter(window_, onXEvent, this);
  }
  HintWatch(const HintWatch&) = delete;
  HintWatch& operator=(const HintWatch&) = delete;

  // Waits until the server has reported every move made so far.
  std::vector<int> positions() {
    gdk_flush();
    pumpPending();
    return positions_;
  }

  std::vector<GdkColor> colours;  // each change of the field's background, repeats left out

 private:
  static void onStyleSet(GtkWidget* widget, GtkStyle*, gpointer data) {
    auto* self = static_cast<HintWatch*>(data);
    const GdkColor base = gtk_widget_get_style(widget)->base[GTK_STATE_NORMAL];
    if (self->colours.empty() || !(self->colours.back() == base)) self->colours.push_back(base);
  }
  static GdkFilterReturn onXEvent(GdkXEvent* xevent, GdkEvent*, gpointer data) {
    const XEvent* event = static_cast<const XEvent*>(xevent);
    auto* self = static_cast<HintWatch*>(data);
    if (event->type == ConfigureNotify && event->xconfigure.x != self->lastX_) {
      self->lastX_ = event->xconfigure.x;
      self->positions_.push_back(event->xconfigure.x);
    }
    return GDK_FILTER_CONTINUE;
  }

  GtkWidget* field_;
  GdkWindow* window_;
  gulong styleHandler_;
  gint lastX_ = 0;
  std::vector<int> positions_;
};

class SearchTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    fakeProgram("beep");
    appSettings.SearchHint = 2;  // the shortest hint, where the hint is not the point
    gtk_widget_grab_focus(field());
    pumpPending();
  }

  GtkWidget* field() { return base::mainWindow.control[base::SearchFieldControl]; }
  std::string fieldText() { return gtk_entry_get_text(GTK_ENTRY(field())); }
  int selected() { return database::selectedTopicRow(base::topicTreeView()); }

  // Presses and releases a key in the main window, as the keyboard would, at once.
  void pressKey(guint keyval) {
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    ASSERT_TRUE(gdk_keymap_get_entries_for_keyval(gdk_keymap_get_default(), keyval, &keys, &count));
    const guint16 keycode = static_cast<guint16>(keys[0].keycode);
    g_free(keys);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
      GdkEvent* event = gdk_event_new(type);
      event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(base::mainWindow.window)));
      event->key.send_event = TRUE;
      event->key.time = GDK_CURRENT_TIME;
      event->key.keyval = keyval;
      event->key.hardware_keycode = keycode;
      gtk_widget_event(base::mainWindow.window, event);
      gdk_event_free(event);
    }
  }

  // Types the text into the focused widget and lets the program handle each key.
  void type(const std::string& text) {
    for (char c : text) {
      pressKey(gdk_unicode_to_keyval(static_cast<guint32>(c)));
      dispatchPending();
    }
  }

  // Puts a text into the field without raising an event, the cursor at its end.
  void setFieldText(const std::string& text) {
    base::ProgramChange guard;
    gtk_entry_set_text(GTK_ENTRY(field()), text.c_str());
    gtk_editable_set_position(GTK_EDITABLE(field()), -1);
  }

  // As a paste does it: the change event, the cursor at the end.
  void paste(const std::string& text) {
    gtk_entry_set_text(GTK_ENTRY(field()), text.c_str());
    gtk_editable_set_position(GTK_EDITABLE(field()), -1);
  }

  void findNext() {
    pressKey(GDK_F3);
    dispatchPending();
  }

  int windowX() {
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(base::mainWindow.window), &x, &y);
    return x;
  }

  GdkColor fieldBase() { return gtk_widget_get_style(field())->base[GTK_STATE_NORMAL]; }

  static GdkColor flashColour() {
    GdkColor colour = {0, 224 * 257, 145 * 257, 131 * 257};
    return colour;
  }

  // The moves of one shake around x.
  static std::vector<int> shakeAround(int x) { return {x + 5, x - 5, x + 5, x - 5, x}; }
};

TEST_F(SearchTest, TypingSelectsTheFirstMatchingRowAndShowsItsCode) {
  type("fen");
  EXPECT_EQ(4, selected());
  EXPECT_EQ("Window code\n; Grüße", codeText());
  EXPECT_EQ("Ein Fenster", descriptionText());
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Window.zn", windowTitle());
  EXPECT_TRUE(base::appState.historyRows.empty()) << "a search adds nothing to the history";

  // Every keystroke searches from the top, whatever is selected.
  selectRow(7);
  setFieldText("");
  type("ein");
  EXPECT_EQ(4, selected());
  EXPECT_EQ("ein", fieldText());
}

TEST_F(SearchTest, HitSelectsTheRowAndPostsTheTreeChange) {
  app::expandAll(false);
  setFieldText("KNOPF");
  search::searchTopics(search::SearchStart::FromTop);
  EXPECT_EQ(5, selected());
  ASSERT_EQ(1u, base::pendingEvents().size());
  const base::Event& event = base::pendingEvents().front();
  EXPECT_EQ(base::EventKind::Widget, event.kind);
  EXPECT_EQ(base::TopicTreeControl, event.widget);
  EXPECT_EQ(base::EventType::Change, event.type);
  EXPECT_EQ("", base::appState.currentCodeFile) << "the topic is shown through the event, not at once";
  dispatchPending();
  EXPECT_EQ("/Gtk/Button.zn", base::appState.currentCodeFile);
  EXPECT_EQ("Button code\nsecond", codeText());

  // The closed group was opened to show the row.
  GtkTreeIter iter;
  ASSERT_TRUE(database::topicRowIter(3, &iter));
  GtkTreePath* group = gtk_tree_model_get_path(gtk_tree_view_get_model(base::topicTreeView()), &iter);
  EXPECT_TRUE(gtk_tree_view_row_expanded(base::topicTreeView(), group));
  gtk_tree_path_free(group);
}

TEST_F(SearchTest, FindNextStepsOnAndPastTheLastHitMissesThenStartsAgain) {
  type("ein");  // rows 4 "Ein Fenster", 5 "Ein Knopf", 7 "Keine"
  ASSERT_EQ(4, selected());
  findNext();
  EXPECT_EQ(5, selected());
  EXPECT_EQ("Button code\nsecond", codeText());
  gtk_button_clicked(GTK_BUTTON(base::mainWindow.control[base::FindButtonControl]));
  dispatchPending();
  EXPECT_EQ(7, selected());

  HintWatch watch;
  findNext();
  EXPECT_EQ(-1, selected());
  EXPECT_EQ("ein", fieldText()) << "find-next takes nothing back";
  EXPECT_EQ(2u, watch.colours.size()) << "the hint was given once";

  findNext();
  EXPECT_EQ(4, selected());
}

TEST_F(SearchTest, EmptyFieldSearchesNothing) {
  selectRow(5);
  HintWatch watch;
  findNext();
  search::searchTopics(search::SearchStart::FromTop);
  EXPECT_EQ(5, selected());
  EXPECT_TRUE(base::pendingEvents().empty());
  EXPECT_TRUE(watch.colours.empty());
}

TEST_F(SearchTest, CharacterThatMakesAMissAtTheEndIsTakenBack) {
  type("fenster");
  ASSERT_EQ(4, selected());
  HintWatch watch;
  const GdkColor normal = fieldBase();
  type("q");
  EXPECT_EQ("fenster", fieldText());
  EXPECT_EQ(4, selected()) << "the shortened text found its row again";
  EXPECT_EQ((std::vector<GdkColor>{flashColour(), normal}), watch.colours);

  // The cursor counts characters: after the two bytes of "ê" the miss is still the last one.
  appSettings.SearchMode = 2;
  setFieldText("fenê");
  type("q");
  EXPECT_EQ("fenê", fieldText());
  EXPECT_EQ(4, selected());
}

TEST_F(SearchTest, CharacterThatMakesAMissInTheMiddleStays) {
  type("fenster");
  gtk_editable_set_position(GTK_EDITABLE(field()), 3);
  HintWatch watch;
  type("q");
  EXPECT_EQ("fenqster", fieldText());
  EXPECT_EQ(-1, selected());
  EXPECT_EQ(2u, watch.colours.size());
}

TEST_F(SearchTest, PastedMissIsShortenedOneCharacterAtATimeWithOneHint) {
  HintWatch watch;
  const GdkColor normal = fieldBase();
  paste("knopfxyz");
  dispatchPending();
  EXPECT_EQ("knopf", fieldText());
  EXPECT_EQ(5, selected());
  EXPECT_EQ((std::vector<GdkColor>{flashColour(), normal}), watch.colours);

  // Nothing matches at all: the field empties and then nothing more happens.
  watch.colours.clear();
  paste("qq");
  dispatchPending();
  EXPECT_EQ("", fieldText());
  EXPECT_EQ(-1, selected());
  EXPECT_EQ(2u, watch.colours.size());
}

TEST_F(SearchTest, ALongPastedMissIsTakenBackAtOnceWithOneHint) {
  // 60,007 characters, near what the field takes, of one, two and three bytes.
  std::string pasted = "Fenster";
  for (int i = 0; i < 20000; ++i) pasted += "#ä€";
  HintWatch watch;
  paste(pasted);
  dispatchPending();
  EXPECT_EQ("Fenster", fieldText());
  EXPECT_EQ(7, gtk_editable_get_position(GTK_EDITABLE(field())));
  EXPECT_EQ(4, selected());
  EXPECT_EQ(2u, watch.colours.size());
}

TEST_F(SearchTest, ReturnSearchesOnOnlyInTheSearchField) {
  type("ein");
  ASSERT_EQ(4, selected());
  pressKey(GDK_Return);
  dispatchPending();
  EXPECT_EQ(5, selected());

  gtk_widget_grab_focus(GTK_WIDGET(base::topicTreeView()));
  pressKey(GDK_Return);
  pressKey(GDK_KP_Enter);
  dispatchPending();
  EXPECT_EQ(5, selected());

  gtk_widget_grab_focus(field());
  pressKey(GDK_KP_Enter);
  dispatchPending();
  EXPECT_EQ(7, selected());
}

TEST_F(SearchTest, ModeAndLanguageChooseTheSearchedTexts) {
  appSettings.SearchMode = 1;
  setFieldText("bouton");
  findNext();
  EXPECT_EQ(-1, selected());
  appSettings.SearchMode = 2;
  findNext();
  EXPECT_EQ(5, selected());
  appSettings.SearchMode = 0;
  setFieldText("a button");
  findNext();
  EXPECT_EQ(-1, selected());
  config::setLanguageChoice(1);
  findNext();
  EXPECT_EQ(-1, selected()) << "a choice in the language list that was not taken over";
  appSettings.Language = 1;
  findNext();
  EXPECT_EQ(5, selected());
  config::setLanguageChoice(0);
}

TEST_F(SearchTest, RebuiltTreeIsSearchedWithItsNewTexts) {
  setFieldText("fenster");
  findNext();
  ASSERT_EQ(4, selected());

  // The same number of rows, other texts: row 4 no longer matches, row 6 does.
  std::string changed = testing_support::smallLibraryDatabase();
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"\"Fenster\"", "\"Rahmen\""},
                                 {"\"Ein Fenster\"", "\"Ein Rahmen\""},
                                 {"\"Fehlt\"", "\"Fenster fehlt\""}}) {
    changed.replace(changed.find(from), from.size(), to);
  }
  loadLibrary(changed);
  search::searchTopics(search::SearchStart::FromTop);
  EXPECT_EQ(6, selected());

  // The tree rebuilt in English shows the English titles, and those are searched.
  appSettings.SearchMode = 1;
  config::setLanguageChoice(1);
  database::rebuildTopicTree(base::topicTreeView(), 1, true);
  setFieldText("window");
  search::searchTopics(search::SearchStart::FromTop);
  EXPECT_EQ(3, selected()) << "the group label \"Windows\" comes first";
  findNext();
  EXPECT_EQ(4, selected());
  config::setLanguageChoice(0);
}

TEST_F(SearchTest, EachHintShowsAndComesBack) {
  const int x = windowX();
  const GdkColor normal = fieldBase();
  struct Case {
    int hint;
    bool shakes;
    bool flashes;
  } cases[] = {{0, true, true}, {1, true, false}, {2, false, true}, {7, true, true}};
  for (const Case& c : cases) {
    appSettings.SearchHint = c.hint;
    setFieldText("no such topic");
    HintWatch watch;
    findNext();
    EXPECT_EQ(c.shakes ? shakeAround(x) : std::vector<int>(), watch.positions()) << "SearchHint " << c.hint;
    const std::vector<GdkColor> flash = {flashColour(), normal};
    EXPECT_EQ(c.flashes ? flash : std::vector<GdkColor>(), watch.colours) << "SearchHint " << c.hint;
    EXPECT_EQ(x, windowX());
    EXPECT_TRUE(fieldBase() == normal);
  }
}

TEST_F(SearchTest, ShakeMovesOnlySideways) {
  gint x = 0, y = 0, width = 0, height = 0;
  gtk_window_get_position(GTK_WINDOW(base::mainWindow.window), &x, &y);
  gtk_window_get_size(GTK_WINDOW(base::mainWindow.window), &width, &height);
  HintWatch watch;
  search::shakeWindow(base::mainWindow.window, 3);
  EXPECT_EQ((std::vector<int>{x + 3, x - 3, x + 3, x - 3, x}), watch.positions());
  gint afterX = 0, afterY = 0, afterWidth = 0, afterHeight = 0;
  gtk_window_get_position(GTK_WINDOW(base::mainWindow.window), &afterX, &afterY);
  gtk_window_get_size(GTK_WINDOW(base::mainWindow.window), &afterWidth, &afterHeight);
  EXPECT_EQ(x, afterX);
  EXPECT_EQ(y, afterY);
  EXPECT_EQ(width, afterWidth);
  EXPECT_EQ(height, afterHeight);
}

}  // namespace
