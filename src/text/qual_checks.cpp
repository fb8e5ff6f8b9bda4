#include "text/qual_checks.h"

#include <cstring>
#include <initializer_list>

#include "frame/frame.h"
#include "text/qual_text.h"

namespace zq::text {
namespace {

constexpr uint32_t kMaxKeyword = 46;
constexpr uint32_t kMaxLocalVariable = 10;
constexpr uint32_t kMaxDataType = 43;

// Length of a fixed-width name; a buffer without terminator counts as width.
size_t nameLength(const char* name, size_t width) {
  return strnlen(name, width);
}

// The recursive walkers carry the depth so that a hostile tree fails cleanly.
struct Checker {
  ZQStatusList* status;
  NestedQualifierCheck nestedCheck = nullptr;  // null: this checker's own rules

  int fail(int32_t number) { return addError(status, number); }

  int currencyPart(const ZQCurrencyPartStruct* part) {
    if (!part) return fail(kMsgOperandMissing);
    if (part->partTag > 4) return fail(kMsgBadCurrencyPart);
    if (part->partTag == 4 && nameLength(part->currencyCode, sizeof part->currencyCode) != 3)
      return fail(kMsgBadCurrencyCode);
    return 0;
  }

  int statHistory(const ZQStatusHistoryOperand& sh) {
    if (sh.userOrTime != ZQ_STAT_HISTORY_USER && sh.userOrTime != ZQ_STAT_HISTORY_TIME)
      return fail(kMsgBadStatHistory);
    return 0;
  }

  int value(const ZQValueStruct& v) {
    if (v.dataType > kMaxDataType) return fail(kMsgBadDataType);
    switch (v.dataType) {
      case ZQ_DATA_TYPE_KEYWORD:
        if (v.u.keywordNumber > kMaxKeyword) return fail(kMsgBadKeyword);
        break;
      case ZQ_DATA_TYPE_ATTACH:
        // The name is the one field of the text form that is not counted.
        if (v.u.attachmentValue && v.u.attachmentValue->name &&
            strchr(v.u.attachmentValue->name, kSep))
          return fail(kMsgBadAttachName);
        break;
      case ZQ_DATA_TYPE_CURRENCY: {
        const ZQCurrencyStruct* c = v.u.currencyValue;
        if (!c || !c->value) break;  // encoded as NULL
        const ZQFunctionalCurrencyList& f = c->functionalCurrencies;
        if (f.count && !f.items) return fail(kMsgCountWithoutItems);
        for (uint32_t i = 0; i < f.count; ++i) {
          size_t len = nameLength(f.items[i].currencyCode, sizeof f.items[i].currencyCode);
          if (len == 0 || len > 3) return fail(kMsgBadCurrencyCode);
        }
        break;
      }
      default:
        break;
    }
    return 0;
  }

  int qualifier(const ZQQualifierStruct* q, int depth) {
    if (depth >= kMaxNesting) return fail(kMsgTooDeep);
    switch (q->operation) {
      case ZQ_COND_OP_AND:
      case ZQ_COND_OP_OR:
        if (int rc = subQualifier(q->u.andOr.left, depth)) return rc;
        return subQualifier(q->u.andOr.right, depth);
      case ZQ_COND_OP_NOT:
        return subQualifier(q->u.operand, depth);
      case ZQ_COND_OP_REL_OP: {
        const ZQRelOpStruct* r = q->u.relation;
        if (!r) return fail(kMsgRelOpMissing);
        if (r->operation == 0 || r->operation > ZQ_REL_OP_IN) return fail(kMsgBadRelOp);
        if (int rc = operand(r->left, depth + 1)) return rc;
        return operand(r->right, depth + 1);
      }
      case ZQ_COND_OP_FROM_FIELD:
      case ZQ_COND_OP_NONE:
        return 0;
      default:
        return fail(kMsgBadQualOp);
    }
  }

  int subQualifier(const ZQQualifierStruct* q, int depth) {
    if (!q || q->operation == ZQ_COND_OP_NONE) return fail(kMsgQualIncomplete);
    return qualifier(q, depth + 1);
  }

  int operand(const ZQFieldValueOrArithStruct& o, int depth) {
    if (depth >= kMaxNesting) return fail(kMsgTooDeep);
    if (isFieldLikeTag(o.tag)) return 0;
    if (isCurrencyTag(o.tag)) return currencyPart(o.u.currencyField);
    switch (o.tag) {
      case ZQ_VALUE:
        return value(o.u.value);
      case ZQ_ARITHMETIC: {
        const ZQArithOpStruct* a = o.u.arithOp;
        if (!a) return fail(kMsgArithMissing);
        if (a->operation == 0 || a->operation > ZQ_ARITH_OP_NEGATE) return fail(kMsgBadArithOp);
        if (a->operation != ZQ_ARITH_OP_NEGATE)
          if (int rc = operand(a->left, depth + 1)) return rc;
        return operand(a->right, depth + 1);
      }
      case ZQ_STAT_HISTORY:
        return statHistory(o.u.statHistory);
      case ZQ_VALUE_SET: {
        const ZQValueList& set = o.u.valueSet;
        // The text form cannot carry an empty set: its reader refuses count 0.
        if (set.count == 0) return fail(kMsgEmptyValueSet);
        if (!set.items) return fail(kMsgCountWithoutItems);
        for (uint32_t i = 0; i < set.count; ++i)
          if (int rc = value(set.items[i])) return rc;
        return 0;
      }
      case ZQ_LOCAL_VARIABLE:
        return o.u.variable > kMaxLocalVariable ? fail(kMsgBadLocalVariable) : 0;
      case ZQ_QUERY:
        return query(o.u.query, depth);
      default:
        return fail(kMsgBadOperandTag);
    }
  }

  int query(const ZQQueryStruct* q, int depth) {
    if (!q) return fail(kMsgQueryMissing);
    size_t formLen = nameLength(q->schema, sizeof q->schema);
    if (formLen == 0) return fail(kMsgNameRequired);
    if (formLen > ZQ_MAX_NAME_SIZE) return fail(kMsgTooLong);
    size_t serverLen = nameLength(q->server, sizeof q->server);
    if (serverLen == 0 || serverLen > ZQ_MAX_SERVER_SIZE) return fail(kMsgBadQuery);
    if (q->qualifier && q->qualifier->operation != ZQ_COND_OP_NONE) {
      // The nested fault is reported as a bad query, not by its own number.
      ZQStatusList scratch{0, nullptr};
      int rc = nestedCheck ? nestedCheck(q->qualifier, &scratch)
                           : Checker{&scratch}.qualifier(q->qualifier, depth + 1);
      zq::releaseStatusList(&scratch);
      if (rc >= ZQ_RETURN_ERROR) return fail(kMsgBadQuery);
    }
    if (q->valueFieldId == 0) return fail(kMsgBadQuery);
    if (q->multiValueCode < ZQ_QUERY_VALUE_MULTI_ERROR ||
        q->multiValueCode > ZQ_QUERY_VALUE_MULTI_SET)
      return fail(kMsgBadQueryMultiMatch);
    return 0;
  }

  int assign(const ZQAssignStruct& a, int depth, bool top) {
    if (depth >= kMaxNesting) return fail(kMsgTooDeep);
    switch (a.assignType) {
      case ZQ_ASSIGN_TYPE_NONE:
        return top ? 0 : fail(kMsgAssignMissing);
      case ZQ_ASSIGN_TYPE_VALUE:
        return value(a.u.value);
      case ZQ_ASSIGN_TYPE_FIELD:
        return field(a.u.field, depth);
      case ZQ_ASSIGN_TYPE_PROCESS: {
        size_t len = a.u.process ? strlen(a.u.process) : 0;
        return (len == 0 || len > 255) ? fail(kMsgBadProcess) : 0;
      }
      case ZQ_ASSIGN_TYPE_ARITH: {
        const ZQArithOpAssignStruct* op = a.u.arithOp;
        if (!op) return fail(kMsgArithMissing);
        if (op->operation == 0 || op->operation > ZQ_ARITH_OP_NEGATE) return fail(kMsgBadArithOp);
        if (op->operation != ZQ_ARITH_OP_NEGATE)
          if (int rc = assign(op->left, depth + 1, false)) return rc;
        return assign(op->right, depth + 1, false);
      }
      case ZQ_ASSIGN_TYPE_FUNCTION: {
        const ZQFunctionAssignStruct* f = a.u.function;
        if (!f) return fail(kMsgFunctionMissing);
        if (f->functionCode == 0 || f->functionCode > 50) return fail(kMsgBadFunctionCode);
        if (f->count && !f->items) return fail(kMsgFunctionArgsMissing);
        for (uint32_t i = 0; i < f->count; ++i)
          if (int rc = assign(f->items[i], depth + 1, false)) return rc;
        return 0;
      }
      case ZQ_ASSIGN_TYPE_DDE:
        return dde(a.u.dde);
      case ZQ_ASSIGN_TYPE_SQL: {
        const ZQAssignSQLStruct* s = a.u.sql;
        if (!s) return fail(kMsgAssignMissing);
        if (nameLength(s->server, sizeof s->server) > ZQ_MAX_SERVER_SIZE) return fail(kMsgTooLong);
        if (!s->sqlCommand || !*s->sqlCommand) return fail(kMsgSqlCommandMissing);
        if (s->noMatchOption < 1 || s->noMatchOption > 2) return fail(kMsgBadNoMatch);
        if (s->multiMatchOption < 1 || s->multiMatchOption > 4) return fail(kMsgBadMultiMatch);
        return 0;
      }
      case ZQ_ASSIGN_TYPE_FILTER_API: {
        const ZQAssignFilterApiStruct* f = a.u.filterApi;
        if (!f) return fail(kMsgAssignMissing);
        size_t len = nameLength(f->serviceName, sizeof f->serviceName);
        if (len == 0) return fail(kMsgNameRequired);
        if (len > ZQ_MAX_NAME_SIZE) return fail(kMsgTooLong);
        if (f->count && !f->items) return fail(kMsgBadFilterApiInput);
        for (uint32_t i = 0; i < f->count; ++i) {
          ZQStatusList scratch{0, nullptr};
          int rc = Checker{&scratch}.assign(f->items[i], depth + 1, false);
          zq::releaseStatusList(&scratch);
          if (rc) return fail(kMsgBadFilterApiInput);
        }
        return 0;
      }
      default:
        return fail(kMsgBadAssignType);
    }
  }

  int field(const ZQAssignFieldStruct* f, int depth) {
    if (!f) return fail(kMsgAssignMissing);
    if (nameLength(f->server, sizeof f->server) > ZQ_MAX_SERVER_SIZE ||
        nameLength(f->schema, sizeof f->schema) > ZQ_MAX_NAME_SIZE)
      return fail(kMsgTooLong);
    switch (f->tag) {
      case ZQ_FIELD:
        break;
      case ZQ_STAT_HISTORY:
        if (int rc = statHistory(f->u.statHistory)) return rc;
        break;
      case ZQ_CURRENCY_FLD:
        if (int rc = currencyPart(f->u.currencyField)) return rc;
        break;
      default:
        return fail(kMsgBadFieldSourceTag);
    }
    if (int rc = qualifier(&f->qualifier, depth + 1)) return rc;
    if (f->noMatchOption < 1 || f->noMatchOption > 4) return fail(kMsgBadNoMatch);
    if (f->multiMatchOption < 1 || f->multiMatchOption > 7) return fail(kMsgBadMultiMatch);
    return 0;
  }

  int dde(const ZQDDEStruct* d) {
    if (!d) return fail(kMsgDdeMissing);
    for (const char* name : {d->serviceName, d->topic}) {
      size_t len = name ? strlen(name) : 0;
      if (len == 0 || len > 64) return fail(kMsgBadDdeName);
    }
    if (d->item && strlen(d->item) > 32767) return fail(kMsgBadDdeItem);
    if (d->action < 1 || d->action > 3) return fail(kMsgBadDdeAction);
    if (d->pathToProgram && strlen(d->pathToProgram) >= 256) return fail(kMsgPathTooLong);
    if (d->command && strlen(d->command) >= 256) return fail(kMsgBadProcess);
    return 0;
  }
};

}  // namespace

int checkEmbeddedQuery(const ZQQueryStruct* query, ZQStatusList* status,
                       NestedQualifierCheck nestedCheck) {
  return Checker{status, nestedCheck}.query(query, 0);
}

int checkQualifier(const ZQQualifierStruct* qual, ZQStatusList* status) {
  if (!qual) return 0;
  return Checker{status}.qualifier(qual, 0);
}

int checkOperand(const ZQFieldValueOrArithStruct* operand, ZQStatusList* status) {
  if (!operand) return addError(status, kMsgOperandMissing);
  return Checker{status}.operand(*operand, 0);
}

int checkValue(const ZQValueStruct* value, ZQStatusList* status) {
  if (!value) return 0;
  return Checker{status}.value(*value);
}

int checkAssign(const ZQAssignStruct* assign, ZQStatusList* status) {
  if (!assign) return 0;
  return Checker{status}.assign(*assign, 0, true);
}

}  // namespace zq::text
