// Reading a snippet file into the text the code view shows, and the properties it declares.
#pragma once

#include <string>

namespace viewer {

// Text format, character mode and toolkit target of the file last read.
struct CodeFileProperties {
  int SourceUtf8 = 0;     // 1: the file is read as UTF-8, with or without a byte-order mark
  int EnableUnicode = 0;  // 1: the options block holds "; EnableUnicode"
  int SubSystem = 0;      // 0 none, 1 gtk2, 2 gtk3
};

// The accepted snippet types; an extension passes when it is a piece of this text.
extern const char* const codeFileTypes;

// Lib-path followed by the database's file value without its leading "/" characters.
std::string codeFileFullPath(const std::string& libPath, const std::string& file);

// The characters after the last "." of the file-name part; empty when there is no
// "." there or when the "." directly follows a "/".
std::string codeFileExtension(const std::string& path);

// Non-empty and a case-sensitive piece of "zn;zni;znf" (so "z" passes, "ZN" does not).
bool passesCodeTypeTest(const std::string& extension);

// Dropped file names arrive separated by line feeds; only the first one is used.
std::string firstDroppedPath(const std::string& joinedPaths);

struct CodeText {
  std::string text;               // valid UTF-8, lines joined with LF, no LF after the last
  bool opened = false;            // false: missing, a folder or other non-regular file, or unreadable
  CodeFileProperties properties;  // what the file declares; all 0 when it was not read
};

// Reads the whole file: decodes it in the format detectTextFormat finds, splits it
// at LF, CR LF or a lone CR, strips leading "?" from
// every line, hides the options block (from the first line beginning with
// "; IDE Options = " to the end) while recording what it declares, and drops
// empty lines until the first non-empty one. Touches nothing shared: the code index
// reads its files with it in a thread of its own.
CodeText readCodeFile(const std::string& fullPath);

}  // namespace viewer
