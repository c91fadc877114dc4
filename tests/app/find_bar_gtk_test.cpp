// The find bar under real keys and clicks: Ctrl+F, typing, Return and Shift+Return, the
// arrows, Escape and the close button, and the highlighter's colours left as they are.
#include "search/find_bar_gtk.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/main_window_widgets_gtk.h"
#include "config/app_settings.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

namespace {

using testing_support::pressKeys;

class FindBarTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    appSettings.CodeMarks = 1;
    std::string code = "Procedure Show() ; GTK here\n  gtk_widget_show(*w)\nEndProcedure\n";
    for (int line = 0; line < 300; ++line) code += "Show() ; line " + std::to_string(line) + "\n";
    dir.write("Gtk/Window.zn", code + "gtK_last()\n");
    selectRow(4);
    ASSERT_TRUE(testing_support::pointAt(GTK_WIDGET(base::codeView())));
  }

  GtkWidget* bar(int control) { return search::findBar.at(control); }
  std::string count() { return gtk_label_get_text(GTK_LABEL(bar(base::FindCountControl))); }
  bool focusIn(int control) {
    return gtk_window_get_focus(GTK_WINDOW(base::mainWindow.window)) == base::mainWindow.control[control];
  }

  // The find tags ("zn-find-...") or the other tags where they start: "name@offset ...".
  std::string toggles(bool findTags) {
    std::string text;
    GtkTextIter iter;
    gtk_text_buffer_get_start_iter(gtk_text_view_get_buffer(base::codeView()), &iter);
    do {
      std::set<std::string> names;
      GSList* started = gtk_text_iter_get_toggled_tags(&iter, TRUE);
      for (GSList* item = started; item; item = item->next) {
        gchar* name = nullptr;
        g_object_get(item->data, "name", &name, nullptr);
        if ((std::string(name).rfind("zn-find", 0) == 0) == findTags) names.insert(name);
        g_free(name);
      }
      g_slist_free(started);
      for (const std::string& name : names)
        text += name + "@" + std::to_string(gtk_text_iter_get_offset(&iter)) + " ";
    } while (gtk_text_iter_forward_to_tag_toggle(&iter, nullptr));
    return text;
  }
};

TEST_F(FindBarTest, TypingHighlightsEveryOccurrenceAroundTheHighlightingAndCountsThem) {
  const std::string highlighting = toggles(false);
  ASSERT_TRUE(pressKeys("ctrl+f"));
  ASSERT_TRUE(dispatchUntil([&] { return search::findBarIsOpen() && search::findBarHasFocus(); }));
  ASSERT_TRUE(testing_support::typeText("GTK"));
  ASSERT_TRUE(dispatchUntil([&] { return count() == "1 / 3"; })) << count();
  EXPECT_EQ("zn-find-current@19 zn-find-occurrence@19 zn-find-occurrence@30 ", toggles(true))
      << "the last one lies beyond the lines in sight";
  EXPECT_EQ(highlighting, toggles(false)) << "the highlighter's tags stay as they were";
  GtkAllocation code, row;
  gtk_widget_get_allocation(base::mainWindow.codeScroll, &code);
  gtk_widget_get_allocation(search::findBar.bar, &row);
  EXPECT_EQ(code.y + code.height, row.y) << "the bar sits below the code view";

  // Scrolling brings the last one into sight, and the tag with it.
  GtkAdjustment* scroll =
      gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll));
  const auto atBottom = [&] {
    return gtk_adjustment_get_value(scroll) >=
           gtk_adjustment_get_upper(scroll) - gtk_adjustment_get_page_size(scroll) - 1;
  };
  for (int turn = 0; turn < 40 && !atBottom(); ++turn)
    ASSERT_TRUE(testing_support::turnWheel(GTK_WIDGET(base::codeView()), false, 10, false));
  const std::string lastTag =
      "zn-find-occurrence@" +
      std::to_string(gtk_text_buffer_get_char_count(gtk_text_view_get_buffer(base::codeView())) - 10);
  EXPECT_TRUE(dispatchUntil([&] { return toggles(true).find(lastTag) != std::string::npos; }))
      << toggles(true);

  // Down there, a new search starts at the top of the view: "gtK_last" is the current one.
  ASSERT_TRUE(testing_support::typeText("_"));
  EXPECT_TRUE(dispatchUntil([&] { return count() == "2 / 2"; })) << count();
  ASSERT_TRUE(testing_support::typeText("x"));
  EXPECT_TRUE(dispatchUntil([&] { return count() == "0 / 0" && toggles(true).empty(); })) << count();
}

TEST_F(FindBarTest, ReturnShiftReturnAndTheArrowsStepAroundAndAnotherTopicIsSearchedAgain) {
  ASSERT_TRUE(pressKeys("ctrl+f"));
  ASSERT_TRUE(dispatchUntil([&] { return search::findBarHasFocus(); }));
  ASSERT_TRUE(testing_support::typeText("gtk"));
  ASSERT_TRUE(dispatchUntil([&] { return count() == "1 / 3"; }));
  const struct {
    const char* keys;  // or nullptr for a click
    int button;
    const char* count;
  } steps[] = {{"Return", 0, "2 / 3"},
               {"Return", 0, "3 / 3"},
               {"Return", 0, "1 / 3"},
               {"shift+Return", 0, "3 / 3"},
               {nullptr, base::FindNextControl, "1 / 3"},
               {nullptr, base::FindPreviousControl, "3 / 3"}};
  for (const auto& step : steps) {
    ASSERT_TRUE(step.keys ? pressKeys(step.keys) : testing_support::clickAt(bar(step.button)));
    EXPECT_TRUE(dispatchUntil([&] { return count() == step.count; })) << step.count << " got " << count();
  }
  EXPECT_TRUE(search::findBarHasFocus()) << "the arrows leave the focus in the field";

  selectRow(5);
  EXPECT_TRUE(dispatchUntil([&] { return codeText() == "Button code\nsecond" && count() == "0 / 0"; }))
      << count();
  selectRow(4);
  EXPECT_TRUE(dispatchUntil([&] { return count() == "1 / 3"; }))
      << "the bar stays open and searches the new code";
}

TEST_F(FindBarTest, EscapeAndTheCloseButtonCloseTheBarAndGiveTheFocusBack) {
  for (const bool byEscape : {true, false}) {
    ASSERT_TRUE(focusIn(base::SearchFieldControl));
    ASSERT_TRUE(pressKeys("ctrl+f"));
    ASSERT_TRUE(dispatchUntil([&] { return search::findBarHasFocus(); }));
    ASSERT_TRUE(testing_support::typeText("gtk"));
    ASSERT_TRUE(dispatchUntil([&] { return count() == "1 / 3"; }));
    ASSERT_TRUE(byEscape ? pressKeys("Escape") : testing_support::clickAt(bar(base::FindCloseControl)));
    EXPECT_TRUE(dispatchUntil([&] { return !search::findBarIsOpen(); })) << (byEscape ? "Escape" : "close");
    EXPECT_EQ(0, base::appState.quitRequested) << "Escape in the bar never ends the program";
    EXPECT_EQ("", toggles(true));
    EXPECT_TRUE(focusIn(base::SearchFieldControl)) << "the focus is back where it was";
  }
  ASSERT_TRUE(pressKeys("Escape"));
  EXPECT_TRUE(dispatchUntil([] { return base::appState.quitRequested == 1; }))
      << "outside the bar Escape ends";
}

}  // namespace
