// Test helper: sample workflow and definition structures, built on the library
// heap so that the Free family releases them.
#pragma once

#include "model/describe_defs.h"
#include "unit/model/fixtures.h"

namespace zqtest::defs {

using namespace zqtest::fx;

inline ZQFieldAssignList assignments() {
  ZQFieldAssignList l{};
  l.count = 2;
  l.items = array<ZQFieldAssignStruct>(
      {{536870913, valueAssign(intValue(4))}, {8, processAssign("echo hi")}});
  return l;
}

// ---- action payloads -----------------------------------------------------------------

inline ZQFilterActionNotifyAdvanced* advanced() {
  ZQFilterActionNotifyAdvanced a{
      str("from@x"), str("reply@x"), str("cc@x"), nullptr, str("Org"), str("box"),
      str("hdr"),    str("ftr"),     str("body"), 1,       2,          3};
  return node(a);
}

inline ZQNotifyStruct notify(bool withAdvanced = true) {
  ZQNotifyStruct n{};
  n.user = str("Demo");
  n.text = str("Entry $1$ changed");
  n.priority = 5;
  n.mechanism = ZQ_NOTIFY_XREF;
  n.crossReferenceFieldId = 536870914;
  n.subject = str("Subject");
  n.fieldIdListKind = ZQ_NOTIFY_FIELDS_LIST;
  n.fieldIdList.count = 3;
  n.fieldIdList.items = array<ZQInternalId>({1, 7, 536870913});
  n.behavior = 1;
  n.permission = 2;
  n.advanced = withAdvanced ? advanced() : nullptr;
  return n;
}

inline ZQSetFieldsStruct setFields() {
  ZQSetFieldsStruct s{};
  s.fieldAssignList = assignments();
  setName(s.sampleServer, "sample-srv");
  setName(s.sampleSchema, "Sample Form");
  return s;
}

inline ZQPushFieldsAction pushFields() {
  ZQPushFieldsStruct one{};
  ZQAssignStruct target = fieldAssign();
  one.target = *target.u.field;
  ZQFree(target.u.field);
  one.source = valueAssign(charValue("pushed"));
  ZQPushFieldsAction p{};
  p.pushFieldsList.count = 1;
  p.pushFieldsList.items = array({one});
  setName(p.sampleServer, "s2");
  setName(p.sampleSchema, "Target Form");
  return p;
}

inline ZQSQLStruct sql() {
  ZQSQLStruct s{};
  setName(s.server, "db");
  s.sqlCommand = str("update t set a = 1");
  return s;
}

inline ZQCallGuideStruct callGuide() {
  ZQCallGuideStruct g{};
  setName(g.serverName, "srv");
  setName(g.guideName, "Guide");
  g.guideMode = 2;
  g.guideTableId = 536870930;
  g.inputMappings = assignments();
  setName(g.sampleServerName, "sample");
  setName(g.sampleGuideName, "Sample Guide");
  return g;
}

inline ZQSvcActionStruct service() {
  ZQSvcActionStruct s{};
  setName(s.server, "srv");
  setName(s.schema, "Service Form");
  s.requestIdMap = 1;
  s.outputMappings = assignments();
  setName(s.sampleServer, "x");
  setName(s.sampleSchema, "y");
  return s;
}

inline ZQCOMValueStruct comValue(uint32_t type) {
  ZQCOMValueStruct v{};
  v.interfaceId = str("{IID}");
  v.number = 3;
  v.valueType = type;
  if (type == ZQ_COM_VALUE_FIELD) v.u.fieldId = 536870913;
  if (type == ZQ_COM_VALUE_VALUE) v.u.value = charValue("com");
  return v;
}

inline ZQOutboundAutomationStruct automation() {
  ZQCOMMethodParmStruct parm{str("p1"), 8, comValue(ZQ_COM_VALUE_VALUE)};
  ZQCOMMethodStruct method{};
  method.methodName = str("Open");
  method.methodInterfaceId = str("{MID}");
  method.methodType = 1;
  method.methodValue = comValue(ZQ_COM_VALUE_FIELD);
  method.parameters.count = 1;
  method.parameters.items = array({parm});
  ZQOutboundAutomationStruct a{};
  a.autoServerName = str("Word.Application");
  a.classId = str("{CLSID}");
  a.automationAction = nullptr;
  a.serverShowingFlag = 1;
  a.methods.count = 1;
  a.methods.items = array({method});
  return a;
}

inline ZQOpenDialogStruct openDialog() {
  ZQOpenDialogStruct d{};
  setName(d.serverName, "srv");
  setName(d.schemaName, "Dialog Form");
  setName(d.vuiLabel, "Default");
  d.closeBoxShowingFlag = 1;
  d.inputValues = assignments();
  d.windowMode = -1;
  d.targetLocation = str("_blank");
  d.qualifier = relation(ZQ_REL_OP_EQUAL, fieldOperand(1), valueOperand(charValue("x")));
  d.noMatchContinue = 1;
  d.message.messageType = ZQ_MESSAGE_PROMPT;
  d.message.messageNumber = 10000;
  d.message.message = str("none found");
  d.pollingInterval = 30;
  d.reportString = str("report");
  d.sortList.count = 1;
  d.sortList.items = array<ZQSortStruct>({{1, ZQ_SORT_DESCENDING}});
  return d;
}

// ---- actions ---------------------------------------------------------------------------

inline ZQFilterActionStruct filterAction(uint32_t action) {
  ZQFilterActionStruct a{};
  a.action = action;
  switch (action) {
    case ZQ_FILTER_ACTION_NOTIFY:
      a.u.notify = notify();
      break;
    case ZQ_FILTER_ACTION_MESSAGE:
      a.u.message = {ZQ_MESSAGE_ERROR, 8100, str("bad")};
      break;
    case ZQ_FILTER_ACTION_LOG:
      a.u.logFile = str("/tmp/log");
      break;
    case ZQ_FILTER_ACTION_FIELDS:
      a.u.setFields = setFields();
      break;
    case ZQ_FILTER_ACTION_PROCESS:
      a.u.process = str("run.sh");
      break;
    case ZQ_FILTER_ACTION_FIELDP:
      a.u.pushFields = pushFields();
      break;
    case ZQ_FILTER_ACTION_SQL:
      a.u.sqlCommand = sql();
      break;
    case ZQ_FILTER_ACTION_GOTOACTION:
      a.u.gotoAction = {ZQ_GOTO_OFFSET_FORWARD, 3};
      break;
    case ZQ_FILTER_ACTION_CALLGUIDE:
      a.u.callGuide = callGuide();
      break;
    case ZQ_FILTER_ACTION_EXITGUIDE:
      a.u.exitGuide.closeAllWindows = 1;
      break;
    case ZQ_FILTER_ACTION_GOTOGUIDELABEL:
      a.u.gotoGuideLabel.label = str("start");
      break;
    case ZQ_FILTER_ACTION_SERVICE:
      a.u.serviceAction = service();
      break;
    default:
      break;
  }
  return a;
}

inline ZQActiveLinkActionStruct alAction(uint32_t action) {
  ZQActiveLinkActionStruct a{};
  a.action = action;
  switch (action) {
    case ZQ_ACTIVE_LINK_ACTION_MACRO: {
      ZQMacroParmStruct p1{}, p2{};
      setName(p1.name, "p1");
      p1.value = str("v1");
      setName(p2.name, "p2");
      setName(a.u.macro.macroName, "Macro");
      a.u.macro.macroText = str("text");
      a.u.macro.macroParms.count = 2;
      a.u.macro.macroParms.items = array({p1, p2});
      break;
    }
    case ZQ_ACTIVE_LINK_ACTION_FIELDS:
      a.u.setFields = setFields();
      break;
    case ZQ_ACTIVE_LINK_ACTION_PROCESS:
      a.u.process = str("PERFORM-ACTION-X");
      break;
    case ZQ_ACTIVE_LINK_ACTION_MESSAGE:
      a.u.message = {ZQ_MESSAGE_TOOLTIP, 10001, str("tip"), 1};
      break;
    case ZQ_ACTIVE_LINK_ACTION_SET_CHAR:
      a.u.characteristics.option = 1;
      a.u.characteristics.fieldId = 536870913;
      a.u.characteristics.charMenu = str("Menu");
      a.u.characteristics.properties = props();
      a.u.characteristics.resetFocus = 1;
      a.u.characteristics.accessOption = 2;
      break;
    case ZQ_ACTIVE_LINK_ACTION_DDE:
      a.u.dde = {str("svc"), str("topic"), str("item"), 1, nullptr, str("cmd")};
      break;
    case ZQ_ACTIVE_LINK_ACTION_FIELDP:
      a.u.pushFields = pushFields();
      break;
    case ZQ_ACTIVE_LINK_ACTION_SQL:
      a.u.sqlCommand = sql();
      break;
    case ZQ_ACTIVE_LINK_ACTION_AUTO:
      a.u.automation = automation();
      break;
    case ZQ_ACTIVE_LINK_ACTION_OPENDLG:
      a.u.openDialog = openDialog();
      break;
    case ZQ_ACTIVE_LINK_ACTION_CLOSEWND:
      a.u.closeWindow.closeAllWindows = 1;
      break;
    case ZQ_ACTIVE_LINK_ACTION_CALLGUIDE:
      a.u.callGuide = callGuide();
      break;
    case ZQ_ACTIVE_LINK_ACTION_EXITGUIDE:
      a.u.exitGuide.closeAllWindows = 1;
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL:
      a.u.gotoGuideLabel.label = str("L1");
      break;
    case ZQ_ACTIVE_LINK_ACTION_WAIT:
      a.u.waitAction.continueButtonTitle = str("Go");
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOACTION:
      a.u.gotoAction = {ZQ_GOTO_FIELD_XREF, 536870913};
      break;
    case ZQ_ACTIVE_LINK_ACTION_SERVICE:
      a.u.serviceAction = service();
      break;
    default:
      break;
  }
  return a;
}

// ---- character menus --------------------------------------------------------------------

inline ZQCharMenuItemStruct valueItem(const char* label, const char* value) {
  ZQCharMenuItemStruct i{};
  setName(i.label, label);
  i.type = ZQ_MENU_ITEM_VALUE;
  i.u.value = str(value);
  return i;
}

inline ZQCharMenuStruct listMenu(std::initializer_list<ZQCharMenuItemStruct> items) {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_LIST;
  m.u.menuList.count = static_cast<uint32_t>(items.size());
  m.u.menuList.items = array(items);
  return m;
}

inline ZQCharMenuItemStruct subMenuItem(const char* label, ZQCharMenuStruct* child) {
  ZQCharMenuItemStruct i{};
  setName(i.label, label);
  i.type = ZQ_MENU_ITEM_MENU;
  i.u.childMenu = child;
  return i;
}

// A list menu with a value, a sub-menu, an absent sub-menu and an empty item.
inline ZQCharMenuStruct nestedMenu() {
  ZQCharMenuStruct child = listMenu({valueItem("Low", "1"), valueItem("High", "3")});
  return listMenu({valueItem("None", "0"), subMenuItem("Levels", node(child)),
                   subMenuItem("Absent", nullptr), ZQCharMenuItemStruct{}});
}

inline ZQCharMenuStruct menu(uint32_t type) {
  if (type == ZQ_CHAR_MENU_LIST) return nestedMenu();
  ZQCharMenuStruct m{};
  m.menuType = type;
  switch (type) {
    case ZQ_CHAR_MENU_QUERY: {
      ZQCharMenuQueryStruct& q = m.u.menuQuery;
      setName(q.schemaName, "People");
      setName(q.serverName, "srv");
      q.qualifier = relation(ZQ_REL_OP_EQUAL, fieldOperand(7), valueOperand(intValue(0)));
      q.labelFieldId[0] = 8;
      q.labelFieldId[1] = 0;
      q.labelFieldId[2] = 99;  // after the first 0: still carried
      q.valueFieldId = 1;
      q.sortOnLabel = 1;
      setName(q.sampleSchemaName, "Sample");
      setName(q.sampleServerName, "srv2");
      break;
    }
    case ZQ_CHAR_MENU_FILE:
      m.u.menuFile.fileLocation = ZQ_MENU_FILE_CLIENT;
      m.u.menuFile.filename = str("/etc/menu.txt");
      break;
    case ZQ_CHAR_MENU_SQL:
      setName(m.u.menuSQL.serverName, "db");
      m.u.menuSQL.sqlCommand = str("select a, b from t");
      m.u.menuSQL.labelIndex[0] = 1;
      m.u.menuSQL.labelIndex[1] = 2;
      m.u.menuSQL.labelIndex[4] = -7;
      m.u.menuSQL.valueIndex = 2;
      break;
    case ZQ_CHAR_MENU_SS: {
      ZQCharMenuSSStruct& s = m.u.menuSS;
      setName(s.menuName, "Server Menu");
      s.keywordList = fieldValues();
      s.parameterList.count = 1;
      s.parameterList.items = array<ZQFieldValueStruct>({{2, charValue("p")}});
      s.qualifierList.count = 2;
      s.qualifierList.items = array({ZQQualifierStruct{}, relation(ZQ_REL_OP_LESS, fieldOperand(3),
                                                                   valueOperand(intValue(5)))});
      s.serverName = str("client-only");
      s.extra = str("extra");
      break;
    }
    case ZQ_CHAR_MENU_DATA_DICTIONARY:
      setName(m.u.menuDD.serverName, "srv");
      m.u.menuDD.nameType = 1;
      m.u.menuDD.valueFormat = 2;
      m.u.menuDD.menuKind = ZQ_MENU_DD_FIELD;
      m.u.menuDD.u.fieldDefn.fieldType = 4;
      setName(m.u.menuDD.u.fieldDefn.formName, "Form");
      break;
    default:
      break;
  }
  return m;
}

// ---- field limits ------------------------------------------------------------------------

inline ZQFieldLimitStruct limit(uint32_t type, uint32_t enumKind = ZQ_ENUM_STYLE_CUSTOM) {
  ZQFieldLimitStruct l{};
  l.dataType = type;
  switch (type) {
    case ZQ_DATA_TYPE_INTEGER:
      l.u.intLimits = {-10, 10};
      break;
    case ZQ_DATA_TYPE_REAL:
      l.u.realLimits = {-1.5, 1e9, 3};
      break;
    case ZQ_DATA_TYPE_CHAR: {
      ZQCharacterLimits& c = l.u.charLimits;
      c.maximumLength = 255;
      c.menuStyle = 1;
      c.qbeMatchOperation = 2;
      setName(c.characterMenu, "Menu");
      c.pattern = str("$DIGIT$");
      c.fullTextOptions = 1;
      c.lengthUnits = 1;
      c.storageOption = 2;
      break;
    }
    case ZQ_DATA_TYPE_DIARY:
      l.u.diaryLimits.fullTextOptions = 1;
      break;
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK: {
      ZQEnumeratedLimits& e = type == ZQ_DATA_TYPE_ENUM ? l.u.enumLimits : l.u.maskLimits;
      e.enumKind = enumKind;
      if (enumKind == ZQ_ENUM_STYLE_REGULAR) e.u.values = names({"New", "Open", "Closed"});
      if (enumKind == ZQ_ENUM_STYLE_CUSTOM) {
        ZQEnumItemStruct a{}, b{};
        setName(a.itemName, "Low");
        a.itemNumber = 10;
        setName(b.itemName, "High");
        b.itemNumber = 20;
        e.u.customValues.count = 2;
        e.u.customValues.items = array({a, b});
      }
      if (enumKind == ZQ_ENUM_STYLE_QUERY) {
        setName(e.u.query.schemaName, "Values");
        setName(e.u.query.serverName, "srv");
        e.u.query.qualifier = richQualifier();
        e.u.query.nameFieldId = 8;
        e.u.query.numberFieldId = 9;
      }
      break;
    }
    case ZQ_DATA_TYPE_DECIMAL:
      l.u.decimalLimits = {str("-1.25"), str("99.99"), 2};
      break;
    case ZQ_DATA_TYPE_ATTACH:
      l.u.attachLimits = {1000000, ZQ_ATTACH_LINK, 1};
      break;
    case ZQ_DATA_TYPE_CURRENCY: {
      ZQCurrencyFieldLimits& c = l.u.currencyLimits;
      c.lowRange = str("0");
      c.highRange = nullptr;
      c.precision = 2;
      ZQCurrencyPrecision usd{}, eur{};
      setName(usd.currencyCode, "USD");
      usd.precision = 2;
      setName(eur.currencyCode, "EUR");
      eur.precision = 3;
      c.functionalCurrencies.count = 1;
      c.functionalCurrencies.items = array({usd});
      c.allowedCurrencies.count = 2;
      c.allowedCurrencies.items = array({usd, eur});
      break;
    }
    case ZQ_DATA_TYPE_DATE:
      l.u.dateLimits = {2440588, 2488069};
      break;
    case ZQ_DATA_TYPE_TABLE: {
      ZQTableFieldLimits& t = l.u.tableLimits;
      t.numberOfColumns = 3;
      t.qualifier = relation(ZQ_REL_OP_GREATER, fieldOperand(3), valueOperand(intValue(1)));
      t.maxRowsToRetrieve = 100;
      setName(t.schemaName, "Rows");
      setName(t.serverName, "srv");
      setName(t.sampleSchemaName, "SRows");
      setName(t.sampleServerName, "ssrv");
      break;
    }
    case ZQ_DATA_TYPE_COLUMN:
      l.u.columnLimits = {536870950, 8, 1, 20};
      break;
    case ZQ_DATA_TYPE_VIEW:
      l.u.viewLimits.maximumLength = 512;
      break;
    case ZQ_DATA_TYPE_DISPLAY:
      l.u.displayLimits = {128, 1};
      break;
    default:
      break;
  }
  return l;
}

// ---- definition structures ------------------------------------------------------------------

inline ZQWorkflowConnectStruct connection(std::initializer_list<const char*> forms) {
  ZQWorkflowConnectStruct c{};
  c.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
  c.schemaList = node(names(forms));
  return c;
}

inline ZQCompoundSchema schema(uint32_t type) {
  ZQCompoundSchema s{};
  s.schemaType = type;
  if (type == ZQ_SCHEMA_JOIN) {
    setName(s.u.join.joinMemberA, "Left");
    setName(s.u.join.joinMemberB, "Right");
    s.u.join.joinQualifier = relation(ZQ_REL_OP_EQUAL, fieldOperand(1), fieldOperand(2));
    s.u.join.joinOption = 1;
  }
  if (type == ZQ_SCHEMA_VIEW) {
    setName(s.u.view.viewTableName, "dbo.view_table");
    setName(s.u.view.extraName, "key");
  }
  if (type == ZQ_SCHEMA_VENDOR) {
    setName(s.u.vendor.vendorName, "Vendor");
    setName(s.u.vendor.vendorTableName, "vendor_table");
  }
  return s;
}

inline ZQFieldMappingStruct mapping(uint32_t type) {
  ZQFieldMappingStruct m{};
  m.fieldType = type;
  if (type == ZQ_FIELD_MAPPING_JOIN) m.u.join = {1, 536870913};
  if (type == ZQ_FIELD_MAPPING_VIEW) setName(m.u.view.externalFieldName, "col_a");
  if (type == ZQ_FIELD_MAPPING_VENDOR) setName(m.u.vendor.externalFieldName, "col_b");
  if (type == ZQ_FIELD_MAPPING_INHERITED) {
    setName(m.u.inherited.externalFieldName, "col_c");
    m.u.inherited.word1 = 7;
    m.u.inherited.word2 = 9;
  }
  return m;
}

inline ZQArchiveInfoStruct archive(uint32_t type) {
  ZQArchiveInfoStruct a{};
  a.enable = 1;
  a.archiveType = type;
  if (type & ZQ_ARCHIVE_FORM)
    setName(a.u.formName, "Archive Form");
  else if (type & (ZQ_ARCHIVE_FILE_XML | ZQ_ARCHIVE_FILE_ARX))
    a.u.dirPath = str("/var/archive");
  a.monthday = 1;
  a.weekday = 2;
  a.hourmask = 4;
  a.minute = 30;
  a.qualifier = relation(ZQ_REL_OP_LESS, fieldOperand(6), valueOperand(intValue(1000)));
  setName(a.archiveFrom, "Source");
  return a;
}

inline ZQReferenceStruct reference(uint32_t dataType) {
  ZQReferenceStruct r{};
  r.label = str("Label");
  r.description = nullptr;
  r.type = 32793;
  r.reference.dataType = dataType;
  if (dataType == ZQ_REFERENCE_INTERNAL) setName(r.reference.u.name, "Filter A");
  if (dataType == ZQ_REFERENCE_EXTERNAL) {
    r.reference.u.extRef.groupList.count = 2;
    r.reference.u.extRef.groupList.items = array<ZQInternalId>({1, 3});
    r.reference.u.extRef.value = charValue("http://x");
  }
  return r;
}

template <class T>
T* bytesOf(std::initializer_list<unsigned char> bytes) {
  return reinterpret_cast<T*>(array(bytes));
}

// ---- queries over several forms ---------------------------------------------------------------

inline ZQMultiSchemaFieldIdStruct aliased(const char* alias, ZQInternalId id) {
  ZQMultiSchemaFieldIdStruct f{};
  setName(f.queryFromAlias, alias);
  f.fieldId = id;
  return f;
}

inline ZQMultiSchemaFieldValueOrArithStruct msField(const char* alias, ZQInternalId id) {
  ZQMultiSchemaFieldValueOrArithStruct o{};
  o.tag = ZQ_FIELD;
  o.u.fieldId = aliased(alias, id);
  return o;
}

inline ZQMultiSchemaFieldValueOrArithStruct msValue(ZQValueStruct v) {
  ZQMultiSchemaFieldValueOrArithStruct o{};
  o.tag = ZQ_VALUE;
  o.u.value = v;
  return o;
}

inline ZQMultiSchemaQualifierStruct msRelation(uint32_t op, ZQMultiSchemaFieldValueOrArithStruct l,
                                               ZQMultiSchemaFieldValueOrArithStruct r) {
  ZQMultiSchemaRelOpStruct rel{op, l, r};
  ZQMultiSchemaQualifierStruct q{};
  q.operation = ZQ_COND_OP_REL_OP;
  q.u.relOp = node(rel);
  return q;
}

inline ZQMultiSchemaQueryFromStruct formSource(const char* form, const char* alias) {
  ZQMultiSchemaQueryFromStruct f{};
  f.type = ZQ_MULTI_SCHEMA_SOURCE_FORM;
  setName(f.u.schemaName, form);
  setName(f.queryFromAlias, alias);
  return f;
}

// A qualification using every multi-form operand kind.
inline ZQMultiSchemaQualifierStruct msQualifier() {
  ZQMultiSchemaValueSetQueryStruct vs{};
  vs.queryFromList.count = 1;
  vs.queryFromList.items = array({formSource("Groups", "g")});
  vs.fieldId = aliased("g", 1);
  vs.qualifier = node(msRelation(ZQ_REL_OP_EQUAL, msField("g", 7), msValue(intValue(1))));
  ZQMultiSchemaFieldValueOrArithStruct inSet{};
  inSet.tag = ZQ_MULTI_VALUE_SET_QUERY;
  inSet.u.valueSetQuery = node(vs);

  ZQMultiSchemaCurrencyPartStruct cur{aliased("a", 536870920), 4, "EUR"};
  ZQMultiSchemaFieldValueOrArithStruct curOp{};
  curOp.tag = ZQ_CURRENCY_FLD;
  curOp.u.currencyField = node(cur);

  ZQMultiSchemaFieldValueOrArithStruct hist{};
  hist.tag = ZQ_STAT_HISTORY;
  setName(hist.u.statHistory.queryFromAlias, "a");
  hist.u.statHistory.enumeratedValueIndex = 1;
  hist.u.statHistory.userOrTime = ZQ_STAT_HISTORY_TIME;

  ZQMultiSchemaArithOpStruct neg{ZQ_ARITH_OP_NEGATE, {}, msField("a", 3)};
  ZQMultiSchemaFieldValueOrArithStruct arith{};
  arith.tag = ZQ_ARITHMETIC;
  arith.u.arithOp = node(neg);

  ZQMultiSchemaQualifierStruct fromField{};
  fromField.operation = ZQ_COND_OP_FROM_FIELD;
  fromField.u.fieldId = aliased("a", 5);

  ZQMultiSchemaQualifierStruct notQ{};
  notQ.operation = ZQ_COND_OP_NOT;
  notQ.u.notQual = node(msRelation(ZQ_REL_OP_IN, msField("a", 2), inSet));

  ZQMultiSchemaQualifierStruct andQ{};
  andQ.operation = ZQ_COND_OP_AND;
  andQ.u.andor.left = node(notQ);
  andQ.u.andor.right = node(msRelation(ZQ_REL_OP_LESS, arith, curOp));
  ZQMultiSchemaQualifierStruct orQ{};
  orQ.operation = ZQ_COND_OP_OR;
  orQ.u.andor.left = node(andQ);
  orQ.u.andor.right =
      node(msRelation(ZQ_REL_OP_EQUAL, hist, msValue(wordValue(ZQ_DATA_TYPE_ENUM, 1))));
  ZQMultiSchemaQualifierStruct top{};
  top.operation = ZQ_COND_OP_AND;
  top.u.andor.left = node(orQ);
  top.u.andor.right = node(fromField);
  return top;
}

inline ZQMultiSchemaQueryFromList queryFromList() {
  ZQMultiSchemaRecursiveQueryStruct rq{};
  setName(rq.queryFromAlias, "tree");
  rq.queryFromList.count = 1;
  rq.queryFromList.items = array({formSource("Nodes", "n")});
  rq.getListFields.count = 2;
  rq.getListFields.items = array({aliased("n", 1), aliased("n", 8)});
  rq.startQual = node(msRelation(ZQ_REL_OP_EQUAL, msField("n", 1), msValue(charValue("root"))));
  rq.recursionQual = nullptr;
  rq.levelsToRetrieve = -1;
  ZQMultiSchemaQueryFromStruct recursive{};
  recursive.type = ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE;
  recursive.u.recursiveQuery = node(rq);
  setName(recursive.queryFromAlias, "r");
  recursive.joinType = 1;
  recursive.joinQual = node(msQualifier());
  ZQMultiSchemaQueryFromList l{};
  l.count = 2;
  l.items = array({formSource("Accounts", "a"), recursive});
  return l;
}

}  // namespace zqtest::defs
