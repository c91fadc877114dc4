// The one launcher of external programs: started detached, never waited for.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace services {

// A text containing "/" that names an executable regular file larger than 0 bytes
// is available. Otherwise a text starting with "/" or "./" is not. Otherwise the
// directories of PATH are searched in order (empty entries skipped) for an
// executable regular file of that name.
bool isProgramAvailable(const std::string& program);

// Blanks, tabs and line feeds separate arguments. A double quote starts an
// argument (ending any word before it) that runs to the next double quote or to
// the end of the text, without the quotes; "" gives an empty argument.
std::vector<std::string> splitParameters(const std::string& text);

// Starts the program detached with the given arguments and returns its process
// id, or -1 when it is not available, no process could be created, or the new
// process could not change into workingFolder (when that is not empty) or could not
// execute the program. The program's own argument list is the program text
// followed by the arguments.
pid_t startProgramProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder);

bool startProgramWithArguments(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder);

// splitParameters + startProgramWithArguments.
bool startProgram(const std::string& program, const std::string& parameters,
                  const std::string& workingFolder);

}  // namespace services
