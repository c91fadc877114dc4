// The library as one web page: the head template, a collapsible outline of the
// groups and topics with links to their snippet files, the tail template.
#pragma once

#include <string>
#include <vector>

#include "export/export_file.h"
#include "export/export_rows.h"

namespace exports {

struct CalendarDate {
  int day = 1;
  int month = 1;  // 1 to 12
  int year = 2000;
};

CalendarDate localToday();

// The date that replaces the placeholder: "06. Dec. 2026".
std::string webPageDate(const CalendarDate& date);
// A head line that holds "CurrDate" (exactly so) gets every occurrence replaced,
// in any letter case; other lines stay as they are.
std::string replaceDatePlaceholder(const std::string& line, const std::string& date);

// The whole page: the head lines, the button line, the outline, the tail lines.
void writeWebPage(ExportWriter& out, const std::vector<std::string>& head, const std::vector<ExportRow>& rows,
                  const std::vector<std::string>& tail, const std::string& date,
                  const std::string& platformName);

}  // namespace exports
