// The update window's labels by their numbers (window 3); their results carry none.
#pragma once

namespace services {

enum UpdateControl {
  ProgramUpdateLabelControl = 65,
  Gtk3UpdateLabelControl = 66,
  LibraryUpdateLabelControl = 67,
};
constexpr int updateRowCount = 3;

}  // namespace services
