// Encoding of qualifications, operands and values into the text form.
#include "text/qual_writer.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/frame.h"
#include "platform/platform.h"

namespace zq::text {

bool LengthCounter::convertedLength(const char* text, size_t len, size_t& out) const {
  out = len;
  if (!convert_ || len == 0) return true;
  std::string converted;
  if (platform::convert(from_, to_, text, len, converted) != platform::ConvertResult::ok)
    return false;
  out = converted.size();
  return true;
}

size_t LengthCounter::count(const char* text, size_t len) const {
  size_t n;
  return convertedLength(text, len, n) ? n : len;
}

// ---- TextWriter -------------------------------------------------------------

namespace {
constexpr size_t kStep = 1024;  // first buffer and least growth
}

TextWriter::~TextWriter() {
  zq::freeBlock(buffer_);
}

bool TextWriter::reserve(size_t more) {
  if (failed_) return false;
  if (size_ + more + 1 <= capacity_) return true;
  // Grow geometrically so that long texts are written in one pass.
  size_t capacity = capacity_ ? capacity_ : kStep + 1;
  while (capacity < size_ + more + 1) capacity += capacity / 2 + kStep;
  auto* grown = static_cast<char*>(zq::reallocate(buffer_, capacity));
  if (!grown) {
    failed_ = true;
    return false;
  }
  buffer_ = grown;
  capacity_ = capacity;
  return true;
}

void TextWriter::bytes(const char* data, size_t len) {
  if (!reserve(len)) return;
  if (len) memcpy(buffer_ + size_, data, len);
  size_ += len;
}

void TextWriter::number(uint32_t value) {
  char digits[16];
  auto r = std::to_chars(digits, digits + sizeof digits, value);
  *r.ptr++ = kSep;
  bytes(digits, static_cast<size_t>(r.ptr - digits));
}

void TextWriter::signedNumber(int32_t value) {
  char digits[16];
  auto r = std::to_chars(digits, digits + sizeof digits, value);
  *r.ptr++ = kSep;
  bytes(digits, static_cast<size_t>(r.ptr - digits));
}

void TextWriter::real(double value) {
  // Ten significant digits is the form's own precision; a value it would
  // change is written with enough digits to read back exactly. The C locale
  // form is used whatever the process locale.
  char digits[40];
  auto r = std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::general, 10);
  double back = 0;
  auto parsed = std::from_chars(digits, r.ptr, back);
  if (parsed.ec != std::errc() || back != value)
    r = std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::general, 17);
  *r.ptr++ = kSep;
  bytes(digits, static_cast<size_t>(r.ptr - digits));
}

void TextWriter::counted(const char* text) {
  counted(text, text ? strlen(text) : 0);
}

void TextWriter::counted(const char* text, size_t len) {
  size_t n = counter_.count(text, len);
  number(static_cast<uint32_t>(n));
  bytes(text, len);
  separator();
}

void TextWriter::hex(const unsigned char* data, size_t len) {
  static const char kDigits[] = "0123456789abcdef";
  if (!reserve(2 * len + 1)) return;
  char* p = buffer_ + size_;
  for (size_t i = 0; i < len; ++i) {
    *p++ = kDigits[data[i] >> 4];
    *p++ = kDigits[data[i] & 0xf];
  }
  *p = kSep;
  size_ += 2 * len + 1;
}

char* TextWriter::release() {
  if (failed_ || !reserve(0)) return nullptr;
  buffer_[size_] = '\0';
  char* text = buffer_;
  buffer_ = nullptr;
  size_ = capacity_ = 0;
  return text;
}

// ---- values -------------------------------------------------------------------

namespace {

// Payloads reached through a pointer that is null are written as NULL.
uint32_t effectiveType(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return v.u.charValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_DIARY:
      return v.u.diaryValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_DECIMAL:
      return v.u.decimalValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_BYTES:
      return v.u.byteListValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_ATTACH:
      return v.u.attachmentValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_CURRENCY:
      return v.u.currencyValue && v.u.currencyValue->value ? v.dataType : ZQ_DATA_TYPE_NULL;
    case ZQ_DATA_TYPE_COORDS:
      return v.u.coordListValue ? v.dataType : ZQ_DATA_TYPE_NULL;
    default:
      return v.dataType;
  }
}

void writeCurrencyContent(TextWriter& w, const ZQCurrencyStruct& c) {
  w.counted(c.value);
  w.counted(c.currencyCode, strnlen(c.currencyCode, ZQ_MAX_CURRENCY_CODE_SIZE));
  w.number(static_cast<uint32_t>(c.conversionDate));
  const ZQFunctionalCurrencyList& f = c.functionalCurrencies;
  uint32_t n = f.items ? f.count : 0;
  w.number(n);
  for (uint32_t i = 0; i < n; ++i) {
    w.counted(f.items[i].value);
    w.counted(f.items[i].currencyCode, strnlen(f.items[i].currencyCode, ZQ_MAX_CURRENCY_CODE_SIZE));
  }
}

void writeCurrencyText(TextWriter& w, const ZQCurrencyStruct& c) {
  // The currency is one counted text whose content is itself in the text
  // form; its length counts the inner text as converted.
  TextWriter inner(w.counter());
  writeCurrencyContent(inner, c);
  if (inner.failed()) {
    w.fail();
    return;
  }
  w.counted(inner.data(), inner.size());
}

}  // namespace

void writeValue(TextWriter& w, const ZQValueStruct& v) {
  uint32_t type = effectiveType(v);
  w.number(type);
  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
      w.number(v.u.keywordNumber);
      break;
    case ZQ_DATA_TYPE_INTEGER:
      w.signedNumber(v.u.integerValue);
      break;
    case ZQ_DATA_TYPE_REAL:
      w.real(v.u.realValue);
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      w.counted(v.u.charValue);
      break;
    case ZQ_DATA_TYPE_DIARY:
      w.counted(v.u.diaryValue);
      break;
    case ZQ_DATA_TYPE_DECIMAL:
      w.counted(v.u.decimalValue);
      break;
    case ZQ_DATA_TYPE_ENUM:
      w.number(v.u.enumValue);
      break;
    case ZQ_DATA_TYPE_TIME:
      w.number(static_cast<uint32_t>(v.u.timestampValue));
      break;
    case ZQ_DATA_TYPE_BITMASK:
      w.number(v.u.bitmaskValue);
      break;
    case ZQ_DATA_TYPE_BYTES: {
      const ZQByteList& b = *v.u.byteListValue;
      uint32_t n = b.bytes ? b.count : 0;
      w.number(b.type);
      w.number(n);
      w.hex(b.bytes, n);
      break;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      // Sizes, name, then the kind of location; a buffer's content travels
      // as hex, a file name does not travel at all.
      const ZQAttachStruct& a = *v.u.attachmentValue;
      w.signedNumber(a.originalSize);
      w.signedNumber(a.compressedSize);
      if (a.name) w.bytes(a.name, strlen(a.name));
      w.separator();
      uint32_t loc = a.location.locationType <= ZQ_LOC_BUFFER ? a.location.locationType : 0;
      w.number(loc);
      if (loc == ZQ_LOC_BUFFER) {
        const ZQBufStruct& buf = a.location.u.buffer;
        w.hex(buf.bytes, buf.bytes ? buf.size : 0);
      }
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY:
      writeCurrencyText(w, *v.u.currencyValue);
      break;
    case ZQ_DATA_TYPE_DATE:
      w.number(static_cast<uint32_t>(v.u.dateValue));
      break;
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      w.number(static_cast<uint32_t>(v.u.timeOfDayValue));
      break;
    case ZQ_DATA_TYPE_ULONG:
      w.number(v.u.ulongValue);
      break;
    case ZQ_DATA_TYPE_COORDS: {
      const ZQCoordList& c = *v.u.coordListValue;
      uint32_t n = c.items ? c.count : 0;
      w.number(n);
      for (uint32_t i = 0; i < n; ++i) {
        w.signedNumber(c.items[i].x);
        w.signedNumber(c.items[i].y);
      }
      break;
    }
    default:  // NULL and the field-only types carry nothing
      break;
  }
}

// ---- qualifications -------------------------------------------------------------

namespace {

void writeOperand(TextWriter& w, const ZQFieldValueOrArithStruct& o);

void writeQuery(TextWriter& w, const ZQQueryStruct& q) {
  w.counted(q.schema, strnlen(q.schema, ZQ_MAX_NAME_SIZE));
  w.counted(q.server, strnlen(q.server, ZQ_MAX_SERVER_SIZE));
  w.number(q.valueFieldId);
  w.number(q.multiValueCode);
  writeQualifier(w, q.qualifier);
}

void writeOperand(TextWriter& w, const ZQFieldValueOrArithStruct& o) {
  w.number(o.tag);
  switch (o.tag) {
    case ZQ_VALUE:
      writeValue(w, o.u.value);
      break;
    case ZQ_ARITHMETIC: {
      const ZQArithOpStruct& a = *o.u.arithOp;
      w.number(a.operation);
      if (a.operation != ZQ_ARITH_OP_NEGATE) writeOperand(w, a.left);
      writeOperand(w, a.right);
      break;
    }
    case ZQ_STAT_HISTORY:
      w.number(o.u.statHistory.enumeratedValueIndex);
      w.number(o.u.statHistory.userOrTime);
      break;
    case ZQ_VALUE_SET:
      w.number(o.u.valueSet.count);
      for (uint32_t i = 0; i < o.u.valueSet.count; ++i) writeValue(w, o.u.valueSet.items[i]);
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT:
      writeCurrencyPart(w, *o.u.currencyField);
      break;
    case ZQ_LOCAL_VARIABLE:
      w.number(o.u.variable);
      break;
    case ZQ_QUERY:
      writeQuery(w, *o.u.query);
      break;
    default:  // field ids: 1, 13 to 26, 50, 51, 99
      w.number(o.u.fieldId);
      break;
  }
}

}  // namespace

void writeCurrencyPart(TextWriter& w, const ZQCurrencyPartStruct& part) {
  w.number(part.fieldId);
  w.number(part.partTag);
  if (part.partTag == 4) {
    w.bytes(part.currencyCode, strnlen(part.currencyCode, ZQ_MAX_CURRENCY_CODE_SIZE));
    w.separator();
  }
}

void writeQualifier(TextWriter& w, const ZQQualifierStruct* q) {
  if (!q) {
    w.number(ZQ_COND_OP_NONE);
    return;
  }
  w.number(q->operation);
  switch (q->operation) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      writeQualifier(w, q->u.andOr.left);
      writeQualifier(w, q->u.andOr.right);
      break;
    case ZQ_COND_OP_NOT:
      writeQualifier(w, q->u.operand);
      break;
    case ZQ_COND_OP_REL_OP:
      w.number(q->u.relation->operation);
      writeOperand(w, q->u.relation->left);
      writeOperand(w, q->u.relation->right);
      break;
    case ZQ_COND_OP_FROM_FIELD:
      w.number(q->u.fieldId);
      break;
    default:
      break;
  }
}

EncodeResult encodeQualifierText(const ZQQualifierStruct* qual, const LengthCounter& counter) {
  EncodeResult result;
  if (!qual || qual->operation == ZQ_COND_OP_NONE) return result;
  TextWriter w(counter);
  writeQualifier(w, qual);
  result.text = w.release();
  if (!result.text) result.error = kMsgCopyNoMemory;
  return result;
}

EncodeResult encodeCurrencyText(const ZQCurrencyStruct& currency, const LengthCounter& counter) {
  EncodeResult result;
  if (!currency.value) return result;
  TextWriter w(counter);
  writeCurrencyContent(w, currency);
  result.text = w.release();
  if (!result.text) result.error = kMsgCopyNoMemory;
  return result;
}

int encodeValueInto(const ZQValueStruct* value, uint32_t* position, uint32_t limit, char* buffer) {
  LengthCounter plain;
  TextWriter w(plain);
  writeValue(w, *value);
  if (w.failed()) return kMsgCopyNoMemory;
  // The text and its terminator must fit below the limit.
  if (*position > limit || w.size() + 1 > limit - *position) return -3;
  memcpy(buffer + *position, w.data(), w.size());
  *position += static_cast<uint32_t>(w.size());
  buffer[*position] = '\0';
  return 0;
}

}  // namespace zq::text
