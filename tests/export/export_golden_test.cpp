// Every export of one database holding the edge cases, compared byte for byte with
// its golden file. ZN_WRITE_GOLDEN=1 rewrites the golden files from the program's output
// (read every changed byte before committing them).
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "export/export_commands.h"
#include "support/temp_dir.h"

namespace {

using exports::ExportRow;
using testing_support::readFile;

const std::string goldenFolder = std::string(ZN_SOURCE_DIR) + "/tests/export/golden/";

// The templates try the reader: a byte-order mark, CR LF, LF and CR line ends, the
// placeholder twice in a line, in other letter cases, and only in another case.
const std::string headTemplate =
    "\xEF\xBB\xBF<!DOCTYPE html>\r\n"
    "<html><head><title>Stand CurrDate</title></head>\r\n"
    "<body><p>Stand: CurrDate, CurrDate and currDATE</p>\n"
    "<p>Only currdate here: unchanged</p>\r"
    "<p>";
const std::string tailTemplate = "<p>CurrDate stays in the tail</p>\r\n</body>\r</html>";

struct GoldenCase {
  const char* golden;
  bool dyeingNews;
  const char* outputName;
  std::function<std::string(const std::vector<ExportRow>&)> run;
  const char* message;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) { *out << golden.golden; }

const exports::CalendarDate sixthOfDecember{6, 12, 2026};

const GoldenCase goldenCases[] = {
    {"webpage-dyed.html", true, "ZN-LinuxAPI-Lib.html",
     [](const std::vector<ExportRow>& rows) { return exports::saveWebPage(rows, sixthOfDecember); },
     "html-Export done to ...\n@EXPORT@ZN-LinuxAPI-Lib.html"},
    {"webpage-plain.html", false, "ZN-LinuxAPI-Lib.html",
     [](const std::vector<ExportRow>& rows) { return exports::saveWebPage(rows, sixthOfDecember); },
     "html-Export done to ...\n@EXPORT@ZN-LinuxAPI-Lib.html"},
    {"posting-all.txt", true, "ForumPosting.txt",
     [](const std::vector<ExportRow>& rows) {
       return exports::saveForumPosting(rows, exports::PostingMode::All);
     },
     "text-Export done to ...\n@EXPORT@ForumPosting.txt"},
    {"posting-news-dyed.txt", true, "ForumPosting.txt",
     [](const std::vector<ExportRow>& rows) {
       return exports::saveForumPosting(rows, exports::PostingMode::News);
     },
     "text-Export done to ...\n@EXPORT@ForumPosting.txt"},
    {"posting-news-plain.txt", false, "ForumPosting.txt",
     [](const std::vector<ExportRow>& rows) {
       return exports::saveForumPosting(rows, exports::PostingMode::News);
     },
     "text-Export done to ...\n@EXPORT@ForumPosting.txt"},
    {"filelist.txt", true, "FileList.txt", exports::saveFileList,
     "Filelist-Export done to ...\n@EXPORT@FileList.txt"},
    {"protocoll.txt", true, "Protocoll.txt",
     [](const std::vector<ExportRow>&) { return exports::saveDuplicatesReport(database::indexEntries); },
     "Protokoll with double terms done to ...\n@EXPORT@Protocoll.txt"},
};

// The rows and records of the document, German displayed, as the tree would show them.
std::vector<ExportRow> rowsOfDatabase(const std::string& path, bool dyeingNews) {
  std::vector<ExportRow> exported;
  if (!database::readDatabaseFile(path) || !database::documentRoot()) return exported;
  database::clearTopicIndex();
  std::vector<database::TopicRow> rows;
  database::buildTopicTree(database::documentRoot(), 0, 0, dyeingNews, rows);
  for (std::size_t i = 0; i < rows.size(); ++i)
    exported.push_back({rows[i].level, rows[i].text, database::indexEntries[i]});
  return exported;
}

class ExportGoldenTest : public ::testing::TestWithParam<GoldenCase> {
 protected:
  void SetUp() override {
    base::resetAppState(dir.path());
    base::appState.exportFolder = dir.path() + "Export/";
    base::appState.templatesFolder = dir.path() + "Templates/";
    g_mkdir(base::appState.exportFolder.c_str(), 0755);
    dir.write("Templates/ZN-LinuxAPI-Head.html", headTemplate);
    dir.write("Templates/ZN-LinuxAPI-Tail.html", tailTemplate);
  }
  void TearDown() override {
    database::clearTopicIndex();
    base::resetAppState("");
  }

  testing_support::TempDir dir;
};

std::string withExportFolder(std::string text, const std::string& folder) {
  const std::size_t at = text.find("@EXPORT@");
  return at == std::string::npos ? text : text.replace(at, 8, folder);
}

TEST_P(ExportGoldenTest, OutputMatchesTheGoldenFileByteForByte) {
  const GoldenCase& golden = GetParam();
  const std::vector<ExportRow> rows = rowsOfDatabase(goldenFolder + "library.xml", golden.dyeingNews);
  ASSERT_EQ(rows.size(), 21u);

  EXPECT_EQ(golden.run(rows), withExportFolder(golden.message, base::appState.exportFolder));
  const std::string written = readFile(base::appState.exportFolder + golden.outputName);
  if (std::getenv("ZN_WRITE_GOLDEN")) testing_support::writeFile(goldenFolder + golden.golden, written);
  EXPECT_EQ(written, readFile(goldenFolder + golden.golden)) << golden.golden;
}

INSTANTIATE_TEST_SUITE_P(EveryExport, ExportGoldenTest, ::testing::ValuesIn(goldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& testCase) {
                           std::string name;
                           for (const char* c = testCase.param.golden; *c && *c != '.'; ++c) {
                             if (g_ascii_isalnum(*c)) name += *c;
                           }
                           return name;
                         });

}  // namespace
