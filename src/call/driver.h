// The call frame's remote step: binding, the call driver with its retries
// and failure mapping, and the end of a call.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "frame/context.h"
#include "transport/procedures.h"

namespace zq {

// The values the driver works on for one attempt.
struct CallDescriptor {
  ZQControlStruct* control = nullptr;
  const transport::Procedure* stub = nullptr;  // the procedure, newest version
  uint8_t reconnected = 0;
  uint8_t rekeyed = 0;
  uint8_t encryptionSwitched = 0;
  uint32_t timeout = 0;         // seconds
  int32_t timeoutMessage = 93;  // 92 changes, 93 retrievals, 94 queries
  uint32_t queue = kQueueFast;
  transport::RequestHeader* propertiesHeader = nullptr;  // receives client properties
  void* args = nullptr;
  void** result = nullptr;  // the reply record, owned by the thread context
  ZQStatusList* status = nullptr;
};

// Runs the driver under the context's call lock; true when a reply came back.
bool ZQCallServer(CallDescriptor& call);
// The same without the call lock (nested calls of a binding, re-keying).
bool ZQCallServerUnlocked(CallDescriptor& call);
// Ends an exported call: trace-log epilogue, then the return code.
int ZQFinishCall(ZQThreadContext* ctx, int rc, ZQStatusList* status);

// Binds the control record for a queue and fills the request header.
int ZQLoadRPCControlStruct1(ZQControlStruct* control, uint32_t queue, int programSelector,
                            transport::RequestHeader* header, bool useCallLock,
                            ZQStatusList* status);
int ZQLoadRPCControlStruct(ZQControlStruct* control, uint32_t queue, int programSelector,
                           transport::RequestHeader* header, ZQStatusList* status);
// Stores the control record's cache id in the binding of the queue.
void ZQRecordCacheId(ZQControlStruct* control, uint32_t queue);

// The common remote part of an exported call (frame steps 5 to 8): binds,
// calls, takes the cache id and merges the server's status list into the
// caller's. Returns the caller's return code and leaves the reply in *reply
// (null when none came back). Argument records begin with the header.
struct RemoteCall {
  ZQControlStruct* control;
  const transport::Procedure* procedure;
  uint32_t queue;
  uint32_t timeout;
  int32_t timeoutMessage;
  bool clientProperties = true;
  bool useCallLock = true;
  // Optional: fills what binding leaves empty (the chunk words of chunked
  // retrievals) in the freshly bound header, just before the call.
  std::function<void(transport::RequestHeader*)> prepare = {};
  // Optional: receives the return code of the reply's own status list,
  // before it is merged into the caller's.
  int* replyCode = nullptr;
};
int callRemote(const RemoteCall& call, void* args, void** reply, ZQStatusList* status);

// Frame entry of exported calls: status list null gives 4, the list is
// emptied, the context looked up (null: 3). The entry holds the context's
// call lock until the call returns, so that two threads sharing a control
// record never check it while the other binds it.
struct CallEntry {
  int rc = 0;
  ZQThreadContext* ctx = nullptr;
  std::unique_lock<std::recursive_mutex> lock;
  bool ok() const { return ctx != nullptr; }
};
CallEntry enterCall(ZQControlStruct* control, ZQStatusList* status);

}  // namespace zq
