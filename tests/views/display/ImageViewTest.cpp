#include <gtest/gtest.h>

#include <string>

#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"
#include "platform/layout/LayoutError.h"
#include "tests/views/display/DisplayScreen.h"

namespace tmr {
namespace {

constexpr uint32_t kBackground = 0xFFAAAAAA;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// An image view "iv1" at (left, top) of the given size and designer properties.
std::string ImageView(int w, int h, const std::string& mode, bool round = false, int radius = 0,
                      const std::string& extra = "", int left = 50, int top = 50) {
  return R"({"name": "iv1", "type": "CustomView", "class": "tm_imageview", "frame": [)" + std::to_string(left) + ", " +
         std::to_string(top) + ", " + std::to_string(w) + ", " + std::to_string(h) + "]" + extra +
         R"(, "props": {"Round": )" + (round ? "true" : "false") + R"(, "ResizeMode": ")" + mode +
         R"(", "BackgroundColor": "#FFAAAAAA", "CornersRadius": )" + std::to_string(radius) + "}}";
}

Frame ImageFrame(const tm_imageview& v) { return v.iv.native()->frame(); }

TEST(ImageViewTest, EachResizeModeSizesAndCentresThePicture) {
  struct Case {
    const char* mode;
    int bw, bh, imgw, imgh;
    Frame expected;
  };
  const Case cases[] = {
      {"FIT", 200, 100, 100, 100, {50, 0, 100, 100}},
      {"FILL_NO_DISTORTIONS", 200, 100, 100, 100, {0, -50, 200, 200}},
      {"FILL_WIDTH", 200, 100, 100, 100, {0, -50, 200, 200}},
      {"FILL_HEIGHT", 200, 100, 100, 100, {50, 0, 100, 100}},
      {"NONE", 200, 100, 100, 100, {50, 0, 100, 100}},
      {"FILL", 200, 100, 100, 100, {0, 0, 200, 100}},
      // A wide picture: letterboxed above and below, or cropped at the sides.
      {"FIT", 100, 100, 200, 50, {0, 38, 100, 25}},  // top lrint(37.5) = 38
      {"FILL_NO_DISTORTIONS", 100, 100, 200, 50, {-150, 0, 400, 100}},
      {"FILL_WIDTH", 100, 100, 200, 50, {0, 38, 100, 25}},
      {"FILL_HEIGHT", 100, 100, 200, 50, {-150, 0, 400, 100}},
      // Halves round to even: 101 / 2 - 25 = 25.5 -> 26; 103 / 2 - 25 = 26.5 -> 26.
      {"NONE", 101, 101, 50, 50, {26, 26, 50, 50}},
      {"NONE", 103, 103, 50, 50, {26, 26, 50, 50}},
      {"NONE", 50, 50, 150, 90, {-50, -20, 150, 90}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.bw) + "x" + std::to_string(c.bh));
    DisplayScreen s(ImageView(c.bw, c.bh, c.mode));
    auto& v = *s.owner->iv1;
    auto bmp = SolidBitmap(c.imgw, c.imgh, kRed);
    v._setbitmap(bmp);
    EXPECT_EQ(ImageFrame(v), c.expected);
    EXPECT_EQ(v._getbitmap(), bmp);
    EXPECT_EQ(v.iv.GetBitmap(), bmp);
    EXPECT_EQ(v.iv.imageView().contentMode(), ImageViewObject::ContentMode::Fill);
    EXPECT_TRUE(s.log.empty());
  }
}

TEST(ImageViewTest, UntilTheFirstBitmapTheBasePanelKeepsTheLayoutsLook) {
  DisplayScreen s(ImageView(120, 80, "FIT", true, 0, R"(, "color": "#FF00FF00")"));
  auto& v = *s.owner->iv1;
  EXPECT_EQ(v.mbase.Tag().As<tm_imageview>(), s.owner->iv1) << "the base panel leads to the view";
  EXPECT_EQ(static_cast<uint32_t>(v.mbase.Color()), 0xFF00FF00u);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 0);
  EXPECT_EQ(ImageFrame(v), (Frame{0, 0, 120, 80})) << "the inner image view fills the base panel";
  EXPECT_EQ(v._getbitmap(), nullptr);
  EXPECT_TRUE(v._getroundedimage());
  EXPECT_EQ(v._getresizemode().str(), "FIT");
  v.mbase.SetLayoutAnimated(0, 50, 50, 160, 90);  // a resize does nothing without a picture
  EXPECT_EQ(ImageFrame(v), (Frame{0, 0, 120, 80}));

  v._setbitmap(SolidBitmap(40, 40, kRed));
  EXPECT_EQ(static_cast<uint32_t>(v.mbase.Color()), kBackground);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 45) << "round: half the smaller side";
  EXPECT_EQ(ImageFrame(v), (Frame{35, 0, 90, 90}));
}

TEST(ImageViewTest, AResizeLaysThePictureOutForTheNewSize) {
  DisplayScreen s(ImageView(200, 100, "FIT", true));
  auto& v = *s.owner->iv1;
  v._setbitmap(SolidBitmap(100, 100, kRed));
  v.mbase.SetLayoutAnimated(0, 50, 50, 60, 120);
  EXPECT_EQ(ImageFrame(v), (Frame{0, 30, 60, 60}));
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 30);
}

TEST(ImageViewTest, CornersAndRoundnessRedrawTheOutline) {
  DisplayScreen s(ImageView(200, 100, "FIT", false, 12));
  auto& v = *s.owner->iv1;
  EXPECT_EQ(v._getcornersradius(), 12);
  v._setbitmap(SolidBitmap(10, 10, kRed));
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 12);
  v._setroundedimage(true);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 50) << "a pill: half the height of 200 x 100";
  v._setroundedimage(false);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 12);

  // Setting the same radius still redraws; setting the same roundness does not.
  v.mbase.SetColorAndBorder(0, 0, 0, 3);
  v._setroundedimage(false);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 3);
  v._setcornersradius(12);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 12);
  EXPECT_EQ(static_cast<uint32_t>(v.mbase.Color()), kBackground);
  v._setcornersradius(0);
  EXPECT_EQ(v.mbase.native()->cornerRadius(), 0);
}

TEST(ImageViewTest, OnlyADifferentModeLaysThePictureOutAgain) {
  DisplayScreen s(ImageView(200, 100, "FIT"));
  auto& v = *s.owner->iv1;
  v._setbitmap(SolidBitmap(100, 100, kRed));
  v.iv.SetLayoutAnimated(0, 1, 2, 3, 4);
  v._setresizemode("FIT");
  EXPECT_EQ(ImageFrame(v), (Frame{1, 2, 3, 4})) << "the current mode changes nothing";
  v._setresizemode("FILL");
  EXPECT_EQ(ImageFrame(v), (Frame{0, 0, 200, 100}));
  EXPECT_EQ(v._getresizemode().str(), "FILL");
}

TEST(ImageViewTest, AnUnknownModeIsLoggedAndShowsNoPicture) {
  for (const char* mode : {"fit", "Fill", "", "STRETCH"}) {
    SCOPED_TRACE(mode);
    DisplayScreen s(ImageView(200, 100, "FILL"));
    auto& v = *s.owner->iv1;
    v._setbitmap(SolidBitmap(100, 100, kRed));
    v._setresizemode(mode);
    EXPECT_EQ(ImageFrame(v), (Frame{100, 50, 0, 0}));
    EXPECT_EQ(s.log, std::vector<std::string>{std::string("Invalid resize mode: ") + mode});
    auto pic = s.picture();
    EXPECT_EQ(PixelAt(*pic, 150, 100), kBackground) << "no red at the centre";
  }
}

TEST(ImageViewTest, APictureWithoutPixelsShowsNothingAndDoesNotFail) {
  for (const char* mode : {"FIT", "FILL", "FILL_WIDTH", "FILL_HEIGHT", "FILL_NO_DISTORTIONS", "NONE"}) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 40}, std::pair{40, 0}}) {
      SCOPED_TRACE(std::string(mode) + " " + std::to_string(w) + "x" + std::to_string(h));
      DisplayScreen s(ImageView(200, 100, mode));
      auto& v = *s.owner->iv1;
      v._setbitmap(Bitmap::Create(w, h));
      EXPECT_EQ(ImageFrame(v), (Frame{100, 50, 0, 0}));
      EXPECT_TRUE(s.log.empty());
      EXPECT_EQ(static_cast<uint32_t>(v.mbase.Color()), kBackground);
    }
  }
}

TEST(ImageViewTest, ClearingKeepsTheFrameUntilTheNextBitmap) {
  DisplayScreen s(ImageView(200, 100, "FIT"));
  auto& v = *s.owner->iv1;
  v._setbitmap(SolidBitmap(100, 100, kRed));
  v._clear();
  EXPECT_EQ(v._getbitmap(), nullptr);
  EXPECT_EQ(v.iv.GetBitmap(), nullptr);
  EXPECT_EQ(ImageFrame(v), (Frame{50, 0, 100, 100}));
  v.mbase.SetLayoutAnimated(0, 50, 50, 300, 100);
  v._setresizemode("FILL");
  EXPECT_EQ(ImageFrame(v), (Frame{50, 0, 100, 100})) << "no layout without a bitmap";
  EXPECT_EQ(PixelAt(*s.picture(), 50 + 100, 50 + 50), kBackground) << "nothing drawn where the picture was";
  v._setbitmap(SolidBitmap(10, 10, kRed));
  EXPECT_EQ(ImageFrame(v), (Frame{0, 0, 300, 100}));
}

TEST(ImageViewTest, TheScreenShowsThePictureOnTheBackgroundInsideTheOutline) {
  // FIT in 200 x 100: the picture in the middle, the background at the sides.
  {
    DisplayScreen s(ImageView(200, 100, "FIT"));
    s.owner->iv1->_setbitmap(SolidBitmap(10, 10, kRed));
    auto pic = s.picture("imageview-fit");
    EXPECT_EQ(PixelAt(*pic, 50 + 25, 50 + 50), kBackground);
    EXPECT_EQ(PixelAt(*pic, 50 + 100, 50 + 50), kRed);
    EXPECT_EQ(PixelAt(*pic, 50 + 175, 50 + 50), kBackground);
  }
  // A round view cuts the overflowing picture and its corners off.
  {
    DisplayScreen s(ImageView(200, 100, "FILL_NO_DISTORTIONS", true));
    s.owner->iv1->_setbitmap(SolidBitmap(10, 10, kRed));
    auto pic = s.picture("imageview-round");
    EXPECT_EQ(PixelAt(*pic, 50 + 100, 50 + 50), kRed);
    EXPECT_EQ(PixelAt(*pic, 50 + 100, 50 - 10), kWhite) << "above the view, the overflow is cut off";
    EXPECT_EQ(PixelAt(*pic, 50 + 2, 50 + 2), kWhite) << "outside the pill's rounded end";
    EXPECT_EQ(PixelAt(*pic, 50 + 100, 50 + 2), kRed);
  }
}

TEST(ImageViewTest, LoadsAPictureFromAFileAndAMissingFileChangesNothing) {
  DisplayScreen s(ImageView(200, 100, "NONE"));
  auto& v = *s.owner->iv1;
  SolidBitmap(30, 20, kRed)->WritePng((s.folder.path / "red.png").string());
  v._load(String(s.folder.path.string()), "red.png");
  ASSERT_NE(v._getbitmap(), nullptr);
  EXPECT_EQ(v._getbitmap()->pixelWidth(), 30);
  EXPECT_EQ(ImageFrame(v), (Frame{85, 40, 30, 20}));
  auto before = v._getbitmap();
  EXPECT_THROW(v._load(String(s.folder.path.string()), "missing.png"), RuntimeError);
  EXPECT_EQ(v._getbitmap(), before);
  EXPECT_EQ(v.iv.GetBitmap(), before);
}

TEST(ImageViewTest, ALayoutMustGiveRoundModeAndColourButMayLeaveOutTheRadius) {
  for (const char* missing : {"Round", "ResizeMode", "BackgroundColor"}) {
    std::string props;
    for (auto [key, value] : {std::pair{"Round", "false"}, std::pair{"ResizeMode", R"("FIT")"},
                              std::pair{"BackgroundColor", R"("#FFAAAAAA")"}}) {
      if (std::string(key) == missing) continue;
      props += std::string(props.empty() ? "" : ", ") + "\"" + key + "\": " + value;
    }
    std::string view =
        R"({"name": "iv1", "type": "CustomView", "class": "tm_imageview", "frame": [0, 0, 10, 10],
                          "props": {)" +
        props + "}}";
    try {
      DisplayScreen s(view);
      ADD_FAILURE() << "a layout without " << missing << " loaded";
    } catch (const LayoutError& e) {
      EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
  }
  DisplayScreen s(R"({"name": "iv1", "type": "CustomView", "class": "tm_imageview", "frame": [0, 0, 10, 10],
                      "props": {"Round": false, "ResizeMode": "FIT", "BackgroundColor": "#FFAAAAAA"}})");
  EXPECT_EQ(s.owner->iv1->_getcornersradius(), 0);
}

TEST(ImageViewTest, SubsAreReachableByName) {
  DisplayScreen s(ImageView(200, 100, "FIT"));
  auto& c = *s.owner->c;
  Object iv(s.owner->iv1);
  c.CallSub2(iv, "SetBitmap", Object(SolidBitmap(100, 100, kRed)));
  c.CallSub2(iv, "SetResizeMode", Object("FILL"));
  EXPECT_EQ(c.CallSub(iv, "GetResizeMode").AsString().str(), "FILL");
  EXPECT_EQ(ImageFrame(*s.owner->iv1), (Frame{0, 0, 200, 100}));
  c.CallSub2(iv, "SetCornersRadius", Object(7));
  EXPECT_EQ(c.CallSub(iv, "GetCornersRadius").AsInt(), 7);
}

}  // namespace
}  // namespace tmr
