// The encrypted envelope of an RPC call: its records and the pure steps
// over bytes.
//
// How the call wrapper uses it (client):
//   1. envelopeApplies(...) decides; a binding without keys fails the
//      attempt with the re-key flag instead (BindingKeys::hasKeys).
//   2. Encode the call's arguments with their XDR routine into exactly
//      xdr_sizeof bytes; sealEnvelope(client key, bytes) gives the block
//      (size 0: 9008; an encoding failure is the caller's 9009).
//   3. Call envelopeProcedure(procedure) with EnvelopeArgs (the block and
//      the verifier; described in describe_envelope.h).
//   4. The answer is an EnvelopeReply, whose word the client ignores;
//      openEnvelope(server key, block) gives the plain reply bytes for the
//      call's result XDR routine.
// The server does the mirror image: it reads EnvelopeArgs, opens the block
// with the client key, seals its reply with the server key and answers with
// an EnvelopeReply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "security/buffer.h"
#include "zqapi/zq_security.h"

namespace zq::security {

// The records of an enciphered call (procedure number + 0x8000): the
// enciphered record and a word, in both directions.
struct EnvelopeArgs {
  uint32_t blockLength;
  unsigned char* block;
  int32_t verifier;
};
struct EnvelopeReply {
  uint32_t blockLength;
  unsigned char* block;
  uint32_t word;  // unused by the client
};

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

}  // namespace zq::security
