// The numbers that menu events carry: the items of the two popup menus and the
// keyboard shortcuts; Escape carries the same number in every window.
#pragma once

namespace app {

enum MenuItem {
  // The admin menu.
  ExportWebPageMenuItem = 1,
  ExportPostingAllMenuItem = 2,
  ExportPostingNewsMenuItem = 3,
  ExportFileListMenuItem = 4,
  DuplicatesReportMenuItem = 5,
  EditHelpFileMenuItem = 6,
  CopyCodePathMenuItem = 7,
  // The info menu.
  AboutProgramMenuItem = 9,
  AboutDatabaseMenuItem = 10,
  UpdateCheckMenuItem = 11,
  OpenCodeMenuItem = 12,
  // The shortcuts.
  ReturnMenuItem = 13,
  EscapeMenuItem = 14,
  HelpKeyMenuItem = 15,
  FindNextMenuItem = 16,
  LineWrapMenuItem = 17,
  LanguageToggleMenuItem = 18,
  GermanMenuItem = 19,
  EnglishMenuItem = 20,
  GermanAltMenuItem = 21,
  FrenchKeyMenuItem = 22,
  CodeSearchMenuItem = 23,  // Ctrl+Shift+F
  MenuItemCount = CodeSearchMenuItem + 1
};

}  // namespace app
