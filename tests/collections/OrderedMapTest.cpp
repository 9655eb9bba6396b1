#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "collections/tm_orderedmap.h"
#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"
#include "tests/collections/CollectionsFixture.h"
#include "tests/collections/ObjectCodec.h"

namespace tmr {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class OrderedMapTest : public CollectionsFixture {
 protected:
  // b=1, a=2, c=3, then a again with 4.
  std::shared_ptr<tm_orderedmap> Bac() {
    auto om = col->_createorderedmap();
    om->_put("b", 1);
    om->_put("a", 2);
    om->_put("c", 3);
    om->_put("a", 4);
    return om;
  }
};

TEST_F(OrderedMapTest, RePutKeepsTheFirstInsertionPlaceAndTakesTheNewValue) {
  auto om = Bac();
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "a", "c"));
  EXPECT_EQ(om->_get("a"), Object(4));
  EXPECT_EQ(om->_getsize(), 3);
  EXPECT_THAT(Texts(om->_getvalues()), ElementsAre("1", "4", "3"));
}

TEST_F(OrderedMapTest, RemovedKeyPutAgainGoesToTheEnd) {
  auto om = Bac();
  om->_remove("a");
  EXPECT_FALSE(om->_containskey("a"));
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "c"));
  om->_put("a", 5);
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "c", "a"));
  EXPECT_THAT(Texts(om->_getvalues()), ElementsAre("1", "3", "5"));
}

TEST_F(OrderedMapTest, RemovingAnAbsentKeyChangesNothing) {
  auto om = Bac();
  om->_remove("zz");
  om->_remove(Object());
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "a", "c"));
  EXPECT_EQ(om->_getsize(), 3);
}

TEST_F(OrderedMapTest, GetGivesNullForAMissingKeyAndGetDefaultFallsBackAlsoForANullValue) {
  auto om = col->_createorderedmap();
  om->_put("set", "v");
  om->_put("nullvalue", Object());
  EXPECT_TRUE(om->_get("missing").IsNull());
  EXPECT_TRUE(om->_containskey("nullvalue"));
  struct Case {
    const char* key;
    Object expected;
  } cases[] = {{"set", "v"}, {"nullvalue", "dflt"}, {"missing", "dflt"}};
  for (const auto& c : cases) EXPECT_EQ(om->_getdefault(c.key, "dflt"), c.expected) << c.key;
}

TEST_F(OrderedMapTest, KeyListIsTheLiveListItself) {
  auto om = Bac();
  List keys = om->_getkeys();
  EXPECT_EQ(keys, om->_getkeys());
  om->_put("d", 6);
  EXPECT_THAT(Texts(keys), ElementsAre("b", "a", "c", "d"));
  // Changing the handed-out list changes the collection's order.
  keys.RemoveAt(0);
  keys.Add("b");
  EXPECT_THAT(Texts(om->_getvalues()), ElementsAre("4", "3", "6", "1"));
}

TEST_F(OrderedMapTest, ClearEmptiesTheSameKeyListAndTheMapStaysUsable) {
  auto om = Bac();
  List keys = om->_getkeys();
  om->_clear();
  EXPECT_EQ(om->_getsize(), 0);
  EXPECT_THAT(Texts(keys), IsEmpty());
  EXPECT_FALSE(om->_containskey("b"));
  om->_put("c", 1);
  EXPECT_THAT(Texts(keys), ElementsAre("c"));
}

TEST_F(OrderedMapTest, ValuesAreANewListOnEveryCall) {
  auto om = Bac();
  List v1 = om->_getvalues();
  List v2 = om->_getvalues();
  EXPECT_FALSE(v1 == v2);
  v1.Set(0, "changed");
  v1.Add("extra");
  EXPECT_EQ(om->_get("b"), Object(1));
  EXPECT_THAT(Texts(om->_getvalues()), ElementsAre("1", "4", "3"));

  List empty = col->_createorderedmap()->_getvalues();
  ASSERT_TRUE(empty.IsInitialized());
  EXPECT_EQ(empty.Size(), 0);
}

TEST_F(OrderedMapTest, KeysCompareAsTheRuntimeComparesThem) {
  struct Case {
    const char* name;
    Object stored;
    Object probe;
    bool same;
  } cases[] = {
      {"Int and Long", Object(7), Object(int64_t{7}), true},
      {"Int and Double", Object(7), Object(7.0), true},
      {"Long and Double", Object(int64_t{1} << 40), Object(1099511627776.0), true},
      {"Double and Int", Object(-3.0), Object(-3), true},
      {"texts by content", Object(String("ab") + String("c")), Object("abc"), true},
      {"number and its text", Object(7), Object("7"), false},
      {"text and its number", Object("7"), Object(int64_t{7}), false},
      {"different numbers", Object(7), Object(7.5), false},
      {"texts differing in case", Object("abc"), Object("ABC"), false},
      {"Boolean and its text", Object(true), Object("true"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto om = col->_createorderedmap();
    om->_put(c.stored, "first");
    EXPECT_EQ(om->_containskey(c.probe), c.same);
    om->_put(c.probe, "second");
    EXPECT_EQ(om->_getsize(), c.same ? 1 : 2);
    EXPECT_EQ(om->_get(c.stored), Object(c.same ? "second" : "first"));
    // The key list keeps the key as first put, and removing by an equal key empties both parts.
    EXPECT_EQ(om->_getkeys().Get(0).kind(), c.stored.kind());
    om->_remove(c.probe);
    EXPECT_EQ(om->_getsize(), c.same ? 0 : 1);
    EXPECT_EQ(om->_getkeys().Size(), om->_getsize());
  }
}

TEST_F(OrderedMapTest, NullKeyIsRejectedAndChangesNothing) {
  auto om = Bac();
  EXPECT_THROW(om->_put(Object(), 1), RuntimeError);
  EXPECT_EQ(om->_getsize(), 3);
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "a", "c"));
}

TEST_F(OrderedMapTest, UseBeforeInitializationFailsWithTheMapError) {
  auto om = std::make_shared<tm_orderedmap>();
  try {
    om->_put("k", 1);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Object not initialized (Map)");
  }
  EXPECT_THROW(om->_getsize(), RuntimeError);
  EXPECT_THROW(om->_get("k"), RuntimeError);
}

TEST_F(OrderedMapTest, SerializerDataIsTheMapAndTheKeyList) {
  auto om = Bac();
  auto data = om->_getdataforserializator();
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[0].AsMap(), om->map);
  EXPECT_EQ(data[1].AsList(), om->_getkeys());
}

TEST_F(OrderedMapTest, SerializationRoundTripRebuildsOrderValuesAndIndependence) {
  auto om = col->_createorderedmap();
  om->_put("z", 1);
  om->_put(int64_t{5}, L({"nested", 2.5}));
  om->_put("a", Object());
  om->_put("m", "text");
  om->_remove("z");
  om->_put("z", true);

  auto bytes = ObjectCodec::EncodeArray(om->_getdataforserializator());
  auto restored = col->_createorderedmap();
  restored->_setdatafromserializator(ObjectCodec::DecodeArray(bytes));

  EXPECT_THAT(Texts(restored->_getkeys()), ElementsAre("5", "a", "m", "z"));
  EXPECT_EQ(restored->_getsize(), 4);
  EXPECT_THAT(Texts(restored->_get(5).AsList()), ElementsAre("nested", "2.5"));
  EXPECT_TRUE(restored->_containskey("a"));
  EXPECT_TRUE(restored->_get("a").IsNull());
  EXPECT_EQ(restored->_get("z"), Object(true));

  // The rebuilt map works on its own parts: changes do not reach the original.
  restored->_remove("a");
  restored->_put("new", 1);
  EXPECT_THAT(Texts(restored->_getkeys()), ElementsAre("5", "m", "z", "new"));
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("5", "a", "m", "z"));
}

TEST_F(OrderedMapTest, MalformedSerializerDataIsRejectedAndKeepsTheMap) {
  auto om = Bac();
  std::vector<std::vector<Object>> bad = {
      {},
      {Object(om->map)},
      {Object("not a map"), Object(L({"a"}))},
      {Object(om->map), Object(7)},
  };
  for (const auto& data : bad) EXPECT_THROW(om->_setdatafromserializator(data), RuntimeError) << data.size();
  EXPECT_THAT(Texts(om->_getkeys()), ElementsAre("b", "a", "c"));
  EXPECT_EQ(om->_get("a"), Object(4));
}

TEST_F(OrderedMapTest, FactoryPairsKeysWithValuesInOrder) {
  auto two = col->_createorderedmap2(L({"k1", "k2"}), L({1, 2, 3}));
  EXPECT_THAT(Texts(two->_getkeys()), ElementsAre("k1", "k2"));
  EXPECT_THAT(Texts(two->_getvalues()), ElementsAre("1", "2"));

  auto dup = col->_createorderedmap2(L({"x", "y", "x"}), L({1, 2, 3}));
  EXPECT_THAT(Texts(dup->_getkeys()), ElementsAre("x", "y"));
  EXPECT_EQ(dup->_get("x"), Object(3));

  for (auto& [keys, values] : {std::pair{List(), L({1})}, std::pair{L({"k"}), List()}, std::pair{List(), List()}}) {
    auto empty = col->_createorderedmap2(keys, values);
    EXPECT_EQ(empty->_getsize(), 0);
    EXPECT_TRUE(empty->_getkeys().IsInitialized());
  }
  EXPECT_EQ(col->_createorderedmap()->_getsize(), 0);
}

TEST_F(OrderedMapTest, FactoryWithFewerValuesThanKeysFailsOutOfBounds) {
  try {
    col->_createorderedmap2(L({"a", "b", "c"}), L({1}));
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_THAT(e.what(), HasSubstr("Out of bounds. Index=1 Length=1"));
  }
}

TEST_F(OrderedMapTest, SubsAreCallableByNameAndInstancesHoldTheCollectionsModule) {
  auto om = col->_createorderedmap();
  EXPECT_EQ(om->collections, col);
  Common& c = *col->c;
  c.CallSub3(om, "Put", "k", 5);
  EXPECT_EQ(c.CallSub2(om, "Get", "k"), Object(5));
  EXPECT_EQ(c.CallSub3(om, "GetDefault", "missing", 9), Object(9));
  EXPECT_EQ(c.CallSub(om, "GetSize"), Object(1));
  List data = c.CallSub(om, "GetDataForSerializator").AsList();
  ASSERT_EQ(data.Size(), 2);

  auto copy = col->_createorderedmap();
  c.CallSub2(copy, "SetDataFromSerializator", data);
  EXPECT_EQ(copy->_get("k"), Object(5));
  c.CallSub2(om, "Remove", "k");
  EXPECT_EQ(om->_getsize(), 0);

  om.reset();
  copy.reset();
  EXPECT_EQ(CountLogs("Class (tm_orderedmap) instance released."), 2);
}

}  // namespace
}  // namespace tmr
