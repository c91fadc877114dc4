// Which text key labels which widget, and the German text each widget is built with.
#pragma once

#include <string>
#include <vector>

namespace config {

// Where a widget lives; its number is the event number in that window, for the
// info menu the menu-item number.
enum class TextPlace { Main, Settings, DatabaseInfo, Update, InfoMenu, CodeSearch };

struct InterfaceText {
  const char* key;
  TextPlace place;
  int widget;
  // Built-in; the three items of a list are separated by TAB characters.
  const char* german;
};

// Labels, frame titles, list items and menu entries.
const std::vector<InterfaceText>& interfaceTexts();
// Tooltips; looked up with the tooltip flag, so the language file keeps them under "TT" + key.
const std::vector<InterfaceText>& interfaceTooltips();

// Texts that a window composes as it runs (numbers filled in, a singular and a
// plural form TAB-separated), looked up in the interface's language each time.
const std::vector<InterfaceText>& composedTexts();

// The built-in German text of a widget, "" when it has none.
std::string builtInText(TextPlace place, int widget);
std::string builtInTooltip(TextPlace place, int widget);

}  // namespace config
