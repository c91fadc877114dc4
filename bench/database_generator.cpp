// A database of the sample's shape: titles with umlauts and markers, nested topics.
#include "database_generator.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace bench {
namespace {

const char* const groupNames[] = {
    "GTK Fenster",    "GTK Knöpfe",          "GDK Zeichnen", "GLib Hilfsmittel", "Dateien und Prozesse",
    "Zwischenablage", "Bäume und Listen",    "Menüs",        "Textansicht",      "Schriften",
    "Bilder",         "Größen und Abstände", "Signale",      "Zeitgeber",        "Tastatur",
    "Maus",           "Ziehen und Ablegen",  "Drucken",      "Einstellungen",    "Verschiedenes"};
constexpr int groupCount = 20;

std::string topicNumber(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%05d", n);
  return text;
}

// Every seventh title is new, every eleventh updated; both markers as in the sample.
std::string marker(int n) {
  if (n % 7 == 0) return "\u2730";
  if (n % 11 == 0) return "\u21BA";
  return "";
}

std::string topicElement(int n, int group, const std::string& indent, bool open) {
  const std::string number = topicNumber(n);
  const std::string mark = marker(n);
  return indent + "<Topic File=\"Group" + std::to_string(group) + "/Topic" + number + ".zn\"\n" + indent +
         "       theme_de=\"" + mark + "Fenstergröße ändern Nr. " + number + "\"\n" + indent +
         "       theme_en=\"" + mark + "Changing the window size no. " + number + "\"\n" + indent +
         "       theme_fr=\"" + mark + "Modifier la taille de la fenêtre n° " + number + "\"\n" + indent +
         "       descript_de=\"Ändert die Größe eines GtkWindow mit gtk_window_resize und "
         "liest sie über das Signal configure-event zurück.\"\n" +
         indent +
         "       descript_en=\"Changes the size of a GtkWindow with gtk_window_resize and "
         "reads it back through the configure-event signal.\"\n" +
         indent +
         "       descript_fr=\"Modifie la taille d'une GtkWindow avec gtk_window_resize et "
         "la relit par le signal configure-event.\"" +
         (open ? ">\n" : "/>\n");
}

}  // namespace

std::string generateDatabaseXml(int topicCount) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<ZnLinuxApiToc name=\"Zarnel Linux API Library\">Zarnel Linux API 2026-11-30 generated "
      "library for the benchmarks.\n"
      "  <Group name=\"ZID Idavode Ruriva\">Help and information about the viewer itself.\n"
      "    <Topic File=\"ViewerHelp.txt\" theme_de=\"Hilfe zum Viewer\" theme_en=\"Viewer help\" "
      "theme_fr=\"Aide du visualiseur\" descript_de=\"Bedienung des Viewers.\" "
      "descript_en=\"How to use the viewer.\" descript_fr=\"Utilisation du visualiseur.\"/>\n"
      "  </Group>\n";
  int written = 1;
  for (int group = 0; group < groupCount; ++group) {
    const int groupEnd = 1 + (topicCount - 1) * (group + 1) / groupCount;
    xml += "  <Group name=\"" + std::string(groupNames[group]) + "\">Snippets of the group " +
           groupNames[group] + ".\n";
    while (written < groupEnd) {
      // Every twenty-fifth topic holds two nested topics, when there is room for them.
      if (written % 25 == 0 && written + 3 <= groupEnd) {
        xml += topicElement(written, group, "    ", true);
        xml += topicElement(written + 1, group, "      ", false);
        xml += topicElement(written + 2, group, "      ", false);
        xml += "    </Topic>\n";
        written += 3;
      } else {
        xml += topicElement(written++, group, "    ", false);
      }
    }
    xml += "  </Group>\n";
  }
  xml += "</ZnLinuxApiToc>\n";
  return xml;
}

std::string generateSiblingsXml(int topicCount) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<ZnLinuxApiToc name=\"Siblings\">Zarnel Linux API 2026-11-30 siblings\n"
      "  <Group name=\"Alle Themen\">One group of many topics.\n";
  xml.reserve(static_cast<std::size_t>(topicCount) * 100 + 200);
  for (int n = 0; n < topicCount; ++n) {
    char number[16];
    std::snprintf(number, sizeof number, "%07d", n);
    xml += std::string("    <T File=\"G/T") + number + ".zn\" theme_de=\"Thema " + number +
           "\" theme_en=\"Topic " + number + "\" theme_fr=\"Sujet " + number + "\"/>\n";
  }
  return xml + "  </Group>\n</ZnLinuxApiToc>\n";
}

std::string generateNestedXml(int depth) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  xml.reserve(static_cast<std::size_t>(depth) * 40 + 100);
  for (int level = 0; level < depth; ++level) {
    xml += "<E theme_de=\"Ebene " + std::to_string(level) + "\">";
  }
  for (int level = 0; level < depth; ++level) xml += "</E>";
  return xml + "\n";
}

std::string generateLongAttributeXml(std::size_t bytes) {
  const std::string piece = "Größe &amp; Lage ändern&#10;";
  std::string description;
  description.reserve(bytes + piece.size());
  while (description.size() < bytes) description += piece;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<ZnLinuxApiToc name=\"Long\">Zarnel Linux API 2026-11-30 long\n"
         "  <Group name=\"Gruppe\">\n"
         "    <Topic File=\"G/Long.zn\" theme_de=\"Lang\" descript_de=\"" +
         description + "\"/>\n  </Group>\n</ZnLinuxApiToc>\n";
}

bool writeDatabaseFile(const std::string& path, const std::string& xml) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << xml;
  return static_cast<bool>(out);
}

namespace {

std::vector<std::string> sampleSnippets() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZN_SOURCE_DIR "/sample")) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".zn" || extension == ".zni" || extension == ".znf")
      paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  std::vector<std::string> snippets;
  for (const std::string& path : paths) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    snippets.push_back(bytes.str());
  }
  return snippets;
}

// The snippet with its own first line, behind the byte-order mark if it has one.
std::string numberedSnippet(const std::string& snippet, int n) {
  const std::size_t mark = snippet.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  return snippet.substr(0, mark) + "; Topic " + std::to_string(n) + "\n" + snippet.substr(mark);
}

}  // namespace

std::size_t writeSnippetLibrary(const std::string& folder, int topicCount) {
  const std::string xml = generateDatabaseXml(topicCount);
  const std::vector<std::string> snippets = sampleSnippets();
  if (snippets.empty() || !writeDatabaseFile(folder + "ZN-LinuxAPI-Toc.xml", xml)) return 0;
  std::size_t bytes = 0;
  int n = 0;
  for (std::size_t at = xml.find("File=\""); at != std::string::npos; at = xml.find("File=\"", at + 1)) {
    const std::size_t start = at + 6;
    const std::string file = xml.substr(start, xml.find('"', start) - start);
    const std::string path = folder + file;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const std::string text = numberedSnippet(snippets[n % snippets.size()], n);
    if (!writeDatabaseFile(path, text)) return 0;
    bytes += text.size();
    ++n;
  }
  return bytes;
}

}  // namespace bench
