#pragma once
// A dialog template for choosing a colour with alpha: a 300 × 250 panel with a vertical hue bar
// on the left, a saturation/value square on the right and a horizontal alpha bar below the
// square. The three pictures are drawn in software with the bitmap creator; a marker on a
// canvas above each shows the current choice, and a checkerboard behind the square and the
// alpha bar makes transparency visible. Touches (down, move and up) choose live. While shown,
// the dialog's title bar is painted in the chosen colour; unless the dialog ends with the
// positive result, the colour of the opening is restored.
//
// An HSV colour travels as four Objects: hue (Float, 0-360), saturation and value (Float, 0-1)
// and alpha (Int, 0-255).
#include <cstdint>
#include <memory>
#include <vector>

#include "dialogs/DialogTemplate.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub;
class _colorpickerpart;
class tm_bitmapcreator;
class tm_dialog;

class tm_colortemplate : public DialogTemplate {
 public:
  std::string_view className() const override { return "tm_colortemplate"; }
  const SubTable& subTable() const override;

  // Builds and draws the panel: hue 60, saturation and value 0.5, alpha 255.
  String _initialize(const std::shared_ptr<Dispatcher>& ba);

  // --- Template protocol.
  View _getpanel(Object dialog);
  std::shared_ptr<ResumableSub> _show(Object dialog);
  // Any result but the positive one restores the colour of the opening.
  String _dialogclosed(int32_t result);

  // The chosen colour as ARGB (through the bitmap creator's premultiplied pixel).
  int32_t _getselectedcolor();
  std::vector<Object> _getselectedhsvcolor();
  String _setselectedcolor(int32_t color);
  // Takes [hue, saturation, value, alpha] as given (hue and alpha held to 0-360 and 0-255),
  // moves the markers to them and redraws; an array of fewer than four entries changes nothing.
  String _setselectedhsvcolor(const std::vector<Object>& hsv);
  std::vector<Object> _colortohsv(int32_t color);

  // Lays the parts out in a panel of width × height and redraws everything; the colour stays.
  String _base_resize(double width, double height);
  std::shared_ptr<_colorpickerpart> _createpanelforbitmapcreator(String eventname, bool withcheckers);
  String _drawhuebar();
  String _drawalphabar();
  String _drawcolors();
  String _drawcheckers(const std::shared_ptr<_colorpickerpart>& part);
  String _huebarselectedchanged(float y);
  String _alphabarselectedchange(float x);
  String _handleselectedcolorchanged(int32_t x, int32_t y);
  String _update();
  String _updatebarcolor();

  // --- Events of the touch panels.
  String _huebar_touch(int32_t action, double x, double y);
  String _colors_touch(int32_t action, double x, double y);
  String _alpha_touch(int32_t action, double x, double y);

  int32_t selectedalpha = 255;
  std::shared_ptr<tm_bitmapcreator> bccolors;
  float selectedh = 60;
  float selecteds = 0.5F;
  float selectedv = 0.5F;
  float devicescale = 0;
  float colorscale = 0;
  std::shared_ptr<tm_bitmapcreator> tempbc;
  int32_t dont_change = -999999999;
  std::shared_ptr<_colorpickerpart> huebar;
  std::shared_ptr<_colorpickerpart> colorpicker;
  std::shared_ptr<_colorpickerpart> alphabar;
  int32_t borderscolor = 0;
  std::shared_ptr<tm_dialog> xdialog;
  std::vector<Object> initialcolor;

 protected:
  void _class_globals() override;

 private:
  // Move a bar's marker to the chosen value, which stays as it is.
  void showhue();
  void showalpha();
  // Both markers, the square and the title bar, for a colour set from code or a new layout.
  void showchoice();
};

}  // namespace tmr
