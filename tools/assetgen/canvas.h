// Drawing helpers every sheet shares: colours, paths, gradients, the DejaVu typefaces, and
// the sheet painter that runs one frame routine per cell at a given resolution level.
// Frame routines draw in level-1 pixel units; the painter scales them, so every level is
// drawn from the shapes themselves rather than enlarged from a smaller bitmap.
#pragma once

#include <cairo.h>

#include <initializer_list>
#include <string>

#include "asset_table.h"
#include "rng.h"

namespace assetgen {

struct Rgb {
  double r, g, b;
};

constexpr Rgb hex(unsigned v) {
  return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
Rgb mix(Rgb a, Rgb b, double t);
// k above 1 lightens toward white, below 1 darkens toward black.
Rgb shade(Rgb c, double k);

// The shared palette: the play ground is (0, 120, 0), and everything on it must read against it.
namespace palette {
inline constexpr Rgb kInk = hex(0x1a1410);
inline constexpr Rgb kWhite = hex(0xffffff);
inline constexpr Rgb kFlag = hex(0xffd81a);
inline constexpr Rgb kOurs = hex(0x2f6fe8);
inline constexpr Rgb kTheirs = hex(0xd8322a);
inline constexpr Rgb kSkin = hex(0xf0c090);
inline constexpr Rgb kMetal = hex(0x8a9096);
inline constexpr Rgb kWood = hex(0x7a5230);
inline constexpr Rgb kAccent = hex(0xff8a1a);
inline constexpr Rgb kCrevice = hex(0x2e241c);
}  // namespace palette

void set(cairo_t* cr, Rgb c, double alpha = 1.0);
void circle(cairo_t* cr, double x, double y, double r);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// A closed, smooth, irregular loop around (cx, cy): the outline of a rock, a puff or a blot.
void blob(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry, int points,
          double roughness);
// A closed outline through the points in order (added to the current path).
struct Point {
  double x, y;
};
void polygon(cairo_t* cr, std::initializer_list<Point> points);

// A regular polygon or star (inner radius r2 != r1) with the first point straight up.
void star(cairo_t* cr, double cx, double cy, double r1, double r2, int points, double turn = 0);

// Fills the current path and outlines it, keeping the path for neither.
void fill_line(cairo_t* cr, Rgb fill, Rgb line, double width, double alpha = 1.0);
// Strokes the current path in `colour` over a dark rim `rim` wide on each side; the path is
// used up.
void rimmed_stroke(cairo_t* cr, Rgb colour, double width, double rim);
// Sets the source to a radial gradient from `inner` at the centre to `outer` at radius r.
void radial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer,
            double inner_alpha = 1.0, double outer_alpha = 1.0);
// Sets the source to a vertical gradient from `top` at y0 to `bottom` at y1.
void vertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);
// A soft round shadow cast on the ground.
void ground_shadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);

enum class Typeface { SansBold, SansMonoBold, SerifBold };
void use_typeface(cairo_t* cr, Typeface face, double size);
// Adds the text's outline to the path, its ink box centred on (cx, cy).
void text_path_centred(cairo_t* cr, const std::string& text, double cx, double cy);
// Draws text centred on (cx, cy) in `fill` with a thick `line` outline behind it.
void outlined_text(cairo_t* cr, const std::string& text, double cx, double cy, Rgb fill, Rgb line,
                   double width);

using FramePainter = void (*)(cairo_t* cr, int frame);
// Draws every frame of the sheet at the given scale; the caller owns the surface.
cairo_surface_t* paint_sheet(const ImageAsset& asset, int scale, FramePainter paint);
// Writes the surface as PNG, creating the folders on the way.
void write_png(cairo_surface_t* surface, const std::string& path);

}  // namespace assetgen
