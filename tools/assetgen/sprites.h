// Frame routines of the play-field sheets: soldiers, enemies, flags and base ("plr", "gfx"),
// the cave-wall rocks ("trees"), particles ("parts") and glows ("common/light").
#pragma once

#include <cairo.h>

namespace assetgen {

void paint_plr(cairo_t* cr, int frame);
void paint_gfx(cairo_t* cr, int frame);
void paint_trees(cairo_t* cr, int frame);
void paint_parts(cairo_t* cr, int frame);
void paint_light(cairo_t* cr, int frame);

}  // namespace assetgen
