// Reading snippet files (decoding, line rules, options block) against what a plain
// GLib reader does to get valid UTF-8 from the same file: read it in one call, then
// validate it (UTF-8) or convert it from ISO-8859-1 (8-bit). Goal: ratio <= 2.
#include "bench_timing.h"
#include "viewer/code_file.h"

#include <cstdio>
#include <string>

#include <glib.h>
#include <glib/gstdio.h>

namespace {

std::string snippetBytes(std::size_t minimumSize, bool utf8Mark) {
  std::string bytes = utf8Mark ? "\xEF\xBB\xBF" : "";
  const std::string line = utf8Mark ? "  Debug \"Gr\xC3\xBC\xC3\x9F\" + Str(i) ; a typical line of code\r\n"
                                    : "  Debug \"Gr\xFC\xDF\" + Str(i) ; a typical line of code\r\n";
  while (bytes.size() < minimumSize) bytes += line;
  return bytes + "; IDE Options = x\n; EnableUnicode\n; SubSystem = gtk2\n";
}

std::size_t plainRead(const std::string& path, bool utf8) {
  gchar* contents = nullptr;
  gsize length = 0;
  g_file_get_contents(path.c_str(), &contents, &length, nullptr);
  std::size_t result = length;
  if (utf8) {
    result += g_utf8_validate(contents, static_cast<gssize>(length), nullptr) ? 1 : 0;
  } else {
    gsize written = 0;
    gchar* converted =
        g_convert(contents, static_cast<gssize>(length), "UTF-8", "ISO-8859-1", nullptr, &written, nullptr);
    result += written;
    g_free(converted);
  }
  g_free(contents);
  return result;
}

bool measure(const char* name, bool utf8, std::size_t minimumSize, int runs) {
  const std::string bytes = snippetBytes(minimumSize, utf8);
  char* folder = g_dir_make_tmp("zn-bench-XXXXXX", nullptr);
  const std::string path = std::string(folder) + "/snippet.zn";
  g_free(folder);
  g_file_set_contents(path.c_str(), bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
  std::size_t sink = 0;
  const bench::PairTimes times = bench::bestOfTurns(
      runs, [&] { sink += viewer::readCodeFile(path).text.size(); }, [&] { sink += plainRead(path, utf8); });
  const bool met = bench::reportRatio(name, "readCodeFile", times.measuredMs,
                                      utf8 ? "read + validate" : "read + convert", times.baselineMs, 2.0);
  g_unlink(path.c_str());
  g_rmdir(path.substr(0, path.rfind('/')).c_str());
  return met && sink > 0;
}

}  // namespace

int main() {
  bool met = measure("snippet of 5,000 lines, UTF-8", true, 5000 * 56, 50);
  met = measure("snippet of 5,000 lines, 8-bit", false, 5000 * 54, 50) && met;
  met = measure("snippet of 20 MB, UTF-8", true, 20u * 1024 * 1024, 5) && met;
  met = measure("snippet of 20 MB, 8-bit", false, 20u * 1024 * 1024, 5) && met;
  return met ? 0 : 1;
}
