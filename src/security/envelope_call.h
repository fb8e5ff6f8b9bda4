// The envelope on the wire: a call sent through it (the call wrapper's
// encryption step), and the record helpers both sides need.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/frame.h"
#include "platform/platform.h"
#include "security/buffer.h"
#include "security/handshake.h"

struct __rpc_client;

namespace zq::security {

// The key exchange itself never travels in the envelope.
constexpr bool isKeyExchangeProcedure(uint32_t procedure) {
  return procedure >= kProcedureKeyHello && procedure <= kProcedureEncryptionInfo;
}

// Encodes a record with its XDR routine into a buffer of exactly
// xdr_sizeof bytes: 9008 when that is 0, 9009 when the encoding fails,
// 300 without memory.
int encodeRecord(platform::XdrProc proc, void* record, Buffer& out);
// Decodes bytes into a record with its XDR routine (the record is zeroed
// first). 9009 when they do not decode; the record is then released again.
int decodeRecord(platform::XdrProc proc, const uint8_t* data, size_t n, void* record);

// One call through the envelope: the arguments encoded and enciphered with
// the client key, procedure + 0x8000 called, the answer deciphered with the
// server key and decoded into reply. Returns the RPC status; a failure on
// this side of the wire returns a non-zero status with its error number
// (9004 reply not authentic, 9008, 9009, 300, ...) in *error.
int callThroughEnvelope(ZQThreadContext* ctx, __rpc_client* client, uint32_t procedure,
                        platform::XdrProc encode, void* args, platform::XdrProc decode, void* reply,
                        const BindingKeys& keys, uint32_t timeoutSeconds, int* error);

}  // namespace zq::security
