// Decoding of assignments from the text form, including the older form in
// which a value type below 100 is followed by the raw value.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "frame/frame.h"
#include "model/model.h"
#include "text/qual_reader.h"
#include "zqapi/zq_free.h"

namespace zq::text {
namespace {

struct DepthGuard {
  TextReader& r;
  bool ok;
  explicit DepthGuard(TextReader& reader) : r(reader), ok(++r.depth <= kMaxNesting) {}
  ~DepthGuard() { --r.depth; }
};

template <class T>
T* newNode(TextReader& r) {
  auto* node = static_cast<T*>(zq::allocZeroed(1, sizeof(T)));
  if (!node) r.fail(kMsgCopyNoMemory);
  return node;
}

bool bad(TextReader& r, const char* what) {
  char detail[96];
  snprintf(detail, sizeof detail, "(bad assign value -- %s)", what);
  return r.failPlain(kMsgTextMalformed, detail);
}

// Leading integer of [s, e), read like atol: blanks, a sign, digits; the
// result wraps to 32 bits like the casts of the C library calls.
uint32_t leadingInteger(const char* s, const char* e) {
  while (s < e && (*s == ' ' || (*s >= '\t' && *s <= '\r'))) ++s;
  bool negative = false;
  if (s < e && (*s == '-' || *s == '+')) negative = *s++ == '-';
  uint64_t v = 0;
  for (; s < e && *s >= '0' && *s <= '9'; ++s) v = v * 10 + static_cast<uint64_t>(*s - '0');
  return static_cast<uint32_t>(negative ? 0 - v : v);
}

double leadingReal(const char* s, const char* e) {
  while (s < e && (*s == ' ' || (*s >= '\t' && *s <= '\r'))) ++s;
  if (s < e && *s == '+') ++s;
  double v = 0;
  std::from_chars(s, e, v);
  return v;
}

bool readAssign(TextReader& r, ZQAssignStruct& a);

// The older form: the code is a value type and the rest of the text, to its
// end, is the value.
bool readOldForm(TextReader& r, ZQAssignStruct& a, uint32_t type, const char* start) {
  if (type > ZQ_DATA_TYPE_DISPLAY || type == ZQ_DATA_TYPE_BYTES || type == ZQ_DATA_TYPE_ATTACH ||
      (type >= 15 && type <= ZQ_DATA_TYPE_COORDS))
    return r.failQuoted(kMsgTextMalformed, "bad assign value", start);
  const char* rest = r.takeRest();
  const char* end = r.end();
  size_t len = static_cast<size_t>(end - rest);
  ZQValueStruct& v = a.u.value;
  memset(&v, 0, sizeof v);
  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
      v.u.keywordNumber = leadingInteger(rest, end);
      break;
    case ZQ_DATA_TYPE_INTEGER:
      v.u.integerValue = static_cast<int32_t>(leadingInteger(rest, end));
      break;
    case ZQ_DATA_TYPE_REAL:
      v.u.realValue = leadingReal(rest, end);
      break;
    case ZQ_DATA_TYPE_ENUM:
      v.u.enumValue = leadingInteger(rest, end);
      break;
    case ZQ_DATA_TYPE_TIME:
      v.u.timestampValue = static_cast<ZQTimestamp>(leadingInteger(rest, end));
      break;
    case ZQ_DATA_TYPE_BITMASK:
      v.u.bitmaskValue = leadingInteger(rest, end);
      break;
    case ZQ_DATA_TYPE_DATE:
      v.u.dateValue = static_cast<int32_t>(leadingInteger(rest, end));
      break;
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      v.u.timeOfDayValue = static_cast<int32_t>(leadingInteger(rest, end));
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY: {
      // charValue, diaryValue and decimalValue share the slot of a pointer.
      char* copy = dupBytes(rest, len);
      if (!copy) return r.fail(kMsgCopyNoMemory);
      if (type == ZQ_DATA_TYPE_DIARY)
        v.u.diaryValue = copy;
      else if (type == ZQ_DATA_TYPE_DECIMAL)
        v.u.decimalValue = copy;
      else
        v.u.charValue = copy;
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      auto* c = static_cast<ZQCurrencyStruct*>(zq::allocZeroed(1, sizeof(ZQCurrencyStruct)));
      if (!c) return r.fail(kMsgCopyNoMemory);
      if (!(c->value = dupBytes(rest, len))) {
        zq::freeBlock(c);
        return r.fail(kMsgCopyNoMemory);
      }
      v.u.currencyValue = c;
      break;
    }
    default:  // NULL
      break;
  }
  v.dataType = type;
  a.assignType = ZQ_ASSIGN_TYPE_VALUE;
  return true;
}

// "index selector\": the one field of the form holding two numbers.
bool readStatHistoryPair(TextReader& r, ZQStatusHistoryOperand& sh) {
  const char* s;
  size_t n;
  if (!r.rawField(s, n)) return false;
  const char* e = s + n;
  const char* blank = static_cast<const char*>(memchr(s, ' ', n));
  auto digitsOnly = [](const char* b, const char* f) {
    if (b == f || f - b > 10) return false;
    for (; b < f; ++b)
      if (*b < '0' || *b > '9') return false;
    return true;
  };
  if (!blank || !digitsOnly(s, blank) || !digitsOnly(blank + 1, e)) return false;
  uint64_t index = leadingInteger(s, blank), selector = leadingInteger(blank + 1, e);
  sh.enumeratedValueIndex = static_cast<uint32_t>(index);
  sh.userOrTime = static_cast<uint32_t>(selector);
  return true;
}

bool readField(TextReader& r, ZQAssignStruct& a) {
  auto* f = newNode<ZQAssignFieldStruct>(r);
  if (!f) return false;
  a.assignType = ZQ_ASSIGN_TYPE_FIELD;
  a.u.field = f;
  const char *server, *form;
  size_t serverLen, formLen;
  uint32_t tag;
  if (!r.counted(server, serverLen) || serverLen > ZQ_MAX_SERVER_SIZE ||
      !r.counted(form, formLen) || formLen > ZQ_MAX_NAME_SIZE || !r.unsignedField(tag))
    return bad(r, "field");
  memcpy(f->server, server, serverLen);
  memcpy(f->schema, form, formLen);
  switch (tag) {
    case ZQ_FIELD:
      if (!r.unsignedField(f->u.fieldId)) return bad(r, "field");
      f->tag = tag;
      break;
    case ZQ_STAT_HISTORY: {
      ZQStatusHistoryOperand sh;
      if (!readStatHistoryPair(r, sh)) return bad(r, "field");
      if (sh.userOrTime != ZQ_STAT_HISTORY_USER && sh.userOrTime != ZQ_STAT_HISTORY_TIME)
        return r.fail(kMsgBadStatHistory);
      f->tag = tag;
      f->u.statHistory = sh;
      break;
    }
    case ZQ_CURRENCY_FLD: {
      auto* part = newNode<ZQCurrencyPartStruct>(r);
      if (!part) return false;
      f->tag = tag;
      f->u.currencyField = part;
      if (!readCurrencyPart(r, *part, r.pos())) return false;
      break;
    }
    default:
      return r.fail(kMsgBadFieldSourceTag);
  }
  if (!readQualifier(r, f->qualifier)) return false;
  if (!r.unsignedField(f->noMatchOption)) return bad(r, "missing no match -- field");
  if (f->noMatchOption < 1 || f->noMatchOption > 4) return r.fail(kMsgBadNoMatch);
  if (!r.unsignedField(f->multiMatchOption)) return bad(r, "missing multi match - field");
  if (f->multiMatchOption < 1 || f->multiMatchOption > 7) return r.fail(kMsgBadMultiMatch);
  return true;
}

bool readDde(TextReader& r, ZQAssignStruct& a) {
  auto* d = newNode<ZQDDEStruct>(r);
  if (!d) return false;
  a.assignType = ZQ_ASSIGN_TYPE_DDE;
  a.u.dde = d;
  auto text = [&](char*& slot) {
    const char* s;
    size_t n;
    if (!r.counted(s, n)) return bad(r, "dde");
    if (!(slot = dupBytes(s, n))) return r.fail(kMsgCopyNoMemory);
    return true;
  };
  if (!text(d->serviceName) || !text(d->topic)) return false;
  if (!r.unsignedField(d->action)) return bad(r, "dde");
  if (d->action == 0 || d->action > 3) return r.fail(kMsgBadDdeAction);
  return text(d->pathToProgram) && text(d->command) && text(d->item);
}

bool readSql(TextReader& r, ZQAssignStruct& a) {
  auto* s = newNode<ZQAssignSQLStruct>(r);
  if (!s) return false;
  a.assignType = ZQ_ASSIGN_TYPE_SQL;
  a.u.sql = s;
  const char *server, *command;
  size_t serverLen, commandLen;
  if (!r.counted(server, serverLen) || serverLen > ZQ_MAX_SERVER_SIZE ||
      !r.counted(command, commandLen))
    return bad(r, "sql");
  memcpy(s->server, server, serverLen);
  if (commandLen == 0) return r.fail(kMsgSqlCommandMissing);
  if (!(s->sqlCommand = dupBytes(command, commandLen))) return r.fail(kMsgCopyNoMemory);
  if (!r.unsignedField(s->valueIndex)) return bad(r, "sql");
  if (!r.unsignedField(s->noMatchOption)) return bad(r, "missing no match - sql");
  if (s->noMatchOption < 1 || s->noMatchOption > 2) return r.fail(kMsgBadNoMatch);
  if (!r.unsignedField(s->multiMatchOption)) return bad(r, "missing multi match - sql");
  // The same range the encoder accepts, so that what decodes re-encodes.
  if (s->multiMatchOption < 1 || s->multiMatchOption > 4) return r.fail(kMsgBadMultiMatch);
  return true;
}

bool readFilterApi(TextReader& r, ZQAssignStruct& a) {
  auto* f = newNode<ZQAssignFilterApiStruct>(r);
  if (!f) return false;
  a.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
  a.u.filterApi = f;
  const char* at = r.pos();
  const char* name;
  size_t nameLen;
  if (!r.counted(name, nameLen) || nameLen == 0 || nameLen > ZQ_MAX_NAME_SIZE) {
    if (r.atEnd()) return r.failPlain(kMsgTextMalformed, "(bad service name -- filter api)");
    return r.failQuoted(kMsgTextMalformed, "bad service name", at);
  }
  memcpy(f->serviceName, name, nameLen);
  at = r.pos();
  uint32_t count;
  // Every input takes at least "101\0\".
  if (!r.unsignedField(count) || count > r.remaining() / 4)
    return r.failQuoted(kMsgTextMalformed, "bad num items", at);
  if (count) {
    auto* items = static_cast<ZQAssignStruct*>(zq::allocZeroed(count, sizeof(ZQAssignStruct)));
    if (!items) return r.fail(kMsgCopyNoMemory);
    f->items = items;
    f->count = count;
    for (uint32_t i = 0; i < count; ++i)
      if (!readAssign(r, items[i])) return false;
  }
  at = r.pos();
  if (!r.unsignedField(f->valueIndex))
    return r.failQuoted(kMsgTextMalformed, "bad value index", at);
  return true;
}

bool readAssign(TextReader& r, ZQAssignStruct& a) {
  a.assignType = ZQ_ASSIGN_TYPE_NONE;
  r.skipBlanks();
  if (r.atEnd()) return r.failPlain(kMsgNullArgument, "(null input buffer)");
  DepthGuard guard(r);
  if (!guard.ok) return r.failQuoted(kMsgTooDeep, "nesting too deep", r.pos());
  const char* start = r.pos();
  uint32_t code;
  if (!r.atDigit() || !r.unsignedField(code))
    return r.failPlain(kMsgTextMalformed, "(missing assign info)");
  if (code < kAssignCodeBase) return readOldForm(r, a, code, start);
  if (code == kAssignCodeBase || code > kAssignCodeBase + ZQ_ASSIGN_TYPE_FILTER_API)
    return r.failQuoted(kMsgTextMalformed, "bad assign value", start);

  switch (code - kAssignCodeBase) {
    case ZQ_ASSIGN_TYPE_VALUE:
      a.assignType = ZQ_ASSIGN_TYPE_VALUE;
      memset(&a.u.value, 0, sizeof a.u.value);
      return readValue(r, a.u.value, ValueFlavour::assignment);
    case ZQ_ASSIGN_TYPE_FIELD:
      return readField(r, a);
    case ZQ_ASSIGN_TYPE_PROCESS: {
      const char* s;
      size_t n;
      if (!r.counted(s, n)) return bad(r, "process");
      if (n == 0 || n > 255) return r.fail(kMsgBadProcess);
      char* copy = dupBytes(s, n);
      if (!copy) return r.fail(kMsgCopyNoMemory);
      a.assignType = ZQ_ASSIGN_TYPE_PROCESS;
      a.u.process = copy;
      return true;
    }
    case ZQ_ASSIGN_TYPE_ARITH: {
      uint32_t op;
      if (!r.unsignedField(op)) return bad(r, "arithmetic");
      if (op == 0 || op > ZQ_ARITH_OP_NEGATE) return r.fail(kMsgBadArithOp);
      auto* node = newNode<ZQArithOpAssignStruct>(r);
      if (!node) return false;
      a.assignType = ZQ_ASSIGN_TYPE_ARITH;
      a.u.arithOp = node;
      node->operation = op;
      if (op != ZQ_ARITH_OP_NEGATE && !readAssign(r, node->left)) return false;
      return readAssign(r, node->right);
    }
    case ZQ_ASSIGN_TYPE_FUNCTION: {
      uint32_t fn, count;
      if (!r.unsignedField(fn) || !r.unsignedField(count)) return bad(r, "function");
      if (fn == 0 || fn > 50) return r.fail(kMsgBadFunctionCode);
      // Every argument takes at least "101\0\".
      if (count > r.remaining() / 4) return bad(r, "function");
      auto* node = newNode<ZQFunctionAssignStruct>(r);
      if (!node) return false;
      a.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
      a.u.function = node;
      node->functionCode = fn;
      if (count) {
        auto* items = static_cast<ZQAssignStruct*>(zq::allocZeroed(count, sizeof(ZQAssignStruct)));
        if (!items) return r.fail(kMsgCopyNoMemory);
        node->items = items;
        node->count = count;
        for (uint32_t i = 0; i < count; ++i)
          if (!readAssign(r, items[i])) return false;
      }
      return true;
    }
    case ZQ_ASSIGN_TYPE_DDE:
      return readDde(r, a);
    case ZQ_ASSIGN_TYPE_SQL:
      return readSql(r, a);
    default:
      return readFilterApi(r, a);
  }
}

}  // namespace

int32_t decodeAssignText(const char* text, size_t len, const LengthCounter& counter,
                         ZQAssignStruct* out, size_t* consumed, char* detail) {
  TextReader r(text, len, counter, detail);
  if (!readAssign(r, *out)) {
    zq::model::release(*out);
    out->assignType = ZQ_ASSIGN_TYPE_NONE;
    return r.error();
  }
  *consumed = static_cast<size_t>(r.pos() - text);
  return 0;
}

}  // namespace zq::text
