// Creates the program's fonts from the settings and the toolkit's interface font.
#include "app/fonts_gtk.h"

#include <gtk/gtk.h>

#include "app/app_state.h"
#include "config/ui_font.h"

namespace app {

PangoFontDescription* codeFont = nullptr;
PangoFontDescription* boldUiFont = nullptr;

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

void loadBoldUiFont() {
  TRACE_LINE();
  gchar* fontName = nullptr;
  g_object_get(gtk_settings_get_default(), "gtk-font-name", &fontName, nullptr);
  const config::UiFont uiFont = config::parseUiFontName(fontName ? fontName : "");
  g_free(fontName);
  if (boldUiFont) pango_font_description_free(boldUiFont);
  boldUiFont = pango_font_description_from_string(config::boldUiFontDescription(uiFont).c_str());
}

}  // namespace app
