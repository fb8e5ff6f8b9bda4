// The remote step of a call, shared by the exported calls' frame and the
// library's own requests (first-contact settings, the key exchange, the end
// of a session): binding, then the driver, then what every reply gives back.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::call {

struct Send {
  ZQControlStruct* control;
  const transport::Procedure& procedure;
  uint32_t queue;
  uint32_t timeout;            // seconds
  int32_t timeoutMessage = 0;  // 0: the procedure's
  bool clientProperties = true;
  bool useCallLock = true;
};

// Binds the control record for a queue and fills the header (null: binding
// only). Returns the status list's code.
int bind(ZQControlStruct* control, uint32_t queue, transport::RequestHeader* header,
         bool useCallLock, ZQStatusList* status);

// Sends a bound request through the driver. With a reply: its cache id and
// operation time go into the control record, its status list is merged
// into status (replyCode, when given, receives the reply's own code first)
// and the cache id is recorded for the queue. Returns the reply (owned by
// the context), or null when none came back.
void* sendBound(const Send& send, void* args, ZQStatusList* status, int* replyCode = nullptr);

// bind, then sendBound: a request of the library's own. Returns the status
// list's code (2 without a reply); *reply is null without one.
int remoteStep(const Send& send, void* args, void** reply, ZQStatusList* status,
               int* replyCode = nullptr);

}  // namespace zq::call
