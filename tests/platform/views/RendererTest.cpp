#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/graphics/PaintSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/TextMeasurer.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

struct Rgba {
  int r, g, b, a;
};

Rgba At(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = &bmp.pixels()[(static_cast<size_t>(y) * bmp.pixelWidth() + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// The number of pixels in the box that differ from the colour.
int Inked(const Bitmap& bmp, int l, int t, int w, int h, Rgba bg) {
  int n = 0;
  for (int y = t; y < t + h; ++y) {
    for (int x = l; x < l + w; ++x) {
      Rgba p = At(bmp, x, y);
      if (std::abs(p.r - bg.r) + std::abs(p.g - bg.g) + std::abs(p.b - bg.b) > 60) ++n;
    }
  }
  return n;
}

// A white 100 × 60 screen in a runtime of its own.
struct Screen {
  Runtime rt;
  std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
  UiLayer ui;
  View root;
  Screen() {
    root = ui.CreatePanel(mod->bi, "");
    root.native()->setFrame(Frame{0, 0, 100, 60});
    root.setColor(UiLayer::Color_White);
  }
  std::shared_ptr<Bitmap> render(double scale = 1) { return ViewRenderer(rt).render(*root.native(), scale); }
};

struct RendererTest : ::testing::Test, Screen {};

TEST_F(RendererTest, BackgroundsBordersAndHiddenViews) {
  View box = ui.CreatePanel(mod->bi, "");
  root.AddView(box, 10, 10, 40, 20);
  box.SetColorAndBorder(static_cast<int32_t>(0xFFFF0000), 2, static_cast<int32_t>(0xFF0000FF), 0);
  auto bmp = render(2);
  EXPECT_EQ(bmp->pixelWidth(), 200);
  Rgba inside = At(*bmp, 60, 40), edge = At(*bmp, 21, 40), outside = At(*bmp, 150, 100);
  EXPECT_EQ(inside.r, 255);
  EXPECT_EQ(inside.b, 0);
  EXPECT_EQ(edge.b, 255) << "the border lies inside the frame";
  EXPECT_EQ(outside.g, 255);
  box.setVisible(false);
  EXPECT_EQ(At(*render(2), 60, 40).g, 255);
}

TEST_F(RendererTest, LabelTextIsPlacedByItsAlignment) {
  LabelWrapper l;
  l.Initialize(mod->bi, "");
  root.AddView(l, 0, 0, 100, 60);
  l.setText("ii");
  l.setFont(ui.CreateDefaultFont(20));
  l.SetTextAlignment("CENTER", "LEFT");
  Rgba white{255, 255, 255, 255};
  auto left = render();
  EXPECT_GT(Inked(*left, 0, 0, 30, 60, white), 0);
  EXPECT_EQ(Inked(*left, 60, 0, 40, 60, white), 0);
  l.SetTextAlignment("CENTER", "RIGHT");
  auto right = render();
  EXPECT_EQ(Inked(*right, 0, 0, 60, 60, white), 0);
  EXPECT_GT(Inked(*right, 70, 0, 30, 60, white), 0);
}

TEST_F(RendererTest, IconGlyphsDrawAndCharactersTheIconFontLacksFallBackToTheTextFont) {
  FontLibrary& fonts = rt.service<FontLibrary>();
  Font icons = ui.CreateMaterialIcons(30);
  EXPECT_TRUE(fonts.hasGlyph(icons, 0xE315));
  EXPECT_FALSE(fonts.hasGlyph(icons, 'x'));
  LabelWrapper l;
  l.Initialize(mod->bi, "");
  root.AddView(l, 0, 0, 100, 60);
  l.setFont(icons);
  l.SetTextAlignment("CENTER", "CENTER");
  Rgba white{255, 255, 255, 255};
  for (const String& text : {String::FromCodePoint(0xE315), String("x")}) {
    l.setText(text);
    EXPECT_GT(Inked(*render(), 30, 0, 40, 60, white), 20) << text;
  }
}

TEST_F(RendererTest, DisabledButtonsUseTheirDisabledColour) {
  ButtonWrapper b;
  b.Initialize(mod->bi, "", ButtonWrapper::STYLE_SYSTEM);
  root.AddView(b, 0, 0, 100, 60);
  b.setText("WWWW");
  auto countBlue = [&] {
    auto bmp = render();
    int n = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 100; ++x) {
        Rgba p = At(*bmp, x, y);
        if (p.b > 200 && p.r < 100) ++n;
      }
    }
    return n;
  };
  EXPECT_GT(countBlue(), 20);
  b.setEnabled(false);
  EXPECT_EQ(countBlue(), 0);
}

TEST(FontLibraryTest, AFamilyThatIsNotInstalledIsAnErrorNamingIt) {
  FontLibrary fonts;
  try {
    fonts.fileOf(Font::Make("No Such Family", 12));
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("No Such Family"), std::string::npos);
  }
  EXPECT_NE(fonts.fileOf(Font::Make("Material Icons", 12)).find("MaterialIcons"), std::string::npos);
}

// Adds a label showing "Bark" in the default font of the size; the view tree keeps it.
void AddText(Screen& s, float size) {
  LabelWrapper l;
  l.Initialize(s.mod->bi, "");
  s.root.AddView(l, 0, 0, 100, 60);
  l.setText("Bark");
  l.setFont(s.ui.CreateDefaultFont(size));
}

std::vector<uint8_t> Bytes(const Bitmap& b) { return {b.pixels().begin(), b.pixels().end()}; }

TEST(FontLibraryTest, EndingOneRuntimeLeavesAnotherDrawingTextAsBefore) {
  auto other = std::make_unique<Screen>();
  Screen screen;
  AddText(*other, 20);
  AddText(screen, 20);
  auto before = Bytes(*screen.render());
  other->render();
  other.reset();
  auto after = screen.render();
  EXPECT_GT(Inked(*after, 0, 0, 100, 60, Rgba{255, 255, 255, 255}), 20);
  EXPECT_EQ(Bytes(*after), before);
  AddText(screen, 24);
  EXPECT_NE(Bytes(*screen.render()), before) << "a new size of the same face draws too";
}

// A renderer kept from frame to frame draws into the memory of the frame before: each frame must
// still come out byte for byte as a fresh renderer draws it, whether the screen covers the old
// pixels opaquely or lets them show (translucent, rounded, hidden, a partly covered last pixel),
// and a picture still held must never change.
TEST_F(RendererTest, AKeptRendererDrawsEachFrameAsAFreshRendererDoes) {
  LabelWrapper l;
  l.Initialize(mod->bi, "");
  root.AddView(l, 0, 0, 100, 60);
  l.setFont(ui.CreateDefaultFont(20));
  l.setText("Bark");
  View box = ui.CreatePanel(mod->bi, "");
  root.AddView(box, 10, 10, 40, 20);
  box.setColor(static_cast<int32_t>(0xFFFF0000));
  struct Step {
    const char* what;
    std::function<void()> change;
    double scale;
  };
  const std::vector<Step> steps{
      {"opaque screen", [] {}, 2},
      {"a label's text changed", [&] { l.setText("Woof"); }, 2},
      {"translucent background", [&] { root.setColor(static_cast<int32_t>(0x80FFFFFF)); }, 2},
      {"transparent background", [&] { root.setColor(0); }, 2},
      {"rounded corners", [&] { root.SetColorAndBorder(UiLayer::Color_White, 0, 0, 12); }, 2},
      {"square again", [&] { root.SetColorAndBorder(UiLayer::Color_White, 0, 0, 0); }, 2},
      {"a last pixel partly covered", [] {}, 1.255},
      {"the same frame again", [] {}, 1.255},
      {"another scale", [] {}, 1.5},
      {"another size",
       [&] {
         root.native()->setFrame(Frame{0, 0, 80, 50});
       },
       1.5},
      {"hidden", [&] { root.setVisible(false); }, 1.5},
      {"shown", [&] { root.setVisible(true); }, 1.5},
  };
  ViewRenderer kept(rt);
  auto first = kept.render(*root.native(), 2);
  const auto firstBytes = Bytes(*first);
  for (const auto& step : steps) {
    step.change();
    auto fresh = ViewRenderer(rt).render(*root.native(), step.scale);
    auto again = kept.render(*root.native(), step.scale);
    ASSERT_EQ(again->pixelWidth(), fresh->pixelWidth()) << step.what;
    ASSERT_EQ(again->pixelHeight(), fresh->pixelHeight()) << step.what;
    EXPECT_TRUE(Bytes(*again) == Bytes(*fresh)) << step.what;
    EXPECT_NE(again.get(), first.get()) << step.what;
  }
  EXPECT_TRUE(Bytes(*first) == firstBytes) << "a picture still held stays as it was drawn";
}

// A label in a font of any size, on a 120 × 80 screen with two views drawn after it (an opaque
// label and a red panel, right of and below where it is placed).
struct SizedLabelScreen : Screen {
  static constexpr const char16_t* kText = u"\u2588\u2588";  // full blocks: ink across the whole line
  LabelWrapper big, after;
  View red;
  explicit SizedLabelScreen(const Font& font) {
    root.native()->setFrame(Frame{0, 0, 120, 80});
    big.Initialize(mod->bi, "");
    root.AddView(big, 0, 0, 70, 45);
    big.setText(String(kText));
    big.setFont(font);
    big.setTextColor(UiLayer::Color_Black);
    after.Initialize(mod->bi, "");
    root.AddView(after, 80, 50, 40, 30);
    after.setText("ok");
    after.setColor(static_cast<int32_t>(0xFFFFFF00));
    red = ui.CreatePanel(mod->bi, "");
    root.AddView(red, 100, 0, 20, 20);
    red.setColor(static_cast<int32_t>(0xFFFF0000));
  }
  // The big label sized to fit its text, then placed with its frame's bottom right corner at
  // (70, 45), as near as the numbers allow, or with its top left corner at the screen's.
  Frame place(bool multiline, bool atCorner) {
    big.setMultiline(multiline);
    big.native()->setFrame(Frame{0, 0, 70, 45});
    big.SizeToFit();
    Frame f = big.native()->frame();
    if (f.width == 0) f = Frame{0, 0, 70, 45};  // a size that measures nothing: a frame of its own
    if (atCorner) {
      f.left = 70 - f.width;
      f.top = 45 - f.height;
    }
    big.native()->setFrame(f);
    return f;
  }
};

// How many pixels break the rule: in a view drawn after the label and outside the label's frame
// the picture is as without the label; inside the frame, less a point along each side (rounding
// the size up leaves up to a point, which alignment may share out), the blocks ink every pixel,
// when they are drawn.
int Astray(const Bitmap& with, const Bitmap& without, const Frame& label, bool inked, double scale,
           const std::vector<Frame>& above) {
  int n = 0;
  for (int y = 0; y < with.pixelHeight(); ++y) {
    for (int x = 0; x < with.pixelWidth(); ++x) {
      const double l = x / scale, t = y / scale, r = (x + 1) / scale, b = (y + 1) / scale;
      bool covered = false;
      for (const auto& f : above) covered = covered || (l < f.right() && r > f.left && t < f.bottom() && b > f.top);
      Rgba p = At(with, x, y), q = At(without, x, y);
      const bool asWithout = p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
      const bool outside = r <= label.left || l >= label.right() || b <= label.top || t >= label.bottom();
      const bool inside =
          l >= label.left + 1 && r <= label.right() - 1 && t >= label.top + 1 && b <= label.bottom() - 1;
      if (covered || outside || (inside && !inked)) {
        n += !asWithout;
      } else if (inside) {
        n += p.r + p.g + p.b > 150;
      }
    }
  }
  return n;
}

// Text of every size code can give a font. A size the font engine cannot work at directly is
// measured and drawn as the text at the largest size it works at, scaled: widths and line heights
// grow linearly with the size, the screen's painter measures what the measurer measures, and a
// label sized to fit its text draws across its frame and nowhere outside it. A size that cannot
// be drawn at draws nothing, for that label only. No size leaves the drawing library failing when
// the runtime ends.
TEST(TextSizeTest, EverySizeMeasuresLinearlyAndDrawsWithinItsLabel) {
  using F = std::numeric_limits<float>;
  const float k = static_cast<float>(FontLibrary::kLargestEngineSize);
  const float sizes[] = {
      17, 1000, k, std::nextafter(k, F::infinity()), 40000, 70000, 1e6f, 1e17f, 3.4e38f, F::infinity(), F::quiet_NaN()};
  const double scales[] = {1, 2};
  const String words("Hello, World");
  auto font = [](float size) { return Font::Make(Font::kDefaultFamily, size); };

  // Drawn and ended in a process of its own: the drawing library aborts the process it fails in.
  for (float size : sizes) {
    EXPECT_EXIT(
        {
          {
            SizedLabelScreen s(font(size));
            for (double scale : scales) {
              s.place(false, false);
              s.render(scale);
            }
          }
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), "")
        << size;
  }
  if (::testing::Test::HasFailure()) return;

  for (float size : sizes) {
    SizedLabelScreen s(font(size));
    TextMeasurer& measurer = s.rt.service<TextMeasurer>();
    const bool drawable = std::isfinite(size);
    const double w = measurer.width(words, font(size)), h = measurer.lineHeight(font(size));
    if (!drawable) {
      EXPECT_EQ(w + h, 0) << size;
    } else if (size > k) {
      EXPECT_NEAR(w / (measurer.width(words, font(k)) * size / k), 1, 1e-12) << size;
      EXPECT_NEAR(h / (measurer.lineHeight(font(k)) * size / k), 1, 1e-12) << size;
    } else {
      EXPECT_NEAR(w / size, measurer.width(words, font(17)) / 17, 1e-4) << size;
      EXPECT_NEAR(h / size, measurer.lineHeight(font(17)) / 17, 1e-4) << size;
    }
    for (double scale : scales) {
      PaintSurface target;
      Painter painter(s.rt.service<FontLibrary>(), target, 1, 1, scale);
      const double painted = painter.measure({Painter::Run{words, font(size), 0xFF000000}});
      if (drawable) {
        EXPECT_NEAR(painted / w, 1, 1e-4) << size << " at " << scale;
      } else {
        EXPECT_EQ(painted, 0) << size << " at " << scale;
      }
      for (bool multiline : {false, true}) {
        for (bool atCorner : {true, false}) {
          Frame f = s.place(multiline, atCorner);
          auto with = s.render(scale);
          s.big.setVisible(false);
          auto without = s.render(scale);
          s.big.setVisible(true);
          EXPECT_EQ(Astray(*with, *without, f, drawable, scale, {s.after.native()->frame(), s.red.native()->frame()}),
                    0)
              << size << " at " << scale << (multiline ? ", multi-line" : "") << (atCorner ? ", at the corner" : "");
        }
      }
    }
  }
}

}  // namespace
}  // namespace tmr
