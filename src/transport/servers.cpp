// Server records, queue and program selection, client handles.
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "transport/state.h"

namespace zq::transport {

ClientHandle::ClientHandle(__rpc_client* client, uint32_t program)
    : client_(client), program_(program), socket_(platform::rpcSocket(client)) {}

ClientHandle::~ClientHandle() { platform::rpcDestroy(client_); }

void ClientHandle::shutdown() { platform::rpcShutdownSocket(socket_); }

HandlePtr ServerRecord::handle() const {
  std::lock_guard<std::mutex> lock(handleMutex_);
  return handle_;
}

void ServerRecord::setHandle(HandlePtr h) {
  HandlePtr old;
  {
    std::lock_guard<std::mutex> lock(handleMutex_);
    old = std::move(handle_);
    handle_ = std::move(h);
  }
  if (old) old->shutdown();
}

bool ServerRecord::dropHandle() {
  HandlePtr old;
  {
    std::lock_guard<std::mutex> lock(handleMutex_);
    old = std::move(handle_);
  }
  if (!old) return false;
  old->shutdown();  // a call still using it fails now; the last user destroys it
  return true;
}

TransportState* stateOf(ZQThreadContext* ctx) {
  if (!ctx) return nullptr;
  if (!ctx->transport) ctx->transport.reset(new (std::nothrow) TransportState);
  return static_cast<TransportState*>(ctx->transport.get());
}

ServerRecord* findServer(ZQThreadContext* ctx, const char* name) {
  TransportState* st = stateOf(ctx);
  if (!st || !name) return nullptr;
  std::lock_guard<std::mutex> lock(st->serversMutex);
  if (st->lastServer && st->lastServer->name == name) return st->lastServer;
  for (auto& s : st->servers)
    if (s->name == name) return st->lastServer = s.get();
  return nullptr;
}

ServerRecord* findOrCreateServer(ZQThreadContext* ctx, const char* name) {
  if (ServerRecord* s = findServer(ctx, name)) return s;
  TransportState* st = stateOf(ctx);
  if (!st || !name) return nullptr;
  auto* record = new (std::nothrow) ServerRecord;
  if (!record) return nullptr;
  record->name.assign(name, strnlen(name, 64));
  std::lock_guard<std::mutex> lock(st->serversMutex);
  try {
    st->servers.emplace_front(record);
  } catch (...) {
    delete record;
    return nullptr;
  }
  return st->lastServer = record;
}

ServerOptions* findOptions(ZQThreadContext* ctx, const std::string& name) {
  TransportState* st = stateOf(ctx);
  if (!st) return nullptr;
  for (auto& o : st->options)
    if (o->name == name) return o.get();
  return nullptr;
}

ServerOptions* findOptions(ZQThreadContext* ctx, const char* name) {
  TransportState* st = stateOf(ctx);
  if (!st || !name) return nullptr;
  for (auto& o : st->options)
    if (o->name == name) return o.get();
  return nullptr;
}

bool hasOtherQueueBinding(TransportState* st, const std::string& server) {
  for (uint32_t q : {kQueueAdmin, kQueueFast}) {
    if (st->current[q] && st->current[q]->server == server) return true;
    for (auto& b : st->bindings[q])
      if (b->server == server) return true;
  }
  return false;
}

uint32_t resolveQueue(ZQThreadContext* ctx, ServerRecord* server, uint32_t queue,
                      bool* provisional) {
  if (provisional) *provisional = false;
  const Settings& s = ctx->settings;
  if (s.rpcProgram != 0 && queue != kQueueAdmin)
    return s.rpcProgram != kProgramAdmin ? kQueueFast : kQueueAdmin;
  if (server && server->program != 0) {
    if (queue == kQueueAdmin) return kQueueAdmin;
    return server->program != kProgramAdmin ? kQueueFast : kQueueAdmin;
  }
  if (queue == kQueueAdmin || queue == kQueueFast) return queue;
  TransportState* st = stateOf(ctx);
  if (st && server && hasOtherQueueBinding(st, server->name)) return kQueueFast;
  if (provisional) *provisional = true;
  return kQueueList;
}

uint32_t programFor(ZQThreadContext* ctx, ServerRecord* server, uint32_t resolvedQueue) {
  if (resolvedQueue == kQueueAdmin) return kProgramAdmin;
  const Settings& s = ctx->settings;
  if (s.rpcProgram != 0 || s.programGiven) return s.rpcProgram;
  if (server && server->program != 0) return server->program;
  return resolvedQueue == kQueueList ? kProgramList : kProgramFast;
}

HandlePtr createHandle(ZQThreadContext* ctx, ServerRecord* server, uint32_t program,
                       int version) {
  uint32_t port = ctx->settings.tcpPort ? ctx->settings.tcpPort : server->port;
  __rpc_client* client =
      port ? platform::rpcCreateDirect(server->name.c_str(), static_cast<uint16_t>(port), program,
                                       static_cast<uint32_t>(version))
           : platform::rpcCreate(server->name.c_str(), program, static_cast<uint32_t>(version),
                                 ctx->settings.transport.c_str());
  if (!client) return nullptr;
  try {
    return std::make_shared<ClientHandle>(client, program);
  } catch (...) {
    platform::rpcDestroy(client);
    return nullptr;
  }
}

}  // namespace zq::transport
