// The texts shown for a topic.
#include "viewer/topic_display.h"

namespace viewer {

std::string codeFormatText(const CodeFileProperties& properties) {
  return properties.SourceUtf8 == 1 ? "UTF8" : "Ascii";
}

std::string executableFormatText(const CodeFileProperties& properties) {
  return properties.EnableUnicode == 1 ? "Unicode" : "Ascii";
}

std::string sourceLabelText(const CodeFileProperties& properties) {
  return properties.SourceUtf8 == 1 ? "Src: UTF8" : "Src: Ascii";
}

std::string executableLabelText(const CodeFileProperties& properties) {
  return properties.EnableUnicode == 1 ? "Exe: UNI" : "Exe: Ascii";
}

std::string subsystemLabelText(const CodeFileProperties& properties) {
  if (properties.SubSystem == 1) return "Sub: gtk2";
  if (properties.SubSystem == 2) return "Sub: gtk3";
  return std::string();
}

std::string missingFileMessage(const std::string& givenPath, const std::string& libPath) {
  return "Missing file:\n" + givenPath + "\n\nCheck library-path in settings:\n" + libPath;
}

const char* const missingFileBanner =
    "*************************\n***   Missing file!   ***\n*************************";

std::string unsupportedTypeMessage(const std::string& extension) {
  return "File type '" + extension + "' not supported!\nNot loaded!";
}

}  // namespace viewer
