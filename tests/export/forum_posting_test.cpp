// The forum posting and the file list on small libraries.
#include "export/forum_posting.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/export_test_support.h"
#include "export/file_list.h"

namespace {

using exports::ExportRow;
using exports::PostingMode;
using testing_support::groupRow;
using testing_support::topicRow;

std::string posting(const std::vector<ExportRow>& rows, PostingMode mode) {
  exports::ExportWriter out;
  exports::writeForumPosting(out, rows, mode);
  return out.text;
}

const std::vector<ExportRow> twoGroups = {groupRow("A"), topicRow("a1"), topicRow("\u2730a2"),
                                          groupRow("B"), topicRow("b1"), topicRow("b2")};

TEST(ForumPosting, AllTopicsWithAnEmptyLineBeforeEachGroup) {
  EXPECT_EQ(posting(twoGroups, PostingMode::All),
            "\n[b]A[/b]: \ta1\n[b]A[/b]: \t\u2730a2\n\n[b]B[/b]: \tb1\n[b]B[/b]: \tb2\n");
}

TEST(ForumPosting, NewsKeepTheEmptyLineOfAGroupWithoutNews) {
  EXPECT_EQ(posting(twoGroups, PostingMode::News), "\n[b]A[/b]: \t\u2730a2\n\n");
}

TEST(ForumPosting, NewsAreToldByTheShownTextAndWrittenWithTheStoredTitle) {
  std::vector<ExportRow> rows = {groupRow("A"), topicRow("plain"), topicRow("\u2730shown")};
  rows[1].entry.FunctionDe = "\u2730stored";
  rows[2].entry.FunctionDe = "stored";
  EXPECT_EQ(posting(rows, PostingMode::News), "\n[b]A[/b]: \tstored\n");
}

TEST(ForumPosting, AGroupWithoutTopicsAndNestedTopicsWriteNothing) {
  const std::vector<ExportRow> rows = {groupRow("Empty"), groupRow("A"), topicRow("a1"), topicRow("n", "", 3),
                                       topicRow("a2")};
  EXPECT_EQ(posting(rows, PostingMode::All), "\n[b]A[/b]: \ta1\n[b]A[/b]: \ta2\n");
}

TEST(FileList, EveryTopicThatNamesAFileInRowOrder) {
  const std::vector<ExportRow> rows = {groupRow("A"), topicRow("t", "/b.zn"), topicRow("u", ""),
                                       topicRow("n", "nested.zn", 3), topicRow("v", "a b/\u00E4.zn")};
  exports::ExportWriter out;
  exports::writeFileList(out, rows);
  EXPECT_EQ(out.text, "/b.zn\na b/\u00E4.zn\n");
}

}  // namespace
