// Routes every modal dialog through one replaceable handler.
#include "base/dialogs.h"

#include "base/trace.h"

namespace base {
namespace {
DialogHandler currentHandler;
}

const char* const messageTitle = "Linux ZN-ZID-Idavode-Ruriva";
const char* const errorTitle = "Linux ZN-ZID-Idavode-Ruriva-Error";

DialogHandler setDialogHandler(DialogHandler handler) {
  DialogHandler previous = std::move(currentHandler);
  currentHandler = std::move(handler);
  return previous;
}

std::string runDialog(const DialogRequest& request) {
  TRACE_LINE();
  if (!currentHandler) return std::string();
  return currentHandler(request);
}

void showMessage(const std::string& title, const std::string& text) {
  DialogRequest request;
  request.kind = DialogKind::Message;
  request.title = title;
  request.text = text;
  runDialog(request);
}

bool askYesNo(const std::string& title, const std::string& text) {
  DialogRequest request;
  request.kind = DialogKind::YesNo;
  request.title = title;
  request.text = text;
  return runDialog(request) == "yes";
}

std::string chooseFile(const std::string& title, const std::string& proposed, const std::string& filterName,
                       const std::string& filterPattern) {
  DialogRequest request;
  request.kind = DialogKind::OpenFile;
  request.title = title;
  request.text = proposed;
  request.filterName = filterName;
  request.filterPattern = filterPattern;
  return runDialog(request);
}

}  // namespace base
