// The program's own messages in the language its interface texts were last set in.
#pragma once

#include <cstdint>
#include <string>

#include "config/interface_texts.h"

namespace config {

// Called whenever the labels are relabelled in a language (0 German, 1 English, 2 French,
// any other value the language of $LANG). Until then the built-in German texts stand.
void setInterfaceLanguage(std::int64_t language);
void resetInterfaceLanguage();

// The text in the interface language; the built-in German one when the language file
// has none for it.
std::string messageText(MessageText message);
// The same with "%s" replaced by the detail (a program's name, say).
std::string messageText(MessageText message, const std::string& detail);

}  // namespace config
