#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/RuntimeError.h"
#include "tests/support/MapModel.h"

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

// Removals from the front, the back and the middle, mixed with puts, index reads and whole
// walks, against a plain vector of the entries in insertion order.
TEST(CollectionsTest, MapKeepsOrderAndPositionsThroughManyRemovals) {
  Map m;
  m.Initialize();
  std::vector<std::pair<int, int>> model;
  std::mt19937 rng(7);
  auto position = [&](size_t n) { return static_cast<int>(rng() % n); };
  for (int step = 0; step < 4000; ++step) {
    int op = static_cast<int>(rng() % 8);
    if (model.empty() || op < 3) {
      int key = static_cast<int>(rng() % 600);
      auto it = std::find_if(model.begin(), model.end(), [&](auto& e) { return e.first == key; });
      if (it == model.end()) model.emplace_back(key, step); else it->second = step;
      m.Put(key, step);
    } else if (op < 6) {
      // The first, the last or any entry, found by its position as a caller would.
      int at = op == 3 ? 0 : op == 4 ? static_cast<int>(model.size()) - 1 : position(model.size());
      Object key = m.GetKeyAt(at);
      ASSERT_EQ(key, Object(model[static_cast<size_t>(at)].first)) << "step " << step;
      EXPECT_EQ(m.Remove(key), Object(model[static_cast<size_t>(at)].second));
      model.erase(model.begin() + at);
      EXPECT_TRUE(m.Remove(key).IsNull()) << "a key goes once";
    } else if (op == 6) {
      int at = position(model.size());
      ASSERT_EQ(m.GetValueAt(at), Object(model[static_cast<size_t>(at)].second)) << "step " << step;
      ASSERT_EQ(m.Get(model[static_cast<size_t>(at)].first), Object(model[static_cast<size_t>(at)].second));
    } else {
      std::vector<Object> keys;
      for (auto& e : model) keys.emplace_back(e.first);
      ASSERT_EQ(m.Keys(), keys) << "step " << step;
    }
    ASSERT_EQ(m.Size(), static_cast<int>(model.size()));
  }
  EXPECT_EQ(Message([&] { (void)m.GetKeyAt(m.Size()); }),
            "Out of bounds. Index=" + std::to_string(m.Size()) + " Length=" + std::to_string(m.Size()));
}

// A NaN key equals nothing: each put of one adds an entry that no lookup finds. Removals that
// close the gaps, reads by position, walks that change the map as they go and Clear all keep
// agreeing with a plain list of the entries.
TEST(CollectionsTest, MapWithNaNKeysAgreesWithAPlainModelThroughRemovalsAndWalks) {
  Map m;
  m.Initialize();
  m.Put(std::nan(""), 1);
  m.Put(std::nan(""), 2);
  m.Put("k", 3);
  EXPECT_EQ(m.Size(), 3);
  EXPECT_FALSE(m.ContainsKey(std::nan("")));
  EXPECT_TRUE(m.Remove(std::nan("")).IsNull());
  EXPECT_EQ(m.Values(), (std::vector<Object>{1, 2, 3}));

  for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    std::mt19937 rng(seed);
    MapModel model([&] { return static_cast<uint8_t>(rng()); });
    for (int step = 0; step < 3000; ++step) ASSERT_EQ(model.step(), "") << "seed " << seed << ", step " << step;
  }
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
