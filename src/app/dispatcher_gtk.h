// The command table: every event of the four windows to its command.
#pragma once

#include "base/event_queue.h"

namespace app {

void dispatchEvent(const base::Event& event);

}  // namespace app
