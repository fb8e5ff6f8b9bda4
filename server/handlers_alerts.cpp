// Handlers of the alert procedures: registrations (102, 103), the users
// registered (104) and the count of alert entries (115). Alert entries are
// created through procedure 3 (handlers_entries.cpp hands them to the
// AlertCenter).
#include <cstring>

#include "alerts.h"
#include "call_status.h"
#include "dispatch.h"
#include "frame/alloc.h"
#include "query_engine.h"
#include "server.h"
#include "transport/describe_alerts.h"
#include "zqapi/zq_alerts.h"

namespace zqserver {
namespace {

using namespace zq::transport;

// The user a registration is for: the caller.
std::string callerOf(const Call& call, const RequestHeader& header) {
  if (!call.principal.user.empty()) return call.principal.user;
  return header.user ? header.user : "";
}

void registerForAlerts(Request<proc::RegisterForAlerts>& call) {
  auto& args = call.args();
  call.server.alerts().registerListener(callerOf(call, args.header), textOf(args.clientAddress),
                                        args.port, args.flags, textOf(args.header.localeBlock[0]));
}

void deregisterForAlerts(Request<proc::DeregisterForAlerts>& call) {
  auto& args = call.args();
  call.server.alerts().deregisterListener(callerOf(call, args.header), textOf(args.clientAddress),
                                          args.port);
}

void listAlertUsers(Request<proc::GetListAlertUser>& call) {
  auto& reply = call.reply();
  const std::vector<std::string> users = call.server.alerts().users();
  if (users.empty()) return;
  reply.users.items =
      static_cast<ZQAccessNameType*>(ZQCalloc(users.size(), sizeof(ZQAccessNameType)));
  if (!reply.users.items) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgNoMemory, nullptr);
    return;
  }
  for (const std::string& u : users)
    zq::copyName(reply.users.items[reply.users.count++], u.c_str(), sizeof(ZQAccessNameType));
}

void alertCount(Request<proc::GetAlertCount>& call) {
  auto& args = call.args();
  EntryStore store(call.server.store());
  if (!store.form(ZQ_ALERT_FORM)) return;  // no alert yet
  // Alerts are their users' own: others count only theirs.
  std::string self = call.principal.user;
  ZQRelOpStruct mine{};
  mine.operation = ZQ_REL_OP_EQUAL;
  mine.left.tag = ZQ_FIELD;
  mine.left.u.fieldId = ZQ_ALERT_FIELD_USER;
  mine.right.tag = ZQ_VALUE;
  mine.right.u.value.dataType = ZQ_DATA_TYPE_CHAR;
  mine.right.u.value.u.charValue = self.data();
  ZQQualifierStruct own{};
  own.operation = ZQ_COND_OP_REL_OP;
  own.u.relation = &mine;
  ZQQualifierStruct both{};
  both.operation = ZQ_COND_OP_AND;
  both.u.andOr.left = &args.qualifier;
  both.u.andOr.right = &own;
  const bool everyone = call.principal.administrator;
  QueryResult result;
  QueryError error;
  if (!runQuery(store, ZQ_ALERT_FORM, everyone ? &args.qualifier : &both, nullptr, 0, 0, result,
                error)) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, error.message,
                error.appended.empty() ? nullptr : error.appended.c_str());
    return;
  }
  call.reply().count = result.matches;
}

}  // namespace

void serveAlerts(Handlers& h) {
  h.serve<proc::RegisterForAlerts, registerForAlerts>();
  h.serve<proc::DeregisterForAlerts, deregisterForAlerts>();
  h.serve<proc::GetListAlertUser, listAlertUsers>();
  h.serve<proc::GetAlertCount, alertCount>();
}

}  // namespace zqserver
