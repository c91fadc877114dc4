// The main window: its widgets by number, its layout and the behaviours that live in them.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "app/main_gadgets.h"
#include "app/menu_items.h"

namespace app {

struct MainWindow {
  GtkWidget* window = nullptr;
  GtkWidget* toolRow = nullptr;  // fixed container of the client area
  GtkWidget* gadget[MainGadgetCount] = {};
  GtkWidget* treeScroll = nullptr;
  GtkWidget* codeArea = nullptr;  // fixed container inside frame 12
  GtkWidget* descriptionScroll = nullptr;
  GtkWidget* codeScroll = nullptr;
  GtkTreeModel* topicModel = nullptr;
  GtkWidget* adminMenu = nullptr;
  GtkWidget* infoMenu = nullptr;
  GtkAccelGroup* shortcuts = nullptr;
  PangoTabArray* codeTabStops = nullptr;
};

extern MainWindow mainWindow;
// The items of both popup menus by their menu-item number.
extern GtkWidget* popupMenuItems[MenuItemCount];

GtkTreeView* topicTreeView();
GtkTextView* codeView();
GtkTextView* descriptionView();

// Start-up creates the two popup menus before the window exists.
void createPopupMenus();
// A usable code editor names itself on the open-code entry, in every language.
void showEditorOnOpenCodeEntry();
// Builds the main window hidden; false when it cannot be opened.
bool buildMainWindow();
void destroyMainWindow();

void layoutMainWindow(bool withSplitter);
// Sets the node toggle's state (and its picture) without raising an event.
void setNodeToggle(bool pressed);
void showNodeTogglePicture();
// A 200 ms background flash acknowledging an action.
void flashGadget(int gadgetNumber);
void flashWidget(GtkWidget* widget, bool codeColour);

void recordHistory(int row);
// The tree row of the entry chosen in the history list, -1 when none is chosen.
int chosenHistoryRow();
void clearHistory();
void expandAll(bool open);
void toggleSelectedNode();
void quickCopy();
void switchLineWrap();

void setMainTitle(const std::string& title);
// The zoom handler of the code view (scroll-event); exposed for tests.
gboolean onCodeViewScroll(GtkWidget* widget, GdkEventScroll* event, gpointer);

// Sets a property label (2 to 4); does nothing without administrator mode, which alone
// creates them.
void setPropertyLabel(int gadgetNumber, const std::string& text);

// The file URI that dragging the selected topic offers, or "" when no drag starts.
std::string selectedTopicDragUri();
void startTopicDrag();

// Opens a popup menu at the pointer.
void popupMenu(GtkWidget* menu);

}  // namespace app
