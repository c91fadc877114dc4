// The main window: its widgets by number, its layout and the behaviours that live in them.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "base/main_window_widgets_gtk.h"

namespace app {

// The items of both popup menus by their menu-item number.
extern GtkWidget* popupMenuItems[base::MenuItemCount];

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

void recordHistory(int row);
// Puts these rows, newest first, into the history and its list.
void setHistoryRows(const std::vector<int>& rows);
// Shows the code at a zoom level without the beep of the normal size; the normal size
// itself leaves the font as the settings make it.
void setZoomLevel(int level);
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
void setPropertyLabel(int controlNumber, const std::string& text);

// The file URI that dragging the selected topic offers, or "" when no drag starts.
std::string selectedTopicDragUri();
void startTopicDrag();

// Opens a popup menu at the pointer.
void popupMenu(GtkWidget* menu);

}  // namespace app
