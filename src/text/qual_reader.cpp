// Decoding of qualifications, operands and values from the text form.
#include "text/qual_reader.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "frame/frame.h"
#include "model/model.h"
#include "zqapi/zq_free.h"

namespace zq::text {

// ---- TextReader ----------------------------------------------------------------

namespace {
constexpr size_t kQuoteMax = 225;  // bytes of input quoted in a detail

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

void TextReader::skipBlanks() {
  while (cur_ < end_ && (*cur_ == ' ' || *cur_ == '\t')) ++cur_;
}

const char* TextReader::takeRest() {
  const char* rest = cur_;
  cur_ = end_;
  return rest;
}

bool TextReader::numberField(int64_t& value, bool allowMinus, int64_t min, int64_t max) {
  const char* p = cur_;
  bool negative = false;
  if (allowMinus && p < end_ && *p == '-') {
    negative = true;
    ++p;
  }
  const char* digits = p;
  int64_t acc = 0;
  for (; p < end_ && *p >= '0' && *p <= '9'; ++p) {
    acc = acc * 10 + (*p - '0');
    if (acc > (int64_t{1} << 33)) return false;  // far beyond any 32-bit field
  }
  if (p == digits || p >= end_ || *p != kSep) return false;
  if (negative) acc = -acc;
  if (acc < min || acc > max) return false;
  value = acc;
  cur_ = p + 1;
  return true;
}

bool TextReader::unsignedField(uint32_t& value) {
  int64_t v;
  if (!numberField(v, false, 0, UINT32_MAX)) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

bool TextReader::signedField(int32_t& value) {
  int64_t v;
  if (!numberField(v, true, INT32_MIN, INT32_MAX)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool TextReader::anyField(uint32_t& value) {
  int64_t v;
  if (!numberField(v, true, INT32_MIN, UINT32_MAX)) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

bool TextReader::rawField(const char*& text, size_t& len) {
  const void* sep = memchr(cur_, kSep, remaining());
  if (!sep) return false;
  text = cur_;
  len = static_cast<size_t>(static_cast<const char*>(sep) - cur_);
  cur_ += len + 1;
  return true;
}

bool TextReader::counted(const char*& text, size_t& len) {
  const char* start = cur_;
  uint32_t stated;
  if (!unsignedField(stated)) return false;
  if (!counter_.converting()) {
    if (remaining() < size_t{stated} + 1 || cur_[stated] != kSep) {
      cur_ = start;
      return false;
    }
    text = cur_;
    len = stated;
    cur_ += size_t{stated} + 1;
    return true;
  }
  // The stated length counts converted bytes: find the separator after
  // which the converted text has exactly that length. Segments between
  // separators are converted once each; a segment that ends inside a
  // character joins the next one.
  size_t converted = 0;  // length of the text up to segment
  const char* segment = cur_;
  for (const char* p = cur_; p < end_; ++p) {
    p = static_cast<const char*>(memchr(p, kSep, static_cast<size_t>(end_ - p)));
    if (!p) break;
    size_t n;
    bool clean = counter_.convertedLength(segment, static_cast<size_t>(p - segment), n);
    if (clean) {
      converted += n;
      segment = p;
    }
    size_t raw = static_cast<size_t>(p - cur_);
    // Text that cannot be converted was counted in raw bytes by the writer.
    bool match =
        clean ? converted == stated : raw == stated && !counter_.convertedLength(cur_, raw, n);
    if (match) {
      text = cur_;
      len = raw;
      cur_ = p + 1;
      return true;
    }
    if (clean && converted > stated && raw > stated) break;
  }
  cur_ = start;
  return false;
}

bool TextReader::hexBytes(size_t count, unsigned char* out) {
  if (remaining() == 0 || count > (remaining() - 1) / 2) return false;
  if (cur_[2 * count] != kSep) return false;
  for (size_t i = 0; i < count; ++i) {
    int hi = hexDigit(cur_[2 * i]), lo = hexDigit(cur_[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<unsigned char>(hi << 4 | lo);
  }
  cur_ += 2 * count + 1;
  return true;
}

bool TextReader::fail(int32_t number) {
  if (!error_) error_ = number;
  return false;
}

bool TextReader::failPlain(int32_t number, const char* detail) {
  if (!error_) {
    error_ = number;
    if (detail_) snprintf(detail_, 256, "%s", detail);
  }
  return false;
}

bool TextReader::failQuoted(int32_t number, const char* what, const char* quoteFrom) {
  if (!error_) {
    error_ = number;
    if (quoteFrom < begin_ || quoteFrom > end_) quoteFrom = cur_;
    size_t n = static_cast<size_t>(end_ - quoteFrom);
    if (n > kQuoteMax) n = kQuoteMax;
    if (detail_) snprintf(detail_, 256, "(%s -- %.*s)", what, static_cast<int>(n), quoteFrom);
  }
  return false;
}

char* dupBytes(const char* text, size_t len) {
  auto* copy = static_cast<char*>(zq::alloc(len + 1));
  if (!copy) return nullptr;
  if (len) memcpy(copy, text, len);
  copy[len] = '\0';
  return copy;
}

// ---- values ----------------------------------------------------------------------

namespace {

struct DepthGuard {
  TextReader& r;
  bool ok;
  explicit DepthGuard(TextReader& reader) : r(reader), ok(++r.depth <= kMaxNesting) {}
  ~DepthGuard() { --r.depth; }
};

bool tooDeep(TextReader& r) {
  return r.failQuoted(kMsgTooDeep, "nesting too deep", r.pos());
}

// A malformed value: the qualification form quotes the text, the assignment
// form names the kind of value.
bool badValue(TextReader& r, ValueFlavour flavour, uint32_t type, const char* quoteFrom) {
  if (flavour == ValueFlavour::qualifier)
    return r.failQuoted(kMsgTextMalformed, "value format", quoteFrom);
  switch (type) {
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return r.failPlain(kMsgTextMalformed, "(bad assign value -- char/diary)");
    case ZQ_DATA_TYPE_CURRENCY:
      return r.failPlain(kMsgTextMalformed, "(bad assign value -- currency)");
    default:
      return r.failPlain(kMsgTextMalformed, "(bad assign value -- value)");
  }
}

bool copyCode(const char* text, size_t len, size_t minLen, ZQCurrencyCodeType code) {
  if (len < minLen || len > ZQ_MAX_CURRENCY_CODE_SIZE) return false;
  memcpy(code, text, len);
  code[len] = '\0';
  return true;
}

// The content of a currency's counted text. Returns 0, 300 or 402.
int32_t readCurrencyContent(const char* text, size_t len, const LengthCounter& counter,
                            ZQCurrencyStruct& c) {
  TextReader in(text, len, counter, nullptr);
  const char* s;
  size_t n;
  if (!in.counted(s, n)) return kMsgTextMalformed;
  if (!(c.value = dupBytes(s, n))) return kMsgCopyNoMemory;
  if (!in.counted(s, n) || !copyCode(s, n, 0, c.currencyCode)) return kMsgTextMalformed;
  uint32_t date, count;
  if (!in.anyField(date) || !in.unsignedField(count)) return kMsgTextMalformed;
  c.conversionDate = static_cast<ZQTimestamp>(date);
  // Each functional currency takes at least "0\\1\X\" (7 bytes).
  if (count > in.remaining() / 7) return kMsgTextMalformed;
  if (count) {
    auto* items = static_cast<ZQFunctionalCurrencyStruct*>(
        zq::allocZeroed(count, sizeof(ZQFunctionalCurrencyStruct)));
    if (!items) return kMsgCopyNoMemory;
    c.functionalCurrencies.items = items;
    c.functionalCurrencies.count = count;
    for (uint32_t i = 0; i < count; ++i) {
      if (!in.counted(s, n)) return kMsgTextMalformed;
      if (!(items[i].value = dupBytes(s, n))) return kMsgCopyNoMemory;
      if (!in.counted(s, n) || !copyCode(s, n, 1, items[i].currencyCode)) return kMsgTextMalformed;
    }
  }
  return in.atEnd() ? 0 : kMsgTextMalformed;
}

bool readString(TextReader& r, ZQValueStruct& out, uint32_t type, char*& slot, ValueFlavour flavour,
                const char* content) {
  const char* s;
  size_t n;
  if (!r.counted(s, n)) return badValue(r, flavour, type, content);
  char* copy = dupBytes(s, n);
  if (!copy) return r.fail(kMsgCopyNoMemory);
  out.dataType = type;
  slot = copy;
  return true;
}

}  // namespace

bool readValue(TextReader& r, ZQValueStruct& out, ValueFlavour flavour) {
  out.dataType = ZQ_DATA_TYPE_NULL;
  r.skipBlanks();
  const char* start = r.pos();
  uint32_t type;
  if (!r.unsignedField(type)) {
    if (flavour == ValueFlavour::assignment)
      return r.failQuoted(kMsgTextMalformed, "bad assign value", start);
    return r.failQuoted(kMsgTextMalformed, "value format", start);
  }
  if (type > ZQ_DATA_TYPE_DISPLAY) return r.fail(kMsgBadDataType);
  r.skipBlanks();
  const char* content = r.pos();

  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY: {
      // Written unsigned; signed members take the same 32 bits back.
      uint32_t v;
      if (!r.anyField(v)) return badValue(r, flavour, type, content);
      switch (type) {
        case ZQ_DATA_TYPE_KEYWORD:
          out.u.keywordNumber = v;
          break;
        case ZQ_DATA_TYPE_ENUM:
          out.u.enumValue = v;
          break;
        case ZQ_DATA_TYPE_BITMASK:
          out.u.bitmaskValue = v;
          break;
        case ZQ_DATA_TYPE_ULONG:
          out.u.ulongValue = v;
          break;
        case ZQ_DATA_TYPE_TIME:
          out.u.timestampValue = static_cast<ZQTimestamp>(v);
          break;
        case ZQ_DATA_TYPE_DATE:
          out.u.dateValue = static_cast<int32_t>(v);
          break;
        default:
          out.u.timeOfDayValue = static_cast<int32_t>(v);
          break;
      }
      break;
    }
    case ZQ_DATA_TYPE_INTEGER:
      if (!r.signedField(out.u.integerValue)) return badValue(r, flavour, type, content);
      break;
    case ZQ_DATA_TYPE_REAL: {
      const char* s;
      size_t n;
      if (!r.rawField(s, n)) return badValue(r, flavour, type, content);
      if (n && *s == '+') ++s, --n;
      double v = 0;
      auto parsed = std::from_chars(s, s + n, v);
      if (n == 0 || parsed.ec != std::errc() || parsed.ptr != s + n)
        return badValue(r, flavour, type, content);
      out.u.realValue = v;
      break;
    }
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return readString(r, out, type, out.u.charValue, flavour, content);
    case ZQ_DATA_TYPE_DIARY:
      return readString(r, out, type, out.u.diaryValue, flavour, content);
    case ZQ_DATA_TYPE_DECIMAL:
      return readString(r, out, type, out.u.decimalValue, flavour, content);
    case ZQ_DATA_TYPE_BYTES: {
      uint32_t kind, count;
      if (!r.anyField(kind) || !r.unsignedField(count) || count > r.remaining() / 2)
        return badValue(r, flavour, type, content);
      auto* list = static_cast<ZQByteList*>(zq::allocZeroed(1, sizeof(ZQByteList)));
      if (!list) return r.fail(kMsgCopyNoMemory);
      out.dataType = type;
      out.u.byteListValue = list;
      list->type = kind;
      if (count) {
        if (!(list->bytes = static_cast<unsigned char*>(zq::alloc(count))))
          return r.fail(kMsgCopyNoMemory);
        list->count = count;
      }
      if (!r.hexBytes(count, list->bytes)) return badValue(r, flavour, type, content);
      return true;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      int32_t original, compressed;
      uint32_t location;
      const char *name, *hex = nullptr;
      size_t nameLen, hexLen = 0;
      if (!r.signedField(original) || !r.signedField(compressed) || !r.rawField(name, nameLen) ||
          !r.unsignedField(location) || location > ZQ_LOC_BUFFER ||
          (location == ZQ_LOC_BUFFER && (!r.rawField(hex, hexLen) || hexLen % 2)))
        return badValue(r, flavour, type, content);
      auto* a = static_cast<ZQAttachStruct*>(zq::allocZeroed(1, sizeof(ZQAttachStruct)));
      if (!a) return r.fail(kMsgCopyNoMemory);
      out.dataType = type;
      out.u.attachmentValue = a;
      a->originalSize = original;
      a->compressedSize = compressed;
      if (!(a->name = dupBytes(name, nameLen))) return r.fail(kMsgCopyNoMemory);
      a->location.locationType = location;
      if (location == ZQ_LOC_BUFFER && hexLen) {
        auto* bytes = static_cast<unsigned char*>(zq::alloc(hexLen / 2));
        if (!bytes) return r.fail(kMsgCopyNoMemory);
        a->location.u.buffer.bytes = bytes;
        a->location.u.buffer.size = static_cast<uint32_t>(hexLen / 2);
        TextReader digits(hex, hexLen + 1, r.counter(), nullptr);  // the separator follows
        if (!digits.hexBytes(hexLen / 2, bytes)) return badValue(r, flavour, type, content);
      }
      return true;
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const char* s;
      size_t n;
      if (!r.counted(s, n)) return badValue(r, flavour, type, content);
      auto* c = static_cast<ZQCurrencyStruct*>(zq::allocZeroed(1, sizeof(ZQCurrencyStruct)));
      if (!c) return r.fail(kMsgCopyNoMemory);
      out.dataType = type;
      out.u.currencyValue = c;
      int32_t rc = readCurrencyContent(s, n, r.counter(), *c);
      if (rc == kMsgCopyNoMemory) return r.fail(rc);
      if (rc) return badValue(r, flavour, type, content);
      return true;
    }
    case ZQ_DATA_TYPE_COORDS: {
      uint32_t count;
      // Each point takes at least "0\0\".
      if (!r.unsignedField(count) || count > r.remaining() / 4)
        return badValue(r, flavour, type, content);
      auto* list = static_cast<ZQCoordList*>(zq::allocZeroed(1, sizeof(ZQCoordList)));
      if (!list) return r.fail(kMsgCopyNoMemory);
      out.dataType = type;
      out.u.coordListValue = list;
      if (count) {
        auto* items = static_cast<ZQCoordStruct*>(zq::allocZeroed(count, sizeof(ZQCoordStruct)));
        if (!items) return r.fail(kMsgCopyNoMemory);
        list->items = items;
        list->count = count;
        for (uint32_t i = 0; i < count; ++i)
          if (!r.signedField(items[i].x) || !r.signedField(items[i].y))
            return badValue(r, flavour, type, content);
      }
      return true;
    }
    default:  // NULL and the field-only types carry nothing
      break;
  }
  out.dataType = type;
  return true;
}

// ---- qualifications ------------------------------------------------------------------

namespace {

bool readOperand(TextReader& r, ZQFieldValueOrArithStruct& o);

template <class T>
T* newNode(TextReader& r) {
  auto* node = static_cast<T*>(zq::allocZeroed(1, sizeof(T)));
  if (!node) r.fail(kMsgCopyNoMemory);
  return node;
}

bool readQuery(TextReader& r, ZQFieldValueOrArithStruct& o) {
  const char* start = r.pos();
  auto* q = newNode<ZQQueryStruct>(r);
  if (!q) return false;
  o.tag = ZQ_QUERY;
  o.u.query = q;
  const char *form, *server;
  size_t formLen, serverLen;
  if (!r.counted(form, formLen) || formLen == 0 || formLen > ZQ_MAX_NAME_SIZE ||
      !r.counted(server, serverLen) || serverLen == 0 || serverLen > ZQ_MAX_SERVER_SIZE ||
      !r.unsignedField(q->valueFieldId) || !r.unsignedField(q->multiValueCode))
    return r.failQuoted(kMsgTextMalformed, "bad embedded query", start);
  memcpy(q->schema, form, formLen);
  memcpy(q->server, server, serverLen);
  auto* nested = newNode<ZQQualifierStruct>(r);
  if (!nested) return false;
  q->qualifier = nested;
  if (!readQualifier(r, *nested)) return false;
  if (nested->operation == ZQ_COND_OP_NONE) {
    // No condition: the query holds no qualification node.
    zq::freeBlock(nested);
    q->qualifier = nullptr;
  }
  return true;
}

bool readOperand(TextReader& r, ZQFieldValueOrArithStruct& o) {
  DepthGuard guard(r);
  if (!guard.ok) return tooDeep(r);
  o.tag = 0;
  const char* start = r.pos();
  uint32_t tag;
  if (!r.unsignedField(tag))
    return r.failQuoted(kMsgTextMalformed, "field/value/arith format", start);
  const char* fields = r.pos();

  if (isFieldLikeTag(tag)) {
    if (!r.unsignedField(o.u.fieldId))
      return r.failQuoted(kMsgTextMalformed, "missing fva field id", fields);
    o.tag = tag;
    return true;
  }
  if (isCurrencyTag(tag)) {
    auto* part = newNode<ZQCurrencyPartStruct>(r);
    if (!part) return false;
    o.tag = tag;
    o.u.currencyField = part;
    return readCurrencyPart(r, *part, fields);
  }
  switch (tag) {
    case ZQ_VALUE:
      o.tag = tag;
      memset(&o.u.value, 0, sizeof o.u.value);
      return readValue(r, o.u.value, ValueFlavour::qualifier);
    case ZQ_ARITHMETIC: {
      auto* a = newNode<ZQArithOpStruct>(r);
      if (!a) return false;
      o.tag = tag;
      o.u.arithOp = a;
      uint32_t op;
      if (!r.unsignedField(op)) return r.failQuoted(kMsgTextMalformed, "missing arith op", fields);
      if (op == 0 || op > ZQ_ARITH_OP_NEGATE) return r.fail(kMsgBadArithOp);
      a->operation = op;
      if (op != ZQ_ARITH_OP_NEGATE && !readOperand(r, a->left)) return false;
      return readOperand(r, a->right);
    }
    case ZQ_STAT_HISTORY: {
      ZQStatusHistoryOperand sh;
      if (!r.unsignedField(sh.enumeratedValueIndex) || !r.unsignedField(sh.userOrTime))
        return r.failQuoted(kMsgTextMalformed, "missing fva stat hist", fields);
      if (sh.userOrTime != ZQ_STAT_HISTORY_USER && sh.userOrTime != ZQ_STAT_HISTORY_TIME)
        return r.fail(kMsgBadStatHistory);
      o.tag = tag;
      o.u.statHistory = sh;
      return true;
    }
    case ZQ_VALUE_SET: {
      uint32_t count;
      if (!r.unsignedField(count))
        return r.failQuoted(kMsgTextMalformed, "missing value set", fields);
      // Every value takes at least "0\".
      if (count == 0 || count > r.remaining() / 2)
        return r.failQuoted(kMsgTextMalformed, "bad value set", fields);
      auto* items = static_cast<ZQValueStruct*>(zq::allocZeroed(count, sizeof(ZQValueStruct)));
      if (!items) return r.fail(kMsgCopyNoMemory);
      o.tag = tag;
      o.u.valueSet.items = items;
      o.u.valueSet.count = count;
      for (uint32_t i = 0; i < count; ++i)
        if (!readValue(r, items[i], ValueFlavour::qualifier)) return false;
      return true;
    }
    case ZQ_LOCAL_VARIABLE:
      if (!r.unsignedField(o.u.variable))
        return r.failQuoted(kMsgTextMalformed, "missing local id", fields);
      o.tag = tag;
      return true;
    case ZQ_QUERY:
      return readQuery(r, o);
    default:
      return r.fail(kMsgBadOperandTag);
  }
}

}  // namespace

bool readCurrencyPart(TextReader& r, ZQCurrencyPartStruct& part, const char* quoteFrom) {
  if (!r.unsignedField(part.fieldId))
    return r.failQuoted(kMsgTextMalformed, "missing fva field id", quoteFrom);
  const char* tagAt = r.pos();
  if (!r.unsignedField(part.partTag))
    return r.failQuoted(kMsgTextMalformed, "missing fva currency part tag", tagAt);
  if (part.partTag == 4) {
    const char* codeAt = r.pos();
    const char* code;
    size_t len;
    if (!r.rawField(code, len) || !copyCode(code, len, 0, part.currencyCode))
      return r.failQuoted(kMsgTextMalformed, "missing fva currency code", codeAt);
  }
  return true;
}

bool readQualifier(TextReader& r, ZQQualifierStruct& q) {
  q.operation = ZQ_COND_OP_NONE;
  r.skipBlanks();
  if (r.atEnd()) return r.failPlain(kMsgNullArgument, "(missing cond op)");
  DepthGuard guard(r);
  if (!guard.ok) return tooDeep(r);
  const char* start = r.pos();
  uint32_t op;
  if (!r.atDigit() || !r.unsignedField(op))
    return r.failQuoted(kMsgTextMalformed, "missing cond op", start);
  if (op > ZQ_COND_OP_FROM_FIELD) return r.fail(kMsgBadQualOp);

  switch (op) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR: {
      q.operation = op;
      q.u.andOr.left = q.u.andOr.right = nullptr;
      if (!(q.u.andOr.left = newNode<ZQQualifierStruct>(r))) return false;
      if (!readQualifier(r, *q.u.andOr.left)) return false;
      if (!(q.u.andOr.right = newNode<ZQQualifierStruct>(r))) return false;
      return readQualifier(r, *q.u.andOr.right);
    }
    case ZQ_COND_OP_NOT:
      q.operation = op;
      if (!(q.u.operand = newNode<ZQQualifierStruct>(r))) return false;
      return readQualifier(r, *q.u.operand);
    case ZQ_COND_OP_REL_OP: {
      q.operation = op;
      if (!(q.u.relation = newNode<ZQRelOpStruct>(r))) return false;
      ZQRelOpStruct& rel = *q.u.relation;
      const char* relAt = r.pos();
      if (!r.unsignedField(rel.operation))
        return r.failQuoted(kMsgTextMalformed, "missing rel op", relAt);
      if (rel.operation == 0 || rel.operation > ZQ_REL_OP_IN) return r.fail(kMsgBadRelOp);
      return readOperand(r, rel.left) && readOperand(r, rel.right);
    }
    case ZQ_COND_OP_FROM_FIELD: {
      ZQInternalId id;
      if (!r.unsignedField(id)) return r.failQuoted(kMsgTextMalformed, "missing cond op", start);
      q.operation = op;
      q.u.fieldId = id;
      return true;
    }
    default:
      return true;
  }
}

int32_t decodeQualifierText(const char* text, size_t len, const LengthCounter& counter,
                            ZQQualifierStruct* out, size_t* consumed, char* detail) {
  TextReader r(text, len, counter, detail);
  if (!readQualifier(r, *out)) {
    zq::model::release(*out);
    out->operation = ZQ_COND_OP_NONE;
    return r.error();
  }
  *consumed = static_cast<size_t>(r.pos() - text);
  return 0;
}

int32_t decodeValueText(const char* text, size_t len, const LengthCounter& counter,
                        ZQValueStruct* out, size_t* consumed, char* detail) {
  TextReader r(text, len, counter, detail);
  memset(out, 0, sizeof *out);
  if (!readValue(r, *out, ValueFlavour::qualifier)) {
    zq::model::release(*out);
    memset(out, 0, sizeof *out);
    return r.error();
  }
  *consumed = static_cast<size_t>(r.pos() - text);
  return 0;
}

int32_t decodeCurrencyText(const char* text, size_t len, const LengthCounter& counter,
                           ZQValueStruct* out) {
  memset(out, 0, sizeof *out);
  auto* c = static_cast<ZQCurrencyStruct*>(zq::allocZeroed(1, sizeof(ZQCurrencyStruct)));
  if (!c) return kMsgCopyNoMemory;
  out->dataType = ZQ_DATA_TYPE_CURRENCY;
  out->u.currencyValue = c;
  const int32_t rc = readCurrencyContent(text, len, counter, *c);
  if (rc) {
    zq::model::release(*out);
    memset(out, 0, sizeof *out);
  }
  return rc;
}

}  // namespace zq::text
