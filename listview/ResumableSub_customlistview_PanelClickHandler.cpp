#include "listview/ResumableSub_customlistview_PanelClickHandler.h"

#include "listview/tm_customlistview.h"
#include "platform/core/Common.h"

namespace tmr {

namespace {

// Marks a wrapper as showing the pressed colour for as long as it lives (or until ended), so
// that the list knows the wrapper's stored colour is not the item's own.
class FlashMark {
 public:
  FlashMark(std::shared_ptr<tm_customlistview> list, std::shared_ptr<ViewObject> wrapper)
      : list_(list), wrapper_(std::move(wrapper)) {
    list->beginFlash(wrapper_);
  }
  ~FlashMark() { end(); }
  FlashMark(const FlashMark&) = delete;
  FlashMark& operator=(const FlashMark&) = delete;
  void end() {
    if (auto l = list_.lock(); l && wrapper_) l->endFlash(wrapper_);
    wrapper_.reset();
  }

 private:
  std::weak_ptr<tm_customlistview> list_;
  std::shared_ptr<ViewObject> wrapper_;
};

}  // namespace

ResumableSub_customlistview_PanelClickHandler::ResumableSub_customlistview_PanelClickHandler(
    std::shared_ptr<tm_customlistview> parent, View senderpanel)
    : ResumableSub(std::move(parent)), senderpanel(std::move(senderpanel)) {}

tm_customlistview& ResumableSub_customlistview_PanelClickHandler::list() const {
  return static_cast<tm_customlistview&>(*parent);
}

SubBody ResumableSub_customlistview_PanelClickHandler::body() {
  auto& lv = list();
  Object index = senderpanel.Tag();
  auto item = lv._getrawlistitem(index.AsInt());
  clr = item->Color;
  istransparentpressedcolor = (static_cast<uint32_t>(lv.pressedcolor) & 0xFF000000u) == 0;
  std::unique_ptr<FlashMark> mark;
  if (!istransparentpressedcolor) {
    mark = std::make_unique<FlashMark>(lv.self<tm_customlistview>(), senderpanel.native());
    senderpanel.SetColorAnimated(50, clr, lv.pressedcolor);
  }
  Object cb = lv.callbackObject();
  std::string ev = lv.eventKey("_ItemClick");
  if (lv.c->SubExists(cb, ev, 2)) lv.c->CallSub3(cb, ev, index, item->Value);
  if (!istransparentpressedcolor) {
    co_await Sleep(200);
    mark->end();
    senderpanel.SetColorAnimated(200, lv.pressedcolor, clr);
  }
}

}  // namespace tmr
