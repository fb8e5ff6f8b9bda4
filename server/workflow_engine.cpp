#include "workflow_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include <strings.h>

#include "alerts.h"
#include "definition_parts.h"
#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "frame/status.h"
#include "store.h"
#include "workflow_definitions.h"
#include "zqapi/zq_alerts.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_session.h"

namespace zqserver {
namespace {

using zq::transport::EscalationParts;
using zq::transport::FilterParts;

// A value the engine computed and owns.
struct OwnedValue {
  ZQValueStruct v{};
  OwnedValue() = default;
  OwnedValue(const OwnedValue&) = delete;
  OwnedValue& operator=(const OwnedValue&) = delete;
  ~OwnedValue() { FreeZQValueStruct(&v, 0); }
};

bool copyValue(ZQValueStruct& to, const ZQValueStruct* from) {
  FreeZQValueStruct(&to, 0);
  to = ZQValueStruct{};
  return !from || ZQCopyValueStruct(&to, from) == 0;
}

// Sets one field of an entry's values, adding the field when it has none.
bool putValue(Row& row, ZQInternalId field, const ZQValueStruct& value) {
  ZQFieldValueList& l = row.values;
  for (uint32_t i = 0; i < l.count; ++i)
    if (l.items[i].fieldId == field) return copyValue(l.items[i].value, &value);
  auto* items = static_cast<ZQFieldValueStruct*>(
      zq::reallocate(l.items, (l.count + 1) * sizeof(ZQFieldValueStruct)));
  if (!items) return false;
  l.items = items;
  items[l.count] = ZQFieldValueStruct{};
  items[l.count].fieldId = field;
  if (!copyValue(items[l.count].value, &value)) return false;
  ++l.count;
  return true;
}

bool currentEntry(const char* schema) {
  return schema[0] == '\0' || strcmp(schema, "@") == 0;
}

// Integer, real and text arithmetic of SET FIELDS; anything else is null.
void arithmetic(uint32_t op, const ZQValueStruct& a, const ZQValueStruct& b, ZQValueStruct& out) {
  out = ZQValueStruct{};
  auto isInt = [](const ZQValueStruct& v) { return v.dataType == ZQ_DATA_TYPE_INTEGER; };
  auto isNum = [&](const ZQValueStruct& v) { return isInt(v) || v.dataType == ZQ_DATA_TYPE_REAL; };
  auto real = [&](const ZQValueStruct& v) {
    return isInt(v) ? static_cast<double>(v.u.integerValue) : v.u.realValue;
  };
  if (op == ZQ_ARITH_OP_NEGATE) {
    if (isInt(b)) out.u.integerValue = -b.u.integerValue;
    if (b.dataType == ZQ_DATA_TYPE_REAL) out.u.realValue = -b.u.realValue;
    if (isNum(b)) out.dataType = b.dataType;
    return;
  }
  if (op == ZQ_ARITH_OP_ADD && a.dataType == ZQ_DATA_TYPE_CHAR && b.dataType == ZQ_DATA_TYPE_CHAR) {
    const std::string joined =
        std::string(a.u.charValue ? a.u.charValue : "") + (b.u.charValue ? b.u.charValue : "");
    out.u.charValue = zq::dupString(joined.c_str());
    if (out.u.charValue) out.dataType = ZQ_DATA_TYPE_CHAR;
    return;
  }
  if (!isNum(a) || !isNum(b)) return;
  if (isInt(a) && isInt(b)) {
    const int64_t x = a.u.integerValue, y = b.u.integerValue;
    int64_t r = 0;
    switch (op) {
      case ZQ_ARITH_OP_ADD:
        r = x + y;
        break;
      case ZQ_ARITH_OP_SUBTRACT:
        r = x - y;
        break;
      case ZQ_ARITH_OP_MULTIPLY:
        r = x * y;
        break;
      case ZQ_ARITH_OP_DIVIDE:
      case ZQ_ARITH_OP_MODULO:
        if (y == 0) return;  // no value rather than a crash
        r = op == ZQ_ARITH_OP_DIVIDE ? x / y : x % y;
        break;
      default:
        return;
    }
    if (r < INT32_MIN || r > INT32_MAX) return;  // overflow gives no value
    out.dataType = ZQ_DATA_TYPE_INTEGER;
    out.u.integerValue = static_cast<int32_t>(r);
    return;
  }
  const double x = real(a), y = real(b);
  double r = 0;
  switch (op) {
    case ZQ_ARITH_OP_ADD:
      r = x + y;
      break;
    case ZQ_ARITH_OP_SUBTRACT:
      r = x - y;
      break;
    case ZQ_ARITH_OP_MULTIPLY:
      r = x * y;
      break;
    case ZQ_ARITH_OP_DIVIDE:
      if (y == 0) return;
      r = x / y;
      break;
    default:
      return;
  }
  out.dataType = ZQ_DATA_TYPE_REAL;
  out.u.realValue = r;
}

template <class P>
using Loaded = std::vector<std::pair<std::string, std::unique_ptr<OwnedParts<P>>>>;

// The definitions of a kind, decoded; undecodable ones are left out.
template <class P>
Loaded<P> loadAll(Store& store) {
  WorkflowDefinitions defs(store);
  Loaded<P> out;
  for (const Definition& row : defs.store().listAll(WorkflowKind<P>::kind)) {
    auto parts = std::make_unique<OwnedParts<P>>();
    if (defs.read(row, parts->p).ok()) out.emplace_back(row.name, std::move(parts));
  }
  return out;
}

void addStatus(ZQStatusList* status, uint32_t type, int32_t number, const std::string& text) {
  if (status) ZQAddStatus(status, type, number, text.empty() ? nullptr : text.c_str());
}

}  // namespace

// One workflow: the operation a caller asked for, and every operation its
// actions start, share the counters that bound it.
struct WorkflowEngine::Run {
  WorkflowEngine& engine;
  EntryStore& entries;
  std::string user;
  ZQStatusList* status;
  WorkflowHook* hook = engine.hook_.load();
  int depth = 0;
  int actions = 0;
  bool failed = false;

  bool fail(int32_t message, const std::string& text = {}) {
    if (!failed) addStatus(status, ZQ_MESSAGE_ERROR, message, text);
    failed = true;
    return false;
  }
  bool verdict(WorkflowHook::Verdict v) {
    return v == WorkflowHook::Verdict::go || fail(zq::kMsgWorkflowTooDeep, "stopped");
  }

  // ---- values -------------------------------------------------------------------------------

  bool fieldValue(const ZQAssignFieldStruct& f, const Row& entry, ZQValueStruct& out) {
    if (f.tag != ZQ_FIELD) return skipped("field source");
    if (currentEntry(f.schema)) return copyValue(out, entry.find(f.u.fieldId));
    QueryResult result;
    QueryError error;
    if (!runQuery(entries, f.schema, &f.qualifier, nullptr, 0, 0, result, error))
      return fail(error.message, error.appended);
    if (result.rows.empty()) {
      if (f.noMatchOption == ZQ_NO_MATCH_ERROR) return fail(zq::kMsgWorkflowNoMatch, f.schema);
      return copyValue(out, nullptr);
    }
    if (result.rows.size() > 1 && f.multiMatchOption == ZQ_MULTI_MATCH_ERROR)
      return fail(zq::kMsgWorkflowManyMatches, f.schema);
    if (result.rows.size() > 1 && f.multiMatchOption == ZQ_MULTI_MATCH_NULL)
      return copyValue(out, nullptr);
    return copyValue(out, result.rows.front().find(f.u.fieldId));
  }

  bool value(const ZQAssignStruct& a, const Row& entry, ZQValueStruct& out) {
    switch (a.assignType) {
      case ZQ_ASSIGN_TYPE_VALUE:
        return copyValue(out, &a.u.value) || fail(zq::kMsgNoMemory);
      case ZQ_ASSIGN_TYPE_FIELD:
        return a.u.field && fieldValue(*a.u.field, entry, out);
      case ZQ_ASSIGN_TYPE_ARITH: {
        if (!a.u.arithOp) return skipped("arithmetic");
        OwnedValue left, right;
        if (a.u.arithOp->operation != ZQ_ARITH_OP_NEGATE &&
            !value(a.u.arithOp->left, entry, left.v))
          return false;
        if (!value(a.u.arithOp->right, entry, right.v)) return false;
        FreeZQValueStruct(&out, 0);
        arithmetic(a.u.arithOp->operation, left.v, right.v, out);
        return true;
      }
      default:
        return skipped("assignment of type " + std::to_string(a.assignType));
    }
  }

  // A piece of workflow this server does not run: a note, and the action
  // ends without its effect.
  bool skippedNote = false;
  bool skipped(const std::string& what) {
    addStatus(status, ZQ_MESSAGE_NOTE, zq::kMsgWorkflowActionSkipped, what);
    skippedNote = true;
    return false;
  }

  // ---- actions ------------------------------------------------------------------------------

  bool setFields(const ZQSetFieldsStruct& s, const std::string& form, Row& entry,
                 std::vector<ZQInternalId>* changed) {
    (void)form;
    const ZQFieldAssignList& l = s.fieldAssignList;
    for (uint32_t i = 0; i < l.count && l.items; ++i) {
      OwnedValue v;
      if (!value(l.items[i].assignment, entry, v.v)) return !failed;
      if (!putValue(entry, l.items[i].fieldId, v.v)) return fail(zq::kMsgNoMemory);
      if (changed) changed->push_back(l.items[i].fieldId);
    }
    return true;
  }

  // One pushed value: into the entries the target's qualification selects,
  // or a new entry when none matches and the no-match option says so.
  bool push(const ZQPushFieldsStruct& p, const Row& entry) {
    const ZQAssignFieldStruct& t = p.target;
    if (t.tag != ZQ_FIELD || currentEntry(t.schema)) return skipped("push target") || !failed;
    OwnedValue v;
    if (!value(p.source, entry, v.v)) return !failed;
    QueryResult result;
    QueryError error;
    if (!runQuery(entries, t.schema, &t.qualifier, nullptr, 0, 0, result, error))
      return fail(error.message, error.appended);
    if (result.rows.empty()) {
      if (t.noMatchOption == ZQ_NO_MATCH_ERROR) return fail(zq::kMsgWorkflowNoMatch, t.schema);
      if (t.noMatchOption == ZQ_NO_MATCH_NULL) return true;
      Row created;
      if (!putValue(created, t.u.fieldId, v.v)) return fail(zq::kMsgNoMemory);
      return createEntry(t.schema, created);
    }
    if (result.rows.size() > 1 && t.multiMatchOption == ZQ_MULTI_MATCH_ERROR)
      return fail(zq::kMsgWorkflowManyMatches, t.schema);
    if (result.rows.size() > 1 && t.multiMatchOption == ZQ_MULTI_MATCH_NULL) return true;
    const size_t last = t.multiMatchOption == ZQ_MULTI_MATCH_FIRST ? 1 : result.rows.size();
    for (size_t i = 0; i < last; ++i) {
      Row& target = result.rows[i];
      std::vector<ZQInternalId> changed{t.u.fieldId};
      if (!putValue(target, t.u.fieldId, v.v)) return fail(zq::kMsgNoMemory);
      if (!setEntry(t.schema, target, changed)) return false;
    }
    return true;
  }

  bool notify(const ZQNotifyStruct& n, const std::string& filter, const std::string& form,
              const Row& entry) {
    if (n.mechanism != ZQ_NOTIFY_ALERT && n.mechanism != ZQ_NOTIFY_DEFAULT)
      return skipped("notification by mechanism " + std::to_string(n.mechanism));
    if (!engine.alerts_) return skipped("notification");
    AlertEvent event;
    event.user = n.user ? n.user : "";
    event.text = n.text ? n.text : "";
    event.priority = static_cast<int32_t>(n.priority);
    event.sourceTag = filter;
    event.formName = form;
    event.objectId = entry.id;
    event.timestamp = static_cast<int32_t>(time(nullptr));
    event.sourceType = kAlertFromWorkflow;
    if (StoreResult r = engine.alerts_->ensureForm(); !r.ok()) return fail(r.message, r.appended);
    ZQFieldValueStruct values[5] = {};
    values[0].fieldId = kFieldSubmitter;
    values[0].value.dataType = ZQ_DATA_TYPE_CHAR;
    values[0].value.u.charValue = event.user.data();
    values[1].fieldId = 704;
    values[1].value.dataType = ZQ_DATA_TYPE_CHAR;
    values[1].value.u.charValue = event.text.data();
    values[2].fieldId = 705;
    values[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
    values[2].value.u.integerValue = event.priority;
    values[3].fieldId = 4;
    values[3].value.dataType = ZQ_DATA_TYPE_CHAR;
    values[3].value.u.charValue = event.sourceTag.data();
    values[4].fieldId = 701;
    values[4].value.dataType = ZQ_DATA_TYPE_CHAR;
    values[4].value.u.charValue = event.formName.data();
    ZQFieldValueList list{5, values};
    std::string id;
    if (StoreResult r = entries.create(ZQ_ALERT_FORM, list, user, id); !r.ok())
      return fail(r.message, r.appended);
    engine.alerts_->alertCreated(std::move(event));
    return true;
  }

  bool log(const char* file, const std::string& filter, const std::string& form, const Row& entry) {
    if (!file || !*file) return true;
    FILE* f = fopen(file, "a");
    if (!f) {
      addStatus(status, ZQ_MESSAGE_WARNING, zq::kMsgWriteFailed, file);
      return true;
    }
    fprintf(f, "%ld %s %s %s\n", static_cast<long>(time(nullptr)), filter.c_str(), form.c_str(),
            entry.id.c_str());
    fclose(f);
    return true;
  }

  // A process of the server's process directory, waited for; its exit
  // status is its own business, a refusal or a time-out fails the action.
  bool process(const char* command) {
    ProcessLimits limits;
    SqlLimits unused;
    if (engine.commandLimits_) engine.commandLimits_(limits, unused);
    if (limits.directory.empty()) return fail(zq::kMsgProcessesDisabled);
    std::vector<std::string> argv;
    std::string why;
    if (!parseCommand(command ? command : "", limits.directory, argv, why))
      return fail(zq::kMsgProcessRefused, why);
    const ProcessOutcome outcome = runProcess(argv, limits);
    return outcome.ok() || fail(outcome.message, outcome.appended);
  }

  // A statement on the server's own database, inside the operation's unit
  // (it is undone with it); its rows are not kept.
  bool sql(const ZQSQLStruct& s) {
    ProcessLimits unused;
    SqlLimits limits;
    if (engine.commandLimits_) engine.commandLimits_(unused, limits);
    ZQValueListList rows{0, nullptr};
    uint32_t matches = 0;
    const SqlOutcome outcome =
        runSql(engine.store_.db(), s.sqlCommand ? s.sqlCommand : "", limits, false, rows, matches);
    FreeZQValueListList(&rows, 0);
    return outcome.ok() || fail(outcome.message, outcome.appended);
  }

  // Runs one action list; gotoOrder receives the execution order a GOTO
  // names (0: none).
  bool runActions(const ZQFilterActionList& list, WorkflowStep& step, Row& entry,
                  std::vector<ZQInternalId>* changed, uint32_t& gotoOrder) {
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQFilterActionStruct& a = list.items[i];
      if (++actions > kMaxActions) return fail(zq::kMsgWorkflowTooDeep, step.name);
      step.action = &a;
      step.index = i;
      if (hook && !verdict(hook->action(step))) return false;
      bool ok = true;
      switch (a.action) {
        case ZQ_FILTER_ACTION_MESSAGE: {
          const auto& m = a.u.message;
          const uint32_t type = m.messageType > ZQ_MESSAGE_ERROR ? ZQ_MESSAGE_ERROR : m.messageType;
          addStatus(status, type, m.messageNumber, m.message ? m.message : "");
          if (type == ZQ_MESSAGE_ERROR) {
            failed = true;
            return false;
          }
          break;
        }
        case ZQ_FILTER_ACTION_FIELDS:
          ok = setFields(a.u.setFields, step.form, entry, changed);
          break;
        case ZQ_FILTER_ACTION_FIELDP: {
          const ZQPushFieldsList& l = a.u.pushFields.pushFieldsList;
          for (uint32_t k = 0; ok && k < l.count && l.items; ++k) ok = push(l.items[k], entry);
          break;
        }
        case ZQ_FILTER_ACTION_NOTIFY:
          ok = notify(a.u.notify, step.name, step.form, entry) || !failed;
          break;
        case ZQ_FILTER_ACTION_LOG:
          ok = log(a.u.logFile, step.name, step.form, entry);
          break;
        case ZQ_FILTER_ACTION_PROCESS:
          ok = process(a.u.process);
          break;
        case ZQ_FILTER_ACTION_SQL:
          ok = sql(a.u.sqlCommand);
          break;
        case ZQ_FILTER_ACTION_EXITGUIDE:
          // Outside a guide (guides are not run here) it ends the list.
          return true;
        case ZQ_FILTER_ACTION_GOTOACTION:
          if (a.u.gotoAction.tag != ZQ_GOTO_ABSOLUTE_ORDER) {
            skipped("goto of tag " + std::to_string(a.u.gotoAction.tag));
            break;
          }
          gotoOrder = a.u.gotoAction.targetValue;
          return true;
        default:
          skipped("action " + std::to_string(a.action));
      }
      if (!ok || failed) {
        actionFailed = true;
        return false;
      }
    }
    return true;
  }

  // An action that failed through its effect (not a message action, not a
  // stop) in a filter with an error handler runs the handler instead: the
  // handler decides, and the operation goes on unless the handler fails
  // too. A handler's own failure is not handled again.
  bool actionFailed = false;
  bool inHandler = false;
  bool actionsOf(const FilterParts& p, bool matched, WorkflowStep& step, Row& entry,
                 std::vector<ZQInternalId>* changed, uint32_t& gotoOrder) {
    const ZQFilterActionList& list = matched ? p.ifActions : p.elseActions;
    std::unique_ptr<OwnedParts<FilterParts>> handler;
    if ((p.errorOptions & ZQ_ERROR_HANDLER_ENABLED) && p.errorName[0] && !inHandler)
      handler = errorHandler(p.errorName);
    if (!handler) return runActions(list, step, entry, changed, gotoOrder);
    ZQStatusList own{0, nullptr};
    ZQStatusList* caller = status;
    status = &own;
    actionFailed = false;
    const bool ok = runActions(list, step, entry, changed, gotoOrder);
    status = caller;
    if (ok || !actionFailed) {
      if (caller) zq::absorbStatus(caller, own);
      zq::releaseStatusList(&own);
      return ok;
    }
    zq::releaseStatusList(&own);
    failed = false;
    inHandler = true;
    WorkflowStep handling = step;
    handling.name = p.errorName;
    QueryError error;
    auto def = entries.form(step.form);
    const bool handlerMatched =
        rowMatches(&handler->p.qualifier, entry, def ? &*def : nullptr, error);
    uint32_t ignored = 0;
    const bool handled =
        error.message ? fail(error.message, error.appended)
                      : runActions(handlerMatched ? handler->p.ifActions : handler->p.elseActions,
                                   handling, entry, changed, ignored);
    inHandler = false;
    return handled;
  }

  std::unique_ptr<OwnedParts<FilterParts>> errorHandler(const char* name) {
    WorkflowDefinitions defs(engine.store_);
    auto row = defs.store().find(WorkflowKind<FilterParts>::kind, 0, name);
    auto out = std::make_unique<OwnedParts<FilterParts>>();
    if (!row || !defs.read(*row, out->p).ok()) return nullptr;
    return out;
  }

  // ---- filters ------------------------------------------------------------------------------

  bool filters(const std::string& form, uint32_t operation, Row& entry,
               std::vector<ZQInternalId>* changed) {
    if (depth > kMaxDepth) return fail(zq::kMsgWorkflowTooDeep, form);
    auto all = loadAll<FilterParts>(engine.store_);
    std::erase_if(all, [&](const auto& f) {
      const FilterParts& p = f.second->p;
      return !p.enable || !(p.operations & operation) || !connects(p.forms, form);
    });
    if (all.empty()) return true;
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
      if (a.second->p.order != b.second->p.order) return a.second->p.order < b.second->p.order;
      return a.first < b.first;
    });
    auto def = entries.form(form);
    uint32_t skipBelow = 0;
    for (auto& [name, parts] : all) {
      const FilterParts& p = parts->p;
      if (p.order < skipBelow) continue;
      WorkflowStep step;
      step.name = name;
      step.form = form;
      step.entry = &entry;
      step.operation = operation;
      step.changed = changed;
      step.qualifier = &p.qualifier;
      step.order = p.order;
      if (hook && !verdict(hook->filter(step))) return false;
      QueryError error;
      bool matched = rowMatches(&p.qualifier, entry, def ? &*def : nullptr, error);
      if (error.message) return fail(error.message, error.appended);
      if (hook && !verdict(hook->condition(step, matched))) return false;
      step.elseList = !matched;
      uint32_t gotoOrder = 0;
      if (!actionsOf(p, matched, step, entry, changed, gotoOrder)) return false;
      if (gotoOrder > p.order) skipBelow = gotoOrder;
    }
    return true;
  }

  // Operations actions start on other entries, with their own filters.
  bool createEntry(const std::string& form, Row& entry) {
    ++depth;
    bool ok = filters(form, ZQ_OPERATION_CREATE, entry, nullptr);
    std::string id;
    if (ok) {
      StoreResult r = entries.create(form, entry.values, user, id);
      ok = r.ok() || fail(r.message, r.appended);
    }
    --depth;
    if (ok) engine.afterCreate(form, id, entry.values);
    return ok;
  }

  bool setEntry(const std::string& form, Row& entry, std::vector<ZQInternalId>& changed) {
    ++depth;
    bool ok = filters(form, ZQ_OPERATION_SET, entry, &changed);
    if (ok) ok = write(form, entry, changed);
    --depth;
    return ok;
  }

  // Stores the changed fields of an entry.
  bool write(const std::string& form, const Row& entry, std::vector<ZQInternalId>& changed) {
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    std::vector<ZQFieldValueStruct> values;
    for (ZQInternalId id : changed) {
      ZQFieldValueStruct fv{};
      fv.fieldId = id;
      if (const ZQValueStruct* v = entry.find(id)) fv.value = *v;  // borrowed
      values.push_back(fv);
    }
    if (values.empty()) return true;
    ZQFieldValueList list{static_cast<uint32_t>(values.size()), values.data()};
    StoreResult r = entries.set(form, entry.id, list, user);
    return r.ok() || fail(r.message, r.appended);
  }
};

WorkflowEngine::WorkflowEngine(Store& store, AlertCenter* alerts)
    : store_(store), alerts_(alerts), started_(time(nullptr)) {}

void WorkflowEngine::onCreated(const std::string& form, AfterCreate hook) {
  afterCreate_.emplace_back(form, std::move(hook));
}

void WorkflowEngine::afterCreate(const std::string& form, const std::string& entryId,
                                 const ZQFieldValueList& values) {
  for (const auto& [name, hook] : afterCreate_)
    if (strcasecmp(name.c_str(), form.c_str()) == 0) hook(form, entryId, values);
}

bool WorkflowEngine::runFilters(EntryStore& entries, const std::string& form, uint32_t operation,
                                Row& entry, const std::string& user, ZQStatusList* status,
                                std::vector<ZQInternalId>* changed) {
  Run run{*this, entries, user, status};
  return run.filters(form, operation, entry, changed);
}

// ---- escalations ------------------------------------------------------------------------------

bool WorkflowEngine::escalationDue(const std::string& name, const ZQEscalationTimeStruct& t,
                                   time_t now) {
  auto last = lastRun_.find(name);
  if (t.kind == ZQ_ESCALATION_INTERVAL) {
    const time_t since = last == lastRun_.end() ? started_ : last->second;
    return t.u.interval > 0 && now - since >= t.u.interval;
  }
  if (t.kind != ZQ_ESCALATION_CALENDAR) return false;
  if (last != lastRun_.end() && last->second / 60 == now / 60) return false;  // once a minute
  struct tm local {};
  localtime_r(&now, &local);
  const auto& d = t.u.date;
  const bool day = (static_cast<uint32_t>(d.monthday) >> (local.tm_mday - 1) & 1) ||
                   (static_cast<uint32_t>(d.weekday) >> local.tm_wday & 1);
  const bool hour = static_cast<uint32_t>(d.hourmask) >> local.tm_hour & 1;
  return day && hour && d.minute == static_cast<uint32_t>(local.tm_min);
}

void WorkflowEngine::tick(time_t now) {
  if (now == lastTick_) return;
  lastTick_ = now;
  auto all = loadAll<EscalationParts>(store_);
  for (auto& [name, parts] : all) {
    if (!parts->p.enable || !escalationDue(name, parts->p.time, now)) continue;
    lastRun_[name] = now;
    ZQStatusList notes{0, nullptr};
    EntryStore entries(store_);
    Run run{*this, entries, "Escalation", &notes};
    escalate(run, name, parts->p);
    FreeZQStatusList(&notes, 0);
  }
}

bool WorkflowEngine::runEscalation(const std::string& name, ZQStatusList* status) {
  auto all = loadAll<EscalationParts>(store_);
  for (auto& [n, parts] : all) {
    if (strcasecmp(n.c_str(), name.c_str()) != 0 || !parts->p.enable) continue;
    EntryStore entries(store_);
    Run run{*this, entries, "Escalation", status};
    escalate(run, n, parts->p);
    return true;
  }
  return false;
}

std::vector<std::string> WorkflowEngine::escalationNames() {
  std::vector<std::string> names;
  for (auto& [n, parts] : loadAll<EscalationParts>(store_))
    if (parts->p.enable) names.push_back(n);
  std::sort(names.begin(), names.end());
  return names;
}

// Each entry is one unit: a failing action leaves that entry as it was.
void WorkflowEngine::escalate(Run& run, const std::string& name, const EscalationParts& p) {
  if (p.forms.type != ZQ_WORKFLOW_CONN_SCHEMA_LIST || !p.forms.schemaList) return;
  const ZQNameList& forms = *p.forms.schemaList;
  for (uint32_t f = 0; f < forms.count && forms.items; ++f) {
    const std::string form = forms.items[f];
    QueryResult result;
    QueryError error;
    if (!runQuery(run.entries, form, nullptr, nullptr, 0, 0, result, error)) continue;
    for (Row& entry : result.rows) {
      run.failed = false;
      run.actions = 0;
      WorkflowStep step;
      step.kind = WorkflowStep::Kind::escalation;
      step.name = name;
      step.form = form;
      step.entry = &entry;
      step.qualifier = &p.qualifier;
      if (run.hook && !run.verdict(run.hook->filter(step))) return;
      QueryError qe;
      bool matched = rowMatches(&p.qualifier, entry, &result.form, qe);
      if (qe.message) continue;
      if (run.hook && !run.verdict(run.hook->condition(step, matched))) return;
      step.elseList = !matched;
      StoreTransaction tx(run.entries);
      std::vector<ZQInternalId> changed;
      uint32_t gotoOrder = 0;
      if (run.runActions(matched ? p.ifActions : p.elseActions, step, entry, &changed, gotoOrder) &&
          run.write(form, entry, changed))
        tx.commit();
    }
  }
}

}  // namespace zqserver
