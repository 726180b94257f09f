// The generator's entry point: draws every image sheet at each of its resolutions, writes the
// sound effects and the music, then the contact sheet.
// Usage: assetgen <data folder> <contact sheet .png>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "asset_table.h"
#include "canvas.h"
#include "fonts.h"
#include "music.h"
#include "preview.h"
#include "sfx.h"
#include "sprites.h"
#include "ui.h"

namespace assetgen {
namespace {

struct Painter {
  const char* name;
  FramePainter paint;
};

constexpr Painter kPainters[] = {
    {"common/icons", paint_icons},       {"common/Buttons", paint_buttons},
    {"common/dpad", paint_dpad},         {"common/PellLogo", paint_studio_mark},
    {"fonts/shadow_editundo", paint_game_font}, {"menu", paint_menu},
    {"logo", paint_logo},                {"BadgesA", paint_badges},
    {"parts", paint_parts},              {"common/circle", paint_circle},
    {"common/light", paint_light},       {"trees", paint_trees},
    {"plr", paint_plr},                  {"gfx", paint_gfx},
    {"kelp_font", paint_fallback_font},
};

FramePainter painter_for(const ImageAsset& asset) {
  for (const Painter& p : kPainters)
    if (std::strcmp(p.name, asset.name) == 0) return p.paint;
  throw std::runtime_error(std::string("no painter for ") + asset.name);
}

void generate(const std::string& data_dir, const std::string& preview_path) {
  std::vector<PreviewSheet> preview;
  for (const ImageAsset& asset : kImages) {
    FramePainter paint = painter_for(asset);
    for (const Level& level : kLevels) {
      if (level.scale > 1 && !asset.has_hd) break;
      cairo_surface_t* sheet = paint_sheet(asset, level.scale, paint);
      write_png(sheet, data_dir + "/" + image_file(asset, level));
      if (level.scale == 2) preview.push_back({&asset, sheet});
      else cairo_surface_destroy(sheet);
    }
    if (!asset.has_hd) preview.push_back({&asset, paint_sheet(asset, 2, paint)});
  }
  write_preview(preview, preview_path);
  for (const PreviewSheet& p : preview) cairo_surface_destroy(p.surface);
  write_sound_effects(data_dir);
  write_music(data_dir);
}

}  // namespace
}  // namespace assetgen

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <data folder> <contact sheet .png>\n", argv[0]);
    return 2;
  }
  try {
    assetgen::generate(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
