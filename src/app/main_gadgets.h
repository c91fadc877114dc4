// The main window's widgets by the numbers their events carry (window 0).
#pragma once

namespace app {

enum MainGadget {
  NodeToggleGadget = 0,
  AdminButtonGadget = 1,
  SourceLabelGadget = 2,
  ExecutableLabelGadget = 3,
  SubsystemLabelGadget = 4,
  FindButtonGadget = 5,
  SearchFieldGadget = 6,
  SettingsButtonGadget = 7,
  HelpButtonGadget = 8,
  InfoButtonGadget = 9,
  SplitterGadget = 10,
  TopicTreeGadget = 11,
  CodeContainerGadget = 12,
  DescriptionGadget = 13,
  CodeViewGadget = 14,
  CopyButtonGadget = 15,
  HistoryListGadget = 16,
  MainGadgetCount = HistoryListGadget + 1
};

}  // namespace app
