// Base64: line breaking of ordinal 828 and the forgiving decoder of 829.
#include <gtest/gtest.h>

#include <string>

#include "helpers.h"
#include "security/errors.h"

using zqtest::Bytes;

namespace {

using EncodeFn = int (*)(const unsigned char*, size_t, char**);
using DecodeFn = int (*)(const char*, unsigned char**, size_t*);

std::string encode(const Bytes& data) {
  char* text = nullptr;
  EXPECT_EQ(ZQBase64Encode(data.data(), data.size(), &text), 0);
  std::string out = text ? text : "<null>";
  ZQFree(text);
  return out;
}

Bytes decode(const std::string& text) {
  unsigned char* data = nullptr;
  size_t length = 0;
  EXPECT_EQ(ZQBase64Decode(text.c_str(), &data, &length), 0);
  EXPECT_EQ(data[length], 0) << "decoded bytes carry a terminator";
  Bytes out(data, data + length);
  ZQFree(data);
  return out;
}

Bytes sequence(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i);
  return b;
}

}  // namespace

TEST(Base64, BreaksLinesAfter76Characters) {
  // openssl base64 -A of bytes 0..99, folded at 76.
  const std::string expected =
      "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4\n"
      "OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJTVFVWV1hZWltcXV5fYGFiYw==\n";
  EXPECT_EQ(encode(sequence(100)), expected);
  EXPECT_EQ(decode(expected), sequence(100));
}

TEST(Base64, LineEndsExactlyAfter57Bytes) {
  std::string text = encode(sequence(57));
  ASSERT_EQ(text.size(), 77u);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\n'), 76u);
  EXPECT_EQ(encode(sequence(58)).size(), 77u + 4 + 1);
}

TEST(Base64, ShortInputsAndPadding) {
  struct Case {
    std::string plain, text;
  } cases[] = {
      {"", ""},
      {"f", "Zg==\n"},
      {"fo", "Zm8=\n"},
      {"foo", "Zm9v\n"},
      {"foob", "Zm9vYg==\n"},
      {"fooba", "Zm9vYmE=\n"},
      {"foobar", "Zm9vYmFy\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(encode(zqtest::bytesOf(c.plain)), c.text) << c.plain;
    EXPECT_EQ(decode(c.text), zqtest::bytesOf(c.plain)) << c.text;
  }
}

TEST(Base64, DecoderSkipsCharactersOutsideTheAlphabet) {
  EXPECT_EQ(decode("Zm9v\r\nYm Fy\t!*"), zqtest::bytesOf("foobar"));
  EXPECT_EQ(decode("Zm9vYmE"), zqtest::bytesOf("fooba"));  // no padding
  EXPECT_EQ(decode("Zm9vY"), zqtest::bytesOf("foo"));      // a lone sixth of a byte
  EXPECT_EQ(decode("+/+/"), (Bytes{0xfb, 0xff, 0xbf}));
  EXPECT_EQ(decode("-_-_"), Bytes{});  // the URL alphabet is not ours
}

TEST(Base64, OrdinalsAndMissingArguments) {
  auto enc = reinterpret_cast<EncodeFn>(ZQGetOrdinal(828));
  auto dec = reinterpret_cast<DecodeFn>(ZQGetOrdinal(829));
  ASSERT_EQ(enc, &ZQBase64Encode);
  ASSERT_EQ(dec, &ZQBase64Decode);
  char* text = reinterpret_cast<char*>(1);
  unsigned char* data = reinterpret_cast<unsigned char*>(1);
  size_t length = 7;
  EXPECT_EQ(enc(nullptr, 3, &text), zq::kMsgProtectArgumentMissing);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(enc(nullptr, 0, nullptr), zq::kMsgProtectArgumentMissing);
  EXPECT_EQ(dec(nullptr, &data, &length), zq::kMsgProtectArgumentMissing);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(length, 0u);
}

TEST(Base64, OutOfMemoryIsReported) {
  Bytes data = sequence(10);
  char* text = nullptr;
  unsigned char* bytes = nullptr;
  size_t length = 0;
  zq::testing::failAllocationsAfter(0);
  EXPECT_EQ(ZQBase64Encode(data.data(), data.size(), &text), zq::kMsgCopyNoMemory);
  EXPECT_EQ(ZQBase64Decode("Zm9v", &bytes, &length), zq::kMsgCopyNoMemory);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(bytes, nullptr);
}
