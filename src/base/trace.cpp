// The line trace read by the fatal error report.
#include "base/trace.h"

namespace base {

volatile int currentLine = -1;

}  // namespace base
