#pragma once
// The bitmap creator: one software pixel buffer (premultiplied RGBA, bytes R, G, B, A per pixel,
// rows top to bottom) and everything that draws into it without the platform's graphics:
// colour conversions, single pixels and blends, brushes and spans, rectangles, lines, circles,
// arcs with anti-aliased edges, gradients, paths, bitmap-to-bitmap copies, compressed bitmaps,
// drawing batches run on a background thread, and conversion to platform bitmaps.
//
// Every drawing operation clips to the bitmap; the single-pixel subs ignore writes outside it
// and read outside it as transparent. The scratch records tempargb, temppm and temppm2 are
// reused by the single-pixel subs, so one instance is used by one thread at a time.
//
// The class is split over several sources by topic (core, brushes, shapes, edges, gradients,
// paths, copies, compressed, tasks, platform); all share this header.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "bitmap/_argbcolor.h"
#include "bitmap/_bcbrush.h"
#include "bitmap/_compressedbc.h"
#include "bitmap/_drawtask.h"
#include "bitmap/_internalantialiasingbuffer.h"
#include "bitmap/_internalbccolumn.h"
#include "bitmap/_premultipliedcolor.h"
#include "bitmap/tm_bcpath.h"
#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Module.h"
#include "platform/core/String.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Rect.h"
#include "platform/native/NativeObject.h"
#include "platform/views/View.h"

namespace tmr {

class tm_bitmapcreator : public ClassModule {
 public:
  std::string_view className() const override { return "tm_bitmapcreator"; }
  const SubTable& subTable() const override;

  // --- Buffer, colours and single pixels -------------------------------------------------
  // Starts over with a cleared Width × Height buffer. The runtime comes from the dispatcher.
  // Negative sizes, or a buffer of more than 2^31 - 1 bytes, are rejected (RuntimeError)
  // before anything changes.
  void _initialize(const std::shared_ptr<Dispatcher>& ba, int32_t Width, int32_t Height);
  std::shared_ptr<_argbcolor> _colortoargb(int32_t Color, std::shared_ptr<_argbcolor> Result);
  int32_t _argbtocolor(const std::shared_ptr<_argbcolor>& Color);
  std::shared_ptr<_premultipliedcolor> _argbtopremultipliedcolor(const std::shared_ptr<_argbcolor>& Color,
                                                                 std::shared_ptr<_premultipliedcolor> Result);
  std::shared_ptr<_premultipliedcolor> _getpremultipliedcolor(int32_t X, int32_t Y,
                                                              std::shared_ptr<_premultipliedcolor> Result);
  void _setpremultipliedcolor(int32_t X, int32_t Y, const std::shared_ptr<_premultipliedcolor>& Color);
  std::shared_ptr<_argbcolor> _getargb(int32_t X, int32_t Y, std::shared_ptr<_argbcolor> Result);
  void _setargb(int32_t X, int32_t Y, const std::shared_ptr<_argbcolor>& Color);
  int32_t _getcolor(int32_t X, int32_t Y);
  void _setcolor(int32_t X, int32_t Y, int32_t Color);
  bool _istransparent(int32_t X, int32_t Y);
  void _blendpixel(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX, int32_t SrcY, int32_t TargetX,
                   int32_t TargetY);
  void _blendpixel2(const std::shared_ptr<_premultipliedcolor>& Color, int32_t X, int32_t Y);
  void _sethsv(int32_t X, int32_t Y, int32_t Alpha, int32_t Hue, float Saturation, float Value);

  // --- Brushes and spans ------------------------------------------------------------------
  std::shared_ptr<_bcbrush> _createbrushfromcolor(int32_t Color);
  std::shared_ptr<_bcbrush> _createbrushfrombitmapcreator(const std::shared_ptr<tm_bitmapcreator>& BC);
  std::shared_ptr<_bcbrush> _createbrushfrombitmap(const std::shared_ptr<Bitmap>& Bmp);
  // Paints X1 .. X2 - 1 of row Y (replacing, or blending for BlendAll pattern brushes).
  void _fillhorizontalline(int32_t X1, int32_t X2, int32_t Y, const std::shared_ptr<_bcbrush>& Brush);

  // --- Shapes (colour forms make a colour brush and return it) ----------------------------
  std::shared_ptr<_bcbrush> _drawrect(const Rect& R, int32_t Color, bool Filled, int32_t StrokeWidth);
  void _fillrect(int32_t Color, const Rect& R);
  std::shared_ptr<_bcbrush> _drawrect2(const Rect& R, const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                       int32_t StrokeWidth);
  std::shared_ptr<_bcbrush> _drawrectrounded(const Rect& R, int32_t Color, bool Filled, int32_t StrokeWidth,
                                             int32_t CornersRadius);
  std::shared_ptr<_bcbrush> _drawrectrounded2(const Rect& R, const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                              int32_t StrokeWidth, int32_t CornersRadius);
  std::shared_ptr<_bcbrush> _drawcircle(float X, float Y, float Radius, int32_t Color, bool Filled,
                                        int32_t StrokeWidth);
  std::shared_ptr<_bcbrush> _drawcircle2(float X, float Y, float Radius, const std::shared_ptr<_bcbrush>& Brush,
                                         bool Filled, int32_t StrokeWidth);
  std::shared_ptr<_bcbrush> _drawcircleimpl(float X, float Y, float Radius, const std::shared_ptr<_bcbrush>& Brush,
                                            bool Filled, int32_t StrokeWidth, int32_t L, int32_t R, int32_t T,
                                            int32_t B);
  std::shared_ptr<_bcbrush> _drawline(float X1, float Y1, float X2, float Y2, int32_t Color, int32_t StrokeWidth);
  std::shared_ptr<_bcbrush> _drawline2(float X1, float Y1, float X2, float Y2, const std::shared_ptr<_bcbrush>& Brush,
                                       int32_t StrokeWidth);
  // The four corners of a thick line (butt ends); False when the two points are equal.
  bool _calclinepoints(float X1, float Y1, float X2, float Y2, int32_t StrokeWidth, std::span<float> PX,
                       std::span<float> PY);
  void _drawconvexquadrilateral(std::span<float> PX, std::span<float> PY, const std::shared_ptr<_bcbrush>& Brush,
                                bool Sorted);
  std::shared_ptr<_bcbrush> _drawarc(float X, float Y, float Radius, int32_t Color, bool Filled, int32_t StrokeWidth,
                                     float StartAngle, float SweepAngle);
  std::shared_ptr<_bcbrush> _drawarc2(float X, float Y, float Radius, const std::shared_ptr<_bcbrush>& Brush,
                                      bool Filled, int32_t StrokeWidth, float StartAngle, float SweepAngle);

  // --- Anti-aliased edges -----------------------------------------------------------------
  void _drawantialiasborder(int32_t X, int32_t Y, float Coverage, const std::shared_ptr<_bcbrush>& Brush,
                            bool CheckBounds);
  void _drawwuline(float X0, float Y0, float X1, float Y1, bool CheckBounds, bool LeftEdge,
                   const std::shared_ptr<_internalbccolumn>& LeftColumn,
                   const std::shared_ptr<_internalbccolumn>& RightColumn, const std::shared_ptr<_bcbrush>& Brush,
                   bool SkipEnds);
  void _drawwucircle(int32_t X, int32_t Y, int32_t Radius, bool CheckBounds, bool Inner,
                     const std::shared_ptr<_internalbccolumn>& Column, const std::shared_ptr<_bcbrush>& Brush,
                     int32_t L, int32_t R, int32_t T, int32_t B);
  void _drawwuarc(int32_t X, int32_t Y, int32_t Radius, bool CheckBounds, bool Inner,
                  const std::shared_ptr<_internalbccolumn>& LeftColumn,
                  const std::shared_ptr<_internalbccolumn>& RightColumn, const std::shared_ptr<_bcbrush>& Brush,
                  float StartAngle, float EndAngle);

  // --- Gradients (pixels are written, not blended) -----------------------------------------
  // Colours spread evenly from the named start to the end, interpolated in straight ARGB.
  // Orientation: "TL_BR", "BR_TL", "TR_BL", "BL_TR", "LEFT_RIGHT", "RIGHT_LEFT", "TOP_BOTTOM",
  // "BOTTOM_TOP" or "RECTANGLE" (concentric rectangles from the centre out); any other name is
  // logged ("Invalid orientation: " and the name) and draws nothing.
  void _fillgradient(const std::vector<int32_t>& GradColors, const Rect& R, const String& Orientation);
  // Colours spread from the rectangle's centre to its corners.
  void _fillradialgradient(const std::vector<int32_t>& Colors, const Rect& R);

  // --- Paths --------------------------------------------------------------------------------
  std::shared_ptr<_bcbrush> _drawpath(const std::shared_ptr<tm_bcpath>& Path, int32_t Color, bool Filled,
                                      int32_t StrokeWidth);
  // Fills the path, or strokes each segment as a thick line (joints filled when the path's
  // drawconnectionsegments is set). A path of fewer than two points draws nothing.
  std::shared_ptr<_bcbrush> _drawpath2(const std::shared_ptr<tm_bcpath>& Path, const std::shared_ptr<_bcbrush>& Brush,
                                       bool Filled, int32_t StrokeWidth);
  void _drawfullpath(const std::shared_ptr<tm_bcpath>& Path, const std::shared_ptr<_bcbrush>& Brush);
  // Nudges the edge position of PrevColumn at row Y1 by 0.01 towards NextColumn, so that the
  // joint row between two chains is filled from the right side.
  void _columnswitchimpl(const std::shared_ptr<_internalbccolumn>& PrevColumn,
                         const std::shared_ptr<_internalbccolumn>& NextColumn, int32_t Y1, int32_t Y2);

  // --- Platform bitmaps -------------------------------------------------------------------
  std::shared_ptr<Bitmap> _getbitmap();
  ByteArray _getbuffer() { return mbuffer; }
  // Shows the bitmap in the image view.
  void _setbitmaptoimageview(const std::shared_ptr<Bitmap>& Bmp, const View& ImageView);
  // Draws the bitmap (stretched to this size) into the buffer; every copy after the first
  // clears the buffer first.
  void _copypixelsfrombitmap(const std::shared_ptr<Bitmap>& Bmp);
  // Native methods, reached by name through NativeObject: the buffer's bytes are read and
  // written in place.
  std::shared_ptr<Bitmap> bufferToUIImage(ByteArray Data, int32_t Width, int32_t Height);
  void UIImageToBuffer(const std::shared_ptr<Bitmap>& Image, ByteArray Data, int32_t Width, int32_t Height, bool Clear);
  // A NativeObject wrapping this bitmap creator (made on use: a stored wrapper of itself
  // would keep the instance alive forever).
  NativeObject jme() { return NativeObject(Object(self<tm_bitmapcreator>())); }

  // --- Bitmap-to-bitmap drawing -----------------------------------------------------------
  void _drawbitmapcreator(const std::shared_ptr<tm_bitmapcreator>& Source, const Rect& SrcRect, int32_t TargetX,
                          int32_t TargetY, bool SkipBlending);
  void _drawbitmapcreatortransformed(const std::shared_ptr<_drawtask>& Task);
  void _drawbitmap(const std::shared_ptr<Bitmap>& Bmp, const Rect& TargetRect, bool SkipBlending);
  void _copypixel(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX, int32_t SrcY, int32_t TargetX,
                  int32_t TargetY);
  void _copypixelignoresemitransparent(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX, int32_t SrcY,
                                       int32_t TargetX, int32_t TargetY, bool SkipBlending);
  void _replacesemitransparentpixels(const Rect& R, int32_t Color);

  // --- Compressed bitmaps ---------------------------------------------------------------------
  // Encodes the rectangle (pixels of alpha 30 or less count as transparent; pixels outside the
  // buffer read as transparent), adding new 40-pixel colour runs to Cache while it holds fewer
  // than max_same_color_size colours. A Cache whose ColorsMap is not initialised takes none.
  std::shared_ptr<_compressedbc> _extractcompressedbc(const Rect& R,
                                                      const std::shared_ptr<_internalcompressedbccache>& Cache);
  // Draws SrcRect of CBC with its top left at (TargetX, TargetY), replacing the pixels under
  // opaque runs and leaving those under transparent runs.
  void _drawcompressedbitmap(const std::shared_ptr<_compressedbc>& CBC, const Rect& SrcRect, int32_t TargetX,
                             int32_t TargetY);
  // The mirrored bitmap (the very same record when neither flag is set).
  std::shared_ptr<_compressedbc> _flipcompressedbitmap(const std::shared_ptr<_compressedbc>& CBC, bool Horizontal,
                                                       bool Vertical);
  void _drawrotatedcbc(const std::shared_ptr<_compressedbc>& CBC, float Degrees, int32_t Width, int32_t Height,
                       const std::shared_ptr<_internalantialiasingbuffer>& AABuffer);
  // Draws CBC rotated clockwise by Degrees about its centre, anti-aliased (four samples per
  // source pixel), into the Width × Height area at (TargetX, TargetY), replacing the pixels it
  // covers. AABuffer is scratch (five Ints per pixel of the area; grown when shorter).
  void _drawrotatedcbc2(const std::shared_ptr<_compressedbc>& CBC, float Degrees, int32_t Width, int32_t Height,
                        const std::shared_ptr<_internalantialiasingbuffer>& AABuffer, int32_t TargetX, int32_t TargetY);

  // --- Drawing tasks and background batches ---------------------------------------------------
  // A copy task of SrcRect of Source (a bitmap creator, or a compressed bitmap once
  // IsCompressedSource is set) to (TargetX, TargetY) of the bitmap creator that runs the batch.
  std::shared_ptr<_drawtask> _createdrawtask(const Object& Source, const Rect& SrcRect, int32_t TargetX,
                                             int32_t TargetY, bool SkipBlending);
  // A task that replays a drawing primitive on this bitmap creator.
  std::shared_ptr<_drawtask> _createcanvasdrawtask(int32_t Code, const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                   std::vector<Object> Values);
  std::shared_ptr<_drawtask> _asyncdrawline(float X1, float Y1, float X2, float Y2,
                                            const std::shared_ptr<_bcbrush>& Brush, int32_t StrokeWidth);
  std::shared_ptr<_drawtask> _asyncdrawcircle(float X, float Y, float Radius, const std::shared_ptr<_bcbrush>& Brush,
                                              bool Filled, int32_t StrokeWidth);
  std::shared_ptr<_drawtask> _asyncdrawrect(const Rect& R, const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                            int32_t StrokeWidth);
  std::shared_ptr<_drawtask> _asyncdrawrectrounded(const Rect& R, const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                   int32_t StrokeWidth, int32_t CornersRadius);
  std::shared_ptr<_drawtask> _asyncdrawpath(const std::shared_ptr<tm_bcpath>& Path,
                                            const std::shared_ptr<_bcbrush>& Brush, bool Filled, int32_t StrokeWidth);
  std::shared_ptr<_drawtask> _asyncdrawarc(float X, float Y, float Radius, const std::shared_ptr<_bcbrush>& Brush,
                                           bool Filled, int32_t StrokeWidth, float StartAngle, float SweepAngle);
  // Draws the tasks (a list of _drawtask) in order on the background worker, then raises
  // lower(EventName) + "_bitmapready:" on the Callback module, on the main thread, with the
  // bitmap of this bitmap creator. Until then the caller leaves the tasks, their sources and
  // targets and this bitmap creator alone.
  void _drawbitmapcreatorsasync(const Object& Callback, const String& EventName, const List& Tasks);
  // Native method behind _drawbitmapcreatorsasync: hands the batch to the background worker.
  void DrawBitmapCreatorsAsync(const List& Tasks, const String& FullEventName, const Object& Target);
  // Replays one canvas task on this bitmap creator.
  void _drawcanvasasync(const std::shared_ptr<_drawtask>& Task);

  // --- Column buffers and point routines ---------------------------------------------------
  std::shared_ptr<_internalbccolumn> _createcolumn(int32_t StartY, int32_t EndY);
  void _preparecolumns(int32_t Count);
  float _crossproductz(std::span<const float> Xs, std::span<const float> Ys, int32_t I, int32_t J);
  int32_t _corientation(std::span<const float> Xs, std::span<const float> Ys, int32_t I, int32_t J, int32_t K);
  void _sortpoints(std::span<float> Xs, std::span<float> Ys);
  void _swappoint(std::span<float> Xs, std::span<float> Ys, int32_t I, int32_t J);
  bool _shouldcheckbounds(std::span<const float> Xs, std::span<const float> Ys);
  void _logpoints(const String& Title, std::span<const float> Xs, std::span<const float> Ys);

  // --- Fields -----------------------------------------------------------------------------
  ByteArray mbuffer;
  int32_t mwidth = 0;
  int32_t mheight = 0;
  int32_t ai = 0;
  int32_t ri = 0;
  int32_t gi = 0;
  // Byte index of blue. It hides the module's dispatcher, which stays reachable as Module::bi.
  int32_t bi = 0;
  std::shared_ptr<_argbcolor> tempargb = std::make_shared<_argbcolor>();
  std::shared_ptr<_premultipliedcolor> temppm = std::make_shared<_premultipliedcolor>();
  std::shared_ptr<_premultipliedcolor> temppm2 = std::make_shared<_premultipliedcolor>();
  bool shouldclearbeforeextracting = false;
  Rect targetrect;
  int32_t unsignedff = 0;
  uint8_t cache_transparent = 0;
  uint8_t cache_solid = 1;
  int32_t same_color_length_for_cache = 40;
  int32_t max_same_color_size = 5000;
  // The shared pool of full-height column buffers; shapes take 0, 1, 2, 3 and overwrite them.
  std::vector<std::shared_ptr<_internalbccolumn>> readycolumns;
  int32_t alphathresholdforcbcextraction = 30;

 protected:
  void _class_globals() override;

 private:
  uint8_t* pixelAt(int64_t x, int64_t y) { return mbuffer.data() + (x + y * mwidth) * 4; }
  bool inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < mwidth && y < mheight; }
  // A span clipped to the bitmap: X1 .. X2 - 1 of row Y.
  void fillSpan(int64_t x1, int64_t x2, int64_t y, const _bcbrush& brush);
  // The edge pixel painter without the public checks on its arguments' kinds.
  void paintEdgePixel(int64_t x, int64_t y, float coverage, const _bcbrush& brush);
  void traceWuLine(float X0, float Y0, float X1, float Y1, bool check, bool leftEdge, _internalbccolumn& column,
                   const _bcbrush& brush, bool skipEnds);
  void traceWuCircle(int64_t X, int64_t Y, int64_t radius, bool inner, _internalbccolumn& column, const _bcbrush& brush,
                     int64_t L, int64_t R, int64_t T, int64_t B);
  void traceWuArc(int64_t X, int64_t Y, int64_t radius, bool inner, _internalbccolumn& left, _internalbccolumn& right,
                  const _bcbrush& brush, float startAngle, float endAngle);
  void drawCircleShape(int64_t cx, int64_t cy, int64_t r, const _bcbrush& brush, bool filled, int64_t strokeWidth,
                       int64_t L, int64_t R, int64_t T, int64_t B);
  void drawArcRange(float X, float Y, float r, const _bcbrush& brush, bool filled, int32_t strokeWidth, float s,
                    float e);
  void drawTransformed(const tm_bitmapcreator& source, const Rect& srcRect, int32_t targetX, int32_t targetY,
                       bool skipBlending, float sx, float sy, int32_t degrees);
};

}  // namespace tmr
