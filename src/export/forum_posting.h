// The topic list as a forum posting (one line per topic, its group in bold tags) and the
// list of snippet files.
#pragma once

#include <vector>

#include "export/export_file.h"
#include "export/export_rows.h"

namespace exports {

enum class PostingMode { All, News };

void writeForumPosting(ExportWriter& out, const std::vector<ExportRow>& rows, PostingMode mode);

// Every topic row's File as stored, in row order; topics without a file are left out.
void writeFileList(ExportWriter& out, const std::vector<ExportRow>& rows);

}  // namespace exports
