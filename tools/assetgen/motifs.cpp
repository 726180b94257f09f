// Motifs shared by the play-field and menu sheets: the yellow flag with its red star, and
// its pole. The same routine draws the flag on the ground, on a soldier's back and in menus.
#include "motifs.h"

#include <cmath>

namespace assetgen {

using namespace palette;

void flag_cloth(cairo_t* cr, double pole_x, double top, double length, double height, double phase,
                double line_width) {
  const int steps = 16;
  auto wave = [&](double t) {
    return std::sin(2 * M_PI * (t * 1.3 - phase)) * height * 0.22 * t;
  };
  cairo_new_path(cr);
  for (int i = 0; i <= steps; ++i) {
    double t = double(i) / steps;
    cairo_line_to(cr, pole_x + length * t * (1 - 0.06 * std::sin(2 * M_PI * phase)), top + wave(t));
  }
  for (int i = steps; i >= 0; --i) {
    double t = double(i) / steps;
    cairo_line_to(cr, pole_x + length * t * (1 - 0.06 * std::sin(2 * M_PI * phase)),
                  top + height * (1 - 0.12 * t) + wave(t));
  }
  cairo_close_path(cr);
  // Folds: bands of light and shade that travel with the wave.
  cairo_pattern_t* folds = cairo_pattern_create_linear(pole_x, 0, pole_x + length, 0);
  for (int i = 0; i <= 8; ++i) {
    double t = i / 8.0;
    double light = 0.86 + 0.14 * std::cos(2 * M_PI * (t * 1.3 - phase));
    Rgb c = shade(kFlag, light);
    cairo_pattern_add_color_stop_rgb(folds, t, c.r, c.g, c.b);
  }
  cairo_set_source(cr, folds);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(folds);
  set(cr, kInk);
  cairo_set_line_width(cr, line_width);
  cairo_stroke(cr);
  // A red star on the cloth, riding the wave.
  double t = 0.5;
  star(cr, pole_x + length * t, top + height * 0.47 + wave(t), height * 0.26, height * 0.11, 5);
  set(cr, kTheirs);
  cairo_fill(cr);
}

void flag_pole(cairo_t* cr, double x, double foot, double top, double width) {
  cairo_move_to(cr, x, foot);
  cairo_line_to(cr, x, top);
  rimmed_stroke(cr, hex(0xc8c0b0), width, 0.6);
  circle(cr, x, top - width * 0.6, width * 0.95);
  fill_line(cr, hex(0xffe060), kInk, 0.8);
}

}  // namespace assetgen
