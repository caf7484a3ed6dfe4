#pragma once
// The fonts controls show their texts in, and what a text takes in one of them.
#include <windows.h>

#include <string>

#include "forms/dpiscale.h"

namespace forms {

// "MS Sans Serif" 8 pt, plain or bold, at a DPI; each created once, kept for the program's life.
HFONT DesignFont(bool bold, int dpi = kDesignDpi);
// Where the designed font cannot show a text (CJK, Arabic, Hebrew, Indic scripts...): the same
// size in the first installed face that shows the whole text, else "Microsoft Sans Serif", the
// TrueType face of the designed one's design, which the system links to the fonts of the other
// scripts (font linking: FontLink\SystemLink).
HFONT FallbackFont(bool bold, const std::string& text, int dpi = kDesignDpi);
// Whether the designed font has a glyph for every character of the text.
bool DesignFontShows(const std::string& text);

// The pixels a text takes in a font: on one line, or, given a wrap width, with its words broken
// onto lines of at most that many pixels (the height then covers them all).
SIZE MeasureText(HFONT font, const std::string& text, int wrapWidth = 0);

}  // namespace forms
