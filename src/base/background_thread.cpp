#include "base/background_thread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace base {

void giveWayToTheWindow() {
  // On Linux a thread has a niceness of its own, addressed by its thread number.
  constexpr int leastShare = 19;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), leastShare);
}

}  // namespace base
