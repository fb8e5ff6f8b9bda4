#include "security/base64.h"

#include <cstring>

#include "security/errors.h"
#include "security/protection.h"

namespace zq::security::base64 {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of each byte in the alphabet, or -1.
struct Reverse {
  int8_t value[256];
  constexpr Reverse() : value() {
    for (int i = 0; i < 256; ++i) value[i] = -1;
    for (int i = 0; i < 64; ++i) value[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
  }
};
constexpr Reverse kReverse;

}  // namespace

bool encode(const uint8_t* data, size_t n, size_t lineLength, Buffer& text) {
  size_t chars = (n / 3 + (n % 3 ? 1 : 0)) * 4;
  size_t breaks = 0;
  if (lineLength && chars) breaks = chars / lineLength + (chars % lineLength ? 1 : 0);
  if (!text.allocate(chars + breaks)) return false;
  uint8_t* out = text.data();
  size_t onLine = 0;
  auto put = [&](char c) {
    *out++ = static_cast<uint8_t>(c);
    if (lineLength && ++onLine == lineLength) {
      *out++ = '\n';
      onLine = 0;
    }
  };
  size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 63]);
    put(kAlphabet[(v >> 6) & 63]);
    put(kAlphabet[v & 63]);
  }
  if (n - i == 1) {
    uint32_t v = uint32_t{data[i]} << 16;
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 63]);
    put('=');
    put('=');
  } else if (n - i == 2) {
    uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8);
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 63]);
    put(kAlphabet[(v >> 6) & 63]);
    put('=');
  }
  if (lineLength && onLine) *out++ = '\n';
  *out = 0;
  return true;
}

bool decode(const char* text, size_t length, Buffer& data) {
  if (!data.allocate(length / 4 * 3 + 3)) return false;
  uint8_t* out = data.data();
  uint32_t bits = 0;
  int count = 0;
  for (size_t i = 0; i < length; ++i) {
    int v = kReverse.value[static_cast<uint8_t>(text[i])];
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<uint32_t>(v);
    if (++count == 4) {
      *out++ = static_cast<uint8_t>(bits >> 16);
      *out++ = static_cast<uint8_t>(bits >> 8);
      *out++ = static_cast<uint8_t>(bits);
      bits = 0;
      count = 0;
    }
  }
  if (count == 2) {
    *out++ = static_cast<uint8_t>(bits >> 4);
  } else if (count == 3) {
    *out++ = static_cast<uint8_t>(bits >> 10);
    *out++ = static_cast<uint8_t>(bits >> 2);
  }
  data.shrink(static_cast<size_t>(out - data.data()));
  return true;
}

int encodeText(const unsigned char* data, size_t length, char** text) {
  if (!text) return kMsgProtectArgumentMissing;
  *text = nullptr;
  if (!data && length) return kMsgProtectArgumentMissing;
  Buffer out;
  if (!encode(data, length, kLineLength, out)) return kMsgCopyNoMemory;
  *text = reinterpret_cast<char*>(out.release());
  return 0;
}

int decodeText(const char* text, unsigned char** data, size_t* length) {
  if (!data || !length) return kMsgProtectArgumentMissing;
  *data = nullptr;
  *length = 0;
  if (!text) return kMsgProtectArgumentMissing;
  Buffer out;
  if (!decode(text, strlen(text), out)) return kMsgCopyNoMemory;
  *length = out.size();
  *data = out.release();
  return 0;
}

}  // namespace zq::security::base64
