// A main window over a small library in a scratch folder, for in-process GUI tests.
#pragma once

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/gui_fixture.h"
#include "support/temp_dir.h"

namespace testing_support {

// The scratch library: the database text and the snippet files it names.
std::string smallLibraryDatabase();

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads the database text as the document and rebuilds the tree.
  void loadLibrary(const std::string& databaseText);
  // Puts a fake program first on PATH that appends its arguments, one line per call,
  // to <name>.log in the scratch folder.
  void fakeProgram(const std::string& name);
  std::string programLog(const std::string& name) const;
  // Waits until the program's log holds the given number of lines.
  bool waitForProgramCalls(const std::string& name, size_t calls, int timeoutMs = 5000) const;

  // Runs every queued event through the dispatcher.
  void dispatchPending();
  // Runs the queued events until the condition holds, as the program's loop does.
  bool dispatchUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
  // Selects a row as a user would (a change event), then dispatches it.
  void selectRow(int row);
  void clickRow(int row);
  std::string codeText() const;
  std::string descriptionText() const;
  std::string windowTitle() const;
  std::string clipboardText() const;

  TempDir dir;
  DialogRecorder dialogs;

 private:
  std::string savedPath_;
};

}  // namespace testing_support
