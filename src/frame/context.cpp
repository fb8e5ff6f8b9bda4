#include "frame/context.h"

#include <new>
#include <shared_mutex>
#include <unordered_set>

#include "frame/alloc.h"
#include "frame/status.h"

namespace zq {
namespace {

// Live contexts. A control record's context pointer is only dereferenced
// after it is found here, so a stale or foreign pointer is never read.
struct Registry {
  std::shared_mutex mutex;
  std::unordered_set<const void*> live;
};

Registry& registry() {
  static Registry* r = new Registry;  // outlives every static destructor
  return *r;
}

thread_local ZQThreadContext* t_current = nullptr;

}  // namespace

// Contexts live on the library heap so that out-of-memory tests reach them.
ZQThreadContext* createContext() {
  void* block = alloc(sizeof(ZQThreadContext));
  if (!block) return nullptr;
  auto* ctx = new (block) ZQThreadContext;
  try {
    std::unique_lock lock(registry().mutex);
    registry().live.insert(ctx);
  } catch (...) {
    ctx->~ZQThreadContext();
    freeBlock(block);
    return nullptr;
  }
  return ctx;
}

void destroyContext(ZQThreadContext* ctx) {
  if (!ctx) return;
  {
    std::unique_lock lock(registry().mutex);
    registry().live.erase(ctx);
  }
  if (t_current == ctx) t_current = nullptr;
  ctx->magic = 0;
  ctx->~ZQThreadContext();
  freeBlock(ctx);
}

bool isLiveContext(const void* ptr) {
  if (!ptr) return false;
  std::shared_lock lock(registry().mutex);
  if (!registry().live.count(ptr)) return false;
  return static_cast<const ZQThreadContext*>(ptr)->magic == kContextMagic;
}

ZQThreadContext* currentContext() { return t_current; }

void setCurrentContext(ZQThreadContext* ctx) { t_current = ctx; }

ZQThreadContext* findContext(ZQControlStruct* control, ZQStatusList* status) {
  if (!control) return currentContext();
  ZQThreadContext* ctx = control->context;
  if (!ctx || !isLiveContext(ctx)) {
    if (status) addError(status, kMsgBadContext);
    return nullptr;
  }
  setCurrentContext(ctx);
  return ctx;
}

}  // namespace zq
