// Builds the main window: the tool row, the topic tree, the description and the code view.
#include "app/main_window_gtk.h"

#include "app/administrator_mode.h"
#include "app/main_window_rules.h"
#include "app/main_window_signals_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/fonts_gtk.h"
#include "base/text_fit_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "config/interface_texts.h"
#include "database/topic_tree_gtk.h"
#include "resources/pictures_gtk.h"
#include "search/find_bar_gtk.h"

namespace app {

namespace {

struct PictureButton {
  int control;
  const char* picture;
  int x;
};

// Right-aligned picture buttons at their places for the default 800 pixel width.
const PictureButton toolButtons[] = {
    {base::CopyButtonControl, "copy", 666},
    {base::SettingsButtonControl, "settings", 696},
    {base::HelpButtonControl, "help", 736},
    {base::InfoButtonControl, "info", 766},
};

// The client area may shrink below what its children ask for; the window's own
// minimum size keeps it usable.
void onFixedSizeRequest(GtkWidget*, GtkRequisition* requisition, gpointer) {
  requisition->width = 1;
  requisition->height = 1;
}

GtkWidget* newShrinkableFixed() {
  GtkWidget* fixed = gtk_fixed_new();
  g_signal_connect_after(fixed, "size-request", G_CALLBACK(onFixedSizeRequest), nullptr);
  return fixed;
}

void place(GtkWidget* widget, int control, int x, int y, int width, int height) {
  gtk_widget_set_size_request(widget, width, height);
  gtk_fixed_put(GTK_FIXED(base::mainWindow.toolRow), widget, x, y);
  if (control >= 0) base::mainWindow.control[control] = widget;
}

GtkWidget* newPictureButton(const char* picture) {
  GtkWidget* image = resources::pictureImage(picture);
  if (!image) return nullptr;
  GtkWidget* button = gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(button), image);
  gtk_button_set_focus_on_click(GTK_BUTTON(button), FALSE);
  return button;
}

void createNodeToggle() {
  TRACE_LINE();
  GtkWidget* image = resources::pictureImage("node-toggle");
  if (!image) return;
  GtkWidget* toggle = gtk_toggle_button_new();
  gtk_button_set_image(GTK_BUTTON(toggle), image);
  gtk_button_set_relief(GTK_BUTTON(toggle), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(toggle), FALSE);
  place(toggle, base::NodeToggleControl, 5, 4, 30, 30);
}

void createSearchRow() {
  TRACE_LINE();
  GtkWidget* find = gtk_button_new_with_label("");
  gtk_button_set_image(GTK_BUTTON(find), gtk_image_new_from_stock(GTK_STOCK_FIND, GTK_ICON_SIZE_MENU));
  gtk_button_set_image_position(GTK_BUTTON(find), GTK_POS_LEFT);
  gtk_button_set_relief(GTK_BUTTON(find), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(find), FALSE);
  place(find, base::FindButtonControl, 37, 2, 28, 28);
  place(gtk_entry_new(), base::SearchFieldControl, 65, 3, 115, 28);
}

// The admin button exists in both variants; the user's variant keeps it hidden.
void createAdminControls() {
  TRACE_LINE();
  GtkWidget* admin = newPictureButton("admin");
  if (admin) place(admin, base::AdminButtonControl, 420, 2, 30, 30);
  if (!administratorMode) {
    if (admin) gtk_widget_set_no_show_all(admin, TRUE);
    return;
  }
  if (admin) gtk_widget_set_tooltip_text(admin, "Popup admin menue");
  const Rect labels[] = {{452, 2, 80, 16}, {452, 17, 80, 16}, {522, 2, 80, 16}};
  for (int i = 0; i < 3; ++i) {
    GtkWidget* label = gtk_label_new(" ");
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
    base::keepTextInside(label);
    place(label, base::SourceLabelControl + i, labels[i].x, labels[i].y, labels[i].width, labels[i].height);
  }
}

void createToolButtons() {
  TRACE_LINE();
  GtkWidget* history = gtk_combo_box_new_text();
  gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(history), FALSE);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(history));
  if (cells) base::keepListItemsInside(history, GTK_CELL_RENDERER(cells->data));
  g_list_free(cells);
  place(history, base::HistoryListControl, 186, 2, 230, 30);
  for (const PictureButton& entry : toolButtons) {
    if (GtkWidget* button = newPictureButton(entry.picture)) place(button, entry.control, entry.x, 2, 30, 30);
  }
}

void createTopicTree() {
  TRACE_LINE();
  base::mainWindow.topicModel = database::createTopicModel();
  GtkWidget* tree = gtk_tree_view_new_with_model(base::mainWindow.topicModel);
  g_object_unref(base::mainWindow.topicModel);
  GtkTreeView* view = GTK_TREE_VIEW(tree);
  database::attachTopicColumns(view);
  gtk_tree_view_set_headers_visible(view, FALSE);
  gtk_tree_view_set_enable_tree_lines(view, TRUE);
  gtk_tree_view_set_enable_search(view, FALSE);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(view), GTK_SELECTION_SINGLE);
  base::mainWindow.control[base::TopicTreeControl] = tree;
  base::mainWindow.treeScroll = base::newScrolled(tree);
  gtk_widget_set_size_request(base::mainWindow.treeScroll, 100, -1);
}

// Where the code view starts in the code area; the find bar, while open, takes the
// bottom of the view's height.
constexpr int codeViewTop = 43;

GtkWidget* newReadOnlyText() {
  GtkWidget* text = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(text), FALSE);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(text), 4);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(text), 4);
  return text;
}

void createCodeArea() {
  TRACE_LINE();
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
  gtk_widget_set_size_request(frame, 100, -1);
  base::mainWindow.control[base::CodeContainerControl] = frame;
  base::mainWindow.codeArea = newShrinkableFixed();
  gtk_container_add(GTK_CONTAINER(frame), base::mainWindow.codeArea);

  GtkWidget* description = newReadOnlyText();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(description), GTK_WRAP_WORD);
  base::mainWindow.control[base::DescriptionControl] = description;
  base::mainWindow.descriptionScroll = base::newScrolled(description);
  gtk_widget_set_size_request(base::mainWindow.descriptionScroll, 432, 35);
  gtk_fixed_put(GTK_FIXED(base::mainWindow.codeArea), base::mainWindow.descriptionScroll, 1, 3);

  GtkWidget* code = newReadOnlyText();
  const GdkColor black = base::toGdkColor(base::rgb(0, 0, 0));
  const GdkColor background = base::toGdkColor(base::appState.codeViewBackground);
  gtk_widget_modify_text(code, GTK_STATE_NORMAL, &black);
  gtk_widget_modify_base(code, GTK_STATE_NORMAL, &background);
  if (base::codeFont) gtk_widget_modify_font(code, base::codeFont);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(code), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(code), GTK_WRAP_NONE);
  base::mainWindow.control[base::CodeViewControl] = code;
  base::mainWindow.codeScroll = base::newScrolled(code);
  gtk_widget_set_size_request(base::mainWindow.codeScroll, 432, 511);
  gtk_fixed_put(GTK_FIXED(base::mainWindow.codeArea), base::mainWindow.codeScroll, 1, codeViewTop);
  gtk_fixed_put(GTK_FIXED(base::mainWindow.codeArea), search::createFindBar(), 1, codeViewTop + 511);
}

void createSplitter() {
  TRACE_LINE();
  GtkWidget* paned = gtk_hpaned_new();
  gtk_paned_pack1(GTK_PANED(paned), base::mainWindow.treeScroll, FALSE, FALSE);
  gtk_paned_pack2(GTK_PANED(paned), base::mainWindow.control[base::CodeContainerControl], TRUE, FALSE);
  gtk_paned_set_position(GTK_PANED(paned), static_cast<gint>(appSettings.Splitter));
  place(paned, base::SplitterControl, 5, 35, 790, 562);
}

// The window starts with the built-in German tooltips; a language replaces them.
void setStartTooltips() {
  for (const config::InterfaceText& entry : config::interfaceTooltips()) {
    if (entry.place != config::TextPlace::Main) continue;
    if (GtkWidget* widget = base::mainWindow.control[entry.widget])
      gtk_widget_set_tooltip_text(widget, entry.german);
  }
}

void createCodeTabStops() {
  base::mainWindow.codeTabStops = pango_tab_array_new(1, FALSE);
  pango_tab_array_set_tab(base::mainWindow.codeTabStops, 0, PANGO_TAB_LEFT, 16 * 1024);
  gtk_text_view_set_tabs(base::codeView(), base::mainWindow.codeTabStops);
}

bool openWindow() {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!window) return false;
  base::mainWindow.window = window;
  gtk_window_set_title(GTK_WINDOW(window), programTitle);
  base::takeFocusWhenShown(window);
  gtk_window_set_default_size(GTK_WINDOW(window), static_cast<gint>(appSettings.WinWidth),
                              static_cast<gint>(appSettings.WinHight));
  if (appSettings.WinX != -1 || appSettings.WinY != -1)
    gtk_window_move(GTK_WINDOW(window), static_cast<gint>(appSettings.WinX),
                    static_cast<gint>(appSettings.WinY));
  gtk_window_set_resizable(GTK_WINDOW(window), TRUE);
  GdkGeometry minimum;
  minimum.min_width = 640;
  minimum.min_height = 400;
  gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &minimum, GDK_HINT_MIN_SIZE);
  base::mainWindow.toolRow = newShrinkableFixed();
  gtk_container_add(GTK_CONTAINER(window), base::mainWindow.toolRow);
  return true;
}

}  // namespace

bool buildMainWindow() {
  TRACE_LINE();
  if (!openWindow()) return false;
  createNodeToggle();
  createSearchRow();
  createAdminControls();
  createToolButtons();
  createTopicTree();
  createCodeArea();
  createSplitter();
  setStartTooltips();
  gtk_widget_add_events(base::mainWindow.control[base::CodeViewControl], GDK_SCROLL_MASK);
  setNodeToggle(true);
  createCodeTabStops();
  addMainShortcuts();
  connectMainWindowSignals();
  gtk_widget_show_all(base::mainWindow.toolRow);
  return true;
}

void setNodeToggle(bool pressed) {
  GtkWidget* toggle = base::mainWindow.control[base::NodeToggleControl];
  if (!toggle) return;
  {
    base::ProgramChange guard;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(toggle), pressed);
  }
  showNodeTogglePicture();
}

void showNodeTogglePicture() {
  GtkWidget* toggle = base::mainWindow.control[base::NodeToggleControl];
  if (!toggle) return;
  const bool pressed = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle));
  if (GtkWidget* image = resources::pictureImage(pressed ? "node-toggle-pressed" : "node-toggle"))
    gtk_button_set_image(GTK_BUTTON(toggle), image);
}

void destroyMainWindow() {
  if (base::mainWindow.codeTabStops) pango_tab_array_free(base::mainWindow.codeTabStops);
  base::mainWindow.codeTabStops = nullptr;
  search::forgetFindBar();
  if (base::mainWindow.window) gtk_widget_destroy(base::mainWindow.window);
  base::mainWindow = base::MainWindow();
}

void layoutMainWindow(bool withSplitter) {
  TRACE_LINE();
  if (!base::mainWindow.window) return;
  GtkAllocation client;
  gtk_widget_get_allocation(base::mainWindow.toolRow, &client);
  const ToolButtonPlaces places = toolButtonPlaces(client.width);
  const std::pair<int, int> moves[] = {{base::InfoButtonControl, places.infoX},
                                       {base::HelpButtonControl, places.helpX},
                                       {base::SettingsButtonControl, places.settingsX},
                                       {base::CopyButtonControl, places.copyX}};
  for (const auto& move : moves) {
    if (GtkWidget* button = base::mainWindow.control[move.first])
      gtk_fixed_move(GTK_FIXED(base::mainWindow.toolRow), button, move.second, 2);
  }
  if (withSplitter) {
    const Rect splitter = splitterRect(client.width, client.height);
    gtk_widget_set_size_request(base::mainWindow.control[base::SplitterControl], splitter.width,
                                splitter.height);
  }
  GtkAllocation container;
  gtk_widget_get_allocation(base::mainWindow.control[base::CodeContainerControl], &container);
  const CodeAreaSizes sizes = codeAreaSizes(container.width, container.height);
  int descriptionHeight = 35;
  gtk_widget_get_size_request(base::mainWindow.descriptionScroll, nullptr, &descriptionHeight);
  gtk_widget_set_size_request(base::mainWindow.descriptionScroll, std::max(sizes.descriptionWidth, 1),
                              descriptionHeight);
  const int barHeight = search::findBarIsOpen() ? search::findBarHeight : 0;
  const int codeHeight = std::max(sizes.codeHeight - barHeight, 1);
  gtk_widget_set_size_request(base::mainWindow.codeScroll, std::max(sizes.codeWidth, 1), codeHeight);
  if (barHeight == 0) return;
  gtk_fixed_move(GTK_FIXED(base::mainWindow.codeArea), search::findBar.bar, 1, codeViewTop + codeHeight);
  gtk_widget_set_size_request(search::findBar.bar, std::max(sizes.codeWidth, 1), barHeight);
}

}  // namespace app
