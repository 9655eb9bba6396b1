// The buffer, colour conversions, single pixels, blends, the HSV writer, column buffers and
// point routines, the records' set-up and the sub table.
#include "bitmap/tm_bitmapcreator.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

using namespace bcnum;

// --- Records -------------------------------------------------------------------------------

void _bcbrush::Initialize() {
  IsInitialized = true;
  Source = std::make_shared<tm_bitmapcreator>();
  SrcOffsetX = SrcOffsetY = 0;
  IsColorSource = BlendAll = BlendBorders = false;
  ColorPM = std::make_shared<_premultipliedcolor>();
}

// Object fields are added one by one: GCC 12 misreads brace-initialised lists of Objects
// holding references as uninitialised.
std::vector<std::pair<std::string, Object>> _bcbrush::fields() const {
  std::vector<std::pair<std::string, Object>> f;
  f.emplace_back("Source", Source ? Object(Source) : Object());
  f.emplace_back("SrcOffsetX", SrcOffsetX);
  f.emplace_back("SrcOffsetY", SrcOffsetY);
  f.emplace_back("IsColorSource", IsColorSource);
  f.emplace_back("BlendAll", BlendAll);
  f.emplace_back("BlendBorders", BlendBorders);
  f.emplace_back("ColorPM", ColorPM ? Object(ColorPM) : Object());
  return f;
}

void _drawtask::Initialize() {
  IsInitialized = true;
  Source = Object();
  SrcRect = Rect();
  TargetX = TargetY = 0;
  SkipBlending = false;
  SrcScaleX = SrcScaleY = 0;
  Degrees = 0;
  Transform = IsCompressedSource = IsCanvasTask = false;
  TargetBC = std::make_shared<tm_bitmapcreator>();
  CanvasTask = std::make_shared<_internalcanvasdrawtask>();
}

std::vector<std::pair<std::string, Object>> _drawtask::fields() const {
  std::vector<std::pair<std::string, Object>> f;
  f.emplace_back("Source", Source);
  f.emplace_back("SrcRect", Object(std::make_shared<Rect>(SrcRect)));
  f.emplace_back("TargetX", TargetX);
  f.emplace_back("TargetY", TargetY);
  f.emplace_back("SkipBlending", SkipBlending);
  f.emplace_back("SrcScaleX", SrcScaleX);
  f.emplace_back("SrcScaleY", SrcScaleY);
  f.emplace_back("Degrees", Degrees);
  f.emplace_back("Transform", Transform);
  f.emplace_back("IsCompressedSource", IsCompressedSource);
  f.emplace_back("TargetBC", TargetBC ? Object(TargetBC) : Object());
  f.emplace_back("IsCanvasTask", IsCanvasTask);
  f.emplace_back("CanvasTask", CanvasTask ? Object(CanvasTask) : Object());
  return f;
}

// --- Set-up --------------------------------------------------------------------------------

const SubTable& tm_bitmapcreator::subTable() const {
  static const SubTable table{
      sub<&tm_bitmapcreator::_initialize>("_initialize:::"),
      sub<&tm_bitmapcreator::UIImageToBuffer>("UIImageToBuffer:::::"),
      sub<&tm_bitmapcreator::bufferToUIImage>("bufferToUIImage:::"),
      sub<&tm_bitmapcreator::_getcolor>("_getcolor::"),
      sub<&tm_bitmapcreator::_setcolor>("_setcolor:::"),
      sub<&tm_bitmapcreator::_istransparent>("_istransparent::"),
      sub<&tm_bitmapcreator::_sethsv>("_sethsv::::::"),
      sub<&tm_bitmapcreator::_fillhorizontalline>("_fillhorizontalline::::"),
      sub<&tm_bitmapcreator::_getbitmap>("_getbitmap"),
      sub<&tm_bitmapcreator::_getbuffer>("_getbuffer"),
      sub<&tm_bitmapcreator::_copypixelsfrombitmap>("_copypixelsfrombitmap:"),
      sub<&tm_bitmapcreator::_preparecolumns>("_preparecolumns:"),
      sub<&tm_bitmapcreator::DrawBitmapCreatorsAsync>("DrawBitmapCreatorsAsync:::"),
      sub<&tm_bitmapcreator::_drawbitmapcreatorsasync>("_drawbitmapcreatorsasync:::"),
      sub<&tm_bitmapcreator::_drawcanvasasync>("_drawcanvasasync:"),
  };
  return table;
}

void tm_bitmapcreator::_class_globals() {
  mbuffer = ByteArray();
  mwidth = mheight = 0;
  ai = ri = gi = bi = 0;
  tempargb = std::make_shared<_argbcolor>();
  temppm = std::make_shared<_premultipliedcolor>();
  temppm2 = std::make_shared<_premultipliedcolor>();
  shouldclearbeforeextracting = false;
  targetrect = Rect();
  unsignedff = 0;
  cache_transparent = 0;
  cache_solid = 1;
  same_color_length_for_cache = 40;
  max_same_color_size = 5000;
  readycolumns.clear();
  alphathresholdforcbcextraction = 30;
}

void tm_bitmapcreator::_initialize(const std::shared_ptr<Dispatcher>& ba, int32_t Width, int32_t Height) {
  if (!ba) throw RuntimeError("tm_bitmapcreator needs a dispatcher");
  // The runtime's arrays are indexed by Int: a larger buffer cannot exist. Two Ints multiply
  // within 64 bits; four bytes a pixel are counted once the pixels are known to fit.
  if (Width < 0 || Height < 0 || int64_t{Width} * Height > std::numeric_limits<int32_t>::max() / 4)
    throw RuntimeError("Invalid bitmap size: " + std::to_string(Width) + "x" + std::to_string(Height));
  ByteArray buffer(Width * Height * 4);
  initializeClassModule(ba->runtime());
  unsignedff = 255;
  mwidth = Width;
  mheight = Height;
  mbuffer = buffer;
  ai = 3;
  ri = 0;
  gi = 1;
  bi = 2;
  targetrect.Initialize(0, 0, static_cast<float>(Width), static_cast<float>(Height));
}

// --- Colours -------------------------------------------------------------------------------

std::shared_ptr<_argbcolor> tm_bitmapcreator::_colortoargb(int32_t Color, std::shared_ptr<_argbcolor> Result) {
  if (!Result) Result = std::make_shared<_argbcolor>();
  uint32_t c = static_cast<uint32_t>(Color);
  Result->a = static_cast<int32_t>((c >> 24) & 0xFF);
  Result->r = static_cast<int32_t>((c >> 16) & 0xFF);
  Result->g = static_cast<int32_t>((c >> 8) & 0xFF);
  Result->b = static_cast<int32_t>(c & 0xFF);
  return Result;
}

int32_t tm_bitmapcreator::_argbtocolor(const std::shared_ptr<_argbcolor>& Color) {
  if (!Color) return 0;
  // Added, not ORed: channels outside 0..255 spill into their neighbours, in 32-bit wrap-around.
  uint32_t v = (static_cast<uint32_t>(Color->a) << 24) + (static_cast<uint32_t>(Color->r) << 16) +
               (static_cast<uint32_t>(Color->g) << 8) + static_cast<uint32_t>(Color->b);
  return static_cast<int32_t>(v);
}

namespace {
// factor = a / 255.0 in double, rounded to single precision.
inline float alphaFactor(int32_t a) { return static_cast<float>(a / 255.0); }
}  // namespace

std::shared_ptr<_premultipliedcolor> tm_bitmapcreator::_argbtopremultipliedcolor(
    const std::shared_ptr<_argbcolor>& Color, std::shared_ptr<_premultipliedcolor> Result) {
  if (!Result) Result = std::make_shared<_premultipliedcolor>();
  if (!Color) return Result;
  float factor = alphaFactor(Color->a);
  int32_t a = Color->a, r = Color->r, g = Color->g, b = Color->b;
  Result->a = a;
  Result->r = truncInt(static_cast<float>(r) * factor);
  Result->g = truncInt(static_cast<float>(g) * factor);
  Result->b = truncInt(static_cast<float>(b) * factor);
  return Result;
}

// --- Single pixels ---------------------------------------------------------------------------

std::shared_ptr<_premultipliedcolor> tm_bitmapcreator::_getpremultipliedcolor(
    int32_t X, int32_t Y, std::shared_ptr<_premultipliedcolor> Result) {
  if (!Result) Result = std::make_shared<_premultipliedcolor>();
  if (!inside(X, Y)) {
    Result->a = Result->r = Result->g = Result->b = 0;
    return Result;
  }
  const uint8_t* p = pixelAt(X, Y);
  Result->r = p[0];
  Result->g = p[1];
  Result->b = p[2];
  Result->a = p[3];
  return Result;
}

void tm_bitmapcreator::_setpremultipliedcolor(int32_t X, int32_t Y, const std::shared_ptr<_premultipliedcolor>& Color) {
  if (!Color || !inside(X, Y)) return;
  uint8_t* p = pixelAt(X, Y);
  p[0] = static_cast<uint8_t>(Color->r);
  p[1] = static_cast<uint8_t>(Color->g);
  p[2] = static_cast<uint8_t>(Color->b);
  p[3] = static_cast<uint8_t>(Color->a);
}

std::shared_ptr<_argbcolor> tm_bitmapcreator::_getargb(int32_t X, int32_t Y, std::shared_ptr<_argbcolor> Result) {
  if (!Result) Result = std::make_shared<_argbcolor>();
  if (!inside(X, Y)) {
    Result->a = Result->r = Result->g = Result->b = 0;
    return Result;
  }
  const uint8_t* p = pixelAt(X, Y);
  int32_t a = p[3];
  Result->a = a;
  if (a == 0) {
    Result->r = Result->g = Result->b = 0;
    return Result;
  }
  // Rounding is not corrected: premultiplying and reading back may lose a step per channel.
  double factor = alphaFactor(a);
  Result->r = truncInt(p[0] / factor);
  Result->g = truncInt(p[1] / factor);
  Result->b = truncInt(p[2] / factor);
  return Result;
}

void tm_bitmapcreator::_setargb(int32_t X, int32_t Y, const std::shared_ptr<_argbcolor>& Color) {
  if (!Color) return;
  _argbtopremultipliedcolor(Color, temppm);
  _setpremultipliedcolor(X, Y, temppm);
}

int32_t tm_bitmapcreator::_getcolor(int32_t X, int32_t Y) { return _argbtocolor(_getargb(X, Y, tempargb)); }

void tm_bitmapcreator::_setcolor(int32_t X, int32_t Y, int32_t Color) { _setargb(X, Y, _colortoargb(Color, tempargb)); }

bool tm_bitmapcreator::_istransparent(int32_t X, int32_t Y) { return !inside(X, Y) || pixelAt(X, Y)[3] == 0; }

void tm_bitmapcreator::_blendpixel(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX, int32_t SrcY,
                                   int32_t TargetX, int32_t TargetY) {
  if (!Source || !Source->inside(SrcX, SrcY) || !inside(TargetX, TargetY)) return;
  uint8_t s[4];
  std::memcpy(s, Source->pixelAt(SrcX, SrcY), 4);
  bckernels::blendPixel(pixelAt(TargetX, TargetY), s);
}

void tm_bitmapcreator::_blendpixel2(const std::shared_ptr<_premultipliedcolor>& Color, int32_t X, int32_t Y) {
  if (!Color || !inside(X, Y)) return;
  uint8_t s[4] = {static_cast<uint8_t>(Color->r), static_cast<uint8_t>(Color->g), static_cast<uint8_t>(Color->b),
                  static_cast<uint8_t>(Color->a)};
  // The rule compares the whole alpha value, not its low byte.
  if (Color->a == unsignedff) {
    std::memcpy(pixelAt(X, Y), s, 4);
  } else if (Color->a != 0) {
    uint8_t* d = pixelAt(X, Y);
    float k = static_cast<float>(1.0 - Color->a / 255.0);
    for (int c = 0; c < 4; ++c) {
      float t = k * static_cast<float>(d[c]);
      d[c] = static_cast<uint8_t>(truncInt(static_cast<float>(s[c]) + t));
    }
  }
}

void tm_bitmapcreator::_sethsv(int32_t X, int32_t Y, int32_t Alpha, int32_t Hue, float Saturation, float Value) {
  int32_t i = truncInt(std::floor(Hue / 60.0));
  int32_t sector = i % 6;
  float f = static_cast<float>(Hue / 60.0 - i);
  float p = Value * (1 - Saturation);
  float q = Value * (1 - f * Saturation);
  float t = Value * (1 - (1 - f) * Saturation);
  float r = 0, g = 0, b = 0;
  switch (sector) {
    case 0:
      r = Value, g = t, b = p;
      break;
    case 1:
      r = q, g = Value, b = p;
      break;
    case 2:
      r = p, g = Value, b = t;
      break;
    case 3:
      r = p, g = q, b = Value;
      break;
    case 4:
      r = t, g = p, b = Value;
      break;
    case 5:
      r = Value, g = p, b = q;
      break;
    default:
      break;  // a negative sector: black
  }
  tempargb->a = Alpha;
  tempargb->r = truncInt(r * 255);
  tempargb->g = truncInt(g * 255);
  tempargb->b = truncInt(b * 255);
  _setargb(X, Y, tempargb);
}

// --- Column buffers and point routines -----------------------------------------------------

std::shared_ptr<_internalbccolumn> tm_bitmapcreator::_createcolumn(int32_t StartY, int32_t EndY) {
  auto c = std::make_shared<_internalbccolumn>();
  c->Initialize();
  c->StartY = StartY;
  c->EndY = EndY;
  c->Values.assign(static_cast<size_t>(std::max<int64_t>(0, int64_t{EndY} - StartY)), 0.0f);
  return c;
}

void tm_bitmapcreator::_preparecolumns(int32_t Count) {
  while (static_cast<int64_t>(readycolumns.size()) < Count) readycolumns.push_back(_createcolumn(0, mheight));
}

float tm_bitmapcreator::_crossproductz(std::span<const float> Xs, std::span<const float> Ys, int32_t I, int32_t J) {
  float a = Xs[static_cast<size_t>(I)] * Ys[static_cast<size_t>(J)];
  float b = Ys[static_cast<size_t>(I)] * Xs[static_cast<size_t>(J)];
  return a - b;
}

int32_t tm_bitmapcreator::_corientation(std::span<const float> Xs, std::span<const float> Ys, int32_t I, int32_t J,
                                        int32_t K) {
  float sum = _crossproductz(Xs, Ys, I, J);
  sum = sum + _crossproductz(Xs, Ys, J, K);
  sum = sum + _crossproductz(Xs, Ys, K, I);
  return truncInt(sum);
}

void tm_bitmapcreator::_swappoint(std::span<float> Xs, std::span<float> Ys, int32_t I, int32_t J) {
  std::swap(Xs[static_cast<size_t>(I)], Xs[static_cast<size_t>(J)]);
  std::swap(Ys[static_cast<size_t>(I)], Ys[static_cast<size_t>(J)]);
}

void tm_bitmapcreator::_sortpoints(std::span<float> Xs, std::span<float> Ys) {
  bool o012 = _corientation(Xs, Ys, 0, 1, 2) < 0;
  bool o023 = _corientation(Xs, Ys, 0, 2, 3) < 0;
  if (o012) {
    if (o023) return;
    if (_corientation(Xs, Ys, 0, 1, 3) < 0) {
      _swappoint(Xs, Ys, 3, 2);
    } else {
      _swappoint(Xs, Ys, 0, 3);
    }
  } else if (o023) {
    if (_corientation(Xs, Ys, 0, 1, 3) < 0) {
      _swappoint(Xs, Ys, 1, 2);
    } else {
      _swappoint(Xs, Ys, 0, 1);
    }
  } else {
    _swappoint(Xs, Ys, 0, 2);
  }
}

bool tm_bitmapcreator::_shouldcheckbounds(std::span<const float> Xs, std::span<const float> Ys) {
  for (size_t i = 0; i < Ys.size() && i < Xs.size(); ++i) {
    float x = Xs[i], y = Ys[i];
    // Written so that NaN coordinates ask for checks too.
    if (!(x >= 1) || x >= static_cast<float>(mwidth - 1) || !(y >= 1) || y >= static_cast<float>(mheight - 1))
      return true;
  }
  return false;
}

void tm_bitmapcreator::_logpoints(const String& Title, std::span<const float> Xs, std::span<const float> Ys) {
  std::string line = Title.str();
  for (size_t i = 0; i < Ys.size() && i < Xs.size(); ++i)
    line += ",  " + std::to_string(i) + ": " + Common::NumberFormat(Xs[i], 1, 1).str() + "x" +
            Common::NumberFormat(Ys[i], 1, 1).str();
  runtime().Log(line);
}

}  // namespace tmr
