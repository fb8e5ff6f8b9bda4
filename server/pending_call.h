// One decoded call on its way through the server: admitted by the
// dispatcher, then run (on the dispatching thread, or aside for calls that
// may take long) and answered.
#pragma once

#include <cstdint>
#include <memory>

#include "accounts.h"
#include "duplicate_cache.h"
#include "transport/procedures.h"

namespace zqserver {

class Server;
class Exchange;

struct PendingCall {
  Server* server = nullptr;
  const zq::transport::Procedure* procedure = nullptr;
  int version = 0;
  // The request; released once answered (the connection is read again).
  std::shared_ptr<Exchange> exchange;
  bool enveloped = false;
  uint64_t keySet = 0;
  void* args = nullptr;   // decoded argument record
  void* reply = nullptr;  // reply record, header echo filled
  Principal principal;
  bool admitted = false;  // false: answered with the refusal in its status
  bool cacheable = false;  // a change whose reply the duplicate cache keeps
  DuplicateCache::Key duplicateKey;

  PendingCall() = default;
  PendingCall(const PendingCall&) = delete;
  PendingCall& operator=(const PendingCall&) = delete;
  ~PendingCall();  // releases both records and the exchange
  int fd() const;
};

// Runs the handler (when admitted), answers and releases the records.
void completeCall(PendingCall& call);

// Procedures that may run for long: SQL, processes, waits for cache events.
bool runsAside(uint32_t procedure);

}  // namespace zqserver
