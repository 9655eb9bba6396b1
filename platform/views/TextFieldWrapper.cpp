#include "platform/views/TextFieldWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/Keyboard.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

TextFieldWrapper TextFieldWrapper::FromObject(const Object& o) {
  return TextFieldWrapper(std::static_pointer_cast<ViewObject>(o.As<TextFieldObject>()));
}

Object TextFieldWrapper::MakeEdgeInsets(double top, double left, double bottom, double right) {
  return Object(std::make_shared<EdgeInsets>(top, left, bottom, right));
}

void TextFieldWrapper::make(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName, bool multiline) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<TextFieldObject>(multiline);
  v->setEvents(ba, std::string(eventName));
  static_cast<View&>(*this) = View(v);
}

void TextFieldWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  make(ba, eventName, false);
}

void TextFieldWrapper::InitializeMultiline(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  make(ba, eventName, true);
}

TextFieldObject& TextFieldWrapper::field() const { return static_cast<TextFieldObject&>(obj()); }

bool TextFieldWrapper::Multiline() const { return field().multiline(); }
bool TextFieldWrapper::PasswordMode() const { return field().passwordMode(); }
void TextFieldWrapper::setPasswordMode(bool on) const { field().setPasswordMode(on); }
int32_t TextFieldWrapper::KeyboardType() const { return field().keyboardType(); }
void TextFieldWrapper::setKeyboardType(int32_t type) const { field().setKeyboardType(type); }
int32_t TextFieldWrapper::AutocorrectionType() const { return field().autocorrectionType(); }
void TextFieldWrapper::setAutocorrectionType(int32_t type) const { field().setAutocorrectionType(type); }
bool TextFieldWrapper::ShowClearButton() const { return field().showClearButton(); }
void TextFieldWrapper::setShowClearButton(bool on) const { field().setShowClearButton(on); }

int TextFieldWrapper::SelectionStart() const { return field().selectionStart(); }
int TextFieldWrapper::SelectionLength() const { return field().selectionLength(); }
void TextFieldWrapper::SetSelection(int start, int length) const { field().setSelection(start, length); }
void TextFieldWrapper::SelectAll() const { field().selectAll(); }

bool TextFieldWrapper::RequestFocus() const {
  auto& f = field();
  if (!f.system()) return false;
  return Keyboard::of(f.system()->runtime()).requestFocus(f.self<TextFieldObject>());
}

void TextFieldWrapper::ResignFocus() const {
  auto& f = field();
  if (!f.system()) return;
  Keyboard::of(f.system()->runtime()).resign(f);
}

bool TextFieldWrapper::Focused() const { return field().focused(); }

}  // namespace tmr
