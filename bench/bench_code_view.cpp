// Loading a 5,000-line snippet into the code view, against inserting the same
// text into the view's buffer in one call. Goal: ratio <= 2.
// Needs a display: run it under xvfb-run when none is set.
#include <cstdio>
#include <string>

#include <glib/gstdio.h>
#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "bench_timing.h"
#include "config/app_settings.h"
#include "snippet_window.h"
#include "viewer/code_file.h"
#include "viewer/code_view_gtk.h"

namespace {

std::string snippetOfLines(int lines) {
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < lines; ++i)
    text += "  gtk_widget_show_all(*window) ; Fenster zeigen, Zeile " + std::to_string(i) + "\r\n";
  return text + "; IDE Options = Zarnel\n; EnableUnicode\n; SubSystem = gtk2\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string library =
      bench::showWindowOnSnippet("bench_code_view", &argc, &argv, snippetOfLines(5000));
  if (library.empty()) return 1;
  const std::string file = library + "Long.zn";
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);

  const std::string shownText = viewer::readCodeFile(file).text;
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
  const bench::PairTimes times = bench::bestOfTurns(
      15, [&] { viewer::loadCodeFile("Long.zn", 0); },
      [&] { gtk_text_buffer_set_text(buffer, shownText.c_str(), static_cast<gint>(shownText.size())); });
  const bool met = bench::reportRatio("code view load (5,000 lines)", "loadCodeFile", times.measuredMs,
                                      "one buffer insert", times.baselineMs, 2.0);
  g_unlink(file.c_str());
  g_rmdir(library.c_str());
  return met ? 0 : 1;
}
