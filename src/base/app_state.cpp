// Owner of the program-wide run-time state.
#include "base/app_state.h"

#include "base/trace.h"

namespace base {

AppState appState;

void resetAppState(const std::string& programFolder) {
  TRACE_LINE();
  appState = AppState();
  appState.programFolder = programFolder;
}

}  // namespace base
