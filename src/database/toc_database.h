// The database file in memory: reading it with Expat into a node tree, and the start-up load.
#pragma once

#include <cstddef>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace database {

enum class NodeKind { Element, Comment, ProcessingInstruction, CData, DocType };

// A text in the document's store, ended by a NUL character (the names and
// attribute values of an XML document never hold one): half the size of a view,
// and a document holds many of them.
struct XmlString {
  const char* data = "";

  std::string_view view() const { return data; }
  operator std::string_view() const { return data; }
};
inline bool operator==(XmlString a, std::string_view b) { return a.view() == b; }
inline bool operator!=(XmlString a, std::string_view b) { return a.view() != b; }
std::ostream& operator<<(std::ostream& out, XmlString text);

struct XmlAttribute {
  XmlString name, value;
};

// The attributes of one element, side by side in the document's store.
struct XmlAttributes {
  const XmlAttribute* first = nullptr;
  std::size_t count = 0;

  const XmlAttribute* begin() const { return first; }
  const XmlAttribute* end() const { return first + count; }
  std::size_t size() const { return count; }
  bool empty() const { return count == 0; }
  const XmlAttribute& operator[](std::size_t i) const { return first[i]; }
  const XmlAttribute& at(std::size_t i) const;
};

struct XmlNode {
  NodeKind kind = NodeKind::Element;
  // Element name, processing-instruction target or document type name.
  XmlString name;
  XmlAttributes attributes;
  // Elements: the character data directly inside, in the file's line-end style.
  // Comments, CDATA sections, processing instructions: their content.
  std::string_view text;
  XmlNode* firstChild = nullptr;
  XmlNode* nextSibling = nullptr;
};

// Holds every text of a document in large blocks that never move, so that the
// views into it stay valid and a document of many small texts costs little more
// memory than its texts.
struct TextStore {
  std::vector<std::unique_ptr<char[]>> blocks;
  char* free = nullptr;
  std::size_t left = 0;
};

enum class LineEnd { CrLf, Lf, Cr };

struct TocDatabase {
  // Every node of the document; a deque keeps the addresses stable while it grows.
  std::deque<XmlNode> nodes;
  TextStore texts;
  // The element nodes among them.
  std::size_t elementCount = 0;
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
// Frees the document, and first the IndexEntry list, which views its texts.
void closeDatabase();

// The line-end style is looked for in pieces of this size: the piece decides
// whether it is examined as bytes or as 16-bit units.
constexpr std::size_t lineEndPieceSize = 16384;

// Elements nested deeper than this refuse the file: no reader of the document
// needs more, and the tree widget cannot show unlimited depth.
constexpr int maximumElementDepth = 1000;

// The title of the XML error message (without a hyphen before "Error").
extern const char* const xmlErrorTitle;

// Reads and parses the file into tocDatabase. Returns false, keeping the previous
// document, when the path is empty, the file cannot be opened, is a directory or is
// empty. Otherwise the new document replaces the old one (also when it records a
// parse error), the IndexEntry list is emptied, and the result is true.
bool readDatabaseFile(const std::string& path);

// Reads and parses the file into a document of its own, touching nothing shared, so
// that it may run on another thread; nullptr where readDatabaseFile returns false.
std::unique_ptr<TocDatabase> parseDatabaseFile(const std::string& path);

// Begins reading appState.databasePath on a thread of its own, so that the start
// builds its windows meanwhile; loadDatabase takes the document over.
void startLoadingDatabase();

// The start-up load of appState.databasePath, or the takeover of the read begun by
// startLoadingDatabase. Shows the fitting message and returns false when the
// program has to end.
bool loadDatabase();

// The XML error text of the loaded document, lines separated by CR.
std::string xmlErrorMessage(const TocDatabase& document);

}  // namespace database
