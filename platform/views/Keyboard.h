#pragma once
// The focus of text input and the on-screen keyboard of one runtime (a runtime service). At most
// one text field has the focus; while one has it the keyboard is shown and the keys go into it:
// each key edits the field at once (at its cursor, replacing its selection) and the field
// raises "textchanged" (old, new) on the next turn of the main loop, as the platform reports an
// edit after the field has taken the character; Return raises "enterpressed" on the next turn
// too, after the edits before it.
//
// Focus events are raised at once: moving the focus raises the old field's "endedit" before the
// new field's "beginedit". A field that left the view tree (no parent) has lost the focus
// without a word: it raises no "endedit", typing finds no field, and the key events it had
// still to raise are dropped.
#include <memory>

#include "platform/core/String.h"

namespace tmr {

class Runtime;
class TextFieldObject;

class Keyboard {
 public:
  explicit Keyboard(Runtime& rt) : rt_(rt) {}
  static Keyboard& of(Runtime& rt);

  // The field that has the focus, or null.
  std::shared_ptr<TextFieldObject> focused() const;
  bool shown() const { return focused() != nullptr; }

  // Gives the focus to field. A field that already has it keeps it and raises nothing; one that
  // is disabled or not inside a parent view does not take it (false).
  bool requestFocus(const std::shared_ptr<TextFieldObject>& field);
  // Takes the focus from field (raising its "endedit"); a field without the focus: nothing.
  void resign(const TextFieldObject& field);

  // Keys pressed on the keyboard, into the focused field. Failing with a RuntimeError when no
  // field has the focus, or (type) when the keyboard has no key for a character, before any
  // key of the text is pressed. A character outside the basic plane is one key.
  void type(const String& text);
  // The delete key: removes the selection or the character before the cursor (nothing to
  // delete: no edit, no event).
  void deleteBackward();
  // The Return key: "enterpressed" in a single-line field, a new line in a text view.
  void enter();

 private:
  std::shared_ptr<TextFieldObject> requireFocused(const char* what) const;
  // The field raises the event on the next turn, if it is still in the tree then.
  void post(const std::shared_ptr<TextFieldObject>& field, const char* event, String old, String now);

  Runtime& rt_;
  std::weak_ptr<TextFieldObject> focused_;
};

}  // namespace tmr
