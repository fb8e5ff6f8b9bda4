// Password and text protection, password hashing and Base64 (ordinals 828
// and 829): the exported entry points of security's protection routines.
#include "security/security.h"
#include "zqapi/zq_security.h"

namespace sec = zq::security;

extern "C" {

int CRYPTLIB_SaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                        uint32_t* outLength) {
  return sec::cryptlibSaltBuffer(data, length, out, outLength);
}

int CRYPTLIB_UnsaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                          uint32_t* outLength) {
  return sec::cryptlibUnsaltBuffer(data, length, out, outLength);
}

int CRYPTLIB_EncryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, uint32_t prefixCount,
                           const unsigned char* data, uint32_t length, unsigned char** out,
                           uint32_t* outLength) {
  return sec::cryptlibEncryptBuffer(key, saltFlag, prefixCount, data, length, out, outLength);
}

int CRYPTLIB_DecryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, const unsigned char* data,
                           uint32_t length, unsigned char** out, uint32_t* outLength) {
  return sec::cryptlibDecryptBuffer(key, saltFlag, data, length, out, outLength);
}

int EncryptPasswordEx(const unsigned char* key, int32_t keyLength, int32_t algorithm,
                      const unsigned char* password, uint32_t passwordLength, char* output) {
  return sec::encryptPasswordEx(key, keyLength, algorithm, password, passwordLength, output);
}

int EncryptCharPasswordEx(const char* password, const unsigned char* key, char* output) {
  return sec::encryptCharPasswordEx(password, key, output);
}

int DecryptPasswordEx(const unsigned char* key, char* text) {
  return sec::decryptPasswordEx(key, text);
}

int EncryptCharData(int checkFlag, const char* plainText, const char* keyText,
                    char** protectedText) {
  return sec::encryptCharData(checkFlag, plainText, keyText, protectedText);
}

int DecryptCharData(int checkFlag, const char* protectedText, const char* keyText,
                    char** plainText) {
  return sec::decryptCharData(checkFlag, protectedText, keyText, plainText);
}

int HashPassword(char* password) {
  return sec::hashPassword(password);
}

int ZQBase64Encode(const unsigned char* data, size_t length, char** text) {
  return sec::base64::encodeText(data, length, text);
}

int ZQBase64Decode(const char* text, unsigned char** data, size_t* length) {
  return sec::base64::decodeText(text, data, length);
}

}  // extern "C"
