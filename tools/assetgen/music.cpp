// The tunes. "testmusic" is 24 bars in A minor at 120 beats a minute (48 seconds): drums,
// bass and arpeggio throughout, a lead from bar 9, pads in the last third. It is rendered on
// a wrapping mix so the echoes and releases of the last bar sound over the first when it loops.
// "Correctional" is a drum roll into a bright A major chord.
#include "music.h"

#include <array>
#include <vector>

#include "asset_table.h"
#include "synth.h"

namespace assetgen {
namespace {

constexpr double kBeat = 0.5;
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 24;

struct Chord {
  int root;  // MIDI note of the bass root
  std::array<int, 3> tones;  // pitch classes above C
};
// Am F C G Am F G E: the E major at the end turns back to A minor.
constexpr std::array<Chord, 8> kProgression = {{{45, {9, 0, 4}}, {41, {5, 9, 0}}, {48, {0, 4, 7}},
                                               {43, {7, 11, 2}}, {45, {9, 0, 4}}, {41, {5, 9, 0}},
                                               {43, {7, 11, 2}}, {40, {4, 8, 11}}}};
constexpr std::array<int, 7> kScale = {9, 11, 0, 2, 4, 5, 7};  // A natural minor

bool in_chord(const Chord& c, int midi) {
  for (int t : c.tones)
    if (midi % 12 == t) return true;
  return false;
}

int nearest_chord_tone(const Chord& c, int midi) {
  for (int d = 0; d < 12; ++d) {
    if (in_chord(c, midi - d)) return midi - d;
    if (in_chord(c, midi + d)) return midi + d;
  }
  return midi;
}

int scale_step(int midi, int steps) {
  while (steps != 0) {
    int dir = steps > 0 ? 1 : -1;
    do midi += dir;
    while ([&] {
      for (int p : kScale)
        if (midi % 12 == p) return false;
      return true;
    }());
    steps -= dir;
  }
  return midi;
}

void add_into(Mix& to, const Mix& from) {
  for (size_t i = 0; i < to.left.size(); ++i) {
    to.left[i] += from.left[i];
    to.right[i] += from.right[i];
  }
}

void kick(Mix& m, Rng& rng, double at, double gain) {
  play(m, {.start = at, .length = 0.2, .freq = 130, .freq_end = 42, .wave = Wave::Sine,
           .env = {0.002, 0.16, 0, 0.05}, .gain = gain}, rng);
}

void snare(Mix& m, Rng& rng, double at, double gain) {
  play(m, {.start = at, .length = 0.14, .wave = Wave::Noise, .env = {0.001, 0.1, 0, 0.05},
           .gain = gain * 0.7, .cutoff = 7000, .cutoff_end = 3000, .highpass = 600}, rng);
  play(m, {.start = at, .length = 0.08, .freq = 210, .freq_end = 160, .wave = Wave::Triangle,
           .env = {0.001, 0.06, 0, 0.03}, .gain = gain * 0.5}, rng);
}

void hat(Mix& m, Rng& rng, double at, double gain, double pan) {
  play(m, {.start = at, .length = 0.03, .wave = Wave::Noise, .env = {0.001, 0.025, 0, 0.02},
           .gain = gain, .pan = pan, .highpass = 7000}, rng);
}

void drums(Mix& m, Rng& rng, int bar, bool busy) {
  double t = bar * kBar;
  kick(m, rng, t, 0.65);
  kick(m, rng, t + 2 * kBeat, 0.6);
  if (bar % 2 == 1) kick(m, rng, t + 2.5 * kBeat, 0.4);
  snare(m, rng, t + kBeat, 0.6);
  snare(m, rng, t + 3 * kBeat, 0.6);
  if (bar % 8 == 7) {  // a fill into the next phrase
    snare(m, rng, t + 3.5 * kBeat, 0.4);
    snare(m, rng, t + 3.75 * kBeat, 0.5);
  }
  int hats = busy ? 16 : 8;
  for (int i = 0; i < hats; ++i)
    hat(m, rng, t + i * 4 * kBeat / hats, i % (hats / 4) == 0 ? 0.22 : 0.12, i % 2 ? 0.35 : -0.35);
}

void bass(Mix& m, Rng& rng, int bar, const Chord& c) {
  static const int kPattern[8] = {0, 0, 12, 0, 0, 12, 0, 7};
  for (int i = 0; i < 8; ++i)
    play(m, {.start = bar * kBar + i * kBeat / 2, .length = kBeat * 0.4, .freq = note_hz(c.root + kPattern[i]),
             .wave = Wave::Saw, .env = {0.004, 0.2, 0.3, 0.04}, .gain = 0.42, .cutoff = 900,
             .cutoff_end = 350, .resonance = 0.35}, rng);
}

void arpeggio(Mix& m, Rng& rng, int bar, const Chord& c, double gain) {
  std::vector<int> notes;
  for (int octave = 57; notes.size() < 6; octave += 12)
    for (int t : c.tones) notes.push_back(nearest_chord_tone(c, octave + (t + 12 - 9) % 12));
  for (int i = 0; i < 16; ++i) {
    int k = i % 10 < 6 ? i % 10 : 10 - i % 10;  // up and back down
    play(m, {.start = bar * kBar + i * kBeat / 4, .length = kBeat * 0.18, .freq = note_hz(notes[k % 6]),
             .wave = Wave::Square, .env = {0.002, 0.09, 0.1, 0.04}, .gain = gain, .cutoff = 3200,
             .duty = 0.25, .pan = i % 2 ? 0.3 : -0.3}, rng);
  }
}

void pad(Mix& m, Rng& rng, int bar, const Chord& c) {
  for (int t : c.tones)
    play(m, {.start = bar * kBar, .length = kBar * 0.92, .freq = note_hz(60 + t),
             .wave = Wave::Saw, .env = {0.35, 1.0, 0.7, 0.3}, .gain = 0.09, .cutoff = 1400,
             .pan = (t % 3 - 1) * 0.4, .detune = 12}, rng);
}

// An eight-bar lead: a four-bar phrase, then its answer that reuses the opening and ends on the
// leading tone of the E chord. Strong beats land on chord tones, the rest moves by scale steps.
struct LeadNote {
  double beat;  // from the start of the phrase
  double beats;
  int midi;
};

std::vector<LeadNote> compose_lead(Rng& rng) {
  static const std::vector<std::vector<double>> kRhythms = {
      {1, 1, 0.5, 0.5, 1}, {1.5, 0.5, 1, 1}, {0.5, 0.5, 1, 2}, {1, 0.5, 0.5, 0.5, 0.5, 1}, {2, 1, 1}};
  std::vector<LeadNote> phrase;
  int midi = 76;
  for (int bar = 0; bar < 4; ++bar) {
    const Chord& c = kProgression[bar];
    double beat = 0;
    for (double len : kRhythms[rng.below(static_cast<int>(kRhythms.size()))]) {
      bool strong = beat == 0 || beat == 2;
      midi = scale_step(midi, rng.below(5) - 2);
      if (midi < 69) midi = scale_step(midi, 3);
      if (midi > 84) midi = scale_step(midi, -3);
      if (strong) midi = nearest_chord_tone(c, midi);
      phrase.push_back({bar * 4 + beat, len, midi});
      beat += len;
    }
  }
  std::vector<LeadNote> lead = phrase;
  for (const LeadNote& n : phrase)
    if (n.beat < 10) lead.push_back({n.beat + 16, n.beats, n.midi});
  lead.push_back({26, 2, nearest_chord_tone(kProgression[6], 79)});
  lead.push_back({28, 2, 80});  // G sharp, pulling home to A
  lead.push_back({30, 2, 76});
  return lead;
}

void lead(Mix& m, Rng& rng, int first_bar, const std::vector<LeadNote>& notes, int transpose) {
  for (const LeadNote& n : notes)
    play(m, {.start = first_bar * kBar + n.beat * kBeat, .length = n.beats * kBeat * 0.85,
             .freq = note_hz(n.midi + transpose), .wave = Wave::Square,
             .env = {0.01, 0.3, 0.55, 0.08}, .gain = 0.2, .cutoff = 2600, .vibrato = 0.12,
             .pan = 0.1, .detune = 7}, rng);
}

Mix compose_loop() {
  Rng rng(2026);
  Mix mix(kMusicRate, kBars * kBar, true, true);
  Mix lead_bus(kMusicRate, kBars * kBar, true, true);
  std::vector<LeadNote> melody = compose_lead(rng);
  for (int bar = 0; bar < kBars; ++bar) {
    const Chord& c = kProgression[bar % 8];
    int section = bar / 8;
    drums(mix, rng, bar, section == 1);
    bass(mix, rng, bar, c);
    arpeggio(mix, rng, bar, c, section == 0 ? 0.13 : 0.08);
    if (section == 2) pad(mix, rng, bar, c);
  }
  lead(lead_bus, rng, 8, melody, 0);
  lead(lead_bus, rng, 16, melody, 12);
  echo(lead_bus, 0.75 * kBeat, 0.3);
  add_into(mix, lead_bus);
  normalise(mix, 0.7);
  return mix;
}

Mix compose_sting() {
  Rng rng(1977);
  Mix mix(kMusicRate, 3.2, true, false);
  // The roll speeds up into the downbeat.
  double t = 0;
  for (int i = 0; i < 14; ++i) {
    snare(mix, rng, t, 0.2 + 0.03 * i);
    t += 0.11 - 0.004 * i;
  }
  for (int i = 0; i < 3; ++i)
    play(mix, {.start = 0.3 * i, .length = 0.25, .freq = note_hz(std::array{64, 69, 73}[i]),
               .wave = Wave::Square, .env = {0.01, 0.2, 0.5, 0.06}, .gain = 0.22, .cutoff = 3000,
               .detune = 7}, rng);
  const double hit = 1.0;
  kick(mix, rng, hit, 1.0);
  play(mix, {.start = hit, .length = 1.4, .wave = Wave::Noise, .env = {0.002, 1.2, 0, 0.3},
             .gain = 0.25, .cutoff = 8000, .highpass = 3000}, rng);
  for (int midi : {45, 57, 61, 64, 69, 73, 76})
    play(mix, {.start = hit, .length = 1.5, .freq = note_hz(midi), .wave = Wave::Saw,
               .env = {0.01, 0.8, 0.5, 0.5}, .gain = midi < 50 ? 0.3 : 0.12, .cutoff = 4000,
               .cutoff_end = 900, .pan = ((midi % 5) - 2) * 0.2, .detune = 9}, rng);
  normalise(mix, 0.75);
  return mix;
}

}  // namespace

void write_music(const std::string& data_dir) {
  write_ogg(compose_loop(), data_dir + "/sfx/" + kTunes[0].name + ".ogg", 0.25f, 0x546F6C31);
  write_ogg(compose_sting(), data_dir + "/sfx/" + kTunes[1].name + ".ogg", 0.25f, 0x546F6C32);
}

}  // namespace assetgen
