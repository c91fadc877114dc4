// The walk that turns the document's elements into topic rows and IndexEntry records.
#include "database/topic_index.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/paths.h"
#include "base/trace.h"

namespace database {

std::vector<IndexEntry> indexEntries;
std::deque<std::string> indexTexts;
std::string currentGroup;
std::string DbDate;

const char* const newTopicMarker = "\u2730";
const char* const updatedTopicMarker = "\u21BA";

namespace {

const char* const helpFileName = "ViewerHelp.txt";
const char* const blanks = " \n\r\t";

// What the attributes of one element say, before the row is added.
struct ElementFields {
  std::string_view label;
  std::string_view text;  // the element's text, read only with attributes
  IndexEntry entry;
};

// What one walk carries from element to element.
struct TreeWalk {
  int displayLanguage = 0;
  bool dyeingNews = false;
  std::vector<TopicRow>& rows;
  TreeFindings found;
  std::string_view group;  // currentGroup, as the entries of this walk view it
};

std::string_view keepIndexText(std::string text) {
  indexTexts.push_back(std::move(text));
  return indexTexts.back();
}

// Attribute names are compared exactly, case included.
template <std::size_t Size>
bool named(std::string_view name, const char (&expected)[Size]) {
  return name.size() == Size - 1 && std::memcmp(name.data(), expected, Size - 1) == 0;
}

// The label joins the values of all other attributes. Mostly one value makes it,
// and then the label views it in the document; only a joined one is copied.
void addLabelPart(std::string_view& label, std::string& joined, std::string_view part) {
  if (part.empty()) return;
  if (label.empty()) {
    label = part;
    return;
  }
  if (joined.empty()) joined = label;
  joined += part;
  label = joined;
}

ElementFields readElement(const XmlNode& node) {
  TRACE_LINE();
  ElementFields fields;
  IndexEntry& entry = fields.entry;
  std::string joined;
  for (const XmlAttribute& attribute : node.attributes) {
    const std::string_view name = attribute.name;
    if (named(name, "File"))
      entry.File = attribute.value;
    else if (named(name, "theme_en"))
      entry.FunctionEn = attribute.value;
    else if (named(name, "theme_de"))
      entry.FunctionDe = attribute.value;
    else if (named(name, "theme_fr"))
      entry.FunctionFr = attribute.value;
    else if (named(name, "descript_en"))
      entry.DescriptEn = attribute.value;
    else if (named(name, "descript_de"))
      entry.DescriptDe = attribute.value;
    else if (named(name, "descript_fr"))
      entry.DescriptFr = attribute.value;
    else
      addLabelPart(fields.label, joined, attribute.value);
  }
  if (!joined.empty()) fields.label = keepIndexText(std::move(joined));
  if (!node.attributes.empty()) fields.text = node.text;
  return fields;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Leaves out one leading marker character (several bytes in UTF-8).
void dropLeadingMarker(std::string_view& title) {
  for (const std::string_view marker : {newTopicMarker, updatedTopicMarker}) {
    if (startsWith(title, marker)) {
      title.remove_prefix(marker.size());
      return;
    }
  }
}

TopicRow makeRow(ElementFields& fields, int level, const TreeWalk& walk) {
  TopicRow row;
  row.level = level;
  if (level >= 2) {
    std::string_view& title = fields.entry.*languageField(EntryText::Title, walk.displayLanguage);
    if (!walk.dyeingNews) dropLeadingMarker(title);
    row.text = title;
  } else {
    row.text = fields.label;
    if (fields.label == base::appState.viewerGroupName) {
      row.hasBackground = true;
      row.background = base::appState.viewerGroupRowBackground;
    } else if (level == 1) {
      row.hasBackground = true;
      row.background = base::appState.groupRowBackground;
    }
  }
  if (walk.dyeingNews && startsWith(fields.entry.FunctionDe, newTopicMarker)) {
    row.hasForeground = true;
    row.foreground = newTopicColour;
  }
  return row;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return std::string_view();
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// The fourth field when the text is cut at every single blank; "" when there are fewer.
std::string fourthField(std::string_view text) {
  std::size_t start = 0;
  for (int field = 1; field < 4; ++field) {
    start = text.find(' ', start);
    if (start == std::string_view::npos) return std::string();
    ++start;
  }
  return std::string(text.substr(start, text.find(' ', start) - start));
}

void addElement(const XmlNode& node, int level, TreeWalk& walk) {
  TRACE_LINE();
  ElementFields fields = readElement(node);
  const int rowNumber = static_cast<int>(walk.rows.size());
  walk.rows.push_back(makeRow(fields, level, walk));
  IndexEntry& entry = fields.entry;
  entry.Text = trimmed(fields.text);
  if (base::fileNamePart(entry.File) == helpFileName) walk.found.helpRow = rowNumber;
  if (!fields.label.empty()) {
    currentGroup = fields.label;
    walk.group = fields.label;
  }
  entry.Group = walk.group;
  if (level == 0) walk.found.DbDate = fourthField(entry.Text);
  indexEntries.push_back(entry);
}

void colourRootRow(std::vector<TopicRow>& rows) {
  if (rows.empty()) return;
  rows[0].hasBackground = true;
  rows[0].background = base::appState.rootRowBackground;
  rows[0].hasForeground = true;
  rows[0].foreground = base::appState.rootRowForeground;
}

}  // namespace

std::string_view IndexEntry::*languageField(EntryText text, int language) {
  static constexpr std::string_view IndexEntry::*fields[2][3] = {
      {&IndexEntry::FunctionDe, &IndexEntry::FunctionEn, &IndexEntry::FunctionFr},
      {&IndexEntry::DescriptDe, &IndexEntry::DescriptEn, &IndexEntry::DescriptFr}};
  const int column = language == 0 || language == 1 ? language : 2;
  return fields[text == EntryText::Title ? 0 : 1][column];
}

void clearTopicIndex() {
  indexEntries.clear();
  indexTexts.clear();
}

TreeFindings buildTopicTree(const XmlNode* node, int level, int displayLanguage, bool dyeingNews,
                            std::vector<TopicRow>& rows) {
  TRACE_LINE();
  // A group kept from an earlier build may outlive that build's document.
  TreeWalk walk{displayLanguage, dyeingNews, rows, {}, {}};
  if (!currentGroup.empty()) walk.group = keepIndexText(currentGroup);
  // Depth first in document order, with a stack of our own instead of the call
  // stack, so that no nesting depth in a file can exhaust it.
  // Room for the whole document at once spares the copies of a growing list.
  if (tocDatabase && node == tocDatabase->root) {
    indexEntries.reserve(indexEntries.size() + tocDatabase->elementCount);
    rows.reserve(rows.size() + tocDatabase->elementCount);
  }
  std::vector<std::pair<const XmlNode*, int>> pending{{node, level}};
  while (!pending.empty()) {
    const auto [current, depth] = pending.back();
    pending.pop_back();
    if (!current || current->kind != NodeKind::Element) continue;
    addElement(*current, depth, walk);
    const std::size_t firstChild = pending.size();
    for (const XmlNode* child = current->firstChild; child; child = child->nextSibling) {
      pending.emplace_back(child, depth + 1);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstChild), pending.end());
  }
  colourRootRow(rows);
  return walk.found;
}

TopicCounts countTopicRows(const std::vector<TopicRow>& rows, const std::vector<IndexEntry>& entries,
                           const std::string& viewerGroupName) {
  TRACE_LINE();
  TopicCounts counts;
  // Set by the viewer's own group and cleared by the next group with children;
  // only groups with children change it, as only they have rows below them.
  bool inViewerGroup = false;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const int level = rows[row].level;
    const bool hasChildren = row + 1 < rows.size() && rows[row + 1].level > level;
    if (level == 1 && hasChildren) {
      inViewerGroup = rows[row].text == viewerGroupName;
      if (!inViewerGroup) ++counts.groups;
    } else if (level == 2 && !inViewerGroup && row < entries.size() && !entries[row].File.empty()) {
      // A topic with nested topics is an entry of its own as well.
      ++counts.codeTopics;
    }
  }
  return counts;
}

}  // namespace database
