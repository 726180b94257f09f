// Motifs shared by the play-field and menu sheets: the yellow flag with its red star, its
// pole, and the faceted boulder. The same routines draw the flag on the ground, on a
// soldier's back and in menus, and the rocks of the cave, the title and the studio mark.
#include "motifs.h"

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

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

void boulder(cairo_t* cr, Rng& rng, double cx, double cy, Rgb stone) {
  const Rgb crevice = kCrevice;
  // Two rings of points and a peak, nudged at random, make the facets; light comes from the
  // top left, so a facet's shade follows the way it faces.
  const int n = 9;
  const double lx = -0.55, ly = -0.83;
  std::vector<double> ox(n), oy(n), ix(n), iy(n);
  double turn = rng.range(0, 2 * M_PI);
  for (int i = 0; i < n; ++i) {
    double a = turn + 2 * M_PI * (i + rng.range(-0.2, 0.2)) / n;
    // A squarish outline (a superellipse) fills the corners of the cell, leaving only narrow
    // crevices between neighbours.
    double c = std::cos(a), sn = std::sin(a);
    double r = rng.range(0.93, 1.03) *
               std::pow(std::pow(std::fabs(c) / 33, 3) + std::pow(std::fabs(sn) / 29.5, 3), -1.0 / 3);
    ox[i] = cx + c * r;
    oy[i] = cy + 1 + sn * r;
    double b = turn + 2 * M_PI * (i + 0.5 + rng.range(-0.15, 0.15)) / n;
    double m = rng.range(0.45, 0.62);
    ix[i] = cx - 3 + std::cos(b) * 30 * m;
    iy[i] = cy - 5 + std::sin(b) * 26 * m;
  }
  const double px = cx - 4 + rng.range(-3, 3), py = cy - 8 + rng.range(-3, 3);
  auto facet = [&](std::initializer_list<std::pair<double, double>> pts, double nx, double ny,
                   double lift) {
    double len = std::hypot(nx, ny);
    double facing = len > 0 ? (nx * lx + ny * ly) / len : 0;
    double light = 0.78 + lift + 0.3 * facing + rng.range(-0.05, 0.05);
    cairo_new_path(cr);
    for (auto [x, y] : pts) cairo_line_to(cr, x, y);
    cairo_close_path(cr);
    set(cr, shade(stone, light));
    cairo_fill_preserve(cr);
    set(cr, crevice, 0.35);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
  };
  for (int i = 0; i < n; ++i) {
    int j = (i + 1) % n, h = (i + n - 1) % n;
    // Outer band: two triangles per step, facing outward and steep.
    facet({{ox[i], oy[i]}, {ox[j], oy[j]}, {ix[i], iy[i]}}, (ox[i] + ox[j]) / 2 - cx,
          (oy[i] + oy[j]) / 2 - cy, -0.12);
    facet({{ox[i], oy[i]}, {ix[i], iy[i]}, {ix[h], iy[h]}}, ox[i] - cx, oy[i] - cy, -0.08);
    // Top: a fan to the peak, facing mostly up.
    facet({{ix[h], iy[h]}, {ix[i], iy[i]}, {px, py}}, ((ix[h] + ix[i]) / 2 - px) * 0.5,
          ((iy[h] + iy[i]) / 2 - py) * 0.5, 0.22);
  }
  // The outline, then grit and moss on the lit top.
  cairo_new_path(cr);
  for (int i = 0; i < n; ++i) cairo_line_to(cr, ox[i], oy[i]);
  cairo_close_path(cr);
  set(cr, crevice);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int i = 0; i < 10; ++i) {
    double x = cx + rng.range(-20, 16), y = cy + rng.range(-18, 10);
    bool moss = rng.unit() < 0.35;
    circle(cr, x, y, moss ? rng.range(1.0, 1.8) : rng.range(0.5, 1.0));
    set(cr, moss ? hex(0x5a8a30) : shade(stone, rng.range(0.5, 1.5)), 0.75);
    cairo_fill(cr);
  }
}

}  // namespace assetgen
