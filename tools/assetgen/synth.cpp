// The synthesiser's voices, effects and file writers. Saw and square voices are band-limited
// with polynomial steps so high notes do not alias into hiss at the low effect sample rate.
#include "synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "files.h"

namespace assetgen {
namespace {

// Polynomial step: smooths the jump of a naive saw or square over one sample on each side.
double blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

double oscillate(Wave wave, double phase, double dt, double duty) {
  switch (wave) {
    case Wave::Sine: return std::sin(2 * M_PI * phase);
    case Wave::Triangle: return 1 - 4 * std::fabs(phase - 0.5);
    case Wave::Saw: return 2 * phase - 1 - blep(phase, dt);
    case Wave::Square: {
      double v = phase < duty ? 1 : -1;
      v += blep(phase, dt);
      v -= blep(std::fmod(phase + 1 - duty, 1.0), dt);
      return v;
    }
    case Wave::Noise: return 0;
  }
  return 0;
}

double envelope(const Envelope& e, double length, double t) {
  double attack = std::max(e.attack, 0.001);
  auto held = [&](double u) {
    if (u < attack) return u / attack;
    return e.sustain + (1 - e.sustain) * std::exp(-5 * (u - attack) / std::max(e.decay, 0.001));
  };
  if (t < length) return held(t);
  // A linear release ends at exactly zero, so no note stops with a click.
  double r = std::max(e.release, 0.002);
  return held(length) * std::max(0.0, 1 - (t - length) / r);
}

void write_u32(std::FILE* f, std::uint32_t v) {
  unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                        static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  std::fwrite(b, 1, 4, f);
}

void write_u16(std::FILE* f, std::uint16_t v) {
  unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
  std::fwrite(b, 1, 2, f);
}

}  // namespace

Mix::Mix(int rate_, double seconds, bool stereo, bool wrap_)
    : rate(rate_), wrap(wrap_), left(static_cast<size_t>(std::lround(seconds * rate_)), 0.0f),
      right(stereo ? left.size() : 0, 0.0f) {}

double note_hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void play(Mix& mix, const Note& n, Rng& rng) {
  const double rate = mix.rate;
  const long total = static_cast<long>((n.length + n.env.release) * rate);
  const long first = std::lround(n.start * rate);
  const long size = static_cast<long>(mix.left.size());
  const double gl = n.gain * std::sqrt(0.5 * (1 - n.pan)), gr = n.gain * std::sqrt(0.5 * (1 + n.pan));
  const double detune = std::pow(2.0, n.detune / 1200.0);
  double phase = 0, phase2 = 0.37;
  double low = 0, band = 0;  // state-variable filter
  double hp_in = 0, hp_out = 0;
  const double hp_k = n.highpass > 0 ? 1 / (1 + 2 * M_PI * n.highpass / rate) : 0;
  for (long i = 0; i < total; ++i) {
    long at = first + i;
    if (mix.wrap) at = ((at % size) + size) % size;
    if (at < 0 || at >= size) continue;
    double t = i / rate;
    double glide = std::min(1.0, t / std::max(n.length, 1e-3));
    double f = n.freq_end > 0 ? n.freq * std::pow(n.freq_end / n.freq, glide) : n.freq;
    if (n.vibrato > 0) f *= std::pow(2.0, n.vibrato / 12 * std::sin(2 * M_PI * 5.5 * t));
    double dt = std::min(f / rate, 0.45);
    double v;
    if (n.wave == Wave::Noise) {
      v = rng.range(-1, 1);
    } else {
      v = oscillate(n.wave, phase, dt, n.duty);
      if (n.detune != 0) v = 0.5 * (v + oscillate(n.wave, phase2, dt * detune, n.duty));
    }
    phase = std::fmod(phase + dt, 1.0);
    phase2 = std::fmod(phase2 + dt * detune, 1.0);
    if (n.cutoff > 0) {
      double fc = n.cutoff_end > 0 ? n.cutoff * std::pow(n.cutoff_end / n.cutoff, glide) : n.cutoff;
      double k = 2 * std::sin(M_PI * std::min(fc, rate * 0.2) / rate);
      double q = 1 - n.resonance;
      low += k * band;
      double high = v - low - q * band;
      band += k * high;
      v = low;
    }
    if (n.highpass > 0) {
      hp_out = hp_k * (hp_out + v - hp_in);
      hp_in = v;
      v = hp_out;
    }
    double s = v * envelope(n.env, n.length, t);
    mix.left[at] += static_cast<float>(s * gl);
    if (!mix.right.empty()) mix.right[at] += static_cast<float>(s * gr);
  }
}

void echo(Mix& mix, double delay, double feedback) {
  for (std::vector<float>* channel : {&mix.left, &mix.right}) {
    std::vector<float>& x = *channel;
    if (x.empty()) continue;
    const long size = static_cast<long>(x.size());
    const long d = std::lround(delay * mix.rate * (channel == &mix.right ? 1.5 : 1.0));
    if (!mix.wrap) {
      for (long i = d; i < size; ++i) x[i] += static_cast<float>(feedback * x[i - d]);
      continue;
    }
    // Around a loop the echo is its own input from one lap earlier: iterate to the fixed point.
    std::vector<float> dry = x, wet = x;
    for (int lap = 0; lap < 8; ++lap) {
      for (long i = 0; i < size; ++i)
        x[i] = static_cast<float>(dry[i] + feedback * wet[((i - d) % size + size) % size]);
      wet = x;
    }
  }
}

void normalise(Mix& mix, double peak) {
  float loudest = 0;
  for (float v : mix.left) loudest = std::max(loudest, std::fabs(v));
  for (float v : mix.right) loudest = std::max(loudest, std::fabs(v));
  if (loudest <= 0) return;
  float k = static_cast<float>(peak / loudest);
  for (float& v : mix.left) v *= k;
  for (float& v : mix.right) v *= k;
}

void write_wav(const Mix& mix, const std::string& path) {
  make_parent_dirs(path);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  const std::uint32_t bytes = static_cast<std::uint32_t>(mix.left.size() * 2);
  std::fwrite("RIFF", 1, 4, f);
  write_u32(f, 36 + bytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  write_u32(f, 16);
  write_u16(f, 1);  // PCM
  write_u16(f, 1);  // mono
  write_u32(f, mix.rate);
  write_u32(f, mix.rate * 2);
  write_u16(f, 2);
  write_u16(f, 16);
  std::fwrite("data", 1, 4, f);
  write_u32(f, bytes);
  for (float v : mix.left)
    write_u16(f, static_cast<std::uint16_t>(static_cast<std::int16_t>(
                     std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

void write_ogg(const Mix& mix, const std::string& path, float quality, int serial) {
  make_parent_dirs(path);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  const int channels = mix.right.empty() ? 1 : 2;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, mix.rate, quality) != 0)
    throw std::runtime_error("the Vorbis encoder refused its settings");
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", path.substr(path.find_last_of('/') + 1).c_str());
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  // A fixed stream serial keeps the file identical from run to run.
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  auto write_page = [&] {
    std::fwrite(page.header, 1, page.header_len, f);
    std::fwrite(page.body, 1, page.body_len, f);
  };
  while (ogg_stream_flush(&os, &page)) write_page();

  const size_t total = mix.left.size();
  const size_t chunk = 4096;
  for (size_t at = 0;; at += chunk) {
    size_t count = at < total ? std::min(chunk, total - at) : 0;
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(count));
      for (size_t i = 0; i < count; ++i) {
        buffer[0][i] = mix.left[at + i];
        if (channels == 2) buffer[1][i] = mix.right[at + i];
      }
    }
    vorbis_analysis_wrote(&vd, static_cast<int>(count));
    bool done = false;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          write_page();
          if (ogg_page_eos(&page)) done = true;
        }
      }
    }
    if (count == 0 || done) {
      while (ogg_stream_flush(&os, &page)) write_page();
      break;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
