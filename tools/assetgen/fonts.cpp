// Frame routines of the bitmap fonts. Glyphs come from DejaVu through FreeType, squeezed where
// a letter is wider than the game's spacing for it, white over a one-pixel dark shadow so the
// game can tint them. The prompt frames of the game font are drawn button and key icons.
#include "fonts.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "canvas.h"
#include "ui.h"

namespace assetgen {
namespace {

using namespace palette;

constexpr int kAdvance = 7;  // the game font's base advance at level 1

// The game's text routine widens or narrows the step after some letters; a glyph wider than
// its step is squeezed to it so neighbours never collide.
int step_for(char c) {
  if (std::strchr("jskrztn", c)) return kAdvance - 1;
  if (std::strchr("ifl", c)) return kAdvance - 3;
  if (std::strchr("WM", c)) return kAdvance + 1;
  if (std::strchr("wm", c)) return kAdvance + 2;
  return kAdvance;
}

// Draws one character with its shadow, its advance box centred on cx, its baseline at `base`.
void glyph(cairo_t* cr, char c, Typeface face, double size, double cx, double base, double max_w) {
  char text[2] = {c, 0};
  use_typeface(cr, face, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  double squeeze = std::min(1.0, max_w / std::max(e.width, 0.01));
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, size * squeeze, size);
  cairo_set_font_matrix(cr, &m);
  double x = cx - (e.x_bearing + e.width / 2) * squeeze;
  for (int pass = 0; pass < 2; ++pass) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + (pass == 0 ? 1 : 0), base + (pass == 0 ? 1 : 0));
    cairo_text_path(cr, text);
    set(cr, pass == 0 ? hex(0x000000) : kWhite, pass == 0 ? 0.85 : 1.0);
    cairo_fill(cr);
  }
}

// A shoulder button: a wide rounded tab with the side's letter.
void shoulder(cairo_t* cr, double x, double y, const char* letter, bool lit) {
  rounded_rect(cr, x, y, 12, 8, 3.5);
  set(cr, kInk);
  cairo_fill(cr);
  rounded_rect(cr, x + 0.8, y + 0.8, 10.4, 6.2, 2.8);
  vertical(cr, y, y + 8, lit ? kWhite : hex(0x8a8f98), lit ? hex(0xb0b6c0) : hex(0x3a3e46));
  cairo_fill(cr);
  use_typeface(cr, Typeface::SansBold, 6.5);
  cairo_new_path(cr);
  text_path_centred(cr, letter, x + 6, y + 3.9);
  set(cr, lit ? kInk : kWhite);
  cairo_fill(cr);
}

// The pad's cross with one arm lit (lit = -1 for none).
void cross(cairo_t* cr, int lit) {
  cairo_rectangle(cr, 5.5, 1.5, 5, 13);
  cairo_rectangle(cr, 1.5, 5.5, 13, 5);
  set(cr, kInk);
  cairo_fill(cr);
  cairo_rectangle(cr, 6.3, 2.3, 3.4, 11.4);
  cairo_rectangle(cr, 2.3, 6.3, 11.4, 3.4);
  set(cr, hex(0x6a6e76));
  cairo_fill(cr);
  if (lit < 0) return;
  static const double kArm[4][2] = {{8, 4.2}, {8, 11.8}, {4.2, 8}, {11.8, 8}};
  circle(cr, kArm[lit][0], kArm[lit][1], 1.9);
  set(cr, kFlag);
  cairo_fill(cr);
}

// A small pill-shaped system button with a triangle pointing left or right.
void system_button(cairo_t* cr, bool forward) {
  rounded_rect(cr, 1.5, 4.5, 13, 7, 3.5);
  fill_line(cr, hex(0x5a5e66), kInk, 1.2);
  double d = forward ? 1 : -1;
  cairo_move_to(cr, 8 + 2.5 * d, 8);
  cairo_line_to(cr, 8 - 2 * d, 5.8);
  cairo_line_to(cr, 8 - 2 * d, 10.2);
  cairo_close_path(cr);
  set(cr, kWhite);
  cairo_fill(cr);
}

// Frames 96..110: the game pad's buttons in the order of the prompt letters
// J K L I (face), U O (shoulders), Q E (back, start), F (the cross), W S A D (cross arms),
// then the blink pictures of the face buttons and of the shoulders.
void pad_prompt(cairo_t* cr, int index) {
  static const char* kFace[4] = {"A", "B", "X", "Y"};
  if (index < 4) return pad_button(cr, 8, 8, 6.8, kFace[index], false);
  switch (index) {
    case 4: return shoulder(cr, 2, 4, "L", false);
    case 5: return shoulder(cr, 2, 4, "R", false);
    case 6: return system_button(cr, false);
    case 7: return system_button(cr, true);
    case 8: return cross(cr, -1);
    case 9: case 10: case 11: case 12: return cross(cr, index - 9);
    case 13: return pad_button(cr, 8, 8, 6.8, "", true);
    default: return shoulder(cr, 2, 4, "", true);
  }
}

// Frames 112..126: the keyboard keys for the same prompts, then pressed blanks.
void key_prompt(cairo_t* cr, int index) {
  static const char kKeys[] = "JKLIUOQEFWSAD";
  if (index < 13) {
    char legend[2] = {kKeys[index], 0};
    return key_cap(cr, 1.5, 1.5, 13, 13, legend, false);
  }
  key_cap(cr, 1.5, 1.5, 13, 13, "", true);
}

}  // namespace

void paint_game_font(cairo_t* cr, int frame) {
  if (frame >= 96 && frame <= 110) return pad_prompt(cr, frame - 96);
  if (frame >= 112 && frame <= 126) return key_prompt(cr, frame - 112);
  if (frame == 111) return pad_button(cr, 8, 8, 6.8, "", false);
  if (frame == 127) return key_cap(cr, 1.5, 1.5, 13, 13, "", false);
  if (frame == 95) {  // DEL has no picture of its own: a hollow box
    rounded_rect(cr, 4.5, 4, 7, 8, 1);
    set(cr, kWhite);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    return;
  }
  if (frame == 0) return;  // space
  char c = static_cast<char>(frame + 32);
  // The text routine steps from one cell centre to the next by the letter's own step, so a
  // glyph sits in the middle of its step's box (which starts half a base advance left of the
  // centre); a narrow letter then has equal room on both sides.
  double centre = 8 + (step_for(c) - kAdvance) / 2.0;
  glyph(cr, c, Typeface::SansBold, 10, centre, 11.6, step_for(c) + 0.8);
}

// Glyphs sit inside the 8 middle pixels of each 10-pixel cell; the outer columns stay clear.
void paint_fallback_font(cairo_t* cr, int frame) {
  cairo_rectangle(cr, 1, 0, 8, 16);
  cairo_clip(cr);
  if (frame == 95) {
    cairo_rectangle(cr, 2.5, 4.5, 5, 7);
    set(cr, kWhite);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return;
  }
  if (frame == 0) return;  // space
  glyph(cr, static_cast<char>(frame + 32), Typeface::SansMonoBold, 10.5, 4.5, 12, 7);
}

}  // namespace assetgen
