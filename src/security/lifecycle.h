// What the session calls need from the security subsystem, and the
// per-context engine state.
#pragma once

#include "frame/frame.h"
#include "zqapi/zq_security.h"

namespace zq::security {

struct Provider;

// The encryption engine state a thread context owns.
struct SecurityState : SubsystemState {
  ZQEncryptStateStruct engine{};
  const Provider* provider = nullptr;  // set once InitEncryption succeeded
  // Error of the last envelope that failed on this side of the wire (the
  // driver reports it instead of an RPC failure); 0 when none.
  int envelopeError = 0;
  // Key exchanges running on this context (nested ones included).
  int handshakeDepth = 0;
  ~SecurityState() override;

  // On the library heap, so that out-of-memory tests reach it.
  static void* operator new(size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* block) noexcept;
};

// Loads the encryption provider once per process (9011 when incomplete) and
// prepares the context's engine state. Returns the status list's code.
int initializeContext(ZQThreadContext* ctx, ZQStatusList* status);
void releaseContext(ZQThreadContext* ctx);

// The context's engine state, or null before initialization.
SecurityState* stateOf(ZQThreadContext* ctx);

// Engine state for provider calls: the current context's, or a process-wide
// one when no context is current (the protection routines run without one).
ZQEncryptStateStruct* currentEngineState();

}  // namespace zq::security
