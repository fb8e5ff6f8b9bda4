// A compact prefix form of a qualification tree, such as
// (AND (= f7 enum1) (> (+ f100 2) 7)), so that tests write the trees they
// expect by hand and compare them in one line.
#pragma once

#include <cstdio>
#include <string>

#include "zqapi/zq_qual.h"

namespace zqtest {

inline std::string show(const ZQFieldValueOrArithStruct& o);

inline std::string show(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_NULL:
      return "null";
    case ZQ_DATA_TYPE_KEYWORD:
      return "kw" + std::to_string(v.u.keywordNumber);
    case ZQ_DATA_TYPE_INTEGER:
      return std::to_string(v.u.integerValue);
    case ZQ_DATA_TYPE_REAL: {
      char b[64];
      snprintf(b, sizeof b, "%gr", v.u.realValue);
      return b;
    }
    case ZQ_DATA_TYPE_CHAR:
      return "\"" + std::string(v.u.charValue) + "\"";
    case ZQ_DATA_TYPE_ENUM:
      return "enum" + std::to_string(v.u.enumValue);
    case ZQ_DATA_TYPE_TIME:
      return "ts" + std::to_string(v.u.timestampValue);
    case ZQ_DATA_TYPE_DATE:
      return "date" + std::to_string(v.u.dateValue);
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      return "tod" + std::to_string(v.u.timeOfDayValue);
    default:
      return "?type" + std::to_string(v.dataType);
  }
}

inline std::string show(const ZQFieldValueOrArithStruct& o) {
  static const char* kArith[] = {"?", "+", "-", "*", "/", "%", "neg"};
  switch (o.tag) {
    case ZQ_FIELD:
      return "f" + std::to_string(o.u.fieldId);
    case ZQ_VALUE:
      return show(o.u.value);
    case ZQ_ARITHMETIC: {
      const ZQArithOpStruct& a = *o.u.arithOp;
      if (a.operation == ZQ_ARITH_OP_NEGATE) return "(neg " + show(a.right) + ")";
      return std::string("(") + kArith[a.operation] + " " + show(a.left) + " " + show(a.right) +
             ")";
    }
    case ZQ_STAT_HISTORY:
      return "sh" + std::to_string(o.u.statHistory.enumeratedValueIndex) +
             (o.u.statHistory.userOrTime == 1 ? ".USER" : ".TIME");
    case ZQ_CURRENCY_FLD: {
      const ZQCurrencyPartStruct& c = *o.u.currencyField;
      std::string s = "cur" + std::to_string(c.fieldId) + "." + std::to_string(c.partTag);
      if (c.partTag == 4) s += c.currencyCode;
      return s;
    }
    default:
      return "?tag" + std::to_string(o.tag);
  }
}

inline std::string show(const ZQQualifierStruct& q) {
  static const char* kRel[] = {"?", "=", ">", ">=", "<", "<=", "!=", "LIKE"};
  switch (q.operation) {
    case ZQ_COND_OP_NONE:
      return "none";
    case ZQ_COND_OP_AND:
      return "(AND " + show(*q.u.andOr.left) + " " + show(*q.u.andOr.right) + ")";
    case ZQ_COND_OP_OR:
      return "(OR " + show(*q.u.andOr.left) + " " + show(*q.u.andOr.right) + ")";
    case ZQ_COND_OP_NOT:
      return "(NOT " + show(*q.u.operand) + ")";
    case ZQ_COND_OP_REL_OP: {
      const ZQRelOpStruct& r = *q.u.relation;
      return std::string("(") + kRel[r.operation] + " " + show(r.left) + " " + show(r.right) + ")";
    }
    default:
      return "?op";
  }
}

}  // namespace zqtest
