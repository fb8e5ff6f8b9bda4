#include "debugger.h"

#include <poll.h>
#include <strings.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <ctime>

#include "entry_store.h"
#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "query_engine.h"
#include "running_calls.h"
#include "server.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zqserver {
namespace {

// Keywords zqserverd answers (procedure 174).
enum Keyword : uint32_t { kwUser = 1, kwTime = 2, kwForm = 3, kwServer = 4, kwOperation = 5 };
enum ExecuteWord : uint32_t { goOn = 0, step = 1, waitForStop = 2 };
// A wait for a stop answers after this at the latest (result 0: none), so
// that a debugger's connection is never held for good.
constexpr auto kLongestWait = std::chrono::seconds(10);
enum Where : uint32_t { bpFilter = 0, bpCondition = 1, bpAction = 2 };

// A forced qualification result waiting for the condition of the filter
// the call stopped at (before its qualification was evaluated).
thread_local std::optional<bool> tForced;

std::string peerOf(int fd) {
  sockaddr_storage a{};
  socklen_t n = sizeof a;
  if (fd < 0 || getpeername(fd, reinterpret_cast<sockaddr*>(&a), &n) != 0) return {};
  return std::string(reinterpret_cast<const char*>(&a), n);
}

// The connection is still the one the session came on and its peer has not
// closed it.
bool connected(int fd, const std::string& peer) {
  if (peer.empty() || peerOf(fd) != peer) return false;
  char byte;
  const ssize_t n = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return n != 0;
}

const char* nameOf(const ZQWfdBreakpoint& b) {
  if (b.flags & ZQ_WFD_BREAKPOINT_NAME_INLINE) return b.name.buffer;
  return b.name.text ? b.name.text : "";
}

char* dup(const std::string& s) {
  return zq::dupString(s.c_str());
}

bool putValue(Row& row, const ZQFieldValueStruct& fv) {
  ZQFieldValueList& l = row.values;
  for (uint32_t i = 0; i < l.count; ++i)
    if (l.items[i].fieldId == fv.fieldId) {
      FreeZQValueStruct(&l.items[i].value, 0);
      return ZQCopyValueStruct(&l.items[i].value, &fv.value) == 0;
    }
  auto* items = static_cast<ZQFieldValueStruct*>(
      zq::reallocate(l.items, (l.count + 1) * sizeof(ZQFieldValueStruct)));
  if (!items) return false;
  l.items = items;
  items[l.count] = ZQFieldValueStruct{};
  items[l.count].fieldId = fv.fieldId;
  if (ZQCopyValueStruct(&items[l.count].value, &fv.value) != 0) return false;
  ++l.count;
  return true;
}

}  // namespace

Debugger::Debugger(Server& server) : server_(server) {
  server_.workflow().setHook(this);
}

Debugger::~Debugger() {
  shutdown();
  server_.workflow().setHook(nullptr);
}

void Debugger::shutdown() {
  std::lock_guard<std::mutex> lock(mutex_);
  closing_ = true;
  debugging_ = false;
  for (auto& [session, s] : sessions_)
    for (auto& [id, bp] : s.breakpoints) FreeZQWfdBreakpoint(&bp.b, 0);
  sessions_.clear();
  releaseAll();
}

void Debugger::releaseAll() {
  if (stopped_) stopped_->released = true;
  stepping_ = false;
  changed_.notify_all();
}

// On the connections' thread, the one that closes connections (so a descriptor
// looked at here is never closed or reused meanwhile): sessions whose
// connection went away leave debug mode.
void Debugger::checkConnections() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_) return;
  bool gone = false;
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (connected(it->second.fd, it->second.peer)) {
      ++it;
      continue;
    }
    for (auto& [id, bp] : it->second.breakpoints) FreeZQWfdBreakpoint(&bp.b, 0);
    it = sessions_.erase(it);
    gone = true;
  }
  if (gone && sessions_.empty()) {
    debugging_ = false;
    releaseAll();
  }
}

namespace {

// Calls whose workflow may stop, and changes to the store.
bool entryOrChange(const zq::transport::Procedure& p) {
  switch (p.number) {
    case 1:    // get
    case 2:    // set
    case 3:    // create
    case 4:    // delete
    case 37:   // merge
    case 169:  // escalation run
      return true;
    default:
      return p.timeoutMessage == zq::kMsgTimeoutChange;
  }
}

}  // namespace

bool Debugger::runsAside(const zq::transport::Procedure& p) {
  if (p.number == 159) return true;  // may wait for a stop
  if (!entryOrChange(p)) return false;
  if (debugging_) return true;
  // A call released by a debugger that went away may still be finishing.
  if (!store_.try_lock()) return true;
  store_.unlock();
  return false;
}

bool Debugger::holdStore(const zq::transport::Procedure& p, std::unique_lock<std::mutex>& lock) {
  if (HandlerLock::heldHere() || !entryOrChange(p)) return true;
  lock = std::unique_lock<std::mutex>(store_, std::try_to_lock);
  const auto deadline = std::chrono::steady_clock::now() + kStoreWait;
  while (!lock.owns_lock() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    lock.try_lock();
  }
  return lock.owns_lock();
}

// ---- the hook -----------------------------------------------------------------------------

WorkflowHook::Verdict Debugger::filter(const WorkflowStep& step) {
  tForced.reset();
  return pause(step, atFilter, nullptr);
}

WorkflowHook::Verdict Debugger::condition(const WorkflowStep& step, bool& matched) {
  if (tForced) matched = *tForced;
  tForced.reset();
  return pause(step, atCondition, &matched);
}

WorkflowHook::Verdict Debugger::action(const WorkflowStep& step) {
  return pause(step, atAction, nullptr);
}

bool Debugger::hits(const WorkflowStep& step, Stage stage, uint32_t procedure) {
  (void)procedure;
  const uint32_t where = stage == atFilter      ? bpFilter
                         : stage == atCondition ? bpCondition
                                                : bpAction;
  bool hit = false;
  for (auto& [session, s] : sessions_)
    for (auto& [id, bp] : s.breakpoints) {
      const ZQWfdBreakpoint& b = bp.b;
      if (b.disabled || b.words[0] != where) continue;
      const char* name = nameOf(b);
      if (name[0] && strcasecmp(name, step.name.c_str()) != 0) continue;
      if (where == bpAction && b.words[1] && b.words[1] != step.index + 1) continue;
      if (b.qualifier && b.qualifier->operation && step.entry) {
        QueryError error;
        if (!rowMatches(b.qualifier, *step.entry, nullptr, error) || error.message) continue;
      }
      if (bp.hits++ < b.passCount) continue;
      hit = true;
    }
  return hit;
}

WorkflowHook::Verdict Debugger::pause(const WorkflowStep& step, Stage stage, bool* matched) {
  if (!debugging_) return Verdict::go;
  CallControl* call = currentCall();
  // Only calls sent aside stop: one under the handler lock would hold
  // every other call.
  if (!call || HandlerLock::heldHere()) return Verdict::go;
  std::unique_lock<std::mutex> lock(mutex_);
  if (closing_ || sessions_.empty() || sessions_.count(call->session)) return Verdict::go;
  if (!stepping_ && !hits(step, stage, call->procedure)) return Verdict::go;
  changed_.wait(lock, [&] { return !stopped_ || closing_ || sessions_.empty(); });
  if (closing_ || sessions_.empty()) return Verdict::go;
  Stop stop{&step, stage, matched ? *matched : false, call->procedure, call->session, call->user};
  stopped_ = &stop;
  stepping_ = false;
  changed_.notify_all();
  changed_.wait(lock, [&] { return stop.released; });
  stopped_ = nullptr;
  changed_.notify_all();
  if (stop.terminate) return Verdict::stop;
  if (matched)
    *matched = stop.matched;
  else if (stage == atFilter && stop.forcedAtFilter)
    tForced = stop.matched;
  return Verdict::go;
}

// ---- the debugger's calls ------------------------------------------------------------------

Debugger::Answer Debugger::stoppedFor(int32_t session) {
  if (!sessions_.count(session)) return {zq::kMsgWfdNotDebugging, {}};
  if (!stopped_) return {zq::kMsgWfdNothingStopped, {}};
  return {};
}

Debugger::Answer Debugger::setMode(int32_t session, int fd, uint32_t mode) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_) return {};
  auto it = sessions_.find(session);
  if (mode && it == sessions_.end()) {
    Session s;
    s.fd = fd;
    s.peer = peerOf(fd);
    sessions_.emplace(session, std::move(s));
  } else if (!mode && it != sessions_.end()) {
    for (auto& [id, bp] : it->second.breakpoints) FreeZQWfdBreakpoint(&bp.b, 0);
    sessions_.erase(it);
    if (sessions_.empty()) releaseAll();
  }
  debugging_ = !sessions_.empty();
  return {};
}

uint32_t Debugger::mode(int32_t session) {
  std::lock_guard<std::mutex> lock(mutex_);
  return sessions_.count(session) ? 1 : 0;
}

Debugger::Answer Debugger::execute(int32_t session, uint32_t word, uint32_t result[3]) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!sessions_.count(session)) return {zq::kMsgWfdNotDebugging, {}};
  switch (word) {
    case goOn:
    case step:
      if (!stopped_) return {zq::kMsgWfdNothingStopped, {}};
      stepping_ = word == step;
      stopped_->released = true;
      changed_.notify_all();
      // Answer once the call went on, so that a following call does not
      // see it still stopped.
      changed_.wait(lock, [&] { return !stopped_ || !stopped_->released; });
      break;
    case waitForStop:
      changed_.wait_for(lock, kLongestWait, [&] {
        return (stopped_ && !stopped_->released) || closing_ || !sessions_.count(session);
      });
      break;
    default:
      return {zq::kMsgWfdBadWord, std::to_string(word)};
  }
  const bool stopped = stopped_ && !stopped_->released;
  result[0] = stopped ? 1 : 0;
  result[1] = stopped ? static_cast<uint32_t>(stopped_->stage) : 0;
  result[2] = stopped ? stopped_->procedure : 0;
  return {};
}

Debugger::Answer Debugger::location(int32_t session, ZQWfdCurrentLocation& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  const WorkflowStep& s = *stopped_->step;
  out.apiCall = stopped_->procedure;
  out.stage = stopped_->stage;
  out.formName = dup(s.form);
  out.workflowName = dup(s.name);
  out.guideName = dup("");
  const char* detail = stopped_->stage == atFilter   ? "filter"
                       : stopped_->stage == atAction ? "action"
                       : stopped_->matched           ? "condition true"
                                                     : "condition false";
  out.detail = dup(detail);
  out.executionOrder = s.order;
  out.actionIndex = s.index;
  out.elseActions = s.elseList ? 1 : 0;
  if (s.entry && !s.entry->id.empty()) {
    out.entryIds.items = static_cast<ZQEntryIdType*>(zq::allocZeroed(1, sizeof(ZQEntryIdType)));
    if (out.entryIds.items) {
      zq::copyName(out.entryIds.items[0], s.entry->id.c_str(), sizeof(ZQEntryIdType));
      out.entryIds.count = 1;
    }
  }
  return {};
}

Debugger::Answer Debugger::fieldValues(int32_t session, ZQFieldValueList& entry,
                                       ZQFieldValueList& database) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  const WorkflowStep& s = *stopped_->step;
  if (s.entry && ZQCopyFieldValueList(&entry, &s.entry->values) != 0) return {zq::kMsgNoMemory, {}};
  if (s.entry && !s.entry->id.empty()) {
    EntryStore store(server_.store());
    store.get(s.form, s.entry->id, nullptr, database);  // none stored yet: empty
  }
  return {};
}

Debugger::Answer Debugger::setFieldValues(int32_t session, const ZQFieldValueList& entry,
                                          const ZQFieldValueList& database) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  const WorkflowStep& s = *stopped_->step;
  for (uint32_t i = 0; s.entry && i < entry.count && entry.items; ++i) {
    if (!putValue(*s.entry, entry.items[i])) return {zq::kMsgNoMemory, {}};
    if (s.changed) s.changed->push_back(entry.items[i].fieldId);
  }
  if (database.count && s.entry && !s.entry->id.empty()) {
    EntryStore store(server_.store());
    const StoreResult r = store.set(s.form, s.entry->id, database, stopped_->user);
    if (!r.ok()) return {r.message, r.appended};
  }
  return {};
}

Debugger::Answer Debugger::qualifier(int32_t session, ZQQualifierStruct& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  const ZQQualifierStruct* q = stopped_->step->qualifier;
  if (q && ZQCopyQualifierStruct(&out, q) != 0) return {zq::kMsgNoMemory, {}};
  return {};
}

Debugger::Answer Debugger::forceResult(int32_t session, uint32_t result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  if (stopped_->stage == atAction) return {zq::kMsgWfdBadWord, "not at a filter"};
  stopped_->matched = result != 0;
  stopped_->forcedAtFilter = stopped_->stage == atFilter;
  return {};
}

Debugger::Answer Debugger::terminate(int32_t session) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  stopped_->terminate = true;
  stopped_->released = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return !stopped_ || !stopped_->released; });
  return {};
}

Debugger::Answer Debugger::keyword(int32_t session, uint32_t number, ZQValueStruct& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  const WorkflowStep& s = *stopped_->step;
  auto text = [&](const std::string& t) {
    out.dataType = ZQ_DATA_TYPE_CHAR;
    out.u.charValue = dup(t);
  };
  switch (number) {
    case kwUser:
      text(stopped_->user);
      break;
    case kwTime:
      out.dataType = ZQ_DATA_TYPE_TIME;
      out.u.integerValue = static_cast<int32_t>(time(nullptr));
      break;
    case kwForm:
      text(s.form);
      break;
    case kwServer:
      text(server_.options().host);
      break;
    case kwOperation:
      out.dataType = ZQ_DATA_TYPE_INTEGER;
      out.u.integerValue = static_cast<int32_t>(s.operation);
      break;
    default:
      break;  // the null value
  }
  return {};
}

Debugger::Answer Debugger::userContext(int32_t session, ZQWfdUserContext& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Answer a = stoppedFor(session); a.message) return a;
  zq::copyName(out.userName, stopped_->user.c_str(), sizeof out.userName);
  return {};
}

Debugger::Answer Debugger::setBreakpoint(int32_t session, const ZQWfdBreakpoint& b) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = sessions_.find(session);
  if (it == sessions_.end()) return {zq::kMsgWfdNotDebugging, {}};
  if (b.words[0] > bpAction) return {zq::kMsgWfdBadWord, std::to_string(b.words[0])};
  Session& s = it->second;
  Breakpoint bp;
  if (ZQCopyWfdBreakpoint(&bp.b, &b) != 0) return {zq::kMsgNoMemory, {}};
  if (bp.b.id == 0) {
    while (s.breakpoints.count(s.nextId)) ++s.nextId;
    bp.b.id = s.nextId++;
  }
  auto old = s.breakpoints.find(bp.b.id);
  if (old != s.breakpoints.end()) {
    FreeZQWfdBreakpoint(&old->second.b, 0);
    s.breakpoints.erase(old);
  }
  s.breakpoints.emplace(bp.b.id, bp);
  return {};
}

Debugger::Answer Debugger::clearBreakpoint(int32_t session, uint32_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = sessions_.find(session);
  if (it == sessions_.end()) return {zq::kMsgWfdNotDebugging, {}};
  auto bp = it->second.breakpoints.find(id);
  if (bp == it->second.breakpoints.end()) return {zq::kMsgWfdNoBreakpoint, std::to_string(id)};
  FreeZQWfdBreakpoint(&bp->second.b, 0);
  it->second.breakpoints.erase(bp);
  return {};
}

Debugger::Answer Debugger::breakpoints(int32_t session, ZQWfdBreakpointList& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = sessions_.find(session);
  if (it == sessions_.end()) return {zq::kMsgWfdNotDebugging, {}};
  const auto& all = it->second.breakpoints;
  if (all.empty()) return {};
  out.items = static_cast<ZQWfdBreakpoint*>(zq::allocZeroed(all.size(), sizeof(ZQWfdBreakpoint)));
  if (!out.items) return {zq::kMsgNoMemory, {}};
  for (const auto& [id, bp] : all) {
    if (ZQCopyWfdBreakpoint(&out.items[out.count], &bp.b) != 0) return {zq::kMsgNoMemory, {}};
    ++out.count;
  }
  return {};
}

Debugger::Answer Debugger::clearBreakpoints(int32_t session) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = sessions_.find(session);
  if (it == sessions_.end()) return {zq::kMsgWfdNotDebugging, {}};
  for (auto& [id, bp] : it->second.breakpoints) FreeZQWfdBreakpoint(&bp.b, 0);
  it->second.breakpoints.clear();
  return {};
}

}  // namespace zqserver
