// A private X server for tests that need a display.
#pragma once

#include <string>

#include <sys/types.h>

namespace testing_support {

class XvfbServer {
 public:
  // Starts Xvfb on a free display number at the given screen size.
  explicit XvfbServer(const std::string& screen = "1280x1024x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool running() const { return pid_ > 0 && !display_.empty(); }
  // For example ":12".
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Starts a private Xvfb that lives until the process ends and points DISPLAY at it,
// whatever display is set: the tests move its pointer and type on its keyboard, which
// must not be the user's, nor shared with a test running beside. False when none starts.
bool usePrivateDisplay();

}  // namespace testing_support
