// The database information window's controls by the numbers their events carry (window 2).
#pragma once

namespace services {

enum DatabaseInfoControl {
  DatabaseLabelControl = 45,
  DatabaseFieldControl = 46,
  ContentLabelControl = 47,
  ContentFieldControl = 48,
  LibraryLabelControl = 49,
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

}  // namespace services
