// Password and text protection: the CRYPTLIB building blocks, the password
// cipher, text protection with a check digest, and password hashing.
#include <cstdlib>
#include <cstring>

#include "security/base64.h"
#include "security/buffer.h"
#include "security/errors.h"
#include "security/key_material.h"
#include "security/lifecycle.h"
#include "security/ossl.h"
#include "security/password.h"
#include "security/protection.h"
#include "security/provider.h"
#include "security/scrambler.h"
#include "security/trace.h"
#include "zqapi/zq_security.h"

namespace zq::security {
namespace {

constexpr uint32_t kLengthSize = 4;
constexpr uint32_t kPasswordBlock = 36;  // random prefix and password together
constexpr size_t kSaltKeySize = 8;
constexpr size_t kHashSaltSize = 5;
constexpr size_t kHashInputSize = 35;

// Builds a key record over caller-owned key bytes.
ZQEncryptKeyStruct keyRecord(const void* bytes, size_t length, int32_t algorithm) {
  ZQEncryptKeyStruct key{};
  key.keyBytes = static_cast<unsigned char*>(const_cast<void*>(bytes));
  key.keyLength = static_cast<int32_t>(length);
  key.algorithm = algorithm;
  return key;
}

// Provider calls. An external provider's buffers come from its malloc; what
// reaches a caller is copied to the library heap first.
int takeProviderBlock(int rc, unsigned char* block, uint32_t length, Buffer& out) {
  if (rc == kOk && !out.assign(block, length)) rc = kMsgCopyNoMemory;
  if (block) {
    wipe(block, length);
    free(block);
  }
  return rc;
}

int encryptWith(const ZQEncryptKeyStruct* key, const Buffer& in, Buffer& out) {
  unsigned char* block = nullptr;
  uint32_t length = 0;
  if (in.size() > UINT32_MAX) return kMsgBadProtectedSize;
  int rc = provider().encryptData(currentEngineState(), key, in.data(),
                                  static_cast<uint32_t>(in.size()), &block, &length);
  return takeProviderBlock(rc, block, rc == kOk ? length : 0, out);
}

int decryptWith(const ZQEncryptKeyStruct* key, const uint8_t* data, uint32_t n, Buffer& out) {
  unsigned char* block = nullptr;
  uint32_t length = 0;
  int rc = provider().decryptData(currentEngineState(), key, data, n, &block, &length);
  return takeProviderBlock(rc, block, rc == kOk ? length : 0, out);
}

int randomInto(uint8_t* out, size_t n) {
  if (n == 0) return kOk;
  return provider().genRandomBytes(currentEngineState(), static_cast<uint32_t>(n), out);
}

int salt(const uint8_t* data, size_t n, Buffer& out) {
  uint8_t key[kSaltKeySize];
  int rc = randomInto(key, sizeof key);
  if (rc != kOk) return rc;
  size_t cipherLength = 0;
  if (!out.allocate(n + ossl::kDesBlock + kSaltKeySize)) {
    rc = kMsgCopyNoMemory;
  } else if (!ossl::desCbc(true, key, keys::kSaltVector, data, n, out.data(), &cipherLength)) {
    rc = kMsgCryptoFailure;
  } else {
    memcpy(out.data() + cipherLength, key, kSaltKeySize);
    out.shrink(cipherLength + kSaltKeySize);
  }
  wipe(key, sizeof key);
  if (rc != kOk) out.reset();
  return rc;
}

int unsalt(const uint8_t* data, size_t n, Buffer& out) {
  if (n < kSaltKeySize + ossl::kDesBlock || (n - kSaltKeySize) % ossl::kDesBlock)
    return kMsgBadProtectedSize;
  size_t cipherLength = n - kSaltKeySize;
  size_t plainLength = 0;
  if (!out.allocate(cipherLength)) return kMsgCopyNoMemory;
  if (!ossl::desCbc(false, data + cipherLength, keys::kSaltVector, data, cipherLength, out.data(),
                    &plainLength)) {
    out.reset();
    return kMsgBadProtectedSize;
  }
  out.shrink(plainLength);
  return kOk;
}

int encryptBuffer(const ZQEncryptKeyStruct* key, bool salted, uint32_t prefixCount,
                  const uint8_t* data, uint32_t length, Buffer& out) {
  uint64_t total = uint64_t{prefixCount} + length + kLengthSize;
  if (total > UINT32_MAX - 128) return kMsgBadProtectedSize;
  Buffer plain;
  if (!plain.allocate(static_cast<size_t>(total))) return kMsgCopyNoMemory;
  int rc = randomInto(plain.data(), prefixCount);
  if (rc != kOk) return rc;
  if (length) memcpy(plain.data() + prefixCount, data, length);
  uint8_t* tail = plain.data() + prefixCount + length;
  for (uint32_t i = 0; i < kLengthSize; ++i) tail[i] = static_cast<uint8_t>(length >> (8 * i));
  if (salted) {
    Buffer s;
    if ((rc = salt(plain.data(), plain.size(), s)) != kOk) return rc;
    plain = std::move(s);
  }
  return encryptWith(key, plain, out);
}

int decryptBuffer(const ZQEncryptKeyStruct* key, bool salted, const uint8_t* data, uint32_t length,
                  Buffer& out) {
  if (length == 0) return out.allocate(0) ? kOk : kMsgCopyNoMemory;
  Buffer plain;
  int rc = decryptWith(key, data, length, plain);
  if (rc != kOk) return rc;
  if (salted) {
    Buffer u;
    if ((rc = unsalt(plain.data(), plain.size(), u)) != kOk) return rc;
    plain = std::move(u);
  }
  size_t n = plain.size();
  uint32_t l = 0;
  if (n >= kLengthSize)
    for (uint32_t i = 0; i < kLengthSize; ++i)
      l |= uint32_t{plain.data()[n - kLengthSize + i]} << (8 * i);
  if (n < kLengthSize || n < uint64_t{l} + kLengthSize) {
    trace::line(trace::kFailures,
                "-->CRYPTLIB_DecryptBuffer Failed:(%d) bufSize (%d) > unsaltedBufitem (%d)\n",
                kMsgBadProtectedSize, static_cast<int>(l + kLengthSize), static_cast<int>(n));
    return kMsgBadProtectedSize;
  }
  return out.assign(plain.data() + n - kLengthSize - l, l) ? kOk : kMsgCopyNoMemory;
}

// Hands a buffer to a caller's (pointer, length) pair.
void handOut(Buffer& b, unsigned char** out, uint32_t* outLength) {
  *outLength = static_cast<uint32_t>(b.size());
  *out = b.release();
}

int encryptPassword(const uint8_t* key, size_t keyLength, int32_t algorithm,
                    const uint8_t* password, uint32_t passwordLength, char* output) {
  if (passwordLength > ZQ_MAX_PASSWORD_LENGTH) return kMsgBadProtectedSize;
  if (trace::enabled(trace::kPasswords))
    trace::dump(trace::kPasswords, "EncryptPasswordEx: password", password, passwordLength);
  ZQEncryptKeyStruct record = keyRecord(key, keyLength, algorithm);
  Buffer protectedBytes, text;
  int rc = encryptBuffer(&record, true, kPasswordBlock - passwordLength, password, passwordLength,
                         protectedBytes);
  if (rc != kOk) return rc;
  if (!base64::encode(protectedBytes.data(), protectedBytes.size(), 0, text))
    return kMsgCopyNoMemory;
  if (text.size() > ZQ_PROTECTED_PASSWORD_LENGTH) return kMsgBadProtectedSize;
  memcpy(output, text.data(), text.size() + 1);
  return kOk;
}

int decryptPassword(const uint8_t* key, char* text) {
  Buffer bytes, password;
  size_t textLength = strlen(text);
  if (!base64::decode(text, textLength, bytes)) return kMsgCopyNoMemory;
  if (bytes.size() > UINT32_MAX) return kMsgBadProtectedSize;
  ZQEncryptKeyStruct record = keyRecord(key, ZQ_PASSWORD_KEY_SIZE, ZQ_DATA_ALG_DES);
  int rc =
      decryptBuffer(&record, true, bytes.data(), static_cast<uint32_t>(bytes.size()), password);
  if (rc != kOk) return rc;
  if (password.size() > textLength) return kMsgBadProtectedSize;
  memcpy(text, password.data(), password.size());
  text[password.size()] = '\0';
  return kOk;
}

int failed(const char* operation, int rc) {
  if (rc != kOk) trace::line(trace::kFailures, "-->%s Failed:(%d)\n", operation, rc);
  return rc;
}

}  // namespace

int protectHeaderPassword(const char* password, int32_t operationTime, uint32_t protocolVersion,
                          char* buffer) {
  if (!buffer) return kMsgProtectArgumentMissing;
  buffer[0] = '\0';
  if (!password) return kMsgProtectArgumentMissing;
  if (protocolVersion < kPasswordCipherVersion) {
    size_t len = strnlen(password, ZQ_MAX_PASSWORD_LENGTH);
    memcpy(buffer, password, len);
    buffer[len] = '\0';
    scrambleLegacy(static_cast<uint32_t>(operationTime), buffer);
    return kOk;
  }
  return encryptCharPasswordEx(password, keys::kHeaderPasswordKey, buffer);
}

int recoverHeaderPassword(const char* protectedText, int32_t operationTime,
                          uint32_t protocolVersion, char* password) {
  if (!password) return kMsgProtectArgumentMissing;
  password[0] = '\0';
  if (!protectedText) return kMsgProtectArgumentMissing;
  char work[kProtectedPasswordSize];
  size_t len = strnlen(protectedText, kProtectedPasswordSize);
  if (len >= kProtectedPasswordSize) return kMsgBadProtectedSize;
  memcpy(work, protectedText, len + 1);
  int rc = kOk;
  if (protocolVersion < kPasswordCipherVersion) {
    if (!unscrambleLegacy(static_cast<uint32_t>(operationTime), work)) rc = kMsgBadProtectedSize;
  } else {
    rc = decryptPasswordEx(keys::kHeaderPasswordKey, work);
    if (rc == kOk && strlen(work) > ZQ_MAX_PASSWORD_LENGTH) rc = kMsgBadProtectedSize;
  }
  if (rc == kOk) memcpy(password, work, strlen(work) + 1);
  wipe(work, sizeof work);
  return rc;
}

int reprotectHeaderPasswordForLegacy(char* buffer, int32_t operationTime) {
  if (!buffer) return kMsgProtectArgumentMissing;
  if (strnlen(buffer, kProtectedPasswordSize) <= ZQ_MAX_PASSWORD_LENGTH) return kOk;
  char work[kProtectedPasswordSize];
  int rc = recoverHeaderPassword(buffer, operationTime, kPasswordCipherVersion, work);
  if (rc == kOk)
    rc = protectHeaderPassword(work, operationTime, kPasswordCipherVersion - 1, buffer);
  wipe(work, sizeof work);
  return rc;
}

int hashPasswordWithSalt(char* password, const uint8_t salt[kHashSaltSize]) {
  uint8_t input[kHashInputSize];
  memcpy(input, salt, kHashSaltSize);
  size_t len = strnlen(password, ZQ_MAX_PASSWORD_LENGTH);
  memcpy(input + kHashSaltSize, password, len);
  memset(input + kHashSaltSize + len, 0x09, ZQ_MAX_PASSWORD_LENGTH - len);
  uint8_t digest[kHashSaltSize + ossl::kMd5Size];
  memcpy(digest, salt, kHashSaltSize);
  bool ok = ossl::md5(input, sizeof input, nullptr, 0, digest + kHashSaltSize);
  wipe(input, sizeof input);
  if (!ok) return kMsgCryptoFailure;
  Buffer text;
  if (!base64::encode(digest, sizeof digest, 0, text)) return kMsgCopyNoMemory;
  memcpy(password, text.data(), text.size() + 1);
  return kOk;
}

// ---- the exported shapes -----------------------------------------------------------

int cryptlibSaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                       uint32_t* outLength) {
  if (!out || !outLength) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  if (!data && length) return kMsgProtectArgumentMissing;
  Buffer b;
  int rc = salt(data, length, b);
  if (rc == kOk) handOut(b, out, outLength);
  return failed("CRYPTLIB_SaltBuffer", rc);
}

int cryptlibUnsaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                         uint32_t* outLength) {
  if (!out || !outLength) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  if (!data && length) return kMsgProtectArgumentMissing;
  Buffer b;
  int rc = unsalt(data, length, b);
  if (rc == kOk) handOut(b, out, outLength);
  return failed("CRYPTLIB_UnsaltBuffer", rc);
}

int cryptlibEncryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, uint32_t prefixCount,
                          const unsigned char* data, uint32_t length, unsigned char** out,
                          uint32_t* outLength) {
  if (!out || !outLength) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  trace::line(trace::kEntry, "-->CRYPTLIB_EncryptBuffer\n");
  if (!key || (!data && length))
    return failed("CRYPTLIB_EncryptBuffer", kMsgProtectArgumentMissing);
  Buffer b;
  int rc = encryptBuffer(key, saltFlag != 0, prefixCount, data, length, b);
  if (rc == kOk) handOut(b, out, outLength);
  return failed("CRYPTLIB_EncryptBuffer", rc);
}

int cryptlibDecryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, const unsigned char* data,
                          uint32_t length, unsigned char** out, uint32_t* outLength) {
  if (!out || !outLength) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  trace::line(trace::kEntry, "-->CRYPTLIB_DecryptBuffer\n");
  if (!key || (!data && length))
    return failed("CRYPTLIB_DecryptBuffer", kMsgProtectArgumentMissing);
  Buffer b;
  int rc = decryptBuffer(key, saltFlag != 0, data, length, b);
  if (rc == kOk) handOut(b, out, outLength);
  // The size failure has its own trace line.
  return rc == kMsgBadProtectedSize ? rc : failed("CRYPTLIB_DecryptBuffer", rc);
}

int encryptPasswordEx(const unsigned char* key, int32_t keyLength, int32_t algorithm,
                      const unsigned char* password, uint32_t passwordLength, char* output) {
  trace::line(trace::kEntry, "-->EncryptPasswordEx\n");
  if (!output) return failed("EncryptPasswordEx", kMsgProtectArgumentMissing);
  output[0] = '\0';
  if (!key || keyLength <= 0 || (!password && passwordLength))
    return failed("EncryptPasswordEx", kMsgProtectArgumentMissing);
  return failed("EncryptPasswordEx", encryptPassword(key, static_cast<size_t>(keyLength), algorithm,
                                                     password, passwordLength, output));
}

int encryptCharPasswordEx(const char* password, const unsigned char* key, char* output) {
  trace::line(trace::kEntry, "-->EncryptCharPasswordEx\n");
  if (!output) return failed("EncryptCharPasswordEx", kMsgProtectArgumentMissing);
  output[0] = '\0';
  if (!password || !key) return failed("EncryptCharPasswordEx", kMsgProtectArgumentMissing);
  size_t len = strnlen(password, ZQ_MAX_PASSWORD_LENGTH + 1);
  return failed("EncryptCharPasswordEx", encryptPassword(key, ZQ_PASSWORD_KEY_SIZE, ZQ_DATA_ALG_DES,
                                                         reinterpret_cast<const uint8_t*>(password),
                                                         static_cast<uint32_t>(len), output));
}

int decryptPasswordEx(const unsigned char* key, char* text) {
  trace::line(trace::kEntry, "-->DecryptPasswordEx\n");
  if (!key || !text) return failed("DecryptPasswordEx", kMsgProtectArgumentMissing);
  return failed("DecryptPasswordEx", decryptPassword(key, text));
}

int encryptCharData(int checkFlag, const char* plainText, const char* keyText,
                    char** protectedText) {
  trace::line(trace::kEntry, "-->EncryptCharData\n");
  if (!protectedText) return failed("EncryptCharData", kMsgProtectArgumentMissing);
  *protectedText = nullptr;
  if (!plainText || !keyText || !*keyText)
    return failed("EncryptCharData", kMsgProtectArgumentMissing);
  size_t n = strlen(plainText);
  if (n > UINT32_MAX - 256) return failed("EncryptCharData", kMsgBadProtectedSize);
  ZQEncryptKeyStruct record = keyRecord(keyText, strlen(keyText), ZQ_DATA_ALG_DES);
  Buffer protectedBytes, withCheck, text;
  int rc = encryptBuffer(&record, true, 0, reinterpret_cast<const uint8_t*>(plainText),
                         static_cast<uint32_t>(n), protectedBytes);
  if (rc != kOk) return failed("EncryptCharData", rc);
  if (checkFlag > 0) {
    if (!withCheck.allocate(ossl::kMd5Size + protectedBytes.size()))
      return failed("EncryptCharData", kMsgCopyNoMemory);
    if (!ossl::md5(protectedBytes.data(), protectedBytes.size(), nullptr, 0, withCheck.data()))
      return failed("EncryptCharData", kMsgCryptoFailure);
    memcpy(withCheck.data() + ossl::kMd5Size, protectedBytes.data(), protectedBytes.size());
    protectedBytes = std::move(withCheck);
  }
  if (!base64::encode(protectedBytes.data(), protectedBytes.size(), base64::kLineLength, text))
    return failed("EncryptCharData", kMsgCopyNoMemory);
  if (!text.empty() && text.data()[text.size() - 1] == '\n') text.shrink(text.size() - 1);
  *protectedText = reinterpret_cast<char*>(text.release());
  return kOk;
}

int decryptCharData(int checkFlag, const char* protectedText, const char* keyText,
                    char** plainText) {
  trace::line(trace::kEntry, "-->DecryptCharData\n");
  if (!plainText) return failed("DecryptCharData", kMsgProtectArgumentMissing);
  *plainText = nullptr;
  if (!protectedText || !keyText || !*keyText)
    return failed("DecryptCharData", kMsgProtectArgumentMissing);
  Buffer bytes, plain;
  if (!base64::decode(protectedText, strlen(protectedText), bytes))
    return failed("DecryptCharData", kMsgCopyNoMemory);
  const uint8_t* body = bytes.data();
  size_t n = bytes.size();
  if (checkFlag > 0) {
    uint8_t digest[ossl::kMd5Size];
    if (n <= ossl::kMd5Size) return failed("DecryptCharData", kMsgProtectedTextCheck);
    if (!ossl::md5(body + ossl::kMd5Size, n - ossl::kMd5Size, nullptr, 0, digest))
      return failed("DecryptCharData", kMsgCryptoFailure);
    if (!ossl::equalBytes(digest, body, ossl::kMd5Size))
      return failed("DecryptCharData", kMsgProtectedTextCheck);
    body += ossl::kMd5Size;
    n -= ossl::kMd5Size;
  }
  if (n > UINT32_MAX) return failed("DecryptCharData", kMsgBadProtectedSize);
  ZQEncryptKeyStruct record = keyRecord(keyText, strlen(keyText), ZQ_DATA_ALG_DES);
  int rc = decryptBuffer(&record, true, body, static_cast<uint32_t>(n), plain);
  if (rc != kOk) return failed("DecryptCharData", rc);
  *plainText = reinterpret_cast<char*>(plain.release());
  return kOk;
}

int hashPassword(char* password) {
  trace::line(trace::kEntry, "-->HashPassword\n");
  if (!password) return failed("HashPassword", kMsgProtectArgumentMissing);
  uint8_t salt[kHashSaltSize];
  int rc = randomInto(salt, sizeof salt);
  if (rc == kOk) rc = hashPasswordWithSalt(password, salt);
  return failed("HashPassword", rc);
}

}  // namespace zq::security
