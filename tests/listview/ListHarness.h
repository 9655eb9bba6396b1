#pragma once
// A list view on a small screen, made as a layout makes it, with a callback module that records
// the events it hears (with the time and whether the loop had to turn for them), and a finger.
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "platform/driver/Finger.h"
#include "platform/views/HapticLog.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {

// What the callback module heard: "click 1 v1", "longclick 0 v0", "scroll 120", "reachend",
// "range 0 3"; at: ms since the harness was made; turn: how many loop turns the harness had run.
struct Heard {
  std::string what;
  int64_t at;
  int turn;
};

// The callback module with every event's sub.
class ListOwner : public OwnerModule {
 public:
  const SubTable& subTable() const override {
    static const SubTable table{sub<&ListOwner::_lst_itemclick>("_lst_itemclick::"),
                                sub<&ListOwner::_lst_itemlongclick>("_lst_itemlongclick::"),
                                sub<&ListOwner::_lst_reachend>("_lst_reachend"),
                                sub<&ListOwner::_lst_scrollchanged>("_lst_scrollchanged:"),
                                sub<&ListOwner::_lst_visiblerangechanged>("_lst_visiblerangechanged::")};
    return table;
  }
  void _lst_itemclick(Object index, Object value) {
    note("click " + index.AsString().str() + " " + value.AsString().str());
    if (onClick) onClick(index.AsInt());
  }
  void _lst_itemlongclick(Object index, Object value) {
    note("longclick " + index.AsString().str() + " " + value.AsString().str());
  }
  void _lst_reachend() { note("reachend"); }
  void _lst_scrollchanged(Object offset) { note("scroll " + offset.AsString().str()); }
  void _lst_visiblerangechanged(int32_t first, int32_t last) {
    note("range " + std::to_string(first) + " " + std::to_string(last));
  }

  void note(std::string what) { heard.push_back(Heard{std::move(what), now() - start, *turns}); }
  int64_t now() const { return runtime().Now(); }

  std::vector<Heard> heard;
  std::function<void(int32_t)> onClick;
  int64_t start = 0;
  const int* turns = nullptr;
};

// A callback module without any of the list's subs.
using SilentOwner = OwnerModule;

struct ListOptions {
  std::string orientation = "Vertical";
  int divider = 2;
  int64_t pressed = 0xFF3060C0;
  int64_t dividerColor = 0xFFD0D0D0;
  int animation = 300;
  bool showScrollBar = true;
  bool silent = false;  // the callback module has no subs
};

constexpr int32_t kBaseColor = static_cast<int32_t>(0xFFF8F8F0);
constexpr int32_t kLabelColor = static_cast<int32_t>(0xFF202040);

// The list's base panel is 400 x 800 at (0, 50) of a 400 x 900 screen.
struct ListHarness {
  ListHarness() : ListHarness(ListOptions()) {}
  explicit ListHarness(ListOptions o) {
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    ViewSystem::of(rt);
    owner->_initialize(rt);
    owner->start = rt.Now();
    owner->turns = &turns;
    silent->_initialize(rt);
    screen = ui.CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, 400, 900});
    base = ui.CreatePanel(owner->bi, "");
    base.setColor(kBaseColor);
    screen.AddView(base, 0, 50, 400, 800);
    LabelWrapper label;
    label.Initialize(owner->bi, "");
    label.setTextColor(kLabelColor);
    Map props = Map::Of({{Object("ListOrientation"), Object(o.orientation)},
                         {Object("DividerColor"), Object(o.dividerColor)},
                         {Object("DividerHeight"), Object(o.divider)},
                         {Object("PressedColor"), Object(o.pressed)},
                         {Object("InsertAnimationDuration"), Object(o.animation)},
                         {Object("ShowScrollBar"), Object(o.showScrollBar)}});
    Object cb = o.silent ? Object(silent) : Object(owner);
    lv->_initialize(owner->bi, cb, "lst");
    lv->_designercreateview(base, label, props);
    base.native()->setCustomView(lv);
  }
  ~ListHarness() { rt.shutdown(); }

  // A caller's panel of the given size along the list's axis.
  View panel(int size, int32_t color = static_cast<int32_t>(0xFFFFFFFF)) {
    View p = ui.CreatePanel(owner->bi, "");
    if (lv->horizontal) {
      p.native()->setFrame(Frame{0, 0, static_cast<double>(size), 10});
    } else {
      p.native()->setFrame(Frame{0, 0, 10, static_cast<double>(size)});
    }
    p.setColor(color);
    return p;
  }
  // Appends n items of the given size, valued "v<index>".
  void add(int n, int size = 50) {
    for (int i = 0; i < n; ++i) lv->_add(panel(size), Object("v" + std::to_string(lv->_getsize())));
  }
  View wrapper(int index) { return lv->_getrawlistitem(index)->Panel; }
  std::vector<int> offsets() {
    std::vector<int> out;
    for (int i = 0; i < lv->_getsize(); ++i) out.push_back(lv->_finditemoffset(i));
    return out;
  }
  std::vector<std::string> heard() const {
    std::vector<std::string> out;
    for (const auto& h : owner->heard) out.push_back(h.what);
    return out;
  }
  // Runs one turn of the main loop.
  void turn() {
    ++turns;
    rt.loop().runOneTurn();
  }
  // Runs every turn that is due now.
  void settle() {
    while (rt.loop().hasPending()) turn();
  }
  void wait(int64_t ms) { rt.loop().advance(ms); }
  int hapticTaps() { return rt.service<HapticLog>().count("impactOccurred"); }

  // Checks the layout rules every completed operation keeps: offsets and content size from
  // the sizes and the divider, Tags equal to the indexes, and every wrapper and caller's
  // panel where it belongs.
  void expectConsistent() {
    auto d = static_cast<double>(lv->_getdividersize());
    double pos = d;
    int n = lv->_getsize();
    for (int i = 0; i < n; ++i) {
      auto item = lv->_getrawlistitem(i);
      EXPECT_EQ(item->Offset, std::trunc(pos)) << "item " << i;
      EXPECT_EQ(item->Panel.Tag().AsInt(), i) << "item " << i;
      Frame f = item->Panel.native()->frame();
      if (lv->horizontal) {
        EXPECT_EQ(f, (Frame{static_cast<double>(item->Offset), 0, static_cast<double>(item->Size), lv->sv.Height()}))
            << "item " << i;
      } else {
        EXPECT_EQ(f, (Frame{0, static_cast<double>(item->Offset), lv->sv.Width(), static_cast<double>(item->Size)}))
            << "item " << i;
      }
      EXPECT_EQ(item->Panel.NumberOfViews(), 1) << "item " << i;
      Frame pf = item->Panel.GetView(0).native()->frame();
      EXPECT_EQ(pf.left, 0);
      EXPECT_EQ(pf.top, 0);
      EXPECT_EQ(lv->horizontal ? pf.width : pf.height, item->Size) << "item " << i;
      pos = static_cast<double>(item->Offset) + item->Size + d;
    }
    EXPECT_EQ(lv->_getscrollviewcontentsize(), n == 0 ? 0 : std::trunc(pos)) << "content size";
    EXPECT_EQ(lv->sv.ScrollViewInnerPanel().NumberOfViews(), n);
  }

  Runtime rt;
  UiLayer ui;
  std::vector<std::string> log;
  int turns = 0;
  std::shared_ptr<ListOwner> owner = std::make_shared<ListOwner>();
  std::shared_ptr<SilentOwner> silent = std::make_shared<SilentOwner>();
  std::shared_ptr<tm_customlistview> lv = std::make_shared<tm_customlistview>();
  View screen;
  View base;
  Finger hand() { return Finger(rt, screen); }
};

}  // namespace tmr
