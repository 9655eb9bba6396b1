#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "collections/tm_bitset.h"
#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"
#include "tests/collections/CollectionsFixture.h"

namespace tmr {
namespace {

using ::testing::HasSubstr;

class BitSetTest : public CollectionsFixture {
 protected:
  // The storage read as 32-bit words in the platform's byte order.
  static std::vector<uint32_t> Words(const tm_bitset& b) {
    std::vector<uint32_t> words(static_cast<size_t>(b.data.Length()) / 4);
    std::memcpy(words.data(), b.data.data(), words.size() * 4);
    return words;
  }
};

TEST_F(BitSetTest, StorageHoldsOneWordMoreThanSizeDividedBy32) {
  struct Case {
    int size;
    int bytes;
  } cases[] = {{0, 4}, {1, 4}, {31, 4}, {32, 8}, {33, 8}, {64, 12}, {100, 16}};
  for (const auto& c : cases) {
    auto b = col->_createbitset(c.size);
    EXPECT_EQ(b->data.Length(), c.bytes) << c.size;
    EXPECT_EQ(b->_getsize(), c.size);
    for (uint32_t w : Words(*b)) EXPECT_EQ(w, 0u);
  }
}

TEST_F(BitSetTest, EachBitLandsInItsWord) {
  auto b = col->_createbitset(70);
  for (int i : {0, 31, 32, 69}) b->_set(i, true);
  std::vector<uint32_t> expected = {0x80000001u, 1u, 1u << 5};
  EXPECT_EQ(Words(*b), expected);
  for (int i = 0; i < 70; ++i) EXPECT_EQ(b->_get(i), i == 0 || i == 31 || i == 32 || i == 69) << i;
}

TEST_F(BitSetTest, ClearingABitLeavesItsNeighbours) {
  auto b = col->_createbitset(32);
  b->_set(4, true);
  b->_set(5, true);
  b->_set(5, false);
  b->_set(6, false);
  EXPECT_FALSE(b->_get(5));
  EXPECT_TRUE(b->_get(4));
  EXPECT_FALSE(b->_get(6));
  EXPECT_EQ(Words(*b)[0], 1u << 4);
}

TEST_F(BitSetTest, ClearResetsEveryBitAndKeepsTheSize) {
  auto b = col->_createbitset(40);
  for (int i = 0; i < 40; i += 3) b->_set(i, true);
  b->_clear();
  EXPECT_EQ(b->_getsize(), 40);
  EXPECT_EQ(b->data.Length(), 8);
  for (int i = 0; i < 40; ++i) EXPECT_FALSE(b->_get(i)) << i;
}

TEST_F(BitSetTest, IndexOutsideTheSizeIsRejectedAndTouchesNothing) {
  struct Case {
    int size;
    int index;
  } cases[] = {{32, -1}, {32, 32}, {32, 63}, {32, 64}, {0, 0}, {1, INT_MIN}, {1, INT_MAX}, {70, 70}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << " index " << c.index);
    auto b = col->_createbitset(c.size);
    if (c.size > 0) b->_set(c.size - 1, true);
    auto before = Words(*b);
    try {
      b->_get(c.index);
      ADD_FAILURE() << "get accepted the index";
    } catch (const RuntimeError& e) {
      EXPECT_THAT(e.what(), HasSubstr("Out of bounds. Index=" + std::to_string(c.index)));
    }
    EXPECT_THROW(b->_set(c.index, true), RuntimeError);
    EXPECT_THROW(b->_set(c.index, false), RuntimeError);
    EXPECT_EQ(Words(*b), before);
  }
}

TEST_F(BitSetTest, NegativeSizeIsRejectedAndAnExistingBitSetIsKept) {
  EXPECT_THROW(col->_createbitset(-1), RuntimeError);
  auto b = col->_createbitset(10);
  b->_set(3, true);
  try {
    b->_initialize(col->bi, -5);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_THAT(e.what(), HasSubstr("Out of bounds. Size=-5"));
  }
  EXPECT_EQ(b->_getsize(), 10);
  EXPECT_TRUE(b->_get(3));
}

TEST_F(BitSetTest, StorageReplacedFromOutsideIsNeverOverrun) {
  auto b = col->_createbitset(64);
  b->data = ByteArray(4);  // a public field: shorter than the size needs
  EXPECT_NO_THROW(b->_set(31, true));
  EXPECT_THROW(b->_set(32, true), RuntimeError);
  EXPECT_THROW(b->_get(63), RuntimeError);
}

TEST_F(BitSetTest, SubsAreCallableByName) {
  Common& c = *col->c;
  auto b = c.CallSub2(col, "CreateBitSet", 40).As<tm_bitset>();
  ASSERT_TRUE(b);
  EXPECT_EQ(b->collections, col);
  c.CallSub3(b, "Set", 39, true);
  EXPECT_EQ(c.CallSub2(b, "Get", 39), Object(true));
  EXPECT_EQ(c.CallSub(b, "GetSize"), Object(40));
  c.CallSub(b, "Clear");
  EXPECT_FALSE(b->_get(39));
}

}  // namespace
}  // namespace tmr
