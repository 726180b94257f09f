// The sound effects. Shots are short falling zaps over a noise crack, hits are dull thumps,
// enemy deaths falling squeals; rewards and menu sounds are small tuned chimes in one key
// (C major), so a string of them never clashes with the music.
#include "sfx.h"

#include <array>
#include <stdexcept>

#include "asset_table.h"
#include "synth.h"

namespace assetgen {
namespace {

constexpr int C5 = 72, E5 = 76, G5 = 79, C6 = 84;

Envelope pluck(double decay, double release = 0.04) { return {0.002, decay, 0.0, release}; }

void chime(Mix& m, Rng& rng, double at, int midi, double length, double gain) {
  play(m, {.start = at, .length = length, .freq = note_hz(midi), .wave = Wave::Triangle,
           .env = pluck(length * 0.8, 0.08), .gain = gain}, rng);
  play(m, {.start = at, .length = length, .freq = note_hz(midi + 12), .wave = Wave::Sine,
           .env = pluck(length * 0.5, 0.08), .gain = gain * 0.4}, rng);
}

void noise_burst(Mix& m, Rng& rng, double at, double length, double cutoff, double cutoff_end,
                 double gain) {
  play(m, {.start = at, .length = length, .wave = Wave::Noise, .env = pluck(length, 0.03),
           .gain = gain, .cutoff = cutoff, .cutoff_end = cutoff_end}, rng);
}

void shot(Mix& m, Rng& rng, double f0, double f1, Wave wave, double length) {
  play(m, {.length = length, .freq = f0, .freq_end = f1, .wave = wave, .env = pluck(length * 0.7),
           .gain = 0.5, .cutoff = 5000, .cutoff_end = 1200, .duty = 0.3}, rng);
  noise_burst(m, rng, 0, length * 0.6, 6000, 800, 0.6);
}

void hit(Mix& m, Rng& rng, int variant) {
  double f = 190 - variant * 18;
  play(m, {.length = 0.16, .freq = f, .freq_end = f * 0.45, .wave = Wave::Square,
           .env = pluck(0.14, 0.05), .gain = 0.6, .cutoff = 1400, .cutoff_end = 300,
           .resonance = 0.3, .duty = 0.4}, rng);
  noise_burst(m, rng, 0, 0.09, 2500 + variant * 500, 400, 0.5);
}

void enemy_death(Mix& m, Rng& rng, int variant) {
  double f = 820 + variant * 110, length = 0.3 + variant * 0.04;
  play(m, {.length = length, .freq = f, .freq_end = f * 0.18, .wave = Wave::Saw,
           .env = {0.003, length, 0.3, 0.06}, .gain = 0.45, .cutoff = 3500, .cutoff_end = 500,
           .resonance = 0.5, .vibrato = 0.6}, rng);
  noise_burst(m, rng, 0.02, 0.22, 3000, 300, 0.45);
}

// The reward for planting n flags at once: n + 2 notes up the C major chord, starting one
// chord tone higher for each extra flag, then a sparkle as long as the catch was big.
void planted(Mix& m, Rng& rng, int n) {
  static const int kRise[] = {C5, E5, G5, C6, 88, 91, 96, 100, 103};
  int notes = n + 2;
  for (int i = 0; i < notes; ++i) chime(m, rng, i * 0.07, kRise[n - 1 + i], 0.25, 0.4);
  double end = notes * 0.07;
  for (int i = 0; i < 2 * n; ++i)
    play(m, {.start = end + i * 0.045, .length = 0.08, .freq = note_hz(96 + (i % 3) * 4),
             .wave = Wave::Sine, .env = pluck(0.07), .gain = 0.15}, rng);
}

// Each effect's length in seconds, long enough for its last release.
double effect_seconds(int number) {
  switch (number) {
    case 99: return 0.08;
    case 21: return 0.22;
    case 22: return 0.28;
    case 23: case 24: case 25: case 26: case 98: return 0.3;
    case 6: return 0.45;
    case 1: return 0.5;
    case 27: case 28: case 29: case 30: case 31: case 95: return 0.6;
    case 2: case 3: case 4: case 5: return 1.4;
    default: return 1.5;
  }
}

Mix effect(int number) {
  Mix m(kSampleRate, effect_seconds(number), false, false);
  Rng rng(number * 7919);
  switch (number) {
    case 1:  // a soft confirming chime
      chime(m, rng, 0, G5, 0.3, 0.5);
      chime(m, rng, 0.06, C6, 0.35, 0.4);
      break;
    case 2: case 3: case 4: case 5:
      planted(m, rng, number - 1);
      break;
    case 6:  // a flag picked up: a quick bright rise
      for (int i = 0; i < 3; ++i) chime(m, rng, i * 0.05, std::array{C6, 88, 91}[i], 0.15, 0.45);
      break;
    case 21:
      shot(m, rng, 1500, 320, Wave::Square, 0.12);
      break;
    case 22:
      shot(m, rng, 700, 140, Wave::Saw, 0.18);
      break;
    case 23: case 24: case 25: case 26:
      hit(m, rng, number - 23);
      break;
    case 27: case 28: case 29: case 30: case 31:
      enemy_death(m, rng, number - 27);
      break;
    case 95:  // a whoosh: noise through a filter sweeping open
      play(m, {.length = 0.45, .wave = Wave::Noise, .env = {0.2, 0.3, 0.2, 0.1}, .gain = 0.6,
               .cutoff = 400, .cutoff_end = 4000, .resonance = 0.6}, rng);
      break;
    case 96:  // the start-up and back-to-menu jingle
      for (int i = 0; i < 4; ++i) chime(m, rng, i * 0.11, std::array{C5, E5, G5, C6}[i], 0.7, 0.35);
      for (int midi : {C5, E5, G5})
        play(m, {.start = 0.44, .length = 0.7, .freq = note_hz(midi - 12), .wave = Wave::Saw,
                 .env = {0.02, 0.6, 0.3, 0.3}, .gain = 0.12, .cutoff = 2200, .cutoff_end = 600,
                 .detune = 8}, rng);
      break;
    case 98:  // select: two notes up
      chime(m, rng, 0, E5 + 12, 0.08, 0.5);
      chime(m, rng, 0.07, G5 + 12, 0.14, 0.5);
      break;
    case 99:  // menu move: a short tick
      play(m, {.length = 0.03, .freq = 1300, .freq_end = 900, .wave = Wave::Square,
               .env = pluck(0.025, 0.02), .gain = 0.5, .cutoff = 4000}, rng);
      break;
    default:
      throw std::runtime_error("no recipe for sound " + std::to_string(number));
  }
  normalise(m, number >= 95 ? 0.6 : 0.8);
  return m;
}

}  // namespace

void write_sound_effects(const std::string& data_dir) {
  for (int number : kSounds) write_wav(effect(number), data_dir + "/" + sound_file(number));
}

}  // namespace assetgen
