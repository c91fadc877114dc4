// Finding in the shown code: letter case folded as the topic search folds it, and the
// occurrences given back as character offsets of the code.
#include "search/code_find.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string spans(const std::vector<search::CodeMatch>& matches) {
  std::string text;
  for (const search::CodeMatch& match : matches)
    text += std::to_string(match.start) + "-" + std::to_string(match.end) + " ";
  return text;
}

TEST(CodeFindTest, FindsEveryOccurrenceLetterCaseIgnoredAtCharacterOffsets) {
  const struct {
    const char* code;
    const char* search;
    const char* found;
    const char* why;
  } cases[] = {
      {"gtk_Window GTK_WINDOW gtk", "gtk", "0-3 11-14 22-25 ", "ASCII in any case"},
      {"Grüße GRÜSSE grüsse", "grüße", "0-5 6-12 13-19 ", "ß folds to ss, Ü to ü"},
      {"Straße", "s", "0-1 4-5 ", "an s inside the fold of ß covers the whole ß, once"},
      {"Ωμέγα ωΜΈΓΑ x", "ΩΜΈΓΑ", "0-5 6-11 ", "Greek"},
      {"; Link:   \xEF\xBF\xBC\nNext next", "next", "12-16 17-21 ",
       "a link label's placeholder is one character"},
      {"aaaa", "aa", "0-2 2-4 ", "occurrences do not overlap"},
      {"é\xEF\xBF\xBC"
       "end",
       "END", "2-5 ", "after two wide characters"},
      {"code", "", "", "an empty search finds nothing"},
      {"code", "xyz", "", "nothing there"},
  };
  for (const auto& test : cases)
    EXPECT_EQ(test.found, spans(search::findInCode(search::foldCode(test.code), test.search))) << test.why;
}

TEST(CodeFindTest, TheFirstOccurrenceAtOrAfterTheTopOfTheView) {
  const std::vector<search::CodeMatch> matches = {{5, 8}, {20, 23}, {40, 43}};
  const int firsts[][2] = {{0, 0}, {20, 1}, {21, 2}, {41, 0}};  // offset, occurrence; none after: the first
  for (const auto& first : firsts) EXPECT_EQ(first[1], search::firstMatchFrom(matches, first[0])) << first[0];
  EXPECT_EQ(-1, search::firstMatchFrom({}, 0));
}

}  // namespace
