#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/ByteArray.h"
#include "platform/core/Common.h"
#include "platform/core/Map.h"
#include "platform/core/Object.h"
#include "platform/core/RuntimeError.h"

namespace tmr {
namespace {

TEST(ObjectTest, NumbersPrintAsTheRuntimePrintsThem) {
  struct Case {
    Object value;
    const char* text;
  } cases[] = {
      {Object(64.0), "64"},    {Object(-3.0), "-3"},      {Object(0.5), "0.5"},
      {Object(-0.0), "0"},     {Object(int32_t{7}), "7"}, {Object(int64_t{1} << 40), "1099511627776"},
      {Object(2.25f), "2.25"}, {Object(0.1), "0.1"},      {Object(1e300), "1e+300"},
      {Object(), "null"},      {Object(true), "true"},    {Object("text"), "text"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.AsString().str(), c.text);
}

TEST(ObjectTest, TextToNumberParsesOrFailsWithTheRuntimeMessage) {
  EXPECT_EQ(Object("+2").AsInt(), 2);
  const double inf = std::numeric_limits<double>::infinity();
  struct Read {
    const char* text;
    double value;
  };
  for (auto [text, value] : {Read{"64", 64}, Read{" -1.5 ", -1.5}, Read{"+1", 1}, Read{"-1", -1}, Read{"1e3", 1000},
                             Read{"Infinity", inf}, Read{"-Infinity", -inf}, Read{"+inf", inf}}) {
    EXPECT_EQ(Object(text).AsDouble(), value) << text;
    EXPECT_TRUE(Common::IsNumber(text)) << text;
  }
  EXPECT_TRUE(std::isnan(Object("NaN").AsDouble()));
  // A number has one sign.
  for (const char* bad : {"", "abc", "12x", "1,5", "+-1", "+-0", "+-inf", "++1", "-+1", "--1", "+ 1"}) {
    EXPECT_FALSE(Common::IsNumber(bad)) << bad;
    try {
      (void)Object(bad).AsDouble();
      ADD_FAILURE() << "parsed " << bad;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Cannot parse: ") + bad);
    }
  }
}

TEST(ObjectTest, IntConversionTruncatesTowardZeroAndNeverOverflows) {
  EXPECT_EQ(Object(2.9).AsInt(), 2);
  EXPECT_EQ(Object(-2.9).AsInt(), -2);
  EXPECT_EQ(Object(1e12).AsInt(), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(Object(-1e12).AsInt(), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(Object(std::nan("")).AsInt(), 0);
  EXPECT_EQ(Object(-7.99).AsLong(), -7);
}

TEST(ObjectTest, BooleansComeFromBooleansNumbersAndTheirTexts) {
  EXPECT_TRUE(Object(true).AsBool());
  EXPECT_FALSE(Object(0).AsBool());
  EXPECT_TRUE(Object(2.5).AsBool());
  EXPECT_TRUE(Object("TRUE").AsBool());
  EXPECT_FALSE(Object("false").AsBool());
  EXPECT_THROW((void)Object("yes").AsBool(), RuntimeError);
  EXPECT_THROW((void)Object().AsBool(), RuntimeError);
}

TEST(ObjectTest, RoundIsHalfToEven) {
  EXPECT_EQ(Common::Round(0.5), 0);
  EXPECT_EQ(Common::Round(1.5), 2);
  EXPECT_EQ(Common::Round(2.5), 2);
  EXPECT_EQ(Common::Round(-2.5), -2);
  EXPECT_EQ(Common::Round(2.6), 3);
  EXPECT_EQ(Common::Round(std::nan("")), 0);
  EXPECT_EQ(Common::Round(1e300), INT64_MAX);
  EXPECT_EQ(Common::Round(-1e300), INT64_MIN);
}

TEST(ObjectTest, EqualityComparesNumbersByValueAndTextsByContent) {
  EXPECT_EQ(Object(int32_t{3}), Object(int64_t{3}));
  EXPECT_EQ(Object(int32_t{3}), Object(3.0));
  EXPECT_EQ(Object(3.0f), Object(3.0));
  EXPECT_FALSE(Object(3) == Object("3")) << "a number never equals a text";
  EXPECT_EQ(Object(String("ab")), Object("ab"));
  EXPECT_FALSE(Object(true) == Object(1));
  EXPECT_EQ(Object(), Object(nullptr));
  // Equal values hash alike, so they are one map key.
  EXPECT_EQ(Object(int32_t{5}).Hash(), Object(5.0).Hash());
  // Large integers are not rounded through double: equality stays transitive.
  const int64_t big = (int64_t{1} << 53) + 1;
  EXPECT_FALSE(Object(big) == Object(static_cast<double>(big)));
  EXPECT_EQ(Object(int64_t{1} << 53), Object(9007199254740992.0));
  EXPECT_FALSE(Object(int64_t{1}) == Object(1.5));
  Map m;
  m.Initialize();
  m.Put(Object(5), "int");
  m.Put(Object(5.0), "double");
  m.Put(Object("5"), "text");
  EXPECT_EQ(m.Size(), 2);
  EXPECT_EQ(m.Get(Object(int64_t{5})).AsString().str(), "double");
}

TEST(ObjectTest, ByteArrayIsZeroFilledStoresLowBitsAndReadsUnsigned) {
  ByteArray b(3);
  EXPECT_EQ(b.Get(0), 0);
  b.Set(0, 200);
  b.Set(1, 0x1FF);
  b.Set(2, -1);
  EXPECT_EQ(b.Get(0), 200);
  EXPECT_EQ(b.Get(1), 0xFF);
  EXPECT_EQ(b.GetSigned(2), -1);
  ByteArray shared = b;
  shared.Set(0, 1);
  EXPECT_EQ(b.Get(0), 1) << "copies of the handle share the bytes";
  EXPECT_THROW(b.Get(3), RuntimeError);
  EXPECT_THROW(ByteArray(-1), RuntimeError);
  Object o(b);
  EXPECT_EQ(o.AsBytes().Get(0), 1);
}

}  // namespace
}  // namespace tmr
