// The start-up load of the database, with the messages that end the program.
#include "database/toc_database.h"

#include <thread>

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

namespace {

// The read begun at the start: the thread owns the document until it is joined.
struct StartedLoad {
  std::thread reader;
  std::unique_ptr<TocDatabase> document;
  // A program that ends before the takeover waits for the thread.
  ~StartedLoad() {
    if (reader.joinable()) reader.join();
  }
};
StartedLoad startedLoad;

// Installs the started read's document as readDatabaseFile does; false where it would.
bool takeStartedLoad() {
  startedLoad.reader.join();
  if (!startedLoad.document) return false;
  closeDatabase();
  tocDatabase = std::move(startedLoad.document);
  return true;
}

}  // namespace

void startLoadingDatabase() {
  TRACE_LINE();
  if (startedLoad.reader.joinable() || base::appState.databasePath.empty()) return;
  startedLoad.reader =
      std::thread([path = base::appState.databasePath] { startedLoad.document = parseDatabaseFile(path); });
}

bool loadDatabase() {
  TRACE_LINE();
  const std::string& path = base::appState.databasePath;
  const bool started = startedLoad.reader.joinable();
  if (path.empty()) {
    base::showMessage(base::errorTitle, "No database selected. Programm canceled!");
    return false;
  }
  if (!(started ? takeStartedLoad() : readDatabaseFile(path))) {
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
