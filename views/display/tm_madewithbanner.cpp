#include "views/display/tm_madewithbanner.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/RichTextBuilder.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {
constexpr int32_t kColorRed = static_cast<int32_t>(0xFFFF0000);
}  // namespace

const SubTable& tm_madewithbanner::subTable() const {
  static const SubTable table{
      sub<&tm_madewithbanner::_initialize>("_initialize:::"),
      sub<&tm_madewithbanner::_designercreateview>("_designercreateview:::"),
      sub<&tm_madewithbanner::_base_resize>("_base_resize::"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_madewithbanner::LayoutClass() {
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_madewithbanner>(); }, {}};
}

void tm_madewithbanner::_class_globals() { CustomViewBase::_class_globals(); }

void tm_madewithbanner::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  RichTextBuilder cs;
  cs.Initialize();
  cs.Append("Made with ")
      .Font(ui.CreateFontAwesome(label.Font().Size()))
      .Color(kColorRed)
      .Append(Common::Chr(kHeart))
      .Pop()
      .Pop()
      .Append(kClosingText);
  label.setAttributedText(cs.PopAll());
  label.SetTextAlignment("CENTER", "CENTER");
  mbase.AddView(label, 0, 0, mbase.Width(), mbase.Height());
}

void tm_madewithbanner::_base_resize(double width, double height) {
  mbase.GetView(0).SetLayoutAnimated(0, 0, 0, width, height);
}

View tm_madewithbanner::partNamed(std::string_view part) const {
  if (!part.empty() || !mbase.IsInitialized() || mbase.NumberOfViews() == 0) return View();
  return mbase.GetView(0);
}

}  // namespace tmr
