// The active link calls: ZQGetActiveLink, ZQSetActiveLink,
// ZQCreateActiveLink, ZQDeleteActiveLink, ZQGetListActiveLink and
// ZQGetMultipleActiveLinks.
#include <cstring>

#include "calls/report_files.h"
#include "calls/workflow_definitions.h"
#include "model/model.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

struct LinkInput {
  const uint32_t* order;
  ZQWorkflowConnectStruct* forms;
  ZQInternalIdList* groups;
  const uint32_t* executeMask;
  const ZQInternalId* controlField;
  const ZQInternalId* focusField;
  const uint32_t* enable;
  ZQQualifierStruct* qualifier;
  ZQActiveLinkActionList* ifActions;
  ZQActiveLinkActionList* elseActions;
  const char* owner;
  ZQPropList* properties;
  const char* errorName;
};

// The warning 71 (an empty group list) lets the call go on: 1 is returned.
int checkLinkInput(const LinkInput& in, bool create, ZQStatusList* status) {
  if (in.order && *in.order > workflow::kMaxOrder) return addError(status, kMsgBadExecutionOrder);
  int rc = checks::checkConnection(in.forms, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  int warned = ZQ_RETURN_OK;
  if (in.groups && in.groups->count == 0) warned = addWarning(status, kMsgEmptyGroupList);
  if ((rc = checks::checkItems(in.groups, status)) >= ZQ_RETURN_ERROR) return rc;
  if (in.executeMask && *in.executeMask > workflow::kMaxExecuteMask)
    return addError(status, kMsgBadExecuteMask);
  if (in.enable && *in.enable > 1) return addError(status, kMsgBadEnableFlag);
  if (in.qualifier && (rc = checks::checkQualifier(in.qualifier, true, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if ((create || in.ifActions) &&
      (rc = checks::checkActiveLinkActions(in.ifActions, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if (in.elseActions && in.elseActions->count &&
      (rc = checks::checkActiveLinkActions(in.elseActions, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if ((rc = workflow::checkCommon(in.owner, in.properties, status)) >= ZQ_RETURN_ERROR) return rc;
  if ((rc = workflow::checkErrorName(in.errorName, status)) >= ZQ_RETURN_ERROR) return rc;
  return warned;
}

void fillLink(transport::ActiveLinkParts& p, const LinkInput& in, const char* helpText,
              const char* changeDiary, const uint32_t* errorOptions) {
  if (in.order) p.order = *in.order;
  if (in.forms) p.forms = *in.forms;
  if (in.groups) p.groups = *in.groups;
  if (in.executeMask) p.executeMask = *in.executeMask;
  if (in.controlField) p.controlField = *in.controlField;
  if (in.focusField) p.focusField = *in.focusField;
  p.enable = in.enable ? *in.enable : 1;
  if (in.qualifier) p.qualifier = *in.qualifier;
  if (in.ifActions) p.ifActions = *in.ifActions;
  if (in.elseActions) p.elseActions = *in.elseActions;
  workflow::fillCommon(p.common, helpText, in.owner, changeDiary, in.properties);
  if (errorOptions) p.errorOptions = *errorOptions;
  copyName(p.errorName, in.errorName, sizeof p.errorName);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetActiveLink(ZQControlStruct* control, const char* name, uint32_t* order,
                    ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups, uint32_t* executeMask,
                    ZQInternalId* controlField, ZQInternalId* focusField, uint32_t* enable,
                    ZQQualifierStruct* qualifier, ZQActiveLinkActionList* ifActions,
                    ZQActiveLinkActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                    ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorName,
                    ZQStatusList* status) {
  defs::clearAll(order, forms, groups, executeMask, controlField, focusField, enable, qualifier,
                 ifActions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary,
                 properties, errorOptions, errorName);
  Call<proc::GetActiveLink> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetActiveLink, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted = Mask()(qualifier, wanted::kLinkQualifier)(ifActions, wanted::kLinkIf)(
                   elseActions, wanted::kLinkElse)(helpText, wanted::kLinkHelp)(
                   changeDiary, wanted::kLinkDiary)(properties, wanted::kLinkProperties)(
                   owner, wanted::kLinkOwner)(lastChanged, wanted::kLinkLastChanged)(
                   errorOptions, wanted::kLinkErrorOptions)(errorName, wanted::kLinkErrorName)
                   .value();
    if (auto* reply = call.send()) {
      transport::ActiveLinkParts& p = reply->parts;
      if (order) *order = p.order;
      defs::take(forms, p.forms);
      defs::take(groups, p.groups);
      if (executeMask) *executeMask = p.executeMask;
      if (controlField) *controlField = p.controlField;
      if (focusField) *focusField = p.focusField;
      if (enable) *enable = p.enable;
      defs::take(qualifier, p.qualifier);
      defs::take(ifActions, p.ifActions);
      defs::take(elseActions, p.elseActions);
      defs::take(helpText, p.common.helpText);
      if (timestamp) *timestamp = p.common.timestamp;
      defs::takeName(owner, p.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, p.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, p.common.changeDiary);
      defs::take(properties, p.common.properties);
      if (errorOptions) *errorOptions = p.errorOptions;
      defs::takeName(errorName, p.errorName, sizeof(ZQNameType));
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
  return call.finish(order, forms, groups, executeMask, controlField, focusField, enable, qualifier,
                     ifActions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary,
                     properties, errorOptions, errorName);
}

int ZQSetActiveLink(ZQControlStruct* control, const char* name, const char* newName,
                    uint32_t* order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                    uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                    const char* helpText, const char* owner, const char* changeDiary,
                    ZQPropList* properties, uint32_t* errorOptions, const char* errorName,
                    ZQStatusList* status) {
  Call<proc::SetActiveLink> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kLinkName)(order, changed::kLinkOrder)(
          workflow::connectionGiven(forms), changed::kLinkForms)(groups, changed::kLinkGroups)(
          executeMask, changed::kLinkExecute)(controlField, changed::kLinkControlField)(
          focusField, changed::kLinkFocusField)(enable, changed::kLinkEnable)(
          qualifier, changed::kLinkQualifier)(ifActions, changed::kLinkIf)(
          elseActions, changed::kLinkElse)(helpText, changed::kLinkHelp)(
          owner, changed::kLinkOwner)(changeDiary, changed::kLinkDiary)(
          properties, changed::kLinkProperties)(errorOptions, changed::kLinkErrorOptions)(
          errorName, changed::kLinkErrorName)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  const LinkInput in{order,      forms,      groups,    executeMask, controlField,
                     focusField, enable,     qualifier, ifActions,   elseActions,
                     owner,      properties, errorName};
  const int checked = checkLinkInput(in, false, status);
  if (call.refused(checked)) return call.rc();
  call.raise(checked);
  call.record(diag::Command::SetActiveLink, name, newName, diag::optional(order),
              diag::optional(executeMask), diag::optional(enable), diag::described(qualifier),
              diag::described(ifActions), diag::described(elseActions), diag::LongText{helpText},
              owner, diag::LongText{changeDiary}, diag::described(properties),
              diag::optional(errorOptions), errorName);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    ReportFiles reports;
    if (ifActions || elseActions) call.raise(reports.prepare(ifActions, elseActions, status));
    if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
    fillLink(a.parts, in, helpText, changeDiary, errorOptions);
    if (call.send()) {
      reports.store(control, name, status);
      call.raise(returnCode(status));
    }
  }
  return call.finish();
}

int ZQCreateActiveLink(ZQControlStruct* control, const char* name, uint32_t order,
                       ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                       uint32_t executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                       uint32_t enable, ZQQualifierStruct* qualifier,
                       ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                       const char* helpText, const char* owner, const char* changeDiary,
                       ZQPropList* properties, uint32_t errorOptions, const char* errorName,
                       ZQStatusList* status) {
  Call<proc::CreateActiveLink> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  const LinkInput in{&order,     forms,      groups,    &executeMask, controlField,
                     focusField, &enable,    qualifier, ifActions,    elseActions,
                     owner,      properties, errorName};
  const int checked = checkLinkInput(in, true, status);
  if (call.refused(checked)) return call.rc();
  call.raise(checked);
  call.record(diag::Command::CreateActiveLink, name, order, executeMask, enable,
              diag::described(qualifier), diag::described(ifActions), diag::described(elseActions),
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties), errorOptions, errorName);
  if (call.bind()) {
    if ((errorOptions & ZQ_ERROR_HANDLER_ENABLED) && (!errorName || !*errorName))
      return call.finishWithError(kMsgErrorHandlerNameRequired);
    ReportFiles reports;
    call.raise(reports.prepare(ifActions, elseActions, status));
    if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
    call.args().name = const_cast<char*>(name);
    fillLink(call.args().parts, in, helpText, changeDiary, &errorOptions);
    if (call.send()) {
      reports.store(control, name, status);
      call.raise(returnCode(status));
    }
  }
  return call.finish();
}

int ZQDeleteActiveLink(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteActiveLink>(diag::Command::DeleteActiveLink, control, name,
                                                    deleteOption, status);
}

int ZQGetListActiveLink(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status) {
  return workflow::getListByForm<proc::GetListActiveLink>(
      diag::Command::GetListActiveLink, control, form, changedSince, properties, names, status);
}

int ZQGetMultipleActiveLinks(ZQControlStruct* control, ZQTimestamp changedSince,
                             ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                             ZQUnsignedIntList* orders, ZQWorkflowConnectList* forms,
                             ZQInternalIdListList* groups, ZQUnsignedIntList* executeMasks,
                             ZQInternalIdList* controlFields, ZQInternalIdList* focusFields,
                             ZQUnsignedIntList* enables, ZQQualifierList* qualifiers,
                             ZQActiveLinkActionListList* ifActions,
                             ZQActiveLinkActionListList* elseActions, ZQTextStringList* helpTexts,
                             ZQTimestampList* timestamps, ZQAccessNameList* owners,
                             ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                             ZQPropListList* properties, ZQUnsignedIntList* errorOptions,
                             ZQNameList* errorNames, ZQStatusList* status) {
  defs::clearAll(exists, names, orders, forms, groups, executeMasks, controlFields, focusFields,
                 enables, qualifiers, ifActions, elseActions, helpTexts, timestamps, owners,
                 lastChanged, changeDiaries, properties, errorOptions, errorNames);
  Call<proc::GetMultipleActiveLinks> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleActiveLinks, static_cast<uint32_t>(changedSince),
              wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    a.wanted =
        Mask()(exists, w::kMultiLinkExists)(names, w::kMultiLinkNames)(orders, w::kMultiLinkOrders)(
            forms, w::kMultiLinkForms)(groups, w::kMultiLinkGroups)(
            executeMasks, w::kMultiLinkExecute)(controlFields, w::kMultiLinkControlFields)(
            focusFields, w::kMultiLinkFocusFields)(enables, w::kMultiLinkEnables)(
            qualifiers, w::kMultiLinkQualifiers)(ifActions, w::kMultiLinkIf)(
            elseActions, w::kMultiLinkElse)(helpTexts, w::kMultiLinkHelp)(
            timestamps, w::kMultiLinkTimestamps)(owners, w::kMultiLinkOwners)(
            lastChanged, w::kMultiLinkLastChanged)(changeDiaries, w::kMultiLinkDiaries)(
            properties, w::kMultiLinkProperties)(errorOptions, w::kMultiLinkErrorOptions)(
            errorNames, w::kMultiLinkErrorNames)
            .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(orders, r->orders);
      defs::take(forms, r->forms);
      defs::take(groups, r->groups);
      defs::take(executeMasks, r->executeMasks);
      defs::take(controlFields, r->controlFields);
      defs::take(focusFields, r->focusFields);
      defs::take(enables, r->enables);
      defs::take(qualifiers, r->qualifiers);
      defs::take(ifActions, r->ifActions);
      defs::take(elseActions, r->elseActions);
      defs::takeCommon(r->common, helpTexts, timestamps, owners, lastChanged, changeDiaries,
                       properties);
      defs::take(errorOptions, r->errorOptions);
      defs::take(errorNames, r->errorNames);
    }
  }
  if (!replied) return call.finish();
  return call.finish(exists, names, orders, forms, nullptr, executeMasks, controlFields,
                     focusFields, enables, qualifiers, ifActions, elseActions, helpTexts,
                     timestamps, owners, lastChanged, changeDiaries, properties, errorOptions,
                     errorNames);
}

}  // extern "C"
