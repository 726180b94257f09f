// The contact sheet. Sheets are packed in shelves, tallest first, each cell numbered; below
// them a play scene places rocks, base, flags, soldiers and enemies the way the game does
// (rocks 62 x 52 apart, sprites centred), so the art is judged in place, not only in its grid.
#include "preview.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "canvas.h"

namespace assetgen {
namespace {

constexpr int kScale = 2;
constexpr int kMaxWidth = 2096;  // two of the widest sheets side by side
constexpr int kGap = 16, kLabel = 26;

const PreviewSheet* find(const std::vector<PreviewSheet>& sheets, const char* name) {
  for (const PreviewSheet& s : sheets)
    if (std::strcmp(s.asset->name, name) == 0) return &s;
  return nullptr;
}

// Draws one frame centred on (x, y) at the game's size factors sx, sy (negative mirrors).
void sprite(cairo_t* cr, const PreviewSheet& s, int frame, double x, double y, double sx, double sy,
            double alpha = 1) {
  const ImageAsset& a = *s.asset;
  double w = a.cell_w * kScale, h = a.cell_h * kScale;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, sx, sy);
  cairo_rectangle(cr, -w / 2, -h / 2, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, s.surface, -w / 2 - (frame % a.columns) * w,
                           -h / 2 - (frame / a.columns) * h);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void label(cairo_t* cr, const std::string& text, double x, double y, double size) {
  use_typeface(cr, Typeface::SansBold, size);
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, text.c_str());
  set(cr, hex(0), 0.9);
  cairo_set_line_width(cr, size * 0.3);
  cairo_stroke_preserve(cr);
  set(cr, palette::kWhite);
  cairo_fill(cr);
}

struct Placed {
  const PreviewSheet* sheet;
  int x, y;
};

// A corner of a cave: rock cells with a tunnel, the base and a spawner, and the column at work.
void play_scene(cairo_t* cr, const std::vector<PreviewSheet>& sheets, double ox, double oy) {
  static const char* kMap[] = {
      "############", "##...####..#", "#....##....#", "#..sBs....S#",
      "##.sss.#...#", "###......###", "#####..#####", "############"};
  const PreviewSheet* rocks = find(sheets, "trees");
  const PreviewSheet* gfx = find(sheets, "gfx");
  const PreviewSheet* plr = find(sheets, "plr");
  const double cw = 62 * kScale, ch = 52 * kScale;
  cairo_rectangle(cr, ox, oy, 12 * cw - cw, 8 * ch - ch);
  set(cr, hex(0x007800));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_rectangle(cr, ox, oy, 12 * cw - cw, 8 * ch - ch);
  cairo_clip(cr);
  Rng rng(3);
  auto at = [&](double c, double r) { return std::pair{ox + c * cw, oy + r * ch}; };
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 12; ++c) {
      auto [x, y] = at(c, r);
      char k = kMap[r][c];
      if (k == '#') sprite(cr, *rocks, rng.below(9), x, y, 1, 1);
      if (k == 'B') sprite(cr, *gfx, 9, x, y, 1, 1);
      if (k == 's') {
        bool planted = (c + r) % 2 == 0;
        sprite(cr, *gfx, planted ? 11 : 10, x, y, 1, 1);
        if (planted) sprite(cr, *gfx, (c * 3) % 7, x, y - 4 * kScale, -0.5, 0.5);
      }
      if (k == 'S') {
        sprite(cr, *gfx, 7, x, y, 1, 1);
        sprite(cr, *gfx, 14, x - 10 * kScale, y + 9 * kScale, -1, 1);
      }
    }
  }
  // The column walks left toward the base; the second soldier carries a flag.
  for (int k = 0; k < 4; ++k) {
    auto [x, y] = at(7.2 + k * 0.45, 2.2 + k * 0.12);
    sprite(cr, *plr, k == 1 ? 5 : k % 3, x, y, -1, 1);
    if (k == 1) sprite(cr, *gfx, 2, x, y - 4 * kScale, 0.5, 0.5);
  }
  auto [fx, fy] = at(9.3, 1.1);
  sprite(cr, *gfx, 4, fx, fy, 0.5, 0.5);
  auto [e1x, e1y] = at(8.4, 4.3);
  sprite(cr, *gfx, 14, e1x, e1y, -1, 1);
  auto [e2x, e2y] = at(6.1, 5.1);
  sprite(cr, *gfx, 14, e2x, e2y, 1, 1);
  auto [dx, dy] = at(5.2, 4.8);
  sprite(cr, *gfx, 18, dx, dy, 1, 1, 0.7);
  auto [px, py] = at(2.3, 2.0);
  sprite(cr, *plr, 7, px, py, 1, 1);
  // Bullets are plain rectangles in the game: ours yellow-white, theirs shifting pink-blue.
  auto [bx, by] = at(6.6, 2.25);
  cairo_rectangle(cr, bx, by, 8 * kScale, 3 * kScale);
  set(cr, hex(0xffffc0));
  cairo_fill(cr);
  cairo_restore(cr);
  label(cr, "play scene (ground 0,120,0; cells 62 x 52)", ox, oy - 8, 18);
}

}  // namespace

void write_preview(const std::vector<PreviewSheet>& sheets, const std::string& path) {
  std::vector<const PreviewSheet*> order;
  for (const PreviewSheet& s : sheets) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const PreviewSheet* a, const PreviewSheet* b) {
    return cairo_image_surface_get_height(a->surface) > cairo_image_surface_get_height(b->surface);
  });
  std::vector<Placed> placed;
  int x = kGap, y = kGap + kLabel, shelf = 0;
  for (const PreviewSheet* s : order) {
    int w = cairo_image_surface_get_width(s->surface), h = cairo_image_surface_get_height(s->surface);
    if (x + w + kGap > kMaxWidth && x > kGap) {
      x = kGap;
      y += shelf + kGap + kLabel;
      shelf = 0;
    }
    placed.push_back({s, x, y});
    x += w + kGap;
    shelf = std::max(shelf, h);
  }
  const int scene_top = y + shelf + kGap + kLabel + 8;
  const int scene_h = 7 * 52 * kScale;
  cairo_surface_t* out =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kMaxWidth, scene_top + scene_h + kGap);
  cairo_t* cr = cairo_create(out);
  set(cr, hex(0x24282e));
  cairo_paint(cr);
  for (const Placed& p : placed) {
    const ImageAsset& a = *p.sheet->asset;
    int cw = a.cell_w * kScale, ch = a.cell_h * kScale;
    // Cells alternate the play ground and a dark menu tone, so both uses can be judged.
    for (int f = 0; f < a.frames; ++f) {
      cairo_rectangle(cr, p.x + (f % a.columns) * cw, p.y + (f / a.columns) * ch, cw, ch);
      set(cr, (f + f / a.columns) % 2 ? hex(0x0c1424) : hex(0x007800));
      cairo_fill(cr);
    }
    cairo_set_source_surface(cr, p.sheet->surface, p.x, p.y);
    cairo_paint(cr);
    for (int f = 0; f < a.frames; ++f)
      label(cr, std::to_string(f), p.x + (f % a.columns) * cw + 2, p.y + (f / a.columns) * ch + 10,
            cw >= 32 ? 10 : 7);
    label(cr, std::string(a.name) + "  " + std::to_string(a.cell_w) + "x" + std::to_string(a.cell_h) +
                  " x" + std::to_string(a.frames),
          p.x, p.y - 8, 15);
  }
  play_scene(cr, sheets, kGap, scene_top);
  cairo_destroy(cr);
  write_png(out, path);
  cairo_surface_destroy(out);
}

}  // namespace assetgen
