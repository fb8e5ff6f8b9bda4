// Client stubs and the call wrapper.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "transport/procedures.h"
#include "transport/state.h"

namespace zq::transport {

// Default call time-out handed to the RPC library; the per-handle time-out
// set by the driver takes precedence.
inline constexpr uint32_t kDefaultCallTimeout = 25;
inline constexpr uint32_t kEncryptedProcedureBit = 0x8000;

// The reply buffer of (procedure, version) on this context: allocated on
// first use, released of its previous contents and zeroed before each call.
void* resultSlot(ZQThreadContext* ctx, const Procedure& p, int version);
// Releases every reply buffer of the context.
void releaseResultSlots(ZQThreadContext* ctx);

// Sends one request (the stub): returns the reply record, or null with the
// RPC status in *rpcStatus (argument limit: the context's too-large flag).
void* callStub(ZQThreadContext* ctx, const Procedure& p, int version, ClientHandle& handle,
               void* args, int* rpcStatus);

// The wrapper proper: argument limit, encryption, the RPC call.
int callWrapper(ZQThreadContext* ctx, ClientHandle& handle, const Procedure& p, int version,
                  void* args, void* reply);

}  // namespace zq::transport
