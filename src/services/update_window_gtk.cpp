// Builds the update window, created hidden at start-up.
#include "services/update_window_gtk.h"

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/text_fit_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/interface_texts.h"
#include "config/message_texts.h"
#include "database/topic_index.h"
#include "services/update_check.h"

namespace services {

UpdateWindow updateWindow;

namespace {

constexpr int windowWidth = 640;
constexpr int windowHeight = 105;
// The failure line below the three rows makes the window this much taller.
constexpr int failureLineHeight = 27;

config::MessageText failureMessage(UpdateFailure failure) {
  switch (failure) {
    case UpdateFailure::NoHttpLibrary: return config::UpdateFailedNoHttpLibrary;
    case UpdateFailure::TimedOut: return config::UpdateFailedTimedOut;
    case UpdateFailure::Unreachable: return config::UpdateFailedUnreachable;
    case UpdateFailure::TooLarge: return config::UpdateFailedTooLarge;
    case UpdateFailure::NotAVersionFile: return config::UpdateFailedNotAVersionFile;
    case UpdateFailure::None:
    case UpdateFailure::TransferBroken: break;
  }
  return config::UpdateFailedTransfer;
}

GtkWidget* newFailureLine(GtkWidget* fixed) {
  GtkWidget* label = gtk_label_new("");
  gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
  gtk_widget_set_size_request(label, windowWidth - 10, 22);
  base::keepTextInside(label);
  gtk_fixed_put(GTK_FIXED(fixed), label, 5, windowHeight);
  return label;
}

}  // namespace

void createUpdateWindow() {
  TRACE_LINE();
  GtkWidget* fixed = nullptr;
  GtkWidget* window =
      base::newUtilityWindow("Zarnel-Linux-API-Viewer: Update check", windowWidth, windowHeight, &fixed);
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
  updateWindow.failureText = newFailureLine(fixed);
}

void showUpdateWindow() {
  if (updateWindow.window) gtk_window_present(GTK_WINDOW(updateWindow.window));
}

void runUpdateCheck() {
  TRACE_LINE();
  const UpdateCheck check = checkForUpdates(updateInfo, database::DbDate);
  showUpdateFailure(check.failure);
  if (check.failure != UpdateFailure::None) return;
  for (int row = 0; row < base::updateRowCount; ++row)
    gtk_entry_set_text(GTK_ENTRY(updateWindow.result[row]), check.texts[row].c_str());
}

void showUpdateFailure(UpdateFailure failure) {
  GtkWidget* line = updateWindow.failureText;
  if (!line) return;
  const bool failed = failure != UpdateFailure::None;
  gtk_label_set_text(GTK_LABEL(line), failed ? config::messageText(failureMessage(failure)).c_str() : "");
  gtk_widget_set_visible(line, failed);
  gtk_widget_set_size_request(updateWindow.window, windowWidth,
                              windowHeight + (failed ? failureLineHeight : 0));
}

void hideUpdateWindow() {
  if (updateWindow.window) gtk_widget_hide(updateWindow.window);
}

}  // namespace services
