// The workflow definition checks, one row per rule: a sound structure is
// broken in one place and the messages the check adds are compared whole.
// Rows expecting no message show the limit itself passes. No server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "calls/workflow_checks.h"
#include "frame/alloc.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

using Messages = std::vector<int32_t>;
using zq::checks::ActionListPlace;

// The numbers in ascending order: the status list orders its messages
// itself, the rows state which messages a failure adds.
Messages numbers(const Status& s) {
  Messages out;
  for (const auto& [type, number] : s.entries()) {
    EXPECT_EQ(type, 2u);
    out.push_back(number);
  }
  std::sort(out.begin(), out.end());
  return out;
}

class WorkflowChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = zqtest::makeControl("Demo", "zq-unreachable.invalid");
    Status s;
    ASSERT_LT(ZQInitialization(&control_, &s), 2);
  }
  void TearDown() override {
    Status s;
    ZQTermination(&control_, &s);
  }
  ZQControlStruct control_{};
};

// Texts the rows point into; they outlive every row.
const std::string k128(128, 'l'), k129(129, 'l'), k255(255, 's'), k256(256, 's'), k4096(4096, 'p'),
    k4097(4097, 'p');
char* text(const std::string& s) {
  return const_cast<char*>(s.c_str());
}
char* text(const char* s) {
  return const_cast<char*>(s);
}

// A sound assignment of a constant.
ZQAssignStruct constant() {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_VALUE;
  a.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  a.u.value.u.integerValue = 7;
  return a;
}

// The pieces a filter action row may point into, sound by default.
struct Pieces {
  ZQFieldAssignStruct assign{536870913, constant()};
  ZQAssignFieldStruct target{};
  ZQPushFieldsStruct push{};
  ZQFilterActionNotifyAdvanced advanced{};
  Pieces() {
    target.tag = ZQ_FIELD;
    target.u.fieldId = 536870913;
    target.noMatchOption = 1;
    target.multiMatchOption = 1;
    push.target = target;
    push.source = constant();
  }
};

struct FilterRow {
  const char* what;
  std::function<void(ZQFilterActionStruct&, Pieces&)> make;
  ActionListPlace place;
  Messages expected;
};

void setMessage(ZQFilterActionStruct& a, int32_t number) {
  a.action = ZQ_FILTER_ACTION_MESSAGE;
  a.u.message = {2, number, text("refused")};
}
void setNotify(ZQFilterActionStruct& a) {
  a.action = ZQ_FILTER_ACTION_NOTIFY;
  a.u.notify.text = text("hello");
  a.u.notify.subject = text("subject");
  a.u.notify.mechanism = ZQ_NOTIFY_ALERT;
  a.u.notify.fieldIdListKind = ZQ_NOTIFY_FIELDS_ALL;
}
void setFields(ZQFilterActionStruct& a, Pieces& p) {
  a.action = ZQ_FILTER_ACTION_FIELDS;
  a.u.setFields.fieldAssignList = {1, &p.assign};
}
void setPush(ZQFilterActionStruct& a, Pieces& p) {
  a.action = ZQ_FILTER_ACTION_FIELDP;
  a.u.pushFields.pushFieldsList = {1, &p.push};
}
void setCallGuide(ZQFilterActionStruct& a) {
  a.action = ZQ_FILTER_ACTION_CALLGUIDE;
  zq::copyName(a.u.callGuide.serverName, "here", sizeof a.u.callGuide.serverName);
  zq::copyName(a.u.callGuide.guideName, "Guide", sizeof a.u.callGuide.guideName);
}
void setService(ZQFilterActionStruct& a) {
  a.action = ZQ_FILTER_ACTION_SERVICE;
  zq::copyName(a.u.serviceAction.server, "here", sizeof a.u.serviceAction.server);
  zq::copyName(a.u.serviceAction.schema, "Form", sizeof a.u.serviceAction.schema);
}

constexpr ActionListPlace kFilter{false, false}, kEscalationIf{true, false},
    kEscalationElse{true, true};

TEST_F(WorkflowChecks, FilterAndEscalationActions) {
  const FilterRow rows[] = {
      // MESSAGE
      {"message 10000", [](auto& a, auto&) { setMessage(a, 10000); }, kFilter, {}},
      {"message -1", [](auto& a, auto&) { setMessage(a, -1); }, kFilter, {}},
      {"message 9999", [](auto& a, auto&) { setMessage(a, 9999); }, kFilter, {138}},
      {"message 0", [](auto& a, auto&) { setMessage(a, 0); }, kFilter, {138}},
      {"message type 3",
       [](auto& a, auto&) {
         setMessage(a, 10000);
         a.u.message.messageType = 3;
       },
       kFilter,
       {137}},
      {"message without text",
       [](auto& a, auto&) {
         setMessage(a, 10000);
         a.u.message.message = nullptr;
       },
       kFilter,
       {291}},
      {"message text of 256",
       [](auto& a, auto&) {
         setMessage(a, 10000);
         a.u.message.message = text(k256);
       },
       kFilter,
       {291}},
      {"message in an escalation",
       [](auto& a, auto&) { setMessage(a, 10000); },
       kEscalationIf,
       {46}},
      {"message in an escalation's else list",
       [](auto& a, auto&) { setMessage(a, 10000); },
       kEscalationElse,
       {46}},
      // LOG
      {"log in an escalation's if list",
       [](auto& a, auto&) { a.action = ZQ_FILTER_ACTION_LOG; },
       kEscalationIf,
       {}},
      {"log in an escalation's else list",
       [](auto& a, auto&) { a.action = ZQ_FILTER_ACTION_LOG; },
       kEscalationElse,
       {46}},
      {"log file of 255",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_LOG;
         a.u.logFile = text(k255);
       },
       kFilter,
       {}},
      {"log file of 256",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_LOG;
         a.u.logFile = text(k256);
       },
       kFilter,
       {109}},
      // NOTIFY
      {"notify priority 10",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.priority = 10;
       },
       kFilter,
       {}},
      {"notify priority 11",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.priority = 11;
       },
       kFilter,
       {204}},
      {"notify mechanism 0",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.mechanism = 0;
       },
       kFilter,
       {136}},
      {"notify mechanism 100",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.mechanism = 100;
       },
       kFilter,
       {136}},
      {"notify user of 256",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.user = text(k256);
       },
       kFilter,
       {202}},
      {"notify without text",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.text = nullptr;
       },
       kFilter,
       {162}},
      {"notify subject of 256",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.subject = text(k256);
       },
       kFilter,
       {254}},
      {"notify field list kind 4",
       [](auto& a, auto&) {
         setNotify(a);
         a.u.notify.fieldIdListKind = 4;
       },
       kFilter,
       {163}},
      {"notify advanced from of 256",
       [](auto& a, auto& p) {
         setNotify(a);
         p.advanced.fromUser = text(k256);
         a.u.notify.advanced = &p.advanced;
       },
       kFilter,
       {8974}},
      {"notify advanced content template of 256",
       [](auto& a, auto& p) {
         setNotify(a);
         p.advanced.contentTemplate = text(k256);
         a.u.notify.advanced = &p.advanced;
       },
       kFilter,
       {8739}},
      {"notify of field list kind 0 ignores its advanced strings",
       [](auto& a, auto& p) {
         setNotify(a);
         a.u.notify.fieldIdListKind = ZQ_NOTIFY_FIELDS_NONE;
         p.advanced.bccUser = text(k256);
         a.u.notify.advanced = &p.advanced;
       },
       kFilter,
       {}},
      // SET FIELDS and PUSH FIELDS
      {"set fields", [](auto& a, auto& p) { setFields(a, p); }, kFilter, {}},
      {"set fields of no assignment",
       [](auto& a, auto& p) {
         setFields(a, p);
         a.u.setFields.fieldAssignList.count = 0;
       },
       kFilter,
       {192}},
      {"set fields with a count and no items",
       [](auto& a, auto& p) {
         setFields(a, p);
         a.u.setFields.fieldAssignList.items = nullptr;
       },
       kFilter,
       {165}},
      {"set fields with an assignment of type 0",
       [](auto& a, auto& p) {
         setFields(a, p);
         p.assign.assignment.assignType = 0;
       },
       kFilter,
       {191, 193}},
      {"set fields with a sample form of 255",
       [](auto& a, auto& p) {
         setFields(a, p);
         memset(a.u.setFields.sampleSchema, 'f', 255);
       },
       kFilter,
       {103}},
      {"push fields", [](auto& a, auto& p) { setPush(a, p); }, kFilter, {}},
      {"push fields of no item",
       [](auto& a, auto& p) {
         setPush(a, p);
         a.u.pushFields.pushFieldsList.count = 0;
       },
       kFilter,
       {192}},
      {"push fields to a target of tag 2",
       [](auto& a, auto& p) {
         setPush(a, p);
         p.push.target.tag = 2;
       },
       kFilter,
       {193, 194}},
      // PROCESS, SQL, GOTO
      {"process of 4096",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_PROCESS;
         a.u.process = text(k4096);
       },
       kFilter,
       {}},
      {"process of 4097",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_PROCESS;
         a.u.process = text(k4097);
       },
       kFilter,
       {117}},
      {"empty process",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_PROCESS;
         a.u.process = text("");
       },
       kFilter,
       {117}},
      {"SQL without command",
       [](auto& a, auto&) { a.action = ZQ_FILTER_ACTION_SQL; },
       kFilter,
       {261}},
      {"goto a field of id 0",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_GOTOACTION;
         a.u.gotoAction = {ZQ_GOTO_FIELD_XREF, 0};
       },
       kFilter,
       {195}},
      {"goto of tag 5",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_GOTOACTION;
         a.u.gotoAction = {5, 1};
       },
       kFilter,
       {8724}},
      // guides and services
      {"call guide", [](auto& a, auto&) { setCallGuide(a); }, kFilter, {}},
      {"call guide without guide name",
       [](auto& a, auto&) {
         setCallGuide(a);
         a.u.callGuide.guideName[0] = '\0';
       },
       kFilter,
       {8722}},
      {"call guide in an escalation",
       [](auto& a, auto&) { setCallGuide(a); },
       kEscalationIf,
       {422}},
      {"exit guide in an escalation",
       [](auto& a, auto&) { a.action = ZQ_FILTER_ACTION_EXITGUIDE; },
       kEscalationIf,
       {422}},
      {"guide label of 128",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_GOTOGUIDELABEL;
         a.u.gotoGuideLabel.label = text(k128);
       },
       kFilter,
       {}},
      {"guide label of 129",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_GOTOGUIDELABEL;
         a.u.gotoGuideLabel.label = text(k129);
       },
       kFilter,
       {8723}},
      {"guide label in an escalation",
       [](auto& a, auto&) {
         a.action = ZQ_FILTER_ACTION_GOTOGUIDELABEL;
         a.u.gotoGuideLabel.label = text(k128);
       },
       kEscalationIf,
       {422}},
      {"service", [](auto& a, auto&) { setService(a); }, kFilter, {}},
      {"service without server",
       [](auto& a, auto&) {
         setService(a);
         a.u.serviceAction.server[0] = '\0';
       },
       kFilter,
       {159}},
      {"service without form",
       [](auto& a, auto&) {
         setService(a);
         a.u.serviceAction.schema[0] = '\0';
       },
       kFilter,
       {151}},
      // unknown actions
      {"action 0 in a filter", [](auto&, auto&) {}, kFilter, {135}},
      {"action 13 in a filter", [](auto& a, auto&) { a.action = 13; }, kFilter, {135}},
      {"action 0 in an escalation", [](auto&, auto&) {}, kEscalationIf, {422}},
  };
  for (const FilterRow& r : rows) {
    ZQFilterActionStruct action{};
    Pieces pieces;
    r.make(action, pieces);
    Status s;
    EXPECT_EQ(zq::checks::checkFilterAction(&action, r.place, &s), r.expected.empty() ? 0 : 2)
        << r.what;
    EXPECT_EQ(numbers(s), r.expected) << r.what;
  }
}

TEST_F(WorkflowChecks, FilterActionLists) {
  ZQFilterActionStruct good{};
  setMessage(good, 10000);
  ZQFilterActionStruct bad = good;
  bad.u.message.messageNumber = 1;
  std::vector<ZQFilterActionStruct> many(26, good);
  ZQFilterActionStruct goodThenBad[] = {good, bad};
  const struct {
    const char* what;
    ZQFilterActionList list;
    bool nullList;
    ActionListPlace place;
    Messages expected;
  } rows[] = {
      {"null list of a filter", {}, true, kFilter, {116}},
      {"null list of an escalation", {}, true, kEscalationIf, {284}},
      {"empty list of a filter", {0, &good}, false, kFilter, {116}},
      {"empty list of an escalation", {0, &good}, false, kEscalationIf, {284}},
      {"count without items", {1, nullptr}, false, kFilter, {165}},
      {"26 actions", {26, many.data()}, false, kFilter, {182}},
      {"25 actions", {25, many.data()}, false, kFilter, {}},
      {"the second action fails", {2, goodThenBad}, false, kFilter, {138}},
  };
  for (const auto& r : rows) {
    ZQFilterActionList list = r.list;
    Status s;
    EXPECT_EQ(zq::checks::checkFilterActions(r.nullList ? nullptr : &list, r.place, &s),
              r.expected.empty() ? 0 : 2)
        << r.what;
    EXPECT_EQ(numbers(s), r.expected) << r.what;
  }
}

// The pieces an assignment row may point into.
struct AssignPieces {
  ZQArithOpAssignStruct arith{ZQ_ARITH_OP_ADD, constant(), constant()};
  ZQFunctionAssignStruct function{27, 0, nullptr};
  ZQDDEStruct dde{text("service"), text("topic"), text("item"), 1, nullptr, text("cmd")};
  ZQAssignSQLStruct sql{};
  ZQAssignFilterApiStruct api{};
  ZQAssignStruct input = constant();
  ZQAssignFieldStruct field{};
  ZQCurrencyPartStruct currency{};
  AssignPieces() {
    sql.sqlCommand = text("select 1");
    sql.noMatchOption = sql.multiMatchOption = 1;
    zq::copyName(api.serviceName, "Service", sizeof api.serviceName);
    api.count = 1;
    api.items = &input;
    field.tag = ZQ_FIELD;
    field.u.fieldId = 1;
    field.noMatchOption = field.multiMatchOption = 1;
  }
};

TEST_F(WorkflowChecks, Assignments) {
  using Make = std::function<void(ZQAssignStruct&, AssignPieces&)>;
  auto arith = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_ARITH;
    a.u.arithOp = &p.arith;
  };
  auto function = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
    a.u.function = &p.function;
  };
  auto dde = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_DDE;
    a.u.dde = &p.dde;
  };
  auto sql = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_SQL;
    a.u.sql = &p.sql;
  };
  auto api = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
    a.u.filterApi = &p.api;
  };
  auto field = [](auto& a, auto& p) {
    a.assignType = ZQ_ASSIGN_TYPE_FIELD;
    a.u.field = &p.field;
  };
  const struct {
    const char* what;
    Make make;
    Messages expected;
  } rows[] = {
      {"type 0", [](auto& a, auto&) { a.assignType = 0; }, {191}},
      {"type 9", [](auto& a, auto&) { a.assignType = 9; }, {191}},
      {"process of 256",
       [](auto& a, auto&) {
         a.assignType = ZQ_ASSIGN_TYPE_PROCESS;
         a.u.process = text(k256);
       },
       {117}},
      {"arithmetic", arith, {}},
      {"arithmetic without operation",
       [&](auto& a, auto& p) {
         arith(a, p);
         a.u.arithOp = nullptr;
       },
       {145}},
      {"arithmetic operation 7",
       [&](auto& a, auto& p) {
         arith(a, p);
         p.arith.operation = 7;
       },
       {146}},
      {"arithmetic with a bad right operand",
       [&](auto& a, auto& p) {
         arith(a, p);
         p.arith.right.assignType = 0;
       },
       {191}},
      {"a negation ignores its left operand",
       [&](auto& a, auto& p) {
         arith(a, p);
         p.arith.operation = ZQ_ARITH_OP_NEGATE;
         p.arith.left.assignType = 42;
       },
       {}},
      {"function code 27", function, {}},
      {"function code 51",
       [&](auto& a, auto& p) {
         function(a, p);
         p.function.functionCode = 51;
       },
       {230}},
      {"function arguments without items",
       [&](auto& a, auto& p) {
         function(a, p);
         p.function.count = 1;
       },
       {231}},
      {"no function",
       [](auto& a, auto&) {
         a = ZQAssignStruct{};
         a.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
       },
       {229}},
      {"DDE", dde, {}},
      {"no DDE",
       [](auto& a, auto&) {
         a = ZQAssignStruct{};
         a.assignType = ZQ_ASSIGN_TYPE_DDE;
       },
       {243}},
      {"DDE without topic",
       [&](auto& a, auto& p) {
         dde(a, p);
         p.dde.topic = text("");
       },
       {237}},
      {"DDE action 4",
       [&](auto& a, auto& p) {
         dde(a, p);
         p.dde.action = 4;
       },
       {239}},
      {"DDE action 1 without command",
       [&](auto& a, auto& p) {
         dde(a, p);
         p.dde.command = nullptr;
       },
       {117}},
      {"DDE program path of 256",
       [&](auto& a, auto& p) {
         dde(a, p);
         p.dde.pathToProgram = text(k256);
       },
       {109}},
      {"SQL", sql, {}},
      {"SQL without command",
       [&](auto& a, auto& p) {
         sql(a, p);
         p.sql.sqlCommand = nullptr;
       },
       {261}},
      {"SQL no-match 3",
       [&](auto& a, auto& p) {
         sql(a, p);
         p.sql.noMatchOption = 3;
       },
       {259}},
      {"SQL multi-match 5",
       [&](auto& a, auto& p) {
         sql(a, p);
         p.sql.multiMatchOption = 5;
       },
       {260}},
      {"filter API", api, {}},
      {"filter API without service",
       [&](auto& a, auto& p) {
         api(a, p);
         p.api.serviceName[0] = '\0';
       },
       {102}},
      {"filter API with a bad input",
       [&](auto& a, auto& p) {
         api(a, p);
         p.input.assignType = 0;
       },
       {191, 8757}},
      {"field", field, {}},
      {"no field",
       [](auto& a, auto&) {
         a = ZQAssignStruct{};
         a.assignType = ZQ_ASSIGN_TYPE_FIELD;
       },
       {195}},
      {"field of tag 2",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.tag = 2;
       },
       {194}},
      {"status history of neither user nor time",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.tag = ZQ_STAT_HISTORY;
         p.field.u.statHistory = {1, 3};
       },
       {170}},
      {"currency field without part",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.tag = ZQ_CURRENCY_FLD;
         p.field.u.currencyField = nullptr;
       },
       {8733}},
      {"currency part tag 5",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.tag = ZQ_CURRENCY_FLD;
         p.currency.partTag = 5;
         p.field.u.currencyField = &p.currency;
       },
       {8733}},
      {"field no-match 5",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.noMatchOption = 5;
       },
       {259}},
      {"field multi-match 8",
       [&](auto& a, auto& p) {
         field(a, p);
         p.field.multiMatchOption = 8;
       },
       {260}},
  };
  for (const auto& r : rows) {
    ZQAssignStruct a = constant();
    AssignPieces pieces;
    r.make(a, pieces);
    Status s;
    EXPECT_EQ(zq::checks::checkAssignment(&a, &s), r.expected.empty() ? 0 : 2) << r.what;
    EXPECT_EQ(numbers(s), r.expected) << r.what;
  }
}

struct LinkPieces {
  ZQMacroParmStruct parm{};
  ZQCOMMethodStruct method{};
  LinkPieces() {
    zq::copyName(parm.name, "p", sizeof parm.name);
    parm.value = text("v");
    method.methodInterfaceId = text("{id}");
  }
};

TEST_F(WorkflowChecks, ActiveLinkActions) {
  using Make = std::function<void(ZQActiveLinkActionStruct&, LinkPieces&)>;
  auto macro = [](auto& a, auto& p) {
    a.action = ZQ_ACTIVE_LINK_ACTION_MACRO;
    zq::copyName(a.u.macro.macroName, "Macro", sizeof a.u.macro.macroName);
    a.u.macro.macroText = text("text");
    a.u.macro.macroParms = {1, &p.parm};
  };
  auto message = [](auto& a, auto&) {
    a.action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
    a.u.message.messageType = 2;
    a.u.message.messageNumber = 10000;
    a.u.message.message = text("hello");
  };
  auto characteristics = [](auto& a, auto&) {
    a.action = ZQ_ACTIVE_LINK_ACTION_SET_CHAR;
    a.u.characteristics.fieldId = 536870913;
  };
  auto automation = [](auto& a, auto& p) {
    a.action = ZQ_ACTIVE_LINK_ACTION_AUTO;
    a.u.automation.autoServerName = text("server");
    a.u.automation.automationAction = text("action");
    a.u.automation.classId = text("{class}");
    a.u.automation.methods = {1, &p.method};
  };
  auto window = [](auto& a, auto&) {
    a.action = ZQ_ACTIVE_LINK_ACTION_OPENDLG;
    zq::copyName(a.u.openDialog.serverName, "here", sizeof a.u.openDialog.serverName);
    zq::copyName(a.u.openDialog.schemaName, "Form", sizeof a.u.openDialog.schemaName);
  };
  const struct {
    const char* what;
    Make make;
    Messages expected;
  } rows[] = {
      {"macro", macro, {}},
      {"macro of no name and a parameter of no name",
       [&](auto& a, auto& p) {
         macro(a, p);
         a.u.macro.macroName[0] = '\0';
         p.parm.name[0] = '\0';
       },
       {199}},
      {"macro of no name",
       [&](auto& a, auto& p) {
         macro(a, p);
         a.u.macro.macroName[0] = '\0';
       },
       {196}},
      {"macro parameter of 256",
       [&](auto& a, auto& p) {
         macro(a, p);
         p.parm.value = text(k256);
       },
       {200}},
      {"message type 5",
       [&](auto& a, auto& p) {
         message(a, p);
         a.u.message.messageType = 5;
       },
       {}},
      {"message type 3",
       [&](auto& a, auto& p) {
         message(a, p);
         a.u.message.messageType = 3;
       },
       {137}},
      {"message of 4096",
       [&](auto& a, auto& p) {
         message(a, p);
         a.u.message.message = text(k4096);
       },
       {291}},
      {"message number 5",
       [&](auto& a, auto& p) {
         message(a, p);
         a.u.message.messageNumber = 5;
       },
       {138}},
      {"characteristics", characteristics, {}},
      {"characteristics of field 0",
       [&](auto& a, auto& p) {
         characteristics(a, p);
         a.u.characteristics.fieldId = 0;
       },
       {314}},
      {"characteristics reset focus 2",
       [&](auto& a, auto& p) {
         characteristics(a, p);
         a.u.characteristics.resetFocus = 2;
       },
       {227}},
      {"characteristics access 4",
       [&](auto& a, auto& p) {
         characteristics(a, p);
         a.u.characteristics.accessOption = 4;
       },
       {228}},
      {"automation", automation, {}},
      {"automation without server",
       [&](auto& a, auto& p) {
         automation(a, p);
         a.u.automation.autoServerName = nullptr;
       },
       {8707}},
      {"automation of no method",
       [&](auto& a, auto& p) {
         automation(a, p);
         a.u.automation.methods.count = 0;
       },
       {8705}},
      {"automation method of no interface",
       [&](auto& a, auto& p) {
         automation(a, p);
         p.method.methodInterfaceId = nullptr;
       },
       {8708, 8709}},
      {"open window", window, {}},
      {"open window without server",
       [&](auto& a, auto& p) {
         window(a, p);
         a.u.openDialog.serverName[0] = '\0';
       },
       {159}},
      {"open window mode 12",
       [&](auto& a, auto& p) {
         window(a, p);
         a.u.openDialog.windowMode = 12;
       },
       {118}},
      {"call guide without server",
       [](auto& a, auto&) {
         a.action = ZQ_ACTIVE_LINK_ACTION_CALLGUIDE;
         zq::copyName(a.u.callGuide.guideName, "Guide", sizeof a.u.callGuide.guideName);
       },
       {159}},
      {"wait without title", [](auto& a, auto&) { a.action = ZQ_ACTIVE_LINK_ACTION_WAIT; }, {8725}},
      {"commit changes", [](auto& a, auto&) { a.action = ZQ_ACTIVE_LINK_ACTION_COMMITC; }, {}},
      {"action 0", [](auto&, auto&) {}, {190}},
      {"action 19", [](auto& a, auto&) { a.action = 19; }, {190}},
  };
  for (const auto& r : rows) {
    ZQActiveLinkActionStruct action{};
    LinkPieces pieces;
    r.make(action, pieces);
    Status s;
    const int rc = zq::checks::checkActiveLinkAction(&action, &s);
    EXPECT_EQ(rc, r.expected.empty() ? 0 : 2) << r.what;
    EXPECT_EQ(numbers(s), r.expected) << r.what;
    if (action.action == ZQ_ACTIVE_LINK_ACTION_SET_CHAR && rc == 0) {
      ASSERT_NE(action.u.characteristics.charMenu, nullptr) << "a null menu becomes empty";
      zq::freeBlock(action.u.characteristics.charMenu);
    }
  }
}

TEST_F(WorkflowChecks, EscalationTimes) {
  auto calendar = [](int32_t monthday, int32_t weekday, int32_t hours, uint32_t minute) {
    ZQEscalationTimeStruct t{};
    t.kind = ZQ_ESCALATION_CALENDAR;
    t.u.date.monthday = monthday;
    t.u.date.weekday = weekday;
    t.u.date.hourmask = hours;
    t.u.date.minute = minute;
    return t;
  };
  auto interval = [](int32_t seconds) {
    ZQEscalationTimeStruct t{};
    t.kind = ZQ_ESCALATION_INTERVAL;
    t.u.interval = seconds;
    return t;
  };
  ZQEscalationTimeStruct kind3{};
  kind3.kind = 3;
  const struct {
    const char* what;
    ZQEscalationTimeStruct time;
    int32_t message;
  } rows[] = {
      {"an interval of 1", interval(1), 0},
      {"an interval of 0", interval(0), 247},
      {"a negative interval", interval(-5), 247},
      {"a calendar by the day of the month", calendar(1, 0, 1, 59), 0},
      {"a calendar by the weekday", calendar(0, 1, 1, 0), 0},
      {"a calendar of no day", calendar(0, 0, 1, 0), 248},
      {"a calendar of no hour", calendar(1, 0, 0, 0), 249},
      {"minute 60", calendar(1, 0, 1, 60), 250},
      {"kind 3", kind3, 246},
  };
  for (const auto& r : rows)
    EXPECT_EQ(zq::checks::escalationTimeMessage(r.time), r.message) << r.what;
}

// Repairs stay in the caller's structure, whether the check passes or not.
TEST_F(WorkflowChecks, RepairsStayInTheCallersStructure) {
  Status s;
  ZQFilterActionStruct notify{};
  setNotify(notify);
  notify.u.notify.subject = nullptr;
  notify.u.notify.priority = 11;
  EXPECT_EQ(zq::checks::checkFilterAction(&notify, kFilter, &s), 2);
  ASSERT_NE(notify.u.notify.subject, nullptr);
  EXPECT_STREQ(notify.u.notify.subject, "");
  zq::freeBlock(notify.u.notify.subject);

  ZQFilterActionStruct guide{};
  setCallGuide(guide);
  guide.u.callGuide.serverName[0] = '\0';
  EXPECT_EQ(zq::checks::checkFilterAction(&guide, kFilter, s.fresh()), 0);
  EXPECT_STREQ(guide.u.callGuide.serverName, "@");

  AssignPieces p;
  p.arith.operation = ZQ_ARITH_OP_NEGATE;
  p.arith.left.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  ZQAssignStruct negation{};
  negation.assignType = ZQ_ASSIGN_TYPE_ARITH;
  negation.u.arithOp = &p.arith;
  EXPECT_EQ(zq::checks::checkAssignment(&negation, s.fresh()), 0);
  EXPECT_EQ(p.arith.left.assignType, 0u);

  p.dde.action = 3;
  p.dde.command = nullptr;
  p.dde.item = nullptr;
  ZQAssignStruct dde{};
  dde.assignType = ZQ_ASSIGN_TYPE_DDE;
  dde.u.dde = &p.dde;
  EXPECT_EQ(zq::checks::checkAssignment(&dde, s.fresh()), 0);
  ASSERT_NE(p.dde.command, nullptr);
  ASSERT_NE(p.dde.item, nullptr);
  EXPECT_STREQ(p.dde.command, "");
  zq::freeBlock(p.dde.command);
  zq::freeBlock(p.dde.item);
}

}  // namespace
