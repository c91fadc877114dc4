// The main window of the benchmarks that time one long snippet: a scratch library
// holding the snippet "Long.zn", the program's state and settings reset to it, the
// popup menus and the main window built and shown.
#pragma once

#include <cstdio>
#include <string>

#include <glib/gstdio.h>
#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "config/app_settings.h"

namespace bench {

// The library folder (ending in "/"), or empty when there is no display or the window
// cannot be made; what went wrong is printed under the benchmark's name.
inline std::string showWindowOnSnippet(const char* benchName, int* argc, char*** argv,
                                       const std::string& bytes) {
  if (!gtk_init_check(argc, argv)) {
    std::fprintf(stderr, "%s needs a display: run it under xvfb-run -a\n", benchName);
    return std::string();
  }
  char* folder = g_dir_make_tmp("zn-bench-XXXXXX", nullptr);
  const std::string library = std::string(folder) + "/";
  g_free(folder);
  base::resetAppState(library);
  resetAppSettings(library);
  const std::string file = library + "Long.zn";
  if (!g_file_set_contents(file.c_str(), bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) {
    std::fprintf(stderr, "%s cannot write %s\n", benchName, file.c_str());
    return std::string();
  }
  app::createPopupMenus();
  if (!app::buildMainWindow()) {
    std::fprintf(stderr, "%s cannot build the main window\n", benchName);
    return std::string();
  }
  gtk_widget_show(base::mainWindow.window);
  return library;
}

}  // namespace bench
