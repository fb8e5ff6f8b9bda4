// Password and text protection as the exported calls offer it: the CRYPTLIB
// building blocks, the password cipher, text protection with a check digest,
// password hashing and Base64 texts. Each takes and returns what its export
// does (0 or a message number), writes the same crypto-trace lines, and
// hands out blocks of the library heap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zqapi/zq_security.h"

namespace zq::security {

int cryptlibSaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                       uint32_t* outLength);
int cryptlibUnsaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                         uint32_t* outLength);
int cryptlibEncryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, uint32_t prefixCount,
                          const unsigned char* data, uint32_t length, unsigned char** out,
                          uint32_t* outLength);
int cryptlibDecryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, const unsigned char* data,
                          uint32_t length, unsigned char** out, uint32_t* outLength);

int encryptPasswordEx(const unsigned char* key, int32_t keyLength, int32_t algorithm,
                      const unsigned char* password, uint32_t passwordLength, char* output);
int encryptCharPasswordEx(const char* password, const unsigned char* key, char* output);
int decryptPasswordEx(const unsigned char* key, char* text);

int encryptCharData(int checkFlag, const char* plainText, const char* keyText,
                    char** protectedText);
int decryptCharData(int checkFlag, const char* protectedText, const char* keyText,
                    char** plainText);

int hashPassword(char* password);

namespace base64 {
// Base64 text of data with a line feed after every 76 characters and after
// the last line (ordinal 828).
int encodeText(const unsigned char* data, size_t length, char** text);
// The bytes of a Base64 text, skipping characters outside the alphabet
// (ordinal 829).
int decodeText(const char* text, unsigned char** data, size_t* length);
}  // namespace base64

}  // namespace zq::security
