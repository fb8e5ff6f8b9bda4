#include "security/envelope.h"

#include <cstdlib>
#include <cstring>

#include "security/errors.h"
#include "security/provider.h"
#include "security/xdr_bytes.h"

namespace zq::security {

bool envelopeApplies(bool bindingEncrypted, uint32_t serverVersion, bool externalProvider) {
  if (!bindingEncrypted) return false;
  return serverVersion >= 10 || (serverVersion >= 8 && externalProvider);
}

int sealEnvelope(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key, const uint8_t* plain,
                 size_t n, Buffer& block) {
  block.reset();
  if (n == 0) return kMsgBadEncodedSize;
  if (!key || !plain) return kMsgProtectArgumentMissing;
  if (n > UINT32_MAX - 128) return kMsgBadProtectedSize;
  unsigned char* out = nullptr;
  uint32_t length = 0;
  int rc = provider().encryptData(state, key, plain, static_cast<uint32_t>(n), &out, &length);
  if (rc != kOk) {
    free(out);
    return rc;
  }
  block.adopt(out, length);
  return kOk;
}

int openEnvelope(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key, const uint8_t* block,
                 size_t n, Buffer& plain) {
  plain.reset();
  if (!key || (!block && n)) return kMsgProtectArgumentMissing;
  if (n > UINT32_MAX) return kMsgIntegrityFailed;
  unsigned char* out = nullptr;
  uint32_t length = 0;
  int rc = provider().decryptData(state, key, block, static_cast<uint32_t>(n), &out, &length);
  if (rc != kOk) {
    free(out);
    return rc;
  }
  plain.adopt(out, length);
  return kOk;
}

namespace {

int encodeOpaqueAndWord(const uint8_t* block, size_t n, uint32_t word, Buffer& record) {
  if (!block && n) return kMsgProtectArgumentMissing;
  if (n > UINT32_MAX - 8) return kMsgBadEncoding;
  if (!record.allocate(xdr::opaqueSize(n) + 4)) return kMsgCopyNoMemory;
  uint8_t* at = xdr::putOpaque(record.data(), block, n);
  xdr::putU32(at, word);
  return kOk;
}

int decodeOpaqueAndWord(const uint8_t* record, size_t n, Buffer& block, uint32_t& word) {
  block.reset();
  xdr::Reader r(record, n);
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  if (!r.opaque(bytes, length) || !r.u32(word) || !r.atEnd()) return kMsgBadEncoding;
  return block.assign(bytes, length) ? kOk : kMsgCopyNoMemory;
}

}  // namespace

int encodeEnvelopeArguments(const uint8_t* block, size_t n, int32_t verifier, Buffer& record) {
  return encodeOpaqueAndWord(block, n, static_cast<uint32_t>(verifier), record);
}

int decodeEnvelopeArguments(const uint8_t* record, size_t n, Buffer& block, int32_t& verifier) {
  uint32_t word = 0;
  int rc = decodeOpaqueAndWord(record, n, block, word);
  verifier = static_cast<int32_t>(word);
  return rc;
}

int encodeEnvelopeReply(const uint8_t* block, size_t n, uint32_t word, Buffer& record) {
  return encodeOpaqueAndWord(block, n, word, record);
}

int decodeEnvelopeReply(const uint8_t* record, size_t n, Buffer& block, uint32_t& word) {
  return decodeOpaqueAndWord(record, n, block, word);
}

}  // namespace zq::security
