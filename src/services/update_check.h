// The update check: the published version file read, compared with this program and its
// database, and put into the three result texts of the update window.
#pragma once

#include <array>
#include <optional>
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

// Takes a downloaded body as the version file: its text and the values of lines 3 and 5
// are stored. False when the body is no UTF-8 text (nothing is stored then) or when
// either value is empty.
bool readVersionFile(const std::string& body, UpdateInfo& info);
// Downloads the version file from versionFileUrl() and reads it.
bool downloadVersionFile(UpdateInfo& info);

// Each of the three numbers is compared on its own: 0.24.40 is newer than 0.25.36.
bool programVersionNewer(const std::string& published, const std::string& current);
// True when the published date (yyyy-mm-dd) is later than the database's.
bool databaseDateNewer(const std::string& published, const std::string& dbDate);
UpdateTexts updateResultTexts(const UpdateInfo& info, const std::string& dbDate);

// Downloads and compares; nothing when the download fails.
std::optional<UpdateTexts> checkForUpdates(UpdateInfo& info, const std::string& dbDate);

}  // namespace services
