// Reads the published version file and decides what the update window says.
#include "services/update_check.h"

#include <cstdint>

#include <glib.h>

#include "services/http_download.h"

#ifndef ZN_UPDATE_HOST
#define ZN_UPDATE_HOST "zn-api-viewer.invalid"
#endif

namespace services {

UpdateInfo updateInfo;

namespace {

// The line with this number (from 1), without its line end; "" past the end. A file
// saved with CR LF line ends must give the same values as one with LF alone.
std::string lineAt(const std::string& text, int number) {
  size_t start = 0;
  for (int line = 1; line < number; ++line) {
    start = text.find('\n', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  std::string line = text.substr(start, text.find('\n', start) - start);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string secondField(const std::string& line) {
  const size_t start = line.find('=');
  if (start == std::string::npos) return "";
  return line.substr(start + 1, line.find('=', start + 1) - start - 1);
}

// Blanks before a value are skipped: the file may well say "key = value".
size_t skipBlanks(const std::string& text, size_t position) {
  while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
  return position;
}

// The leading digits of the part as a number (0 without any); huge values saturate.
std::uint64_t partNumber(const std::string& part) {
  std::uint64_t number = 0;
  for (size_t i = skipBlanks(part, 0); i < part.size() && g_ascii_isdigit(part[i]); ++i)
    number = number > UINT64_MAX / 10 - 1 ? UINT64_MAX : number * 10 + (part[i] - '0');
  return number;
}

std::array<std::uint64_t, 3> versionNumbers(const std::string& version) {
  std::array<std::uint64_t, 3> numbers = {};
  size_t start = 0;
  for (std::uint64_t& number : numbers) {
    const size_t end = version.find('.', start);
    number = partNumber(version.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return numbers;
}

int digitsAt(const std::string& text, size_t position, size_t count) {
  if (position + count > text.size()) return -1;
  int value = 0;
  for (size_t i = position; i < position + count; ++i) {
    if (!g_ascii_isdigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The date as yyyymmdd, or 0 when the text does not begin with a real date in that
// form. What follows the date (a carriage return, say) does not matter.
long dateNumber(const std::string& text) {
  const size_t start = skipBlanks(text, 0);
  const int year = digitsAt(text, start, 4);
  const int month = digitsAt(text, start + 5, 2);
  const int day = digitsAt(text, start + 8, 2);
  if (year < 1 || month < 1 || day < 1 || text[start + 4] != '-' || text[start + 7] != '-') return 0;
  if (!g_date_valid_dmy(GDateDay(day), GDateMonth(month), GDateYear(year))) return 0;
  return year * 10000L + month * 100L + day;
}

}  // namespace

std::string versionFileUrl() {
  const char* url = g_getenv("ZN_UPDATE_URL");
  if (url && *url) return url;
  return std::string("http://") + ZN_UPDATE_HOST + "/Linux/ZN-Linux-API-Version.ini";
}

bool readVersionFile(const std::string& body, UpdateInfo& info) {
  // Also refuses NUL bytes: binary data is no version file.
  if (!g_utf8_validate(body.data(), static_cast<gssize>(body.size()), nullptr)) return false;
  info.VersionFileText = body;
  if (body.empty()) return false;
  info.PublishedVersion = secondField(lineAt(body, 3));
  info.PublishedDbDate = secondField(lineAt(body, 5));
  return !info.PublishedVersion.empty() && !info.PublishedDbDate.empty();
}

UpdateFailure downloadVersionFile(UpdateInfo& info) {
  std::string body;
  switch (httpGet(versionFileUrl(), body)) {
    case HttpFailure::None: break;
    case HttpFailure::NoLibrary: return UpdateFailure::NoHttpLibrary;
    case HttpFailure::TimedOut: return UpdateFailure::TimedOut;
    case HttpFailure::Unreachable: return UpdateFailure::Unreachable;
    case HttpFailure::TooLarge: return UpdateFailure::TooLarge;
    case HttpFailure::Broken: return UpdateFailure::TransferBroken;
  }
  return readVersionFile(body, info) ? UpdateFailure::None : UpdateFailure::NotAVersionFile;
}

// The first number decides, then the second, then the third: 0.24.40 is older than 0.25.36.
bool programVersionNewer(const std::string& published, const std::string& current) {
  if (published.empty()) return false;
  return versionNumbers(published) > versionNumbers(current);
}

bool databaseDateNewer(const std::string& published, const std::string& dbDate) {
  if (published.empty()) return false;
  const long publishedDate = dateNumber(published);
  return publishedDate != 0 && publishedDate > dateNumber(dbDate);
}

UpdateTexts updateResultTexts(const UpdateInfo& info, const std::string& dbDate) {
  const char* const arrow = " \u2192 ";
  UpdateTexts texts;
  texts[0] = programVersionNewer(info.PublishedVersion, info.currentVersion)
                 ? "yes:  " + info.currentVersion + arrow + info.PublishedVersion
                 : "no:  " + info.currentVersion;
  texts[1] = " - ";
  texts[2] = databaseDateNewer(info.PublishedDbDate, dbDate)
                 ? "yes:  " + dbDate + arrow + info.PublishedDbDate
                 : "no:  " + info.PublishedDbDate;
  return texts;
}

UpdateCheck checkForUpdates(UpdateInfo& info, const std::string& dbDate) {
  UpdateCheck check;
  check.failure = downloadVersionFile(info);
  if (check.failure == UpdateFailure::None) check.texts = updateResultTexts(info, dbDate);
  return check;
}

}  // namespace services
