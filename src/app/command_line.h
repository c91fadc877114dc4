// The program's own command-line options, answered before the toolkit starts, and the
// files to show.
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

// The files named by the arguments that the toolkit left: every argument that is no
// option (or any after "--"), a path taken from the working folder or a file:// URI,
// as absolute local paths. URIs of other kinds name no local file and are left out.
std::vector<std::string> commandLineFiles(const std::vector<std::string>& arguments,
                                          const std::string& workingFolder);
// The display the toolkit opens: the argument of a "--display" option before any "--",
// else $DISPLAY; "" when neither is given.
std::string displayName(const std::vector<std::string>& arguments);
// The one line on standard error when that display cannot be opened.
std::string noDisplayLine(const std::string& displayName);

// Whether "--no-restore" comes before any "--": start without the place of the last run.
bool freshStartAsked(const std::vector<std::string>& arguments);

}  // namespace app
