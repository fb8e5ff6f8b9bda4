// Handlers of the session procedures (settings from the store, end of a
// session), and the table of every handler of the server.
#include "administration.h"
#include "dispatch.h"
#include "frame/alloc.h"
#include "server.h"

namespace zqserver {
namespace {

using namespace zq::transport;

void serverInfo(Request<proc::GetServerInfo>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  const uint32_t refused = call.server.faults().refuseSetting.load();
  for (uint32_t i = 0; i < args.settings.count; ++i) {
    uint32_t n = args.settings.items[i];
    if (n == 0 || (refused && n == refused)) {
      ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, zq::kMsgUnknownServerSetting, n);
      return;
    }
  }
  // Nothing asked, nothing allocated: the free family leaves the block of
  // an empty list alone, so one allocated here would be lost.
  if (args.settings.count == 0) return;
  reply.settings.items =
      static_cast<ZQServerInfoStruct*>(ZQCalloc(args.settings.count, sizeof(ZQServerInfoStruct)));
  if (!reply.settings.items) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgNoMemory, nullptr);
    return;
  }
  for (uint32_t i = 0; i < args.settings.count; ++i) {
    reply.settings.items[i].operation = args.settings.items[i];
    call.server.administration().setting(args.settings.items[i], reply.settings.items[i].value);
  }
  reply.settings.count = args.settings.count;
}

void endSession(Request<proc::EndSession>& call) {
  auto& args = call.args();
  call.server.sessions().end(args.header.cacheId);
}

}  // namespace

void serveSession(Handlers& h) {
  h.serve<proc::GetServerInfo, serverInfo>();
  h.serve<proc::EndSession, endSession>();
}

const Handlers& handlers() {
  static const Handlers all = [] {
    Handlers h;
    serveSession(h);
    serveKeyExchange(h);
    serveEntries(h);
    serveQueries(h);
    serveAdministration(h);
    serveServerControl(h);
    serveDefinitions(h);
    serveAlerts(h);
    serveExportImport(h);
    serveDebugger(h);
    serveMenus(h);
    return h;
  }();
  return all;
}

}  // namespace zqserver
