#include "call_status.h"
#include "dispatch.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "access.h"
#include "frame/alloc.h"
#include "model/codec.h"
#include "model/describe_core.h"
#include "platform/compress.h"
#include "query_engine.h"
#include "query_text.h"
#include "server.h"
#include "transport/records_queries.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using namespace zq::transport;

// Queries see only forms the caller may read, and only the fields it may
// see (hidden ones are left out of the result's form and rows).
bool mayQuery(Call& call, const char* form, const ZQQualifierStruct* qualifier = nullptr,
              const ZQSortList* sort = nullptr, const ZQFieldValueOrArithStruct* target = nullptr) {
  const std::string name = form ? form : "";
  return mayRead(call, name) && mayUseFields(call, name, qualifier, sort, target);
}

// A join reads every form it names. Field permissions are not applied to
// joined rows, so a user restricted by them, and nested or recursive
// sources, need an administrator.
bool mayJoin(Call& call, const ZQMultiSchemaQueryFromList& from) {
  if (call.principal.open || call.principal.administrator) return true;
  for (uint32_t i = 0; i < from.count && from.items; ++i) {
    const ZQMultiSchemaQueryFromStruct& source = from.items[i];
    if (source.type != ZQ_MULTI_SCHEMA_SOURCE_FORM) return requireAdministrator(call);
    const std::string form(source.u.schemaName,
                           strnlen(source.u.schemaName, sizeof source.u.schemaName));
    if (!mayRead(call, form)) return false;
    if (call.server.accounts().hasFieldPermissions(form)) return requireAdministrator(call);
  }
  return true;
}

void fail(Call& call, const QueryError& e) {
  if (call.status)
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, e.message,
                e.appended.empty() ? nullptr : e.appended.c_str());
}
void fail(Call& call, int32_t message, const char* appended = nullptr) {
  fail(call, QueryError{message, appended ? appended : ""});
}

// Records release the items of non-empty lists only: an empty list carries none.
template <class T>
void dropIfEmpty(uint32_t count, T*& items) {
  if (count == 0) {
    ZQFree(items);
    items = nullptr;
  }
}

// ---- procedure 5 -------------------------------------------------------------------------

// The short description of a row: each column padded or cut to its width,
// then its separator.
char* describeRow(const Row& row, const ZQEntryListFieldList& fields) {
  std::string text;
  if (!fields.items || fields.count == 0) {
    const ZQValueStruct* v = row.find(kFieldShortDescription);
    if (v && v->dataType == ZQ_DATA_TYPE_CHAR && v->u.charValue) text = v->u.charValue;
  } else {
    for (uint32_t i = 0; i < fields.count; ++i) {
      const ZQEntryListFieldStruct& f = fields.items[i];
      std::string value;
      appendValueText(value, row.find(f.fieldId));
      // Only the value bytes of "type\length\bytes\" belong to the column.
      size_t a = value.find('\\'), b = value.find('\\', a + 1);
      value = value.substr(b + 1, value.size() - b - 2);
      if (f.columnWidth) value.resize(f.columnWidth, ' ');
      text += value;
      if (i + 1 < fields.count) text += std::string(f.separator, strnlen(f.separator, 10));
    }
  }
  if (text.size() > 254) text.resize(254);
  return zq::dupString(text.c_str());
}

struct PendingEntries : PendingResult {
  ZQEntryListList list{0, nullptr};
  uint32_t next = 0;
  uint32_t matches = 0;
  // A query without rows still holds the block of one item.
  ~PendingEntries() override {
    if (list.count == 0) ZQFree(list.items);
    FreeZQEntryListList(&list, 0);
  }
};

}  // namespace

namespace {

// Fault injection: a chunk that claims more is to come, whatever it holds.
void neverEnding(Request<proc::GetListEntry>& call, int mode) {
  auto& reply = call.reply();
  outHeader(call).lastChunk = 0;
  FreeZQEntryListList(&reply.entries, 0);
  reply.entries = {0, nullptr};
  if (mode == 2 || mode == 3) {  // 240 entries of 250 characters
    constexpr uint32_t kCount = 240;
    auto* items = static_cast<ZQEntryListStruct*>(ZQCalloc(kCount, sizeof(ZQEntryListStruct)));
    if (!items) return fail(call, zq::kMsgNoMemory);
    reply.entries = {kCount, items};
    for (uint32_t i = 0; i < kCount; ++i) {
      auto* ids = static_cast<ZQEntryIdType*>(ZQCalloc(1, sizeof(ZQEntryIdType)));
      auto* text = static_cast<char*>(ZQAlloc(251));
      if (text) {
        memset(text, 'x', 250);
        text[250] = '\0';
      }
      items[i].shortDescription = text;
      if (ids) {
        zq::copyName(ids[0], "000000000000001", sizeof(ZQEntryIdType));
        items[i].entryId = {1, ids};
      }
      if (!ids || !text) return fail(call, zq::kMsgNoMemory);
    }
  }
  if (mode == 3)
    ZQAddStatus(call.status, ZQ_MESSAGE_WARNING, zq::kMsgUnknownServerSetting, "again");
}

}  // namespace

void getListEntry(Request<proc::GetListEntry>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  int32_t token = args.header.chunkToken;
  PendingEntries* p = nullptr;
  if (token == 0) {
    if (!mayQuery(call, args.form, &args.qualifier, &args.sort)) return;
    EntryStore store(call.server.store());
    QueryResult result;
    QueryError error;
    if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort,
                  args.firstRetrieve, args.maxRetrieve, result, error))
      return fail(call, error);
    hideFields(call, result);
    auto pending = std::make_unique<PendingEntries>();
    pending->matches = result.matches;
    const size_t n = result.rows.size();
    pending->list.items =
        static_cast<ZQEntryListStruct*>(ZQCalloc(n ? n : 1, sizeof(ZQEntryListStruct)));
    if (!pending->list.items) return fail(call, zq::kMsgNoMemory);
    for (size_t i = 0; i < n; ++i) {
      ZQEntryListStruct& item = pending->list.items[i];
      pending->list.count = static_cast<uint32_t>(i + 1);
      if (!entryIdsOf(result.rows[i].id, item.entryId)) return fail(call, zq::kMsgNoMemory);
      if (!(item.shortDescription = describeRow(result.rows[i], args.fields)))
        return fail(call, zq::kMsgNoMemory);
    }
    p = pending.get();
    token = keepPending(std::move(pending));
  } else if (!(p = dynamic_cast<PendingEntries*>(findPending(token)))) {
    return fail(call, zq::kMsgBadEncoding, "unknown chunk token");
  }
  // As many entries as fit the response size (at least one).
  const size_t budget = sliceBytes(args.header.responseSize);
  size_t used = 0;
  uint32_t end = p->next;
  while (end < p->list.count) {
    const ZQEntryListStruct& e = p->list.items[end];
    size_t size = 28 + strlen(e.shortDescription ? e.shortDescription : "");
    if (end > p->next && used + size > budget) break;
    used += size;
    ++end;
  }
  const uint32_t n = end - p->next;
  reply.entries.items =
      static_cast<ZQEntryListStruct*>(ZQCalloc(n ? n : 1, sizeof(ZQEntryListStruct)));
  if (!reply.entries.items) return fail(call, zq::kMsgNoMemory);
  // The slice moves from the pending list into the reply.
  memcpy(reply.entries.items, p->list.items + p->next, n * sizeof(ZQEntryListStruct));
  memset(p->list.items + p->next, 0, n * sizeof(ZQEntryListStruct));
  reply.entries.count = n;
  dropIfEmpty(reply.entries.count, reply.entries.items);
  p->next = end;
  reply.matches = p->matches;
  RequestHeader& out = outHeader(call);
  out.chunkToken = token;
  out.lastChunk = p->next == p->list.count;
  if (const int endless = call.server.faults().endlessChunks.load()) {
    neverEnding(call, endless);
    return;
  }
  if (out.lastChunk) dropPending(token);
}

// ---- shared pieces of the other procedures ---------------------------------------------

namespace {

// A compressed byte stream waiting for its next slices.
struct PendingBytes : PendingResult {
  std::string bytes;
  size_t next = 0;
};

// Sends bytes (kept under a chunk token when they do not fit one reply) in
// slices of the response size: the first call with token 0 starts the
// transfer, later calls continue it.
void sendSlice(Call& call, int32_t token, PendingBytes* p, uint32_t& length,
               unsigned char*& bytes) {
  const size_t budget = sliceBytes(call.procedure.argsHeader(call.argsRecord)->responseSize);
  const size_t n = std::min(budget, p->bytes.size() - p->next);
  bytes = static_cast<unsigned char*>(ZQAlloc(n ? n : 1));
  if (!bytes) {
    dropPending(token);
    return fail(call, zq::kMsgNoMemory);
  }
  memcpy(bytes, p->bytes.data() + p->next, n);
  length = static_cast<uint32_t>(n);
  p->next += n;
  RequestHeader& out = outHeader(call);
  out.chunkToken = token;
  out.lastChunk = p->next == p->bytes.size();
  if (out.lastChunk) dropPending(token);
}

// Starts or continues a byte transfer; produce makes the whole stream on the
// first request (false: it reported its failure).
template <class Produce>
void transferBytes(Call& call, Produce produce, uint32_t& length, unsigned char*& bytes) {
  const int32_t token = call.procedure.argsHeader(call.argsRecord)->chunkToken;
  if (token != 0) {
    auto* p = dynamic_cast<PendingBytes*>(findPending(token));
    if (!p) return fail(call, zq::kMsgBadEncoding, "unknown chunk token");
    return sendSlice(call, token, p, length, bytes);
  }
  auto pending = std::make_unique<PendingBytes>();
  if (!produce(pending->bytes)) return;
  PendingBytes* p = pending.get();
  sendSlice(call, keepPending(std::move(pending)), p, length, bytes);
}

bool compressInto(Call& call, const std::string& text, std::string& out) {
  zq::platform::ZBuffer packed;
  if (zq::platform::compressBytes(text.data(), text.size(), packed) != zq::platform::ZResult::ok) {
    fail(call, zq::kMsgNoMemory);
    return false;
  }
  out.assign(reinterpret_cast<const char*>(packed.data), packed.size);
  ZQFree(packed.data);
  return true;
}

// The columns of an entry list: those asked for, else every field of the form.
std::vector<ZQInternalId> columnsOf(const ZQEntryListFieldList& fields, const FormDef& form) {
  std::vector<ZQInternalId> columns;
  if (fields.items && fields.count) {
    for (uint32_t i = 0; i < fields.count; ++i) columns.push_back(fields.items[i].fieldId);
  } else {
    for (const FieldDef& f : form.fields) columns.push_back(f.id);
  }
  return columns;
}

// Entries with the values of the columns, as the structured replies carry them.
bool entriesOf(const QueryResult& result, const std::vector<ZQInternalId>& columns,
               ZQEntryListFieldValueList& out) {
  out = {0, nullptr};
  const size_t n = result.rows.size();
  out.items = static_cast<ZQEntryListFieldValueStruct*>(
      ZQCalloc(n ? n : 1, sizeof(ZQEntryListFieldValueStruct)));
  if (!out.items) return false;
  for (size_t i = 0; i < n; ++i) {
    const Row& row = result.rows[i];
    ZQEntryListFieldValueStruct& e = out.items[i];
    out.count = static_cast<uint32_t>(i + 1);
    if (!entryIdsOf(row.id, e.entryId)) return false;
    e.fieldValues = static_cast<ZQFieldValueList*>(ZQCalloc(1, sizeof(ZQFieldValueList)));
    if (!e.fieldValues) return false;
    e.fieldValues->items = static_cast<ZQFieldValueStruct*>(
        ZQCalloc(columns.empty() ? 1 : columns.size(), sizeof(ZQFieldValueStruct)));
    if (!e.fieldValues->items) return false;
    for (size_t k = 0; k < columns.size(); ++k) {
      ZQFieldValueStruct& fv = e.fieldValues->items[k];
      e.fieldValues->count = static_cast<uint32_t>(k + 1);
      fv.fieldId = columns[k];
      const ZQValueStruct* v = row.find(columns[k]);
      if (v && ZQCopyValueStruct(&fv.value, v) != 0) return false;
    }
  }
  return true;
}

// Structured entry lists of old protocol versions, in slices.
struct PendingStructured : PendingResult {
  ZQEntryListFieldValueList list{0, nullptr};
  uint32_t next = 0;
  uint32_t matches = 0;
  ~PendingStructured() override { FreeZQEntryListFieldValueList(&list, 0); }
};

size_t valueSize(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
      return 12 + (v.u.charValue ? strlen(v.u.charValue) : 0);
    default:
      return 64;
  }
}

void listEntryStructured(Call& call, ListEntryArgs& args, ListEntryWithFieldsReply& reply) {
  int32_t token = args.header.chunkToken;
  PendingStructured* p = nullptr;
  if (token == 0) {
    if (!mayQuery(call, args.form, &args.qualifier, &args.sort)) return;
    EntryStore store(call.server.store());
    QueryResult result;
    QueryError error;
    if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort,
                  args.firstRetrieve, args.maxRetrieve, result, error))
      return fail(call, error);
    hideFields(call, result);
    auto pending = std::make_unique<PendingStructured>();
    pending->matches = result.matches;
    const bool ok = entriesOf(result, columnsOf(args.fields, result.form), pending->list);
    dropIfEmpty(pending->list.count, pending->list.items);
    if (!ok) return fail(call, zq::kMsgNoMemory);
    p = pending.get();
    token = keepPending(std::move(pending));
  } else if (!(p = dynamic_cast<PendingStructured*>(findPending(token)))) {
    return fail(call, zq::kMsgBadEncoding, "unknown chunk token");
  }
  // Whole entries while they fit; an entry too large for the rest of the
  // budget is sent up to the value that overflows, which continues (joined
  // by the client) in the next reply.
  const size_t budget = sliceBytes(args.header.responseSize);
  size_t used = 0;
  std::vector<ZQEntryListFieldValueStruct> slice;
  bool ok = true;
  while (p->next < p->list.count && used < budget) {
    ZQEntryListFieldValueStruct& e = p->list.items[p->next];
    ZQFieldValueList* values = e.fieldValues;
    size_t size = 32;
    uint32_t fit = 0;
    for (; values && fit < values->count; ++fit) {
      const ZQValueStruct& v = values->items[fit].value;
      size_t s = valueSize(v);
      // The first value of a reply goes whole unless it is a text to cut.
      const bool first = used == 0 && fit == 0;
      if (used + size + s > budget && !(first && v.dataType != ZQ_DATA_TYPE_CHAR)) break;
      size += s;
    }
    if (!values || fit == values->count) {
      slice.push_back(e);  // moves whole
      e = ZQEntryListFieldValueStruct{};
      ++p->next;
      used += size;
      continue;
    }
    // Split the entry: values before fit go now, the value at fit in two
    // halves when it is a long character text, the rest later (a copy of
    // the entry keeps the rest, with the sent slots unfilled).
    ZQEntryListFieldValueStruct head{};
    ok = ZQCopyEntryIdList(&head.entryId, &e.entryId) == 0;
    head.fieldValues = static_cast<ZQFieldValueList*>(ZQCalloc(1, sizeof(ZQFieldValueList)));
    ok = ok && head.fieldValues;
    if (ok) {
      head.fieldValues->items =
          static_cast<ZQFieldValueStruct*>(ZQCalloc(values->count, sizeof(ZQFieldValueStruct)));
      ok = head.fieldValues->items != nullptr;
    }
    if (!ok) {
      FreeZQEntryListFieldValueStruct(&head, 0);
      break;
    }
    head.fieldValues->count = values->count;
    uint32_t k = 0;
    for (; k < fit; ++k) {
      head.fieldValues->items[k] = values->items[k];
      values->items[k] = ZQFieldValueStruct{};
      // An unfilled slot of the remainder keeps a non-zero id only where
      // it will be sent again; zero marks it sent.
    }
    ZQFieldValueStruct& at = values->items[fit];
    const size_t room = budget > used + size + 16 ? budget - used - size - 16 : 0;
    if (at.value.dataType == ZQ_DATA_TYPE_CHAR && at.value.u.charValue &&
        strlen(at.value.u.charValue) > room && room > 0) {
      ZQFieldValueStruct& part = head.fieldValues->items[fit];
      part.fieldId = at.fieldId;
      part.value.dataType = ZQ_DATA_TYPE_CHAR;
      part.value.u.charValue = static_cast<char*>(ZQAlloc(room + 1));
      if (!part.value.u.charValue) {
        FreeZQEntryListFieldValueStruct(&head, 0);
        ok = false;
        break;
      }
      memcpy(part.value.u.charValue, at.value.u.charValue, room);
      part.value.u.charValue[room] = '\0';
      memmove(at.value.u.charValue, at.value.u.charValue + room,
              strlen(at.value.u.charValue + room) + 1);
    }
    slice.push_back(head);
    used = budget;
  }
  if (!ok) {
    for (auto& e : slice) FreeZQEntryListFieldValueStruct(&e, 0);
    dropPending(token);
    return fail(call, zq::kMsgNoMemory);
  }
  reply.entries.items = static_cast<ZQEntryListFieldValueStruct*>(
      ZQCalloc(slice.empty() ? 1 : slice.size(), sizeof(ZQEntryListFieldValueStruct)));
  if (!reply.entries.items) {
    for (auto& e : slice) FreeZQEntryListFieldValueStruct(&e, 0);
    dropPending(token);
    return fail(call, zq::kMsgNoMemory);
  }
  std::copy(slice.begin(), slice.end(), reply.entries.items);
  reply.entries.count = static_cast<uint32_t>(slice.size());
  dropIfEmpty(reply.entries.count, reply.entries.items);
  reply.matches = p->matches;
  RequestHeader& out = outHeader(call);
  out.chunkToken = token;
  out.lastChunk = p->next == p->list.count;
  if (out.lastChunk) dropPending(token);
}

}  // namespace

// ---- procedure 73 ------------------------------------------------------------------------

void getListEntryWithFields(Request<proc::GetListEntryWithFields>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (call.version <= 9) return listEntryStructured(call, args, reply);
  transferBytes(
      call,
      [&](std::string& out) {
        EntryStore store(call.server.store());
        QueryResult result;
        QueryError error;
        if (!mayQuery(call, args.form, &args.qualifier, &args.sort)) return false;
        if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort,
                      args.firstRetrieve, args.maxRetrieve, result, error)) {
          fail(call, error);
          return false;
        }
        hideFields(call, result);
        return compressInto(call, entryListText(result, columnsOf(args.fields, result.form)), out);
      },
      reply.textLength, reply.text);
}

// ---- procedure 181 -----------------------------------------------------------------------

void getOneEntryWithFields(Request<proc::GetOneEntryWithFields>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!mayQuery(call, args.form, &args.qualifier, &args.sort)) return;
  EntryStore store(call.server.store());
  QueryResult result;
  QueryError error;
  if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort, 0, 1, result,
                error))
    return fail(call, error);
  hideFields(call, result);
  reply.matches = result.matches;
  const bool ok = entriesOf(result, columnsOf(args.fields, result.form), reply.entries);
  dropIfEmpty(reply.entries.count, reply.entries.items);
  if (!ok) return fail(call, zq::kMsgNoMemory);
  outHeader(call).lastChunk = 1;
}

// ---- procedure 135 -----------------------------------------------------------------------

void getListEntryBlocks(Request<proc::GetListEntryBlocks>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!mayQuery(call, args.form, &args.qualifier, &args.sort)) return;
  EntryStore store(call.server.store());
  QueryResult result;
  QueryError error;
  if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort, args.firstRetrieve,
                args.maxRetrieve, result, error))
    return fail(call, error);
  hideFields(call, result);
  reply.matches = result.matches;
  reply.returnedRows = static_cast<uint32_t>(result.rows.size());
  ZQEntryListFieldValueList all{};
  const bool built = entriesOf(result, columnsOf(args.fields, result.form), all);
  dropIfEmpty(all.count, all.items);
  if (!built) {
    FreeZQEntryListFieldValueList(&all, 0);
    return fail(call, zq::kMsgNoMemory);
  }
  const uint32_t perBlock = args.rowsPerBlock ? args.rowsPerBlock : 100;
  const uint32_t blocks = (all.count + perBlock - 1) / perBlock;
  reply.blocks.items =
      static_cast<ZQEntryBlockStruct*>(ZQCalloc(blocks ? blocks : 1, sizeof(ZQEntryBlockStruct)));
  bool ok = reply.blocks.items != nullptr;
  for (uint32_t b = 0; ok && b < blocks; ++b) {
    ZQEntryListFieldValueList part{std::min(perBlock, all.count - b * perBlock),
                                   all.items + b * perBlock};
    // Blocks are decoded by the client without a server: always the newest form.
    std::vector<char> encoded;
    ok = zq::model::encodeToBuffer(part, 14, encoded);
    zq::platform::ZBuffer packed;
    if (ok)
      ok = zq::platform::compressBytes(encoded.data(), encoded.size(), packed) ==
           zq::platform::ZResult::ok;
    if (ok) {
      reply.blocks.items[b] = {static_cast<uint32_t>(packed.size), packed.data};
      reply.blocks.count = b + 1;
    }
  }
  FreeZQEntryListFieldValueList(&all, 0);
  dropIfEmpty(reply.blocks.count, reply.blocks.items);
  if (!ok) return fail(call, zq::kMsgNoMemory);
}

// ---- procedure 6 -------------------------------------------------------------------------

void getEntryStatistics(Request<proc::GetEntryStatistics>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (!mayQuery(call, args.form, &args.qualifier, nullptr, &args.target)) return;
  EntryStore store(call.server.store());
  QueryError error;
  const bool ok = runStatistics(store, args.form ? args.form : "", &args.qualifier, &args.target,
                                args.statistic, &args.groupBy, reply.results, error);
  dropIfEmpty(reply.results.count, reply.results.items);
  if (!ok) fail(call, error);
}

// ---- procedure 67 ------------------------------------------------------------------------

namespace {

// The flat sequence of values of several entries, sent in slices; a long
// character value may be cut at a slice boundary, and the reply whose first
// value continues the previous one says so in call word B.
struct PendingValues : PendingResult {
  std::vector<ZQFieldValueStruct> values;
  ZQBooleanList exists{0, nullptr};
  uint32_t perEntry = 0;
  size_t next = 0;
  bool continuing = false;  // values[next] is the rest of a value already begun
  ~PendingValues() override {
    for (auto& v : values) FreeZQValueStruct(&v.value, 0);
    ZQFree(exists.items);
  }
};

}  // namespace

void getMultipleEntries(Request<proc::GetMultipleEntries>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  int32_t token = args.header.chunkToken;
  PendingValues* p = nullptr;
  if (token == 0) {
    EntryStore store(call.server.store());
    auto form = store.form(args.form ? args.form : "");
    if (!form) return fail(call, kMsgNoSuchForm, args.form);
    if (!mayQuery(call, args.form)) return;
    std::vector<ZQInternalId> wanted;
    if (args.fields.items && args.fields.count)
      wanted.assign(args.fields.items, args.fields.items + args.fields.count);
    else
      for (const FieldDef& f : form->fields) wanted.push_back(f.id);
    ZQInternalIdList wantedList{static_cast<uint32_t>(wanted.size()), wanted.data()};
    auto pending = std::make_unique<PendingValues>();
    const uint32_t n = args.ids.items ? args.ids.count : 0;
    pending->perEntry = wantedList.count;
    pending->exists.items = static_cast<ZQBoolean*>(ZQCalloc(n ? n : 1, sizeof(ZQBoolean)));
    if (!pending->exists.items) return fail(call, zq::kMsgNoMemory);
    pending->exists.count = n;
    for (uint32_t i = 0; i < n; ++i) {
      const ZQEntryIdList& id = args.ids.items[i];
      ZQFieldValueList got{};
      StoreResult r = id.items && id.count ? store.get(form->name, entryKey(id), &wantedList, got)
                                           : StoreResult{kMsgNoSuchEntry, ""};
      const bool found = r.ok() && got.count == wantedList.count;
      pending->exists.items[i] = found;
      for (uint32_t k = 0; k < wantedList.count; ++k) {
        ZQFieldValueStruct fv{};
        if (found) {
          fv = got.items[k];
          got.items[k] = ZQFieldValueStruct{};
        }
        pending->values.push_back(fv);
      }
      FreeZQFieldValueList(&got, 0);
    }
    // Fields the caller may not see keep their place, without a value.
    for (auto& fv : pending->values) {
      ZQFieldValueList one{1, &fv};
      hideFields(call, form->name, one);
      if (one.count == 0) fv = ZQFieldValueStruct{fv.fieldId, ZQValueStruct{}};
    }
    p = pending.get();
    token = keepPending(std::move(pending));
    reply.exists = p->exists;
    p->exists = {0, nullptr};
  } else if (!(p = dynamic_cast<PendingValues*>(findPending(token)))) {
    return fail(call, zq::kMsgBadEncoding, "unknown chunk token");
  }
  RequestHeader& out = outHeader(call);
  out.continuation = p->continuing ? zq::transport::kContinuesPreviousValue : 0;
  // Values while they fit, the last one possibly cut.
  const size_t budget = sliceBytes(args.header.responseSize);
  size_t used = 0;
  std::vector<ZQFieldValueStruct> slice;
  while (p->next < p->values.size() && used < budget) {
    ZQFieldValueStruct& fv = p->values[p->next];
    const size_t size = 8 + valueSize(fv.value);
    const bool cuttable = fv.value.dataType == ZQ_DATA_TYPE_CHAR && fv.value.u.charValue &&
                          fv.fieldId != 15 && fv.fieldId != 0;
    // A value that cannot be cut opens a reply even when it is larger.
    if (used + size <= budget || (slice.empty() && !cuttable)) {
      slice.push_back(fv);
      fv = ZQFieldValueStruct{};
      ++p->next;
      p->continuing = false;
      used += size;
      continue;
    }
    if (!cuttable || budget < used + 64) break;
    // Cut the text: the head goes now, the rest opens the next reply.
    const size_t room = budget - used - 64 + 1;
    ZQFieldValueStruct head{fv.fieldId, {}};
    head.value.dataType = ZQ_DATA_TYPE_CHAR;
    head.value.u.charValue = static_cast<char*>(ZQAlloc(room + 1));
    if (!head.value.u.charValue) break;
    memcpy(head.value.u.charValue, fv.value.u.charValue, room);
    head.value.u.charValue[room] = '\0';
    memmove(fv.value.u.charValue, fv.value.u.charValue + room,
            strlen(fv.value.u.charValue + room) + 1);
    slice.push_back(head);
    p->continuing = true;
    break;
  }
  // The slice as per-entry lists of at most perEntry values.
  const uint32_t per = p->perEntry ? p->perEntry : 1;
  const size_t lists = (slice.size() + per - 1) / per;
  reply.values.items =
      static_cast<ZQFieldValueList*>(ZQCalloc(lists ? lists : 1, sizeof(ZQFieldValueList)));
  bool ok = reply.values.items != nullptr;
  for (size_t l = 0; ok && l < lists; ++l) {
    const size_t from = l * per, n = std::min<size_t>(per, slice.size() - from);
    ZQFieldValueList& list = reply.values.items[l];
    list.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(n, sizeof(ZQFieldValueStruct)));
    if (!list.items) {
      ok = false;
      break;
    }
    std::copy(slice.begin() + from, slice.begin() + from + n, list.items);
    for (size_t k = from; k < from + n; ++k) slice[k] = ZQFieldValueStruct{};
    list.count = static_cast<uint32_t>(n);
    reply.values.count = static_cast<uint32_t>(l + 1);
  }
  for (auto& v : slice) FreeZQValueStruct(&v.value, 0);
  dropIfEmpty(reply.values.count, reply.values.items);
  dropIfEmpty(reply.exists.count, reply.exists.items);
  reply.valueCount = 0;
  for (uint32_t l = 0; l < reply.values.count; ++l) reply.valueCount += reply.values.items[l].count;
  reply.valuesPerEntry = p->perEntry;
  if (!ok) {
    dropPending(token);
    return fail(call, zq::kMsgNoMemory);
  }
  out.chunkToken = token;
  out.lastChunk = p->next == p->values.size();
  if (out.lastChunk) dropPending(token);
}

// ---- procedure 80 ------------------------------------------------------------------------

void getEntryBlob(Request<proc::GetEntryBLOB>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  transferBytes(
      call,
      [&](std::string& out) {
        if (!mayQuery(call, args.form)) return false;
        if (call.server.accounts().fieldAccess(call.principal, args.form ? args.form : "",
                                               args.fieldId) == Access::none) {
          fail(call, zq::kMsgNoFormAccess, std::to_string(args.fieldId).c_str());
          return false;
        }
        EntryStore store(call.server.store());
        ZQValueStruct value{};
        StoreResult r = args.id.items && args.id.count
                            ? store.attachment(args.form ? args.form : "", entryKey(args.id),
                                               args.fieldId, value)
                            : StoreResult{kMsgNoSuchEntry, ""};
        if (!r.ok()) {
          fail(call, r.message, r.appended.c_str());
          return false;
        }
        const ZQAttachStruct* a = value.u.attachmentValue;
        if (value.dataType != ZQ_DATA_TYPE_ATTACH || !a ||
            a->location.locationType != ZQ_LOC_BUFFER) {
          FreeZQValueStruct(&value, 0);
          fail(call, kMsgNoSuchEntry, "no attachment in the field");
          return false;
        }
        const ZQBufStruct& b = a->location.u.buffer;
        std::string content(reinterpret_cast<const char*>(b.bytes), b.bytes ? b.size : 0);
        bool compressed = a->compressedSize > 0;
        // Content that compression did not shrink travels as it is.
        if (compressed && a->originalSize >= 0 &&
            content.size() >= static_cast<size_t>(a->originalSize)) {
          zq::platform::ZBuffer plain;
          if (zq::platform::decompressBytes(content.data(), content.size(),
                                            static_cast<size_t>(a->originalSize),
                                            plain) == zq::platform::ZResult::ok) {
            content.assign(reinterpret_cast<const char*>(plain.data), plain.size);
            compressed = false;
          }
          ZQFree(plain.data);
        }
        FreeZQValueStruct(&value, 0);
        unsigned char words[8];
        const uint32_t marker = compressed ? 1 : 0;
        const uint32_t total = static_cast<uint32_t>(content.size());
        for (int i = 0; i < 4; ++i) {
          words[i] = static_cast<unsigned char>(marker >> (24 - 8 * i));
          words[4 + i] = static_cast<unsigned char>(total >> (24 - 8 * i));
        }
        out.assign(reinterpret_cast<const char*>(words), 8);
        out += content;
        return true;
      },
      reply.length, reply.bytes);
}

// ---- procedure 171 -----------------------------------------------------------------------

void getListEntryWithMultiSchemaFields(Request<proc::GetListEntryWithMultiSchemaFields>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  transferBytes(
      call,
      [&](std::string& out) {
        if (!mayJoin(call, args.from)) return false;
        EntryStore store(call.server.store());
        JoinResult result;
        QueryError error;
        if (!runJoin(store, args.from, &args.qualifier, &args.sort, args.firstRetrieve,
                     args.maxRetrieve, result, error)) {
          fail(call, error);
          return false;
        }
        std::vector<ZQMultiSchemaFieldIdStruct> columns;
        if (args.fields.items)
          columns.assign(args.fields.items, args.fields.items + args.fields.count);
        return compressInto(call, multiSchemaText(result, columns), out);
      },
      reply.textLength, reply.text);
}

void serveQueries(Handlers& h) {
  h.serve<proc::GetListEntry, getListEntry>();
  h.serve<proc::GetEntryStatistics, getEntryStatistics>();
  h.serve<proc::GetMultipleEntries, getMultipleEntries>();
  h.serve<proc::GetListEntryWithFields, getListEntryWithFields>();
  h.serve<proc::GetEntryBLOB, getEntryBlob>();
  h.serve<proc::GetListEntryBlocks, getListEntryBlocks>();
  h.serve<proc::GetListEntryWithMultiSchemaFields, getListEntryWithMultiSchemaFields>();
  h.serve<proc::GetOneEntryWithFields, getOneEntryWithFields>();
}

}  // namespace zqserver
