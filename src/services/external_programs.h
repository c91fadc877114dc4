// Handing work to other programs: the desktop openers, the code editor and the help file.
#pragma once

#include <string>

namespace services {

// Opens an existing file with the desktop's standard application ("xdg-open",
// then "gnome-open" when the first cannot be started; when neither starts, a message
// says so).
bool OpenWithDesktop(const std::string& path);
// Opens the library folder shown in the database information window
// (the program folder when that text is empty) in the file manager.
void OpenFolderWithDesktop(const std::string& libraryFieldText);
// Opens the shown snippet in the configured editor or the standard application; an
// editor that cannot be started (missing, not executable) is named in a message.
void openCode();
// Administrator mode: opens the help file for editing.
void editHelpFile();

// Whether CodeEditorPath names something to start as an editor.
bool isUsableEditor(const std::string& editorPath);
// The open-code menu text when an editor is configured ("Open code in " + its file name), else "".
std::string editorMenuText();

}  // namespace services
