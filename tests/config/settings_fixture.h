// A program folder of its own, fresh settings and recorded dialogs for each settings test.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "config/app_settings.h"
#include "config/settings_store.h"
#include "support/temp_dir.h"

namespace testing_support {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppState(folder.path());
    resetAppSettings(folder.path());
    config::setScreenLimits({});
    config::setCodeFontLoader(nullptr);
    config::setWindowGeometrySource(nullptr);
    previousHandler_ = app::setDialogHandler([this](const app::DialogRequest& request) {
      dialogs.push_back(request);
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }

  void TearDown() override {
    app::setDialogHandler(previousHandler_);
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
  std::vector<app::DialogRequest> dialogs;
  std::vector<std::string> answers;

 private:
  app::DialogHandler previousHandler_;
};

}  // namespace testing_support
