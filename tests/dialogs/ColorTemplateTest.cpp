#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bitmap/tm_bitmapcreator.h"
#include "dialogs/_colorpickerpart.h"
#include "dialogs/tm_colortemplate.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ImageViewWrapper.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kNegative = tm_dialog::DialogResponse_Negative;
constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;

// The ARGB value of a pixel (premultiplied bytes R, G, B, A; exact for opaque and clear pixels).
uint32_t PixelAt(const std::shared_ptr<Bitmap>& b, int x, int y) {
  const uint8_t* p = &b->pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b->pixelWidth()) + x) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// Whether two colours differ by at most one in every channel.
bool Near(uint32_t a, uint32_t b) {
  for (int s = 0; s < 32; s += 8) {
    if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > 1) return false;
  }
  return true;
}

struct ColorHarness : DialogHarness {
  ColorHarness() { t->_initialize(owner->bi); }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    auto a = ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object("No"), Object("Cancel")); });
    settle();
    return a;
  }
  // The touch panel of a part and a point of it (in its own coordinates) on the screen.
  static View touchPanel(const std::shared_ptr<_colorpickerpart>& part) { return part->pnl.GetView(1); }
  void at(const std::shared_ptr<_colorpickerpart>& part, double x, double y, double& sx, double& sy) {
    View p = touchPanel(part);
    hand().centreOf(p, sx, sy);
    sx += x - p.Width() / 2;
    sy += y - p.Height() / 2;
  }
  void press(Finger& f, const std::shared_ptr<_colorpickerpart>& part, double x, double y) {
    double sx, sy;
    at(part, x, y, sx, sy);
    f.pressAt(sx, sy);
  }
  void moveTo(Finger& f, const std::shared_ptr<_colorpickerpart>& part, double x, double y) {
    double sx, sy;
    at(part, x, y, sx, sy);
    f.moveTo(sx, sy);
  }
  std::shared_ptr<tm_colortemplate> t = std::make_shared<tm_colortemplate>();
};

TEST(ColorTemplate, ColourToHsv) {
  struct Case {
    uint32_t colour;
    float h, s, v;
    int32_t a;
  } cases[] = {
      {0xFF000000, 0, 0, 0, 255},          {0x80FF0000, 0, 1, 1, 128},
      {0xFF00FF00, 120, 1, 1, 255},        {0xFF0000FF, 240, 1, 1, 255},
      {0xFFFF00FF, 300, 1, 1, 255},        {0x00808080, 0, 0, 128 / 255.0F, 0},
      {0xFFFF8000, 30.117647F, 1, 1, 255}, {0xFF336699, 210, 2 / 3.0F, 0.6F, 255},
  };
  ColorHarness h;
  for (const Case& c : cases) {
    std::vector<Object> hsv = h.t->_colortohsv(static_cast<int32_t>(c.colour));
    ASSERT_EQ(hsv.size(), 4u);
    EXPECT_NEAR(hsv[0].AsDouble(), c.h, 1e-4) << std::hex << c.colour;
    EXPECT_NEAR(hsv[1].AsDouble(), c.s, 1e-6) << std::hex << c.colour;
    EXPECT_NEAR(hsv[2].AsDouble(), c.v, 1e-6) << std::hex << c.colour;
    EXPECT_EQ(hsv[3].AsInt(), c.a) << std::hex << c.colour;
  }
}

TEST(ColorTemplate, OpaqueColoursComeBackAsSet) {
  ColorHarness h;
  for (uint32_t c : {0xFF336699u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF12AB34u}) {
    h.t->_setselectedcolor(static_cast<int32_t>(c));
    EXPECT_TRUE(Near(static_cast<uint32_t>(h.t->_getselectedcolor()), c))
        << std::hex << c << " gave " << static_cast<uint32_t>(h.t->_getselectedcolor());
  }
  h.t->_setselectedcolor(static_cast<int32_t>(0x80FF0000));
  EXPECT_EQ(h.t->selectedalpha, 128);
  EXPECT_EQ(static_cast<uint32_t>(h.t->_getselectedcolor()) >> 24, 0x80u);
}

// The colour that hue, saturation, value and alpha give: the bitmap creator's pixel, read back.
int32_t ColourOf(const std::shared_ptr<tm_bitmapcreator>& bc, const std::vector<Object>& hsv) {
  bc->_sethsv(0, 0, hsv[3].AsInt(), hsv[0].AsInt(), hsv[1].AsFloat(), hsv[2].AsFloat());
  return bc->_getcolor(0, 0);
}

// A hue or an alpha set from code is kept as given (the bars only show it), so every whole hue
// and every alpha reads back, and the colour is that of the values set; a colour set as ARGB
// reads back as the colour of its own hue, saturation, value and alpha.
TEST(ColorTemplate, EveryWholeHueAndAlphaSetFromCodeReadsBackAsSet) {
  ColorHarness h;
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(h.owner->bi, 1, 1);
  auto readsBackAsSet = [&](const std::vector<Object>& hsv) {
    std::vector<Object> got = h.t->_getselectedhsvcolor();
    for (int i = 0; i < 4; ++i) {
      if (got[i].AsDouble() != hsv[i].AsDouble()) return false;
    }
    return h.t->_getselectedcolor() == ColourOf(bc, hsv);
  };
  // Hue i with alpha i mod 256: every hue 0-360 and every alpha 0-255.
  for (int32_t i = 0; i <= 360; ++i) {
    std::vector<Object> hsv = {Object(static_cast<float>(i)), Object(1.0F), Object(0.8F), Object(i % 256)};
    h.t->_setselectedhsvcolor(hsv);
    EXPECT_TRUE(readsBackAsSet(hsv)) << "hue " << i << " alpha " << i % 256 << " read back as " << h.t->selectedh
                                     << " alpha " << h.t->selectedalpha;
  }
  // Hue 120 and alpha 100 (truncated to 99 before); hue 210 exactly (209.999985 before); a grey.
  for (uint32_t argb : {0x6400FF00u, 0xFF0061C2u, 0x05FF8000u, 0x80808080u}) {
    h.t->_setselectedcolor(static_cast<int32_t>(argb));
    EXPECT_TRUE(readsBackAsSet(h.t->_colortohsv(static_cast<int32_t>(argb))))
        << std::hex << argb << " read back as " << static_cast<uint32_t>(h.t->_getselectedcolor());
  }
  h.t->_setselectedcolor(static_cast<int32_t>(0xFF0061C2));
  EXPECT_EQ(static_cast<uint32_t>(h.t->_getselectedcolor()), 0xFF0061C2u);
  // A new layout moves the markers and keeps the colour.
  const std::vector<Object> before = {Object(3.0F), Object(0.5F), Object(0.25F), Object(5)};
  h.t->_setselectedhsvcolor(before);
  h.t->_base_resize(250, 190);
  h.t->_base_resize(300, 250);
  EXPECT_TRUE(readsBackAsSet(before)) << "after a new layout: hue " << h.t->selectedh;
  // Out of the bars' ranges, a hue and an alpha are held to them, as a bar would hold them.
  h.t->_setselectedhsvcolor({Object(400.0F), Object(1.0F), Object(1.0F), Object(300)});
  EXPECT_EQ(h.t->selectedh, 360);
  EXPECT_EQ(h.t->selectedalpha, 255);
  h.t->_setselectedhsvcolor({Object(-5.0F), Object(1.0F), Object(1.0F), Object(-1)});
  EXPECT_EQ(h.t->selectedh, 0);
  EXPECT_EQ(h.t->selectedalpha, 0);
}

TEST(ColorTemplate, PartsAreLaidOutInTheStandardPanel) {
  ColorHarness h;
  auto frame = [](const View& v) { return std::vector<double>{v.Left(), v.Top(), v.Width(), v.Height()}; };
  EXPECT_EQ(frame(h.t->mbase), (std::vector<double>{0, 0, 300, 250}));
  EXPECT_EQ(frame(h.t->huebar->pnl), (std::vector<double>{1, 1, 30, 248}));
  EXPECT_EQ(frame(h.t->colorpicker->pnl), (std::vector<double>{31, 1, 268, 217}));
  EXPECT_EQ(frame(h.t->alphabar->pnl), (std::vector<double>{31, 219, 268, 30}));
  EXPECT_FLOAT_EQ(h.t->colorscale, 3);
  EXPECT_EQ(h.t->bccolors->mwidth, 89);
  EXPECT_EQ(h.t->bccolors->mheight, 72);
  for (const auto& part : {h.t->huebar, h.t->colorpicker, h.t->alphabar}) {
    ASSERT_EQ(part->pnl.NumberOfViews(), 2);
    EXPECT_EQ(frame(part->iv), (std::vector<double>{0, 0, part->pnl.Width(), part->pnl.Height()}));
    EXPECT_EQ(frame(ColorHarness::touchPanel(part)), frame(part->iv)) << "the touch panel lies over the picture";
    EXPECT_EQ(part->cvs.TargetRect().Width(), part->pnl.Width());
  }
  EXPECT_FALSE(h.t->huebar->DrawCheckers);
  EXPECT_TRUE(h.t->colorpicker->DrawCheckers);
  EXPECT_TRUE(h.t->alphabar->DrawCheckers);
  EXPECT_EQ(h.t->huebar->description(), "_colorpickerpart");
}

TEST(ColorTemplate, PicturesShowHueSaturationValueAlphaAndCheckers) {
  ColorHarness h;
  h.t->_setselectedhsvcolor({Object(240.0F), Object(1.0F), Object(1.0F), Object(255)});
  auto hue = ImageViewWrapper::FromObject(Object(h.t->huebar->iv)).GetBitmap();
  ASSERT_TRUE(hue);
  EXPECT_EQ(hue->pixelHeight(), 248);
  EXPECT_EQ(PixelAt(hue, 10, 0), 0xFFFF0000u) << "red at the top";
  EXPECT_TRUE(Near(PixelAt(hue, 10, 124), 0xFF00FFFFu)) << "cyan half way";
  auto square = ImageViewWrapper::FromObject(Object(h.t->colorpicker->iv)).GetBitmap();
  ASSERT_TRUE(square);
  EXPECT_EQ(square->pixelWidth(), 268);
  EXPECT_EQ(square->pixelHeight(), 217);
  // The last buffer column has saturation 88 / 89: nearly pure blue.
  EXPECT_EQ(PixelAt(square, 267, 0) & 0xFF0000FFu, 0xFF0000FFu) << "full value at the top right";
  EXPECT_LT(PixelAt(square, 267, 0) & 0xFFFF00u, 0x080800u) << "nearly full saturation at the right";
  EXPECT_TRUE(Near(PixelAt(square, 0, 0), 0xFFFFFFFFu)) << "no saturation at the left";
  EXPECT_LT(PixelAt(square, 0, 216) & 0xFFFFFF, 0x080808u) << "dark at the bottom";
  auto alpha = ImageViewWrapper::FromObject(Object(h.t->alphabar->iv)).GetBitmap();
  ASSERT_TRUE(alpha);
  EXPECT_EQ(PixelAt(alpha, 0, 5) >> 24, 0u);
  EXPECT_EQ(PixelAt(alpha, 134, 5) >> 24, 127u);
  EXPECT_EQ(PixelAt(alpha, 267, 5) >> 24, 254u);
  auto checkers = h.t->colorpicker->checkersCanvas.CreateBitmap();
  EXPECT_EQ(PixelAt(checkers, 5, 5), 0xFF757575u);
  EXPECT_EQ(PixelAt(checkers, 15, 5), 0xFFC0C0C0u);
  EXPECT_EQ(PixelAt(checkers, 5, 15), 0xFFC0C0C0u);
  EXPECT_EQ(PixelAt(checkers, 15, 15), 0xFF757575u);

  // A lower alpha draws the square transparent, so the checkers show through.
  h.t->_alphabarselectedchange(0);
  square = ImageViewWrapper::FromObject(Object(h.t->colorpicker->iv)).GetBitmap();
  EXPECT_EQ(PixelAt(square, 267, 0) >> 24, 0u);
}

TEST(ColorTemplate, TouchesChooseAndAreClampedToTheParts) {
  ColorHarness h;
  auto a = h.show();
  Finger f = h.hand();
  // Hue: 124 of 248 is half way; above the bar 0, below it 360.
  h.press(f, h.t->huebar, 15, 124);
  EXPECT_FLOAT_EQ(h.t->selectedh, 180);
  h.moveTo(f, h.t->huebar, 15, -40);
  EXPECT_FLOAT_EQ(h.t->selectedh, 0);
  h.moveTo(f, h.t->huebar, 15, 400);
  EXPECT_FLOAT_EQ(h.t->selectedh, 360);
  f.release();
  EXPECT_FLOAT_EQ(h.t->selectedh, 360);
  // Alpha: right of the bar 255, left of it 0.
  h.press(f, h.t->alphabar, 67, 15);
  EXPECT_EQ(h.t->selectedalpha, 63);
  h.moveTo(f, h.t->alphabar, 500, 15);
  EXPECT_EQ(h.t->selectedalpha, 255);
  h.moveTo(f, h.t->alphabar, -50, 15);
  EXPECT_EQ(h.t->selectedalpha, 0);
  f.release();
  // Square: the top-left corner is no saturation and full value; the bottom right the reverse.
  h.press(f, h.t->colorpicker, 0, 0);
  EXPECT_FLOAT_EQ(h.t->selecteds, 0);
  EXPECT_FLOAT_EQ(h.t->selectedv, 1);
  h.moveTo(f, h.t->colorpicker, 600, 600);
  EXPECT_FLOAT_EQ(h.t->selecteds, 1);
  EXPECT_FLOAT_EQ(h.t->selectedv, 0);
  h.moveTo(f, h.t->colorpicker, 67, 163);
  EXPECT_FLOAT_EQ(h.t->selecteds, 0.25F);
  EXPECT_NEAR(h.t->selectedv, 54 / 217.0, 1e-6);
  f.release();
  // The markers stand at the choice.
  auto hueMarker = h.t->huebar->cvs.CreateBitmap();
  EXPECT_EQ(PixelAt(hueMarker, 15, 245), 0xFFFFFFFFu) << "the marker's top edge, 3 above the bottom";
  EXPECT_EQ(PixelAt(hueMarker, 15, 124), 0u);
  auto squareMarker = h.t->colorpicker->cvs.CreateBitmap();
  EXPECT_GE(PixelAt(squareMarker, 77, 163) >> 24, 0xC0u) << "ring of radius 10 around (67, 163)";
  EXPECT_GE(PixelAt(squareMarker, 67, 153) >> 24, 0xC0u);
  EXPECT_EQ(PixelAt(squareMarker, 67, 163), 0u);
  h.dialog->_close(kPositive);
  h.wait(200);
  EXPECT_TRUE(a->done);
}

// The colour chosen during a showing is kept by the positive result only.
TEST(ColorTemplate, OnlyThePositiveResultKeepsTheNewColour) {
  struct Case {
    int32_t result;
    bool keeps;
  } cases[] = {{kPositive, true}, {kNegative, false}, {kCancel, false}};
  for (const Case& c : cases) {
    ColorHarness h;
    h.t->_setselectedcolor(static_cast<int32_t>(0xFF336699));
    auto a = h.show();
    Finger f = h.hand();
    h.press(f, h.t->huebar, 15, 20);
    h.moveTo(f, h.t->huebar, 15, 30);
    f.release();
    h.press(f, h.t->alphabar, 100, 15);
    f.release();
    h.press(f, h.t->colorpicker, 30, 30);
    f.release();
    std::vector<Object> moved = h.t->_getselectedhsvcolor();
    f.tap(h.button(c.result));
    h.wait(200);
    ASSERT_TRUE(a->done);
    EXPECT_EQ(a->result, c.result);
    std::vector<Object> want = c.keeps ? moved : h.t->_colortohsv(static_cast<int32_t>(0xFF336699));
    std::vector<Object> got = h.t->_getselectedhsvcolor();
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(got[i].AsFloat(), want[i].AsFloat()) << c.result << " " << i;
    // The markers follow the restored colour too.
    double y = h.t->selectedh * 248 / 360;
    EXPECT_EQ(PixelAt(h.t->huebar->cvs.CreateBitmap(), 15, static_cast<int>(y) + 3), 0xFFFFFFFFu) << c.result;
  }
}

// However often the template is shown and closed without the positive result, the colour is
// the one it was shown with, to the last bit; and the markers stand where that colour puts them.
TEST(ColorTemplate, EveryCloseWithoutThePositiveResultLeavesTheColourAsItWasShown) {
  struct Case {
    uint32_t colour;
    float alphaX;  // where the alpha bar is touched afterwards; < 0: not touched
  } cases[] = {{0xFF0061C2u, -1}, {0x0A12AB34u, -1}, {0x05FF8000u, -1}, {0xFF336699u, 104.1F} /* alpha 99 */};
  for (const Case& c : cases) {
    const uint32_t colour = c.colour;
    ColorHarness h;
    h.t->_setselectedcolor(static_cast<int32_t>(colour));
    if (c.alphaX >= 0) h.t->_alphabarselectedchange(c.alphaX);
    const std::vector<Object> shown = h.t->_getselectedhsvcolor();
    const int32_t argb = h.t->_getselectedcolor();
    for (int32_t i = 0; i < 4; ++i) {
      auto a = h.show();
      if (i == 2) {  // moved about during one showing
        Finger f = h.hand();
        h.press(f, h.t->huebar, 15, 200);
        f.release();
        h.press(f, h.t->alphabar, 30, 15);
        f.release();
      }
      h.hand().tap(h.button(i % 2 == 0 ? kCancel : kNegative));
      h.wait(200);
      ASSERT_TRUE(a->done);
      std::vector<Object> got = h.t->_getselectedhsvcolor();
      for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(got[k].AsDouble(), shown[k].AsDouble())
            << std::hex << colour << std::dec << " close " << i << " entry " << k;
      }
      EXPECT_EQ(h.t->_getselectedcolor(), argb) << std::hex << colour << std::dec << " close " << i;
    }
    // The hue marker's lower edge, 3 below the hue, and the middle of the alpha marker.
    auto hueMarker = h.t->huebar->cvs.CreateBitmap();
    EXPECT_EQ(PixelAt(hueMarker, 15, std::min(247, static_cast<int>(h.t->selectedh * 248 / 360) + 3)), 0xFFFFFFFFu)
        << std::hex << colour;
    auto alphaMarker = h.t->alphabar->cvs.CreateBitmap();
    EXPECT_EQ(PixelAt(alphaMarker, std::min(266, static_cast<int>(h.t->selectedalpha * 268 / 255.0)), 15), 0xFF000000u)
        << std::hex << colour;
  }
}

TEST(ColorTemplate, TheTitleBarShowsTheChosenColourWhileShown) {
  ColorHarness h;
  h.dialog->title = Object("Colour");
  h.t->_setselectedcolor(static_cast<int32_t>(0xFF336699));
  auto a = h.show();
  ASSERT_TRUE(h.dialog->titlebar.IsInitialized());
  EXPECT_TRUE(Near(static_cast<uint32_t>(h.dialog->titlebar.Color()), 0xFF336699u));
  Finger f = h.hand();
  h.press(f, h.t->colorpicker, 267, 0);
  EXPECT_EQ(h.dialog->titlebar.Color(), h.t->_getselectedcolor());
  f.release();
  h.dialog->_close(kCancel);
  h.wait(200);
  ASSERT_TRUE(a->done);

  // Without a title no title bar is painted, and choosing still works.
  ColorHarness plain;
  auto b = plain.show();
  EXPECT_FALSE(plain.dialog->titlebar.IsInitialized());
  Finger g = plain.hand();
  plain.press(g, plain.t->huebar, 15, 62);
  g.release();
  EXPECT_FLOAT_EQ(plain.t->selectedh, 90);
}

TEST(ColorTemplate, ShownAgainItKeepsTheColourAndSavesItAnew) {
  ColorHarness h;
  auto a = h.show();
  h.t->_huebarselectedchanged(62);
  h.dialog->_close(kPositive);
  h.wait(200);
  auto b = h.show();
  EXPECT_FLOAT_EQ(h.t->selectedh, 90);
  h.t->_huebarselectedchanged(124);
  h.dialog->_close(kCancel);
  h.wait(200);
  ASSERT_TRUE(b->done);
  EXPECT_FLOAT_EQ(h.t->selectedh, 90) << "restored to the colour of the second opening";
}

// A panel too small for the parts gives empty parts: nothing is drawn and the choice stays.
TEST(ColorTemplate, APanelTooSmallForThePartsKeepsTheChoice) {
  ColorHarness h;
  h.t->_setselectedcolor(static_cast<int32_t>(0xFF336699));
  h.t->_base_resize(20, 20);
  EXPECT_EQ(h.t->colorpicker->pnl.Width(), 0);
  EXPECT_EQ(h.t->bccolors->mwidth, 0);
  h.t->_handleselectedcolorchanged(5, 5);
  h.t->_alphabarselectedchange(5);
  EXPECT_TRUE(Near(static_cast<uint32_t>(h.t->_getselectedcolor()), 0xFF336699u));
  h.t->_base_resize(300, 250);
  EXPECT_EQ(h.t->bccolors->mwidth, 89);
  EXPECT_TRUE(Near(static_cast<uint32_t>(h.t->_getselectedcolor()), 0xFF336699u));
}

}  // namespace
}  // namespace tmr
