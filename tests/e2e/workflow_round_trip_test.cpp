// A filter and an active link holding every action type, created against
// zqserverd, read back and compared member by member by hand: the wire codec
// writing and reading each action is checked against what the caller built,
// never against itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "definitions_fixture.h"

using zqtest::charValue;
using zqtest::intValue;
using zqtest::Names;
using zqtest::Status;

namespace {

template <size_t N>
void setName(char (&to)[N], const char* from) {
  memset(to, 0, N);
  memcpy(to, from, std::min(strlen(from), N - 1));
}

// Strings the library may hand back as null where the caller sent "".
std::string text(const char* s) {
  return s ? s : "";
}

// ---- hand-written comparisons --------------------------------------------------------------

void expectValue(const ZQValueStruct& got, const ZQValueStruct& want) {
  ASSERT_EQ(got.dataType, want.dataType);
  switch (want.dataType) {
    case ZQ_DATA_TYPE_INTEGER:
      EXPECT_EQ(got.u.integerValue, want.u.integerValue);
      break;
    case ZQ_DATA_TYPE_CHAR:
      EXPECT_EQ(text(got.u.charValue), text(want.u.charValue));
      break;
    case ZQ_DATA_TYPE_NULL:
      break;
    default:
      FAIL() << "value type " << want.dataType << " not compared here";
  }
}

// Qualifications here are one relation: field <op> value.
void expectQualifier(const ZQQualifierStruct& got, const ZQQualifierStruct& want) {
  ASSERT_EQ(got.operation, want.operation);
  if (want.operation == ZQ_COND_OP_NONE) return;
  ASSERT_EQ(want.operation, static_cast<uint32_t>(ZQ_COND_OP_REL_OP));
  ASSERT_NE(got.u.relation, nullptr);
  const ZQRelOpStruct& g = *got.u.relation;
  const ZQRelOpStruct& w = *want.u.relation;
  EXPECT_EQ(g.operation, w.operation);
  EXPECT_EQ(g.left.tag, w.left.tag);
  EXPECT_EQ(g.left.u.fieldId, w.left.u.fieldId);
  ASSERT_EQ(g.right.tag, w.right.tag);
  expectValue(g.right.u.value, w.right.u.value);
}

void expectAssignment(const ZQAssignStruct& got, const ZQAssignStruct& want);

void expectFieldSource(const ZQAssignFieldStruct& got, const ZQAssignFieldStruct& want) {
  EXPECT_STREQ(got.server, want.server);
  EXPECT_STREQ(got.schema, want.schema);
  expectQualifier(got.qualifier, want.qualifier);
  ASSERT_EQ(got.tag, want.tag);
  switch (want.tag) {
    case ZQ_FIELD:
      EXPECT_EQ(got.u.fieldId, want.u.fieldId);
      break;
    case ZQ_STAT_HISTORY:
      EXPECT_EQ(got.u.statHistory.enumeratedValueIndex, want.u.statHistory.enumeratedValueIndex);
      EXPECT_EQ(got.u.statHistory.userOrTime, want.u.statHistory.userOrTime);
      break;
    case ZQ_CURRENCY_FLD:
      ASSERT_NE(got.u.currencyField, nullptr);
      EXPECT_EQ(got.u.currencyField->fieldId, want.u.currencyField->fieldId);
      EXPECT_EQ(got.u.currencyField->partTag, want.u.currencyField->partTag);
      EXPECT_STREQ(got.u.currencyField->currencyCode, want.u.currencyField->currencyCode);
      break;
  }
  EXPECT_EQ(got.noMatchOption, want.noMatchOption);
  EXPECT_EQ(got.multiMatchOption, want.multiMatchOption);
}

void expectDde(const ZQDDEStruct& got, const ZQDDEStruct& want) {
  EXPECT_EQ(text(got.serviceName), text(want.serviceName));
  EXPECT_EQ(text(got.topic), text(want.topic));
  EXPECT_EQ(text(got.item), text(want.item));
  EXPECT_EQ(got.action, want.action);
  EXPECT_EQ(text(got.pathToProgram), text(want.pathToProgram));
  EXPECT_EQ(text(got.command), text(want.command));
}

void expectAssignments(uint32_t gotCount, const ZQAssignStruct* got, uint32_t wantCount,
                       const ZQAssignStruct* want) {
  ASSERT_EQ(gotCount, wantCount);
  for (uint32_t i = 0; i < wantCount; ++i) {
    SCOPED_TRACE("argument " + std::to_string(i));
    expectAssignment(got[i], want[i]);
  }
}

void expectAssignment(const ZQAssignStruct& got, const ZQAssignStruct& want) {
  ASSERT_EQ(got.assignType, want.assignType);
  const auto& g = got.u;
  const auto& w = want.u;
  switch (want.assignType) {
    case ZQ_ASSIGN_TYPE_VALUE:
      expectValue(g.value, w.value);
      break;
    case ZQ_ASSIGN_TYPE_FIELD:
      ASSERT_NE(g.field, nullptr);
      expectFieldSource(*g.field, *w.field);
      break;
    case ZQ_ASSIGN_TYPE_PROCESS:
      EXPECT_EQ(text(g.process), text(w.process));
      break;
    case ZQ_ASSIGN_TYPE_ARITH:
      ASSERT_NE(g.arithOp, nullptr);
      EXPECT_EQ(g.arithOp->operation, w.arithOp->operation);
      if (w.arithOp->operation != ZQ_ARITH_OP_NEGATE) {
        expectAssignment(g.arithOp->left, w.arithOp->left);
      }
      expectAssignment(g.arithOp->right, w.arithOp->right);
      break;
    case ZQ_ASSIGN_TYPE_FUNCTION:
      ASSERT_NE(g.function, nullptr);
      EXPECT_EQ(g.function->functionCode, w.function->functionCode);
      expectAssignments(g.function->count, g.function->items, w.function->count, w.function->items);
      break;
    case ZQ_ASSIGN_TYPE_DDE:
      ASSERT_NE(g.dde, nullptr);
      expectDde(*g.dde, *w.dde);
      break;
    case ZQ_ASSIGN_TYPE_SQL:
      ASSERT_NE(g.sql, nullptr);
      EXPECT_STREQ(g.sql->server, w.sql->server);
      EXPECT_EQ(text(g.sql->sqlCommand), text(w.sql->sqlCommand));
      EXPECT_EQ(g.sql->valueIndex, w.sql->valueIndex);
      EXPECT_EQ(g.sql->noMatchOption, w.sql->noMatchOption);
      EXPECT_EQ(g.sql->multiMatchOption, w.sql->multiMatchOption);
      break;
    case ZQ_ASSIGN_TYPE_FILTER_API:
      ASSERT_NE(g.filterApi, nullptr);
      EXPECT_STREQ(g.filterApi->serviceName, w.filterApi->serviceName);
      EXPECT_EQ(g.filterApi->valueIndex, w.filterApi->valueIndex);
      expectAssignments(g.filterApi->count, g.filterApi->items, w.filterApi->count,
                        w.filterApi->items);
      break;
    default:
      FAIL() << "assignment type " << want.assignType << " not compared here";
  }
}

void expectFieldAssigns(const ZQFieldAssignList& got, const ZQFieldAssignList& want) {
  ASSERT_EQ(got.count, want.count);
  for (uint32_t i = 0; i < want.count; ++i) {
    SCOPED_TRACE("assignment of field " + std::to_string(want.items[i].fieldId));
    EXPECT_EQ(got.items[i].fieldId, want.items[i].fieldId);
    expectAssignment(got.items[i].assignment, want.items[i].assignment);
  }
}

void expectSetFields(const ZQSetFieldsStruct& got, const ZQSetFieldsStruct& want) {
  expectFieldAssigns(got.fieldAssignList, want.fieldAssignList);
  EXPECT_STREQ(got.sampleServer, want.sampleServer);
  EXPECT_STREQ(got.sampleSchema, want.sampleSchema);
}

void expectPushFields(const ZQPushFieldsAction& got, const ZQPushFieldsAction& want) {
  ASSERT_EQ(got.pushFieldsList.count, want.pushFieldsList.count);
  for (uint32_t i = 0; i < want.pushFieldsList.count; ++i) {
    SCOPED_TRACE("push " + std::to_string(i));
    expectFieldSource(got.pushFieldsList.items[i].target, want.pushFieldsList.items[i].target);
    expectAssignment(got.pushFieldsList.items[i].source, want.pushFieldsList.items[i].source);
  }
  EXPECT_STREQ(got.sampleServer, want.sampleServer);
  EXPECT_STREQ(got.sampleSchema, want.sampleSchema);
}

void expectSql(const ZQSQLStruct& got, const ZQSQLStruct& want) {
  EXPECT_STREQ(got.server, want.server);
  EXPECT_EQ(text(got.sqlCommand), text(want.sqlCommand));
}

void expectGoto(const ZQGotoActionStruct& got, const ZQGotoActionStruct& want) {
  EXPECT_EQ(got.tag, want.tag);
  EXPECT_EQ(got.targetValue, want.targetValue);
}

void expectCallGuide(const ZQCallGuideStruct& got, const ZQCallGuideStruct& want) {
  EXPECT_STREQ(got.serverName, want.serverName);
  EXPECT_STREQ(got.guideName, want.guideName);
  EXPECT_EQ(got.guideMode, want.guideMode);
  EXPECT_EQ(got.guideTableId, want.guideTableId);
  {
    SCOPED_TRACE("input mappings");
    expectFieldAssigns(got.inputMappings, want.inputMappings);
  }
  {
    SCOPED_TRACE("output mappings");
    expectFieldAssigns(got.outputMappings, want.outputMappings);
  }
  EXPECT_STREQ(got.sampleServerName, want.sampleServerName);
  EXPECT_STREQ(got.sampleGuideName, want.sampleGuideName);
}

void expectService(const ZQSvcActionStruct& got, const ZQSvcActionStruct& want) {
  EXPECT_STREQ(got.server, want.server);
  EXPECT_STREQ(got.schema, want.schema);
  EXPECT_EQ(got.requestIdMap, want.requestIdMap);
  {
    SCOPED_TRACE("input mappings");
    expectFieldAssigns(got.inputMappings, want.inputMappings);
  }
  {
    SCOPED_TRACE("output mappings");
    expectFieldAssigns(got.outputMappings, want.outputMappings);
  }
  EXPECT_STREQ(got.sampleServer, want.sampleServer);
  EXPECT_STREQ(got.sampleSchema, want.sampleSchema);
}

void expectNotify(const ZQNotifyStruct& got, const ZQNotifyStruct& want) {
  EXPECT_EQ(text(got.user), text(want.user));
  EXPECT_EQ(text(got.text), text(want.text));
  EXPECT_EQ(got.priority, want.priority);
  EXPECT_EQ(got.mechanism, want.mechanism);
  EXPECT_EQ(got.crossReferenceFieldId, want.crossReferenceFieldId);
  EXPECT_EQ(text(got.subject), text(want.subject));
  EXPECT_EQ(got.fieldIdListKind, want.fieldIdListKind);
  ASSERT_EQ(got.fieldIdList.count, want.fieldIdList.count);
  for (uint32_t i = 0; i < want.fieldIdList.count; ++i)
    EXPECT_EQ(got.fieldIdList.items[i], want.fieldIdList.items[i]);
  EXPECT_EQ(got.behavior, want.behavior);
  EXPECT_EQ(got.permission, want.permission);
  ASSERT_NE(got.advanced, nullptr);
  const ZQFilterActionNotifyAdvanced& g = *got.advanced;
  const ZQFilterActionNotifyAdvanced& w = *want.advanced;
  EXPECT_EQ(text(g.fromUser), text(w.fromUser));
  EXPECT_EQ(text(g.replyTo), text(w.replyTo));
  EXPECT_EQ(text(g.ccUser), text(w.ccUser));
  EXPECT_EQ(text(g.bccUser), text(w.bccUser));
  EXPECT_EQ(text(g.organization), text(w.organization));
  EXPECT_EQ(text(g.mailboxName), text(w.mailboxName));
  EXPECT_EQ(text(g.headerTemplate), text(w.headerTemplate));
  EXPECT_EQ(text(g.footerTemplate), text(w.footerTemplate));
  EXPECT_EQ(text(g.contentTemplate), text(w.contentTemplate));
  EXPECT_EQ(g.option1, w.option1);
  EXPECT_EQ(g.option2, w.option2);
  EXPECT_EQ(g.option3, w.option3);
}

void expectFilterAction(const ZQFilterActionStruct& got, const ZQFilterActionStruct& want) {
  ASSERT_EQ(got.action, want.action);
  const auto& g = got.u;
  const auto& w = want.u;
  switch (want.action) {
    case ZQ_FILTER_ACTION_NOTIFY:
      return expectNotify(g.notify, w.notify);
    case ZQ_FILTER_ACTION_MESSAGE:
      EXPECT_EQ(g.message.messageType, w.message.messageType);
      EXPECT_EQ(g.message.messageNumber, w.message.messageNumber);
      EXPECT_EQ(text(g.message.message), text(w.message.message));
      return;
    case ZQ_FILTER_ACTION_LOG:
      EXPECT_EQ(text(g.logFile), text(w.logFile));
      return;
    case ZQ_FILTER_ACTION_FIELDS:
      return expectSetFields(g.setFields, w.setFields);
    case ZQ_FILTER_ACTION_PROCESS:
      EXPECT_EQ(text(g.process), text(w.process));
      return;
    case ZQ_FILTER_ACTION_FIELDP:
      return expectPushFields(g.pushFields, w.pushFields);
    case ZQ_FILTER_ACTION_SQL:
      return expectSql(g.sqlCommand, w.sqlCommand);
    case ZQ_FILTER_ACTION_GOTOACTION:
      return expectGoto(g.gotoAction, w.gotoAction);
    case ZQ_FILTER_ACTION_CALLGUIDE:
      return expectCallGuide(g.callGuide, w.callGuide);
    case ZQ_FILTER_ACTION_EXITGUIDE:
      EXPECT_EQ(g.exitGuide.closeAllWindows, w.exitGuide.closeAllWindows);
      return;
    case ZQ_FILTER_ACTION_GOTOGUIDELABEL:
      EXPECT_EQ(text(g.gotoGuideLabel.label), text(w.gotoGuideLabel.label));
      return;
    case ZQ_FILTER_ACTION_SERVICE:
      return expectService(g.serviceAction, w.serviceAction);
    default:
      FAIL() << "filter action " << want.action << " not compared here";
  }
}

void expectComValue(const ZQCOMValueStruct& got, const ZQCOMValueStruct& want) {
  EXPECT_EQ(text(got.interfaceId), text(want.interfaceId));
  EXPECT_EQ(got.number, want.number);
  ASSERT_EQ(got.valueType, want.valueType);
  if (want.valueType == ZQ_COM_VALUE_FIELD) {
    EXPECT_EQ(got.u.fieldId, want.u.fieldId);
  }
  if (want.valueType == ZQ_COM_VALUE_VALUE) expectValue(got.u.value, want.u.value);
}

void expectAutomation(const ZQOutboundAutomationStruct& got,
                      const ZQOutboundAutomationStruct& want) {
  EXPECT_EQ(text(got.autoServerName), text(want.autoServerName));
  EXPECT_EQ(text(got.classId), text(want.classId));
  EXPECT_EQ(text(got.automationAction), text(want.automationAction));
  EXPECT_EQ(got.serverShowingFlag, want.serverShowingFlag);
  ASSERT_EQ(got.methods.count, want.methods.count);
  for (uint32_t i = 0; i < want.methods.count; ++i) {
    SCOPED_TRACE("method " + std::to_string(i));
    const ZQCOMMethodStruct& g = got.methods.items[i];
    const ZQCOMMethodStruct& w = want.methods.items[i];
    EXPECT_EQ(text(g.methodName), text(w.methodName));
    EXPECT_EQ(text(g.methodInterfaceId), text(w.methodInterfaceId));
    EXPECT_EQ(g.methodType, w.methodType);
    expectComValue(g.methodValue, w.methodValue);
    ASSERT_EQ(g.parameters.count, w.parameters.count);
    for (uint32_t j = 0; j < w.parameters.count; ++j) {
      SCOPED_TRACE("parameter " + std::to_string(j));
      EXPECT_EQ(text(g.parameters.items[j].parameterName),
                text(w.parameters.items[j].parameterName));
      EXPECT_EQ(g.parameters.items[j].parameterType, w.parameters.items[j].parameterType);
      expectComValue(g.parameters.items[j].parameterValue, w.parameters.items[j].parameterValue);
    }
  }
}

void expectLinkMessage(const ZQMessageStruct& got, const ZQMessageStruct& want) {
  EXPECT_EQ(got.messageType, want.messageType);
  EXPECT_EQ(got.messageNumber, want.messageNumber);
  EXPECT_EQ(text(got.message), text(want.message));
  EXPECT_EQ(got.usePromptingPane, want.usePromptingPane);
}

void expectOpenWindow(const ZQOpenDialogStruct& got, const ZQOpenDialogStruct& want) {
  EXPECT_STREQ(got.serverName, want.serverName);
  EXPECT_STREQ(got.schemaName, want.schemaName);
  EXPECT_STREQ(got.vuiLabel, want.vuiLabel);
  EXPECT_EQ(got.closeBoxShowingFlag, want.closeBoxShowingFlag);
  {
    SCOPED_TRACE("input values");
    expectFieldAssigns(got.inputValues, want.inputValues);
  }
  {
    SCOPED_TRACE("output values");
    expectFieldAssigns(got.outputValues, want.outputValues);
  }
  EXPECT_EQ(got.windowMode, want.windowMode);
  EXPECT_EQ(text(got.targetLocation), text(want.targetLocation));
  expectQualifier(got.qualifier, want.qualifier);
  EXPECT_EQ(got.noMatchContinue, want.noMatchContinue);
  EXPECT_EQ(got.suppressEmptyList, want.suppressEmptyList);
  expectLinkMessage(got.message, want.message);
  EXPECT_EQ(got.pollingInterval, want.pollingInterval);
  EXPECT_EQ(text(got.reportString), text(want.reportString));
  ASSERT_EQ(got.sortList.count, want.sortList.count);
  for (uint32_t i = 0; i < want.sortList.count; ++i) {
    EXPECT_EQ(got.sortList.items[i].fieldId, want.sortList.items[i].fieldId);
    EXPECT_EQ(got.sortList.items[i].sortOrder, want.sortList.items[i].sortOrder);
  }
}

void expectLinkAction(const ZQActiveLinkActionStruct& got, const ZQActiveLinkActionStruct& want) {
  ASSERT_EQ(got.action, want.action);
  const auto& g = got.u;
  const auto& w = want.u;
  switch (want.action) {
    case ZQ_ACTIVE_LINK_ACTION_MACRO:
      EXPECT_STREQ(g.macro.macroName, w.macro.macroName);
      EXPECT_EQ(text(g.macro.macroText), text(w.macro.macroText));
      ASSERT_EQ(g.macro.macroParms.count, w.macro.macroParms.count);
      for (uint32_t i = 0; i < w.macro.macroParms.count; ++i) {
        EXPECT_STREQ(g.macro.macroParms.items[i].name, w.macro.macroParms.items[i].name);
        EXPECT_EQ(text(g.macro.macroParms.items[i].value), text(w.macro.macroParms.items[i].value));
      }
      return;
    case ZQ_ACTIVE_LINK_ACTION_FIELDS:
      return expectSetFields(g.setFields, w.setFields);
    case ZQ_ACTIVE_LINK_ACTION_PROCESS:
      EXPECT_EQ(text(g.process), text(w.process));
      return;
    case ZQ_ACTIVE_LINK_ACTION_MESSAGE:
      return expectLinkMessage(g.message, w.message);
    case ZQ_ACTIVE_LINK_ACTION_SET_CHAR: {
      const ZQFieldCharacteristicsStruct& gc = g.characteristics;
      const ZQFieldCharacteristicsStruct& wc = w.characteristics;
      EXPECT_EQ(gc.option, wc.option);
      EXPECT_EQ(gc.fieldId, wc.fieldId);
      EXPECT_EQ(text(gc.charMenu), text(wc.charMenu));
      ASSERT_EQ(gc.properties.count, wc.properties.count);
      for (uint32_t i = 0; i < wc.properties.count; ++i) {
        EXPECT_EQ(gc.properties.items[i].propertyTag, wc.properties.items[i].propertyTag);
        expectValue(gc.properties.items[i].value, wc.properties.items[i].value);
      }
      EXPECT_EQ(gc.resetFocus, wc.resetFocus);
      EXPECT_EQ(gc.accessOption, wc.accessOption);
      return;
    }
    case ZQ_ACTIVE_LINK_ACTION_DDE:
      return expectDde(g.dde, w.dde);
    case ZQ_ACTIVE_LINK_ACTION_FIELDP:
      return expectPushFields(g.pushFields, w.pushFields);
    case ZQ_ACTIVE_LINK_ACTION_SQL:
      return expectSql(g.sqlCommand, w.sqlCommand);
    case ZQ_ACTIVE_LINK_ACTION_AUTO:
      return expectAutomation(g.automation, w.automation);
    case ZQ_ACTIVE_LINK_ACTION_OPENDLG:
      return expectOpenWindow(g.openDialog, w.openDialog);
    case ZQ_ACTIVE_LINK_ACTION_COMMITC:
      return;
    case ZQ_ACTIVE_LINK_ACTION_CLOSEWND:
      EXPECT_EQ(g.closeWindow.closeAllWindows, w.closeWindow.closeAllWindows);
      return;
    case ZQ_ACTIVE_LINK_ACTION_CALLGUIDE:
      return expectCallGuide(g.callGuide, w.callGuide);
    case ZQ_ACTIVE_LINK_ACTION_EXITGUIDE:
      EXPECT_EQ(g.exitGuide.closeAllWindows, w.exitGuide.closeAllWindows);
      return;
    case ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL:
      EXPECT_EQ(text(g.gotoGuideLabel.label), text(w.gotoGuideLabel.label));
      return;
    case ZQ_ACTIVE_LINK_ACTION_WAIT:
      EXPECT_EQ(text(g.waitAction.continueButtonTitle), text(w.waitAction.continueButtonTitle));
      return;
    case ZQ_ACTIVE_LINK_ACTION_GOTOACTION:
      return expectGoto(g.gotoAction, w.gotoAction);
    case ZQ_ACTIVE_LINK_ACTION_SERVICE:
      return expectService(g.serviceAction, w.serviceAction);
    default:
      FAIL() << "active link action " << want.action << " not compared here";
  }
}

template <class List, class Expect>
void expectActions(const List& got, const List& want, Expect expect) {
  ASSERT_EQ(got.count, want.count);
  for (uint32_t i = 0; i < want.count; ++i) {
    SCOPED_TRACE("action " + std::to_string(i) + " (type " + std::to_string(want.items[i].action) +
                 ")");
    expect(got.items[i], want.items[i]);
  }
}

// ---- the pieces the actions share ------------------------------------------------------------

char* str(const char* s) {
  return const_cast<char*>(s);
}

ZQAssignStruct valueAssign(ZQValueStruct v) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_VALUE;
  a.u.value = v;
  return a;
}

// Everything the actions point at, held for the length of a test.
struct Pieces {
  zqtest::Relation where{ZQ_REL_OP_EQUAL, 1, intValue(7)};
  zqtest::Relation otherWhere{ZQ_REL_OP_GREATER, 3, intValue(100)};

  // A field read from another form's entry.
  ZQAssignFieldStruct fieldSource{};
  // The status history of the current entry.
  ZQAssignFieldStruct historySource{};
  ZQCurrencyPartStruct currencyPart{};
  ZQAssignFieldStruct currencySource{};

  ZQArithOpAssignStruct arith{};
  ZQArithOpAssignStruct negate{};
  ZQAssignStruct functionArgs[2]{};
  ZQFunctionAssignStruct function{};
  ZQAssignSQLStruct sql{};
  ZQAssignStruct apiArgs[2]{};
  ZQAssignFilterApiStruct filterApi{};
  ZQDDEStruct dde{};

  ZQFieldAssignStruct inMap[2]{};
  ZQFieldAssignStruct outMap[1]{};

  Pieces() {
    setName(fieldSource.server, "@");
    setName(fieldSource.schema, "Other");
    fieldSource.qualifier = otherWhere.qual;
    fieldSource.tag = ZQ_FIELD;
    fieldSource.u.fieldId = 536870913;
    fieldSource.noMatchOption = 2;
    fieldSource.multiMatchOption = 4;

    setName(historySource.server, "@");
    setName(historySource.schema, "Form");
    historySource.tag = ZQ_STAT_HISTORY;
    historySource.u.statHistory = {2, ZQ_STAT_HISTORY_TIME};
    historySource.noMatchOption = 1;
    historySource.multiMatchOption = 1;

    currencyPart.fieldId = 536870920;
    currencyPart.partTag = 4;
    setName(currencyPart.currencyCode, "EUR");
    setName(currencySource.server, "@");
    setName(currencySource.schema, "Form");
    currencySource.tag = ZQ_CURRENCY_FLD;
    currencySource.u.currencyField = &currencyPart;
    currencySource.noMatchOption = 3;
    currencySource.multiMatchOption = 7;

    arith.operation = ZQ_ARITH_OP_MULTIPLY;
    arith.left = valueAssign(intValue(6));
    arith.right.assignType = ZQ_ASSIGN_TYPE_FIELD;
    arith.right.u.field = &fieldSource;
    negate.operation = ZQ_ARITH_OP_NEGATE;
    negate.right = valueAssign(intValue(9));

    functionArgs[0] = valueAssign(charValue("abc"));
    functionArgs[1].assignType = ZQ_ASSIGN_TYPE_ARITH;
    functionArgs[1].u.arithOp = &negate;
    function.functionCode = 7;
    function.count = 2;
    function.items = functionArgs;

    setName(sql.server, "@");
    sql.sqlCommand = str("SELECT name FROM people WHERE id = 1");
    sql.valueIndex = 2;
    sql.noMatchOption = 2;
    sql.multiMatchOption = 3;

    setName(filterApi.serviceName, "Lookup");
    apiArgs[0] = valueAssign(charValue("key"));
    apiArgs[1].assignType = ZQ_ASSIGN_TYPE_FIELD;
    apiArgs[1].u.field = &historySource;
    filterApi.count = 2;
    filterApi.items = apiArgs;
    filterApi.valueIndex = 3;

    dde.serviceName = str("Sheet");
    dde.topic = str("Book1");
    dde.item = str("R1C1");
    dde.action = 2;
    dde.pathToProgram = str("/opt/sheet");
    dde.command = str("[poke]");

    inMap[0] = {536870913, valueAssign(charValue("in"))};
    inMap[1].fieldId = 536870914;
    inMap[1].assignment.assignType = ZQ_ASSIGN_TYPE_FIELD;
    inMap[1].assignment.u.field = &fieldSource;
    outMap[0] = {536870915, valueAssign(intValue(42))};
  }

  ZQFieldAssignList inputs() { return {2, inMap}; }
  ZQFieldAssignList outputs() { return {1, outMap}; }

  ZQAssignStruct fieldAssign(ZQAssignFieldStruct* f) {
    ZQAssignStruct a{};
    a.assignType = ZQ_ASSIGN_TYPE_FIELD;
    a.u.field = f;
    return a;
  }
};

class WorkflowRoundTrip : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    zqtest::DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Form", s), 0);
  }
  Names formNames_{"Form"};
  ZQWorkflowConnectStruct forms_{ZQ_WORKFLOW_CONN_SCHEMA_LIST, &formNames_.list};
};

TEST_F(WorkflowRoundTrip, FilterWithEveryActionTypeComesBackMemberByMember) {
  Pieces p;

  // SET FIELDS with every assignment kind a filter's checks accept.
  ZQFieldAssignStruct sets[8]{};
  sets[0] = {536870921, valueAssign(charValue("set by filter"))};
  sets[1] = {536870922, p.fieldAssign(&p.fieldSource)};
  sets[2].fieldId = 536870923;
  sets[2].assignment.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  sets[2].assignment.u.process = str("/bin/echo value");
  sets[3].fieldId = 536870924;
  sets[3].assignment.assignType = ZQ_ASSIGN_TYPE_ARITH;
  sets[3].assignment.u.arithOp = &p.arith;
  sets[4].fieldId = 536870925;
  sets[4].assignment.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
  sets[4].assignment.u.function = &p.function;
  sets[5].fieldId = 536870926;
  sets[5].assignment.assignType = ZQ_ASSIGN_TYPE_SQL;
  sets[5].assignment.u.sql = &p.sql;
  sets[6].fieldId = 536870927;
  sets[6].assignment.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
  sets[6].assignment.u.filterApi = &p.filterApi;
  sets[7] = {536870928, p.fieldAssign(&p.currencySource)};

  ZQInternalId notified[] = {1, 536870921, 7};
  ZQFilterActionNotifyAdvanced advanced{str("from@example"),
                                        str("reply@example"),
                                        str("cc@example"),
                                        str("bcc@example"),
                                        str("Org"),
                                        str("Mailbox"),
                                        str("Header"),
                                        str("Footer"),
                                        str("Content"),
                                        11,
                                        22,
                                        33};

  ZQPushFieldsStruct pushes[2]{};
  setName(pushes[0].target.server, "@");
  setName(pushes[0].target.schema, "Other");
  pushes[0].target.qualifier = p.where.qual;
  pushes[0].target.tag = ZQ_FIELD;
  pushes[0].target.u.fieldId = 536870930;
  pushes[0].target.noMatchOption = 4;
  pushes[0].target.multiMatchOption = 6;
  pushes[0].source = valueAssign(charValue("pushed"));
  pushes[1].target = pushes[0].target;
  pushes[1].target.u.fieldId = 536870931;
  pushes[1].target.noMatchOption = 1;
  pushes[1].target.multiMatchOption = 2;
  pushes[1].source = p.fieldAssign(&p.fieldSource);

  ZQFilterActionStruct ifs[6]{};
  ifs[0].action = ZQ_FILTER_ACTION_NOTIFY;
  {
    ZQNotifyStruct& n = ifs[0].u.notify;
    n.user = str("Demo");
    n.text = str("Entry $1$ changed");
    n.priority = 3;
    n.mechanism = ZQ_NOTIFY_EMAIL;
    n.crossReferenceFieldId = 0;
    n.subject = str("changed");
    n.fieldIdListKind = ZQ_NOTIFY_FIELDS_LIST;
    n.fieldIdList = {3, notified};
    n.behavior = 1;
    n.permission = 2;
    n.advanced = &advanced;
  }
  ifs[1].action = ZQ_FILTER_ACTION_MESSAGE;
  ifs[1].u.message = {1, 10002, str("refused")};
  ifs[2].action = ZQ_FILTER_ACTION_LOG;
  ifs[2].u.logFile = str("/tmp/zq-filter.log");
  ifs[3].action = ZQ_FILTER_ACTION_FIELDS;
  ifs[3].u.setFields.fieldAssignList = {8, sets};
  setName(ifs[3].u.setFields.sampleServer, "@");
  setName(ifs[3].u.setFields.sampleSchema, "Other");
  ifs[4].action = ZQ_FILTER_ACTION_PROCESS;
  ifs[4].u.process = str("/bin/true first second");
  ifs[5].action = ZQ_FILTER_ACTION_FIELDP;
  ifs[5].u.pushFields.pushFieldsList = {2, pushes};
  setName(ifs[5].u.pushFields.sampleServer, "@");
  setName(ifs[5].u.pushFields.sampleSchema, "Other");

  ZQFilterActionStruct elses[6]{};
  elses[0].action = ZQ_FILTER_ACTION_SQL;
  setName(elses[0].u.sqlCommand.server, "@");
  elses[0].u.sqlCommand.sqlCommand = str("UPDATE counters SET n = n + 1");
  elses[1].action = ZQ_FILTER_ACTION_GOTOACTION;
  elses[1].u.gotoAction = {ZQ_GOTO_ABSOLUTE_ORDER, 700};
  elses[2].action = ZQ_FILTER_ACTION_CALLGUIDE;
  {
    ZQCallGuideStruct& g = elses[2].u.callGuide;
    setName(g.serverName, "@");
    setName(g.guideName, "Guide");
    g.guideMode = 2;
    g.guideTableId = 536870940;
    g.inputMappings = p.inputs();
    g.outputMappings = p.outputs();
    setName(g.sampleServerName, "@");
    setName(g.sampleGuideName, "Sample guide");
  }
  elses[3].action = ZQ_FILTER_ACTION_EXITGUIDE;
  elses[3].u.exitGuide.closeAllWindows = 1;
  elses[4].action = ZQ_FILTER_ACTION_GOTOGUIDELABEL;
  elses[4].u.gotoGuideLabel.label = str("Step two");
  elses[5].action = ZQ_FILTER_ACTION_SERVICE;
  {
    ZQSvcActionStruct& v = elses[5].u.serviceAction;
    setName(v.server, "@");
    setName(v.schema, "Service form");
    v.requestIdMap = 536870950;
    v.inputMappings = p.inputs();
    v.outputMappings = p.outputs();
    setName(v.sampleServer, "@");
    setName(v.sampleSchema, "Sample form");
  }
  ZQFilterActionList ifList{6, ifs};
  ZQFilterActionList elseList{6, elses};

  Status s;
  ASSERT_EQ(
      ZQCreateFilter(&control_, "Every action", 300, &forms_, ZQ_OPERATION_CREATE, 1, &p.where.qual,
                     &ifList, &elseList, "help", "Demo", "", nullptr, 0, nullptr, s.fresh()),
      0)
      << (s.count ? s.items[0].messageNumber : 0);

  ZQQualifierStruct q{};
  ZQFilterActionList gotIf{0, nullptr}, gotElse{0, nullptr};
  ASSERT_EQ(ZQGetFilter(&control_, "Every action", nullptr, nullptr, nullptr, nullptr, &q, &gotIf,
                        &gotElse, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, s.fresh()),
            0);
  expectQualifier(q, p.where.qual);
  {
    SCOPED_TRACE("if actions");
    expectActions(gotIf, ifList, expectFilterAction);
  }
  {
    SCOPED_TRACE("else actions");
    expectActions(gotElse, elseList, expectFilterAction);
  }
  FreeZQQualifierStruct(&q, 0);
  FreeZQFilterActionList(&gotIf, 0);
  FreeZQFilterActionList(&gotElse, 0);
}

TEST_F(WorkflowRoundTrip, ActiveLinkWithEveryActionTypeComesBackMemberByMember) {
  Pieces p;

  ZQMacroParmStruct parms[2]{};
  setName(parms[0].name, "first");
  parms[0].value = str("one");
  setName(parms[1].name, "second");
  parms[1].value = str("two words");

  // SET FIELDS with the kinds an active link adds: DDE, status history.
  ZQFieldAssignStruct sets[4]{};
  sets[0] = {536870921, valueAssign(intValue(-5))};
  sets[1].fieldId = 536870922;
  sets[1].assignment.assignType = ZQ_ASSIGN_TYPE_DDE;
  sets[1].assignment.u.dde = &p.dde;
  sets[2] = {536870923, p.fieldAssign(&p.historySource)};
  sets[3].fieldId = 536870924;
  sets[3].assignment.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
  sets[3].assignment.u.function = &p.function;

  ZQPropStruct props[2] = {{20, intValue(1)}, {230, charValue("label")}};

  ZQPushFieldsStruct push{};
  setName(push.target.server, "@");
  setName(push.target.schema, "Other");
  push.target.qualifier = p.where.qual;
  push.target.tag = ZQ_FIELD;
  push.target.u.fieldId = 536870930;
  push.target.noMatchOption = 3;
  push.target.multiMatchOption = 5;
  push.source.assignType = ZQ_ASSIGN_TYPE_ARITH;
  push.source.u.arithOp = &p.arith;

  ZQCOMMethodParmStruct methodParms[3]{};
  methodParms[0].parameterName = str("Path");
  methodParms[0].parameterType = 8;
  methodParms[0].parameterValue.interfaceId = str("{param-1}");
  methodParms[0].parameterValue.number = 1;
  methodParms[0].parameterValue.valueType = ZQ_COM_VALUE_VALUE;
  methodParms[0].parameterValue.u.value = charValue("/tmp/doc");
  methodParms[1].parameterName = str("Count");
  methodParms[1].parameterType = 3;
  methodParms[1].parameterValue.interfaceId = str("{param-2}");
  methodParms[1].parameterValue.number = 2;
  methodParms[1].parameterValue.valueType = ZQ_COM_VALUE_FIELD;
  methodParms[1].parameterValue.u.fieldId = 536870921;
  methodParms[2].parameterName = str("Unused");
  methodParms[2].parameterType = 12;
  methodParms[2].parameterValue.interfaceId = str("{param-3}");
  methodParms[2].parameterValue.number = 3;
  methodParms[2].parameterValue.valueType = ZQ_COM_VALUE_NONE;
  ZQCOMMethodStruct methods[2]{};
  methods[0].methodName = str("Open");
  methods[0].methodInterfaceId = str("{iface-open}");
  methods[0].methodType = 9;
  methods[0].methodValue.interfaceId = str("{result}");
  methods[0].methodValue.number = 4;
  methods[0].methodValue.valueType = ZQ_COM_VALUE_FIELD;
  methods[0].methodValue.u.fieldId = 536870925;
  methods[0].parameters = {3, methodParms};
  methods[1].methodName = str("Close");
  methods[1].methodInterfaceId = str("{iface-close}");
  methods[1].methodType = 2;
  methods[1].methodValue.interfaceId = str("{none}");
  methods[1].methodValue.number = 5;
  methods[1].methodValue.valueType = ZQ_COM_VALUE_VALUE;
  methods[1].methodValue.u.value = intValue(0);

  ZQSortStruct sorts[2] = {{536870913, ZQ_SORT_DESCENDING}, {1, ZQ_SORT_ASCENDING}};

  ZQActiveLinkActionStruct ifs[10]{};
  ifs[0].action = ZQ_ACTIVE_LINK_ACTION_MACRO;
  setName(ifs[0].u.macro.macroName, "Macro");
  ifs[0].u.macro.macroText = str("macro body $first$ $second$");
  ifs[0].u.macro.macroParms = {2, parms};
  ifs[1].action = ZQ_ACTIVE_LINK_ACTION_FIELDS;
  ifs[1].u.setFields.fieldAssignList = {4, sets};
  setName(ifs[1].u.setFields.sampleServer, "@");
  setName(ifs[1].u.setFields.sampleSchema, "Form");
  ifs[2].action = ZQ_ACTIVE_LINK_ACTION_PROCESS;
  ifs[2].u.process = str("PERFORM-ACTION-REFRESH");
  ifs[3].action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
  ifs[3].u.message = {ZQ_MESSAGE_PROMPT, 10003, str("Fill in the name"), 1};
  ifs[4].action = ZQ_ACTIVE_LINK_ACTION_SET_CHAR;
  {
    ZQFieldCharacteristicsStruct& c = ifs[4].u.characteristics;
    c.option = 1;
    c.fieldId = 536870921;
    c.charMenu = str("Colours");
    c.properties = {2, props};
    c.resetFocus = 1;
    c.accessOption = 2;
  }
  ifs[5].action = ZQ_ACTIVE_LINK_ACTION_DDE;
  ifs[5].u.dde = p.dde;
  ifs[6].action = ZQ_ACTIVE_LINK_ACTION_FIELDP;
  ifs[6].u.pushFields.pushFieldsList = {1, &push};
  setName(ifs[6].u.pushFields.sampleServer, "@");
  setName(ifs[6].u.pushFields.sampleSchema, "Other");
  ifs[7].action = ZQ_ACTIVE_LINK_ACTION_SQL;
  setName(ifs[7].u.sqlCommand.server, "@");
  ifs[7].u.sqlCommand.sqlCommand = str("DELETE FROM scratch");
  ifs[8].action = ZQ_ACTIVE_LINK_ACTION_AUTO;
  {
    ZQOutboundAutomationStruct& a = ifs[8].u.automation;
    a.autoServerName = str("Writer.Application");
    a.classId = str("{class-writer}");
    a.automationAction = str("Open and close");
    a.serverShowingFlag = 1;
    a.methods = {2, methods};
  }
  ifs[9].action = ZQ_ACTIVE_LINK_ACTION_OPENDLG;
  {
    ZQOpenDialogStruct& o = ifs[9].u.openDialog;
    setName(o.serverName, "@");
    setName(o.schemaName, "Other");
    setName(o.vuiLabel, "Default view");
    o.closeBoxShowingFlag = 1;
    o.inputValues = p.inputs();
    o.outputValues = p.outputs();
    o.windowMode = 3;
    o.targetLocation = str("frame-one");
    o.qualifier = p.otherWhere.qual;
    o.noMatchContinue = 1;
    o.suppressEmptyList = 1;
    o.message = {1, 10004, str("No match"), 0};
    o.pollingInterval = 30;
    o.reportString = str("report=one");
    o.sortList = {2, sorts};
  }

  ZQActiveLinkActionStruct elses[8]{};
  elses[0].action = ZQ_ACTIVE_LINK_ACTION_COMMITC;
  elses[1].action = ZQ_ACTIVE_LINK_ACTION_CLOSEWND;
  elses[1].u.closeWindow.closeAllWindows = 1;
  elses[2].action = ZQ_ACTIVE_LINK_ACTION_CALLGUIDE;
  {
    ZQCallGuideStruct& g = elses[2].u.callGuide;
    setName(g.serverName, "@");
    setName(g.guideName, "Client guide");
    g.guideMode = 1;
    g.guideTableId = 536870941;
    g.inputMappings = p.inputs();
    g.outputMappings = p.outputs();
    setName(g.sampleServerName, "@");
    setName(g.sampleGuideName, "Sample guide");
  }
  elses[3].action = ZQ_ACTIVE_LINK_ACTION_EXITGUIDE;
  elses[3].u.exitGuide.closeAllWindows = 1;
  elses[4].action = ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL;
  elses[4].u.gotoGuideLabel.label = str("Again");
  elses[5].action = ZQ_ACTIVE_LINK_ACTION_WAIT;
  elses[5].u.waitAction.continueButtonTitle = str("Go on");
  elses[6].action = ZQ_ACTIVE_LINK_ACTION_GOTOACTION;
  elses[6].u.gotoAction = {ZQ_GOTO_OFFSET_BACKWARD, 2};
  elses[7].action = ZQ_ACTIVE_LINK_ACTION_SERVICE;
  {
    ZQSvcActionStruct& v = elses[7].u.serviceAction;
    setName(v.server, "@");
    setName(v.schema, "Service form");
    v.requestIdMap = 1;
    v.inputMappings = p.inputs();
    v.outputMappings = p.outputs();
    setName(v.sampleServer, "@");
    setName(v.sampleSchema, "Sample form");
  }
  ZQActiveLinkActionList ifList{10, ifs};
  ZQActiveLinkActionList elseList{8, elses};

  Status s;
  ASSERT_EQ(ZQCreateActiveLink(&control_, "Every action", 10, &forms_, nullptr, 1, nullptr, nullptr,
                               1, &p.where.qual, &ifList, &elseList, "help", "Demo", "", nullptr, 0,
                               nullptr, s.fresh()),
            0)
      << (s.count ? s.items[0].messageNumber : 0);

  ZQQualifierStruct q{};
  ZQActiveLinkActionList gotIf{0, nullptr}, gotElse{0, nullptr};
  ASSERT_EQ(ZQGetActiveLink(&control_, "Every action", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, &q, &gotIf, &gotElse, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
            0);
  expectQualifier(q, p.where.qual);
  {
    SCOPED_TRACE("if actions");
    expectActions(gotIf, ifList, expectLinkAction);
  }
  {
    SCOPED_TRACE("else actions");
    expectActions(gotElse, elseList, expectLinkAction);
  }
  FreeZQQualifierStruct(&q, 0);
  FreeZQActiveLinkActionList(&gotIf, 0);
  FreeZQActiveLinkActionList(&gotElse, 0);
}

}  // namespace
