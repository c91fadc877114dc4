// Splitting the interface font name into family and size for the bold heading font.
#include "config/ui_font.h"

#include <gtest/gtest.h>

namespace {

void expectFont(const std::string& name, const std::string& family, int size) {
  SCOPED_TRACE(name);
  const config::UiFont font = config::parseUiFontName(name);
  EXPECT_EQ(font.family, family);
  EXPECT_EQ(font.size, size);
}

}  // namespace

TEST(UiFont, LastWordWithANumberIsTheSize) {
  expectFont("Sans 10", "Sans", 10);
  expectFont("DejaVu Sans Condensed 11", "DejaVu Sans Condensed", 11);
  expectFont("Cantarell 9px", "Cantarell", 9);
}

TEST(UiFont, FamilyWordsAreJoinedBySingleBlanks) { expectFont("  Noto   Sans  12 ", "Noto Sans", 12); }

TEST(UiFont, WithoutAUsableSizeTheWholeTextIsTheFamilyAtTen) {
  expectFont("Sans", "Sans", 10);
  expectFont("Sans 0", "Sans 0", 10);
  expectFont("Sans -4", "Sans -4", 10);
  expectFont("Sans 99999999999", "Sans 99999999999", 10);
  expectFont("", "", 10);
}

TEST(UiFont, SizeAloneLeavesAnEmptyFamily) { expectFont("14", "", 14); }

TEST(UiFont, BoldDescriptionPutsTheWeightBetweenFamilyAndSize) {
  EXPECT_EQ(config::boldUiFontDescription({"DejaVu Sans", 11}), "DejaVu Sans bold 11");
  EXPECT_EQ(config::boldUiFontDescription(config::parseUiFontName("Sans")), "Sans bold 10");
}
