#include "platform/views/Keyboard.h"

#include <string>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/TextFieldObject.h"

namespace tmr {

namespace {

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

}  // namespace

Keyboard::Keyboard(Runtime& /*rt*/) {}

Keyboard& Keyboard::of(Runtime& rt) { return rt.service<Keyboard>(); }

std::shared_ptr<TextFieldObject> Keyboard::focused() const {
  auto f = focused_.lock();
  if (f && !f->parent()) return nullptr;
  return f;
}

bool Keyboard::requestFocus(const std::shared_ptr<TextFieldObject>& field) {
  if (!field || !field->parent() || !field->enabled()) return false;
  auto old = focused();
  if (old == field) return true;
  focused_.reset();
  if (old) old->raise("endedit", {});
  // The old field's handler may have moved the focus elsewhere: this request still wins.
  if (auto other = focused(); other && other != field) {
    focused_.reset();
    other->raise("endedit", {});
  }
  if (!field->parent() || !field->enabled()) return false;
  focused_ = field;
  field->raise("beginedit", {});
  return true;
}

void Keyboard::resign(const TextFieldObject& field) {
  auto f = focused();
  if (f.get() != &field) return;
  focused_.reset();
  f->raise("endedit", {});
}

std::shared_ptr<TextFieldObject> Keyboard::requireFocused(const char* what) const {
  auto f = focused();
  if (!f) throw RuntimeError(std::string("No text field has the focus to ") + what);
  return f;
}

void Keyboard::edit(const std::shared_ptr<TextFieldObject>& field, const String& text) {
  String old = field->text();
  field->setText(text);
  field->raise("textchanged", {Object(old), Object(text)});
}

void Keyboard::type(const String& text) {
  auto f = requireFocused("type into");
  for (int i = 0; i < text.Length(); ++i) {
    char16_t ch = text.CharAt(i);
    if (!f->acceptsCharacter(ch))
      throw RuntimeError("The keyboard of the text field has no key for \"" + text.SubString2(i, i + 1).str() + "\"");
  }
  for (int i = 0; i < text.Length();) {
    // A character outside the basic plane is one key of two code units.
    int n = (IsHighSurrogate(text.CharAt(i)) && i + 1 < text.Length()) ? 2 : 1;
    // A handler may have moved the focus: the next key goes where the focus is now.
    auto target = focused();
    if (!target) return;
    edit(target, target->text() + text.SubString2(i, i + n));
    i += n;
  }
}

void Keyboard::deleteBackward() {
  auto f = requireFocused("delete from");
  String t = f->text();
  if (t.empty()) return;
  int n = t.Length();
  int cut = (n >= 2 && IsHighSurrogate(t.CharAt(n - 2)) && !IsHighSurrogate(t.CharAt(n - 1))) ? 2 : 1;
  edit(f, t.SubString2(0, n - cut));
}

void Keyboard::enter() {
  auto f = requireFocused("press Return in");
  if (f->multiline()) {
    edit(f, f->text() + String("\n"));
    return;
  }
  f->raise("enterpressed", {});
}

}  // namespace tmr
