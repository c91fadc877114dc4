// Finding the topic a link names: the display language first, then any language;
// markers and blanks aside.
#include "viewer/topic_links.h"

#include <gtest/gtest.h>

namespace {

// The records view their titles: literals outlive them.
database::IndexEntry topic(std::string_view de, std::string_view en, std::string_view fr) {
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
    topic("Liste", "Window", "Liste"),
    topic("Zweites", "Dialogue", "Encore"),
};

struct LinkCase {
  config::DisplayLanguage language;
  const char* text;
  int row;
  const char* why;
};

const LinkCase cases[] = {
    {config::German, "Fenster", 1, "the first of two equal titles"},
    {config::English, "Window", 1, "the first of two equal titles"},
    {config::French, "Fenêtre", 1, "the display language"},
    {config::English, "Second window", 4, "the display language"},
    {config::German, "Window", 1, "no German title: the first row with that title in any language"},
    {config::English, "Fenster", 1, "no English title: the German one"},
    {config::French, "Second window", 4, "no French title: the English one"},
    {config::English, "Dialogue", 6, "the display language wins over an earlier French title"},
    {config::German, "Dialogue", 3, "the first row, whichever language matched"},
    {config::German, "Knopf", 2, "the new-topic marker does not count"},
    {config::German, "\u2730Knopf", 2, "nor does writing it"},
    {config::German, "Dialog", 3, "the updated-topic marker does not count"},
    {config::German, "Bouton", 2, "a French title with its marker, from German"},
    {config::English, " Button\t ", 2, "blanks at the ends do not count"},
    {config::German, "Nirgends", -1, "no topic has that title"},
    {config::German, "fenster", -1, "letter case counts"},
    {config::German, "", -1, "not the untitled group rows"},
    {config::German, "   ", -1, "only blanks"},
};

TEST(TopicLinksTest, LinkNamesTheTopicWithThatTitle) {
  for (const LinkCase& test : cases)
    EXPECT_EQ(test.row, viewer::linkedTopicRow(entries, test.language, test.text))
        << "\"" << test.text << "\" in language " << test.language << ": " << test.why;
  EXPECT_EQ(-1, viewer::linkedTopicRow({}, config::German, "Fenster"));
}

}  // namespace
