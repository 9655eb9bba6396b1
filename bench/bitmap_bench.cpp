// The bitmap creator's core operations, each run three ways on the same canvas size, shapes and
// seeds: this library, pixman (drawing into a buffer of the very same byte layout) and Cairo's
// image surfaces. After the runs a table prints each operation's time per iteration for the
// three and the ratios (above 1: this library is faster), with the sum of alpha each drew on a
// clean canvas so that the work can be seen to be equal.
//
// Equivalents: span and rectangle fills replace pixels (pixman/Cairo operator SOURCE); shapes
// are opaque, anti-aliased and drawn over (OVER; pixman rasterises them as triangles); copies
// blend (OVER) or replace (SOURCE); transformed copies sample the nearest pixel; gradients
// replace (SOURCE) with opaque stops; paths are filled polygons and a stroked polyline;
// compressed bitmaps are drawn against OVER of the same (opaque or clear) sprite.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pixman.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Runtime.h"

namespace {

using namespace tmr;

constexpr double kPi = 3.14159265358979323846;

// --- The three canvases --------------------------------------------------------------------

struct Ours {
  std::shared_ptr<tm_bitmapcreator> bc;
};
struct Pix {
  std::vector<uint32_t> bits;
  pixman_image_t* img = nullptr;
};
struct Cai {
  cairo_surface_t* surf = nullptr;
  cairo_t* cr = nullptr;
};

Runtime& runtime() {
  static Runtime rt;
  static bool quiet = [] {
    rt.setLogSink([](std::string_view) {});
    return true;
  }();
  (void)quiet;
  return rt;
}
std::shared_ptr<Dispatcher> dispatcher() {
  static auto ba = std::make_shared<Dispatcher>(runtime(), std::weak_ptr<Module>());
  return ba;
}
std::shared_ptr<tm_bitmapcreator> makeBc(int w, int h) {
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(dispatcher(), w, h);
  return bc;
}

// Every library gets its own canvas of the same size, cleared before each run.
struct Canvases {
  int w, h;
  Ours ours;
  Pix pix;
  Cai cai;
  Canvases(int width, int height) : w(width), h(height) {
    ours.bc = makeBc(w, h);
    pix.bits.assign(static_cast<size_t>(w) * h, 0);
    pix.img = pixman_image_create_bits(PIXMAN_a8b8g8r8, w, h, pix.bits.data(), w * 4);
    cai.surf = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cai.cr = cairo_create(cai.surf);
  }
  ~Canvases() {
    cairo_destroy(cai.cr);
    cairo_surface_destroy(cai.surf);
    pixman_image_unref(pix.img);
  }
  Canvases(const Canvases&) = delete;
  Canvases& operator=(const Canvases&) = delete;
};

// --- Shared inputs (fixed seeds) -------------------------------------------------------------

std::vector<std::array<int, 4>> randomRects(int count, int size, int canvas, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> pos(0, canvas - size);
  std::vector<std::array<int, 4>> r;
  for (int i = 0; i < count; ++i) r.push_back({pos(rng), pos(rng), size, size});
  return r;
}

struct Seg {
  float x1, y1, x2, y2;
};
std::vector<Seg> randomLines(int count, int canvas, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> pos(20, static_cast<float>(canvas) - 20);
  std::uniform_real_distribution<float> len(10, 500), ang(0, 2 * static_cast<float>(kPi));
  std::vector<Seg> s;
  while (static_cast<int>(s.size()) < count) {
    float x = pos(rng), y = pos(rng), l = len(rng), a = ang(rng);
    float x2 = x + l * std::cos(a), y2 = y + l * std::sin(a);
    if (x2 < 0 || y2 < 0 || x2 >= static_cast<float>(canvas) || y2 >= static_cast<float>(canvas)) continue;
    s.push_back({x, y, x2, y2});
  }
  return s;
}

std::vector<std::array<float, 2>> randomCentres(int count, int canvas, float margin, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> pos(margin, static_cast<float>(canvas) - margin);
  std::vector<std::array<float, 2>> c;
  for (int i = 0; i < count; ++i) c.push_back({std::round(pos(rng)), std::round(pos(rng))});
  return c;
}

// A bitmap creator source of w × h: "opaque", "translucent" (alpha 128) or "mixed" (opaque,
// clear and translucent blocks).
std::shared_ptr<tm_bitmapcreator> makeSource(int w, int h, const std::string& kind) {
  auto bc = makeBc(w, h);
  uint8_t* p = bc->mbuffer.data();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x, p += 4) {
      int a = 255;
      if (kind == "translucent") a = 128;
      if (kind == "mixed") a = ((x / 16 + y / 16) % 3 == 0) ? 0 : ((x / 16 + y / 16) % 3 == 1 ? 255 : 100);
      p[0] = static_cast<uint8_t>((x * a) / 255 % (a + 1));
      p[1] = static_cast<uint8_t>((y * a) / 255 % (a + 1));
      p[2] = static_cast<uint8_t>(a / 2);
      p[3] = static_cast<uint8_t>(a);
    }
  return bc;
}

// The same pixels for pixman (same layout, shared) and Cairo (B, G, R, A words).
struct SourceImages {
  std::shared_ptr<tm_bitmapcreator> bc;
  pixman_image_t* pix = nullptr;
  cairo_surface_t* cai = nullptr;
  explicit SourceImages(std::shared_ptr<tm_bitmapcreator> b) : bc(std::move(b)) {
    pix = pixman_image_create_bits(PIXMAN_a8b8g8r8, bc->mwidth, bc->mheight,
                                   reinterpret_cast<uint32_t*>(bc->mbuffer.data()), bc->mwidth * 4);
    cai = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bc->mwidth, bc->mheight);
    cairo_surface_flush(cai);
    uint8_t* d = cairo_image_surface_get_data(cai);
    int stride = cairo_image_surface_get_stride(cai);
    const uint8_t* s = bc->mbuffer.data();
    for (int y = 0; y < bc->mheight; ++y)
      for (int x = 0; x < bc->mwidth; ++x) {
        const uint8_t* q = s + (y * bc->mwidth + x) * 4;
        uint32_t v = (uint32_t{q[3]} << 24) | (uint32_t{q[0]} << 16) | (uint32_t{q[1]} << 8) | q[2];
        std::memcpy(d + y * stride + x * 4, &v, 4);
      }
    cairo_surface_mark_dirty(cai);
  }
  ~SourceImages() {
    pixman_image_unref(pix);
    cairo_surface_destroy(cai);
  }
};

pixman_color_t pixColor(uint32_t argb) {
  // pixman colours are premultiplied, 16 bits per channel.
  double a = (argb >> 24) / 255.0;
  auto ch = [&](int shift) { return static_cast<uint16_t>(((argb >> shift) & 0xFF) * a * 257.0 + 0.5); };
  return pixman_color_t{ch(16), ch(8), ch(0), static_cast<uint16_t>((argb >> 24) * 257)};
}
void caiColor(cairo_t* cr, uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        (argb >> 24) / 255.0);
}

// pixman draws anti-aliased shapes as triangles: a fan for convex outlines, a strip for rings.
pixman_point_fixed_t fx(double x, double y) { return {pixman_double_to_fixed(x), pixman_double_to_fixed(y)}; }
void fan(std::vector<pixman_triangle_t>& t, double cx, double cy, const std::vector<std::array<double, 2>>& poly) {
  for (size_t i = 0; i + 1 < poly.size(); ++i)
    t.push_back({fx(cx, cy), fx(poly[i][0], poly[i][1]), fx(poly[i + 1][0], poly[i + 1][1])});
}
std::vector<std::array<double, 2>> arcPoints(double cx, double cy, double r, double a0, double a1) {
  int n = std::max(8, static_cast<int>(std::ceil(std::fabs(a1 - a0) * r / 3.0)));
  std::vector<std::array<double, 2>> p;
  for (int i = 0; i <= n; ++i) {
    double a = a0 + (a1 - a0) * i / n;
    p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return p;
}
void strip(std::vector<pixman_triangle_t>& t, const std::vector<std::array<double, 2>>& outer,
           const std::vector<std::array<double, 2>>& inner) {
  for (size_t i = 0; i + 1 < outer.size() && i + 1 < inner.size(); ++i) {
    t.push_back({fx(outer[i][0], outer[i][1]), fx(outer[i + 1][0], outer[i + 1][1]), fx(inner[i][0], inner[i][1])});
    t.push_back(
        {fx(inner[i][0], inner[i][1]), fx(outer[i + 1][0], outer[i + 1][1]), fx(inner[i + 1][0], inner[i + 1][1])});
  }
}
void pixTriangles(Pix& p, pixman_image_t* solid, const std::vector<pixman_triangle_t>& t) {
  pixman_composite_triangles(PIXMAN_OP_OVER, solid, p.img, PIXMAN_a8, 0, 0, 0, 0, static_cast<int>(t.size()), t.data());
}

// --- Cases -----------------------------------------------------------------------------------

struct Case {
  std::string name;
  int w, h;
  // Each makes whatever it needs once and returns the drawing of one iteration.
  std::function<std::function<void()>(Ours&)> ours;
  std::function<std::function<void()>(Pix&)> pix;
  std::function<std::function<void()>(Cai&)> cai;
  // Also run a plain memset of the same bytes (the machine's limit for the row) and report
  // both in pixels per second.
  bool memsetLimit = false;
  // The case drawing the same fill over the canvas itself, against which this one (a rectangle
  // reaching far past the canvas) is reported.
  std::string sameFillOnCanvas = {};
};

std::vector<Case> cases() {
  std::vector<Case> all;
  constexpr uint32_t kOpaque = 0xFF3366CC, kTranslucent = 0x803366CC;

  // Rectangle fills of one size at random places; a whole canvas.
  for (bool translucent : {false, true}) {
    uint32_t color = translucent ? kTranslucent : kOpaque;
    std::string kind = translucent ? "rect_fill_translucent/" : "rect_fill_opaque/";
    for (int size : {8, 32, 64, 256}) {
      auto rects = std::make_shared<std::vector<std::array<int, 4>>>(randomRects(256, size, 1024, 7));
      all.push_back(Case{kind + std::to_string(size) + "x256", 1024, 1024,
                         [=](Ours& o) {
                           auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(color));
                           return std::function<void()>([=] {
                             for (auto& r : *rects)
                               o.bc->_drawrect2(Rect(static_cast<float>(r[0]), static_cast<float>(r[1]),
                                                     static_cast<float>(r[0] + r[2]), static_cast<float>(r[1] + r[3])),
                                                brush, true, 0);
                           });
                         },
                         [=](Pix& p) {
                           auto c = pixColor(color);
                           auto rs = std::make_shared<std::vector<pixman_rectangle16_t>>();
                           for (auto& r : *rects)
                             rs->push_back({static_cast<int16_t>(r[0]), static_cast<int16_t>(r[1]),
                                            static_cast<uint16_t>(r[2]), static_cast<uint16_t>(r[3])});
                           return std::function<void()>([=, &p] {
                             for (auto& r : *rs) pixman_image_fill_rectangles(PIXMAN_OP_SRC, p.img, &c, 1, &r);
                           });
                         },
                         [=](Cai& k) {
                           return std::function<void()>([=, &k] {
                             cairo_set_operator(k.cr, CAIRO_OPERATOR_SOURCE);
                             cairo_set_antialias(k.cr, CAIRO_ANTIALIAS_NONE);
                             caiColor(k.cr, color);
                             for (auto& r : *rects) {
                               cairo_rectangle(k.cr, r[0], r[1], r[2], r[3]);
                               cairo_fill(k.cr);
                             }
                           });
                         }});
    }
    for (int canvas : {256, 1024, 4096}) {
      if (translucent && canvas == 256) continue;
      all.push_back(Case{
          (translucent ? "canvas_fill_translucent/" : "canvas_fill_opaque/") + std::to_string(canvas), canvas, canvas,
          [=](Ours& o) {
            auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(color));
            return std::function<void()>([=] { o.bc->_drawrect2(o.bc->targetrect, brush, true, 0); });
          },
          [=](Pix& p) {
            auto c = pixColor(color);
            pixman_rectangle16_t r{0, 0, static_cast<uint16_t>(canvas), static_cast<uint16_t>(canvas)};
            return std::function<void()>([=, &p] { pixman_image_fill_rectangles(PIXMAN_OP_SRC, p.img, &c, 1, &r); });
          },
          [=](Cai& k) {
            return std::function<void()>([=, &k] {
              cairo_set_operator(k.cr, CAIRO_OPERATOR_SOURCE);
              caiColor(k.cr, color);
              cairo_rectangle(k.cr, 0, 0, canvas, canvas);
              cairo_fill(k.cr);
            });
          }});
      // Far larger than the caches (64 MiB): against the memory's own speed.
      all.back().memsetLimit = canvas == 4096 && !translucent;
    }
  }

  // Pattern spans: a tile repeated over the whole 1024² canvas, copied or blended.
  for (auto [tw, th, blend] :
       std::vector<std::tuple<int, int, bool>>{{16, 16, false}, {256, 1, false}, {16, 16, true}}) {
    std::string name = std::string(blend ? "pattern_blended/" : "pattern_copied/") + std::to_string(tw) + "x" +
                       std::to_string(th) + "_tile";
    auto tile = std::make_shared<SourceImages>(makeSource(tw, th, blend ? "translucent" : "opaque"));
    all.push_back(Case{name, 1024, 1024,
                       [=](Ours& o) {
                         auto brush = o.bc->_createbrushfrombitmapcreator(tile->bc);
                         brush->BlendAll = blend;
                         brush->SrcOffsetX = 5;
                         brush->SrcOffsetY = 3;
                         return std::function<void()>([=] { o.bc->_drawrect2(o.bc->targetrect, brush, true, 0); });
                       },
                       [=](Pix& p) {
                         pixman_image_set_repeat(tile->pix, PIXMAN_REPEAT_NORMAL);
                         return std::function<void()>([=, &p] {
                           pixman_image_composite32(blend ? PIXMAN_OP_OVER : PIXMAN_OP_SRC, tile->pix, nullptr, p.img,
                                                    tw - 5, th - 3, 0, 0, 0, 0, 1024, 1024);
                         });
                       },
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_set_operator(k.cr, blend ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
                           cairo_set_source_surface(k.cr, tile->cai, 5, 3);
                           cairo_pattern_set_extend(cairo_get_source(k.cr), CAIRO_EXTEND_REPEAT);
                           cairo_rectangle(k.cr, 0, 0, 1024, 1024);
                           cairo_fill(k.cr);
                         });
                       }});
  }

  // Copies of a 512² source onto a 1024² canvas at (100, 200); the unblended copy also of a
  // source as wide as the canvas (1024 × 512 at (0, 256)), whose rows are one block.
  struct CopyCase {
    std::string kind;
    bool skip;
    int w, x, y;
  };
  for (const CopyCase& cc : std::vector<CopyCase>{{"opaque", false, 512, 100, 200},
                                                  {"translucent", false, 512, 100, 200},
                                                  {"mixed", false, 512, 100, 200},
                                                  {"mixed", true, 512, 100, 200},
                                                  {"mixed", true, 1024, 0, 256}}) {
    const auto [kind, skip, w, x, y] = cc;
    auto src = std::make_shared<SourceImages>(makeSource(w, 512, kind));
    all.push_back(Case{std::string(skip ? "copy_unblended/" : "copy_blended/") + kind + "_" +
                           (w == 512 ? "512" : std::to_string(w) + "x512_full_width"),
                       1024, 1024,
                       [=](Ours& o) {
                         return std::function<void()>(
                             [=] { o.bc->_drawbitmapcreator(src->bc, src->bc->targetrect, x, y, skip); });
                       },
                       [=](Pix& p) {
                         return std::function<void()>([=, &p] {
                           pixman_image_composite32(skip ? PIXMAN_OP_SRC : PIXMAN_OP_OVER, src->pix, nullptr, p.img, 0,
                                                    0, 0, 0, x, y, w, 512);
                         });
                       },
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_set_operator(k.cr, skip ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
                           cairo_set_source_surface(k.cr, src->cai, x, y);
                           cairo_rectangle(k.cr, x, y, w, 512);
                           cairo_fill(k.cr);
                         });
                       }});
  }

  // Transformed copies of a 256² source (nearest pixel), centred on the canvas.
  for (auto [scale, deg] :
       std::vector<std::pair<float, int>>{{2.0f, 0}, {0.5f, 0}, {1.0f, 90}, {1.0f, 30}, {2.0f, 45}}) {
    auto src = std::make_shared<SourceImages>(makeSource(256, 256, "mixed"));
    char label[64];
    std::snprintf(label, sizeof label, "copy_transformed/scale%g_%ddeg_256", scale, deg);
    all.push_back(Case{label, 1024, 1024,
                       [=](Ours& o) {
                         auto t = std::make_shared<_drawtask>();
                         t->Source = Object(src->bc);
                         t->SrcRect = src->bc->targetrect;
                         t->TargetX = t->TargetY = 512;
                         t->SrcScaleX = t->SrcScaleY = scale;
                         t->Degrees = deg;
                         t->Transform = true;
                         return std::function<void()>([=] { o.bc->_drawbitmapcreatortransformed(t); });
                       },
                       [=](Pix& p) {
                         double a = deg * kPi / 180, c = std::cos(a), s = std::sin(a);
                         // Destination to source: undo the move to the centre, the rotation and the scale.
                         pixman_f_transform f{};
                         f.m[0][0] = c / scale, f.m[0][1] = s / scale, f.m[0][2] = 128 - (c * 512 + s * 512) / scale;
                         f.m[1][0] = -s / scale, f.m[1][1] = c / scale, f.m[1][2] = 128 - (-s * 512 + c * 512) / scale;
                         f.m[2][2] = 1;
                         pixman_transform_t t;
                         pixman_transform_from_pixman_f_transform(&t, &f);
                         double ex = (std::fabs(c) * 256 + std::fabs(s) * 256) * scale / 2;
                         int x0 = static_cast<int>(512 - ex), size = static_cast<int>(2 * ex) + 1;
                         return std::function<void()>([=, &p] {
                           pixman_image_set_transform(src->pix, &t);
                           pixman_image_set_filter(src->pix, PIXMAN_FILTER_NEAREST, nullptr, 0);
                           pixman_image_composite32(PIXMAN_OP_OVER, src->pix, nullptr, p.img, x0, x0, 0, 0, x0, x0,
                                                    size, size);
                           pixman_image_set_transform(src->pix, nullptr);
                         });
                       },
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_save(k.cr);
                           cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
                           cairo_set_antialias(k.cr, CAIRO_ANTIALIAS_NONE);
                           cairo_translate(k.cr, 512, 512);
                           cairo_rotate(k.cr, deg * kPi / 180);
                           cairo_scale(k.cr, scale, scale);
                           cairo_set_source_surface(k.cr, src->cai, -128, -128);
                           cairo_pattern_set_filter(cairo_get_source(k.cr), CAIRO_FILTER_NEAREST);
                           cairo_rectangle(k.cr, -128, -128, 256, 256);
                           cairo_fill(k.cr);
                           cairo_restore(k.cr);
                         });
                       }});
  }

  // Lines of several widths: 1000 random segments 10 to 500 pixels long.
  for (int sw : {1, 2, 8}) {
    auto lines = std::make_shared<std::vector<Seg>>(randomLines(1000, 1024, 11));
    all.push_back(Case{"lines/width" + std::to_string(sw) + "_x1000", 1024, 1024,
                       [=](Ours& o) {
                         auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(kOpaque));
                         return std::function<void()>([=] {
                           for (auto& l : *lines) o.bc->_drawline2(l.x1, l.y1, l.x2, l.y2, brush, sw);
                         });
                       },
                       [=](Pix& p) {
                         auto c = pixColor(kOpaque);
                         auto solid =
                             std::shared_ptr<pixman_image_t>(pixman_image_create_solid_fill(&c), pixman_image_unref);
                         auto tris = std::make_shared<std::vector<std::vector<pixman_triangle_t>>>();
                         for (auto& l : *lines) {
                           double dx = l.x2 - l.x1, dy = l.y2 - l.y1, len = std::hypot(dx, dy);
                           double ox = -dy / len * sw / 2, oy = dx / len * sw / 2;
                           std::vector<pixman_triangle_t> t;
                           t.push_back({fx(l.x1 + ox, l.y1 + oy), fx(l.x2 + ox, l.y2 + oy), fx(l.x2 - ox, l.y2 - oy)});
                           t.push_back({fx(l.x1 + ox, l.y1 + oy), fx(l.x2 - ox, l.y2 - oy), fx(l.x1 - ox, l.y1 - oy)});
                           tris->push_back(std::move(t));
                         }
                         return std::function<void()>([=, &p] {
                           for (auto& t : *tris) pixTriangles(p, solid.get(), t);
                         });
                       },
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
                           caiColor(k.cr, kOpaque);
                           cairo_set_line_width(k.cr, sw);
                           cairo_set_line_cap(k.cr, CAIRO_LINE_CAP_BUTT);
                           for (auto& l : *lines) {
                             cairo_move_to(k.cr, l.x1, l.y1);
                             cairo_line_to(k.cr, l.x2, l.y2);
                             cairo_stroke(k.cr);
                           }
                         });
                       }});
  }

  // Circles, rings, arcs and rounded rectangles.
  struct ShapeSpec {
    std::string name;
    int count;
    float r;
    bool filled;
    int sw;
    float start, sweep;  // sweep 360: a whole circle
    bool rounded;
  };
  for (const ShapeSpec& s : std::vector<ShapeSpec>{
           {"circle_filled/r2_x1000", 1000, 2, true, 0, 0, 360, false},
           {"circle_filled/r10_x1000", 1000, 10, true, 0, 0, 360, false},
           {"circle_filled/r100_x100", 100, 100, true, 0, 0, 360, false},
           {"circle_outlined/r10_w2_x1000", 1000, 10, false, 2, 0, 360, false},
           {"circle_outlined/r100_w2_x100", 100, 100, false, 2, 0, 360, false},
           {"arc_pie/r50_180deg_x200", 200, 50, true, 0, 30, 180, false},
           {"arc_pie/r50_350deg_x200", 200, 50, true, 0, 100, 350, false},
           {"arc_ring/r50_w4_270deg_x200", 200, 50, false, 4, 45, 270, false},
           {"rounded_rect_filled/300x20_r10_x200", 200, 10, true, 0, 0, 0, true},
           {"rounded_rect_outlined/300x20_r10_w2_x200", 200, 10, false, 2, 0, 0, true},
       }) {
    float margin = s.rounded ? 160 : s.r + 2;
    auto centres = std::make_shared<std::vector<std::array<float, 2>>>(randomCentres(s.count, 1024, margin, 5));
    const bool circle = !s.rounded && s.sweep >= 360;
    all.push_back(Case{
        s.name, 1024, 1024,
        [=](Ours& o) {
          auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(kOpaque));
          return std::function<void()>([=] {
            for (auto& c : *centres) {
              if (s.rounded) {
                o.bc->_drawrectrounded2(Rect(c[0] - 150, c[1] - 10, c[0] + 150, c[1] + 10), brush, s.filled, s.sw,
                                        static_cast<int32_t>(s.r));
              } else if (circle) {
                o.bc->_drawcircle2(c[0], c[1], s.r, brush, s.filled, s.sw);
              } else {
                o.bc->_drawarc2(c[0], c[1], s.r, brush, s.filled, s.sw, s.start, s.sweep);
              }
            }
          });
        },
        [=](Pix& p) {
          auto col = pixColor(kOpaque);
          auto solid = std::shared_ptr<pixman_image_t>(pixman_image_create_solid_fill(&col), pixman_image_unref);
          auto tris = std::make_shared<std::vector<std::vector<pixman_triangle_t>>>();
          for (auto& c : *centres) {
            std::vector<pixman_triangle_t> t;
            double a0 = s.start * kPi / 180, a1 = (s.start + std::min(s.sweep, 360.0f)) * kPi / 180;
            if (s.rounded) {
              std::vector<std::array<double, 2>> poly;
              double l = c[0] - 150, tp = c[1] - 10, rr = c[0] + 150, b = c[1] + 10, r = s.r;
              for (auto [ax, ay, from] : std::vector<std::tuple<double, double, double>>{
                       {rr - r, b - r, 0}, {l + r, b - r, 90}, {l + r, tp + r, 180}, {rr - r, tp + r, 270}}) {
                auto arc = arcPoints(ax, ay, r, from * kPi / 180, (from + 90) * kPi / 180);
                poly.insert(poly.end(), arc.begin(), arc.end());
              }
              poly.push_back(poly.front());
              if (s.filled) {
                fan(t, c[0], c[1], poly);
              } else {
                std::vector<std::array<double, 2>> inner;
                double ir = std::max(0.0, r - s.sw);
                for (auto [ax, ay, from] : std::vector<std::tuple<double, double, double>>{
                         {rr - r, b - r, 0}, {l + r, b - r, 90}, {l + r, tp + r, 180}, {rr - r, tp + r, 270}}) {
                  auto arc = arcPoints(ax, ay, ir, from * kPi / 180, (from + 90) * kPi / 180);
                  inner.insert(inner.end(), arc.begin(), arc.end());
                }
                inner.push_back(inner.front());
                strip(t, poly, inner);
              }
            } else if (s.filled) {
              auto arc = arcPoints(c[0], c[1], s.r, a0, a1);
              fan(t, c[0], c[1], arc);
            } else {
              strip(t, arcPoints(c[0], c[1], s.r, a0, a1), arcPoints(c[0], c[1], s.r - s.sw, a0, a1));
            }
            tris->push_back(std::move(t));
          }
          return std::function<void()>([=, &p] {
            for (auto& t : *tris) pixTriangles(p, solid.get(), t);
          });
        },
        [=](Cai& k) {
          return std::function<void()>([=, &k] {
            cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
            caiColor(k.cr, kOpaque);
            cairo_set_line_cap(k.cr, CAIRO_LINE_CAP_BUTT);
            for (auto& c : *centres) {
              double a0 = s.start * kPi / 180, a1 = (s.start + std::min(s.sweep, 360.0f)) * kPi / 180;
              if (s.rounded) {
                double inset = s.filled ? 0 : s.sw / 2.0, r = s.r - inset;
                double l = c[0] - 150 + inset, tp = c[1] - 10 + inset, rr = c[0] + 150 - inset, b = c[1] + 10 - inset;
                cairo_new_sub_path(k.cr);
                cairo_arc(k.cr, rr - r, tp + r, r, -kPi / 2, 0);
                cairo_arc(k.cr, rr - r, b - r, r, 0, kPi / 2);
                cairo_arc(k.cr, l + r, b - r, r, kPi / 2, kPi);
                cairo_arc(k.cr, l + r, tp + r, r, kPi, 3 * kPi / 2);
                cairo_close_path(k.cr);
              } else if (s.filled) {
                if (!circle) cairo_move_to(k.cr, c[0], c[1]);
                cairo_arc(k.cr, c[0], c[1], s.r, a0, a1);
                cairo_close_path(k.cr);
              } else {
                cairo_new_sub_path(k.cr);
                cairo_arc(k.cr, c[0], c[1], s.r - s.sw / 2.0, a0, a1);
              }
              if (s.filled) {
                cairo_fill(k.cr);
              } else {
                cairo_set_line_width(k.cr, s.sw);
                cairo_stroke(k.cr);
              }
            }
          });
        }});
  }
  // Gradients over a whole canvas, opaque stops (Cairo and pixman interpolate premultiplied
  // colours, this library straight ones: the same for opaque colours), written with SOURCE.
  struct GradSpec {
    std::string name;
    int size;
    std::vector<uint32_t> stops;
    std::string orientation;  // "RADIAL" for the radial gradient
  };
  const std::vector<uint32_t> two{0xFF3366CC, 0xFFEECC22};
  const std::vector<uint32_t> eight{0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, 0xFFFFFFFF};
  for (const GradSpec& g : std::vector<GradSpec>{{"gradient_linear/left_right_2stops_1024", 1024, two, "LEFT_RIGHT"},
                                                 {"gradient_linear/top_bottom_2stops_1024", 1024, two, "TOP_BOTTOM"},
                                                 {"gradient_linear/tl_br_8stops_1024", 1024, eight, "TL_BR"},
                                                 {"gradient_radial/2stops_512", 512, two, "RADIAL"}}) {
    const double n = static_cast<double>(g.stops.size() - 1);
    const double size = g.size, corner = std::ceil(std::sqrt(2.0) * size / 2);
    // The gradient line: across, down, corner to corner, or centre to corner.
    const double x1 = g.orientation == "TOP_BOTTOM" ? 0 : size, y1 = g.orientation == "LEFT_RIGHT" ? 0 : size;
    all.push_back(Case{
        g.name, g.size, g.size,
        [=](Ours& o) {
          std::vector<int32_t> colors;
          for (uint32_t c : g.stops) colors.push_back(static_cast<int32_t>(c));
          return std::function<void()>([=] {
            if (g.orientation == "RADIAL") {
              o.bc->_fillradialgradient(colors, o.bc->targetrect);
            } else {
              o.bc->_fillgradient(colors, o.bc->targetrect, g.orientation);
            }
          });
        },
        [=](Pix& p) {
          std::vector<pixman_gradient_stop_t> stops;
          for (size_t i = 0; i < g.stops.size(); ++i)
            stops.push_back({pixman_double_to_fixed(i / n), pixColor(g.stops[i])});
          pixman_image_t* grad;
          if (g.orientation == "RADIAL") {
            pixman_point_fixed_t c{pixman_double_to_fixed(size / 2), pixman_double_to_fixed(size / 2)};
            grad = pixman_image_create_radial_gradient(&c, &c, 0, pixman_double_to_fixed(corner), stops.data(),
                                                       static_cast<int>(stops.size()));
          } else {
            pixman_point_fixed_t a{0, 0}, b{pixman_double_to_fixed(x1), pixman_double_to_fixed(y1)};
            grad = pixman_image_create_linear_gradient(&a, &b, stops.data(), static_cast<int>(stops.size()));
          }
          auto img = std::shared_ptr<pixman_image_t>(grad, pixman_image_unref);
          return std::function<void()>([=, &p] {
            pixman_image_composite32(PIXMAN_OP_SRC, img.get(), nullptr, p.img, 0, 0, 0, 0, 0, 0, g.size, g.size);
          });
        },
        [=](Cai& k) {
          cairo_pattern_t* pat = g.orientation == "RADIAL"
                                     ? cairo_pattern_create_radial(size / 2, size / 2, 0, size / 2, size / 2, corner)
                                     : cairo_pattern_create_linear(0, 0, x1, y1);
          for (size_t i = 0; i < g.stops.size(); ++i) {
            uint32_t c = g.stops[i];
            cairo_pattern_add_color_stop_rgba(pat, i / n, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                              (c & 0xFF) / 255.0, (c >> 24) / 255.0);
          }
          auto shared = std::shared_ptr<cairo_pattern_t>(pat, cairo_pattern_destroy);
          return std::function<void()>([=, &k] {
            cairo_set_operator(k.cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source(k.cr, shared.get());
            cairo_rectangle(k.cr, 0, 0, size, size);
            cairo_fill(k.cr);
          });
        }});
  }

  // Gradients over rectangles reaching far past the canvas, against the same fill over the
  // canvas itself (this library only): the cost must follow the part on the canvas. The long
  // strip's rings stand a million to each row; the radial one's centre is 10^38 away.
  {
    const std::vector<int32_t> colors{static_cast<int32_t>(two[0]), static_cast<int32_t>(two[1])};
    struct HugeSpec {
      std::string name, base;
      int size;
      Rect huge;
      bool radial;
    };
    all.push_back(Case{"gradient_rectangle/2stops_1024", 1024, 1024,
                       [=](Ours& o) {
                         return std::function<void()>(
                             [=] { o.bc->_fillgradient(colors, o.bc->targetrect, "RECTANGLE"); });
                       },
                       nullptr, nullptr});
    for (const HugeSpec& h :
         std::vector<HugeSpec>{{"gradient_huge/rectangle_4e6x1026_1024", "gradient_rectangle/2stops_1024", 1024,
                                Rect(-2e6f, -1, 2e6f + 1024, 1025), false},
                               {"gradient_huge/radial_2e9x1e38_512", "gradient_radial/2stops_512", 512,
                                Rect(-1e9f, -1e9f, 1e9f, 1e38f), true}}) {
      all.push_back(Case{h.name, h.size, h.size,
                         [=](Ours& o) {
                           return std::function<void()>([=] {
                             if (h.radial) {
                               o.bc->_fillradialgradient(colors, h.huge);
                             } else {
                               o.bc->_fillgradient(colors, h.huge, "RECTANGLE");
                             }
                           });
                         },
                         nullptr, nullptr});
      all.back().sameFillOnCanvas = h.base;
    }
  }

  // Filled paths: regular polygons at random places (each path made once; this library keeps
  // a path's preparation for filling between fills), and a long polyline stroked.
  struct PolySpec {
    std::string name;
    int count, vertices;
    float r;
  };
  for (const PolySpec& ps : std::vector<PolySpec>{{"path_fill/polygon8_r100_x100", 100, 8, 100},
                                                  {"path_fill/polygon64_r100_x100", 100, 64, 100},
                                                  {"path_fill/polygon512_r400_x10", 10, 512, 400}}) {
    auto centres = std::make_shared<std::vector<std::array<float, 2>>>(randomCentres(ps.count, 1024, ps.r + 2, 13));
    auto polys = std::make_shared<std::vector<std::vector<std::array<double, 2>>>>();
    for (auto& c : *centres) {
      std::vector<std::array<double, 2>> poly;
      for (int i = 0; i < ps.vertices; ++i) {
        double a = 2 * kPi * i / ps.vertices;
        poly.push_back({c[0] + ps.r * std::cos(a), c[1] + ps.r * std::sin(a)});
      }
      polys->push_back(std::move(poly));
    }
    all.push_back(Case{ps.name, 1024, 1024,
                       [=](Ours& o) {
                         auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(kOpaque));
                         auto paths = std::make_shared<std::vector<std::shared_ptr<tm_bcpath>>>();
                         for (auto& poly : *polys) {
                           auto p = std::make_shared<tm_bcpath>();
                           p->_initialize(dispatcher(), static_cast<float>(poly[0][0]), static_cast<float>(poly[0][1]));
                           for (size_t i = 1; i < poly.size(); ++i)
                             p->_lineto(static_cast<float>(poly[i][0]), static_cast<float>(poly[i][1]));
                           paths->push_back(p);
                         }
                         return std::function<void()>([=] {
                           for (auto& p : *paths) o.bc->_drawpath2(p, brush, true, 0);
                         });
                       },
                       [=](Pix& p) {
                         auto c = pixColor(kOpaque);
                         auto solid =
                             std::shared_ptr<pixman_image_t>(pixman_image_create_solid_fill(&c), pixman_image_unref);
                         auto tris = std::make_shared<std::vector<std::vector<pixman_triangle_t>>>();
                         for (size_t i = 0; i < polys->size(); ++i) {
                           auto poly = (*polys)[i];
                           poly.push_back(poly.front());
                           std::vector<pixman_triangle_t> t;
                           fan(t, (*centres)[i][0], (*centres)[i][1], poly);
                           tris->push_back(std::move(t));
                         }
                         return std::function<void()>([=, &p] {
                           for (auto& t : *tris) pixTriangles(p, solid.get(), t);
                         });
                       },
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
                           caiColor(k.cr, kOpaque);
                           for (auto& poly : *polys) {
                             cairo_move_to(k.cr, poly[0][0], poly[0][1]);
                             for (size_t i = 1; i < poly.size(); ++i) cairo_line_to(k.cr, poly[i][0], poly[i][1]);
                             cairo_close_path(k.cr);
                             cairo_fill(k.cr);
                           }
                         });
                       }});
  }
  {
    // A polyline of 1000 segments, 3 pixels wide, joints bevelled.
    std::mt19937 rng(17);
    std::uniform_real_distribution<float> step(-40, 40);
    auto pts = std::make_shared<std::vector<std::array<float, 2>>>();
    float x = 512, y = 512;
    for (int i = 0; i <= 1000; ++i) {
      pts->push_back({x, y});
      x = std::clamp(x + step(rng), 20.0f, 1004.0f);
      y = std::clamp(y + step(rng), 20.0f, 1004.0f);
    }
    all.push_back(Case{"path_stroke/polyline1000_w3", 1024, 1024,
                       [=](Ours& o) {
                         auto brush = o.bc->_createbrushfromcolor(static_cast<int32_t>(kOpaque));
                         auto p = std::make_shared<tm_bcpath>();
                         p->_initialize(dispatcher(), (*pts)[0][0], (*pts)[0][1]);
                         for (size_t i = 1; i < pts->size(); ++i) p->_lineto((*pts)[i][0], (*pts)[i][1]);
                         return std::function<void()>([=] { o.bc->_drawpath2(p, brush, false, 3); });
                       },
                       nullptr,
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
                           caiColor(k.cr, kOpaque);
                           cairo_set_line_width(k.cr, 3);
                           cairo_set_line_cap(k.cr, CAIRO_LINE_CAP_BUTT);
                           cairo_set_line_join(k.cr, CAIRO_LINE_JOIN_BEVEL);
                           cairo_move_to(k.cr, (*pts)[0][0], (*pts)[0][1]);
                           for (size_t i = 1; i < pts->size(); ++i) cairo_line_to(k.cr, (*pts)[i][0], (*pts)[i][1]);
                           cairo_stroke(k.cr);
                         });
                       }});
  }

  // Compressed bitmaps: a 256² sprite (a disc in bands of one colour, clear around it: about
  // half transparent, long runs of one colour) drawn 100 times at random places. The sprite's
  // pixels are opaque or clear, so OVER gives the same picture as the library's replacing runs.
  {
    auto sprite = makeBc(256, 256);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const double dx = x - 127.5, dy = y - 127.5;
        if (dx * dx + dy * dy > 120.0 * 120.0) continue;
        uint8_t* q = sprite->mbuffer.data() + (y * 256 + x) * 4;
        const int band = y / 16;
        q[0] = static_cast<uint8_t>(band * 15), q[1] = static_cast<uint8_t>(255 - band * 15), q[2] = 90, q[3] = 255;
      }
    auto images = std::make_shared<SourceImages>(sprite);
    auto spots = std::make_shared<std::vector<std::array<float, 2>>>(randomCentres(100, 1024 - 256, 0, 19));
    all.push_back(Case{
        "compressed_draw/sprite256_x100", 1024, 1024,
        [=](Ours& o) {
          auto cache = std::make_shared<_internalcompressedbccache>();
          cache->Initialize();
          cache->ColorsMap.Initialize();
          auto cbc = images->bc->_extractcompressedbc(images->bc->targetrect, cache);
          return std::function<void()>([=] {
            for (auto& s : *spots)
              o.bc->_drawcompressedbitmap(cbc, cbc->TargetRect, static_cast<int32_t>(s[0]), static_cast<int32_t>(s[1]));
          });
        },
        [=](Pix& p) {
          return std::function<void()>([=, &p] {
            for (auto& s : *spots)
              pixman_image_composite32(PIXMAN_OP_OVER, images->pix, nullptr, p.img, 0, 0, 0, 0, static_cast<int>(s[0]),
                                       static_cast<int>(s[1]), 256, 256);
          });
        },
        [=](Cai& k) {
          return std::function<void()>([=, &k] {
            cairo_set_operator(k.cr, CAIRO_OPERATOR_OVER);
            for (auto& s : *spots) {
              cairo_set_source_surface(k.cr, images->cai, static_cast<int>(s[0]), static_cast<int>(s[1]));
              cairo_rectangle(k.cr, static_cast<int>(s[0]), static_cast<int>(s[1]), 256, 256);
              cairo_fill(k.cr);
            }
          });
        }});
    // The same sprite drawn rotated by 30° into a 384² area: four samples per source pixel
    // here, bilinear sampling there.
    all.push_back(Case{"compressed_rotated/sprite256_30deg", 384, 384,
                       [=](Ours& o) {
                         auto cache = std::make_shared<_internalcompressedbccache>();
                         cache->Initialize();
                         cache->ColorsMap.Initialize();
                         auto cbc = images->bc->_extractcompressedbc(images->bc->targetrect, cache);
                         auto aa = std::make_shared<_internalantialiasingbuffer>();
                         return std::function<void()>([=] { o.bc->_drawrotatedcbc(cbc, 30, 384, 384, aa); });
                       },
                       nullptr,
                       [=](Cai& k) {
                         return std::function<void()>([=, &k] {
                           cairo_save(k.cr);
                           cairo_set_operator(k.cr, CAIRO_OPERATOR_SOURCE);
                           cairo_translate(k.cr, 192, 192);
                           cairo_rotate(k.cr, 30 * kPi / 180);
                           cairo_set_source_surface(k.cr, images->cai, -128, -128);
                           cairo_pattern_set_filter(cairo_get_source(k.cr), CAIRO_FILTER_BILINEAR);
                           cairo_rectangle(k.cr, -128, -128, 256, 256);
                           cairo_fill(k.cr);
                           cairo_restore(k.cr);
                         });
                       }});
  }
  return all;
}

// --- Running and the ratio table ---------------------------------------------------------------

struct Result {
  double ns[4] = {0, 0, 0, 0};  // ours, pixman, Cairo, memset
  double coverage[4] = {0, 0, 0, 0};
};
std::map<std::string, Result>& results() {
  static std::map<std::string, Result> r;
  return r;
}
std::vector<std::string>& order() {
  static std::vector<std::string> o;
  return o;
}

double alphaSum(const uint8_t* bytes, size_t pixels, size_t alphaIndex) {
  double s = 0;
  for (size_t i = 0; i < pixels; ++i) s += bytes[i * 4 + alphaIndex];
  return s;
}

void runCase(benchmark::State& state, const Case& c, int lib) {
  Canvases cv(c.w, c.h);
  std::function<void()> draw;
  if (lib == 0) draw = c.ours(cv.ours);
  if (lib == 1) draw = c.pix(cv.pix);
  if (lib == 2) draw = c.cai(cv.cai);
  if (lib == 3) {
    ByteArray bytes = cv.ours.bc->mbuffer;
    draw = [bytes]() mutable { std::memset(bytes.data(), 0x33, static_cast<size_t>(bytes.Length())); };
  }
  // One drawing on the clean canvas, for the work-equality column.
  draw();
  double cov = 0;
  size_t n = static_cast<size_t>(c.w) * c.h;
  if (lib == 0) cov = alphaSum(cv.ours.bc->mbuffer.data(), n, 3);
  if (lib == 1) cov = alphaSum(reinterpret_cast<const uint8_t*>(cv.pix.bits.data()), n, 3);
  if (lib == 2) {
    cairo_surface_flush(cv.cai.surf);
    cov = alphaSum(cairo_image_surface_get_data(cv.cai.surf), n, 3);
  }
  results()[c.name].coverage[lib] = cov;
  for (auto _ : state) {
    draw();
    benchmark::ClobberMemory();
  }
  if (c.memsetLimit) state.counters["pixels/s"] = benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate);
  if (lib == 2) cairo_surface_flush(cv.cai.surf);
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
      std::string name = r.run_name.function_name;
      auto slash = name.rfind('/');
      std::string base = name.substr(0, slash), lib = name.substr(slash + 1);
      int idx = lib == "ours" ? 0 : lib == "pixman" ? 1 : lib == "cairo" ? 2 : 3;
      results()[base].ns[idx] = r.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(r.time_unit);
    }
  }
};

std::string fmtTime(double ns) {
  if (ns <= 0) return "-";  // no like-for-like operation
  char b[32];
  if (ns >= 1e6) {
    std::snprintf(b, sizeof b, "%.2f ms", ns / 1e6);
  } else if (ns >= 1e3) {
    std::snprintf(b, sizeof b, "%.1f µs", ns / 1e3);
  } else {
    std::snprintf(b, sizeof b, "%.0f ns", ns);
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  static const std::vector<Case> all = cases();
  const char* libs[4] = {"ours", "pixman", "cairo", "memset"};
  for (const Case& c : all) {
    order().push_back(c.name);
    for (int lib = 0; lib < 4; ++lib) {
      // A library with no like-for-like operation has no row of its own.
      if ((lib == 1 && !c.pix) || (lib == 2 && !c.cai) || (lib == 3 && !c.memsetLimit)) continue;
      benchmark::RegisterBenchmark((c.name + "/" + libs[lib]).c_str(),
                                   [&c, lib](benchmark::State& s) { runCase(s, c, lib); })
          ->MinTime(0.2)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf(
      "\n| operation | this library | pixman | Cairo | pixman ÷ ours | Cairo ÷ ours | alpha drawn ours : pixman : "
      "Cairo |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const auto& name : order()) {
    auto it = results().find(name);
    if (it == results().end() || it->second.ns[0] == 0) continue;
    const Result& r = it->second;
    auto ratio = [&](int i) {
      char b[16];
      std::snprintf(b, sizeof b, "%.2f", r.ns[i] / r.ns[0]);
      return std::string(r.ns[i] > 0 ? b : "-");
    };
    auto rel = [&](int i) {
      if (r.ns[i] <= 0) return std::string("-");
      char b[16];
      std::snprintf(b, sizeof b, "%.2f", r.coverage[0] > 0 ? r.coverage[i] / r.coverage[0] : 0.0);
      return std::string(b);
    };
    std::printf("| %s | %s | %s | %s | %s | %s | 1 : %s : %s |\n", name.c_str(), fmtTime(r.ns[0]).c_str(),
                fmtTime(r.ns[1]).c_str(), fmtTime(r.ns[2]).c_str(), ratio(1).c_str(), ratio(2).c_str(), rel(1).c_str(),
                rel(2).c_str());
  }
  // Fills against a plain memset of the same bytes, in pixels per second.
  bool header = false;
  for (const Case& c : all) {
    auto it = results().find(c.name);
    if (!c.memsetLimit || it == results().end() || it->second.ns[0] <= 0 || it->second.ns[3] <= 0) continue;
    if (!header) {
      std::printf(
          "\n| operation | this library | memset of the same bytes | ours Gpix/s | memset Gpix/s | memset ÷ ours |\n");
      std::printf("|---|---|---|---|---|---|\n");
      header = true;
    }
    const double pixels = static_cast<double>(c.w) * c.h;
    const Result& r = it->second;
    std::printf("| %s | %s | %s | %.2f | %.2f | %.2f |\n", c.name.c_str(), fmtTime(r.ns[0]).c_str(),
                fmtTime(r.ns[3]).c_str(), pixels / r.ns[0], pixels / r.ns[3], r.ns[3] / r.ns[0]);
  }
  // Fills of rectangles reaching far past the canvas against the same fill over the canvas.
  header = false;
  for (const Case& c : all) {
    auto it = results().find(c.name), base = results().find(c.sameFillOnCanvas);
    if (c.sameFillOnCanvas.empty() || it == results().end() || base == results().end() || it->second.ns[0] <= 0 ||
        base->second.ns[0] <= 0)
      continue;
    if (!header) {
      std::printf("\n| far-reaching fill | time | the same fill over the canvas | time | far ÷ canvas |\n");
      std::printf("|---|---|---|---|---|\n");
      header = true;
    }
    std::printf("| %s | %s | %s | %s | %.2f |\n", c.name.c_str(), fmtTime(it->second.ns[0]).c_str(),
                c.sameFillOnCanvas.c_str(), fmtTime(base->second.ns[0]).c_str(), it->second.ns[0] / base->second.ns[0]);
  }
  benchmark::Shutdown();
  return 0;
}
