// Turns Expat's callbacks into the node tree of a TocDatabase.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <expat.h>

#include "database/line_end.h"
#include "database/toc_database.h"

namespace database {

struct XmlTreeBuilder {
  struct OpenElement {
    XmlNode* node;
    XmlNode* lastChild;
    std::string text;  // gathered until the element ends, then kept in the store
  };

  TocDatabase* document = nullptr;
  XML_Parser parser = nullptr;
  // Set when an element nested too deep stopped the parser; the document holds the error.
  bool refused = false;
  // Counts the parser's calls of the element, text and markup handlers.
  std::size_t events = 0;
  // Decided before the block that holds the first line break reaches the parser.
  const LineEndScan* lineEnds = nullptr;
  std::vector<OpenElement> open;
  XmlNode* lastTopNode = nullptr;
  XmlNode* openCData = nullptr;
  std::string cdataText;
  // Every distinct element and attribute name is kept once.
  std::unordered_map<std::string_view, XmlString> names;
};

// Registers the builder's handlers. Entities declared in the document's own type
// declaration are left unexpanded in element text: the reference stays as written.
// An element nested deeper than maximumElementDepth stops the parser with an error
// at its start tag.
void attachTreeBuilder(XML_Parser parser, XmlTreeBuilder& builder);

// Keeps the texts of the elements and the CDATA section still open when the
// parser stopped, so that what was parsed before an error stays whole.
void finishTreeBuilder(XmlTreeBuilder& builder);

}  // namespace database
