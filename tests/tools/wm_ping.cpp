// Asks a window, as a window manager does, whether its program still answers
// (_NET_WM_PING), or waits until a window manager runs on the display.
//
//   wm_ping WINDOW TIMEOUT_MS    exit 0 answered, 1 no answer in time, 3 no such window
//   wm_ping --manager TIMEOUT_MS exit 0 once a window manager runs, 1 at the time limit
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <poll.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

using Clock = std::chrono::steady_clock;

bool windowMissing = false;

int onXError(Display*, XErrorEvent* error) {
  if (error->error_code == BadWindow) windowMissing = true;
  return 0;
}

// Waits for the next event until the deadline; false at the deadline.
bool nextEvent(Display* display, Clock::time_point deadline, XEvent* event) {
  while (!XPending(display)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(left));
  }
  XNextEvent(display, event);
  return true;
}

bool managerRuns(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                     &count, &after, &data);
  if (data) XFree(data);
  return count == 1;
}

int waitForManager(Display* display, Clock::time_point deadline) {
  XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
  XEvent event;
  while (!managerRuns(display)) {
    if (!nextEvent(display, deadline, &event)) return 1;
  }
  return 0;
}

// The program answers by sending the message back to the root window.
int ping(Display* display, Window window, Clock::time_point deadline) {
  const Window root = DefaultRootWindow(display);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom pingAtom = XInternAtom(display, "_NET_WM_PING", False);
  const long stamp = static_cast<long>(Clock::now().time_since_epoch().count() & 0x7fffffff);
  XSelectInput(display, root, SubstructureNotifyMask);
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = protocols;
  message.xclient.format = 32;
  message.xclient.data.l[0] = static_cast<long>(pingAtom);
  message.xclient.data.l[1] = stamp;
  message.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, window, False, NoEventMask, &message);
  XSync(display, False);
  if (windowMissing) return 3;
  XEvent event;
  while (nextEvent(display, deadline, &event)) {
    const XClientMessageEvent& answer = event.xclient;
    if (event.type == ClientMessage && answer.message_type == protocols &&
        answer.data.l[0] == static_cast<long>(pingAtom) && answer.data.l[1] == stamp)
      return 0;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wm_ping WINDOW TIMEOUT_MS | wm_ping --manager TIMEOUT_MS\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "wm_ping: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(onXError);
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::atol(argv[2]));
  const int result = std::strcmp(argv[1], "--manager") == 0
                         ? waitForManager(display, deadline)
                         : ping(display, static_cast<Window>(std::strtoul(argv[1], nullptr, 0)), deadline);
  XCloseDisplay(display);
  return result;
}
