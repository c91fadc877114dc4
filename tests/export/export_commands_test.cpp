// The export commands in bad surroundings and on big input: missing, read-only or
// blocked export folders, missing templates, failing writes, huge titles and libraries.
#include "export/export_commands.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/app_state.h"
#include "support/owned_texts.h"
#include "support/temp_dir.h"

namespace {

using exports::ExportRow;
using testing_support::readFile;

testing_support::OwnedTexts entryTexts;

ExportRow row(int level, const std::string& text, const std::string& file = "") {
  ExportRow made{level, text, {}};
  made.entry.FunctionDe = made.entry.FunctionEn = entryTexts(text);
  made.entry.File = entryTexts(file);
  return made;
}

struct Command {
  const char* outputName;
  std::function<std::string(const std::vector<ExportRow>&)> run;
  const char* failure;  // "" for a command that fails without a word
};

const Command commands[] = {
    {"ZN-LinuxAPI-Lib.html",
     [](const auto& rows) {
       return exports::saveWebPage(rows, {6, 12, 2026});
     },
     ""},
    {"ForumPosting.txt",
     [](const auto& rows) { return exports::saveForumPosting(rows, exports::PostingMode::All); },
     "Couldn't create\n"},
    {"FileList.txt", exports::saveFileList, "Couldn't create\n"},
    {"Protocoll.txt",
     [](const auto& rows) {
       std::vector<database::IndexEntry> entries;
       for (const ExportRow& exported : rows) entries.push_back(exported.entry);
       return exports::saveDuplicatesReport(entries);
     },
     "Couldn't create Protokoll\n"},
};

std::string expectedFailure(const Command& command) {
  return *command.failure ? command.failure + base::appState.exportFolder + command.outputName : "";
}

// Root writes into any folder: the work then runs as an ordinary user in a child.
int unprivileged(const std::function<int()>& work) {
  if (geteuid() != 0) return work();
  const pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? work() : 101);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

class ExportCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(dir.path());
    base::appState.exportFolder = dir.path() + "Export/";
    base::appState.templatesFolder = dir.path() + "Templates/";
  }
  void TearDown() override { base::resetAppState(""); }

  const std::vector<ExportRow> rows = {row(1, "A"), row(2, "a1", "x/1.zn"), row(2, "a1", "y/1.zn")};
  testing_support::TempDir dir;
};

TEST_F(ExportCommandsTest, MissingReadOnlyOrBlockedExportFolderReportsOrEndsSilently) {
  for (const Command& command : commands) EXPECT_EQ(command.run(rows), expectedFailure(command));
  ASSERT_EQ(g_mkdir(base::appState.exportFolder.c_str(), 0555), 0);
  ASSERT_EQ(g_chmod(dir.path().c_str(), 0755), 0);
  for (const Command& command : commands) {
    EXPECT_EQ(unprivileged([&] { return command.run(rows) == expectedFailure(command) ? 0 : 1; }), 0)
        << command.outputName;
  }
  EXPECT_FALSE(g_file_test((base::appState.exportFolder + "FileList.txt").c_str(), G_FILE_TEST_EXISTS));
  ASSERT_EQ(g_rmdir(base::appState.exportFolder.c_str()), 0);
  dir.write("Export", "a file where the folder should be");
  for (const Command& command : commands) EXPECT_EQ(command.run(rows), expectedFailure(command));
}

TEST_F(ExportCommandsTest, FailedWriteIsNoSuccessAndLeavesNoHalfFile) {
  ASSERT_EQ(g_mkdir(base::appState.exportFolder.c_str(), 0755), 0);
  const std::string longer(4096, 'x');
  const std::vector<ExportRow> big = {row(1, longer), row(2, longer, longer), row(2, longer, longer)};
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  for (const Command& command : commands) {
    rlimit limit = saved;
    limit.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = command.run(big);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(message, expectedFailure(command));
    EXPECT_FALSE(g_file_test((base::appState.exportFolder + command.outputName).c_str(), G_FILE_TEST_EXISTS));
  }
  std::signal(SIGXFSZ, previousSignal);
}

TEST_F(ExportCommandsTest, MissingTemplatesContributeNothing) {
  ASSERT_EQ(g_mkdir(base::appState.exportFolder.c_str(), 0755), 0);
  // A folder in place of the head template cannot be read either.
  ASSERT_EQ(g_mkdir_with_parents((base::appState.templatesFolder + "ZN-LinuxAPI-Head.html").c_str(), 0755),
            0);
  EXPECT_EQ(commands[0].run({}),
            "html-Export done to ...\n" + base::appState.exportFolder + "ZN-LinuxAPI-Lib.html");
  const std::string page = readFile(base::appState.exportFolder + "ZN-LinuxAPI-Lib.html");
  EXPECT_EQ(page.substr(0, 7), "<br />\n");
  EXPECT_EQ(page.substr(page.size() - 13), "</span>\n</p>\n");
}

TEST_F(ExportCommandsTest, HugeTitlesAndTenThousandTopicsAreWrittenWhole) {
  ASSERT_EQ(g_mkdir(base::appState.exportFolder.c_str(), 0755), 0);
  const std::string huge(100 * 1024, 'x');
  std::vector<ExportRow> library = {row(1, "G " + huge), row(2, huge, "huge.zn")};
  for (int topic = 0; topic < 10000; ++topic) {
    if (topic % 100 == 0) library.push_back(row(1, "G" + std::to_string(topic)));
    library.push_back(row(2, "'<&>\t[" + std::to_string(topic), std::to_string(topic) + ".zn"));
  }
  for (const Command& command : commands)
    EXPECT_NE(command.run(library).find("done to ...\n"), std::string::npos);
  const std::string fileList = readFile(base::appState.exportFolder + "FileList.txt");
  EXPECT_EQ(std::count(fileList.begin(), fileList.end(), '\n'), 10001);
  const std::string posting = readFile(base::appState.exportFolder + "ForumPosting.txt");
  EXPECT_NE(posting.find("[b]G " + huge + "[/b]: \t" + huge + "\n"), std::string::npos);
  EXPECT_NE(posting.find("[b]G9900[/b]: \t'<&>\t[9999\n"), std::string::npos);
}

}  // namespace
