#include "security/lifecycle.h"

#include <new>

#include "frame/frame.h"
#include "security/errors.h"
#include "security/provider.h"

namespace zq::security {

SecurityState::~SecurityState() {
  if (provider) provider->endEncryption(&engine);
}

void* SecurityState::operator new(size_t size, const std::nothrow_t&) noexcept {
  return zq::alloc(size);
}

void SecurityState::operator delete(void* block) noexcept {
  zq::freeBlock(block);
}

int initializeContext(ZQThreadContext* ctx, ZQStatusList* status) {
  int rc = loadProvider();
  if (rc != kOk) return addError(status, rc);
  auto* state = new (std::nothrow) SecurityState;
  if (!state) return addError(status, kMsgNoMemory);
  const Provider& p = provider();
  rc = p.initEncryption(&state->engine);
  if (rc != kOk) {
    delete state;
    return addError(status, rc);
  }
  state->provider = &p;
  ctx->security.reset(state);
  return returnCode(status);
}

void releaseContext(ZQThreadContext* ctx) {
  if (ctx) ctx->security.reset();
}

SecurityState* stateOf(ZQThreadContext* ctx) {
  return ctx ? static_cast<SecurityState*>(ctx->security.get()) : nullptr;
}

ZQEncryptStateStruct* currentEngineState() {
  if (SecurityState* s = stateOf(currentContext())) return &s->engine;
  static ZQEncryptStateStruct processState{};
  return &processState;
}

}  // namespace zq::security
