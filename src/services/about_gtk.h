// The about dialog of the program.
#pragma once

namespace services {

// Shows the about dialog modally; false when the program logo cannot be loaded,
// in which case nothing is shown.
bool AboutProgramDialog();

}  // namespace services
