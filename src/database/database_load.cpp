// The start-up load of the database, with the messages that end the program.
#include "database/toc_database.h"

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/trace.h"

namespace database {

const char* const xmlErrorTitle = "Linux ZN-ZID-Idavode-RurivaError";

std::string xmlErrorMessage(const TocDatabase& document) {
  return "Error in the XML file:\rMessage: " + document.errorText +
         "\rLine: " + std::to_string(document.errorLine) +
         "   Character: " + std::to_string(document.errorColumn);
}

bool loadDatabase() {
  TRACE_LINE();
  const std::string& path = base::appState.databasePath;
  if (path.empty()) {
    base::showMessage(base::errorTitle, "No database selected. Programm canceled!");
    return false;
  }
  if (!readDatabaseFile(path)) {
    base::showMessage(base::errorTitle, "The database '" + path + "' cannot be opened.");
    return false;
  }
  if (tocDatabase->status != 0) {
    base::showMessage(xmlErrorTitle, xmlErrorMessage(*tocDatabase));
    return false;
  }
  return true;
}

}  // namespace database
