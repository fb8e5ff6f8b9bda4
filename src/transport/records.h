// Request header and the argument and reply records of the procedures.
// Each record begins with the header (except procedures 90 to 93); a reply
// echoes it, then carries the results, then the status list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "security/security.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_types.h"

namespace zq::transport {

// The 27-word request header of the newest protocol version. Strings point
// into the control record while a request is built (not owned); in a
// decoded record they are owned and released with the record.
struct RequestHeader {
  int32_t cacheId;
  int32_t operationTime;
  char* user;
  char* password;         // protected (never the plain password)
  ZQByteList clientInfo;  // type 7: "%u:%s:%s" with its terminator
  char* reserved;
  char* localeBlock[6];  // locale, charSet, localeExtra1..4
  uint32_t logMask;
  uint32_t clientOption;
  uint32_t clientType;
  uint32_t timeout;
  ZQPropList properties;
  int32_t callWordA;      // no call uses it yet
  uint32_t continuation;  // reply: its first value continues the previous reply's last
  uint32_t callWordC;     // no call uses it yet
  uint32_t flags;         // bit 0: header flag
  uint32_t responseSize;  // largest reply the client takes in a chunked retrieval
  int32_t chunkToken;     // 0 on a first request, then what the previous reply carried
  uint8_t lastChunk;      // 1 after binding; a reply (or upload) that completes the transfer
};

// The continuation word of a reply of procedure 67: its first value
// continues the last value of the previous reply (a long text cut at the
// reply's limit). Without the mark two whole values of one field would look
// like a cut one.
inline constexpr uint32_t kContinuesPreviousValue = 1;

// Procedure 36: server settings.
struct ServerInfoArgs {
  RequestHeader header;
  ZQServerInfoRequestList settings;
};
struct ServerInfoReply {
  RequestHeader header;
  ZQServerInfoList settings;
  ZQStatusList status;
};

// Procedures answered with the header and the status list only (47 among them).
struct HeaderOnlyArgs {
  RequestHeader header;
};
struct StatusReply {
  RequestHeader header;
  ZQStatusList status;
};

// Procedures 95 and 96: the two steps of the encryption key exchange (97,
// the encryption information, uses the records of procedure 36). They never
// travel in the envelope.
inline constexpr size_t kKeyRandomSize = 20;
struct KeyHelloArgs {
  RequestHeader header;
  uint8_t clientRandom[kKeyRandomSize];
};
struct KeyHelloReply {
  RequestHeader header;
  uint8_t serverRandom[kKeyRandomSize];
  int32_t word;
  ZQStatusList status;
};
struct KeyTransferArgs {
  RequestHeader header;
  int32_t verifier;
  uint32_t secretLength;
  unsigned char* secret;  // the secret under the server's public key
};
struct KeyTransferReply {
  RequestHeader header;
  uint32_t blockLength;
  unsigned char* block;  // the verifier under the server key
  ZQStatusList status;
};

// The envelope of an enciphered call belongs to security, which reads and
// writes it; named here with the other records of the wire.
using EnvelopeArgs = security::EnvelopeArgs;
using EnvelopeReply = security::EnvelopeReply;

}  // namespace zq::transport
