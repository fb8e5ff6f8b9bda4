// ZQGetListEntry (procedure 5).
#include <cstring>

#include "calls/queries.h"
#include "frame/frame.h"
#include "model/model.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

extern "C" int ZQGetListEntry(ZQControlStruct* control, const char* form,
                              ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                              ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
                              ZQBoolean useLocale, ZQEntryListList* entries, uint32_t* numMatches,
                              ZQStatusList* status) {
  using namespace zq;
  if (entries) *entries = {0, nullptr};
  if (numMatches) *numMatches = 0;
  call::Call<transport::proc::GetListEntry> call(control, status);
  if (!call || call.refused(calls::checkQuery(control, form, qualifier, fields, sort, status)))
    return call.rc();
  if (!entries) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListEntry, form, qualifier, fields, sort, firstRetrieve,
              maxRetrieve, useLocale);

  ZQEntryListList gathered{0, nullptr};
  uint32_t matches = 0;
  bool memoryFailed = false;
  auto& args = call.args();
  // Every request binds afresh (which clears the header): the arguments
  // behind it stay.
  args.form = const_cast<char*>(form);
  if (qualifier) args.qualifier = *qualifier;
  if (fields) args.fields = *fields;
  if (sort) args.sort = *sort;
  args.firstRetrieve = firstRetrieve;
  args.maxRetrieve = maxRetrieve;
  args.useLocale = useLocale;
  calls::runChunked(call, [&](transport::ListEntryReply& reply, calls::Chunk& chunk) {
    matches = reply.matches;
    const uint32_t n = reply.entries.items ? reply.entries.count : 0;
    chunk.empty = n == 0;
    if (n == 0) return true;
    auto* grown = static_cast<ZQEntryListStruct*>(
        zq::reallocate(gathered.items, (size_t{gathered.count} + n) * sizeof(ZQEntryListStruct)));
    if (!grown) {
      memoryFailed = true;
      return false;
    }
    // The items move out of the reply, which keeps an empty list.
    memcpy(grown + gathered.count, reply.entries.items, n * sizeof(ZQEntryListStruct));
    gathered.items = grown;
    gathered.count += n;
    zq::freeBlock(reply.entries.items);
    reply.entries = {0, nullptr};
    return true;
  });
  if (memoryFailed) call.failAfterRecord(kMsgNoMemory);
  if (call.rc() >= ZQ_RETURN_ERROR) {
    zq::model::release(gathered);
    return call.finish(entries, numMatches);
  }
  *entries = gathered;
  if (numMatches) *numMatches = matches;
  calls::setLastMatchCount(call.context(), status, matches, numMatches != nullptr, gathered.count);
  return call.finish(entries, numMatches);
}
