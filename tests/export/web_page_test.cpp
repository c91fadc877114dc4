// The web page: the date placeholder and the structure of the outline.
#include "export/web_page.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/export_test_support.h"

namespace {

using exports::ExportRow;
using testing_support::groupRow;
using testing_support::topicRow;

TEST(WebPageDate, DayAndMonthAndYearInTheMask) {
  const struct {
    exports::CalendarDate date;
    const char* text;
  } cases[] = {
      {{6, 12, 2026}, "06. Dec. 2026"}, {{31, 1, 2027}, "31. Jan. 2027"}, {{1, 5, 999}, "01. May. 0999"}};
  for (const auto& c : cases) EXPECT_EQ(exports::webPageDate(c.date), c.text);
}

TEST(WebPageDate, ExactPlaceholderReplacesEveryCaseInItsLine) {
  const struct {
    const char* line;
    const char* replaced;
  } cases[] = {
      {"<p>CurrDate</p>", "<p>D</p>"},
      {"CurrDate and CurrDate", "D and D"},
      {"CurrDate, currdate, CURRDATE", "D, D, D"},
      {"only currdate here", "only currdate here"},
      {"CURRDATE alone", "CURRDATE alone"},
      {"CurrDat", "CurrDat"},
      {"\u00C4CurrDate\u00F6", "\u00C4D\u00F6"},
  };
  for (const auto& c : cases) EXPECT_EQ(exports::replaceDatePlaceholder(c.line, "D"), c.replaced) << c.line;
}

std::string page(const std::vector<ExportRow>& rows) {
  exports::ExportWriter out;
  exports::writeWebPage(out, {"HEAD"}, rows, {"TAIL"}, "D", "Linux");
  return out.text;
}

const std::string button =
    "<input type=\"button\" name=\"theSubmitButton\" id=\"theSubmitButton\" value=\"Alle \u00F6ffnen / "
    "schlie\u00DFen\" onclick=\"";
const std::string buttonEnd = "return false;\"><br />\n<a></a>\n<a></a></p>\n\n";

std::string paragraph(const std::string& name) {
  return "<p>\n<img src=\"Icons/folder.png\" style=\"vertical-align: middle;\"><a style=\"margin-left: "
         "5px;\" "
         "href=\"#\" onclick=\"outline('" +
         name + "'); return false;\"><b>" + name + "</b></a><br />\n";
}

std::string link(const std::string& title, const std::string& href, bool bold = false) {
  const std::string titles = title + "&nbsp;&nbsp;&nbsp;\u2B0C&nbsp;&nbsp;&nbsp;" + title + " en";
  return "<img src=\"Icons/folder-documents.png\" style=\"vertical-align: middle;\"><a style=\"margin-left: "
         "5px;\" href=\"" +
         href + "\" target=\"_blank\">" + (bold ? "<b>" + titles + "</b>" : titles) + "</a><br />\n";
}

std::string span(const std::string& group) {
  return "<span id=\"" + group + "\" style=\"display:none; margin-left: 20px;\"> ";
}

TEST(WebPageOutline, GroupsOpenSpansOfTheirTopicsAndTheNextGroupClosesThem) {
  // The document's own row (level 0) writes nothing; a path without its leading "/" gets one.
  const std::vector<ExportRow> rows = {
      topicRow("Root", "", 0),        groupRow("G1"), topicRow("T1", "/a/1.zn"),
      topicRow("\u2730T2", "a/2.zn"), groupRow("G2"), topicRow("T3", "/b/3.zn")};
  EXPECT_EQ(page(rows), "HEAD\n<br />\n" + button + "outline('G1');outline('G2');" + buttonEnd +
                            paragraph("G1") + span("G1") + link("T1", "Linux/a/1.zn") +
                            link("\u2730T2", "Linux/a/2.zn", true) + "</span>\n</p>\n" + paragraph("G2") +
                            span("G2") + link("T3", "Linux/b/3.zn") + "</span>\n</p>\nTAIL\n");
}

TEST(WebPageOutline, NestedTopicsHideNeitherTheNextTopicNorTheClosing) {
  const std::vector<ExportRow> rows = {groupRow("G1"),       topicRow("T1", "/1"),    topicRow("N1", "/n", 3),
                                       topicRow("T2", "/2"), topicRow("N2", "/m", 3), groupRow("G2")};
  EXPECT_EQ(page(rows), "HEAD\n<br />\n" + button + "outline('G1');outline('G2');" + buttonEnd +
                            paragraph("G1") + span("G1") + link("T1", "Linux/1") + link("T2", "Linux/2") +
                            "</span>\n</p>\n" + paragraph("G2") + "</span>\n</p>\nTAIL\n");
}

TEST(WebPageOutline, EmptyTreeGivesHeadButtonClosingAndTail) {
  EXPECT_EQ(page({}), "HEAD\n<br />\n" + button + buttonEnd + "</span>\n</p>\nTAIL\n");
}

}  // namespace
