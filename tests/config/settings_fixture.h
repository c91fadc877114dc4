// A program folder of its own, fresh settings and recorded dialogs for each settings test.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "config/app_settings.h"
#include "config/settings_store.h"
#include "support/temp_dir.h"

namespace testing_support {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(folder.path());
    resetAppSettings(folder.path());
    config::setScreenLimits({});
    config::setCodeFontLoader(nullptr);
    config::setWindowGeometrySource(nullptr);
    previousHandler_ = base::setDialogHandler([this](const base::DialogRequest& request) {
      dialogs.push_back(request);
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }

  void TearDown() override {
    base::setDialogHandler(previousHandler_);
    config::setCodeFontLoader(nullptr);
    config::setWindowGeometrySource(nullptr);
    config::setScreenLimits({});
  }

  std::string settingsPath() const { return folder.file("DizerEZ VAV-AruRuvove.ini"); }
  void writeSettings(const std::string& bytes) const { writeFile(settingsPath(), bytes); }
  std::string settingsBytes() const { return readFile(settingsPath()); }
  // The file as the program writes it: the mark, one empty line, then the lines.
  static std::string written(const std::string& lines) { return "\xEF\xBB\xBF\n" + lines; }

  TempDir folder;
  std::vector<base::DialogRequest> dialogs;
  std::vector<std::string> answers;

 private:
  base::DialogHandler previousHandler_;
};

}  // namespace testing_support
