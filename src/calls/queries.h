// Shared parts of the query calls: argument checks and the chunked
// retrieval loop.
#pragma once

#include <cstdint>
#include <functional>

#include "frame/driver.h"
#include "zqapi/zq_queries.h"

namespace zq::calls {

// Argument checks of the query calls; each adds its message and returns
// the return code (0 when the argument passes).
int checkEntryListFields(const ZQEntryListFieldList* fields, ZQStatusList* status);
int checkSortList(const ZQSortList* sort, ZQStatusList* status);
int checkQueryQualifier(const ZQQualifierStruct* qualifier, ZQStatusList* status);

// Runs a chunked retrieval: before each request the header gets the
// response size and the chunk token; after each reply `take` receives it
// (return false to stop gathering: the reply is the last one used).
// Returns the caller's return code; 2 when stopped or when the driver
// failed, in which case the caller releases what it gathered.
struct ChunkedCall {
  RemoteCall remote;
  transport::RequestHeader* header;  // inside the argument record
};
int runChunked(ZQThreadContext* ctx, const ChunkedCall& call, void* args,
               const std::function<bool(void* reply, bool last)>& take, ZQStatusList* status);

}  // namespace zq::calls
