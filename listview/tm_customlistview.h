#pragma once
// The list view: a scrolling list of item panels inside one scroll view, vertical (the default)
// or horizontal. Each item is a panel the caller supplies (or a text item the list makes) and a
// value of any kind. Items lie one after another along the scroll axis with dividers between
// them (gaps through which the divider colour of the scroll view's inner panel shows):
//   item 0 at the divider size, item i+1 at item i's offset + its size + the divider size, and
//   the content extends the divider size past the last item (0 for an empty list).
// Inserting, replacing and resizing animate the items that can be seen; the stored offsets and
// frames are the final ones at once, so the next operation works from the final layout.
//
// Offsets and the content size are Ints, and each is the exact sum above: an operation after
// which one of them would lie outside the Int range (-2147483648 to 2147483647), or that adds a
// panel whose extent along the axis has an integer part no Int holds (or is no number), is
// refused with "List extent out of range: ..." before anything changes. So an item that would
// take the items together past the largest Int is refused even when each item fits, and so is
// the removal of an item of negative size that would make the list that much longer. The designer's
// "DividerHeight" is refused the same way, before the list takes anything from its layout, when
// its integer part, as the Float the list keeps, is no Int (infinities and NaN included).
//
// Events raised on the callback module (event name + suffix):
//   "_ItemClick" (index, value) and "_ItemLongClick" (index, value) at once, on a tap (with a
//   flash in the pressed colour) and a long press (with a haptic tap) of an item;
//   "_ScrollChanged" (offset along the axis) at once, on every scroll;
//   "_ReachEnd" () on the next turn, when the visible window ends within 5 points of the
//   content's end (at most once per 100 ms);
//   "_VisibleRangeChanged" (first, last) on the next turn, when the visible items change.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "listview/_clvitem.h"
#include "platform/core/List.h"
#include "platform/core/Module.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/native/NativeObject.h"
#include "platform/views/CustomView.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub_customlistview_PanelClickHandler;
class ViewObject;

class tm_customlistview : public ClassModule, public CustomView {
 public:
  std::string_view className() const override { return "tm_customlistview"; }
  const SubTable& subTable() const override;
  // The class as layouts name it, with its designer properties: "ListOrientation" (text,
  // "Vertical"), "DividerColor" (colour, required), "DividerHeight" (number, required),
  // "PressedColor" (colour, required), "InsertAnimationDuration" (number, 300) and
  // "ShowScrollBar" (Boolean, true).
  static LayoutRegistry::CustomViewClass LayoutClass();

  // --- Creation (the layout loader calls these).
  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  void _designercreateview(View base, LabelWrapper lbl, Map props) override;
  // Lays the list out for a new size: the scroll view fills the base panel and every item
  // spans it across the axis; sizes along the axis and offsets stay.
  void _base_resize(double width, double height) override;
  // "" is the scroll view; "item<N>" the wrapper panel of item N.
  View partNamed(std::string_view part) const override;
  View _asview() { return mbase; }
  View _getbase() { return mbase; }
  View _createscrollview();

  // --- Items. Indexes are 0-based; an index outside the list is the runtime's "Out of bounds"
  // error, raised before anything changes.
  void _add(View pnl, Object value);
  void _addtextitem(Object text, Object value);
  // The panel's height (width for a horizontal list) is the item's size; its extent across
  // the axis becomes the list's.
  void _insertat(int32_t index, View pnl, Object value);
  // A text item (vertical lists only): the text in a multi-line label at least 50 high.
  void _insertattextitem(int32_t index, Object text, Object value);
  // The one insertion routine: initialsize 0 inserts, any other replaces an item of that size.
  void _insertatimpl(int32_t index, View pnl, int32_t itemsize, Object value, int32_t initialsize);
  // Removes the item; the later items move back at once. Removing the only item (index 0)
  // clears the list.
  void _removeat(int32_t index);
  void _replaceat(int32_t index, View pnl, int32_t itemsize, Object value);
  // Gives the item a new size, keeping its panel, value, colour and kind.
  void _resizeitem(int32_t index, int32_t itemsize);
  void _clear();
  int32_t _getsize() { return items.Size(); }
  std::shared_ptr<_clvitem> _getrawlistitem(int32_t index);
  View _getpanel(int32_t index);
  Object _getvalue(int32_t index);
  // The index of the item that holds the view, or -1 when the view lies in no item.
  int32_t _getitemfromview(View v);
  int32_t _finditemoffset(int32_t index);
  // The item at a content position (a divider belongs to the item before it): a binary search;
  // -1 for an empty list.
  int32_t _findindexfromoffset(int32_t offset);
  float _getdividersize() { return mdividersize; }

  // --- The scroll view, along the list's axis.
  double _getscrollviewcontentsize();
  void _setscrollviewcontentsize(double size);
  double _getscrollviewoffset();
  void _setscrollviewoffset(double offset);
  double _getscrollviewvisiblesize();
  double _getmaxscrolloffset();
  void _setitemoffset(const std::shared_ptr<_clvitem>& item, double offset);
  // Scrolls (at once, or animated) so that the item's leading divider is at the top, or as far
  // as the content goes; never before the content's start.
  void _jumptoitem(int32_t index);
  void _scrolltoitem(int32_t index);
  void _refresh();
  void _resetvisibles();

  // --- Building blocks.
  View _createpanel(String eventName);
  View _createlabel(Object text);

  // --- Events of the list's own views.
  void _panel_click();
  void _panel_longclick();
  void _sv_scrollchanged(int32_t offsetX, int32_t offsetY);
  std::shared_ptr<ResumableSub_customlistview_PanelClickHandler> _panelclickhandler(View senderpanel);
  void _panellongclickhandler(View senderpanel);
  void _scrollhandler();
  void _updatevisiblerange();
  int32_t _getfirstvisibleindex();
  int32_t _getlastvisibleindex();

  // The callback module (null once it is gone) and the full name of an event.
  Object callbackObject() const { return Object(callback.lock()); }
  std::string eventKey(std::string_view suffix) const { return eventname.str() + std::string(suffix); }

  // Wrappers showing the pressed colour of a tap's flash (the stored colour is then the pressed
  // colour, not the item's own).
  void beginFlash(const std::shared_ptr<ViewObject>& wrapper) { ++flashing[wrapper.get()]; }
  void endFlash(const std::shared_ptr<ViewObject>& wrapper);
  bool isFlashing(const View& wrapper) const { return flashing.contains(wrapper.native().get()); }

  View mbase;
  View sv;
  List items;
  float mdividersize = 0;
  String eventname;
  std::weak_ptr<Module> callback;  // weak: the callback module usually holds this list
  int32_t defaulttextcolor = 0;
  int32_t defaulttextbackgroundcolor = 0;
  int32_t animationduration = 300;
  int64_t lastreachendevent = 0;
  int32_t pressedcolor = 0;
  UiLayer ui;
  LabelWrapper designerlabel;
  bool horizontal = false;
  NativeObject feedbackgenerator;
  int32_t mfirstvisibleindex = 0;
  int32_t mlastvisibleindex = 0;
  bool monitorvisiblerange = false;
  bool firescrollchanged = false;
  bool scrollbarsvisible = false;

 protected:
  void _class_globals() override;

 private:
  // Where an insertion puts the new item, how far it moves the items after it and the content
  // size it leaves.
  struct Placement {
    bool append = false;  // placed past the last item, moving none
    int32_t offset = 0;
    double shift = 0;
    int32_t content = 0;
    std::vector<std::shared_ptr<_clvitem>> later;  // the items it moves, in order
  };

  std::shared_ptr<_clvitem> itemAt(int32_t index) const;
  // Works out an insertion at a valid index from the list as it is, or refuses it when an
  // offset or the content size would leave the Int range. `replacing` tells a replacement (no
  // new divider) from an insertion even for an item of size 0; `inplace`: the item at index is
  // still in the list and is the one replaced.
  Placement placeItem(int32_t index, int32_t itemsize, int32_t initialsize, bool replacing, bool inplace);
  // The items from `first` on, which an operation moves to moved(their offset), a rising
  // function; refused when that would take one outside the Int range (`renumber` is what the
  // operation adds to their indexes).
  std::vector<std::shared_ptr<_clvitem>> itemsToMove(int32_t first, int32_t renumber,
                                                     const std::function<double(double)>& moved) const;
  void insertItem(int32_t index, View pnl, int32_t itemsize, Object value, int32_t initialsize, const Placement& at);
  void replaceItem(int32_t index, View pnl, int32_t itemsize, Object value, const Placement& at);

  std::unordered_map<const ViewObject*, int> flashing;
};

}  // namespace tmr
