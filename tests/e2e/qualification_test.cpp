// The qualification language against a live zqserverd form: the field table
// read from the server (names, view labels, enumeration names, currency,
// status history), the trees typed texts give, and the entries the parsed
// qualifications then find.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "definitions_fixture.h"
#include "support/field_values.h"
#include "support/qual_show.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::Status;

constexpr ZQInternalId kPriority = 536870913;
constexpr ZQInternalId kCost = 536870914;
constexpr ZQInternalId kSeverity = 536870915;
constexpr ZQInternalId kMainView = 1, kAgentView = 2;

ZQPropStruct label(const char* text) {
  ZQPropStruct p{};
  p.propertyTag = ZQ_DPROP_LABEL;
  p.value.dataType = ZQ_DATA_TYPE_CHAR;
  p.value.u.charValue = const_cast<char*>(text);
  return p;
}

class Qualification : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Tickets", s), 0);
    ZQInternalId view = kMainView;
    ASSERT_EQ(ZQCreateVUI(&control_, "Tickets", &view, "Main", "", 0, nullptr, nullptr, nullptr,
                          nullptr, s.fresh()),
              0);
    view = kAgentView;
    ASSERT_EQ(ZQCreateVUI(&control_, "Tickets", &view, "Agent", "", 0, nullptr, nullptr, nullptr,
                          nullptr, s.fresh()),
              0);

    // The status field's value names, and a label for it in the agent view.
    ZQNameType names[4] = {"New", "Open", "Fixed", "Closed"};
    ZQFieldLimitStruct statusLimit{};
    statusLimit.dataType = ZQ_DATA_TYPE_ENUM;
    statusLimit.u.enumLimits.enumKind = ZQ_ENUM_STYLE_REGULAR;
    statusLimit.u.enumLimits.u.values = {4, names};
    ZQPropStruct state = label("State");
    ZQDisplayInstanceStruct stateIn{kAgentView, {1, &state}};
    ZQDisplayInstanceList stateDisplays{{0, nullptr}, 1, &stateIn};
    ASSERT_EQ(
        ZQSetField(&control_, "Tickets", 7, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, &statusLimit, &stateDisplays, nullptr, nullptr, nullptr, 0, s.fresh()),
        0)
        << (s.count ? s.items[0].messageNumber : 0);

    // Priority is "Urgency" in the agent view.
    ZQPropStruct urgency = label("Urgency");
    ZQDisplayInstanceStruct urgencyIn{kAgentView, {1, &urgency}};
    ZQDisplayInstanceList urgencyDisplays{{0, nullptr}, 1, &urgencyIn};
    ZQPermissionStruct perm{1, ZQ_PERMISSIONS_CHANGE};
    ZQPermissionList perms{1, &perm};
    ZQInternalId id = kPriority;
    ASSERT_EQ(ZQCreateField(&control_, "Tickets", &id, 0, "Priority", nullptr, ZQ_DATA_TYPE_INTEGER,
                            ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, nullptr, &perms,
                            nullptr, &urgencyDisplays, nullptr, nullptr, nullptr, s.fresh()),
              0)
        << (s.count ? s.items[0].messageNumber : 0);
    ASSERT_EQ(createField("Tickets", kCost, "Cost", ZQ_DATA_TYPE_CURRENCY, s), 0);

    ZQEnumItemStruct levels[2] = {{"Low", 10}, {"High", 20}};
    ZQFieldLimitStruct severityLimit{};
    severityLimit.dataType = ZQ_DATA_TYPE_ENUM;
    severityLimit.u.enumLimits.enumKind = ZQ_ENUM_STYLE_CUSTOM;
    severityLimit.u.enumLimits.u.customValues = {2, levels};
    id = kSeverity;
    ASSERT_EQ(
        ZQCreateField(&control_, "Tickets", &id, 0, "Severity Level", nullptr, ZQ_DATA_TYPE_ENUM,
                      ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, nullptr, &perms,
                      &severityLimit, nullptr, nullptr, nullptr, nullptr, s.fresh()),
        0)
        << (s.count ? s.items[0].messageNumber : 0);

    addTicket("disk full", 0, 1, 10);
    addTicket("printer jam", 1, 2, 20);
    addTicket("disk slow", 2, 3, 20);
    addTicket("mail bounce", 1, 5, 10);
  }

  void addTicket(const char* what, uint32_t status, int32_t priority, uint32_t severity) {
    ZQFieldValueStruct values[4] = {zqtest::text(8, what), zqtest::integer(kPriority, priority),
                                    zqtest::integer(7, 0), zqtest::integer(kSeverity, 0)};
    values[2].value.dataType = ZQ_DATA_TYPE_ENUM;
    values[2].value.u.enumValue = status;
    values[3].value.dataType = ZQ_DATA_TYPE_ENUM;
    values[3].value.u.enumValue = severity;
    ZQFieldValueList list{4, values};
    ZQEntryIdType entryId{};
    Status s;
    ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &list, entryId, s.fresh()), 0)
        << (s.count ? s.items[0].messageNumber : 0);
  }

  // The short descriptions of the entries a qualification finds, sorted.
  std::vector<std::string> found(ZQQualifierStruct* qual) {
    ZQEntryListList entries{0, nullptr};
    uint32_t matches = 0;
    Status s;
    EXPECT_EQ(ZQGetListEntry(&control_, "Tickets", qual, nullptr, nullptr, 0, 0, 0, &entries,
                             &matches, s.fresh()),
              0)
        << (s.count ? s.items[0].messageNumber : 0);
    std::vector<std::string> out;
    for (uint32_t i = 0; i < entries.count; ++i)
      out.emplace_back(entries.items[i].shortDescription ? entries.items[i].shortDescription : "");
    std::sort(out.begin(), out.end());
    FreeZQEntryListList(&entries, 0);
    return out;
  }
};

using Found = std::vector<std::string>;

TEST_F(Qualification, TypedTextsGiveTreesThatFindTheExpectedEntries) {
  const struct {
    const char* view;
    const char* text;
    const char* tree;
    Found entries;
  } cases[] = {
      {"", "'Status' = \"Open\"", "(= f7 enum1)", {"mail bounce", "printer jam"}},
      {"Agent", "'State' = \"Open\"", "(= f7 enum1)", {"mail bounce", "printer jam"}},
      {"Agent", "'Urgency' >= 3", "(>= f536870913 3)", {"disk slow", "mail bounce"}},
      {"", "'Priority' >= 3", "(>= f536870913 3)", {"disk slow", "mail bounce"}},
      {"", "'Severity Level' = \"High\"", "(= f536870915 enum20)", {"disk slow", "printer jam"}},
      {"",
       "'Short Description' LIKE \"disk%\" AND NOT 'Status' = \"New\"",
       "(AND (LIKE f8 \"disk%\") (NOT (= f7 enum0)))",
       {"disk slow"}},
      {"",
       "'Status' = \"New\" OR 'Status' = \"Fixed\" AND 'Priority' > 2",
       "(OR (= f7 enum0) (AND (= f7 enum2) (> f536870913 2)))",
       {"disk full", "disk slow"}},
      {"", "'Priority' + 2 * 3 = 11", "(= (+ f536870913 (* 2 3)) 11)", {"mail bounce"}},
      {"", "-'Priority' < -2", "(< (neg f536870913) (neg 2))", {"disk slow", "mail bounce"}},
      {"",
       "(('Priority' = 1 OR 'Priority' = 2)) AND ('Priority' - 1) * 2 = 2",
       "(AND (OR (= f536870913 1) (= f536870913 2)) (= (* (- f536870913 1) 2) 2))",
       {"printer jam"}},
      {"", "'536870913' = 5", "(= f536870913 5)", {"mail bounce"}},
      {"", "'Create Date' > $TIMESTAMP$ - 86400", "(> f3 (- kw2 86400))", {}},
      {"", "'Cost.VALUE' > 100", "(> cur536870914.1 100)", {}},
      {"", "'Status History.Fixed.TIME' < $TIMESTAMP$", "(< sh2.TIME kw2)", {}},
  };
  for (const auto& c : cases) {
    ZQQualifierStruct q{};
    Status s;
    ASSERT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", c.view, c.text, &q, s.fresh()), 0)
        << c.text << ": " << (s.count ? s.items[0].messageNumber : 0) << " "
        << (s.count && s.items[0].appended ? s.items[0].appended : "");
    EXPECT_EQ(zqtest::show(q), c.tree) << c.text;
    // Keywords, currency parts and the status history are the server's to
    // evaluate; zqserverd compares plain fields and values.
    const std::string text = c.text;
    if (text.find('$') == std::string::npos && text.find("Cost") == std::string::npos) {
      EXPECT_EQ(found(&q), c.entries) << c.text;
    }
    FreeZQQualifierStruct(&q, 0);
  }
}

TEST_F(Qualification, FailuresNameTheirCauseAndLeaveTheOutputEmpty) {
  const struct {
    const char* view;
    const char* text;
    int32_t message;
    const char* detail;
  } cases[] = {
      {"", "'Short Description' = \"abc", zq::kMsgQualQuoteOpen,
       "position 22   (...Description' = ^\"abc)"},
      {"", "'Urgency' = 1", zq::kMsgQualUnknownField, "Urgency"},  // a label of another view
      {"Agent", "'State' = \"Reopened\"", zq::kMsgQualUnknownValueName, nullptr},
      {"", "'Status History.Reopened.USER' = \"joe\"", zq::kMsgQualUnknownValueName, nullptr},
  };
  for (const auto& c : cases) {
    ZQQualifierStruct q{};
    q.operation = 99;  // cleared by the call
    Status s;
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", c.view, c.text, &q, s.fresh()),
              ZQ_RETURN_ERROR)
        << c.text;
    EXPECT_EQ(q.operation, 0u);
    ASSERT_GE(s.count, 1u);
    EXPECT_EQ(s.items[0].messageNumber, c.message) << c.text;
    if (c.detail) {
      EXPECT_STREQ(s.items[0].appended, c.detail) << c.text;
    }
  }

  std::string tooDeep = std::string(65, '(') + "'Priority' = 1" + std::string(65, ')');
  ZQQualifierStruct q{};
  Status s;
  EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", nullptr, tooDeep.c_str(), &q, s.fresh()),
            2);
  EXPECT_TRUE(s.has(zq::kMsgQualTooDeep));
}

TEST_F(Qualification, ArgumentsAreCheckedBeforeTheServerIsAsked) {
  ZQQualifierStruct q{};
  {
    Status s;
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", nullptr, "'A' = 1", nullptr, s.fresh()),
              2);
    EXPECT_TRUE(s.has(zq::kMsgNoOutputQualifier));
  }
  {
    Status s;
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "", nullptr, "'A' = 1", &q, s.fresh()), 2);
  }
  {
    // Nothing typed: the empty qualification, without a request.
    const uint64_t before = calls();
    Status s;
    q.operation = 4;
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", nullptr, " \t ", &q, s.fresh()), 0);
    EXPECT_EQ(q.operation, 0u);
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", nullptr, nullptr, &q, s.fresh()), 0);
    EXPECT_EQ(calls(), before);
  }
  {
    Status s;
    EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Missing", nullptr, "'A' = 1", &q, s.fresh()), 2);
    EXPECT_EQ(q.operation, 0u);
  }
  EXPECT_EQ(ZQLoadZQQualifierStruct(&control_, "Tickets", nullptr, "'A' = 1", &q, nullptr), 4);
}

TEST_F(Qualification, KeywordsExpandWithTheSessionsValues) {
  auto expand = reinterpret_cast<int (*)(ZQControlStruct*, const char*, const char*, const char*,
                                         ZQValueStruct*, ZQStatusList*)>(ZQGetOrdinal(849));
  ASSERT_NE(expand, nullptr);
  const struct {
    const char* text;
    std::string expected;
  } cases[] = {
      {"$USER$", "kw1"},
      {"by $USER$ on $SCHEMA$ in $VUI$ at $SERVER$",
       std::string("\"by ") + control_.user + " on Tickets in Agent at " + control_.server + "\""},
      {"$OPERATION$ $INBULKTRANSACTION$", "\"QUERY 0\""},
      {"[$GUIDE$]", "\"[]\""},
  };
  for (const auto& c : cases) {
    ZQValueStruct v{};
    Status s;
    ASSERT_EQ(expand(&control_, "Tickets", "Agent", c.text, &v, s.fresh()), 0) << c.text;
    EXPECT_EQ(zqtest::show(v), c.expected) << c.text;
    FreeZQValueStruct(&v, 0);
  }
  // The group keywords ask the server.
  ZQValueStruct v{};
  Status s;
  ASSERT_EQ(expand(&control_, nullptr, nullptr, "<$GROUPIDS$>", &v, s.fresh()), 0);
  ASSERT_EQ(v.dataType, static_cast<uint32_t>(ZQ_DATA_TYPE_CHAR));
  const std::string ids = v.u.charValue;
  EXPECT_TRUE(ids == "<>" || (ids.front() == '<' && ids[1] == ';' && ids[ids.size() - 2] == ';'))
      << ids;
  FreeZQValueStruct(&v, 0);
}

}  // namespace
