// The envelope of encrypted calls and the key exchange, without a network.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/status.h"
#include "helpers.h"
#include "security/describe_envelope.h"
#include "security/envelope.h"
#include "security/errors.h"
#include "security/handshake.h"

using namespace zq;
using namespace zq::security;
using zqtest::Bytes;

namespace {

Bytes toBytes(const Buffer& b) {
  return Bytes(b.data(), b.data() + b.size());
}

// A procedure 97 reply as the transport would decode it.
struct InfoReply {
  ZQByteList key{};
  ZQServerInfoStruct items[4] = {};
  ZQServerInfoList list{4, items};
  InfoReply(int32_t policy, const ZQPublicKeyStruct& publicKey, int32_t dataAlgorithm,
            int32_t publicKeyAlgorithm) {
    key = ZQByteList{0, publicKey.length, publicKey.modulus};
    items[0].operation = kInfoSecurityPolicy;
    items[0].value.dataType = ZQ_DATA_TYPE_INTEGER;
    items[0].value.u.integerValue = policy;
    items[1].operation = kInfoPublicKey;
    items[1].value.dataType = ZQ_DATA_TYPE_BYTES;
    items[1].value.u.byteListValue = &key;
    items[2].operation = kInfoDataAlgorithm;
    items[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
    items[2].value.u.integerValue = dataAlgorithm;
    items[3].operation = kInfoPublicKeyAlgorithm;
    items[3].value.dataType = ZQ_DATA_TYPE_INTEGER;
    items[3].value.u.integerValue = publicKeyAlgorithm;
  }
};

// Runs the whole exchange between a client and a server object.
struct Exchange {
  ZQEncryptStateStruct clientState{}, serverState{};
  ServerKeyExchange server{&serverState};
  ClientKeyExchange client{&clientState};
  BindingKeys binding, session;
  Buffer replyBlock;
  int32_t verifierSent = 0;           // what reaches the server in place of the client's
  const Bytes* replyPlain = nullptr;  // the client gets this under the server key instead

  int run(bool tamperReply = false) {
    if (int rc = server.generateKeyPair()) return rc;
    InfoReply reply(ZQ_SECURITY_POLICY_OPTIONAL, server.publicKey(), ZQ_DATA_ALG_DES,
                    ZQ_PUBLIC_KEY_ALG_RSA_512);
    EncryptionInfo info;
    if (int rc = readEncryptionInfo(reply.list, info)) return rc;
    ZQStatusList status{0, nullptr};
    bool encrypt = false;
    EXPECT_EQ(decideEncryption(info, &clientState, "srv", &status, encrypt), 0);
    EXPECT_TRUE(encrypt);
    EXPECT_EQ(status.count, 0u);

    uint8_t clientRandom[kRandomSize], serverRandom[kRandomSize];
    if (int rc = client.start(clientRandom)) return rc;
    if (int rc = server.hello(clientRandom, serverRandom)) return rc;
    client.acceptHello(serverRandom);
    Buffer secret;
    int32_t verifier = -1;
    if (int rc = client.keyTransfer(info, secret, verifier)) return rc;
    EXPECT_EQ(verifier, 0);
    EXPECT_EQ(secret.size(), 84u);
    if (int rc = server.keyTransfer(info.dataAlgorithm, secret.data(), secret.size(), verifierSent,
                                    replyBlock, session))
      return rc;
    if (replyPlain) {
      if (int rc = sealEnvelope(&serverState, &session.serverKey, replyPlain->data(),
                                replyPlain->size(), replyBlock))
        return rc;
    }
    if (tamperReply) replyBlock.data()[3] ^= 0x10;
    return client.finish(replyBlock.data(), replyBlock.size(), binding);
  }
};

}  // namespace

TEST(Envelope, ProcedureNumbers) {
  EXPECT_EQ(envelopeProcedure(1), 0x8001u);
  EXPECT_EQ(envelopeProcedure(182), 0x80b6u);
  EXPECT_TRUE(isEnvelopeProcedure(0x8001));
  EXPECT_FALSE(isEnvelopeProcedure(97));
  EXPECT_EQ(innerProcedure(0x80b6), 182u);
}

TEST(Envelope, AppliesByVersionAndProvider) {
  struct Case {
    bool encrypted;
    uint32_t version;
    bool external;
    bool applies;
  } cases[] = {
      {false, 14, true, false}, {true, 14, false, true}, {true, 10, false, true},
      {true, 9, false, false},  {true, 8, false, false}, {true, 9, true, true},
      {true, 8, true, true},    {true, 7, true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(envelopeApplies(c.encrypted, c.version, c.external), c.applies)
        << c.encrypted << " " << c.version << " " << c.external;
}

TEST(Envelope, ReplyRecordDecodingIsBounded) {
  const Bytes good = {0, 0, 0, 4, 9, 8, 7, 6, 0, 0, 0, 1};
  EnvelopeReply reply{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(good.data(), good.size(), reply, 14));
  EXPECT_EQ(Bytes(reply.block, reply.block + reply.blockLength), (Bytes{9, 8, 7, 6}));
  EXPECT_EQ(reply.word, 1u);
  zq::model::release(reply);

  const Bytes bad[] = {
      {},
      {0, 0, 0},
      {0, 0, 0, 4, 9, 8, 7, 6},                          // word missing
      {0xff, 0xff, 0xff, 0xf0, 9, 8, 7, 6, 0, 0, 0, 1},  // length beyond the bytes
      {0, 0, 0, 3, 9, 8, 7, 0, 0, 0},                    // padding cut short
  };
  for (const Bytes& b : bad) {
    EnvelopeReply refused{};
    EXPECT_FALSE(zq::model::decodeFromBuffer(b.data(), b.size(), refused, 14)) << b.size();
    zq::model::release(refused);
    EXPECT_EQ(refused.block, nullptr);
  }
}

TEST(KeyExchange, BothSidesAgreeAndTheEnvelopeRoundTrips) {
  Exchange x;
  ASSERT_EQ(x.run(), 0);
  ASSERT_TRUE(x.binding.hasKeys());
  EXPECT_TRUE(x.binding.encrypted);
  EXPECT_EQ(x.binding.verifier, 0);

  const Bytes request = zqtest::bytesOf("arguments of procedure 1, as XDR");
  Buffer sealed, opened;
  ASSERT_EQ(
      sealEnvelope(&x.clientState, &x.binding.clientKey, request.data(), request.size(), sealed),
      0);
  EXPECT_EQ(sealed.size(), desEnvelopeLength(request.size()));
  ASSERT_EQ(
      openEnvelope(&x.serverState, &x.session.clientKey, sealed.data(), sealed.size(), opened), 0);
  EXPECT_EQ(toBytes(opened), request);

  // Replies go the other way under the other key; a key of the wrong
  // direction does not open them.
  const Bytes reply = zqtest::bytesOf("reply record");
  ASSERT_EQ(sealEnvelope(&x.serverState, &x.session.serverKey, reply.data(), reply.size(), sealed),
            0);
  EXPECT_EQ(
      openEnvelope(&x.clientState, &x.binding.clientKey, sealed.data(), sealed.size(), opened),
      kMsgIntegrityFailed);
  ASSERT_EQ(
      openEnvelope(&x.clientState, &x.binding.serverKey, sealed.data(), sealed.size(), opened), 0);
  EXPECT_EQ(toBytes(opened), reply);

  // One flipped bit anywhere fails the check.
  for (size_t i = 0; i < sealed.size(); ++i) {
    sealed.data()[i] ^= 0x04;
    EXPECT_EQ(
        openEnvelope(&x.clientState, &x.binding.serverKey, sealed.data(), sealed.size(), opened),
        kMsgIntegrityFailed)
        << i;
    sealed.data()[i] ^= 0x04;
  }
}

TEST(KeyExchange, EmptyArgumentsGive9008) {
  uint8_t key[16] = {};
  ZQEncryptKeyStruct record{key, 16, {}, ZQ_DATA_ALG_DES};
  Buffer sealed;
  EXPECT_EQ(sealEnvelope(nullptr, &record, key, 0, sealed), kMsgBadEncodedSize);
}

TEST(KeyExchange, WrongVerifierBlockGives9002AndKeepsNoKeys) {
  Exchange x;
  EXPECT_EQ(x.run(/*tamperReply=*/true), kMsgKeyAgreement);
  EXPECT_FALSE(x.binding.hasKeys());
  EXPECT_FALSE(x.binding.encrypted);
}

// The block of the key-transfer reply holds the verifier as an XDR unsigned
// word: written by hand here, not by the server's own encoder.
TEST(KeyExchange, VerifierBlockIsAnXdrWord) {
  Exchange server;
  server.verifierSent = -2;
  EXPECT_EQ(server.run(), kMsgKeyAgreement) << "the client sent 0";
  Buffer plain;
  ASSERT_EQ(openEnvelope(&server.clientState, &server.session.serverKey, server.replyBlock.data(),
                         server.replyBlock.size(), plain),
            0);
  EXPECT_EQ(toBytes(plain), (Bytes{0xff, 0xff, 0xff, 0xfe}));

  struct Case {
    Bytes plain;
    int result;
  } cases[] = {
      {{0, 0, 0, 0}, 0},
      {{0, 0, 0, 1}, kMsgKeyAgreement},
      {{1, 0, 0, 0}, kMsgKeyAgreement},  // byte order
      {{0, 0, 0}, kMsgKeyAgreement},     // short of a word
  };
  for (const Case& c : cases) {
    Exchange x;
    x.replyPlain = &c.plain;
    EXPECT_EQ(x.run(), c.result) << c.plain.size() << " " << int{c.plain.back()};
    EXPECT_EQ(x.binding.hasKeys(), c.result == 0);
  }
}

TEST(KeyExchange, FinishWithoutKeyTransferGives9002) {
  ZQEncryptStateStruct state{};
  ClientKeyExchange client(&state);
  BindingKeys binding;
  uint8_t block[32] = {};
  EXPECT_EQ(client.finish(block, sizeof block, binding), kMsgKeyAgreement);
}

TEST(EncryptionInfo, TakesItemsOnlyUnderTheExpectedTag) {
  uint8_t modulus[4] = {0xc0, 1, 2, 3};
  ZQPublicKeyStruct key{4, 4, modulus};
  InfoReply reply(ZQ_SECURITY_POLICY_REQUIRED, key, 1, 4);
  EncryptionInfo info;
  ASSERT_EQ(readEncryptionInfo(reply.list, info), 0);
  EXPECT_EQ(info.policy, 1);
  EXPECT_EQ(info.dataAlgorithm, 1);
  EXPECT_EQ(info.publicKeyAlgorithm, 4);
  ASSERT_EQ(info.publicKey.length, 4u);
  EXPECT_NE(info.publicKey.modulus, modulus) << "the key is copied";
  EXPECT_EQ(memcmp(info.publicKey.modulus, modulus, 4), 0);

  // Swapped positions and a wrong type are ignored.
  std::swap(reply.items[2], reply.items[3]);
  reply.items[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  reply.items[0].value.u.charValue = nullptr;
  reply.list.count = 3;
  ASSERT_EQ(readEncryptionInfo(reply.list, info), 0);
  EXPECT_EQ(info.policy, ZQ_SECURITY_POLICY_DISABLED);
  EXPECT_EQ(info.dataAlgorithm, 0);
  EXPECT_EQ(info.publicKeyAlgorithm, 0);
  EXPECT_EQ(info.publicKey.length, 4u);
}

TEST(EncryptionInfo, BuiltinDecisions) {
  struct Case {
    int32_t policy, dataAlgorithm, publicKeyAlgorithm;
    bool encrypt;
  } cases[] = {
      {ZQ_SECURITY_POLICY_DISABLED, 1, 4, false},
      {ZQ_SECURITY_POLICY_OPTIONAL, 1, 4, true},
      {ZQ_SECURITY_POLICY_OPTIONAL, 6, 4, false},  // quietly without
      {ZQ_SECURITY_POLICY_OPTIONAL, 1, 6, false},
      {ZQ_SECURITY_POLICY_REQUIRED, 6, 6, true},  // no support test
  };
  for (const Case& c : cases) {
    EncryptionInfo info;
    info.policy = c.policy;
    info.dataAlgorithm = c.dataAlgorithm;
    info.publicKeyAlgorithm = c.publicKeyAlgorithm;
    ZQStatusList status{0, nullptr};
    bool encrypt = !c.encrypt;
    EXPECT_EQ(decideEncryption(info, nullptr, "srv", &status, encrypt), 0);
    EXPECT_EQ(encrypt, c.encrypt) << c.policy << " " << c.dataAlgorithm;
    EXPECT_EQ(status.count, 0u);
  }
}
