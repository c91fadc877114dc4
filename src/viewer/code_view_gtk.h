// Shows a topic's description and snippet; the caller brings the other windows in step.
#pragma once

#include <string>
#include <string_view>

#include <gtk/gtk.h>

#include "viewer/code_file.h"

namespace viewer {

// What a load came to: the type test refused the dropped file (nothing changed), the
// file could not be read (the view is empty or shows the missing-file banner), or the
// file is shown.
enum class LoadResult { Refused, Missing, Loaded };

struct LoadedCode {
  LoadResult result = LoadResult::Refused;
  CodeFileProperties properties;  // what the file declares; all 0 unless it was read
};

// Loads a snippet into the code view: external 0 takes a File value of the database,
// 1 the LF-separated list of dropped files (only the first counts); a dropped file
// that passes the type test leaves the view standing for no topic's file.
LoadedCode loadCodeFile(const std::string& path, int external);

// What showing a topic did, for the command that brings the other windows in step.
struct ShownTopic {
  bool shown = false;             // false: the row has no record, and nothing changed
  std::string file;               // the File value the view stands for; "" when the topic has none
  bool fileChanged = false;       // the view was loaded for that file, or emptied
  CodeFileProperties properties;  // of the file loaded, when fileChanged and file is not ""
};

// Shows the row's description (the root and the groups: their Text) and its code; a file
// the view shows already (base::appState.currentCodeFile) is not read again.
ShownTopic showSelectedTopic(int row);
// The same for an entry of the history list: the description in the display language.
ShownTopic showHistoryEntry(int row);
// Shows the row's description anew, in the display language (after a switch).
void showDescriptionOfRow(int row);
// The next file that cannot be read is reported by a message, not only by the banner.
void warnOfNextMissingFile();

// The code view's text from start to end as the view shows it: each link label's
// title stands where its anchor is.
std::string shownCodeText(const GtkTextIter* start, const GtkTextIter* end);
std::string shownCodeText();

// Selects a line of the code view (from 0) and scrolls it into the middle of the
// view; a line past the end selects nothing.
void selectCodeLine(int line);

// Gives the code view, and every link label in it, the font.
void setCodeViewFont(const PangoFontDescription* font);

void showDescription(std::string_view text);
// Gives the description the missing-file background, or the default one.
void setDescriptionAlarm(bool alarm);
void clearCodeView();

}  // namespace viewer
