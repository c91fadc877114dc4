// The highlighting passes: the fast passes against a plain buffer model on the sample
// library and on generated snippets, and the rules one by one on small texts.
#include "viewer/highlight_passes.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "viewer/code_file.h"
#include "viewer/highlight_reference.h"

namespace viewer {
void PrintTo(const TagSpan& span, std::ostream* out) { *out << "[" << span.start << "," << span.end << ")"; }
void PrintTo(const TopicLink& link, std::ostream* out) {
  *out << "{title \"" << link.title << "\" at " << link.titleStart << "+" << link.titleLength << ", anchor "
       << link.anchorOffset << ", line " << link.line << ":" << link.lineOffset << "}";
}
}  // namespace viewer

namespace {

using viewer::HighlightPlan;
using viewer::planHighlighting;
using viewer::TagSpan;
namespace ref = reference_highlighter;

// The text once the links are made: every title gives way to one anchor character.
std::u32string textWithLinks(const std::string& text, const HighlightPlan& plan) {
  std::u32string chars = ref::decode(text);
  for (const viewer::TopicLink& link : plan.links) {
    chars.erase(static_cast<size_t>(link.anchorOffset), static_cast<size_t>(link.titleLength));
    chars.insert(chars.begin() + link.anchorOffset, ref::anchorCharacter);
  }
  return chars;
}

std::string visible(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n')
      shown += "\\n";
    else if (c == '\r')
      shown += "\\r";
    else
      shown += c;
  }
  return shown;
}

template <typename T>
std::string printed(const std::vector<T>& items) {
  return ::testing::PrintToString(items);
}

::testing::AssertionResult sameAsReference(const std::string& text, std::int64_t codeMarks) {
  const HighlightPlan fast = planHighlighting(text, codeMarks);
  const ref::Result slow = ref::highlight(text, codeMarks);
  auto failure = [&](const std::string& what, const std::string& fastValue, const std::string& slowValue) {
    return ::testing::AssertionFailure()
           << what << " differ for CodeMarks " << codeMarks << " on \"" << visible(text)
           << "\"\n  fast: " << fastValue << "\n  reference: " << slowValue;
  };
  for (int t = 0; t < viewer::HighlightTagCount; ++t) {
    if (fast.spans[t] != slow.spans[t])
      return failure(std::string(viewer::highlightTagStyles[t].name) + " ranges", printed(fast.spans[t]),
                     printed(slow.spans[t]));
  }
  if (fast.procedureNames != slow.procedureNames)
    return failure("procedure names", printed(fast.procedureNames), printed(slow.procedureNames));
  if (fast.links != slow.links) return failure("links", printed(fast.links), printed(slow.links));
  if (textWithLinks(text, fast) != slow.finalText)
    return failure("texts after the links", ref::encode(textWithLinks(text, fast)),
                   ref::encode(slow.finalText));
  return ::testing::AssertionSuccess();
}

std::vector<std::string> sampleSnippetFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZN_SOURCE_DIR "/sample")) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && (extension == ".zn" || extension == ".zni" || extension == ".znf"))
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Random snippets made of the pieces the passes react to, weighted toward the common ones.
class SnippetMaker {
 public:
  explicit SnippetMaker(unsigned seed) : random_(seed) {}

  std::string make() {
    const int pieces = std::uniform_int_distribution<int>(0, 120)(random_);
    std::string text;
    for (int i = 0; i < pieces; ++i) text += piece();
    return text;
  }

 private:
  std::string pick(const std::vector<std::string>& choices) {
    return choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random_)];
  }
  std::string piece() {
    static const std::vector<std::string> punctuation = {" ", " ", "  ", "\t", "\"", "\"", ";", "#", "(", ")",
                                                         ",", "=", "+",  ".",  "$",  "@",  "*", ":", "_"};
    static const std::vector<std::string> lineEnds = {"\n", "\n", "\n", "\r\n", "\r", "\xE2\x80\xA9"};
    static const std::vector<std::string> words = {"Procedure",
                                                   "Procedure.i",
                                                   "ProcedureC",
                                                   "ProcedureCDLL",
                                                   "ProcedureDLL",
                                                   "ProcedureReturn",
                                                   "EndProcedure",
                                                   "Foo",
                                                   "Bar",
                                                   "Foo2",
                                                   "x$",
                                                   "_y",
                                                   "If",
                                                   "EndIf",
                                                   "if",
                                                   "IfX",
                                                   "XOr",
                                                   "Or",
                                                   "As",
                                                   "For",
                                                   "ForEach",
                                                   "Next",
                                                   "#PB_Any",
                                                   "#Null$",
                                                   "Grüße",
                                                   "ä",
                                                   "€",
                                                   "\xF0\x9F\x98\x80",
                                                   "123",
                                                   "\xEF\xBF\xBC",
                                                   "Link",
                                                   "topic"};
    static const std::vector<std::string> markers = {
        "; Link to topic:   ", "; Link to topic: ", "; Link to topic:    ", ";Link to topic:   "};
    const int kind = std::uniform_int_distribution<int>(0, 99)(random_);
    if (kind < 35) return pick(punctuation);
    if (kind < 47) return pick(lineEnds);
    if (kind < 55) return pick(markers);
    if (kind < 75) return pick(words);
    return viewer::keywordTable[std::uniform_int_distribution<size_t>(0, viewer::keywordCount - 1)(random_)];
  }

  std::mt19937 random_;
};

TEST(HighlightPassesTest, KeywordTableHasTheDesignedEntriesAndDeclaringKeywords) {
  EXPECT_EQ(109u, viewer::keywordTable.size());
  EXPECT_STREQ("And", viewer::keywordTable.front());
  EXPECT_STREQ("XOr", viewer::keywordTable.back());
  const std::set<std::string> distinct(viewer::keywordTable.begin(), viewer::keywordTable.end());
  EXPECT_EQ(109u, distinct.size());
  std::vector<std::string> declaring;
  for (const char* keyword : viewer::keywordTable)
    if (viewer::isDeclaringKeyword(keyword)) declaring.push_back(keyword);
  EXPECT_EQ((std::vector<std::string>{"Procedure", "ProcedureC", "ProcedureCDLL", "ProcedureDLL"}),
            declaring);
}

TEST(HighlightPassesTest, SameAsTheReferenceOnEverySampleSnippet) {
  const std::vector<std::string> files = sampleSnippetFiles();
  ASSERT_GE(files.size(), 25u);
  int linkCount = 0;
  for (const std::string& file : files) {
    const viewer::CodeText code = viewer::readCodeFile(file);
    ASSERT_TRUE(code.opened) << file;
    linkCount += static_cast<int>(planHighlighting(code.text, 1).links.size());
    EXPECT_TRUE(sameAsReference(code.text, 1)) << file;
    EXPECT_TRUE(sameAsReference(code.text, 2)) << file;
  }
  EXPECT_GT(linkCount, 0) << "the sample library has links to compare";
}

TEST(HighlightPassesTest, SameAsTheReferenceOnGeneratedSnippets) {
  SnippetMaker maker(20261130);
  for (int i = 0; i < 4000; ++i) {
    const std::string text = maker.make();
    const ::testing::AssertionResult same = sameAsReference(text, i % 2 ? 1 : 2);
    ASSERT_TRUE(same) << "snippet " << i;
  }
}

TEST(HighlightPassesTest, SameAsTheReferenceOnGeneratedLines) {
  // Long lines with few line ends: the quote counts of pass 1 span long stretches.
  SnippetMaker maker(7);
  for (int i = 0; i < 300; ++i) {
    std::string text;
    for (int part = 0; part < 8; ++part) {
      std::string piece = maker.make();
      piece.erase(std::remove(piece.begin(), piece.end(), '\n'), piece.end());
      text += piece;
    }
    ASSERT_TRUE(sameAsReference(text, 1)) << "line " << i;
  }
}

std::vector<TagSpan> spans(const std::string& text, viewer::HighlightTag tag, std::int64_t codeMarks = 1) {
  return planHighlighting(text, codeMarks).spans[tag];
}

using Spans = std::vector<TagSpan>;

TEST(HighlightPassesTest, EmptyTextGivesNothing) {
  const HighlightPlan plan = planHighlighting("", 1);
  for (const auto& tagSpans : plan.spans) EXPECT_TRUE(tagSpans.empty());
  EXPECT_TRUE(plan.procedureNames.empty());
  EXPECT_TRUE(plan.links.empty());
}

TEST(HighlightPassesTest, CommentsCountTheQuotesFromTheStartOfThePreviousLine) {
  // The first ";" lies inside the literal, the second starts the comment.
  const std::string literalThenComment = "x = \"a;b\" ; note";
  EXPECT_EQ((Spans{{10, 16}}), spans(literalThenComment, viewer::DisableTag));
  EXPECT_EQ((Spans{{5, 8}}), spans(literalThenComment, viewer::LiteralTag));
  // One quote in the comment of the line before makes the ";" look like part of a literal.
  EXPECT_EQ((Spans{{0, 9}}), spans("; say \"hi\nx ; not", viewer::DisableTag));
  // Two lines back no longer count.
  EXPECT_EQ((Spans{{0, 9}, {13, 18}}), spans("; say \"hi\n\nx ; yes", viewer::DisableTag));
  // The comment stops before the line end, whatever form it has.
  EXPECT_EQ((Spans{{0, 2}, {4, 6}, {7, 9}}), spans(";a\r\n;b\r;c", viewer::DisableTag));
  EXPECT_EQ((Spans{{0, 2}, {3, 5}}), spans(";a\xE2\x80\xA9;b", viewer::DisableTag));
}

TEST(HighlightPassesTest, TextsOfOnlyQuotesSemicolonsOrHashes) {
  EXPECT_TRUE(spans(std::string(1001, '"'), viewer::LiteralTag).empty()) << "empty literals tag nothing";
  EXPECT_EQ((Spans{{0, 1000}}), spans(std::string(1000, ';'), viewer::DisableTag));
  const Spans hashes = spans(std::string(9, '#'), viewer::ConstantTag);
  EXPECT_EQ((Spans{{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}}), hashes) << "every second one is skipped";
  for (const std::string& text : {std::string(999, '"'), std::string(999, ';'), std::string(999, '#')})
    EXPECT_TRUE(sameAsReference(text, 2));
}

TEST(HighlightPassesTest, LiteralsSpanLinesAndAnUnbalancedQuoteEndsThePass) {
  EXPECT_EQ((Spans{{1, 4}}), spans("\"a\nb\" \"open", viewer::LiteralTag));
  // A quote in a comment opens nothing, but may close a literal.
  EXPECT_EQ((Spans{{6, 9}}), spans("; \"x\n\"ab;\"", viewer::LiteralTag));
}

TEST(HighlightPassesTest, ConstantsFollowTheHashAndSkipOneCharacter) {
  EXPECT_EQ((Spans{{0, 2}, {3, 5}}), spans("#A+#B", viewer::ConstantTag));
  EXPECT_TRUE(spans("x#A", viewer::ConstantTag).empty());
  EXPECT_EQ((Spans{{0, 1}}), spans("# =", viewer::ConstantTag));
  EXPECT_EQ((Spans{{0, 1}}), spans("##A", viewer::ConstantTag));
  EXPECT_EQ((Spans{{0, 6}}), spans("#Null$ ", viewer::ConstantTag)) << "the $ belongs to the constant";
  EXPECT_EQ((Spans{{1, 3}}), spans("\"#A\"", viewer::ConstantTag)) << "inside a literal too";
  EXPECT_TRUE(spans("; #A", viewer::ConstantTag).empty());
  // The skipped character may be an umlaut (two bytes, one character).
  EXPECT_EQ((Spans{{0, 2}, {3, 5}}), spans("#Aä#B", viewer::ConstantTag));
}

TEST(HighlightPassesTest, KeywordsAreWholeCaseSensitiveWordsOutsideCommentsAndLiterals) {
  EXPECT_EQ((Spans{{0, 5}}), spans("EndIf", viewer::FBoldTag));
  EXPECT_TRUE(spans("if IfX xIf If$ If_ If2", viewer::FBoldTag).empty());
  EXPECT_EQ((Spans{{0, 2}, {15, 17}}), spans("If \"If\" ; If\nä If", viewer::FBoldTag));
  EXPECT_EQ((Spans{{1, 3}, {4, 6}}), spans("ÄIf(If)", viewer::FBoldTag)) << "an umlaut is no word character";
  EXPECT_EQ((Spans{{0, 2}}), spans("If", viewer::BlueBoldTag, 2));
  EXPECT_TRUE(spans("If", viewer::FBoldTag, 2).empty());
  EXPECT_TRUE(spans("If", viewer::BlueBoldTag, 1).empty());
}

TEST(HighlightPassesTest, DeclarationsNameProceduresAndUsesBecomeCalls) {
  const std::string text =
      "Procedure.i  Foo(a)\nEndProcedure\nFoo(1) : x = @Foo() + Foo\n; Foo\n\"Foo\"\nFooBar()";
  const HighlightPlan plan = planHighlighting(text, 1);
  EXPECT_EQ((std::vector<std::string>{"Foo"}), plan.procedureNames);
  EXPECT_EQ((Spans{{13, 16}}), plan.spans[viewer::FunctionTag]);
  EXPECT_EQ((Spans{{33, 36}, {47, 50}, {55, 58}}), plan.spans[viewer::FuncCallTag]);
  EXPECT_EQ((Spans{{0, 9}, {20, 32}}), plan.spans[viewer::FBoldTag]);
}

TEST(HighlightPassesTest, DeclaringKeywordTakesTheNameAfterTheNextSpaceWherePossible) {
  // No space on the keyword's line: the space search goes on to later lines, and the
  // second "Procedure" lies inside the skipped stretch.
  HighlightPlan plan = planHighlighting("Procedure\nProcedure Foo", 1);
  EXPECT_EQ((std::vector<std::string>{"Foo"}), plan.procedureNames);
  EXPECT_EQ((Spans{{0, 9}}), plan.spans[viewer::FBoldTag]);
  // No space at all: the keyword is tagged and its scan ends.
  plan = planHighlighting("Procedure\tFoo\nProcedure\tBar", 1);
  EXPECT_TRUE(plan.procedureNames.empty());
  EXPECT_EQ((Spans{{0, 9}}), plan.spans[viewer::FBoldTag]);
  // A space followed by no word character declares an empty name, which marks nothing.
  plan = planHighlighting("Procedure (x)\nProcedureC Bar\nBar()", 1);
  EXPECT_EQ((std::vector<std::string>{"", "Bar"}), plan.procedureNames);
  EXPECT_EQ((Spans{{25, 28}}), plan.spans[viewer::FunctionTag]);
  EXPECT_EQ((Spans{{29, 32}}), plan.spans[viewer::FuncCallTag]);
  // A name declared twice is listed twice.
  EXPECT_EQ((std::vector<std::string>{"A", "A"}),
            planHighlighting("Procedure A\nProcedure A", 1).procedureNames);
}

TEST(HighlightPassesTest, LinkMarkersBecomeLinksWithTheRestOfTheLineAsTitle) {
  const std::string text = "; Link to topic:   Reading a text file\n; Link to topic: Not a link\nx";
  const HighlightPlan plan = planHighlighting(text, 1);
  ASSERT_EQ(1u, plan.links.size());
  EXPECT_EQ("Reading a text file", plan.links[0].title);
  EXPECT_EQ(19, plan.links[0].titleStart);
  EXPECT_EQ(19, plan.links[0].titleLength);
  EXPECT_EQ(19, plan.links[0].anchorOffset);
  EXPECT_EQ(0, plan.links[0].line);
  EXPECT_EQ((Spans{{0, 38}, {39, 66}}), plan.spans[viewer::DisableTag]) << "the marker stays a grey comment";

  // The second anchor's offset counts the first title gone and its anchor in.
  const HighlightPlan two = planHighlighting("ä; Link to topic:   Grüße\n; Link to topic:   <b>&\"", 1);
  ASSERT_EQ(2u, two.links.size());
  EXPECT_EQ("Grüße", two.links[0].title);
  EXPECT_EQ(20, two.links[0].anchorOffset);
  EXPECT_EQ(5, two.links[0].titleLength);
  EXPECT_EQ("<b>&\"", two.links[1].title);
  EXPECT_EQ(45, two.links[1].titleStart);
  EXPECT_EQ(41, two.links[1].anchorOffset);
  EXPECT_EQ(1, two.links[1].line);
  EXPECT_EQ(19, two.links[1].lineOffset);
}

TEST(HighlightPassesTest, LinkMarkerAtTheVeryEndOrInsideALiteral) {
  HighlightPlan plan = planHighlighting("x\n; Link to topic:   ", 1);
  ASSERT_EQ(1u, plan.links.size());
  EXPECT_EQ("", plan.links[0].title);
  EXPECT_EQ(21, plan.links[0].anchorOffset);
  EXPECT_TRUE(sameAsReference("x\n; Link to topic:   ", 1));
  plan = planHighlighting("; Link to topic:   Last topic", 1);
  ASSERT_EQ(1u, plan.links.size());
  EXPECT_EQ("Last topic", plan.links[0].title);
  // A marker ending at its line end takes no text of the next line.
  plan = planHighlighting("; Link to topic:   \nnext", 1);
  ASSERT_EQ(1u, plan.links.size());
  EXPECT_EQ("", plan.links[0].title);
  // Inside a literal the title runs to the line end, closing quote included.
  plan = planHighlighting("s = \"; Link to topic:   Quoted\"\n", 1);
  ASSERT_EQ(1u, plan.links.size());
  EXPECT_EQ("Quoted\"", plan.links[0].title);
}

TEST(HighlightPassesTest, TwentyThousandLinesMatchTheReference) {
  std::string text;
  for (int line = 0; line < 20000; ++line) {
    const std::string number = std::to_string(line % 20);
    switch (line % 5) {
      case 0:
        text += line % 1000 == 0
                    ? "Procedure.i Work" + std::to_string(line / 1000) + "(a.i) ; starts \"here\""
                    : "  Work" + number + "(1) ; call";
        break;
      case 1: text += "  If a = #Done And s$ = \"x;y\" : Work" + number + "(#PB_Any)"; break;
      case 2: text += "  EndIf : ProcedureReturn a ; Größe"; break;
      case 3: text += line % 1000 == 3 ? "; Link to topic:   Topic " + number : "EndProcedure"; break;
      default: text += line % 7 ? "x = \"open" : "x = \"closed\""; break;
    }
    text += '\n';
  }
  const HighlightPlan plan = planHighlighting(text, 2);
  EXPECT_EQ(20u, plan.links.size());
  EXPECT_FALSE(plan.procedureNames.empty());
  EXPECT_TRUE(sameAsReference(text, 2));
}

TEST(HighlightPassesTest, OneLineOfAMegabyteEndsWithoutQuadraticWork) {
  // After one quote every ";" counts an odd number of quotes from the line start; a
  // count from the line start for each one would take hours.
  const std::string semicolons = "\"" + std::string(1 << 20, ';');
  HighlightPlan plan = planHighlighting(semicolons, 1);
  EXPECT_TRUE(plan.spans[viewer::DisableTag].empty());
  EXPECT_TRUE(plan.spans[viewer::LiteralTag].empty());

  std::string mixed;
  size_t repeats = 0;
  for (; mixed.size() < (1u << 20); ++repeats) mixed += "If #A+x Procedure Foo(\"; b\") Foo() #B$ \xC3\xA4 ";
  plan = planHighlighting(mixed, 1);
  EXPECT_EQ(2 * repeats, plan.spans[viewer::FBoldTag].size());
  EXPECT_EQ(repeats, plan.procedureNames.size());
  EXPECT_EQ(repeats, plan.spans[viewer::FuncCallTag].size());
  EXPECT_EQ(2 * repeats, plan.spans[viewer::ConstantTag].size());
  EXPECT_EQ(repeats, plan.spans[viewer::LiteralTag].size());
}

}  // namespace
