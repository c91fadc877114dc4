// The settings file: any bytes parse, and what the program writes reads back the same.
#include <cstdint>
#include <string>

#include <glib.h>

#include "config/settings_file.h"
#include "fuzz_input.h"

namespace {

bool writableValue(const std::string& value) {
  // A value ends at the line end and loses leading blanks and tabs when read.
  return value.find_first_of("\r\n") == std::string::npos &&
         (value.empty() || (value[0] != ' ' && value[0] != '\t'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> pieces = fuzzing::piecesOf(data, size);
  const std::string bytes = pieces[0];
  config::SettingsDocument document = config::parseSettingsBytes(bytes);
  const std::string written = config::formatSettingsDocument(document);
  FUZZ_EXPECT(g_utf8_validate(written.data(), static_cast<gssize>(written.size()), nullptr));
  // What the program wrote, it reads and writes again unchanged.
  FUZZ_EXPECT(config::formatSettingsDocument(config::parseSettingsBytes(written)) == written);
  config::parseSettingsNumber(bytes);

  // A key written into the document reads back from the file, whatever else it holds.
  const std::string value = pieces.size() > 1 ? pieces[1] : std::string("/opt/lib/");
  const char* const key = value.size() % 2 ? "CodeEditorPath" : "Lib-path";
  gchar* made = g_utf8_make_valid(value.data(), static_cast<gssize>(value.size()));
  const std::string validValue = made;
  g_free(made);
  if (!writableValue(validValue)) return 0;
  config::writeSettingsText(document, key, validValue);
  config::writeSettingsNumber(document, "FontSize", static_cast<std::int64_t>(size) - 1000);
  const config::SettingsDocument reread =
      config::parseSettingsBytes(config::formatSettingsDocument(document));
  FUZZ_EXPECT(config::readSettingsText(reread, key, "missing") == validValue);
  FUZZ_EXPECT(config::readSettingsNumber(reread, "FontSize", 0) == static_cast<std::int64_t>(size) - 1000);
  return 0;
}
