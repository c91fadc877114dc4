// Reading snippet files: marks, line ends, "?" lines, the options block and failures.
#include "viewer/code_file.h"

#include "support/temp_dir.h"
#include "support/unprivileged.h"

#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <glib.h>
#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;
// What the file read last declared.
viewer::CodeFileProperties codeFileProperties;

// Writes the bytes to a snippet file and reads it back as the code view would.
viewer::CodeText readBytes(const std::string& bytes) {
  TempDir dir;
  return viewer::readCodeFile(dir.write("snippet.zn", bytes));
}

std::string viewOf(const std::string& bytes) {
  const viewer::CodeText code = readBytes(bytes);
  EXPECT_TRUE(code.opened);
  codeFileProperties = code.properties;
  return code.text;
}

bool isCleanUtf8(const std::string& text) {
  return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) &&
         text.find('\0') == std::string::npos;
}

TEST(CodeFilePaths, FullPathJoinsLibraryAndFileWithoutLeadingSlashes) {
  EXPECT_EQ(viewer::codeFileFullPath("/lib/", "Gtk/a.zn"), "/lib/Gtk/a.zn");
  EXPECT_EQ(viewer::codeFileFullPath("/lib/", "//Gtk/a.zn"), "/lib/Gtk/a.zn");
  EXPECT_EQ(viewer::codeFileFullPath("", "/a.zn"), "a.zn");
}

TEST(CodeFilePaths, ExtensionIsTakenFromTheFileNamePartOnly) {
  EXPECT_EQ(viewer::codeFileExtension("/x/a.zn"), "zn");
  EXPECT_EQ(viewer::codeFileExtension("/x/a.b.znf"), "znf");
  EXPECT_EQ(viewer::codeFileExtension("a.zni"), "zni");
  EXPECT_EQ(viewer::codeFileExtension("/x/a"), "");
  EXPECT_EQ(viewer::codeFileExtension("/x.d/a"), "");  // the "." belongs to a folder
  EXPECT_EQ(viewer::codeFileExtension("/x/.zn"), "");  // the "." directly follows "/"
  EXPECT_EQ(viewer::codeFileExtension("/x/a."), "");
  EXPECT_EQ(viewer::codeFileExtension(""), "");
}

TEST(CodeFilePaths, TypeTestLooksForTheExtensionAsAPieceOfTheTypeList) {
  for (const char* accepted : {"zn", "zni", "znf", "z", "n", "i;znf"}) {
    EXPECT_TRUE(viewer::passesCodeTypeTest(accepted)) << accepted;
  }
  for (const char* refused : {"", "ZN", "Zn", "txt", "zz", "znx"}) {
    EXPECT_FALSE(viewer::passesCodeTypeTest(refused)) << refused;
  }
}

TEST(CodeFilePaths, OnlyTheFirstDroppedPathIsUsed) {
  EXPECT_EQ(viewer::firstDroppedPath("/a/x.zn\n/b/y.zn\n"), "/a/x.zn");
  EXPECT_EQ(viewer::firstDroppedPath("/a/x.zn"), "/a/x.zn");
  EXPECT_EQ(viewer::firstDroppedPath(""), "");
}

TEST(CodeFileMarks, Utf8MarkIsSkippedAndRecorded) {
  EXPECT_EQ(viewOf("\xEF\xBB\xBF"
                   "Gr\xC3\xBC\xC3\x9F"),
            "Gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 1);
}

TEST(CodeFileMarks, Utf8WithoutMarkIsReadAsUtf8UnlessAByteIsNoUtf8) {
  EXPECT_EQ(viewOf("Gr\xC3\xBC"), "Gr\xC3\xBC");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 1);
  EXPECT_EQ(viewOf("Gr\xC3\xBC\xFC"), "Gr\xC3\x83\xC2\xBC\xC3\xBC");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 0);
}

TEST(CodeFileMarks, Utf16LittleEndianIsDecodedButIsNotUtf8) {
  const std::string bytes(
      "\xFF\xFE"
      "A\0\xE4\0\n\0\x3D\xD8\x00\xDE",
      12);
  EXPECT_EQ(viewOf(bytes), "A\xC3\xA4\n\xF0\x9F\x98\x80");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 0);
}

TEST(CodeFileMarks, OtherMarksAreSkipped) {
  EXPECT_EQ(viewOf(std::string("\xFE\xFF\0a\0\n\0b", 8)), "a\nb");
  EXPECT_EQ(viewOf(std::string("\0\0\xFE\xFF\0\0\0a", 8)), "a");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 0);
}

TEST(CodeFileMarks, Latin1BytesAreCharacters) {
  EXPECT_EQ(viewOf("\xE4\xF6\xFC\xDF\xA9"), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC2\xA9");
}

TEST(CodeFileMarks, InvalidUtf8AfterTheMarkBecomesReplacementCharacters) {
  const std::string text = viewOf(
      "\xEF\xBB\xBF"
      "a\xFF"
      "b\xE2\x82\nc\xF0\x9F\x98");
  EXPECT_EQ(text,
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\nc\xEF\xBF\xBD");
  EXPECT_EQ(codeFileProperties.SourceUtf8, 1);
}

TEST(CodeFileMarks, OddByteCountAfterUtf16MarkEndsInAReplacementCharacter) {
  EXPECT_EQ(viewOf(std::string("\xFF\xFE"
                               "a\0b",
                               5)),
            "a\xEF\xBF\xBD");
}

TEST(CodeFileMarks, BinaryJunkAlwaysGivesCleanUtf8) {
  std::mt19937 random(20240607);
  for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE")}) {
    for (std::size_t size : {1u, 2u, 3u, 7u, 4096u, 65537u}) {
      std::string bytes = mark;
      for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>(random() & 0xFF));
      const viewer::CodeText code = readBytes(bytes);
      EXPECT_TRUE(code.opened);
      EXPECT_TRUE(isCleanUtf8(code.text)) << "mark of " << mark.size() << " bytes, " << size << " bytes";
    }
  }
}

TEST(CodeFileMarks, NulBytesDoNotCutTheText) { EXPECT_EQ(viewOf(std::string("a\0b\nc", 5)), "ab\nc"); }

TEST(CodeFileLines, TheThreeLineEndsSplitLines) {
  EXPECT_EQ(viewOf("a\nb\r\nc\rd"), "a\nb\nc\nd");
  EXPECT_EQ(viewOf("a\r\r\nb"), "a\n\nb");
  EXPECT_EQ(viewOf("a\n\rb"), "a\n\nb");
  EXPECT_EQ(viewOf(std::string("\xFF\xFE"
                               "a\0\r\0\n\0b\0\r\0c\0",
                               14)),
            "a\nb\nc");
}

TEST(CodeFileLines, NoLineEndFollowsTheLastLine) {
  EXPECT_EQ(viewOf("a\rb\r"), "a\nb");
  EXPECT_EQ(viewOf("a\r\n"), "a");
  EXPECT_EQ(viewOf("a\n"), "a");
  EXPECT_EQ(viewOf("a\n\n"), "a\n");
  EXPECT_EQ(viewOf("a\r\r"), "a\n");
}

TEST(CodeFileLines, LeadingEmptyLinesVanish) {
  EXPECT_EQ(viewOf("\n\nthird\n\nfifth"), "third\n\nfifth");
  EXPECT_EQ(viewOf("\r\n\r\rthird"), "third");
  EXPECT_EQ(viewOf(""), "");
  EXPECT_EQ(viewOf("\n\n\n"), "");
}

TEST(CodeFileLines, LeadingQuestionMarksAreRemoved) {
  EXPECT_EQ(viewOf("x\n?? y"), "x\n y");
  EXPECT_EQ(viewOf("x\n???\ny"), "x\n\ny");
  EXPECT_EQ(viewOf("???\n?\nx"), "x");  // only "?" before any other line: not shown at all
  EXPECT_EQ(viewOf("a?b\n ?c"), "a?b\n ?c");
  EXPECT_EQ(viewOf("\xEF\xBB\xBF??x"), "x");
}

// The line rules written out plainly, to compare with on random files.
std::string plainViewText(const std::string& file) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\n' || file[i] == '\r') {
      lines.push_back(line);
      line.clear();
      if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
    } else {
      line.push_back(file[i]);
    }
  }
  if (!line.empty()) lines.push_back(line);
  std::string view;
  for (std::string& each : lines) {
    const std::size_t firstOther = each.find_first_not_of('?');
    each.erase(0, firstOther == std::string::npos ? each.size() : firstOther);
    if (each.rfind("; IDE Options = ", 0) == 0) break;
    view = view.empty() ? each : view + "\n" + each;
  }
  return view;
}

TEST(CodeFileLines, RandomFilesFollowThePlainLineRules) {
  std::mt19937 random(99);
  const std::string pieces[] = {"a", "bc", "?", "??", "\n", "\r", "\r\n", " ", "; IDE Options = x"};
  for (int round = 0; round < 300; ++round) {
    std::string file;
    for (int i = static_cast<int>(random() % 30); i > 0; --i) file += pieces[random() % 9];
    EXPECT_EQ(viewOf(file), plainViewText(file)) << file;
  }
}

TEST(CodeFileOptions, TheBlockIsHiddenAndItsOptionsRecorded) {
  EXPECT_EQ(viewOf("code\n; IDE Options = PureBasic 6.0\n; EnableUnicode\n; SubSystem = gtk3\n"), "code");
  EXPECT_EQ(codeFileProperties.EnableUnicode, 1);
  EXPECT_EQ(codeFileProperties.SubSystem, 2);
}

TEST(CodeFileOptions, EverythingAfterTheMarkerIsHidden) {
  EXPECT_EQ(viewOf("a\n; IDE Options = x\nb\n\nc"), "a");
  EXPECT_EQ(viewOf("; IDE Options = x\na\nb"), "");
  EXPECT_EQ(viewOf("??; IDE Options = x\na"), "");  // the marker counts after "?" removal
}

TEST(CodeFileOptions, OnlyTheExactMarkerOpensTheBlock) {
  EXPECT_EQ(viewOf("a\n; IDE Options =x\nb"), "a\n; IDE Options =x\nb");
  EXPECT_EQ(viewOf("a\n; ide options = x\nb"), "a\n; ide options = x\nb");
  EXPECT_EQ(viewOf("a\n ; IDE Options = x\nb"), "a\n ; IDE Options = x\nb");
}

TEST(CodeFileOptions, OptionsAboveTheMarkerDoNotCount) {
  EXPECT_EQ(viewOf("; EnableUnicode\n; SubSystem = gtk2\n; IDE Options = x\n"),
            "; EnableUnicode\n; SubSystem = gtk2");
  EXPECT_EQ(codeFileProperties.EnableUnicode, 0);
  EXPECT_EQ(codeFileProperties.SubSystem, 0);
}

TEST(CodeFileOptions, TheLaterSubSystemLineWins) {
  viewOf("a\n; IDE Options = x\n; SubSystem = gtk3\n; SubSystem = gtk2");
  EXPECT_EQ(codeFileProperties.SubSystem, 1);
  viewOf("a\n; IDE Options = x\n; SubSystem = gtk2\r\n; SubSystem = gtk3");
  EXPECT_EQ(codeFileProperties.SubSystem, 2);
}

TEST(CodeFileOptions, OptionsAreComparedByTheirBeginningAfterQuestionMarks) {
  viewOf("a\n; IDE Options = x\n??; EnableUnicodeAndMore\n; SubSystem = gtk2 please");
  EXPECT_EQ(codeFileProperties.EnableUnicode, 1);
  EXPECT_EQ(codeFileProperties.SubSystem, 1);
  viewOf("a\n; IDE Options = x\n; enableunicode\n; SubSystem = GTK3\n; SubSystem = gtk4");
  EXPECT_EQ(codeFileProperties.EnableUnicode, 0);
  EXPECT_EQ(codeFileProperties.SubSystem, 0);
}

TEST(CodeFileOptions, EveryReadStartsFromClearedProperties) {
  viewOf(
      "\xEF\xBB\xBF"
      "a\n; IDE Options = x\n; EnableUnicode\n; SubSystem = gtk3");
  ASSERT_EQ(codeFileProperties.SourceUtf8, 1);
  const viewer::CodeText missing = viewer::readCodeFile("/nonexistent/zn-missing.zn");
  EXPECT_FALSE(missing.opened);
  codeFileProperties = missing.properties;
  EXPECT_EQ(codeFileProperties.SourceUtf8, 0);
  EXPECT_EQ(codeFileProperties.EnableUnicode, 0);
  EXPECT_EQ(codeFileProperties.SubSystem, 0);
}

TEST(CodeFileFailures, MissingFilesFoldersAndSpecialFilesCannotBeOpened) {
  TempDir dir;
  const std::string fifo = dir.file("pipe.zn");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(symlink(dir.file("gone.zn").c_str(), dir.file("dangling.zn").c_str()), 0);
  for (const std::string& path : {dir.file("missing.zn"), dir.path(), dir.path() + "sub.zn/", fifo,
                                  dir.file("dangling.zn"), std::string("/dev/zero")}) {
    const viewer::CodeText code = viewer::readCodeFile(path);
    EXPECT_FALSE(code.opened) << path;
    EXPECT_EQ(code.text, "") << path;
  }
}

TEST(CodeFileFailures, AFileThatOpensButCannotBeReadCountsAsNotOpened) {
  // Reading the own address space at address 0 fails with an I/O error.
  EXPECT_FALSE(viewer::readCodeFile("/proc/self/mem").opened);
}

TEST(CodeFileFailures, AFileWithoutReadPermissionCannotBeOpened) {
  TempDir dir;
  const std::string path = dir.write("locked.zn", "secret");
  testing_support::runUnprivileged({dir.path()}, [&] {
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_FALSE(viewer::readCodeFile(path).opened);
  });
}

TEST(CodeFileFailures, ALinkToASnippetAndAFileThatClaimsNoSizeAreRead) {
  TempDir dir;
  const std::string target = dir.write("real.zn", "linked");
  ASSERT_EQ(symlink(target.c_str(), dir.file("link.zn").c_str()), 0);
  EXPECT_EQ(viewer::readCodeFile(dir.file("link.zn")).text, "linked");
  const viewer::CodeText status = viewer::readCodeFile("/proc/self/status");
  EXPECT_TRUE(status.opened);
  EXPECT_EQ(status.text.rfind("Name:", 0), 0u);
}

TEST(CodeFileLarge, ATwentyMegabyteFileIsReadWhole) {
  std::string bytes = "\xEF\xBB\xBF";
  const std::string line = "Debug \"Gr\xC3\xBC\xC3\x9F\" ; a line of a long snippet file\r\n";
  std::size_t lines = 0;
  while (bytes.size() < 20u * 1024 * 1024) {
    bytes += line;
    ++lines;
  }
  bytes += "last\n; IDE Options = x\n; EnableUnicode\n";
  const std::string text = viewOf(bytes);
  EXPECT_EQ(codeFileProperties.EnableUnicode, 1);
  const std::string shownLine = line.substr(0, line.size() - 2) + "\n";
  EXPECT_EQ(text.size(), lines * shownLine.size() + 4);
  EXPECT_EQ(text.compare(0, shownLine.size(), shownLine), 0);
  EXPECT_EQ(text.substr(text.size() - 5), "\nlast");
}

}  // namespace
