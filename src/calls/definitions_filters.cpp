// The filter and escalation calls: ZQGetFilter, ZQSetFilter, ZQCreateFilter,
// ZQDeleteFilter, ZQGetListFilter, ZQGetMultipleFilters and their
// escalation counterparts. Both carry filter action lists; an escalation's
// lists refuse the actions that need a client (messages, guides).
#include <cstring>

#include "calls/workflow_definitions.h"
#include "diag/record_described.h"
#include "model/model.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;
using checks::ActionListPlace;

// The inputs a filter's set and create share, after the name.
struct FilterInput {
  const uint32_t* order;
  ZQWorkflowConnectStruct* forms;
  const uint32_t* operations;
  const uint32_t* enable;
  ZQQualifierStruct* qualifier;
  ZQFilterActionList* ifActions;
  ZQFilterActionList* elseActions;
  const char* owner;
  ZQPropList* properties;
  const char* errorName;
};

int checkElse(ZQFilterActionList* elseActions, bool escalation, ZQStatusList* status) {
  if (!elseActions || elseActions->count == 0) return ZQ_RETURN_OK;
  return checks::checkFilterActions(elseActions, ActionListPlace{escalation, true}, status);
}

int checkFilterInput(const FilterInput& in, bool create, ZQStatusList* status) {
  if (in.order && *in.order > workflow::kMaxOrder) return addError(status, kMsgBadExecutionOrder);
  int rc = checks::checkConnection(in.forms, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (in.operations && *in.operations > workflow::kMaxOperations)
    return addError(status, kMsgBadOperationSet);
  if (in.enable && *in.enable > 1) return addError(status, kMsgBadEnableFlag);
  if (in.qualifier && (rc = checks::checkQualifier(in.qualifier, true, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if ((create || in.ifActions) &&
      (rc = checks::checkFilterActions(in.ifActions, ActionListPlace{}, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if ((rc = checkElse(in.elseActions, false, status)) >= ZQ_RETURN_ERROR) return rc;
  if ((rc = workflow::checkCommon(in.owner, in.properties, status)) >= ZQ_RETURN_ERROR) return rc;
  return workflow::checkErrorName(in.errorName, status);
}

void fillFilter(transport::FilterParts& p, const FilterInput& in, const char* helpText,
                const char* changeDiary, const uint32_t* errorOptions) {
  if (in.order) p.order = *in.order;
  if (in.forms) p.forms = *in.forms;
  if (in.operations) p.operations = *in.operations;
  p.enable = in.enable ? *in.enable : 1;  // an absent enable flag travels as 1
  if (in.qualifier) p.qualifier = *in.qualifier;
  if (in.ifActions) p.ifActions = *in.ifActions;
  if (in.elseActions) p.elseActions = *in.elseActions;
  workflow::fillCommon(p.common, helpText, in.owner, changeDiary, in.properties);
  if (errorOptions) p.errorOptions = *errorOptions;
  copyName(p.errorName, in.errorName, sizeof p.errorName);
}

// The inputs an escalation's set and create share, after the name.
struct EscalationInput {
  ZQEscalationTimeStruct* time;
  ZQWorkflowConnectStruct* forms;
  const uint32_t* enable;
  ZQQualifierStruct* qualifier;
  ZQFilterActionList* ifActions;
  ZQFilterActionList* elseActions;
  const char* owner;
  ZQPropList* properties;
};

int checkEscalationInput(const EscalationInput& in, bool create, ZQStatusList* status) {
  // Every fault of the time reads as one message to the caller.
  if ((create && !in.time) || (in.time && checks::escalationTimeMessage(*in.time) != 0))
    return addError(status, kMsgBadEscalationTime);
  int rc = checks::checkConnection(in.forms, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (in.enable && *in.enable > 1) return addError(status, kMsgBadEnableFlag);
  if (in.qualifier && (rc = checks::checkQualifier(in.qualifier, true, status)) >= ZQ_RETURN_ERROR)
    return rc;
  if ((create || in.ifActions) &&
      (rc = checks::checkFilterActions(in.ifActions, ActionListPlace{true, false}, status)) >=
          ZQ_RETURN_ERROR)
    return rc;
  if ((rc = checkElse(in.elseActions, true, status)) >= ZQ_RETURN_ERROR) return rc;
  return workflow::checkCommon(in.owner, in.properties, status);
}

void fillEscalation(transport::EscalationParts& p, const EscalationInput& in, const char* helpText,
                    const char* changeDiary) {
  if (in.time)
    p.time = *in.time;
  else
    p.time.kind = ZQ_ESCALATION_INTERVAL;  // unchanged: a time that can travel
  if (in.forms) p.forms = *in.forms;
  p.enable = in.enable ? *in.enable : 1;
  if (in.qualifier) p.qualifier = *in.qualifier;
  if (in.ifActions) p.ifActions = *in.ifActions;
  if (in.elseActions) p.elseActions = *in.elseActions;
  workflow::fillCommon(p.common, helpText, in.owner, changeDiary, in.properties);
}

}  // namespace

namespace workflow {
int checkErrorName(const char* errorName, ZQStatusList* status) {
  if (errorName && strlen(errorName) > kMaxErrorName)
    return addStatus(status, ZQ_MESSAGE_ERROR, kMsgErrorHandlerNameTooLong, errorName);
  return ZQ_RETURN_OK;
}
}  // namespace workflow

}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

// ---- filters ---------------------------------------------------------------------------------

int ZQGetFilter(ZQControlStruct* control, const char* name, uint32_t* order,
                ZQWorkflowConnectStruct* forms, uint32_t* operations, uint32_t* enable,
                ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorName,
                ZQStatusList* status) {
  defs::clearAll(order, forms, operations, enable, qualifier, ifActions, elseActions, helpText,
                 timestamp, owner, lastChanged, changeDiary, properties, errorOptions, errorName);
  Call<proc::GetFilter> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetFilter, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted = Mask()(qualifier, wanted::kFilterQualifier)(ifActions, wanted::kFilterIf)(
                   elseActions, wanted::kFilterElse)(helpText, wanted::kFilterHelp)(
                   changeDiary, wanted::kFilterDiary)(properties, wanted::kFilterProperties)(
                   owner, wanted::kFilterOwner)(lastChanged, wanted::kFilterLastChanged)(
                   errorOptions, wanted::kFilterErrorOptions)(errorName, wanted::kFilterErrorName)
                   .value();
    if (auto* reply = call.send()) {
      transport::FilterParts& p = reply->parts;
      if (order) *order = p.order;
      defs::take(forms, p.forms);
      if (operations) *operations = p.operations;
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
  return call.finish(order, forms, operations, enable, qualifier, ifActions, elseActions, helpText,
                     timestamp, owner, lastChanged, changeDiary, properties, errorOptions,
                     errorName);
}

int ZQSetFilter(ZQControlStruct* control, const char* name, const char* newName, uint32_t* order,
                ZQWorkflowConnectStruct* forms, uint32_t* operations, uint32_t* enable,
                ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                const char* changeDiary, ZQPropList* properties, uint32_t* errorOptions,
                const char* errorName, ZQStatusList* status) {
  Call<proc::SetFilter> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kFilterName)(order, changed::kFilterOrder)(
          workflow::connectionGiven(forms), changed::kFilterForms)(
          operations, changed::kFilterOperations)(enable, changed::kFilterEnable)(
          qualifier, changed::kFilterQualifier)(ifActions, changed::kFilterIf)(
          elseActions, changed::kFilterElse)(helpText, changed::kFilterHelp)(
          owner, changed::kFilterOwner)(changeDiary, changed::kFilterDiary)(
          properties, changed::kFilterProperties)(errorOptions, changed::kFilterErrorOptions)(
          errorName, changed::kFilterErrorName)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  const FilterInput in{order,     forms,       operations, enable,     qualifier,
                       ifActions, elseActions, owner,      properties, errorName};
  if (call.refused(checkFilterInput(in, false, status))) return call.rc();
  call.record(diag::Command::SetFilter, name, newName, diag::optional(order),
              diag::optional(operations), diag::optional(enable), diag::described(qualifier),
              diag::described(ifActions), diag::described(elseActions), diag::LongText{helpText},
              owner, diag::LongText{changeDiary}, diag::described(properties),
              diag::optional(errorOptions), errorName);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    fillFilter(a.parts, in, helpText, changeDiary, errorOptions);
    call.send();
  }
  return call.finish();
}

int ZQCreateFilter(ZQControlStruct* control, const char* name, uint32_t order,
                   ZQWorkflowConnectStruct* forms, uint32_t operations, uint32_t enable,
                   ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                   ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, uint32_t errorOptions,
                   const char* errorName, ZQStatusList* status) {
  Call<proc::CreateFilter> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  const FilterInput in{&order,    forms,       &operations, &enable,    qualifier,
                       ifActions, elseActions, owner,       properties, errorName};
  if (call.refused(checkFilterInput(in, true, status))) return call.rc();
  call.record(diag::Command::CreateFilter, name, order, operations, enable,
              diag::described(qualifier), diag::described(ifActions), diag::described(elseActions),
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties), errorOptions, errorName);
  if (call.bind()) {
    // Checked once bound, as the server would see it, before anything is sent.
    if ((errorOptions & ZQ_ERROR_HANDLER_ENABLED) && (!errorName || !*errorName))
      return call.finishWithError(kMsgErrorHandlerNameRequired);
    fillFilter(call.args().parts, in, helpText, changeDiary, &errorOptions);
    call.args().name = const_cast<char*>(name);
    call.send();
  }
  return call.finish();
}

int ZQDeleteFilter(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteFilter>(diag::Command::DeleteFilter, control, name,
                                                deleteOption, status);
}

int ZQGetListFilter(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                    ZQPropList* properties, ZQNameList* names, ZQStatusList* status) {
  return workflow::getListByForm<proc::GetListFilter>(diag::Command::GetListFilter, control, form,
                                                      changedSince, properties, names, status);
}

int ZQGetMultipleFilters(ZQControlStruct* control, ZQTimestamp changedSince,
                         ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                         ZQUnsignedIntList* orders, ZQWorkflowConnectList* forms,
                         ZQUnsignedIntList* operations, ZQUnsignedIntList* enables,
                         ZQQualifierList* qualifiers, ZQFilterActionListList* ifActions,
                         ZQFilterActionListList* elseActions, ZQTextStringList* helpTexts,
                         ZQTimestampList* timestamps, ZQAccessNameList* owners,
                         ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                         ZQPropListList* properties, ZQUnsignedIntList* errorOptions,
                         ZQNameList* errorNames, ZQStatusList* status) {
  defs::clearAll(exists, names, orders, forms, operations, enables, qualifiers, ifActions,
                 elseActions, helpTexts, timestamps, owners, lastChanged, changeDiaries, properties,
                 errorOptions, errorNames);
  Call<proc::GetMultipleFilters> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleFilters, static_cast<uint32_t>(changedSince), wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    a.wanted = Mask()(exists, w::kMultiFilterExists)(names, w::kMultiFilterNames)(
                   orders, w::kMultiFilterOrders)(forms, w::kMultiFilterForms)(
                   operations, w::kMultiFilterOperations)(enables, w::kMultiFilterEnables)(
                   qualifiers, w::kMultiFilterQualifiers)(ifActions, w::kMultiFilterIf)(
                   elseActions, w::kMultiFilterElse)(helpTexts, w::kMultiFilterHelp)(
                   timestamps, w::kMultiFilterTimestamps)(owners, w::kMultiFilterOwners)(
                   lastChanged, w::kMultiFilterLastChanged)(changeDiaries, w::kMultiFilterDiaries)(
                   properties, w::kMultiFilterProperties)(
                   errorOptions, w::kMultiFilterErrorOptions)(errorNames, w::kMultiFilterErrorNames)
                   .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(orders, r->orders);
      defs::take(forms, r->forms);
      defs::take(operations, r->operations);
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
  return call.finish(exists, names, orders, forms, operations, enables, qualifiers, ifActions,
                     elseActions, helpTexts, timestamps, owners, lastChanged, changeDiaries,
                     properties, errorOptions, errorNames);
}

// ---- escalations -----------------------------------------------------------------------------

int ZQGetEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                    ZQWorkflowConnectStruct* forms, uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQFilterActionList* ifActions, ZQFilterActionList* elseActions, char** helpText,
                    ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                    char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  defs::clearAll(time, forms, enable, qualifier, ifActions, elseActions, helpText, timestamp, owner,
                 lastChanged, changeDiary, properties);
  Call<proc::GetEscalation> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetEscalation, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted =
        Mask()(qualifier, wanted::kEscalationQualifier)(ifActions, wanted::kEscalationIf)(
            elseActions, wanted::kEscalationElse)(helpText, wanted::kEscalationHelp)(
            changeDiary, wanted::kEscalationDiary)(properties, wanted::kEscalationProperties)(
            owner, wanted::kEscalationOwner)(lastChanged, wanted::kEscalationLastChanged)
            .value();
    if (auto* reply = call.send()) {
      transport::EscalationParts& p = reply->parts;
      if (time) *time = p.time;
      defs::take(forms, p.forms);
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
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
  return call.finish(nullptr, forms, enable, qualifier, ifActions, elseActions, helpText, timestamp,
                     owner, lastChanged, changeDiary, properties);
}

int ZQSetEscalation(ZQControlStruct* control, const char* name, const char* newName,
                    ZQEscalationTimeStruct* time, ZQWorkflowConnectStruct* forms, uint32_t* enable,
                    ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                    ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                    const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  Call<proc::SetEscalation> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kEscalationName)(time, changed::kEscalationTime)(
          workflow::connectionGiven(forms), changed::kEscalationForms)(
          enable, changed::kEscalationEnable)(qualifier, changed::kEscalationQualifier)(
          ifActions, changed::kEscalationIf)(elseActions, changed::kEscalationElse)(
          helpText, changed::kEscalationHelp)(owner, changed::kEscalationOwner)(
          changeDiary, changed::kEscalationDiary)(properties, changed::kEscalationProperties)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  const EscalationInput in{time,      forms,       enable, qualifier,
                           ifActions, elseActions, owner,  properties};
  if (call.refused(checkEscalationInput(in, false, status))) return call.rc();
  call.record(diag::Command::SetEscalation, name, newName, diag::optional(enable),
              diag::described(qualifier), diag::described(ifActions), diag::described(elseActions),
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties));
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    fillEscalation(a.parts, in, helpText, changeDiary);
    call.send();
  }
  return call.finish();
}

int ZQCreateEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                       ZQWorkflowConnectStruct* forms, uint32_t enable,
                       ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                       ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                       const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  Call<proc::CreateEscalation> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  const EscalationInput in{time,      forms,       &enable, qualifier,
                           ifActions, elseActions, owner,   properties};
  if (call.refused(checkEscalationInput(in, true, status))) return call.rc();
  call.record(diag::Command::CreateEscalation, name, enable, diag::described(qualifier),
              diag::described(ifActions), diag::described(elseActions), diag::LongText{helpText},
              owner, diag::LongText{changeDiary}, diag::described(properties));
  if (call.bind()) {
    call.args().name = const_cast<char*>(name);
    fillEscalation(call.args().parts, in, helpText, changeDiary);
    call.send();
  }
  return call.finish();
}

int ZQDeleteEscalation(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteEscalation>(diag::Command::DeleteEscalation, control, name,
                                                    deleteOption, status);
}

int ZQGetListEscalation(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status) {
  return workflow::getListByForm<proc::GetListEscalation>(
      diag::Command::GetListEscalation, control, form, changedSince, properties, names, status);
}

int ZQGetMultipleEscalations(ZQControlStruct* control, ZQTimestamp changedSince,
                             ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                             ZQEscalationTimeList* times, ZQWorkflowConnectList* forms,
                             ZQUnsignedIntList* enables, ZQQualifierList* qualifiers,
                             ZQFilterActionListList* ifActions, ZQFilterActionListList* elseActions,
                             ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                             ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                             ZQTextStringList* changeDiaries, ZQPropListList* properties,
                             ZQStatusList* status) {
  defs::clearAll(exists, names, times, forms, enables, qualifiers, ifActions, elseActions,
                 helpTexts, timestamps, owners, lastChanged, changeDiaries, properties);
  Call<proc::GetMultipleEscalations> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleEscalations, static_cast<uint32_t>(changedSince),
              wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    a.wanted =
        Mask()(exists, w::kMultiEscalationExists)(names, w::kMultiEscalationNames)(
            times, w::kMultiEscalationTimes)(forms, w::kMultiEscalationForms)(
            enables, w::kMultiEscalationEnables)(qualifiers, w::kMultiEscalationQualifiers)(
            ifActions, w::kMultiEscalationIf)(elseActions, w::kMultiEscalationElse)(
            helpTexts, w::kMultiEscalationHelp)(timestamps, w::kMultiEscalationTimestamps)(
            owners, w::kMultiEscalationOwners)(lastChanged, w::kMultiEscalationLastChanged)(
            changeDiaries, w::kMultiEscalationDiaries)(properties, w::kMultiEscalationProperties)
            .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(times, r->times);
      defs::take(forms, r->forms);
      defs::take(enables, r->enables);
      defs::take(qualifiers, r->qualifiers);
      defs::take(ifActions, r->ifActions);
      defs::take(elseActions, r->elseActions);
      defs::takeCommon(r->common, helpTexts, timestamps, owners, lastChanged, changeDiaries,
                       properties);
    }
  }
  if (!replied) return call.finish();
  return call.finish(exists, names, nullptr, forms, enables, qualifiers, ifActions, elseActions,
                     helpTexts, timestamps, owners, lastChanged, changeDiaries, properties);
}

}  // extern "C"
