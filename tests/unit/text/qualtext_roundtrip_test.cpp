// Qualifications and assignments survive encode -> decode unchanged, for
// every operation, operand tag, value type and assignment type.
#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>
#include <vector>

#include "frame/context.h"
#include "support/session.h"
#include "unit/text/qualtext_support.h"

namespace {

using namespace qt;
using zqtest::Session;
using zqtest::Status;

class QualTextRoundTrip : public ::testing::Test {
 protected:
  Session session;

  // Encodes, decodes and compares; returns the text for further checks.
  std::string roundTrip(const ZQQualifierStruct* original) {
    Status status;
    char* text = nullptr;
    EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), original, &text, &status), 0)
        << (status.count ? status.items[0].messageNumber : 0);
    if (!text) return "";
    std::string encoded = text;
    ZQFree(text);
    ZQQualifierStruct decoded{};
    Status status2;
    EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), encoded.c_str(), &decoded, &status2), 0)
        << encoded << " " << status2.appendedOf(status2.count ? status2.items[0].messageNumber : 0);
    EXPECT_EQ(diffQualifiers(original, &decoded), "") << encoded;
    FreeZQQualifierStruct(&decoded, 0);
    return encoded;
  }

  std::string roundTrip(const ZQAssignStruct& original) {
    Status status;
    char* text = nullptr;
    EXPECT_EQ(ZQEncodeZQAssignStruct(session.control(), &original, &text, &status), 0)
        << (status.count ? status.items[0].messageNumber : 0);
    if (!text) return "";
    std::string encoded = text;
    ZQFree(text);
    Assign decoded;
    Status status2;
    EXPECT_EQ(ZQDecodeZQAssignStruct(session.control(), encoded.c_str(), &decoded.a, &status2), 0)
        << encoded;
    EXPECT_EQ(diffAssigns(original, decoded.a), "") << encoded;
    return encoded;
  }
};

// One relation per operand: field 1 EQUAL <operand>, for every tag.
TEST_F(QualTextRoundTrip, EveryOperandTag) {
  struct Case {
    const char* name;
    std::function<Operand()> make;
  } cases[] = {
      {"field", [] { return field(536870913); }},
      {"value", [] { return value(chars("x")); }},
      {"arithmetic", [] { return arith(ZQ_ARITH_OP_ADD, field(7), value(integer(1))); }},
      {"status history user", [] { return statHistory(3, ZQ_STAT_HISTORY_USER); }},
      {"status history time", [] { return statHistory(0, ZQ_STAT_HISTORY_TIME); }},
      {"value set",
       [] {
         return valueSet({integer(1), chars("two"), nullValue()});
       }},
      {"currency field part 1", [] { return currencyField(8, 1); }},
      {"currency field part 4", [] { return currencyField(8, 4, "EUR"); }},
      {"currency field tran", [] { return currencyField(9, 2, "", ZQ_CURRENCY_FLD_TRAN); }},
      {"currency field db", [] { return currencyField(9, 3, "", ZQ_CURRENCY_FLD_DB); }},
      {"currency field current",
       [] { return currencyField(9, 4, "USD", ZQ_CURRENCY_FLD_CURRENT); }},
      {"tag 13", [] { return field(5, 13); }},
      {"tag 26", [] { return field(6, 26); }},
      {"field tran", [] { return field(10, ZQ_FIELD_TRAN); }},
      {"field db", [] { return field(11, ZQ_FIELD_DB); }},
      {"local variable", [] { return localVariable(10); }},
      {"query",
       [] {
         return query("Other Form", "srv", rel(ZQ_REL_OP_LIKE, field(8), value(chars("a%"))), 1,
                      ZQ_QUERY_VALUE_MULTI_SET);
       }},
      {"query without qualification", [] { return query("F", "s", nullptr, 2, 1); }},
      {"field current screen", [] { return field(12, ZQ_FIELD_CURRENT); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Qual q(rel(ZQ_REL_OP_EQUAL, field(1), c.make()));
    roundTrip(q.get());
    // And on the left side.
    Qual swapped(rel(ZQ_REL_OP_NOT_EQUAL, c.make(), value(integer(0))));
    roundTrip(swapped.get());
  }
}

TEST_F(QualTextRoundTrip, EveryValueType) {
  struct Case {
    const char* name;
    std::function<ZQValueStruct()> make;
  } cases[] = {
      {"null", [] { return nullValue(); }},
      {"keyword", [] { return keyword(46); }},
      {"integer", [] { return integer(-2147483647 - 1); }},
      {"integer max", [] { return integer(2147483647); }},
      {"real short", [] { return real(1.5); }},
      {"real needing 17 digits", [] { return real(0.1 + 0.2); }},
      {"real tiny", [] { return real(DBL_MIN); }},
      {"real negative", [] { return real(-12345.6789); }},
      {"char", [] { return chars("hello\\world\nline 2 \x01"); }},
      {"char empty", [] { return chars(""); }},
      {"char utf-8", [] { return chars("gr\xc3\xbc\xc3\x9f"); }},
      {"diary", [] { return text(ZQ_DATA_TYPE_DIARY, "1\x04u\x04t\x03"); }},
      {"enum", [] { return word(ZQ_DATA_TYPE_ENUM, 4294967295u); }},
      {"timestamp negative", [] { return word(ZQ_DATA_TYPE_TIME, static_cast<uint32_t>(-5)); }},
      {"timestamp", [] { return word(ZQ_DATA_TYPE_TIME, 1700000000); }},
      {"bitmask", [] { return word(ZQ_DATA_TYPE_BITMASK, 0x80000001u); }},
      {"bytes",
       [] {
         return bytes(7, {0x00, 0xff, 0x5c, 0x10});
       }},
      {"bytes empty", [] { return bytes(0, {}); }},
      {"decimal", [] { return text(ZQ_DATA_TYPE_DECIMAL, "-123.4500"); }},
      {"attachment", [] { return attachment("a b.txt", 100, 40); }},
      {"attachment with buffer",
       [] {
         return attachment("x", 3, 2, {0xab, 0x5c});
       }},
      {"currency", [] { return currency("12.50", "EUR", 1700000000); }},
      {"currency with functional",
       [] {
         return currency("1\\0", "USD", -1, {{"9.99", "EUR"}, {"", "J"}});
       }},
      {"currency empty amount", [] { return currency("", "", 0); }},
      {"date", [] { return word(ZQ_DATA_TYPE_DATE, 2460000); }},
      {"time of day", [] { return word(ZQ_DATA_TYPE_TIME_OF_DAY, 86399); }},
      {"join (no payload)", [] { return word(ZQ_DATA_TYPE_JOIN, 0); }},
      {"ulong", [] { return word(ZQ_DATA_TYPE_ULONG, 4000000000u); }},
      {"coords",
       [] {
         return coords({{-1, 2}, {2147483647, -2147483647 - 1}});
       }},
      {"coords empty", [] { return coords({}); }},
      {"view", [] { return text(ZQ_DATA_TYPE_VIEW, "<b>x</b>"); }},
      {"display", [] { return text(ZQ_DATA_TYPE_DISPLAY, "shown"); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Qual q(rel(ZQ_REL_OP_EQUAL, field(1), value(c.make())));
    roundTrip(q.get());
    Assign a(assignValue(c.make()));
    roundTrip(a.a);
  }
}

TEST_F(QualTextRoundTrip, EveryOperationAndOperator) {
  for (uint32_t op = ZQ_REL_OP_EQUAL; op <= ZQ_REL_OP_IN; ++op) {
    SCOPED_TRACE(op);
    Qual q(rel(op, field(op), value(integer(static_cast<int32_t>(op)))));
    roundTrip(q.get());
  }
  for (uint32_t op = ZQ_ARITH_OP_ADD; op <= ZQ_ARITH_OP_NEGATE; ++op) {
    SCOPED_TRACE(op);
    Qual q(rel(ZQ_REL_OP_LESS, arith(op, field(2), value(real(2.5))), field(3)));
    roundTrip(q.get());
  }
  Qual tree(orq(andq(notq(fromField(99)), rel(1, field(1), field(2))),
                notq(notq(rel(2, arith(ZQ_ARITH_OP_NEGATE, field(0), field(4)), field(5))))));
  roundTrip(tree.get());
}

TEST_F(QualTextRoundTrip, EveryAssignmentType) {
  struct Case {
    const char* name;
    std::function<ZQAssignStruct()> make;
  } cases[] = {
      {"value", [] { return assignValue(chars("v")); }},
      {"field",
       [] {
         return assignField("srv", "Form", ZQ_FIELD, 536870913,
                            rel(ZQ_REL_OP_EQUAL, field(1), value(chars("x"))), 4, 7);
       }},
      {"field without qualification",
       [] { return assignField("", "@", ZQ_FIELD, 8, nullptr, 1, 1); }},
      {"field status history",
       [] {
         ZQAssignStruct a = assignField("s", "F", ZQ_STAT_HISTORY, 0, nullptr, 2, 3);
         a.u.field->u.statHistory = {5, ZQ_STAT_HISTORY_TIME};
         return a;
       }},
      {"field currency",
       [] {
         ZQAssignStruct a = assignField("s", "F", ZQ_CURRENCY_FLD, 0, fromField(3), 1, 2);
         a.u.field->u.currencyField = currencyPart(12, 4, "JPY");
         return a;
       }},
      {"process", [] { return assignProcess("$PROCESS$ echo \\ \"x\""); }},
      {"arith",
       [] {
         return assignArith(ZQ_ARITH_OP_MULTIPLY, assignValue(integer(3)), assignProcess("p"));
       }},
      {"arith negate",
       [] { return assignArith(ZQ_ARITH_OP_NEGATE, ZQAssignStruct{}, assignValue(real(2))); }},
      {"function",
       [] {
         return assignFunction(
             21, {assignValue(chars("ab")), assignValue(integer(5)), assignFunction(1, {})});
       }},
      {"function without arguments", [] { return assignFunction(50, {}); }},
      {"dde", [] { return assignDde("Excel", "Sheet1", "R1C1", 3, "c:\\x.exe", "[open]"); }},
      {"sql", [] { return assignSql("srv", "SELECT 1 FROM \"t\\\"", 2, 2, 4); }},
      {"filter api",
       [] {
         return assignFilterApi("Plugin.Service", {assignValue(chars("in")), assignProcess("p")},
                                3);
       }},
      {"filter api without inputs", [] { return assignFilterApi("S", {}, 0); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Assign a(c.make());
    roundTrip(a.a);
  }
}

TEST_F(QualTextRoundTrip, LongTextsRegrowTheBuffer) {
  // Far beyond the first 1024-byte buffer, with a 5000-byte value.
  std::string big(5000, 'b');
  ZQQualifierStruct* q = rel(ZQ_REL_OP_EQUAL, field(1), value(chars(big.c_str())));
  for (int i = 0; i < 300; ++i) q = orq(q, rel(ZQ_REL_OP_LIKE, field(i), value(chars("%x%"))));
  Qual tree(q);
  std::string text = roundTrip(tree.get());
  EXPECT_GT(text.size(), 10000u);
}

TEST_F(QualTextRoundTrip, LengthsCountTheChosenCharacterSet) {
  // UTF-8 text counted in ISO-8859-1: "grüß\" is 7 bytes but counts 5.
  ZQThreadContext* ctx = session.context();
  ctx->clientCharset = 65;  // UTF-8
  Qual q(rel(ZQ_REL_OP_EQUAL, field(1), value(chars("gr\xc3\xbc\xc3\x9f\\"))));
  Status status;
  char* text = nullptr;
  ASSERT_EQ(ZQEncodeZQQualifierStructC(session.control(), 0, q.get(), &text, &status), 0);
  EXPECT_STREQ(text, "4\\1\\1\\1\\2\\4\\5\\gr\xc3\xbc\xc3\x9f\\\\");
  ZQQualifierStruct decoded{};
  ASSERT_EQ(ZQDecodeZQQualifierStructC(session.control(), 0, text, &decoded, &status), 0)
      << status.appendedOf(402);
  EXPECT_EQ(diffQualifiers(q.get(), &decoded), "");
  FreeZQQualifierStruct(&decoded, 0);
  // Counted as bytes, the same text is malformed.
  ASSERT_EQ(ZQDecodeZQQualifierStruct(session.control(), text, &decoded, &status), 2);
  EXPECT_TRUE(status.has(402));
  ZQFree(text);
  // Backslashes inside converted text, and text that cannot be converted
  // (counted in raw bytes), still find their end.
  for (const char* sample :
       {"\\", "\xc3\xa9\\\xc3\xa9\\", "\\\\\\", "", "\xff\\x", "a\\\xe2\x82\xac\\"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(sample)));
    Qual two(andq(rel(ZQ_REL_OP_EQUAL, field(1), value(chars(sample))),
                  rel(ZQ_REL_OP_EQUAL, field(2), value(chars("\\z")))));
    char* encoded = nullptr;
    status.reset();
    ASSERT_EQ(ZQEncodeZQQualifierStructC(session.control(), 0, two.get(), &encoded, &status), 0);
    ZQQualifierStruct back{};
    ASSERT_EQ(ZQDecodeZQQualifierStructC(session.control(), 0, encoded, &back, &status), 0)
        << encoded;
    EXPECT_EQ(diffQualifiers(two.get(), &back), "");
    FreeZQQualifierStruct(&back, 0);
    ZQFree(encoded);
  }
  // An unknown character set is refused.
  status.reset();
  EXPECT_EQ(ZQEncodeZQQualifierStructC(session.control(), 9999, q.get(), &text, &status), 2);
  EXPECT_TRUE(status.has(8853));
  EXPECT_EQ(text, nullptr);
}

}  // namespace
