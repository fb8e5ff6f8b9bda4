/* A stand-in external encryption provider for the security tests. Its
 * operations are deliberately simple and recognisable: random bytes are all
 * 0xA5, EncryptData XORs with the key's first byte and appends "TPRV".
 * Built with ZQ_TEST_PROVIDER_INCOMPLETE it lacks DecryptData. */
#include <stdlib.h>
#include <string.h>

#include "zqapi/zq_security.h"

static int g_liveStates = 0;

/* For the tests: sessions started and not yet ended. */
int zqTestProviderLiveStates(void) {
  return g_liveStates;
}

static int genRandomBytes(ZQEncryptStateStruct* state, uint32_t count, unsigned char* buffer) {
  (void)state;
  memset(buffer, 0xA5, count);
  return 0;
}

static int initEncryption(ZQEncryptStateStruct* state) {
  state->providerData = malloc(1);
  if (!state->providerData) return 300;
  ++g_liveStates;
  return 0;
}

static int endEncryption(ZQEncryptStateStruct* state) {
  if (state->providerData) {
    free(state->providerData);
    state->providerData = NULL;
    --g_liveStates;
  }
  return 0;
}

static int genPPKeyPair(ZQEncryptStateStruct* state, int32_t algorithm,
                        ZQPublicKeyStruct* publicKey, char** privateKey) {
  (void)state, (void)algorithm, (void)publicKey, (void)privateKey;
  return 9006;
}

static int publicKeyCrypt(ZQEncryptStateStruct* state, const void* key, const unsigned char* data,
                          uint32_t length, unsigned char** out, uint32_t* outLength) {
  (void)state, (void)key;
  *out = malloc(length ? length : 1);
  if (!*out) return 300;
  memcpy(*out, data, length);
  *outLength = length;
  return 0;
}

static int publicKeyEncrypt(ZQEncryptStateStruct* state, const ZQPublicKeyStruct* key,
                            const unsigned char* data, uint32_t length, unsigned char** out,
                            uint32_t* outLength) {
  return publicKeyCrypt(state, key, data, length, out, outLength);
}

static int publicKeyDecrypt(ZQEncryptStateStruct* state, const char* key, const unsigned char* data,
                            uint32_t length, unsigned char** out, uint32_t* outLength) {
  return publicKeyCrypt(state, key, data, length, out, outLength);
}

static int genDataEncryptKeys(ZQEncryptStateStruct* state, int32_t algorithm,
                              const unsigned char* secret, const unsigned char* serverRandom,
                              const unsigned char* clientRandom, ZQEncryptKeyStruct* serverKey,
                              ZQEncryptKeyStruct* clientKey) {
  (void)state, (void)serverRandom, (void)clientRandom;
  serverKey->keyBytes = malloc(1);
  clientKey->keyBytes = malloc(1);
  if (!serverKey->keyBytes || !clientKey->keyBytes) return 300;
  serverKey->keyBytes[0] = secret[0];
  clientKey->keyBytes[0] = (unsigned char)(secret[0] + 1);
  serverKey->keyLength = clientKey->keyLength = 1;
  serverKey->algorithm = clientKey->algorithm = algorithm;
  return 0;
}

static const unsigned char kMarker[4] = {'T', 'P', 'R', 'V'};

static int encryptData(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                       const unsigned char* data, uint32_t length, unsigned char** out,
                       uint32_t* outLength) {
  (void)state;
  unsigned char x = key->keyLength > 0 ? key->keyBytes[0] : 0;
  *out = malloc(length + 4);
  if (!*out) return 300;
  for (uint32_t i = 0; i < length; ++i) (*out)[i] = data[i] ^ x;
  memcpy(*out + length, kMarker, 4);
  *outLength = length + 4;
  return 0;
}

#ifndef ZQ_TEST_PROVIDER_INCOMPLETE
static int decryptData(ZQEncryptStateStruct* state, const ZQEncryptKeyStruct* key,
                       const unsigned char* data, uint32_t length, unsigned char** out,
                       uint32_t* outLength) {
  (void)state;
  if (length < 4 || memcmp(data + length - 4, kMarker, 4) != 0) return 9004;
  unsigned char x = key->keyLength > 0 ? key->keyBytes[0] : 0;
  *out = malloc(length - 4 + 1);
  if (!*out) return 300;
  for (uint32_t i = 0; i + 4 < length; ++i) (*out)[i] = data[i] ^ x;
  *outLength = length - 4;
  return 0;
}
#endif

static int getEncryptAlgDefaults(int32_t* publicKeyAlgorithm, int32_t* dataAlgorithm) {
  *publicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_RSA_1024;
  *dataAlgorithm = ZQ_DATA_ALG_AES_128;
  return 0;
}

static int isPublicKeyAlgSupported(int32_t algorithm) {
  return algorithm == ZQ_PUBLIC_KEY_ALG_RSA_1024;
}

static int isDataEncryptAlgSupported(int32_t algorithm) {
  return algorithm == ZQ_DATA_ALG_DES || algorithm == ZQ_DATA_ALG_AES_128;
}

static int lastError(void) {
  return 9123;
}

/* Refuses the "required" policy, to show the policy check is asked. */
static int checkPolicy(int32_t policy) {
  return policy == ZQ_SECURITY_POLICY_REQUIRED ? 9001 : 0;
}

static ZQEncryptEntryPoint g_table[ZQ_ENCRYPT_ORDINAL_COUNT + 1];

const ZQEncryptEntryPoint* zqEncryptProviderTable(uint32_t* slotCount) {
  g_table[ZQ_ENCRYPT_ORD_GEN_RANDOM_BYTES] = (ZQEncryptEntryPoint)genRandomBytes;
  g_table[ZQ_ENCRYPT_ORD_INIT_ENCRYPTION] = (ZQEncryptEntryPoint)initEncryption;
  g_table[ZQ_ENCRYPT_ORD_END_ENCRYPTION] = (ZQEncryptEntryPoint)endEncryption;
  g_table[ZQ_ENCRYPT_ORD_GEN_PP_KEY_PAIR] = (ZQEncryptEntryPoint)genPPKeyPair;
  g_table[ZQ_ENCRYPT_ORD_PUBLIC_KEY_ENCRYPT] = (ZQEncryptEntryPoint)publicKeyEncrypt;
  g_table[ZQ_ENCRYPT_ORD_PUBLIC_KEY_DECRYPT] = (ZQEncryptEntryPoint)publicKeyDecrypt;
  g_table[ZQ_ENCRYPT_ORD_GEN_DATA_ENCRYPT_KEYS] = (ZQEncryptEntryPoint)genDataEncryptKeys;
  g_table[ZQ_ENCRYPT_ORD_ENCRYPT_DATA] = (ZQEncryptEntryPoint)encryptData;
#ifndef ZQ_TEST_PROVIDER_INCOMPLETE
  g_table[ZQ_ENCRYPT_ORD_DECRYPT_DATA] = (ZQEncryptEntryPoint)decryptData;
#endif
  g_table[ZQ_ENCRYPT_ORD_GET_ENCRYPT_ALG_DEFAULTS] = (ZQEncryptEntryPoint)getEncryptAlgDefaults;
  g_table[ZQ_ENCRYPT_ORD_IS_PUBLIC_KEY_ALG_SUPPORTED] =
      (ZQEncryptEntryPoint)isPublicKeyAlgSupported;
  g_table[ZQ_ENCRYPT_ORD_IS_DATA_ENCRYPT_ALG_SUPPORTED] =
      (ZQEncryptEntryPoint)isDataEncryptAlgSupported;
  g_table[ZQ_ENCRYPT_ORD_LAST_ERROR] = (ZQEncryptEntryPoint)lastError;
  g_table[ZQ_ENCRYPT_ORD_CHECK_POLICY] = (ZQEncryptEntryPoint)checkPolicy;
  *slotCount = ZQ_ENCRYPT_ORDINAL_COUNT + 1;
  return g_table;
}
