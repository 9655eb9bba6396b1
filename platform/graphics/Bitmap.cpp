#include "platform/graphics/Bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>

#include "platform/core/RuntimeError.h"
#include "platform/graphics/CairoPixels.h"

namespace tmr {

namespace {

constexpr int64_t kMaxBytes = std::numeric_limits<int32_t>::max();

int checkedSide(int64_t side) { return side < 0 ? 0 : static_cast<int>(side); }

// For each output index along one axis: the source indices and their weights. Shrinking
// averages the source interval that the output pixel covers; enlarging interpolates linearly
// between the two nearest source pixel centres (clamped at the edges).
struct Tap {
  int index;
  float weight;
};
std::vector<std::vector<Tap>> axisTaps(int src, int64_t dst, int64_t from, int count) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(std::max(count, 0)));
  if (src <= 0 || dst <= 0) return taps;
  double scale = static_cast<double>(src) / static_cast<double>(dst);
  for (int j = 0; j < count; ++j) {
    const double i = static_cast<double>(from + j);
    auto& t = taps[static_cast<size_t>(j)];
    if (scale > 1.0) {
      double a = i * scale, b = (i + 1) * scale;
      for (int s = static_cast<int>(std::floor(a)); s < b && s < src; ++s) {
        double w = std::min<double>(s + 1, b) - std::max<double>(s, a);
        if (w > 0) t.push_back({s, static_cast<float>(w / scale)});
      }
    } else {
      double c = (i + 0.5) * scale - 0.5;
      c = std::clamp(c, 0.0, static_cast<double>(src - 1));
      int s0 = static_cast<int>(std::floor(c));
      int s1 = std::min(s0 + 1, src - 1);
      float f = static_cast<float>(c - s0);
      t.push_back({s0, 1.0f - f});
      if (f > 0 && s1 != s0) t.push_back({s1, f});
    }
  }
  return taps;
}

}  // namespace

Bitmap::Bitmap(int width, int height) : width_(checkedSide(width)), height_(checkedSide(height)) {
  int64_t bytes = static_cast<int64_t>(width_) * height_ * 4;
  if (bytes > kMaxBytes)
    throw RuntimeError("Bitmap too large: " + std::to_string(width_) + "x" + std::to_string(height_));
  pixels_.assign(static_cast<size_t>(bytes), 0);
}

std::shared_ptr<Bitmap> Bitmap::Create(int width, int height) { return std::make_shared<Bitmap>(width, height); }

std::shared_ptr<Bitmap> Bitmap::FromPixels(int width, int height, std::span<const uint8_t> rgba) {
  auto b = Create(width, height);
  if (rgba.size() < b->pixels_.size()) throw RuntimeError("Bitmap pixels too short");
  if (!b->pixels_.empty()) std::memcpy(b->pixels_.data(), rgba.data(), b->pixels_.size());
  return b;
}

std::shared_ptr<Bitmap> Bitmap::Resize(float width, float height, bool keepAspectRatio) const {
  double w = std::isfinite(width) ? width : 0, h = std::isfinite(height) ? height : 0;
  if (keepAspectRatio && width_ > 0 && height_ > 0) {
    double s = std::min(w / width_, h / height_);
    w = width_ * s;
    h = height_ * s;
  }
  int nw = checkedSide(static_cast<int64_t>(std::clamp(w, 0.0, 1e9)));
  int nh = checkedSide(static_cast<int64_t>(std::clamp(h, 0.0, 1e9)));
  if (nw == width_ && nh == height_) {
    auto out = Create(nw, nh);
    out->pixels_ = pixels_;
    return out;
  }
  return ResizedPart(nw, nh, 0, 0, nw, nh);
}

std::shared_ptr<Bitmap> Bitmap::ResizedPart(int64_t width, int64_t height, int64_t left, int64_t top, int partWidth,
                                            int partHeight) const {
  auto out = Create(partWidth, partHeight);
  const int pw = out->width_, ph = out->height_;
  if (pw == 0 || ph == 0 || width <= 0 || height <= 0 || width_ == 0 || height_ == 0) return out;
  // Separable: rows first into a float buffer of pw × height_, then columns.
  auto tx = axisTaps(width_, width, left, pw), ty = axisTaps(height_, height, top, ph);
  std::vector<float> mid(static_cast<size_t>(pw) * height_ * 4);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* srow = pixels_.data() + static_cast<size_t>(y) * width_ * 4;
    float* mrow = mid.data() + static_cast<size_t>(y) * pw * 4;
    for (int x = 0; x < pw; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (const Tap& t : tx[static_cast<size_t>(x)])
        for (int ch = 0; ch < 4; ++ch) acc[ch] += t.weight * srow[t.index * 4 + ch];
      std::memcpy(mrow + x * 4, acc, sizeof acc);
    }
  }
  for (int y = 0; y < ph; ++y) {
    uint8_t* orow = out->pixels_.data() + static_cast<size_t>(y) * pw * 4;
    for (int x = 0; x < pw; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (const Tap& t : ty[static_cast<size_t>(y)])
        for (int ch = 0; ch < 4; ++ch) acc[ch] += t.weight * mid[(static_cast<size_t>(t.index) * pw + x) * 4 + ch];
      // Premultiplied colour may not exceed its alpha after rounding.
      int a = std::clamp(static_cast<int>(std::lround(acc[3])), 0, 255);
      for (int ch = 0; ch < 3; ++ch)
        orow[x * 4 + ch] = static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(acc[ch])), 0, a));
      orow[x * 4 + 3] = static_cast<uint8_t>(a);
    }
  }
  return out;
}

std::shared_ptr<Bitmap> Bitmap::LoadPng(const std::string& path) {
  // The size the file declares comes first (the IHDR chunk right after the signature), so a
  // picture too large is refused before anything is decoded.
  {
    unsigned char head[24] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (in.gcount() == static_cast<std::streamsize>(sizeof head) && std::memcmp(head, kSignature, 8) == 0 &&
        std::memcmp(head + 12, "IHDR", 4) == 0) {
      auto word = [&](int at) {
        return uint32_t{head[at]} << 24 | uint32_t{head[at + 1]} << 16 | uint32_t{head[at + 2]} << 8 | head[at + 3];
      };
      const uint32_t w = word(16), h = word(20);
      if (w > kMaxPngSide || h > kMaxPngSide)
        throw RuntimeError("Image too large: " + path + " is " + std::to_string(w) + "x" + std::to_string(h) +
                           " pixels (at most " + std::to_string(kMaxPngSide) + " on a side)");
    }
  }
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  Surface png(cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
  if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) throw RuntimeError("Cannot read image: " + path);
  const int w = cairo_image_surface_get_width(png.get()), h = cairo_image_surface_get_height(png.get());
  auto b = Create(w, h);
  if (w == 0 || h == 0) return b;
  cairo_surface_flush(png.get());
  if (cairo_image_surface_get_format(png.get()) == CAIRO_FORMAT_ARGB32) {
    CopyArgbToRgba(cairo_image_surface_get_data(png.get()), cairo_image_surface_get_stride(png.get()), w, h,
                   b->pixels_.data());
    return b;
  }
  // Any other stored format is brought to 32-bit premultiplied ARGB by painting it, a band of
  // rows at a time: decoding holds the decoded picture and the bitmap, and no third copy.
  constexpr int kBandRows = 64;
  Surface band(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, std::min(h, kBandRows)), &cairo_surface_destroy);
  for (int top = 0; top < h; top += kBandRows) {
    cairo_t* cr = cairo_create(band.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, png.get(), 0, -top);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(band.get());
    CopyArgbToRgba(cairo_image_surface_get_data(band.get()), cairo_image_surface_get_stride(band.get()), w,
                   std::min(kBandRows, h - top), b->pixels_.data() + static_cast<size_t>(top) * w * 4);
  }
  return b;
}

void Bitmap::WritePng(const std::string& path) const {
  if (width_ == 0 || height_ == 0) throw RuntimeError("Cannot write an empty image: " + path);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
  cairo_surface_flush(s);
  uint8_t* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height_; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    const uint8_t* in = pixels_.data() + static_cast<size_t>(y) * width_ * 4;
    for (int x = 0; x < width_; ++x)
      row[x] = (uint32_t{in[x * 4 + 3]} << 24) | (uint32_t{in[x * 4]} << 16) | (uint32_t{in[x * 4 + 1]} << 8) |
               in[x * 4 + 2];
  }
  cairo_surface_mark_dirty(s);
  cairo_status_t st = cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
  if (st != CAIRO_STATUS_SUCCESS) throw RuntimeError("Cannot write image: " + path);
}

std::string Bitmap::description() const { return "(Bitmap) " + std::to_string(width_) + "x" + std::to_string(height_); }

}  // namespace tmr
