// The dependency installer needs root only for what is missing: run against fake
// package tools, as root and as a normal user, with and without sudo.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using testing_support::readFile;
using testing_support::writeScript;

struct Case {
  const char* name;
  const char* userId;
  const char* missing;  // packages the fake package list lacks, blank-separated
  bool sudoPresent;
  int status;
  const char* calls;  // what sudo and apt-get were asked, one line each
  const char* said;   // part of what the script printed
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case cases[] = {
    {"UserWithNothingMissing", "1000", "", true, 0, "", ""},
    {"UserWithSudo", "1000", "xdotool desktop-file-utils", true, 0,
     "sudo\napt-get update -qq\napt-get install -y --no-install-recommends xdotool desktop-file-utils\n",
     "missing packages: xdotool desktop-file-utils"},
    {"UserWithoutSudo", "1000", "xdotool", false, 1, "",
     "Run as root:\n  apt-get update && apt-get install -y --no-install-recommends xdotool\n"},
    {"Root", "0", "xdotool", false, 0,
     "apt-get update -qq\napt-get install -y --no-install-recommends xdotool\n", "missing packages: xdotool"},
};

class InstallDependencies : public ::testing::TestWithParam<Case> {};

TEST_P(InstallDependencies, InstallsOnlyWhatIsMissingAndAsksForRootOnlyThen) {
  const Case& c = GetParam();
  testing_support::TempDir sandbox;
  const std::string bin = sandbox.path() + "bin/";
  const std::string log = sandbox.path() + "calls";
  std::filesystem::create_directories(bin);
  // Only these programs exist: the real shell tools and the fakes.
  for (const char* tool : {"bash", "sh", "env", "grep"})
    std::filesystem::create_symlink("/bin/" + std::string(tool), bin + tool);
  writeScript(bin + "id", std::string("echo ") + c.userId + "\n");
  writeScript(bin + "dpkg-query",
              "for a; do last=$a; done\nfor p in $MISSING; do [ \"$p\" = \"$last\" ] && exit 1; done\n"
              "echo 'install ok installed'\n");
  writeScript(bin + "apt-get", "echo \"apt-get $*\" >> '" + log + "'\n");
  if (c.sudoPresent) writeScript(bin + "sudo", "echo sudo >> '" + log + "'\nexec \"$@\"\n");

  const std::string script = std::string(ZN_SOURCE_DIR) + "/scripts/install-dependencies.sh";
  const auto result =
      testing_support::runCommand({"/bin/bash", "-c", "\"$0\" 2>&1", script},
                                  {"PATH=" + bin, std::string("MISSING=") + c.missing}, 20000);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(readFile(log), c.calls);
  EXPECT_NE(result.output.find(c.said), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(Users, InstallDependencies, ::testing::ValuesIn(cases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
