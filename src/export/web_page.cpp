// The web page export: head, button line, outline of groups and topics, tail.
#include "export/web_page.h"

#include <cstdio>
#include <string>

#include <glib.h>

#include "base/trace.h"

namespace exports {
namespace {

const char* const datePlaceholder = "CurrDate";
const char* const monthAbbreviations[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const titleArrow = "&nbsp;&nbsp;&nbsp;\u2B0C&nbsp;&nbsp;&nbsp;";

// The placeholder is plain ASCII, so folding ASCII letters is all the case
// blindness it needs; bytes of other characters never match it.
bool matchesPlaceholderAt(const std::string& line, std::size_t at) {
  const std::size_t length = std::char_traits<char>::length(datePlaceholder);
  if (line.size() - at < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (g_ascii_tolower(line[at + i]) != g_ascii_tolower(datePlaceholder[i])) return false;
  }
  return true;
}

std::string buttonLine(const std::vector<ExportRow>& rows) {
  std::string line =
      "<input type=\"button\" name=\"theSubmitButton\" id=\"theSubmitButton\" "
      "value=\"Alle \u00F6ffnen / schlie\u00DFen\" onclick=\"";
  for (const ExportRow& row : rows) {
    if (row.level == groupLevel) line += "outline('" + row.text + "');";
  }
  return line + "return false;\"><br />\n<a></a>\n<a></a></p>\n";
}

std::string groupParagraph(const std::string& name, int previousLevel) {
  std::string text = previousLevel == topicLevel ? "</span>\n</p>\n" : "";
  return text + "<p>\n" +
         "<img src=\"Icons/folder.png\" style=\"vertical-align: middle;\"><a style=\"margin-left: 5px;\" "
         "href=\"#\" onclick=\"outline('" +
         name + "'); return false;\"><b>" + name + "</b></a><br />";
}

// "Linux" + the stored path; a path written without its leading "/" gets one, or
// the link would name a file beside the library folder instead of one inside it.
std::string snippetLink(const std::string& platformName, const std::string& file) {
  if (file.empty() || file[0] == '/') return platformName + file;
  return platformName + "/" + file;
}

std::string topicLink(const database::IndexEntry& entry, const std::string& platformName) {
  const std::string titles = std::string(entry.FunctionDe) + titleArrow + std::string(entry.FunctionEn);
  std::string link =
      "<img src=\"Icons/folder-documents.png\" style=\"vertical-align: middle;\"><a style=\"margin-left: "
      "5px;\" href=\"" +
      snippetLink(platformName, std::string(entry.File));
  if (beginsWithNewTopicMark(entry.FunctionDe))
    return link + "\" target=\"_blank\"><b>" + titles + "</b></a><br />";
  return link + "\" target=\"_blank\">" + titles + "</a><br />";
}

std::string spanOpening(const std::string& group) {
  return "<span id=\"" + group + "\" style=\"display:none; margin-left: 20px;\"> ";
}

// Rows deeper than topics write nothing and leave the previous level alone: a
// nested topic must not hide the topic after it or the closing of its group.
void writeOutline(ExportWriter& out, const std::vector<ExportRow>& rows, const std::string& platformName) {
  int previousLevel = 0;
  std::string group;
  for (const ExportRow& row : rows) {
    if (row.level == groupLevel) {
      group = row.text;
      writeLine(out, groupParagraph(group, previousLevel));
    } else if (row.level == topicLevel && previousLevel == groupLevel) {
      writeLine(out, spanOpening(group) + topicLink(row.entry, platformName));
    } else if (row.level == topicLevel && previousLevel == topicLevel) {
      writeLine(out, topicLink(row.entry, platformName));
    }
    if (row.level <= topicLevel) previousLevel = row.level;
  }
}

}  // namespace

CalendarDate localToday() {
  GDateTime* now = g_date_time_new_now_local();
  CalendarDate today;
  g_date_time_get_ymd(now, &today.year, &today.month, &today.day);
  g_date_time_unref(now);
  return today;
}

std::string webPageDate(const CalendarDate& date) {
  const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
  char text[32];
  std::snprintf(text, sizeof text, "%02d. %s. %04d", date.day, monthAbbreviations[month - 1], date.year);
  return text;
}

std::string replaceDatePlaceholder(const std::string& line, const std::string& date) {
  if (line.find(datePlaceholder) == std::string::npos) return line;
  const std::size_t length = std::char_traits<char>::length(datePlaceholder);
  std::string replaced;
  std::size_t at = 0;
  while (at < line.size()) {
    if (matchesPlaceholderAt(line, at)) {
      replaced += date;
      at += length;
    } else {
      replaced += line[at++];
    }
  }
  return replaced;
}

void writeWebPage(ExportWriter& out, const std::vector<std::string>& head, const std::vector<ExportRow>& rows,
                  const std::vector<std::string>& tail, const std::string& date,
                  const std::string& platformName) {
  TRACE_LINE();
  for (const std::string& line : head) writeLine(out, replaceDatePlaceholder(line, date));
  writeLine(out, "<br />");
  writeLine(out, buttonLine(rows));
  writeOutline(out, rows, platformName);
  writeLine(out, "</span>\n</p>");
  for (const std::string& line : tail) writeLine(out, line);
}

}  // namespace exports
