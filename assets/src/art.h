// The painters of every sprite sheet. Each draws one frame (in virtual
// units, origin at the frame's top left) and leaves frames it has no art
// for empty.
#pragma once

#include "sheet.h"

namespace assetgen {

void paint_gfx(Pen& pen, int frame);           // ship, turret, bullet, gun, floor
void paint_walkers(Pen& pen, int frame);       // walker bodies, overlays, outlines
void paint_particles(Pen& pen, int frame);     // sparkles, stars and dots
void paint_badges(Pen& pen, int frame);        // badge medals
void paint_icons(Pen& pen, int frame);         // pause, quit, start, ring, calibrate
void paint_menu_buttons(Pen& pen, int frame);  // game types, cog layers, credits emblem
void paint_dpad(Pen& pen, int frame);          // on-screen pad parts
void paint_maker_logo(Pen& pen, int frame);
void paint_test_card(Pen& pen, int frame);
void paint_title(Pen& pen, int frame);
void paint_menu_art(Pen& pen, int frame);      // three layers of title artwork

}  // namespace assetgen
