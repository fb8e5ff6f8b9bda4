// The call driver: one remote call with its retries (version fallback,
// reconnect, re-key, encryption switch) and failure mapping.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::call {

// The values the driver works on for one attempt.
struct CallDescriptor {
  ZQControlStruct* control = nullptr;
  const transport::Procedure* stub = nullptr;  // the procedure, newest version
  uint8_t reconnected = 0;
  uint8_t rekeyed = 0;
  uint8_t encryptionSwitched = 0;
  // The request continues a chunked transfer: the server moved on when it
  // answered, so a request whose reply was lost is never sent again.
  uint8_t continuation = 0;
  uint32_t timeout = 0;         // seconds
  int32_t timeoutMessage = 93;  // 92 changes, 93 retrievals, 94 queries
  uint32_t queue = kQueueFast;
  transport::RequestHeader* propertiesHeader = nullptr;  // receives client properties
  void* args = nullptr;
  void** result = nullptr;  // the reply record, owned by the thread context
  ZQStatusList* status = nullptr;
};

// Runs the driver under the context's call lock; true when a reply came back.
bool callServer(CallDescriptor& call);
// The same without the call lock (nested calls of a binding, re-keying).
bool callServerUnlocked(CallDescriptor& call);

}  // namespace zq::call
