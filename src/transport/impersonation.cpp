#include "transport/impersonation.h"

#include <cstring>
#include <new>

#include "transport/state.h"

namespace zq::transport {
namespace {

std::string realUserOf(const ZQControlStruct* control) {
  return std::string(control->user, strnlen(control->user, kMaxRealUser));
}

}  // namespace

Impersonation* findImpersonation(ZQThreadContext* ctx, const ZQControlStruct* control) {
  TransportState* st =
      ctx && ctx->transport ? static_cast<TransportState*>(ctx->transport.get()) : nullptr;
  if (!st) return nullptr;
  const std::string user = realUserOf(control);
  for (Impersonation& r : st->impersonations) {
    if (r.server != control->server || r.realUser != user) continue;
    if (r.earlierCacheId == 0 || r.earlierCacheId == control->cacheId ||
        (r.sessionCacheId != 0 && r.sessionCacheId == control->cacheId))
      return &r;
  }
  return nullptr;
}

bool addImpersonation(ZQThreadContext* ctx, Impersonation record) {
  TransportState* st = stateOf(ctx);
  if (!st) return false;
  try {
    record.realUser.resize(strnlen(record.realUser.c_str(), kMaxRealUser));
    st->impersonations.push_back(std::move(record));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void removeImpersonation(ZQThreadContext* ctx, const Impersonation* record) {
  TransportState* st = stateOf(ctx);
  if (!st) return;
  if (st->impersonationInFlight == record) st->impersonationInFlight = nullptr;
  st->impersonations.remove_if([&](const Impersonation& r) { return &r == record; });
}

void setBindingCacheIds(ZQThreadContext* ctx, const ZQControlStruct* control, int32_t cacheId) {
  TransportState* st = stateOf(ctx);
  if (!st) return;
  for (uint32_t q = 0; q < kQueueCount; ++q) {
    for (auto& b : st->bindings[q]) {
      if (b->user != control->user || b->password != control->password ||
          b->server != control->server || b->authString != control->authString)
        continue;
      b->cacheId = cacheId;
      if (q == kQueueList) b->listCacheIds[35] = cacheId;
    }
  }
}

}  // namespace zq::transport
