// The language file: any bytes read into a table of valid UTF-8 texts.
#include <cstdint>
#include <string>

#include <glib.h>

#include "config/language_file.h"
#include "fuzz_input.h"

namespace {

bool validUtf8(const std::string& text) {
  return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  config::LanguageTable table;
  config::readLanguageText(std::string(reinterpret_cast<const char*>(data), size), table);
  for (const auto& [key, entry] : table) {
    FUZZ_EXPECT(validUtf8(key));
    FUZZ_EXPECT(validUtf8(entry.de) && validUtf8(entry.en) && validUtf8(entry.fr));
  }
  for (int item = 0; item < 3 && !table.empty(); ++item) config::listItemText(table.begin()->second.de, item);
  return 0;
}
