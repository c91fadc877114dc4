// Finding the topic a link names, in the display language, markers and blanks aside.
#include "viewer/topic_links.h"

#include <gtest/gtest.h>

namespace {

database::IndexEntry topic(const std::string& de, const std::string& en, const std::string& fr) {
  database::IndexEntry entry;
  entry.FunctionDe = de;
  entry.FunctionEn = en;
  entry.FunctionFr = fr;
  entry.File = "Some/File.zn";
  return entry;
}

const std::vector<database::IndexEntry> entries = {
    database::IndexEntry(),  // the root and the groups carry no titles
    topic("Fenster", "Window", "Fenêtre"),
    topic("\u2730Knopf", "\u2730Button", "\u2730Bouton"),
    topic("\u21BADialog", "Dialog", "Dialogue"),
    topic("Fenster", "Second window", "Deuxième"),
};

TEST(TopicLinksTest, TitleOfTheDisplayLanguageNamesTheFirstMatchingRow) {
  EXPECT_EQ(1, viewer::linkedTopicRow(entries, config::German, "Fenster")) << "the first of two equal titles";
  EXPECT_EQ(1, viewer::linkedTopicRow(entries, config::English, "Window"));
  EXPECT_EQ(1, viewer::linkedTopicRow(entries, config::French, "Fenêtre"));
  EXPECT_EQ(-1, viewer::linkedTopicRow(entries, config::English, "Fenster")) << "another language's title";
  EXPECT_EQ(4, viewer::linkedTopicRow(entries, config::English, "Second window"));
}

TEST(TopicLinksTest, MarkersAndBlanksAtTheEndsDoNotCount) {
  EXPECT_EQ(2, viewer::linkedTopicRow(entries, config::German, "Knopf"));
  EXPECT_EQ(2, viewer::linkedTopicRow(entries, config::German, "\u2730Knopf"));
  EXPECT_EQ(3, viewer::linkedTopicRow(entries, config::German, "Dialog"));
  EXPECT_EQ(2, viewer::linkedTopicRow(entries, config::English, " Button\t "));
}

TEST(TopicLinksTest, UnknownOrEmptyTitleNamesNoTopic) {
  EXPECT_EQ(-1, viewer::linkedTopicRow(entries, config::German, "Nirgends"));
  EXPECT_EQ(-1, viewer::linkedTopicRow(entries, config::German, "fenster")) << "letter case counts";
  EXPECT_EQ(-1, viewer::linkedTopicRow(entries, config::German, "")) << "not the untitled group rows";
  EXPECT_EQ(-1, viewer::linkedTopicRow(entries, config::German, "   "));
  EXPECT_EQ(-1, viewer::linkedTopicRow({}, config::German, "Fenster"));
}

}  // namespace
