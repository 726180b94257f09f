// Frame routines of the two bitmap fonts: the game's shadowed font with its button and key
// prompts, and the framework's fallback strip.
#pragma once

#include <cairo.h>

namespace assetgen {

void paint_game_font(cairo_t* cr, int frame);
void paint_fallback_font(cairo_t* cr, int frame);

}  // namespace assetgen
