#include "calls/checks.h"

#include <cstring>

#include "frame/frame.h"
#include "model/model.h"
#include "text/text.h"
#include "zqapi/zq_free.h"

namespace zq::checks {
namespace {

constexpr uint32_t kFirstInvalidDataType = 44;
constexpr uint32_t kLastKeyword = 46;
constexpr size_t kMaxEntryIdLength = 15;
constexpr size_t kMaxNameLength = 254;
constexpr size_t kMaxAttachNameLength = 255;
constexpr size_t kMaxSeparatorLength = 10;
constexpr uint32_t kMaxLocalVariable = 10;
constexpr int kMaxDepth = 512;  // the text forms' nesting limit

// Length as the server counts it, never less than the bytes themselves
// (without a current context the server's count is unknown).
size_t serverLength(const char* text) {
  const size_t bytes = strlen(text);
  const size_t counted = zq::serverTextLength(text);
  return counted > bytes ? counted : bytes;
}

int fail(ZQStatusList* status, int32_t number, const char* appended = nullptr) {
  return addError(status, number, appended);
}

// Data types a value can have on the wire; the others (15 to 29, the
// field-only types 33 to 39) would only fail later, in the encoder.
bool travels(uint32_t type) {
  return type <= ZQ_DATA_TYPE_TIME_OF_DAY ||
         (type >= ZQ_DATA_TYPE_JOIN && type <= ZQ_DATA_TYPE_CONTROL) || type >= ZQ_DATA_TYPE_ULONG;
}

// Values that carry their payload through a pointer.
bool pointerPayloadMissing(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return v.u.charValue == nullptr;
    case ZQ_DATA_TYPE_BYTES:
      return v.u.byteListValue == nullptr;
    case ZQ_DATA_TYPE_ATTACH:
      return v.u.attachmentValue == nullptr;
    case ZQ_DATA_TYPE_COORDS:
      return v.u.coordListValue == nullptr;
    case ZQ_DATA_TYPE_CURRENCY:
      return v.u.currencyValue == nullptr || v.u.currencyValue->value == nullptr;
    default:
      return false;
  }
}

int checkQualifierAt(ZQQualifierStruct* q, bool top, bool noConditionAllowed, int depth,
                     ZQStatusList* status);
int checkOperandAt(ZQFieldValueOrArithStruct* o, int depth, ZQStatusList* status);

// The embedded query's own qualification, checked by the same rules.
int nestedQualifier(const ZQQualifierStruct* q, ZQStatusList* status) {
  return checkQualifierAt(const_cast<ZQQualifierStruct*>(q), true, true, 0, status);
}

int checkArithmetic(ZQArithOpStruct* a, int depth, ZQStatusList* status) {
  if (!a) return fail(status, 145);
  if (a->operation >= ZQ_ARITH_OP_ADD && a->operation <= ZQ_ARITH_OP_MODULO) {
    int rc = checkOperandAt(&a->left, depth + 1, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    return checkOperandAt(&a->right, depth + 1, status);
  }
  if (a->operation == ZQ_ARITH_OP_NEGATE) {
    // Negation has no left operand; the wire still carries one.
    a->left.tag = ZQ_FIELD;
    return checkOperandAt(&a->right, depth + 1, status);
  }
  return fail(status, 146);
}

int checkOperandAt(ZQFieldValueOrArithStruct* o, int depth, ZQStatusList* status) {
  if (!o) return fail(status, 147);
  if (depth > kMaxDepth) return fail(status, 403);
  switch (o->tag) {
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      return ZQ_RETURN_OK;
    case ZQ_VALUE:
      return checkValue(&o->u.value, status);
    case ZQ_ARITHMETIC:
      return checkArithmetic(o->u.arithOp, depth, status);
    case ZQ_STAT_HISTORY:
      if (o->u.statHistory.userOrTime != ZQ_STAT_HISTORY_USER &&
          o->u.statHistory.userOrTime != ZQ_STAT_HISTORY_TIME)
        return fail(status, 170);
      return ZQ_RETURN_OK;
    case ZQ_VALUE_SET: {
      ZQValueList& set = o->u.valueSet;
      if (set.count == 0) return fail(status, 203);
      if (!set.items) return fail(status, 165);
      for (uint32_t i = 0; i < set.count; ++i) {
        int rc = checkValue(&set.items[i], status);
        if (rc >= ZQ_RETURN_ERROR) return rc;
      }
      return ZQ_RETURN_OK;
    }
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT: {
      const ZQCurrencyPartStruct* part = o->u.currencyField;
      if (!part) return fail(status, 147);
      if (part->partTag <= 3) return ZQ_RETURN_OK;
      if (part->partTag == 4)
        return strnlen(part->currencyCode, sizeof part->currencyCode) == 3 ? ZQ_RETURN_OK
                                                                           : fail(status, 8734);
      return fail(status, 8733);
    }
    case ZQ_LOCAL_VARIABLE:
      return o->u.variable <= kMaxLocalVariable ? ZQ_RETURN_OK : fail(status, 220);
    case ZQ_QUERY:
      return text::checkEmbeddedQuery(o->u.query, status, &nestedQualifier);
    default:
      if (o->tag >= 13 && o->tag <= 26) return ZQ_RETURN_OK;  // keyword-like field forms
      return fail(status, 148);
  }
}

int checkQualifierAt(ZQQualifierStruct* q, bool top, bool noConditionAllowed, int depth,
                     ZQStatusList* status) {
  if (depth > kMaxDepth) return fail(status, 403);
  if (!q) return top && noConditionAllowed ? ZQ_RETURN_OK : fail(status, 141);
  switch (q->operation) {
    case ZQ_COND_OP_NONE:
      return top && noConditionAllowed ? ZQ_RETURN_OK : fail(status, 141);
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR: {
      if (!q->u.andOr.left || !q->u.andOr.right) return fail(status, 141);
      int rc = checkQualifierAt(q->u.andOr.left, false, false, depth + 1, status);
      if (rc >= ZQ_RETURN_ERROR) return rc;
      return checkQualifierAt(q->u.andOr.right, false, false, depth + 1, status);
    }
    case ZQ_COND_OP_NOT:
      if (!q->u.operand) return fail(status, 141);
      return checkQualifierAt(q->u.operand, false, false, depth + 1, status);
    case ZQ_COND_OP_REL_OP: {
      ZQRelOpStruct* r = q->u.relation;
      if (!r) return fail(status, 143);
      if (r->operation < ZQ_REL_OP_EQUAL || r->operation > ZQ_REL_OP_IN) return fail(status, 144);
      int rc = checkOperandAt(&r->left, depth + 1, status);
      if (rc >= ZQ_RETURN_ERROR) return rc;
      return checkOperandAt(&r->right, depth + 1, status);
    }
    case ZQ_COND_OP_FROM_FIELD:
      return ZQ_RETURN_OK;
    default:
      return fail(status, 142);
  }
}

}  // namespace

int checkNameList(const ZQNameList* names, bool emptyAllowed, ZQStatusList* status) {
  if (!names || names->count == 0) return emptyAllowed ? ZQ_RETURN_OK : fail(status, 113);
  if (!names->items) return fail(status, 165);
  for (uint32_t i = 0; i < names->count; ++i) {
    const char* name = names->items[i];
    const size_t bytes = strnlen(name, sizeof(ZQNameType));
    int32_t number = 0;
    if (bytes == 0)
      number = 102;
    else if (bytes == sizeof(ZQNameType) || serverLength(name) > kMaxNameLength)
      number = 103;
    if (number) {
      fail(status, number);
      return fail(status, 114);
    }
  }
  return ZQ_RETURN_OK;
}

int checkEntryIds(const ZQEntryIdList* ids, ZQStatusList* status) {
  if (!ids || ids->count == 0) return fail(status, 106);
  if (!ids->items) return fail(status, 165);
  bool allEmpty = true;
  for (uint32_t i = 0; i < ids->count; ++i) {
    const size_t length = strnlen(ids->items[i], sizeof(ZQEntryIdType));
    if (length > kMaxEntryIdLength) return fail(status, 121);
    if (length) allEmpty = false;
  }
  return allEmpty ? fail(status, 100) : ZQ_RETURN_OK;
}

int checkEntryIdLists(const ZQEntryIdListList* lists, bool emptyAllowed, ZQStatusList* status) {
  if (!lists || lists->count == 0) return emptyAllowed ? ZQ_RETURN_OK : fail(status, 106);
  if (!lists->items) return fail(status, 165);
  for (uint32_t i = 0; i < lists->count; ++i) {
    int rc = checkEntryIds(&lists->items[i], status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

int checkValue(ZQValueStruct* value, ZQStatusList* status) {
  if (!value) return ZQ_RETURN_OK;
  if (value->dataType >= kFirstInvalidDataType || !travels(value->dataType))
    return fail(status, 110);
  if (value->dataType == ZQ_DATA_TYPE_KEYWORD && value->u.keywordNumber > kLastKeyword)
    return fail(status, 197);
  if (pointerPayloadMissing(*value)) {
    // A currency without amount still owns its structure: release it rather
    // than lose it when the value becomes null.
    if (value->dataType == ZQ_DATA_TYPE_CURRENCY && value->u.currencyValue)
      zq::model::release(*value);
    *value = ZQValueStruct{};
    return ZQ_RETURN_OK;
  }
  if (value->dataType == ZQ_DATA_TYPE_ATTACH && value->u.attachmentValue->name) {
    const char* name = value->u.attachmentValue->name;
    if (!*name) return fail(status, 102);
    if (serverLength(name) > kMaxAttachNameLength) return fail(status, 109);
  }
  return ZQ_RETURN_OK;
}

int checkFieldValues(ZQFieldValueList* values, bool emptyAllowed, ZQStatusList* status) {
  if (!values || values->count == 0) return emptyAllowed ? ZQ_RETURN_OK : fail(status, 104);
  if (!values->items) return fail(status, 165);
  for (uint32_t i = 0; i < values->count; ++i) {
    if (checkValue(&values->items[i].value, status) >= ZQ_RETURN_ERROR) return fail(status, 124);
  }
  return ZQ_RETURN_OK;
}

int checkEntryListFields(const ZQEntryListFieldList* fields, ZQStatusList* status) {
  if (!fields || fields->count == 0) return ZQ_RETURN_OK;
  if (!fields->items) return fail(status, 165);
  for (uint32_t i = 0; i < fields->count; ++i) {
    const ZQEntryListFieldStruct& f = fields->items[i];
    if (f.fieldId == 99) continue;
    if (f.fieldId == 0 || f.columnWidth == 0 ||
        strnlen(f.separator, sizeof f.separator) > kMaxSeparatorLength)
      return fail(status, 214);
  }
  return ZQ_RETURN_OK;
}

int checkSortList(const ZQSortList* sort, ZQStatusList* status) {
  if (!sort || sort->count == 0) return ZQ_RETURN_OK;
  if (!sort->items) return fail(status, 165);
  for (uint32_t i = 0; i < sort->count; ++i) {
    if (sort->items[i].sortOrder != 1 && sort->items[i].sortOrder != 2) {
      fail(status, 153);
      return fail(status, 152);
    }
  }
  return ZQ_RETURN_OK;
}

int checkQualifier(ZQQualifierStruct* qualifier, bool noConditionAllowed, ZQStatusList* status) {
  return checkQualifierAt(qualifier, true, noConditionAllowed, 0, status);
}

int checkOperand(ZQFieldValueOrArithStruct* operand, ZQStatusList* status) {
  return checkOperandAt(operand, 0, status);
}

}  // namespace zq::checks
