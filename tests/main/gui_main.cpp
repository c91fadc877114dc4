// Test entry for in-process GUI tests: a display of their own, the toolkit, a home
// of their own for what the toolkit keeps (the recently used files of the file
// chooser), and every toolkit warning turned into a failure.
#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include "support/gui_fixture.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

int main(int argc, char** argv) {
  setlocale(LC_ALL, "C.UTF-8");
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  testing_support::TempDir home;
  home.write(".local/share/.keep", "");
  setenv("XDG_DATA_HOME", (home.path() + ".local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home.path() + ".config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home.path() + ".cache").c_str(), 1);
  if (!testing_support::usePrivateDisplay()) {
    std::fprintf(stderr, "no X display could be started\n");
    return 1;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "the toolkit cannot open the display\n");
    return 1;
  }
  g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  return RUN_ALL_TESTS();
}
