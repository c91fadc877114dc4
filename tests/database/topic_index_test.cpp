// The walk from document elements to topic rows and IndexEntry records.
#include "database/topic_index.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "database/toc_database.h"
#include "support/temp_dir.h"

namespace {

using database::indexEntries;
using database::IndexEntry;
using database::TopicRow;
using testing_support::TempDir;

const char* const star = "\u2730";
const char* const circle = "\u21BA";

class TopicIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(dir.path());
    database::closeDatabase();
    database::currentGroup.clear();
  }
  void TearDown() override {
    database::closeDatabase();
    base::resetAppState("");
  }

  // Loads the document and builds the rows, as a caller does: list and rows emptied first.
  std::vector<TopicRow> build(const std::string& xml, int language = 0, bool dyeingNews = true) {
    EXPECT_TRUE(database::readDatabaseFile(dir.write("toc.xml", xml)));
    EXPECT_EQ(database::tocDatabase->status, 0) << database::tocDatabase->errorText;
    return rebuild(language, dyeingNews);
  }

  std::vector<TopicRow> rebuild(int language, bool dyeingNews) {
    database::clearTopicIndex();
    std::vector<TopicRow> rows;
    found = database::buildTopicTree(database::documentRoot(), 0, language, dyeingNews, rows);
    EXPECT_EQ(rows.size(), indexEntries.size());
    return rows;
  }

  TempDir dir;
  database::TreeFindings found;  // of the last build
};

std::string topic(const std::string& de, const std::string& en = "en", const std::string& fr = "fr",
                  const std::string& file = "") {
  return "<t theme_de=\"" + de + "\" theme_en=\"" + en + "\" theme_fr=\"" + fr + "\" File=\"" + file + "\"/>";
}

// Root, three groups, two topics each.
const std::string threeGroups =
    "<lib name=\"Library\">"
    "<g name=\"One\">" +
    topic("A1", "a1", "f1", "One/A.zn") + topic("B1", "b1", "g1", "One/B.zn") + "</g><g name=\"Two\">" +
    topic("A2", "a2", "f2", "Two/A.zn") + topic("B2", "b2", "g2", "Two/B.zn") + "</g><g name=\"Three\">" +
    topic("A3", "a3", "f3", "Three/A.zn") + topic("B3", "b3", "g3", "Three/B.zn") + "</g></lib>";

TEST_F(TopicIndexTest, RowsAndRecordsComeFromTheSameElementsInDocumentOrder) {
  const std::vector<TopicRow> rows = build(threeGroups);
  ASSERT_EQ(rows.size(), 10u);
  const std::vector<int> levels = {0, 1, 2, 2, 1, 2, 2, 1, 2, 2};
  const std::vector<std::string> texts = {"Library", "One", "A1",    "B1", "Two",
                                          "A2",      "B2",  "Three", "A3", "B3"};
  const std::vector<std::string> groups = {"Library", "One", "One",   "One",   "Two",
                                           "Two",     "Two", "Three", "Three", "Three"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].level, levels[i]) << i;
    EXPECT_EQ(rows[i].text, texts[i]) << i;
    EXPECT_EQ(indexEntries[i].Group, groups[i]) << i;
    if (levels[i] == 2) {
      EXPECT_EQ(indexEntries[i].FunctionDe, texts[i]) << i;
    }
  }
  for (int row : {1, 4, 7}) {
    EXPECT_TRUE(rows[row].hasBackground);
    EXPECT_EQ(rows[row].background, base::rgb(232, 232, 232));
  }
  for (int row : {2, 3, 5, 6, 8, 9}) {
    EXPECT_FALSE(rows[row].hasBackground) << row;
    EXPECT_FALSE(rows[row].hasForeground) << row;
  }
  EXPECT_EQ(indexEntries[6].File, "Two/B.zn");
  EXPECT_EQ(indexEntries[6].FunctionEn, "b2");
  EXPECT_EQ(indexEntries[6].FunctionFr, "g2");
}

TEST_F(TopicIndexTest, RowZeroTakesTheRootColoursWhateverItsLabel) {
  std::vector<TopicRow> rows = build("<r name=\"ZID Idavode Ruriva\"><g name=\"x\"/></r>");
  EXPECT_TRUE(rows[0].hasBackground);
  EXPECT_EQ(rows[0].background, base::rgb(127, 127, 127));
  EXPECT_TRUE(rows[0].hasForeground);
  EXPECT_EQ(rows[0].foreground, base::rgb(255, 255, 255));
}

TEST_F(TopicIndexTest, OnlyTheExactViewerGroupLabelGetsItsBackground) {
  const std::vector<TopicRow> rows =
      build("<r name=\"lib\"><g name=\"ZID Idavode Ruriva\"/><g name=\"zid idavode ruriva\"/></r>");
  EXPECT_EQ(rows[1].background, base::rgb(200, 200, 200));
  EXPECT_EQ(rows[2].background, base::rgb(232, 232, 232));
}

TEST_F(TopicIndexTest, LabelsJoinAllOtherAttributesInDocumentOrder) {
  const std::vector<TopicRow> rows =
      build("<r first=\"Zar\" theme_de=\"ignored\" second=\"nel\"><g theme_en=\"only a title\"/></r>");
  EXPECT_EQ(rows[0].text, "Zarnel");
  EXPECT_EQ(rows[1].text, "");
  EXPECT_EQ(indexEntries[1].Group, "Zarnel");
  EXPECT_EQ(indexEntries[0].FunctionDe, "ignored");
}

TEST_F(TopicIndexTest, TitlesFollowTheDisplayLanguage) {
  const std::string xml = "<r n=\"l\"><g n=\"g\">" + topic("Deutsch", "English", "Français") + "</g></r>";
  EXPECT_EQ(build(xml, 0)[2].text, "Deutsch");
  EXPECT_EQ(build(xml, 1)[2].text, "English");
  EXPECT_EQ(build(xml, 2)[2].text, "Français");
  EXPECT_EQ(build(xml, 7)[2].text, "Français");
}

TEST_F(TopicIndexTest, NewTopicMarkerWithDyeingNews) {
  const std::string xml =
      "<r n=\"l\"><g n=\"g\">" + topic(std::string(star) + "Wort", std::string(star) + "Word") + "</g></r>";
  std::vector<TopicRow> rows = build(xml, 0, true);
  EXPECT_EQ(rows[2].text, std::string(star) + "Wort");
  EXPECT_TRUE(rows[2].hasForeground);
  EXPECT_EQ(rows[2].foreground, base::rgb(0, 0, 185));
  EXPECT_EQ(indexEntries[2].FunctionDe, std::string(star) + "Wort");

  rows = rebuild(0, false);
  EXPECT_EQ(rows[2].text, "Wort");
  EXPECT_FALSE(rows[2].hasForeground);
  EXPECT_EQ(indexEntries[2].FunctionDe, "Wort");
  // Only the title of the display language loses its marker.
  EXPECT_EQ(indexEntries[2].FunctionEn, std::string(star) + "Word");
}

TEST_F(TopicIndexTest, TheGermanTitleDecidesTheColourInEveryLanguage) {
  const std::string xml = "<r n=\"l\"><g n=\"g\">" + topic(std::string(star) + "Neu", "New") + "</g></r>";
  std::vector<TopicRow> rows = build(xml, 1, true);
  EXPECT_EQ(rows[2].text, "New");
  EXPECT_TRUE(rows[2].hasForeground);
  EXPECT_EQ(rows[2].foreground, base::rgb(0, 0, 185));

  rows = rebuild(1, false);
  EXPECT_FALSE(rows[2].hasForeground);
  EXPECT_EQ(indexEntries[2].FunctionDe, std::string(star) + "Neu");
}

TEST_F(TopicIndexTest, UpdatedMarkerIsDroppedWithoutDyeingNewsAndNeverColoured) {
  const std::string xml = "<r n=\"l\"><g n=\"g\">" + topic(std::string(circle) + "Alt") + "</g></r>";
  std::vector<TopicRow> rows = build(xml, 0, true);
  EXPECT_EQ(rows[2].text, std::string(circle) + "Alt");
  EXPECT_FALSE(rows[2].hasForeground);
  rows = rebuild(0, false);
  EXPECT_EQ(rows[2].text, "Alt");
  EXPECT_FALSE(rows[2].hasForeground);
}

TEST_F(TopicIndexTest, OnlyOneMarkerCharacterIsRemoved) {
  const std::string twice = std::string(star) + star + "Zwei";
  const std::vector<TopicRow> rows = build("<r n=\"l\"><g n=\"g\">" + topic(twice) + "</g></r>", 0, false);
  EXPECT_EQ(rows[2].text, std::string(star) + "Zwei");
  EXPECT_EQ(indexEntries[2].FunctionDe, std::string(star) + "Zwei");
  // A marker further in is no marker.
  build("<r n=\"l\"><g n=\"g\">" + topic(std::string("x") + star) + "</g></r>", 0, true);
  EXPECT_EQ(indexEntries[2].FunctionDe, std::string("x") + star);
}

TEST(LanguageFieldTest, EveryLanguageOtherThanGermanAndEnglishIsFrench) {
  const IndexEntry entry{"", "", "Titel", "Text", "Title", "Text en", "Titre", "Texte", ""};
  const std::vector<std::pair<int, const char*>> titles = {
      {0, "Titel"}, {1, "Title"}, {2, "Titre"}, {5, "Titre"}, {-1, "Titre"}};
  for (const auto& [language, title] : titles)
    EXPECT_EQ(entry.*database::languageField(database::EntryText::Title, language), title) << language;
  const std::vector<std::pair<int, const char*>> descriptions = {
      {0, "Text"}, {1, "Text en"}, {2, "Texte"}, {7, "Texte"}};
  for (const auto& [language, description] : descriptions)
    EXPECT_EQ(entry.*database::languageField(database::EntryText::Description, language), description)
        << language;
}

TEST_F(TopicIndexTest, HelpRowNeedsTheExactFileName) {
  build("<r n=\"l\"><g n=\"ZID Idavode Ruriva\">" + topic("a", "a", "a", "Help/Other.txt") +
        topic("Hilfe", "Help", "Aide", "Help/ViewerHelp.txt") + "</g></r>");
  EXPECT_EQ(found.helpRow, 3);
  build("<r n=\"l\"><g n=\"g\">" + topic("h", "h", "h", "Help/viewerhelp.txt") +
        topic("h", "h", "h", "ViewerHelp.txt.bak") + "</g></r>");
  EXPECT_EQ(found.helpRow, 0);
  build("<r n=\"l\"><g n=\"g\">" + topic("h", "h", "h", "ViewerHelp.txt") + "</g></r>");
  EXPECT_EQ(found.helpRow, 2);
}

TEST_F(TopicIndexTest, DatabaseDateIsTheFourthFieldAtSingleBlanks) {
  build("<r n=\"l\">\n  Zarnel Linux API 2026-11-30 snippets\n</r>");
  EXPECT_EQ(found.DbDate, "2026-11-30");
  EXPECT_EQ(indexEntries[0].Text, "Zarnel Linux API 2026-11-30 snippets");
  build("<r n=\"l\">Zarnel  Linux 2026-11-30 snippets more</r>");
  EXPECT_EQ(found.DbDate, "2026-11-30");
  build("<r n=\"l\">only three fields</r>");
  EXPECT_EQ(found.DbDate, "");
  build("<r n=\"l\">a b c 2026-01-02</r>");
  EXPECT_EQ(found.DbDate, "2026-01-02");
  build("<r>a b c 2026-01-02 without attributes</r>");
  EXPECT_EQ(found.DbDate, "");
}

TEST_F(TopicIndexTest, TextIsTrimmedAndOnlyReadOnElementsWithAttributes) {
  build("<r n=\"l\">\r\n\t  \r\n<g n=\"g\">\t Line one\r\nLine two \r\n</g><g>bare text</g></r>");
  EXPECT_EQ(indexEntries[0].Text, "");
  EXPECT_EQ(indexEntries[1].Text, "Line one\r\nLine two");
  EXPECT_EQ(indexEntries[2].Text, "");
}

TEST_F(TopicIndexTest, CommentsAndOtherNodesAddNoRows) {
  const std::vector<TopicRow> rows = build("<r n=\"l\"><g n=\"g\"><!-- first --><![CDATA[x]]><?pi y?>" +
                                           topic("A") + topic("B") + "</g></r>");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].text, "A");
  EXPECT_EQ(rows[2].level, 2);
  EXPECT_EQ(rows[3].text, "B");
}

TEST_F(TopicIndexTest, NonElementNodesAreSkippedAtTheTop) {
  database::XmlNode comment;
  comment.kind = database::NodeKind::Comment;
  std::vector<TopicRow> rows;
  database::buildTopicTree(&comment, 0, 0, true, rows);
  database::buildTopicTree(nullptr, 0, 0, true, rows);
  EXPECT_TRUE(rows.empty());
  EXPECT_TRUE(indexEntries.empty());
}

TEST_F(TopicIndexTest, ALabelledTopicStartsANewGroupAndTheGroupOutlivesTheBuild) {
  build("<r n=\"l\"><g n=\"First\">" + topic("a") + "<t theme_de=\"b\" area=\"Second\"/>" + topic("c") +
        "</g></r>");
  EXPECT_EQ(indexEntries[2].Group, "First");
  EXPECT_EQ(indexEntries[3].Group, "Second");
  EXPECT_EQ(indexEntries[4].Group, "Second");
  EXPECT_EQ(database::currentGroup, "Second");
  // A root without a label keeps the group of the previous build.
  build("<r><g/></r>");
  EXPECT_EQ(indexEntries[0].Group, "Second");
}

// The records view the document's texts: none may outlive the document.
TEST_F(TopicIndexTest, ReplacingOrClosingTheDocumentEmptiesTheIndexFirst) {
  build("<r n=\"Old library\">Old text<g n=\"Old group\">" + topic("Alt", "Old", "Vieux", "old.zn") +
        "</g></r>");
  ASSERT_EQ(indexEntries.size(), 3u);
  EXPECT_FALSE(database::readDatabaseFile(dir.file("missing.xml")));
  EXPECT_EQ(indexEntries.size(), 3u) << "a file that cannot be read keeps the document and its index";
  EXPECT_TRUE(database::readDatabaseFile(dir.write("new.xml", "<r><t theme_de=\"Neu\"> New text </t></r>")));
  EXPECT_TRUE(indexEntries.empty());
  rebuild(0, true);
  ASSERT_EQ(indexEntries.size(), 2u);
  EXPECT_EQ(indexEntries[1].Group, "Old group") << "the group outlives the document it came from";
  EXPECT_EQ(indexEntries[1].Text, "New text");
  EXPECT_EQ(indexEntries[1].FunctionDe, "Neu");
  database::closeDatabase();
  EXPECT_TRUE(indexEntries.empty());
  EXPECT_EQ(database::documentRoot(), nullptr);
}

TEST_F(TopicIndexTest, TenLevelsOfNesting) {
  std::string xml = "<r n=\"l\">";
  for (int level = 1; level < 10; ++level) xml += "<t theme_de=\"L" + std::to_string(level) + "\">";
  for (int level = 1; level < 10; ++level) xml += "</t>";
  xml += "</r>";
  const std::vector<TopicRow> rows = build(xml);
  ASSERT_EQ(rows.size(), 10u);
  for (int level = 0; level < 10; ++level) EXPECT_EQ(rows[level].level, level);
  EXPECT_EQ(rows[9].text, "L9");
  EXPECT_EQ(rows[1].text, "");  // level 1 shows the label, and this one has none
}

TEST_F(TopicIndexTest, AThousandLevelsOfNesting) {
  const int depth = 1000;
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<t a=\"\">";
  for (int i = 0; i < depth; ++i) xml += "</t>";
  const std::vector<TopicRow> rows = build(xml);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(depth));
  EXPECT_EQ(rows.back().level, depth - 1);
}

std::string group(const std::string& name, const std::string& topics) {
  return "<g name=\"" + name + "\">" + topics + "</g>";
}

std::string filed(const std::string& file, const std::string& inner = "") {
  return "<t theme_de=\"T\" File=\"" + file + "\">" + inner + "</t>";
}

TEST_F(TopicIndexTest, CountsOfGroupsAndEntries) {
  struct Case {
    const char* what;
    std::string groups;
    int groupCount;
    int entryCount;
  };
  const Case cases[] = {
      {"two groups and five entries, whatever the viewer's group holds",
       group("ZID Idavode Ruriva", filed("ViewerHelp.txt") + filed("Help/More.zn")) +
           group("A", filed("a1.zn") + filed("a2.zn") + filed("a3.zn")) +
           group("B", filed("b1.zn") + filed("b2.zn")),
       2, 5},
      {"a topic holding topics is an entry; the nested ones are not",
       group("A", filed("parent.zn", filed("child.zn") + filed("child2.zn"))), 1, 1},
      {"groups without children and topics without a file do not count",
       group("Empty", "") + group("A", filed("") + filed("a.zn")), 1, 1},
      {"only the exact viewer group name is left out",
       group("zid idavode ruriva", filed("x.zn")) + group("ZID Idavode Ruriva", filed("y.zn")), 1, 1},
      {"the group after the viewer's own counts again",
       group("A", filed("a.zn")) + group("ZID Idavode Ruriva", filed("h.zn")) + group("B", filed("b.zn")), 2,
       2},
  };
  for (const Case& c : cases) {
    database::clearTopicIndex();
    const std::vector<TopicRow> rows = build("<lib name=\"L\">" + c.groups + "</lib>");
    const database::TopicCounts counts = database::countTopicRows(rows, indexEntries, "ZID Idavode Ruriva");
    EXPECT_EQ(counts.groups, c.groupCount) << c.what;
    EXPECT_EQ(counts.codeTopics, c.entryCount) << c.what;
  }
}

TEST_F(TopicIndexTest, TenThousandTopics) {
  std::string xml = "<r name=\"lib\">Zarnel Linux API 2025-01-01 build";
  for (int group = 0; group < 20; ++group) {
    xml += "<g name=\"Group " + std::to_string(group) + "\">";
    for (int i = 0; i < 500; ++i) {
      const std::string n = std::to_string(group * 500 + i);
      xml += topic(std::string(i % 7 == 0 ? star : "") + "Thema " + n, "Topic " + n, "Sujet " + n,
                   "G" + std::to_string(group) + "/T" + n + ".zn");
    }
    xml += "</g>";
  }
  xml += "</r>";
  const std::vector<TopicRow> rows = build(xml, 1, true);
  ASSERT_EQ(rows.size(), 1u + 20u + 10000u);
  EXPECT_EQ(found.DbDate, "2025-01-01");
  // Row 1 + 501 * g + 1 + i is topic g * 500 + i.
  const int row = 1 + 501 * 13 + 1 + 42;
  EXPECT_EQ(rows[row].text, "Topic 6542");
  EXPECT_EQ(indexEntries[row].File, "G13/T6542.zn");
  EXPECT_EQ(indexEntries[row].Group, "Group 13");
  EXPECT_EQ(rows[1 + 501 * 13 + 1 + 0].foreground, base::rgb(0, 0, 185));
}

}  // namespace
