// The export commands with bad surroundings and big input: missing, unwritable or
// blocked export folders, missing templates, failing writes, huge titles and libraries.
#include "export/export_commands.h"

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/app_state.h"
#include "export/export_test_support.h"
#include "support/temp_dir.h"

namespace {

using exports::ExportRow;
using testing_support::groupRow;
using testing_support::readFile;
using testing_support::topicRow;

struct Command {
  const char* outputName;
  std::function<std::string(const std::vector<ExportRow>&)> run;
  const char* failure;  // "" for a command that fails silently
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
       for (const ExportRow& row : rows) entries.push_back(row.entry);
       return exports::saveDuplicatesReport(entries);
     },
     "Couldn't create Protokoll\n"},
};

std::string expectedFailure(const Command& command) {
  if (!*command.failure) return "";
  return command.failure + appState.exportFolder + command.outputName;
}

// Lets no file of this process grow beyond a few bytes while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousSignal_)(int) = nullptr;
};

class ExportCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppState(dir.path());
    appState.exportFolder = dir.path() + "Export/";
    appState.templatesFolder = dir.path() + "Templates/";
  }
  void TearDown() override { resetAppState(""); }

  const std::vector<ExportRow> rows = {groupRow("A"), topicRow("a1", "x/1.zn"), topicRow("a1", "y/1.zn")};
  testing_support::TempDir dir;
};

TEST_F(ExportCommandsTest, MissingOrBlockedExportFolderReportsOrEndsSilently) {
  for (const bool folderIsAFile : {false, true}) {
    if (folderIsAFile) dir.write("Export", "a file where the folder should be");
    for (const Command& command : commands) {
      EXPECT_EQ(command.run(rows), expectedFailure(command)) << command.outputName;
    }
  }
  EXPECT_EQ(readFile(dir.path() + "Export"), "a file where the folder should be");
}

// Root writes into any folder; the check runs as an ordinary user in a child then.
int unprivileged(const std::function<int()>& work) {
  if (geteuid() != 0) return work();
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(101);
    _exit(work());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

TEST_F(ExportCommandsTest, ReadOnlyExportFolderReportsOrEndsSilently) {
  ASSERT_EQ(g_mkdir(appState.exportFolder.c_str(), 0555), 0);
  ASSERT_EQ(g_chmod(dir.path().c_str(), 0755), 0);
  for (const Command& command : commands) {
    const int matched = unprivileged([&] { return command.run(rows) == expectedFailure(command) ? 0 : 1; });
    EXPECT_EQ(matched, 0) << command.outputName;
  }
  EXPECT_EQ(g_remove((appState.exportFolder + "FileList.txt").c_str()), -1);
}

TEST_F(ExportCommandsTest, FailedWriteIsNoSuccessAndLeavesNoHalfFile) {
  ASSERT_EQ(g_mkdir(appState.exportFolder.c_str(), 0755), 0);
  const std::string longer(4096, 'x');
  const std::vector<ExportRow> big = {groupRow(longer), topicRow(longer, longer), topicRow(longer, longer)};
  for (const Command& command : commands) {
    std::string message;
    {
      const FileSizeLimit limit(1024);
      message = command.run(big);
    }
    EXPECT_EQ(message, expectedFailure(command)) << command.outputName;
    EXPECT_FALSE(g_file_test((appState.exportFolder + command.outputName).c_str(), G_FILE_TEST_EXISTS));
  }
}

TEST_F(ExportCommandsTest, MissingTemplatesContributeNothing) {
  ASSERT_EQ(g_mkdir(appState.exportFolder.c_str(), 0755), 0);
  EXPECT_EQ(commands[0].run({}),
            "html-Export done to ...\n" + appState.exportFolder + "ZN-LinuxAPI-Lib.html");
  const std::string page = readFile(appState.exportFolder + "ZN-LinuxAPI-Lib.html");
  EXPECT_EQ(page.substr(0, 7), "<br />\n");
  EXPECT_EQ(page.substr(page.size() - 13), "</span>\n</p>\n");

  // A folder in place of a template cannot be read either.
  ASSERT_EQ(g_mkdir_with_parents((appState.templatesFolder + "ZN-LinuxAPI-Head.html").c_str(), 0755), 0);
  commands[0].run({});
  EXPECT_EQ(readFile(appState.exportFolder + "ZN-LinuxAPI-Lib.html"), page);
}

TEST_F(ExportCommandsTest, HugeTitlesAndTenThousandTopicsAreWrittenWhole) {
  ASSERT_EQ(g_mkdir(appState.exportFolder.c_str(), 0755), 0);
  const std::string hugeTitle(100 * 1024, 'x');
  std::vector<ExportRow> library = {groupRow("G " + hugeTitle), topicRow(hugeTitle, "huge.zn")};
  for (int topic = 0; topic < 10000; ++topic) {
    if (topic % 100 == 0) library.push_back(groupRow("G" + std::to_string(topic)));
    library.push_back(topicRow("'<&>\t[" + std::to_string(topic), std::to_string(topic) + ".zn"));
  }
  for (const Command& command : commands) {
    EXPECT_NE(command.run(library).find("done to ...\n"), std::string::npos) << command.outputName;
  }
  const std::string fileList = readFile(appState.exportFolder + "FileList.txt");
  EXPECT_EQ(std::count(fileList.begin(), fileList.end(), '\n'), 10001);
  const std::string posting = readFile(appState.exportFolder + "ForumPosting.txt");
  EXPECT_NE(posting.find("[b]G " + hugeTitle + "[/b]: \t" + hugeTitle + "\n"), std::string::npos);
  EXPECT_NE(posting.find("[b]G9900[/b]: \t'<&>\t[9999\n"), std::string::npos);
  EXPECT_NE(readFile(appState.exportFolder + "ZN-LinuxAPI-Lib.html").find("<span id=\"G " + hugeTitle + "\""),
            std::string::npos);
}

}  // namespace
