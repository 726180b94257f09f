// The list of every file the game loads from data/: image sheets with their cell sizes,
// frame counts and sheet widths, the sound effect numbers and the music tunes.
// The generator draws from it and the tests measure the generated files against it.
#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace assetgen {

struct ImageAsset {
  const char* name;  // relative to data/, without suffix and ".png"
  int cell_w, cell_h;  // at level 1
  int frames;
  int columns;  // cells per sheet row; rows are filled left to right, top to bottom
  bool has_hd;  // also written as "-hd" (twice the size) and "-hd2" (four times)
  int blank_frame;  // the one frame meant to stay empty (a font's space), or -1
};

// Sheet widths keep the largest ("-hd2") sheets at 2048 pixels or less.
inline constexpr std::array<ImageAsset, 15> kImages = {{
    {"common/icons", 32, 32, 16, 16, true, -1},
    {"common/Buttons", 64, 64, 16, 8, true, -1},
    {"common/dpad", 32, 32, 16, 8, true, -1},
    {"common/PellLogo", 256, 256, 1, 1, true, -1},
    {"fonts/shadow_editundo", 16, 16, 128, 16, true, 0},
    {"menu", 256, 256, 4, 2, true, -1},
    {"logo", 256, 128, 1, 1, true, -1},
    {"BadgesA", 64, 64, 64, 8, true, -1},
    {"parts", 8, 8, 256, 16, true, -1},
    {"common/circle", 256, 256, 4, 2, true, -1},
    {"common/light", 32, 32, 4, 4, true, -1},
    {"trees", 68, 68, 9, 5, true, -1},
    {"plr", 36, 36, 49, 8, true, -1},
    {"gfx", 36, 36, 49, 8, true, -1},
    // The framework's fallback font: one strip of 96 glyphs (characters 32..127), each cell
    // with a one-pixel transparent border left and right.
    {"kelp_font", 10, 16, 96, 96, false, 0},
}};

// Resolution levels and the file-name suffix of each.
struct Level {
  int scale;
  const char* suffix;
};
inline constexpr std::array<Level, 3> kLevels = {{{1, ""}, {2, "-hd"}, {4, "-hd2"}}};

inline int sheet_rows(const ImageAsset& a) { return (a.frames + a.columns - 1) / a.columns; }
inline int sheet_width(const ImageAsset& a, int scale) { return a.columns * a.cell_w * scale; }
inline int sheet_height(const ImageAsset& a, int scale) { return sheet_rows(a) * a.cell_h * scale; }

inline std::string image_file(const ImageAsset& a, const Level& level) {
  return std::string(a.name) + level.suffix + ".png";
}

// Sound effect numbers the loader asks for, each written as sfx/NNN.wav.
inline constexpr std::array<int, 21> kSounds = {1,  2,  3,  4,  5,  6,  21, 22, 23, 24, 25,
                                                26, 27, 28, 29, 30, 31, 95, 96, 98, 99};
inline constexpr int kSampleRate = 22050;

inline std::string sound_file(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "sfx/%03d.wav", number);
  return name;
}

struct Tune {
  const char* name;  // written as sfx/<name>.ogg
  double min_seconds, max_seconds;
  bool loops;  // the end must run into the start without a click
};
inline constexpr std::array<Tune, 2> kTunes = {{
    {"testmusic", 45.0, 90.0, true},
    {"Correctional", 1.5, 8.0, false},
}};
inline constexpr int kMusicRate = 44100;

}  // namespace assetgen
