#include "platform/core/List.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

std::string ListData::description() const {
  std::string s = "(ArrayList) [";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) s += ", ";
    s += items[i].AsString().str();
  }
  return s + "]";
}

List List::Of(std::vector<Object> items) {
  List l;
  l.Initialize();
  l.d_->items = std::move(items);
  return l;
}

void List::Initialize() {
  if (d_) {
    d_->items.clear();
  } else {
    d_ = std::make_shared<ListData>();
  }
}

ListData& List::data() const {
  if (!d_) throw NotInitialized("List");
  return *d_;
}

std::vector<Object>& List::items() { return data().items; }
const std::vector<Object>& List::items() const { return data().items; }

int List::Size() const { return static_cast<int>(data().items.size()); }

Object List::Get(int index) const {
  auto& v = data().items;
  if (index < 0 || static_cast<size_t>(index) >= v.size()) throw OutOfBounds(index, static_cast<int64_t>(v.size()));
  return v[static_cast<size_t>(index)];
}

void List::Set(int index, Object value) {
  auto& v = data().items;
  if (index < 0 || static_cast<size_t>(index) >= v.size()) throw OutOfBounds(index, static_cast<int64_t>(v.size()));
  v[static_cast<size_t>(index)] = std::move(value);
}

void List::Add(Object value) { data().items.push_back(std::move(value)); }

void List::AddAll(const List& other) {
  auto copy = other.items();  // other may be this very list
  auto& v = data().items;
  v.insert(v.end(), copy.begin(), copy.end());
}

void List::InsertAt(int index, Object value) {
  auto& v = data().items;
  if (index < 0 || static_cast<size_t>(index) > v.size()) throw OutOfBounds(index, static_cast<int64_t>(v.size()));
  v.insert(v.begin() + index, std::move(value));
}

void List::RemoveAt(int index) {
  auto& v = data().items;
  if (index < 0 || static_cast<size_t>(index) >= v.size()) throw OutOfBounds(index, static_cast<int64_t>(v.size()));
  v.erase(v.begin() + index);
}

void List::Clear() { data().items.clear(); }

int List::IndexOf(const Object& value) const {
  auto& v = data().items;
  for (size_t i = 0; i < v.size(); ++i)
    if (v[i] == value) return static_cast<int>(i);
  return -1;
}

}  // namespace tmr
