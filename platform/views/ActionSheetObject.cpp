#include "platform/views/ActionSheetObject.h"

#include <algorithm>

#include "platform/views/ButtonObject.h"
#include "platform/views/LabelObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

// A button of the sheet: a tap on it is the sheet's choice.
class SheetButton : public ButtonObject {
 public:
  SheetButton(ViewSystem& system, std::weak_ptr<ActionSheetObject> sheet, String title)
      : ButtonObject(system, Style::Custom), sheet_(std::move(sheet)), title_(std::move(title)) {
    setText(title_);
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

  // Rows shrink when there are too many to fit under the top clearance (there is no scrolling).
  double fixed = kMargin + (hasTitle ? kTitleHeight : 0) + (hasGroup && hasCancel ? kMargin : 0);
  int rows = static_cast<int>(groupButtons.size()) + (hasCancel ? 1 : 0);
  double row = kRowHeight;
  if (rows > 0) {
    double room = height - kTopClearance - fixed;
    row = std::clamp(room / rows, kMinRowHeight, kRowHeight);
  }

  auto self = std::static_pointer_cast<ActionSheetObject>(shared_from_this());
  auto addButton = [&](ViewObject& into, const String& text, int32_t color, bool bold, double top) {
    auto b = views.make<SheetButton>(std::weak_ptr<ActionSheetObject>(self), text);
    b->setTextColor(color);
    b->setFont(Font::Make(Font::kDefaultFamily, 20, bold));
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
    double groupHeight = (hasTitle ? kTitleHeight : 0) + row * static_cast<double>(groupButtons.size());
    auto group = views.make<PanelObject>();
    group->setColorAndBorder(kGroupColor, 0, 0, kCornerRadius);
    addChild(group, Frame{kMargin, bottom - groupHeight, inner, groupHeight});
    double top = 0;
    if (hasTitle) {
      auto label = views.make<LabelObject>();
      label->setText(title_);
      label->setTextColor(kTitleColor);
      label->setFont(Font::Make(Font::kDefaultFamily, 13, true));
      label->setTextAlignment(TextAlignment{VerticalAlignment::Center, HorizontalAlignment::Center});
      group->addChild(label, Frame{0, 0, inner, kTitleHeight});
      top = kTitleHeight;
    }
    for (size_t i = 0; i < groupButtons.size(); ++i) {
      if (top > 0) {
        auto line = views.make<PanelObject>();
        line->setColor(kSeparatorColor);
        group->addChild(line, Frame{0, top, inner, 0.5});
      }
      bool destructive = i == 0 && !destructive_.empty();
      addButton(*group, groupButtons[i], destructive ? kDestructiveColor : kItemColor, false, top);
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
