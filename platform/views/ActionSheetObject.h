#pragma once
// An action sheet: the buttons a phone shows at the bottom of the screen when it asks the user
// to choose one of a few actions. Shown over a view, it covers the whole screen that view is on
// (the outermost view around it: a sheet the size of a small view could not show its buttons)
// with a dimmed backdrop that takes every touch (nothing under it can be touched, and a touch on
// the backdrop does nothing); at the bottom sits a rounded group with the title (when there is
// one), the destructive button (when there is one) and the items, and below it the cancel button
// (when there is one). A title too long for its row shows its start and an ellipsis. A tap on a
// button takes the sheet away and then raises "<event name>_click:" with the button's whole
// title, the sheet being the sender.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/String.h"
#include "platform/views/PanelObject.h"

namespace tmr {

class ActionSheetObject : public PanelObject {
 public:
  static constexpr int32_t kBackdropColor = static_cast<int32_t>(0x66000000);
  static constexpr int32_t kGroupColor = static_cast<int32_t>(0xFFF9F9F9);
  static constexpr int32_t kCancelColor = static_cast<int32_t>(0xFFFFFFFF);
  static constexpr int32_t kSeparatorColor = static_cast<int32_t>(0xFFD1D1D6);
  static constexpr int32_t kTitleColor = static_cast<int32_t>(0xFF8E8E93);
  static constexpr int32_t kItemColor = static_cast<int32_t>(0xFF007AFF);
  static constexpr int32_t kDestructiveColor = static_cast<int32_t>(0xFFFF3B30);
  static constexpr double kMargin = 8;  // around the groups and between them
  // One button. Rows shrink to fit under kTopClearance, down to kMinRowHeight; beyond that the
  // items scroll (the title and the cancel button stay in place).
  static constexpr double kRowHeight = 57;
  static constexpr double kMinRowHeight = 28;
  static constexpr double kTitleHeight = 44;
  static constexpr double kCornerRadius = 13;
  static constexpr double kTopClearance = 44;  // the sheet never reaches higher than this

  // A button as the sheet shows it: its title and the view that takes its touches.
  struct Button {
    String title;
    std::shared_ptr<ViewObject> view;
  };

  // An empty cancel or destructive title means the sheet has no such button.
  ActionSheetObject(ViewSystem& system, String title, String cancelButton, String destructiveButton,
                    std::vector<String> items);
  std::string_view typeName() const override { return "ActionSheet"; }
  // The backdrop takes touches but raises nothing.
  bool takesClicks() const override { return false; }

  const String& title() const { return title_; }
  const String& cancelButton() const { return cancel_; }
  const String& destructiveButton() const { return destructive_; }
  const std::vector<String>& items() const { return items_; }

  // Lays the sheet out over the bounds of the outermost view around view (view itself when it
  // has no parent), on top of its children.
  void show(const std::shared_ptr<ViewObject>& view);
  bool shown() const { return parent() != nullptr; }
  // The buttons, top to bottom: the destructive one, the items, the cancel one.
  const std::vector<Button>& buttons() const { return buttons_; }
  // What a tap on a button does: the sheet goes, then its click is raised with the title.
  void choose(const String& title);

 private:
  String title_;
  String cancel_;
  String destructive_;
  std::vector<String> items_;
  std::vector<Button> buttons_;
};

}  // namespace tmr
