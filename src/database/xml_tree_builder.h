// Turns Expat's callbacks into the node tree of a TocDatabase.
#pragma once

#include <vector>

#include <expat.h>

#include "database/line_end.h"
#include "database/toc_database.h"

namespace database {

struct XmlTreeBuilder {
  struct OpenElement {
    XmlNode* node;
    XmlNode* lastChild;
  };

  TocDatabase* document = nullptr;
  XML_Parser parser = nullptr;
  // Set when an element nested too deep stopped the parser; the document holds the error.
  bool refused = false;
  // Decided before the block that holds the first line break reaches the parser.
  const LineEndScan* lineEnds = nullptr;
  std::vector<OpenElement> open;
  XmlNode* lastTopNode = nullptr;
  XmlNode* openCData = nullptr;
};

// Registers the builder's handlers. Entities declared in the document's own type
// declaration are left unexpanded in element text: the reference stays as written.
// An element nested deeper than maximumElementDepth stops the parser with an error
// at its start tag.
void attachTreeBuilder(XML_Parser parser, XmlTreeBuilder& builder);

}  // namespace database
