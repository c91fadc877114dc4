// The real toolkit dialogs behind the program's dialog door.
#pragma once

namespace base {

// Installs the toolkit dialogs as the handler of base::runDialog.
void installToolkitDialogs();

}  // namespace base
