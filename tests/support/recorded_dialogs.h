// Records the program's dialogs in tests that run without a toolkit.
#pragma once

#include <string>
#include <vector>

#include "app/dialogs.h"

namespace testing_support {

class RecordedDialogs {
 public:
  RecordedDialogs() {
    previous_ = app::setDialogHandler([this](const app::DialogRequest& request) {
      requests.push_back(request);
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }
  ~RecordedDialogs() { app::setDialogHandler(previous_); }
  RecordedDialogs(const RecordedDialogs&) = delete;
  RecordedDialogs& operator=(const RecordedDialogs&) = delete;

  std::vector<app::DialogRequest> requests;
  std::vector<std::string> answers;

 private:
  app::DialogHandler previous_;
};

}  // namespace testing_support
