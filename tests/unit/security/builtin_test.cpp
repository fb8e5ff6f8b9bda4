// The built-in provider against vectors made with the openssl command line.
#include <gtest/gtest.h>
#include <openssl/bn.h>
#include <openssl/evp.h>

#include <cstring>

#include "helpers.h"
#include "security/builtin.h"
#include "security/errors.h"
#include "security/provider.h"

using namespace zq;
using namespace zq::security;
using zqtest::Bytes;
using zqtest::DesKey;
using zqtest::fromHex;

namespace {

// openssl enc -des-cbc -K 0123456789abcdef -iv fedcba9876543210 of the text,
// then of its HMAC-MD5 under a1a2a3a4a5a6a7a8 (2221fdac0c9f67cb98457832ee3fa217).
const char kFoxPlain[] = "The quick brown fox jumps";
const Bytes kFoxEnvelope = {0x20, 0xb7, 0x3f, 0xf3, 0xc7, 0x62, 0x1e, 0x1d, 0xd3, 0xf7, 0xac, 0x8b,
                            0x55, 0x17, 0x0a, 0x5c, 0xed, 0xb5, 0xb6, 0x48, 0x75, 0x38, 0x78, 0x4b,
                            0x4d, 0x53, 0x69, 0x15, 0xaa, 0x41, 0x9a, 0x7c, 0xbe, 0x89, 0xe2, 0x03,
                            0x2f, 0x54, 0x1b, 0xc4, 0x1a, 0xee, 0xd6, 0xa3, 0xd9, 0xb1, 0xab, 0x6f,
                            0x6d, 0xfb, 0xce, 0x66, 0xf1, 0xe5, 0x5f, 0x56};

DesKey foxKey() {
  return DesKey("0123456789abcdeffedcba9876543210", "a1a2a3a4a5a6a7a8");
}

Bytes encrypt(const ZQEncryptKeyStruct& key, const Bytes& plain, int* rc = nullptr) {
  unsigned char* out = nullptr;
  uint32_t len = 0;
  int r = builtin::encryptData(nullptr, &key, plain.data(), static_cast<uint32_t>(plain.size()),
                               &out, &len);
  if (rc) *rc = r;
  return r == 0 ? zqtest::take(out, len) : Bytes{};
}

int decrypt(const ZQEncryptKeyStruct& key, const Bytes& block, Bytes& plain) {
  unsigned char* out = nullptr;
  uint32_t len = 0;
  int rc = builtin::decryptData(nullptr, &key, block.data(), static_cast<uint32_t>(block.size()),
                                &out, &len);
  plain = rc == 0 ? zqtest::take(out, len) : Bytes{};
  if (rc != 0) {
    EXPECT_EQ(out, nullptr);
  }
  return rc;
}

}  // namespace

TEST(BuiltinData, EncryptMatchesOpensslVector) {
  DesKey key = foxKey();
  EXPECT_EQ(encrypt(key.record, zqtest::bytesOf(kFoxPlain)), kFoxEnvelope);
}

TEST(BuiltinData, DecryptRecoversOpensslVector) {
  DesKey key = foxKey();
  Bytes plain;
  ASSERT_EQ(decrypt(key.record, kFoxEnvelope, plain), 0);
  EXPECT_EQ(plain, zqtest::bytesOf(kFoxPlain));
}

TEST(BuiltinData, EnvelopeLengthFollowsTheBlockRule) {
  DesKey key = foxKey();
  for (size_t n : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 100u, 1000u}) {
    Bytes plain(n, 0x3c), back;
    Bytes block = encrypt(key.record, plain);
    EXPECT_EQ(block.size(), 8 * (n / 8 + 1) + 24) << n;
    ASSERT_EQ(decrypt(key.record, block, back), 0) << n;
    EXPECT_EQ(back, plain);
  }
}

TEST(BuiltinData, EveryFlippedBitFailsTheCheck) {
  DesKey key = foxKey();
  for (size_t bit = 0; bit < kFoxEnvelope.size() * 8; ++bit) {
    Bytes block = kFoxEnvelope, plain;
    block[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    EXPECT_EQ(decrypt(key.record, block, plain), kMsgIntegrityFailed) << "bit " << bit;
  }
}

TEST(BuiltinData, MalformedInputIsAnIntegrityError) {
  DesKey key = foxKey();
  DesKey otherMac("0123456789abcdeffedcba9876543210", "a1a2a3a4a5a6a7a9");
  Bytes plain;
  EXPECT_EQ(decrypt(key.record, Bytes{}, plain), kMsgIntegrityFailed);
  EXPECT_EQ(decrypt(key.record, Bytes(24, 1), plain), kMsgIntegrityFailed);
  EXPECT_EQ(decrypt(key.record, Bytes(kFoxEnvelope.begin(), kFoxEnvelope.end() - 1), plain),
            kMsgIntegrityFailed);
  EXPECT_EQ(decrypt(otherMac.record, kFoxEnvelope, plain), kMsgIntegrityFailed);
}

TEST(BuiltinData, RefusesOtherAlgorithmsAndNullArguments) {
  DesKey key = foxKey();
  key.record.algorithm = ZQ_DATA_ALG_AES_128;
  int rc = 0;
  encrypt(key.record, Bytes{1, 2, 3}, &rc);
  EXPECT_EQ(rc, kMsgUnsupportedDataAlgorithm);
  unsigned char* out = nullptr;
  uint32_t len = 0;
  EXPECT_EQ(builtin::encryptData(nullptr, nullptr, nullptr, 0, &out, &len), kMsgProtectArgumentMissing);
  EXPECT_EQ(builtin::decryptData(nullptr, &key.record, nullptr, 4, &out, &len),
            kMsgProtectArgumentMissing);
}

TEST(BuiltinData, ShortKeyIsZeroFilledNotOverread) {
  // A 3-byte key behaves as the same bytes followed by zeros.
  DesKey shortKey("010203", "00");
  DesKey padded("01020300000000000000000000000000", "00");
  Bytes plain = zqtest::bytesOf("abc");
  EXPECT_EQ(encrypt(shortKey.record, plain), encrypt(padded.record, plain));
}

TEST(BuiltinKeys, DerivationMatchesDigestVector) {
  // secret 00..27, server random 40..53, client random 80..93; block
  // computed with openssl dgst -sha1 / -md5 from the derivation rule.
  Bytes secret(40), serverRandom(20), clientRandom(20);
  for (int i = 0; i < 40; ++i) secret[i] = static_cast<uint8_t>(i);
  for (int i = 0; i < 20; ++i) serverRandom[i] = static_cast<uint8_t>(0x40 + i);
  for (int i = 0; i < 20; ++i) clientRandom[i] = static_cast<uint8_t>(0x80 + i);
  ZQEncryptKeyStruct server{}, client{};
  ASSERT_EQ(builtin::genDataEncryptKeys(nullptr, ZQ_DATA_ALG_DES, secret.data(),
                                        serverRandom.data(), clientRandom.data(), &server, &client),
            0);
  ASSERT_EQ(server.keyLength, 16);
  ASSERT_EQ(client.keyLength, 16);
  EXPECT_EQ(Bytes(server.keyBytes, server.keyBytes + 16),
            fromHex("1b24c3210cbd70eb08d082e2fc97abaa"));
  EXPECT_EQ(Bytes(client.keyBytes, client.keyBytes + 16),
            fromHex("d10627ab2ec2d17c1ceecd6f221adf79"));
  EXPECT_EQ(Bytes(server.macKey, server.macKey + 8), fromHex("3505574dae421c31"));
  EXPECT_EQ(Bytes(client.macKey, client.macKey + 8), fromHex("477e1c5a12176635"));
  EXPECT_EQ(server.algorithm, ZQ_DATA_ALG_DES);
  EXPECT_EQ(client.algorithm, ZQ_DATA_ALG_DES);
  ZQFree(server.keyBytes);
  ZQFree(client.keyBytes);

  for (int32_t other : {0, 2, 3, 6, 7, 8, 9}) {
    EXPECT_EQ(builtin::genDataEncryptKeys(nullptr, other, secret.data(), serverRandom.data(),
                                          clientRandom.data(), &server, &client),
              kMsgUnsupportedDataAlgorithm);
    EXPECT_EQ(server.keyBytes, nullptr);
  }
}

TEST(BuiltinRsa, KeyPairHasTheFixedShapeAndRoundTrips) {
  ZQPublicKeyStruct pub{};
  char* priv = nullptr;
  ASSERT_EQ(builtin::genPPKeyPair(nullptr, ZQ_PUBLIC_KEY_ALG_RSA_512, &pub, &priv), 0);
  EXPECT_EQ(pub.algorithm, ZQ_PUBLIC_KEY_ALG_RSA_512);
  EXPECT_EQ(pub.length, 84u);  // 672 bits
  EXPECT_GE(pub.modulus[0], 0x80);
  // Private text: exponent, line feed, modulus, in upper-case hexadecimal.
  std::string text(priv);
  size_t lf = text.find('\n');
  ASSERT_NE(lf, std::string::npos);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF\n"), std::string::npos);
  EXPECT_EQ(text.substr(lf + 1).size(), 168u);

  Bytes secret(40, 0x5e);
  unsigned char* cipher = nullptr;
  uint32_t cipherLen = 0;
  ASSERT_EQ(builtin::publicKeyEncrypt(nullptr, &pub, secret.data(), 40, &cipher, &cipherLen), 0);
  EXPECT_EQ(cipherLen, 84u);
  unsigned char* plain = nullptr;
  uint32_t plainLen = 0;
  ASSERT_EQ(builtin::publicKeyDecrypt(nullptr, priv, cipher, cipherLen, &plain, &plainLen), 0);
  EXPECT_EQ(zqtest::take(plain, plainLen), secret);

  // A changed cipher text does not decrypt.
  cipher[10] ^= 1;
  EXPECT_EQ(builtin::publicKeyDecrypt(nullptr, priv, cipher, cipherLen, &plain, &plainLen),
            kMsgCryptoFailure);
  ZQFree(cipher);
  ZQFree(pub.modulus);
  ZQFree(priv);
}

TEST(BuiltinRsa, PrivateExponentInvertsThree) {
  // (m^3)^d = m (mod n) for the generated pair: the public exponent is 3, and
  // the round trip above then shows the encryption used it.
  ZQPublicKeyStruct pub{};
  char* priv = nullptr;
  ASSERT_EQ(builtin::genPPKeyPair(nullptr, ZQ_PUBLIC_KEY_ALG_RSA_512, &pub, &priv), 0);
  std::string text(priv);
  BIGNUM *d = nullptr, *n = nullptr;
  ASSERT_GT(BN_hex2bn(&d, text.substr(0, text.find('\n')).c_str()), 0);
  ASSERT_GT(BN_hex2bn(&n, text.substr(text.find('\n') + 1).c_str()), 0);
  BIGNUM* nFromModulus = BN_bin2bn(pub.modulus, static_cast<int>(pub.length), nullptr);
  EXPECT_EQ(BN_cmp(n, nFromModulus), 0);
  BN_CTX* bn = BN_CTX_new();
  BIGNUM *m = BN_new(), *three = BN_new(), *c = BN_new(), *back = BN_new();
  BN_set_word(m, 123456789);
  BN_set_word(three, 3);
  BN_mod_exp(c, m, three, n, bn);
  BN_mod_exp(back, c, d, n, bn);
  EXPECT_EQ(BN_cmp(back, m), 0);
  for (BIGNUM* x : {d, n, nFromModulus, m, three, c, back}) BN_free(x);
  BN_CTX_free(bn);
  ZQFree(pub.modulus);
  ZQFree(priv);
}

TEST(BuiltinRsa, RefusesOtherAlgorithmsAndBadKeys) {
  ZQPublicKeyStruct pub{};
  char* priv = nullptr;
  EXPECT_EQ(builtin::genPPKeyPair(nullptr, ZQ_PUBLIC_KEY_ALG_RSA_2048, &pub, &priv),
            kMsgUnsupportedKeyAlgorithm);
  uint8_t modulus[84] = {0xc1};
  ZQPublicKeyStruct other{ZQ_PUBLIC_KEY_ALG_RSA_1024, 84, modulus};
  unsigned char* out = nullptr;
  uint32_t len = 0;
  uint8_t data[40] = {};
  EXPECT_EQ(builtin::publicKeyEncrypt(nullptr, &other, data, 40, &out, &len),
            kMsgUnsupportedKeyAlgorithm);
  ZQPublicKeyStruct empty{ZQ_PUBLIC_KEY_ALG_RSA_512, 0, nullptr};
  EXPECT_EQ(builtin::publicKeyEncrypt(nullptr, &empty, data, 40, &out, &len), kMsgCryptoFailure);
  EXPECT_EQ(builtin::publicKeyDecrypt(nullptr, "not a key", data, 40, &out, &len), kMsgCryptoFailure);
  EXPECT_EQ(out, nullptr);
}

TEST(BuiltinProvider, AnswersTheSupportQueries) {
  const Provider& p = builtinProvider();
  EXPECT_FALSE(p.external);
  int32_t pk = 0, data = 0;
  EXPECT_EQ(p.getEncryptAlgDefaults(&pk, &data), 0);
  EXPECT_EQ(pk, ZQ_PUBLIC_KEY_ALG_RSA_512);
  EXPECT_EQ(data, ZQ_DATA_ALG_DES);
  for (int32_t a = -1; a <= 10; ++a) {
    EXPECT_EQ(p.isPublicKeyAlgSupported(a) != 0, a == 4) << a;
    EXPECT_EQ(p.isDataEncryptAlgSupported(a) != 0, a == 1) << a;
  }
  EXPECT_EQ(p.checkPolicy(1), 0);
  EXPECT_EQ(builtin::levelOfDataAlgorithm(1), ZQ_ENCRYPT_LEVEL_STANDARD);
  EXPECT_EQ(builtin::levelOfDataAlgorithm(6), ZQ_ENCRYPT_LEVEL_PERFORMANCE);
  EXPECT_EQ(builtin::levelOfDataAlgorithm(9), ZQ_ENCRYPT_LEVEL_PREMIUM);
  EXPECT_EQ(builtin::levelOfDataAlgorithm(0), ZQ_ENCRYPT_LEVEL_DISABLED);
}

TEST(BuiltinRandom, DrawsDifferentBytes) {
  uint8_t a[20] = {}, b[20] = {};
  ASSERT_EQ(builtin::genRandomBytes(nullptr, 20, a), 0);
  ASSERT_EQ(builtin::genRandomBytes(nullptr, 20, b), 0);
  EXPECT_NE(memcmp(a, b, 20), 0);
}

TEST(OpensslDefaults, ProcessDefaultContextIsUntouched) {
  auto desInDefault = [] {
    EVP_CIPHER* c = EVP_CIPHER_fetch(nullptr, "DES-CBC", nullptr);
    bool found = c != nullptr;
    EVP_CIPHER_free(c);
    return found;
  };
  bool before = desInDefault();
  DesKey key = foxKey();
  EXPECT_EQ(encrypt(key.record, zqtest::bytesOf(kFoxPlain)), kFoxEnvelope);
  EXPECT_EQ(desInDefault(), before);
  EXPECT_FALSE(before) << "the test environment loads the legacy provider by default";
}
