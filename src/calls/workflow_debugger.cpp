// The workflow debugger calls (159 to 179) and the escalation run (169):
// thin calls on the admin queue with the long fixed time-out of their rows
// (a debugger may wait long for the server to reach a breakpoint). They
// write no command record; their result record carries no outputs. What
// the caller keeps is moved or deep-copied out of the reply.
#include <cstring>

#include "call/call.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "transport/describe.h"
#include "zqapi/zq_debugger.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

using call::Call;
namespace proc = transport::proc;

// The sequence every debugger call shares: the control check, the
// required outputs, the admin binding, one procedure; fill writes the
// arguments after the header, take moves the results out of the reply.
template <class P, class Fill, class Take>
int debuggerCall(ZQControlStruct* control, ZQStatusList* status, diag::Command command,
                 bool outputsPresent, Fill fill, Take take) {
  Call<P> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!outputsPresent) return call.fail(kMsgMissingOutput);
  call.record(command);
  if (call.bind()) {
    fill(call.args());
    if (auto* reply = call.send()) take(*reply, call);
  }
  return call.finish();
}

template <class P>
int wordCall(ZQControlStruct* control, uint32_t value, diag::Command command,
             ZQStatusList* status) {
  return debuggerCall<P>(
      control, status, command, true, [&](auto& args) { args.value = value; }, [](auto&, auto&) {});
}

template <class P>
int headerCall(ZQControlStruct* control, diag::Command command, ZQStatusList* status) {
  return debuggerCall<P>(
      control, status, command, true, [](auto&) {}, [](auto&, auto&) {});
}

// Takes a list over from the reply, which keeps an empty one.
template <class L>
void takeList(L& from, L& to) {
  to = from;
  from = L{};
  if (to.count == 0 && to.items) {
    model::release(to);
    to = L{};
  }
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;
using C = zq::diag::Command;

extern "C" {

int ZQWfdExecute(ZQControlStruct* control, uint32_t mode, uint32_t* result1, uint32_t* result2,
                 uint32_t* result3, ZQStatusList* status) {
  uint32_t* out[3] = {result1, result2, result3};
  for (uint32_t* o : out)
    if (o) *o = 0;
  return debuggerCall<proc::WfdExecute>(
      control, status, C::WfdExecute, result1 && result2 && result3,
      [&](auto& args) { args.value = mode; },
      [&](auto& reply, auto&) {
        for (int i = 0; i < 3; ++i) *out[i] = reply.result[i];
      });
}

int ZQWfdGetCurrentLocation(ZQControlStruct* control, uint32_t value,
                            ZQWfdCurrentLocation* location, ZQStatusList* status) {
  if (location) *location = ZQWfdCurrentLocation{};
  return debuggerCall<proc::WfdGetCurrentLocation>(
      control, status, C::WfdGetCurrentLocation, location != nullptr,
      [&](auto& args) { args.value = value; },
      [&](auto& reply, auto& call) {
        ZQWfdCurrentLocation& from = reply.location;
        ZQEntryIdList ids{};
        if (from.entryIds.count && !model::deepCopy(ids, from.entryIds))
          return call.failAfterRecord(kMsgNoMemory);
        // Everything but the entry ids is taken over from the reply.
        *location = from;
        location->entryIds = ids;
        from.formName = from.workflowName = from.guideName = from.detail = nullptr;
      });
}

int ZQWfdGetFieldValues(ZQControlStruct* control, uint32_t value, ZQFieldValueList* entryValues,
                        ZQFieldValueList* databaseValues, ZQStatusList* status) {
  if (entryValues) *entryValues = ZQFieldValueList{};
  if (databaseValues) *databaseValues = ZQFieldValueList{};
  return debuggerCall<proc::WfdGetFieldValues>(
      control, status, C::WfdGetFieldValues, entryValues && databaseValues,
      [&](auto& args) { args.value = value; },
      [&](auto& reply, auto&) {
        takeList(reply.entryValues, *entryValues);
        takeList(reply.databaseValues, *databaseValues);
      });
}

// A null list sends an empty one.
int ZQWfdSetFieldValues(ZQControlStruct* control, ZQFieldValueList* entryValues,
                        ZQFieldValueList* databaseValues, ZQStatusList* status) {
  return debuggerCall<proc::WfdSetFieldValues>(
      control, status, C::WfdSetFieldValues, true,
      [&](auto& args) {
        if (entryValues) args.entryValues = *entryValues;  // borrowed
        if (databaseValues) args.databaseValues = *databaseValues;
      },
      [](auto&, auto&) {});
}

int ZQWfdGetDebugMode(ZQControlStruct* control, uint32_t* mode, ZQStatusList* status) {
  if (mode) *mode = 0;
  return debuggerCall<proc::WfdGetDebugMode>(
      control, status, C::WfdGetDebugMode, mode != nullptr, [](auto&) {},
      [&](auto& reply, auto&) { *mode = reply.value; });
}

int ZQWfdSetDebugMode(ZQControlStruct* control, uint32_t mode, ZQStatusList* status) {
  return wordCall<proc::WfdSetDebugMode>(control, mode, C::WfdSetDebugMode, status);
}

int ZQWfdGetFilterQual(ZQControlStruct* control, ZQQualifierStruct* qualifier,
                       ZQStatusList* status) {
  if (qualifier) *qualifier = ZQQualifierStruct{};
  return debuggerCall<proc::WfdGetFilterQual>(
      control, status, C::WfdGetFilterQual, qualifier != nullptr, [](auto&) {},
      [&](auto& reply, auto&) {
        *qualifier = reply.qualifier;
        reply.qualifier = ZQQualifierStruct{};
      });
}

int ZQWfdSetQualifierResult(ZQControlStruct* control, uint32_t result, ZQStatusList* status) {
  return wordCall<proc::WfdSetQualifierResult>(control, result, C::WfdSetQualifierResult, status);
}

int ZQWfdTerminateAPI(ZQControlStruct* control, uint32_t value, ZQStatusList* status) {
  return wordCall<proc::WfdTerminateAPI>(control, value, C::WfdTerminateAPI, status);
}

int ZQWfdGetKeywordValue(ZQControlStruct* control, uint32_t keyword, ZQValueStruct* value,
                         ZQStatusList* status) {
  if (value) *value = ZQValueStruct{};
  return debuggerCall<proc::WfdGetKeywordValue>(
      control, status, C::WfdGetKeywordValue, value != nullptr,
      [&](auto& args) { args.value = keyword; },
      [&](auto& reply, auto& call) {
        if (!model::deepCopy(*value, reply.value)) {
          *value = ZQValueStruct{};
          call.failAfterRecord(kMsgNoMemory);
        }
      });
}

int ZQWfdGetUserContext(ZQControlStruct* control, uint32_t value, ZQWfdUserContext* context,
                        ZQStatusList* status) {
  if (context) *context = ZQWfdUserContext{};
  return debuggerCall<proc::WfdGetUserContext>(
      control, status, C::WfdGetUserContext, context != nullptr,
      [&](auto& args) { args.value = value; },
      [&](auto& reply, auto& call) {
        const ZQWfdUserContext& from = reply.context;
        ZQWfdUserContext to{};
        memcpy(to.userName, from.userName, sizeof to.userName);
        to.licenseType = from.licenseType;
        to.currentLicenseType = from.currentLicenseType;
        to.notifyMechanism = from.notifyMechanism;
        if ((from.groupIds.count && !model::deepCopy(to.groupIds, from.groupIds)) ||
            (from.roleIds.count && !model::deepCopy(to.roleIds, from.roleIds))) {
          model::release(to);
          return call.failAfterRecord(kMsgNoMemory);
        }
        *context = to;
      });
}

int ZQWfdSetBreakpoint(ZQControlStruct* control, ZQWfdBreakpoint* breakpoint,
                       ZQStatusList* status) {
  Call<proc::WfdSetBreakpoint> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!breakpoint) return call.fail(kMsgNullArgument);
  call.record(C::WfdSetBreakpoint);
  if (call.bind()) {
    call.args().breakpoint = *breakpoint;  // borrowed; the condition is sent inline
    call.send();
  }
  return call.finish();
}

int ZQWfdClearBreakpoint(ZQControlStruct* control, uint32_t id, ZQStatusList* status) {
  return wordCall<proc::WfdClearBreakpoint>(control, id, C::WfdClearBreakpoint, status);
}

int ZQWfdListBreakpoints(ZQControlStruct* control, ZQWfdBreakpointList* list,
                         ZQStatusList* status) {
  if (list) *list = ZQWfdBreakpointList{};
  return debuggerCall<proc::WfdListBreakpoints>(
      control, status, C::WfdListBreakpoints, list != nullptr, [](auto&) {},
      // Each decoded breakpoint holds a condition node of its own (the empty
      // qualification when it was set without one).
      [&](auto& reply, auto&) { takeList(reply.breakpoints, *list); });
}

int ZQWfdClearAllBreakpoints(ZQControlStruct* control, ZQStatusList* status) {
  return headerCall<proc::WfdClearAllBreakpoints>(control, C::WfdClearAllBreakpoints, status);
}

int ZQRunEscalation(ZQControlStruct* control, uint32_t value, ZQStatusList* status) {
  return wordCall<proc::RunEscalation>(control, value, C::RunEscalation, status);
}

}  // extern "C"
