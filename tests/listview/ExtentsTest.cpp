#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <utility>

#include "tests/listview/ListHarness.h"
#include "tests/support/ErrorOf.h"

namespace tmr {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int32_t kGreen = static_cast<int32_t>(0xFF00AA00);

// The layout in 64 bits: the offset of each item (the first at the divider, each next one past
// the previous item and a divider), then the content size (one divider past the last item).
struct Model {
  int64_t divider = 0;
  std::vector<int64_t> sizes;

  std::vector<int64_t> layout() const {
    std::vector<int64_t> out;
    int64_t pos = divider;
    for (int64_t s : sizes) {
      out.push_back(pos);
      pos += s + divider;
    }
    out.push_back(sizes.empty() ? 0 : pos);
    return out;
  }
  bool fitsAnInt() const {
    auto all = layout();
    return std::ranges::all_of(all, [](int64_t v) { return std::in_range<int32_t>(v); });
  }
};

// All a caller can see of the list, so that a refused operation can be shown to leave it as it was.
std::string Picture(ListHarness& h) {
  std::ostringstream s;
  s.precision(17);
  s << h.lv->_getscrollviewcontentsize() << " " << h.lv->sv.ScrollViewInnerPanel().NumberOfViews() << " "
    << h.lv->mlastvisibleindex;
  for (int i = 0; i < h.lv->_getsize(); ++i) {
    auto item = h.lv->_getrawlistitem(i);
    Frame f = item->Panel.native()->frame();
    View p = item->Panel.GetView(0);
    s << " | " << item.get() << " " << item->Offset << " " << item->Size << " " << item->Panel.Tag().AsInt() << " "
      << f.left << "," << f.top << "," << f.width << "," << f.height << " " << item->Panel.native()->isAnimating()
      << " " << p.native().get() << " " << p.native()->frame().height << " " << item->Panel.Color() << " " << p.Color();
  }
  return s.str();
}

View Panel(ListHarness& h, double size) {
  View p = h.ui.CreatePanel(h.owner->bi, "");
  p.native()->setFrame(Frame{0, 0, size, size});  // as long along either axis
  p.setColor(kGreen);
  return p;
}

// Puts a list designed with this "DividerHeight" in place of the harness's own; answers the
// designer's error ("" when it took the value), checking that a refused design took nothing.
std::string Redesign(ListHarness& h, double dividerHeight, bool horizontal) {
  View base = h.ui.CreatePanel(h.owner->bi, "");
  h.screen.AddView(base, 0, 50, 400, 800);
  LabelWrapper label;
  label.Initialize(h.owner->bi, "");
  auto lv = std::make_shared<tm_customlistview>();
  lv->_initialize(h.owner->bi, Object(h.owner), "lst");
  std::string error = ErrorOf([&] {
    lv->_designercreateview(base, label,
                            Map::Of({{Object("ListOrientation"), Object(horizontal ? "Horizontal" : "Vertical")},
                                     {Object("DividerHeight"), Object(dividerHeight)}}));
  });
  if (!error.empty()) {
    EXPECT_FALSE(lv->sv.IsInitialized() || lv->_getbase().IsInitialized()) << error;
    EXPECT_EQ(base.NumberOfViews(), 0) << error;
    return error;
  }
  base.native()->setCustomView(lv);
  h.lv = lv;
  return error;
}

enum class Op { Add, Insert, Replace, Resize, Remove };

struct Step {
  Op op;
  int index;
  double size;               // of the new panel (add, insert), or the item's new size (replace, resize)
  std::string refusal = "";  // "" when the list takes the step
};

Step add(double size, std::string refusal = "") { return {Op::Add, 0, size, std::move(refusal)}; }
Step insertAt(int index, double size, std::string refusal = "") {
  return {Op::Insert, index, size, std::move(refusal)};
}
Step replaceAt(int index, double size, std::string refusal = "") {
  return {Op::Replace, index, size, std::move(refusal)};
}
Step resize(int index, double size, std::string refusal = "") { return {Op::Resize, index, size, std::move(refusal)}; }
Step removeAt(int index, std::string refusal = "") { return {Op::Remove, index, 0, std::move(refusal)}; }

void Apply(Model& m, const Step& s) {
  // A panel longer than any Int counts as far longer still.
  double whole = std::trunc(s.size);
  int64_t size = std::abs(whole) < 1e15 ? static_cast<int64_t>(whole) : int64_t{1} << 50;
  if (s.op == Op::Add) m.sizes.push_back(size);
  if (s.op == Op::Insert) m.sizes.insert(m.sizes.begin() + s.index, size);
  if (s.op == Op::Replace || s.op == Op::Resize) m.sizes[s.index] = size;
  if (s.op == Op::Remove && m.sizes.size() <= 1) m.sizes.clear();
  if (s.op == Op::Remove && !m.sizes.empty()) m.sizes.erase(m.sizes.begin() + s.index);
}

// Runs the step on the list, and on the model when the list takes it; answers the list's error.
std::string RunStep(ListHarness& h, Model& m, const Step& s) {
  auto& lv = *h.lv;
  View p = Panel(h, s.size);
  bool sized = s.op == Op::Replace || s.op == Op::Resize;  // these take an Int size
  auto size = sized ? static_cast<int32_t>(s.size) : 0;
  std::string error = ErrorOf([&] {
    if (s.op == Op::Add) lv._add(p, Object("new"));
    if (s.op == Op::Insert) lv._insertat(s.index, p, Object("new"));
    if (s.op == Op::Replace) lv._replaceat(s.index, p, size, Object("new"));
    if (s.op == Op::Resize) lv._resizeitem(s.index, size);
    if (s.op == Op::Remove) lv._removeat(s.index);
  });
  if (error.empty()) Apply(m, s);
  if (!error.empty() && s.op != Op::Remove && s.op != Op::Resize) {
    EXPECT_TRUE(!p.Parent().IsInitialized() && p.Color() == kGreen) << "the caller's panel is untouched";
  }
  return error;
}

void ExpectLayout(ListHarness& h, const Model& m, const std::string& where) {
  std::vector<int64_t> sizes;
  std::vector<int64_t> layout;
  for (int i = 0; i < h.lv->_getsize(); ++i) {
    sizes.push_back(h.lv->_getrawlistitem(i)->Size);
    layout.push_back(h.lv->_finditemoffset(i));
  }
  layout.push_back(static_cast<int64_t>(h.lv->_getscrollviewcontentsize()));
  EXPECT_EQ(sizes, m.sizes) << where;
  EXPECT_EQ(layout, m.layout()) << where;
  h.expectConsistent();
}

TEST(ListExtents, OffsetsAndContentAreExactSumsAndWhatAnIntCannotHoldIsRefusedBeforeAnythingChanges) {
  const std::string no = "List extent out of range: ";
  struct Case {
    const char* what;
    double divider;
    bool horizontal;
    std::vector<Step> steps;
    std::string dividerRefusal = "";
  } cases[] = {
      // Ordinary lists, which must not move.
      {"an ordinary list",
       2,
       false,
       {add(50), add(50), add(50), insertAt(0, 80), replaceAt(1, 20), resize(2, 0), insertAt(4, 52.9), removeAt(1),
        resize(0, 100)}},
      {"an ordinary horizontal list", 3, true, {add(40), insertAt(0, 60), resize(1, 10), removeAt(0)}},
      {"a negative divider", -5, false, {add(50), add(50), insertAt(1, 20), removeAt(0)}},
      {"a fractional divider", 2.9, false, {add(50), add(50)}},
      // Up to the largest Int, and past it.
      {"content of exactly the largest Int",
       0,
       false,
       {add(2e9), add(147483647), add(0), add(1, no + "the content would be 2147483648 long"), removeAt(0)}},
      {"panels as long as the largest Int and longer",
       0,
       false,
       {add(2147483647.9), removeAt(0), add(2147483648.0, no + "an item 2147483648 long"),
        add(3e9, no + "an item 3000000000 long"), add(kInf, no + "an item Infinity long"),
        add(NAN, no + "an item NaN long")}},
      {"two items longer than an Int only together",
       2,
       false,
       {add(2e9), add(2e8, no + "the content would be 2200000006 long"),
        insertAt(0, 2e8, no + "the content would be 2200000006 long"), replaceAt(0, 2147483643), removeAt(0)}},
      {"two items longer than an Int only together, across",
       2,
       true,
       {add(2e9), add(2e8, no + "the content would be 2200000006 long"), add(147483641),
        add(0, no + "the content would be 2147483649 long"), removeAt(0)}},
      {"resizing the first of four to the largest Int",
       2,
       false,
       {add(50), add(50), add(50), add(50), resize(0, 2147483647, no + "item 3 would lie at 2147483755"),
        replaceAt(0, 2147483647, no + "item 3 would lie at 2147483755"), removeAt(0)}},
      {"insertions that push the end past the Int range",
       0,
       false,
       {add(2147483000), add(600), insertAt(0, 48, no + "the content would be 2147483648 long"),
        insertAt(1, 48, no + "the content would be 2147483648 long"), insertAt(0, 47)}},
      {"removals that lengthen a list with items of negative size",
       0,
       false,
       {add(50), resize(0, -1000), add(2e9), add(147484000), removeAt(0, no + "the content would be 2147484000 long"),
        add(-2000), removeAt(0, no + "item 2 would lie at 2147484000"),
        resize(0, 0, no + "item 3 would lie at 2147484000"), removeAt(1), removeAt(0)}},
      // The designer's divider.
      {"the smallest Int as the divider",
       -2147483648.5,
       false,
       {add(10, no + "the content would be -4294967286 long"), add(10, no + "the content would be -4294967286 long"),
        removeAt(0)}},
      {"a divider of 1e12", 1e12, false, {}, no + "DividerHeight 1000000000000"},
      {"a divider of the largest Int", 2147483647, false, {}, no + "DividerHeight 2147483647, kept as 2147483648"},
      {"a divider below the smallest Int", -2147483649.0, false, {}, no + "DividerHeight -2147483649"},
      {"a divider of -infinity", -kInf, true, {}, no + "DividerHeight -Infinity"},
      {"a divider of infinity", kInf, false, {}, no + "DividerHeight Infinity"},
      {"a divider that is not a number", NAN, false, {}, no + "DividerHeight NaN"},
  };
  for (const auto& c : cases) {
    ListHarness h;
    std::string refusal = Redesign(h, c.divider, c.horizontal);
    EXPECT_EQ(refusal, c.dividerRefusal) << c.what;
    if (!refusal.empty() || !c.dividerRefusal.empty()) continue;
    Model m{static_cast<int64_t>(h.lv->_getdividersize()), {}};
    for (size_t i = 0; i < c.steps.size(); ++i) {
      std::string where = std::string(c.what) + ", step " + std::to_string(i);
      std::string before = Picture(h);
      EXPECT_EQ(RunStep(h, m, c.steps[i]), c.steps[i].refusal) << where;
      if (!c.steps[i].refusal.empty()) {
        EXPECT_EQ(Picture(h), before) << where << ": the list is as it was";
      }
      ExpectLayout(h, m, where);
    }
  }
}

// Long random runs of every operation with sizes and dividers up to and past the Int range: an
// operation is taken exactly when the layout it leaves fits an Int (and its panel's extent is
// an Int), and the list then holds that layout; a refused one leaves the list as it was.
TEST(ListExtents, RandomOperationsFollowTheModel) {
  std::mt19937_64 rng(36);
  const double sizes[] = {0, 1, 50, 147483647, 1e9, 2e9, 2147483000, 2147483647, 2147483648.0, 3e9, -40, -1e9};
  const double dividers[] = {0, 2, -3, 1000000, -2147483648.0, 2147483520};
  for (int run = 0; run < 48; ++run) {
    ListHarness h;
    ASSERT_EQ(Redesign(h, dividers[run % std::size(dividers)], run % 3 == 0), "");
    Model m{static_cast<int64_t>(h.lv->_getdividersize()), {}};
    for (int i = 0; i < 120; ++i) {
      auto n = static_cast<int>(m.sizes.size());
      Step s{static_cast<Op>(rng() % 5), n == 0 ? 0 : static_cast<int>(rng() % n),
             rng() % 2 == 0 ? static_cast<double>(rng() % 120) : sizes[rng() % std::size(sizes)], ""};
      if (s.op == Op::Insert) s.index = static_cast<int>(rng() % (n + 1));
      if (n == 0 && (s.op == Op::Replace || s.op == Op::Resize)) s.op = Op::Add;
      if (s.op == Op::Replace || s.op == Op::Resize) s.size = std::min(s.size, 2147483647.0);
      Model next = m;
      Apply(next, s);
      bool taken = next.fitsAnInt() && ((s.op != Op::Add && s.op != Op::Insert) || s.size < 2147483648.0);
      std::string where = "run " + std::to_string(run) + ", step " + std::to_string(i);
      std::string before = Picture(h);
      ASSERT_EQ(RunStep(h, m, s).empty(), taken) << where;
      if (!taken) {
        EXPECT_EQ(Picture(h), before) << where;
      }
      ExpectLayout(h, m, where);
    }
  }
}

}  // namespace
}  // namespace tmr
