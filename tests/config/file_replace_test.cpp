// Which file a write through a path changes: the path, or the end of its chain of links.
#include "config/file_replace.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <unistd.h>

#include "support/temp_dir.h"

namespace {

struct Link {
  const char* name;
  const char* target;
};

struct LinkCase {
  const char* what;
  std::vector<Link> links;
  const char* path;
  const char* expected;  // relative to the folder; nullptr: no end
};

class LinkTargetTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkTargetTest, FollowsEveryLinkToItsEnd) {
  const LinkCase& test = GetParam();
  testing_support::TempDir folder;
  folder.write("real.ini", "x");
  folder.write("sub/.keep", "");
  for (const Link& link : test.links) {
    const std::string target = link.target[0] == '@' ? folder.file(link.target + 1) : link.target;
    ASSERT_EQ(0, symlink(target.c_str(), folder.file(link.name).c_str())) << link.name;
  }
  const std::optional<std::string> found = config::linkTarget(folder.file(test.path));
  if (!test.expected) {
    EXPECT_FALSE(found.has_value()) << test.what;
    return;
  }
  ASSERT_TRUE(found.has_value()) << test.what;
  EXPECT_EQ(folder.file(test.expected), *found) << test.what;
}

// A target starting with "@" names a file of the folder by its absolute path.
INSTANTIATE_TEST_SUITE_P(
    Chains, LinkTargetTest,
    ::testing::Values(
        LinkCase{"plain file", {}, "real.ini", "real.ini"},
        LinkCase{"missing plain file", {}, "new.ini", "new.ini"},
        LinkCase{"absolute link", {{"a.ini", "@real.ini"}}, "a.ini", "real.ini"},
        LinkCase{"relative link", {{"a.ini", "real.ini"}}, "a.ini", "real.ini"},
        LinkCase{"dangling absolute link", {{"a.ini", "@sub/new.ini"}}, "a.ini", "sub/new.ini"},
        LinkCase{"dangling relative link", {{"a.ini", "sub/new.ini"}}, "a.ini", "sub/new.ini"},
        LinkCase{"link in a folder, relative to it", {{"sub/a.ini", "new.ini"}}, "sub/a.ini", "sub/new.ini"},
        LinkCase{"chain",
                 {{"a.ini", "b.ini"}, {"b.ini", "sub/c.ini"}, {"sub/c.ini", "../real.ini"}},
                 "a.ini",
                 "sub/../real.ini"},
        LinkCase{"loop", {{"a.ini", "b.ini"}, {"b.ini", "a.ini"}}, "a.ini", nullptr}));

}  // namespace
