// ZQGetListEntryWithFields (procedure 73) and ZQGetOneEntryWithFields
// (procedure 181): entry lists with field values.
#include <cstring>

#include "calls/attachments.h"
#include "calls/entry_list_text.h"
#include "calls/queries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

// Password values of exactly this length in entry lists are left as they are.
constexpr size_t kListPasswordLength = 30;

// Last slot filled by a split entry's first part: the slot before the first
// unfilled one (-1 when none is filled).
int lastFilled(const ZQFieldValueList* values) {
  if (!values || !values->items) return -1;
  uint32_t i = 0;
  while (i < values->count && values->items[i].fieldId != 0) ++i;
  return static_cast<int>(i) - 1;
}

int firstFilled(const ZQFieldValueList* values) {
  if (!values || !values->items) return -1;
  for (uint32_t i = 0; i < values->count; ++i)
    if (values->items[i].fieldId != 0) return static_cast<int>(i);
  return -1;
}

bool sameIds(const ZQEntryIdList& a, const ZQEntryIdList& b) {
  if (a.count != b.count || !a.items || !b.items) return false;
  for (uint32_t i = 0; i < a.count; ++i)
    if (strncmp(a.items[i], b.items[i], sizeof(ZQEntryIdType)) != 0) return false;
  return true;
}

// Completes the split entry `into` with the rest that opens a new chunk;
// the rest's values move (it is released by the caller).
bool completeSplit(ZQEntryListFieldValueStruct& into, ZQEntryListFieldValueStruct& rest) {
  ZQFieldValueList* a = into.fieldValues;
  ZQFieldValueList* b = rest.fieldValues;
  if (!b || !b->items) return true;
  if (!a || !a->items || a->count < b->count) return false;  // not the same columns
  const int last = lastFilled(a);
  int start = firstFilled(b);
  if (start < 0) return true;
  if (start == last) {
    ZQValueStruct& head = a->items[last].value;
    ZQValueStruct& tail = b->items[start].value;
    const char* h = head.dataType == ZQ_DATA_TYPE_CHAR && head.u.charValue ? head.u.charValue : "";
    const char* t = tail.dataType == ZQ_DATA_TYPE_CHAR && tail.u.charValue ? tail.u.charValue : "";
    const size_t hn = strlen(h), tn = strlen(t);
    auto* joined = static_cast<char*>(zq::alloc(hn + tn + 1));
    if (!joined) return false;
    memcpy(joined, h, hn);
    memcpy(joined + hn, t, tn + 1);
    zq::model::release(head);
    head = ZQValueStruct{};
    head.dataType = ZQ_DATA_TYPE_CHAR;
    head.u.charValue = joined;
    ++start;
  }
  for (uint32_t k = static_cast<uint32_t>(start); k < b->count; ++k) {
    zq::model::release(a->items[k]);
    a->items[k] = b->items[k];
    b->items[k] = ZQFieldValueStruct{};
  }
  return true;
}

// Joins a structured chunk onto the result; the chunk's items move.
bool joinChunk(ZQEntryListFieldValueList& result, ZQEntryListFieldValueList& chunk) {
  if (!chunk.items || chunk.count == 0) return true;
  uint32_t skip = 0;
  if (result.count && sameIds(result.items[result.count - 1].entryId, chunk.items[0].entryId)) {
    if (!completeSplit(result.items[result.count - 1], chunk.items[0])) return false;
    skip = 1;
  }
  const uint32_t add = chunk.count - skip;
  if (add) {
    auto* grown = static_cast<ZQEntryListFieldValueStruct*>(zq::reallocate(
        result.items, (size_t{result.count} + add) * sizeof(ZQEntryListFieldValueStruct)));
    if (!grown) return false;
    result.items = grown;
    memcpy(result.items + result.count, chunk.items + skip,
           add * sizeof(ZQEntryListFieldValueStruct));
    memset(chunk.items + skip, 0, add * sizeof(ZQEntryListFieldValueStruct));
    result.count += add;
  }
  return true;
}

int protectPasswords(ZQThreadContext* ctx, ZQControlStruct* control,
                     ZQEntryListFieldValueList& list, ZQStatusList* status) {
  const ServerTraits server = boundServer(ctx, control);
  int worst = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < list.count; ++i) {
    const int rc =
        postProcessValues(ctx, server, list.items[i].fieldValues, kListPasswordLength, status);
    if (rc > worst) worst = rc;
  }
  return worst;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;

namespace zq::calls {
namespace {

// The arguments both list procedures share behind the header.
template <class A>
void fillQuery(A& args, const char* form, ZQQualifierStruct* qualifier,
               ZQEntryListFieldList* fields, ZQSortList* sort, ZQBoolean useLocale) {
  args.form = const_cast<char*>(form);
  if (qualifier) args.qualifier = *qualifier;
  if (fields) args.fields = *fields;
  if (sort) args.sort = *sort;
  args.useLocale = useLocale;
}

// The end of both calls: the result handed over (or released) and the
// last match count.
int deliver(call::Frame& call, ZQEntryListFieldValueList& result, uint32_t matches,
            bool replyFailed, ZQEntryListFieldValueList* entries, uint32_t* numMatches) {
  if (call.rc() < ZQ_RETURN_ERROR && !replyFailed) {
    call.raise(protectPasswords(call.context(), call.control(), result, call.status()));
  }
  if (call.rc() >= ZQ_RETURN_ERROR || replyFailed) {
    zq::model::release(result);
    if (call.rc() < ZQ_RETURN_ERROR) call.setRc(returnCode(call.status()));
    return call.finish(entries, numMatches);
  }
  *entries = result;
  if (numMatches) *numMatches = matches;
  setLastMatchCount(call.context(), call.status(), matches, numMatches != nullptr, result.count);
  return call.finish(entries, numMatches);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;

extern "C" int ZQGetListEntryWithFields(ZQControlStruct* control, const char* form,
                                        ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                        ZQSortList* sort, uint32_t firstRetrieve,
                                        uint32_t maxRetrieve, ZQBoolean useLocale,
                                        ZQEntryListFieldValueList* entries, uint32_t* numMatches,
                                        ZQStatusList* status) {
  if (entries) *entries = {0, nullptr};
  if (numMatches) *numMatches = 0;
  call::Call<transport::proc::GetListEntryWithFields> call(control, status);
  if (!call || call.refused(calls::checkQuery(control, form, qualifier, fields, sort, status)))
    return call.rc();
  if (!entries) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListEntryWithFields, form, qualifier, fields, sort, firstRetrieve,
              maxRetrieve, useLocale);
  calls::fillQuery(call.args(), form, qualifier, fields, sort, useLocale);
  call.args().firstRetrieve = firstRetrieve;
  call.args().maxRetrieve = maxRetrieve;

  calls::SliceBuffer text;
  ZQEntryListFieldValueList joined{0, nullptr};
  bool structured = false, first = true, memoryFailed = false, replyFailed = false;
  bool formChanged = false;
  uint32_t matches = 0;
  ZQThreadContext* ctx = call.context();
  ctx->translateResults = 0;
  calls::runChunked(call, [&](transport::ListEntryWithFieldsReply& reply, calls::Chunk& chunk) {
    // The switch tells the form of this reply; cleared for the next request.
    const bool structuredReply = ctx->translateResults != 0;
    ctx->translateResults = 0;
    chunk.empty = reply.textLength == 0 && reply.entries.count == 0;
    if (chunk.failed) {
      replyFailed = true;
      return false;
    }
    // A server that changed its version in mid-retrieval: the slices of one
    // form cannot be joined to the other's.
    if (!first && structuredReply != structured) {
      formChanged = true;
      return false;
    }
    structured = structuredReply;
    if (structured) {
      if (first) matches = reply.matches;
      memoryFailed = !calls::joinChunk(joined, reply.entries);
    } else {
      memoryFailed = !text.append(reply.textLength, reply.text);
    }
    first = false;
    return !memoryFailed;
  });
  ctx->translateResults = 0;
  if (formChanged) call.failAfterRecord(kMsgRpcFailure);
  if (memoryFailed) call.failAfterRecord(kMsgNoMemory);
  ZQEntryListFieldValueList result{0, nullptr};
  if (call.rc() < ZQ_RETURN_ERROR && !replyFailed) {
    if (structured) {
      result = joined;
      joined = {0, nullptr};
    } else if (text.size()) {
      const size_t bound = call.context()->settings.maxResultSize;
      const calls::ServerTraits server = calls::boundServer(call.context(), control);
      calls::ParseResult parsed = calls::inflateEntryListText(
          text.data(), text.size(), {server.serverCharset, server.clientCharset}, &result,
          &matches, bound);
      if (!parsed.ok()) call.failAfterRecord(parsed.message, parsed.detail);
    }
  }
  zq::model::release(joined);
  return calls::deliver(call, result, matches, replyFailed, entries, numMatches);
}

extern "C" int ZQGetOneEntryWithFields(ZQControlStruct* control, const char* form,
                                       ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                       ZQSortList* sort, ZQBoolean useLocale,
                                       ZQEntryListFieldValueList* entries, uint32_t* numMatches,
                                       ZQStatusList* status) {
  if (entries) *entries = {0, nullptr};
  if (numMatches) *numMatches = 0;
  call::Call<transport::proc::GetOneEntryWithFields> call(control, status);
  if (!call || call.refused(calls::checkQuery(control, form, qualifier, fields, sort, status)))
    return call.rc();
  if (!entries) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetOneEntryWithFields, form, qualifier, fields, sort, useLocale);
  calls::fillQuery(call.args(), form, qualifier, fields, sort, useLocale);

  ZQEntryListFieldValueList result{0, nullptr};
  uint32_t matches = 0;
  bool replyFailed = false;
  call.context()->translateResults = 0;
  calls::runChunked(call, [&](transport::OneEntryReply& reply, calls::Chunk& chunk) {
    chunk.empty = reply.entries.count == 0;
    if (chunk.failed) {
      replyFailed = true;
      return false;
    }
    if (!chunk.last) return true;
    result = reply.entries;
    reply.entries = {0, nullptr};
    matches = reply.matches;
    return false;
  });
  return calls::deliver(call, result, matches, replyFailed, entries, numMatches);
}
