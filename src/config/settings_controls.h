// The settings window's controls by the numbers their events carry (window 1).
#pragma once

namespace config {

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

}  // namespace config
