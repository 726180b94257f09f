// Frame routines of the menu and overlay sheets. Icons are white with a dark rim so the
// game can tint them; emblems and badges carry their own colours.
#include "ui.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "canvas.h"
#include "motifs.h"

namespace assetgen {
namespace {

using namespace palette;

// White glyph with a dark rim and a soft drop shadow: the house look of every icon.
void icon_ink(cairo_t* cr, double rim) {
  cairo_save(cr);
  cairo_translate(cr, 0.8, 1.2);
  set(cr, kInk, 0.45);
  cairo_fill_preserve(cr);
  cairo_restore(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, rim);
  cairo_stroke_preserve(cr);
  set(cr, kWhite);
  cairo_fill(cr);
}

void cog_path(cairo_t* cr, double cx, double cy, double r_out, double r_in, int teeth, double hole) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < teeth; ++i) {
    double a = 2 * M_PI * i / teeth, w = M_PI / teeth;
    cairo_line_to(cr, cx + std::cos(a - w * 0.55) * r_in, cy + std::sin(a - w * 0.55) * r_in);
    cairo_line_to(cr, cx + std::cos(a - w * 0.35) * r_out, cy + std::sin(a - w * 0.35) * r_out);
    cairo_line_to(cr, cx + std::cos(a + w * 0.35) * r_out, cy + std::sin(a + w * 0.35) * r_out);
    cairo_line_to(cr, cx + std::cos(a + w * 0.55) * r_in, cy + std::sin(a + w * 0.55) * r_in);
  }
  cairo_close_path(cr);
  if (hole > 0) {
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, hole, 2 * M_PI, 0);
    cairo_close_path(cr);
  }
}

void speaker(cairo_t* cr) {
  polygon(cr, {{7, 13}, {11, 13}, {17, 8}, {17, 24}, {11, 19}, {7, 19}});
  icon_ink(cr, 2);
  for (int i = 1; i <= 2; ++i) {
    cairo_new_path(cr);
    cairo_arc(cr, 17, 16, 3.5 * i + 1, -0.8, 0.8);
    rimmed_stroke(cr, kWhite, 2, 1);
  }
}

// Difficulty emblems: a shield with one, two or three chevrons in green, amber and red.
void difficulty_emblem(cairo_t* cr, int level) {
  static const Rgb kColours[3] = {hex(0x38b84a), hex(0xf0a020), hex(0xd8322a)};
  Rgb c = kColours[level];
  ground_shadow(cr, 33, 36, 27, 27, 0.4);
  cairo_move_to(cr, 32, 6);
  cairo_curve_to(cr, 42, 10, 50, 10, 54, 9);
  cairo_curve_to(cr, 55, 34, 48, 50, 32, 59);
  cairo_curve_to(cr, 16, 50, 9, 34, 10, 9);
  cairo_curve_to(cr, 14, 10, 22, 10, 32, 6);
  cairo_close_path(cr);
  radial(cr, 26, 18, 44, shade(c, 1.35), shade(c, 0.6));
  cairo_fill_preserve(cr);
  set(cr, hex(0xf4e6b0));
  cairo_set_line_width(cr, 3.5);
  cairo_stroke_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  for (int i = 0; i <= level; ++i) {
    double y = 34 - level * 5 + i * 10;
    cairo_move_to(cr, 20, y);
    cairo_line_to(cr, 32, y - 9);
    cairo_line_to(cr, 44, y);
    rimmed_stroke(cr, kWhite, 4, 1);
  }
}

void cpp_badge(cairo_t* cr) {
  star(cr, 32, 32, 26, 26, 6, M_PI / 6);
  radial(cr, 26, 24, 34, hex(0x7aa8e8), hex(0x1f4a8a));
  cairo_fill_preserve(cr);
  set(cr, kWhite);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  use_typeface(cr, Typeface::SansBold, 15);
  outlined_text(cr, "C++", 32, 32.5, kWhite, hex(0x0f2448), 3);
}

}  // namespace

void arrow(cairo_t* cr, double cx, double cy, double size, double angle) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  double s = size / 2;
  polygon(cr, {{s, 0}, {0, -s * 0.9}, {0, -s * 0.38}, {-s, -s * 0.38}, {-s, s * 0.38}, {0, s * 0.38}, {0, s * 0.9}});
  cairo_restore(cr);
}

void pad_button(cairo_t* cr, double cx, double cy, double r, const char* letter, bool lit) {
  circle(cr, cx, cy + r * 0.12, r);
  set(cr, kInk);
  cairo_fill(cr);
  circle(cr, cx, cy, r * 0.92);
  radial(cr, cx - r * 0.3, cy - r * 0.4, r * 1.6, lit ? hex(0xffffff) : hex(0x8a8f98),
         lit ? hex(0xc0c6d0) : hex(0x3a3e46));
  cairo_fill(cr);
  if (letter[0]) {
    use_typeface(cr, Typeface::SansBold, r * 1.25);
    cairo_new_path(cr);
    text_path_centred(cr, letter, cx, cy);
    set(cr, lit ? kInk : kWhite);
    cairo_fill(cr);
  }
}

void key_cap(cairo_t* cr, double x, double y, double w, double h, const char* legend, bool pressed) {
  double lift = pressed ? 0 : h * 0.14;
  rounded_rect(cr, x, y + lift * 0.5, w, h - lift * 0.5, h * 0.2);
  set(cr, kInk);
  cairo_fill(cr);
  rounded_rect(cr, x + h * 0.06, y + h * 0.06 + (pressed ? lift : 0), w - h * 0.12, h - h * 0.12 - lift,
               h * 0.16);
  vertical(cr, y, y + h, pressed ? hex(0xb8bcc4) : hex(0xf4f4f0), pressed ? hex(0x8a8e96) : hex(0xc4c4c0));
  cairo_fill(cr);
  if (legend[0]) {
    use_typeface(cr, Typeface::SansBold, h * 0.62);
    cairo_new_path(cr);
    text_path_centred(cr, legend, x + w / 2, y + h / 2 - lift * 0.5 + (pressed ? lift * 0.5 : 0));
    set(cr, kInk);
    cairo_fill(cr);
  }
}

void paint_icons(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:  // pause
      rounded_rect(cr, 9, 7, 5, 18, 1.5);
      rounded_rect(cr, 18, 7, 5, 18, 1.5);
      icon_ink(cr, 2);
      break;
    case 1:  // leave: a door with an arrow walking out
      rounded_rect(cr, 6, 5, 13, 22, 1.5);
      icon_ink(cr, 2);
      rounded_rect(cr, 9, 8, 7, 16, 1);
      set(cr, hex(0x3a3e46));
      cairo_fill(cr);
      arrow(cr, 22, 16, 15, 0);
      icon_ink(cr, 2);
      break;
    case 2:  // back
      arrow(cr, 16, 16, 22, M_PI);
      icon_ink(cr, 2);
      break;
    case 3:  // play
      polygon(cr, {{10, 6}, {26, 16}, {10, 26}});
      icon_ink(cr, 2.4);
      break;
    case 4:  // settings
      cog_path(cr, 16, 16, 12, 9, 8, 4);
      icon_ink(cr, 1.8);
      break;
    case 5:  // music
      circle(cr, 10, 23, 4);
      circle(cr, 22, 20, 4);
      cairo_rectangle(cr, 12, 7, 2.5, 16);
      cairo_rectangle(cr, 24, 4, 2.5, 16);
      polygon(cr, {{12, 7}, {26.5, 4}, {26.5, 8}, {12, 11}});
      icon_ink(cr, 1.6);
      break;
    case 6:  // selection marker: four corner brackets around an empty middle
      for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, M_PI / 2 * i);
        cairo_move_to(cr, -13, -6);
        cairo_line_to(cr, -13, -13);
        cairo_line_to(cr, -6, -13);
        cairo_restore(cr);
        rimmed_stroke(cr, kFlag, 2.2, 0.9);
      }
      break;
    case 7:  // sound
      speaker(cr);
      break;
    case 8:  // trophy
      cairo_move_to(cr, 8, 5);
      cairo_line_to(cr, 24, 5);
      cairo_curve_to(cr, 24, 15, 20, 19, 17.5, 20);
      cairo_line_to(cr, 17.5, 23);
      cairo_line_to(cr, 22, 27);
      cairo_line_to(cr, 10, 27);
      cairo_line_to(cr, 14.5, 23);
      cairo_line_to(cr, 14.5, 20);
      cairo_curve_to(cr, 12, 19, 8, 15, 8, 5);
      cairo_close_path(cr);
      icon_ink(cr, 2);
      break;
    case 9:  // star
      star(cr, 16, 17, 13, 5.5, 5);
      icon_ink(cr, 2);
      break;
    case 10:  // tick
      cairo_move_to(cr, 6, 17);
      cairo_line_to(cr, 13, 24);
      cairo_line_to(cr, 26, 8);
      rimmed_stroke(cr, kWhite, 4, 1);
      break;
    case 11:  // cross
      cairo_move_to(cr, 8, 8);
      cairo_line_to(cr, 24, 24);
      cairo_move_to(cr, 24, 8);
      cairo_line_to(cr, 8, 24);
      rimmed_stroke(cr, kWhite, 4, 1);
      break;
    case 12:  // lock
      cairo_arc(cr, 16, 13, 6, M_PI, 2 * M_PI);
      rimmed_stroke(cr, kWhite, 3, 1);
      rounded_rect(cr, 8, 13, 16, 13, 2);
      icon_ink(cr, 2);
      break;
    case 13:
    case 14:  // left and right
      arrow(cr, 16, 16, 22, frame == 13 ? M_PI : 0);
      icon_ink(cr, 2);
      break;
    default:  // info
      circle(cr, 16, 16, 12);
      icon_ink(cr, 2);
      use_typeface(cr, Typeface::SerifBold, 18);
      cairo_new_path(cr);
      text_path_centred(cr, "i", 16, 16);
      set(cr, kInk);
      cairo_fill(cr);
  }
}

void paint_buttons(cairo_t* cr, int frame) {
  if (frame < 3) return difficulty_emblem(cr, frame);
  switch (frame) {
    case 8:  // the cog's three layers turn at different speeds around one centre
      cog_path(cr, 32, 32, 29.5, 24, 12, 19);
      fill_line(cr, hex(0xc8ccd4), kInk, 1.5);
      break;
    case 9:
      cog_path(cr, 32, 32, 20, 14.5, 8, 9);
      fill_line(cr, hex(0xf0a020), kInk, 1.5);
      break;
    case 10:
      cog_path(cr, 32, 32, 9.5, 6.5, 6, 3);
      fill_line(cr, kWhite, kInk, 1.3);
      break;
    case 12:
      cpp_badge(cr);
      break;
    default: {  // spare round buttons in the house colours
      static const Rgb kSpare[6] = {hex(0x2f6fe8), hex(0x38b84a), hex(0xf0a020),
                                    hex(0xd8322a), hex(0x8a5ae8), hex(0x6a7078)};
      Rgb c = kSpare[frame % 6];
      circle(cr, 32, 33.5, 27);
      set(cr, kInk, 0.6);
      cairo_fill(cr);
      circle(cr, 32, 32, 26);
      radial(cr, 24, 22, 38, shade(c, 1.4), shade(c, 0.6));
      cairo_fill_preserve(cr);
      set(cr, kWhite, 0.85);
      cairo_set_line_width(cr, 2.5);
      cairo_stroke(cr);
      star(cr, 32, 32, 12, 5, 5);
      set(cr, kWhite, 0.9);
      cairo_fill(cr);
    }
  }
}

// The on-screen pad, laid out like the pad itself: up above the centre, left and right beside
// it, down below; the spare corner cells hold the diagonals and a second fire button.
void paint_dpad(cairo_t* cr, int frame) {
  auto direction = [&](double angle) {
    rounded_rect(cr, 3, 3, 26, 26, 6);
    set(cr, hex(0x20242c), 0.75);
    cairo_fill_preserve(cr);
    set(cr, kWhite, 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    arrow(cr, 16, 16, 18, angle);
    icon_ink(cr, 1.5);
  };
  switch (frame) {
    case 0:
    case 3: {  // fire buttons
      circle(cr, 16, 16, 13);
      radial(cr, 12, 11, 18, frame == 0 ? hex(0xff8a70) : hex(0x80b0ff),
             frame == 0 ? hex(0xa8201a) : hex(0x1a4aa8));
      cairo_fill_preserve(cr);
      set(cr, kWhite, 0.9);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      star(cr, 16, 16, 7, 2.5, 4);
      set(cr, kWhite, 0.9);
      cairo_fill(cr);
      break;
    }
    case 1: return direction(-M_PI / 2);
    case 2: return direction(-M_PI / 4);
    case 4: return direction(M_PI);
    case 6: return direction(0);
    case 8: return direction(M_PI * 0.75);
    case 9: return direction(M_PI / 2);
    case 10: return direction(M_PI / 4);
    case 5:  // centre hub
      circle(cr, 16, 16, 11);
      set(cr, hex(0x20242c), 0.75);
      cairo_fill_preserve(cr);
      set(cr, kWhite, 0.8);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      circle(cr, 16, 16, 4);
      set(cr, kWhite, 0.8);
      cairo_fill(cr);
      break;
    case 7: {  // tilt calibration: a tilted handset inside circling arrows
      cairo_save(cr);
      cairo_translate(cr, 16, 16);
      cairo_rotate(cr, -0.35);
      rounded_rect(cr, -5, -9, 10, 18, 2);
      icon_ink(cr, 1.6);
      rounded_rect(cr, -3.5, -6.5, 7, 11, 1);
      set(cr, hex(0x4080ff));
      cairo_fill(cr);
      cairo_restore(cr);
      for (int i = 0; i < 2; ++i) {
        double a0 = M_PI * i;
        cairo_arc(cr, 16, 16, 13, a0 + 0.5, a0 + 2.3);
        rimmed_stroke(cr, kWhite, 1.8, 1);
        double a = a0 + 2.3;
        arrow(cr, 16 + std::cos(a) * 13, 16 + std::sin(a) * 13, 6, a + M_PI / 2);
        icon_ink(cr, 1);
      }
      break;
    }
    default:  // spare small buttons
      pad_button(cr, 16, 16, 11, "", frame % 2 == 0);
  }
}

void paint_circle(cairo_t* cr, int frame) {
  const double c = 128;
  switch (frame) {
    case 0:
      radial(cr, c, c, 126, kWhite, kWhite, 0.9, 0);
      circle(cr, c, c, 126);
      cairo_fill(cr);
      break;
    case 1:
      circle(cr, c, c, 120);
      set(cr, kWhite, 0.85);
      cairo_set_line_width(cr, 6);
      cairo_stroke(cr);
      break;
    case 2: {
      double dash[] = {10, 8};
      cairo_set_dash(cr, dash, 2, 0);
      circle(cr, c, c, 118);
      set(cr, kWhite, 0.8);
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      cairo_set_dash(cr, nullptr, 0, 0);
      break;
    }
    default: {
      // The difficulty wheel: a broad band the row emblems ride on, ticked so its turning shows.
      circle(cr, c, c, 125);
      cairo_new_sub_path(cr);
      cairo_arc_negative(cr, c, c, 58, 2 * M_PI, 0);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      radial(cr, c, c, 125, hex(0x0a1a3a), hex(0x1d3f7a), 0.9, 0.85);
      cairo_fill(cr);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      for (double r : {58.0, 124.0}) {
        circle(cr, c, c, r);
        set(cr, hex(0x9ec4ff));
        cairo_set_line_width(cr, r > 100 ? 3 : 2);
        cairo_stroke(cr);
      }
      circle(cr, c, c, 92);
      set(cr, hex(0x9ec4ff), 0.25);
      cairo_set_line_width(cr, 34);
      cairo_stroke(cr);
      for (int i = 0; i < 72; ++i) {
        double a = 2 * M_PI * i / 72, r0 = i % 6 == 0 ? 108 : 116;
        cairo_move_to(cr, c + std::cos(a) * r0, c + std::sin(a) * r0);
        cairo_line_to(cr, c + std::cos(a) * 122, c + std::sin(a) * 122);
      }
      set(cr, kWhite, 0.7);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      for (int i = 0; i < 12; ++i) {
        double a = 2 * M_PI * i / 12 + M_PI / 12;
        circle(cr, c + std::cos(a) * 66, c + std::sin(a) * 66, 2.5);
      }
      set(cr, kFlag);
      cairo_fill(cr);
    }
  }
}

// Large decorations for menus: a panel, a spotlight, a rock heap and a flag banner.
void paint_menu(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      rounded_rect(cr, 8, 8, 240, 240, 22);
      vertical(cr, 8, 248, hex(0x1d3f7a), hex(0x0a1430));
      cairo_fill_preserve(cr);
      set(cr, hex(0x9ec4ff));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      break;
    case 1:
      radial(cr, 128, 128, 128, hex(0xfff4c0), hex(0xffb040), 0.8, 0);
      cairo_paint(cr);
      break;
    case 2: {  // a heap of the cave's boulders, back ones first
      Rng rng(4242);
      static const double kHeap[6][3] = {{80, 120, 0.9}, {170, 110, 0.85}, {125, 95, 0.8},
                                         {60, 185, 1.0}, {190, 180, 0.95}, {125, 165, 1.1}};
      for (const auto& h : kHeap) {
        ground_shadow(cr, h[0], h[1] + 22 * h[2], 36 * h[2], 14 * h[2], 0.5);
        cairo_save(cr);
        cairo_translate(cr, h[0], h[1]);
        cairo_scale(cr, h[2], h[2]);
        boulder(cr, rng, 0, 0, mix(hex(0x9a8c7c), hex(0x8e765e), rng.unit()));
        cairo_restore(cr);
      }
      break;
    }
    default:
      ground_shadow(cr, 60, 236, 36, 10, 0.5);
      flag_pole(cr, 60, 236, 30, 6);
      flag_cloth(cr, 62, 34, 172, 100, 0.3, 4);
  }
}

void paint_logo(cairo_t* cr, int) {
  // A rock ledge under the title, a flag planted on it, then the letters in raised yellow.
  Rng rng(9);
  for (int i = 0; i < 9; ++i) {
    cairo_save(cr);
    cairo_translate(cr, 28 + i * 25 + rng.range(-3, 3), 104 + rng.range(-2, 2));
    cairo_scale(cr, 0.5, 0.42);
    boulder(cr, rng, 0, 0, mix(hex(0x9a8c7c), hex(0x8e765e), rng.unit()));
    cairo_restore(cr);
  }
  // The title is sized to leave room for the outline and the flag on the right.
  use_typeface(cr, Typeface::SansBold, 64);
  cairo_text_extents_t e;
  cairo_text_extents(cr, "Tolvane", &e);
  use_typeface(cr, Typeface::SansBold, 64 * std::min(1.0, 206 / e.width));
  cairo_new_path(cr);
  text_path_centred(cr, "Tolvane", 118, 60);
  cairo_save(cr);
  cairo_translate(cr, 3, 5);
  set(cr, hex(0), 0.55);
  cairo_fill_preserve(cr);
  cairo_restore(cr);
  set(cr, hex(0x1a1008));
  cairo_set_line_width(cr, 7);
  cairo_stroke_preserve(cr);
  vertical(cr, 30, 88, hex(0xfff2a0), hex(0xf08a10));
  cairo_fill_preserve(cr);
  set(cr, kWhite, 0.6);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  flag_pole(cr, 229, 100, 20, 2.4);
  flag_cloth(cr, 230, 20, 18, 14, 0.2, 1.3);
}

// The studio mark on the loading screen, kept within the middle of the cell because the
// loading screen draws it twice the size inside the spinning rings.
void paint_studio_mark(cairo_t* cr, int) {
  const double c = 128;
  star(cr, c, c - 14, 54, 54, 6, M_PI / 6);
  radial(cr, c - 16, c - 34, 80, hex(0x3a7af0), hex(0x0c1e48));
  cairo_fill_preserve(cr);
  set(cr, kAccent);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  star(cr, c, c - 14, 45, 45, 6, M_PI / 6);
  set(cr, kWhite, 0.35);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Three stacked rocks with a flag on top: the team's sign.
  Rng rng(5);
  const double rocks[3][2] = {{c - 17, c + 8}, {c + 17, c + 8}, {c, c - 10}};
  for (const auto& r : rocks) {
    cairo_save(cr);
    cairo_translate(cr, r[0], r[1]);
    cairo_scale(cr, 0.5, 0.5);
    boulder(cr, rng, 0, 0, hex(0xa89884));
    cairo_restore(cr);
  }
  flag_pole(cr, c, c - 22, c - 58, 3);
  flag_cloth(cr, c + 1, c - 58, 28, 18, 0.15, 1.5);
  use_typeface(cr, Typeface::SansBold, 26);
  outlined_text(cr, "TOLVANE", c, c + 56, kWhite, hex(0x0c1e48), 6);
  use_typeface(cr, Typeface::SansBold, 15);
  outlined_text(cr, "T  E  A  M", c, c + 78, kAccent, hex(0x0c1e48), 4);
}

// 64 medallions: eight emblems down the sheet, each in eight metals and enamels across.
void paint_badges(cairo_t* cr, int frame) {
  static const Rgb kEnamel[8] = {hex(0x2f6fe8), hex(0x38b84a), hex(0xd8322a), hex(0x8a5ae8),
                                 hex(0x18a8b8), hex(0xf07a20), hex(0xe0508a), hex(0x40464e)};
  static const Rgb kRim[3] = {hex(0xc8864a), hex(0xd0d4dc), hex(0xf4c840)};
  int emblem = frame / 8, tint = frame % 8;
  Rgb rim = kRim[(frame / 3) % 3];
  // Ribbon tails behind the medal.
  for (double side = -1; side <= 1; side += 2) {
    polygon(cr, {{32 + side * 4, 40}, {32 + side * 16, 62}, {32 + side * 10, 58}, {32 + side * 7, 63}, {32 + side * 1, 42}});
    fill_line(cr, shade(kEnamel[(tint + 3) % 8], 0.9), kInk, 1);
  }
  circle(cr, 32, 29, 25);
  radial(cr, 24, 20, 34, shade(rim, 1.4), shade(rim, 0.55));
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  circle(cr, 32, 29, 19);
  radial(cr, 26, 22, 26, shade(kEnamel[tint], 1.3), shade(kEnamel[tint], 0.6));
  cairo_fill(cr);

  cairo_new_path(cr);
  switch (emblem) {
    case 0: star(cr, 32, 30, 13, 5.5, 5); break;
    case 1:  // flag
      cairo_rectangle(cr, 24, 15, 2.5, 28);
      cairo_move_to(cr, 26, 16);
      cairo_curve_to(cr, 32, 12, 36, 22, 42, 17);
      cairo_line_to(cr, 42, 29);
      cairo_curve_to(cr, 36, 34, 32, 24, 26, 28);
      cairo_close_path(cr);
      break;
    case 2:  // crosshair
      circle(cr, 32, 29, 10);
      cairo_new_sub_path(cr);
      cairo_arc_negative(cr, 32, 29, 7, 2 * M_PI, 0);
      cairo_rectangle(cr, 30.8, 14, 2.4, 30);
      cairo_rectangle(cr, 17, 27.8, 30, 2.4);
      break;
    case 3:  // chevrons
      for (int i = 0; i < 3; ++i) {
        double y = 20 + i * 7;
        polygon(cr, {{20, y + 6}, {32, y}, {44, y + 6}, {44, y + 10}, {32, y + 4}, {20, y + 10}});
      }
      break;
    case 4:  // heart
      cairo_move_to(cr, 32, 42);
      cairo_curve_to(cr, 14, 30, 20, 12, 32, 22);
      cairo_curve_to(cr, 44, 12, 50, 30, 32, 42);
      cairo_close_path(cr);
      break;
    case 5:  // rock
    {
      Rng rng(frame);
      blob(cr, rng, 32, 30, 12, 9, 8, 0.15);
      break;
    }
    case 6:  // lightning
      polygon(cr, {{35, 14}, {24, 32}, {31, 32}, {28, 45}, {41, 26}, {34, 26}});
      break;
    default:  // crown
      polygon(cr, {{19, 38}, {19, 21}, {25.5, 29}, {32, 18}, {38.5, 29}, {45, 21}, {45, 38}});
  }
  icon_ink(cr, 1.6);
}

}  // namespace assetgen
