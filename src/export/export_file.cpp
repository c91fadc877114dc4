// Export files: created first, filled in blocks, closed with a check of every write.
#include "export/export_file.h"

#include <glib.h>
#include <glib/gstdio.h>

#include "base/trace.h"

namespace exports {
namespace {

constexpr std::size_t flushSize = 1 << 20;

void writeCollected(ExportWriter& out) {
  if (!out.file || out.text.empty()) return;
  if (!out.failed && std::fwrite(out.text.data(), 1, out.text.size(), out.file) != out.text.size()) {
    out.failed = true;
  }
  out.text.clear();
}

void splitLines(const std::string& text, std::vector<std::string>& lines) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      return;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

ExportWriter createExportFile(const std::string& path) {
  TRACE_LINE();
  ExportWriter out;
  out.file = std::fopen(path.c_str(), "wb");
  return out;
}

void writeLine(ExportWriter& out, std::string_view text) {
  out.text += text;
  out.text += '\n';
  flushWhenFull(out);
}

void flushWhenFull(ExportWriter& out) {
  if (out.text.size() >= flushSize) writeCollected(out);
}

bool finishExportFile(ExportWriter& out, const std::string& path) {
  TRACE_LINE();
  if (!out.file) return false;
  writeCollected(out);
  if (std::fclose(out.file) != 0) out.failed = true;
  out.file = nullptr;
  if (out.failed) g_unlink(path.c_str());
  return !out.failed;
}

std::vector<std::string> readTemplateLines(const std::string& path) {
  TRACE_LINE();
  std::vector<std::string> lines;
  gchar* bytes = nullptr;
  gsize size = 0;
  if (!g_file_get_contents(path.c_str(), &bytes, &size, nullptr)) return lines;
  std::string text(bytes, size);
  g_free(bytes);
  // A mark inside the page would show as a stray character, and the page has none.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  splitLines(text, lines);
  return lines;
}

}  // namespace exports
