// The encrypted envelope of an RPC call, as pure functions over bytes.
//
// How the call wrapper uses it (client):
//   1. envelopeApplies(...) decides; a binding without keys fails the
//      attempt with the re-key flag instead (BindingKeys::hasKeys).
//   2. Encode the call's arguments with their XDR routine into exactly
//      xdr_sizeof bytes; sealEnvelope(client key, bytes) gives the block
//      (size 0: 9008; an encoding failure is the caller's 9009).
//   3. Call envelopeProcedure(procedure) with the arguments record
//      (variable-length opaque block, then the verifier as a signed 32-bit
//      word): encodeEnvelopeArguments gives its XDR bytes, or send the block
//      with xdr_bytes and the verifier with xdr_int.
//   4. The reply record is an opaque block and an unsigned word the client
//      ignores (decodeEnvelopeReply); openEnvelope(server key, block) gives
//      the plain reply bytes for the call's result XDR routine.
// The server does the mirror image: decodeEnvelopeArguments, openEnvelope
// with the client key, sealEnvelope with the server key,
// encodeEnvelopeReply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "security/buffer.h"
#include "zqapi/zq_security.h"

namespace zq::security {

inline constexpr uint32_t kEnvelopeProcedureBit = 0x8000;

constexpr uint32_t envelopeProcedure(uint32_t procedure) {
  return procedure | kEnvelopeProcedureBit;
}
constexpr bool isEnvelopeProcedure(uint32_t procedure) {
  return (procedure & kEnvelopeProcedureBit) != 0;
}
constexpr uint32_t innerProcedure(uint32_t procedure) {
  return procedure & ~kEnvelopeProcedureBit;
}

// Whether a call goes through the envelope: the binding encrypts and the
// server speaks version 10 or more, or 8 or 9 with an external provider.
bool envelopeApplies(bool bindingEncrypted, uint32_t serverVersion, bool externalProvider);

// Length of a DES envelope block for n plain bytes.
constexpr size_t desEnvelopeLength(size_t n) {
  return 8 * (n / 8 + 1) + 24;
}

// Enciphers plain bytes with EncryptData under key (9008 for no bytes).
int sealEnvelope(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key, const uint8_t* plain,
                 size_t n, Buffer& block);
// Deciphers a block with DecryptData under key (9004 on a MAC mismatch).
int openEnvelope(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key, const uint8_t* block,
                 size_t n, Buffer& plain);

// XDR forms of the envelope records. Decoding is bounded by the bytes given
// and refuses malformed records with 9009.
int encodeEnvelopeArguments(const uint8_t* block, size_t n, int32_t verifier, Buffer& record);
int decodeEnvelopeArguments(const uint8_t* record, size_t n, Buffer& block, int32_t& verifier);
int encodeEnvelopeReply(const uint8_t* block, size_t n, uint32_t word, Buffer& record);
int decodeEnvelopeReply(const uint8_t* record, size_t n, Buffer& block, uint32_t& word);

}  // namespace zq::security
