// ZQGetListEntry (procedure 5).
#include <cstring>

#include "calls/queries.h"
#include "diag/record.h"
#include "frame/alloc.h"
#include "frame/status.h"
#include "transport/procedures.h"
#include "transport/records_queries.h"
#include "zqapi/zq_free.h"

extern "C" int ZQGetListEntry(ZQControlStruct* control, const char* form,
                              ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                              ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
                              ZQBoolean useLocale, ZQEntryListList* entries, uint32_t* numMatches,
                              ZQStatusList* status) {
  using namespace zq;
  if (entries) *entries = {0, nullptr};
  if (numMatches) *numMatches = 0;
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = calls::checkQuery(control, form, qualifier, fields, sort, status);
  if (rc < ZQ_RETURN_ERROR && !entries) rc = addError(status, 105);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(e.ctx, control, diag::Command::GetListEntry, form, qualifier, fields, sort,
                firstRetrieve, maxRetrieve, useLocale);

  transport::ListEntryArgs args{};
  args.form = const_cast<char*>(form);
  if (qualifier) args.qualifier = *qualifier;
  if (fields) args.fields = *fields;
  if (sort) args.sort = *sort;
  args.firstRetrieve = firstRetrieve;
  args.maxRetrieve = maxRetrieve;
  args.useLocale = useLocale;

  ZQEntryListList gathered{0, nullptr};
  uint32_t matches = 0;
  bool memoryFailed = false;
  calls::ChunkedCall call{{control, transport::findProcedure(5), kQueueList,
                           e.ctx->settings.timeoutLong, kMsgTimeoutQuery}};
  rc = calls::runChunked(
      e.ctx, call, &args,
      [&](const calls::Chunk& chunk) {
        auto* reply = static_cast<transport::ListEntryReply*>(chunk.reply);
        matches = reply->matches;
        const uint32_t n = reply->entries.items ? reply->entries.count : 0;
        if (n == 0) return true;
        auto* grown = static_cast<ZQEntryListStruct*>(
            ZQRealloc(gathered.items, (size_t{gathered.count} + n) * sizeof(ZQEntryListStruct)));
        if (!grown) {
          memoryFailed = true;
          return false;
        }
        // The items move out of the reply, which keeps an empty list.
        memcpy(grown + gathered.count, reply->entries.items, n * sizeof(ZQEntryListStruct));
        gathered.items = grown;
        gathered.count += n;
        ZQFree(reply->entries.items);
        reply->entries = {0, nullptr};
        return true;
      },
      status);
  if (memoryFailed) rc = addError(status, kMsgNoMemory);
  if (rc >= ZQ_RETURN_ERROR) {
    FreeZQEntryListList(&gathered, 0);
    diag::outputs(e.ctx, entries, numMatches);
    return ZQFinishCall(e.ctx, rc, status);
  }
  *entries = gathered;
  if (numMatches) *numMatches = matches;
  calls::setLastMatchCount(e.ctx, status, matches, numMatches != nullptr, gathered.count);
  diag::outputs(e.ctx, entries, numMatches);
  return ZQFinishCall(e.ctx, rc, status);
}
