// Creates the program's fonts from the settings and the toolkit's interface font.
#include "base/fonts_gtk.h"

#include <gtk/gtk.h>

#include "base/trace.h"

namespace base {

PangoFontDescription* codeFont = nullptr;
PangoFontDescription* boldUiFont = nullptr;

void startFontConfiguration() {
  TRACE_LINE();
  // The toolkit reads the machine's font configuration and font caches on a thread of
  // its own once the font map is made, and the first text laid out waits for it. Made
  // before the toolkit and the library are loaded, the reading runs beside them.
  pango_cairo_font_map_get_default();
}

bool loadCodeFont(const std::string& name, std::int64_t size) {
  TRACE_LINE();
  if (name.empty() || size <= 0) return false;
  PangoFontDescription* font = pango_font_description_from_string(name.c_str());
  if (!font) return false;
  pango_font_description_set_size(font, static_cast<gint>(size * PANGO_SCALE));
  if (codeFont) pango_font_description_free(codeFont);
  codeFont = font;
  return true;
}

namespace {

// Pango keeps a run of blanks inside a family name, which then names no font.
std::string withSingleBlanks(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == ' ' && (result.empty() || result.back() == ' ')) continue;
    result += c;
  }
  if (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

}  // namespace

PangoFontDescription* boldFontForInterfaceFont(const std::string& gtkFontName) {
  PangoFontDescription* font = pango_font_description_from_string(withSingleBlanks(gtkFontName).c_str());
  const gint size = pango_font_description_get_size(font);
  if (size <= 0)
    pango_font_description_set_size(font, 10 * PANGO_SCALE);
  else if (pango_font_description_get_size_is_absolute(font))
    pango_font_description_set_size(font, size);
  pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  return font;
}

void loadBoldUiFont() {
  TRACE_LINE();
  gchar* fontName = nullptr;
  g_object_get(gtk_settings_get_default(), "gtk-font-name", &fontName, nullptr);
  if (boldUiFont) pango_font_description_free(boldUiFont);
  boldUiFont = boldFontForInterfaceFont(fontName ? fontName : "");
  g_free(fontName);
}

}  // namespace base
