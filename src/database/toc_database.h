// The database file in memory: reading it with Expat into a node tree, and the start-up load.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace database {

enum class NodeKind { Element, Comment, ProcessingInstruction, CData, DocType };

struct XmlAttribute {
  std::string name, value;
};

struct XmlNode {
  NodeKind kind = NodeKind::Element;
  // Element name, processing-instruction target or document type name.
  std::string name;
  std::vector<XmlAttribute> attributes;
  // Elements: the character data directly inside, in the file's line-end style.
  // Comments, CDATA sections, processing instructions: their content.
  std::string text;
  XmlNode* firstChild = nullptr;
  XmlNode* nextSibling = nullptr;
};

enum class LineEnd { CrLf, Lf, Cr };

struct TocDatabase {
  // Every node of the document; a deque keeps the addresses stable while it grows.
  std::deque<XmlNode> nodes;
  // The nodes outside the document element (and the document element itself), in order.
  const XmlNode* firstTopNode = nullptr;
  // The document element, the first element created; none when no element was parsed.
  const XmlNode* root = nullptr;
  // 0 (XML_ERROR_NONE) or Expat's error code of the first rejected block.
  int status = 0;
  std::string errorText;
  long errorLine = 0;
  // Expat's column plus 1, so that the first character of a line is 1.
  long errorColumn = 0;
  LineEnd lineEnd = LineEnd::Lf;
};

// The one loaded document; replaced by readDatabaseFile.
extern std::unique_ptr<TocDatabase> tocDatabase;
// The loaded document's element; nullptr while there is none.
const XmlNode* documentRoot();

// Bytes handed to the parser at a time.
constexpr std::size_t databaseBlockSize = 16384;

// The title of the XML error message (without a hyphen before "Error").
extern const char* const xmlErrorTitle;

// Reads and parses the file into tocDatabase. Returns false, keeping the previous
// document, when the path is empty, the file cannot be opened, is a directory or is
// empty. Otherwise the new document replaces the old one (also when it records a
// parse error), and the result is true.
bool readDatabaseFile(const std::string& path);

// The start-up load of appState.databasePath. Shows the fitting message and returns
// false when the program has to end.
bool loadDatabase();

// The XML error text of the loaded document, lines separated by CR.
std::string xmlErrorMessage(const TocDatabase& document);

}  // namespace database
