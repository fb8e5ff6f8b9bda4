// The remote procedure table. Client stubs and the reference server's
// dispatcher both come from it, so the server decodes exactly what the
// client encodes, in every protocol version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/rpc.h"
#include "transport/records.h"
#include "zqapi/zq_types.h"

namespace zq::transport {

struct Procedure {
  uint32_t number;
  int firstVersion;  // protocol versions that have it
  int lastVersion;
  // Record routines for both directions; the protocol version comes from
  // the codec session of the calling thread.
  platform::XdrProc args;
  platform::XdrProc reply;
  size_t argsSize;
  size_t replySize;
  // Where the reply's status list sits; null for none.
  ZQStatusList* (*statusOf)(void* reply);
  // Where the request header sits in each record; null for none (90 to 93).
  RequestHeader* (*argsHeader)(void* args);
  RequestHeader* (*replyHeader)(void* reply);
  // Releases what a decoded record holds (not the record itself).
  void (*freeArgs)(void* args);
  void (*freeReply)(void* reply);
  // Encoded size of an argument record; 0 when it cannot be encoded.
  size_t (*argsEncodedSize)(void* args, int version);
  uint32_t queue;  // default queue of its callers
  const char* name;
};

// Every procedure the library and the server know, by number.
std::span<const Procedure> procedures();
const Procedure* findProcedure(uint32_t number);
inline bool procedureInVersion(const Procedure& p, int version) {
  return version >= p.firstVersion && version <= p.lastVersion;
}

// Encoded size of an argument record in a protocol version (0 on failure).
inline size_t encodedSize(const Procedure& p, void* args, int version) {
  return p.argsEncodedSize ? p.argsEncodedSize(args, version) : 0;
}

}  // namespace zq::transport
