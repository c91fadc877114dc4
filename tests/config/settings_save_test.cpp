// Writing the settings record into the settings file, and never losing the old file.
#include "config/settings_fixture.h"

#include <csignal>
#include <optional>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <glib.h>

#include "support/unprivileged.h"

namespace {

using SaveSettingsTest = testing_support::SettingsTest;

const std::string userKeyLines =
    "Language=0\nSearchHint=0\nSearchMode=0\nCodeMarks=0\nFontName=Monospace\nFontSize=10\n"
    "SavePaths=1\nSourceInTitle=1\nSaveWinSetting=0\nDyeingNews=1\nCodeEditorPath=\n";

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

mode_t modeOf(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

int filesIn(const std::string& folder) {
  GDir* dir = g_dir_open(folder.c_str(), 0, nullptr);
  int count = 0;
  while (dir && g_dir_read_name(dir)) ++count;
  if (dir) g_dir_close(dir);
  return count;
}

mode_t currentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
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

TEST_F(SaveSettingsTest, NewFileHoldsTheCommentsPathsAndUserKeysInOrder) {
  config::SaveSettings();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(settingsBytes(),
            written("; Viewer\ndb-path=" + folder.path() + "ZN-LinuxAPI-Toc.xml\nLib-path=" + folder.path() +
                    "\nabout=0\n; User settings\n" + userKeyLines + "; App settings\n"));
}

TEST_F(SaveSettingsTest, NewFileGetsTheUsualPermissions) {
  config::SaveSettings();
  EXPECT_EQ(modeOf(settingsPath()), 0666 & ~currentUmask());
}

TEST_F(SaveSettingsTest, ExistingFileKeepsItsLinesAndGetsNoComments) {
  writeSettings("; mine\nLanguage=2\n[Group]\nLanguage=1\n");
  appSettings.Language = 1;
  config::SaveSettings();
  EXPECT_EQ(settingsBytes(),
            written("; mine\nLanguage=1\ndb-path=" + folder.path() +
                    "ZN-LinuxAPI-Toc.xml\nLib-path=" + folder.path() +
                    "\nabout=0\nSearchHint=0\nSearchMode=0\nCodeMarks=0\nFontName=Monospace\nFontSize=10\n"
                    "SavePaths=1\nSourceInTitle=1\nSaveWinSetting=0\nDyeingNews=1\nCodeEditorPath=\n"
                    "[Group]\nLanguage=1\n"));
}

TEST_F(SaveSettingsTest, IndentedLowerCaseKeyIsRewrittenInPlaceWithTheProgramsKeyText) {
  writeSettings("  fontname \t=  Courier \nunknown=kept\n");
  ASSERT_TRUE(config::LoadSettings());
  config::SaveSettings();
  const std::string bytes = settingsBytes();
  EXPECT_EQ(bytes.find("fontname"), std::string::npos);
  EXPECT_TRUE(startsWith(bytes, written("FontName=Courier \nunknown=kept\n"))) << bytes;
}

TEST_F(SaveSettingsTest, Latin1FileBecomesUtf8WithTheMark) {
  writeSettings("FontName=B\xE4r\n");
  ASSERT_TRUE(config::LoadSettings());
  config::SaveSettings();
  const std::string bytes = settingsBytes();
  EXPECT_TRUE(startsWith(bytes, "\xEF\xBB\xBF\n"));
  EXPECT_NE(bytes.find("\nFontName=B\xC3\xA4r\n"), std::string::npos);
  ASSERT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "B\xC3\xA4r");
}

TEST_F(SaveSettingsTest, PathsStayUntouchedWhenNotSavedAndTheAboutDialogWasShown) {
  writeSettings("db-path=/old/Toc.xml\nLib-path=/old/lib/\n");
  appSettings.SavePaths = 0;
  appSettings.about = 1;
  appSettings.db_path = "/new/";
  appSettings.Lib_path = "/new/lib/";
  config::SaveSettings();
  const std::string bytes = settingsBytes();
  EXPECT_TRUE(startsWith(bytes, written("db-path=/old/Toc.xml\nLib-path=/old/lib/\nabout=1\n"))) << bytes;
}

TEST_F(SaveSettingsTest, PathsAreWrittenWhileTheAboutDialogIsPending) {
  writeSettings("db-path=/old/Toc.xml\nLib-path=/old/lib/\n");
  appSettings.SavePaths = 0;
  appSettings.about = 0;
  appSettings.db_path = "/new/";
  appSettings.Lib_path = "/new/lib/";
  config::SaveSettings();
  EXPECT_TRUE(startsWith(settingsBytes(), written("db-path=/new/ZN-LinuxAPI-Toc.xml\nLib-path=/new/lib/\n")));
}

TEST_F(SaveSettingsTest, WindowKeysFollowTheLastCommentWhenAsked) {
  config::setWindowGeometrySource([] {
    return std::optional<config::WindowGeometry>({5, -7, 900, 650, 300});
  });
  appSettings.SaveWinSetting = 1;
  appSettings.db_path = "/db/";
  appSettings.Lib_path = "/lib/";
  config::SaveSettings();
  EXPECT_EQ(settingsBytes(),
            written("; Viewer\ndb-path=/db/ZN-LinuxAPI-Toc.xml\nLib-path=/lib/\nabout=0\n; User settings\n"
                    "Language=0\nSearchHint=0\nSearchMode=0\nCodeMarks=0\nFontName=Monospace\nFontSize=10\n"
                    "SavePaths=1\nSourceInTitle=1\nSaveWinSetting=1\nDyeingNews=1\nCodeEditorPath=\n"
                    "; App settings\nWinX=5\nWinY=-7\nWinWidth=900\nWinHight=650\nSplitter=300\n"));
  EXPECT_EQ(appSettings.WinX, -1);
  EXPECT_EQ(appSettings.WinWidth, 800);
  EXPECT_EQ(appSettings.Splitter, 345);
}

TEST_F(SaveSettingsTest, NoWindowKeysWithoutTheWindowOrWithoutTheSetting) {
  config::setWindowGeometrySource([] { return std::optional<config::WindowGeometry>(); });
  appSettings.SaveWinSetting = 1;
  config::SaveSettings();
  EXPECT_EQ(settingsBytes().find("WinX"), std::string::npos);

  config::setWindowGeometrySource([] { return std::optional<config::WindowGeometry>({1, 2, 3, 4, 5}); });
  appSettings.SaveWinSetting = 0;
  config::SaveSettings();
  EXPECT_EQ(settingsBytes().find("WinX"), std::string::npos);
}

TEST_F(SaveSettingsTest, StoredWindowKeysStayWhenNotWritten) {
  writeSettings("WinX=11\nSplitter=222\n");
  config::SaveSettings();
  EXPECT_TRUE(startsWith(settingsBytes(), written("WinX=11\nSplitter=222\n")));
}

TEST_F(SaveSettingsTest, FileWithoutFinalLineEndGetsOne) {
  writeSettings("FontName=Sans");
  ASSERT_TRUE(config::LoadSettings());
  config::SaveSettings();
  const std::string bytes = settingsBytes();
  EXPECT_TRUE(startsWith(bytes, written("FontName=Sans\n")));
  EXPECT_EQ(bytes.back(), '\n');
}

TEST_F(SaveSettingsTest, AMegabyteValueIsWrittenBackWhole) {
  const std::string editor = "/" + std::string(1 << 20, 'e');
  writeSettings("CodeEditorPath=" + editor + "\n");
  ASSERT_TRUE(config::LoadSettings());
  config::SaveSettings();
  EXPECT_NE(settingsBytes().find("\nCodeEditorPath=" + editor + "\n"), std::string::npos);
}

TEST_F(SaveSettingsTest, BinaryBytesAreWrittenBackAsValidUtf8) {
  std::string bytes = "Junk";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  writeSettings(bytes);
  ASSERT_TRUE(config::LoadSettings());
  config::SaveSettings();
  const std::string saved = settingsBytes();
  EXPECT_TRUE(g_utf8_validate(saved.data(), static_cast<gssize>(saved.size()), nullptr));
  EXPECT_NE(saved.find("\nFontName=Monospace\n"), std::string::npos);
}

TEST_F(SaveSettingsTest, FolderInPlaceOfTheFileIsReportedAndLeftAlone) {
  ASSERT_EQ(mkdir(settingsPath().c_str(), 0755), 0);
  config::SaveSettings();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].kind, base::DialogKind::Message);
  EXPECT_EQ(dialogs[0].title, "Linux ZN-ZID-Idavode-Ruriva");
  EXPECT_EQ(dialogs[0].text, "*.ini-file couldn't be updatet!");
  struct stat info;
  ASSERT_EQ(stat(settingsPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(filesIn(folder.path()), 1);
}

TEST_F(SaveSettingsTest, PermissionBitsOfTheOldFileAreKept) {
  writeSettings("Language=1\n");
  ASSERT_EQ(chmod(settingsPath().c_str(), 0640), 0);
  appSettings.Language = 2;
  config::SaveSettings();
  EXPECT_EQ(modeOf(settingsPath()), 0640u);
  EXPECT_TRUE(startsWith(settingsBytes(), written("Language=2\n")));
}

TEST_F(SaveSettingsTest, AnotherUsersFileKeepsItsOwnerWhenRootSaves) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file away";
  writeSettings("Language=1\n");
  ASSERT_EQ(chown(settingsPath().c_str(), 65534, 65534), 0);
  config::SaveSettings();
  struct stat info;
  ASSERT_EQ(stat(settingsPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_TRUE(startsWith(settingsBytes(), written("Language=0\n")));
}

TEST_F(SaveSettingsTest, ReadOnlyFileIsLeftUntouchedWithoutAMessage) {
  const std::string original = "Language=1\n; hand made\n";
  writeSettings(original);
  ASSERT_EQ(chmod(settingsPath().c_str(), 0444), 0);
  appSettings.Language = 2;
  config::SaveSettings();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(settingsBytes(), original);
  EXPECT_EQ(modeOf(settingsPath()), 0444u);
  EXPECT_EQ(filesIn(folder.path()), 1);
}

TEST_F(SaveSettingsTest, FailedWriteKeepsTheOldFileAndLeavesNoScratchFile) {
  const std::string original = "Language=1\n; hand made, longer than the limit below\n";
  writeSettings(original);
  appSettings.Language = 2;
  {
    const FileSizeLimit limit(16);
    config::SaveSettings();
  }
  EXPECT_EQ(settingsBytes(), original);
  EXPECT_EQ(filesIn(folder.path()), 1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].text, "*.ini-file couldn't be updatet!");
}

TEST_F(SaveSettingsTest, FailedFirstWriteLeavesNoFileBehind) {
  {
    const FileSizeLimit limit(8);
    config::SaveSettings();
  }
  EXPECT_EQ(filesIn(folder.path()), 0);
  EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(SaveSettingsTest, AWritableFileInAnUnwritableFolderIsRewrittenInPlace) {
  // Blanks before the "=" are dropped on saving, so the new content is shorter than the old.
  writeSettings("Language" + std::string(3000, ' ') + "=1\n; hand made\n");
  testing_support::runUnprivileged({folder.path()}, [&] {
    struct stat before;
    ASSERT_EQ(stat(settingsPath().c_str(), &before), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    ASSERT_NE(access(folder.path().c_str(), W_OK), 0);
    appSettings.Language = 2;
    config::SaveSettings();
    chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(dialogs.empty());
    const std::string saved = settingsBytes();
    EXPECT_TRUE(startsWith(saved, written("Language=2\n; hand made\n"))) << saved;
    EXPECT_EQ(saved.find("   "), std::string::npos) << "the old tail was not cut off";
    EXPECT_EQ(saved.substr(saved.size() - 16), "CodeEditorPath=\n");
    struct stat after;
    ASSERT_EQ(stat(settingsPath().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(filesIn(folder.path()), 1);
  });
}

TEST_F(SaveSettingsTest, UnreadableFileIsNotOverwritten) {
  const std::string original = "Language=1\n";
  writeSettings(original);
  testing_support::runUnprivileged({folder.path()}, [&] {
    ASSERT_EQ(chmod(settingsPath().c_str(), 0200), 0);
    ASSERT_NE(access(settingsPath().c_str(), R_OK), 0);
    config::SaveSettings();
    chmod(settingsPath().c_str(), 0644);
    EXPECT_EQ(settingsBytes(), original);
    EXPECT_EQ(dialogs.size(), 1u);
  });
}

TEST_F(SaveSettingsTest, ScratchFilesOfKilledSavesAreRemovedByTheNextSave) {
  writeSettings("Language=1\n");
  const std::string prefix = ".DizerEZ VAV-AruRuvove.ini.";
  const std::string abandoned[] = {prefix + "a1B2c3", prefix + "ZZZZZZ"};
  for (const std::string& name : abandoned) folder.write(name, "Langu");
  const std::string outside = folder.write("elsewhere/target.ini", "kept");
  ASSERT_EQ(symlink(outside.c_str(), folder.file(prefix + "Link00").c_str()), 0);
  ASSERT_EQ(mkdir(folder.file(prefix + "Fold00").c_str(), 0755), 0);
  const std::string kept[] = {prefix + "abc",
                              prefix + "abcdefg",
                              prefix + "ab-def",
                              ".other.ini.abcdef",
                              "DizerEZ VAV-AruRuvove.ini.abcdef",
                              prefix + "Link00",
                              prefix + "Fold00"};
  for (const std::string& name : kept) {
    if (!g_file_test(folder.file(name).c_str(), G_FILE_TEST_EXISTS)) folder.write(name, "x");
  }
  // A save still at work holds its scratch file locked.
  const std::string busy = folder.write(prefix + "Busy01", "");
  const int lock = open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  appSettings.Language = 2;
  config::SaveSettings();
  close(lock);
  for (const std::string& name : abandoned)
    EXPECT_FALSE(g_file_test(folder.file(name).c_str(), G_FILE_TEST_EXISTS)) << name;
  for (const std::string& name : kept)
    EXPECT_TRUE(g_file_test(folder.file(name).c_str(), G_FILE_TEST_EXISTS)) << name;
  EXPECT_TRUE(g_file_test(busy.c_str(), G_FILE_TEST_EXISTS));
  EXPECT_EQ(testing_support::readFile(outside), "kept");
  EXPECT_TRUE(startsWith(settingsBytes(), written("Language=2\n")));
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SaveSettingsTest, SavesKilledAtRandomMomentsLeaveAWholeFileAndNothingBehind) {
  config::SaveSettings();
  std::mt19937 random(20261130);
  for (int round = 0; round < 40; ++round) {
    // The timer's signal ends the child wherever the save is, as a kill would.
    itimerval timer{};
    timer.it_value.tv_usec = static_cast<suseconds_t>(random() % 3000 + 1);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      setitimer(ITIMER_REAL, &timer, nullptr);
      for (std::int64_t i = 0;; ++i) {
        appSettings.CodeEditorPath = std::string(static_cast<std::size_t>(i % 500), 'e');
        config::SaveSettings();
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string saved = settingsBytes();
    ASSERT_TRUE(startsWith(saved, written("; Viewer\n"))) << "round " << round;
    ASSERT_EQ(saved.substr(saved.size() - 15), "; App settings\n") << "round " << round;
  }
  config::SaveSettings();
  EXPECT_EQ(filesIn(folder.path()), 1);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SaveSettingsTest, SymbolicLinkStaysALinkAndItsTargetIsUpdated) {
  const std::string target = folder.write("elsewhere/real.ini", "Language=1\n");
  ASSERT_EQ(symlink(target.c_str(), settingsPath().c_str()), 0);
  appSettings.Language = 2;
  config::SaveSettings();
  struct stat info;
  ASSERT_EQ(lstat(settingsPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_TRUE(startsWith(testing_support::readFile(target), written("Language=2\n")));
}

TEST_F(SaveSettingsTest, DanglingLinkStaysALinkAndItsTargetIsCreated) {
  folder.write("elsewhere/.keep", "");
  ASSERT_EQ(symlink("elsewhere/new.ini", settingsPath().c_str()), 0);
  config::SaveSettings();
  struct stat info;
  ASSERT_EQ(lstat(settingsPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_TRUE(startsWith(testing_support::readFile(folder.file("elsewhere/new.ini")), written("; Viewer\n")));
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SaveSettingsTest, LinkLoopIsReportedAndLeftAlone) {
  ASSERT_EQ(symlink("loop.ini", folder.file("loop.ini").c_str()), 0);
  ASSERT_EQ(symlink("loop.ini", settingsPath().c_str()), 0);
  config::SaveSettings();
  struct stat info;
  ASSERT_EQ(lstat(settingsPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(SaveSettingsTest, SavedFileReadsBackToTheSameSettings) {
  appSettings.Language = 2;
  appSettings.FontName = "DejaVu Sans Mono";
  appSettings.FontSize = 13;
  appSettings.CodeEditorPath = "/opt/my editor/bin/edit ";
  appSettings.Lib_path = "/lib/";
  config::SaveSettings();
  const AppSettings saved = appSettings;
  resetAppSettings(folder.path());
  ASSERT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.Language, saved.Language);
  EXPECT_EQ(appSettings.FontName, saved.FontName);
  EXPECT_EQ(appSettings.FontSize, saved.FontSize);
  EXPECT_EQ(appSettings.CodeEditorPath, saved.CodeEditorPath);
  EXPECT_EQ(appSettings.Lib_path, saved.Lib_path);
  EXPECT_EQ(appSettings.db_path, folder.path() + "ZN-LinuxAPI-Toc.xml");
}

}  // namespace
