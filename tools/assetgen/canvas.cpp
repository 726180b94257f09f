// Drawing helpers every sheet shares, the DejaVu typefaces loaded through FreeType, and the
// sheet painter and PNG writer.
#include "canvas.h"
#include "files.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace assetgen {

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb shade(Rgb c, double k) {
  return k >= 1 ? mix(c, palette::kWhite, std::min(1.0, k - 1)) : mix(hex(0), c, std::max(0.0, k));
}

void set(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void blob(cairo_t* cr, Rng& rng, double cx, double cy, double rx, double ry, int points,
          double roughness) {
  std::vector<double> px(points), py(points);
  for (int i = 0; i < points; ++i) {
    double a = 2 * M_PI * (i + rng.range(-0.25, 0.25)) / points;
    double k = 1 + rng.range(-roughness, roughness);
    px[i] = cx + std::cos(a) * rx * k;
    py[i] = cy + std::sin(a) * ry * k;
  }
  // Catmull-Rom through the points, as cubic Bezier segments, so the loop has no corners.
  cairo_new_sub_path(cr);
  cairo_move_to(cr, px[0], py[0]);
  for (int i = 0; i < points; ++i) {
    int p0 = (i + points - 1) % points, p2 = (i + 1) % points, p3 = (i + 2) % points;
    cairo_curve_to(cr, px[i] + (px[p2] - px[p0]) / 6, py[i] + (py[p2] - py[p0]) / 6,
                   px[p2] - (px[p3] - px[i]) / 6, py[p2] - (py[p3] - py[i]) / 6, px[p2], py[p2]);
  }
  cairo_close_path(cr);
}

void polygon(cairo_t* cr, std::initializer_list<Point> points) {
  bool first = true;
  for (const Point& p : points) {
    if (first) {
      cairo_move_to(cr, p.x, p.y);
    } else {
      cairo_line_to(cr, p.x, p.y);
    }
    first = false;
  }
  cairo_close_path(cr);
}

void star(cairo_t* cr, double cx, double cy, double r1, double r2, int points, double turn) {
  int corners = r2 == r1 ? points : points * 2;
  cairo_new_sub_path(cr);
  for (int i = 0; i < corners; ++i) {
    double r = (r2 == r1 || i % 2 == 0) ? r1 : r2;
    double a = -M_PI / 2 + turn + 2 * M_PI * i / corners;
    cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
  }
  cairo_close_path(cr);
}

void fill_line(cairo_t* cr, Rgb fill, Rgb line, double width, double alpha) {
  set(cr, fill, alpha);
  cairo_fill_preserve(cr);
  set(cr, line, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void rimmed_stroke(cairo_t* cr, Rgb colour, double width, double rim) {
  set(cr, palette::kInk);
  cairo_set_line_width(cr, width + 2 * rim);
  cairo_stroke_preserve(cr);
  set(cr, colour);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void radial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer, double inner_alpha,
            double outer_alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, inner_alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, outer_alpha);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void vertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void ground_shadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.6, 0, 0, 0, alpha * 0.7);
  cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
  cairo_set_source(cr, p);
  circle(cr, 0, 0, 1);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

namespace {

// Faces are loaded once and live for the whole run.
cairo_font_face_t* load_face(Typeface face) {
  static FT_Library library = nullptr;
  static cairo_font_face_t* faces[3] = {};
  static const char* files[3] = {"DejaVuSans-Bold.ttf", "DejaVuSansMono-Bold.ttf",
                                 "DejaVuSerif-Bold.ttf"};
  int i = static_cast<int>(face);
  if (faces[i]) return faces[i];
  if (!library && FT_Init_FreeType(&library)) throw std::runtime_error("FreeType did not start");
  std::string path = std::string("/usr/share/fonts/truetype/dejavu/") + files[i];
  FT_Face ft;
  if (FT_New_Face(library, path.c_str(), 0, &ft))
    throw std::runtime_error("cannot open " + path + " (package fonts-dejavu-core)");
  faces[i] = cairo_ft_font_face_create_for_ft_face(ft, 0);
  return faces[i];
}

}  // namespace

void use_typeface(cairo_t* cr, Typeface face, double size) {
  cairo_set_font_face(cr, load_face(face));
  cairo_set_font_size(cr, size);
}

void text_path_centred(cairo_t* cr, const std::string& text, double cx, double cy) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
  cairo_text_path(cr, text.c_str());
}

void outlined_text(cairo_t* cr, const std::string& text, double cx, double cy, Rgb fill, Rgb line,
                   double width) {
  cairo_new_path(cr);
  text_path_centred(cr, text, cx, cy);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set(cr, line);
  cairo_set_line_width(cr, width);
  cairo_stroke_preserve(cr);
  set(cr, fill);
  cairo_fill(cr);
}

cairo_surface_t* paint_sheet(const ImageAsset& asset, int scale, FramePainter paint) {
  cairo_surface_t* surface = cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, sheet_width(asset, scale), sheet_height(asset, scale));
  cairo_t* cr = cairo_create(surface);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  for (int frame = 0; frame < asset.frames; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, (frame % asset.columns) * asset.cell_w * scale,
                    (frame / asset.columns) * asset.cell_h * scale);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, asset.cell_w, asset.cell_h);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    paint(cr, frame);
    cairo_restore(cr);
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(std::string("drawing ") + asset.name + ": " +
                             cairo_status_to_string(cairo_status(cr)));
  cairo_destroy(cr);
  return surface;
}

void write_png(cairo_surface_t* surface, const std::string& path) {
  make_parent_dirs(path);
  cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("writing " + path + ": " + cairo_status_to_string(status));
}

}  // namespace assetgen
