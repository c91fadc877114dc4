// Which text key labels which widget, and the German text each widget is built with.
#pragma once

#include <string>
#include <vector>

namespace config {

// Where a widget lives; its number is the event number in that window, for the
// info menu the menu-item number.
enum class TextPlace { Main, Settings, DatabaseInfo, Update, InfoMenu, FindBar };

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

// Texts that no widget carries: the program's own messages and status lines. Their
// number is their place in messageTexts().
enum MessageText {
  UpdateFailedNoHttpLibrary,
  UpdateFailedTimedOut,
  UpdateFailedUnreachable,
  UpdateFailedTooLarge,
  UpdateFailedTransfer,
  UpdateFailedNotAVersionFile,
  ProgramNotStarted,  // "%s" stands for the program
  // The code search window: "{n}" and "{total}" stand for numbers, a TAB parts the
  // singular from the plural.
  CodeSearchTitle,
  CodeSearchTopics,
  CodeSearchLines,
  CodeSearchMore,
  CodeSearchReading,
  MessageTextCount
};

struct MessageTextEntry {
  const char* key;
  const char* german;  // built-in
};

// By MessageText; the language file keeps them like the labels.
const std::vector<MessageTextEntry>& messageTexts();

// The built-in German text of a widget, "" when it has none.
std::string builtInText(TextPlace place, int widget);
std::string builtInTooltip(TextPlace place, int widget);

}  // namespace config
