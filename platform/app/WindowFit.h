#pragma once
// Where the phone's screen goes on a desktop: the window's size when it opens (the phone's shape),
// and the picture's scale and place inside a window of any size (letterboxed: centred at the
// largest scale that fits). Sizes are whole pixels (or the display's coordinates, which are the
// same on most displays; a HiDPI display has more pixels than coordinates).
namespace tmr {

class WindowFit {
 public:
  // The phone's own density: two pixels per point where the display has room for it.
  static constexpr double kPreferredScale = 2;
  // What a window manager's title bar and borders take around the window: their real size is
  // only known once the window is shown, so the opening size leaves this much room.
  static constexpr int kDecorationAllowance = 48;

  struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
  };
  // The picture inside a window: pixels per point, and its box in the window's pixels.
  struct Placement {
    double scale = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
  };

  // screenWidth × screenHeight: the phone's screen in points.
  WindowFit(double screenWidth, double screenHeight) : width_(screenWidth), height_(screenHeight) {}

  // The window's size on a display whose usable area (without panels and docks) is `usable`:
  // the preferred scale when the whole window fits there, else the largest scale that fits.
  Size initialSize(Size usable) const;
  // The picture in a window of `pixels`: the largest scale at which it fits, centred; the
  // renderer makes a picture of ceil(points × scale) pixels, which this box matches. A picture
  // is never larger than `largest` (the renderer's largest texture; 0: no limit on that side).
  Placement place(Size pixels, Size largest) const;
  Placement place(Size pixels) const { return place(pixels, Size{}); }

 private:
  Size at(double scale) const;

  double width_;
  double height_;
};

}  // namespace tmr
