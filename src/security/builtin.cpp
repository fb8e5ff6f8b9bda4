#include "security/builtin.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <cstring>
#include <memory>

#include "security/buffer.h"
#include "security/errors.h"
#include "security/ossl.h"
#include "security/provider.h"
#include "security/trace.h"

namespace zq::security::builtin {
namespace {

template <class T, void (*F)(T*)>
struct Deleter {
  void operator()(T* p) const { F(p); }
};
using PkeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using PkeyCtxPtr = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using BnPtr = std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_clear_free>>;
using ParamBldPtr = std::unique_ptr<OSSL_PARAM_BLD, Deleter<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free>>;
using ParamsPtr = std::unique_ptr<OSSL_PARAM, Deleter<OSSL_PARAM, OSSL_PARAM_free>>;

void freeHex(char* p) {
  OPENSSL_free(p);
}
using HexPtr = std::unique_ptr<char, Deleter<char, freeHex>>;

// An RSA key from its numbers (d may be null for a public key).
PkeyPtr rsaKey(const BIGNUM* n, const BIGNUM* e, const BIGNUM* d) {
  ParamBldPtr bld(OSSL_PARAM_BLD_new());
  if (!bld || !OSSL_PARAM_BLD_push_BN(bld.get(), OSSL_PKEY_PARAM_RSA_N, n) ||
      !OSSL_PARAM_BLD_push_BN(bld.get(), OSSL_PKEY_PARAM_RSA_E, e) ||
      (d && !OSSL_PARAM_BLD_push_BN(bld.get(), OSSL_PKEY_PARAM_RSA_D, d)))
    return nullptr;
  ParamsPtr params(OSSL_PARAM_BLD_to_param(bld.get()));
  PkeyCtxPtr ctx(EVP_PKEY_CTX_new_from_name(ossl::libraryContext(), "RSA", nullptr));
  EVP_PKEY* key = nullptr;
  if (!params || !ctx || EVP_PKEY_fromdata_init(ctx.get()) <= 0 ||
      EVP_PKEY_fromdata(ctx.get(), &key, d ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY,
                        params.get()) <= 0)
    return nullptr;
  return PkeyPtr(key);
}

BnPtr exponent() {
  BnPtr e(BN_new());
  if (e && !BN_set_word(e.get(), kRsaExponent)) e.reset();
  return e;
}

// Runs an OAEP encryption or decryption with key into a new buffer.
int rsaOaep(EVP_PKEY* key, bool encrypt, const unsigned char* data, uint32_t length,
            unsigned char** out, uint32_t* outLength) {
  PkeyCtxPtr ctx(EVP_PKEY_CTX_new_from_pkey(ossl::libraryContext(), key, nullptr));
  if (!ctx) return kMsgCryptoFailure;
  int ok = encrypt ? EVP_PKEY_encrypt_init(ctx.get()) : EVP_PKEY_decrypt_init(ctx.get());
  if (ok <= 0 || EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_OAEP_PADDING) <= 0)
    return kMsgCryptoFailure;
  Buffer result;
  size_t size = static_cast<size_t>(EVP_PKEY_get_size(key));
  if (!result.allocate(size)) return kMsgCopyNoMemory;
  ok = encrypt ? EVP_PKEY_encrypt(ctx.get(), result.data(), &size, data, length)
               : EVP_PKEY_decrypt(ctx.get(), result.data(), &size, data, length);
  if (ok <= 0) return kMsgCryptoFailure;
  result.shrink(size);
  *outLength = static_cast<uint32_t>(size);
  *out = result.release();
  return kOk;
}

// The 16 key bytes (key, then vector) of a record, zero-filled when the
// record is shorter so that a short key is never read past its end.
void desKeyOf(const ZQEncryptKeyStruct* key, uint8_t out[kDesKeyLength]) {
  memset(out, 0, kDesKeyLength);
  if (key->keyBytes && key->keyLength > 0)
    memcpy(out, key->keyBytes,
           static_cast<size_t>(key->keyLength) < kDesKeyLength ? static_cast<size_t>(key->keyLength)
                                                               : kDesKeyLength);
}

}  // namespace

int genRandomBytes(ZQEncryptStateStruct*, uint32_t count, unsigned char* buffer) {
  if (!buffer && count) return kMsgProtectArgumentMissing;
  return ossl::randomBytes(buffer, count) ? kOk : kMsgCryptoFailure;
}

int genPPKeyPair(ZQEncryptStateStruct*, int32_t algorithm, ZQPublicKeyStruct* publicKey,
                 char** privateKey) {
  if (!publicKey || !privateKey) return kMsgProtectArgumentMissing;
  *publicKey = ZQPublicKeyStruct{};
  *privateKey = nullptr;
  if (algorithm != ZQ_PUBLIC_KEY_ALG_RSA_512) return kMsgUnsupportedKeyAlgorithm;
  if (!ossl::prepare()) return kMsgCryptoFailure;

  PkeyPtr key;
  for (int attempt = 0; attempt < 3 && !key; ++attempt) {
    PkeyCtxPtr gen(EVP_PKEY_CTX_new_from_name(ossl::libraryContext(), "RSA", nullptr));
    BnPtr e = exponent();
    EVP_PKEY* made = nullptr;
    if (!gen || !e || EVP_PKEY_keygen_init(gen.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_keygen_bits(gen.get(), kRsaBits) <= 0 ||
        EVP_PKEY_CTX_set1_rsa_keygen_pubexp(gen.get(), e.get()) <= 0 ||
        EVP_PKEY_generate(gen.get(), &made) <= 0)
      continue;
    PkeyPtr candidate(made);
    PkeyCtxPtr check(EVP_PKEY_CTX_new_from_pkey(ossl::libraryContext(), made, nullptr));
    if (check && EVP_PKEY_check(check.get()) == 1) key = std::move(candidate);
  }
  if (!key) return kMsgCryptoFailure;

  BIGNUM* rawN = nullptr;
  BIGNUM* rawD = nullptr;
  EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_N, &rawN);
  EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_D, &rawD);
  BnPtr n(rawN), d(rawD);
  if (!n || !d) return kMsgCryptoFailure;
  HexPtr nHex(BN_bn2hex(n.get())), dHex(BN_bn2hex(d.get()));
  if (!nHex || !dHex) return kMsgCryptoFailure;

  Buffer modulus, text;
  size_t nLen = static_cast<size_t>(BN_num_bytes(n.get()));
  size_t dLen = strlen(dHex.get()), hLen = strlen(nHex.get());
  if (!modulus.allocate(nLen) || !text.allocate(dLen + 1 + hLen)) return kMsgCopyNoMemory;
  BN_bn2bin(n.get(), modulus.data());
  memcpy(text.data(), dHex.get(), dLen);
  text.data()[dLen] = '\n';
  memcpy(text.data() + dLen + 1, nHex.get(), hLen);
  wipe(dHex.get(), dLen);

  publicKey->algorithm = algorithm;
  publicKey->length = static_cast<uint32_t>(nLen);
  publicKey->modulus = modulus.release();
  *privateKey = reinterpret_cast<char*>(text.release());
  return kOk;
}

int publicKeyEncrypt(ZQEncryptStateStruct*, const ZQPublicKeyStruct* key, const unsigned char* data,
                     uint32_t length, unsigned char** out, uint32_t* outLength) {
  if (!key || !out || !outLength || (!data && length)) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  if (key->algorithm != ZQ_PUBLIC_KEY_ALG_RSA_512) return kMsgUnsupportedKeyAlgorithm;
  if (!key->modulus || key->length == 0 || key->length > 4096) return kMsgCryptoFailure;
  if (!ossl::prepare()) return kMsgCryptoFailure;
  BnPtr n(BN_bin2bn(key->modulus, static_cast<int>(key->length), nullptr));
  BnPtr e = exponent();
  if (!n || !e) return kMsgCryptoFailure;
  PkeyPtr pkey = rsaKey(n.get(), e.get(), nullptr);
  if (!pkey) return kMsgCryptoFailure;
  return rsaOaep(pkey.get(), true, data, length, out, outLength);
}

int publicKeyDecrypt(ZQEncryptStateStruct*, const char* privateKey, const unsigned char* data,
                     uint32_t length, unsigned char** out, uint32_t* outLength) {
  if (!privateKey || !out || !outLength || (!data && length)) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  if (!ossl::prepare()) return kMsgCryptoFailure;
  const char* lf = strchr(privateKey, '\n');
  if (!lf) return kMsgCryptoFailure;
  Buffer dText;
  if (!dText.assign(privateKey, static_cast<size_t>(lf - privateKey))) return kMsgCopyNoMemory;
  BIGNUM* rawD = nullptr;
  BIGNUM* rawN = nullptr;
  size_t dDigits = static_cast<size_t>(BN_hex2bn(&rawD, reinterpret_cast<char*>(dText.data())));
  size_t nDigits = static_cast<size_t>(BN_hex2bn(&rawN, lf + 1));
  BnPtr d(rawD), n(rawN);
  BnPtr e = exponent();
  if (!d || !n || !e || dDigits != dText.size() || nDigits == 0) return kMsgCryptoFailure;
  PkeyPtr pkey = rsaKey(n.get(), e.get(), d.get());
  if (!pkey) return kMsgCryptoFailure;
  return rsaOaep(pkey.get(), false, data, length, out, outLength);
}

int genDataEncryptKeys(ZQEncryptStateStruct*, int32_t algorithm, const unsigned char* secret,
                       const unsigned char* serverRandom, const unsigned char* clientRandom,
                       ZQEncryptKeyStruct* serverKey, ZQEncryptKeyStruct* clientKey) {
  if (!secret || !serverRandom || !clientRandom || !serverKey || !clientKey)
    return kMsgProtectArgumentMissing;
  *serverKey = ZQEncryptKeyStruct{};
  *clientKey = ZQEncryptKeyStruct{};
  if (algorithm != ZQ_DATA_ALG_DES) return kMsgUnsupportedDataAlgorithm;

  // prefix area (16) | secret (40) | server random (20) | client random (20)
  uint8_t material[16 + kSecretSize + 2 * kRandomSize] = {};
  memcpy(material + 16, secret, kSecretSize);
  memcpy(material + 16 + kSecretSize, serverRandom, kRandomSize);
  memcpy(material + 16 + kSecretSize + kRandomSize, clientRandom, kRandomSize);
  uint8_t block[3 * ossl::kMd5Size];
  bool ok = true;
  for (int i = 0; i < 3 && ok; ++i) {
    memset(material, 0x52 + i, static_cast<size_t>(i) + 1);
    uint8_t sha[ossl::kSha1Size];
    ok = ossl::sha1(material, sizeof material, nullptr, 0, sha) &&
         ossl::md5(secret, kSecretSize, sha, sizeof sha, block + i * ossl::kMd5Size);
    wipe(sha, sizeof sha);
  }
  wipe(material, sizeof material);
  if (!ok) {
    wipe(block, sizeof block);
    return kMsgCryptoFailure;
  }

  Buffer server, client;
  if (!server.allocate(kDesKeyLength) || !client.allocate(kDesKeyLength)) {
    wipe(block, sizeof block);
    return kMsgCopyNoMemory;
  }
  memcpy(server.data(), block, 8);
  memcpy(server.data() + 8, block + 16, 8);
  memcpy(client.data(), block + 8, 8);
  memcpy(client.data() + 8, block + 24, 8);
  memcpy(serverKey->macKey, block + 32, 8);
  memcpy(clientKey->macKey, block + 40, 8);
  wipe(block, sizeof block);
  serverKey->keyLength = clientKey->keyLength = kDesKeyLength;
  serverKey->algorithm = clientKey->algorithm = ZQ_DATA_ALG_DES;
  serverKey->keyBytes = server.release();
  clientKey->keyBytes = client.release();
  if (trace::enabled(trace::kKeys)) {
    trace::dump(trace::kKeys, "GenDataEncryptKeys: server key", serverKey->keyBytes, 16);
    trace::dump(trace::kKeys, "GenDataEncryptKeys: client key", clientKey->keyBytes, 16);
  }
  return kOk;
}

int encryptData(ZQEncryptStateStruct*, const ZQEncryptKeyStruct* key, const unsigned char* data,
                uint32_t length, unsigned char** out, uint32_t* outLength) {
  if (!key || !out || !outLength || (!data && length)) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  trace::line(trace::kEntry, "-->EncryptData\n");
  if (key->algorithm != ZQ_DATA_ALG_DES) return kMsgUnsupportedDataAlgorithm;
  if (length > UINT32_MAX - 80) return kMsgBadProtectedSize;

  uint8_t desKey[kDesKeyLength];
  desKeyOf(key, desKey);
  uint8_t mac[ossl::kMd5Size];
  Buffer result;
  size_t bodyLength = 0, macLength = 0;
  int rc = kOk;
  if (!result.allocate(size_t{length} + 80)) {
    rc = kMsgCopyNoMemory;
  } else if (!ossl::hmacMd5(key->macKey, sizeof key->macKey, data, length, mac) ||
             !ossl::desCbc(true, desKey, desKey + 8, data, length, result.data(), &bodyLength) ||
             !ossl::desCbc(true, desKey, desKey + 8, mac, sizeof mac, result.data() + bodyLength,
                           &macLength)) {
    rc = kMsgCryptoFailure;
  }
  wipe(desKey, sizeof desKey);
  wipe(mac, sizeof mac);
  if (rc != kOk) {
    trace::line(trace::kFailures, "-->EncryptData Failed:(%d)\n", rc);
    return rc;
  }
  result.shrink(bodyLength + macLength);
  trace::dump(trace::kPlainText, "EncryptData: plain", data, length);
  trace::dump(trace::kCipherText, "EncryptData: cipher", result.data(), result.size());
  *outLength = static_cast<uint32_t>(result.size());
  *out = result.release();
  return kOk;
}

int decryptData(ZQEncryptStateStruct*, const ZQEncryptKeyStruct* key, const unsigned char* data,
                uint32_t length, unsigned char** out, uint32_t* outLength) {
  if (!key || !out || !outLength || (!data && length)) return kMsgProtectArgumentMissing;
  *out = nullptr;
  *outLength = 0;
  trace::line(trace::kEntry, "-->DecryptData\n");
  if (length == 0) return kMsgIntegrityFailed;
  if (key->algorithm != ZQ_DATA_ALG_DES) return kMsgUnsupportedDataAlgorithm;
  // Leading part: whole blocks, at least one (the padding); then the MAC.
  if (length < kMacTrailerSize + ossl::kDesBlock || length % ossl::kDesBlock != 0) {
    trace::line(trace::kFailures, "-->DecryptData Failed:(%d)\n", kMsgIntegrityFailed);
    return kMsgIntegrityFailed;
  }
  size_t bodyLength = length - kMacTrailerSize;
  uint8_t desKey[kDesKeyLength];
  desKeyOf(key, desKey);
  Buffer plain;
  uint8_t remote[kMacTrailerSize + ossl::kDesBlock];
  uint8_t local[ossl::kMd5Size];
  size_t plainLength = 0, remoteLength = 0;
  int rc = kOk;
  if (!plain.allocate(bodyLength + ossl::kDesBlock)) {
    rc = kMsgCopyNoMemory;
  } else if (!ossl::desCbc(false, desKey, desKey + 8, data, bodyLength, plain.data(),
                           &plainLength) ||
             !ossl::desCbc(false, desKey, desKey + 8, data + bodyLength, kMacTrailerSize, remote,
                           &remoteLength) ||
             remoteLength != ossl::kMd5Size) {
    // A wrong key or altered bytes usually break the padding first.
    rc = kMsgIntegrityFailed;
  } else if (!ossl::hmacMd5(key->macKey, sizeof key->macKey, plain.data(), plainLength, local)) {
    rc = kMsgCryptoFailure;
  } else if (!ossl::equalBytes(local, remote, ossl::kMd5Size)) {
    trace::line(trace::kFailures, "DecryptData: macVerifierLocal <> macVerifierRemote\n");
    rc = kMsgIntegrityFailed;
  }
  wipe(desKey, sizeof desKey);
  wipe(remote, sizeof remote);
  wipe(local, sizeof local);
  if (rc != kOk) {
    trace::line(trace::kFailures, "-->DecryptData Failed:(%d)\n", rc);
    return rc;
  }
  plain.shrink(plainLength);
  trace::dump(trace::kCipherText, "DecryptData: cipher", data, length);
  trace::dump(trace::kPlainText, "DecryptData: plain", plain.data(), plain.size());
  *outLength = static_cast<uint32_t>(plain.size());
  *out = plain.release();
  return kOk;
}

int32_t levelOfDataAlgorithm(int32_t algorithm) {
  switch (algorithm) {
    case ZQ_DATA_ALG_DES:
      return ZQ_ENCRYPT_LEVEL_STANDARD;
    case ZQ_DATA_ALG_RC4_128:
    case ZQ_DATA_ALG_AES_128:
    case ZQ_DATA_ALG_FIPS_AES_128:
      return ZQ_ENCRYPT_LEVEL_PERFORMANCE;
    case ZQ_DATA_ALG_RC4_2048:
    case ZQ_DATA_ALG_AES_256:
    case ZQ_DATA_ALG_FIPS_AES_256:
      return ZQ_ENCRYPT_LEVEL_PREMIUM;
    default:
      return ZQ_ENCRYPT_LEVEL_DISABLED;
  }
}

}  // namespace zq::security::builtin

// ---- the built-in table ------------------------------------------------------
namespace zq::security {
namespace {

int initEncryption(ZQEncryptStateStruct* state) {
  if (state) state->providerData = nullptr;
  return kOk;
}
int endEncryption(ZQEncryptStateStruct* state) {
  if (state) state->providerData = nullptr;
  return kOk;
}
int getEncryptAlgDefaults(int32_t* publicKeyAlgorithm, int32_t* dataAlgorithm) {
  if (publicKeyAlgorithm) *publicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_RSA_512;
  if (dataAlgorithm) *dataAlgorithm = ZQ_DATA_ALG_DES;
  return kOk;
}
int isPublicKeyAlgSupported(int32_t algorithm) {
  return algorithm == ZQ_PUBLIC_KEY_ALG_RSA_512;
}
int isDataEncryptAlgSupported(int32_t algorithm) {
  return algorithm == ZQ_DATA_ALG_DES;
}
int getEncryptConfig(int32_t) {
  return 0;
}
int setEncryptLevel(int32_t, int32_t* levelOut) {
  // Only the standard level exists here.
  if (levelOut) *levelOut = ZQ_ENCRYPT_LEVEL_STANDARD;
  return kOk;
}
int setFipsConfig(int32_t* valueOut) {
  if (valueOut) *valueOut = 0;
  return kOk;
}
int getEncryptConfigValue(int32_t, uint32_t, int32_t* value) {
  if (value) *value = 0;
  return kOk;
}
int defaultPublicKeyAlgorithm() {
  return ZQ_PUBLIC_KEY_ALG_RSA_512;
}
int noError() {
  return kOk;
}
int checkEncryptionPolicy(int32_t, int32_t, int32_t) {
  return kOk;
}
int checkPolicy(int32_t) {
  return kOk;
}  // every policy is acceptable
int initializeSecurity(ZQEncryptStateStruct*, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return kOk;
}
int setEncryptConfigInt(int32_t, int32_t, int32_t) {
  return kOk;
}

}  // namespace

const Provider& builtinProvider() {
  static const Provider table = {
      builtin::genRandomBytes,
      initEncryption,
      endEncryption,
      builtin::genPPKeyPair,
      builtin::publicKeyEncrypt,
      builtin::publicKeyDecrypt,
      builtin::genDataEncryptKeys,
      builtin::encryptData,
      builtin::decryptData,
      getEncryptAlgDefaults,
      isPublicKeyAlgSupported,
      isDataEncryptAlgSupported,
      getEncryptConfig,
      setEncryptLevel,
      setFipsConfig,
      getEncryptConfigValue,
      getEncryptConfig,
      defaultPublicKeyAlgorithm,
      noError,
      noError,
      checkEncryptionPolicy,
      checkPolicy,
      initializeSecurity,
      setEncryptConfigInt,
      isDataEncryptAlgSupported,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      false,
  };
  return table;
}

}  // namespace zq::security
