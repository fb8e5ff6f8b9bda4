// Cursor over a text in the text form. Every read is bounded by the end of
// the text, whatever its counts say.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/qual_text.h"

namespace zq::text {

class TextReader {
 public:
  TextReader(const char* text, size_t len, const LengthCounter& counter, char* detail)
      : begin_(text), cur_(text), end_(text + len), counter_(counter), detail_(detail) {}

  const char* begin() const { return begin_; }
  const char* pos() const { return cur_; }
  const char* end() const { return end_; }
  size_t remaining() const { return static_cast<size_t>(end_ - cur_); }
  bool atEnd() const { return cur_ >= end_; }
  const LengthCounter& counter() const { return counter_; }
  char* detailBuffer() const { return detail_; }

  // Blanks and tabs, skipped only where the form allows them.
  void skipBlanks();
  bool atDigit() const { return cur_ < end_ && *cur_ >= '0' && *cur_ <= '9'; }
  // Moves to the end of the text (the old assignment form takes it all).
  const char* takeRest();

  // Number fields: digits (a leading minus where allowed) then the separator.
  // A failed read leaves the cursor where it was.
  bool unsignedField(uint32_t& value);
  bool signedField(int32_t& value);
  // A 32-bit quantity written either signed or unsigned; wraps like a cast.
  bool anyField(uint32_t& value);
  // Everything up to the next separator, which is consumed.
  bool rawField(const char*& text, size_t& len);
  // A counted text: length, separator, the bytes, separator.
  bool counted(const char*& text, size_t& len);
  // 2*count hexadecimal digits, then the separator.
  bool hexBytes(size_t count, unsigned char* out);

  // Failures: the first one sticks. The detail, when given, is
  // "(<what> -- <up to 225 bytes of the text from quoteFrom>)".
  bool fail(int32_t number);
  bool failPlain(int32_t number, const char* detail);  // detail as given
  bool failQuoted(int32_t number, const char* what, const char* quoteFrom);
  int32_t error() const { return error_; }

  int depth = 0;

 private:
  bool numberField(int64_t& value, bool allowMinus, int64_t min, int64_t max);

  const char* begin_;
  const char* cur_;
  const char* end_;
  const LengthCounter& counter_;
  char* detail_;
  int32_t error_ = 0;
};

// Readers shared by the qualification and assignment decoders. They return
// false after recording the failure in the reader; what they built so far
// stays in the output, in a state the free functions release.
enum class ValueFlavour { qualifier, assignment };
bool readValue(TextReader& r, ZQValueStruct& out, ValueFlavour flavour);
bool readQualifier(TextReader& r, ZQQualifierStruct& out);
bool readCurrencyPart(TextReader& r, ZQCurrencyPartStruct& part, const char* quoteFrom);

// Duplicates len bytes into a terminated library-heap string.
char* dupBytes(const char* text, size_t len);

}  // namespace zq::text
