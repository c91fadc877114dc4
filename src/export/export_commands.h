// The administrator's export commands over plain rows: each creates its file in
// the export folder, writes it and returns what to tell the user ("" for nothing).
#pragma once

#include <string>
#include <vector>

#include "database/topic_index.h"
#include "export/export_rows.h"
#include "export/forum_posting.h"
#include "export/web_page.h"

namespace exports {

// "ZN-LinuxAPI-Lib.html" from the two templates. A page that cannot be created or
// written ends the command without a word.
std::string saveWebPage(const std::vector<ExportRow>& rows, const CalendarDate& today);
// "ForumPosting.txt".
std::string saveForumPosting(const std::vector<ExportRow>& rows, PostingMode mode);
// "FileList.txt".
std::string saveFileList(const std::vector<ExportRow>& rows);
// "Protocoll.txt", from the whole IndexEntry list.
std::string saveDuplicatesReport(const std::vector<database::IndexEntry>& entries);

}  // namespace exports
