#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "collections/tm_set.h"
#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"
#include "tests/collections/CollectionsFixture.h"

namespace tmr {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using SetTest = CollectionsFixture;

TEST_F(SetTest, RepeatedItemsAreStoredOnceInFirstInsertionOrder) {
  auto s = col->_createset2(L({"x", "y", "x"}));
  EXPECT_EQ(s->_getsize(), 2);
  EXPECT_THAT(Texts(s->_aslist()), ElementsAre("x", "y"));
  EXPECT_TRUE(s->_contains("x"));
  EXPECT_FALSE(s->_contains("z"));
}

TEST_F(SetTest, ListIsLiveAndReAddedItemsGoToTheEnd) {
  auto s = col->_createset2(L({"x", "y"}));
  List items = s->_aslist();
  s->_add("z");
  s->_add("x");
  EXPECT_THAT(Texts(items), ElementsAre("x", "y", "z"));
  s->_remove("y");
  s->_remove("absent");
  EXPECT_THAT(Texts(items), ElementsAre("x", "z"));
  s->_add("y");
  EXPECT_THAT(Texts(items), ElementsAre("x", "z", "y"));
  EXPECT_EQ(items, s->_aslist());
  s->_clear();
  EXPECT_THAT(Texts(items), IsEmpty());
  EXPECT_EQ(s->_getsize(), 0);
}

TEST_F(SetTest, ItemsCompareAsMapKeysDo) {
  auto s = col->_createset();
  s->_add(2);
  s->_add(int64_t{2});
  s->_add(2.0);
  s->_add("2");
  EXPECT_EQ(s->_getsize(), 2);
  EXPECT_TRUE(s->_contains(2.0));
  EXPECT_FALSE(s->_contains(2.5));
  s->_remove(int64_t{2});
  EXPECT_THAT(Texts(s->_aslist()), ElementsAre("2"));
  EXPECT_TRUE(s->_aslist().Get(0).IsText());
  EXPECT_THROW(s->_add(Object()), RuntimeError);
}

TEST_F(SetTest, FactoryWithoutItemsGivesAnEmptyUsableSet) {
  for (auto s : {col->_createset(), col->_createset2(List())}) {
    EXPECT_EQ(s->_getsize(), 0);
    EXPECT_TRUE(s->_aslist().IsInitialized());
    s->_add("a");
    EXPECT_EQ(s->_getsize(), 1);
  }
}

TEST_F(SetTest, UseBeforeInitializationFailsWithTheMapError) {
  auto s = std::make_shared<tm_set>();
  EXPECT_THROW(s->_add("a"), RuntimeError);
  EXPECT_THROW(s->_contains("a"), RuntimeError);
}

TEST_F(SetTest, SubsAreCallableByName) {
  auto s = col->_createset();
  EXPECT_EQ(s->collections, col);
  Common& c = *col->c;
  c.CallSub2(s, "Add", "a");
  c.CallSub2(s, "Add", "b");
  EXPECT_EQ(c.CallSub2(s, "Contains", "a"), Object(true));
  c.CallSub2(s, "Remove", "a");
  EXPECT_EQ(c.CallSub(s, "GetSize"), Object(1));
  EXPECT_THAT(Texts(c.CallSub(s, "AsList").AsList()), ElementsAre("b"));
}

}  // namespace
}  // namespace tmr
