// Descriptions of workflow actions, character menus and field limits
// (zq_workflow.h), with their differences between protocol versions.
#pragma once

#include <cstring>

#include "model/describe_qual.h"
#include "zqapi/zq_workflow.h"

namespace zq::model {

// ---- helpers shared with describe_defs.h --------------------------------------------

// A member that always travels but belongs to its parent only when `owned`
// (the notify field list outside kind 2): an empty one is sent (and printed),
// a received one is dropped, and memory passes leave the bytes of the caller
// alone.
template <class V, class T>
void describeOwnedIf(V& v, T& m, bool owned, Label label) {
  if (owned) return v.member(m, label);
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size || V::kPass == Pass::print) {
    T none{};
    v.member(none, label);
  } else if constexpr (V::kPass == Pass::decode) {
    T dropped{};
    v.member(dropped, label);
    FreeVisitor release;
    release.member(dropped);
  } else if constexpr (V::kPass == Pass::copy) {
    m = T{};
  }
}

// A qualification held inline that travels through a pointer: always sent as
// present; an absent one reads back as operation 0.
template <class V>
void describeInlineAsPointer(V& v, ZQQualifierStruct& q, Label label) {
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    const uint32_t present = 1;
    v.u32(present);
    v.member(q, label);
  } else if constexpr (V::kPass == Pass::decode) {
    uint32_t present = 0;
    v.u32(present);
    if (present) v.member(q, label);
  } else {
    v.member(q, label);
  }
}

// Some copies give lists room to grow (name lists by 10, id lists by 100):
// the copy pass gives such a list room for the next multiple of step items.
template <class V, class List>
void copyRounded(V& v, List& list, uint32_t step) {
  if (!v.ok()) {
    list = List{};
    return;
  }
  const List source = list;
  if (!copyWithSpare(list, source, step)) {
    list = List{};
    v.noMemory();
  }
}

// ---- action payloads ------------------------------------------------------------------

template <class V>
void describe(V& v, ZQFilterActionNotifyAdvanced& s) {
  v.string(s.fromUser, 256, "   From user:");
  v.string(s.replyTo, 256, "   Reply To:");
  v.string(s.ccUser, 256, "   Cc user:");
  v.string(s.bccUser, 256, "   Bcc user:");
  v.string(s.organization, 256, "   Organization:");
  v.string(s.mailboxName, 256, "   Mailbox name:");
  v.string(s.headerTemplate, 256, "   Header template:");
  v.string(s.footerTemplate, 256, "   Footer template:");
  v.string(s.contentTemplate, 256, "   Content template:");
  v.u32(s.option1, "option1");
  v.u32(s.option2, "option2");
  v.u32(s.option3, "option3");
}

template <class V>
void describe(V& v, ZQNotifyStruct& s) {
  const int version = v.version();
  v.string(s.user, 256, "   User:");
  v.string(s.text, version <= 7 ? 256 : kUnbounded, "   Text:");  // unbounded from 8
  v.u32(s.priority, "   Priority:");
  v.u32(s.mechanism, "   Mechanism:");
  v.u32(s.crossReferenceFieldId, "      Cross reference field id:");
  v.string(s.subject, 256, "   Subject:");
  v.u32(s.fieldIdListKind, "   Field Id List:");
  const bool listed = s.fieldIdListKind == ZQ_NOTIFY_FIELDS_LIST;
  if constexpr (V::kPass == Pass::copy) {
    if (listed)
      copyRounded(v, s.fieldIdList, 100);
    else
      s.fieldIdList = ZQInternalIdList{};
  } else {
    describeOwnedIf(v, s.fieldIdList, listed, "fieldIdList");
  }
  if (since(v, 9)) {  // behavior, permission and the advanced block arrived with 9
    v.u32(s.behavior, "   Behavior:");
    v.u32(s.permission, "   Permission:");
    v.pointer(s.advanced, "advanced");
  }
}

template <class V>
void describe(V& v, ZQFilterStatusStruct& s) {
  v.u32(s.messageType, "   Message type:");
  v.i32(s.messageNumber, "   Message number:");
  v.string(s.message, 256, "   Message:");
}

template <class V>
void describe(V& v, ZQMessageStruct& s) {
  v.u32(s.messageType, "   Message type:");
  v.i32(s.messageNumber, "   Message number:");
  v.string(s.message, 4096, "   Message:");
  v.flag(s.usePromptingPane, "   Use Prompting Pane?:");
}

template <class V>
void describe(V& v, ZQSetFieldsStruct& s) {
  v.member(s.fieldAssignList, "fieldAssignList");
  if (since(v, 10)) {  // samples arrived with 10
    v.name(s.sampleServer, "   Sample Server:");
    v.name(s.sampleSchema, NameKind::plain, "   Sample Schema:");
  }
}

template <class V>
void describe(V& v, ZQPushFieldsStruct& s) {
  v.member(s.target, "Target:");
  v.member(s.source, "Source:");
}

template <class V>
void describe(V& v, ZQPushFieldsList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQPushFieldsAction& s) {
  v.member(s.pushFieldsList, "pushFieldsList");
  if (since(v, 10)) {
    v.name(s.sampleServer, "   Sample Server:");
    v.name(s.sampleSchema, NameKind::plain, "   Sample Schema:");
  }
}

template <class V>
void describe(V& v, ZQSQLStruct& s) {
  v.name(s.server, "   Server:");
  v.string(s.sqlCommand, kUnbounded, "   SQL Command:");
}
inline void resetFreed(FreeVisitor&, ZQSQLStruct& s) {
  s.server[0] = '\0';
}

template <class V>
void describe(V& v, ZQGotoActionStruct& s) {
  v.u32(s.tag, "tag");
  v.u32(s.targetValue, "targetValue");
}

// Version 7 (active links only): server, guide and mode; the table id came
// with 8, the mappings and samples with 10.
template <class V>
void describe(V& v, ZQCallGuideStruct& s) {
  v.name(s.serverName, "   Server Name:");
  v.name(s.guideName, NameKind::plain, "   Guide Name:");
  v.u32(s.guideMode, "   Guide Mode:");
  if (since(v, 8)) v.u32(s.guideTableId, "   Guide Table Id:");
  if (since(v, 10)) {
    v.member(s.inputMappings, "inputMappings");
    v.member(s.outputMappings, "outputMappings");
    v.name(s.sampleServerName, "   Sample Server Name:");
    v.name(s.sampleGuideName, NameKind::plain, "   Sample Guide Name:");
  }
}

template <class V>
void describe(V& v, ZQExitGuideStruct& s) {
  v.flag(s.closeAllWindows, "   Close All Windows:");
}

template <class V>
void describe(V& v, ZQCloseWindowStruct& s) {
  v.flag(s.closeAllWindows, "   Close All Windows:");
}

template <class V>
void describe(V& v, ZQGotoGuideLabelStruct& s) {
  v.string(s.label, 128, "   Label:");
}

template <class V>
void describe(V& v, ZQWaitStruct& s) {
  v.string(s.continueButtonTitle, 64, "   Continue Button Title:");
}

template <class V>
void describe(V& v, ZQSvcActionStruct& s) {
  v.name(s.server, "          Server:");
  v.name(s.schema, NameKind::plain, "          Schema:");
  v.u32(s.requestIdMap, "  request Id Map:");
  v.member(s.inputMappings, "inputMappings");
  v.member(s.outputMappings, "outputMappings");
  v.name(s.sampleServer, "   Sample Server:");
  v.name(s.sampleSchema, NameKind::plain, "   Sample Schema:");
}

template <class V>
void describe(V& v, ZQMacroParmStruct& s) {
  v.name(s.name, NameKind::plain, "name");
  v.string(s.value, kUnbounded, "value");
}

template <class V>
void describe(V& v, ZQMacroParmList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQActiveLinkMacroStruct& s) {
  v.name(s.macroName, NameKind::plain, "   Macro Name:");
  v.string(s.macroText, kUnbounded, "   Macro Text:");
  v.member(s.macroParms, "macroParms");
}

template <class V>
void describe(V& v, ZQFieldCharacteristicsStruct& s) {
  const int version = v.version();
  if (since(v, 10)) v.u32(s.option, "option");  // the leading option word came with 10
  v.u32(s.fieldId, "   Field Id:");
  v.string(s.charMenu, version <= 7 ? 31 : 255, "   Char Menu:");
  v.member(s.properties, "properties");
  v.u32(s.resetFocus, "   Reset Focus:");
  v.u32(s.accessOption, "   Access option:");
}

template <class V>
void describe(V& v, ZQCOMValueStruct& s) {
  v.string(s.interfaceId, 128, "interfaceId");
  v.u32(s.number, "number");
  v.u32(s.valueType, "valueType");
  switch (s.valueType) {
    case ZQ_COM_VALUE_NONE:
      break;
    case ZQ_COM_VALUE_FIELD:
      v.u32(s.u.fieldId, "fieldId");
      break;
    case ZQ_COM_VALUE_VALUE:
      v.member(s.u.value, "value");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQCOMValueStruct& s) {
  s.valueType = 0;
}

template <class V>
void describe(V& v, ZQCOMMethodParmStruct& s) {
  v.string(s.parameterName, 1025, "parameterName");
  v.u32(s.parameterType, "parameterType");
  v.member(s.parameterValue, "parameterValue");
}

template <class V>
void describe(V& v, ZQCOMMethodParmList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQCOMMethodStruct& s) {
  v.string(s.methodName, 128, "methodName");
  v.string(s.methodInterfaceId, 128, "methodInterfaceId");
  v.u32(s.methodType, "methodType");
  v.member(s.methodValue, "methodValue");
  v.member(s.parameters, "parameters");
}

template <class V>
void describe(V& v, ZQCOMMethodList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQOutboundAutomationStruct& s) {
  v.string(s.autoServerName, 1025, "   Auto Server Name:");
  v.string(s.classId, 128, "   Class Id:");
  v.string(s.automationAction, 2000, "   Automation Action:");
  v.flag(s.serverShowingFlag, "   Automation Server Showing Flag:");
  v.member(s.methods, "methods");
}

// Version 7 knows only server, form, view label, close box and the two
// mapping lists; the full form arrived with 8.
template <class V>
void describe(V& v, ZQOpenDialogStruct& s) {
  v.name(s.serverName, "   Server Name:");
  v.name(s.schemaName, NameKind::plain, "   Schema Name:");
  v.name(s.vuiLabel, NameKind::plain, "   VUI Label:");
  v.flag(s.closeBoxShowingFlag, "   Close Box Showing Flag:");
  v.member(s.inputValues, "   Input Values:");
  v.member(s.outputValues, "   Output Values:");
  if (v.version() <= 7) return;
  v.i32(s.windowMode, "   Window Mode:");
  v.string(s.targetLocation, kUnbounded, "   Target Location:");
  v.member(s.qualifier, "qualifier");
  v.flag(s.noMatchContinue, "   No Match Continue:");
  v.flag(s.suppressEmptyList, "   Suppress Empty List:");
  v.member(s.message, "message");
  v.i32(s.pollingInterval, "   Polling Interval:");
  v.string(s.reportString, kUnbounded, "   Report String:");
  v.member(s.sortList, "sortList");
}

// ---- filter and escalation actions ------------------------------------------------------

template <class V>
void describe(V& v, ZQFilterActionStruct& s) {
  v.u32(s.action, "Filter Action Struct:");
  switch (s.action) {
    case ZQ_FILTER_ACTION_NONE:
      break;
    case ZQ_FILTER_ACTION_NOTIFY:
      v.member(s.u.notify, "notify");
      break;
    case ZQ_FILTER_ACTION_MESSAGE:
      v.member(s.u.message, "message");
      break;
    case ZQ_FILTER_ACTION_LOG:
      v.string(s.u.logFile, kUnbounded, "   Filename:");
      break;
    case ZQ_FILTER_ACTION_FIELDS:
      v.member(s.u.setFields, "setFields");
      break;
    case ZQ_FILTER_ACTION_PROCESS:
      v.string(s.u.process, kUnbounded, "   Filename:");
      break;
    case ZQ_FILTER_ACTION_FIELDP:
      v.member(s.u.pushFields, "pushFields");
      break;
    case ZQ_FILTER_ACTION_SQL:
      v.member(s.u.sqlCommand, "sqlCommand");
      break;
    case ZQ_FILTER_ACTION_GOTOACTION:
      v.member(s.u.gotoAction, "gotoAction");
      break;
    case ZQ_FILTER_ACTION_CALLGUIDE:  // guide actions arrived with 8
      if (since(v, 8))
        v.member(s.u.callGuide, "callGuide");
      else
        v.badTag();
      break;
    case ZQ_FILTER_ACTION_EXITGUIDE:
      if (since(v, 8))
        v.member(s.u.exitGuide, "exitGuide");
      else
        v.badTag();
      break;
    case ZQ_FILTER_ACTION_GOTOGUIDELABEL:
      if (since(v, 8))
        v.member(s.u.gotoGuideLabel, "gotoGuideLabel");
      else
        v.badTag();
      break;
    case ZQ_FILTER_ACTION_SERVICE:  // arrived with 14
      if (since(v, 14))
        v.member(s.u.serviceAction, "serviceAction");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQFilterActionStruct& s) {
  s.action = 0;
}

template <class V>
void describe(V& v, ZQFilterActionList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFilterActionListList& s) {
  list(v, s);
}

// ---- active link actions ------------------------------------------------------------------

template <class V>
void describe(V& v, ZQActiveLinkActionStruct& s) {
  const int version = v.version();
  v.u32(s.action, "Active Link Action Struct:");
  switch (s.action) {
    case ZQ_ACTIVE_LINK_ACTION_NONE:
    case ZQ_ACTIVE_LINK_ACTION_COMMITC:
      break;
    case ZQ_ACTIVE_LINK_ACTION_MACRO:
      v.member(s.u.macro, "macro");
      break;
    case ZQ_ACTIVE_LINK_ACTION_FIELDS:
      v.member(s.u.setFields, "setFields");
      break;
    case ZQ_ACTIVE_LINK_ACTION_PROCESS:  // unbounded from 14
      v.string(s.u.process, version <= 13 ? 256 : kUnbounded, "   Process:");
      break;
    case ZQ_ACTIVE_LINK_ACTION_MESSAGE:
      v.member(s.u.message, "message");
      break;
    case ZQ_ACTIVE_LINK_ACTION_SET_CHAR:
      v.member(s.u.characteristics, "characteristics");
      break;
    case ZQ_ACTIVE_LINK_ACTION_DDE:
      v.member(s.u.dde, "dde");
      break;
    case ZQ_ACTIVE_LINK_ACTION_FIELDP:
      v.member(s.u.pushFields, "pushFields");
      break;
    case ZQ_ACTIVE_LINK_ACTION_SQL:
      v.member(s.u.sqlCommand, "sqlCommand");
      break;
    case ZQ_ACTIVE_LINK_ACTION_AUTO:
      v.member(s.u.automation, "automation");
      break;
    case ZQ_ACTIVE_LINK_ACTION_OPENDLG:
      v.member(s.u.openDialog, "openDialog");
      break;
    case ZQ_ACTIVE_LINK_ACTION_CLOSEWND:  // carries its byte from 8
      if (since(v, 8)) v.member(s.u.closeWindow, "closeWindow");
      break;
    case ZQ_ACTIVE_LINK_ACTION_CALLGUIDE:
      v.member(s.u.callGuide, "callGuide");
      break;
    case ZQ_ACTIVE_LINK_ACTION_EXITGUIDE:
      v.member(s.u.exitGuide, "exitGuide");
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL:
      v.member(s.u.gotoGuideLabel, "gotoGuideLabel");
      break;
    case ZQ_ACTIVE_LINK_ACTION_WAIT:
      v.member(s.u.waitAction, "waitAction");
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOACTION:
      v.member(s.u.gotoAction, "gotoAction");
      break;
    case ZQ_ACTIVE_LINK_ACTION_SERVICE:  // arrived with 13
      if (since(v, 13))
        v.member(s.u.serviceAction, "serviceAction");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQActiveLinkActionStruct& s) {
  s.action = 0;
}

template <class V>
void describe(V& v, ZQActiveLinkActionList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQActiveLinkActionListList& s) {
  list(v, s);
}

// ---- character menus ------------------------------------------------------------------------

template <class V>
void describe(V& v, ZQCharMenuStruct& s);

template <class V>
void describe(V& v, ZQCharMenuItemStruct& s) {
  v.name(s.label, NameKind::plain, "   Label:");
  v.u32(s.type, "   Type :");
  switch (s.type) {
    case ZQ_MENU_ITEM_NONE:
      break;
    case ZQ_MENU_ITEM_VALUE:
      v.string(s.u.value, 256, "   Value:");
      break;
    case ZQ_MENU_ITEM_MENU:
      v.pointer(s.u.childMenu, "childMenu");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQCharMenuItemStruct& s) {
  s = ZQCharMenuItemStruct{};
}

template <class V>
void describe(V& v, ZQCharMenuList& s) {
  list(v, s);
}

// Labels: one field (7) or five.
template <class V>
void describe(V& v, ZQCharMenuQueryStruct& s) {
  const int version = v.version();
  v.name(s.schemaName, NameKind::plain, "   Schema name:");
  v.name(s.serverName, "   Server name:");
  v.member(s.qualifier, "qualifier");
  if (version <= 7)
    v.u32(s.labelFieldId[0], "   Label Field Id:");
  else
    v.u32Array(s.labelFieldId, ZQ_MENU_LABEL_FIELDS, "   Label Field Id:");
  v.u32(s.valueFieldId, "   Value Field Id:");
  v.flag(s.sortOnLabel, "   Sort on Label:");
  if (since(v, 10)) {  // samples arrived with 10
    v.name(s.sampleSchemaName, NameKind::plain, "   Sample Schema name:");
    v.name(s.sampleServerName, "   Sample Server name:");
  }
}

template <class V>
void describe(V& v, ZQCharMenuFileStruct& s) {
  v.u32(s.fileLocation, "File Location:");
  v.string(s.filename, kUnbounded, "   Filename:");
}

// The five label indexes and the value index go out as one run of words, which
// the wire visitors write straight into the stream's window when it has room.
template <class V>
void describe(V& v, ZQCharMenuSQLStruct& s) {
  v.name(s.serverName, "   Server name:");
  v.string(s.sqlCommand, kUnbounded, "   SQL Command:");
  if (v.version() <= 7) {
    v.i32(s.labelIndex[0], "   Label Index:");
  } else {
    for (int i = 0; i < ZQ_MENU_LABEL_FIELDS; ++i) v.i32(s.labelIndex[i], "   Label Index:");
  }
  v.i32(s.valueIndex, "   Value Index:");
}

// serverName and extra are the client's: they never travel.
template <class V>
void describe(V& v, ZQCharMenuSSStruct& s) {
  v.name(s.menuName, NameKind::plain, "   Menu Name:");
  describeEntryValues(v, s.keywordList);
  describeEntryValues(v, s.parameterList);
  v.member(s.qualifierList, "qualifierList");
  if constexpr (V::kPass == Pass::release || V::kPass == Pass::copy || V::kPass == Pass::print) {
    v.string(s.serverName, kUnbounded, "   Server Name:");
    v.string(s.extra, kUnbounded, "extra");
  } else if constexpr (V::kPass == Pass::decode) {
    s.serverName = nullptr;
    s.extra = nullptr;
  }
}

template <class V>
void describe(V& v, ZQCharMenuDDStruct& s) {
  v.name(s.serverName, "   Server Name:");
  v.u32(s.nameType, "   Name Type:");
  v.u32(s.valueFormat, "   Value Format:");
  v.u32(s.menuKind, "menuKind");
  switch (s.menuKind) {
    case 0:
      break;
    case ZQ_MENU_DD_FORM:
      v.u32(s.u.formDefn.schemaType, "      Schema Type:");
      v.flag(s.u.formDefn.includeHidden, "      Include hidden:");
      break;
    case ZQ_MENU_DD_FIELD:
      v.u32(s.u.fieldDefn.fieldType, "      Field Type:");
      v.name(s.u.fieldDefn.formName, NameKind::plain, "      Form Name:");
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, ZQCharMenuStruct& s) {
  v.u32(s.menuType, "Type of Menu:");
  switch (s.menuType) {
    case ZQ_CHAR_MENU_NONE:
      break;
    case ZQ_CHAR_MENU_LIST:
      v.member(s.u.menuList, "menuList");
      break;
    case ZQ_CHAR_MENU_QUERY:
      v.member(s.u.menuQuery, "menuQuery");
      break;
    case ZQ_CHAR_MENU_FILE:
      v.member(s.u.menuFile, "menuFile");
      break;
    case ZQ_CHAR_MENU_SQL:
      v.member(s.u.menuSQL, "menuSQL");
      break;
    case ZQ_CHAR_MENU_SS:  // server-side and data-dictionary menus arrived with 8
      if (since(v, 8))
        v.member(s.u.menuSS, "menuSS");
      else
        v.badTag();
      break;
    case ZQ_CHAR_MENU_DATA_DICTIONARY:
      if (since(v, 8))
        v.member(s.u.menuDD, "menuDD");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQCharMenuStruct& s) {
  s.menuType = 0;
}

// The copies of a menu and of a menu item check every type in the tree
// before copying anything: ZQ_COPY_OK, ZQ_COPY_BAD_MENU_TYPE or
// ZQ_COPY_BAD_MENU_ITEM_TYPE (copy_rules.cpp).
int32_t checkMenuForCopy(const ZQCharMenuStruct& menu);
int32_t checkMenuItemForCopy(const ZQCharMenuItemStruct& item);

template <class V>
void describe(V& v, ZQCharMenuStructList& s) {
  list(v, s);
}

// ---- field limits ---------------------------------------------------------------------------

template <class V>
void describe(V& v, ZQEnumItemStruct& s) {
  v.name(s.itemName, NameKind::plain, "itemName");
  v.u32(s.itemNumber, "itemNumber");
}

template <class V>
void describe(V& v, ZQEnumItemList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQEnumeratedQuery& s) {
  v.name(s.schemaName, NameKind::plain, "   Schema Name:");
  v.name(s.serverName, "   Server Name:");
  describeInlineAsPointer(v, s.qualifier, "qualifier");
  v.u32(s.nameFieldId, "   Name Field Id:");
  v.u32(s.numberFieldId, "   Number Field Id:");
}

// Version 7 sends the item names only.
template <class V>
void describe(V& v, ZQEnumeratedLimits& s) {
  if (v.version() <= 7) {
    if constexpr (V::kPass == Pass::decode) s.enumKind = ZQ_ENUM_STYLE_REGULAR;
    if (s.enumKind != ZQ_ENUM_STYLE_REGULAR) return v.badTag();
    return v.member(s.u.values, "values");
  }
  v.u32(s.enumKind, "enumKind");
  switch (s.enumKind) {
    case ZQ_ENUM_STYLE_REGULAR:
      if constexpr (V::kPass == Pass::copy)
        copyRounded(v, s.u.values, 10);
      else
        v.member(s.u.values, "values");
      break;
    case ZQ_ENUM_STYLE_CUSTOM:
      v.member(s.u.customValues, "customValues");
      break;
    case ZQ_ENUM_STYLE_QUERY:
      v.member(s.u.query, "query");
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, ZQCharacterLimits& s) {
  v.u32(s.maximumLength, "   Maximum Length:");
  v.u32(s.menuStyle, "   Menu Style:");
  v.u32(s.qbeMatchOperation, "   QBE Match Operation:");
  v.name(s.characterMenu, NameKind::plain, "   Character Menu:");
  v.string(s.pattern, 256, "   Pattern:");
  v.u32(s.fullTextOptions, "   FullText Options:");
  if (since(v, 14)) {  // length units and storage option arrived with 14
    v.u32(s.lengthUnits, "   Length Units:");
    v.u32(s.storageOption, "   Storage Option:");
  }
}

template <class V>
void describe(V& v, ZQCurrencyPrecision& s) {
  v.name(s.currencyCode, "currencyCode");
  v.i32(s.precision, "precision");
}

template <class V>
void describe(V& v, ZQCurrencyPrecisionList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQCurrencyFieldLimits& s) {
  v.string(s.lowRange, kUnbounded, "   Low Range :");
  v.string(s.highRange, kUnbounded, "   High Range:");
  v.i32(s.precision, "   Precision:");
  v.member(s.functionalCurrencies, "functionalCurrencies");
  v.member(s.allowedCurrencies, "allowedCurrencies");
}

template <class V>
void describe(V& v, ZQTableFieldLimits& s) {
  v.u32(s.numberOfColumns, "   Number of Columns:");
  v.member(s.qualifier, "qualifier");
  v.u32(s.maxRowsToRetrieve, "   Max Rows to Retrieve:");
  v.name(s.schemaName, NameKind::plain, "   Schema Name:");
  v.name(s.serverName, "   Server Name:");
  if (since(v, 10)) {  // samples arrived with 10
    v.name(s.sampleSchemaName, NameKind::plain, "   Sample Schema Name:");
    v.name(s.sampleServerName, "   Sample Server Name:");
  }
}

template <class V>
void describe(V& v, ZQColumnFieldLimits& s) {
  v.u32(s.parentTableFieldId, "   Parent Table Field Id:");
  v.u32(s.dataFieldId, "   Data Field Id:");
  v.u32(s.dataSource, "   Data Source:");
  if (since(v, 8)) v.u32(s.lengthToDisplay, "   Length to Display:");
}

template <class V>
void describe(V& v, ZQFieldLimitStruct& s) {
  const int version = v.version();
  v.u32(s.dataType, "Field Limit Struct:");
  switch (s.dataType) {
    case 0:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_BYTES:
      break;
    case ZQ_DATA_TYPE_INTEGER:
      v.i32(s.u.intLimits.lowRange, "   Low Range :");
      v.i32(s.u.intLimits.highRange, "   High Range:");
      break;
    case ZQ_DATA_TYPE_REAL:
      v.real(s.u.realLimits.lowRange, "   Low Range :");
      v.real(s.u.realLimits.highRange, "   High Range:");
      v.i32(s.u.realLimits.precision, "   Precision:");
      break;
    case ZQ_DATA_TYPE_CHAR:
      v.member(s.u.charLimits, "charLimits");
      break;
    case ZQ_DATA_TYPE_DIARY:
      v.u32(s.u.diaryLimits.fullTextOptions, "   FullText Options:");
      break;
    case ZQ_DATA_TYPE_ENUM:
      v.member(s.u.enumLimits, "   Enum values:");
      break;
    case ZQ_DATA_TYPE_BITMASK:
      v.member(s.u.maskLimits, "   Bitmask values:");
      break;
    case ZQ_DATA_TYPE_DECIMAL:
      v.string(s.u.decimalLimits.lowRange, kUnbounded, "   Low Range :");
      v.string(s.u.decimalLimits.highRange, kUnbounded, "   High Range:");
      v.i32(s.u.decimalLimits.precision, "   Precision:");
      break;
    case ZQ_DATA_TYPE_ATTACH:
      v.u32(s.u.attachLimits.maximumSize, "   Maximum Size:");
      v.u32(s.u.attachLimits.attachType, "   Attach Type:");
      if (since(v, 12)) v.u32(s.u.attachLimits.fullTextOptions, "   FullText Options:");
      break;
    case ZQ_DATA_TYPE_TABLE:
      v.member(s.u.tableLimits, "tableLimits");
      break;
    case ZQ_DATA_TYPE_COLUMN:
      v.member(s.u.columnLimits, "columnLimits");
      break;
    default:
      if (version <= 7) return v.badTag();  // the types below arrived with 8
      switch (s.dataType) {
        case ZQ_DATA_TYPE_CURRENCY:
          v.member(s.u.currencyLimits, "currencyLimits");
          break;
        case ZQ_DATA_TYPE_DATE:
          v.i32(s.u.dateLimits.minimumDate, "   Minium Date :");
          v.i32(s.u.dateLimits.maximumDate, "   Maxium Date :");
          break;
        case ZQ_DATA_TYPE_VIEW:
          v.u32(s.u.viewLimits.maximumLength, "   Maximum Length:");
          break;
        case ZQ_DATA_TYPE_DISPLAY:
          v.u32(s.u.displayLimits.maximumLength, "   Maximum Length:");
          if (since(v, 14)) v.u32(s.u.displayLimits.lengthUnits, "   Length Units:");
          break;
        default:  // time of day (14) among them: it cannot travel
          v.badTag();
          break;
      }
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQFieldLimitStruct& s) {
  s.dataType = 0;
}

template <class V>
void describe(V& v, ZQFieldLimitList& s) {
  list(v, s);
}

}  // namespace zq::model
