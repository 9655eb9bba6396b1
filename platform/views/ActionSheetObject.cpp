#include "platform/views/ActionSheetObject.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/LabelObject.h"
#include "platform/views/ScrollViewObject.h"
#include "platform/views/TextMeasurer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

// A button of the sheet: a tap on it is the sheet's choice.
class SheetButton : public ButtonObject {
 public:
  // Shows shown (the title cut to fit the row); a tap chooses the whole title.
  SheetButton(ViewSystem& system, std::weak_ptr<ActionSheetObject> sheet, String title, const String& shown)
      : ButtonObject(system, Style::Custom), sheet_(std::move(sheet)), title_(std::move(title)) {
    setText(shown);
  }
  void click() override {
    if (auto sheet = sheet_.lock()) sheet->choose(title_);
  }

 private:
  std::weak_ptr<ActionSheetObject> sheet_;
  String title_;
};

}  // namespace

ActionSheetObject::ActionSheetObject(ViewSystem& system, String title, String cancelButton, String destructiveButton,
                                     std::vector<String> items)
    : PanelObject(system),
      title_(std::move(title)),
      cancel_(std::move(cancelButton)),
      destructive_(std::move(destructiveButton)),
      items_(std::move(items)) {
  setColor(kBackdropColor);
}

void ActionSheetObject::show(const std::shared_ptr<ViewObject>& view) {
  auto parent = view;
  while (auto up = parent->parent()) parent = up;
  removeAllChildren();
  buttons_.clear();
  ViewSystem& views = *system();
  const double width = parent->frame().width;
  const double height = parent->frame().height;
  const double inner = std::max(0.0, width - 2 * kMargin);

  std::vector<String> groupButtons;
  if (!destructive_.empty()) groupButtons.push_back(destructive_);
  groupButtons.insert(groupButtons.end(), items_.begin(), items_.end());
  const bool hasTitle = !title_.empty();
  const bool hasGroup = hasTitle || !groupButtons.empty();
  const bool hasCancel = !cancel_.empty();

  // Rows shrink when there are too many to fit under the top clearance; when even the smallest
  // rows do not fit, the items scroll.
  double fixed = kMargin + (hasTitle ? kTitleHeight : 0) + (hasGroup && hasCancel ? kMargin : 0);
  int rows = static_cast<int>(groupButtons.size()) + (hasCancel ? 1 : 0);
  double row = kRowHeight;
  const double room = height - kTopClearance - fixed;
  if (rows > 0) row = std::clamp(room / rows, kMinRowHeight, kRowHeight);
  const bool scrolls = row * rows > room;

  // A title too long for its row keeps its start and ends with an ellipsis.
  auto& measurer = system()->runtime().service<TextMeasurer>();
  const double textWidth = std::max(0.0, inner - 2 * kMargin);
  auto self = std::static_pointer_cast<ActionSheetObject>(shared_from_this());
  auto addButton = [&](ViewObject& into, const String& text, int32_t color, bool bold, double top) {
    Font font = Font::Make(Font::kDefaultFamily, 20, bold);
    auto b = views.make<SheetButton>(std::weak_ptr<ActionSheetObject>(self), text,
                                     measurer.fitWithEllipsis(text, font, textWidth));
    b->setTextColor(color);
    b->setFont(font);
    into.addChild(b, Frame{0, top, inner, row});
    buttons_.push_back(Button{text, b});
  };

  double bottom = height - kMargin;
  std::shared_ptr<ViewObject> cancelView;
  if (hasCancel) {
    bottom -= row;
    auto panel = views.make<PanelObject>();
    panel->setColorAndBorder(kCancelColor, 0, 0, kCornerRadius);
    addChild(panel, Frame{kMargin, bottom, inner, row});
    cancelView = panel;
    if (hasGroup) bottom -= kMargin;
  }
  if (hasGroup) {
    const double titleHeight = hasTitle ? kTitleHeight : 0;
    const double itemsHeight = row * static_cast<double>(groupButtons.size());
    // A group that scrolls reaches up to the top clearance, its title staying in place.
    const double groupHeight = scrolls ? std::max(0.0, bottom - kTopClearance) : titleHeight + itemsHeight;
    auto group = views.make<PanelObject>();
    group->setColorAndBorder(kGroupColor, 0, 0, kCornerRadius);
    addChild(group, Frame{kMargin, bottom - groupHeight, inner, groupHeight});
    if (hasTitle) {
      auto label = views.make<LabelObject>();
      Font font = Font::Make(Font::kDefaultFamily, 13, true);
      label->setText(measurer.fitWithEllipsis(title_, font, textWidth));
      label->setTextColor(kTitleColor);
      label->setFont(font);
      label->setTextAlignment(TextAlignment{VerticalAlignment::Center, HorizontalAlignment::Center});
      group->addChild(label, Frame{0, 0, inner, kTitleHeight});
    }
    ViewObject* items = group.get();
    double top = titleHeight;
    if (scrolls) {
      auto scroller = views.make<ScrollViewObject>();
      scroller->setContentSize(static_cast<int32_t>(inner), static_cast<int32_t>(std::ceil(itemsHeight)));
      scroller->createInnerPanel();
      group->addChild(scroller, Frame{0, titleHeight, inner, std::max(0.0, groupHeight - titleHeight)});
      items = scroller->innerPanel().get();
      top = 0;
    }
    for (size_t i = 0; i < groupButtons.size(); ++i) {
      if (top > 0 || (scrolls && hasTitle)) {
        auto line = views.make<PanelObject>();
        line->setColor(kSeparatorColor);
        items->addChild(line, Frame{0, top, inner, 0.5});
      }
      bool destructive = i == 0 && !destructive_.empty();
      addButton(*items, groupButtons[i], destructive ? kDestructiveColor : kItemColor, false, top);
      top += row;
    }
  }
  if (cancelView) addButton(*cancelView, cancel_, kItemColor, true, 0);
  parent->addChild(self, Frame{0, 0, width, height});
}

void ActionSheetObject::choose(const String& title) {
  auto keep = std::static_pointer_cast<ActionSheetObject>(shared_from_this());
  removeFromParent();
  raise("click", {Object(title)});
}

}  // namespace tmr
