// Frame routines of the menu and overlay sheets: icons, menu buttons and the options cog,
// the on-screen pad, the difficulty wheel, menu panels, the title, the studio mark and badges.
#pragma once

#include <cairo.h>

namespace assetgen {

void paint_icons(cairo_t* cr, int frame);
void paint_buttons(cairo_t* cr, int frame);
void paint_dpad(cairo_t* cr, int frame);
void paint_circle(cairo_t* cr, int frame);
void paint_menu(cairo_t* cr, int frame);
void paint_logo(cairo_t* cr, int frame);
void paint_studio_mark(cairo_t* cr, int frame);
void paint_badges(cairo_t* cr, int frame);

// Shared with the font's button prompts: a round pad button with a letter.
void pad_button(cairo_t* cr, double cx, double cy, double r, const char* letter, bool lit);
// Shared with the font's key prompts: a keyboard key cap with a legend.
void key_cap(cairo_t* cr, double x, double y, double w, double h, const char* legend, bool pressed);
// An arrow pointing along `angle` (0 = right), centred on (cx, cy), `size` long.
void arrow(cairo_t* cr, double cx, double cy, double size, double angle);

}  // namespace assetgen
