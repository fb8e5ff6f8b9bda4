// Wire vectors of the key exchange records (procedures 95 and 96) and of the
// envelope, written by hand from the XDR rules: big-endian words, fixed
// opaque data as its bytes, counted opaque data as length, bytes and zero
// padding to a multiple of 4.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/codec.h"
#include "security/envelope.h"
#include "security/handshake.h"
#include "support/fuzz_seeds.h"
#include "support/session.h"
#include "transport/describe_records.h"

namespace {

using namespace zq::transport;

struct Wire {
  std::vector<char> b;
  Wire& w(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  Wire& raw(const std::vector<unsigned char>& bytes) {
    for (unsigned char c : bytes) b.push_back(static_cast<char>(c));
    return *this;
  }
  // A version-14 request header with every text empty and every word zero
  // but the cache id, the operation time and the client information type.
  Wire& header(uint32_t cacheId, uint32_t operationTime) {
    w(cacheId).w(operationTime);
    w(0).w(0);                         // user, password
    w(7).w(0);                         // client information: type, no bytes
    w(0);                              // reserved text
    for (int i = 0; i < 6; ++i) w(0);  // locale block
    w(0).w(0).w(0).w(0);               // log mask, client option, client type, time-out
    w(0);                              // no properties
    w(0).w(0).w(0).w(0).w(0).w(0);     // words A, B, C, flags, D, E
    return w(0);                       // header byte
  }
};

std::vector<unsigned char> sequence(size_t n, unsigned char first) {
  std::vector<unsigned char> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(first + i);
  return out;
}

class KeyExchangeGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    zq::setCurrentContext(session_.context());
  }

  template <class T>
  void expectEncoding(const T& value, const Wire& expected) {
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(value, 14, wire));
    EXPECT_EQ(wire, expected.b);
  }
  template <class T>
  void decode(const Wire& wire, T& value) {
    ASSERT_TRUE(zq::model::decodeFromBuffer(wire.b.data(), wire.b.size(), value, 14));
  }

  zqtest::Session session_;
};

TEST_F(KeyExchangeGolden, Hello) {
  const auto random = sequence(20, 0xE0);
  KeyHelloArgs args{};
  args.header.cacheId = 5;
  args.header.operationTime = 6;
  args.header.clientInfo.type = 7;
  memcpy(args.clientRandom, random.data(), 20);
  Wire argsWire;
  argsWire.header(5, 6).raw(random);  // 20 bytes: no padding
  expectEncoding(args, argsWire);
  zqtest::fuzzSeed("requests", "key-hello-95-v14", 95, 14, argsWire.b);

  Wire replyWire;
  replyWire.header(5, 6).raw(random).w(0xFFFFFFFEu).w(0);  // word -2, empty status list
  zqtest::fuzzSeed("replies", "key-hello-95-v14", 95, 14, replyWire.b);
  KeyHelloReply reply{};
  decode(replyWire, reply);
  EXPECT_EQ(memcmp(reply.serverRandom, random.data(), 20), 0);
  EXPECT_EQ(reply.word, -2);
  EXPECT_EQ(reply.status.count, 0u);
  zq::model::release(reply);
}

TEST_F(KeyExchangeGolden, KeyTransfer) {
  auto secret = sequence(5, 0x10);
  KeyTransferArgs args{};
  args.header.cacheId = 1001;
  args.header.operationTime = 2;
  args.header.clientInfo.type = 7;
  args.verifier = 0;
  args.secretLength = 5;
  args.secret = secret.data();
  Wire argsWire;
  argsWire.header(1001, 2).w(0).w(5).raw(secret).raw({0, 0, 0});
  expectEncoding(args, argsWire);
  zqtest::fuzzSeed("requests", "key-transfer-96-v14", 96, 14, argsWire.b);

  const auto block = sequence(8, 0xA0);
  Wire replyWire;
  replyWire.header(1001, 2).w(8).raw(block).w(1).w(2).w(9004).w(0).w(0);
  zqtest::fuzzSeed("replies", "key-transfer-96-v14", 96, 14, replyWire.b);
  KeyTransferReply reply{};
  decode(replyWire, reply);
  ASSERT_EQ(reply.blockLength, 8u);
  EXPECT_EQ(memcmp(reply.block, block.data(), 8), 0);
  ASSERT_EQ(reply.status.count, 1u);
  EXPECT_EQ(reply.status.items[0].messageNumber, 9004);
  zq::model::release(reply);
}

TEST_F(KeyExchangeGolden, Envelope) {
  auto block = sequence(6, 0x41);
  EnvelopeArgs args{6, block.data(), 0};
  Wire argsWire;
  argsWire.w(6).raw(block).raw({0, 0}).w(0);
  expectEncoding(args, argsWire);

  Wire replyWire;
  replyWire.w(3).raw({1, 2, 3, 0}).w(0x12345678u);
  EnvelopeReply reply{};
  decode(replyWire, reply);
  ASSERT_EQ(reply.blockLength, 3u);
  EXPECT_EQ(reply.block[2], 3);
  EXPECT_EQ(reply.word, 0x12345678u);
  zq::model::release(reply);

  // A length beyond the bytes that follow is refused, not trusted.
  Wire truncated;
  truncated.w(0x7FFFFFF0u).raw({1, 2, 3, 4});
  EnvelopeReply refused{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(truncated.b.data(), truncated.b.size(), refused, 14));
  zq::model::release(refused);
}

}  // namespace
