// Helpers for in-process GUI tests: pumping the main loop with a time limit
// and recording the dialogs the program would show.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "support/recorded_dialogs.h"

namespace testing_support {

// Runs pending toolkit work until the condition holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!gtk_events_pending()) g_usleep(1000);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }
  return true;
}

// Runs everything the toolkit has pending right now.
inline void pumpPending() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace testing_support
