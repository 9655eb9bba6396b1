#include "platform/views/Keyboard.h"

#include <string>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/TextFieldObject.h"

namespace tmr {

namespace {

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

}  // namespace

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

void Keyboard::post(const std::shared_ptr<TextFieldObject>& field, const char* event, String old, String now) {
  std::weak_ptr<TextFieldObject> weak = field;
  rt_.loop().post([weak, event, old = std::move(old), now = std::move(now)] {
    auto f = weak.lock();
    if (!f || !f->parent()) return;
    if (std::string_view(event) == "textchanged") {
      f->raise(event, {Object(old), Object(now)});
    } else {
      f->raise(event, {});
    }
  });
}

void Keyboard::type(const String& text) {
  auto f = requireFocused("type into");
  for (int i = 0; i < text.Length(); ++i) {
    char16_t ch = text.CharAt(i);
    if (!f->acceptsCharacter(ch))
      throw RuntimeError("The keyboard of the text field has no key for \"" + text.SubString2(i, i + 1).str() + "\"");
  }
  for (int i = 0; i < text.Length();) {
    int n = (IsHighSurrogate(text.CharAt(i)) && i + 1 < text.Length()) ? 2 : 1;
    String old = f->text();
    f->typeKey(text.SubString2(i, i + n));
    post(f, "textchanged", old, f->text());
    i += n;
  }
}

void Keyboard::deleteBackward() {
  auto f = requireFocused("delete from");
  String old = f->text();
  if (f->deleteBackward()) post(f, "textchanged", old, f->text());
}

void Keyboard::enter() {
  auto f = requireFocused("press Return in");
  if (f->multiline()) {
    String old = f->text();
    f->typeKey("\n");
    post(f, "textchanged", old, f->text());
    return;
  }
  post(f, "enterpressed", String(), String());
}

}  // namespace tmr
