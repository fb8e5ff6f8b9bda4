// The workflow debugger's procedures (159 to 179) and the escalation run
// (169): administrators only; the work is the Debugger's (debugger.h).
#include <string>

#include "access.h"
#include "debugger.h"
#include "definition_lists.h"
#include "dispatch.h"
#include "running_calls.h"
#include "server.h"
#include "transport/describe_debugger.h"
#include "workflow_engine.h"

namespace zqserver {
namespace {

template <class P>
int32_t sessionOf(Request<P>& call) {
  return call.reply().header.cacheId;
}

// A debugger answer into the reply's status.
void answer(Call& call, const Debugger::Answer& a) {
  if (a.message) report(call, a.message, a.appended);
}

void execute(Request<proc::WfdExecute>& call) {
  if (!requireAdministrator(call)) return;
  answer(call,
         call.server.debugger().execute(sessionOf(call), call.args().value, call.reply().result));
}

void location(Request<proc::WfdGetCurrentLocation>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().location(sessionOf(call), call.reply().location));
}

void fieldValues(Request<proc::WfdGetFieldValues>& call) {
  if (!requireAdministrator(call)) return;
  auto& reply = call.reply();
  answer(call, call.server.debugger().fieldValues(sessionOf(call), reply.entryValues,
                                                  reply.databaseValues));
}

void setFieldValues(Request<proc::WfdSetFieldValues>& call) {
  if (!requireAdministrator(call)) return;
  auto& args = call.args();
  answer(call, call.server.debugger().setFieldValues(sessionOf(call), args.entryValues,
                                                     args.databaseValues));
}

void debugMode(Request<proc::WfdGetDebugMode>& call) {
  if (!requireAdministrator(call)) return;
  call.reply().value = call.server.debugger().mode(sessionOf(call));
}

void setDebugMode(Request<proc::WfdSetDebugMode>& call) {
  if (!requireAdministrator(call)) return;
  CallControl* self = currentCall();
  answer(call,
         call.server.debugger().setMode(sessionOf(call), self ? self->fd : -1, call.args().value));
}

void filterQualifier(Request<proc::WfdGetFilterQual>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().qualifier(sessionOf(call), call.reply().qualifier));
}

void qualifierResult(Request<proc::WfdSetQualifierResult>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().forceResult(sessionOf(call), call.args().value));
}

void terminate(Request<proc::WfdTerminateAPI>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().terminate(sessionOf(call)));
}

void keyword(Request<proc::WfdGetKeywordValue>& call) {
  if (!requireAdministrator(call)) return;
  answer(call,
         call.server.debugger().keyword(sessionOf(call), call.args().value, call.reply().value));
}

void userContext(Request<proc::WfdGetUserContext>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().userContext(sessionOf(call), call.reply().context));
}

void setBreakpoint(Request<proc::WfdSetBreakpoint>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().setBreakpoint(sessionOf(call), call.args().breakpoint));
}

void clearBreakpoint(Request<proc::WfdClearBreakpoint>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().clearBreakpoint(sessionOf(call), call.args().value));
}

void listBreakpoints(Request<proc::WfdListBreakpoints>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().breakpoints(sessionOf(call), call.reply().breakpoints));
}

void clearBreakpoints(Request<proc::WfdClearAllBreakpoints>& call) {
  if (!requireAdministrator(call)) return;
  answer(call, call.server.debugger().clearBreakpoints(sessionOf(call)));
}

// 0: every enabled escalation; n: the n-th in name order.
void runEscalation(Request<proc::RunEscalation>& call) {
  if (!requireAdministrator(call)) return;
  const uint32_t which = call.args().value;
  WorkflowEngine& engine = call.server.workflow();
  const std::vector<std::string> names = engine.escalationNames();
  if (which > names.size()) return report(call, zq::kMsgWfdBadWord, std::to_string(which));
  for (size_t i = 0; i < names.size(); ++i)
    if (which == 0 || which == i + 1) engine.runEscalation(names[i], call.status);
}

}  // namespace

void serveDebugger(Handlers& h) {
  h.serve<proc::WfdExecute, execute>();
  h.serve<proc::WfdGetCurrentLocation, location>();
  h.serve<proc::WfdGetFieldValues, fieldValues>();
  h.serve<proc::WfdSetFieldValues, setFieldValues>();
  h.serve<proc::WfdGetDebugMode, debugMode>();
  h.serve<proc::WfdSetDebugMode, setDebugMode>();
  h.serve<proc::WfdGetFilterQual, filterQualifier>();
  h.serve<proc::WfdSetQualifierResult, qualifierResult>();
  h.serve<proc::RunEscalation, runEscalation>();
  h.serve<proc::WfdTerminateAPI, terminate>();
  h.serve<proc::WfdGetKeywordValue, keyword>();
  h.serve<proc::WfdSetBreakpoint, setBreakpoint>();
  h.serve<proc::WfdClearBreakpoint, clearBreakpoint>();
  h.serve<proc::WfdListBreakpoints, listBreakpoints>();
  h.serve<proc::WfdClearAllBreakpoints, clearBreakpoints>();
  h.serve<proc::WfdGetUserContext, userContext>();
}

}  // namespace zqserver
