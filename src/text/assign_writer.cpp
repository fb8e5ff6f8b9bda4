// Encoding of assignments into the text form: the type plus 100, then the
// element it selects.
#include <cstdio>
#include <cstring>

#include "text/qual_writer.h"

namespace zq::text {
namespace {

void writeAssign(TextWriter& w, const ZQAssignStruct& a);

void writeField(TextWriter& w, const ZQAssignFieldStruct& f) {
  w.counted(f.server, strnlen(f.server, ZQ_MAX_SERVER_SIZE));
  w.counted(f.schema, strnlen(f.schema, ZQ_MAX_NAME_SIZE));
  w.number(f.tag);
  switch (f.tag) {
    case ZQ_STAT_HISTORY: {
      // The one place of the form where two numbers share a field.
      char pair[32];
      int n = snprintf(pair, sizeof pair, "%u %u", f.u.statHistory.enumeratedValueIndex,
                       f.u.statHistory.userOrTime);
      w.bytes(pair, static_cast<size_t>(n));
      w.separator();
      break;
    }
    case ZQ_CURRENCY_FLD:
      writeCurrencyPart(w, *f.u.currencyField);
      break;
    default:
      w.number(f.u.fieldId);
      break;
  }
  writeQualifier(w, &f.qualifier);
  w.number(f.noMatchOption);
  w.number(f.multiMatchOption);
}

void writeAssign(TextWriter& w, const ZQAssignStruct& a) {
  w.number(a.assignType + kAssignCodeBase);
  switch (a.assignType) {
    case ZQ_ASSIGN_TYPE_VALUE:
      writeValue(w, a.u.value);
      break;
    case ZQ_ASSIGN_TYPE_FIELD:
      writeField(w, *a.u.field);
      break;
    case ZQ_ASSIGN_TYPE_PROCESS:
      w.counted(a.u.process);
      break;
    case ZQ_ASSIGN_TYPE_ARITH: {
      const ZQArithOpAssignStruct& op = *a.u.arithOp;
      w.number(op.operation);
      if (op.operation != ZQ_ARITH_OP_NEGATE) writeAssign(w, op.left);
      writeAssign(w, op.right);
      break;
    }
    case ZQ_ASSIGN_TYPE_FUNCTION: {
      const ZQFunctionAssignStruct& f = *a.u.function;
      w.number(f.functionCode);
      w.number(f.count);
      for (uint32_t i = 0; i < f.count; ++i) writeAssign(w, f.items[i]);
      break;
    }
    case ZQ_ASSIGN_TYPE_DDE: {
      const ZQDDEStruct& d = *a.u.dde;
      w.counted(d.serviceName);
      w.counted(d.topic);
      w.number(d.action);
      w.counted(d.pathToProgram);
      w.counted(d.command);
      w.counted(d.item);
      break;
    }
    case ZQ_ASSIGN_TYPE_SQL: {
      const ZQAssignSQLStruct& s = *a.u.sql;
      w.counted(s.server, strnlen(s.server, ZQ_MAX_SERVER_SIZE));
      w.counted(s.sqlCommand);
      w.number(s.valueIndex);
      w.number(s.noMatchOption);
      w.number(s.multiMatchOption);
      break;
    }
    case ZQ_ASSIGN_TYPE_FILTER_API: {
      const ZQAssignFilterApiStruct& f = *a.u.filterApi;
      w.counted(f.serviceName, strnlen(f.serviceName, ZQ_MAX_NAME_SIZE));
      w.number(f.count);
      for (uint32_t i = 0; i < f.count; ++i) writeAssign(w, f.items[i]);
      w.number(f.valueIndex);
      break;
    }
    default:
      break;
  }
}

}  // namespace

EncodeResult encodeAssignText(const ZQAssignStruct* assign, const LengthCounter& counter) {
  EncodeResult result;
  if (!assign || assign->assignType == ZQ_ASSIGN_TYPE_NONE) return result;
  TextWriter w(counter);
  writeAssign(w, *assign);
  result.text = w.release();
  if (!result.text) result.error = kMsgCopyNoMemory;
  return result;
}

}  // namespace zq::text
