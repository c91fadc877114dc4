// Expat handlers that build the document's nodes in document order.
#include "database/xml_tree_builder.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "base/trace.h"

namespace database {
namespace {

XmlTreeBuilder& builderOf(void* userData) { return *static_cast<XmlTreeBuilder*>(userData); }

constexpr std::size_t textBlockSize = 256 * 1024;

// Room for size bytes at the given alignment, in the current block or a new one;
// a text too large for a shared block gets a block of its own.
char* reserve(TextStore& store, std::size_t size, std::size_t alignment) {
  const std::size_t padding =
      (alignment - reinterpret_cast<std::uintptr_t>(store.free) % alignment) % alignment;
  if (store.free && padding + size <= store.left) {
    char* place = store.free + padding;
    store.free = place + size;
    store.left -= padding + size;
    return place;
  }
  // Not zeroed: every byte handed out is written before it is read.
  if (size > textBlockSize / 4) {
    store.blocks.emplace_back(new char[size]);
    return store.blocks.back().get();
  }
  store.blocks.emplace_back(new char[textBlockSize]);
  store.free = store.blocks.back().get() + size;
  store.left = textBlockSize - size;
  return store.blocks.back().get();
}

std::string_view keepText(TextStore& store, std::string_view text) {
  if (text.empty()) return std::string_view();
  char* place = reserve(store, text.size(), 1);
  std::memcpy(place, text.data(), text.size());
  return std::string_view(place, text.size());
}

XmlString keepString(TextStore& store, const XML_Char* text) {
  const std::size_t size = std::strlen(text) + 1;
  char* place = reserve(store, size, 1);
  std::memcpy(place, text, size);
  return XmlString{place};
}

XmlString keepName(XmlTreeBuilder& builder, const XML_Char* name) {
  const auto known = builder.names.find(name);
  if (known != builder.names.end()) return known->second;
  const XmlString kept = keepString(builder.document->texts, name);
  builder.names.emplace(kept.view(), kept);
  return kept;
}

XmlNode* addNode(XmlTreeBuilder& builder, NodeKind kind, const XML_Char* name) {
  TRACE_LINE();
  XmlNode& node = builder.document->nodes.emplace_back();
  node.kind = kind;
  if (name) node.name = keepName(builder, name);
  if (builder.open.empty()) {
    if (builder.lastTopNode) {
      builder.lastTopNode->nextSibling = &node;
    } else {
      builder.document->firstTopNode = &node;
    }
    builder.lastTopNode = &node;
    return &node;
  }
  XmlTreeBuilder::OpenElement& parent = builder.open.back();
  if (parent.lastChild) {
    parent.lastChild->nextSibling = &node;
  } else {
    parent.node->firstChild = &node;
  }
  parent.lastChild = &node;
  return &node;
}

// Expat hands every line break over as LF; the text keeps the file's own style.
void appendInFileStyle(std::string& text, const char* data, std::size_t size, LineEnd style) {
  if (style == LineEnd::Lf) {
    text.append(data, size);
    return;
  }
  const char* const lineEnd = style == LineEnd::CrLf ? "\r\n" : "\r";
  const char* const end = data + size;
  while (data < end) {
    const void* found = std::memchr(data, '\n', static_cast<std::size_t>(end - data));
    const char* stop = found ? static_cast<const char*>(found) : end;
    text.append(data, static_cast<std::size_t>(stop - data));
    if (!found) break;
    text += lineEnd;
    data = stop + 1;
  }
}

void refuseTooDeep(XmlTreeBuilder& builder) {
  TRACE_LINE();
  TocDatabase& document = *builder.document;
  document.status = XML_ERROR_ABORTED;
  document.errorText = "elements nested deeper than " + std::to_string(maximumElementDepth) + " levels";
  // Inside the handler the parser's position is the start of this element's tag.
  document.errorLine = static_cast<long>(XML_GetCurrentLineNumber(builder.parser));
  document.errorColumn = static_cast<long>(XML_GetCurrentColumnNumber(builder.parser)) + 1;
  builder.refused = true;
  XML_StopParser(builder.parser, XML_FALSE);
}

void XMLCALL onStartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
  XmlTreeBuilder& builder = builderOf(userData);
  ++builder.events;
  if (builder.open.size() >= static_cast<std::size_t>(maximumElementDepth)) {
    refuseTooDeep(builder);
    return;
  }
  XmlNode* node = addNode(builder, NodeKind::Element, name);
  std::size_t count = 0;
  while (attributes[2 * count]) ++count;
  TextStore& store = builder.document->texts;
  auto* kept =
      reinterpret_cast<XmlAttribute*>(reserve(store, count * sizeof(XmlAttribute), alignof(XmlAttribute)));
  for (std::size_t i = 0; i < count; ++i) {
    new (&kept[i])
        XmlAttribute{keepName(builder, attributes[2 * i]), keepString(store, attributes[2 * i + 1])};
  }
  node->attributes = XmlAttributes{count ? kept : nullptr, count};
  if (!builder.document->root) builder.document->root = node;
  ++builder.document->elementCount;
  builder.open.push_back({node, nullptr, std::string()});
}

void keepElementText(XmlTreeBuilder& builder, XmlTreeBuilder::OpenElement& element) {
  element.node->text = keepText(builder.document->texts, element.text);
}

void XMLCALL onEndElement(void* userData, const XML_Char*) {
  XmlTreeBuilder& builder = builderOf(userData);
  ++builder.events;
  if (builder.open.empty()) return;
  keepElementText(builder, builder.open.back());
  builder.open.pop_back();
}

void XMLCALL onCharacterData(void* userData, const XML_Char* data, int size) {
  XmlTreeBuilder& builder = builderOf(userData);
  ++builder.events;
  if (builder.openCData) {
    builder.cdataText.append(data, static_cast<std::size_t>(size));
  } else if (!builder.open.empty()) {
    appendInFileStyle(builder.open.back().text, data, static_cast<std::size_t>(size),
                      builder.lineEnds->style);
  }
}

void XMLCALL onComment(void* userData, const XML_Char* data) {
  XmlTreeBuilder& builder = builderOf(userData);
  addNode(builder, NodeKind::Comment, nullptr)->text = keepText(builder.document->texts, data);
}

void XMLCALL onProcessingInstruction(void* userData, const XML_Char* target, const XML_Char* data) {
  XmlTreeBuilder& builder = builderOf(userData);
  addNode(builder, NodeKind::ProcessingInstruction, target)->text = keepText(builder.document->texts, data);
}

void XMLCALL onStartCData(void* userData) {
  XmlTreeBuilder& builder = builderOf(userData);
  builder.openCData = addNode(builder, NodeKind::CData, nullptr);
  builder.cdataText.clear();
}

void keepCDataText(XmlTreeBuilder& builder) {
  builder.openCData->text = keepText(builder.document->texts, builder.cdataText);
  builder.openCData = nullptr;
}

void XMLCALL onEndCData(void* userData) {
  XmlTreeBuilder& builder = builderOf(userData);
  if (builder.openCData) keepCDataText(builder);
}

void XMLCALL onStartDocType(void* userData, const XML_Char* name, const XML_Char*, const XML_Char*, int) {
  addNode(builderOf(userData), NodeKind::DocType, name);
}

// Registering a default handler is what stops Expat from expanding internal
// entities in content; those references then arrive as skipped entities. A
// reference to an external entity arrives here, as written, and stays in the
// text like the others: with no handler for external entities Expat reads no
// file but the database itself.
void XMLCALL onOtherMarkup(void* userData, const XML_Char* data, int length) {
  XmlTreeBuilder& builder = builderOf(userData);
  ++builder.events;
  if (builder.open.empty() || builder.openCData || length < 3) return;
  if (data[0] != '&' || data[length - 1] != ';') return;
  builder.open.back().text.append(data, static_cast<std::size_t>(length));
}

void XMLCALL onSkippedEntity(void* userData, const XML_Char* name, int isParameterEntity) {
  XmlTreeBuilder& builder = builderOf(userData);
  if (isParameterEntity || builder.open.empty() || builder.openCData) return;
  std::string& text = builder.open.back().text;
  text += '&';
  text += name;
  text += ';';
}

}  // namespace

void attachTreeBuilder(XML_Parser parser, XmlTreeBuilder& builder) {
  TRACE_LINE();
  builder.parser = parser;
  XML_SetUserData(parser, &builder);
  XML_SetElementHandler(parser, onStartElement, onEndElement);
  XML_SetCharacterDataHandler(parser, onCharacterData);
  XML_SetCommentHandler(parser, onComment);
  XML_SetProcessingInstructionHandler(parser, onProcessingInstruction);
  XML_SetCdataSectionHandler(parser, onStartCData, onEndCData);
  XML_SetStartDoctypeDeclHandler(parser, onStartDocType);
  XML_SetDefaultHandler(parser, onOtherMarkup);
  XML_SetSkippedEntityHandler(parser, onSkippedEntity);
}

void finishTreeBuilder(XmlTreeBuilder& builder) {
  TRACE_LINE();
  if (builder.openCData) keepCDataText(builder);
  for (XmlTreeBuilder::OpenElement& element : builder.open) keepElementText(builder, element);
  builder.open.clear();
}

}  // namespace database
