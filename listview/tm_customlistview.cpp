#include "listview/tm_customlistview.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

#include "listview/ResumableSub_customlistview_PanelClickHandler.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/dates/DateTime.h"
#include "platform/native/NativeRegistry.h"
#include "platform/views/DesignerPropertyError.h"
#include "platform/views/RichText.h"
#include "platform/views/ScrollViewWrapper.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

constexpr int32_t kNoLastVisible = 0x7FFFFFFF;

// A designer number; a missing one (null) counts as 0.
double NumberOrZero(const Object& o) { return o.IsNull() ? 0 : o.AsDouble(); }

// False for NaN too.
bool FitsAnInt(double v) { return v >= -2147483648.0 && v <= 2147483647.0; }

constexpr const char* kOutOfRange = "List extent out of range: ";

[[nodiscard]] RuntimeError ExtentOutOfRange(const std::string& what) { return RuntimeError(kOutOfRange + what); }

[[nodiscard]] RuntimeError ItemOutOfRange(int64_t index, double offset) {
  return ExtentOutOfRange("item " + std::to_string(index) + " would lie at " + NumberToString(offset).str());
}

void CheckContent(double content) {
  if (!FitsAnInt(content)) throw ExtentOutOfRange("the content would be " + NumberToString(content).str() + " long");
}

}  // namespace

const SubTable& tm_customlistview::subTable() const {
  using L = tm_customlistview;
  static const SubTable table{
      sub<&L::_designercreateview>("_designercreateview:::"),
      sub<&L::_base_resize>("_base_resize::"),
      sub<&L::_asview>("_asview"),
      sub<&L::_getbase>("_getbase"),
      sub<&L::_createscrollview>("_createscrollview"),
      sub<&L::_add>("_add::"),
      sub<&L::_addtextitem>("_addtextitem::"),
      sub<&L::_insertat>("_insertat:::"),
      sub<&L::_insertattextitem>("_insertattextitem:::"),
      sub<&L::_insertatimpl>("_insertatimpl:::::"),
      sub<&L::_removeat>("_removeat:"),
      sub<&L::_replaceat>("_replaceat::::"),
      sub<&L::_resizeitem>("_resizeitem::"),
      sub<&L::_clear>("_clear"),
      sub<&L::_getsize>("_getsize"),
      sub<&L::_getrawlistitem>("_getrawlistitem:"),
      sub<&L::_getpanel>("_getpanel:"),
      sub<&L::_getvalue>("_getvalue:"),
      sub<&L::_getitemfromview>("_getitemfromview:"),
      sub<&L::_finditemoffset>("_finditemoffset:"),
      sub<&L::_findindexfromoffset>("_findindexfromoffset:"),
      sub<&L::_getdividersize>("_getdividersize"),
      sub<&L::_getscrollviewcontentsize>("_getscrollviewcontentsize"),
      sub<&L::_setscrollviewcontentsize>("_setscrollviewcontentsize:"),
      sub<&L::_getscrollviewoffset>("_getscrollviewoffset"),
      sub<&L::_setscrollviewoffset>("_setscrollviewoffset:"),
      sub<&L::_getscrollviewvisiblesize>("_getscrollviewvisiblesize"),
      sub<&L::_getmaxscrolloffset>("_getmaxscrolloffset"),
      sub<&L::_setitemoffset>("_setitemoffset::"),
      sub<&L::_jumptoitem>("_jumptoitem:"),
      sub<&L::_scrolltoitem>("_scrolltoitem:"),
      sub<&L::_refresh>("_refresh"),
      sub<&L::_resetvisibles>("_resetvisibles"),
      sub<&L::_createpanel>("_createpanel:"),
      sub<&L::_createlabel>("_createlabel:"),
      sub<&L::_panel_click>("_panel_click"),
      sub<&L::_panel_longclick>("_panel_longclick"),
      sub<&L::_sv_scrollchanged>("_sv_scrollchanged::"),
      sub<&L::_panelclickhandler>("_panelclickhandler:"),
      sub<&L::_panellongclickhandler>("_panellongclickhandler:"),
      sub<&L::_scrollhandler>("_scrollhandler"),
      sub<&L::_updatevisiblerange>("_updatevisiblerange"),
      sub<&L::_getfirstvisibleindex>("_getfirstvisibleindex"),
      sub<&L::_getlastvisibleindex>("_getlastvisibleindex"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_customlistview::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_customlistview>(); },
                                         {{"ListOrientation", Kind::Text, Object("Vertical")},
                                          {"DividerColor", Kind::Color, std::nullopt},
                                          {"DividerHeight", Kind::Number, std::nullopt},
                                          {"PressedColor", Kind::Color, std::nullopt},
                                          {"InsertAnimationDuration", Kind::Number, Object(300)},
                                          {"ShowScrollBar", Kind::Boolean, Object(true)}}};
}

void tm_customlistview::_class_globals() {
  mbase = View();
  sv = View();
  items = List();
  mdividersize = 0;
  eventname = "";
  callback.reset();
  defaulttextcolor = 0;
  defaulttextbackgroundcolor = 0;
  animationduration = 300;
  lastreachendevent = 0;
  pressedcolor = 0;
  ui = UiLayer();
  designerlabel = LabelWrapper();
  horizontal = false;
  feedbackgenerator = NativeObject();
  mfirstvisibleindex = 0;
  mlastvisibleindex = 0;
  monitorvisiblerange = false;
  firescrollchanged = false;
  scrollbarsvisible = false;
}

void tm_customlistview::_initialize(const std::shared_ptr<Dispatcher>& ba, Object cb, String eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto& rt = ba->runtime();
  initializeClassModule(rt);
  eventname = eventName;
  callback = cb.As<Module>();
  items.Initialize();
  defaulttextbackgroundcolor = UiLayer::Color_White;
  defaulttextcolor = UiLayer::Color_Black;
  monitorvisiblerange = c->SubExists(cb, eventKey("_VisibleRangeChanged"), 2);
  firescrollchanged = c->SubExists(cb, eventKey("_ScrollChanged"), 1);
  // The haptic generator for long clicks: a platform without the class gives no feedback.
  ViewSystem::of(rt);  // the view layer registers the platform's view classes
  if (rt.service<NativeRegistry>().hasClass("UIImpactFeedbackGenerator")) {
    feedbackgenerator = NativeObject::ClassByName(rt, "UIImpactFeedbackGenerator");
    if (feedbackgenerator.IsInitialized())
      feedbackgenerator = feedbackgenerator.RunMethod("alloc").RunMethod("initWithStyle:", {Object(0)});
  }
  _resetvisibles();
}

void tm_customlistview::_designercreateview(View base, LabelWrapper lbl, Map props) {
  // Every offset counts from the divider, kept as a Float: its integer part must be an Int, and
  // still one as the Float it becomes (2147483647 becomes 2147483648).
  double dividerheight = NumberOrZero(props.Get(Object("DividerHeight")));
  double divider = std::trunc(dividerheight);
  // Named as the designer property, so that a layout's error points at the value written.
  auto refused = [&](const std::string& why) {
    return DesignerPropertyError("DividerHeight",
                                 kOutOfRange + ("DividerHeight " + NumberToString(dividerheight).str()) + why);
  };
  if (!FitsAnInt(divider)) throw refused("");
  if (!FitsAnInt(static_cast<float>(divider))) {
    throw refused(", kept as " + NumberToString(static_cast<float>(divider)).str());
  }
  mbase = base;
  horizontal = props.GetDefault(Object("ListOrientation"), Object("Vertical")).AsString() == String("Horizontal");
  sv = _createscrollview();
  mbase.AddView(sv, 0, 0, mbase.Width(), mbase.Height());
  sv.ScrollViewInnerPanel().setColor(ui.PaintOrColorToColor(props.Get(Object("DividerColor"))));
  mdividersize = static_cast<float>(divider);
  pressedcolor = ui.PaintOrColorToColor(props.Get(Object("PressedColor")));
  animationduration =
      TruncateToInt(props.GetDefault(Object("InsertAnimationDuration"), Object(animationduration)).AsDouble());
  scrollbarsvisible = props.GetDefault(Object("ShowScrollBar"), Object(true)).AsBool();
  if (!scrollbarsvisible) {
    NativeObject native{Object(sv)};
    native.RunMethod("setShowsHorizontalScrollIndicator:", {Object(0)});
    native.RunMethod("setShowsVerticalScrollIndicator:", {Object(0)});
  }
  defaulttextcolor = ui.PaintOrColorToColor(Object(lbl.TextColor()));
  defaulttextbackgroundcolor = mbase.Color();
  designerlabel = lbl;
  _base_resize(mbase.Width(), mbase.Height());
}

View tm_customlistview::_createscrollview() {
  ScrollViewWrapper s;
  s.Initialize(bi, "sv", 0, 0);
  return s;
}

void tm_customlistview::_base_resize(double width, double height) {
  sv.SetLayoutAnimated(0, 0, 0, width, height);
  int32_t n = items.Size();
  if (horizontal) {
    sv.setScrollViewContentHeight(TruncateToInt(height));
    double h = sv.ScrollViewContentHeight();
    for (int32_t i = 0; i < n; ++i) {
      View wrapper = itemAt(i)->Panel;
      wrapper.setHeight(h);
      wrapper.GetView(0).setHeight(wrapper.Height());
    }
  } else {
    sv.setScrollViewContentWidth(TruncateToInt(width));
    double w = sv.ScrollViewContentWidth();
    for (int32_t i = 0; i < n; ++i) {
      auto item = itemAt(i);
      View wrapper = item->Panel;
      wrapper.setWidth(w);
      View p = wrapper.GetView(0);
      p.setWidth(wrapper.Width());
      if (item->TextItem) {
        View lbl = p.GetView(0);
        lbl.SetLayoutAnimated(0, lbl.Left(), lbl.Top(), wrapper.Width() - lbl.Left(), lbl.Height());
      }
    }
  }
  if (n > 0) _updatevisiblerange();
}

View tm_customlistview::partNamed(std::string_view part) const {
  if (part.empty()) return sv;
  if (part.starts_with("item") && part.size() > 4) {
    int32_t index = 0;
    for (char ch : part.substr(4)) {
      if (ch < '0' || ch > '9' || index > 100000000) return View();
      index = index * 10 + (ch - '0');
    }
    if (items.IsInitialized() && index < items.Size()) return itemAt(index)->Panel;
  }
  return View();
}

// --- Items

std::shared_ptr<_clvitem> tm_customlistview::itemAt(int32_t index) const {
  // Only this class puts items into the list.
  return std::static_pointer_cast<_clvitem>(items.Get(index).AsRef());
}

void tm_customlistview::_add(View pnl, Object value) { _insertat(items.Size(), pnl, std::move(value)); }

void tm_customlistview::_addtextitem(Object text, Object value) {
  _insertattextitem(items.Size(), std::move(text), std::move(value));
}

void tm_customlistview::_insertat(int32_t index, View pnl, Object value) {
  double extent = std::trunc(horizontal ? pnl.Width() : pnl.Height());
  if (!FitsAnInt(extent)) throw ExtentOutOfRange("an item " + NumberToString(extent).str() + " long");
  _insertatimpl(index, pnl, static_cast<int32_t>(extent), std::move(value), 0);
}

void tm_customlistview::_insertattextitem(int32_t index, Object text, Object value) {
  if (horizontal) {
    c->LogStr("AddTextItem is only supported in vertical orientation.");
    return;
  }
  View pnl = _createpanel("");
  View lbl = _createlabel(std::move(text));
  lbl.setHeight(std::max(50.0, lbl.Height()));
  pnl.AddView(lbl, 5, 2, sv.ScrollViewContentWidth() - 10, lbl.Height());
  pnl.setColor(defaulttextbackgroundcolor);
  pnl.setHeight(lbl.Height() + 2);
  _insertat(index, pnl, std::move(value));
  itemAt(index)->TextItem = true;
}

void tm_customlistview::_insertatimpl(int32_t index, View pnl, int32_t itemsize, Object value, int32_t initialsize) {
  // Checked before anything changes: a bad index must not leave the caller's panel re-parented
  // into a wrapper that no item holds.
  int32_t size = items.Size();
  if (index < 0 || index > size) throw OutOfBounds(index, size);
  if (!pnl.IsInitialized()) throw NotInitialized("View");
  bool replacing = initialsize != 0;
  insertItem(index, std::move(pnl), itemsize, std::move(value), initialsize,
             placeItem(index, itemsize, initialsize, replacing, false));
}

std::vector<std::shared_ptr<_clvitem>> tm_customlistview::itemsToMove(
    int32_t first, int32_t renumber, const std::function<double(double)>& moved) const {
  std::vector<std::shared_ptr<_clvitem>> later;
  int32_t size = items.Size();
  if (first >= size) return later;
  later.reserve(static_cast<size_t>(size - first));
  // The move keeps the order of the offsets: only the smallest and the largest can leave the range.
  size_t lowest = 0;
  size_t highest = 0;
  for (const Object& o : std::span(items.items()).subspan(static_cast<size_t>(first))) {
    later.push_back(std::static_pointer_cast<_clvitem>(o.AsRef()));
    int32_t offset = later.back()->Offset;
    if (offset < later[lowest]->Offset) lowest = later.size() - 1;
    if (offset > later[highest]->Offset) highest = later.size() - 1;
  }
  for (size_t k : {highest, lowest}) {
    double to = moved(later[k]->Offset);
    if (!FitsAnInt(to)) throw ItemOutOfRange(first + static_cast<int64_t>(k) + renumber, to);
  }
  return later;
}

tm_customlistview::Placement tm_customlistview::placeItem(int32_t index, int32_t itemsize, int32_t initialsize,
                                                          bool replacing, bool inplace) {
  int32_t size = items.Size();
  double d = mdividersize;
  double includedivider = replacing ? 0 : std::trunc(d);
  Placement at;
  at.append = index == size && !replacing;
  at.shift = static_cast<double>(itemsize) - initialsize + includedivider;
  double offset = std::trunc(d);
  if (index > 0) {
    if (at.append) {
      offset = _getscrollviewcontentsize();
    } else {
      auto prev = itemAt(index - 1);
      offset = std::trunc(static_cast<double>(prev->Offset) + prev->Size + d);
    }
  }
  if (!FitsAnInt(offset)) throw ItemOutOfRange(index, offset);
  at.offset = static_cast<int32_t>(offset);
  if (!at.append) {
    double shift = at.shift;
    at.later = itemsToMove(inplace ? index + 1 : index, inplace ? 0 : 1, [shift](double o) { return o + shift; });
  }
  double content = _getscrollviewcontentsize() + itemsize - initialsize + includedivider;
  if ((inplace ? size : size + 1) == 1 && index == 0) content = itemsize + 2.0 * d;
  content = std::trunc(content);
  CheckContent(content);
  at.content = static_cast<int32_t>(content);
  return at;
}

void tm_customlistview::insertItem(int32_t index, View pnl, int32_t itemsize, Object value, int32_t initialsize,
                                   const Placement& at) {
  View p = _createpanel("Panel");
  p.setColor(pnl.Color());
  pnl.setColor(UiLayer::Color_Transparent);
  if (horizontal) {
    p.AddView(pnl, 0, 0, itemsize, sv.ScrollViewContentHeight());
  } else {
    p.AddView(pnl, 0, 0, sv.ScrollViewContentWidth(), itemsize);
  }
  p.setTag(Object(index));
  auto item = std::make_shared<_clvitem>();
  item->Panel = p;
  item->Size = itemsize;
  item->Value = std::move(value);
  item->Color = p.Color();
  View inner = sv.ScrollViewInnerPanel();
  int32_t offset = at.offset;

  if (at.append) {
    items.Add(Object(item));
    item->Offset = offset;
    if (horizontal) {
      inner.AddView(p, offset, 0, itemsize, sv.Height());
    } else {
      inner.AddView(p, 0, offset, sv.Width(), itemsize);
    }
  } else {
    double scrolloffset = _getscrollviewoffset();
    double visible = _getscrollviewvisiblesize();
    int32_t i = index;
    for (const auto& it : at.later) {
      auto newoffset = static_cast<int32_t>(it->Offset + at.shift);
      // On screen or before the visible window: the item moves in view, so it glides there.
      if (std::min(newoffset, it->Offset) - scrolloffset < visible) {
        it->Offset = newoffset;
        if (horizontal) {
          it->Panel.SetLayoutAnimated(animationduration, newoffset, 0, it->Size, it->Panel.Height());
        } else {
          it->Panel.SetLayoutAnimated(animationduration, 0, newoffset, it->Panel.Width(), it->Size);
        }
      } else {
        _setitemoffset(it, newoffset);
      }
      it->Panel.setTag(Object(++i));  // its index once the new item is in
    }
    items.InsertAt(index, Object(item));
    item->Offset = offset;
    if (horizontal) {
      inner.AddView(p, offset, 0, initialsize, sv.Height());
      p.SetLayoutAnimated(animationduration, offset, 0, itemsize, p.Height());
    } else {
      inner.AddView(p, 0, offset, sv.Width(), initialsize);
      p.SetLayoutAnimated(animationduration, 0, offset, p.Width(), itemsize);
    }
  }
  _setscrollviewcontentsize(at.content);

  bool report = index < mlastvisibleindex;
  if (!report && mlastvisibleindex >= 0 && mlastvisibleindex < items.Size()) {
    auto last = itemAt(mlastvisibleindex);
    report = static_cast<double>(last->Offset) + last->Size + mdividersize < _getscrollviewvisiblesize();
  }
  if (report) _updatevisiblerange();
}

void tm_customlistview::_removeat(int32_t index) {
  int32_t size = items.Size();
  if (size <= 1) {
    // Only index 0 may remove the one item: another index is a mistake, not a request to clear.
    if (size == 1 && index != 0) throw OutOfBounds(index, size);
    _clear();
    return;
  }
  auto r = itemAt(index);
  double by = static_cast<double>(r->Size) + mdividersize;
  auto moved = [by](double o) { return std::trunc(o - by); };
  // An item of negative size can make the list longer without it.
  auto later = itemsToMove(index + 1, -1, moved);
  double content = std::trunc(_getscrollviewcontentsize() - by);
  CheckContent(content);
  int32_t i = index;
  for (const auto& it : later) {
    it->Panel.setTag(Object(i++));
    _setitemoffset(it, moved(it->Offset));
  }
  _setscrollviewcontentsize(content);
  items.RemoveAt(index);
  r->Panel.RemoveViewFromParent();
}

void tm_customlistview::_replaceat(int32_t index, View pnl, int32_t itemsize, Object value) {
  auto r = itemAt(index);
  if (!pnl.IsInitialized()) throw NotInitialized("View");
  replaceItem(index, std::move(pnl), itemsize, std::move(value), placeItem(index, itemsize, r->Size, true, true));
}

void tm_customlistview::replaceItem(int32_t index, View pnl, int32_t itemsize, Object value, const Placement& at) {
  auto r = itemAt(index);
  items.RemoveAt(index);
  r->Panel.RemoveViewFromParent();
  insertItem(index, std::move(pnl), itemsize, std::move(value), r->Size, at);
}

void tm_customlistview::_resizeitem(int32_t index, int32_t itemsize) {
  auto item = itemAt(index);
  // Refused while the caller's panel is still in its wrapper.
  Placement at = placeItem(index, itemsize, item->Size, true, true);
  View p = _getpanel(index);
  Object v = item->Value;
  View wrapper = p.Parent();
  // During a tap's flash the wrapper shows the pressed colour, and its fade back would run on
  // the wrapper that is about to go: the item keeps its own colour instead.
  p.setColor(isFlashing(wrapper) ? item->Color : wrapper.Color());
  p.RemoveViewFromParent();
  replaceItem(index, p, itemsize, v, at);
  itemAt(index)->TextItem = item->TextItem;
}

void tm_customlistview::_clear() {
  items.Clear();
  sv.ScrollViewInnerPanel().RemoveAllViews();
  _setscrollviewcontentsize(0);
  _resetvisibles();
}

std::shared_ptr<_clvitem> tm_customlistview::_getrawlistitem(int32_t index) { return itemAt(index); }

View tm_customlistview::_getpanel(int32_t index) { return itemAt(index)->Panel.GetView(0); }

Object tm_customlistview::_getvalue(int32_t index) { return itemAt(index)->Value; }

int32_t tm_customlistview::_getitemfromview(View v) {
  View inner = sv.ScrollViewInnerPanel();
  View current = v;
  while (true) {
    View parent = current.Parent();
    if (!parent.IsInitialized()) return -1;
    if (parent == inner) return current.Tag().AsInt();
    current = parent;
  }
}

int32_t tm_customlistview::_finditemoffset(int32_t index) { return itemAt(index)->Offset; }

int32_t tm_customlistview::_findindexfromoffset(int32_t offset) {
  int32_t size = items.Size();
  if (size == 0) return -1;
  int32_t position = TruncateToInt(size / 2.0);
  auto step = static_cast<int32_t>(Common::Ceil(position / 2.0));
  while (true) {
    int64_t nextoffset = position < size - 1 ? static_cast<int64_t>(itemAt(position + 1)->Offset) - 1 : 0x7FFFFFFF;
    int64_t prevoffset = position != 0 ? static_cast<int64_t>(itemAt(position)->Offset) : -2147483648LL;
    if (offset > nextoffset) {
      position = std::min(position + step, size - 1);
    } else if (offset < prevoffset) {
      position = std::max(position - step, 0);
    } else {
      return position;
    }
    step = static_cast<int32_t>(Common::Ceil(step / 2.0));
  }
}

// --- The scroll view

double tm_customlistview::_getscrollviewcontentsize() {
  return horizontal ? sv.ScrollViewContentWidth() : sv.ScrollViewContentHeight();
}

void tm_customlistview::_setscrollviewcontentsize(double size) {
  if (horizontal) {
    sv.setScrollViewContentWidth(TruncateToInt(size));
  } else {
    sv.setScrollViewContentHeight(TruncateToInt(size));
  }
}

double tm_customlistview::_getscrollviewoffset() {
  return horizontal ? sv.ScrollViewOffsetX() : sv.ScrollViewOffsetY();
}

void tm_customlistview::_setscrollviewoffset(double offset) {
  if (horizontal) {
    sv.setScrollViewOffsetX(TruncateToInt(offset));
  } else {
    sv.setScrollViewOffsetY(TruncateToInt(offset));
  }
}

double tm_customlistview::_getscrollviewvisiblesize() { return horizontal ? sv.Width() : sv.Height(); }

double tm_customlistview::_getmaxscrolloffset() { return _getscrollviewcontentsize() - _getscrollviewvisiblesize(); }

void tm_customlistview::_setitemoffset(const std::shared_ptr<_clvitem>& item, double offset) {
  item->Offset = TruncateToInt(offset);
  if (horizontal) {
    item->Panel.setLeft(offset);
  } else {
    item->Panel.setTop(offset);
  }
}

void tm_customlistview::_jumptoitem(int32_t index) {
  // A list shorter than the view has a negative "largest" offset: stay at the start.
  double target = std::max(0.0, std::min(_getmaxscrolloffset(), static_cast<double>(itemAt(index)->Offset)));
  _setscrollviewoffset(target);
}

void tm_customlistview::_scrolltoitem(int32_t index) {
  double target = std::max(0.0, std::min(_getmaxscrolloffset(), static_cast<double>(itemAt(index)->Offset)));
  auto scroller = ScrollViewWrapper::FromObject(Object(sv));
  if (horizontal) {
    scroller.ScrollTo(target, 0, true);
  } else {
    scroller.ScrollTo(0, target, true);
  }
}

void tm_customlistview::_refresh() {
  _resetvisibles();
  _updatevisiblerange();
}

void tm_customlistview::_resetvisibles() {
  mfirstvisibleindex = -1;
  mlastvisibleindex = kNoLastVisible;
}

// --- Building blocks

View tm_customlistview::_createpanel(String eventName) { return ui.CreatePanel(bi, eventName.str()); }

View tm_customlistview::_createlabel(Object text) {
  LabelWrapper lbl;
  lbl.Initialize(bi, "");
  lbl.label().setTextAlignment(designerlabel.label().textAlignment());
  lbl.setFont(designerlabel.Font());
  lbl.setMultiline(true);
  lbl.setTextColor(defaulttextcolor);
  if (auto rich = text.As<RichText>()) {
    lbl.setAttributedText(rich);
  } else {
    lbl.setText(text.AsString());
  }
  lbl.setWidth(sv.ScrollViewContentWidth() - 10);
  lbl.SizeToFit();
  return lbl;
}

// --- Events

void tm_customlistview::_panel_click() { _panelclickhandler(View::FromObject(c->Sender())); }

void tm_customlistview::_panel_longclick() { _panellongclickhandler(View::FromObject(c->Sender())); }

void tm_customlistview::_sv_scrollchanged(int32_t, int32_t) { _scrollhandler(); }

std::shared_ptr<ResumableSub_customlistview_PanelClickHandler> tm_customlistview::_panelclickhandler(View senderpanel) {
  auto rs = std::make_shared<ResumableSub_customlistview_PanelClickHandler>(self<tm_customlistview>(), senderpanel);
  rs->start();
  return rs;
}

void tm_customlistview::_panellongclickhandler(View senderpanel) {
  Object cb = callbackObject();
  std::string ev = eventKey("_ItemLongClick");
  if (!c->SubExists(cb, ev, 2)) return;
  if (feedbackgenerator.IsInitialized()) feedbackgenerator.RunMethod("impactOccurred");
  Object index = senderpanel.Tag();
  c->CallSub3(cb, ev, index, itemAt(index.AsInt())->Value);
}

void tm_customlistview::_scrollhandler() {
  if (items.Size() == 0) return;
  int32_t position = TruncateToInt(_getscrollviewoffset());
  int64_t now = c->SteadyNow();
  // Compared in single precision, as the list has always done.
  float end = static_cast<float>(position) + static_cast<float>(_getscrollviewvisiblesize());
  if (end >= static_cast<float>(_getscrollviewcontentsize()) - 5.0f && now > lastreachendevent + 100) {
    Object cb = callbackObject();
    std::string ev = eventKey("_ReachEnd");
    if (c->SubExists(cb, ev, 0)) {
      lastreachendevent = now;
      c->CallSubDelayed(cb, ev);
    } else {
      // Nobody listens: no need to test again for a long time.
      lastreachendevent = now + DateTime::TicksPerDay * 1000;
    }
  }
  _updatevisiblerange();
  if (firescrollchanged) c->CallSub2(callbackObject(), eventKey("_ScrollChanged"), Object(position));
}

void tm_customlistview::_updatevisiblerange() {
  if (!monitorvisiblerange || items.Size() == 0) return;
  int32_t first = _getfirstvisibleindex();
  int32_t last = _getlastvisibleindex();
  if (first != mfirstvisibleindex || last != mlastvisibleindex) {
    mfirstvisibleindex = first;
    mlastvisibleindex = last;
    c->CallSubDelayed3(callbackObject(), eventKey("_VisibleRangeChanged"), Object(first), Object(last));
  }
}

int32_t tm_customlistview::_getfirstvisibleindex() {
  return _findindexfromoffset(TruncateToInt(_getscrollviewoffset() + mdividersize));
}

int32_t tm_customlistview::_getlastvisibleindex() {
  return _findindexfromoffset(TruncateToInt(_getscrollviewoffset() + _getscrollviewvisiblesize()));
}

void tm_customlistview::endFlash(const std::shared_ptr<ViewObject>& wrapper) {
  auto it = flashing.find(wrapper.get());
  if (it == flashing.end()) return;
  if (--it->second <= 0) flashing.erase(it);
}

}  // namespace tmr
