// The code search window's controls by the numbers their events carry (window 4).
#pragma once

namespace app {

enum CodeSearchControl {
  CodeSearchWindowControl = 0,  // the window itself: its title
  CodeSearchFieldControl = 1,
  CodeSearchHitListControl = 2,
  CodeSearchStatusControl = 3,
  CodeSearchProgressControl = 4,
  CodeSearchControlCount = CodeSearchProgressControl + 1
};

}  // namespace app
