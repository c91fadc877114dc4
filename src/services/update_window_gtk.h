// The update window: whether a newer program or library has been published.
#pragma once

#include <gtk/gtk.h>

#include "base/control_numbers.h"
#include "services/update_check.h"

namespace services {

struct UpdateWindow {
  GtkWidget* window = nullptr;
  // By row: the program, the GTK 3 program, the library.
  GtkWidget* label[base::updateRowCount] = {};
  GtkWidget* result[base::updateRowCount] = {};
  // Below the rows, shown only after a failed check: why it failed.
  GtkWidget* failureText = nullptr;
};
extern UpdateWindow updateWindow;

void createUpdateWindow();
void showUpdateWindow();
void hideUpdateWindow();
// Checks on the calling thread and fills the result fields. They keep their texts when
// the check fails, and the window tells why instead.
void runUpdateCheck();
// Says in the window why the last check failed; None takes the text away.
void showUpdateFailure(UpdateFailure failure);

}  // namespace services
