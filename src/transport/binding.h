// Binding a control record to a server queue: binding records, the first
// contact with a new server, character sets, the request header.
#pragma once

#include "frame/frame.h"
#include "transport/records.h"
#include "zqapi/zq_defs.h"

namespace zq::transport {

struct Binding;

// What binding needs from the layer that sends requests: the remote steps
// of a first contact with a server (binding itself never sends).
class FirstContact {
 public:
  // Agrees encryption keys for a new binding whose encryption byte is on;
  // clears the byte when the server does not encrypt. The status list's code.
  virtual int exchangeKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                           Binding& binding, bool useCallLock, ZQStatusList* status) = 0;
  // True while a key exchange runs on the context: its own bindings leave
  // the first-contact settings to the binding that started it.
  virtual bool exchangingKeys(ZQThreadContext* ctx) = 0;
  // Asks the server for settings (procedure 36 without client properties).
  virtual int askSettings(ZQControlStruct* control, ZQServerInfoRequestList* request,
                          ZQServerInfoList* result, bool useCallLock, ZQStatusList* status) = 0;

 protected:
  ~FirstContact() = default;
};

// Binds the control record for a queue: the binding record (made and keyed
// on first use), the server's settings on first contact, character sets,
// the protected password and, when header is given, the request header.
// Returns the status list's code.
int bind(ZQControlStruct* control, uint32_t queue, RequestHeader* header, bool useCallLock,
         FirstContact& remote, ZQStatusList* status);

// Stores the control record's cache id in the binding of the queue.
void recordCacheId(ZQControlStruct* control, uint32_t queue);

// "7.5.00 Patch 004" -> 7, 5, 0, 4; false (fields zero) when malformed.
bool parseServerVersion(const char* text, int& major, int& minor, int& maintenance, int& patch);

}  // namespace zq::transport
