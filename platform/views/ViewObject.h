#pragma once
// One node of the platform's view tree: the native view behind a View handle (a panel, a label,
// a button or an image view). It keeps what the runtime stores for a view and reads back: frame
// (with its animation on the loop's clock), visibility, enabled state, Tag, colours and border,
// children in z-order (last on top), gesture recognizers and the event name its events use.
//
// A hidden or disabled view takes no touches, nor does anything inside it; hiding or disabling
// a view (or taking it out of the tree) while a touch is in progress on it cancels that touch.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"
#include "platform/graphics/Font.h"
#include "platform/native/NativeCallable.h"
#include "platform/views/Frame.h"
#include "platform/views/TextAlignment.h"

namespace tmr {

class Bitmap;
class Dispatcher;
class GestureRecognizer;
class Module;
class ViewSystem;

class ViewObject : public NativeCallable {
 public:
  explicit ViewObject(ViewSystem& system);
  ~ViewObject() override;
  ViewObject(const ViewObject&) = delete;
  ViewObject& operator=(const ViewObject&) = delete;

  // The kind as the runtime names it: "Panel", "Label", "Button", "ImageView".
  virtual std::string_view typeName() const = 0;
  std::string description() const override;
  ViewSystem* system() const { return system_; }

  // --- Events: a view made with an event name raises "<event name>_<event>" on the module of
  // the dispatcher it was made with, itself being the sender. An empty name raises nothing.
  void setEvents(std::shared_ptr<Dispatcher> ba, std::string eventName);
  const std::string& eventName() const { return eventName_; }
  bool raisesEvents() const;
  void raise(std::string_view event, std::vector<Object> args);

  // The name the layout gave the view; "" for views made in code.
  const std::string& name() const;
  void setName(std::string name);

  // --- Tree. Adding a view that has a parent moves it.
  std::shared_ptr<ViewObject> parent() const;
  const std::vector<std::shared_ptr<ViewObject>>& children() const { return children_; }
  void addChild(const std::shared_ptr<ViewObject>& child, const Frame& frame);
  void removeFromParent();
  void removeAllChildren();
  void bringToFront();
  // Whether this view is other or lies inside it.
  bool isInside(const ViewObject& other) const;

  // --- Frame. The stored frame becomes the target at once; with a duration the picture moves
  // there on the loop's clock (ease in, ease out), and a newer change starts from where the
  // picture is. A custom view's base panel reports each change of its size as "base_resize::".
  const Frame& frame() const { return frame_; }
  void setFrame(const Frame& frame, int64_t durationMs = 0);
  Frame presentationFrame() const;
  bool isAnimating() const;

  // --- Scrolling. A view that scrolls its content (a scroll view) shows its children moved by
  // its scroll offset and clips them to its bounds; every other view has offset 0 and does not
  // clip (except through a corner radius).
  virtual double scrollX() const { return 0; }
  virtual double scrollY() const { return 0; }
  virtual bool clipsToBounds() const { return false; }

  // --- State stored and read back.
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  Object tag() const;
  void setTag(Object tag);
  int32_t color() const { return color_; }  // background, ARGB
  void setColor(int32_t argb);
  // Sets the background to `from` and lets the picture change to `to` over durationMs on the
  // loop's clock; the stored colour is `to` at once (as with frames). 0 ms: `to` at once.
  void setColorAnimated(int64_t durationMs, int32_t from, int32_t to);
  // The background the screen shows now (the colour on its way during an animation).
  int32_t presentationColor() const;
  bool isColorAnimating() const;
  double borderWidth() const { return extras_ ? extras_->borderWidth : 0; }
  int32_t borderColor() const { return extras_ ? extras_->borderColor : 0; }
  double cornerRadius() const { return extras_ ? extras_->cornerRadius : 0; }
  void setColorAndBorder(int32_t color, double borderWidth, int32_t borderColor, double cornerRadius);

  // --- Text. Labels and buttons carry text; asking any other view fails with a runtime error.
  virtual bool hasText() const { return false; }
  virtual String text() const;
  virtual void setText(const String& text);
  virtual int32_t textColor() const;
  virtual void setTextColor(int32_t argb);
  virtual Font font() const;
  virtual void setFont(const Font& font);
  virtual TextAlignment textAlignment() const;
  virtual void setTextAlignment(const TextAlignment& alignment);

  // --- Canvas content: the picture a canvas on this view showed when it was last invalidated,
  // drawn over the background at its own size from the top-left corner, under the children.
  std::shared_ptr<Bitmap> canvasPicture() const { return extras_ ? extras_->canvasPicture : nullptr; }
  void setCanvasPicture(std::shared_ptr<Bitmap> picture);
  // How many times a canvas on this view was invalidated.
  int64_t canvasInvalidations() const { return extras_ ? extras_->canvasInvalidations : 0; }

  // --- Touches.
  void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
  const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const;
  // Whether a touch that lands here (or on a view inside that does not take clicks) makes this
  // view raise its click: buttons always, panels and labels when they have an event name.
  virtual bool takesClicks() const { return raisesEvents(); }
  // A touch that began on this view ended inside it and was not cancelled.
  virtual void click();
  // Whether a touch held here (kLongClickMs without moving away) raises "longclick" instead of
  // a click: views that take clicks and whose module handles "<event name>_longclick".
  virtual bool takesLongClicks() const;
  void longClick();

  // The custom view this panel is the base of (it hears "base_resize::"), or null.
  void setCustomView(const std::shared_ptr<Module>& view);
  std::shared_ptr<Module> customView() const { return extras_ ? extras_->customView.lock() : nullptr; }

  // Whether this view raises "touch" (action, x, y) for the touches on it and on the views
  // inside it that raise none: panels whose module handles "<event name>_touch:::".
  virtual bool takesTouchEvents() const { return false; }
  // Raises "touch" with the action (TOUCH_ACTION_DOWN 0, UP 1, MOVE 2, CANCEL 3) and the point in this
  // view's own coordinates as Floats.
  void touchEvent(int action, double x, double y);
  // Whether the module of this view's events has the handler of "<event name>_<event>" with
  // that many parameters.
  bool handlesEvent(std::string_view event, int parameterCount) const;

  // Calls by selector through NativeObject: "addGestureRecognizer:".
  Object runMethod(std::string_view selector, std::vector<Object> args) override;

  // Drops every reference the view holds (children, Tag, recognizers, events), so that cycles
  // through Tags end with the view system; the view is inert afterwards.
  virtual void dispose();

 protected:
  // Text views fail here with the runtime's error naming the property.
  [[noreturn]] void unsupported(std::string_view property) const;
  // Cancels a touch in progress on this view (it became untouchable).
  void becameUntouchable();
  // What the view shows changed: the screen draws again.
  void invalidate() const;

 private:
  // The view's place among p's children (p is its parent); p's child count when absent.
  size_t indexInParent(const ViewObject& p) const;

  // What most views never use (a list of a million items holds a million views): made on
  // first use, so that a plain view stays small.
  struct Extras {
    std::string name;
    Object tag;  // a Tag other than null or an Int
    Frame animFrom;
    int64_t animStart = 0;
    int64_t animDuration = 0;
    int32_t colorFrom = 0;
    int64_t colorStart = 0;
    int64_t colorDuration = 0;
    double borderWidth = 0;
    int32_t borderColor = 0;
    double cornerRadius = 0;
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
    std::weak_ptr<Module> customView;
    std::shared_ptr<Bitmap> canvasPicture;
    int64_t canvasInvalidations = 0;
  };
  Extras& extras();
  enum class TagKind : uint8_t { Null, Int, Other };

  ViewSystem* system_;
  std::shared_ptr<Dispatcher> events_;
  std::string eventName_;
  ViewObject* parent_ = nullptr;  // the parent holds this view, and clears this when it goes
  std::vector<std::shared_ptr<ViewObject>> children_;
  Frame frame_;
  int32_t color_ = 0;
  int32_t tagInt_ = 0;  // the Tag when it is an Int (the list view tags every item)
  uint32_t indexHint_ = 0;  // where the view was put among its parent's children
  TagKind tagKind_ = TagKind::Null;
  bool visible_ = true;
  bool enabled_ = true;
  std::unique_ptr<Extras> extras_;
  ViewObject* prevMade_ = nullptr;  // the view system's list of the views it made
  ViewObject* nextMade_ = nullptr;

  friend class ViewSystem;
};

}  // namespace tmr
