// Descriptions of qualifications, arithmetic and assignments (zq_qual.h).
#pragma once

#include "model/describe_core.h"
#include "zqapi/zq_qual.h"

namespace zq::model {

template <class V>
void describe(V& v, ZQQualifierStruct& s);

template <class V>
void describe(V& v, ZQStatusHistoryOperand& s) {
  v.u32(s.enumeratedValueIndex, "enumeratedValueIndex");
  v.u32(s.userOrTime, "userOrTime");
}

template <class V>
void describe(V& v, ZQCurrencyPartStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.u32(s.partTag, "partTag");
  v.name(s.currencyCode, "currencyCode");
}

template <class V>
void describe(V& v, ZQQueryStruct& s) {
  v.name(s.schema, NameKind::plain, "schema");
  v.name(s.server, "server");
  v.pointer(s.qualifier, "qualifier");
  v.u32(s.valueFieldId, "valueFieldId");
  v.u32(s.multiValueCode, "multiValueCode");
}

template <class V>
void describe(V& v, ZQFieldValueOrArithStruct& s) {
  v.u32(s.tag, "tag");
  const bool newer = since(v, 8);  // tags 6, 24 to 26 and 54 to 56 arrived with 8
  const uint32_t tag = s.tag;
  if ((tag >= 12 && tag <= 23) || (tag >= 24 && tag <= 26 && newer)) {
    v.u32(s.u.fieldId, "fieldId");  // carried like a field
    return;
  }
  switch (tag) {
    case 0:
      break;
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      v.u32(s.u.fieldId, "fieldId");
      break;
    case ZQ_VALUE:
      v.member(s.u.value, "value");
      break;
    case ZQ_ARITHMETIC:
      v.pointer(s.u.arithOp, "arithOp");
      break;
    case ZQ_STAT_HISTORY:
      v.member(s.u.statHistory, "statHistory");
      break;
    case ZQ_VALUE_SET:
      v.member(s.u.valueSet, "valueSet");
      break;
    case ZQ_LOCAL_VARIABLE:
      v.u32(s.u.variable, "variable");
      break;
    case ZQ_QUERY:
      v.pointer(s.u.query, "query");
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT:
      if (newer)
        v.pointer(s.u.currencyField, "currencyField");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}

// NEGATE is unary: its left operand travels but belongs to nobody.
template <class V>
void describe(V& v, ZQArithOpStruct& s) {
  v.u32(s.operation, "operation");
  if (s.operation == ZQ_ARITH_OP_NEGATE)
    v.unowned(s.left, "left");
  else
    v.member(s.left, "left");
  v.member(s.right, "right");
}

template <class V>
void describe(V& v, ZQRelOpStruct& s) {
  v.u32(s.operation, "operation");
  v.member(s.left, "left");
  v.member(s.right, "right");
}

template <class V>
void describe(V& v, ZQQualifierStruct& s) {
  v.u32(s.operation, "operation");
  switch (s.operation) {
    case ZQ_COND_OP_NONE:
      break;
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      v.pointer(s.u.andOr.left, "left");
      v.pointer(s.u.andOr.right, "right");
      break;
    case ZQ_COND_OP_NOT:
      v.pointer(s.u.operand, "operand");
      break;
    case ZQ_COND_OP_REL_OP:
      v.pointer(s.u.relation, "relation");
      break;
    case ZQ_COND_OP_FROM_FIELD:
      if (since(v, 8))
        v.u32(s.u.fieldId, "fieldId");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQQualifierStruct& s) {
  s.operation = 0;
}

template <class V>
void describe(V& v, ZQQualifierList& s) {
  list(v, s);
}

// ---- assignments ----------------------------------------------------------------------

template <class V>
void describe(V& v, ZQAssignStruct& s);

template <class V>
void describe(V& v, ZQAssignFieldStruct& s) {
  v.name(s.server, "server");
  v.name(s.schema, NameKind::plain, "schema");
  v.member(s.qualifier, "qualifier");
  v.u32(s.tag, "tag");
  switch (s.tag) {
    case ZQ_FIELD:
      v.u32(s.u.fieldId, "fieldId");
      break;
    case ZQ_STAT_HISTORY:
      v.member(s.u.statHistory, "statHistory");
      break;
    case ZQ_CURRENCY_FLD:
      v.pointer(s.u.currencyField, "currencyField");
      break;
    default:
      v.badTag();
      break;
  }
  v.u32(s.noMatchOption, "noMatchOption");
  v.u32(s.multiMatchOption, "multiMatchOption");
}
inline void resetFreed(FreeVisitor&, ZQAssignFieldStruct& s) {
  s.tag = ZQ_FIELD;
}

template <class V>
void describe(V& v, ZQArithOpAssignStruct& s) {
  v.u32(s.operation, "operation");
  if (s.operation == ZQ_ARITH_OP_NEGATE)
    v.unowned(s.left, "left");
  else
    v.member(s.left, "left");
  v.member(s.right, "right");
}

template <class V>
void describe(V& v, ZQFunctionAssignStruct& s) {
  v.u32(s.functionCode, "functionCode");
  list(v, s);
}

template <class V>
void describe(V& v, ZQDDEStruct& s) {
  v.string(s.serviceName, kUnbounded, "serviceName");
  v.string(s.topic, kUnbounded, "topic");
  v.string(s.item, kUnbounded, "item");
  v.u32(s.action, "action");
  v.string(s.pathToProgram, kUnbounded, "pathToProgram");
  v.string(s.command, kUnbounded, "command");
}

template <class V>
void describe(V& v, ZQAssignSQLStruct& s) {
  v.name(s.server, "server");
  v.string(s.sqlCommand, kUnbounded, "sqlCommand");
  v.u32(s.valueIndex, "valueIndex");
  v.u32(s.noMatchOption, "noMatchOption");
  v.u32(s.multiMatchOption, "multiMatchOption");
}
inline void resetFreed(FreeVisitor&, ZQAssignSQLStruct& s) {
  s.server[0] = '\0';
}

template <class V>
void describe(V& v, ZQAssignFilterApiStruct& s) {
  v.name(s.serviceName, NameKind::plain, "serviceName");
  list(v, s);
  v.u32(s.valueIndex, "valueIndex");
}

template <class V>
void describe(V& v, ZQAssignStruct& s) {
  v.u32(s.assignType, "assignType");
  switch (s.assignType) {
    case ZQ_ASSIGN_TYPE_NONE:
      break;
    case ZQ_ASSIGN_TYPE_VALUE:
      v.member(s.u.value, "value");
      break;
    case ZQ_ASSIGN_TYPE_FIELD:
      v.pointer(s.u.field, "field");
      break;
    case ZQ_ASSIGN_TYPE_PROCESS:
      v.string(s.u.process, 256, "process");
      break;
    case ZQ_ASSIGN_TYPE_ARITH:
      v.pointer(s.u.arithOp, "arithOp");
      break;
    case ZQ_ASSIGN_TYPE_FUNCTION:
      v.pointer(s.u.function, "function");
      break;
    case ZQ_ASSIGN_TYPE_DDE:
      v.pointer(s.u.dde, "dde");
      break;
    case ZQ_ASSIGN_TYPE_SQL:
      v.pointer(s.u.sql, "sql");
      break;
    case ZQ_ASSIGN_TYPE_FILTER_API:
      if (since(v, 8))
        v.pointer(s.u.filterApi, "filterApi");
      else
        v.badTag();
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQAssignStruct& s) {
  s.assignType = 0;
}

template <class V>
void describe(V& v, ZQFieldAssignStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.member(s.assignment, "assignment");
}

template <class V>
void describe(V& v, ZQFieldAssignList& s) {
  list(v, s);
}

}  // namespace zq::model
