#pragma once
// A dialog template with a search field above a list view. The list shows at most
// `maxnumberofitemstoshow` of the items that contain the typed term, case-insensitively, the
// matched part drawn in `texthighlightcolor`. Tapping an item, or Return, closes the dialog
// with the positive result and leaves the chosen item in `selecteditem`.
//
// The items are indexed once by their lower-case pieces of 1 to `max_limit` characters: a piece
// at the start of an item goes to `prefixlist`, one found only later to `substringlist`; each
// key lists the items in their order. A term is looked up by its first `max_limit` characters
// and the bucket's items are then compared with the whole term, so typing never scans all
// items. Item panels of the list are recycled between searches.
//
// Lower-casing is per character, so an item's lower-case text has the same length as the item
// and the positions found in it mark the same characters in the item.
//
// The index object of _setitems / _setindex is a list of three: prefix map, substring map,
// items. Every _setitems builds new maps, so an index object kept from before stays as it was.
#include <cstdint>
#include <memory>

#include "dialogs/ListDialogTemplate.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub;
class tm_dialog;
class tm_floattextfield;

class tm_searchtemplate : public ListDialogTemplate {
 public:
  static constexpr int32_t kItemBackground = static_cast<int32_t>(0xFF555555);

  std::string_view className() const override { return "tm_searchtemplate"; }
  const SubTable& subTable() const override;
  const FieldTable& fieldTable() const override;

  // Builds the 300 × 220 content from the layout "SearchTemplate".
  String _initialize(const std::shared_ptr<Dispatcher>& ba);
  // Indexes items (logging the time taken), keeps the list itself in `allitems` and returns the
  // index object.
  List _setitems(List items);
  // Takes the maps and items of an index object from _setitems, without indexing again. Anything
  // else is a RuntimeError and changes nothing.
  String _setindex(Object index);
  String _resize(int32_t Width, int32_t Height);
  // Lists the items that contain term; nothing happens for the last term unless forced.
  String _update(String term, bool force);

  // --- Template protocol.
  std::shared_ptr<ResumableSub> _show(Object dialog);

  // --- Events of the search field and the list.
  void _searchfield_textchanged(String old, String newText);
  void _searchfield_enterpressed();
  void _customlistview1_itemclick(int32_t index, Object value);

  std::shared_ptr<tm_dialog> xdialog;
  std::shared_ptr<tm_floattextfield> searchfield;
  Map prefixlist;
  Map substringlist;
  int32_t texthighlightcolor = static_cast<int32_t>(0xFFFD5C5C);
  int32_t itemhightlightcolor = static_cast<int32_t>(0x7E008EFF);
  int32_t max_limit = 4;
  int32_t maxnumberofitemstoshow = 100;
  List itemscache;
  List allitems;
  String selecteditem = "";
  String lastterm = "";
  bool allowunlistedtext = false;

 protected:
  void _class_globals() override;

 private:
  // Appends the candidates that contain full (lower case) until the list is full.
  void addItems(const Object& candidates, const String& full);
};

}  // namespace tmr
