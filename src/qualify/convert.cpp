#include "qualify/convert.h"

#include <cstring>

#include "frame/frame.h"
#include "model/model.h"
#include "text/text.h"

namespace zq::qualify {
namespace {

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Digits only, as a field id; false when not or too large.
bool idOf(std::string_view s, ZQInternalId& id) {
  if (!allDigits(s) || s.size() > 10) return false;
  uint64_t v = 0;
  for (char c : s) v = v * 10 + static_cast<uint64_t>(c - '0');
  if (v > UINT32_MAX) return false;
  id = static_cast<ZQInternalId>(v);
  return true;
}

void mark(const Field* f, Marks& marks) {
  if (!f) return;
  if (f->dataType == ZQ_DATA_TYPE_TIME) marks.time = true;
  if (f->dataType == ZQ_DATA_TYPE_DATE) marks.date = true;
  if (f->dataType == ZQ_DATA_TYPE_TIME_OF_DAY) marks.timeOfDay = true;
}

int32_t currencyOperand(ZQInternalId id, uint32_t part, std::string_view code,
                        ZQFieldValueOrArithStruct& out) {
  auto* c = static_cast<ZQCurrencyPartStruct*>(allocZeroed(1, sizeof(ZQCurrencyPartStruct)));
  if (!c) return kMsgNoMemory;
  c->fieldId = id;
  c->partTag = part;
  // An empty view may carry no buffer at all.
  if (!code.empty())
    memcpy(c->currencyCode, code.data(), std::min(code.size(), sizeof c->currencyCode - 1));
  out.tag = ZQ_CURRENCY_FLD;
  out.u.currencyField = c;
  return 0;
}

// A field of the table as an operand, marking the relation by its type.
int32_t fieldOperand(const Field* f, ZQInternalId id, ZQFieldValueOrArithStruct& out,
                     Marks& marks) {
  mark(f, marks);
  if (f && f->dataType == ZQ_DATA_TYPE_CURRENCY) return currencyOperand(id, 0, {}, out);
  out.tag = ZQ_FIELD;
  out.u.fieldId = id;
  return 0;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// prefix.status.USER|TIME after the status-history prefix.
int32_t statusHistory(const FieldTable& table, std::string_view rest,
                      ZQFieldValueOrArithStruct& out, Marks& marks) {
  const Field* status = table.byId(kStatusField);
  if (!status) return kMsgQualNoStatusField;
  rest.remove_prefix(1);  // the period after the prefix
  const size_t dot = rest.rfind('.');
  if (dot == std::string_view::npos) return kMsgQualBadStatusHistory;
  const std::string_view value = rest.substr(0, dot);
  const std::string_view selector = trimBlanks(rest.substr(dot + 1));
  const text::KeywordTables& words = text::keywordTables();
  uint32_t which = 0;
  if (selector == words.user || selector == "1") which = ZQ_STAT_HISTORY_USER;
  if (selector == words.time || selector == "2") which = ZQ_STAT_HISTORY_TIME;
  if (which == 0 || value.empty()) return kMsgQualBadStatusHistory;
  uint32_t index = 0;
  bool found = false;
  for (const EnumName& e : status->values)
    if (e.name == value) {
      index = e.number;
      found = true;
      break;
    }
  if (!found) {
    ZQInternalId n = 0;
    if (!idOf(value, n)) return kMsgQualUnknownValueName;
    index = n;
  }
  out.tag = ZQ_STAT_HISTORY;
  out.u.statHistory.enumeratedValueIndex = index;
  out.u.statHistory.userOrTime = which;
  if (which == ZQ_STAT_HISTORY_TIME) marks.time = true;
  return 0;
}

// field.part for a currency field given by name or id; -1 when the
// reference is not of that form.
int32_t currencyPart(const FieldTable& table, std::string_view ref,
                     ZQFieldValueOrArithStruct& out) {
  const size_t dot = ref.rfind('.');
  if (dot == std::string_view::npos) return -1;
  const std::string_view name = ref.substr(0, dot);
  const std::string_view part = ref.substr(dot + 1);
  const Field* f = table.byName(name);
  ZQInternalId id = 0;
  if (!f && idOf(name, id)) f = table.byId(id);
  if (!f || f->dataType != ZQ_DATA_TYPE_CURRENCY) return -1;
  const text::KeywordTables& words = text::keywordTables();
  for (uint32_t i = 0; i < 3; ++i)
    if (part == words.currencyParts[i]) return currencyOperand(f->id, i + 1, {}, out);
  if (part.size() == 1 && part[0] >= '0' && part[0] <= '3')
    return currencyOperand(f->id, static_cast<uint32_t>(part[0] - '0'), {}, out);
  if (part.size() == 3) return currencyOperand(f->id, 4, part, out);
  return -1;
}

}  // namespace

int32_t resolveField(const FieldTable& table, const std::string& reference,
                     ZQFieldValueOrArithStruct& out, Marks& marks) {
  out = {};
  if (const Field* f = table.byName(reference)) return fieldOperand(f, f->id, out, marks);

  // The status history, by the name of field 15 or by its number. Only a
  // prefix followed by a period counts, so that field ids such as 1500
  // stay field ids.
  const Field* history = table.byId(kStatusHistoryField);
  for (const std::string& prefix : {history ? history->name : std::string(), std::string("15")}) {
    if (prefix.empty() || reference.size() <= prefix.size()) continue;
    if (reference.compare(0, prefix.size(), prefix) == 0 && reference[prefix.size()] == '.')
      return statusHistory(table, std::string_view(reference).substr(prefix.size()), out, marks);
  }

  const int32_t currency = currencyPart(table, reference, out);
  if (currency >= 0) return currency;

  ZQInternalId id = 0;
  if (!idOf(reference, id)) return kMsgQualUnknownField;
  return fieldOperand(table.byId(id), id, out, marks);
}

namespace {

class Converter {
 public:
  explicit Converter(const Marks& marks) : marks_(marks) {}

  int32_t side(ZQFieldValueOrArithStruct& o, const ZQFieldValueOrArithStruct& other) {
    return walk(o, other.tag != ZQ_ARITHMETIC);
  }

 private:
  // Depth is bounded by the parser's limit on the tree.
  int32_t walk(ZQFieldValueOrArithStruct& o, bool timeOnly) {
    if (o.tag == ZQ_ARITHMETIC && o.u.arithOp) {
      ZQArithOpStruct& a = *o.u.arithOp;
      if (a.operation != ZQ_ARITH_OP_NEGATE)
        if (int32_t m = walk(a.left, true)) return m;
      return walk(a.right, true);
    }
    if (o.tag != ZQ_VALUE || o.u.value.dataType != ZQ_DATA_TYPE_CHAR || !o.u.value.u.charValue)
      return 0;
    char* textValue = o.u.value.u.charValue;
    if (marks_.time) {
      ZQTimestamp value = 0;
      ZQBoolean interval = 0;
      if (!text::dates::parseTimestampText(textValue, timeOnly, &value, &interval))
        return kMsgQualBadTime;
      freeBlock(textValue);
      if (interval) {
        o.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
        o.u.value.u.integerValue = value;
      } else {
        o.u.value.dataType = ZQ_DATA_TYPE_TIME;
        o.u.value.u.timestampValue = value;
      }
      return 0;
    }
    if (marks_.date) {
      int32_t day = 0;
      const char* end = nullptr;
      if (text::dates::parseDateText(-1, textValue, &end, &day) == 0 && end &&
          *trimmedEnd(end) == '\0') {
        freeBlock(textValue);
        o.u.value.dataType = ZQ_DATA_TYPE_DATE;
        o.u.value.u.dateValue = day;
        return 0;
      }
    }
    if (marks_.timeOfDay) {
      int32_t seconds = 0;
      if (text::dates::parseTimeOfDayText(textValue, &seconds)) {
        freeBlock(textValue);
        o.u.value.dataType = ZQ_DATA_TYPE_TIME_OF_DAY;
        o.u.value.u.timeOfDayValue = seconds;
      }
    }
    return 0;
  }

  static const char* trimmedEnd(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
  }

  const Marks& marks_;
};

// field = "name" for an enumeration field: the name's number.
int32_t enumeration(const FieldTable& table, const ZQFieldValueOrArithStruct& field,
                    ZQFieldValueOrArithStruct& value) {
  if (field.tag != ZQ_FIELD || value.tag != ZQ_VALUE ||
      value.u.value.dataType != ZQ_DATA_TYPE_CHAR || !value.u.value.u.charValue)
    return 0;
  const Field* f = table.byId(field.u.fieldId);
  if (!f || f->dataType != ZQ_DATA_TYPE_ENUM) return 0;
  for (const EnumName& e : f->values)
    if (e.name == value.u.value.u.charValue) {
      freeBlock(value.u.value.u.charValue);
      value.u.value.dataType = ZQ_DATA_TYPE_ENUM;
      value.u.value.u.enumValue = e.number;
      return 0;
    }
  return kMsgQualUnknownValueName;
}

}  // namespace

int32_t convertRelation(const FieldTable& table, const Marks& marks, ZQRelOpStruct& relation,
                        ZQStatusList*) {
  if (int32_t m = enumeration(table, relation.left, relation.right)) return m;
  if (int32_t m = enumeration(table, relation.right, relation.left)) return m;
  if (!marks.time && !marks.date && !marks.timeOfDay) return 0;
  Converter convert(marks);
  if (int32_t m = convert.side(relation.left, relation.right)) return m;
  return convert.side(relation.right, relation.left);
}

}  // namespace zq::qualify
