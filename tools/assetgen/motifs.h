// Motifs shared by the play-field and menu sheets: the yellow flag with its red star, its
// pole, and the faceted boulder of the cave walls.
#pragma once

#include "canvas.h"

namespace assetgen {

// The cloth of a waving flag hanging from a pole at x = pole_x, top at y = top, flying toward
// +x for `length` units (negative flies toward -x). `phase` runs 0..1 over one wave.
void flag_cloth(cairo_t* cr, double pole_x, double top, double length, double height, double phase,
                double line_width);
// A pole from (x, foot) up to (x, top) with a gold knob.
void flag_pole(cairo_t* cr, double x, double foot, double top, double width);

// A faceted boulder about 66 x 59 units around (cx, cy), lit from the top left; its shape
// comes from rng. Scale the context for other sizes.
void boulder(cairo_t* cr, Rng& rng, double cx, double cy, Rgb stone);

}  // namespace assetgen
