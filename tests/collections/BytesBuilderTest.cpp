#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "collections/tm_bytesbuilder.h"
#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"
#include "tests/collections/CollectionsFixture.h"

namespace tmr {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class BytesBuilderTest : public CollectionsFixture {
 protected:
  std::shared_ptr<tm_bytesbuilder> Make(std::initializer_list<int> content = {}) {
    auto bb = std::make_shared<tm_bytesbuilder>();
    bb->_initialize(col->bi);
    bb->_append(B(content));
    return bb;
  }
  static std::vector<int> Content(const tm_bytesbuilder& bb) { return Ints(bb._toarray()); }
  static int Capacity(const tm_bytesbuilder& bb) { return bb._getinternalbuffer().Length(); }
};

TEST_F(BytesBuilderTest, InsertSetRemoveAndSearchWorkTogether) {
  auto bb = Make({1, 2, 3});
  bb->_insert(1, B({9}));
  EXPECT_THAT(Content(*bb), ElementsAre(1, 9, 2, 3));
  bb->_set(3, B({7, 8}));
  EXPECT_THAT(Content(*bb), ElementsAre(1, 9, 2, 7, 8));
  EXPECT_THAT(Ints(bb->_remove(1, 3)), ElementsAre(9, 2));
  EXPECT_THAT(Content(*bb), ElementsAre(1, 7, 8));
  EXPECT_EQ(bb->_getlength(), 3);
  EXPECT_EQ(bb->_indexof(B({7, 8})), 1);
  EXPECT_EQ(bb->_indexof(B({8, 9})), -1);
  EXPECT_THAT(logs, IsEmpty());
}

TEST_F(BytesBuilderTest, InsertAndSetAtOrPastTheEndAppend) {
  struct Case {
    const char* name;
    bool insert;
    int index;
    bool logged;
  } cases[] = {
      {"insert at end", true, 3, false}, {"insert past end", true, 4, true}, {"insert far past end", true, 50, true},
      {"set at end", false, 3, false},   {"set past end", false, 4, true},   {"set far past end", false, 50, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logs.clear();
    auto bb = Make({1, 2, 3});
    if (c.insert) {
      bb->_insert(c.index, B({4, 5}));
    } else {
      bb->_set(c.index, B({4, 5}));
    }
    EXPECT_THAT(Content(*bb), ElementsAre(1, 2, 3, 4, 5));
    EXPECT_EQ(CountLogs("Index too large"), c.logged ? 1 : 0);
    EXPECT_EQ(logs.size(), c.logged ? 1u : 0u);
  }
}

TEST_F(BytesBuilderTest, InsertAndSetInsideTheContent) {
  struct Case {
    const char* name;
    bool insert;
    int index;
    std::vector<int> expected;
  } cases[] = {
      {"insert at front", true, 0, {7, 8, 1, 2, 3}},
      {"insert before last", true, 2, {1, 2, 7, 8, 3}},
      {"set inside", false, 0, {7, 8, 3}},
      {"set across the end", false, 2, {1, 2, 7, 8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto bb = Make({1, 2, 3});
    if (c.insert) {
      bb->_insert(c.index, B({7, 8}));
    } else {
      bb->_set(c.index, B({7, 8}));
    }
    EXPECT_EQ(Content(*bb), c.expected);
    bb->_insert(0, B({}));
    bb->_set(0, B({}));
    EXPECT_EQ(Content(*bb), c.expected);
  }
}

TEST_F(BytesBuilderTest, AppendsReturnTheBuilderAndCopyTheGivenRange) {
  auto bb = Make();
  auto same = bb->_append(B({1}))->_append2(B({5, 6, 7, 8, 9}), 1, 3)->_append2(B({5, 6}), 2, 0);
  EXPECT_EQ(same, bb);
  EXPECT_THAT(Content(*bb), ElementsAre(1, 6, 7, 8));
}

TEST_F(BytesBuilderTest, CapacityAtLeastDoublesAndNeverShrinks) {
  auto bb = Make();
  EXPECT_EQ(Capacity(*bb), 100);
  bb->_append(ByteArray(150));
  EXPECT_EQ(Capacity(*bb), 200);
  bb->_append(ByteArray(300));
  EXPECT_EQ(Capacity(*bb), 450);
  EXPECT_EQ(bb->_getlength(), 450);
  EXPECT_EQ(bb->_changelength(10), 450);
  EXPECT_EQ(Capacity(*bb), 450);
  bb->_clear();
  EXPECT_EQ(bb->_getlength(), 0);
  EXPECT_EQ(Capacity(*bb), 450);
  EXPECT_THAT(Ints(bb->_toarray()), IsEmpty());
}

TEST_F(BytesBuilderTest, GrowthKeepsTheContent) {
  auto bb = Make();
  std::vector<int> expected;
  for (int i = 0; i < 300; ++i) {
    bb->_append(B({i}));
    expected.push_back(i & 0xFF);
  }
  bb->_insert(0, ByteArray(0));
  EXPECT_EQ(Content(*bb), expected);
  EXPECT_EQ(Capacity(*bb), 400);
}

TEST_F(BytesBuilderTest, BuilderThatWasNeverInitializedGrowsToExactlyTheNeededLength) {
  auto bb = std::make_shared<tm_bytesbuilder>();
  EXPECT_EQ(Capacity(*bb), 0);
  bb->_append(B({1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Capacity(*bb), 7);
  bb->_append(B({8}));
  EXPECT_EQ(Capacity(*bb), 14);
  bb->_insert(20, B({9}));  // no console to tell: the bytes are still appended
  EXPECT_THAT(Content(*bb), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9));
}

TEST_F(BytesBuilderTest, InternalBufferIsTheStorageItself) {
  auto bb = Make({4, 5});
  ByteArray buffer = bb->_getinternalbuffer();
  EXPECT_EQ(buffer, bb->mbuffer);
  EXPECT_EQ(buffer.Length(), 100);
  EXPECT_EQ(buffer.Get(0), 4);
  EXPECT_EQ(buffer.Get(1), 5);
  bb->_append(B({6}));
  EXPECT_EQ(buffer.Get(2), 6);
}

TEST_F(BytesBuilderTest, SubArraysAreCopiesOfTheirRange) {
  auto bb = Make({1, 2, 3, 4});
  struct Case {
    int start, end;
    std::vector<int> expected;
  } cases[] = {{0, 4, {1, 2, 3, 4}}, {1, 3, {2, 3}}, {4, 4, {}}, {0, 0, {}}, {3, 4, {4}}};
  for (const auto& c : cases) EXPECT_EQ(Ints(bb->_subarray2(c.start, c.end)), c.expected) << c.start << "," << c.end;
  EXPECT_THAT(Ints(bb->_subarray(2)), ElementsAre(3, 4));
  EXPECT_THAT(Ints(bb->_subarray(4)), IsEmpty());
  ByteArray copy = bb->_toarray();
  copy.Set(0, 99);
  EXPECT_THAT(Content(*bb), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(Ints(Make()->_toarray()), IsEmpty());
}

TEST_F(BytesBuilderTest, RemoveEdgesKeepTheRestInOrder) {
  struct Case {
    int start, end;
    std::vector<int> removed, left;
  } cases[] = {{0, 0, {}, {1, 2, 3, 4}},
               {0, 1, {1}, {2, 3, 4}},
               {3, 4, {4}, {1, 2, 3}},
               {0, 4, {1, 2, 3, 4}, {}},
               {4, 4, {}, {1, 2, 3, 4}}};
  for (const auto& c : cases) {
    auto bb = Make({1, 2, 3, 4});
    EXPECT_EQ(Ints(bb->_remove(c.start, c.end)), c.removed) << c.start << "," << c.end;
    EXPECT_EQ(Content(*bb), c.left);
    EXPECT_EQ(Capacity(*bb), 100);
  }
}

TEST_F(BytesBuilderTest, IndexOfFindsTheFirstMatchFromStartWithinTheContentOnly) {
  auto bb = Make({1, 2, 3, 1, 2, 3});
  struct Case {
    std::vector<int> pattern;
    int start;
    int expected;
  } cases[] = {
      {{1, 2}, 0, 0},
      {{1, 2}, 1, 3},
      {{1, 2}, 4, -1},
      {{3}, 5, 5},
      {{2, 3}, 2, 4},
      {{}, 2, 2},
      {{}, 6, 6},
      {{}, 7, -1},
      {{3, 1}, 0, 2},
      {{1, 2, 3, 1, 2, 3}, 0, 0},
      {{1, 2, 3, 1, 2, 3, 0}, 0, -1},
      {{3, 0}, 0, -1},
      {{9}, 0, -1},
      {{1}, 100, -1},
  };
  for (const auto& c : cases) {
    ByteArray p(static_cast<int>(c.pattern.size()));
    for (size_t i = 0; i < c.pattern.size(); ++i) p.Set(static_cast<int>(i), c.pattern[i]);
    EXPECT_EQ(bb->_indexof2(p, c.start), c.expected) << ::testing::PrintToString(c.pattern) << " from " << c.start;
  }
  EXPECT_EQ(bb->_indexof(B({2, 3, 1})), 1);
}

TEST_F(BytesBuilderTest, BadRangesAreRejectedAndLeaveTheContentUnchanged) {
  auto bb = Make({1, 2, 3});
  ByteArray src = B({5, 6, 7, 8, 9});
  struct Case {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"subarray2 negative start", [&] { bb->_subarray2(-1, 1); }},
      {"subarray2 start after end", [&] { bb->_subarray2(2, 1); }},
      {"subarray2 end past length", [&] { bb->_subarray2(0, 4); }},
      {"subarray negative", [&] { bb->_subarray(-1); }},
      {"subarray past length", [&] { bb->_subarray(4); }},
      {"remove negative start", [&] { bb->_remove(-1, 1); }},
      {"remove start after end", [&] { bb->_remove(2, 1); }},
      {"remove end past length", [&] { bb->_remove(0, 5); }},
      {"remove wholly past length", [&] { bb->_remove(4, 6); }},
      {"append2 negative start", [&] { bb->_append2(src, -1, 2); }},
      {"append2 negative length", [&] { bb->_append2(src, 0, -1); }},
      {"append2 past the source", [&] { bb->_append2(src, 3, 3); }},
      {"append2 start past the source", [&] { bb->_append2(src, 6, 0); }},
      {"append2 overflowing range", [&] { bb->_append2(src, INT_MAX, INT_MAX); }},
      {"insert negative index", [&] { bb->_insert(-1, B({4})); }},
      {"set negative index", [&] { bb->_set(-1, B({4})); }},
      {"indexof2 negative start", [&] { bb->_indexof2(B({1}), -1); }},
      {"changelength negative", [&] { bb->_changelength(-1); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.call();
      ADD_FAILURE() << "accepted";
    } catch (const RuntimeError& e) {
      EXPECT_THAT(e.what(), HasSubstr("Out of bounds."));
    }
    EXPECT_THAT(Content(*bb), ElementsAre(1, 2, 3));
    EXPECT_EQ(Capacity(*bb), 100);
  }
  EXPECT_THAT(logs, IsEmpty());
}

TEST_F(BytesBuilderTest, BytesFromItsOwnStorageAreReadBeforeTheyChange) {
  auto bb = std::make_shared<tm_bytesbuilder>();  // capacity exactly the content, so it grows
  bb->_append(B({1, 2, 3}));
  bb->_append2(bb->_getinternalbuffer(), 0, 3);
  EXPECT_THAT(Content(*bb), ElementsAre(1, 2, 3, 1, 2, 3));

  auto small = std::make_shared<tm_bytesbuilder>();
  small->_append(B({1, 2, 3}));
  small->_insert(1, small->_getinternalbuffer());
  EXPECT_THAT(Content(*small), ElementsAre(1, 1, 2, 3, 2, 3));
  small->_set(1, small->_getinternalbuffer());
  EXPECT_THAT(Content(*small), ElementsAre(1, 1, 1, 2, 3, 2, 3));

  auto roomy = Make({1, 2, 3});
  roomy->_append2(roomy->mbuffer, 1, 2);  // no growth: read and write in the same storage
  EXPECT_THAT(Content(*roomy), ElementsAre(1, 2, 3, 2, 3));
}

TEST_F(BytesBuilderTest, SubsAreCallableByName) {
  auto bb = Make({1});
  EXPECT_EQ(bb->collections, col);
  Common& c = *col->c;
  EXPECT_EQ(c.CallSub2(bb, "Append", B({2, 3})).As<tm_bytesbuilder>(), bb);
  c.CallSub3(bb, "Insert", 0, B({0}));
  EXPECT_EQ(c.CallSub2(bb, "IndexOf", B({2})), Object(2));
  EXPECT_THAT(Ints(c.CallSub3(bb, "Remove", 0, 2).AsBytes()), ElementsAre(0, 1));
  EXPECT_EQ(c.CallSub(bb, "GetLength"), Object(2));
  c.CallSub(bb, "Clear");
  EXPECT_EQ(bb->_getlength(), 0);
}

}  // namespace
}  // namespace tmr
