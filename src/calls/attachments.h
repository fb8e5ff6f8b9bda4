// Field values on their way to and from the server: attachment packing and
// inflation, password field protection. Shared by the entry and query calls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_types.h"

namespace zq::calls {

// What the preparation needs to know of the bound server.
struct ServerTraits {
  int version = 14;                // protocol version
  uint32_t maxAttachmentSize = 0;  // 0: no limit
  uint32_t clientCharset = 0;
  uint32_t serverCharset = 0;
};

// The traits of the server the control record is bound to.
ServerTraits boundServer(ZQThreadContext* ctx, ZQControlStruct* control);

// A prepared copy of a caller's field value list; released on scope exit.
class PreparedValues {
 public:
  PreparedValues() = default;
  ~PreparedValues();
  PreparedValues(const PreparedValues&) = delete;
  PreparedValues& operator=(const PreparedValues&) = delete;
  ZQFieldValueList& list() { return list_; }
  // Hands the list over (the caller releases it).
  ZQFieldValueList release();

 private:
  ZQFieldValueList list_{};
};

// Copies values (null: an empty list), packs attachments (from files and
// buffers, compressed), applies the server's attachment limit when
// checkLimit, and protects password fields 102 and 123. The caller's list is
// never changed. Returns 0 or the error's return code (its message added).
int prepareValues(const ServerTraits& server, const ZQFieldValueList* values, bool checkLimit,
                  PreparedValues& out, ZQStatusList* status);

// Returned values: attachments in buffers are inflated (failure: kMsgDecompressFailed, the
// call ends with 2); character values of field 102 are protected for the
// caller, except those exactly untouchedLength characters long (254 for
// whole entries, 30 for entry lists). A value that cannot be protected
// becomes the null value and its message is added. Returns the worst code.
int postProcessValues(ZQThreadContext* ctx, const ServerTraits& server, ZQFieldValueList* values,
                      size_t untouchedLength, ZQStatusList* status);

}  // namespace zq::calls
