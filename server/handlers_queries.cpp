#include "handlers_queries.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/alloc.h"
#include "model/codec.h"
#include "model/describe_core.h"
#include "query_engine.h"
#include "query_text.h"
#include "server.h"
#include "transport/records_queries.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using namespace zq::transport;

void fail(Call& call, const QueryError& e) {
  if (call.status)
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, e.message,
                e.appended.empty() ? nullptr : e.appended.c_str());
}
void fail(Call& call, int32_t message, const char* appended = nullptr) {
  fail(call, QueryError{message, appended ? appended : ""});
}

RequestHeader& outHeader(Call& call) { return *call.procedure.replyHeader(call.reply); }

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
  ~PendingEntries() override { FreeZQEntryListList(&list, 0); }
};

}  // namespace

void getListEntry(Call& call) {
  auto& args = *static_cast<ListEntryArgs*>(call.args);
  auto& reply = *static_cast<ListEntryReply*>(call.reply);
  int32_t token = args.header.wordE;
  PendingEntries* p = nullptr;
  if (token == 0) {
    EntryStore store(call.server.store());
    QueryResult result;
    QueryError error;
    if (!runQuery(store, args.form ? args.form : "", &args.qualifier, &args.sort,
                  args.firstRetrieve, args.maxRetrieve, result, error))
      return fail(call, error);
    auto pending = std::make_unique<PendingEntries>();
    pending->matches = result.matches;
    const size_t n = result.rows.size();
    pending->list.items =
        static_cast<ZQEntryListStruct*>(ZQCalloc(n ? n : 1, sizeof(ZQEntryListStruct)));
    if (!pending->list.items) return fail(call, 154);
    for (size_t i = 0; i < n; ++i) {
      ZQEntryListStruct& item = pending->list.items[i];
      pending->list.count = static_cast<uint32_t>(i + 1);
      item.entryId.items = static_cast<ZQEntryIdType*>(ZQCalloc(1, sizeof(ZQEntryIdType)));
      if (!item.entryId.items) return fail(call, 154);
      item.entryId.count = 1;
      zq::copyName(item.entryId.items[0], result.rows[i].id.c_str(), sizeof(ZQEntryIdType));
      if (!(item.shortDescription = describeRow(result.rows[i], args.fields)))
        return fail(call, 154);
    }
    p = pending.get();
    token = keepPending(std::move(pending));
  } else if (!(p = dynamic_cast<PendingEntries*>(findPending(token)))) {
    return fail(call, 9009, "unknown chunk token");
  }
  // As many entries as fit the response size (at least one).
  const size_t budget = sliceBytes(args.header.wordD);
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
  if (!reply.entries.items) return fail(call, 154);
  // The slice moves from the pending list into the reply.
  memcpy(reply.entries.items, p->list.items + p->next, n * sizeof(ZQEntryListStruct));
  memset(p->list.items + p->next, 0, n * sizeof(ZQEntryListStruct));
  reply.entries.count = n;
  p->next = end;
  reply.matches = p->matches;
  RequestHeader& out = outHeader(call);
  out.wordE = token;
  out.headerByte = p->next == p->list.count;
  if (out.headerByte) dropPending(token);
}

}  // namespace zqserver
