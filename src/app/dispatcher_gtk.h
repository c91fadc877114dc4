// The command table: every event of the four windows to its command.
#pragma once

#include "app/event_queue.h"

namespace app {

void dispatchEvent(const Event& event);

}  // namespace app
