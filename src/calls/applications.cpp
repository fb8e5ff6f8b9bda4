// Applications, entry points and the checks of a client's definition cache:
// ZQGetListApplicationState (127), ZQGetApplicationState (128),
// ZQSetApplicationState (129), ZQGetMultipleEntryPoints (125),
// ZQGetObjectChangeTimes (163), ZQValidateFormCache (94) and ZQGetCacheEvent
// (182).
#include <cstring>

#include "calls/admin.h"
#include "calls/checks.h"
#include "calls/entries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "model/describe.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

// Moves a list out of a reply into an output the caller passed; the reply
// keeps nothing either way.
template <class L>
void take(L& from, L* to) {
  if (to) {
    *to = from;
  } else {
    model::release(from);
  }
  from = L{};
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetListApplicationState(ZQControlStruct* control, ZQNameList* states, ZQStatusList* status) {
  if (states) *states = ZQNameList{0, nullptr};
  call::Call<proc::GetListApplicationState> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!states) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListApplicationState);
  if (call.bind()) {
    if (auto* reply = call.send()) take(reply->states, states);
  }
  return call.finish(states);
}

int ZQGetApplicationState(ZQControlStruct* control, const char* application, char* currentState,
                          ZQStatusList* status) {
  if (currentState) currentState[0] = '\0';
  call::Call<proc::GetApplicationState> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(application, 0, status)))
    return call.rc();
  if (!currentState) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetApplicationState, application);
  if (call.bind()) {
    call.args().name = const_cast<char*>(application);
    if (auto* reply = call.send()) {
      if (reply->state && strlen(reply->state) > ZQ_MAX_NAME_SIZE)
        call.failAfterRecord(kMsgTooLong);
      else
        copyName(currentState, reply->state, sizeof(ZQNameType));
    }
  }
  return call.finish(currentState);
}

int ZQSetApplicationState(ZQControlStruct* control, const char* application, const char* state,
                          ZQStatusList* status) {
  call::Call<proc::SetApplicationState> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(application, 0, status)) ||
      call.refused(ZQCheckName(state, 0, status)))
    return call.rc();
  call.record(diag::Command::SetApplicationState, application, state);
  if (call.bind()) {
    call.args().application = const_cast<char*>(application);
    call.args().state = const_cast<char*>(state);
    call.send();
  }
  return call.finish();
}

int ZQGetMultipleEntryPoints(ZQControlStruct* control, ZQTimestamp changedSince,
                             ZQNameList* applications, ZQReferenceTypeList* referenceTypes,
                             const char* displayTag, uint32_t vuiType, ZQBoolean hiddenIncluded,
                             ZQNameList* names, ZQUnsignedIntList* types,
                             ZQTextStringList* displayLabels, ZQNameList* ownerApplications,
                             ZQTextStringList* ownerApplicationLabels,
                             ZQPermissionListList* permissions,
                             ZQContainerOwnerObjListList* ownerObjects,
                             ZQTextStringList* descriptions, ZQReferenceListList* references,
                             ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                             ZQPropListList* properties, ZQStatusList* status) {
  if (names) *names = ZQNameList{};
  if (types) *types = ZQUnsignedIntList{};
  if (displayLabels) *displayLabels = ZQTextStringList{};
  if (ownerApplications) *ownerApplications = ZQNameList{};
  if (ownerApplicationLabels) *ownerApplicationLabels = ZQTextStringList{};
  if (permissions) *permissions = ZQPermissionListList{};
  if (ownerObjects) *ownerObjects = ZQContainerOwnerObjListList{};
  if (descriptions) *descriptions = ZQTextStringList{};
  if (references) *references = ZQReferenceListList{};
  if (helpTexts) *helpTexts = ZQTextStringList{};
  if (timestamps) *timestamps = ZQTimestampList{};
  if (properties) *properties = ZQPropListList{};
  call::Call<proc::GetMultipleEntryPoints> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (applications && applications->count &&
      call.refused(checks::checkNameList(applications, false, status)))
    return call.rc();
  if (referenceTypes && referenceTypes->count && !referenceTypes->items)
    return call.fail(kMsgCountWithoutItems);
  if (!names) return call.fail(kMsgNoResultOutput, "entryPointNameList");
  if (!types) return call.fail(kMsgNoResultOutput, "entryPointTypeList");
  call.record(diag::Command::GetMultipleEntryPoints, diag::Signed{changedSince}, applications,
              referenceTypes, displayTag, vuiType, hiddenIncluded);
  auto finish = [&] {
    return call.finish(names, types, displayLabels, ownerApplications, ownerApplicationLabels,
                       permissions, ownerObjects, descriptions, references, helpTexts, timestamps,
                       properties);
  };
  if (!call.bind()) return finish();
  auto& args = call.args();
  args.changedSince = changedSince;
  if (applications) args.applications = *applications;
  if (referenceTypes) args.referenceTypes = *referenceTypes;
  args.displayTag = const_cast<char*>(displayTag);
  args.vuiType = vuiType;
  args.hiddenIncluded = hiddenIncluded;
  if (auto* reply = sendInTransaction(call)) {
    take(reply->names, names);
    take(reply->types, types);
    take(reply->displayLabels, displayLabels);
    take(reply->ownerApplications, ownerApplications);
    take(reply->ownerApplicationLabels, ownerApplicationLabels);
    take(reply->permissions, permissions);
    take(reply->ownerObjects, ownerObjects);
    take(reply->descriptions, descriptions);
    take(reply->references, references);
    take(reply->helpTexts, helpTexts);
    take(reply->timestamps, timestamps);
    take(reply->properties, properties);
  }
  return finish();
}

int ZQGetObjectChangeTimes(ZQControlStruct* control, ZQObjectChangeTimesList* times,
                           ZQStatusList* status) {
  if (times) *times = ZQObjectChangeTimesList{0, nullptr};
  call::Call<proc::GetObjectChangeTimes> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::GetObjectChangeTimes);
  if (call.bind()) {
    if (auto* reply = call.send()) take(reply->times, times);
  }
  return call.finish(times);
}

int ZQValidateFormCache(ZQControlStruct* control, const char* form, ZQTimestamp activeLinksSince,
                        ZQTimestamp menusSince, ZQTimestamp guidesSince,
                        ZQTimestamp* formLastChanged, int32_t* activeLinkCount,
                        int32_t* changedActiveLinkCount, ZQNameList* changedMenus,
                        ZQTimestamp* groupsLastChanged, ZQTimestamp* usersLastChanged,
                        ZQNameList* changedGuides, ZQStatusList* status) {
  for (int32_t* word : {formLastChanged, activeLinkCount, changedActiveLinkCount, groupsLastChanged,
                        usersLastChanged})
    if (word) *word = 0;
  if (changedMenus) *changedMenus = ZQNameList{0, nullptr};
  if (changedGuides) *changedGuides = ZQNameList{0, nullptr};
  call::Call<proc::ValidateFormCache> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  call.record(diag::Command::ValidateFormCache, form, diag::Signed{activeLinksSince},
              diag::Signed{menusSince}, diag::Signed{guidesSince});
  if (call.bind()) {
    auto& args = call.args();
    args.form = const_cast<char*>(form);
    args.activeLinksSince = activeLinksSince;
    args.menusSince = menusSince;
    args.guidesSince = guidesSince;
    if (auto* reply = call.send()) {
      if (formLastChanged) *formLastChanged = reply->formLastChanged;
      if (activeLinkCount) *activeLinkCount = reply->activeLinkCount;
      if (changedActiveLinkCount) *changedActiveLinkCount = reply->changedActiveLinkCount;
      take(reply->changedMenus, changedMenus);
      if (groupsLastChanged) *groupsLastChanged = reply->groupsLastChanged;
      if (usersLastChanged) *usersLastChanged = reply->usersLastChanged;
      take(reply->changedGuides, changedGuides);
    }
  }
  return call.finish(formLastChanged, activeLinkCount, changedActiveLinkCount, changedMenus,
                     groupsLastChanged, usersLastChanged, changedGuides);
}

int ZQGetCacheEvent(ZQControlStruct* control, ZQUnsignedIntList* eventIds, uint32_t returnOption,
                    ZQUnsignedIntList* occurred, uint32_t* count, ZQStatusList* status) {
  if (occurred) *occurred = ZQUnsignedIntList{0, nullptr};
  if (count) *count = 0;
  call::Call<proc::GetCacheEvent> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (eventIds && eventIds->count && !eventIds->items) return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::GetCacheEvent, eventIds, returnOption);
  if (call.bind()) {
    if (eventIds) call.args().eventIds = *eventIds;
    call.args().returnOption = returnOption;
    if (auto* reply = call.send()) {
      take(reply->events, occurred);
      if (count) *count = reply->count;
    }
  }
  return call.finish(occurred, count);
}

}  // extern "C"
