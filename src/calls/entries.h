// Shared parts of the entry and transaction calls: the remote step split
// into binding and sending (so that a bulk transaction can queue between
// them), the bulk queue, and the client-managed transaction handle.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/context.h"
#include "call/driver.h"
#include "transport/records_entries.h"

namespace zq::calls {

// Per-context state of the entry calls.
struct EntryCallsState : SubsystemState {
  bool bulkOpen = false;
  std::vector<transport::BulkOperation> queue;  // in call order, each owning its members
  ~EntryCallsState() override;
  void discardQueue();
};

// The state of a context, created on first use (null without memory).
EntryCallsState* entryState(ZQThreadContext* ctx);

// Binds the control record for a queue and fills header.
int bindFor(ZQControlStruct* control, uint32_t queue, transport::RequestHeader* header,
            ZQStatusList* status);

// Sends a bound request: the driver, cache id and operation time, the merge
// of the server's status list. A failed call, or a merged list holding an
// error, drops the server's client-managed transaction handle (the server
// has rolled it back). Returns the caller's return code; *reply is null when
// no reply came back.
struct Send {
  uint32_t procedure;
  uint32_t queue;
  uint32_t timeout;
  int32_t timeoutMessage;
};
int sendBound(ZQThreadContext* ctx, ZQControlStruct* control, const Send& send, void* args,
              void** reply, ZQStatusList* status);

// Clears the client-managed transaction handle of the control record's server.
void dropTransactionHandle(ZQThreadContext* ctx, ZQControlStruct* control);

// Appends an operation to the open bulk queue: copies of the header, the
// form name, the entry ids and the (prepared) values. Returns 0, or 154
// with nothing queued.
int queueOperation(ZQThreadContext* ctx, const transport::BulkOperation& op,
                   ZQStatusList* status);

}  // namespace zq::calls
