// Connection-level calls: closing connections, character sets, the
// client-managed transaction handle, ports, the list of known servers.
#include <cstring>
#include <string>
#include <vector>

#include "call/call.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "platform/platform.h"
#include "transport/transport.h"
#include "zqapi/zq_server.h"

namespace {

using namespace zq;
using namespace zq::transport;

bool acceptedPrivateProgram(int32_t p) {
  return p == 0 || p == 390600 || (p >= 390619 && p <= 390669) || (p >= 390680 && p <= 390694);
}

// The character sets are those binding settles on: bind (no request), read.
int charSetName(ZQControlStruct* control, char* buffer, bool server, ZQStatusList* status) {
  call::Frame call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!buffer) return call.fail(kMsgMissingOutput);
  call.record(server ? diag::Command::GetServerCharSet : diag::Command::GetClientCharSet);
  if (!call.bind(kQueueList, nullptr)) return call.finish();
  ZQThreadContext* ctx = call.context();
  copyName(buffer, platform::charsetName(server ? ctx->serverCharset : ctx->clientCharset),
           ZQ_CHARSET_NAME_SIZE);
  return call.finish(buffer);
}

// The protocol version known for a server: its admin or fast bindings.
int knownVersion(TransportState* st, const char* server) {
  for (uint32_t q : {kQueueAdmin, kQueueFast})
    for (auto& b : st->bindings[q])
      if (b->server == server) return b->version;
  return kNewestVersion;
}

}  // namespace

extern "C" {

int ZQCloseNetworkConnections(ZQControlStruct* control, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  // No frame: closing takes no lock, so that it reaches a call in progress
  // on another thread.
  ZQThreadContext* ctx = zq::findContext(control, status);
  if (!ctx || !control) return ZQ_RETURN_FATAL;
  diag::command(ctx, control, diag::Command::CloseNetworkConnections);
  int rc = ZQ_RETURN_OK;
  if (ServerRecord* server = findOrCreateServer(ctx, control->server)) {
    ctx->noReconnect = 1;
    ctx->stopRequested = 1;
    // A call using the handle right now fails at once; the handle itself is
    // released by whoever lets go of it last.
    server->dropHandle();
    rc = returnCode(status);
  } else {
    rc = addError(status, kMsgNoMemory);
  }
  return diag::finishCall(ctx, rc, status);
}

int ZQGetServerCharSet(ZQControlStruct* control, char* charSet, ZQStatusList* status) {
  return charSetName(control, charSet, true, status);
}

int ZQGetClientCharSet(ZQControlStruct* control, char* charSet, ZQStatusList* status) {
  return charSetName(control, charSet, false, status);
}

int ZQSetClientManagedTransaction(ZQControlStruct* control, const char* handle,
                                  ZQStatusList* status) {
  call::Frame call(control, status);
  if (!call) return call.rc();
  TransportState* st = stateOf(call.context());
  if (!st) return call.fail(kMsgNoMemory);
  if (control && knownVersion(st, control->server) < 14) return call.fail(kMsgOperationUnsupported);
  if (call.refusedControl()) return call.rc();
  if (ServerOptions* o = findOptions(call.context(), control->server))
    o->transactionHandle = handle ? std::string(handle, strnlen(handle, 128)) : "";
  return returnCode(status);
}

int ZQRemoveClientManagedTransaction(ZQControlStruct* control, ZQStatusList* status) {
  call::Frame call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (ServerOptions* o = findOptions(call.context(), control->server)) o->transactionHandle.clear();
  return returnCode(status);
}

int ZQSetServerPort(ZQControlStruct* control, const char* server, int32_t port, int32_t program,
                    ZQStatusList* status) {
  call::Frame call(control, status);
  if (!call) return call.rc();
  if (!acceptedPrivateProgram(program)) {
    char text[16];
    snprintf(text, sizeof text, "%d", program);
    return addError(status, kMsgBadRpcProgram, text);
  }
  if (port < 0 || port > 65535) {
    char text[16];
    snprintf(text, sizeof text, "%d", port);
    return addError(status, kMsgBadTcpPort, text);
  }
  if (!server || !*server) return addError(status, kMsgServerRequired);
  ServerRecord* record = findOrCreateServer(call.context(), server);
  if (!record) return addError(status, kMsgNoMemory);
  if (record->port == static_cast<uint32_t>(port) &&
      record->program == static_cast<uint32_t>(program))
    return ZQ_RETURN_OK;  // the connection stays
  record->dropHandle();
  record->program = static_cast<uint32_t>(program);
  record->port = static_cast<uint32_t>(port);
  return ZQ_RETURN_OK;
}

int ZQGetListServer(ZQControlStruct* control, ZQServerNameList* servers, ZQStatusList* status) {
  if (servers) servers->count = 0;
  call::Frame call(control, status);
  if (!call) return call.rc();
  if (!servers) return call.fail(kMsgMissingOutput);
  servers->items = nullptr;
  call.record(diag::Command::GetListServer);
  auto value = platform::configValue("ServerList");
  if (!value) return call.finish(servers);
  std::vector<std::string> names;
  size_t start = 0;
  const std::string& v = *value;
  while (start <= v.size()) {
    size_t sep = v.find_first_of(";,", start);
    std::string name = v.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) break;  // the list ends at the first empty name
    names.push_back(name);
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  if (!names.empty()) {
    servers->items =
        static_cast<ZQServerNameType*>(zq::allocZeroed(names.size(), sizeof(ZQServerNameType)));
    if (!servers->items) {
      call.failAfterRecord(kMsgNoMemory);
      return call.finish(servers);
    }
    for (size_t i = 0; i < names.size(); ++i)
      copyName(servers->items[i], names[i].c_str(), sizeof(ZQServerNameType));
    servers->count = static_cast<uint32_t>(names.size());
  }
  call.setRc(returnCode(status));
  return call.finish(servers);
}

}  // extern "C"
