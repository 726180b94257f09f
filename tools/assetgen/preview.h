// The contact sheet: every image sheet at twice its base size with frame numbers, and a
// small play scene built from the sheets, for judging the art at a glance.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "asset_table.h"

namespace assetgen {

struct PreviewSheet {
  const ImageAsset* asset;
  cairo_surface_t* surface;  // drawn at scale 2; borrowed
};

void write_preview(const std::vector<PreviewSheet>& sheets, const std::string& path);

}  // namespace assetgen
