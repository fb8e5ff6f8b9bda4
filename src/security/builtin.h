// The built-in provider on OpenSSL: RSA (exponent 3, OAEP) for the key
// exchange, DES-CBC with an HMAC-MD5 check for data.
#pragma once

#include <cstdint>

#include "zqapi/zq_security.h"

namespace zq::security::builtin {

inline constexpr int kRsaBits = 672;
inline constexpr unsigned kRsaExponent = 3;
inline constexpr uint32_t kSecretSize = 40;
inline constexpr uint32_t kRandomSize = 20;
inline constexpr uint32_t kDesKeyLength = 16;  // key 8, vector 8
inline constexpr uint32_t kMacTrailerSize = 24;

int genRandomBytes(ZQEncryptStateStruct* state, uint32_t count, unsigned char* buffer);
int genPPKeyPair(ZQEncryptStateStruct* state, int32_t algorithm, ZQPublicKeyStruct* publicKey,
                 char** privateKey);
int publicKeyEncrypt(ZQEncryptStateStruct* state, const ZQPublicKeyStruct* key,
                     const unsigned char* data, uint32_t length, unsigned char** out,
                     uint32_t* outLength);
int publicKeyDecrypt(ZQEncryptStateStruct* state, const char* privateKey, const unsigned char* data,
                     uint32_t length, unsigned char** out, uint32_t* outLength);
int genDataEncryptKeys(ZQEncryptStateStruct* state, int32_t algorithm, const unsigned char* secret,
                       const unsigned char* serverRandom, const unsigned char* clientRandom,
                       ZQEncryptKeyStruct* serverKey, ZQEncryptKeyStruct* clientKey);
int encryptData(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                const unsigned char* data, uint32_t length, unsigned char** out,
                uint32_t* outLength);
int decryptData(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                const unsigned char* data, uint32_t length, unsigned char** out,
                uint32_t* outLength);

// Encryption level of a data algorithm code.
int32_t levelOfDataAlgorithm(int32_t algorithm);

}  // namespace zq::security::builtin
