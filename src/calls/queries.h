// Shared parts of the query calls: the chunked retrieval loop and the
// query argument checks.
#pragma once

#include <cstdint>
#include <functional>

#include "call/driver.h"
#include "zqapi/zq_queries.h"

namespace zq::calls {

// The checks of a query: control record, form name, qualifier (none
// allowed), list columns and sort list, in that order.
int checkQuery(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
               const ZQEntryListFieldList* fields, const ZQSortList* sort, ZQStatusList* status);

// What the loop tells the gatherer about a reply.
struct Chunk {
  void* reply;
  bool last;    // the reply completes the result
  bool failed;  // the reply's own status list holds an error
};

// Runs a chunked retrieval: before each request the header gets the
// response size and the chunk token; after each reply `take` receives it
// (return false to stop: the reply is the last one used). Returns the
// caller's return code; 2 when stopped or when the driver failed, in which
// case the caller releases what it gathered.
struct ChunkedCall {
  RemoteCall remote;
};
int runChunked(ZQThreadContext* ctx, const ChunkedCall& call, void* args,
               const std::function<bool(const Chunk&)>& take, ZQStatusList* status);

// The text of a query reply gathered slice by slice in one growing buffer.
class SliceBuffer {
 public:
  ~SliceBuffer();
  // Takes the slice (stealing the reply's buffer when it is the first).
  bool append(uint32_t& length, unsigned char*& bytes);
  const unsigned char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  unsigned char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// The last match count of the context after a query that succeeded.
void setLastMatchCount(ZQThreadContext* ctx, const ZQStatusList* status, uint32_t matches,
                       bool matchesAsked, uint32_t returned);

}  // namespace zq::calls
