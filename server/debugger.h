// zqserverd's workflow debugger: administrators' sessions switch debug mode
// on (procedure 165, any non-zero word) and set breakpoints; entry
// operations of other sessions then run aside and stop in the workflow
// engine's hook at a breakpoint, while the debugger's calls are served.
//
// The words of the debugger protocol, as zqserverd reads them:
//   breakpoint   words[0] where it stops: 0 at a filter (or escalation),
//                before its qualification; 1 at its condition, once
//                evaluated (the result may be forced); 2 at an action.
//                words[1] for an action: its number, counted from 1 (0:
//                any). words[2], words[3] and flag are kept unchanged.
//                name: the filter or escalation (no case; empty: any).
//                passCount: hits passed over before it stops (0: every
//                hit). condition: the entry must match it too (the empty
//                qualification: always). disabled: never stops. id 0: the
//                server numbers it; an id in use: replaced.
//   execute      0 continue to the next breakpoint; 1 step (stop at the
//                next filter, condition or action); 2 wait until a call is
//                stopped (at most 10 s). Its result words: 1 when a call is stopped (else
//                0), where it is (1 filter, 2 condition, 3 action), the
//                procedure of the call under debug.
//   qualifier result  0 false, other true; applies to the condition of the
//                filter the call is stopped at (at its filter or condition).
//   keyword      1 the user, 2 the current time, 3 the form, 4 the server
//                name, 5 the operation (ZQ_OPERATION_...); others: null.
//   location     apiCall the procedure; stage 1 filter, 2 condition, 3
//                action; executionOrder, actionIndex, elseActions; detail
//                "filter", "condition true"/"condition false" or "action".
//   terminate    any word: the call fails with 297 "stopped" and changes
//                nothing.
//   escalation run  0 runs every enabled escalation, n the n-th in name
//                order.
// The words of 160, 161, 179 are not used.
//
// One call is stopped at a time; another one that reaches a breakpoint
// waits for it. The calls of a session in debug mode never stop. A session
// whose connection closes, or that switches debug mode off as the last
// one, releases what is stopped (it continues); shutdown releases all.
// While a call is stopped the store's savepoint it holds stays open.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "transport/procedures.h"
#include "workflow_engine.h"
#include "zqapi/zq_debugger.h"

namespace zqserver {

class Server;

class Debugger : public WorkflowHook {
 public:
  explicit Debugger(Server& server);
  ~Debugger() override;
  Debugger(const Debugger&) = delete;
  Debugger& operator=(const Debugger&) = delete;

  // Under the handler lock: whether the call must run aside (it may stop,
  // or wait for a stop, or is a change that must wait for the store).
  bool runsAside(const zq::transport::Procedure& p);

  // Changes run one at a time beside the debugger: a stopped call keeps its
  // store unit open on the shared connection, and a change made beside it
  // would fall inside that unit (and be undone with it when the call is
  // terminated). A call running aside that may stop or change the store
  // holds the store for its whole run; true when it need not or got it,
  // false when it waited kStoreWait in vain (a call stays stopped).
  static constexpr auto kStoreWait = std::chrono::seconds(10);
  bool holdStore(const zq::transport::Procedure& p, std::unique_lock<std::mutex>& lock);
  // Runs work under the handler lock (the escalation tick) only when no
  // change holds the store; false when it was skipped.
  template <class F>
  bool whenStoreFree(F&& work) {
    std::unique_lock<std::mutex> lock(store_, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    work();
    return true;
  }
  // Called by the connections' thread between rounds: a debugger whose connection
  // went away releases what it stopped.
  void checkConnections();
  // Releases every stopped and waiting call; nothing stops afterwards.
  void shutdown();

  // What a debugger call answers with; message 0: done.
  struct Answer {
    int32_t message = 0;
    std::string appended;
  };

  Answer setMode(int32_t session, int fd, uint32_t mode);
  uint32_t mode(int32_t session);
  Answer execute(int32_t session, uint32_t word, uint32_t result[3]);
  Answer location(int32_t session, ZQWfdCurrentLocation& out);
  Answer fieldValues(int32_t session, ZQFieldValueList& entry, ZQFieldValueList& database);
  Answer setFieldValues(int32_t session, const ZQFieldValueList& entry,
                        const ZQFieldValueList& database);
  Answer qualifier(int32_t session, ZQQualifierStruct& out);
  Answer forceResult(int32_t session, uint32_t result);
  Answer terminate(int32_t session);
  Answer keyword(int32_t session, uint32_t number, ZQValueStruct& out);
  Answer userContext(int32_t session, ZQWfdUserContext& out);
  Answer setBreakpoint(int32_t session, const ZQWfdBreakpoint& b);
  Answer clearBreakpoint(int32_t session, uint32_t id);
  Answer breakpoints(int32_t session, ZQWfdBreakpointList& out);
  Answer clearBreakpoints(int32_t session);

  Verdict filter(const WorkflowStep& step) override;
  Verdict condition(const WorkflowStep& step, bool& matched) override;
  Verdict action(const WorkflowStep& step) override;

 private:
  enum Stage : uint32_t { atFilter = 1, atCondition = 2, atAction = 3 };
  struct Breakpoint {
    ZQWfdBreakpoint b{};  // the session's copy
    uint32_t hits = 0;
  };
  struct Session {
    int fd = -1;
    std::string peer;  // the connection's peer address, to tell a reused fd
    std::map<uint32_t, Breakpoint> breakpoints;
    uint32_t nextId = 1;
  };
  struct Stop {
    const WorkflowStep* step;
    Stage stage;
    bool matched;
    uint32_t procedure;
    int32_t session;
    std::string user;
    bool released = false;
    bool terminate = false;
    bool forcedAtFilter = false;  // matched was forced before the evaluation
  };

  Verdict pause(const WorkflowStep& step, Stage stage, bool* matched);
  bool hits(const WorkflowStep& step, Stage stage, uint32_t procedure);
  Answer stoppedFor(int32_t session);  // caller holds mutex_
  void releaseAll();                   // caller holds mutex_

  Server& server_;
  std::mutex mutex_;
  // A plain mutex polled with try_lock: the thread sanitizer does not see
  // the clock-based locks of timed mutexes.
  std::mutex store_;
  std::condition_variable changed_;
  std::map<int32_t, Session> sessions_;
  Stop* stopped_ = nullptr;
  bool stepping_ = false;
  bool closing_ = false;
  std::atomic<bool> debugging_{false};
};

}  // namespace zqserver
