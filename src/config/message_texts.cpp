// The program's own messages in the language its interface texts were last set in.
#include "config/message_texts.h"

#include <optional>

#include "config/language_file.h"

namespace config {
namespace {
// Nothing while the built-in German texts stand: then no language file is read.
std::optional<std::int64_t> interfaceLanguage;
}  // namespace

void setInterfaceLanguage(std::int64_t language) { interfaceLanguage = language; }
void resetInterfaceLanguage() { interfaceLanguage.reset(); }

std::string messageText(MessageText message) {
  const MessageTextEntry& entry = messageTexts().at(static_cast<size_t>(message));
  if (!interfaceLanguage || *interfaceLanguage == 0) return entry.german;
  const std::string text = LanguageText(entry.key, false, languageCode(*interfaceLanguage));
  // A message must say something even when the language file lacks it.
  return text.empty() ? entry.german : text;
}

std::string messageText(MessageText message, const std::string& detail) {
  std::string text = messageText(message);
  const size_t place = text.find("%s");
  if (place != std::string::npos) text.replace(place, 2, detail);
  return text;
}

}  // namespace config
