#pragma once
// The runtime's rectangle: Left and Top inclusive, Right and Bottom exclusive, in Float. Usable
// as a plain value; it is also a runtime object so that it can travel inside an Object.
#include "platform/core/RuntimeObject.h"

namespace tmr {

class Rect : public RuntimeObject {
 public:
  Rect() = default;
  Rect(float left, float top, float right, float bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}
  Rect(const Rect& o) : RuntimeObject(), Left(o.Left), Top(o.Top), Right(o.Right), Bottom(o.Bottom) {}
  Rect& operator=(const Rect& o) {
    Left = o.Left;
    Top = o.Top;
    Right = o.Right;
    Bottom = o.Bottom;
    return *this;
  }

  void Initialize(float left, float top, float right, float bottom) { *this = Rect(left, top, right, bottom); }
  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }
  float CenterX() const { return (Left + Right) / 2; }
  float CenterY() const { return (Top + Bottom) / 2; }
  std::string description() const override;

  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
};

}  // namespace tmr
