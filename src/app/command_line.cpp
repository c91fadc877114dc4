// The answers to "--version" and "--help"; they need no display, so they come before the toolkit.
#include "app/command_line.h"

#include <cstdlib>

#include "base/program_version.h"
#include "config/settings_store.h"

namespace app {
namespace {

std::string versionText() { return std::string(programName) + " " + base::programVersion + "\n"; }

std::string helpText(const std::string& programFolder) {
  const std::string usage = std::string("Usage: ") + programName + " [--help | --version] [GTK option...]\n";
  const std::string settings = "  " + programFolder + config::settingsFileName + "\n";
  return usage +
         "A viewer for the library of Zarnel source-code snippets.\n"
         "\n"
         "  --help      print this help and end\n"
         "  --version   print the version and end\n"
         "Other options go to the GTK toolkit, for example --display=:1.\n"
         "\n"
         "Settings live in the file beside the program:\n" +
         settings +
         "Another database: choose it in the settings window (the settings button),\n"
         "or write its path after \"db-path=\" in the settings file. Without a settings\n"
         "file the program asks for the database when it starts.\n";
}

}  // namespace

const char* const programName = "zn-api-viewer";

std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments,
                                             const std::string& programFolder) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--version") return versionText();
    if (argument == "--help") return helpText(programFolder);
  }
  return std::nullopt;
}

std::string displayName(const std::vector<std::string>& arguments) {
  const std::string option = "--display";
  for (size_t i = 0; i < arguments.size() && arguments[i] != "--"; ++i) {
    if (arguments[i] == option && i + 1 < arguments.size()) return arguments[i + 1];
    if (arguments[i].rfind(option + "=", 0) == 0) return arguments[i].substr(option.size() + 1);
  }
  const char* variable = std::getenv("DISPLAY");
  return variable ? variable : "";
}

std::string noDisplayLine(const std::string& displayName) {
  const std::string name =
      displayName.empty() ? "none given (DISPLAY is not set)" : "\"" + displayName + "\"";
  return std::string(programName) + ": cannot open display " + name + "\n";
}

}  // namespace app
