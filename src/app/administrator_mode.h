// Whether this program is the administrator variant, which shows the admin button (it
// opens the admin menu) and the three property labels of the main window.
#pragma once

namespace app {

extern const bool administratorMode;

}  // namespace app
