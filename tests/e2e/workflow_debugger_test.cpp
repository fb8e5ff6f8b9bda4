// The workflow debugger end to end: a debugging session stops another
// session's create at a breakpoint, reads and changes it, forces its
// qualification and lets it go on; a debugger that goes away releases the
// stopped call; terminating it fails the call and stores nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include "accounts.h"
#include "definitions_fixture.h"
#include "entry_store.h"
#include "frame/message_numbers.h"
#include "zqapi/zq_debugger.h"

using zqtest::charValue;
using zqtest::intValue;
using zqtest::Names;
using zqtest::Relation;
using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = zqtest::TicketsTest::kTitle;
constexpr ZQInternalId kCount = zqtest::TicketsTest::kCount;
constexpr uint32_t kContinue = 0;
constexpr uint32_t kStep = 1;
constexpr uint32_t kWait = 2;
constexpr uint32_t kAtFilter = 1;
constexpr uint32_t kAtCondition = 2;

class WorkflowDebugger : public zqtest::TicketsTest {
 protected:
  void SetUp() override {
    zqtest::TicketsTest::SetUp();
    if (HasFatalFailure()) return;
    // "Route": on create, a count above 5 gets the title "routed".
    Status s;
    zqtest::Connection tickets{"Tickets"};
    Relation big(ZQ_REL_OP_GREATER, kCount, intValue(5));
    ZQFieldAssignStruct title{};
    title.fieldId = kTitle;
    title.assignment.assignType = ZQ_ASSIGN_TYPE_VALUE;
    title.assignment.u.value = charValue("routed");
    ZQFilterActionStruct action{};
    action.action = ZQ_FILTER_ACTION_FIELDS;
    action.u.setFields.fieldAssignList = {1, &title};
    ZQFilterActionList actions{1, &action};
    ASSERT_EQ(ZQCreateFilter(&control_, "Route", 1, &tickets.c, ZQ_OPERATION_CREATE, 1, &big.qual,
                             &actions, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                             s.fresh()),
              0);
  }

  // A create of another session on a thread of its own: its return code,
  // the new id in *id.
  std::future<int> createAside(std::string* id) {
    return std::async(std::launch::async, [this, id] {
      ZQControlStruct c = zqtest::makeControl("Demo", "127.0.0.1");
      Status s;
      if (ZQInitialization(&c, s.fresh()) >= 2) return -1;
      usePort(&c);
      ZQFieldValueStruct values[2] = {{kTitle, charValue("new")}, {kCount, intValue(9)}};
      ZQFieldValueList list{2, values};
      ZQEntryIdType created = "";
      const int rc = ZQCreateEntry(&c, "Tickets", &list, created, s.fresh());
      *id = created;
      ZQTermination(&c, s.fresh());
      return rc;
    });
  }

  // Debug mode on and a breakpoint at the filter "Route" (no condition).
  void breakAtRoute(ZQControlStruct* c) {
    Status s;
    ASSERT_EQ(ZQWfdSetDebugMode(c, 1, s.fresh()), 0);
    ZQWfdBreakpoint bp{};
    bp.name.text = const_cast<char*>("Route");
    ASSERT_EQ(ZQWfdSetBreakpoint(c, &bp, s.fresh()), 0);
  }

  // Waits (bounded) until a call is stopped; the stage it stopped at.
  uint32_t waitForStop(ZQControlStruct* c) {
    Status s;
    uint32_t r[3] = {9, 9, 9};
    EXPECT_EQ(ZQWfdExecute(c, kWait, &r[0], &r[1], &r[2], s.fresh()), 0);
    EXPECT_EQ(r[0], 1u);
    EXPECT_EQ(r[2], 3u);  // the create
    return r[1];
  }

  std::pair<std::string, int32_t> stored(const std::string& id) { return ticket(id); }

  static bool finishes(std::future<int>& f) {
    return f.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  }
};

// Stop at the filter, change the title, force the qualification false,
// step to the condition, continue: the entry keeps the changed title and
// the filter's action did not run.
TEST_F(WorkflowDebugger, StopChangeForceAndContinue) {
  Status s;
  // Before debug mode: the session is refused; then no breakpoints is 0/null.
  ZQWfdBreakpointList list{7, reinterpret_cast<ZQWfdBreakpoint*>(&list)};
  EXPECT_EQ(ZQWfdListBreakpoints(&control_, &list, s.fresh()), 2);
  EXPECT_TRUE(s.has(zq::kMsgWfdNotDebugging));
  ASSERT_EQ(ZQWfdSetDebugMode(&control_, 1, s.fresh()), 0);
  uint32_t mode = 0;
  ASSERT_EQ(ZQWfdGetDebugMode(&control_, &mode, s.fresh()), 0);
  EXPECT_EQ(mode, 1u);
  ASSERT_EQ(ZQWfdListBreakpoints(&control_, &list, s.fresh()), 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);
  // Nothing is stopped yet.
  ZQWfdCurrentLocation where{};
  EXPECT_EQ(ZQWfdGetCurrentLocation(&control_, 0, &where, s.fresh()), 2);
  EXPECT_TRUE(s.has(zq::kMsgWfdNothingStopped));
  FreeZQWfdCurrentLocation(&where, 0);  // the reply's outputs come even with its error

  breakAtRoute(&control_);
  // Set without condition, listed back with an empty condition of its own.
  ASSERT_EQ(ZQWfdListBreakpoints(&control_, &list, s.fresh()), 0);
  ASSERT_EQ(list.count, 1u);
  EXPECT_EQ(list.items[0].id, 1u);
  ASSERT_NE(list.items[0].qualifier, nullptr);
  EXPECT_EQ(list.items[0].qualifier->operation, 0u);
  EXPECT_STREQ(list.items[0].name.text, "Route");
  FreeZQWfdBreakpointList(&list, 0);

  std::string id;
  auto created = createAside(&id);
  ASSERT_EQ(waitForStop(&control_), kAtFilter);

  ASSERT_EQ(ZQWfdGetCurrentLocation(&control_, 0, &where, s.fresh()), 0);
  EXPECT_STREQ(where.formName, "Tickets");
  EXPECT_STREQ(where.workflowName, "Route");
  EXPECT_EQ(where.entryIds.count, 0u);  // not stored yet
  FreeZQWfdCurrentLocation(&where, 0);

  ZQQualifierStruct qual{};
  ASSERT_EQ(ZQWfdGetFilterQual(&control_, &qual, s.fresh()), 0);
  EXPECT_EQ(qual.operation, uint32_t{ZQ_COND_OP_REL_OP});
  FreeZQQualifierStruct(&qual, 0);

  ZQFieldValueList entry{}, database{};
  ASSERT_EQ(ZQWfdGetFieldValues(&control_, 0, &entry, &database, s.fresh()), 0);
  bool sawCount = false;
  for (uint32_t i = 0; i < entry.count; ++i)
    if (entry.items[i].fieldId == kCount) sawCount = entry.items[i].value.u.integerValue == 9;
  EXPECT_TRUE(sawCount);
  EXPECT_EQ(database.count, 0u);
  FreeZQFieldValueList(&entry, 0);
  FreeZQFieldValueList(&database, 0);

  ZQFieldValueStruct changed{kTitle, charValue("changed")};
  ZQFieldValueList change{1, &changed};
  ASSERT_EQ(ZQWfdSetFieldValues(&control_, &change, nullptr, s.fresh()), 0);
  ASSERT_EQ(ZQWfdSetQualifierResult(&control_, 0, s.fresh()), 0);
  ZQValueStruct user{};
  ASSERT_EQ(ZQWfdGetKeywordValue(&control_, 1, &user, s.fresh()), 0);
  EXPECT_STREQ(user.u.charValue, "Demo");
  FreeZQValueStruct(&user, 0);

  // One step on: the condition, evaluated as forced.
  uint32_t r[3];
  ASSERT_EQ(ZQWfdExecute(&control_, kStep, &r[0], &r[1], &r[2], s.fresh()), 0);
  ASSERT_EQ(waitForStop(&control_), kAtCondition);
  ASSERT_EQ(ZQWfdGetCurrentLocation(&control_, 0, &where, s.fresh()), 0);
  EXPECT_STREQ(where.detail, "condition false");
  FreeZQWfdCurrentLocation(&where, 0);

  ASSERT_EQ(ZQWfdExecute(&control_, kContinue, &r[0], &r[1], &r[2], s.fresh()), 0);
  ASSERT_TRUE(finishes(created));
  EXPECT_EQ(created.get(), 0);
  EXPECT_EQ(stored(id), (std::pair<std::string, int32_t>{"changed", 9}));
}

// Terminating the call under debug fails it with "stopped" and stores
// nothing; a debugger that disconnects mid-stop lets the call go on.
TEST_F(WorkflowDebugger, TerminateFailsTheCallAndDisconnectReleasesIt) {
  breakAtRoute(&control_);
  std::string id;
  auto created = createAside(&id);
  waitForStop(&control_);
  Status s;
  ASSERT_EQ(ZQWfdTerminateAPI(&control_, 0, s.fresh()), 0);
  ASSERT_TRUE(finishes(created));
  EXPECT_EQ(created.get(), 2);
  EXPECT_TRUE(id.empty());

  // A second debugger of its own goes away while the create is stopped.
  ASSERT_EQ(ZQWfdSetDebugMode(&control_, 0, s.fresh()), 0);
  ZQControlStruct other = zqtest::makeControl("Demo", "127.0.0.1");
  ASSERT_LT(ZQInitialization(&other, s.fresh()), 2);
  usePort(&other);
  breakAtRoute(&other);
  auto again = createAside(&id);
  waitForStop(&other);
  ZQTermination(&other, s.fresh());
  ASSERT_TRUE(finishes(again));
  EXPECT_EQ(again.get(), 0);
  EXPECT_EQ(stored(id), (std::pair<std::string, int32_t>{"routed", 9}));
}

// A change of another session made while a call is stopped waits for it
// (the stopped call keeps its store unit open) and is not undone when the
// stopped call is terminated.
TEST_F(WorkflowDebugger, ChangeBesideAStoppedCallWaitsAndSurvivesItsEnd) {
  Status s;
  ZQFieldValueStruct first[2] = {{kTitle, charValue("before")}, {kCount, intValue(1)}};
  ZQFieldValueList firstList{2, first};
  ZQEntryIdType existing = "";
  ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &firstList, existing, s.fresh()), 0);
  breakAtRoute(&control_);
  std::string id;
  auto created = createAside(&id);
  waitForStop(&control_);

  const std::string target = existing;
  auto set = std::async(std::launch::async, [this, target] {
    ZQControlStruct c = zqtest::makeControl("Demo", "127.0.0.1");
    Status t;
    if (ZQInitialization(&c, t.fresh()) >= 2) return -1;
    usePort(&c);
    ZQEntryIdType one;
    zq::copyName(one, target.c_str(), sizeof one);
    ZQEntryIdList ids{1, &one};
    ZQFieldValueStruct title{kTitle, charValue("beside")};
    ZQFieldValueList list{1, &title};
    const int rc = ZQSetEntry(&c, "Tickets", &ids, &list, 0, 0, t.fresh());
    ZQTermination(&c, t.fresh());
    return rc;
  });
  EXPECT_EQ(set.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
      << "the change waits for the stopped call";
  ASSERT_EQ(ZQWfdTerminateAPI(&control_, 0, s.fresh()), 0);
  ASSERT_TRUE(finishes(created));
  EXPECT_EQ(created.get(), 2);
  ASSERT_TRUE(finishes(set));
  EXPECT_EQ(set.get(), 0);
  EXPECT_EQ(stored(target).first, "beside");
}

// A stopped call does not hold up the server's shutdown.
TEST_F(WorkflowDebugger, ShutdownReleasesAStoppedCall) {
  breakAtRoute(&control_);
  std::string id;
  auto created = createAside(&id);
  waitForStop(&control_);
  server_->stop();
  ASSERT_TRUE(finishes(created));
  created.get();
}

// With users in the store only administrators may debug; others get the
// permission message the server gives elsewhere.
class DebuggerAccounts : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override { o.accessKey = "debugger-key"; }
};

TEST_F(DebuggerAccounts, OnlyAdministratorsDebug) {
  Status s;
  ZQUserLicenseStruct license{};
  ZQInternalId admins[] = {zqserver::kGroupAdministrator};
  ZQInternalIdList adminGroups{1, admins};
  ASSERT_EQ(ZQCreateUser("127.0.0.1", server_->port(), "", "Admin", "Adm1n-pw", "", 0, &adminGroups,
                         &license, "Admin", "", s.fresh()),
            0);
  ASSERT_EQ(ZQCreateUser("127.0.0.1", server_->port(), "debugger-key", "Joe", "Jo3-pw", "", 0,
                         nullptr, &license, "Joe", "", s.fresh()),
            0);
  struct Case {
    const char* user;
    const char* password;
    int rc;
  } cases[] = {{"Joe", "Jo3-pw", 2}, {"Admin", "Adm1n-pw", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.user);
    ZQControlStruct login = zqtest::makeControl(c.user, "127.0.0.1");
    strncpy(login.password, c.password, sizeof login.password - 1);
    ASSERT_LT(ZQInitialization(&login, s.fresh()), 2);
    usePort(&login);
    EXPECT_EQ(ZQWfdSetDebugMode(&login, 1, s.fresh()), c.rc);
    EXPECT_EQ(s.has(zq::kMsgAdministratorRequired), c.rc != 0);
    ZQWfdBreakpointList list{};
    EXPECT_EQ(ZQWfdListBreakpoints(&login, &list, s.fresh()), c.rc);
    EXPECT_EQ(ZQRunEscalation(&login, 0, s.fresh()), c.rc);
    ZQTermination(&login, s.fresh());
  }
}

}  // namespace
