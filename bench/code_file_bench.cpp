// Times reading snippet files against plainly reading the same bytes from disk.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <glib.h>
#include <glib/gstdio.h>

#include "viewer/code_file.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string snippetBytes(std::size_t minimumSize, bool utf8Mark) {
  std::string bytes = utf8Mark ? "\xEF\xBB\xBF" : "";
  const std::string line = utf8Mark ? "  Debug \"Gr\xC3\xBC\xC3\x9F\" + Str(i) ; a typical line of code\r\n"
                                    : "  Debug \"Gr\xFC\xDF\" + Str(i) ; a typical line of code\r\n";
  while (bytes.size() < minimumSize) bytes += line;
  return bytes + "; IDE Options = x\n; EnableUnicode\n; SubSystem = gtk2\n";
}

std::string plainRead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The best of several runs, in microseconds.
template <typename Work>
double bestMicroseconds(int runs, Work work) {
  double best = 1e18;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (took < best) best = took;
  }
  return best;
}

void measure(const char* name, const std::string& bytes, int runs) {
  char* folder = g_dir_make_tmp("zn-bench-XXXXXX", nullptr);
  const std::string path = std::string(folder) + "/snippet.zn";
  g_file_set_contents(path.c_str(), bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
  std::size_t sink = plainRead(path).size() + viewer::readCodeFile(path).text.size();  // warm the cache
  const double baseline = bestMicroseconds(runs, [&] { sink += plainRead(path).size(); });
  const double reading = bestMicroseconds(runs, [&] { sink += viewer::readCodeFile(path).text.size(); });
  std::printf("%-28s %10zu bytes  readCodeFile %9.0f us  plain read %9.0f us  ratio %5.2f  (%zu)\n", name,
              bytes.size(), reading, baseline, reading / baseline, sink % 10);
  g_unlink(path.c_str());
  g_rmdir(folder);
  g_free(folder);
}

}  // namespace

int main() {
  measure("5,000 lines, UTF-8", snippetBytes(5000 * 56, true), 50);
  measure("5,000 lines, 8-bit", snippetBytes(5000 * 54, false), 50);
  measure("20 MB, UTF-8", snippetBytes(20u * 1024 * 1024, true), 5);
  measure("20 MB, 8-bit", snippetBytes(20u * 1024 * 1024, false), 5);
  return 0;
}
