// Descriptions of qualifications, arithmetic and assignments (zq_qual.h).
#pragma once

#include "model/describe_core.h"
#include "zqapi/zq_qual.h"

namespace zq::model {

template <class V>
void describe(V& v, ZQQualifierStruct& s);

template <class V>
void describe(V& v, ZQStatusHistoryOperand& s) {
  v.u32(s.enumeratedValueIndex, "Enumerated value index:");
  v.u32(s.userOrTime, "User or Time:");
}

template <class V>
void describe(V& v, ZQCurrencyPartStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.u32(s.partTag, "partTag");
  v.name(s.currencyCode, "currencyCode");
}

template <class V>
void describe(V& v, ZQQueryStruct& s) {
  v.name(s.schema, NameKind::plain, "Query Schema:");
  v.name(s.server, "Query Server:");
  v.pointer(s.qualifier, "qualifier");
  v.u32(s.valueFieldId, "Value Field Id:");
  v.u32(s.multiValueCode, "Multi Value Code:");
}

template <class V>
void describe(V& v, ZQFieldValueOrArithStruct& s) {
  v.u32(s.tag, "   Tag:");
  const bool newer = since(v, 8);  // tags 6, 24 to 26 and 54 to 56 arrived with 8
  const uint32_t tag = s.tag;
  if ((tag >= 12 && tag <= 23) || (tag >= 24 && tag <= 26 && newer)) {
    v.u32(s.u.fieldId, "Field Id:");  // carried like a field
    return;
  }
  switch (tag) {
    case 0:
      break;
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      v.u32(s.u.fieldId, "Field Id:");
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
      v.u32(s.u.variable, "Local Variable number:");
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
  v.u32(s.operation, "   Operation:");
  if (s.operation == ZQ_ARITH_OP_NEGATE)
    v.unowned(s.left, "left");
  else
    v.member(s.left, "left");
  v.member(s.right, "right");
}

template <class V>
void describe(V& v, ZQRelOpStruct& s) {
  v.u32(s.operation, "   Operation:");
  v.member(s.left, "left");
  v.member(s.right, "right");
}

template <class V>
void describe(V& v, ZQQualifierStruct& s) {
  v.u32(s.operation, "   Operation:");
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
  v.name(s.server, "Server:");
  v.name(s.schema, NameKind::plain, "Schema:");
  v.member(s.qualifier, "qualifier");
  v.u32(s.tag, "Tag:");
  switch (s.tag) {
    case ZQ_FIELD:
      v.u32(s.u.fieldId, "Field Id:");
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
  v.u32(s.noMatchOption, "No Match Option:");
  v.u32(s.multiMatchOption, "Multi Match Option:");
}
inline void resetFreed(FreeVisitor&, ZQAssignFieldStruct& s) {
  s.tag = ZQ_FIELD;
}

template <class V>
void describe(V& v, ZQArithOpAssignStruct& s) {
  v.u32(s.operation, "   Operation:");
  if (s.operation == ZQ_ARITH_OP_NEGATE)
    v.unowned(s.left, "Left operand:");
  else
    v.member(s.left, "Left operand:");
  v.member(s.right, "Right operand:");
}

template <class V>
void describe(V& v, ZQFunctionAssignStruct& s) {
  v.u32(s.functionCode, "   Function code:");
  list(v, s, "   Function arguments:");
}

template <class V>
void describe(V& v, ZQDDEStruct& s) {
  v.string(s.serviceName, kUnbounded, "Service name:");
  v.string(s.topic, kUnbounded, "Topic:");
  v.string(s.item, kUnbounded, "Item:");
  v.u32(s.action, "Action:");
  v.string(s.pathToProgram, kUnbounded, "Path to Program:");
  v.string(s.command, kUnbounded, "Command:");
}

template <class V>
void describe(V& v, ZQAssignSQLStruct& s) {
  v.name(s.server, "Server:");
  v.string(s.sqlCommand, kUnbounded, "SQL Command:");
  v.u32(s.valueIndex, "Value Index:");
  v.u32(s.noMatchOption, "No Match Option:");
  v.u32(s.multiMatchOption, "Multi Match Option:");
}
inline void resetFreed(FreeVisitor&, ZQAssignSQLStruct& s) {
  s.server[0] = '\0';
}

template <class V>
void describe(V& v, ZQAssignFilterApiStruct& s) {
  v.name(s.serviceName, NameKind::plain, "   Service Name:");
  list(v, s, "Assign List:");
  v.u32(s.valueIndex, "Value Index:");
}

template <class V>
void describe(V& v, ZQAssignStruct& s) {
  v.u32(s.assignType, "Assign Value:");
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
      v.string(s.u.process, 256, "Process:");
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
  v.u32(s.fieldId, "Field Id:");
  v.member(s.assignment, "assignment");
}

template <class V>
void describe(V& v, ZQFieldAssignList& s) {
  list(v, s);
}

}  // namespace zq::model
