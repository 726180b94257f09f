// Frame routines of the play-field sheets. One trooper routine draws our soldiers and the
// enemies alike (colours and helmet differ); one flag routine serves the waving flag, the
// flag carried on a soldier's back and the one planted in the base.
#include "sprites.h"

#include <cmath>

#include "canvas.h"
#include "motifs.h"

namespace assetgen {
namespace {

using namespace palette;

constexpr double kCell = 36;   // "plr" and "gfx" cell size
constexpr int kFlagPhases = 7;  // the game cycles flag frames 0..6

// The big waving flag of "gfx" frames 0..6; the game draws it at half size.
void waving_flag(cairo_t* cr, int phase_frame) {
  ground_shadow(cr, 8, 33, 6, 2.2, 0.45);
  flag_pole(cr, 8, 33, 3.5, 2.2);
  flag_cloth(cr, 9, 4, 25, 16, double(phase_frame) / kFlagPhases, 1.4);
}

struct Trooper {
  Rgb tunic, helmet;
  bool spiked;  // the enemies' helmets carry a spike and a plume
};
const Trooper kSoldier = {kOurs, hex(0x2a4a7a), false};
const Trooper kEnemy = {kTheirs, hex(0x2b2326), true};

struct Pose {
  double stride;      // -1..1: how far the front foot is ahead
  double bob;         // body height change while walking
  bool flag;          // a flag on a pole strapped to the back
  double flag_phase;  // 0..1
  bool shadow;        // standing figures cast one; lying ones get theirs from the caller
};

// A trooper facing +x, feet near y = 30, drawn around the cell centre.
void trooper(cairo_t* cr, const Trooper& t, const Pose& p) {
  const double ink = 1.1;
  Rgb trousers = shade(t.tunic, 0.45);
  if (p.shadow) ground_shadow(cr, 18, 30.5, 10, 3.6, 0.5);

  if (p.flag) {
    flag_pole(cr, 11, 26, 2.5, 1.6);
    flag_cloth(cr, 10.5, 3, -10, 8, p.flag_phase, 0.9);
  }

  // Legs: back leg first, so the front one overlaps it.
  double y = p.bob;
  for (int side = 0; side < 2; ++side) {
    double s = side == 0 ? -p.stride : p.stride;
    double hip_x = 18 + (side == 0 ? -1.5 : 1.5);
    double foot_x = hip_x + s * 4.5, foot_y = 29.5 - std::fabs(s) * 0.8;
    Rgb leg = side == 0 ? shade(trousers, 0.75) : trousers;
    cairo_move_to(cr, hip_x, 22 + y);
    cairo_line_to(cr, foot_x, foot_y - 1.5);
    rimmed_stroke(cr, leg, 3.0, 0.8);
    rounded_rect(cr, foot_x - 2.2, foot_y - 2.4, 5.2, 3.0, 1.2);
    fill_line(cr, hex(0x2a1e16), kInk, 0.8);
  }

  // Torso with a belt and a pack.
  rounded_rect(cr, 11.5, 12.5 + y, 4, 8, 1.5);
  fill_line(cr, shade(t.tunic, 0.55), kInk, ink);
  rounded_rect(cr, 13, 12 + y, 11, 11.5, 3.5);
  vertical(cr, 12 + y, 23.5 + y, shade(t.tunic, 1.25), shade(t.tunic, 0.8));
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, ink);
  cairo_stroke(cr);
  cairo_rectangle(cr, 13.5, 19.5 + y, 10, 1.6);
  set(cr, hex(0x3a2a1a));
  cairo_fill(cr);

  // Rifle held across the body, muzzle forward.
  cairo_move_to(cr, 14, 19.5 + y);
  cairo_line_to(cr, 32, 17.5 + y);
  set(cr, kInk);
  cairo_set_line_width(cr, 3.2);
  cairo_stroke(cr);
  cairo_move_to(cr, 14, 19.5 + y);
  cairo_line_to(cr, 21, 18.7 + y);
  set(cr, kWood);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  cairo_move_to(cr, 21, 18.7 + y);
  cairo_line_to(cr, 31.5, 17.6 + y);
  set(cr, kMetal);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  circle(cr, 24, 18.8 + y, 1.8);
  fill_line(cr, kSkin, kInk, 0.8);

  // Head and helmet.
  circle(cr, 18.5, 9.5 + y, 4.6);
  fill_line(cr, kSkin, kInk, ink);
  circle(cr, 21.2, 10.2 + y, 0.8);
  set(cr, kInk);
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, 18.2, 9.2 + y, 5.4, M_PI * 1.02, M_PI * 2.05);
  cairo_line_to(cr, 24.2, 9.8 + y);
  cairo_line_to(cr, 12.2, 9.8 + y);
  cairo_close_path(cr);
  vertical(cr, 3.8 + y, 9.8 + y, shade(t.helmet, 1.35), t.helmet);
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, ink);
  cairo_stroke(cr);
  if (t.spiked) {
    polygon(cr, {{16.6, 4.6 + y}, {17.6, 0.6 + y}, {19.6, 4.3 + y}});
    fill_line(cr, hex(0xc8ccd0), kInk, 0.8);
    cairo_move_to(cr, 13.2, 6.5 + y);
    cairo_curve_to(cr, 10.5, 5.5 + y, 9.5, 7.5 + y, 8.8, 10.5 + y);
    set(cr, hex(0xff5a3a));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
  }
}

// Lying figures (a fallen soldier, a dying enemy) are the standing trooper turned about the
// middle of his body, which keeps him inside the cell; the shadow stays flat on the ground.
void fallen(cairo_t* cr, const Trooper& t, double angle) {
  ground_shadow(cr, 18, 22, 16, 6, 0.45);
  cairo_save(cr);
  cairo_translate(cr, 18.5, 19);
  cairo_rotate(cr, angle);
  cairo_translate(cr, -19, -17);
  trooper(cr, t, {0, 0, false, 0, false});
  cairo_restore(cr);
}

Pose walk(int step, bool flag, int frame) {
  static const double strides[3] = {0, 1, -1};
  return {strides[step % 3], step % 3 == 0 ? 0 : -0.8, flag, (frame % kFlagPhases) / 7.0, true};
}

// Ground details for the frames no screen draws, so the sheet holds nothing blank.
void ground_detail(cairo_t* cr, int frame) {
  Rng rng(frame * 31 + 7);
  switch (frame % 4) {
    case 0:  // a grass tuft
      for (int i = 0; i < 7; ++i) {
        double x = 18 + rng.range(-6, 6);
        cairo_move_to(cr, x, 26);
        cairo_curve_to(cr, x, 20, x + rng.range(-6, 6), 16, x + rng.range(-8, 8), 12 + rng.range(0, 5));
        set(cr, shade(hex(0x2f9a2a), rng.range(0.8, 1.5)));
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
      }
      break;
    case 1:  // pebbles
      for (int i = 0; i < 4; ++i) {
        double x = rng.range(8, 28), y = rng.range(12, 28);
        blob(cr, rng, x, y, rng.range(2, 4), rng.range(1.5, 3), 6, 0.2);
        fill_line(cr, shade(hex(0x9a8a78), rng.range(0.8, 1.2)), kInk, 0.8);
      }
      break;
    case 2:  // flowers
      for (int i = 0; i < 3; ++i) {
        double x = rng.range(10, 26), y = rng.range(12, 26);
        star(cr, x, y, 3.2, 3.2, 5);
        fill_line(cr, i % 2 ? hex(0xfff2a0) : hex(0xf07ac0), kInk, 0.6);
        circle(cr, x, y, 1.1);
        set(cr, hex(0xffb020));
        cairo_fill(cr);
      }
      break;
    default:  // a mushroom
      rounded_rect(cr, 16, 18, 4, 9, 1.5);
      fill_line(cr, hex(0xf0e8d8), kInk, 0.9);
      cairo_new_path(cr);
      cairo_arc(cr, 18, 19, 8, M_PI, 2 * M_PI);
      cairo_close_path(cr);
      fill_line(cr, hex(0xc8402a), kInk, 1.0);
      for (int i = 0; i < 3; ++i) {
        circle(cr, 14 + i * 4, 15.5 + (i % 2), 1.1);
        set(cr, kWhite);
        cairo_fill(cr);
      }
  }
}

// The enemy spawner: a burrow ringed with stones, glowing red from inside.
void spawner(cairo_t* cr, double glow) {
  Rng rng(77);
  ground_shadow(cr, 18, 21, 17, 12, 0.55);
  blob(cr, rng, 18, 19, 15, 12, 10, 0.12);
  fill_line(cr, hex(0x6a5646), kInk, 1.2);
  for (int i = 0; i < 9; ++i) {
    double a = 2 * M_PI * i / 9;
    blob(cr, rng, 18 + std::cos(a) * 12, 19 + std::sin(a) * 9.5, 3.6, 3.0, 6, 0.2);
    fill_line(cr, shade(hex(0x9a8676), rng.range(0.8, 1.15)), kInk, 0.8);
  }
  blob(cr, rng, 18, 19.5, 8.5, 6.5, 9, 0.1);
  radial(cr, 18, 20.5, 9, mix(hex(0x200404), hex(0xff4020), glow), hex(0x0a0202));
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // Two eyes watching from the dark.
  for (int side = -1; side <= 1; side += 2) {
    circle(cr, 18 + side * 2.4, 19.5, 1.0);
    set(cr, hex(0xffd040), 0.5 + 0.5 * glow);
    cairo_fill(cr);
  }
}

// The base stones: a square slab with bevelled edges around the centre piece or a socket.
void base_slab(cairo_t* cr) {
  ground_shadow(cr, 18, 20, 17, 15, 0.45);
  rounded_rect(cr, 3, 4, 30, 28, 4);
  vertical(cr, 4, 32, hex(0xb8b0a4), hex(0x6a625a));
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  rounded_rect(cr, 6, 7, 24, 22, 3);
  set(cr, hex(0x9a9288));
  cairo_fill(cr);
  for (int i = 0; i < 4; ++i) {
    circle(cr, i % 2 ? 27.5 : 8.5, i / 2 ? 26.5 : 9.5, 1.1);
    fill_line(cr, hex(0xd8d0c4), hex(0x4a443e), 0.6);
  }
}

void base_centre(cairo_t* cr) {
  base_slab(cr);
  star(cr, 18, 18, 10, 10, 6, M_PI / 6);
  fill_line(cr, hex(0x34425a), kInk, 1.2);
  star(cr, 18, 18, 8, 3.4, 5);
  fill_line(cr, kOurs, hex(0xd8e4ff), 1.0);
}

void base_socket(cairo_t* cr, bool planted, double pulse) {
  base_slab(cr);
  circle(cr, 18, 18, 8.5);
  if (planted) {
    radial(cr, 18, 18, 11, hex(0xfff4a0), kFlag, 1, 0.9 * pulse);
  } else {
    set(cr, hex(0x3a342e));
  }
  cairo_fill_preserve(cr);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  circle(cr, 18, 18, 3.2);
  fill_line(cr, planted ? hex(0xb08a20) : hex(0x15110e), kInk, 1.0);
  if (!planted) {
    // A dashed yellow ring: "a flag goes here".
    double dash[] = {2.2, 2.2};
    cairo_set_dash(cr, dash, 2, 0);
    circle(cr, 18, 18, 11.5);
    set(cr, kFlag, 0.85);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

}  // namespace

void paint_plr(cairo_t* cr, int frame) {
  if (frame == 7) {
    fallen(cr, kSoldier, -M_PI / 2);
    return;
  }
  // 0..2 walking, 4..6 walking with a flag; the frames the game never picks repeat the cycle.
  trooper(cr, kSoldier, walk(frame % 4, (frame / 4) % 2 == 1, frame));
}

void paint_gfx(cairo_t* cr, int frame) {
  if (frame < kFlagPhases) return waving_flag(cr, frame);
  switch (frame) {
    case 7: return spawner(cr, 0.35);
    case 8: return spawner(cr, 1.0);
    case 9: return base_centre(cr);
    case 10: return base_socket(cr, false, 0);
    case 11: return base_socket(cr, true, 1);
    case 12: return base_socket(cr, true, 0.4);
    case 13: return base_slab(cr);
    case 14: return trooper(cr, kEnemy, walk(0, false, 0));
    case 15: case 16: case 17: return trooper(cr, kEnemy, walk(frame - 14, false, 0));
    case 18: return fallen(cr, kEnemy, -1.25);
    case 19: return fallen(cr, kEnemy, -M_PI / 2);
    default: return ground_detail(cr, frame);
  }
}

// Rocks are drawn 62 x 52 apart, row after row, and overlap their neighbours. Each is a
// faceted boulder on a dark bed of rubble as large as its share of the grid, so the gaps
// where four boulders meet read as crevices instead of ground showing through.
void paint_trees(cairo_t* cr, int frame) {
  static const Rgb kStones[9] = {hex(0x9a8c7c), hex(0x8e765e), hex(0xa09484), hex(0x927a62),
                                 hex(0x8a8278), hex(0x9c8468), hex(0xa8967c), hex(0x847668),
                                 hex(0x967e64)};
  const Rgb stone = kStones[frame];
  const Rgb crevice = kCrevice;
  const double cx = 34, cy = 34;
  Rng rng(1000 + frame);

  ground_shadow(cr, cx + 1, cy + 10, 33, 22, 0.5);
  rounded_rect(cr, cx - 32, cy - 23, 64, 50, 6);
  vertical(cr, cy - 23, cy + 27, shade(crevice, 1.1), shade(crevice, 0.8));
  cairo_fill(cr);
  // Rubble along the foot breaks up the bed's straight edge where the wall meets open ground.
  for (int i = 0; i < 9; ++i) {
    double x = cx - 30 + i * 7.5 + rng.range(-2, 2), y = cy + 25 + rng.range(-1.5, 1);
    blob(cr, rng, x, y, rng.range(2.8, 4.2), rng.range(2.0, 3.0), 6, 0.2);
    fill_line(cr, shade(stone, rng.range(0.55, 0.85)), crevice, 0.8);
  }
  boulder(cr, rng, cx, cy, stone);
}

// Particles: eight shapes down the sheet in sixteen colours across.
void paint_parts(cairo_t* cr, int frame) {
  static const Rgb kColours[16] = {
      hex(0xffffff), hex(0xffe040), hex(0xff9a20), hex(0xff4030), hex(0xff60c0), hex(0xb060ff),
      hex(0x4080ff), hex(0x40e0ff), hex(0x40ff80), hex(0x90ff30), hex(0xc8b090), hex(0x8a7a6a),
      hex(0x606060), hex(0xa0a0a0), hex(0x30a030), hex(0x2a2a2a)};
  Rgb c = kColours[frame % 16];
  switch ((frame / 16) % 8) {
    case 0: radial(cr, 4, 4, 4, c, c, 1, 0); circle(cr, 4, 4, 4); cairo_fill(cr); break;
    case 1: circle(cr, 4, 4, 2.6); fill_line(cr, c, shade(c, 0.5), 0.8); break;
    case 2: circle(cr, 4, 4, 2.8); set(cr, c); cairo_set_line_width(cr, 1.2); cairo_stroke(cr); break;
    case 3: star(cr, 4, 4, 3.8, 1.5, 5); set(cr, c); cairo_fill(cr); break;
    case 4: star(cr, 4, 4, 3.9, 0.9, 4); set(cr, c); cairo_fill(cr); break;
    case 5: rounded_rect(cr, 1.5, 1.5, 5, 5, 1); set(cr, c); cairo_fill(cr); break;
    case 6: star(cr, 4, 4, 3.6, 3.6, 4); set(cr, c); cairo_fill(cr); break;
    default: {
      Rng rng(frame);
      blob(cr, rng, 4, 4, 3.2, 3.2, 6, 0.25);
      set(cr, c, 0.6);
      cairo_fill(cr);
    }
  }
}

// Glows, white at heart so the game can tint them.
void paint_light(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      radial(cr, 16, 16, 16, kWhite, kWhite, 1, 0);
      cairo_paint(cr);
      break;
    case 1:
      radial(cr, 16, 16, 16, hex(0xfff8d0), hex(0xffb040), 0.9, 0);
      cairo_paint(cr);
      break;
    case 2:
      circle(cr, 16, 16, 11);
      set(cr, kWhite, 0.35);
      cairo_set_line_width(cr, 6);
      cairo_stroke(cr);
      circle(cr, 16, 16, 11);
      set(cr, kWhite, 0.9);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      break;
    default:
      radial(cr, 16, 16, 8, kWhite, kWhite, 0.8, 0);
      cairo_paint(cr);
      star(cr, 16, 16, 15, 1.8, 4);
      set(cr, kWhite, 0.9);
      cairo_fill(cr);
  }
}

}  // namespace assetgen
