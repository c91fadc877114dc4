// The main window under real input: the pointer, the keyboard and another program's drag
// go through the X server, so every signal handler is raised by its widget.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

#include <gdk/gdkx.h>
#include <unistd.h>

namespace {

using testing_support::pumpUntil;

class MainWindowInputTest : public testing_support::ViewerTest {
 protected:
  // A test that stopped half-way must not leave the button held for the next.
  void TearDown() override {
    testing_support::releaseButton();
    ViewerTest::TearDown();
  }

  GtkWidget* control(int number) { return base::mainWindow.control[number]; }

  std::string fileUri(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string result = uri;
    g_free(uri);
    return result;
  }

  int selectedRow() { return database::selectedTopicRow(base::topicTreeView()); }

  bool clickTreeRow(int row) {
    const GdkPoint point = rowPoint(row);
    return testing_support::clickAt(control(base::TopicTreeControl), point.x, point.y);
  }

  std::vector<int> history() { return base::appState.historyRows; }

  // A snippet that links to "Button" (the English title of row 5) and "Hilfe" (row 2).
  void showSnippetWithLinks() {
    appSettings.CodeMarks = 1;
    dir.write("Gtk/Window.zn", "If x\n; Link to topic:   Button\n; Link to topic:   Hilfe\nEndIf\n");
    selectRow(4);
    ASSERT_EQ(2u, linkLabels().size());
    for (GtkWidget* link : linkLabels()) ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_mapped(link); }));
  }

  GtkWidget* linkLabel(const std::string& title) {
    for (GtkWidget* link : linkLabels())
      if (gtk_label_get_text(GTK_LABEL(link)) == title) return link;
    ADD_FAILURE() << "no link " << title;
    return control(base::CodeViewControl);
  }

  std::vector<GtkWidget*> linkLabels() {
    std::vector<GtkWidget*> labels;
    gtk_container_forall(
        GTK_CONTAINER(base::codeView()),
        [](GtkWidget* child, gpointer list) {
          if (GTK_IS_LABEL(child)) static_cast<std::vector<GtkWidget*>*>(list)->push_back(child);
        },
        &labels);
    return labels;
  }

  // What a middle click in another program would paste: read through the X
  // server by xclip while this process keeps serving the request.
  static std::string primaryReadByAnotherProgram() {
    const gchar* argv[] = {"xclip", "-o", "-selection", "primary", nullptr};
    GPid pid = 0;
    gint out = -1;
    if (!g_spawn_async_with_pipes(
            nullptr, const_cast<gchar**>(argv), nullptr,
            GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDERR_TO_DEV_NULL),
            nullptr, nullptr, &pid, nullptr, &out, nullptr, nullptr))
      return "(xclip did not start)";
    bool ended = false;
    g_child_watch_add(
        pid,
        [](GPid child, gint, gpointer done) {
          g_spawn_close_pid(child);
          *static_cast<bool*>(done) = true;
        },
        &ended);
    const bool inTime = pumpUntil([&] { return ended; });
    std::string text;
    char block[4096];
    for (ssize_t got; inTime && (got = read(out, block, sizeof block)) > 0;) text.append(block, got);
    close(out);
    return inTime ? text : "(xclip did not end)";
  }

  static int fontSize(GtkWidget* widget) {
    return pango_font_description_get_size(
        pango_context_get_font_description(gtk_widget_get_pango_context(widget)));
  }

  GtkAdjustment* codeScroll(bool vertical) {
    GtkScrolledWindow* scroll = GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll);
    return vertical ? gtk_scrolled_window_get_vadjustment(scroll)
                    : gtk_scrolled_window_get_hadjustment(scroll);
  }
};

TEST_F(MainWindowInputTest, LinkWithATitleOfAnotherLanguageSelectsItsTopic) {
  showSnippetWithLinks();
  ASSERT_TRUE(testing_support::clickAt(linkLabel("Button")));
  ASSERT_TRUE(dispatchUntil([&] { return base::appState.currentCodeFile == "/Gtk/Button.zn"; }));
  EXPECT_EQ(5, selectedRow());
  EXPECT_EQ("Ein Knopf", descriptionText()) << "the interface stays German";

  showSnippetWithLinks();
  ASSERT_TRUE(testing_support::tapAt(linkLabel("Hilfe")));
  EXPECT_TRUE(dispatchUntil([&] { return selectedRow() == 2; })) << "a tap without motion before it";
}

TEST_F(MainWindowInputTest, CopyButtonCopyKeyAndSelectionHandOverTheCodeWithItsLinkTitles) {
  showSnippetWithLinks();
  const std::string shown = "If x\n; Link to topic:   Button\n; Link to topic:   Hilfe\nEndIf";
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "before", -1);
  ASSERT_TRUE(testing_support::clickAt(control(base::CopyButtonControl)));
  ASSERT_TRUE(dispatchUntil([&] { return clipboardText() != "before"; }));
  EXPECT_EQ(shown, clipboardText());

  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "before", -1);
  ASSERT_TRUE(testing_support::clickAt(control(base::CodeViewControl), 5, 5));
  ASSERT_TRUE(testing_support::pressKeys("ctrl+a"));
  ASSERT_TRUE(testing_support::pressKeys("ctrl+c"));
  ASSERT_TRUE(pumpUntil([&] { return clipboardText() != "before"; }));
  EXPECT_EQ(shown, clipboardText()) << "a selection copied with the keyboard";
  EXPECT_EQ(shown, primaryReadByAnotherProgram()) << "the selection a middle click pastes";

  ASSERT_TRUE(testing_support::clickAt(control(base::CodeViewControl), 80, 5));
  ASSERT_TRUE(pumpUntil([&] { return primaryReadByAnotherProgram().empty(); }))
      << "a click that ends the selection also withdraws it";

  ASSERT_TRUE(testing_support::pressKeys("ctrl+a"));
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
  ASSERT_TRUE(pumpUntil([&] { return primaryReadByAnotherProgram() == shown; }));
  ASSERT_TRUE(g_spawn_command_line_async("sh -c 'printf other | xclip -i -selection primary'", nullptr));
  EXPECT_TRUE(pumpUntil([&] { return !gtk_text_buffer_get_selection_bounds(buffer, nullptr, nullptr); }))
      << "the selection goes when another program takes it over";
}

TEST_F(MainWindowInputTest, SelectedCodeDraggedToAnotherProgramKeepsItsLinkTitles) {
  showSnippetWithLinks();
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
  GtkTextIter start, end;
  gtk_text_buffer_get_iter_at_line(buffer, &start, 1);
  gtk_text_buffer_get_iter_at_line(buffer, &end, 2);
  gtk_text_buffer_select_range(buffer, &start, &end);
  testing_support::DndPeer target;
  ASSERT_TRUE(target.startTarget(1000, 700));
  // The second line, selected: its marker lies at the left.
  GdkRectangle line;
  gtk_text_view_get_iter_location(base::codeView(), &start, &line);
  gint x = 0, y = 0;
  gtk_text_view_buffer_to_window_coords(base::codeView(), GTK_TEXT_WINDOW_WIDGET, line.x + 20,
                                        line.y + line.height / 2, &x, &y);
  testing_support::SignalCounter drags(control(base::CodeViewControl), "drag-begin");
  ASSERT_TRUE(testing_support::pressAndPull(
      testing_support::screenPoint(control(base::CodeViewControl), x, y), [&] { return drags.count() > 0; }))
      << "no drag began";
  ASSERT_TRUE(testing_support::pullTo(target.centre()));
  ASSERT_TRUE(target.waitForReport("motion"));
  ASSERT_TRUE(testing_support::releaseButton());
  ASSERT_TRUE(target.waitForReport("end"));
  EXPECT_NE(std::string::npos, target.report().find("text ; Link to topic:   Button\\n")) << target.report();
}

TEST_F(MainWindowInputTest, ZoomWithControlAndWheelTakesTheLinkLabelsAlong) {
  showSnippetWithLinks();
  GtkWidget* code = control(base::CodeViewControl);
  EXPECT_EQ(fontSize(code), fontSize(linkLabels()[0])) << "the links are set in the code font";
  const int before = fontSize(code);
  ASSERT_TRUE(testing_support::turnWheel(code, true, 2, true));
  ASSERT_TRUE(pumpUntil([&] { return fontSize(code) > before; }));
  for (GtkWidget* link : linkLabels()) EXPECT_EQ(fontSize(code), fontSize(link));
  EXPECT_EQ(5, base::appState.zoomLevel);
  selectRow(5);
  selectRow(4);
  ASSERT_EQ(2u, linkLabels().size());
  EXPECT_EQ(fontSize(code), fontSize(linkLabels()[0])) << "a new link at the zoomed size";
}

TEST_F(MainWindowInputTest, EverySnippetOpensAtItsFirstLine) {
  std::string lines;
  for (int line = 0; line < 300; ++line)
    lines += "Line " + std::to_string(line) + " " + std::string(200, 'x') + "\n";
  dir.write("Gtk/Window.zn", lines);
  dir.write("Gtk/Button.zn", lines);
  selectRow(4);
  ASSERT_TRUE(testing_support::turnWheel(control(base::CodeViewControl), false, 10, false));
  ASSERT_TRUE(pumpUntil([&] { return gtk_adjustment_get_value(codeScroll(true)) > 0; }));
  gtk_adjustment_set_value(codeScroll(false), 300);
  ASSERT_TRUE(clickTreeRow(5));
  ASSERT_TRUE(dispatchUntil([&] { return base::appState.currentCodeFile == "/Gtk/Button.zn"; }));
  EXPECT_TRUE(pumpUntil([&] {
    return gtk_adjustment_get_value(codeScroll(true)) == 0 &&
           gtk_adjustment_get_value(codeScroll(false)) == 0;
  })) << gtk_adjustment_get_value(codeScroll(true))
      << " " << gtk_adjustment_get_value(codeScroll(false));
}

TEST_F(MainWindowInputTest, LanguageKeysSwitchTheTreeAndTheShownDescription) {
  ASSERT_TRUE(clickTreeRow(5));
  ASSERT_TRUE(dispatchUntil([&] { return descriptionText() == "Ein Knopf"; }));
  struct Step {
    const char* keys;
    const char* description;
  };
  const Step steps[] = {{"F6", "A button"},     {"F6", "Ein Knopf"},   {"alt+e", "A button"},
                        {"alt+g", "Ein Knopf"}, {"alt+f", "A button"}, {"alt+d", "Ein Knopf"}};
  for (const Step& step : steps) {
    ASSERT_TRUE(testing_support::pressKeys(step.keys));
    EXPECT_TRUE(dispatchUntil([&] { return descriptionText() == step.description; }))
        << step.keys << ": " << descriptionText();
    EXPECT_EQ(5, selectedRow());
  }
}

TEST_F(MainWindowInputTest, ClickingTopicsShowsThemAndClickingTheShownOneAgainRecordsIt) {
  ASSERT_TRUE(clickTreeRow(4));
  ASSERT_TRUE(dispatchUntil([&] { return base::appState.currentCodeFile == "Gtk/Window.zn"; }));
  EXPECT_EQ(std::vector<int>{4}, history()) << "the click that shows a topic records it";
  ASSERT_TRUE(clickTreeRow(5));
  ASSERT_TRUE(dispatchUntil([&] { return history() == std::vector<int>({5, 4}); }));
  ASSERT_TRUE(clickTreeRow(4));
  ASSERT_TRUE(dispatchUntil([&] { return history() == std::vector<int>({4, 5}); }));
  ASSERT_TRUE(clickTreeRow(4));
  dispatchPending();
  EXPECT_EQ(std::vector<int>({4, 5}), history());
  EXPECT_EQ("Window code\n; Grüße", codeText());
}

TEST_F(MainWindowInputTest, OtherButtonsAndTheKeyboardMoveNoTopicIntoTheHistory) {
  ASSERT_TRUE(clickTreeRow(4));
  ASSERT_TRUE(dispatchUntil([&] { return history().size() == 1; }));
  const GdkPoint point = rowPoint(5);
  ASSERT_TRUE(testing_support::clickAt(control(base::TopicTreeControl), point.x, point.y, 3));
  ASSERT_TRUE(testing_support::pressKeys("Down"));
  ASSERT_TRUE(dispatchUntil([&] { return base::appState.currentCodeFile != "Gtk/Window.zn"; }))
      << "the keyboard moves the selection and shows the topic";
  EXPECT_EQ(std::vector<int>{4}, history());
}

TEST_F(MainWindowInputTest, ClickOnATopicWhoseFileIsMissingIsRecordedWhileTheMessageTakesTheRelease) {
  testing_support::ToolkitDialogs realDialogs;
  int releasesInTheMessage = 0;
  testing_support::DialogAnswer answer(
      [&](GtkWidget* message) {
        testing_support::SignalCounter releases(message, "button-release-event");
        ASSERT_TRUE(testing_support::releaseButton());
        ASSERT_TRUE(pumpUntil([&] { return releases.count() > 0; }));
        releasesInTheMessage = releases.count();
      },
      GTK_RESPONSE_OK);
  const GdkPoint point = rowPoint(6);
  ASSERT_TRUE(testing_support::pointAt(control(base::TopicTreeControl), point.x, point.y));
  ASSERT_TRUE(testing_support::xdotool({"mousedown", "1"}));
  ASSERT_TRUE(dispatchUntil([&] { return answer.answered(); }));
  dispatchPending();
  EXPECT_EQ(1, releasesInTheMessage) << "the message took the release";
  EXPECT_EQ("Gtk/Missing.zn", base::appState.currentCodeFile);
  EXPECT_EQ(std::vector<int>{6}, history());
}

TEST_F(MainWindowInputTest, DoubleClickClosesAndOpensANode) {
  GtkTreeView* tree = base::topicTreeView();
  auto expanded = [&](int row) {
    GtkTreeIter iter;
    database::topicRowIter(row, &iter);
    GtkTreePath* path = gtk_tree_model_get_path(gtk_tree_view_get_model(tree), &iter);
    const bool open = gtk_tree_view_row_expanded(tree, path);
    gtk_tree_path_free(path);
    return open;
  };
  // Each double click on another row, further away than a double click may wander:
  // the toolkit would take a quick second pair on the same spot for a triple click.
  for (const int row : {3, 1, 3}) {
    const bool wasOpen = expanded(row);
    const GdkPoint point = rowPoint(row);
    ASSERT_TRUE(testing_support::doubleClickAt(control(base::TopicTreeControl), point.x, point.y));
    EXPECT_TRUE(dispatchUntil([&] { return expanded(row) != wasOpen; })) << "row " << row;
    EXPECT_EQ(row, selectedRow());
  }
  EXPECT_FALSE(expanded(1));
  EXPECT_TRUE(expanded(3));
}

TEST_F(MainWindowInputTest, TopicDraggedToAnotherProgramHandsOverItsFileUri) {
  ASSERT_TRUE(clickTreeRow(5));
  ASSERT_TRUE(dispatchUntil([&] { return base::appState.currentCodeFile == "/Gtk/Button.zn"; }));
  // A program that takes files gets the file; one that takes text alone, the code as shown.
  const std::string dropped[] = {"uri " + fileUri(dir.path() + "Gtk/Button.zn") + "\n",
                                 "text Button code\\nsecond\n"};
  for (const bool textAlone : {false, true}) {
    testing_support::DndPeer target;
    ASSERT_TRUE(target.startTarget(1000, 700, textAlone));
    const GdkPoint row = rowPoint(5);
    testing_support::SignalCounter drags(control(base::TopicTreeControl), "drag-begin");
    // The drag starts as a command of the queue: the commands run while the pointer moves.
    const GdkPoint from = testing_support::screenPoint(control(base::TopicTreeControl), row.x, row.y);
    ASSERT_TRUE(testing_support::pressAndPull(from, [&] {
      dispatchPending();
      return drags.count() > 0;
    })) << "no drag began";
    ASSERT_TRUE(testing_support::pullTo(target.centre()));
    ASSERT_TRUE(target.waitForReport("motion"));
    ASSERT_TRUE(testing_support::releaseButton());
    ASSERT_TRUE(target.waitForReport("end"));
    EXPECT_NE(std::string::npos, target.report().find(dropped[textAlone])) << target.report();
    // Offered as a move, a file manager would take the snippet out of the library.
    EXPECT_NE(std::string::npos, target.report().find("offered copy\n")) << target.report();
  }
}

TEST_F(MainWindowInputTest, AltArrowsAndTheMouseSideButtonsStepThroughTheShownTopics) {
  fakeProgram("beep");
  ASSERT_TRUE(clickTreeRow(4));
  ASSERT_TRUE(dispatchUntil([&] { return codeText() == "Window code\n; Grüße"; }));
  ASSERT_TRUE(clickTreeRow(5));
  ASSERT_TRUE(dispatchUntil([&] { return codeText() == "Button code\nsecond"; }));
  // The drop itself goes through the X server in its own test; its event is enough here.
  base::Event drop;
  drop.kind = base::EventKind::FilesDropped;
  drop.droppedPaths = dir.write("outside/Dropped.zn", "Dropped code\n");
  base::postEvent(drop);
  ASSERT_TRUE(dispatchUntil([&] { return codeText() == "Dropped code"; }));
  const std::vector<int> historyBefore = history();

  GtkWidget* code = control(base::CodeViewControl);
  const GdkPoint helpRow = rowPoint(2);
  // A key, or a mouse button over a widget; at either end a step does nothing, which the
  // step after it shows.
  const struct {
    const char* keys;
    int button;
    GtkWidget* over;
    int row;  // -1: the dropped file
    const char* title;
  } steps[] = {
      {"alt+Left", 0, nullptr, 5, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"},
      {nullptr, 8, code, 4, "Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Window.zn"},
      {"alt+Left", 0, nullptr, 4, "Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Window.zn"},
      {nullptr, 9, control(base::TopicTreeControl), 5, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"},
      {"alt+Right", 0, nullptr, -1, "Linux ZN-ZID-Idavode-Ruriva ~ Dropped.zn"},
      {"alt+Right", 0, nullptr, -1, "Linux ZN-ZID-Idavode-Ruriva ~ Dropped.zn"},
      {"alt+Left", 0, nullptr, 5, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"},
  };
  for (const auto& step : steps) {
    // Button 9 is pressed over row 2 of the tree, which must not take the press.
    ASSERT_TRUE(step.keys ? testing_support::pressKeys(step.keys)
                          : testing_support::clickAt(step.over, step.over == code ? -1 : helpRow.x,
                                                     step.over == code ? -1 : helpRow.y, step.button));
    EXPECT_TRUE(dispatchUntil([&] { return windowTitle() == step.title && selectedRow() == step.row; }))
        << (step.keys ? step.keys : "button") << ": " << windowTitle() << ", row " << selectedRow();
  }
  EXPECT_EQ("Button code\nsecond", codeText());
  EXPECT_EQ("Ein Knopf", descriptionText());
  EXPECT_EQ(historyBefore, history()) << "stepping adds nothing to the history";
  EXPECT_EQ("", programLog("beep")) << "not even at the ends";
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(MainWindowInputTest, ToolButtonsAndKeysOfTheMainWindow) {
  GtkTreeView* tree = base::topicTreeView();
  GtkTreePath* group = gtk_tree_path_new_from_indices(0, 1, -1);
  ASSERT_TRUE(testing_support::clickAt(control(base::NodeToggleControl)));
  EXPECT_TRUE(dispatchUntil([&] { return !gtk_tree_view_row_expanded(tree, group); })) << "all nodes closed";
  ASSERT_TRUE(testing_support::clickAt(control(base::NodeToggleControl)));
  EXPECT_TRUE(dispatchUntil([&] { return gtk_tree_view_row_expanded(tree, group); })) << "all nodes open";
  gtk_tree_path_free(group);

  // "f" is in the texts of rows 2, 4, 5 and 6: typing finds the first, then each way on the next.
  ASSERT_TRUE(testing_support::clickAt(control(base::SearchFieldControl)));
  ASSERT_TRUE(testing_support::typeText("f"));
  EXPECT_TRUE(dispatchUntil([&] { return selectedRow() == 2; }));
  ASSERT_TRUE(testing_support::clickAt(control(base::FindButtonControl)));
  EXPECT_TRUE(dispatchUntil([&] { return selectedRow() == 4; }));
  ASSERT_TRUE(testing_support::pointAt(control(base::SearchFieldControl)));
  ASSERT_TRUE(testing_support::pressKeys("F3"));
  EXPECT_TRUE(dispatchUntil([&] { return selectedRow() == 5; }));
  ASSERT_TRUE(testing_support::pressKeys("Return"));
  EXPECT_TRUE(dispatchUntil([&] { return selectedRow() == 6; })) << "Return in the search field";

  base::appState.helpRow = 2;
  ASSERT_TRUE(testing_support::clickAt(control(base::HelpButtonControl)));
  EXPECT_TRUE(dispatchUntil([&] { return codeText() == "Help text"; }));
  selectRow(4);
  ASSERT_TRUE(testing_support::pressKeys("F1"));
  EXPECT_TRUE(dispatchUntil([&] { return codeText() == "Help text"; }));

  // Keys typed into the code view or the description change nothing shown.
  const std::string shown = codeText() + descriptionText();
  for (int number : {base::CodeViewControl, base::DescriptionControl}) {
    ASSERT_TRUE(testing_support::clickAt(control(number), 5, 5));
    ASSERT_TRUE(testing_support::pressKeys("x"));
  }
  ASSERT_TRUE(testing_support::pressKeys("F5"));
  EXPECT_TRUE(dispatchUntil([] { return gtk_text_view_get_wrap_mode(base::codeView()) == GTK_WRAP_WORD; }));
  EXPECT_EQ(shown, codeText() + descriptionText()) << "the keys before F5 have been handled";
  ASSERT_TRUE(testing_support::pressKeys("Escape"));
  EXPECT_TRUE(dispatchUntil([] { return base::appState.quitRequested == 1; }));
  base::appState.quitRequested = 0;
  testing_support::requestClose(base::mainWindow.window);
  EXPECT_TRUE(dispatchUntil([] { return base::appState.quitRequested == 1; }))
      << "the window manager's close";
}

TEST_F(MainWindowInputTest, ResizedWindowAndMovedSplitterAreLaidOutAgain) {
  auto allocationOf = [](GtkWidget* widget) {
    GtkAllocation box;
    gtk_widget_get_allocation(widget, &box);
    return box;
  };
  const std::string window = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(base::mainWindow.window)));
  // Smaller than the children ask for: the window's own minimum holds.
  ASSERT_TRUE(testing_support::xdotool({"windowsize", window, "300", "200"}));
  EXPECT_TRUE(dispatchUntil([&] {
    return allocationOf(base::mainWindow.toolRow).width == 640 &&
           allocationOf(control(base::InfoButtonControl)).x == 640 - 34 &&
           allocationOf(control(base::SplitterControl)).height == 362;
  }));
  ASSERT_TRUE(testing_support::xdotool({"windowsize", window, "900", "700"}));
  EXPECT_TRUE(dispatchUntil([&] {
    return allocationOf(control(base::InfoButtonControl)).x == 900 - 34 &&
           allocationOf(control(base::SplitterControl)).width == 890;
  }));

  GtkPaned* paned = GTK_PANED(control(base::SplitterControl));
  const int before = gtk_paned_get_position(paned);
  GdkWindow* handle = gtk_paned_get_handle_window(paned);
  gint handleX = 0, handleY = 0;
  gdk_window_get_origin(handle, &handleX, &handleY);
  const GdkPoint grip{handleX + 2, handleY + 100};
  ASSERT_TRUE(testing_support::pressAndPull(grip, [] { return true; }));
  ASSERT_TRUE(testing_support::pullTo(GdkPoint{grip.x - 100, grip.y}));
  ASSERT_TRUE(testing_support::releaseButton());
  EXPECT_TRUE(dispatchUntil([&] {
    const GtkAllocation container = allocationOf(control(base::CodeContainerControl));
    return gtk_paned_get_position(paned) < before - 50 &&
           allocationOf(base::mainWindow.codeScroll).width == container.width - 7;
  }));
}

TEST_F(MainWindowInputTest, FileDroppedByAnotherProgramOnTheCodeViewIsShownAsExternalFile) {
  selectRow(4);
  const std::string file = dir.write("outside/Dropped.zn", "Dropped code\n");
  testing_support::DndPeer source;
  ASSERT_TRUE(source.startSource(1000, 700, {fileUri(file)}));
  testing_support::SignalCounter motions(control(base::CodeViewControl), "drag-motion");

  ASSERT_TRUE(testing_support::pressAndPull(source.centre(), [&] {
    return source.report().find("begin") != std::string::npos;
  })) << "no drag began";
  ASSERT_TRUE(testing_support::pullTo(testing_support::screenPoint(control(base::CodeViewControl))));
  ASSERT_TRUE(pumpUntil([&] { return motions.count() > 0; })) << "the drag never reached the code view";
  ASSERT_TRUE(testing_support::releaseButton());

  ASSERT_TRUE(dispatchUntil([&] { return codeText() == "Dropped code"; })) << codeText();
  EXPECT_EQ("Extern file ...", descriptionText());
  EXPECT_EQ(-1, selectedRow()) << "no topic is selected";
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ Dropped.zn", windowTitle());
  EXPECT_EQ("", services::databaseInfoFieldText(base::FileFieldControl)) << "no topic's file is shown";
  EXPECT_TRUE(source.waitForEnd());
}

}  // namespace
