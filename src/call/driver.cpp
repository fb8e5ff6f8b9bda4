// The call driver: one attempt of a remote call, with its retries (version
// fallback, reconnect, re-key, encryption switch) and failure mapping.
#include "call/driver.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "diag/diag.h"
#include "frame/frame.h"
#include "call/identity.h"
#include "model/model.h"
#include "platform/platform.h"
#include "call/key_exchange.h"
#include "security/security.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zq::call {
namespace {

using transport::ClientHandle;
using transport::HandlePtr;
using transport::Procedure;
using transport::ServerRecord;
using transport::TransportState;

constexpr size_t kMaxText = 255;

std::string cut(std::string s) {
  if (s.size() > kMaxText) s.resize(kMaxText);
  return s;
}

bool hasNoHeader(uint32_t procedure) {
  return procedure >= 90 && procedure <= 93;
}

// Lowers the version of the server and of the queue's current binding.
void lowerVersion(TransportState* st, ServerRecord* server, uint32_t queue) {
  server->version--;
  if (st->current[queue]) st->current[queue]->version = server->version;
}

void resetVersion(TransportState* st, ServerRecord* server, uint32_t queue) {
  server->version = transport::kNewestVersion;
  if (st->current[queue]) st->current[queue]->version = transport::kNewestVersion;
}

// Releases the strings of an echoed request header that no caller reads.
void releaseEchoedStrings(transport::RequestHeader* h, int version) {
  if (!h || version < 11) return;
  auto release = [](char*& s) {
    zq::freeBlock(s);
    s = nullptr;
  };
  for (char*& s : h->localeBlock) release(s);
  if (version >= 12) {
    release(h->user);
    release(h->password);
    release(h->reserved);
  }
}

struct Attempt {
  ZQThreadContext* ctx;
  TransportState* st;
  CallDescriptor& d;
};

bool drive(Attempt& a, int depth);

// Step 5 and 11.9: the server does not know this program version.
bool fallBack(Attempt& a, ServerRecord* server, uint32_t queue, int rpcStatus,
              const std::string& creationText, bool fromCreation, int depth) {
  CallDescriptor& d = a.d;
  if (server->version > transport::kOldestVersion) {
    lowerVersion(a.st, server, queue);
    if (!fromCreation && server->version == transport::kOldestVersion && d.stub->number == 97) {
      addError(d.status, kMsgRpcFailure);
      return false;
    }
    if (drive(a, depth + 1)) return true;
    if (fromCreation) resetVersion(a.st, server, queue);
    return false;
  }
  resetVersion(a.st, server, queue);
  const bool managed = a.ctx->cacheIdManaged != 0;
  if (managed && rpcStatus == platform::kRpcProgVersMismatch)
    addError(d.status, kMsgNoUsableVersion, server->name.c_str());
  else if (!fromCreation || managed)
    addError(d.status, kMsgNoConnection, server->name.c_str());
  else
    addError(d.status, kMsgNoConnection, creationText.c_str());
  return false;
}

bool drive(Attempt& a, int depth) {
  ZQThreadContext* ctx = a.ctx;
  CallDescriptor& d = a.d;
  if (depth > 16) {  // every retry is one of the bounded cases; never loop
    addError(d.status, kMsgRpcFailure);
    return false;
  }
  ctx->argumentTooLarge = 0;

  ServerRecord* server = transport::findOrCreateServer(ctx, d.control->server);
  if (!server) {
    addError(d.status, kMsgNoMemory);
    return false;
  }
  const uint32_t queue = transport::resolveQueue(ctx, server, d.queue);
  ctx->currentQueue = queue;
  const uint32_t program = transport::programFor(ctx, server, queue);

  HandlePtr handle = server->handle();
  if (handle && handle->program() != program) {
    server->dropHandle();  // the same server under another program
    handle.reset();
  }
  if (!handle) {
    handle = transport::createHandle(ctx, server, program, server->version);
    a.st->lastTimeout = 0;
    if (handle) server->setHandle(handle);
  }
  if (!handle) {
    int status = platform::rpcCreateErrorStatus();
    std::string text = server->name;
    if (program != kProgramAdmin) text += " (" + std::to_string(program) + ")";
    text += " : " + platform::rpcCreateErrorText();
    if (status == platform::kRpcProgUnavailable || status == platform::kRpcProgVersMismatch ||
        (status == platform::kRpcProgNotRegistered && queue != kQueueAdmin))
      return fallBack(a, server, queue, status, cut(text), true, depth);
    addError(d.status, kMsgNoConnection, cut(text).c_str());
    return false;
  }

  ctx->passwordValue = 0;
  const int version = server->version;
  // The steps down to the server's version: a request they refuse never
  // leaves; a procedure only the server will refuse is sent as it is.
  const transport::Verdict verdict = transport::stepDown(*d.stub, d.args, version);
  if (verdict.passage == transport::Passage::refuse) {
    ctx->unsupportedMessage = verdict.message;
    addError(d.status, verdict.message);
    return false;
  }

  // A reply (one record) may take no more than the session's result bound.
  platform::rpcSetMaxRecord(handle->get(), ctx->settings.maxResultSize);
  if (d.timeout != a.st->lastTimeout) {
    platform::rpcSetTimeout(handle->get(), d.timeout);
    a.st->lastTimeout = d.timeout;
  }
  if (!hasNoHeader(d.stub->number) && d.stub->argsHeader)
    d.stub->argsHeader(d.args)->timeout = d.timeout;

  // A password protected for version 12 or later that reaches an older
  // server (this call stepped down) travels in the legacy form instead.
  transport::RequestHeader* header =
      !hasNoHeader(d.stub->number) && d.stub->argsHeader ? d.stub->argsHeader(d.args) : nullptr;
  char* protectedPassword = header ? header->password : nullptr;
  char legacy[security::kProtectedPasswordSize] = {};
  if (protectedPassword && version < static_cast<int>(security::kPasswordCipherVersion) &&
      strnlen(protectedPassword, sizeof legacy) > ZQ_MAX_PASSWORD_LENGTH) {
    strncpy(legacy, protectedPassword, sizeof legacy - 1);
    if (security::reprotectHeaderPasswordForLegacy(legacy, header->operationTime) == 0)
      header->password = legacy;
  }
  int rpcStatus = 0;
  void* reply = verdict.passage == transport::Passage::emulate
                    ? transport::emulateListWithAlias(ctx, *handle, d.args, &rpcStatus)
                    : transport::callStub(ctx, *d.stub, version, *handle, d.args, &rpcStatus);
  *d.result = reply;
  if (header) header->password = protectedPassword;
  explicit_bzero(legacy, sizeof legacy);

  if (!reply) {
    if (ctx->argumentTooLarge) {
      addError(d.status, kMsgBadEncodedSize);
      return false;
    }
    // An envelope that failed on this side (not sealed, or a reply that does
    // not decipher or decode): the request may have run, so no retry.
    if (int error = security::takeEnvelopeError(ctx)) {
      addError(d.status, error);
      return false;
    }
    if (!server->handle()) {  // closed meanwhile from another thread
      if (d.status->count == 0) addError(d.status, kMsgTimeoutRetrieve);
      return false;
    }
    int status = 0, detail = 0;
    platform::rpcLastError(handle->get(), &status, &detail);
    if (ctx->rekeyNeeded ||
        (status == platform::kRpcAuthError && detail == platform::kAuthRejectedCred)) {
      ctx->rekeyNeeded = 0;
      // Keys rejected while the keys are being agreed: renegotiating would
      // run this exchange again, and again, without end.
      if (d.rekeyed || exchangingKeys(ctx) || security::isKeyExchangeProcedure(d.stub->number)) {
        server->dropHandle();
        addError(d.status, kMsgKeyAgreement);
        return false;
      }
      // Renegotiating binds again, which protects the password anew under a
      // new operation time; the request keeps the form it was built with.
      char* original = header ? header->password : nullptr;
      char copy[sizeof ctx->protectedPassword] = {};
      if (original) strncpy(copy, original, sizeof copy - 1);
      const bool renegotiated =
          renegotiateKeys(ctx, d.control, d.queue, d.status) < ZQ_RETURN_ERROR;
      bool ok = false;
      if (renegotiated) {
        if (header) header->password = original ? copy : nullptr;
        d.rekeyed = 1;
        ok = drive(a, depth + 1);
        if (header) header->password = original;
      }
      if (original == ctx->protectedPassword) memcpy(ctx->protectedPassword, copy, sizeof copy);
      explicit_bzero(copy, sizeof copy);
      return ok;
    }
    if (status == platform::kRpcAuthError &&
        (detail == platform::kAuthBadCred || detail == platform::kAuthTooWeak)) {
      if (d.encryptionSwitched) {
        server->dropHandle();
        addError(d.status, kMsgKeyAgreement);
        return false;
      }
      transport::Binding* binding = a.st->current[queue];
      if (detail == platform::kAuthBadCred) {
        if (binding) binding->encryptionOn = false;
      } else {
        if (!security::providerLoaded()) {
          addError(d.status, kMsgEncryptionRequired);
          addError(d.status, kMsgNoEncryptionLibrary);
          return false;
        }
        if (binding) binding->encryptionOn = true;
      }
      d.reconnected = 1;
      d.encryptionSwitched = 1;
      return drive(a, depth + 1);
    }
    if (d.reconnected) {
      addError(d.status, kMsgRpcFailure, cut(platform::rpcErrorText(handle->get())).c_str());
      server->dropHandle();
      return false;
    }
    server->dropHandle();
    if (status == platform::kRpcTimedOut) {
      addError(d.status, d.timeoutMessage, server->name.c_str());
      return false;
    }
    // Sent again, the next chunk would come instead of the lost one.
    if (d.continuation) {
      addError(d.status, kMsgRpcFailure, cut(platform::rpcErrorText(handle->get())).c_str());
      return false;
    }
    if (status == platform::kRpcProgUnavailable || status == platform::kRpcProgVersMismatch)
      return fallBack(a, server, queue, status, "", false, depth);
    if (ctx->noReconnect) {
      addError(d.status, kMsgNoMemory);
      return false;
    }
    d.reconnected = 1;
    return drive(a, depth + 1);
  }

  if (!hasNoHeader(d.stub->number) && d.stub->replyHeader)
    releaseEchoedStrings(d.stub->replyHeader(reply), version);
  transport::stepUp(ctx, *d.stub, version);
  if (d.stub->statusOf) diag::captureServerLog(ctx, d.stub->statusOf(reply), d.status);
  return true;
}

// The client properties every call sends, in their order on the wire, into
// tags and texts (room for ClientPropertyBlock::kMax); returns how many. A
// native authentication text, asked afresh each call, goes after the first.
uint32_t chooseClientProperties(ZQThreadContext* ctx, ZQControlStruct* control,
                                transport::ServerOptions* options, uint32_t* tags,
                                const char** texts) {
  uint32_t n = 0;
  tags[n] = 2;
  texts[n++] = clientIdentityText(ctx, control);
  if (transport::Impersonation* imp = transport::findImpersonation(ctx, control);
      imp && !imp->impersonated.empty()) {
    tags[n] = 1;
    texts[n++] = imp->impersonated.c_str();
  }
  if (options && !options->transactionHandle.empty()) {
    tags[n] = 60037;
    texts[n++] = options->transactionHandle.c_str();
  }
  return n;
}

// Appends the client properties; false (with the list released) on failure.
bool appendClientProperties(ZQThreadContext* ctx, ZQControlStruct* control,
                            transport::ServerOptions* options, ZQPropList* props,
                            ZQStatusList* status) {
  auto fail = [&](int32_t message) {
    addError(status, message);
    // The Free family leaves the block of an empty list alone: a first entry
    // that failed half-way leaves one behind.
    if (props->count == 0) {
      zq::freeBlock(props->items);
      props->items = nullptr;
    }
    zq::model::release(*props);
    return false;
  };
  auto push = [&](uint32_t tag, const char* text) {
    auto* items = static_cast<ZQPropStruct*>(
        zq::reallocate(props->items, (props->count + 1) * sizeof(ZQPropStruct)));
    if (!items) return false;
    props->items = items;
    ZQPropStruct& p = items[props->count];
    p.propertyTag = tag;
    p.value.dataType = ZQ_DATA_TYPE_CHAR;
    p.value.u.charValue = dupString(text);
    if (!p.value.u.charValue) return false;
    props->count++;
    return true;
  };
  uint32_t tags[transport::ClientPropertyBlock::kMax];
  const char* texts[transport::ClientPropertyBlock::kMax];
  const uint32_t n = chooseClientProperties(ctx, control, options, tags, texts);
  for (uint32_t i = 0; i < n; ++i) {
    if (!push(tags[i], texts[i])) return fail(kMsgNoMemory);
    if (i == 0 && ctx->nativeAuthSource) {
      char* text = nullptr;
      if (ctx->nativeAuthSource(1, &text) != 0 || !text) return fail(8762);
      if (!push(0, text)) return fail(kMsgNoMemory);
    }
  }
  return true;
}

// Points props at the context's property block, rebuilt only when a
// property changed since the last call: the same bytes go out without an
// allocation per call. False when the block cannot serve this call (a
// nested call while it is sent, properties already in the header, a native
// authentication source asked afresh each time): the caller builds them.
bool useKeptProperties(ZQThreadContext* ctx, TransportState* st, ZQControlStruct* control,
                       transport::ServerOptions* options, ZQPropList* props) {
  transport::ClientPropertyBlock& block = st->clientProperties;
  if (ctx->nativeAuthSource || props->count != 0 || props->items) return false;
  if (!block.mutex.try_lock()) return false;
  if (block.inUse) {
    block.mutex.unlock();
    return false;
  }
  std::unique_lock<std::recursive_mutex> held(block.mutex, std::adopt_lock);
  uint32_t tags[transport::ClientPropertyBlock::kMax];
  const char* texts[transport::ClientPropertyBlock::kMax];
  const uint32_t n = chooseClientProperties(ctx, control, options, tags, texts);
  bool same = n == block.count;
  for (uint32_t i = 0; i < n && same; ++i)
    same = block.tags[i] == tags[i] && block.texts[i] == texts[i];
  if (!same) {
    block.count = 0;
    try {
      for (uint32_t i = 0; i < n; ++i) block.texts[i].assign(texts[i]);
    } catch (...) {
      return false;
    }
    for (uint32_t i = 0; i < n; ++i) {
      block.tags[i] = tags[i];
      ZQPropStruct& p = block.items[i];
      p = ZQPropStruct{};
      p.propertyTag = tags[i];
      p.value.dataType = ZQ_DATA_TYPE_CHAR;
      p.value.u.charValue = block.texts[i].data();
    }
    block.count = n;
  }
  block.inUse = true;
  held.release();  // unlocked when the call is done with the block
  *props = ZQPropList{block.count, block.items};
  return true;
}

bool run(CallDescriptor& d, bool lock) {
  ZQThreadContext* ctx = zq::findContext(d.control, nullptr);
  if (!ctx) return false;
  TransportState* st = transport::stateOf(ctx);
  if (!st) {
    addError(d.status, kMsgNoMemory);
    return false;
  }
  transport::ServerOptions* options = transport::findOptions(ctx, d.control->server);
  bool appended = false, kept = false;
  if (options && options->wantsClientProperties && d.propertiesHeader) {
    ZQPropList* props = &d.propertiesHeader->properties;
    kept = useKeptProperties(ctx, st, d.control, options, props);
    if (!kept && !appendClientProperties(ctx, d.control, options, props, d.status)) return false;
    appended = true;
  }
  if (d.propertiesHeader) {
    // An impersonated call runs in the impersonation's own session.
    transport::Impersonation* imp = nullptr;
    if (appended) imp = transport::findImpersonation(ctx, d.control);
    if (imp && imp->impersonated.empty()) imp = nullptr;
    if (imp && imp->sessionCacheId != 0) d.propertiesHeader->cacheId = imp->sessionCacheId;
    st->impersonationInFlight = imp;
  }
  diag::serverLogMarker(ctx, true, d.status);
  bool ok;
  {
    std::unique_lock<std::recursive_mutex> callLock(ctx->callLock, std::defer_lock);
    if (lock) callLock.lock();
    ctx->noReconnect = 0;
    Attempt a{ctx, st, d};
    ok = drive(a, 0);
  }
  diag::serverLogMarker(ctx, false, d.status);
  if (!ok && d.propertiesHeader) st->impersonationInFlight = nullptr;
  if (kept) {
    d.propertiesHeader->properties = ZQPropList{0, nullptr};
    st->clientProperties.inUse = false;
    st->clientProperties.mutex.unlock();
  } else if (appended) {
    zq::model::release(d.propertiesHeader->properties);
  }
  return ok;
}

}  // namespace

bool callServer(CallDescriptor& call) {
  return run(call, true);
}
bool callServerUnlocked(CallDescriptor& call) {
  return run(call, false);
}

}  // namespace zq::call
