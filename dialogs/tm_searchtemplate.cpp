#include "dialogs/tm_searchtemplate.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_searchtemplate_Show.h"
#include "dialogs/tm_dialog.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichTextBuilder.h"
#include "views/input/tm_floattextfield.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {

// Lower case character by character: a character whose lower case would take another number
// of code units (none in practice) stays as it is, so positions carry over to the original.
String LowerPerCharacter(const String& s) {
  std::u16string out = s.units();
  size_t i = 0;
  while (i < out.size()) {
    UChar32 cp = 0;
    size_t start = i;
    U16_NEXT(out.data(), i, out.size(), cp);
    UChar32 lower = u_tolower(cp);
    if (lower == cp || static_cast<size_t>(U16_LENGTH(lower)) != i - start) continue;
    size_t k = start;
    U16_APPEND_UNSAFE(out.data(), k, lower);
  }
  return String(std::move(out));
}

}  // namespace

const SubTable& tm_searchtemplate::subTable() const {
  using T = tm_searchtemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),
      sub<&T::_setitems>("_setitems:"),
      sub<&T::_setindex>("_setindex:"),
      sub<&T::_resize>("_resize::"),
      sub<&T::_update>("_update::"),
      sub<&T::_getpanel>("_getpanel:"),
      sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
      sub<&T::_searchfield_textchanged>("_searchfield_textchanged::"),
      sub<&T::_searchfield_enterpressed>("_searchfield_enterpressed"),
      sub<&T::_customlistview1_itemclick>("_customlistview1_itemclick::"),
  };
  return table;
}

const FieldTable& tm_searchtemplate::fieldTable() const {
  static const FieldTable table{field<&tm_searchtemplate::customlistview1>("customlistview1"),
                                field<&tm_searchtemplate::searchfield>("searchfield")};
  return table;
}

void tm_searchtemplate::_class_globals() {
  ListDialogTemplate::_class_globals();
  xdialog = nullptr;
  searchfield = nullptr;
  prefixlist = Map();
  substringlist = Map();
  texthighlightcolor = static_cast<int32_t>(0xFFFD5C5C);
  itemhightlightcolor = static_cast<int32_t>(0x7E008EFF);
  max_limit = 4;
  maxnumberofitemstoshow = 100;
  itemscache = List();
  allitems = List();
  selecteditem = "";
  lastterm = "";
  allowunlistedtext = false;
}

String tm_searchtemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  // A phone: the keyboard leaves room for 220 points.
  createContent(300, 220, "SearchTemplate");
  if (!customlistview1 || !searchfield)
    throw RuntimeError("The layout SearchTemplate needs the views searchfield and customlistview1");
  styleListContent(kItemBackground);
  itemscache.Initialize();
  prefixlist.Initialize();
  substringlist.Initialize();
  allitems.Initialize();
  return "";
}

List tm_searchtemplate::_setitems(List items) {
  int64_t started = c->SteadyNow();
  // New maps: an index object handed out earlier keeps its own.
  prefixlist = Map();
  prefixlist.Initialize();
  substringlist = Map();
  substringlist.Initialize();
  Map noduplicates;
  noduplicates.Initialize();
  for (int i = 0; i < items.Size(); ++i) {
    Object item = items.Get(i);
    String text = LowerPerCharacter(item.AsString());
    noduplicates.Clear();
    int length = text.Length();
    for (int start = 0; start <= length; ++start) {
      for (int count = 1; count <= max_limit && start + count <= length; ++count) {
        Object key(text.SubString2(start, start + count));
        if (noduplicates.ContainsKey(key)) continue;
        noduplicates.Put(key, Object(""));
        Map& target = start == 0 ? prefixlist : substringlist;
        List bucket = target.Get(key).AsList();
        if (!bucket.IsInitialized()) {
          bucket.Initialize();
          target.Put(key, Object(bucket));
        }
        bucket.Add(item);
      }
    }
  }
  c->Log(String("Index time: ") + String(std::to_string(c->SteadyNow() - started)) + String(" ms (") +
         String(std::to_string(items.Size())) + String(" Items)"));
  allitems = items;
  return List::Of({Object(prefixlist), Object(substringlist), Object(allitems)});
}

String tm_searchtemplate::_setindex(Object index) {
  List parts = index.AsList();
  if (!parts.IsInitialized() || parts.Size() != 3 || !parts.Get(0).AsMap().IsInitialized() ||
      !parts.Get(1).AsMap().IsInitialized() || !parts.Get(2).AsList().IsInitialized()) {
    throw RuntimeError("Not an index of the search template: " + index.AsString().str());
  }
  prefixlist = parts.Get(0).AsMap();
  substringlist = parts.Get(1).AsMap();
  allitems = parts.Get(2).AsList();
  return "";
}

String tm_searchtemplate::_resize(int32_t Width, int32_t Height) {
  mbase.SetLayoutAnimated(0, 0, 0, Width, Height);
  View v = customlistview1->_asview();
  v.SetLayoutAnimated(0, 0, v.Top(), Width, Height - v.Top());
  customlistview1->_base_resize(Width, v.Height());
  return "";
}

String tm_searchtemplate::_update(String term, bool force) {
  if (term == lastterm && !force) return "";
  lastterm = term;
  auto& clv = *customlistview1;
  for (int32_t i = 0; i < clv._getsize(); ++i) {
    View p = clv._getpanel(i);
    p.RemoveViewFromParent();
    itemscache.Add(Object(p));
  }
  clv._clear();
  String full = LowerPerCharacter(term);
  if (term != "") {
    String key = full.Length() <= max_limit ? full : full.SubString2(0, std::max(0, max_limit));
    addItems(prefixlist.Get(Object(key)), full);
    addItems(substringlist.Get(Object(key)), full);
  } else {
    addItems(Object(allitems), full);
  }
  return "";
}

void tm_searchtemplate::addItems(const Object& candidates, const String& full) {
  List list = candidates.AsList();
  if (!list.IsInitialized()) return;
  auto& clv = *customlistview1;
  for (const Object& candidate : list) {
    if (clv._getsize() >= maxnumberofitemstoshow) return;
    String item = candidate.AsString();
    int x = LowerPerCharacter(item).IndexOf(full);
    if (x < 0) continue;
    int32_t color = (clv._getsize() == 0 && full != "" && !allowunlistedtext) ? itemhightlightcolor
                                                                              : clv.defaulttextbackgroundcolor;
    int end = x + full.Length();
    RichTextBuilder rich;
    rich.Initialize();
    rich.Append(item.SubString2(0, x));
    rich.Color(texthighlightcolor).Append(item.SubString2(x, end)).Pop();
    rich.Append(item.SubString(end));
    auto text = rich.PopAll();
    if (itemscache.Size() > 0) {
      View p = View::FromObject(itemscache.Get(itemscache.Size() - 1));
      itemscache.RemoveAt(itemscache.Size() - 1);
      LabelWrapper::FromObject(Object(p.GetView(0))).setAttributedText(text);
      p.setColor(color);
      clv._add(p, Object(item));
    } else {
      clv._addtextitem(Object(text), Object(item));
      // The list puts an item's colour on its own wrapper panel and restores it from the item
      // after a tap's flash.
      auto added = clv._getrawlistitem(clv._getsize() - 1);
      added->Panel.setColor(color);
      added->Color = color;
    }
  }
}

void tm_searchtemplate::_searchfield_textchanged(String /*old*/, String newText) { _update(newText, false); }

void tm_searchtemplate::_searchfield_enterpressed() {
  if (allowunlistedtext) {
    selecteditem = lastterm;
    if (xdialog) xdialog->_close(tm_dialog::DialogResponse_Positive);
    return;
  }
  if (customlistview1->_getsize() > 0 && lastterm != "") {
    _customlistview1_itemclick(0, customlistview1->_getvalue(0));
  }
}

void tm_searchtemplate::_customlistview1_itemclick(int32_t /*index*/, Object value) {
  if (value == Object("")) return;  // the filler
  selecteditem = value.AsString();
  if (xdialog) xdialog->_close(tm_dialog::DialogResponse_Positive);
}

std::shared_ptr<ResumableSub> tm_searchtemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_searchtemplate_Show>(self<tm_searchtemplate>(), dialog);
}

}  // namespace tmr
