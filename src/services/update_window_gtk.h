// The update window: whether a newer program or library has been published.
#pragma once

#include <gtk/gtk.h>

namespace services {

struct UpdateWindow {
  GtkWidget* window = nullptr;
  GtkWidget* label[3] = {};
  GtkWidget* result[3] = {};
};
extern UpdateWindow updateWindow;

void createUpdateWindow();
void showUpdateWindow();
void hideUpdateWindow();
// Checks on the calling thread and fills the result fields; they keep their texts when
// the check fails.
void runUpdateCheck();

}  // namespace services
