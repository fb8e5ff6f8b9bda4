#include <gtest/gtest.h>

#include <string>

#include "frame/alloc.h"
#include "frame/context.h"
#include "support/session.h"

using zqtest::Status;

namespace {

ZQValueStruct intValue(int32_t v) {
  ZQValueStruct value{};
  value.dataType = ZQ_DATA_TYPE_INTEGER;
  value.u.integerValue = v;
  return value;
}

ZQValueStruct ulongValue(uint32_t v) {
  ZQValueStruct value{};
  value.dataType = ZQ_DATA_TYPE_ULONG;
  value.u.ulongValue = v;
  return value;
}

ZQValueStruct charValue(const char* v) {
  ZQValueStruct value{};
  value.dataType = ZQ_DATA_TYPE_CHAR;
  value.u.charValue = const_cast<char*>(v);
  return value;
}

}  // namespace

class SessionVariables : public ::testing::Test {
 protected:
  zqtest::Session session;
  ZQControlStruct* c = session.control();
  Status s;

  int set(uint32_t id, const ZQValueStruct& v) { return ZQSetSessionVariable(c, id, &v, &s); }
  ZQValueStruct get(uint32_t id, int expectRc = 0) {
    ZQValueStruct v{};
    EXPECT_EQ(ZQGetSessionVariable(c, id, &v, &s), expectRc) << id;
    return v;
  }
};

TEST_F(SessionVariables, NumericVariablesRoundTrip) {
  struct Case {
    uint32_t id;
    ZQValueStruct value;
    uint32_t getType;
  } cases[] = {
      {1, intValue(8192), 2},     {2, intValue(60), 2},     {3, intValue(61), 2},
      {4, intValue(62), 2},       {5, ulongValue(390621), 40}, {6, intValue(1), 2},
      {7, intValue(9), 2},        {8, intValue(3), 2},      {9, intValue(1), 2},
      {1955, intValue(0), 2},     {1956, intValue(77), 2},  {1958, intValue(1), 2},
      {1959, ulongValue(4242), 64},
  };
  for (const auto& tc : cases) {
    EXPECT_EQ(set(tc.id, tc.value), 0) << tc.id;
    ZQValueStruct v = get(tc.id);
    EXPECT_EQ(v.dataType, tc.getType) << tc.id;
    EXPECT_EQ(v.u.ulongValue, tc.value.u.ulongValue) << tc.id;
  }
  EXPECT_EQ(session.context()->settings.responseSize, 8192u);
  EXPECT_EQ(session.context()->settings.timeoutNormal, 60u);
  EXPECT_EQ(s.count, 0u);
}

TEST_F(SessionVariables, RefusesWrongTypesValuesAndIds) {
  struct Case {
    uint32_t id;
    ZQValueStruct value;
  } cases[] = {
      {9, intValue(2)},         {9, intValue(-1)},      {5, intValue(390620)},
      {1, ulongValue(4096)},    {1959, intValue(1)},    {10, charValue("x")},
      {11, charValue("x")},     {1957, charValue("x")}, {1960, intValue(1)},
      {12, intValue(1)},        {0, intValue(1)},
  };
  for (const auto& tc : cases) EXPECT_EQ(set(tc.id, tc.value), 2) << tc.id;
  EXPECT_EQ(s.count, 0u);  // refused without a message
  get(12, 2);
  EXPECT_EQ(ZQSetSessionVariable(c, 1, nullptr, &s), 2);
}

TEST_F(SessionVariables, StringVariables) {
  ZQValueStruct v = get(10);
  EXPECT_EQ(v.dataType, ZQ_DATA_TYPE_CHAR);
  EXPECT_EQ(v.u.charValue, nullptr);  // no recording active

  v = get(1957);
  ASSERT_NE(v.u.charValue, nullptr);
  EXPECT_STREQ(v.u.charValue, "");
  ZQFree(v.u.charValue);

  std::string id(200, 'i');
  EXPECT_EQ(set(1960, charValue(id.c_str())), 0);
  v = get(1960);
  EXPECT_EQ(std::string(v.u.charValue), id.substr(0, 128));
  ZQFree(v.u.charValue);
  EXPECT_EQ(std::string(session.context()->clientHostIdentity), id.substr(0, 128));

  EXPECT_EQ(set(1960, charValue(nullptr)), 0);  // clears the identity, not the host
  v = get(1960);
  EXPECT_STREQ(v.u.charValue, "");
  ZQFree(v.u.charValue);
  EXPECT_EQ(std::string(session.context()->clientHostIdentity), id.substr(0, 128));
}

TEST_F(SessionVariables, CopiesFailCleanlyWithoutMemory) {
  zq::testing::failAllocationsAfter(0);
  ZQValueStruct v{};
  int rc = ZQGetSessionVariable(c, 1957, &v, &s);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(rc, 2);
  EXPECT_EQ(v.u.charValue, nullptr);
}

TEST(SessionVariablesFrame, StatusAndContext) {
  ZQValueStruct v = intValue(1);
  ZQControlStruct bare = zqtest::makeControl();
  Status s;
  EXPECT_EQ(ZQSetSessionVariable(&bare, 1, &v, nullptr), 4);
  EXPECT_EQ(ZQSetSessionVariable(&bare, 1, &v, &s), 3);
  EXPECT_TRUE(s.has(161));
  s.reset();
  EXPECT_EQ(ZQGetSessionVariable(&bare, 1, &v, &s), 3);
}
