// Shared parts of the entry and transaction calls: the bulk queue and the
// client-managed transaction handle.
#pragma once

#include <cstdint>
#include <vector>

#include "call/call.h"
#include "frame/frame.h"
#include "transport/transport.h"

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

// Clears the client-managed transaction handle of the control record's server.
void dropTransactionHandle(ZQThreadContext* ctx, ZQControlStruct* control);

// The remote step of a call that may run inside a client-managed
// transaction: a failed call, or a merged list holding an error, drops the
// server's transaction handle (the server has rolled the transaction back).
template <class P>
typename P::Reply* sendInTransaction(call::Call<P>& call) {
  auto* reply = call.send();
  if (!reply || call.rc() >= ZQ_RETURN_ERROR) dropTransactionHandle(call.context(), call.control());
  return reply;
}

// Appends an operation to the open bulk queue: copies of the header, the
// form name, the entry ids and the (prepared) values. Returns 0, or 154
// with nothing queued.
int queueOperation(ZQThreadContext* ctx, const transport::BulkOperation& op, ZQStatusList* status);

}  // namespace zq::calls
