// The busy cursor over the main window while a command holds the loop.
#pragma once

namespace app {

// Shows the watch cursor over the whole main window until called with false.
void showBusyCursor(bool busy);

}  // namespace app
