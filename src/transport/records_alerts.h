// Argument and reply records of the alert procedures (102 to 104, 115; an
// alert is created through procedure 3) and of export and import (34, 35,
// 124). Strings and bytes are borrowed in requests the client builds and
// owned in decoded records.
#pragma once

#include "transport/records.h"
#include "zqapi/zq_export.h"

namespace zq::transport {

// Procedures 102 and 103: a listener's registration.
struct AlertRegistrationArgs {
  RequestHeader header;
  char* clientAddress;  // at most 64 characters
  uint32_t port;
  uint32_t flags;
  char* serverAddress;  // at most 15 characters
};

// Procedure 104: the users registered for alerts.
struct AlertUsersReply {
  RequestHeader header;
  ZQAccessNameList users;
  ZQStatusList status;
};

// Procedure 115: alert entries matching a qualification (sent in the
// version-7 form whatever the version).
struct AlertCountArgs {
  RequestHeader header;
  ZQQualifierStruct qualifier;
};
struct AlertCountReply {
  RequestHeader header;
  uint32_t count;
  ZQStatusList status;
};

// Procedure 34: an export. The reply's bytes are one slice of the export;
// the first slice of a version-8-or-later server begins with two big-endian
// words, the compression marker and the length of what follows.
struct ExportArgs {
  RequestHeader header;
  ZQStructItemList items;
  char* displayTag;  // empty: none
  uint32_t viewType;
  uint32_t lockType;
  char* lockKey;
};
struct ExportReply {
  RequestHeader header;
  uint32_t length;
  unsigned char* bytes;
  ZQStatusList status;
};

// Procedures 35 and 124: one slice of an import text (compressed or not);
// the header's last-chunk byte marks the slice that ends it.
struct ImportArgs {
  RequestHeader header;
  ZQStructItemList items;
  uint32_t length;
  unsigned char* bytes;
  uint32_t option;
};

}  // namespace zq::transport
