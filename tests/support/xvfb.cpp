// Starts Xvfb with -displayfd, so that the server itself picks a free display.
#include "support/xvfb.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

XvfbServer::XvfbServer(const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  // Xvfb writes the display number and a line feed once it accepts clients.
  std::string number;
  pollfd waiter{fds[0], POLLIN, 0};
  for (;;) {
    if (poll(&waiter, 1, 20000) <= 0) break;
    char c;
    const ssize_t got = read(fds[0], &c, 1);
    if (got <= 0 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
  }
}

bool usePrivateDisplay() {
  static std::unique_ptr<XvfbServer> server;
  server = std::make_unique<XvfbServer>();
  if (!server->running()) return false;
  setenv("DISPLAY", server->display().c_str(), 1);
  return true;
}

}  // namespace testing_support
