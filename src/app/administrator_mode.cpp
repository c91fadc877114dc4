// The one file in which the two variants differ: the build compiles it once with
// ZN_ADMIN_MODE for the administrator variant and once without.
#include "app/administrator_mode.h"

namespace app {

#ifdef ZN_ADMIN_MODE
const bool administratorMode = true;
#else
const bool administratorMode = false;
#endif

}  // namespace app
