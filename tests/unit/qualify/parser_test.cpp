// The qualification language against a fixed field table: typed texts and
// the trees they must give (written as compact prefix forms by hand), the
// errors with their positions, and hostile input that must end cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "qualify/convert.h"
#include "qualify/qualify.h"
#include "text/text.h"
#include "unit/text/dates_fixture.h"
#include "support/qual_show.h"
#include "zqapi/zqapi.h"

namespace {

namespace qualify = zq::qualify;
using zqtest::show;

constexpr ZQInternalId kPriority = 536870913;
constexpr ZQInternalId kCost = 536870914;
constexpr ZQInternalId kDue = 536870915;
constexpr ZQInternalId kStart = 536870916;
constexpr ZQInternalId kSeverity = 536870917;
constexpr ZQInternalId kA = 100, kB = 101, kC = 102;

qualify::FieldTable helpDeskForm() {
  qualify::FieldTable t;
  auto add = [&](ZQInternalId id, uint32_t type, const char* name,
                 std::vector<qualify::EnumName> values = {}) {
    t.fields.push_back({id, type, name, std::move(values)});
  };
  add(1, ZQ_DATA_TYPE_CHAR, "Request ID");
  add(2, ZQ_DATA_TYPE_CHAR, "Submitter");
  add(3, ZQ_DATA_TYPE_TIME, "Create Date");
  add(7, ZQ_DATA_TYPE_ENUM, "Status", {{"New", 0}, {"Open", 1}, {"Fixed", 2}, {"Closed", 3}});
  add(8, ZQ_DATA_TYPE_CHAR, "Short Description");
  add(15, ZQ_DATA_TYPE_CHAR, "Status History");
  add(kPriority, ZQ_DATA_TYPE_INTEGER, "Priority");
  add(kCost, ZQ_DATA_TYPE_CURRENCY, "Cost");
  add(kDue, ZQ_DATA_TYPE_DATE, "Due");
  add(kStart, ZQ_DATA_TYPE_TIME_OF_DAY, "Start Time");
  add(kSeverity, ZQ_DATA_TYPE_ENUM, "Severity", {{"Low", 10}, {"High", 20}});
  add(kA, ZQ_DATA_TYPE_INTEGER, "A");
  add(kB, ZQ_DATA_TYPE_INTEGER, "B");
  add(kC, ZQ_DATA_TYPE_INTEGER, "C");
  return t;
}

int32_t fixedKeywords(int keyword, std::string& out) {
  if (keyword == 1) out = "joe";
  if (keyword == 6) out = "srv";
  return 0;
}

struct Parsed {
  int rc = 0;
  ZQQualifierStruct qual{};
  ZQStatusList status{0, nullptr};
  Parsed(const qualify::FieldTable& table, const std::string& text) {
    rc = qualify::parse(table, text.c_str(), fixedKeywords, &qual, &status);
  }
  ~Parsed() {
    FreeZQQualifierStruct(&qual, 0);
    FreeZQStatusList(&status, 0);
  }
  std::string detail() const {
    return status.count && status.items[0].appended ? status.items[0].appended : "";
  }
};

std::string parenthesised(int depth, const std::string& inner) {
  return std::string(depth, '(') + inner + std::string(depth, ')');
}

// ---- trees --------------------------------------------------------------------------------

TEST(QualificationLanguage, TypedTextsGiveTheirTrees) {
  const std::string A = "f100", B = "f101", C = "f102";
  const struct {
    std::string text, tree;
  } cases[] = {
      // Enumeration names become enumerated values, both sides and custom numbers.
      {"'Status' = \"Open\"", "(= f7 enum1)"},
      {"\"Closed\" != 'Status'", "(!= enum3 f7)"},
      {"'Severity' = \"High\"", "(= f536870917 enum20)"},
      {"'Short Description' LIKE \"%disk%\"", "(LIKE f8 \"%disk%\")"},
      {"'Request ID' = \"it's \"\"quoted\"\"\"", "(= f1 \"it's \"quoted\"\")"},
      // AND binds tighter than OR; NOT binds to one term.
      {"'A' = 1 OR 'B' = 2 AND 'C' = 3",
       "(OR (= " + A + " 1) (AND (= " + B + " 2) (= " + C + " 3)))"},
      {"NOT 'A' = 1 AND 'B' = 2", "(AND (NOT (= " + A + " 1)) (= " + B + " 2))"},
      {"NOT NOT 'A' = 1", "(NOT (NOT (= " + A + " 1)))"},
      {"('A' = 1 OR 'B' = 2) AND 'C' = 3",
       "(AND (OR (= " + A + " 1) (= " + B + " 2)) (= " + C + " 3))"},
      {"'A' = 1 && 'B' = 2 || ! 'C' == 3",
       "(OR (AND (= " + A + " 1) (= " + B + " 2)) (NOT (= " + C + " 3)))"},
      {"'A' = 1 and 'B' <> 2", "(AND (= " + A + " 1) (!= " + B + " 2))"},
      {"'A'<=1 AND 'B'>=2 AND 'C'<3",
       "(AND (AND (<= " + A + " 1) (>= " + B + " 2)) (< " + C + " 3))"},
      // Arithmetic: precedence, left association, unary minus, groups.
      {"'A' + 2 * 3 = 7", "(= (+ " + A + " (* 2 3)) 7)"},
      {"('A' + 2) * 3 = 7", "(= (* (+ " + A + " 2) 3) 7)"},
      {"'A' - 2 - 3 = 'B' / 4 % 5", "(= (- (- " + A + " 2) 3) (% (/ " + B + " 4) 5))"},
      {"-'A' = 1", "(= (neg " + A + ") 1)"},
      {"- -'A' = 1", "(= (neg (neg " + A + ")) 1)"},
      {"((('A' = 1)))", "(= " + A + " 1)"},
      {"(('A' + 1)) = 2", "(= (+ " + A + " 1) 2)"},
      // Numbers, null, reals.
      {"'Priority' >= 2.5", "(>= f536870913 2.5r)"},
      {"'Priority' > 3e9", "(> f536870913 3e+09r)"},
      {"'Priority' != NULL", "(!= f536870913 null)"},
      {"'Priority' = 1.0", "(= f536870913 1)"},
      // Fields by id, in the table or not.
      {"'536870913' = 5", "(= f536870913 5)"},
      {"'999' = 1", "(= f999 1)"},
      {"Priority = 1", "(= f536870913 1)"},
      // Status history by name and by number; currency parts.
      {"'Status History.Fixed.TIME' < $TIMESTAMP$", "(< sh2.TIME kw2)"},
      {"'Status History'.Closed.USER = \"joe\"", "(= sh3.USER \"joe\")"},
      {"'15.1.1' = \"joe\"", "(= sh1.USER \"joe\")"},
      {"'Cost' = 0", "(= cur536870914.0 0)"},
      {"'Cost.VALUE' > 100", "(> cur536870914.1 100)"},
      {"'Cost'.DATE > 0", "(> cur536870914.3 0)"},
      {"'536870914.TYPE' = \"EUR\"", "(= cur536870914.2 \"EUR\")"},
      {"'Cost.USD' > 5", "(> cur536870914.4USD 5)"},
      // Keywords: alone they stay keywords, in a longer text they expand.
      {"'Submitter' = $USER$", "(= f2 kw1)"},
      {"'Submitter' = \"$USER$\"", "(= f2 kw1)"},
      {"'Submitter' = $-1$", "(= f2 kw1)"},
      {"'Submitter' = $--1$", "(= f2 null)"},
      {"'Submitter' = $NULL$", "(= f2 null)"},
      {"'Short Description' = \"by $USER$ on $SERVER$, $5 $NOPE$\"",
       "(= f8 \"by joe on srv, $5 $NOPE$\")"},
      {"'Create Date' > $TIMESTAMP$ - 86400", "(> f3 (- kw2 86400))"},
      {"'Create Date' > $TIMESTAMP$-86400", "(> f3 (- kw2 86400))"},
      // Time stamps written as text (digits: seconds since 1970).
      {"'Create Date' > \"1700000000\"", "(> f3 ts1700000000)"},
      {"\"1700000000\" <= 'Create Date'", "(<= ts1700000000 f3)"},
      {"'Create Date' + 60 > \"1700000000\"", "(> (+ f3 60) ts1700000000)"},
      // Text compared with a time-of-day field that is no time stays text.
      {"'Start Time' = \"later\"", "(= f536870916 \"later\")"},
  };
  const auto table = helpDeskForm();
  for (const auto& c : cases) {
    Parsed p(table, c.text);
    ASSERT_EQ(p.rc, 0) << c.text << " -> " << p.detail();
    EXPECT_EQ(show(p.qual), c.tree) << c.text;
    EXPECT_EQ(p.status.count, 0u) << c.text;
  }
}

TEST(QualificationLanguage, DatesAndTimesOfDayWrittenAsText) {
  datetest::Settings settings("C");
  char date[ZQ_DATE_TEXT_SIZE];
  ASSERT_GT(zq::text::dates::formatDate(2461020, date), 0);
  const auto table = helpDeskForm();
  {
    Parsed p(table, std::string("'Due' >= \"") + date + "\"");
    ASSERT_EQ(p.rc, 0) << p.detail();
    EXPECT_EQ(show(p.qual), "(>= f536870915 date2461020)");
  }
  {
    Parsed p(table, "'Start Time' < \"10:30:15\"");
    ASSERT_EQ(p.rc, 0) << p.detail();
    EXPECT_EQ(show(p.qual), "(< f536870916 tod37815)");
  }
  {
    // Inside arithmetic a bare time of day is a point in time today, not an
    // interval.
    Parsed p(table, "'Create Date' > $TIMESTAMP$ - \"2:00:00\"");
    ASSERT_EQ(p.rc, 0) << p.detail();
    const ZQArithOpStruct& a = *p.qual.u.relation->right.u.arithOp;
    EXPECT_EQ(a.right.u.value.dataType, static_cast<uint32_t>(ZQ_DATA_TYPE_TIME));
  }
}

TEST(QualificationLanguage, SixtyFourParenthesesAreTheLimit) {
  const auto table = helpDeskForm();
  Parsed deepest(table, parenthesised(64, "'A' = 1"));
  EXPECT_EQ(deepest.rc, 0) << deepest.detail();
  EXPECT_EQ(show(deepest.qual), "(= f100 1)");
  Parsed arithmetic(table, "'A' = " + parenthesised(64, "1"));
  EXPECT_EQ(arithmetic.rc, 0) << arithmetic.detail();

  Parsed tooDeep(table, parenthesised(65, "'A' = 1"));
  EXPECT_EQ(tooDeep.rc, zq::kMsgQualTooDeep);
  EXPECT_EQ(tooDeep.qual.operation, 0u);
}

// ---- errors -------------------------------------------------------------------------------

TEST(QualificationLanguage, ErrorsCarryTheirNumberAndWhereReadingStopped) {
  const struct {
    const char* text;
    int32_t message;
    const char* detail;
  } cases[] = {
      {"'Short Description' = \"abc", zq::kMsgQualQuoteOpen,
       "position 22   (...Description' = ^\"abc)"},
      {"'Short Description = 1", zq::kMsgQualQuoteOpen, "position 0   (^'Short Descript...)"},
      {"'A' = 1 'B' = 2", zq::kMsgQualAfterRelation, "position 8   ('A' = 1 ^'B' = 2)"},
      {"'A' = 1)", zq::kMsgQualAfterRelation, "position 7   ('A' = 1^))"},
      {"'A' 'B'", zq::kMsgQualRelOpExpected, "position 4   ('A' ^'B')"},
      {"NOT 'A'", zq::kMsgQualRelOpExpected, "position 7   (NOT 'A'^)"},
      {"'A' + 1", zq::kMsgQualRelOpExpected, "position 7   ('A' + 1^)"},
      {"'A' = ", zq::kMsgQualOperandExpected, "position 6   ('A' = ^)"},
      {"'A' = 1 AND", zq::kMsgQualOperandExpected, "position 11   ('A' = 1 AND^)"},
      {"'A' = * 2", zq::kMsgQualOperandExpected, "position 6   ('A' = ^* 2)"},
      {"('A' = 1", zq::kMsgQualParenOpen, "position 0   (^('A' = 1)"},
      {"'A' = (1", zq::kMsgQualParenOpen, "position 6   ('A' = ^(1)"},
      {"('A' = 1) + 2 = 3", zq::kMsgQualUnexpected, "position 10   (('A' = 1) ^+ 2 = 3)"},
      {"('A' + 1) AND 'B' = 1", zq::kMsgQualUnexpected, "position 10   (('A' + 1) ^AND 'B' = 1)"},
      {"'A' = ('B' = 1)", zq::kMsgQualUnexpected, "position 15   ('A' = ('B' = 1)^)"},
      {"'Nope' = 1", zq::kMsgQualUnknownField, "Nope"},
      {"'A' = 'Status History.Fixed'", zq::kMsgQualBadStatusHistory, nullptr},
      {"'Status' = \"Reopened\"", zq::kMsgQualUnknownValueName, nullptr},
      {"'Status History.Reopened.TIME' > 0", zq::kMsgQualUnknownValueName, nullptr},
      {"'Status History.Fixed.WHEN' > 0", zq::kMsgQualBadStatusHistory, nullptr},
      {"'Status History.TIME' > 0", zq::kMsgQualBadStatusHistory, nullptr},
      {"'Create Date' = \"not a time\"", zq::kMsgQualBadTime, nullptr},
      {"'Cost.VALUES' > 1", zq::kMsgQualUnknownField, "Cost.VALUES"},
  };
  const auto table = helpDeskForm();
  for (const auto& c : cases) {
    Parsed p(table, c.text);
    EXPECT_EQ(p.rc, c.message) << c.text;
    ASSERT_EQ(p.status.count, 1u) << c.text;
    EXPECT_EQ(p.status.items[0].messageNumber, c.message) << c.text;
    EXPECT_EQ(p.status.items[0].messageType, static_cast<uint32_t>(ZQ_MESSAGE_ERROR));
    if (c.detail)
      EXPECT_EQ(p.detail(), c.detail) << c.text;
    else
      EXPECT_EQ(p.detail().rfind("position ", 0), 0u) << c.text << ": " << p.detail();
    EXPECT_EQ(p.qual.operation, 0u) << c.text;
  }
}

TEST(QualificationLanguage, StatusHistoryNeedsAStatusField) {
  qualify::FieldTable table;
  table.fields.push_back({15, ZQ_DATA_TYPE_CHAR, "Status History", {}});
  Parsed p(table, "'Status History.Fixed.TIME' > 0");
  EXPECT_EQ(p.rc, zq::kMsgQualNoStatusField);
  // A field id that merely begins with 15 is a field id.
  Parsed id(table, "'1500' = 1");
  EXPECT_EQ(id.rc, 0) << id.detail();
  EXPECT_EQ(show(id.qual), "(= f1500 1)");
}

TEST(QualificationLanguage, AFailingKeywordEndsTheParse) {
  const auto table = helpDeskForm();
  ZQQualifierStruct q{};
  ZQStatusList s{0, nullptr};
  const qualify::KeywordValue failing = [](int, std::string&) -> int32_t {
    return zq::kMsgNoMemory;
  };
  EXPECT_EQ(qualify::parse(table, "'Short Description' = \"x $USER$\"", failing, &q, &s),
            zq::kMsgNoMemory);
  EXPECT_EQ(q.operation, 0u);
  ASSERT_EQ(s.count, 1u);
  EXPECT_EQ(s.items[0].appended, nullptr);  // no position for keyword failures
  FreeZQStatusList(&s, 0);
}

// Texts a hostile caller might send: each ends with an error or a tree,
// quickly, without deep recursion.
TEST(QualificationLanguage, HostileTextsEndCleanly) {
  std::string manyAnds = "'A' = 1";
  for (int i = 0; i < 5000; ++i) manyAnds += " AND 'A' = 1";
  std::string longSum = "'A' = 1";
  for (int i = 0; i < 5000; ++i) longSum += " + 1";
  std::string binary("'A' = \"\x01\x02\xff\xfe\"", 12);
  const struct {
    std::string text;
    int32_t message;
  } cases[] = {
      {std::string(100000, '('), zq::kMsgQualTooDeep},
      {std::string(100000, '-') + "'A' = 1", zq::kMsgQualTooDeep},
      {[] {
         std::string s;
         for (int i = 0; i < 100000; ++i) s += "NOT ";
         return s + "'A' = 1";
       }(),
       zq::kMsgQualTooDeep},
      {manyAnds, zq::kMsgQualTooDeep},
      {longSum, zq::kMsgQualTooDeep},
      {std::string(100000, ')'), zq::kMsgQualOperandExpected},
      {std::string(5000, '\''), 0},  // doubled quotes: a field named by quotes
      {binary, 0},
      {"$USER$$USER$ = 1", zq::kMsgQualRelOpExpected},
      {std::string(300, '$'), zq::kMsgQualUnknownField},
  };
  const auto table = helpDeskForm();
  for (const auto& c : cases) {
    Parsed p(table, c.text);
    if (c.message == 0) {
      EXPECT_NE(p.rc, zq::kMsgQualTooDeep) << c.text.substr(0, 40);
      continue;
    }
    EXPECT_EQ(p.rc, c.message) << c.text.substr(0, 40);
    EXPECT_EQ(p.qual.operation, 0u);
  }
}

TEST(QualificationLanguage, PositionTextShowsFifteenCharactersEachSide) {
  const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789";
  EXPECT_EQ(qualify::positionText(text, 20),
            "position 20   (...fghijklmnopqrst^uvwxyz012345678...)");
  EXPECT_EQ(qualify::positionText(text, 3), "position 3   (abc^defghijklmnopqr...)");
  EXPECT_EQ(qualify::positionText(text, 21), "position 21   (...ghijklmnopqrstu^vwxyz0123456789)");
  EXPECT_EQ(qualify::positionText("", 0), "position 0   (^)");
}

// ---- keywords -----------------------------------------------------------------------------

TEST(QualificationKeywords, ExpansionOfOneText) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"$USER$", "kw1"},
      {"$-46$", "kw46"},
      {"$NO$", "kw46"},
      {"$--1$", "null"},
      {"$NULL$", "null"},
      {"$-47$", "\"$-47$\""},
      {"$user$", "\"$user$\""},
      {"Hi $USER$!", "\"Hi joe!\""},
      {"$$USER$", "\"$joe\""},
      {"$USER$$SERVER$", "\"joesrv\""},
      {"$USER$ $TIME-$", "\"joe $TIME-$\""},
      {"a $--1$ b", "\"a  b\""},
      {"$DATE$ and $GUIDE$.", "\"ignored\""},
      {"cost $5", "\"cost $5\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) {
    ZQValueStruct v{};
    ZQStatusList s{0, nullptr};
    const qualify::KeywordValue keywords = [](int keyword, std::string& out) -> int32_t {
      if (keyword == 4) out = "ignored";
      return fixedKeywords(keyword, out);
    };
    ASSERT_EQ(qualify::expandKeywords(c.text, keywords, &v, &s), 0) << c.text;
    if (std::string(c.text) == "$DATE$ and $GUIDE$.")
      EXPECT_EQ(show(v), "\"ignored and .\"");
    else
      EXPECT_EQ(show(v), c.shown) << c.text;
    FreeZQValueStruct(&v, 0);
  }
}

TEST(QualificationKeywords, NamesAreBoundedAndFreeOfControlBytes) {
  EXPECT_EQ(qualify::keywordOf("TIMESTAMP"), 2);
  EXPECT_EQ(qualify::keywordOf("-0"), 0);
  EXPECT_EQ(qualify::keywordOf("-"), -2);
  EXPECT_EQ(qualify::keywordOf("-1x"), -2);
  EXPECT_EQ(qualify::keywordOf(std::string("US\x01R")), -2);
  EXPECT_EQ(qualify::keywordOf(std::string(255, 'A')), -2);
  EXPECT_FALSE(qualify::hardwareText().empty());
  EXPECT_FALSE(qualify::systemText().empty());
}

}  // namespace
