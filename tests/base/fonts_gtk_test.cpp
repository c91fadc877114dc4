// The bold heading font derived from the desktop's interface font name.
#include "base/fonts_gtk.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct FontCase {
  const char* name;
  const char* family;  // nullptr: no family (Pango's default then)
  int points;
};

TEST(BoldUiFont, FamilyAndSizeOfTheInterfaceFontInBold) {
  const FontCase cases[] = {
      {"Sans 10", "Sans", 10},
      {"Cantarell 9px", "Cantarell", 9},  // pixels are taken as points
      {"  Noto   Sans  12 ", "Noto Sans", 12},
      {"Sans", "Sans", 10},  // no size: 10 points
      {"", nullptr, 10},
      {"14", nullptr, 14},
  };
  for (const FontCase& c : cases) {
    SCOPED_TRACE(c.name);
    PangoFontDescription* font = base::boldFontForInterfaceFont(c.name);
    const char* family = pango_font_description_get_family(font);
    EXPECT_EQ(c.family ? std::string(c.family) : std::string(), family ? std::string(family) : std::string());
    EXPECT_EQ(c.points * PANGO_SCALE, pango_font_description_get_size(font));
    EXPECT_FALSE(pango_font_description_get_size_is_absolute(font));
    EXPECT_EQ(PANGO_WEIGHT_BOLD, pango_font_description_get_weight(font));
    pango_font_description_free(font);
  }
}

TEST(BoldUiFont, StyleWordsOfTheInterfaceFontStay) {
  PangoFontDescription* font = base::boldFontForInterfaceFont("DejaVu Sans Condensed Italic 9");
  EXPECT_STREQ("DejaVu Sans", pango_font_description_get_family(font));
  EXPECT_EQ(PANGO_STRETCH_CONDENSED, pango_font_description_get_stretch(font));
  EXPECT_EQ(PANGO_STYLE_ITALIC, pango_font_description_get_style(font));
  EXPECT_EQ(PANGO_WEIGHT_BOLD, pango_font_description_get_weight(font));
  pango_font_description_free(font);
}

}  // namespace
