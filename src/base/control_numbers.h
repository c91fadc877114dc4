// The numbers that events carry: the windows' controls and the menu items. Every
// window keeps its numbers for good; the command table dispatches on them.
#pragma once

namespace base {

// The main window (window 0).
enum MainControl {
  NodeToggleControl = 0,
  AdminButtonControl = 1,
  SourceLabelControl = 2,
  ExecutableLabelControl = 3,
  SubsystemLabelControl = 4,
  FindButtonControl = 5,
  SearchFieldControl = 6,
  SettingsButtonControl = 7,
  HelpButtonControl = 8,
  InfoButtonControl = 9,
  SplitterControl = 10,
  TopicTreeControl = 11,
  CodeContainerControl = 12,
  DescriptionControl = 13,
  CodeViewControl = 14,
  CopyButtonControl = 15,
  HistoryListControl = 16,
  MainControlCount = HistoryListControl + 1
};

// The settings window (window 1).
enum SettingsControl {
  DatabaseLabelControl = 17,
  LibraryLabelControl = 18,
  DatabasePathControl = 19,
  DatabaseChooserControl = 20,
  LibraryPathControl = 21,
  LibraryChooserControl = 22,
  KeepPathsControl = 23,
  ApplyControl = 24,
  LanguageLabelControl = 25,
  LanguageListControl = 26,
  FontLabelControl = 27,
  FontNameControl = 28,
  FontSizeControl = 29,
  FontButtonControl = 30,
  SearchScopeLabelControl = 31,
  SearchScopeListControl = 32,
  SearchHintLabelControl = 33,
  SearchHintListControl = 34,
  TitleContentLabelControl = 35,
  TitleContentListControl = 36,
  CodeMarkingLabelControl = 37,
  CodeMarkingListControl = 38,
  NewTopicsControl = 39,
  WindowGeometryControl = 40,
  PathsFrameControl = 41,
  ProgramFrameControl = 42,
  CancelControl = 43,
  SaveControl = 44,
  SettingsControlCount = SaveControl + 1
};

// The database information window (window 2).
enum DatabaseInfoControl {
  InfoDatabaseLabelControl = 45,
  DatabaseFieldControl = 46,
  ContentLabelControl = 47,
  ContentFieldControl = 48,
  InfoLibraryLabelControl = 49,
  LibraryFieldControl = 50,
  FileLabelControl = 51,
  FileFieldControl = 52,
  CodeFormatLabelControl = 53,
  CodeFormatFieldControl = 54,
  ExecutableFormatLabelControl = 55,
  ExecutableFormatFieldControl = 56,
  TopicsLabelControl = 57,
  TopicsFieldControl = 58,
  EntriesLabelControl = 59,
  EntriesFieldControl = 60,
  LibraryFrameControl = 61,
  FileFrameControl = 62,
  FolderIconControl = 63,
  CopyIconControl = 64,
  DatabaseInfoControlCount = CopyIconControl + 1
};

// The update window's labels (window 3); its results carry no numbers.
enum UpdateControl {
  ProgramUpdateLabelControl = 65,
  Gtk3UpdateLabelControl = 66,
  LibraryUpdateLabelControl = 67,
};
constexpr int updateRowCount = 3;

// The find bar below the main window's code view (window 0).
enum FindBarControl {
  FindLabelControl = 70,
  FindFieldControl = 71,
  FindCountControl = 72,
  FindPreviousControl = 73,
  FindNextControl = 74,
  FindCloseControl = 75,
  FindBarFirstControl = FindLabelControl,
  FindBarControlEnd = FindCloseControl + 1
};

// The code search window (window 4).
enum CodeSearchControl {
  CodeSearchWindowControl = 68,  // the window itself: its title
  CodeSearchFieldControl = 69,
  CodeSearchHitListControl = 70,
  CodeSearchStatusControl = 71,
  CodeSearchProgressControl = 72,
  CodeSearchControlCount = CodeSearchProgressControl + 1
};

// The items of the two popup menus and the keyboard shortcuts; Escape carries the
// same number in every window.
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
  // The keys of the find bar and of stepping back and forward.
  FindInCodeMenuItem = 30,
  FindPreviousMenuItem = 31,
  BackMenuItem = 32,
  ForwardMenuItem = 33,
  CodeSearchMenuItem = 34,  // Ctrl+Shift+F
  MenuItemCount = CodeSearchMenuItem + 1
};

}  // namespace base
