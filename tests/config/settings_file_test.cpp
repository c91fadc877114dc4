// The settings file format: decoding, line rules, lookups, updates and writing.
#include "config/settings_file.h"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

using config::SettingsDocument;
using config::SettingsLineKind;

namespace {

const std::string mark = "\xEF\xBB\xBF";

SettingsDocument parse(const std::string& bytes) { return config::parseSettingsBytes(bytes); }

std::string roundTrip(const std::string& bytes) { return config::formatSettingsDocument(parse(bytes)); }

}  // namespace

TEST(SettingsFileDecoding, ByteOrderMarkMeansUtf8AndIsDropped) {
  EXPECT_EQ(config::decodeSettingsBytes(mark + "FontName=B\xC3\xA4r"), "FontName=B\xC3\xA4r");
}

TEST(SettingsFileDecoding, WithoutMarkEveryByteIsLatin1) {
  EXPECT_EQ(config::decodeSettingsBytes("FontName=B\xE4r"), "FontName=B\xC3\xA4r");
  EXPECT_EQ(config::decodeSettingsBytes("\xC3\xA4"), "\xC3\x83\xC2\xA4");
  EXPECT_EQ(config::decodeSettingsBytes("\xFF"), "\xC3\xBF");
}

TEST(SettingsFileDecoding, BrokenUtf8AfterMarkBecomesReplacementCharacters) {
  EXPECT_EQ(config::decodeSettingsBytes(mark + "a\xE4z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(config::decodeSettingsBytes(mark + "\xC3"), "\xEF\xBF\xBD");
}

TEST(SettingsFileDecoding, NulBytesNeverReachTheProgramsTexts) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(config::decodeSettingsBytes(withNul),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(config::decodeSettingsBytes(mark + withNul),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(SettingsFileDecoding, OnlyACompleteMarkCounts) {
  // Two bytes of the mark are plain Latin-1 characters.
  EXPECT_EQ(config::decodeSettingsBytes("\xEF\xBB"), "\xC3\xAF\xC2\xBB");
}

TEST(SettingsFileLines, EveryKindOfLineEndBreaksOnceAndEmptyLinesVanish) {
  const SettingsDocument document = parse("a=1\rb=2\r\nc=3\n\n\r\r\n\nd=4");
  ASSERT_EQ(document.lines.size(), 4u);
  EXPECT_EQ(document.lines[0].text, "1");
  EXPECT_EQ(document.lines[1].key, "b");
  EXPECT_EQ(document.lines[2].text, "3");
  EXPECT_EQ(document.lines[3].key, "d");
  EXPECT_EQ(document.lines[3].text, "4");
}

TEST(SettingsFileLines, LinesOfBlanksOnlyAreNoItems) { EXPECT_TRUE(parse("  \t \n\t\n").lines.empty()); }

TEST(SettingsFileLines, KeyLineTrimsAroundTheEqualsSignButKeepsTrailingBlanks) {
  const SettingsDocument document = parse(" \t fontname \t= \t Courier New  \n");
  ASSERT_EQ(document.lines.size(), 1u);
  EXPECT_EQ(document.lines[0].kind, SettingsLineKind::Key);
  EXPECT_EQ(document.lines[0].key, "fontname");
  EXPECT_EQ(document.lines[0].text, "Courier New  ");
}

TEST(SettingsFileLines, KeyRunsToTheFirstEqualsSign) {
  const SettingsDocument document = parse("a==b\n=lonely\nkey=\n");
  ASSERT_EQ(document.lines.size(), 3u);
  EXPECT_EQ(document.lines[0].key, "a");
  EXPECT_EQ(document.lines[0].text, "=b");
  EXPECT_EQ(document.lines[1].key, "");
  EXPECT_EQ(document.lines[1].text, "lonely");
  EXPECT_EQ(document.lines[2].key, "key");
  EXPECT_EQ(document.lines[2].text, "");
}

TEST(SettingsFileLines, CommentDropsExactlyOneBlankAfterTheSemicolon) {
  const SettingsDocument document = parse(";  two blanks\n;none\n\t ; indented\n;\tTab\n");
  ASSERT_EQ(document.lines.size(), 4u);
  for (const auto& line : document.lines) EXPECT_EQ(line.kind, SettingsLineKind::Comment);
  EXPECT_EQ(document.lines[0].text, " two blanks");
  EXPECT_EQ(document.lines[1].text, "none");
  EXPECT_EQ(document.lines[2].text, "indented");
  EXPECT_EQ(document.lines[3].text, "\tTab");
}

TEST(SettingsFileLines, GroupNameRunsToTheClosingBracketOrTheLineEnd) {
  const SettingsDocument document = parse("[Main] ignored=1\n  [Open\n[a=b]\n");
  ASSERT_EQ(document.lines.size(), 3u);
  for (const auto& line : document.lines) EXPECT_EQ(line.kind, SettingsLineKind::Group);
  EXPECT_EQ(document.lines[0].text, "Main");
  EXPECT_EQ(document.lines[1].text, "Open");
  EXPECT_EQ(document.lines[2].text, "a=b");
}

TEST(SettingsFileLines, LineWithoutEqualsSignIsNoKeyAndIsWrittenBackUnchanged) {
  const SettingsDocument document = parse("  FontName Sans\n");
  ASSERT_EQ(document.lines.size(), 1u);
  EXPECT_EQ(document.lines[0].kind, SettingsLineKind::Other);
  EXPECT_EQ(config::findSettingsKey(document, "FontName"), nullptr);
  EXPECT_EQ(roundTrip("  FontName Sans\n"), mark + "\n  FontName Sans\n");
}

TEST(SettingsFileLines, LastLineWithoutLineEndIsRead) {
  const SettingsDocument document = parse("a=1\nb=last");
  EXPECT_EQ(config::readSettingsText(document, "b", ""), "last");
}

TEST(SettingsFileLines, AMegabyteLineIsKeptWhole) {
  const std::string value(1 << 20, 'x');
  const SettingsDocument document = parse("a=1\nlong=" + value + "\nb=2\n");
  EXPECT_EQ(config::readSettingsText(document, "long", ""), value);
  EXPECT_EQ(config::readSettingsNumber(document, "b", 0), 2);
}

TEST(SettingsFileNumbers, OnlyTheLeadingSignedDigitsCount) {
  EXPECT_EQ(config::parseSettingsNumber("  -12abc"), -12);
  EXPECT_EQ(config::parseSettingsNumber("\t+7"), 7);
  EXPECT_EQ(config::parseSettingsNumber("42 "), 42);
  EXPECT_EQ(config::parseSettingsNumber("3.9"), 3);
  EXPECT_EQ(config::parseSettingsNumber("abc"), 0);
  EXPECT_EQ(config::parseSettingsNumber("a12"), 0);
  EXPECT_EQ(config::parseSettingsNumber(""), 0);
  EXPECT_EQ(config::parseSettingsNumber("-"), 0);
  EXPECT_EQ(config::parseSettingsNumber("- 5"), 0);
  EXPECT_EQ(config::parseSettingsNumber("--5"), 0);
}

TEST(SettingsFileNumbers, HugeNumbersStopAtTheLimitsOfSixtyFourBits) {
  const auto highest = std::numeric_limits<std::int64_t>::max();
  const auto lowest = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(config::parseSettingsNumber("9223372036854775807"), highest);
  EXPECT_EQ(config::parseSettingsNumber("-9223372036854775808"), lowest);
  EXPECT_EQ(config::parseSettingsNumber("9223372036854775808"), highest);
  EXPECT_EQ(config::parseSettingsNumber("-99999999999999999999999"), lowest);
}

TEST(SettingsFileLookup, KeysIgnoreAsciiCaseAndTheFirstOccurrenceWins) {
  const SettingsDocument document = parse("language=1\nLANGUAGE=2\nLanguage=3\n");
  EXPECT_EQ(config::readSettingsNumber(document, "Language", -1), 1);
}

TEST(SettingsFileLookup, KeysAfterTheFirstGroupAreNotSeen) {
  const SettingsDocument document = parse("a=1\n[Group]\nb=2\n[Other]\na=3\n");
  EXPECT_EQ(config::readSettingsNumber(document, "a", -1), 1);
  EXPECT_EQ(config::readSettingsNumber(document, "b", -1), -1);
  EXPECT_EQ(config::readSettingsText(document, "b", "missing"), "missing");
}

TEST(SettingsFileLookup, EmptyValueIsEmptyTextOrZeroNotTheDefault) {
  const SettingsDocument document = parse("n=\nt=\n");
  EXPECT_EQ(config::readSettingsNumber(document, "n", 5), 0);
  EXPECT_EQ(config::readSettingsText(document, "t", "default"), "");
}

TEST(SettingsFileLookup, NonAsciiLettersAreComparedExactly) {
  const SettingsDocument document = parse(mark + "\xC3\xA4=1\n");
  EXPECT_EQ(config::readSettingsNumber(document, "\xC3\x84", -1), -1);
  EXPECT_EQ(config::readSettingsNumber(document, "\xC3\xA4", -1), 1);
}

TEST(SettingsFileUpdate, UpdatedKeyKeepsItsPlaceWithTheProgramsKeyText) {
  SettingsDocument document = parse("; head\n  language = 1\nother=x\n");
  config::writeSettingsNumber(document, "Language", 2);
  EXPECT_EQ(config::formatSettingsDocument(document), mark + "\n; head\nLanguage=2\nother=x\n");
}

TEST(SettingsFileUpdate, OnlyTheFirstOccurrenceIsUpdated) {
  SettingsDocument document = parse("a=1\nA=2\n");
  config::writeSettingsText(document, "a", "new");
  EXPECT_EQ(config::formatSettingsDocument(document), mark + "\na=new\nA=2\n");
}

TEST(SettingsFileUpdate, NewKeysGoBeforeTheFirstGroupAndGroupedKeysStay) {
  SettingsDocument document = parse("a=1\n; note\n[Group]\nnew=grouped\n");
  config::writeSettingsText(document, "new", "top");
  config::addSettingsComment(document, "added");
  EXPECT_EQ(config::formatSettingsDocument(document),
            mark + "\na=1\n; note\nnew=top\n; added\n[Group]\nnew=grouped\n");
}

TEST(SettingsFileUpdate, NewKeysGoToTheVeryBeginningWhenTheFileStartsWithAGroup) {
  SettingsDocument document = parse("[Group]\nkey=1\n");
  config::writeSettingsNumber(document, "key", 2);
  config::writeSettingsNumber(document, "second", 3);
  EXPECT_EQ(config::formatSettingsDocument(document), mark + "\nkey=2\nsecond=3\n[Group]\nkey=1\n");
}

TEST(SettingsFileUpdate, NewKeysFollowALineWithoutEqualsSign) {
  SettingsDocument document = parse("a=1\nstray text\n[G]\n");
  config::writeSettingsNumber(document, "b", 2);
  EXPECT_EQ(config::formatSettingsDocument(document), mark + "\na=1\nstray text\nb=2\n[G]\n");
}

TEST(SettingsFileUpdate, EmptyDocumentFillsInOrder) {
  SettingsDocument document;
  config::addSettingsComment(document, "Viewer");
  config::writeSettingsNumber(document, "about", -3);
  config::writeSettingsText(document, "CodeEditorPath", "");
  EXPECT_EQ(config::formatSettingsDocument(document), mark + "\n; Viewer\nabout=-3\nCodeEditorPath=\n");
}

TEST(SettingsFileWriting, EverythingIsRewrittenInTheProgramsOwnLayout) {
  EXPECT_EQ(roundTrip("\r\n;c\r\n\t[G] tail\r\n k = v \r\n"), mark + "\n; c\n[G]\nk=v \n");
  EXPECT_EQ(roundTrip(""), mark + "\n");
}

TEST(SettingsFileWriting, LineBreaksInsideAValueCannotSplitTheLine) {
  SettingsDocument document;
  config::writeSettingsText(document, "CodeEditorPath", "/bin/ed\n[Trap]\r");
  config::writeSettingsNumber(document, "Language", 1);
  const std::string written = config::formatSettingsDocument(document);
  EXPECT_EQ(written, mark + "\nCodeEditorPath=/bin/ed [Trap] \nLanguage=1\n");
  EXPECT_EQ(config::readSettingsNumber(parse(written), "Language", -1), 1);
}
