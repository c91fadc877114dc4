// Handing work to other programs: the desktop openers, the code editor and the help file.
#include "services/external_programs.h"

namespace services {

bool OpenWithDesktop(const std::string&) { return false; }
void OpenFolderWithDesktop(const std::string&) {}
void openCode() {}
void editHelpFile() {}
bool isUsableEditor(const std::string&) { return false; }
std::string editorMenuText() { return std::string(); }

}  // namespace services
