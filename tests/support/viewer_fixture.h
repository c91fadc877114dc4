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
  // Selects a row as a user does with the keyboard: the cursor stands on it and Space
  // selects it; the change is dispatched, and the focus goes back where it was.
  void selectRow(int row);
  // Clicks the row with the mouse and dispatches what the click raised.
  void clickRow(int row);
  // The middle of a row's text, in the tree's own coordinates, once it is scrolled into view.
  GdkPoint rowPoint(int row);
  std::string codeText() const;
  std::string descriptionText() const;
  std::string windowTitle() const;
  std::string clipboardText() const;

  TempDir dir;
  RecordedDialogs dialogs;

 private:
  std::string savedPath_;
};

}  // namespace testing_support
