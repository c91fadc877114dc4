// The update check: the published version file read, compared with this program and its
// database, and put into the three result texts of the update window.
#pragma once

#include <array>
#include <string>

namespace services {

// What the check knows; the database date itself belongs to the tree build (database::DbDate).
struct UpdateInfo {
  std::string VersionFileText;
  std::string currentVersion;
  std::string PublishedVersion;
  std::string PublishedDbDate;
};
extern UpdateInfo updateInfo;

// The texts of the three result rows: this program, the GTK 3 program, the library.
using UpdateTexts = std::array<std::string, 3>;

// "http://" + the configured host + the file's path, or ZN_UPDATE_URL when set and not empty.
std::string versionFileUrl();

// Why a check found nothing to compare; None when it did.
enum class UpdateFailure {
  None,
  NoHttpLibrary,    // libcurl cannot be loaded
  TimedOut,         // no complete answer within the time limit
  Unreachable,      // the server is not found or refuses the connection
  TooLarge,         // the answer passes the size limit
  TransferBroken,   // the transfer broke off, or too many or forbidden redirects
  NotAVersionFile,  // an answer came, but lines 3 and 5 hold no values
};

// Takes a downloaded body as the version file: its text and the values of lines 3 and 5
// (without a line end's CR) are stored. False when the body is no UTF-8 text (nothing
// is stored then) or when either value is empty.
bool readVersionFile(const std::string& body, UpdateInfo& info);
// Downloads the version file from versionFileUrl() and reads it.
UpdateFailure downloadVersionFile(UpdateInfo& info);

// The versions compare as a whole, first number first: 1.0.0 and 0.25.40 are newer
// than 0.25.36, 0.24.40 is not.
bool programVersionNewer(const std::string& published, const std::string& current);
// True when the published date (yyyy-mm-dd) is later than the database's.
bool databaseDateNewer(const std::string& published, const std::string& dbDate);
UpdateTexts updateResultTexts(const UpdateInfo& info, const std::string& dbDate);

struct UpdateCheck {
  UpdateFailure failure = UpdateFailure::None;
  UpdateTexts texts;  // only when there is no failure
};

// Downloads and compares.
UpdateCheck checkForUpdates(UpdateInfo& info, const std::string& dbDate);

}  // namespace services
