// The update window: whether a newer program or library has been published.
#pragma once

#include <gtk/gtk.h>

#include "base/control_numbers.h"

namespace services {

struct UpdateWindow {
  GtkWidget* window = nullptr;
  // By row: the program, the GTK 3 program, the library.
  GtkWidget* label[base::updateRowCount] = {};
  GtkWidget* result[base::updateRowCount] = {};
};
extern UpdateWindow updateWindow;

void createUpdateWindow();
void showUpdateWindow();
void hideUpdateWindow();
// Checks on the calling thread and fills the result fields; they keep their texts when
// the check fails.
void runUpdateCheck();

}  // namespace services
