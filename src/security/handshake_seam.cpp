#include "security/handshake_seam.h"

#include <cstring>

#include "transport/state.h"

namespace zq::security {

// Until the key exchange is wired in, no binding encrypts and passwords
// travel as the legacy path copies them.
bool providerLoaded() {
  return false;
}

int handshake(ZQThreadContext*, ZQControlStruct*, uint32_t, transport::Binding& binding, bool,
              ZQStatusList*) {
  binding.encryptionOn = false;
  return ZQ_RETURN_OK;
}

int renegotiateKeys(ZQThreadContext*, ZQControlStruct*, uint32_t, ZQStatusList*) {
  return ZQ_RETURN_OK;
}

void protectHeaderPassword(const char* password, int32_t, bool, char out[121]) {
  memset(out, 0, 121);
  if (password) strncpy(out, password, 30);
}

std::string protectSourceIdentity(const std::string& plain) {
  return plain;
}

bool unprotectSourceIdentity(const std::string& stored, std::string& plain) {
  plain = stored;
  return true;
}

}  // namespace zq::security
