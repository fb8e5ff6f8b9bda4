// Password and text protection: known answers built with the openssl command
// line, round trips, and the error numbers of each routine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "helpers.h"
#include "security/builtin.h"
#include "security/errors.h"
#include "security/key_material.h"
#include "security/password.h"

using namespace zq;
using namespace zq::security;
using zqtest::Bytes;

namespace {

// 00 01 .. 17: DES key 0001020304050607, vector 08090a0b0c0d0e0f.
Bytes testPasswordKey() {
  Bytes k(24);
  for (int i = 0; i < 24; ++i) k[i] = static_cast<uint8_t>(i);
  return k;
}

std::string protectPassword(const std::string& password, const Bytes& key, int* rc = nullptr) {
  char out[ZQ_PROTECTED_PASSWORD_SIZE];
  memset(out, 'x', sizeof out);
  int r = EncryptPasswordEx(key.data(), static_cast<int32_t>(key.size()), ZQ_DATA_ALG_DES,
                            reinterpret_cast<const unsigned char*>(password.data()),
                            static_cast<uint32_t>(password.size()), out);
  if (rc) *rc = r;
  return out;
}

}  // namespace

TEST(HashPassword, MatchesDigestVectors) {
  // base64(salt | md5(salt | password padded to 30 with tabs)), openssl.
  struct Case {
    std::string password;
    Bytes salt;
    std::string digest;
  } cases[] = {
      {"secret", {1, 2, 3, 4, 5}, "AQIDBAUecYYcsXs7ayb/EqL2cmjB"},
      {"abcdefghijklmnopqrstuvwxyz0123",
       {0xa0, 0xb0, 0xc0, 0xd0, 0xe0},
       "oLDA0OClD9SgjIYH9nsT0AfrHfZV"},
      // Longer passwords count with their first 30 characters.
      {"abcdefghijklmnopqrstuvwxyz0123XYZ",
       {0xa0, 0xb0, 0xc0, 0xd0, 0xe0},
       "oLDA0OClD9SgjIYH9nsT0AfrHfZV"},
  };
  for (const Case& c : cases) {
    char buffer[64] = {};
    strcpy(buffer, c.password.c_str());
    ASSERT_EQ(hashPasswordWithSalt(buffer, c.salt.data()), 0);
    EXPECT_EQ(std::string(buffer), c.digest) << c.password;
  }
}

TEST(HashPassword, IsSaltedAnd28CharactersLong) {
  char a[31] = "same password", b[31] = "same password";
  ASSERT_EQ(HashPassword(a), 0);
  ASSERT_EQ(HashPassword(b), 0);
  EXPECT_EQ(strlen(a), 28u);
  EXPECT_EQ(strlen(b), 28u);
  EXPECT_STRNE(a, b);
  char empty[31] = "";
  ASSERT_EQ(HashPassword(empty), 0);
  EXPECT_EQ(strlen(empty), 28u);
  EXPECT_EQ(HashPassword(nullptr), kMsgProtectArgumentMissing);
}

TEST(PasswordCipher, DecryptsOpensslVector) {
  // 29 bytes "A", "hunter2", 07000000; salted under key 1f2e3d4c5b6a7988
  // with the library's salting vector; then DES-CBC + HMAC-MD5 (zero MAC key).
  char text[ZQ_PROTECTED_PASSWORD_SIZE] =
      "c8m3dyOpUG7anbfv2Yor9+K7txu0yo2PQg9brQs+3yXrLbLGgwwWiSCDX6IJx6uNpqWsTaVccQ+I4xzWIyxlC9eQTyLL"
      "jqf3KZ82vU2Y1mcn5nAPydajBg==";
  ASSERT_EQ(Bytes(keys::kSaltVector, keys::kSaltVector + 8), zqtest::fromHex("609970644d5afd06"))
      << "the vector above was built with this salting vector";
  Bytes key = testPasswordKey();
  ASSERT_EQ(DecryptPasswordEx(key.data(), text), 0);
  EXPECT_STREQ(text, "hunter2");
}

TEST(PasswordCipher, RoundTripsAndAlwaysGives120Characters) {
  Bytes key = testPasswordKey();
  for (std::string password : {std::string(), std::string("p"), std::string("hunter2"),
                               std::string("\xe4\xf6\xfc-latin"), std::string(30, 'Z')}) {
    int rc = -1;
    std::string text = protectPassword(password, key, &rc);
    ASSERT_EQ(rc, 0) << password;
    EXPECT_EQ(text.size(), 120u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    char buffer[ZQ_PROTECTED_PASSWORD_SIZE];
    strcpy(buffer, text.c_str());
    ASSERT_EQ(DecryptPasswordEx(key.data(), buffer), 0);
    EXPECT_EQ(std::string(buffer), password);
  }
  // Random prefix and salt: the same password never looks the same.
  EXPECT_NE(protectPassword("hunter2", key), protectPassword("hunter2", key));
}

TEST(PasswordCipher, RefusesLongPasswordsAndWrongKeys) {
  Bytes key = testPasswordKey();
  int rc = 0;
  EXPECT_EQ(protectPassword(std::string(31, 'a'), key, &rc), "");
  EXPECT_EQ(rc, kMsgBadProtectedSize);

  char out[ZQ_PROTECTED_PASSWORD_SIZE];
  EXPECT_EQ(EncryptCharPasswordEx(std::string(31, 'a').c_str(), key.data(), out), kMsgBadProtectedSize);
  ASSERT_EQ(EncryptCharPasswordEx("secret", key.data(), out), 0);
  std::string protectedText = out;
  Bytes other = key;
  other[3] ^= 0x40;
  EXPECT_EQ(DecryptPasswordEx(other.data(), out), kMsgIntegrityFailed);
  EXPECT_EQ(std::string(out), protectedText) << "a failure leaves the text alone";
  out[5] = out[5] == 'A' ? 'B' : 'A';
  EXPECT_EQ(DecryptPasswordEx(key.data(), out), kMsgIntegrityFailed);
}

TEST(Protection, MissingArgumentsGive9015) {
  Bytes key = testPasswordKey();
  char out[ZQ_PROTECTED_PASSWORD_SIZE] = "untouched";
  char* text = nullptr;
  unsigned char* bytes = nullptr;
  uint32_t length = 0;
  ZQEncryptKeyStruct record{key.data(), 24, {}, ZQ_DATA_ALG_DES};
  const unsigned char pw[] = "pw";
  struct Case {
    const char* what;
    int rc;
  } cases[] = {
      {"EncryptPasswordEx key", EncryptPasswordEx(nullptr, 24, 1, pw, 2, out)},
      {"EncryptPasswordEx key length", EncryptPasswordEx(key.data(), 0, 1, pw, 2, out)},
      {"EncryptPasswordEx password", EncryptPasswordEx(key.data(), 24, 1, nullptr, 2, out)},
      {"EncryptPasswordEx output", EncryptPasswordEx(key.data(), 24, 1, pw, 2, nullptr)},
      {"EncryptCharPasswordEx password", EncryptCharPasswordEx(nullptr, key.data(), out)},
      {"EncryptCharPasswordEx key", EncryptCharPasswordEx("pw", nullptr, out)},
      {"DecryptPasswordEx key", DecryptPasswordEx(nullptr, out)},
      {"DecryptPasswordEx text", DecryptPasswordEx(key.data(), nullptr)},
      {"EncryptCharData text", EncryptCharData(1, nullptr, "key", &text)},
      {"EncryptCharData key", EncryptCharData(1, "text", nullptr, &text)},
      {"EncryptCharData empty key", EncryptCharData(1, "text", "", &text)},
      {"EncryptCharData output", EncryptCharData(1, "text", "key", nullptr)},
      {"DecryptCharData text", DecryptCharData(1, nullptr, "key", &text)},
      {"DecryptCharData key", DecryptCharData(1, "AAAA", nullptr, &text)},
      {"CRYPTLIB_EncryptBuffer key", CRYPTLIB_EncryptBuffer(nullptr, 1, 0, pw, 2, &bytes, &length)},
      {"CRYPTLIB_EncryptBuffer data",
       CRYPTLIB_EncryptBuffer(&record, 1, 0, nullptr, 2, &bytes, &length)},
      {"CRYPTLIB_DecryptBuffer key", CRYPTLIB_DecryptBuffer(nullptr, 1, pw, 2, &bytes, &length)},
      {"CRYPTLIB_DecryptBuffer out", CRYPTLIB_DecryptBuffer(&record, 1, pw, 2, nullptr, &length)},
      {"CRYPTLIB_SaltBuffer data", CRYPTLIB_SaltBuffer(nullptr, 2, &bytes, &length)},
      {"HashPassword", HashPassword(nullptr)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.rc, kMsgProtectArgumentMissing) << c.what;
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_STREQ(out, "");  // an output given is cleared first
}

TEST(TextProtection, DecryptsOpensslVectorWithCheck) {
  // "Hello, world" under the key text "sixteen byte key", salted under
  // 0badc0ffee123456, MD5 of the protected bytes in front, folded at 76.
  const char text[] =
      "ba0M65i4wEENBFw7orfkKO6R5hhjWGlnSo3x1XNEgtx2RjyE/exACw+Fkf5E54BriJ7UC6MlMR4s\n"
      "fBsfIrydCMt+sHg3z6Z75RF06qSpbtI=";
  char* plain = nullptr;
  ASSERT_EQ(DecryptCharData(1, text, "sixteen byte key", &plain), 0);
  EXPECT_STREQ(plain, "Hello, world");
  ZQFree(plain);

  // Without the check flag the digest is taken for cipher text.
  EXPECT_EQ(DecryptCharData(0, text, "sixteen byte key", &plain), kMsgIntegrityFailed);
  EXPECT_EQ(plain, nullptr);
}

TEST(TextProtection, CheckDigestFailuresGive9016) {
  const std::string good =
      "ba0M65i4wEENBFw7orfkKO6R5hhjWGlnSo3x1XNEgtx2RjyE/exACw+Fkf5E54BriJ7UC6MlMR4s\n"
      "fBsfIrydCMt+sHg3z6Z75RF06qSpbtI=";
  std::string wrongDigest = good;
  wrongDigest[0] = 'c';
  std::string wrongBody = good;
  wrongBody[40] = wrongBody[40] == 'a' ? 'b' : 'a';
  for (const std::string& text :
       {wrongDigest, wrongBody, std::string("AAAAAAAAAAAAAAAAAAAAAA=="), std::string("")}) {
    char* plain = nullptr;
    EXPECT_EQ(DecryptCharData(1, text.c_str(), "sixteen byte key", &plain), kMsgProtectedTextCheck) << text;
    EXPECT_EQ(plain, nullptr);
  }
}

TEST(TextProtection, RoundTripsLongTextInFoldedLines) {
  std::string plain;
  for (int i = 0; i < 40; ++i) plain += "line " + std::to_string(i) + " of a document; ";
  for (int check : {0, 1}) {
    char* text = nullptr;
    ASSERT_EQ(EncryptCharData(check, plain.c_str(), keys::kDocumentKeyText, &text), 0);
    std::string t = text;
    EXPECT_NE(t.back(), '\n');
    size_t start = 0;
    for (size_t lf = t.find('\n'); lf != std::string::npos; lf = t.find('\n', start)) {
      EXPECT_EQ(lf - start, 76u);
      start = lf + 1;
    }
    EXPECT_LE(t.size() - start, 76u);
    char* back = nullptr;
    ASSERT_EQ(DecryptCharData(check, text, keys::kDocumentKeyText, &back), 0);
    EXPECT_EQ(std::string(back), plain);
    ZQFree(back);
    EXPECT_EQ(DecryptCharData(check, text, "another key text", &back), kMsgIntegrityFailed);
    ZQFree(text);
  }
}

TEST(Buffers, InconsistentLengthGives9014) {
  // Plain blocks whose trailing length word does not fit, enciphered with
  // EncryptData alone (no salting) so that only the length is wrong.
  Bytes key = testPasswordKey();
  ZQEncryptKeyStruct record{key.data(), 24, {}, ZQ_DATA_ALG_DES};
  for (const Bytes& plain :
       {Bytes{'a', 'b', 'c', 0x10, 0, 0, 0}, Bytes{1, 2}, Bytes{0xff, 0xff, 0xff, 0xff}}) {
    unsigned char* block = nullptr;
    uint32_t blockLength = 0;
    ASSERT_EQ(builtin::encryptData(nullptr, &record, plain.data(),
                                   static_cast<uint32_t>(plain.size()), &block, &blockLength),
              0);
    unsigned char* out = nullptr;
    uint32_t outLength = 0;
    EXPECT_EQ(CRYPTLIB_DecryptBuffer(&record, 0, block, blockLength, &out, &outLength), kMsgBadProtectedSize);
    EXPECT_EQ(out, nullptr);
    ZQFree(block);
  }
}

TEST(Buffers, RoundTripWithPrefixAndSalt) {
  Bytes key = testPasswordKey();
  ZQEncryptKeyStruct record{key.data(), 24, {}, ZQ_DATA_ALG_DES};
  Bytes data = zqtest::bytesOf(std::string("payload with \0 inside", 21));
  for (int salted : {0, 1}) {
    for (uint32_t prefix : {0u, 5u, 36u}) {
      unsigned char* block = nullptr;
      uint32_t blockLength = 0;
      ASSERT_EQ(CRYPTLIB_EncryptBuffer(&record, salted, prefix, data.data(),
                                       static_cast<uint32_t>(data.size()), &block, &blockLength),
                0);
      size_t inner = prefix + data.size() + 4;
      if (salted) inner = 8 * (inner / 8 + 1) + 8;
      EXPECT_EQ(blockLength, 8 * (inner / 8 + 1) + 24);
      unsigned char* out = nullptr;
      uint32_t outLength = 0;
      ASSERT_EQ(CRYPTLIB_DecryptBuffer(&record, salted, block, blockLength, &out, &outLength), 0);
      EXPECT_EQ(zqtest::take(out, outLength), data);
      ZQFree(block);
    }
  }
  unsigned char* out = nullptr;
  uint32_t outLength = 7;
  const unsigned char none[1] = {};
  ASSERT_EQ(CRYPTLIB_DecryptBuffer(&record, 1, none, 0, &out, &outLength), 0);
  EXPECT_EQ(outLength, 0u);
  ZQFree(out);
}

TEST(Buffers, SaltLayerRoundTrips) {
  Bytes data = zqtest::bytesOf("0123456789abcdef0");
  unsigned char* salted = nullptr;
  uint32_t saltedLength = 0;
  ASSERT_EQ(CRYPTLIB_SaltBuffer(data.data(), 17, &salted, &saltedLength), 0);
  EXPECT_EQ(saltedLength, 24u + 8u);
  unsigned char* back = nullptr;
  uint32_t backLength = 0;
  ASSERT_EQ(CRYPTLIB_UnsaltBuffer(salted, saltedLength, &back, &backLength), 0);
  EXPECT_EQ(zqtest::take(back, backLength), data);
  EXPECT_EQ(CRYPTLIB_UnsaltBuffer(salted, 12, &back, &backLength), kMsgBadProtectedSize);
  ZQFree(salted);
}

TEST(HeaderPassword, EachProtocolGenerationRoundTrips) {
  struct Case {
    uint32_t version;
    size_t length;
  } cases[] = {{7, 30}, {11, 30}, {12, 120}, {14, 120}};
  for (const Case& c : cases) {
    for (std::string password : {std::string("letmein"), std::string(30, 'q')}) {
      char buffer[kProtectedPasswordSize];
      ASSERT_EQ(protectHeaderPassword(password.c_str(), 1700000000, c.version, buffer), 0);
      EXPECT_EQ(strlen(buffer), c.length) << c.version;
      EXPECT_EQ(std::string(buffer).find(password), std::string::npos);
      char back[31];
      ASSERT_EQ(recoverHeaderPassword(buffer, 1700000000, c.version, back), 0);
      EXPECT_EQ(std::string(back), password) << c.version;
    }
  }
  char buffer[kProtectedPasswordSize];
  ASSERT_EQ(protectHeaderPassword("", 1, 11, buffer), 0);
  EXPECT_STREQ(buffer, "");
}

TEST(HeaderPassword, DroppingBelowTwelveRescramblesTheCipherForm) {
  char buffer[kProtectedPasswordSize];
  ASSERT_EQ(protectHeaderPassword("s3cret", 424242, 14, buffer), 0);
  ASSERT_EQ(reprotectHeaderPasswordForLegacy(buffer, 424242), 0);
  EXPECT_EQ(strlen(buffer), 30u);
  char back[31];
  ASSERT_EQ(recoverHeaderPassword(buffer, 424242, 11, back), 0);
  EXPECT_STREQ(back, "s3cret");
  // Already legacy: unchanged.
  std::string before = buffer;
  ASSERT_EQ(reprotectHeaderPasswordForLegacy(buffer, 424242), 0);
  EXPECT_EQ(std::string(buffer), before);
}

TEST(Protection, OutOfMemoryLeavesNothingBehind) {
  // Every allocation in turn fails: each call either succeeds or reports 300
  // with its output empty; the sanitizer checks that nothing leaks.
  for (long n = 0; n < 40; ++n) {
    char* text = nullptr;
    zq::testing::failAllocationsAfter(n);
    int rc = EncryptCharData(1, "some text to protect", "a key text", &text);
    zq::testing::failAllocationsAfter(-1);
    ASSERT_TRUE(rc == 0 || rc == kMsgCopyNoMemory) << n << ": " << rc;
    if (rc != 0) {
      EXPECT_EQ(text, nullptr);
      continue;
    }
    char* plain = nullptr;
    zq::testing::failAllocationsAfter(n);
    rc = DecryptCharData(1, text, "a key text", &plain);
    zq::testing::failAllocationsAfter(-1);
    ASSERT_TRUE(rc == 0 || rc == kMsgCopyNoMemory) << n << ": " << rc;
    if (rc == 0) {
      EXPECT_STREQ(plain, "some text to protect");
    } else {
      EXPECT_EQ(plain, nullptr);
    }
    ZQFree(plain);
    ZQFree(text);
  }
}

TEST(Protection, ThreadsShareTheProviderSafely) {
  // The provider keeps no per-call state: concurrent round trips must not
  // interfere (the sanitizers watch the shared OpenSSL context).
  Bytes key = testPasswordKey();
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        std::string password = "pw-" + std::to_string(t) + "-" + std::to_string(i);
        char text[ZQ_PROTECTED_PASSWORD_SIZE];
        if (EncryptCharPasswordEx(password.c_str(), key.data(), text) != 0 ||
            DecryptPasswordEx(key.data(), text) != 0 || password != text)
          ++failures[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}
