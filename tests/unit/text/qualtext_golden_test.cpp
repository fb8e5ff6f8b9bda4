// Golden texts written by hand from the rules of the text form: each tree
// encodes to exactly these bytes and each text decodes to exactly the tree.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/session.h"
#include "unit/text/qualtext_support.h"

namespace {

using namespace qt;
using zqtest::Session;
using zqtest::Status;

class QualTextGolden : public ::testing::Test {
 protected:
  Session session;

  void checkQualifier(ZQQualifierStruct* tree, const std::string& golden) {
    Qual owned(tree);
    Status status;
    char* text = nullptr;
    ASSERT_EQ(ZQEncodeZQQualifierStruct(session.control(), tree, &text, &status), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), golden);
    ZQFree(text);
    ZQQualifierStruct decoded{};
    ASSERT_EQ(ZQDecodeZQQualifierStruct(session.control(), golden.c_str(), &decoded, &status), 0)
        << status.appendedOf(402);
    EXPECT_EQ(diffQualifiers(tree, &decoded), "");
    FreeZQQualifierStruct(&decoded, 0);
  }

  void checkAssign(ZQAssignStruct assign, const std::string& golden) {
    Assign owned(assign);
    Status status;
    char* text = nullptr;
    ASSERT_EQ(ZQEncodeZQAssignStruct(session.control(), &owned.a, &text, &status), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), golden);
    ZQFree(text);
    Assign decoded;
    ASSERT_EQ(ZQDecodeZQAssignStruct(session.control(), golden.c_str(), &decoded.a, &status), 0)
        << status.appendedOf(402);
    EXPECT_EQ(diffAssigns(owned.a, decoded.a), "");
  }
};

TEST_F(QualTextGolden, Qualifications) {
  struct Case {
    const char* name;
    std::function<ZQQualifierStruct*()> tree;
    std::string text;
  } cases[] = {
      {"AND of two comparisons",
       [] {
         return andq(rel(ZQ_REL_OP_EQUAL, field(7), value(integer(3))),
                     rel(ZQ_REL_OP_EQUAL, field(8), value(chars("abc"))));
       },
       R"(1\4\1\1\7\2\2\3\4\1\1\8\2\4\3\abc\)"},
      {"NOT with a backslash inside a counted text",
       [] { return notq(rel(ZQ_REL_OP_LIKE, field(536870913), value(chars("a\\b")))); },
       R"(3\4\7\1\536870913\2\4\3\a\b\)"},
      {"line break and blank kept as they are",
       [] { return rel(ZQ_REL_OP_EQUAL, field(1), value(chars("x y\nz"))); },
       "4\\1\\1\\1\\2\\4\\5\\x y\nz\\"},
      {"NEGATE has only its right operand",
       [] {
         return rel(ZQ_REL_OP_LESS, arith(ZQ_ARITH_OP_NEGATE, field(0), field(4)),
                    value(real(2.5)));
       },
       R"(4\4\3\6\1\4\2\3\2.5\)"},
      {"arithmetic with both operands",
       [] {
         return rel(ZQ_REL_OP_GREATER, arith(ZQ_ARITH_OP_MODULO, field(1), value(integer(-7))),
                    field(2));
       },
       R"(4\2\3\5\1\1\2\2\-7\1\2\)"},
      {"value set",
       [] {
         return rel(ZQ_REL_OP_IN, field(1), valueSet({integer(1), chars("x")}));
       },
       R"(4\8\1\1\5\2\2\1\4\1\x\)"},
      {"status history against a time stamp",
       [] {
         return rel(ZQ_REL_OP_GREATER_EQUAL, statHistory(2, ZQ_STAT_HISTORY_TIME),
                    value(word(ZQ_DATA_TYPE_TIME, 1700000000)));
       },
       R"(4\3\4\2\2\2\7\1700000000\)"},
      {"currency field part 4 against a currency value",
       [] {
         return rel(ZQ_REL_OP_EQUAL, currencyField(9, 4, "USD"), value(currency("1.5", "EUR", 0)));
       },
       R"(4\1\6\9\4\USD\2\12\16\3\1.5\3\EUR\0\0\\)"},
      {"currency with a functional currency",
       [] {
         return rel(ZQ_REL_OP_EQUAL, currencyField(9, 1, "", ZQ_CURRENCY_FLD_DB),
                    value(currency("2", "", 7, {{"3", "JPY"}})));
       },
       R"(4\1\55\9\1\2\12\21\1\2\0\\7\1\1\3\3\JPY\\)"},
      {"embedded query with a condition",
       [] { return rel(ZQ_REL_OP_EQUAL, field(1), query("F2", "s", fromField(3), 8, 2)); },
       R"(4\1\1\1\53\2\F2\1\s\8\2\5\3\)"},
      {"embedded query without a condition",
       [] { return rel(ZQ_REL_OP_EQUAL, field(1), query("F2", "s", nullptr, 8, 3)); },
       R"(4\1\1\1\53\2\F2\1\s\8\3\0\)"},
      {"local variable against NULL",
       [] { return rel(ZQ_REL_OP_NOT_EQUAL, localVariable(3), value(nullValue())); },
       R"(4\6\52\3\2\0\)"},
      {"byte list",
       [] {
         return rel(ZQ_REL_OP_EQUAL, field(1), value(bytes(1, {0x0a, 0xff})));
       },
       R"(4\1\1\1\2\9\1\2\0aff\)"},
      {"coordinate list",
       [] {
         return rel(ZQ_REL_OP_EQUAL, field(1), value(coords({{1, -2}, {3, 4}})));
       },
       R"(4\1\1\1\2\41\2\1\-2\3\4\)"},
      {"real in ten digits, whatever its size",
       [] { return rel(ZQ_REL_OP_EQUAL, field(1), value(real(1e20))); }, R"(4\1\1\1\2\3\1e+20\)"},
      {"keyword, enumerated, date, field tags 99 and 50",
       [] {
         return orq(rel(ZQ_REL_OP_EQUAL, field(4, ZQ_FIELD_CURRENT), value(keyword(2))),
                    rel(ZQ_REL_OP_EQUAL, field(5, ZQ_FIELD_TRAN),
                        valueSet({word(ZQ_DATA_TYPE_ENUM, 1), word(ZQ_DATA_TYPE_DATE, 2460000)})));
       },
       R"(2\4\1\99\4\2\1\2\4\1\50\5\5\2\6\1\13\2460000\)"},
      {"condition taken from a field", [] { return fromField(42); }, R"(5\42\)"},
      {"a char pointer that is null travels as NULL",
       [] { return rel(ZQ_REL_OP_EQUAL, field(1), value(text(ZQ_DATA_TYPE_CHAR, nullptr))); },
       R"(4\1\1\1\2\0\)"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name).find("null travels") != std::string::npos) {
      // Decodes to NULL, not to a char value: check the encoding only.
      Qual q(c.tree());
      Status status;
      char* text = nullptr;
      ASSERT_EQ(ZQEncodeZQQualifierStruct(session.control(), q.get(), &text, &status), 0);
      EXPECT_EQ(std::string(text), c.text);
      ZQFree(text);
      continue;
    }
    checkQualifier(c.tree(), c.text);
  }
}

TEST_F(QualTextGolden, Assignments) {
  struct Case {
    const char* name;
    std::function<ZQAssignStruct()> assign;
    std::string text;
  } cases[] = {
      {"value", [] { return assignValue(chars("abc")); }, R"(101\4\3\abc\)"},
      {"field from a status history: two numbers and a blank",
       [] {
         ZQAssignStruct a = assignField("srv", "Form", ZQ_STAT_HISTORY, 0, nullptr, 1, 2);
         a.u.field->u.statHistory = {2, ZQ_STAT_HISTORY_USER};
         return a;
       },
       R"(102\3\srv\4\Form\4\2 1\0\1\2\)"},
      {"field with a qualification",
       [] {
         return assignField("", "@", ZQ_FIELD, 8, rel(ZQ_REL_OP_EQUAL, field(1), field(2)), 4, 7);
       },
       R"(102\0\\1\@\1\8\4\1\1\1\1\2\4\7\)"},
      {"field from a currency part",
       [] {
         ZQAssignStruct a = assignField("s", "F", ZQ_CURRENCY_FLD, 0, nullptr, 2, 3);
         a.u.field->u.currencyField = currencyPart(12, 4, "CHF");
         return a;
       },
       R"(102\1\s\1\F\6\12\4\CHF\0\2\3\)"},
      {"process", [] { return assignProcess("ls -la"); }, R"(103\6\ls -la\)"},
      {"arithmetic negation",
       [] { return assignArith(ZQ_ARITH_OP_NEGATE, ZQAssignStruct{}, assignValue(integer(7))); },
       R"(104\6\101\2\7\)"},
      {"arithmetic sum",
       [] {
         return assignArith(ZQ_ARITH_OP_ADD, assignValue(integer(1)), assignValue(integer(2)));
       },
       R"(104\1\101\2\1\101\2\2\)"},
      {"function",
       [] {
         return assignFunction(21, {assignValue(chars("ab")), assignValue(integer(5))});
       },
       R"(105\21\2\101\4\2\ab\101\2\5\)"},
      {"DDE with empty path and command",
       [] { return assignDde("Excel", "Sheet1", "R1C1", 3, "", nullptr); },
       R"(106\5\Excel\6\Sheet1\3\0\\0\\4\R1C1\)"},
      {"SQL", [] { return assignSql("srv", "SELECT 1", 1, 2, 4); },
       R"(107\3\srv\8\SELECT 1\1\2\4\)"},
      {"filter API", [] { return assignFilterApi("Plugin", {assignValue(chars("in"))}, 0); },
       R"(108\6\Plugin\1\101\4\2\in\0\)"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    checkAssign(c.assign(), c.text);
  }
}

// Texts of the older assignment form and texts with blanks where the form
// allows them decode to the trees given.
TEST_F(QualTextGolden, DecodeOnlyForms) {
  struct AssignCase {
    std::string text;
    std::function<ZQAssignStruct()> expected;
  } assigns[] = {
      {R"(4\hello world)", [] { return assignValue(chars("hello world")); }},
      {R"(4\a\b\c\)", [] { return assignValue(chars("a\\b\\c\\")); }},
      {R"(2\  -17xyz)", [] { return assignValue(integer(-17)); }},
      {R"(3\2.25)", [] { return assignValue(real(2.25)); }},
      {R"(0\)", [] { return assignValue(nullValue()); }},
      {R"(12\3.50)", [] { return assignValue(currency("3.50", "", 0)); }},
      {R"(13\2460000)", [] { return assignValue(word(ZQ_DATA_TYPE_DATE, 2460000)); }},
      {" \t101\\ 2\\ 9\\", [] { return assignValue(integer(9)); }},
  };
  for (auto& c : assigns) {
    SCOPED_TRACE(c.text);
    Assign expected(c.expected());
    Assign decoded;
    Status status;
    ASSERT_EQ(ZQDecodeZQAssignStruct(session.control(), c.text.c_str(), &decoded.a, &status), 0);
    EXPECT_EQ(diffAssigns(expected.a, decoded.a), "");
  }

  Qual expected(andq(rel(ZQ_REL_OP_EQUAL, field(7), value(integer(3))),
                     rel(ZQ_REL_OP_EQUAL, field(8), value(chars("abc")))));
  ZQQualifierStruct decoded{};
  Status status;
  ASSERT_EQ(ZQDecodeZQQualifierStruct(session.control(),
                                      " 1\\\t4\\1\\1\\7\\2\\ 2\\ 3\\ 4\\1\\1\\8\\2\\4\\3\\abc\\",
                                      &decoded, &status),
            0);
  EXPECT_EQ(diffQualifiers(expected.get(), &decoded), "");
  FreeZQQualifierStruct(&decoded, 0);
}

TEST_F(QualTextGolden, TrailingTextIsAWarningWithTheOffset) {
  const std::string golden = R"(1\4\1\1\7\2\2\3\4\1\1\8\2\4\3\abc\)";
  for (const std::string& tail : {std::string("xyz"), std::string(" "), std::string("\\")}) {
    SCOPED_TRACE(tail);
    ZQQualifierStruct decoded{};
    Status status;
    EXPECT_EQ(
        ZQDecodeZQQualifierStruct(session.control(), (golden + tail).c_str(), &decoded, &status),
        1);
    EXPECT_EQ(status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{1, 8036}}));
    EXPECT_EQ(status.appendedOf(8036), std::to_string(golden.size() - 1));
    EXPECT_EQ(decoded.operation, 1u);
    FreeZQQualifierStruct(&decoded, 0);
  }
}

TEST_F(QualTextGolden, SingleValueOrdinals) {
  using Encode = int (*)(const ZQValueStruct*, uint32_t*, uint32_t, char*);
  using Decode = int (*)(const char**, ZQValueStruct*);
  auto encode = reinterpret_cast<Encode>(ZQGetOrdinal(847));
  auto decode = reinterpret_cast<Decode>(ZQGetOrdinal(848));
  ASSERT_NE(encode, nullptr);
  ASSERT_NE(decode, nullptr);

  ZQValueStruct v = chars("a\\b");
  char buffer[32];
  memset(buffer, '#', sizeof buffer);
  uint32_t position = 2;
  ASSERT_EQ(encode(&v, &position, sizeof buffer, buffer), 0);
  EXPECT_EQ(std::string(buffer + 2), R"(4\3\a\b\)");
  EXPECT_EQ(position, 10u);
  // The text and its terminator must fit: nothing changes when they do not.
  uint32_t again = 10;
  EXPECT_EQ(encode(&v, &again, 18, buffer), -3);
  EXPECT_EQ(again, 10u);
  EXPECT_EQ(encode(&v, &again, 19, buffer), 0);
  EXPECT_EQ(again, 18u);
  EXPECT_EQ(encode(nullptr, &again, 20, buffer), 233);
  FreeZQValueStruct(&v, 0);

  const char* text = R"(2\-5\7\12\rest)";
  const char* cursor = text;
  ZQValueStruct out;
  ASSERT_EQ(decode(&cursor, &out), 0);
  EXPECT_EQ(out.dataType, 2u);
  EXPECT_EQ(out.u.integerValue, -5);
  EXPECT_EQ(cursor, text + 5);
  ASSERT_EQ(decode(&cursor, &out), 0);
  EXPECT_EQ(out.dataType, 7u);
  EXPECT_EQ(out.u.timestampValue, 12);
  EXPECT_EQ(decode(&cursor, &out), 402);
  EXPECT_EQ(std::string(cursor), "rest");
  EXPECT_EQ(out.dataType, 0u);
  EXPECT_EQ(decode(nullptr, &out), 233);
}

}  // namespace
