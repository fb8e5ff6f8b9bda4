// zqserverd's workflow engine end to end: filters created through the API
// change and refuse entry operations, escalations change matching entries
// on their schedule, and a workflow that feeds itself is stopped.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "definitions_fixture.h"
#include "entry_store.h"
#include "frame/message_numbers.h"
#include "workflow_engine.h"

using zqtest::charValue;
using zqtest::Connection;
using zqtest::intValue;
using zqtest::Names;
using zqtest::Relation;
using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = zqtest::TicketsTest::kTitle;
constexpr ZQInternalId kCount = zqtest::TicketsTest::kCount;

// A SET FIELDS action over assignments the caller owns.
struct SetFields {
  std::vector<ZQFieldAssignStruct> items;
  ZQFilterActionStruct action{};
  ZQFilterActionList list{1, &action};
  explicit SetFields(std::vector<ZQFieldAssignStruct> assignments) : items(std::move(assignments)) {
    action.action = ZQ_FILTER_ACTION_FIELDS;
    action.u.setFields.fieldAssignList = {static_cast<uint32_t>(items.size()), items.data()};
  }
};

ZQFieldAssignStruct assignValue(ZQInternalId field, ZQValueStruct v) {
  ZQFieldAssignStruct a{};
  a.fieldId = field;
  a.assignment.assignType = ZQ_ASSIGN_TYPE_VALUE;
  a.assignment.u.value = v;
  return a;
}

class WorkflowEngine : public zqtest::TicketsTest {
 protected:
  Connection tickets_{"Tickets"};

  std::string create(const char* title, int32_t count, Status& s, int expected = 0) {
    ZQFieldValueStruct values[2] = {{kTitle, charValue(title)}, {kCount, intValue(count)}};
    ZQFieldValueList list{2, values};
    ZQEntryIdType id = "";
    EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, s.fresh()), expected);
    return id;
  }

  int setCount(const std::string& id, int32_t count, Status& s) {
    ZQEntryIdType one;
    zq::copyName(one, id.c_str(), sizeof one);
    ZQEntryIdList ids{1, &one};
    ZQFieldValueStruct value{kCount, intValue(count)};
    ZQFieldValueList list{1, &value};
    return ZQSetEntry(&control_, "Tickets", &ids, &list, 0, 0, s.fresh());
  }

  // Title and count of an entry as stored.
  std::pair<std::string, int32_t> read(const std::string& id) {
    bool found = false;
    auto out = ticket(id, &found);
    EXPECT_TRUE(found);
    return out;
  }
};

// A filter on create whose run-if picks big counts: its if-actions set the
// title and add to the count (arithmetic over the entry's own field), its
// else-actions set the title only. Disabled, it changes nothing.
TEST_F(WorkflowEngine, FilterSetsFieldsOnCreate) {
  Status s;
  Relation big(ZQ_REL_OP_GREATER, kCount, intValue(5));
  ZQArithOpAssignStruct plus{};
  plus.operation = ZQ_ARITH_OP_ADD;
  plus.left.assignType = ZQ_ASSIGN_TYPE_FIELD;
  ZQAssignFieldStruct countField{};
  countField.tag = ZQ_FIELD;
  countField.u.fieldId = kCount;
  countField.noMatchOption = countField.multiMatchOption = 1;
  plus.left.u.field = &countField;
  plus.right.assignType = ZQ_ASSIGN_TYPE_VALUE;
  plus.right.u.value = intValue(100);
  ZQFieldAssignStruct addHundred{};
  addHundred.fieldId = kCount;
  addHundred.assignment.assignType = ZQ_ASSIGN_TYPE_ARITH;
  addHundred.assignment.u.arithOp = &plus;
  SetFields ifBig({assignValue(kTitle, charValue("big")), addHundred});
  SetFields ifSmall({assignValue(kTitle, charValue("small"))});
  ASSERT_EQ(ZQCreateFilter(&control_, "Size", 10, &tickets_.c, ZQ_OPERATION_CREATE, 1, &big.qual,
                           &ifBig.list, &ifSmall.list, nullptr, nullptr, nullptr, nullptr, 0,
                           nullptr, s.fresh()),
            0);

  const std::string large = create("given", 7, s);
  const std::string little = create("given", 2, s);
  EXPECT_EQ(read(large), (std::pair<std::string, int32_t>{"big", 107}));
  EXPECT_EQ(read(little), (std::pair<std::string, int32_t>{"small", 2}));
  // A set is not the filter's operation.
  ASSERT_EQ(setCount(little, 9, s), 0);
  EXPECT_EQ(read(little), (std::pair<std::string, int32_t>{"small", 9}));

  uint32_t off = 0;
  ASSERT_EQ(
      ZQSetFilter(&control_, "Size", nullptr, nullptr, nullptr, nullptr, &off, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
      0);
  EXPECT_EQ(read(create("given", 7, s)), (std::pair<std::string, int32_t>{"given", 7}));
}

// An error message refuses the set whole: nothing of it is stored and the
// caller gets the filter's number and text. A warning lets it through.
TEST_F(WorkflowEngine, MessageActionRefusesSet) {
  Status s;
  Relation tooMany(ZQ_REL_OP_GREATER, kCount, intValue(100));
  ZQFilterActionStruct refuse{};
  refuse.action = ZQ_FILTER_ACTION_MESSAGE;
  refuse.u.message = {ZQ_MESSAGE_ERROR, 10042, const_cast<char*>("Counts stop at 100")};
  ZQFilterActionList refuseList{1, &refuse};
  ZQFilterActionStruct warn = refuse;
  warn.u.message = {ZQ_MESSAGE_WARNING, 10043, const_cast<char*>("Changed")};
  ZQFilterActionList warnList{1, &warn};
  ASSERT_EQ(ZQCreateFilter(&control_, "Limit", 1, &tickets_.c, ZQ_OPERATION_SET, 1, &tooMany.qual,
                           &refuseList, &warnList, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                           s.fresh()),
            0);
  const std::string id = create("t", 1, s);
  EXPECT_EQ(setCount(id, 500, s), 2);
  ASSERT_EQ(s.count, 1u);
  EXPECT_EQ(s.items[0].messageType, static_cast<uint32_t>(ZQ_MESSAGE_ERROR));
  EXPECT_EQ(s.items[0].messageNumber, 10042);
  EXPECT_STREQ(s.items[0].appended, "Counts stop at 100");
  EXPECT_EQ(read(id).second, 1) << "the refused set stored nothing";

  EXPECT_EQ(setCount(id, 50, s), 1);
  EXPECT_TRUE(s.has(10043));
  EXPECT_EQ(read(id).second, 50);
}

// Merges and the operations of a bulk transaction run the same filters as
// the single calls: a merge filter sets the title, a create filter refusing
// big counts rolls the whole bulk transaction back, and one that passes
// leaves its values in every entry the transaction stored.
TEST_F(WorkflowEngine, MergeAndBulkOperationsRunFilters) {
  Status s;
  SetFields merged({assignValue(kTitle, charValue("merged"))});
  ASSERT_EQ(ZQCreateFilter(&control_, "OnMerge", 1, &tickets_.c, ZQ_OPERATION_MERGE, 1, nullptr,
                           &merged.list, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                           s.fresh()),
            0);
  Relation tooMany(ZQ_REL_OP_GREATER, kCount, intValue(100));
  ZQFilterActionStruct refuse{};
  refuse.action = ZQ_FILTER_ACTION_MESSAGE;
  refuse.u.message = {ZQ_MESSAGE_ERROR, 10042, const_cast<char*>("Counts stop at 100")};
  ZQFilterActionList refuseList{1, &refuse};
  SetFields checked({assignValue(kTitle, charValue("checked"))});
  ASSERT_EQ(ZQCreateFilter(&control_, "OnCreate", 2, &tickets_.c, ZQ_OPERATION_CREATE, 1,
                           &tooMany.qual, &refuseList, &checked.list, nullptr, nullptr, nullptr,
                           nullptr, 0, nullptr, s.fresh()),
            0);

  ZQFieldValueStruct values[2] = {{kTitle, charValue("given")}, {kCount, intValue(3)}};
  ZQFieldValueList list{2, values};
  ZQEntryIdType id = "";
  ASSERT_EQ(ZQMergeEntry(&control_, "Tickets", &list, 1, id, s.fresh()), 0);
  EXPECT_EQ(read(id), (std::pair<std::string, int32_t>{"merged", 3}));

  // One refused operation: nothing of the transaction is stored.
  auto bulk = [&](std::initializer_list<int32_t> counts, ZQBulkEntryReturnList& results) {
    EXPECT_EQ(ZQBeginBulkEntryTransaction(&control_, s.fresh()), 0);
    for (int32_t count : counts) create("bulk", count, s);
    return ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_SEND, &results, s.fresh());
  };
  ZQBulkEntryReturnList results{};
  EXPECT_EQ(bulk({1, 500}, results), 2);
  ASSERT_EQ(results.count, 2u);
  EXPECT_STREQ(results.items[0].u.entry.entryId, "") << "a rolled-back create returns no id";
  const ZQStatusList& refused = results.items[1].u.entry.status;
  ASSERT_GE(refused.count, 1u);
  EXPECT_EQ(refused.items[0].messageNumber, 10042);
  FreeZQBulkEntryReturnList(&results, 0);

  EXPECT_EQ(bulk({1, 2}, results), 0);
  ASSERT_EQ(results.count, 2u);
  for (uint32_t i = 0; i < 2; ++i)
    EXPECT_EQ(read(results.items[i].u.entry.entryId),
              (std::pair<std::string, int32_t>{"checked", static_cast<int32_t>(i + 1)}));
  FreeZQBulkEntryReturnList(&results, 0);
}

// A filter whose action fails (a value read from no matching entry, with
// the no-match option "error") runs its error handler when it has one
// enabled: the handler's actions decide, and the create goes on unless the
// handler refuses it too. A refusing message action is not an error to handle.
TEST_F(WorkflowEngine, FailingActionRunsTheErrorHandler) {
  Status s;
  SetFields handled({assignValue(kTitle, charValue("handled"))});
  ASSERT_EQ(ZQCreateFilter(&control_, "Handler", 1, &tickets_.c, 0, 1, nullptr, &handled.list,
                           nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
            0);
  ZQFilterActionStruct refuse{};
  refuse.action = ZQ_FILTER_ACTION_MESSAGE;
  refuse.u.message = {ZQ_MESSAGE_ERROR, 10050, const_cast<char*>("Handler refuses")};
  ZQFilterActionList refuseList{1, &refuse};
  ASSERT_EQ(ZQCreateFilter(&control_, "Refuser", 1, &tickets_.c, 0, 1, nullptr, &refuseList,
                           nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
            0);

  // The failing action: the count of a ticket counting above 1000 (none).
  Relation none(ZQ_REL_OP_GREATER, kCount, intValue(1000));
  ZQAssignFieldStruct source{};
  zq::copyName(source.schema, "Tickets", sizeof source.schema);
  source.tag = ZQ_FIELD;
  source.u.fieldId = kCount;
  source.qualifier = none.qual;
  source.noMatchOption = ZQ_NO_MATCH_ERROR;
  source.multiMatchOption = ZQ_MULTI_MATCH_FIRST;
  ZQFieldAssignStruct readNone{};
  readNone.fieldId = kCount;
  readNone.assignment.assignType = ZQ_ASSIGN_TYPE_FIELD;
  readNone.assignment.u.field = &source;
  SetFields failing({readNone});

  struct Case {
    const char* what;
    ZQFilterActionList* actions;
    uint32_t options;
    const char* handler;
    int rc;
    int32_t message;    // expected in the status, 0: none
    const char* title;  // stored title when created
  } cases[] = {
      {"handler not enabled", &failing.list, 0, "Handler", 2, zq::kMsgWorkflowNoMatch, nullptr},
      {"handler runs", &failing.list, ZQ_ERROR_HANDLER_ENABLED, "Handler", 0, 0, "handled"},
      {"handler missing", &failing.list, ZQ_ERROR_HANDLER_ENABLED, "Nobody", 2,
       zq::kMsgWorkflowNoMatch, nullptr},
      {"handler refuses", &failing.list, ZQ_ERROR_HANDLER_ENABLED, "Refuser", 2, 10050, nullptr},
      {"message action", &refuseList, ZQ_ERROR_HANDLER_ENABLED, "Handler", 2, 10050, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(ZQCreateFilter(&control_, "Fails", 5, &tickets_.c, ZQ_OPERATION_CREATE, 1, nullptr,
                             c.actions, nullptr, nullptr, nullptr, nullptr, nullptr, c.options,
                             c.handler, s.fresh()),
              0);
    const std::string id = create("given", 1, s, c.rc);
    if (c.message) {
      EXPECT_TRUE(s.has(c.message));
    }
    EXPECT_FALSE(c.rc == 0 && s.has(zq::kMsgWorkflowNoMatch)) << "a handled error is not reported";
    if (c.title) {
      EXPECT_EQ(read(id).first, c.title);
    }
    EXPECT_EQ(c.rc != 0, id.empty());
    ASSERT_EQ(ZQDeleteFilter(&control_, "Fails", 0, s.fresh()), 0);
  }
}

// Process and SQL actions run with the server's own limits: a process only
// from the server's process directory (none configured: refused), a
// statement that writes only when the server allows writes. A refusal
// fails the operation like any failing action.
TEST_F(WorkflowEngine, ProcessAndSqlActionsKeepTheServersLimits) {
  const std::string dir = ::testing::TempDir() + "zq-workflow-" + std::to_string(getpid());
  mkdir(dir.c_str(), 0700);
  const std::string program = dir + "/mark";
  const std::string marker = program + ".ran";
  FILE* f = fopen(program.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs("#!/bin/sh\ntouch \"$0.ran\"\n", f);
  fclose(f);
  chmod(program.c_str(), 0700);

  struct Case {
    const char* what;
    uint32_t action;
    const char* command;
    bool directory;  // the server has a process directory
    int rc;
    int32_t message;
  } cases[] = {
      {"process, none allowed", ZQ_FILTER_ACTION_PROCESS, "mark", false, 2,
       zq::kMsgProcessesDisabled},
      {"process outside the directory", ZQ_FILTER_ACTION_PROCESS, "../mark", true, 2,
       zq::kMsgProcessRefused},
      {"process", ZQ_FILTER_ACTION_PROCESS, "mark", true, 0, 0},
      {"reading statement", ZQ_FILTER_ACTION_SQL, "SELECT 1", false, 0, 0},
      {"writing statement", ZQ_FILTER_ACTION_SQL, "DELETE FROM zq_entries", false, 2,
       zq::kMsgSqlRefused},
  };
  Status s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_->options().processDirectory = c.directory ? dir : "";
    ZQFilterActionStruct action{};
    action.action = c.action;
    if (c.action == ZQ_FILTER_ACTION_PROCESS)
      action.u.process = const_cast<char*>(c.command);
    else
      action.u.sqlCommand.sqlCommand = const_cast<char*>(c.command);
    ZQFilterActionList list{1, &action};
    ASSERT_EQ(
        ZQCreateFilter(&control_, "Runs", 1, &tickets_.c, ZQ_OPERATION_CREATE, 1, nullptr, &list,
                       nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
        0);
    const std::string id = create(c.what, 1, s, c.rc);
    if (c.message) {
      EXPECT_TRUE(s.has(c.message));
    }
    EXPECT_EQ(c.rc != 0, id.empty());
    ASSERT_EQ(ZQDeleteFilter(&control_, "Runs", 0, s.fresh()), 0);
  }
  EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "the allowed process ran";
  server_->options().processDirectory.clear();
  unlink(marker.c_str());
  unlink(program.c_str());
  rmdir(dir.c_str());
}

// EXIT GUIDE ends the action list: what comes before it ran, what comes
// after does not.
TEST_F(WorkflowEngine, ExitGuideEndsTheActionList) {
  Status s;
  SetFields first({assignValue(kTitle, charValue("before exit"))});
  SetFields last({assignValue(kTitle, charValue("after exit"))});
  ZQFilterActionStruct actions[3] = {first.action, {}, last.action};
  actions[1].action = ZQ_FILTER_ACTION_EXITGUIDE;
  ZQFilterActionList list{3, actions};
  ASSERT_EQ(
      ZQCreateFilter(&control_, "Exits", 1, &tickets_.c, ZQ_OPERATION_CREATE, 1, nullptr, &list,
                     nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
      0);
  EXPECT_EQ(read(create("given", 1, s)).first, "before exit");
}

// An escalation every second sets the title of the entries its
// qualification matches; the other entries stay as they are.
TEST_F(WorkflowEngine, EscalationFiresOnItsInterval) {
  Status s;
  const std::string due = create("open", 1, s);
  const std::string notDue = create("open", 2, s);
  Relation one(ZQ_REL_OP_EQUAL, kCount, intValue(1));
  SetFields escalate({assignValue(kTitle, charValue("escalated"))});
  ZQEscalationTimeStruct time{};
  time.kind = ZQ_ESCALATION_INTERVAL;
  time.u.interval = 1;
  ASSERT_EQ(ZQCreateEscalation(&control_, "Chase", &time, &tickets_.c, 1, &one.qual, &escalate.list,
                               nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
            0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (read(due).first != "escalated" && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(read(due).first, "escalated");
  EXPECT_EQ(read(notDue).first, "open");
}

// A filter that pushes into its own form on every set feeds itself: the
// engine stops it with 297 and the set is rolled back whole.
TEST_F(WorkflowEngine, WorkflowFeedingItselfIsStopped) {
  Status s;
  const std::string id = create("t", 1, s);
  ZQPushFieldsStruct push{};
  zq::copyName(push.target.schema, "Tickets", sizeof push.target.schema);
  push.target.tag = ZQ_FIELD;
  push.target.u.fieldId = kTitle;
  push.target.noMatchOption = ZQ_NO_MATCH_NULL;
  push.target.multiMatchOption = 5;  // every match
  push.source.assignType = ZQ_ASSIGN_TYPE_VALUE;
  push.source.u.value = charValue("again");
  ZQFilterActionStruct action{};
  action.action = ZQ_FILTER_ACTION_FIELDP;
  action.u.pushFields.pushFieldsList = {1, &push};
  ZQFilterActionList list{1, &action};
  ASSERT_EQ(ZQCreateFilter(&control_, "Echo", 1, &tickets_.c, ZQ_OPERATION_SET, 1, nullptr, &list,
                           nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
            0);
  EXPECT_EQ(setCount(id, 3, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgWorkflowTooDeep));
  EXPECT_EQ(read(id), (std::pair<std::string, int32_t>{"t", 1}));
}

// The debugger hook sees each filter, its condition and each action, and
// stopping at a step ends the operation.
TEST_F(WorkflowEngine, HookSeesEveryStepAndCanStop) {
  struct Recorder : zqserver::WorkflowHook {
    std::vector<std::string> steps;
    bool stopAtAction = false;
    Verdict filter(const zqserver::WorkflowStep& s) override {
      steps.push_back("filter " + s.name);
      return Verdict::go;
    }
    Verdict condition(const zqserver::WorkflowStep&, bool& matched) override {
      steps.push_back(matched ? "matched" : "not matched");
      return Verdict::go;
    }
    Verdict action(const zqserver::WorkflowStep& s) override {
      steps.push_back("action " + std::to_string(s.action->action));
      return stopAtAction ? Verdict::stop : Verdict::go;
    }
  } recorder;
  Status s;
  SetFields title({assignValue(kTitle, charValue("seen"))});
  ASSERT_EQ(ZQCreateFilter(&control_, "Watched", 1, &tickets_.c, ZQ_OPERATION_CREATE, 1, nullptr,
                           &title.list, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                           s.fresh()),
            0);
  server_->workflow().setHook(&recorder);
  const std::string id = create("t", 1, s);
  EXPECT_EQ(recorder.steps, (std::vector<std::string>{"filter Watched", "matched", "action 4"}));
  EXPECT_EQ(read(id).first, "seen");
  recorder.stopAtAction = true;
  create("t", 1, s, 2);
  EXPECT_TRUE(s.has(zq::kMsgWorkflowTooDeep));
  server_->workflow().setHook(nullptr);
}

}  // namespace
