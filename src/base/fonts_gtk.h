// The two program fonts: the code font and the bold interface font.
#pragma once

#include <cstdint>
#include <string>

#include <pango/pango.h>

namespace base {

extern PangoFontDescription* codeFont;
extern PangoFontDescription* boldUiFont;

// Starts reading the machine's fonts in the background, ahead of the first text.
void startFontConfiguration();
// Creates codeFont anew; false (and codeFont unchanged) when the name is unusable.
bool loadCodeFont(const std::string& name, std::int64_t size);
// The bold heading font for an interface font name such as "DejaVu Sans 10": the
// family and size as Pango reads them, 10 points when the name gives no size, and a
// size in pixels ("9px") taken as points. The caller frees it.
PangoFontDescription* boldFontForInterfaceFont(const std::string& gtkFontName);
// Creates boldUiFont from the toolkit's "gtk-font-name" setting.
void loadBoldUiFont();

}  // namespace base
