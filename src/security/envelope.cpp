#include "security/envelope.h"

#include <cstdlib>
#include <cstring>

#include "security/errors.h"
#include "security/provider.h"

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

}  // namespace zq::security
