// Showing a 5,000-line snippet highlighted, from setting the text to the end of the first
// complete paint, against showing the same text without highlighting. Goal: ratio <= 3.
// Needs a display: run it under xvfb-run when none is set (scripts/run-benchmarks.sh does).
#include <algorithm>
#include <cstdio>
#include <string>

#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "bench_timing.h"
#include "config/app_settings.h"
#include "viewer/highlight_passes.h"
#include "viewer/highlighter_gtk.h"

namespace {

// A snippet like the library's: declarations, calls, constants, literals, comments and
// a link comment every 250 lines.
std::string snippetOfLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const std::string n = std::to_string(i % 40);
    switch (i % 8) {
      case 0: text += "Procedure.i Handler" + n + "(*widget, *event, *userData)"; break;
      case 1: text += "  Protected *label = gtk_label_new(\"Zeile " + n + "; mit Text\")"; break;
      case 2: text += "  If *event And PeekL(*event) = #GDK_BUTTON_PRESS ; ein Klick"; break;
      case 3:
        text += "    Handler" + std::to_string((i - 3) % 40) + "(*widget, #Null, #Null) : g_free(*label)";
        break;
      case 4: text += "  EndIf"; break;
      case 5:
        text += i % 250 == 5 ? "; Link to topic:   Modal dialog with buttons" : "  ProcedureReturn #True";
        break;
      case 6: text += "EndProcedure"; break;
      default: text += ""; break;
    }
    if (i + 1 < lines) text += '\n';
  }
  return text;
}

int exposures = 0;

gboolean onCodeViewExpose(GtkWidget*, GdkEventExpose*, gpointer) {
  ++exposures;
  return FALSE;
}

// Runs the toolkit until nothing is pending and the view has painted since `before`.
void waitForPaint(int before) {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  while (exposures == before) {
    gdk_window_process_all_updates();
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }
}

void showText(GtkTextBuffer* buffer, const std::string& text, bool highlighted) {
  const int before = exposures;
  gtk_text_buffer_set_text(buffer, text.c_str(), static_cast<gint>(text.size()));
  if (highlighted) viewer::highlightCodeView(base::codeView());
  waitForPaint(before);
}

void emptyView(GtkTextBuffer* buffer) {
  gtk_text_buffer_set_text(buffer, "", 0);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_highlight needs a display: run it under xvfb-run -a\n");
    return 2;
  }
  const std::string folder = std::string(g_get_tmp_dir()) + "/";
  base::resetAppState(folder);
  resetAppSettings(folder);
  appSettings.CodeMarks = 2;
  app::createPopupMenus();
  if (!app::buildMainWindow()) return 1;
  gtk_widget_show(base::mainWindow.window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  g_signal_connect_after(base::codeView(), "expose-event", G_CALLBACK(onCodeViewExpose), nullptr);

  const std::string text = snippetOfLines(5000);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
  bench::PairTimes best;
  for (int turn = 0; turn < 9; ++turn) {
    emptyView(buffer);
    auto plain = [&] { showText(buffer, text, false); };
    best.baselineMs = std::min(best.baselineMs, bench::elapsedMilliseconds(plain));
    emptyView(buffer);
    auto highlighted = [&] { showText(buffer, text, true); };
    best.measuredMs = std::min(best.measuredMs, bench::elapsedMilliseconds(highlighted));
  }
  double planMs = 1e300;
  for (int turn = 0; turn < 9; ++turn) {
    auto plan = [&] { viewer::planHighlighting(text, 2); };
    planMs = std::min(planMs, bench::elapsedMilliseconds(plan));
  }
  std::printf("highlight passes on the plain text (5,000 lines): %.2f ms\n", planMs);
  const bool met = bench::reportRatio("highlighted code view (5,000 lines)", "highlighted", best.measuredMs,
                                      "plain text", best.baselineMs, 3.0);
  return met ? 0 : 1;
}
