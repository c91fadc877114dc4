// The two program fonts: the code font and the bold interface font.
#pragma once

#include <cstdint>
#include <string>

#include <pango/pango.h>

namespace app {

extern PangoFontDescription* codeFont;
extern PangoFontDescription* boldUiFont;

// Creates codeFont anew; false (and codeFont unchanged) when the name is unusable.
bool loadCodeFont(const std::string& name, std::int64_t size);
// Creates boldUiFont from the toolkit's "gtk-font-name" setting.
void loadBoldUiFont();

}  // namespace app
