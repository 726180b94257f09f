// The small synthesiser behind every sound and tune: oscillators, noise, envelopes, a
// resonant low-pass per note, echo, and the 16-bit WAVE writer.
// A mix may wrap around its end so that a loop's tails run into its start without a seam.
#pragma once

#include <string>
#include <vector>

#include "rng.h"

namespace assetgen {

enum class Wave { Sine, Triangle, Square, Saw, Noise };

struct Envelope {
  double attack = 0.005, decay = 0.1, sustain = 0.0, release = 0.05;  // seconds; sustain 0..1
};

struct Note {
  double start = 0, length = 0.1;  // seconds; the release follows the length
  double freq = 440, freq_end = 0;  // Hz; glides exponentially to freq_end when it is set
  Wave wave = Wave::Sine;
  Envelope env;
  double gain = 0.5;
  double cutoff = 0, cutoff_end = 0;  // Hz; low-pass off when cutoff is 0
  double resonance = 0;               // 0..0.9
  double duty = 0.5;                  // square waves only
  double vibrato = 0;                 // depth in semitones, at 5.5 Hz
  double pan = 0;                     // -1 left .. 1 right
  double detune = 0;                  // cents; adds a second, detuned oscillator when set
  double highpass = 0;                // Hz; one-pole high-pass after everything else, off at 0
};

struct Mix {
  Mix(int rate, double seconds, bool stereo, bool wrap);
  int rate;
  bool wrap;  // notes running past the end continue at the start
  std::vector<float> left, right;  // right is empty for a mono mix
};

void play(Mix& mix, const Note& note, Rng& rng);
// Feedback echo; on a wrapping mix the taps reach around the end as well.
void echo(Mix& mix, double delay, double feedback);
// Scales the mix so its loudest sample sits at `peak` (below 1: never clips).
void normalise(Mix& mix, double peak);

double note_hz(int midi);

void write_wav(const Mix& mix, const std::string& path);
void write_ogg(const Mix& mix, const std::string& path, float quality, int serial);

}  // namespace assetgen
