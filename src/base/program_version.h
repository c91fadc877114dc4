// The program's version, as the about dialog, the update check and the command line give it.
#pragma once

namespace base {

inline constexpr char programVersion[] = "0.25.36";

}  // namespace base
