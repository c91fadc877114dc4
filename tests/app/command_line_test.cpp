// The files named on the command line, as the program takes them before it changes folder.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

struct FilesCase {
  std::vector<std::string> arguments;
  std::vector<std::string> files;
  const char* why;
};

const FilesCase cases[] = {
    {{"mine.zn"}, {"/home/u/work/mine.zn"}, "relative to the folder the program started in"},
    {{"../x/./a.zni", "/abs/b.znf"}, {"/home/u/x/a.zni", "/abs/b.znf"}, "tidied; absolute stays"},
    {{"file:///tmp/My%20Snippet.zn"}, {"/tmp/My Snippet.zn"}, "a file URI, as a file manager hands it"},
    {{"https://example.org/a.zn", "file://remote-host/a.zn"}, {}, "no local file behind other URIs"},
    {{"--no-such-option", "-x", "a.zn"}, {"/home/u/work/a.zn"}, "options are no files"},
    {{"--", "-odd.zn", "--"},
     {"/home/u/work/-odd.zn", "/home/u/work/--"},
     "after \"--\" every argument is a file"},
    {{""}, {}, "an empty argument names nothing"},
};

TEST(CommandLineTest, FileArgumentsBecomeAbsoluteLocalPaths) {
  for (const FilesCase& c : cases)
    EXPECT_EQ(app::commandLineFiles(c.arguments, "/home/u/work"), c.files) << c.why;
}

}  // namespace
