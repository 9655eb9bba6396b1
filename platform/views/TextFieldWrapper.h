#pragma once
// A native text input as the runtime wraps it: a View that is known to be a single-line text
// field or a multi-line text view (TextFieldObject). Its text, font and colour are the View's.
// Its events: "<event name>_textchanged::" (old, new) and "_enterpressed" on the turn after the
// key; "_beginedit" and "_endedit" at once when the focus comes and goes.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/views/TextFieldObject.h"
#include "platform/views/View.h"

namespace tmr {

class TextFieldWrapper : public View {
 public:
  static constexpr int32_t TYPE_DEFAULT = TextFieldObject::TYPE_DEFAULT;
  static constexpr int32_t TYPE_NUMBERS_AND_PUNCTUATIONS = TextFieldObject::TYPE_NUMBERS_AND_PUNCTUATIONS;
  static constexpr int32_t TYPE_NUMBER_PAD = TextFieldObject::TYPE_NUMBER_PAD;
  static constexpr int32_t TYPE_DECIMAL_PAD = TextFieldObject::TYPE_DECIMAL_PAD;
  static constexpr int32_t AUTOCORRECT_DEFAULT = TextFieldObject::AUTOCORRECT_DEFAULT;
  static constexpr int32_t AUTOCORRECT_NO = TextFieldObject::AUTOCORRECT_NO;
  static constexpr int32_t AUTOCORRECT_YES = TextFieldObject::AUTOCORRECT_YES;

  TextFieldWrapper() = default;
  // The text field or text view an Object refers to; uninitialised when it is neither.
  static TextFieldWrapper FromObject(const Object& o);
  // Insets for "setContentInset:" of a text view.
  static Object MakeEdgeInsets(double top, double left, double bottom, double right);

  // Makes a new single-line text field; a non-empty event name makes it raise its events.
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);
  // Makes a new multi-line text view instead (no "enterpressed": Return types a new line).
  void InitializeMultiline(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);

  bool Multiline() const;
  bool PasswordMode() const;
  void setPasswordMode(bool on) const;
  int32_t KeyboardType() const;
  void setKeyboardType(int32_t type) const;
  int32_t AutocorrectionType() const;
  void setAutocorrectionType(int32_t type) const;
  bool ShowClearButton() const;
  void setShowClearButton(bool on) const;

  // The cursor and selection, in characters (TextFieldObject).
  int SelectionStart() const;
  int SelectionLength() const;
  void SetSelection(int start, int length) const;
  void SelectAll() const;

  // Focus (Keyboard): RequestFocus returns whether the field has it afterwards; ResignFocus on
  // a field without the focus does nothing.
  bool RequestFocus() const;
  void ResignFocus() const;
  bool Focused() const;

  TextFieldObject& field() const;

 private:
  explicit TextFieldWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
  void make(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName, bool multiline);
};

template <>
struct FromObject<TextFieldWrapper> {
  static TextFieldWrapper get(const Object& o) { return TextFieldWrapper::FromObject(o); }
};

}  // namespace tmr
