// The export commands: file names, messages and the order of creating and writing.
#include "export/export_commands.h"

#include "base/app_state.h"
#include "base/trace.h"
#include "export/duplicates_report.h"
#include "export/export_file.h"
#include "export/forum_posting.h"

namespace exports {
namespace {

const char* const webPageName = "ZN-LinuxAPI-Lib.html";
const char* const headTemplateName = "ZN-LinuxAPI-Head.html";
const char* const tailTemplateName = "ZN-LinuxAPI-Tail.html";
const char* const postingName = "ForumPosting.txt";
const char* const fileListName = "FileList.txt";
const char* const reportName = "Protocoll.txt";

std::string exportPath(const char* name) { return base::appState.exportFolder + name; }

}  // namespace

std::string saveWebPage(const std::vector<ExportRow>& rows, const CalendarDate& today) {
  TRACE_LINE();
  const std::string path = exportPath(webPageName);
  ExportWriter out = createExportFile(path);
  if (!out.file) return std::string();
  writeWebPage(out, readTemplateLines(base::appState.templatesFolder + headTemplateName), rows,
               readTemplateLines(base::appState.templatesFolder + tailTemplateName), webPageDate(today),
               base::appState.platformName);
  if (!finishExportFile(out, path)) return std::string();
  return "html-Export done to ...\n" + path;
}

std::string saveForumPosting(const std::vector<ExportRow>& rows, PostingMode mode) {
  TRACE_LINE();
  const std::string path = exportPath(postingName);
  ExportWriter out = createExportFile(path);
  if (out.file) writeForumPosting(out, rows, mode);
  if (!finishExportFile(out, path)) return "Couldn't create\n" + path;
  return "text-Export done to ...\n" + path;
}

std::string saveFileList(const std::vector<ExportRow>& rows) {
  TRACE_LINE();
  const std::string path = exportPath(fileListName);
  ExportWriter out = createExportFile(path);
  if (out.file) writeFileList(out, rows);
  if (!finishExportFile(out, path)) return "Couldn't create\n" + path;
  return "Filelist-Export done to ...\n" + path;
}

std::string saveDuplicatesReport(const std::vector<database::IndexEntry>& entries) {
  TRACE_LINE();
  const std::string path = exportPath(reportName);
  ExportWriter out = createExportFile(path);
  if (out.file) writeDuplicatesReport(out, entries, base::appState.databaseFileName);
  if (!finishExportFile(out, path)) return "Couldn't create Protokoll\n" + path;
  return "Protokoll with double terms done to ...\n" + path;
}

}  // namespace exports
