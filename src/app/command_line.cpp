// The answers to "--version" and "--help", which need no display and so come before the
// toolkit, and the snippet files named on the command line.
#include "app/command_line.h"

#include <cstdlib>

#include "base/program_version.h"
#include "config/settings_location.h"

#include <glib.h>

namespace app {
namespace {

std::string versionText() { return std::string(programName) + " " + base::programVersion + "\n"; }

std::string settingsPlace(const std::string& programFolder) {
  const std::string file = "  " + config::settingsFileFor(programFolder) + "\n";
  if (config::keepsSettingsBesideProgram(programFolder))
    return "Settings live in the file beside the program:\n" + file;
  return "The program folder is shared, so your settings live in a file of your own,\n"
         "copied from the program folder at your first start:\n" +
         file;
}

std::string helpText(const std::string& programFolder) {
  const std::string usage = std::string("Usage: ") + programName +
                            " [--help | --version] [--no-restore] [GTK option...] [FILE...]\n";
  return usage +
         "A viewer for the library of Zarnel source-code snippets.\n"
         "\n"
         "  --help      print this help and end\n"
         "  --version   print the version and end\n"
         "  --no-restore  start fresh, not where the last run with this database ended\n"
         "  FILE        a snippet file (.zn, .zni, .znf; a path or a file:// URI) to show\n"
         "              after the start, as a file dropped on the code view is shown\n"
         "Other options go to the GTK toolkit, for example --display=:1.\n"
         "\n" +
         settingsPlace(programFolder) +
         "Another database: choose it in the settings window (the settings button),\n"
         "or write its path after \"db-path=\" in the settings file. Without a settings\n"
         "file the program asks for the database when it starts.\n";
}

// The file of a file:// URI on this machine; "" for any other URI.
std::string localFileOfUri(const std::string& uri) {
  gchar* host = nullptr;
  gchar* path = g_filename_from_uri(uri.c_str(), &host, nullptr);
  const bool local = path && (!host || g_strcmp0(host, "localhost") == 0);
  std::string result = local ? path : "";
  g_free(host);
  g_free(path);
  return result;
}

std::string localPath(const std::string& argument, const std::string& workingFolder) {
  gchar* scheme = g_uri_parse_scheme(argument.c_str());
  const bool isUri = scheme != nullptr;
  g_free(scheme);
  if (isUri) return localFileOfUri(argument);
  gchar* path = g_canonicalize_filename(argument.c_str(), workingFolder.c_str());
  std::string result = path;
  g_free(path);
  return result;
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

std::vector<std::string> commandLineFiles(const std::vector<std::string>& arguments,
                                          const std::string& workingFolder) {
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument.empty() || (!optionsEnded && argument[0] == '-')) continue;
    const std::string path = localPath(argument, workingFolder);
    if (!path.empty()) files.push_back(path);
  }
  return files;
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

bool freshStartAsked(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--no-restore") return true;
  }
  return false;
}

}  // namespace app
