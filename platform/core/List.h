#pragma once
// The runtime's list: a handle to a shared, array-backed list of Objects. A handle that was
// created but not initialised fails on use with "Object not initialized (List)";
// Initialize on an initialised list empties that same list.
#include <memory>
#include <vector>

#include "platform/core/Object.h"

namespace tmr {

class ListData : public RuntimeObject {
 public:
  std::vector<Object> items;
  std::string description() const override;
};

class List {
 public:
  List() = default;  // created, not initialised
  explicit List(std::shared_ptr<ListData> d) : d_(std::move(d)) {}
  static List Of(std::vector<Object> items);  // an initialised list holding items

  void Initialize();
  bool IsInitialized() const { return d_ != nullptr; }
  int Size() const;
  Object Get(int index) const;
  void Set(int index, Object value);
  void Add(Object value);
  void AddAll(const List& other);          // appends copies of other's items
  void InsertAt(int index, Object value);  // 0 … Size
  void RemoveAt(int index);
  void Clear();
  int IndexOf(const Object& value) const;  // first equal item, -1 when absent

  std::vector<Object>& items();
  const std::vector<Object>& items() const;
  auto begin() const { return items().begin(); }
  auto end() const { return items().end(); }
  const std::shared_ptr<ListData>& shared() const { return d_; }
  friend bool operator==(const List& a, const List& b) { return a.d_ == b.d_; }

 private:
  ListData& data() const;
  std::shared_ptr<ListData> d_;
};

}  // namespace tmr
