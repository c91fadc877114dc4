// Builds the update window, created hidden at start-up.
#include "services/update_window_gtk.h"

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/text_fit_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/interface_texts.h"
#include "database/topic_index.h"
#include "services/update_check.h"

namespace services {

UpdateWindow updateWindow;

void createUpdateWindow() {
  TRACE_LINE();
  GtkWidget* fixed = nullptr;
  GtkWidget* window = base::newUtilityWindow("Zarnel-Linux-API-Viewer: Update check", 640, 105, &fixed);
  updateWindow.window = window;
  for (int row = 0; row < base::updateRowCount; ++row) {
    const std::string text =
        config::builtInText(config::TextPlace::Update, base::ProgramUpdateLabelControl + row);
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
    gtk_widget_set_size_request(label, 345, 22);
    base::keepTextInside(label);
    gtk_fixed_put(GTK_FIXED(fixed), label, 5, 15 + 30 * row);
    GtkWidget* result = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(result), FALSE);
    gtk_widget_set_size_request(result, 280, 26);
    gtk_fixed_put(GTK_FIXED(fixed), result, 355, 10 + 30 * row);
    updateWindow.label[row] = label;
    updateWindow.result[row] = result;
  }
  base::connectCloseAndEscape(window, base::UpdateWindowNo);
  gtk_widget_show_all(fixed);
}

void showUpdateWindow() {
  if (updateWindow.window) gtk_window_present(GTK_WINDOW(updateWindow.window));
}

void runUpdateCheck() {
  TRACE_LINE();
  const auto texts = checkForUpdates(updateInfo, database::DbDate);
  if (!texts) return;
  for (int row = 0; row < base::updateRowCount; ++row)
    gtk_entry_set_text(GTK_ENTRY(updateWindow.result[row]), (*texts)[row].c_str());
}

void hideUpdateWindow() {
  if (updateWindow.window) gtk_widget_hide(updateWindow.window);
}

}  // namespace services
