#include "call/identity.h"

#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <random>

#include "frame/frame.h"
#include "platform/platform.h"
#include "security/security.h"
#include "transport/transport.h"

namespace zq {
namespace {

constexpr const char* kSourceIdKey = "apiSourceID";

// A new 30-character identity: "AP", then parts of the host address, the
// time, the processor clock and a process-wide counter.
std::string generateIdentity(const std::string& address) {
  static std::atomic<uint32_t> counter{std::random_device{}()};
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::identityGenerator));
  unsigned a = 0, b = 0, c = 0, d = 0;
  sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
  char text[64];
  snprintf(text, sizeof text, "AP%02X%02X%02X%02X%08lX%08lX%04X", a & 0xff, b & 0xff, c & 0xff,
           d & 0xff, static_cast<unsigned long>(time(nullptr)) & 0xffffffffUL,
           static_cast<unsigned long>(clock()) & 0xffffffffUL, counter.fetch_add(1) & 0xffff);
  return std::string(text).substr(0, 30);
}

// Loads the installation's identity, or creates and stores one. Empty when
// neither works.
std::string sourceIdentity() {
  std::string host = platform::localHostName();
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto stored = platform::configValue(kSourceIdKey);
    if (stored && !stored->empty()) {
      std::string plain;
      if (security::unprotectSourceIdentity(*stored, plain)) {
        // number,host,identity
        size_t c1 = plain.find(','), c2 = c1 == std::string::npos ? c1 : plain.find(',', c1 + 1);
        if (c2 != std::string::npos) {
          std::string h = plain.substr(c1 + 1, c2 - c1 - 1);
          std::string id = plain.substr(c2 + 1);
          if (h == host && !id.empty() && h.size() <= 64 && id.size() <= 128) return id;
        }
      }
      platform::setConfigValue(kSourceIdKey, "");  // unusable: start again
      continue;
    }
    std::string id = generateIdentity(platform::localHostAddress());
    std::string plain = "1," + host + "," + id;
    std::string protectedText = security::protectSourceIdentity(plain);
    if (protectedText.empty() || protectedText.size() > 511 ||
        !platform::setConfigValue(kSourceIdKey, protectedText))
      return "";
    return id;
  }
  return "";
}

}  // namespace

std::string clientIdentity(ZQThreadContext* ctx, ZQControlStruct* control) {
  return clientIdentityText(ctx, control);
}

const char* clientIdentityText(ZQThreadContext* ctx, ZQControlStruct* control) {
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::clientIdentity));
  if (!ctx->clientIdentity[0] && ctx->identityGeneration <= 1) {
    ctx->identityGeneration++;
    copyName(ctx->clientIdentity, sourceIdentity().c_str(), sizeof ctx->clientIdentity);
  }
  if (ctx->clientIdentity[0]) return ctx->clientIdentity;
  if (!ctx->clientHostIdentity[0]) {
    transport::ServerOptions* options =
        control ? transport::findOptions(ctx, control->server) : nullptr;
    bool wants = options && options->wantsClientProperties;
    std::string host = ctx->settings.clientType == 9 && !wants ? std::string(ctx->clientIdentity)
                                                               : platform::localHostAddress();
    copyName(ctx->clientHostIdentity, host.c_str(), sizeof ctx->clientHostIdentity);
  }
  return ctx->clientHostIdentity;
}

}  // namespace zq
