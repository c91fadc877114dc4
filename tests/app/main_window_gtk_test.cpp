// The main window: layout, zoom, history, titles, nodes, drag data and the basic commands.
#include <gtest/gtest.h>

#include "app/administrator_mode.h"
#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

using testing_support::pumpUntil;

namespace {

class MainWindowTest : public testing_support::ViewerTest {
 protected:
  GtkAllocation allocationOf(int control) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(base::mainWindow.control[control], &allocation);
    return allocation;
  }

  // Resizes the window and waits until the layout has followed.
  void resizeTo(int width, int height) {
    gtk_window_resize(GTK_WINDOW(base::mainWindow.window), width, height);
    ASSERT_TRUE(pumpUntil([&] {
      dispatchPending();
      GtkAllocation client;
      gtk_widget_get_allocation(base::mainWindow.toolRow, &client);
      return client.width == std::max(width, 640) && client.height == std::max(height, 400) &&
             allocationOf(base::InfoButtonControl).x == client.width - 34 &&
             allocationOf(base::HelpButtonControl).x == client.width - 64 &&
             allocationOf(base::SettingsButtonControl).x == client.width - 104 &&
             allocationOf(base::CopyButtonControl).x == client.width - 134;
    }));
  }

  gboolean scroll(GdkScrollDirection direction, bool control) {
    GdkEventScroll event = {};
    event.type = GDK_SCROLL;
    event.direction = direction;
    event.state = control ? GDK_CONTROL_MASK : 0;
    return app::onCodeViewScroll(base::mainWindow.control[base::CodeViewControl], &event, nullptr);
  }

  int codeFontSize() {
    PangoContext* context = gtk_widget_get_pango_context(base::mainWindow.control[base::CodeViewControl]);
    return pango_font_description_get_size(pango_context_get_font_description(context));
  }

  std::vector<std::string> historyTexts() {
    GtkTreeModel* model =
        gtk_combo_box_get_model(GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl]));
    std::vector<std::string> texts;
    GtkTreeIter iter;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
         ok = gtk_tree_model_iter_next(model, &iter)) {
      gchar* text = nullptr;
      gtk_tree_model_get(model, &iter, 0, &text, -1);
      texts.push_back(text ? text : "");
      g_free(text);
    }
    return texts;
  }
};

TEST_F(MainWindowTest, DefaultSizePlacesTheToolRowAndSplitterAsDesigned) {
  resizeTo(800, 600);
  EXPECT_EQ(666, allocationOf(base::CopyButtonControl).x);
  EXPECT_EQ(696, allocationOf(base::SettingsButtonControl).x);
  EXPECT_EQ(736, allocationOf(base::HelpButtonControl).x);
  EXPECT_EQ(766, allocationOf(base::InfoButtonControl).x);
  ASSERT_TRUE(pumpUntil([&] { return allocationOf(base::SplitterControl).width == 790; }));
  EXPECT_EQ(562, allocationOf(base::SplitterControl).height);
  EXPECT_EQ(65, allocationOf(base::SearchFieldControl).x);
  EXPECT_EQ(186, allocationOf(base::HistoryListControl).x);
}

TEST_F(MainWindowTest, WindowNeverShrinksBelowItsMinimumAndKeepsButtonsRightAligned) {
  resizeTo(300, 200);
  GtkAllocation client;
  gtk_widget_get_allocation(base::mainWindow.toolRow, &client);
  EXPECT_EQ(640, client.width);
  EXPECT_EQ(400, client.height);
  EXPECT_EQ(640 - 134, allocationOf(base::CopyButtonControl).x);
  EXPECT_EQ(640 - 104, allocationOf(base::SettingsButtonControl).x);
  EXPECT_EQ(640 - 64, allocationOf(base::HelpButtonControl).x);
  ASSERT_TRUE(pumpUntil([&] {
    dispatchPending();
    return allocationOf(base::SplitterControl).width == 630 &&
           allocationOf(base::SplitterControl).height == 362;
  }));
  // The code view follows its container: width - 7 by height - 51.
  ASSERT_TRUE(pumpUntil([&] {
    dispatchPending();
    GtkAllocation container = allocationOf(base::CodeContainerControl);
    GtkAllocation code;
    gtk_widget_get_allocation(base::mainWindow.codeScroll, &code);
    return code.width == container.width - 7 && code.height == container.height - 51;
  }));
}

TEST_F(MainWindowTest, AdministratorControlsFollowTheBuildMode) {
  if (!app::administratorMode) {
    ASSERT_NE(nullptr, base::mainWindow.control[base::AdminButtonControl]);
    EXPECT_FALSE(gtk_widget_get_visible(base::mainWindow.control[base::AdminButtonControl]));
    EXPECT_EQ(nullptr, base::mainWindow.control[base::SourceLabelControl]);
    app::setPropertyLabel(base::SourceLabelControl, "Src: UTF8");  // does nothing, no crash
    return;
  }
  EXPECT_TRUE(gtk_widget_get_visible(base::mainWindow.control[base::AdminButtonControl]));
  gchar* tip = gtk_widget_get_tooltip_text(base::mainWindow.control[base::AdminButtonControl]);
  EXPECT_STREQ("Popup admin menue", tip);
  g_free(tip);
  auto label = [](int control) {
    return std::string(gtk_label_get_text(GTK_LABEL(base::mainWindow.control[control])));
  };
  EXPECT_EQ(" ", label(base::SourceLabelControl));
  selectRow(4);  // UTF-8 mark, "; EnableUnicode", no subsystem line
  EXPECT_EQ("Src: UTF8", label(base::SourceLabelControl));
  EXPECT_EQ("Exe: UNI", label(base::ExecutableLabelControl));
  EXPECT_EQ("", label(base::SubsystemLabelControl));
  selectRow(7);  // no file: the labels keep their texts
  EXPECT_EQ("Src: UTF8", label(base::SourceLabelControl));
}

TEST_F(MainWindowTest, AdminButtonOpensTheAdminMenuOnlyInTheAdministratorVariant) {
  GtkWidget* menu = base::mainWindow.adminMenu;
  if (app::administratorMode) {
    ASSERT_TRUE(testing_support::clickAt(base::mainWindow.control[base::AdminButtonControl]));
    EXPECT_TRUE(dispatchUntil([&] { return gtk_widget_get_mapped(menu); }));
    gtk_menu_popdown(GTK_MENU(menu));
    return;
  }
  // The user's variant hides the button; even its event opens nothing.
  base::postWidgetEvent(base::MainWindowNo, base::AdminButtonControl, base::EventType::LeftClick);
  dispatchPending();
  EXPECT_FALSE(gtk_widget_get_mapped(menu));
}

TEST_F(MainWindowTest, TooltipsAndStartStateAreSet) {
  gchar* tip = gtk_widget_get_tooltip_text(base::mainWindow.control[base::NodeToggleControl]);
  EXPECT_STREQ("Öffnet und schließt alle Knoten.", tip);
  g_free(tip);
  EXPECT_TRUE(
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl])));
  EXPECT_FALSE(gtk_text_view_get_cursor_visible(base::codeView()));
  EXPECT_EQ(GTK_WRAP_WORD, gtk_text_view_get_wrap_mode(base::descriptionView()));
  EXPECT_FALSE(gtk_tree_view_get_enable_search(base::topicTreeView()));
  PangoTabArray* tabs = gtk_text_view_get_tabs(base::codeView());
  ASSERT_NE(nullptr, tabs);
  gint location = 0;
  pango_tab_array_get_tab(tabs, 0, nullptr, &location);
  EXPECT_EQ(16384, location);
  pango_tab_array_free(tabs);
  for (const base::Event& event : base::pendingEvents()) {
    // Showing the window sizes it, which is reported; nothing else may be.
    const bool sizing = event.kind == base::EventKind::Size ||
                        (event.kind == base::EventKind::Widget && event.widget == base::SplitterControl);
    EXPECT_TRUE(sizing) << "building the window raised an event of widget " << event.widget;
  }
}

TEST_F(MainWindowTest, ZoomStepsWithinLimitsAndBeepsAtNormalSize) {
  fakeProgram("beep");
  appSettings.FontSize = 10;
  EXPECT_FALSE(scroll(GDK_SCROLL_DOWN, false)) << "without Control the view scrolls";
  EXPECT_EQ(3, base::appState.zoomLevel);

  EXPECT_TRUE(scroll(GDK_SCROLL_DOWN, true));
  EXPECT_EQ(2, base::appState.zoomLevel);
  EXPECT_EQ(10 * 952, codeFontSize());  // 0.93 * 1024 rounded
  scroll(GDK_SCROLL_DOWN, true);
  scroll(GDK_SCROLL_DOWN, true);
  EXPECT_TRUE(scroll(GDK_SCROLL_DOWN, true));
  EXPECT_EQ(0, base::appState.zoomLevel);
  EXPECT_EQ(10 * 819, codeFontSize());
  EXPECT_TRUE(scroll(GDK_SCROLL_LEFT, true));
  EXPECT_EQ(0, base::appState.zoomLevel);

  for (int i = 0; i < 3; ++i) scroll(GDK_SCROLL_UP, true);
  EXPECT_EQ(3, base::appState.zoomLevel);
  ASSERT_TRUE(waitForProgramCalls("beep", 1));
  EXPECT_EQ("-f 100 -l 20\n", programLog("beep"));
  for (int i = 0; i < 6; ++i) scroll(GDK_SCROLL_UP, true);
  EXPECT_EQ(7, base::appState.zoomLevel);
  EXPECT_EQ(10 * 1638, codeFontSize());
  for (int i = 0; i < 4; ++i) scroll(GDK_SCROLL_DOWN, true);
  ASSERT_TRUE(waitForProgramCalls("beep", 2));
  EXPECT_EQ("-f 100 -l 20\n-f 100 -l 20\n", programLog("beep"));
}

TEST_F(MainWindowTest, FirstZoomStepAlwaysAppliesTheFont) {
  appSettings.FontSize = 12;
  base::appState.zoomLevel = 4;
  scroll(GDK_SCROLL_UP, true);
  EXPECT_EQ(5, base::appState.appliedZoomLevel);
  EXPECT_EQ(12 * 1331, codeFontSize());
}

TEST_F(MainWindowTest, HistoryKeepsTenDistinctRowsNewestFirst) {
  for (int row = 0; row < 11; ++row) app::recordHistory(row);
  ASSERT_EQ(10u, base::appState.historyRows.size());
  EXPECT_EQ(10, base::appState.historyRows.front());
  EXPECT_EQ(1, base::appState.historyRows.back()) << "the oldest entry is dropped";
  app::recordHistory(5);
  EXPECT_EQ(10u, base::appState.historyRows.size());
  EXPECT_EQ(5, base::appState.historyRows.front());
  EXPECT_EQ(1, std::count(base::appState.historyRows.begin(), base::appState.historyRows.end(), 5));
}

TEST_F(MainWindowTest, ClickingTopicsFillsTheHistoryListWithFileNames) {
  clickRow(4);  // Gtk/Window.zn
  clickRow(5);  // /Gtk/Button.zn
  EXPECT_EQ((std::vector<int>{5, 4}), base::appState.historyRows);
  EXPECT_EQ((std::vector<std::string>{"Button.zn", "Window.zn"}), historyTexts());
  EXPECT_EQ(0, gtk_combo_box_get_active(GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl])));
  EXPECT_TRUE(base::pendingEvents().empty()) << "refilling the list raised an event";

  selectRow(4);  // keyboard selection: shows the code but adds nothing
  EXPECT_EQ((std::vector<int>{5, 4}), base::appState.historyRows);
}

TEST_F(MainWindowTest, ChoosingAHistoryEntryShowsItWithoutReordering) {
  clickRow(4);
  clickRow(5);
  {
    base::ProgramChange guard;
    gtk_combo_box_set_active(GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl]), 1);
  }
  base::postWidgetEvent(base::MainWindowNo, base::HistoryListControl, base::EventType::Change);
  dispatchPending();
  EXPECT_EQ("Gtk/Window.zn", base::appState.currentCodeFile);
  EXPECT_EQ(4, database::selectedTopicRow(base::topicTreeView()));
  EXPECT_EQ("Ein Fenster", descriptionText());
  EXPECT_EQ((std::vector<int>{5, 4}), base::appState.historyRows);
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Window.zn", windowTitle());
}

TEST_F(MainWindowTest, TitleFollowsSourceInTitle) {
  appSettings.Lib_path = "/lib/";
  struct Case {
    int setting;
    const char* title;
  } cases[] = {{0, "Linux ZN-ZID-Idavode-Ruriva ~ Button.zn"},
               {1, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"},
               {2, "Linux ZN-ZID-Idavode-Ruriva ~ /lib/Gtk/Button.zn"},
               {7, "Linux ZN-ZID-Idavode-Ruriva ~ /lib/Gtk/Button.zn"}};
  for (const Case& c : cases) {
    appSettings.SourceInTitle = c.setting;
    base::appState.currentCodeFile.clear();
    base::appState.missingFileWarning = 0;
    selectRow(5);
    EXPECT_EQ(c.title, windowTitle()) << "SourceInTitle " << c.setting;
  }
  appSettings.Lib_path = "";
  appSettings.SourceInTitle = 2;
  base::appState.currentCodeFile.clear();
  selectRow(5);
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva ~ " + dir.path() + "Gtk/Button.zn", windowTitle())
      << "the full path, from the program folder";
  selectRow(7);  // a topic without a file
  EXPECT_EQ("Linux ZN-ZID-Idavode-Ruriva", windowTitle());
}

TEST_F(MainWindowTest, NodeToggleAndExpandAll) {
  GtkTreeView* tree = base::topicTreeView();
  GtkTreeIter iter;
  ASSERT_TRUE(database::topicRowIter(3, &iter));
  GtkTreePath* path = gtk_tree_model_get_path(gtk_tree_view_get_model(tree), &iter);
  app::expandAll(false);
  database::selectTopicRow(tree, 0);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::LeftDoubleClick);
  dispatchPending();
  EXPECT_FALSE(gtk_tree_view_row_expanded(tree, path)) << "only one level opens";
  EXPECT_EQ(0, database::selectedTopicRow(tree));

  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl]), FALSE);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl]), TRUE);
  dispatchPending();
  EXPECT_TRUE(gtk_tree_view_row_expanded(tree, path));
  gtk_tree_path_free(path);
}

TEST_F(MainWindowTest, DragOffersAnExistingSnippetAsFileUri) {
  selectRow(5);
  const std::string uri = app::selectedTopicDragUri();
  gchar* expected = g_filename_to_uri((dir.path() + "Gtk/Button.zn").c_str(), nullptr, nullptr);
  EXPECT_EQ(expected, uri);
  g_free(expected);
  base::appState.missingFileWarning = 0;
  selectRow(6);  // the file does not exist
  EXPECT_EQ("", app::selectedTopicDragUri());
  selectRow(3);  // a group without a file
  EXPECT_EQ("", app::selectedTopicDragUri());
}

TEST_F(MainWindowTest, EscapeAndCloseEndTheProgramAndF5SwitchesWrap) {
  base::postMenuEvent(base::MainWindowNo, base::LineWrapMenuItem);
  dispatchPending();
  EXPECT_EQ(GTK_WRAP_WORD, gtk_text_view_get_wrap_mode(base::codeView()));
  base::postMenuEvent(base::MainWindowNo, base::LineWrapMenuItem);
  dispatchPending();
  EXPECT_EQ(GTK_WRAP_NONE, gtk_text_view_get_wrap_mode(base::codeView()));
  EXPECT_EQ(0, base::appState.quitRequested);
  base::postMenuEvent(base::MainWindowNo, base::EscapeMenuItem);
  dispatchPending();
  EXPECT_EQ(1, base::appState.quitRequested);
}

TEST_F(MainWindowTest, QuickCopyPutsTheWholeCodeOnTheClipboard) {
  selectRow(5);
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "before", -1);
  base::postWidgetEvent(base::MainWindowNo, base::CopyButtonControl, base::EventType::LeftClick);
  dispatchPending();
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  EXPECT_STREQ("Button code\nsecond", text);
  g_free(text);
}

TEST_F(MainWindowTest, EventQueueDropsARepeatOfTheTailEvent) {
  base::clearEvents();
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::LeftClick);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
  EXPECT_EQ(3u, base::pendingEvents().size());
  base::clearEvents();
}

}  // namespace
