// The source line the program is about to run; the fatal error report names it.
#pragma once

namespace base {

// A plain global so that a signal handler can read it; -1 until a line is recorded.
// Each thread records its own lines, so the report names the line of the thread
// that failed, and a background thread never writes over the main thread's line.
extern thread_local volatile int currentLine;

}  // namespace base

// Records the current source line for the fatal error report.
#define TRACE_LINE() (::base::currentLine = __LINE__)
