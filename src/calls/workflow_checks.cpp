#include "calls/workflow_checks.h"

#include <cstring>

#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "zqapi/zq_free.h"

namespace zq::checks {
namespace {

constexpr uint32_t kMaxActions = 25;
constexpr size_t kMaxName = 254;
constexpr size_t kMaxServer = 64;
constexpr size_t kMaxText = 255;
constexpr size_t kMaxCommand = 4096;
constexpr size_t kMaxLinkMessage = 4095;
constexpr int kMaxMenuDepth = 16;
constexpr uint32_t kMaxMenuItems = 200;

int fail(ZQStatusList* status, int32_t message) {
  return addError(status, message);
}

// Length as the server counts it, never less than the bytes themselves.
size_t serverLength(const char* text) {
  const size_t bytes = strlen(text);
  const size_t counted = ZQServerTextLength(text);
  return counted > bytes ? counted : bytes;
}
bool longer(const char* text, size_t max) {
  return text && serverLength(text) > max;
}
bool empty(const char* text) {
  return !text || !*text;
}
template <size_t N>
size_t fixedLength(const char (&name)[N]) {
  return strnlen(name, N);
}

// A null text made empty in the caller's structure.
bool emptyIfNull(char*& text) {
  if (text) return true;
  text = dupString("");
  return text != nullptr;
}

// Runs checks in order, stopping at the first failure.
struct Chain {
  int rc = ZQ_RETURN_OK;
  template <class F>
  Chain& then(F&& check) {
    if (rc < ZQ_RETURN_ERROR) rc = check();
    return *this;
  }
};

int checkLists(uint32_t count, const void* items, int32_t emptyMessage, ZQStatusList* status) {
  if (count == 0) return fail(status, emptyMessage);
  if (!items) return fail(status, kMsgCountWithoutItems);
  if (count > kMaxActions) return fail(status, kMsgTooManyOrConflicting);
  return ZQ_RETURN_OK;
}

int checkSamples(const char* sampleSchema, size_t schemaWidth, const char* sampleServer,
                 size_t serverWidth, ZQStatusList* status) {
  if (strnlen(sampleSchema, schemaWidth) > kMaxName) return fail(status, kMsgTooLong);
  if (strnlen(sampleServer, serverWidth) > kMaxServer) return fail(status, kMsgTooLong);
  return ZQ_RETURN_OK;
}

int checkCommand(const char* command, size_t max, ZQStatusList* status) {
  return empty(command) || longer(command, max) ? fail(status, kMsgBadProcess) : ZQ_RETURN_OK;
}

// ---- assignments ----------------------------------------------------------------------------

int checkDde(ZQDDEStruct* dde, ZQStatusList* status) {
  if (!dde) return fail(status, kMsgDdeMissing);
  if (empty(dde->serviceName) || longer(dde->serviceName, kMaxServer) || empty(dde->topic) ||
      longer(dde->topic, kMaxServer))
    return fail(status, kMsgBadDdeName);
  if (longer(dde->item, 32767)) return fail(status, kMsgBadDdeItem);
  if (dde->action < 1 || dde->action > 3) return fail(status, kMsgBadDdeAction);
  if (longer(dde->pathToProgram, kMaxText)) return fail(status, kMsgPathTooLong);
  if (longer(dde->command, kMaxText) || (!dde->command && dde->action != 3))
    return fail(status, kMsgBadProcess);
  if (!emptyIfNull(dde->item) || !emptyIfNull(dde->command)) return fail(status, kMsgNoMemory);
  return ZQ_RETURN_OK;
}

int checkFieldSource(ZQAssignFieldStruct* field, ZQStatusList* status) {
  if (!field) return fail(status, kMsgAssignMissing);
  if (checkQualifier(&field->qualifier, true, status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  switch (field->tag) {
    case ZQ_FIELD:
      break;
    case ZQ_STAT_HISTORY:
      if (field->u.statHistory.userOrTime != ZQ_STAT_HISTORY_USER &&
          field->u.statHistory.userOrTime != ZQ_STAT_HISTORY_TIME)
        return fail(status, kMsgBadStatHistory);
      break;
    case ZQ_CURRENCY_FLD:
      if (!field->u.currencyField || field->u.currencyField->partTag > 4)
        return fail(status, kMsgBadCurrencyPart);
      break;
    default:
      return fail(status, kMsgBadFieldSourceTag);
  }
  if (field->noMatchOption < 1 || field->noMatchOption > 4) return fail(status, kMsgBadNoMatch);
  if (field->multiMatchOption < 1 || field->multiMatchOption > 7)
    return fail(status, kMsgBadMultiMatch);
  return ZQ_RETURN_OK;
}

int checkArithmeticAssign(ZQArithOpAssignStruct* arith, ZQStatusList* status) {
  if (!arith) return fail(status, kMsgArithMissing);
  if (arith->operation < ZQ_ARITH_OP_ADD || arith->operation > ZQ_ARITH_OP_NEGATE)
    return fail(status, kMsgBadArithOp);
  if (arith->operation == ZQ_ARITH_OP_NEGATE) {
    arith->left.assignType = 0;  // a negation has no left operand
    return checkAssignment(&arith->right, status);
  }
  const int rc = checkAssignment(&arith->left, status);
  return rc >= ZQ_RETURN_ERROR ? rc : checkAssignment(&arith->right, status);
}

int checkFunction(ZQFunctionAssignStruct* function, ZQStatusList* status) {
  if (!function) return fail(status, kMsgFunctionMissing);
  if (function->functionCode < 1 || function->functionCode > 50)
    return fail(status, kMsgBadFunctionCode);
  if (function->count && !function->items) return fail(status, kMsgFunctionArgsMissing);
  for (uint32_t i = 0; i < function->count; ++i)
    if (checkAssignment(&function->items[i], status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  return ZQ_RETURN_OK;
}

int checkSqlSource(ZQAssignSQLStruct* sql, ZQStatusList* status) {
  if (!sql) return fail(status, kMsgAssignMissing);
  if (empty(sql->sqlCommand)) return fail(status, kMsgSqlCommandMissing);
  if (sql->noMatchOption < 1 || sql->noMatchOption > 2) return fail(status, kMsgBadNoMatch);
  if (sql->multiMatchOption < 1 || sql->multiMatchOption > 4)
    return fail(status, kMsgBadMultiMatch);
  return ZQ_RETURN_OK;
}

int checkFilterApi(ZQAssignFilterApiStruct* api, ZQStatusList* status) {
  if (!api) return fail(status, kMsgAssignMissing);
  const size_t n = fixedLength(api->serviceName);
  if (n == 0) return fail(status, kMsgNameRequired);
  if (n > kMaxName) return fail(status, kMsgTooLong);
  if (api->count && !api->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < api->count; ++i)
    if (checkAssignment(&api->items[i], status) >= ZQ_RETURN_ERROR)
      return fail(status, kMsgBadFilterApiInput);
  return ZQ_RETURN_OK;
}

// ---- action payloads -------------------------------------------------------------------------

int checkSetFields(ZQSetFieldsStruct& s, ZQStatusList* status) {
  if (checkFieldAssignments(&s.fieldAssignList, status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  return checkSamples(s.sampleSchema, sizeof s.sampleSchema, s.sampleServer, sizeof s.sampleServer,
                      status);
}

int checkPushFields(ZQPushFieldsAction& p, ZQStatusList* status) {
  ZQPushFieldsList& l = p.pushFieldsList;
  if (l.count == 0) return fail(status, kMsgEmptyAssignList);
  if (!l.items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < l.count; ++i) {
    if (checkFieldSource(&l.items[i].target, status) >= ZQ_RETURN_ERROR ||
        checkAssignment(&l.items[i].source, status) >= ZQ_RETURN_ERROR)
      return fail(status, kMsgBadAssignItem);
  }
  return checkSamples(p.sampleSchema, sizeof p.sampleSchema, p.sampleServer, sizeof p.sampleServer,
                      status);
}

int checkSqlAction(const ZQSQLStruct& sql, ZQStatusList* status) {
  return empty(sql.sqlCommand) ? fail(status, kMsgSqlCommandMissing) : ZQ_RETURN_OK;
}

int checkGoto(const ZQGotoActionStruct& g, ZQStatusList* status) {
  if (g.tag < ZQ_GOTO_FIELD_XREF || g.tag > ZQ_GOTO_OFFSET_BACKWARD)
    return fail(status, kMsgBadGotoTag);
  if (g.tag == ZQ_GOTO_FIELD_XREF && g.targetValue == 0) return fail(status, kMsgAssignMissing);
  return ZQ_RETURN_OK;
}

int checkMappings(ZQFieldAssignList& in, ZQFieldAssignList& out, ZQStatusList* status) {
  if (in.count && checkFieldAssignments(&in, status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  if (out.count && checkFieldAssignments(&out, status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  return ZQ_RETURN_OK;
}

// In a filter an empty server means this server ("@"); an active link names one.
int checkCallGuide(ZQCallGuideStruct& g, bool filter, ZQStatusList* status) {
  if (g.serverName[0] == '\0') {
    if (!filter) return fail(status, kMsgServerNameMissing);
    copyName(g.serverName, "@", sizeof g.serverName);
  }
  if (fixedLength(g.serverName) > kMaxServer) return fail(status, kMsgTooLong);
  if (g.guideName[0] == '\0') return fail(status, kMsgGuideNameMissing);
  if (fixedLength(g.guideName) > kMaxName) return fail(status, kMsgTooLong);
  if (checkMappings(g.inputMappings, g.outputMappings, status) >= ZQ_RETURN_ERROR)
    return ZQ_RETURN_ERROR;
  if (fixedLength(g.sampleServerName) > kMaxServer || fixedLength(g.sampleGuideName) > kMaxName)
    return fail(status, kMsgTooLong);
  return ZQ_RETURN_OK;
}

int checkLabel(const ZQGotoGuideLabelStruct& l, ZQStatusList* status) {
  return empty(l.label) || strlen(l.label) > 128 ? fail(status, kMsgBadGuideLabel) : ZQ_RETURN_OK;
}

int checkService(ZQSvcActionStruct& s, ZQStatusList* status) {
  if (s.server[0] == '\0') return fail(status, kMsgServerNameMissing);
  if (fixedLength(s.server) > kMaxServer) return fail(status, kMsgTooLong);
  if (s.schema[0] == '\0') return fail(status, kMsgFormNameMissing);
  if (fixedLength(s.schema) > kMaxName) return fail(status, kMsgTooLong);
  return checkMappings(s.inputMappings, s.outputMappings, status);
}

int checkNotify(ZQNotifyStruct& n, ZQStatusList* status) {
  if (!emptyIfNull(n.subject)) return fail(status, kMsgNoMemory);
  if (n.mechanism < 1 || n.mechanism > 99) return fail(status, kMsgBadNotifyMechanism);
  if (n.priority > 10) return fail(status, kMsgBadNotifyPriority);
  if (longer(n.user, kMaxText)) return fail(status, kMsgNotifyUserTooLong);
  if (!n.text) return fail(status, kMsgAlertTextRequired);
  if (longer(n.subject, kMaxText)) return fail(status, kMsgNotifySubjectTooLong);
  if (n.fieldIdListKind > ZQ_NOTIFY_FIELDS_CHANGED) return fail(status, kMsgBadNotifyFieldList);
  if (n.fieldIdListKind == ZQ_NOTIFY_FIELDS_NONE) {
    FreeZQInternalIdList(&n.fieldIdList, 0);
    n.fieldIdList = ZQInternalIdList{0, nullptr};
    return ZQ_RETURN_OK;
  }
  if (!n.advanced) return ZQ_RETURN_OK;
  const ZQFilterActionNotifyAdvanced& a = *n.advanced;
  const struct {
    const char* text;
    int32_t message;
  } strings[] = {{a.fromUser, kMsgNotifyFromTooLong},
                 {a.replyTo, kMsgNotifyReplyToTooLong},
                 {a.ccUser, kMsgNotifyCcTooLong},
                 {a.bccUser, kMsgNotifyBccTooLong},
                 {a.organization, kMsgNotifyOrganizationTooLong},
                 {a.mailboxName, kMsgNotifyMailboxTooLong},
                 {a.headerTemplate, kMsgNotifyHeaderTooLong},
                 {a.footerTemplate, kMsgNotifyFooterTooLong},
                 {a.contentTemplate, kMsgNotifyContentTooLong}};
  for (const auto& s : strings)
    if (s.text && strlen(s.text) > kMaxText) return fail(status, s.message);
  return ZQ_RETURN_OK;
}

int checkMessageNumber(int32_t number, ZQStatusList* status) {
  return number >= 0 && number <= 9999 ? fail(status, kMsgReservedMessageNumber) : ZQ_RETURN_OK;
}

// ---- active link payloads --------------------------------------------------------------------

int checkMacro(ZQActiveLinkMacroStruct& m, ZQStatusList* status) {
  ZQMacroParmList& parms = m.macroParms;
  if (parms.count && !parms.items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < parms.count; ++i) {
    ZQMacroParmStruct& p = parms.items[i];
    if (p.name[0] == '\0') return fail(status, kMsgMacroParmNameMissing);
    if (!emptyIfNull(p.value)) return fail(status, kMsgNoMemory);
    if (longer(p.value, kMaxText)) return fail(status, kMsgMacroParmTooLong);
  }
  if (m.macroName[0] == '\0' || empty(m.macroText)) return fail(status, kMsgMacroMissing);
  return ZQ_RETURN_OK;
}

int checkCharacteristics(ZQFieldCharacteristicsStruct& c, ZQStatusList* status) {
  if (c.fieldId == 0) return fail(status, kMsgFieldIdZero);
  if (longer(c.charMenu, kMaxName)) return fail(status, kMsgTooLong);
  if (checkProperties(&c.properties, status) >= ZQ_RETURN_ERROR) return ZQ_RETURN_ERROR;
  if (c.resetFocus > 1) return fail(status, kMsgBadResetFocus);
  if (c.accessOption > 3) return fail(status, kMsgBadAccessOption);
  return emptyIfNull(c.charMenu) ? ZQ_RETURN_OK : fail(status, kMsgNoMemory);
}

// A value of an automation: passes or not; the caller adds its message.
bool comValuePasses(ZQCOMValueStruct& v, ZQStatusList* status) {
  if (v.interfaceId && strlen(v.interfaceId) > 128) {
    fail(status, kMsgBadAutomationId);
    return false;
  }
  if (v.valueType == ZQ_COM_VALUE_NONE || v.valueType == ZQ_COM_VALUE_FIELD) return true;
  if (v.valueType != ZQ_COM_VALUE_VALUE) return false;
  ZQStatusList scratch{0, nullptr};
  const int rc = checkValue(&v.u.value, &scratch);
  FreeZQStatusList(&scratch, 0);
  return rc < ZQ_RETURN_ERROR;
}

bool givenUpTo(const char* text, size_t max) {
  return !empty(text) && strlen(text) <= max;
}

int checkMethod(ZQCOMMethodStruct* m, ZQStatusList* status) {
  if (!m) return fail(status, kMsgMethodMissing);
  if (!givenUpTo(m->methodInterfaceId, 128)) return fail(status, kMsgBadAutomationId);
  if (!comValuePasses(m->methodValue, status)) return fail(status, kMsgBadAutomationValue);
  ZQCOMMethodParmList& parms = m->parameters;
  if (parms.count && !parms.items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < parms.count; ++i) {
    ZQCOMMethodParmStruct& p = parms.items[i];
    int rc = ZQ_RETURN_OK;
    if (!givenUpTo(p.parameterName, 1024))
      rc = fail(status, kMsgBadAutomationName);
    else if (!comValuePasses(p.parameterValue, status))
      rc = fail(status, kMsgBadAutomationValue);
    if (rc >= ZQ_RETURN_ERROR) return fail(status, kMsgBadMethodParameter);
  }
  return ZQ_RETURN_OK;
}

int checkAutomation(ZQOutboundAutomationStruct& a, ZQStatusList* status) {
  if (!givenUpTo(a.autoServerName, 1024)) return fail(status, kMsgBadAutomationName);
  if (!givenUpTo(a.automationAction, 2000)) return fail(status, kMsgBadAutomationAction);
  if (!givenUpTo(a.classId, 128)) return fail(status, kMsgBadAutomationId);
  if (a.methods.count == 0) return fail(status, kMsgEmptyMethodList);
  if (!a.methods.items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < a.methods.count; ++i)
    if (checkMethod(&a.methods.items[i], status) >= ZQ_RETURN_ERROR)
      return fail(status, kMsgBadMethodItem);
  return ZQ_RETURN_OK;
}

int checkOpenWindow(ZQOpenDialogStruct& o, ZQStatusList* status) {
  if (o.serverName[0] == '\0') return fail(status, kMsgServerNameMissing);
  if (fixedLength(o.serverName) > kMaxServer) return fail(status, kMsgTooLong);
  if (o.schemaName[0] == '\0') return fail(status, kMsgFormNameMissing);
  if (fixedLength(o.schemaName) > kMaxName) return fail(status, kMsgTooLong);
  if (checkMappings(o.inputValues, o.outputValues, status) >= ZQ_RETURN_ERROR)
    return ZQ_RETURN_ERROR;
  if (o.qualifier.operation != ZQ_COND_OP_NONE &&
      checkQualifier(&o.qualifier, true, status) >= ZQ_RETURN_ERROR)
    return ZQ_RETURN_ERROR;
  if (o.sortList.count && checkSortList(&o.sortList, status) >= ZQ_RETURN_ERROR)
    return ZQ_RETURN_ERROR;
  if (o.message.messageType > 5) return fail(status, kMsgBadMessageType);
  if (longer(o.message.message, kMaxText)) return fail(status, kMsgBadMessageText);
  if (o.windowMode < 0 || o.windowMode > 11) return fail(status, kMsgOptionOutOfRange);
  if (o.targetLocation && strlen(o.targetLocation) > kMaxText)
    return fail(status, kMsgTooLongForServer);
  return ZQ_RETURN_OK;
}

// ---- menus -----------------------------------------------------------------------------------

int checkMenuAt(const ZQCharMenuStruct* menu, int depth, ZQStatusList* status);

int checkListMenu(const ZQCharMenuList& l, int depth, ZQStatusList* status) {
  if (l.count == 0) return fail(status, kMsgEmptyListMenu);
  if (!l.items) return fail(status, kMsgCountWithoutItems);
  if (l.count >= kMaxMenuItems) return fail(status, kMsgTooManyMenuItems);
  for (uint32_t i = 0; i < l.count; ++i) {
    const ZQCharMenuItemStruct& item = l.items[i];
    if (checkFixedName(item.label, sizeof item.label, false, status) >= ZQ_RETURN_ERROR)
      return fail(status, kMsgBadCharMenu);
    switch (item.type) {
      case ZQ_MENU_ITEM_VALUE:
        if (longer(item.u.value, kMaxText)) return fail(status, kMsgBadCharMenu);
        break;
      case ZQ_MENU_ITEM_MENU:
        if (depth + 1 >= kMaxMenuDepth) return fail(status, kMsgMenuTooDeep);
        if (checkMenuAt(item.u.childMenu, depth + 1, status) >= ZQ_RETURN_ERROR)
          return ZQ_RETURN_ERROR;
        break;
      default:
        return fail(status, kMsgBadMenuItemType);
    }
  }
  return ZQ_RETURN_OK;
}

int checkQueryMenu(const ZQCharMenuQueryStruct& q, ZQStatusList* status) {
  ZQQualifierStruct qualifier = q.qualifier;  // the check may repair; the menu stays as given
  int rc = checkFixedName(q.schemaName, sizeof q.schemaName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkServerName(q.serverName, sizeof q.serverName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkQualifier(&qualifier, true, status);
  if (rc < ZQ_RETURN_ERROR && (q.labelFieldId[0] == 0 || q.valueFieldId == 0))
    rc = fail(status, kMsgFieldIdZero);
  if (rc < ZQ_RETURN_ERROR)
    rc = checkFixedName(q.sampleSchemaName, sizeof q.sampleSchemaName, true, status);
  if (rc < ZQ_RETURN_ERROR)
    rc = checkServerName(q.sampleServerName, sizeof q.sampleServerName, true, status);
  return rc < ZQ_RETURN_ERROR ? rc : fail(status, kMsgBadCharMenu);
}

int checkMenuAt(const ZQCharMenuStruct* menu, int depth, ZQStatusList* status) {
  if (!menu) return ZQ_RETURN_OK;
  const auto& u = menu->u;
  switch (menu->menuType) {
    case ZQ_CHAR_MENU_NONE:
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_LIST:
      return checkListMenu(u.menuList, depth, status);
    case ZQ_CHAR_MENU_QUERY:
      return checkQueryMenu(u.menuQuery, status);
    case ZQ_CHAR_MENU_FILE:
      if (u.menuFile.fileLocation != ZQ_MENU_FILE_SERVER &&
          u.menuFile.fileLocation != ZQ_MENU_FILE_CLIENT)
        return fail(status, kMsgBadMenuFileLocation);
      if (empty(u.menuFile.filename) || strlen(u.menuFile.filename) > kMaxText)
        return fail(status, kMsgBadMenuFileName);
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_SQL:
      if (fixedLength(u.menuSQL.serverName) > kMaxServer || empty(u.menuSQL.sqlCommand) ||
          u.menuSQL.labelIndex[0] == 0 || u.menuSQL.valueIndex == 0)
        return fail(status, kMsgBadCharMenu);
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_SS:
      if (empty(u.menuSS.menuName) || strlen(u.menuSS.menuName) > kMaxName)
        return fail(status, kMsgBadCharMenu);
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_DATA_DICTIONARY: {
      const ZQCharMenuDDStruct& d = u.menuDD;
      const bool good =
          fixedLength(d.serverName) <= kMaxServer &&
          (d.menuKind == ZQ_MENU_DD_FORM ||
           (d.menuKind == ZQ_MENU_DD_FIELD && fixedLength(d.u.fieldDefn.formName) < 255));
      return good ? ZQ_RETURN_OK : fail(status, kMsgBadCharMenu);
    }
    default:
      return fail(status, kMsgBadMenuType);
  }
}

}  // namespace

// ---- action lists --------------------------------------------------------------------------

int checkFilterActions(ZQFilterActionList* actions, ActionListPlace place, ZQStatusList* status) {
  const int32_t none = place.escalation ? kMsgNoEscalationActions : kMsgNoFilterActions;
  if (!actions) return fail(status, none);
  if (int rc = checkLists(actions->count, actions->items, none, status)) return rc;
  for (uint32_t i = 0; i < actions->count; ++i)
    if (checkFilterAction(&actions->items[i], place, status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  return ZQ_RETURN_OK;
}

int checkFilterAction(ZQFilterActionStruct* a, ActionListPlace place, ZQStatusList* status) {
  auto& u = a->u;
  const bool guideAction = a->action == ZQ_FILTER_ACTION_CALLGUIDE ||
                           a->action == ZQ_FILTER_ACTION_EXITGUIDE ||
                           a->action == ZQ_FILTER_ACTION_GOTOGUIDELABEL;
  if (place.escalation && guideAction) return fail(status, kMsgNotInEscalation);
  switch (a->action) {
    case ZQ_FILTER_ACTION_NOTIFY:
      return checkNotify(u.notify, status);
    case ZQ_FILTER_ACTION_MESSAGE:
      if (place.escalation) return fail(status, kMsgNotInEscalationList);
      if (u.message.messageType > 2) return fail(status, kMsgBadMessageType);
      if (checkMessageNumber(u.message.messageNumber, status)) return ZQ_RETURN_ERROR;
      if (!u.message.message || longer(u.message.message, kMaxText))
        return fail(status, kMsgBadMessageText);
      return ZQ_RETURN_OK;
    case ZQ_FILTER_ACTION_LOG:
      if (place.escalation && place.elseList) return fail(status, kMsgNotInEscalationList);
      return longer(u.logFile, kMaxText) ? fail(status, kMsgPathTooLong) : ZQ_RETURN_OK;
    case ZQ_FILTER_ACTION_FIELDS:
      return checkSetFields(u.setFields, status);
    case ZQ_FILTER_ACTION_PROCESS:
      return checkCommand(u.process, kMaxCommand, status);
    case ZQ_FILTER_ACTION_FIELDP:
      return checkPushFields(u.pushFields, status);
    case ZQ_FILTER_ACTION_SQL:
      return checkSqlAction(u.sqlCommand, status);
    case ZQ_FILTER_ACTION_GOTOACTION:
      return checkGoto(u.gotoAction, status);
    case ZQ_FILTER_ACTION_CALLGUIDE:
      return checkCallGuide(u.callGuide, true, status);
    case ZQ_FILTER_ACTION_EXITGUIDE:
      return ZQ_RETURN_OK;
    case ZQ_FILTER_ACTION_GOTOGUIDELABEL:
      return checkLabel(u.gotoGuideLabel, status);
    case ZQ_FILTER_ACTION_SERVICE:
      return checkService(u.serviceAction, status);
    default:
      return fail(status, place.escalation ? kMsgNotInEscalation : kMsgBadFilterAction);
  }
}

int checkActiveLinkActions(ZQActiveLinkActionList* actions, ZQStatusList* status) {
  if (!actions) return fail(status, kMsgNoActiveLinkActions);
  if (int rc = checkLists(actions->count, actions->items, kMsgNoActiveLinkActions, status))
    return rc;
  for (uint32_t i = 0; i < actions->count; ++i)
    if (checkActiveLinkAction(&actions->items[i], status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  return ZQ_RETURN_OK;
}

int checkActiveLinkAction(ZQActiveLinkActionStruct* a, ZQStatusList* status) {
  auto& u = a->u;
  switch (a->action) {
    case ZQ_ACTIVE_LINK_ACTION_MACRO:
      return checkMacro(u.macro, status);
    case ZQ_ACTIVE_LINK_ACTION_FIELDS:
      return checkSetFields(u.setFields, status);
    case ZQ_ACTIVE_LINK_ACTION_PROCESS:
      return checkCommand(u.process, kMaxCommand, status);
    case ZQ_ACTIVE_LINK_ACTION_MESSAGE: {
      const uint32_t t = u.message.messageType;
      if (t > 2 && t != ZQ_MESSAGE_PROMPT && t != ZQ_MESSAGE_ACCESSIBLE && t != ZQ_MESSAGE_TOOLTIP)
        return fail(status, kMsgBadMessageType);
      if (checkMessageNumber(u.message.messageNumber, status)) return ZQ_RETURN_ERROR;
      if (!u.message.message || longer(u.message.message, kMaxLinkMessage))
        return fail(status, kMsgBadMessageText);
      return ZQ_RETURN_OK;
    }
    case ZQ_ACTIVE_LINK_ACTION_SET_CHAR:
      return checkCharacteristics(u.characteristics, status);
    case ZQ_ACTIVE_LINK_ACTION_DDE:
      return checkDde(&u.dde, status);
    case ZQ_ACTIVE_LINK_ACTION_FIELDP:
      return checkPushFields(u.pushFields, status);
    case ZQ_ACTIVE_LINK_ACTION_SQL:
      return checkSqlAction(u.sqlCommand, status);
    case ZQ_ACTIVE_LINK_ACTION_AUTO:
      return checkAutomation(u.automation, status);
    case ZQ_ACTIVE_LINK_ACTION_OPENDLG:
      return checkOpenWindow(u.openDialog, status);
    case ZQ_ACTIVE_LINK_ACTION_COMMITC:
    case ZQ_ACTIVE_LINK_ACTION_CLOSEWND:
    case ZQ_ACTIVE_LINK_ACTION_EXITGUIDE:
      return ZQ_RETURN_OK;
    case ZQ_ACTIVE_LINK_ACTION_CALLGUIDE:
      return checkCallGuide(u.callGuide, false, status);
    case ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL:
      return checkLabel(u.gotoGuideLabel, status);
    case ZQ_ACTIVE_LINK_ACTION_WAIT:
      return givenUpTo(u.waitAction.continueButtonTitle, 64) ? ZQ_RETURN_OK
                                                             : fail(status, kMsgBadContinueTitle);
    case ZQ_ACTIVE_LINK_ACTION_GOTOACTION:
      return checkGoto(u.gotoAction, status);
    case ZQ_ACTIVE_LINK_ACTION_SERVICE:
      return checkService(u.serviceAction, status);
    default:
      return fail(status, kMsgBadActiveLinkAction);
  }
}

// ---- assignments -----------------------------------------------------------------------------

int checkFieldAssignments(ZQFieldAssignList* l, ZQStatusList* status) {
  if (!l || l->count == 0) return fail(status, kMsgEmptyAssignList);
  if (!l->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < l->count; ++i)
    if (checkAssignment(&l->items[i].assignment, status) >= ZQ_RETURN_ERROR)
      return fail(status, kMsgBadAssignItem);
  return ZQ_RETURN_OK;
}

int checkAssignment(ZQAssignStruct* a, ZQStatusList* status) {
  switch (a->assignType) {
    case ZQ_ASSIGN_TYPE_VALUE:
      return checkValue(&a->u.value, status);
    case ZQ_ASSIGN_TYPE_FIELD:
      return checkFieldSource(a->u.field, status);
    case ZQ_ASSIGN_TYPE_PROCESS:
      return checkCommand(a->u.process, kMaxText, status);
    case ZQ_ASSIGN_TYPE_ARITH:
      return checkArithmeticAssign(a->u.arithOp, status);
    case ZQ_ASSIGN_TYPE_FUNCTION:
      return checkFunction(a->u.function, status);
    case ZQ_ASSIGN_TYPE_DDE:
      return checkDde(a->u.dde, status);
    case ZQ_ASSIGN_TYPE_SQL:
      return checkSqlSource(a->u.sql, status);
    case ZQ_ASSIGN_TYPE_FILTER_API:
      return checkFilterApi(a->u.filterApi, status);
    default:
      return fail(status, kMsgBadAssignType);
  }
}

// ---- escalation times, connections, menus, containers ----------------------------------------

int32_t escalationTimeMessage(const ZQEscalationTimeStruct& t) {
  switch (t.kind) {
    case ZQ_ESCALATION_INTERVAL:
      return t.u.interval > 0 ? 0 : kMsgBadEscalationTime;
    case ZQ_ESCALATION_CALENDAR:
      return scheduleMessage(t.u.date.monthday, t.u.date.weekday, t.u.date.hourmask,
                             t.u.date.minute);
    default:
      return kMsgBadEscalationTimeType;
  }
}

int checkConnection(const ZQWorkflowConnectStruct* forms, ZQStatusList* status) {
  if (!forms) return ZQ_RETURN_OK;
  if (forms->type != ZQ_WORKFLOW_CONN_SCHEMA_LIST) return fail(status, kMsgBadWorkflowConnection);
  if (forms->schemaList && forms->schemaList->count)
    return checkNameList(forms->schemaList, false, status);
  return ZQ_RETURN_OK;
}

int checkMenu(const ZQCharMenuStruct* menu, ZQStatusList* status) {
  return checkMenuAt(menu, 0, status);
}

int checkContainerOwners(const ZQContainerOwnerObjList* owners, ZQStatusList* status) {
  if (!owners || owners->count == 0) return ZQ_RETURN_OK;
  if (!owners->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < owners->count; ++i) {
    const ZQContainerOwnerObj& o = owners->items[i];
    if (o.type > 2) return fail(status, kMsgBadContainerOwner);
    if (checkFixedName(o.ownerName, sizeof o.ownerName, false, status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  }
  return ZQ_RETURN_OK;
}

int checkReferences(ZQReferenceList* references, ZQStatusList* status) {
  if (!references || references->count == 0) return ZQ_RETURN_OK;
  if (!references->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < references->count; ++i) {
    ZQReferenceStruct& r = references->items[i];
    switch (r.reference.dataType) {
      case ZQ_REFERENCE_INTERNAL:
        if (checkFixedName(r.reference.u.name, sizeof r.reference.u.name, false, status) >=
            ZQ_RETURN_ERROR)
          return ZQ_RETURN_ERROR;
        break;
      case ZQ_REFERENCE_EXTERNAL:
        if (checkValue(&r.reference.u.extRef.value, status) >= ZQ_RETURN_ERROR)
          return fail(status, kMsgBadContainerReferenceValue);
        break;
      default:
        return fail(status, kMsgBadContainerReference);
    }
  }
  return ZQ_RETURN_OK;
}

}  // namespace zq::checks
