#include "transport/wrapper.h"

#include <cstring>
#include <unordered_map>

#include "frame/frame.h"
#include "platform/platform.h"
#include "model/model.h"
#include "security/security.h"

namespace zq::transport {
namespace {

uint32_t slotKey(const Procedure& p, int version) {
  return (p.number << 4) | static_cast<uint32_t>(version);
}

struct SlotTable : std::unordered_map<uint32_t, std::pair<const Procedure*, void*>> {};

SlotTable* slotsOf(ZQThreadContext* ctx) {
  TransportState* st = stateOf(ctx);
  if (!st) return nullptr;
  if (!st->resultSlots) st->resultSlots = std::make_shared<SlotTable>();
  return static_cast<SlotTable*>(st->resultSlots.get());
}

}  // namespace

void* resultSlot(ZQThreadContext* ctx, const Procedure& p, int version) {
  SlotTable* slots = slotsOf(ctx);
  if (!slots) return nullptr;
  auto it = slots->find(slotKey(p, version));
  void* buffer;
  if (it == slots->end()) {
    buffer = zq::allocZeroed(1, p.replySize);
    if (!buffer) return nullptr;
    try {
      slots->emplace(slotKey(p, version), std::make_pair(&p, buffer));
    } catch (...) {
      zq::freeBlock(buffer);
      return nullptr;
    }
  } else {
    buffer = it->second.second;
    // Whatever the previous call left in its reply is released now.
    if (p.freeReply) p.freeReply(buffer);
  }
  memset(buffer, 0, p.replySize);
  return buffer;
}

void releaseResultSlots(ZQThreadContext* ctx) {
  TransportState* st =
      ctx && ctx->transport ? static_cast<TransportState*>(ctx->transport.get()) : nullptr;
  if (!st || !st->resultSlots) return;
  auto* slots = static_cast<SlotTable*>(st->resultSlots.get());
  for (auto& [key, entry] : *slots) {
    if (entry.first->freeReply) entry.first->freeReply(entry.second);
    zq::freeBlock(entry.second);
  }
  slots->clear();
}

int callWrapper(ZQThreadContext* ctx, ClientHandle& handle, const Procedure& p, int version,
                void* args, void* reply) {
  if (!ctx) return platform::kRpcCantSend;
  model::CodecScope scope(version, ctx);
  // The key exchange goes straight out: never enciphered, never limited.
  if (security::isKeyExchangeProcedure(p.number))
    return platform::rpcCall(handle.get(), p.number, p.args, args, p.reply, reply,
                             kDefaultCallTimeout);
  TransportState* st = stateOf(ctx);
  if (st && st->currentOptions && st->currentOptions->argumentLimit != 0) {
    size_t size = encodedSize(p, args, version);
    if (size == 0 || size > st->currentOptions->argumentLimit) {
      ctx->argumentTooLarge = 1;
      return platform::kRpcCantSend;
    }
  }
  int status = platform::kRpcSuccess;
  Binding* binding =
      st && ctx->currentQueue < kQueueCount ? st->current[ctx->currentQueue] : nullptr;
  if (security::sendThroughEnvelope(
          ctx, binding ? &binding->keys : nullptr, binding && binding->encryptionOn, version,
          handle.get(), p.number, p.args, args, p.reply, reply, kDefaultCallTimeout, &status))
    return status;
  return platform::rpcCall(handle.get(), p.number, p.args, args, p.reply, reply,
                           kDefaultCallTimeout);
}

void* callStub(ZQThreadContext* ctx, const Procedure& p, int version, ClientHandle& handle,
               void* args, int* rpcStatus) {
  void* reply = resultSlot(ctx, p, version);
  if (!reply) {
    *rpcStatus = platform::kRpcCantSend;
    return nullptr;
  }
  *rpcStatus = callWrapper(ctx, handle, p, version, args, reply);
  return *rpcStatus == platform::kRpcSuccess ? reply : nullptr;
}

}  // namespace zq::transport
