// Threads that work in the background give way to the window's own thread.
#pragma once

namespace base {

// Lowers the calling thread to the least share of the processor: its work then runs on
// time that typing, clicking and painting do not want, however long it takes.
void giveWayToTheWindow();

}  // namespace base
