#include "platform/app/WindowFit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tmr {
namespace {

const WindowFit kPhone(375, 667);

TEST(WindowFitTest, OpensAtTwiceThePhonesSizeWhereItFitsElseAtTheLargestThatFits) {
  struct Case {
    WindowFit::Size usable;
    WindowFit::Size expected;
  };
  const Case cases[] = {
      {{2560, 1400}, {750, 1334}},  // room for twice the size
      {{1920, 1050}, {563, 1002}},  // a 1080-pixel display with a panel: all of it shows
      {{1366, 738}, {388, 690}},
      {{300, 2000}, {300, 534}},  // a narrow display: the width decides
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.usable.width) + "x" + std::to_string(c.usable.height));
    WindowFit::Size size = kPhone.initialSize(c.usable);
    EXPECT_EQ(size, c.expected);
    EXPECT_LE(size.height + WindowFit::kDecorationAllowance, std::max(c.usable.height, 534 + 48));
  }
}

TEST(WindowFitTest, ThePictureFillsTheLargestBoxOfThePhonesShapeCentredInTheWindow) {
  struct Case {
    WindowFit::Size window;
    WindowFit::Size largest;  // the renderer's largest texture
    double scale;
    int left, top, width, height;
  };
  const Case cases[] = {
      {{750, 1334}, {}, 2, 0, 0, 750, 1334},
      {{950, 1334}, {}, 2, 100, 0, 750, 1334},
      {{750, 1500}, {}, 2, 0, 83, 750, 1334},
      {{563, 1002}, {}, 563.0 / 375, 0, 0, 563, 1002},
      {{1920, 1061}, {}, 1061.0 / 667, 661, 0, 597, 1061},  // maximised: letterboxed, never reshaped
      {{1000, 300}, {}, 300.0 / 667, 415, 0, 169, 300},     // dragged wide and low
      // Larger than the largest texture: a smaller picture, centred.
      {{9300, 17000}, {16384, 16384}, 16384.0 / 667, 44, 308, 9212, 16384},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.window.width) + "x" + std::to_string(c.window.height));
    auto p = kPhone.place(c.window, c.largest);
    EXPECT_NEAR(p.scale, c.scale, 1e-9);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    // The renderer's picture at that scale is exactly the box.
    EXPECT_EQ(static_cast<int>(std::ceil(375 * p.scale)), p.width);
    EXPECT_EQ(static_cast<int>(std::ceil(667 * p.scale)), p.height);
  }
}

}  // namespace
}  // namespace tmr
