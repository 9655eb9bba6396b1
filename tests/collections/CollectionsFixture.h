#pragma once
// A runtime with the collections module set up, its console captured, and small helpers to
// build and read lists and byte arrays in tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "collections/tm_collections.h"
#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Runtime.h"

namespace tmr {

class CollectionsFixture : public ::testing::Test {
 protected:
  CollectionsFixture() {
    rt.setLogSink([this](std::string_view line) { logs.emplace_back(line); });
    col->initializeModule();
  }

  // The items of a list as the runtime prints them.
  static std::vector<std::string> Texts(const List& l) {
    std::vector<std::string> out;
    for (const Object& o : l) out.push_back(o.AsString().str());
    return out;
  }
  static List L(std::initializer_list<Object> items) { return List::Of(std::vector<Object>(items)); }
  static ByteArray B(std::initializer_list<int> bytes) {
    ByteArray b(static_cast<int>(bytes.size()));
    int i = 0;
    for (int v : bytes) b.Set(i++, v);
    return b;
  }
  static std::vector<int> Ints(const ByteArray& b) { return std::vector<int>(b.span().begin(), b.span().end()); }
  int CountLogs(std::string_view line) const {
    int n = 0;
    for (auto& l : logs) n += l == line;
    return n;
  }

  // Declared first: objects that log on release are gone before it.
  std::vector<std::string> logs;
  Runtime rt;
  std::shared_ptr<tm_collections> col = rt.codeModule<tm_collections>();
};

}  // namespace tmr
