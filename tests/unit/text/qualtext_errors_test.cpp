// Failures of the text form: malformed and truncated texts with their
// numbered messages and details, the checks before encoding, nesting depth,
// argument handling and out-of-memory paths.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "frame/alloc.h"
#include "support/session.h"
#include "unit/text/qualtext_support.h"

namespace {

using namespace qt;
using zqtest::Session;
using zqtest::Status;

struct DecodeFailure {
  std::string text;
  int32_t error;
  std::string detail;  // appended text; empty: none
};

class QualTextErrors : public ::testing::Test {
 protected:
  Session session;

  void expectQualifierFailure(const DecodeFailure& c) {
    SCOPED_TRACE(c.text);
    ZQQualifierStruct decoded;
    decoded.operation = 77;
    Status status;
    EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), c.text.c_str(), &decoded, &status), 2);
    ASSERT_EQ(status.count, 1u);
    EXPECT_EQ(status.items[0].messageType, 2u);
    EXPECT_EQ(status.items[0].messageNumber, c.error);
    EXPECT_EQ(std::string(status.items[0].appended ? status.items[0].appended : ""), c.detail);
    EXPECT_EQ(decoded.operation, 0u);
  }

  void expectAssignFailure(const DecodeFailure& c) {
    SCOPED_TRACE(c.text);
    Assign decoded;
    decoded.a.assignType = 77;
    Status status;
    EXPECT_EQ(ZQDecodeZQAssignStruct(session.control(), c.text.c_str(), &decoded.a, &status), 2);
    ASSERT_EQ(status.count, 1u);
    EXPECT_EQ(status.items[0].messageNumber, c.error);
    EXPECT_EQ(std::string(status.items[0].appended ? status.items[0].appended : ""), c.detail);
    EXPECT_EQ(decoded.a.assignType, 0u);
  }

  int encode(ZQQualifierStruct* tree, Status& status) {
    Qual owned(tree);
    char* text = reinterpret_cast<char*>(0x1);
    int rc = ZQEncodeZQQualifierStruct(session.control(), tree, &text, &status);
    if (rc >= 2) {
      EXPECT_EQ(text, nullptr);
    }
    ZQFree(rc >= 2 ? nullptr : text);
    return rc;
  }

  int encode(ZQAssignStruct assign, Status& status) {
    Assign owned(assign);
    char* text = reinterpret_cast<char*>(0x1);
    int rc = ZQEncodeZQAssignStruct(session.control(), &owned.a, &text, &status);
    if (rc >= 2) {
      EXPECT_EQ(text, nullptr);
    }
    ZQFree(rc >= 2 ? nullptr : text);
    return rc;
  }
};

TEST_F(QualTextErrors, MalformedQualificationTexts) {
  const std::string longTail(300, 'z');
  const DecodeFailure cases[] = {
      {R"(x\)", 402, R"((missing cond op -- x\))"},
      {R"(1)", 402, "(missing cond op -- 1)"},
      {R"(9\)", 142, ""},
      {R"(5\x\)", 402, R"((missing cond op -- 5\x\))"},
      {R"(4\x)", 402, "(missing rel op -- x)"},
      {R"(4\0\1\1\1\2\)", 144, ""},
      {R"(4\9\1\1\1\2\)", 144, ""},
      {R"(4\1\7)", 402, "(field/value/arith format -- 7)"},
      {R"(4\1\30\1\1\2\)", 148, ""},
      {R"(4\1\12\1\1\2\)", 148, ""},
      {R"(4\1\1\x\)", 402, R"((missing fva field id -- x\))"},
      {R"(4\1\6\9\)", 402, "(missing fva currency part tag -- )"},
      {R"(4\1\6\x\)", 402, R"((missing fva field id -- x\))"},
      {R"(4\1\6\9\4\EURO\1\2\)", 402, R"((missing fva currency code -- EURO\1\2\))"},
      {R"(4\1\4\2\)", 402, R"((missing fva stat hist -- 2\))"},
      {R"(4\1\4\2\3\1\2\)", 170, ""},
      {R"(4\1\5\x)", 402, "(missing value set -- x)"},
      {R"(4\1\5\0\1\2\)", 402, R"((bad value set -- 0\1\2\))"},
      {R"(4\1\5\999999\2\0\)", 402, R"((bad value set -- 999999\2\0\))"},
      {R"(4\1\52\)", 402, "(missing local id -- )"},
      {R"(4\1\53\0\\1\s\1\1\0\)", 402, R"((bad embedded query -- 0\\1\s\1\1\0\))"},
      {R"(4\1\53\1\F\65\)", 402, R"((bad embedded query -- 1\F\65\))"},
      {R"(4\1\3\x)", 402, "(missing arith op -- x)"},
      {R"(4\1\3\7\1\1\1\2\)", 146, ""},
      {R"(4\1\3\0\1\1\1\2\)", 146, ""},
      {R"(4\1\2\44\)", 110, ""},
      {R"(4\1\1\1\2\x\)", 402, R"((value format -- x\))"},
      // A counted text longer than what is left quotes the rest.
      {R"(4\1\1\1\2\4\10\abc\)", 402, R"((value format -- 10\abc\))"},
      {"4\\1\\1\\1\\2\\4\\999\\" + longTail, 402,
       "(value format -- 999\\" + longTail.substr(0, 225 - 4) + ")"},
      // The closing separator of a counted text is required.
      {R"(4\1\1\1\2\4\2\abc\)", 402, R"((value format -- 2\abc\))"},
      {R"(4\1\1\1\2\9\1\2\0a\)", 402, R"((value format -- 1\2\0a\))"},
      {R"(4\1\1\1\2\9\1\2\0agg\)", 402, R"((value format -- 1\2\0agg\))"},
      {R"(4\1\1\1\2\41\100\1\2\)", 402, R"((value format -- 100\1\2\))"},
      {R"(4\1\1\1\2\12\4\1\1\\)", 402, R"((value format -- 4\1\1\\))"},
      {R"(4\1\1\1\2\2\99999999999\)", 402, R"((value format -- 99999999999\))"},
      {R"(4\1\1\1\2\3\1.5x\)", 402, R"((value format -- 1.5x\))"},
      // Truncated texts: the next element is missing.
      {R"(1\4\1\1\7\2\2\3\)", 233, "(missing cond op)"},
      {R"(3\)", 233, "(missing cond op)"},
      {"   ", 233, "(missing cond op)"},
      {R"(4\1\1\7\)", 402, "(field/value/arith format -- )"},
      {R"(4\1\1\7\2\)", 402, "(value format -- )"},
  };
  for (const auto& c : cases) expectQualifierFailure(c);
}

TEST_F(QualTextErrors, MalformedAssignmentTexts) {
  const DecodeFailure cases[] = {
      {"x", 402, "(missing assign info)"},
      {R"(101)", 402, "(missing assign info)"},
      {R"(100\)", 402, R"((bad assign value -- 100\))"},
      {R"(109\1\)", 402, R"((bad assign value -- 109\1\))"},
      {R"(9\abc)", 402, R"((bad assign value -- 9\abc))"},
      {R"(11\abc)", 402, R"((bad assign value -- 11\abc))"},
      {R"(30\abc)", 402, R"((bad assign value -- 30\abc))"},
      {R"(44\abc)", 402, R"((bad assign value -- 44\abc))"},
      {R"(104\1\101\2\1\)", 233, "(null input buffer)"},
      {R"(101\x\)", 402, R"((bad assign value -- x\))"},
      {R"(101\44\)", 110, ""},
      {R"(101\4\9\ab\)", 402, "(bad assign value -- char/diary)"},
      {R"(101\12\3\abc\)", 402, "(bad assign value -- currency)"},
      {R"(101\2\x\)", 402, "(bad assign value -- value)"},
      {R"(102\3\srv\)", 402, "(bad assign value -- field)"},
      {R"(102\65\)" + std::string(65, 's') + R"(\1\F\1\8\0\1\1\)", 402,
       "(bad assign value -- field)"},
      {R"(102\0\\1\F\2\8\0\1\1\)", 194, ""},
      {R"(102\0\\1\F\4\2\0\1\1\)", 402, "(bad assign value -- field)"},
      {R"(102\0\\1\F\4\2 3\0\1\1\)", 170, ""},
      {R"(102\0\\1\F\1\8\0\x\)", 402, "(bad assign value -- missing no match -- field)"},
      {R"(102\0\\1\F\1\8\0\1\x)", 402, "(bad assign value -- missing multi match - field)"},
      {R"(102\0\\1\F\1\8\0\5\1\)", 259, ""},
      {R"(102\0\\1\F\1\8\0\1\8\)", 260, ""},
      {R"(103\0\\)", 117, ""},
      {R"(103\256\)" + std::string(256, 'p') + "\\", 117, ""},
      {R"(103\5\ab\)", 402, "(bad assign value -- process)"},
      {R"(104\x)", 402, "(bad assign value -- arithmetic)"},
      {R"(104\7\101\0\101\0\)", 146, ""},
      {R"(105\x)", 402, "(bad assign value -- function)"},
      {R"(105\51\0\)", 230, ""},
      {R"(105\0\0\)", 230, ""},
      {R"(105\1\99999\)", 402, "(bad assign value -- function)"},
      {R"(106\1\E\x)", 402, "(bad assign value -- dde)"},
      {R"(106\1\E\1\T\4\0\\0\\0\\)", 239, ""},
      {R"(106\1\E\1\T\1\0\\0\\)", 402, "(bad assign value -- dde)"},
      {R"(107\1\s\)", 402, "(bad assign value -- sql)"},
      {R"(107\1\s\0\\1\1\1\)", 261, ""},
      {R"(107\1\s\1\q\1\x)", 402, "(bad assign value -- missing no match - sql)"},
      {R"(107\1\s\1\q\1\3\1\)", 259, ""},
      {R"(107\1\s\1\q\1\1\x)", 402, "(bad assign value -- missing multi match - sql)"},
      {R"(107\1\s\1\q\1\1\0\)", 260, ""},
      {R"(107\1\s\1\q\1\1\7\)", 260, ""},
      {R"(108\)", 402, "(bad service name -- filter api)"},
      {R"(108\0\\0\0\)", 402, R"((bad service name -- 0\\0\0\))"},
      {R"(108\1\S\x)", 402, "(bad num items -- x)"},
      {R"(108\1\S\0\x)", 402, "(bad value index -- x)"},
      {R"(108\1\S\2\101\0\)", 402, R"((bad num items -- 2\101\0\))"},
  };
  for (const auto& c : cases) expectAssignFailure(c);
}

TEST_F(QualTextErrors, ChecksBeforeEncodingQualifications) {
  struct Case {
    const char* name;
    std::function<ZQQualifierStruct*()> tree;
    int32_t error;
  } cases[] = {
      {"AND without right", [] { return andq(fromField(1), nullptr); }, 141},
      {"OR with a nested operation 0", [] { return orq(fromField(1), node<ZQQualifierStruct>()); },
       141},
      {"NOT without operand", [] { return notq(nullptr); }, 141},
      {"operation 6",
       [] {
         auto* q = fromField(1);
         q->operation = 6;
         return q;
       },
       142},
      {"relation missing",
       [] {
         auto* q = fromField(1);
         q->operation = 4;
         q->u.relation = nullptr;
         return q;
       },
       143},
      {"relational operator 0", [] { return rel(0, field(1), field(2)); }, 144},
      {"relational operator 9", [] { return rel(9, field(1), field(2)); }, 144},
      {"operand tag 0", [] { return rel(1, Operand{}, field(2)); }, 148},
      {"operand tag 12", [] { return rel(1, field(1, 12), field(2)); }, 148},
      {"operand tag 57", [] { return rel(1, field(1, 57), field(2)); }, 148},
      {"status history selector 3", [] { return rel(1, statHistory(1, 3), field(2)); }, 170},
      {"currency part 5", [] { return rel(1, currencyField(1, 5), field(2)); }, 8733},
      {"currency code of 2 characters", [] { return rel(1, currencyField(1, 4, "EU"), field(2)); },
       8734},
      {"currency part missing",
       [] {
         Operand o{};
         o.tag = ZQ_CURRENCY_FLD;
         return rel(1, o, field(2));
       },
       147},
      {"local variable 11", [] { return rel(1, localVariable(11), field(2)); }, 220},
      {"arithmetic missing",
       [] {
         Operand o{};
         o.tag = ZQ_ARITHMETIC;
         return rel(1, o, field(2));
       },
       145},
      {"arithmetic operator 7", [] { return rel(1, arith(7, field(1), field(2)), field(3)); }, 146},
      {"value set without items",
       [] {
         Operand o{};
         o.tag = ZQ_VALUE_SET;
         o.u.valueSet.count = 2;
         return rel(8, field(1), o);
       },
       165},
      {"empty value set",
       [] {
         Operand o{};
         o.tag = ZQ_VALUE_SET;
         return rel(8, field(1), o);
       },
       203},
      {"data type 44", [] { return rel(1, field(1), value(word(44, 0))); }, 110},
      {"keyword 47", [] { return rel(1, field(1), value(keyword(47))); }, 197},
      {"attachment name with a backslash",
       [] { return rel(1, field(1), value(attachment("c:\\x", 1, 1))); }, 404},
      {"functional currency without code",
       [] {
         return rel(1, field(1), value(currency("1", "EUR", 0, {{"2", ""}})));
       },
       8734},
      {"embedded query missing",
       [] {
         Operand o{};
         o.tag = ZQ_QUERY;
         return rel(1, field(1), o);
       },
       221},
      {"embedded query without form",
       [] { return rel(1, field(1), query("", "s", nullptr, 1, 1)); }, 102},
      {"embedded query without server",
       [] { return rel(1, field(1), query("F", "", nullptr, 1, 1)); }, 222},
      {"embedded query with a bad condition",
       [] { return rel(1, field(1), query("F", "s", rel(0, field(1), field(2)), 1, 1)); }, 222},
      {"embedded query with value field 0",
       [] { return rel(1, field(1), query("F", "s", nullptr, 0, 1)); }, 222},
      {"embedded query multi-match 4",
       [] { return rel(1, field(1), query("F", "s", nullptr, 1, 4)); }, 223},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Status status;
    EXPECT_EQ(encode(c.tree(), status), 2);
    EXPECT_EQ(status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, c.error}}));
  }
}

TEST_F(QualTextErrors, EmbeddedQueryCheckFormNameLimit) {
  // 254 bytes pass; an unterminated 255-byte buffer is too long.
  Status status;
  Qual ok(rel(1, field(1), query(std::string(254, 'f').c_str(), "s", nullptr, 1, 1)));
  char* text = nullptr;
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), ok.get(), &text, &status), 0);
  ZQFree(text);
  ok->u.relation->right.u.query->schema[254] = 'f';
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), ok.get(), &text, &status), 2);
  EXPECT_TRUE(status.has(103));
  ok->u.relation->right.u.query->schema[254] = '\0';
}

TEST_F(QualTextErrors, ChecksBeforeEncodingAssignments) {
  struct Case {
    const char* name;
    std::function<ZQAssignStruct()> assign;
    int32_t error;
  } cases[] = {
      {"type 9",
       [] {
         ZQAssignStruct a{};
         a.assignType = 9;
         return a;
       },
       191},
      {"value data type 44", [] { return assignValue(word(44, 1)); }, 110},
      {"field missing",
       [] {
         ZQAssignStruct a{};
         a.assignType = 2;
         return a;
       },
       195},
      {"field tag 2", [] { return assignField("", "F", 2, 1, nullptr, 1, 1); }, 194},
      {"field no-match 5", [] { return assignField("", "F", 1, 1, nullptr, 5, 1); }, 259},
      {"field multi-match 8", [] { return assignField("", "F", 1, 1, nullptr, 1, 8); }, 260},
      {"field with a bad qualification",
       [] { return assignField("", "F", 1, 1, rel(9, field(1), field(2)), 1, 1); }, 144},
      {"process empty", [] { return assignProcess(""); }, 117},
      {"process of 256 bytes", [] { return assignProcess(std::string(256, 'p').c_str()); }, 117},
      {"arith missing",
       [] {
         ZQAssignStruct a{};
         a.assignType = 4;
         return a;
       },
       145},
      {"arith operator 7",
       [] { return assignArith(7, assignValue(integer(1)), assignValue(integer(1))); }, 146},
      {"arith with an empty left operand",
       [] { return assignArith(1, ZQAssignStruct{}, assignValue(integer(1))); }, 195},
      {"function missing",
       [] {
         ZQAssignStruct a{};
         a.assignType = 5;
         return a;
       },
       229},
      {"function code 0", [] { return assignFunction(0, {}); }, 230},
      {"function code 51", [] { return assignFunction(51, {}); }, 230},
      {"function arguments without items",
       [] {
         ZQAssignStruct a = assignFunction(1, {});
         a.u.function->count = 2;
         return a;
       },
       231},
      {"dde missing",
       [] {
         ZQAssignStruct a{};
         a.assignType = 6;
         return a;
       },
       243},
      {"dde service empty", [] { return assignDde("", "T", "", 1, "", ""); }, 237},
      {"dde topic of 65",
       [] { return assignDde("S", std::string(65, 't').c_str(), "", 1, "", ""); }, 237},
      {"dde item of 32768",
       [] { return assignDde("S", "T", std::string(32768, 'i').c_str(), 1, "", ""); }, 238},
      {"dde action 4", [] { return assignDde("S", "T", "", 4, "", ""); }, 239},
      {"dde path of 256",
       [] { return assignDde("S", "T", "", 1, std::string(256, 'p').c_str(), ""); }, 109},
      {"dde command of 256",
       [] { return assignDde("S", "T", "", 1, "", std::string(256, 'c').c_str()); }, 117},
      {"sql command empty", [] { return assignSql("s", "", 1, 1, 1); }, 261},
      {"sql no-match 3", [] { return assignSql("s", "q", 1, 3, 1); }, 259},
      {"sql multi-match 5", [] { return assignSql("s", "q", 1, 1, 5); }, 260},
      {"filter api service empty", [] { return assignFilterApi("", {}, 0); }, 102},
      {"filter api bad input", [] { return assignFilterApi("S", {assignProcess("")}, 0); }, 8757},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Status status;
    EXPECT_EQ(encode(c.assign(), status), 2);
    EXPECT_EQ(status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, c.error}}));
  }
}

// Deep trees and deep texts fail with a numbered message, not a crash; the
// deepest tree the encoder accepts also decodes.
TEST_F(QualTextErrors, NestingDepthIsLimited) {
  auto notChain = [](int depth) {
    ZQQualifierStruct* q = fromField(1);
    for (int i = 0; i < depth; ++i) q = notq(q);
    return q;
  };
  int deepestEncoded = -1;
  for (int depth : {500, 510, 511, 512, 3000}) {
    SCOPED_TRACE(depth);
    Qual q(notChain(depth));
    Status status;
    char* text = nullptr;
    int rc = ZQEncodeZQQualifierStruct(session.control(), q.get(), &text, &status);
    if (rc == 0) {
      deepestEncoded = depth;
      ZQQualifierStruct decoded{};
      Status status2;
      EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), text, &decoded, &status2), 0);
      FreeZQQualifierStruct(&decoded, 0);
      ZQFree(text);
    } else {
      EXPECT_EQ(rc, 2);
      EXPECT_TRUE(status.has(403));
    }
  }
  EXPECT_GE(deepestEncoded, 510);
  EXPECT_LT(deepestEncoded, 3000);

  std::string deepText;
  for (int i = 0; i < 200000; ++i) deepText += "3\\";
  deepText += "5\\1\\";
  ZQQualifierStruct decoded{};
  Status status;
  EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), deepText.c_str(), &decoded, &status), 2);
  EXPECT_TRUE(status.has(403));
  EXPECT_EQ(decoded.operation, 0u);

  std::string deepArith = "4\\1\\1\\1\\";
  for (int i = 0; i < 200000; ++i) deepArith += "3\\6\\";
  deepArith += "1\\1\\";
  status.reset();
  EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), deepArith.c_str(), &decoded, &status), 2);
  EXPECT_TRUE(status.has(403));

  std::string deepAssign;
  for (int i = 0; i < 200000; ++i) deepAssign += "104\\6\\";
  deepAssign += "101\\0\\";
  Assign a;
  status.reset();
  EXPECT_EQ(ZQDecodeZQAssignStruct(session.control(), deepAssign.c_str(), &a.a, &status), 2);
  EXPECT_TRUE(status.has(403));
}

TEST_F(QualTextErrors, ArgumentsAndEmptyInputs) {
  Qual q(fromField(1));
  Assign a(assignValue(integer(1)));
  char* text = reinterpret_cast<char*>(0x1);
  ZQQualifierStruct decoded;
  decoded.operation = 9;
  Status status;

  // No status list: 4, outputs cleared.
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), q.get(), &text, nullptr), 4);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), "5\\1\\", &decoded, nullptr), 4);
  EXPECT_EQ(decoded.operation, 0u);
  EXPECT_EQ(ZQEncodeZQAssignStruct(session.control(), &a.a, &text, nullptr), 4);
  EXPECT_EQ(ZQDecodeZQAssignStructC(session.control(), -1, "0\\", &a.a, nullptr), 4);
  a.a = assignValue(integer(1));

  // No context: 3.
  ZQControlStruct stale = zqtest::makeControl();
  EXPECT_EQ(ZQEncodeZQQualifierStruct(&stale, q.get(), &text, &status), 3);
  status.reset();
  EXPECT_EQ(ZQDecodeZQAssignStruct(&stale, "0\\", &a.a, &status), 3);
  status.reset();
  a.a = assignValue(integer(1));

  // No output: 155.
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), q.get(), nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();
  EXPECT_EQ(ZQDecodeZQAssignStruct(session.control(), "0\\", nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();

  // Nothing to encode or decode: 0 and an empty output.
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), nullptr, &text, &status), 0);
  EXPECT_EQ(text, nullptr);
  ZQQualifierStruct none{};
  EXPECT_EQ(ZQEncodeZQQualifierStruct(session.control(), &none, &text, &status), 0);
  EXPECT_EQ(text, nullptr);
  ZQAssignStruct noAssign{};
  EXPECT_EQ(ZQEncodeZQAssignStruct(session.control(), &noAssign, &text, &status), 0);
  EXPECT_EQ(text, nullptr);
  for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), empty, &decoded, &status), 0);
    EXPECT_EQ(decoded.operation, 0u);
    Assign out;
    EXPECT_EQ(ZQDecodeZQAssignStruct(session.control(), empty, &out.a, &status), 0);
    EXPECT_EQ(out.a.assignType, 0u);
  }
  EXPECT_EQ(status.count, 0u);
}

TEST_F(QualTextErrors, OutOfMemoryLeavesOutputsReleasable) {
  const std::string qualText =
      R"(2\1\4\1\1\1\2\4\3\abc\4\8\1\2\5\2\12\16\3\1.5\3\EUR\0\0\\9\1\2\0aff\3\4\1\53\1\F\1\s\8\2\4\2\1\1\2\3\1.5\2\41\1\1\2\)";
  const std::string assignText =
      R"(105\21\3\101\4\2\ab\102\1\s\1\F\6\12\4\CHF\5\1\1\2\3\108\1\S\1\106\1\E\1\T\1\0\\0\\1\I\0\)";
  Qual tree(andq(rel(1, field(1), value(chars("x"))), rel(2, field(2), value(bytes(1, {1, 2})))));
  bool done = false;
  for (long n = 0; !done && n < 200; ++n) {
    ZQQualifierStruct q{};
    Assign a;
    Status s1, s2, s3;
    char* text = nullptr;
    zq::testing::failAllocationsAfter(n);
    int rc1 = ZQDecodeZQQualifierStruct(session.control(), qualText.c_str(), &q, &s1);
    zq::testing::failAllocationsAfter(n);
    int rc2 = ZQDecodeZQAssignStruct(session.control(), assignText.c_str(), &a.a, &s2);
    zq::testing::failAllocationsAfter(n);
    int rc3 = ZQEncodeZQQualifierStruct(session.control(), tree.get(), &text, &s3);
    zq::testing::failAllocationsAfter(-1);
    for (auto [rc, s] : {std::pair{rc1, &s1}, std::pair{rc2, &s2}, std::pair{rc3, &s3}}) {
      EXPECT_TRUE(rc == 0 || rc >= 2) << n;
      if (rc == 2) {
        EXPECT_TRUE(s->has(300)) << n;
      }
    }
    if (rc1) {
      EXPECT_EQ(q.operation, 0u);
    }
    if (rc2) {
      EXPECT_EQ(a.a.assignType, 0u);
    }
    if (rc3) {
      EXPECT_EQ(text, nullptr);
    }
    done = rc1 == 0 && rc2 == 0 && rc3 == 0;
    FreeZQQualifierStruct(&q, 0);
    ZQFree(text);
  }
  EXPECT_TRUE(done);
}

}  // namespace
