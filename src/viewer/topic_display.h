// The texts shown for a topic: its file formats, property labels and missing-file notes.
#pragma once

#include <string>

#include "viewer/code_file.h"

namespace viewer {

// "UTF8" or "Ascii".
std::string codeFormatText(const CodeFileProperties& properties);
// "Unicode" or "Ascii".
std::string executableFormatText(const CodeFileProperties& properties);
// The administrator-mode labels: "Src: ...", "Exe: ...", "Sub: ..." or "".
std::string sourceLabelText(const CodeFileProperties& properties);
std::string executableLabelText(const CodeFileProperties& properties);
std::string subsystemLabelText(const CodeFileProperties& properties);

std::string missingFileMessage(const std::string& givenPath, const std::string& libPath);
extern const char* const missingFileBanner;
std::string unsupportedTypeMessage(const std::string& extension);

}  // namespace viewer
