// The generated image sheets, read back with stb_image: sizes against the asset table at
// every level, frames where the loader's grid walk will look for them, no blank frames, and
// the same pictures at every level.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "asset_table.h"
#include "assetgen/data_files.h"

using assetgen::ImageAsset;
using assetgen::kImages;
using assetgen::kLevels;
using assetgen::Level;

namespace {

struct Pixels {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
  unsigned char alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

std::optional<Pixels> load(const ImageAsset& asset, const Level& level) {
  Pixels p;
  int channels = 0;
  std::unique_ptr<unsigned char, void (*)(void*)> data(
      stbi_load(data_path(image_file(asset, level)).c_str(), &p.width, &p.height, &channels, 4),
      stbi_image_free);
  if (!data) return std::nullopt;
  p.rgba.assign(data.get(), data.get() + size_t(p.width) * p.height * 4);
  return p;
}

std::vector<const Level*> levels_of(const ImageAsset& asset) {
  std::vector<const Level*> out;
  for (const Level& level : kLevels)
    if (level.scale == 1 || asset.has_hd) out.push_back(&level);
  return out;
}

struct Origin {
  int x, y;
};

// The image loader's walk over a grid: across each row, then down, failing when a frame
// would not fit inside the surface.
std::optional<std::vector<Origin>> loader_cut(int surface_w, int surface_h, int w, int h, int count) {
  std::vector<Origin> frames;
  int cx = 0, cy = 0;
  for (int i = 0; i < count; ++i) {
    if (cx + w > surface_w) {
      cy += h;
      if (w > surface_w) return std::nullopt;
      cx = 0;
    }
    if (cy + h > surface_h) return std::nullopt;
    frames.push_back({cx, cy});
    cx += w;
  }
  return frames;
}

double frame_ink(const Pixels& p, int x0, int y0, int w, int h) {
  double sum = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) sum += p.alpha(x, y);
  return sum / 255.0;
}

TEST(GeneratedImages, EverySheetHasTheTableSizeAtEveryLevel) {
  for (const ImageAsset& asset : kImages) {
    for (const Level* level : levels_of(asset)) {
      SCOPED_TRACE(image_file(asset, *level));
      std::optional<Pixels> p = load(asset, *level);
      ASSERT_TRUE(p.has_value()) << "missing or unreadable";
      EXPECT_EQ(p->width, sheet_width(asset, level->scale));
      EXPECT_EQ(p->height, sheet_height(asset, level->scale));
      EXPECT_EQ(p->width % (asset.cell_w * level->scale), 0);
    }
  }
}

TEST(GeneratedImages, LoaderFindsEveryFrameInTheCellItWasDrawnIn) {
  for (const ImageAsset& asset : kImages) {
    for (const Level* level : levels_of(asset)) {
      SCOPED_TRACE(image_file(asset, *level));
      const int w = asset.cell_w * level->scale, h = asset.cell_h * level->scale;
      auto frames = loader_cut(sheet_width(asset, level->scale), sheet_height(asset, level->scale), w,
                               h, asset.frames);
      ASSERT_TRUE(frames.has_value()) << "the loader would report a frame outside the surface";
      for (int f = 0; f < asset.frames; ++f) {
        EXPECT_EQ((*frames)[f].x, (f % asset.columns) * w) << "frame " << f;
        EXPECT_EQ((*frames)[f].y, (f / asset.columns) * h) << "frame " << f;
      }
    }
  }
}

TEST(GeneratedImages, EveryFrameHasInkExceptAFontSpace) {
  for (const ImageAsset& asset : kImages) {
    for (const Level* level : levels_of(asset)) {
      SCOPED_TRACE(image_file(asset, *level));
      std::optional<Pixels> p = load(asset, *level);
      ASSERT_TRUE(p.has_value());
      const int w = asset.cell_w * level->scale, h = asset.cell_h * level->scale;
      for (int f = 0; f < asset.frames; ++f) {
        double ink = frame_ink(*p, (f % asset.columns) * w, (f / asset.columns) * h, w, h);
        if (f == asset.blank_frame)
          EXPECT_EQ(ink, 0) << "frame " << f << " should be empty";
        else
          EXPECT_GT(ink, 2.0 * level->scale * level->scale) << "frame " << f << " is blank";
      }
    }
  }
}

// Each level is drawn from the shapes, not enlarged, yet must show the same picture: the
// coverage of every frame, averaged down to level-1 pixels, matches the level-1 sheet.
TEST(GeneratedImages, HigherLevelsShowTheSamePictures) {
  for (const ImageAsset& asset : kImages) {
    if (!asset.has_hd) continue;
    std::optional<Pixels> base = load(asset, kLevels[0]);
    ASSERT_TRUE(base.has_value()) << asset.name;
    for (const Level& level : kLevels) {
      if (level.scale == 1) continue;
      SCOPED_TRACE(image_file(asset, level));
      std::optional<Pixels> big = load(asset, level);
      ASSERT_TRUE(big.has_value());
      const int s = level.scale;
      double diff = 0;
      for (int y = 0; y < base->height; ++y) {
        for (int x = 0; x < base->width; ++x) {
          double sum = 0;
          for (int dy = 0; dy < s; ++dy)
            for (int dx = 0; dx < s; ++dx) sum += big->alpha(x * s + dx, y * s + dy);
          diff += std::fabs(sum / (s * s) - base->alpha(x, y)) / 255.0;
        }
      }
      EXPECT_LT(diff / (double(base->width) * base->height), 0.06);
    }
  }
}

TEST(GeneratedImages, FallbackFontIsOneStripWithClearSideBorders) {
  const ImageAsset* font = nullptr;
  for (const ImageAsset& asset : kImages)
    if (std::string(asset.name) == "kelp_font") font = &asset;
  ASSERT_NE(font, nullptr);
  std::optional<Pixels> p = load(*font, kLevels[0]);
  ASSERT_TRUE(p.has_value());
  // The framework cuts it as 96 frames in one row and strips one pixel on each side.
  EXPECT_EQ(p->width / 96, 10);
  EXPECT_EQ(p->height, 16);
  for (int glyph = 0; glyph < 96; ++glyph) {
    for (int y = 0; y < p->height; ++y) {
      EXPECT_EQ(p->alpha(glyph * 10, y), 0) << "glyph " << glyph;
      EXPECT_EQ(p->alpha(glyph * 10 + 9, y), 0) << "glyph " << glyph;
    }
  }
}

}  // namespace
