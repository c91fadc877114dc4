// Snippet files opened from the desktop ("gio open") after an install has made the
// viewer their application.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::regexEscape;
using testing_support::runCommand;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;

const int scriptLimitMs = 120000;
const std::string snippetTitle = "Linux ZN-ZID-Idavode-Ruriva ~ ";

TEST(OpenFileE2e, AfterAnInstallTheDesktopOpensSnippetFilesWithTheViewer) {
  testing_support::ViewerProcess viewer;
  ASSERT_TRUE(viewer.displayRunning());
  const std::string home = viewer.homeFolder();
  // A desktop of no known kind, so that the tools follow the freedesktop rules alone.
  const std::vector<std::string> user = {"HOME=" + home, "XDG_DATA_HOME=" + home + ".local/share",
                                         "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP"};
  const std::string install = std::string(ZN_SOURCE_DIR) + "/scripts/install.sh";
  const std::string buildDir = fs::path(ZN_PROGRAM_DIR).parent_path().string();
  ASSERT_EQ(runCommand({"bash", install, "--build-dir", buildDir}, user, scriptLimitMs).status, 0);
  EXPECT_EQ(runCommand({"xdg-mime", "query", "default", "text/x-zarnel"}, user, scriptLimitMs).output,
            "zn-api-viewer.desktop\n");
  const std::string snippet = home + "My Snippets/Hello World.zn";
  fs::create_directories(home + "My Snippets");
  testing_support::writeFile(snippet, "Proc Main()\nEndProc\n");

  viewer.useProgramFile("/usr/bin/gio");
  ASSERT_TRUE(viewer.start({"open", snippet}));
  EXPECT_EQ(viewer.waitForExit(startLimitMs), 0);
  // gio has ended; the viewer it started is found by its windows alone.
  auto windowOnDisplay = [&](const std::string& nameRegex, int limitMs) {
    const std::string found =
        viewer.xdotool({"search", "--sync", "--onlyvisible", "--name", nameRegex}, limitMs).output;
    return found.substr(0, found.find('\n'));
  };
  // The installed settings show the about dialog first, then the file.
  const std::string about = windowOnDisplay("Zarnel-Linux-API-Viewer", startLimitMs);
  ASSERT_FALSE(about.empty()) << "the viewer did not start";
  EXPECT_TRUE(viewer.keyUntilHidden(about, "Escape", stepLimitMs));
  const std::string window =
      windowOnDisplay("^" + regexEscape(snippetTitle + "Hello World.zn") + "$", stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the viewer did not show the file";
  const std::string pid = viewer.xdotool({"getwindowpid", window}).output;
  EXPECT_EQ(fs::read_symlink("/proc/" + pid.substr(0, pid.find('\n')) + "/exe"),
            fs::canonical(home + ".local/share/zn-api-viewer/zn-api-viewer"));
  EXPECT_TRUE(viewer.keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_TRUE(viewer.dialogs().empty()) << viewer.dialogs().front().text;
}

}  // namespace
