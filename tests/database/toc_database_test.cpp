// Reading the database file: encodings, line ends, texts, errors and the start-up messages.
#include "database/toc_database.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <expat.h>
#include <glib.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "support/temp_dir.h"

namespace {

using database::LineEnd;
using database::NodeKind;
using database::readDatabaseFile;
using database::tocDatabase;
using database::XmlNode;
using testing_support::TempDir;

class TocDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(dir.path());
    tocDatabase.reset();
  }
  void TearDown() override {
    tocDatabase.reset();
    base::resetAppState("");
  }

  // Writes the bytes, reads them and returns the document element.
  const XmlNode* load(const std::string& bytes) {
    EXPECT_TRUE(readDatabaseFile(dir.write("toc.xml", bytes)));
    return tocDatabase ? tocDatabase->root : nullptr;
  }

  TempDir dir;
};

std::vector<const XmlNode*> children(const XmlNode* node) {
  std::vector<const XmlNode*> result;
  for (const XmlNode* child = node->firstChild; child; child = child->nextSibling) {
    result.push_back(child);
  }
  return result;
}

std::vector<const XmlNode*> childElements(const XmlNode* node) {
  std::vector<const XmlNode*> result;
  for (const XmlNode* child : children(node)) {
    if (child->kind == NodeKind::Element) result.push_back(child);
  }
  return result;
}

std::string toUtf16(const std::string& utf8, bool bigEndian) {
  glong units = 0;
  gunichar2* wide = g_utf8_to_utf16(utf8.c_str(), -1, nullptr, &units, nullptr);
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (glong i = 0; i < units; ++i) {
    const char high = static_cast<char>(wide[i] >> 8);
    const char low = static_cast<char>(wide[i] & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  g_free(wide);
  return bytes;
}

// ---- files that yield nothing ------------------------------------------------

TEST_F(TocDatabaseTest, FilesThatCannotBeReadYieldNothingAndKeepThePreviousDocument) {
  const XmlNode* previousRoot = load("<r name=\"old\"/>");
  ASSERT_NE(previousRoot, nullptr);
  const database::TocDatabase* previous = tocDatabase.get();
  g_mkdir_with_parents(dir.file("folder.xml").c_str(), 0755);

  EXPECT_FALSE(readDatabaseFile(""));
  EXPECT_FALSE(readDatabaseFile(dir.file("missing.xml")));
  EXPECT_FALSE(readDatabaseFile(dir.file("folder.xml")));
  EXPECT_FALSE(readDatabaseFile(dir.write("empty.xml", "")));

  EXPECT_EQ(tocDatabase.get(), previous);
  EXPECT_EQ(tocDatabase->root, previousRoot);
  EXPECT_EQ(database::documentRoot(), previousRoot);
  EXPECT_EQ(previousRoot->attributes.at(0).value, "old");
}

TEST_F(TocDatabaseTest, ANewFileReplacesTheDocumentAndTheRootHandle) {
  load("<r name=\"old\"/>");
  const XmlNode* root = load("<r name=\"new\"/>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->attributes.at(0).value, "new");
  EXPECT_EQ(database::documentRoot(), root);
}

// ---- errors --------------------------------------------------------------------

TEST_F(TocDatabaseTest, OnlyBlanksGiveNoElementFound) {
  EXPECT_EQ(load("  \n\t \r\n  \n"), nullptr);
  EXPECT_EQ(tocDatabase->status, XML_ERROR_NO_ELEMENTS);
  EXPECT_EQ(tocDatabase->errorText, "no element found");
  EXPECT_EQ(database::documentRoot(), nullptr);
}

TEST_F(TocDatabaseTest, TwoDocumentElementsGiveJunkAfterDocumentElementAtTheSecond) {
  const XmlNode* root = load("<a>x</a>\n  <b/>\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name, "a");
  EXPECT_EQ(tocDatabase->status, XML_ERROR_JUNK_AFTER_DOC_ELEMENT);
  EXPECT_EQ(tocDatabase->errorText, "junk after document element");
  EXPECT_EQ(tocDatabase->errorLine, 2);
  EXPECT_EQ(tocDatabase->errorColumn, 3);
}

TEST_F(TocDatabaseTest, ErrorColumnCountsFromOne) {
  load("<a>\n<b>\n</c></a>");
  EXPECT_EQ(tocDatabase->status, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(tocDatabase->errorText, "mismatched tag");
  EXPECT_EQ(tocDatabase->errorLine, 3);
  EXPECT_EQ(tocDatabase->errorColumn, 3);  // Expat names the tag's name at 0-based column 2
}

TEST_F(TocDatabaseTest, WhatWasParsedBeforeAnErrorStays) {
  // Large enough that the error lies beyond the first block handed to the parser.
  std::string xml = "<r name=\"lib\">\n";
  for (int i = 0; i < 50000; ++i) xml += "  <t theme_en=\"Topic " + std::to_string(i) + "\"/>\n";
  xml += "  <t theme_en=\"broken\" <oops/>\n</r>\n";
  ASSERT_GT(xml.size(), 1u << 20);
  const XmlNode* root = load(xml);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, XML_ERROR_INVALID_TOKEN);
  EXPECT_EQ(tocDatabase->errorLine, 50002);
  EXPECT_EQ(tocDatabase->errorColumn, 24);
  EXPECT_EQ(childElements(root).size(), 50000u);
  EXPECT_EQ(database::documentRoot(), root);
}

TEST_F(TocDatabaseTest, AnErrorBeforeTheFirstElementLeavesNoRoot) {
  EXPECT_EQ(load("this is no xml"), nullptr);
  EXPECT_NE(tocDatabase->status, 0);
  EXPECT_EQ(tocDatabase->errorLine, 1);
  EXPECT_EQ(tocDatabase->errorColumn, 1);
  EXPECT_EQ(database::documentRoot(), nullptr);
}

TEST_F(TocDatabaseTest, BinaryJunkNeverCrashes) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 20; ++round) {
    std::string junk(1000 + 5000 * round, '\0');
    for (char& c : junk) c = static_cast<char>(byte(random));
    if (round % 2) junk.replace(0, 3, "<r>");
    readDatabaseFile(dir.write("junk.xml", junk));
    ASSERT_TRUE(tocDatabase);
    EXPECT_NE(tocDatabase->status, 0) << "round " << round;
    EXPECT_FALSE(tocDatabase->errorText.empty());
  }
}

// ---- encodings -------------------------------------------------------------------

const char* const markedTopics =
    "<r name=\"Bibliothek\">\n"
    "  <g name=\"Gruppe\">\n"
    "    <t theme_de=\"\u2730Größe ändern\" theme_en=\"\u21BAResize\" theme_fr=\"Redimensionner\"/>\n"
    "  </g>\n"
    "</r>\n";

void expectMarkedTopic(const XmlNode* root) {
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, 0) << tocDatabase->errorText;
  const XmlNode* topic = childElements(childElements(root).at(0)).at(0);
  EXPECT_EQ(topic->attributes.at(0).value, "\u2730Größe ändern");
  EXPECT_EQ(topic->attributes.at(1).value, "\u21BAResize");
}

TEST_F(TocDatabaseTest, Utf8WithoutDeclarationLoads) { expectMarkedTopic(load(markedTopics)); }

TEST_F(TocDatabaseTest, Utf16LittleEndianWithByteOrderMarkLoads) {
  expectMarkedTopic(load(toUtf16(markedTopics, false)));
  EXPECT_EQ(tocDatabase->lineEnd, LineEnd::Lf);
}

TEST_F(TocDatabaseTest, Utf16BigEndianWithByteOrderMarkLoads) {
  expectMarkedTopic(load(toUtf16(markedTopics, true)));
}

TEST_F(TocDatabaseTest, Latin1DeclarationIsHonoured) {
  const XmlNode* root = load(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r name=\"Gr\xF6\xDF"
      "e\">\xE4</r>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->attributes.at(0).value, "Größe");
  EXPECT_EQ(root->text, "ä");
}

// ---- line ends ---------------------------------------------------------------------

struct LineEndCase {
  const char* name;
  std::string file;
  LineEnd style;
  std::string text;
};

TEST_F(TocDatabaseTest, TextKeepsTheLineEndStyleOfTheFile) {
  const std::vector<LineEndCase> cases = {
      {"LF", "<r a=\"1\">one\ntwo\n</r>\n", LineEnd::Lf, "one\ntwo\n"},
      {"CR LF", "<r a=\"1\">one\r\ntwo\r\n</r>\r\n", LineEnd::CrLf, "one\r\ntwo\r\n"},
      {"CR", "<r a=\"1\">one\rtwo\r</r>\r", LineEnd::Cr, "one\rtwo\r"},
      {"none", "<r a=\"1\">one two</r>", LineEnd::Lf, "one two"},
      // The first line end decides; later ones are written in its style.
      {"first decides", "<r a=\"1\">\r\none\ntwo</r>", LineEnd::CrLf, "\r\none\r\ntwo"},
      // One leading LF is skipped by the examination.
      {"leading LF", "\n<r a=\"1\">one\rtwo</r>", LineEnd::Cr, "one\rtwo"},
  };
  for (const LineEndCase& c : cases) {
    const XmlNode* root = load(c.file);
    ASSERT_NE(root, nullptr) << c.name;
    EXPECT_EQ(tocDatabase->lineEnd, c.style) << c.name;
    EXPECT_EQ(root->text, c.text) << c.name;
  }
}

TEST_F(TocDatabaseTest, Utf16LineEndsAreExaminedAsSixteenBitUnits) {
  const XmlNode* root = load(toUtf16("<r a=\"1\">one\r\ntwo</r>\r\n", false));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->lineEnd, LineEnd::CrLf);
  EXPECT_EQ(root->text, "one\r\ntwo");
  load(toUtf16("<r a=\"1\">one\rtwo</r>", true));
  EXPECT_EQ(tocDatabase->lineEnd, LineEnd::Cr);
}

TEST_F(TocDatabaseTest, ACrLfSplitByTheBlockBorderStaysCrLf) {
  std::string xml = "<r a=\"1\">";
  xml += std::string(database::lineEndPieceSize - 1 - xml.size(), 'x');
  xml += "\r\nend</r>";
  ASSERT_EQ(xml[database::lineEndPieceSize - 1], '\r');
  const XmlNode* root = load(xml);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->lineEnd, LineEnd::CrLf);
  EXPECT_EQ(root->text.substr(root->text.size() - 5), "\r\nend");
}

// ---- nodes and texts ----------------------------------------------------------------

TEST_F(TocDatabaseTest, ElementTextIsOnlyTheCharacterDataDirectlyInside) {
  const XmlNode* root =
      load("<r a=\"1\">one<c>inner</c>two<!--note-->three<![CDATA[four]]>five<?pi data?>six</r>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text, "onetwothreefivesix");
  const std::vector<const XmlNode*> nodes = children(root);
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[0]->kind, NodeKind::Element);
  EXPECT_EQ(nodes[0]->text, "inner");
  EXPECT_EQ(nodes[1]->kind, NodeKind::Comment);
  EXPECT_EQ(nodes[1]->text, "note");
  EXPECT_EQ(nodes[2]->kind, NodeKind::CData);
  EXPECT_EQ(nodes[2]->text, "four");
  EXPECT_EQ(nodes[3]->kind, NodeKind::ProcessingInstruction);
  EXPECT_EQ(nodes[3]->name, "pi");
}

TEST_F(TocDatabaseTest, InternalEntitiesStayAsWrittenInTextButNotInAttributes) {
  const XmlNode* root = load(
      "<!DOCTYPE r [<!ENTITY co \"Company\">]>\n"
      "<r a=\"x &co; y\">Hi &co; &amp; &lt;&#228;&#x2730;</r>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, 0) << tocDatabase->errorText;
  EXPECT_EQ(root->text, "Hi &co; & <ä\u2730");
  EXPECT_EQ(root->attributes.at(0).value, "x Company y");
  ASSERT_NE(tocDatabase->firstTopNode, nullptr);
  EXPECT_EQ(tocDatabase->firstTopNode->kind, NodeKind::DocType);
  EXPECT_EQ(tocDatabase->firstTopNode->nextSibling, root);
}

TEST_F(TocDatabaseTest, ExternalEntitiesStayAsWrittenInTextAndNothingElseIsRead) {
  dir.write("secret.txt", "SECRET");
  dir.write("extra.dtd", "<!ENTITY co \"SECRET\">");
  const XmlNode* root = load(
      "<!DOCTYPE r SYSTEM \"extra.dtd\" [<!ENTITY ext SYSTEM \"secret.txt\"><!ENTITY in \"In\">\n"
      "<!ENTITY % par SYSTEM \"extra.dtd\"> %par;]>\n"
      "<r a=\"&in;\">a &ext; b &in; c<t>&ext;</t>&co;</r>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, 0) << tocDatabase->errorText;
  EXPECT_EQ(root->text, "a &ext; b &in; c&co;");
  EXPECT_EQ(root->attributes.at(0).value, "In");
  ASSERT_NE(root->firstChild, nullptr);
  EXPECT_EQ(root->firstChild->text, "&ext;");
}

TEST_F(TocDatabaseTest, AttributesKeepDocumentOrderAndNormalisedValues) {
  const XmlNode* root = load("<r z=\"1\" a=\"two\nlines\" m='&quot;q&quot;'/>");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->attributes.size(), 3u);
  EXPECT_EQ(root->attributes[0].name, "z");
  EXPECT_EQ(root->attributes[1].name, "a");
  EXPECT_EQ(root->attributes[1].value, "two lines");
  EXPECT_EQ(root->attributes[2].value, "\"q\"");
}

TEST_F(TocDatabaseTest, CommentsAndInstructionsBetweenElementsAddNoElements) {
  const XmlNode* root = load("<?xml version=\"1.0\"?><!--top--><r><!--c--><a/><?x y?><b/></r>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name, "r");
  const std::vector<const XmlNode*> elements = childElements(root);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0]->name, "a");
  EXPECT_EQ(elements[1]->name, "b");
  EXPECT_EQ(tocDatabase->firstTopNode->kind, NodeKind::Comment);
}

TEST_F(TocDatabaseTest, AFiftyMegabyteFileLoads) {
  const std::string topic =
      "    <t File=\"Group/Topic.zn\" theme_de=\"Thema\" theme_en=\"Topic\" theme_fr=\"Sujet\" "
      "descript_de=\"Beschreibung\" descript_en=\"Description\" descript_fr=\"Descriptif\"/>\n";
  const std::size_t topics = 50u * 1024 * 1024 / topic.size() + 1;
  std::string xml = "<r name=\"big\">\n  <g name=\"group\">\n";
  xml.reserve(topics * topic.size() + 100);
  for (std::size_t i = 0; i < topics; ++i) xml += topic;
  xml += "  </g>\n</r>\n";
  ASSERT_GE(xml.size(), 50u * 1024 * 1024);
  const XmlNode* root = load(xml);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, 0);
  EXPECT_EQ(childElements(childElements(root).at(0)).size(), topics);
}

// Elements nested depth levels deep, each on a line of its own after the declaration,
// indented by its level modulo 7.
std::string nestedElements(int depth) {
  std::string xml = "<?xml version=\"1.0\"?>\n";
  for (int level = 0; level < depth; ++level) {
    xml += std::string(level % 7, ' ') + "<e theme_de=\"L" + std::to_string(level) + "\">\n";
  }
  for (int level = 0; level < depth; ++level) xml += "</e>";
  return xml;
}

int nestingDepth(const XmlNode* node) {
  int depth = 0;
  for (; node; node = childElements(node).empty() ? nullptr : childElements(node).front()) ++depth;
  return depth;
}

TEST_F(TocDatabaseTest, NestingUpToAThousandLevelsLoadsAndDeeperIsRefusedAtTheTag) {
  EXPECT_EQ(nestingDepth(load(nestedElements(1000))), 1000);
  EXPECT_EQ(tocDatabase->status, 0) << tocDatabase->errorText;
  for (int depth : {1001, 100000}) {
    const XmlNode* root = load(nestedElements(depth));
    EXPECT_NE(tocDatabase->status, 0) << depth;
    EXPECT_EQ(tocDatabase->errorText, "elements nested deeper than 1000 levels");
    // The 1001st element stands on line 1002, indented by 1000 % 7 = 6 blanks.
    EXPECT_EQ(tocDatabase->errorLine, 1002);
    EXPECT_EQ(tocDatabase->errorColumn, 7);
    EXPECT_EQ(nestingDepth(root), 1000) << "what was parsed before the refusal stays";
  }
}

TEST_F(TocDatabaseTest, ATwoMegabyteAttributeLoadsWhole) {
  // Entities, character references and literal line breaks and tabs, which the
  // parser normalises to blanks, across the border of the first block read.
  const std::string piece =
      "Gr\xC3\xB6\xC3\x9F"
      "e &amp; &co; Lage\r\n\t\xC3\xA4ndern&#10;&#x2730; ";
  const std::string expectedPiece =
      "Gr\xC3\xB6\xC3\x9F"
      "e & Company Lage  \xC3\xA4ndern\n\u2730 ";
  std::string value, expected;
  while (value.size() < 2u << 20) {
    value += piece;
    expected += expectedPiece;
  }
  const std::string head =
      "<!DOCTYPE r [<!ENTITY co \"Company\">]>\r\n<r name=\"lib\">first\r\n<t descript_de=\"";
  const XmlNode* root = load(head + value + "\" theme_de=\"after\">Ende\r\nzwei</t><t/></r>\r\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tocDatabase->status, 0) << tocDatabase->errorText;
  EXPECT_EQ(tocDatabase->lineEnd, LineEnd::CrLf);
  const std::vector<const XmlNode*> topics = childElements(root);
  ASSERT_EQ(topics.size(), 2u);
  ASSERT_EQ(topics[0]->attributes.size(), 2u);
  EXPECT_TRUE(topics[0]->attributes[0].value == expected) << "the long value differs";
  EXPECT_EQ(topics[0]->attributes[1].value, "after");
  EXPECT_EQ(topics[0]->text, "Ende\r\nzwei");
  EXPECT_EQ(root->text, "first\r\n");

  // An error after the long value is found at its line and column.
  load(head + value + "\"><t <oops/></t></r>");
  EXPECT_EQ(tocDatabase->status, XML_ERROR_INVALID_TOKEN);
  const long lineBreaks = static_cast<long>(value.size() / piece.size());
  EXPECT_EQ(tocDatabase->errorLine, 3 + lineBreaks);
  // The column counts characters: those after the value's last line break, then the tag's start.
  const std::string lineBeforeError = piece.substr(piece.find('\n') + 1) + "\"><t ";
  EXPECT_EQ(tocDatabase->errorColumn, g_utf8_strlen(lineBeforeError.c_str(), -1) + 1);
}

// ---- start-up load ------------------------------------------------------------------

class LoadDatabaseTest : public TocDatabaseTest {
 protected:
  void SetUp() override {
    TocDatabaseTest::SetUp();
    previous = base::setDialogHandler([this](const base::DialogRequest& request) {
      requests.push_back(request);
      return std::string();
    });
  }
  void TearDown() override {
    base::setDialogHandler(previous);
    TocDatabaseTest::TearDown();
  }

  // Loads as a plain load does, then as the start does, read on a thread of its own
  // while the windows are built: both give the same result and the same messages.
  bool loadBothWays() {
    const bool plain = database::loadDatabase();
    const std::vector<base::DialogRequest> plainRequests = requests;
    requests.clear();
    database::startLoadingDatabase();
    const bool started = database::loadDatabase();
    EXPECT_EQ(plain, started);
    EXPECT_EQ(plainRequests.size(), requests.size());
    for (std::size_t i = 0; i < std::min(plainRequests.size(), requests.size()); ++i)
      EXPECT_EQ(plainRequests[i].text, requests[i].text);
    return started;
  }

  void expectOneMessage(const std::string& title, const std::string& text) {
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, base::DialogKind::Message);
    EXPECT_EQ(requests[0].title, title);
    EXPECT_EQ(requests[0].text, text);
  }

  std::vector<base::DialogRequest> requests;
  base::DialogHandler previous;
};

TEST_F(LoadDatabaseTest, NoDatabaseChosen) {
  base::appState.databasePath = "";
  EXPECT_FALSE(loadBothWays());
  expectOneMessage("Linux ZN-ZID-Idavode-Ruriva-Error", "No database selected. Programm canceled!");
}

TEST_F(LoadDatabaseTest, AFolderOrAnEmptyFileCannotBeOpened) {
  for (const std::string& path : {dir.path(), dir.write("empty.xml", ""), dir.file("none.xml")}) {
    requests.clear();
    base::appState.databasePath = path;
    EXPECT_FALSE(loadBothWays());
    expectOneMessage("Linux ZN-ZID-Idavode-Ruriva-Error", "The database '" + path + "' cannot be opened.");
  }
}

TEST_F(LoadDatabaseTest, AnXmlErrorIsReportedWithCrSeparatedLines) {
  base::appState.databasePath = dir.write("toc.xml", "<a>\n<b>\n</c></a>");
  EXPECT_FALSE(loadBothWays());
  expectOneMessage("Linux ZN-ZID-Idavode-RurivaError",
                   "Error in the XML file:\rMessage: mismatched tag\rLine: 3   Character: 3");
}

TEST_F(LoadDatabaseTest, TooDeepNestingIsReportedAsAnXmlError) {
  base::appState.databasePath = dir.write("toc.xml", nestedElements(1001));
  EXPECT_FALSE(loadBothWays());
  expectOneMessage("Linux ZN-ZID-Idavode-RurivaError",
                   "Error in the XML file:\rMessage: elements nested deeper than 1000 levels\rLine: 1002   "
                   "Character: 7");
}

TEST_F(LoadDatabaseTest, BlanksOnlyReportNoElementFound) {
  base::appState.databasePath = dir.write("toc.xml", " \n \n");
  EXPECT_FALSE(loadBothWays());
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].text.find("Error in the XML file:\rMessage: no element found\rLine: "), 0u);
}

TEST_F(LoadDatabaseTest, ASoundFileLoadsSilently) {
  base::appState.databasePath = dir.write("toc.xml", "<r name=\"lib\"><g/></r>");
  EXPECT_TRUE(loadBothWays());
  EXPECT_TRUE(requests.empty());
  ASSERT_NE(database::documentRoot(), nullptr);
  EXPECT_EQ(database::documentRoot()->name, "r");
}

}  // namespace
