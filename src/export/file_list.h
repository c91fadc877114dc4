// The list of snippet files: one line per topic that names a file.
#pragma once

#include <vector>

#include "export/export_file.h"
#include "export/export_rows.h"

namespace exports {

// Every topic row's File as stored, in row order; topics without a file are left out.
void writeFileList(ExportWriter& out, const std::vector<ExportRow>& rows);

}  // namespace exports
