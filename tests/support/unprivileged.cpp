// Drops root in a child process for the checks that need an ordinary user.
#include "support/unprivileged.h"

#include <cstdio>
#include <filesystem>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace testing_support {
namespace {

struct Identity {
  uid_t uid = 65534;
  gid_t gid = 65534;
};

Identity unprivilegedUser() {
  Identity identity;
  if (const passwd* entry = getpwnam("nobody")) {
    identity.uid = entry->pw_uid;
    identity.gid = entry->pw_gid;
  }
  return identity;
}

void handOver(const std::string& folder, Identity to) {
  namespace fs = std::filesystem;
  lchown(folder.c_str(), to.uid, to.gid);
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::end(it);
       it.increment(error)) {
    lchown(it->path().c_str(), to.uid, to.gid);
  }
}

[[noreturn]] void runAs(Identity identity, const std::function<void()>& check) {
  const bool dropped =
      setgroups(0, nullptr) == 0 && setgid(identity.gid) == 0 && setuid(identity.uid) == 0 && geteuid() != 0;
  if (!dropped) {
    std::printf("could not become the unprivileged user %u\n", static_cast<unsigned>(identity.uid));
    std::fflush(stdout);
    _exit(2);
  }
  check();
  std::fflush(stdout);
  _exit(::testing::Test::HasFailure() ? 1 : 0);
}

}  // namespace

void runUnprivileged(const std::vector<std::string>& folders, const std::function<void()>& check) {
  if (geteuid() != 0) {
    check();
    return;
  }
  const Identity identity = unprivilegedUser();
  for (const std::string& folder : folders) handOver(folder, identity);
  std::fflush(stdout);
  const pid_t child = fork();
  ASSERT_GE(child, 0) << "cannot start the unprivileged check";
  if (child == 0) runAs(identity, check);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the check failed as the unprivileged user (see its output above)";
}

}  // namespace testing_support
