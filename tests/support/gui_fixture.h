// Helpers for in-process GUI tests: pumping the main loop with a time limit
// and recording the dialogs the program would show.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "app/dialogs.h"

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

// Records every dialog instead of showing it; answers with the queued answers
// in order, then with "".
class DialogRecorder {
 public:
  DialogRecorder() {
    previous_ = app::setDialogHandler([this](const app::DialogRequest& request) {
      requests.push_back(request);
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }
  ~DialogRecorder() { app::setDialogHandler(previous_); }
  DialogRecorder(const DialogRecorder&) = delete;
  DialogRecorder& operator=(const DialogRecorder&) = delete;

  std::vector<app::DialogRequest> requests;
  std::vector<std::string> answers;

 private:
  app::DialogHandler previous_;
};

}  // namespace testing_support
