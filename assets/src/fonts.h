// The two bitmap fonts: the game's font "fonts/fennick" (128 cells of 16 x 16
// units at three resolutions, with the controller and keyboard button
// glyphs) and the framework's default font "vyro_font.png" (one row of 96
// padded frames).
#pragma once

#include "sheet.h"

namespace assetgen {

// The game font's cell n shows character n + 32.
constexpr int kFirstChar = 32;
constexpr int kControllerGlyphs = 96;  // frames 96..108
constexpr int kKeyboardGlyphs = 112;   // frames 112..124
// The letters whose button glyphs the font carries, in frame order.
constexpr char kButtonLetters[] = "JKLIUOQEFWSAD";

// The text writer advances 7 units per character plus this adjustment for
// narrow and wide letters (and 4, or 6 for U and O, after a button glyph).
int advance_adjust(char c);
int button_advance_adjust(char letter);

void paint_game_font(Pen& pen, int frame);

// The default font is 96 frames of kDefaultFontFrameW x kDefaultFontH pixels
// in one row, each with a transparent column on both sides.
constexpr int kDefaultFontFrameW = 10;
constexpr int kDefaultFontH = 16;
void paint_default_font(Pen& pen, int frame);

}  // namespace assetgen
