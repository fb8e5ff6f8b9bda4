// Test helper for golden vectors: wire bytes written by hand from the XDR
// rules (every unit 4 bytes big-endian; fixed names zero-filled to their
// width, then zero-padded to a multiple of 4; strings and counted texts as
// length, bytes and padding; one 4-byte unit per character of a character
// array), and a fixture that encodes, compares and decodes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/context.h"
#include "model/codec.h"
#include "support/session.h"

namespace zqgolden {

struct Wire {
  std::vector<char> b;

  // One unsigned or signed 32-bit unit (also a byte flag, a tag, a count).
  Wire& w(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  Wire& i(int32_t v) { return w(static_cast<uint32_t>(v)); }
  Wire& zeros(size_t units) {
    b.insert(b.end(), units * 4, '\0');
    return *this;
  }
  // A fixed name: width bytes, then padding to a multiple of 4.
  Wire& name(const std::string& text, size_t width) {
    std::string field = text;
    field.resize(width, '\0');
    field.resize((width + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
  // A string or counted text: length, bytes, padding.
  Wire& str(const std::string& text) {
    w(static_cast<uint32_t>(text.size()));
    std::string field = text;
    field.resize((text.size() + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
  // A character array of n characters: one unit per character.
  Wire& chars(const std::string& text, size_t n) {
    for (size_t k = 0; k < n; ++k) w(k < text.size() ? static_cast<unsigned char>(text[k]) : 0);
    return *this;
  }
  Wire& then(const Wire& more) {
    b.insert(b.end(), more.b.begin(), more.b.end());
    return *this;
  }
};

template <size_t M>
void setName(char (&dst)[M], const std::string& src) {
  memset(dst, 0, M);
  memcpy(dst, src.data(), src.size() < M ? src.size() : M - 1);
}

// A string member of a structure built on the stack (never released).
inline char* text(const char* s) {
  return const_cast<char*>(s);
}

// The request header of versions 12 to 14 with zero words and null texts:
// cache id, operation time, user, password, client information (type and
// count), reserved text, six locale texts, four words, the property count,
// call words A to C, flags, call words D and E, the header byte.
inline Wire emptyHeader() {
  return Wire().zeros(25);
}

class GoldenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }

  // The encoder writes exactly the hand-written bytes.
  template <class T>
  void expectEncodes(const T& value, int version, const Wire& expected) {
    SCOPED_TRACE("version " + std::to_string(version));
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(value, version, wire));
    EXPECT_EQ(wire, expected.b);
  }

  // The hand-written bytes read back; the caller compares member by member
  // and releases the result.
  template <class T>
  T decodes(const Wire& wire, int version) {
    T value{};
    EXPECT_TRUE(zq::model::decodeFromBuffer(wire.b.data(), wire.b.size(), value, version))
        << "version " << version;
    return value;
  }

  template <class T>
  void expectRefused(const T& value, int version) {
    std::vector<char> wire;
    EXPECT_FALSE(zq::model::encodeToBuffer(value, version, wire)) << "version " << version;
  }

  template <class T>
  void expectUnreadable(const Wire& wire, int version) {
    T value{};
    EXPECT_FALSE(zq::model::decodeFromBuffer(wire.b.data(), wire.b.size(), value, version))
        << "version " << version;
    zq::model::release(value);
  }

  zqtest::Session session_;
};

}  // namespace zqgolden
