// Applies the language choice to the topic tree and the interface texts.
#pragma once

namespace app {

// quick: only the topic tree switches language; otherwise the interface texts too.
void ApplyLanguage(bool quick);

// Rebuilds the topic tree from the loaded document in the display language,
// keeping the selected row number and leaving every node open.
void rebuildTreeKeepingSelection();

}  // namespace app
