// The source line the program is about to run; the fatal error report names it.
#pragma once

namespace base {

// A plain global so that a signal handler can read it; -1 until a line is recorded.
// Each thread records its own lines, so the report names the line of the thread
// that failed, and a background thread never writes over the main thread's line.
extern thread_local volatile int currentLine;

// Sets currentLine. Out of line, where the variable is defined: written in place
// through its extern declaration, GCC's null check of the sanitized build tests a
// flag that the linker's rewrite of the thread-local access no longer sets, and
// reports a store to a null pointer at the first line the program records.
void recordLine(int line);

}  // namespace base

// Records the current source line for the fatal error report.
#define TRACE_LINE() ::base::recordLine(__LINE__)
