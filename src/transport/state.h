// Connection caches of one thread context: server records, binding records
// per queue, server option records.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "frame/frame.h"
#include "security/security.h"
#include "transport/impersonation.h"

struct __rpc_client;  // CLIENT of the RPC library

namespace zq::transport {

inline constexpr int kNewestVersion = 14;
inline constexpr int kOldestVersion = 7;

// A client handle shared by the server record and any call using it, so
// that closing the connections from another thread never destroys a handle
// under a running call: the socket is shut down (the call fails at once)
// and the handle is destroyed when the last user lets go.
class ClientHandle {
 public:
  ClientHandle(__rpc_client* client, uint32_t program);
  ~ClientHandle();
  ClientHandle(const ClientHandle&) = delete;
  ClientHandle& operator=(const ClientHandle&) = delete;
  __rpc_client* get() const { return client_; }
  uint32_t program() const { return program_; }
  // Makes every pending and later call on this handle fail promptly.
  void shutdown();

 private:
  __rpc_client* client_;
  uint32_t program_;
  int socket_;
};

using HandlePtr = std::shared_ptr<ClientHandle>;

struct ServerRecord {
  std::string name;
  uint32_t port = 0;  // 0: ask the port mapper
  int version = kNewestVersion;
  uint32_t program = 0;  // private program number; 0: none

  // The handle slot is read and written under handleMutex only; a call
  // takes its own reference for the duration of the RPC.
  HandlePtr handle() const;
  void setHandle(HandlePtr h);
  // Clears the slot and shuts the connection down; true when there was one.
  bool dropHandle();

 private:
  mutable std::mutex handleMutex_;
  HandlePtr handle_;
};

struct Binding {
  std::string user, password, authString, server;
  int version = kNewestVersion;
  int32_t cacheId = 0;
  bool encryptionOn = true;
  // The negotiated key records, released with the binding.
  security::BindingKeys keys;
  bool provisional = false;              // list queue chosen before any other queue
  std::array<int32_t, 36> listCacheIds;  // list queue only
  Binding() { listCacheIds.fill(-1); }
};

struct ServerOptions {
  std::string name;
  std::string language;  // at most 32 characters
  int32_t localizedServer = 0;
  int major = 0, minor = 0, maintenance = 0, patch = 0;
  bool wantsClientProperties = false;
  uint32_t argumentLimit = 0;      // 0: no limit
  uint32_t maxAttachmentSize = 0;  // 0: no limit
  std::string transactionHandle;   // at most 128 characters
  std::string item139;
  int32_t entryLimit = -1;  // setting 182 once the ordinal export 840 read it
};

// The last protected request-header password (see binding).
struct PasswordCache {
  bool valid = false;
  bool legacy = false;
  int32_t operationTime = 0;
  std::string plain;
  char protectedText[121] = {};
  ~PasswordCache() {
    std::fill(plain.begin(), plain.end(), '\0');
    std::fill(std::begin(protectedText), std::end(protectedText), '\0');
  }
};

// The client properties last sent (tag and text), kept so that a call whose
// properties did not change sends the same block without building it again.
struct ClientPropertyBlock {
  static constexpr uint32_t kMax = 4;
  uint32_t count = 0;
  uint32_t tags[kMax] = {};
  std::string texts[kMax];
  ZQPropStruct items[kMax] = {};
  // Held by the call sending the block: a call on another thread, or one
  // nested in it (inUse), builds its own instead.
  std::recursive_mutex mutex;
  bool inUse = false;
};

struct TransportState : SubsystemState {
  std::mutex serversMutex;                           // guards the list, not the records' contents
  std::list<std::unique_ptr<ServerRecord>> servers;  // newest first
  ServerRecord* lastServer = nullptr;

  std::list<std::unique_ptr<Binding>> bindings[kQueueCount];  // newest first
  Binding* current[kQueueCount] = {};

  std::list<std::unique_ptr<ServerOptions>> options;  // newest first
  ServerOptions* currentOptions = nullptr;

  uint32_t lastTimeout = 0;  // time-out last set on a client handle

  // Reply buffers per (procedure, version); see wrapper.h.
  std::shared_ptr<void> resultSlots;
  // Client information text of the request header, with its terminator.
  std::string clientInfo;
  PasswordCache passwordCache;
  ClientPropertyBlock clientProperties;
  // The character sets binding last resolved, by the names they came from.
  struct CharsetMemo {
    bool valid = false;
    std::string clientName, serverLanguage;
    uint32_t client = 0, server = 0;
  } charsets;
  std::list<Impersonation> impersonations;
  // The record whose login the call being sent carries: its session's cache
  // id is recorded when the call succeeds.
  Impersonation* impersonationInFlight = nullptr;
};

// The transport state of a context, created on first use (null without memory).
TransportState* stateOf(ZQThreadContext* ctx);

// Finds or creates the server record of a name; null without memory.
ServerRecord* findOrCreateServer(ZQThreadContext* ctx, const char* name);
ServerRecord* findServer(ZQThreadContext* ctx, const char* name);
ServerOptions* findOptions(ZQThreadContext* ctx, const std::string& name);
// The same for a name held in a control record (no string made per call).
ServerOptions* findOptions(ZQThreadContext* ctx, const char* name);

// True when a binding of the server exists on the admin or fast queue.
bool hasOtherQueueBinding(TransportState* st, const std::string& server);

// Queue resolution for a requested queue; sets *provisional when the list
// queue was chosen only because nothing else is bound yet.
uint32_t resolveQueue(ZQThreadContext* ctx, ServerRecord* server, uint32_t queue,
                      bool* provisional = nullptr);
// RPC program number for a resolved queue.
uint32_t programFor(ZQThreadContext* ctx, ServerRecord* server, uint32_t resolvedQueue);

// Creates a client handle for (program, version): directly to a port when
// one is configured, else through the port mapper. Null on failure; the RPC
// library's creation error tells why.
HandlePtr createHandle(ZQThreadContext* ctx, ServerRecord* server, uint32_t program, int version);

}  // namespace zq::transport
