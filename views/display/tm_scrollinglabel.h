#pragma once
// The scrolling label: a custom view that shows one line of text. A text that fits the view's
// width stands still, left-aligned and vertically centred. A wider one is shown twice, three
// blanks apart, and moves left as a marquee: a pause of startpositiondelay ms, one pass over
// (width of the doubled text / widthpersecond) seconds that brings the second copy to where the
// first began, a pause, an invisible jump back, and so on for as long as the text stays.
// The view tree: base panel → clipping panel (the base panel's size) → moving panel (Tag
// "static" while the text stands still, "" while it scrolls) → label. The text starts as the
// designer label's, in its font, but black until _settextcolor. It raises no events.
#include <cstdint>
#include <memory>

#include "platform/graphics/Font.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class ResumableSub_scrollinglabel_StartScrolling;

class tm_scrollinglabel : public CustomViewBase {
  // LayoutClass: the class as layouts name it; it reads no designer properties (the text and the font come
  // from its label).
  // _base_resize: the clipping panel takes the new size and the line is built again for it.
  // partNamed: "" is the label that shows the text; "moving" the panel that carries it.
  TMR_CUSTOM_VIEW(tm_scrollinglabel)

  // Shows the text: still when it fits (not wider than the view), as a marquee otherwise. A
  // text that fits keeps the still line's panel and label; a scrolling one starts a new marquee.
  void _settext(String t);
  String _gettext() const { return mtext; }
  // Sets the colour and shows the text again (a marquee starts over).
  void _settextcolor(int32_t clr);
  int32_t _gettextcolor() const { return mtextcolor; }
  // The advance width of the text in the font.
  float _measuretextwidth(String t, Font f);
  // Starts a marquee of the panel p, whose text is originalwidth wide once.
  std::shared_ptr<ResumableSub_scrollinglabel_StartScrolling> _startscrolling(View p, float originalwidth);
  // Ends a running marquee at its next step.
  void _stopscrolling();

  String mtext;
  // Generation of marquees: a running one ends as soon as this differs from its own.
  int32_t taskindex = 0;
  Font fnt;
  Canvas cvs;  // on a 2 × 2 panel outside the view tree, only to measure text (released after each)
  int32_t widthpersecond = 100;
  int32_t startpositiondelay = 1000;
  int32_t mtextcolor = UiLayer::Color_Black;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
