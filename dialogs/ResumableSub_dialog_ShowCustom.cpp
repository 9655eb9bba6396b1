#include "dialogs/ResumableSub_dialog_ShowCustom.h"

#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ImageViewWrapper.h"

namespace tmr {

ResumableSub_dialog_ShowCustom::ResumableSub_dialog_ShowCustom(std::shared_ptr<tm_dialog> parent, View content,
                                                               Object yes, Object no, Object cancel)
    : DialogShow(std::move(parent), std::move(yes), std::move(no), std::move(cancel)), content(std::move(content)) {}

SubBody ResumableSub_dialog_ShowCustom::body() {
  auto& d = static_cast<tm_dialog&>(*parent);
  // Checked before anything is built: a background left behind by a failed showing would take
  // every touch of the screen for good.
  if (!content.IsInitialized()) throw NotInitialized("View");
  // Built in one turn, so nothing can run between the removal of an earlier dialog and the
  // new one standing.
  for (const View& old : d.mparent.GetAllViewsRecursive()) {
    if (old.Tag() == Object(tm_dialog::kBackgroundTag)) old.RemoveViewFromParent();
  }
  d.buttonsstate.Clear();
  d.background = d.ui.CreatePanel(d.bi, "background");
  d.background.setTag(Object(tm_dialog::kBackgroundTag));
  mybackground = d.background;
  if (d.blurbackground) {
    ImageViewWrapper image;
    image.Initialize(d.bi, "");
    iv = image;
    d.blurimageview = iv;
    d.background.AddView(iv, 0, 0, d.background.Width(), d.background.Height());
    d.background.setColor(UiLayer::Color_Transparent);
  } else {
    d.background.setColor(d.overlaycolor);
  }
  d.mparent.AddView(d.background, 0, 0, d.mparent.Width(), d.mparent.Height());
  d._updateblur();
  d.base = d.ui.CreatePanel(d.bi, "");
  mybase = d.base;
  d.base.SetColorAndBorder(d.backgroundcolor, d.borderwidth, d.bordercolor, d.bordercornersradius);
  d.RequestFocus(d.base);

  includetitle = !(d.title == Object(""));
  temptitlebarheight = includetitle ? d.titlebarheight : 0;
  height = static_cast<int32_t>(content.Height() + d.buttonsheight + 3 + 3 + temptitlebarheight);
  width = static_cast<int32_t>(content.Width() + 4);
  top = static_cast<int32_t>(Common::Round(d.background.Height() / 2 - height / 2.0));
  removetitle = false;
  if (d.putattop) {
    top = 20;
    if (d.background.Height() - top - height < 200) removetitle = true;
  }
  if (removetitle || d.background.Height() < height) {
    top = 1;
    includetitle = false;
    height = height - temptitlebarheight - 3;
    temptitlebarheight = 0;
  }
  d.background.AddView(d.base, static_cast<double>(Common::Round(d.background.Width() / 2 - width / 2.0)), top, width,
                       height);

  // Made from the last entry of buttonsorder to the first: the first made stands rightmost.
  for (i = static_cast<int32_t>(d.buttonsorder.size()) - 1; i >= 0; --i) {
    btype = d.buttonsorder[static_cast<size_t>(i)];
    switch (btype) {
      case tm_dialog::DialogResponse_Cancel:
        d._createbutton(cancel, btype);
        break;
      case tm_dialog::DialogResponse_Negative:
        d._createbutton(no, btype);
        break;
      case tm_dialog::DialogResponse_Positive:
        d._createbutton(yes, btype);
        break;
      default:
        break;
    }
  }
  d.base.setVisible(false);
  if (includetitle) {
    d.titlebar = d.ui.CreatePanel(d.bi, "TitleBar");
    d.titlebar.setColor(d.titlebarcolor);
    d.base.AddView(d.titlebar, 2, 2, content.Width(), temptitlebarheight);
    lbl = LabelWrapper();
    lbl.Initialize(d.bi, "");
    d._internalsettextorcsbuildertolabel(lbl, d.title);
    lbl.setTextColor(d.titlebartextcolor);
    lbl.setFont(d.titlebarfont);
    lbl.SetTextAlignment("CENTER", "CENTER");
    d.titlebar.AddView(lbl, 0, 0, d.titlebar.Width(), d.titlebar.Height());
  }
  content.RemoveViewFromParent();
  d.base.AddView(content, 2, temptitlebarheight + 2, content.Width(), content.Height());
  tm_dialog::SetVisibleAnimated(d.base, d.visibleanimationduration, true);
  for (const View& each : mybackground.GetAllViewsRecursive()) each.setEnabled(true);

  auto params = co_await WaitFor("closemessage:");
  result = params.empty() ? 0 : params[0].AsInt();

  // Nothing reacts while the frame fades out.
  for (const View& each : mybackground.GetAllViewsRecursive()) each.setEnabled(false);
  tm_dialog::SetVisibleAnimated(mybase, d.visibleanimationduration, false);
  if (d.visibleanimationduration >= 1) co_await Sleep(d.visibleanimationduration);
  mybackground.RemoveViewFromParent();
  ReturnFromResumableSub(Object(result));
}

}  // namespace tmr
