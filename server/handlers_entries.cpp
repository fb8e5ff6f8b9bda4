#include "handlers_entries.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <random>

#include <strings.h>

#include "access.h"
#include "alerts.h"
#include "call_status.h"
#include "entry_changes.h"
#include "entry_store.h"
#include "frame/alloc.h"
#include "model/codec.h"
#include "server.h"
#include "query_engine.h"
#include "store.h"
#include "workflow_engine.h"
#include "transport/describe_entries.h"
#include "zqapi/zq_alerts.h"
#include "zqapi/zq_entries.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using namespace zq::transport;

constexpr uint32_t kTransactionProperty = 60037;
using zq::kMsgBulkFailed;
using zq::kMsgClientTransactionOpen;
using zq::kMsgUnknownTransaction;
constexpr const char* kTransactionSavepoint = "zq_client_transaction";

// The open client-managed transaction of the store it was opened on.
struct OpenTransaction {
  std::mutex mutex;
  Store* store = nullptr;
  sqlite3* db = nullptr;
  std::string handle;
  std::string lastSeen;
  uint64_t counter = 0;
} g_transaction;

// The user whose rights apply (the impersonated one, when any): what the
// store records as submitter and last changer.
const std::string& userOf(const Call& call) {
  return call.principal.user;
}

// The caller may change these values of the form's entries (creating one
// when creating); false with the refusal added.
bool mayWrite(Call& call, const std::string& form, const ZQFieldValueList& values) {
  return mayChangeEntries(call, form) && mayChangeFields(call, form, values);
}

// The permissions of one queued operation.
bool mayApply(Call& call, const BulkOperation& op) {
  const std::string form = op.form ? op.form : "";
  if (op.kind == ZQ_BULK_ENTRY_DELETE) return mayChangeEntries(call, form);
  return mayWrite(call, form, op.values);
}

std::string handleOf(const RequestHeader& h) {
  for (uint32_t i = 0; i < h.properties.count && h.properties.items; ++i) {
    const ZQPropStruct& p = h.properties.items[i];
    if (p.propertyTag == kTransactionProperty && p.value.dataType == ZQ_DATA_TYPE_CHAR &&
        p.value.u.charValue)
      return p.value.u.charValue;
  }
  return {};
}

// Stale when the store it was opened on is gone.
bool transactionOpen(Store& store) {
  if (g_transaction.handle.empty()) return false;
  if (g_transaction.store != &store || g_transaction.db != store.db()) {
    g_transaction.handle.clear();
    return false;
  }
  return true;
}

void rollbackClientTransaction(Store& store) {
  store.exec(std::string("ROLLBACK TO ") + kTransactionSavepoint);
  store.exec(std::string("RELEASE ") + kTransactionSavepoint);
  g_transaction.handle.clear();
}

// Checks the handle a call carries against the open transaction; false
// (with the message added) when the call must not run.
bool admitCall(Call& call, const RequestHeader& header) {
  std::lock_guard<std::mutex> lock(g_transaction.mutex);
  const std::string handle = handleOf(header);
  g_transaction.lastSeen = handle;
  if (handle.empty()) return true;
  if (!transactionOpen(call.server.store()) || handle != g_transaction.handle) {
    addError(call, kMsgUnknownTransaction, handle);
    return false;
  }
  return true;
}

// A failed call inside a client-managed transaction ends it.
void afterCall(Call& call, const RequestHeader& header) {
  if (!call.status || call.status->count == 0 ||
      call.status->items[0].messageType < ZQ_MESSAGE_ERROR)
    return;
  std::lock_guard<std::mutex> lock(g_transaction.mutex);
  const std::string handle = handleOf(header);
  if (!handle.empty() && transactionOpen(call.server.store()) && handle == g_transaction.handle)
    rollbackClientTransaction(call.server.store());
}

// Regular forms have one id per entry, join forms two.
bool singleId(Call& call, const ZQEntryIdList& ids, std::string& id) {
  if (ids.count == 0 || ids.count > 2 || !ids.items) {
    addError(call, kMsgNoSuchEntry);
    return false;
  }
  id = entryKey(ids);
  return true;
}

void copyId(ZQEntryIdType out, const std::string& id) {
  zq::copyName(out, id.c_str(), sizeof(ZQEntryIdType));
}

ZQStatusList* statusOfResult(ZQBulkEntryReturn& item) {
  switch (item.entryCallType) {
    case ZQ_BULK_ENTRY_CREATE:
    case ZQ_BULK_ENTRY_MERGE:
      return &item.u.entry.status;
    case ZQ_BULK_ENTRY_XML_CREATE:
    case ZQ_BULK_ENTRY_XML_SET:
      return &item.u.xml.status;
    default:
      return &item.u.status;
  }
}

// Runs one queued operation through the same changes as the single calls.
bool applyOperation(EntryChanges& changes, BulkOperation& op, ZQBulkEntryReturn& out) {
  out.entryCallType = op.kind;
  const std::string form = op.form ? op.form : "";
  std::string id;
  switch (op.kind) {
    case ZQ_BULK_ENTRY_CREATE:
    case ZQ_BULK_ENTRY_MERGE: {
      const bool ok = op.kind == ZQ_BULK_ENTRY_CREATE
                          ? changes.create(form, op.values, id)
                          : changes.merge(form, op.values, op.option, id);
      copyId(out.u.entry.entryId, id);
      return ok;
    }
    case ZQ_BULK_ENTRY_SET:
    case ZQ_BULK_ENTRY_DELETE:
      if (op.entryId.count != 1 || !op.entryId.items) {
        ZQAddStatus(statusOfResult(out), ZQ_MESSAGE_ERROR, kMsgNoSuchEntry, nullptr);
        return false;
      }
      id.assign(op.entryId.items[0], strnlen(op.entryId.items[0], sizeof(ZQEntryIdType)));
      return op.kind == ZQ_BULK_ENTRY_SET ? changes.set(form, id, op.values)
                                          : changes.remove(form, id);
    default:
      ZQAddStatus(statusOfResult(out), ZQ_MESSAGE_ERROR, kMsgStoreFailure,
                  ("operation " + std::to_string(op.kind)).c_str());
      return false;
  }
}

// The entry as it is stored, for the filters of an operation on it.
bool storedEntry(Call& call, EntryStore& store, const std::string& form, const std::string& id,
                 Row& entry) {
  entry.id = id;
  const StoreResult r = store.get(form, id, nullptr, entry.values);
  report(call, r);
  return r.ok();
}

}  // namespace

std::string lastTransactionHandleSeen() {
  std::lock_guard<std::mutex> lock(g_transaction.mutex);
  return g_transaction.lastSeen;
}

// The filters of a read: an error refuses the values; fields they set are
// returned as set.
void filterRead(Call& call, EntryStore& store, const std::string& form, const std::string& id,
                ZQFieldValueList& values) {
  Row entry;
  if (!storedEntry(call, store, form, id, entry)) return;
  std::vector<ZQInternalId> changed;
  if (!call.server.workflow().runFilters(store, form, ZQ_OPERATION_GET, entry, userOf(call),
                                         call.status, &changed)) {
    FreeZQFieldValueList(&values, 0);
    return;
  }
  for (uint32_t i = 0; i < values.count; ++i)
    if (std::find(changed.begin(), changed.end(), values.items[i].fieldId) != changed.end()) {
      ZQValueStruct copy{};
      if (ZQCopyValueStruct(&copy, entry.find(values.items[i].fieldId)) != 0) continue;
      FreeZQValueStruct(&values.items[i].value, 0);
      values.items[i].value = copy;
    }
}

void getEntry(Request<proc::GetEntry>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!admitCall(call, args.header)) return;
  std::string id;
  if (singleId(call, args.entryId, id)) {
    const std::string form = args.form ? args.form : "";
    EntryStore store(call.server.store());
    if (mayRead(call, form)) {
      const StoreResult r = store.get(form, id, &args.fieldIds, reply.values);
      report(call, r);
      if (r.ok()) filterRead(call, store, form, id, reply.values);
      hideFields(call, form, reply.values);
    }
  }
  afterCall(call, args.header);
}

// The filters and messages of a change go to the call's status.
EntryChanges changesOf(Call& call, EntryStore& store) {
  return EntryChanges(call.server.workflow(), store, userOf(call), call.status);
}

void setEntry(Request<proc::SetEntry>& call) {
  auto& args = call.args();
  if (!admitCall(call, args.header)) return;
  std::string id;
  const std::string form = args.form ? args.form : "";
  if (singleId(call, args.entryId, id) && mayWrite(call, form, args.values)) {
    EntryStore store(call.server.store());
    StoreTransaction unit(store);
    EntryChanges changes = changesOf(call, store);
    if (changes.set(form, id, args.values)) unit.commit();
  }
  afterCall(call, args.header);
}

void createEntry(Request<proc::CreateEntry>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!admitCall(call, args.header)) return;
  const std::string form = args.form ? args.form : "";
  if (strcasecmp(form.c_str(), ZQ_ALERT_FORM) == 0) report(call, call.server.alerts().ensureForm());
  if (!mayWrite(call, form, args.values)) return afterCall(call, args.header);
  EntryStore store(call.server.store());
  StoreTransaction unit(store);
  EntryChanges changes = changesOf(call, store);
  std::string id;
  const bool created = changes.create(form, args.values, id) && unit.commit();
  if (created) copyId(reply.entryId, id);
  afterCall(call, args.header);
  if (created) changes.committed();
}

void deleteEntry(Request<proc::DeleteEntry>& call) {
  auto& args = call.args();
  if (!admitCall(call, args.header)) return;
  std::string id;
  const std::string form = args.form ? args.form : "";
  if (singleId(call, args.entryId, id) && mayChangeEntries(call, form)) {
    EntryStore store(call.server.store());
    StoreTransaction unit(store);
    EntryChanges changes = changesOf(call, store);
    if (changes.remove(form, id)) unit.commit();
  }
  afterCall(call, args.header);
}

void mergeEntry(Request<proc::MergeEntry>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!admitCall(call, args.header)) return;
  const std::string form = args.form ? args.form : "";
  if (!mayWrite(call, form, args.values)) return afterCall(call, args.header);
  EntryStore store(call.server.store());
  StoreTransaction unit(store);
  EntryChanges changes = changesOf(call, store);
  std::string id;
  const bool merged = changes.merge(form, args.values, args.mergeType, id) && unit.commit();
  if (merged) copyId(reply.entryId, id);
  afterCall(call, args.header);
  if (merged) changes.committed();
}

// All queued operations in one unit: the first failure rolls every one of
// them back. The failing operation carries its message, the reply's own list
// 9713 with the operation's position; entry ids of rolled-back creates are
// not returned.
void bulkEntryTransaction(Request<proc::EndBulkEntryTransaction>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!admitCall(call, args.header)) return;
  const uint32_t n = args.count;
  if (n == 0 || !args.operations) return;
  LoweredXmlOperations xml(args.operations, n);
  if (!xml.lower(call)) return afterCall(call, args.header);
  for (uint32_t i = 0; i < n; ++i)
    if (!mayApply(call, args.operations[i])) return afterCall(call, args.header);
  reply.results.items = static_cast<ZQBulkEntryReturn*>(ZQCalloc(n, sizeof(ZQBulkEntryReturn)));
  if (!reply.results.items) return addError(call, zq::kMsgNoMemory);
  reply.results.count = n;
  EntryStore store(call.server.store());
  StoreTransaction tx(store);
  if (!tx.open()) return addError(call, kMsgStoreFailure, call.server.store().error());
  EntryChanges changes = changesOf(call, store);
  uint32_t failed = n;
  for (uint32_t i = 0; i < n; ++i) {
    ZQBulkEntryReturn& item = reply.results.items[i];
    item.entryCallType = args.operations[i].kind;
    changes.reportTo(statusOfResult(item));
    if (!applyOperation(changes, args.operations[i], item)) {
      failed = i;
      break;
    }
  }
  for (uint32_t i = failed + 1; i < n; ++i)
    reply.results.items[i].entryCallType = args.operations[i].kind;
  if (failed == n && tx.commit()) {
    xml.raise(reply.results);
    afterCall(call, args.header);
    changes.committed();
    return;
  }
  for (uint32_t i = 0; i < n; ++i) {
    ZQBulkEntryReturn& item = reply.results.items[i];
    if (item.entryCallType == ZQ_BULK_ENTRY_CREATE || item.entryCallType == ZQ_BULK_ENTRY_MERGE)
      item.u.entry.entryId[0] = '\0';
  }
  xml.raise(reply.results);
  addError(call, kMsgBulkFailed, "operation " + std::to_string(failed + 1));
  afterCall(call, args.header);
}

// Without workflow the service answer is the entry (when one is named)
// with the input values laid over it, as asked by the output field ids.
void serviceEntry(Request<proc::ServiceEntry>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!admitCall(call, args.header)) return;
  EntryStore store(call.server.store());
  const std::string form = args.form ? args.form : "";
  auto def = store.form(form);
  if (!def) return addError(call, kMsgNoSuchForm, form);
  if (!mayRead(call, form)) return;
  ZQFieldValueList base{};
  if (args.entryId.count) {
    std::string id;
    if (!singleId(call, args.entryId, id)) return;
    StoreResult r = store.get(form, id, nullptr, base);
    if (!report(call, r)) return;
  }
  std::vector<ZQInternalId> wanted;
  if (args.outputIds.count && args.outputIds.items) {
    wanted.assign(args.outputIds.items, args.outputIds.items + args.outputIds.count);
  } else {
    for (const FieldDef& f : def->fields) wanted.push_back(f.id);
  }
  auto find = [](const ZQFieldValueList& l, ZQInternalId id) -> const ZQValueStruct* {
    for (uint32_t i = 0; i < l.count; ++i)
      if (l.items[i].fieldId == id) return &l.items[i].value;
    return nullptr;
  };
  reply.values.items = static_cast<ZQFieldValueStruct*>(
      ZQCalloc(wanted.empty() ? 1 : wanted.size(), sizeof(ZQFieldValueStruct)));
  if (!reply.values.items) {
    FreeZQFieldValueList(&base, 0);
    return addError(call, zq::kMsgNoMemory);
  }
  for (ZQInternalId id : wanted) {
    ZQFieldValueStruct& out = reply.values.items[reply.values.count];
    out.fieldId = id;
    const ZQValueStruct* v = find(args.values, id);
    if (!v) v = find(base, id);
    if (v && !zq::model::deepCopy(out.value, *v)) {
      FreeZQFieldValueList(&base, 0);
      return addError(call, zq::kMsgNoMemory);
    }
    ++reply.values.count;
  }
  FreeZQFieldValueList(&base, 0);
  hideFields(call, form, reply.values);
}

void beginClientManagedTransaction(Request<proc::BeginClientManagedTransaction>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  std::lock_guard<std::mutex> lock(g_transaction.mutex);
  g_transaction.lastSeen = handleOf(args.header);
  Store& store = call.server.store();
  if (transactionOpen(store)) return addError(call, kMsgClientTransactionOpen);
  if (!store.exec(std::string("SAVEPOINT ") + kTransactionSavepoint))
    return addError(call, kMsgStoreFailure, store.error());
  std::random_device random;
  const std::string handle =
      "zqtx-" + std::to_string(++g_transaction.counter) + "-" + std::to_string(random() & 0xFFFFFF);
  reply.handle = static_cast<unsigned char*>(ZQAlloc(handle.size()));
  if (!reply.handle) {
    store.exec(std::string("ROLLBACK TO ") + kTransactionSavepoint);
    store.exec(std::string("RELEASE ") + kTransactionSavepoint);
    return addError(call, zq::kMsgNoMemory);
  }
  memcpy(reply.handle, handle.data(), handle.size());
  reply.handleLength = static_cast<uint32_t>(handle.size());
  g_transaction.store = &store;
  g_transaction.db = store.db();
  g_transaction.handle = handle;
}

// Action 1 commits, anything else rolls back.
void endClientManagedTransaction(Request<proc::EndClientManagedTransaction>& call) {
  auto& args = call.args();
  std::lock_guard<std::mutex> lock(g_transaction.mutex);
  const std::string handle = handleOf(args.header);
  g_transaction.lastSeen = handle;
  Store& store = call.server.store();
  if (!transactionOpen(store) || handle != g_transaction.handle)
    return addError(call, kMsgUnknownTransaction, handle);
  if (args.action == ZQ_CMT_ACTION_COMMIT) {
    if (!store.exec(std::string("RELEASE ") + kTransactionSavepoint)) {
      addError(call, kMsgStoreFailure, store.error());
      rollbackClientTransaction(store);
      return;
    }
    g_transaction.handle.clear();
    return;
  }
  rollbackClientTransaction(store);
}

void serveEntries(Handlers& h) {
  h.serve<proc::GetEntry, getEntry>();
  h.serve<proc::SetEntry, setEntry>();
  h.serve<proc::CreateEntry, createEntry>();
  h.serve<proc::DeleteEntry, deleteEntry>();
  h.serve<proc::MergeEntry, mergeEntry>();
  h.serve<proc::EndBulkEntryTransaction, bulkEntryTransaction>();
  h.serve<proc::ServiceEntry, serviceEntry>();
  h.serve<proc::BeginClientManagedTransaction, beginClientManagedTransaction>();
  h.serve<proc::EndClientManagedTransaction, endClientManagedTransaction>();
  serveXmlEntries(h);
}

}  // namespace zqserver
