// The generated sounds: every effect is a well-formed 16-bit PCM WAVE that is short, audible,
// unclipped and starts and ends at rest; every tune decodes with stb_vorbis to its length, and
// the in-game loop runs from its end into its start without a jump.
#include <gtest/gtest.h>
// The decoder itself comes from the stb library; only its declarations are wanted here.
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "asset_table.h"
#include "assetgen/data_files.h"

namespace {

std::uint32_t u32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t u16(const std::vector<unsigned char>& b, size_t at) { return b[at] | b[at + 1] << 8; }
bool tag(const std::vector<unsigned char>& b, size_t at, const char* four) {
  return b.size() >= at + 4 && std::memcmp(&b[at], four, 4) == 0;
}

struct Wave {
  int channels = 0, rate = 0, bits = 0, format = 0;
  std::vector<std::int16_t> samples;
};

// Walks the RIFF chunks the way a strict reader would; fails the test on any malformation.
Wave parse_wave(const std::vector<unsigned char>& b) {
  Wave w;
  EXPECT_TRUE(tag(b, 0, "RIFF"));
  EXPECT_TRUE(tag(b, 8, "WAVE"));
  if (b.size() < 12) return w;
  EXPECT_EQ(u32(b, 4), b.size() - 8) << "RIFF size";
  bool have_format = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    std::uint32_t size = u32(b, at + 4);
    EXPECT_LE(at + 8 + size, b.size()) << "chunk runs past the file";
    if (at + 8 + size > b.size()) break;
    if (tag(b, at, "fmt ")) {
      w.format = u16(b, at + 8);
      w.channels = u16(b, at + 10);
      w.rate = static_cast<int>(u32(b, at + 12));
      EXPECT_EQ(u32(b, at + 16), w.rate * w.channels * 2u) << "byte rate";
      EXPECT_EQ(u16(b, at + 20), w.channels * 2) << "block align";
      w.bits = u16(b, at + 22);
      have_format = true;
    } else if (tag(b, at, "data")) {
      EXPECT_TRUE(have_format) << "data before fmt";
      for (size_t i = 0; i + 1 < size; i += 2)
        w.samples.push_back(static_cast<std::int16_t>(u16(b, at + 8 + i)));
    }
    at += 8 + size + (size & 1);
  }
  return w;
}

int peak(const std::vector<std::int16_t>& s) {
  int p = 0;
  for (std::int16_t v : s) p = std::max(p, std::abs(int(v)));
  return p;
}

TEST(GeneratedSounds, EveryEffectIsShortCleanMono16BitPcm) {
  for (int number : assetgen::kSounds) {
    std::string file = assetgen::sound_file(number);
    SCOPED_TRACE(file);
    std::vector<unsigned char> bytes = read_bytes(data_path(file));
    ASSERT_FALSE(bytes.empty()) << "missing";
    Wave w = parse_wave(bytes);
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.rate, assetgen::kSampleRate);
    ASSERT_FALSE(w.samples.empty());
    double seconds = double(w.samples.size()) / w.rate;
    EXPECT_GT(seconds, 0.03);
    EXPECT_LT(seconds, 2.0);
    EXPECT_GT(peak(w.samples), 8000) << "too quiet";
    EXPECT_LT(peak(w.samples), 32000) << "clipped";
    EXPECT_LT(std::abs(int(w.samples.front())), 600) << "starts with a click";
    EXPECT_LT(std::abs(int(w.samples.back())), 600) << "ends with a click";
  }
}

TEST(GeneratedSounds, EffectsOfDifferentEventsDiffer) {
  // Numbers grouped by event share a recipe; each one must still be its own sound.
  std::vector<std::vector<unsigned char>> seen;
  for (int number : assetgen::kSounds) {
    std::vector<unsigned char> bytes = read_bytes(data_path(assetgen::sound_file(number)));
    for (const auto& other : seen) EXPECT_NE(bytes, other) << "sound " << number << " repeats another";
    seen.push_back(bytes);
  }
}

struct Decoded {
  int channels = 0, rate = 0;
  std::vector<short> samples;  // interleaved
  size_t frames() const { return channels ? samples.size() / channels : 0; }
};

Decoded decode(const std::string& path) {
  Decoded d;
  short* out = nullptr;
  int n = stb_vorbis_decode_filename(path.c_str(), &d.channels, &d.rate, &out);
  if (n > 0) d.samples.assign(out, out + size_t(n) * d.channels);
  std::free(out);
  return d;
}

TEST(GeneratedMusic, EveryTuneDecodesToItsLength) {
  for (const assetgen::Tune& tune : assetgen::kTunes) {
    SCOPED_TRACE(tune.name);
    Decoded d = decode(data_path(std::string("sfx/") + tune.name + ".ogg"));
    ASSERT_GT(d.frames(), 0u) << "stb_vorbis could not decode it";
    EXPECT_EQ(d.rate, assetgen::kMusicRate);
    EXPECT_EQ(d.channels, 2);
    double seconds = double(d.frames()) / d.rate;
    EXPECT_GE(seconds, tune.min_seconds);
    EXPECT_LE(seconds, tune.max_seconds);
    std::vector<std::int16_t> s(d.samples.begin(), d.samples.end());
    EXPECT_GT(peak(s), 8000) << "too quiet";
    EXPECT_LT(peak(s), 32767) << "clipped";
  }
}

TEST(GeneratedMusic, LoopsRunIntoTheirStartWithoutAJump) {
  for (const assetgen::Tune& tune : assetgen::kTunes) {
    if (!tune.loops) continue;
    SCOPED_TRACE(tune.name);
    Decoded d = decode(data_path(std::string("sfx/") + tune.name + ".ogg"));
    ASSERT_GT(d.frames(), 1000u);
    const size_t n = d.frames();
    for (int c = 0; c < d.channels; ++c) {
      auto at = [&](size_t i) { return int(d.samples[i * d.channels + c]); };
      // The step across the seam is no larger than steps inside the music.
      int largest_step = 0;
      for (size_t i = 1; i < n; ++i) largest_step = std::max(largest_step, std::abs(at(i) - at(i - 1)));
      EXPECT_LE(std::abs(at(0) - at(n - 1)), largest_step / 2 + 200) << "channel " << c;
      // Nor does the music fade out before the seam, which would leave a gap in the loop.
      double all = 0, end = 0;
      const size_t window = d.rate / 4;
      for (size_t i = 0; i < n; ++i) all += double(at(i)) * at(i);
      for (size_t i = n - window; i < n; ++i) end += double(at(i)) * at(i);
      EXPECT_GT(std::sqrt(end / window), 0.3 * std::sqrt(all / n)) << "channel " << c;
    }
  }
}

}  // namespace
