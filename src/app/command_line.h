// The program's own command-line options, answered before the toolkit starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

// The name the program is installed and known under.
extern const char* const programName;

// What "--version" or "--help" prints when one of them comes before any "--";
// nothing otherwise, and then every argument is left to the toolkit.
std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments,
                                             const std::string& programFolder);

// The one line on standard error when the display cannot be opened; displayName is
// the --display argument or $DISPLAY, nullptr when neither is given.
std::string noDisplayLine(const char* displayName);

}  // namespace app
