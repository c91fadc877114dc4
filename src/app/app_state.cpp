// Owner of the program-wide run-time state.
#include "app/app_state.h"

AppState appState;
thread_local volatile int currentLine = -1;

void resetAppState(const std::string& programFolder) {
  TRACE_LINE();
  appState = AppState();
  appState.programFolder = programFolder;
}
