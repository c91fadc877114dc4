// Writing export files and reading their templates.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace exports {

// Collects the written lines and hands them to the file in large blocks, so that
// an export of any size needs little memory. Without a file the text is kept.
struct ExportWriter {
  std::FILE* file = nullptr;
  std::string text;
  bool failed = false;
};

// Creates (or truncates) the file; a writer whose file is null when that fails.
ExportWriter createExportFile(const std::string& path);
// Writes the text followed by a line feed. Texts are written as they are: UTF-8,
// without a byte-order mark, nothing escaped.
void writeLine(ExportWriter& out, std::string_view text);
// Passes the collected text to the file once enough has gathered.
void flushWhenFull(ExportWriter& out);
// Writes what is left and closes the file. False when any write failed; the
// incomplete file is then removed, so that no half export passes for a whole one.
bool finishExportFile(ExportWriter& out, const std::string& path);

// The template's lines without their line ends (LF, CR LF or CR) and without a
// leading byte-order mark; none when the file cannot be read.
std::vector<std::string> readTemplateLines(const std::string& path);

}  // namespace exports
