// The machine text form of qualifications, assignments and single values:
// number fields ended by a backslash, counted texts, no escaping. Internal
// interface of the text subsystem; the exported calls wrap it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_qual.h"

namespace zq::text {

inline constexpr char kSep = '\\';

// Assignment kinds travel as this base plus their type.
inline constexpr uint32_t kAssignCodeBase = 100;

// Operand tags that name a field (plain, transaction, database, current,
// and the status-history range), and those that name a currency field.
inline bool isFieldLikeTag(uint32_t tag) {
  return tag == ZQ_FIELD || (tag >= 13 && tag <= 26) || tag == ZQ_FIELD_TRAN ||
         tag == ZQ_FIELD_DB || tag == ZQ_FIELD_CURRENT;
}
inline bool isCurrencyTag(uint32_t tag) {
  return tag == ZQ_CURRENCY_FLD || (tag >= ZQ_CURRENCY_FLD_TRAN && tag <= ZQ_CURRENCY_FLD_CURRENT);
}

// Deepest nesting of qualifications, operands and assignments accepted in
// either direction; deeper trees fail with kMsgTooDeep instead of running
// the stack dry.
inline constexpr int kMaxNesting = 512;

// Length fields count bytes in the encoding character set. Without
// conversion they are plain byte lengths.
class LengthCounter {
 public:
  LengthCounter() = default;  // no conversion
  LengthCounter(uint32_t from, uint32_t to) : from_(from), to_(to), convert_(from != to) {}

  bool converting() const { return convert_; }
  // Length of text once converted; text that cannot be converted counts its
  // raw bytes (both directions use this same rule, so they agree).
  size_t count(const char* text, size_t len) const;
  // Converted length of text; false when it cannot be converted as it is
  // (for example when it ends inside a character).
  bool convertedLength(const char* text, size_t len, size_t& out) const;

 private:
  uint32_t from_ = 0;
  uint32_t to_ = 0;
  bool convert_ = false;
};

// Character set argument of the ...C calls: -2 the session's client
// character set, other negative values no conversion, else an identifier.
inline constexpr int32_t kCharsetOfSession = -2;

// Result of an encoder: the text (ZQAlloc'd, null when there is nothing to
// encode) or an error number (out of memory 300).
struct EncodeResult {
  char* text = nullptr;
  int32_t error = 0;
};

// Encoders. The tree must have passed validation (qual_checks.h).
EncodeResult encodeQualifierText(const ZQQualifierStruct* qual, const LengthCounter& counter);
EncodeResult encodeAssignText(const ZQAssignStruct* assign, const LengthCounter& counter);

// Appends one value at buffer[*position] without passing limit; returns 0,
// or -3 when it does not fit (position unchanged).
int encodeValueInto(const ZQValueStruct* value, uint32_t* position, uint32_t limit, char* buffer);

// Decoders. On failure they return the error number, leave the output empty
// (operation or type 0) and, for malformed text, explain it in detail (256
// bytes, may be null). On success they return 0 and set *consumed to the
// number of bytes read.
int32_t decodeQualifierText(const char* text, size_t len, const LengthCounter& counter,
                            ZQQualifierStruct* out, size_t* consumed, char* detail);
int32_t decodeAssignText(const char* text, size_t len, const LengthCounter& counter,
                         ZQAssignStruct* out, size_t* consumed, char* detail);
int32_t decodeValueText(const char* text, size_t len, const LengthCounter& counter,
                        ZQValueStruct* out, size_t* consumed, char* detail);

// The currency text alone (what a currency value's counted text holds, and
// what entry lists carry for a currency): counted amount, counted code,
// conversion date, the count of functional currencies and their counted
// value and code. Decoding reads exactly len bytes into a currency value
// (out left empty on failure) and returns 0, 300 or 402. Encoding gives no
// text for a currency without amount, which travels as a NULL value.
int32_t decodeCurrencyText(const char* text, size_t len, const LengthCounter& counter,
                           ZQValueStruct* out);
EncodeResult encodeCurrencyText(const ZQCurrencyStruct& currency, const LengthCounter& counter);

}  // namespace zq::text
