#include <gtest/gtest.h>

#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/RuntimeError.h"

namespace tmr {
namespace {

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(CollectionsTest, UninitialisedListAndMapFailOnUseWithTheRuntimeMessage) {
  List l;
  Map m;
  EXPECT_FALSE(l.IsInitialized());
  EXPECT_EQ(Message([&] { l.Add(1); }), "Object not initialized (List)");
  EXPECT_EQ(Message([&] { (void)m.Get("k"); }), "Object not initialized (Map)");
  EXPECT_EQ(Message([&] { (void)m.Size(); }), "Object not initialized (Map)");
}

TEST(CollectionsTest, OutOfRangeAccessNamesIndexAndLength) {
  auto l = List::Of({1, 2});
  EXPECT_EQ(Message([&] { (void)l.Get(2); }), "Out of bounds. Index=2 Length=2");
  EXPECT_EQ(Message([&] { l.RemoveAt(-1); }), "Out of bounds. Index=-1 Length=2");
  EXPECT_EQ(Message([&] { l.InsertAt(3, 0); }), "Out of bounds. Index=3 Length=2");
  l.InsertAt(2, 3);  // just past the end is an append
  EXPECT_EQ(l.Get(2), Object(3));
}

TEST(CollectionsTest, InitializeEmptiesTheSameObjectThatOtherHandlesShare) {
  Map devices;
  devices.Initialize();
  devices.Put("a", 1);
  Map alias = devices;
  devices.Initialize();
  EXPECT_EQ(alias.Size(), 0);
  alias.Put("b", 2);
  EXPECT_EQ(devices.Size(), 1);

  auto l = List::Of({1});
  List other = l;
  l.Initialize();
  EXPECT_EQ(other.Size(), 0);
}

TEST(CollectionsTest, MapKeepsFirstInsertionOrderAndReplacesInPlace) {
  Map m;
  m.Initialize();
  m.Put("z", 1);
  m.Put("a", 2);
  m.Put("m", 3);
  m.Put("z", 4);  // same key: last value wins, first position kept
  std::vector<Object> keys = m.Keys();
  EXPECT_EQ(keys, (std::vector<Object>{"z", "a", "m"}));
  EXPECT_EQ(m.Get("z"), Object(4));
  EXPECT_EQ(m.Remove("a"), Object(2));
  EXPECT_EQ(m.Keys(), (std::vector<Object>{"z", "m"}));
  EXPECT_EQ(m.Get("m"), Object(3)) << "positions after a removal stay right";
  EXPECT_TRUE(m.Get("missing").IsNull());
  EXPECT_EQ(m.GetDefault("missing", 9), Object(9));
  m.Put("a", 5);
  EXPECT_EQ(m.GetKeyAt(2), Object("a"));
}

TEST(CollectionsTest, ListIndexOfAndAddAllOfItself) {
  auto l = List::Of({"x", 2, 3.0});
  EXPECT_EQ(l.IndexOf("x"), 0);
  EXPECT_EQ(l.IndexOf(3), 2);
  EXPECT_EQ(l.IndexOf("2"), -1);
  l.AddAll(l);
  EXPECT_EQ(l.Size(), 6);
  // A list stored in an Object is the same list.
  Object o(l);
  o.AsList().Add(7);
  EXPECT_EQ(l.Size(), 7);
}

}  // namespace
}  // namespace tmr
