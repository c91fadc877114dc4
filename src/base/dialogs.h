// The one door to every modal dialog: messages, questions and choosers.
// The toolkit layer installs the real dialogs; tests install a recorder.
#pragma once

#include <functional>
#include <string>

namespace base {

enum class DialogKind { Message, YesNo, OpenFile, ChooseFolder, ChooseFont };

struct DialogRequest {
  DialogKind kind = DialogKind::Message;
  std::string title;
  std::string text;           // message text, or the proposed file, folder or font
  std::string filterName;     // file chooser only
  std::string filterPattern;  // file chooser only
};

// Returns the chosen path or font, "yes" for a Yes answer, "" for Cancel, No or OK.
using DialogHandler = std::function<std::string(const DialogRequest&)>;

// Installs the handler and returns the previous one.
DialogHandler setDialogHandler(DialogHandler handler);
std::string runDialog(const DialogRequest& request);

void showMessage(const std::string& title, const std::string& text);
bool askYesNo(const std::string& title, const std::string& text);
std::string chooseFile(const std::string& title, const std::string& proposed, const std::string& filterName,
                       const std::string& filterPattern);

// The title of ordinary messages.
extern const char* const messageTitle;
// The title of fatal start-up errors.
extern const char* const errorTitle;

}  // namespace base
