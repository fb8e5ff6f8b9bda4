/** \file
 * Encryption provider interface, password and text protection, Base64.
 *
 * All cryptographic work of the library goes through an encryption provider:
 * a table of entry points identified by ordinals 1 to 33. At initialization
 * the library looks for an external provider library; when there is none it
 * uses its own built-in provider (OpenSSL: RSA key exchange, DES data
 * encryption with an HMAC-MD5 check). These algorithms exist for wire
 * compatibility with the server; they do not replace TLS.
 *
 * Error numbers returned by the routines below are message numbers of the
 * catalog: 9004 integrity check failed, 9005 cryptographic operation failed,
 * 9006 public-key algorithm not supported, 9007 data algorithm not supported,
 * 9014 inconsistent size, 9015 missing argument, 9016 text check failed,
 * 300 out of memory. 0 means success.
 *
 * Every buffer these routines hand out comes from ZQAlloc: release it with
 * ZQFree. */
#ifndef ZQAPI_ZQ_SECURITY_H
#define ZQAPI_ZQ_SECURITY_H

#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- algorithm codes ---------------------------------------------------- */
#define ZQ_DATA_ALG_DISABLED 0
#define ZQ_DATA_ALG_DES 1
#define ZQ_DATA_ALG_RC4_128 2
#define ZQ_DATA_ALG_RC4_2048 3
#define ZQ_DATA_ALG_RC4_64 4
#define ZQ_DATA_ALG_RC4_56 5
#define ZQ_DATA_ALG_AES_128 6
#define ZQ_DATA_ALG_AES_256 7
#define ZQ_DATA_ALG_FIPS_AES_128 8
#define ZQ_DATA_ALG_FIPS_AES_256 9

#define ZQ_PUBLIC_KEY_ALG_DISABLED 0
#define ZQ_PUBLIC_KEY_ALG_ECC_163 1 /* obsolete */
#define ZQ_PUBLIC_KEY_ALG_ECC_239 2 /* obsolete */
#define ZQ_PUBLIC_KEY_ALG_ECC_571 3 /* obsolete */
#define ZQ_PUBLIC_KEY_ALG_RSA_512 4
#define ZQ_PUBLIC_KEY_ALG_RSA_1024 5
#define ZQ_PUBLIC_KEY_ALG_RSA_2048 6

#define ZQ_SECURITY_POLICY_OPTIONAL 0
#define ZQ_SECURITY_POLICY_REQUIRED 1
#define ZQ_SECURITY_POLICY_DISABLED 2

#define ZQ_ENCRYPT_LEVEL_DISABLED 0
#define ZQ_ENCRYPT_LEVEL_STANDARD 1
#define ZQ_ENCRYPT_LEVEL_PERFORMANCE 2
#define ZQ_ENCRYPT_LEVEL_PREMIUM 3
#define ZQ_ENCRYPT_LEVEL_INVALID 4

/* ---- key material --------------------------------------------------------- */

/* One direction's data key. For DES keyBytes holds 16 bytes: the key (8)
 * then the initialization vector (8). */
typedef struct ZQEncryptKeyStruct {
  unsigned char* keyBytes;
  int32_t keyLength;
  unsigned char macKey[8];
  int32_t algorithm;
} ZQEncryptKeyStruct;

/* A server's public key: the modulus as a big-endian byte string. */
typedef struct ZQPublicKeyStruct {
  int32_t algorithm;
  uint32_t length;
  unsigned char* modulus;
} ZQPublicKeyStruct;

/* Per-session provider state, set up by InitEncryption and released by
 * EndEncryption. The built-in provider keeps nothing in it. */
typedef struct ZQEncryptStateStruct {
  void* providerData;
} ZQEncryptStateStruct;

/* ---- the provider interface ------------------------------------------------
 *
 * An external provider is a shared library named ZQ_ENCRYPT_PROVIDER_LIBRARY,
 * found by the dynamic loader's search or, failing that, in the directory of
 * libzqapi itself. It exports one C function, ZQ_ENCRYPT_PROVIDER_SYMBOL, of
 * type ZQEncryptProviderTableFn: it returns an array of entry points indexed
 * by ordinal (slot 0 is unused) and stores the number of slots in *slotCount.
 * Absent entry points are null or lie beyond the count. Each slot holds a
 * function of the type named below, cast to ZQEncryptEntryPoint.
 *
 * A library that lacks one of the required entry points (ordinals 1 to 9, 12,
 * 14 and 15) is unloaded and initialization fails with 9011.
 *
 * Unless stated otherwise an entry point returns 0 or an error number.
 * Buffers a provider hands out (outputs, key bytes, private key text,
 * modulus) must come from malloc; the library releases them with free. */
#define ZQ_ENCRYPT_PROVIDER_LIBRARY "libzqencrypt75.so"
#define ZQ_ENCRYPT_PROVIDER_SYMBOL "zqEncryptProviderTable"
#define ZQ_ENCRYPT_ORDINAL_COUNT 33

typedef void (*ZQEncryptEntryPoint)(void);
typedef const ZQEncryptEntryPoint* (*ZQEncryptProviderTableFn)(uint32_t* slotCount);

/* Ordinals and entry point types. */
#define ZQ_ENCRYPT_ORD_GEN_RANDOM_BYTES 1
typedef int (*ZQGenRandomBytesFn)(ZQEncryptStateStruct* state, uint32_t count,
                                  unsigned char* buffer);
#define ZQ_ENCRYPT_ORD_INIT_ENCRYPTION 2
typedef int (*ZQInitEncryptionFn)(ZQEncryptStateStruct* state);
#define ZQ_ENCRYPT_ORD_END_ENCRYPTION 3
typedef int (*ZQEndEncryptionFn)(ZQEncryptStateStruct* state);
/* privateKey: the private exponent and the modulus in upper-case
 * hexadecimal, separated by a line feed. */
#define ZQ_ENCRYPT_ORD_GEN_PP_KEY_PAIR 4
typedef int (*ZQGenPPKeyPairFn)(ZQEncryptStateStruct* state, int32_t algorithm,
                                ZQPublicKeyStruct* publicKey, char** privateKey);
#define ZQ_ENCRYPT_ORD_PUBLIC_KEY_ENCRYPT 5
typedef int (*ZQPublicKeyEncryptFn)(ZQEncryptStateStruct* state, const ZQPublicKeyStruct* key,
                                    const unsigned char* data, uint32_t length, unsigned char** out,
                                    uint32_t* outLength);
#define ZQ_ENCRYPT_ORD_PUBLIC_KEY_DECRYPT 6
typedef int (*ZQPublicKeyDecryptFn)(ZQEncryptStateStruct* state, const char* privateKey,
                                    const unsigned char* data, uint32_t length, unsigned char** out,
                                    uint32_t* outLength);
/* secret: 40 bytes; randoms: 20 bytes each. */
#define ZQ_ENCRYPT_ORD_GEN_DATA_ENCRYPT_KEYS 7
typedef int (*ZQGenDataEncryptKeysFn)(ZQEncryptStateStruct* state, int32_t algorithm,
                                      const unsigned char* secret,
                                      const unsigned char* serverRandom,
                                      const unsigned char* clientRandom,
                                      ZQEncryptKeyStruct* serverKey, ZQEncryptKeyStruct* clientKey);
#define ZQ_ENCRYPT_ORD_ENCRYPT_DATA 8
typedef int (*ZQEncryptDataFn)(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                               const unsigned char* data, uint32_t length, unsigned char** out,
                               uint32_t* outLength);
#define ZQ_ENCRYPT_ORD_DECRYPT_DATA 9
typedef int (*ZQDecryptDataFn)(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                               const unsigned char* data, uint32_t length, unsigned char** out,
                               uint32_t* outLength);
#define ZQ_ENCRYPT_ORD_GET_ENCRYPT_ALG_DEFAULTS 12
typedef int (*ZQGetEncryptAlgDefaultsFn)(int32_t* publicKeyAlgorithm, int32_t* dataAlgorithm);
/* The support queries return non-zero when the algorithm is supported. */
#define ZQ_ENCRYPT_ORD_IS_PUBLIC_KEY_ALG_SUPPORTED 14
#define ZQ_ENCRYPT_ORD_IS_DATA_ENCRYPT_ALG_SUPPORTED 15
#define ZQ_ENCRYPT_ORD_IS_NEW_DATA_ENCRYPT_ALG_SUPPORTED 32
typedef int (*ZQIsAlgSupportedFn)(int32_t algorithm);
#define ZQ_ENCRYPT_ORD_GET_ENCRYPT_CONFIG 19
#define ZQ_ENCRYPT_ORD_GET_ENCRYPT_CONFIG_INT 23
typedef int (*ZQGetEncryptConfigFn)(int32_t item);
#define ZQ_ENCRYPT_ORD_SET_ENCRYPT_LEVEL 20
typedef int (*ZQSetEncryptLevelFn)(int32_t level, int32_t* levelOut);
#define ZQ_ENCRYPT_ORD_SET_FIPS_CONFIG 21
typedef int (*ZQSetFipsConfigFn)(int32_t* valueOut);
#define ZQ_ENCRYPT_ORD_GET_ENCRYPT_CONFIG_VALUE 22
typedef int (*ZQGetEncryptConfigValueFn)(int32_t item, uint32_t flags, int32_t* value);
/* 25: the default public-key algorithm; 26: SetDefaultSecurityPolicy;
 * 27: the provider's last error (0: none). */
#define ZQ_ENCRYPT_ORD_DEFAULT_PUBLIC_KEY_ALG 25
#define ZQ_ENCRYPT_ORD_SET_DEFAULT_SECURITY_POLICY 26
#define ZQ_ENCRYPT_ORD_LAST_ERROR 27
typedef int (*ZQEncryptQueryFn)(void);
#define ZQ_ENCRYPT_ORD_CHECK_ENCRYPTION_POLICY 28
typedef int (*ZQCheckEncryptionPolicyFn)(int32_t policy, int32_t dataAlgorithm,
                                         int32_t publicKeyAlgorithm);
/* 0 when the server's security policy is acceptable, else an error number. */
#define ZQ_ENCRYPT_ORD_CHECK_POLICY 29
typedef int (*ZQCheckPolicyFn)(int32_t policy);
#define ZQ_ENCRYPT_ORD_INITIALIZE_SECURITY 30
typedef int (*ZQInitializeSecurityFn)(ZQEncryptStateStruct* state, int32_t dataAlgorithm,
                                      int32_t dataValue, int32_t publicKeyAlgorithm,
                                      int32_t publicKeyValue, int32_t policy);
#define ZQ_ENCRYPT_ORD_SET_ENCRYPT_CONFIG_INT 31
typedef int (*ZQSetEncryptConfigIntFn)(int32_t item, int32_t unused, int32_t value);
/* Ordinals 16, 17, 18 and 33 are optional and not called by the library. */

/* ---- password and text protection ------------------------------------------ */
#define ZQ_MAX_PASSWORD_LENGTH 30
#define ZQ_PROTECTED_PASSWORD_LENGTH 120
#define ZQ_PROTECTED_PASSWORD_SIZE 121 /* with the terminator */
#define ZQ_PASSWORD_KEY_SIZE 24        /* DES: key 8, vector 8, 8 unused */
#define ZQ_HASHED_PASSWORD_LENGTH 28

/** Protects a password of at most 30 bytes under a key of keyLength bytes into
 * output (ZQ_PROTECTED_PASSWORD_SIZE bytes): a single line of Base64, 120
 * characters for DES. On failure output is empty. */
int EncryptPasswordEx(const unsigned char* key, int32_t keyLength, int32_t algorithm,
                      const unsigned char* password, uint32_t passwordLength, char* output);
/** The same for a terminated password, DES, key of ZQ_PASSWORD_KEY_SIZE bytes. */
int EncryptCharPasswordEx(const char* password, const unsigned char* key, char* output);
/** Restores the password protected under key (ZQ_PASSWORD_KEY_SIZE bytes)
 * in place of text. On failure text is unchanged. */
int DecryptPasswordEx(const unsigned char* key, char* text);

/**@{*/
/** Protects a text under a key given as text; a positive checkFlag adds an MD5
 * check of the protected bytes. *protectedText: Base64 with a line feed after
 * every 76 characters. */
int EncryptCharData(int checkFlag, const char* plainText, const char* keyText,
                    char** protectedText);
int DecryptCharData(int checkFlag, const char* protectedText, const char* keyText,
                    char** plainText);
/**@}*/

/** Replaces the password in a buffer of at least 31 bytes by its salted
 * digest text of 28 characters. */
int HashPassword(char* password);

/**@{*/
/** Building blocks. EncryptBuffer protects prefixCount random bytes, the data
 * and its length, salted when saltFlag is non-zero, with EncryptData under
 * key; DecryptBuffer reverses it. SaltBuffer and UnsaltBuffer apply and remove
 * the random-key DES layer alone. */
int CRYPTLIB_EncryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, uint32_t prefixCount,
                           const unsigned char* data, uint32_t length, unsigned char** out,
                           uint32_t* outLength);
int CRYPTLIB_DecryptBuffer(const ZQEncryptKeyStruct* key, int saltFlag, const unsigned char* data,
                           uint32_t length, unsigned char** out, uint32_t* outLength);
int CRYPTLIB_SaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                        uint32_t* outLength);
int CRYPTLIB_UnsaltBuffer(const unsigned char* data, uint32_t length, unsigned char** out,
                          uint32_t* outLength);
/**@}*/

/* ---- Base64 (RFC 4648 standard alphabet) --------------------------------- */
/** Ordinal 828: encodes with a line feed after every 76 characters and at the
 * end of the last line; no input gives an empty text. */
int ZQBase64Encode(const unsigned char* data, size_t length, char** text);
/** Ordinal 829: decodes, skipping every character outside the alphabet
 * (line breaks and padding included). *data is terminated by an extra zero
 * byte that *length does not count. */
int ZQBase64Decode(const char* text, unsigned char** data, size_t* length);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_SECURITY_H */
