// Records the program's dialogs in tests that run without a toolkit.
#pragma once

#include <string>
#include <vector>

#include "base/dialogs.h"

namespace testing_support {

class RecordedDialogs {
 public:
  RecordedDialogs() {
    previous_ = base::setDialogHandler([this](const base::DialogRequest& request) {
      requests.push_back(request);
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }
  ~RecordedDialogs() { base::setDialogHandler(previous_); }
  RecordedDialogs(const RecordedDialogs&) = delete;
  RecordedDialogs& operator=(const RecordedDialogs&) = delete;

  std::vector<base::DialogRequest> requests;
  std::vector<std::string> answers;

 private:
  base::DialogHandler previous_;
};

}  // namespace testing_support
