// Growing output buffer of the text form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/qual_text.h"

namespace zq::text {

class TextWriter {
 public:
  explicit TextWriter(const LengthCounter& counter) : counter_(counter) {}
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void number(uint32_t value);           // "%u\"
  void signedNumber(int32_t value);      // "%d\"
  void real(double value);               // shortest of "%.10g" that reads back, then "\"
  void separator() { bytes(&kSep, 1); }  // a lone "\"
  void bytes(const char* data, size_t len);
  void counted(const char* text);  // length, "\", text, "\"; null is empty
  void counted(const char* text, size_t len);
  void hex(const unsigned char* data, size_t len);  // "%02x" per byte, then "\"

  const LengthCounter& counter() const { return counter_; }
  void fail() { failed_ = true; }
  bool failed() const { return failed_; }
  size_t size() const { return size_; }
  const char* data() const { return buffer_; }
  // The NUL-terminated text, now owned by the caller; null when failed.
  char* release();

 private:
  bool reserve(size_t more);

  const LengthCounter& counter_;
  char* buffer_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool failed_ = false;
};

// Writers shared by the qualification and assignment encoders.
void writeValue(TextWriter& w, const ZQValueStruct& value);
void writeQualifier(TextWriter& w, const ZQQualifierStruct* qual);  // null: "0\"
void writeCurrencyPart(TextWriter& w, const ZQCurrencyPartStruct& part);

}  // namespace zq::text
