// The line trace read by the fatal error report.
#include "base/trace.h"

namespace base {

thread_local volatile int currentLine = -1;

void recordLine(int line) { currentLine = line; }

}  // namespace base
