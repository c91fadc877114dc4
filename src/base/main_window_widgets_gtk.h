// The main window's widgets by number, and the few things every layer does with them.
#pragma once

#include <gtk/gtk.h>

#include "base/control_numbers.h"

namespace base {

struct MainWindow {
  GtkWidget* window = nullptr;
  GtkWidget* toolRow = nullptr;  // fixed container of the client area
  GtkWidget* control[MainControlCount] = {};
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

GtkTreeView* topicTreeView();
GtkTextView* codeView();
GtkTextView* descriptionView();

// A 200 ms background flash acknowledging an action.
void flashGadget(int controlNumber);
void flashWidget(GtkWidget* widget, bool codeColour);

}  // namespace base
