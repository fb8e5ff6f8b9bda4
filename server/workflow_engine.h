// The workflow engine of zqserverd: filters on entry operations and
// escalations on their schedule.
//
// Filters. Before an entry is created, changed, merged or deleted, and after
// it is read, the enabled filters connected to its form whose operations
// hold that operation run in execution order (then by name). A filter's
// run-if qualification is evaluated on the entry as the operation leaves it
// (the query engine's evaluator); it runs its if-actions when it matches,
// its else-actions otherwise. The actions run:
//   MESSAGE      a note or warning is added to the caller's status; an error
//                stops the operation, which then changes nothing, and the
//                caller gets the message's number and text
//   SET FIELDS   fields of the entry from constants, fields of the entry,
//                fields of another form's entry, arithmetic of these
//   PUSH FIELDS  fields of the entries of another form that its
//                qualification selects (none: error, nothing or a new entry
//                by the no-match option); their own filters run
//   NOTIFY       an alert entry for the user (through the alert center)
//   LOG          a line appended to the file named
//   PROCESS      a program of the server's process directory, waited for
//                (none configured: refused as ZQExecuteProcess is)
//   SQL          a statement on the server's database, inside the
//                operation's unit; writes only when the server allows them
//   GOTO         execution order: skips the filters before that order
//   EXIT GUIDE   ends the action list (guides themselves are not run)
// Call guide, goto guide label and service actions are skipped with note
// 293. An action that fails (a source without a match, a failing push, a
// refused process or statement) stops the operation with its error --
// unless its filter has an enabled error handler: that filter's actions
// then run instead, and the operation goes on unless they fail too. The
// operations a workflow starts (pushes into forms with filters of their
// own) nest at most kMaxDepth deep and a workflow runs at most kMaxActions
// actions: beyond either it stops with 297 and the operation is rolled back.
//
// Escalations. tick() (called by the server under its handler lock,
// so escalations never run beside a call) runs every enabled escalation
// that is due: an interval one when its interval has passed since it last
// ran (or since the server started), a calendar one once in a minute its
// day, hour and minute masks hold. It runs its if-actions on every entry
// of its forms its qualification matches and its else-actions on the rest;
// SET FIELDS changes the stored entry.
//
// The debugger hook. An engine calls its hook (setHook) synchronously, on
// the thread that runs the workflow, before each step:
//   filter(step)      a filter or escalation is about to be considered
//   condition(step, matched)  its qualification was evaluated (the hook
//                     may change the result)
//   action(step)      an action is about to run (step.action, step.index,
//                     step.elseList)
// and the step carries the entry (form, id, its current values) as the
// workflow sees it; a hook that changes the values lists the fields in
// step.changed when it is set. The hook may block: the workflow waits, which is how a
// debugger stops it at a breakpoint and steps it (one return per step). A
// hook returning Verdict::stop ends the workflow as an error would (the
// operation changes nothing, 297 with the text "stopped"). No hook: the
// workflow runs freely. The hook must outlive its registration.
//
// After-create hooks. afterCreate(...) runs the hooks registered for a form
// once an entry of it was stored (outside any failed operation); the alert
// center registers its delivery for the alert form this way.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "entry_store.h"
#include "processes.h"
#include "query_engine.h"
#include "sql_runner.h"
#include "zqapi/zq_workflow.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zq::transport {
struct EscalationParts;
}

namespace zqserver {

struct Store;
class AlertCenter;

// What a workflow step sees; lives for the duration of the hook call.
struct WorkflowStep {
  enum class Kind { filter, escalation };
  Kind kind = Kind::filter;
  std::string name;                              // the filter or escalation
  std::string form;                              // the entry's form
  Row* entry = nullptr;                          // its values as they are now (a
                                                 // debugger may change them)
  std::vector<ZQInternalId>* changed = nullptr;  // fields changed so far (changes)
  const ZQQualifierStruct* qualifier = nullptr;  // the run-if qualification
  uint32_t order = 0;                            // the filter's execution order
  uint32_t operation = 0;                        // ZQ_OPERATION_... (0: escalation)
  const ZQFilterActionStruct* action = nullptr;  // action(): the action
  uint32_t index = 0;                            // its position in its list
  bool elseList = false;                         // it is an else-action
};

class WorkflowHook {
 public:
  enum class Verdict { go, stop };
  virtual ~WorkflowHook() = default;
  virtual Verdict filter(const WorkflowStep&) { return Verdict::go; }
  // matched may be changed: the workflow goes on as if it had been evaluated so.
  virtual Verdict condition(const WorkflowStep&, bool& /*matched*/) { return Verdict::go; }
  virtual Verdict action(const WorkflowStep&) { return Verdict::go; }
};

class WorkflowEngine {
 public:
  static constexpr int kMaxDepth = 8;
  static constexpr int kMaxActions = 10000;

  WorkflowEngine(Store& store, AlertCenter* alerts);

  // Set between operations (it is read once at the start of each).
  void setHook(WorkflowHook* hook) { hook_.store(hook); }

  // What the process and SQL actions may do, read when one runs: the
  // server's own limits (no process directory: process actions fail with
  // the refusal a client gets). Commands run as written, with the server's
  // authority: only administrators write workflow. Set before serving.
  using CommandLimits = std::function<void(ProcessLimits&, SqlLimits&)>;
  void setCommandLimits(CommandLimits limits) { commandLimits_ = std::move(limits); }

  using AfterCreate = std::function<void(const std::string& form, const std::string& entryId,
                                         const ZQFieldValueList& values)>;
  // Hooks for the entries of one form (compared without case).
  void onCreated(const std::string& form, AfterCreate hook);
  void afterCreate(const std::string& form, const std::string& entryId,
                   const ZQFieldValueList& values);

  // Runs the filters of an operation over the entry in `entry` (changed in
  // place by SET FIELDS). Messages go to status; false when the operation
  // must not go on (an error was added). changed receives the fields the
  // filters set.
  bool runFilters(EntryStore& entries, const std::string& form, uint32_t operation, Row& entry,
                  const std::string& user, ZQStatusList* status,
                  std::vector<ZQInternalId>* changed = nullptr);

  // Runs the escalations that are due at `now` (a test may pass its own
  // clock); the server's loop calls it about every 50 ms.
  void tick(time_t now);
  // Runs one escalation now, whatever its schedule; false when none is
  // enabled under that name.
  bool runEscalation(const std::string& name, ZQStatusList* status);
  // The names of the enabled escalations, in name order.
  std::vector<std::string> escalationNames();

 private:
  struct Run;
  friend struct Run;
  void escalate(Run& run, const std::string& name, const zq::transport::EscalationParts& parts);
  bool escalationDue(const std::string& name, const ZQEscalationTimeStruct& time, time_t now);

  Store& store_;
  AlertCenter* alerts_;
  std::atomic<WorkflowHook*> hook_{nullptr};
  CommandLimits commandLimits_;
  time_t started_;
  std::map<std::string, time_t> lastRun_;  // escalation -> when it last ran
  time_t lastTick_ = 0;
  std::vector<std::pair<std::string, AfterCreate>> afterCreate_;
};

}  // namespace zqserver
