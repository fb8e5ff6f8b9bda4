#include "transport/lifecycle.h"

#include <cstring>

#include "frame/alloc.h"
#include "call/driver.h"
#include "transport/records.h"
#include "transport/state.h"
#include "transport/wrapper.h"

namespace zq::transport {
namespace {

constexpr uint32_t kProcEndSession = 47;

// Sends procedure 47 for the bound control record with a given cache id.
void sendEndSession(ZQControlStruct* control, uint32_t queue, bool rebind, int32_t cacheId) {
  const Procedure* p = findProcedure(kProcEndSession);
  if (!p) return;
  HeaderOnlyArgs args{};
  ZQStatusList ignored{0, nullptr};
  if (rebind) {
    if (ZQLoadRPCControlStruct(control, queue, 1, &args.header, &ignored) >= ZQ_RETURN_ERROR) {
      FreeZQStatusList(&ignored, 0);
      return;
    }
  }
  args.header.cacheId = cacheId;
  void* reply = nullptr;
  CallDescriptor d;
  d.control = control;
  d.stub = p;
  d.timeout = 1;
  d.timeoutMessage = 92;
  d.queue = queue;
  d.propertiesHeader = &args.header;
  d.args = &args;
  d.result = &reply;
  d.status = &ignored;
  ZQCallServer(d);
  FreeZQStatusList(&ignored, 0);
}

}  // namespace

// libtirpc needs no per-context runtime; the transport state is created on
// first use.
bool createRuntime(ZQThreadContext*) { return true; }

void endSessions(ZQControlStruct* control, ZQThreadContext* ctx) {
  TransportState* st = ctx->transport ? static_cast<TransportState*>(ctx->transport.get())
                                      : nullptr;
  if (!st) return;
  if (ctx->cacheIdManaged) {
    if (control->cacheId != 0) {
      HeaderOnlyArgs args{};
      ZQStatusList ignored{0, nullptr};
      if (ZQLoadRPCControlStruct(control, kQueueFast, 1, &args.header, &ignored) < ZQ_RETURN_ERROR)
        sendEndSession(control, kQueueFast, false, control->cacheId);
      FreeZQStatusList(&ignored, 0);
    }
    return;
  }
  // The bindings are replayed through the caller's record: keep its fields.
  ZQControlStruct saved;
  memcpy(&saved, control, sizeof saved);
  for (uint32_t q = 0; q < kQueueCount; ++q) {
    while (!st->bindings[q].empty()) {
      std::unique_ptr<Binding> b = std::move(st->bindings[q].front());
      st->bindings[q].pop_front();
      if (st->current[q] == b.get()) st->current[q] = nullptr;
      control->cacheId = b->cacheId;
      copyName(control->user, b->user.c_str(), sizeof control->user);
      copyName(control->password, b->password.c_str(), sizeof control->password);
      copyName(control->server, b->server.c_str(), sizeof control->server);
      copyName(control->authString, b->authString.c_str(), sizeof control->authString);
      // Rebinding finds the record again through the caller's fields.
      st->bindings[q].push_front(std::move(b));
      Binding* binding = st->bindings[q].front().get();
      if (q == kQueueList) {
        for (int32_t id : binding->listCacheIds)
          if (id != -1) sendEndSession(control, q, true, id);
      } else if (binding->cacheId != 0) {
        sendEndSession(control, q, true, binding->cacheId);
      }
      st->bindings[q].remove_if([&](auto& x) { return x.get() == binding; });
      if (st->current[q] == binding) st->current[q] = nullptr;
    }
  }
  memcpy(control->user, saved.user, sizeof saved.user);
  memcpy(control->password, saved.password, sizeof saved.password);
  memcpy(control->server, saved.server, sizeof saved.server);
  memcpy(control->authString, saved.authString, sizeof saved.authString);
  control->cacheId = saved.cacheId;
  for (auto& s : st->servers) s->dropHandle();
}

void releaseContext(ZQThreadContext* ctx) {
  releaseResultSlots(ctx);
  ctx->transport.reset();
}

}  // namespace zq::transport
