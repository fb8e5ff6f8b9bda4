// The codec around the descriptions: bounded decoding, text conversion, the
// codec session and the RPC library's entry point, streams other than memory.
#include <gtest/gtest.h>
#include <rpc/xdr.h>

#include <cstdio>

#include "frame/alloc.h"
#include "support/session.h"
#include "unit/model/cases.h"

namespace {

using namespace zqtest::fx;
using zqtest::ScopedEnv;

std::vector<char> words(std::initializer_list<uint32_t> list) {
  std::vector<char> out;
  for (uint32_t v : list)
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
  return out;
}

class Codec : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    ctx()->clientCharset = 65;
    ctx()->serverCharset = 65;
    zq::setCurrentContext(ctx());
  }
  void TearDown() override { zq::testing::failAllocationsAfter(-1); }
  ZQThreadContext* ctx() { return session_.context(); }
  zqtest::Session session_;
};

// ---- bounded decoding ----

TEST_F(Codec, CountBeyondTheBytesLeftFailsBeforeAllocating) {
  struct {
    const char* name;
    std::vector<char> wire;
  } cases[] = {
      {"value list", words({0xFFFFFFFF})},
      {"value list, count one more than the bytes allow", words({3, 0, 0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ZQValueList list{};
    zq::testing::failAllocationsAfter(0);  // any allocation would be seen
    EXPECT_FALSE(zq::model::decodeFromBuffer(c.wire.data(), c.wire.size(), list, 14));
    EXPECT_EQ(zq::testing::failedAllocations(), 0);
    zq::testing::failAllocationsAfter(-1);
    EXPECT_EQ(list.count, 0u);
    FreeZQValueList(&list, 0);
  }
  // Strings, counted bytes and byte lists are bounded the same way.
  ZQValueStruct value{};
  zq::testing::failAllocationsAfter(0);
  const auto text = words({4, 0x7FFFFFFF, 0});
  EXPECT_FALSE(zq::model::decodeFromBuffer(text.data(), text.size(), value, 14));
  const auto bytes = words({9, 1, 7, 0x40000000, 1});
  EXPECT_FALSE(zq::model::decodeFromBuffer(bytes.data(), bytes.size(), value, 14));
  zq::testing::failAllocationsAfter(-1);
  FreeZQValueStruct(&value, 0);
}

// A long list decodes whole across the steps in which its array grows.
TEST_F(Codec, LongListDecodes) {
  ZQInternalIdList ids{10000, static_cast<ZQInternalId*>(ZQCalloc(10000, sizeof(ZQInternalId)))};
  for (uint32_t i = 0; i < ids.count; ++i) ids.items[i] = i * 7;
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(ids, 14, wire));
  ZQInternalIdList back{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), back, 14));
  ASSERT_EQ(back.count, 10000u);
  EXPECT_EQ(memcmp(back.items, ids.items, 10000 * sizeof(ZQInternalId)), 0);
  FreeZQInternalIdList(&back, 0);
  FreeZQInternalIdList(&ids, 0);
}

std::vector<char> nestedNots(unsigned depth) {
  std::vector<uint32_t> w;
  for (unsigned i = 0; i < depth; ++i) {
    w.push_back(ZQ_COND_OP_NOT);
    w.push_back(1);
  }
  w.push_back(0);
  std::vector<char> out;
  for (uint32_t v : w)
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
  return out;
}

TEST_F(Codec, NestingDepthIsLimited) {
  const auto deep = nestedNots(zq::model::kMaxDecodeDepth + 1);
  ZQQualifierStruct q{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(deep.data(), deep.size(), q, 14));
  FreeZQQualifierStruct(&q, 0);

  const auto fits = nestedNots(zq::model::kMaxDecodeDepth);
  ASSERT_TRUE(zq::model::decodeFromBuffer(fits.data(), fits.size(), q, 14));
  std::vector<char> again;
  ASSERT_TRUE(zq::model::encodeToBuffer(q, 14, again));
  EXPECT_EQ(again, fits);
  FreeZQQualifierStruct(&q, 0);

  // A hostile stream of a million levels is refused, not a stack overflow.
  const auto hostile = nestedNots(1000000);
  EXPECT_FALSE(zq::model::decodeFromBuffer(hostile.data(), hostile.size(), q, 14));
  FreeZQQualifierStruct(&q, 0);
}

// ---- text conversion ----

class Conversion : public Codec {
 protected:
  void SetUp() override {
    Codec::SetUp();
    ctx()->clientCharset = 65;  // UTF-8
    ctx()->serverCharset = 0;   // ISO-8859-1
  }
};

TEST_F(Conversion, TextIsConvertedBothWays) {
  ZQValueStruct value = charValue("caf\xC3\xA9");  // café in UTF-8
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(value, 14, wire));
  EXPECT_EQ(wire, (std::vector<char>{0, 0, 0, 4, 0, 0, 0, 4, 'c', 'a', 'f', '\xE9'}));
  ZQValueStruct back{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), back, 14));
  EXPECT_STREQ(back.u.charValue, "caf\xC3\xA9");
  FreeZQValueStruct(&back, 0);
  FreeZQValueStruct(&value, 0);

  // Names too: converted, padded to their width, converted back.
  ZQNameList names1 = names({"\xC3\xBC"});
  ASSERT_TRUE(zq::model::encodeToBuffer(names1, 7, wire));
  EXPECT_EQ(wire[4], '\xFC');
  EXPECT_EQ(wire[5], 0);
  ZQNameList namesBack{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), namesBack, 7));
  EXPECT_STREQ(namesBack.items[0], "\xC3\xBC");
  FreeZQNameList(&namesBack, 0);
  FreeZQNameList(&names1, 0);
}

TEST_F(Conversion, TextThatCannotBeConvertedFails) {
  ZQValueStruct bad = charValue("\xC3");  // not UTF-8
  std::vector<char> wire;
  EXPECT_FALSE(zq::model::encodeToBuffer(bad, 14, wire));
  FreeZQValueStruct(&bad, 0);
  ZQValueStruct euro = charValue("\xE2\x82\xAC");  // no euro sign in ISO-8859-1
  EXPECT_FALSE(zq::model::encodeToBuffer(euro, 14, wire));
  FreeZQValueStruct(&euro, 0);
}

TEST_F(Conversion, FieldOneHundredTwoTravelsUnconvertedInEntryValues) {
  ZQFieldValueList list{2, array({ZQFieldValueStruct{102, charValue("\xC3\xA9")},
                                  ZQFieldValueStruct{8, charValue("\xC3\xA9")}})};
  std::vector<char> entry(64), plain(64);
  XDR x;
  xdrmem_create(&x, entry.data(), 64, XDR_ENCODE);
  ASSERT_TRUE(
      zq::model::encodeWith(&x, 14, [&](auto& v) { zq::model::describeEntryValues(v, list); }));
  entry.resize(xdr_getpos(&x));
  EXPECT_EQ(entry, (std::vector<char>{0, 0, 0, 2, 0,      0,      0, 102, 0,      0, 0, 4,
                                      0, 0, 0, 2, '\xC3', '\xA9', 0, 0,   0,      0, 0, 8,
                                      0, 0, 0, 4, 0,      0,      0, 1,   '\xE9', 0, 0, 0}));
  EXPECT_EQ(ctx()->suspendNameConversion, 0);
  // The plain routine of property and server-setting lists knows no exception.
  ASSERT_TRUE(zq::model::encodeToBuffer(list, 14, plain));
  EXPECT_EQ(plain[16], '\xE9');
  FreeZQFieldValueList(&list, 0);
}

TEST_F(Conversion, SuspendedCountersLeaveTextUnchanged) {
  ZQValueStruct value = charValue("\xC3\xA9");
  std::vector<char> wire;
  ctx()->suspendNameConversion = 1;
  ASSERT_TRUE(zq::model::encodeToBuffer(value, 14, wire));
  EXPECT_EQ(wire.size(), 12u);
  EXPECT_EQ(wire[8], '\xC3');
  ctx()->suspendNameConversion = 0;
  FreeZQValueStruct(&value, 0);

  // Binary counted texts suspend both counters around themselves.
  struct Blob {
    uint32_t length;
    char* bytes;
  } blob{2, str("\xC3\xA9")};
  XDR x;
  std::vector<char> out(16);
  xdrmem_create(&x, out.data(), 16, XDR_ENCODE);
  ASSERT_TRUE(zq::model::encodeWith(&x, 14, [&](auto& v) {
    v.suspend(zq::model::Suspend::binaryText);
    v.text(blob.length, blob.bytes);
    v.resume(zq::model::Suspend::binaryText);
  }));
  EXPECT_EQ(xdr_getpos(&x), 8u);
  EXPECT_EQ(out[4], '\xC3');
  EXPECT_EQ(ctx()->suspendTextConversion, 0);
  ZQFree(blob.bytes);
}

TEST_F(Conversion, CheckOfUnexpandedText) {
  // EUC-JP three-byte characters stay three bytes in UTF-8: with bit 0 of
  // the check set they are taken for a conversion that did nothing.
  ctx()->clientCharset = 9;  // EUC-JP
  ctx()->serverCharset = 65;
  ZQValueStruct value = charValue("\x8F\xB0\xA1");
  std::vector<char> wire;
  {
    ScopedEnv env("ZQCHECKCONVERSION", "0x1");
    zq::model::testing::reloadConversionChecks();
    EXPECT_FALSE(zq::model::encodeToBuffer(value, 14, wire));
  }
  zq::model::testing::reloadConversionChecks();
  EXPECT_TRUE(zq::model::encodeToBuffer(value, 14, wire));
  FreeZQValueStruct(&value, 0);
}

// (encodeToBuffer, used by every table test, checks the size against the
// bytes written.)
TEST_F(Codec, SizeOfWhatCannotTravel) {
  ZQValueStruct page = wordValue(ZQ_DATA_TYPE_PAGE, 0);
  size_t n = 99;
  EXPECT_FALSE(zq::model::size(page, 14, n));
  ZQValueStruct real = realValue(1);
  ASSERT_TRUE(zq::model::size(real, 14, n));
  EXPECT_EQ(n, 12u);
}

TEST_F(Codec, WithoutThreadContextTextFails) {
  zq::setCurrentContext(nullptr);
  ZQValueStruct text = charValue("x");
  ZQValueStruct number = intValue(5);
  std::vector<char> wire;
  EXPECT_FALSE(zq::model::encodeToBuffer(text, 14, wire));
  EXPECT_TRUE(zq::model::encodeToBuffer(number, 14, wire));
  FreeZQValueStruct(&text, 0);
  // A session names the context explicitly.
  zq::model::CodecScope scope(14, ctx());
  ZQValueStruct again = charValue("x");
  EXPECT_TRUE(zq::model::encodeToBuffer(again, 14, wire));
  FreeZQValueStruct(&again, 0);
}

// ---- the RPC library's entry point and other streams ----

TEST_F(Codec, XdrProcUsesTheSessionVersion) {
  ZQValueStruct value = attachValue(ZQ_LOC_BUFFER, {1});
  std::vector<char> buffer(128);
  xdrproc_t proc = zq::model::xdrProc<ZQValueStruct>();
  for (int version : {7, 12}) {
    zq::model::CodecScope scope(version, ctx());
    XDR x;
    xdrmem_create(&x, buffer.data(), 128, XDR_ENCODE);
    ASSERT_TRUE(reinterpret_cast<bool_t (*)(XDR*, void*, u_int)>(proc)(&x, &value, 0));
    EXPECT_EQ(buffer[3], version == 7 ? 11 : 49);

    ZQValueStruct back{};
    xdrmem_create(&x, buffer.data(), 128, XDR_DECODE);
    ASSERT_TRUE(reinterpret_cast<bool_t (*)(XDR*, void*, u_int)>(proc)(&x, &back, 0));
    EXPECT_EQ(back.dataType, 11u);
    // clnt_freeres releases through the same routine.
    x.x_op = XDR_FREE;
    ASSERT_TRUE(reinterpret_cast<bool_t (*)(XDR*, void*, u_int)>(proc)(&x, &back, 0));
    EXPECT_EQ(back.u.attachmentValue, nullptr);
  }
  FreeZQValueStruct(&value, 0);
}

// A stdio stream stands for the RPC library's record streams: no window,
// every primitive through the stream's operations.
TEST_F(Codec, StreamsOtherThanMemoryGiveTheSameResults) {
  for (const auto& c : zqtest::modelCases()) {
    SCOPED_TRACE(c.name);
    c.withSample([&](void* sample) {
      std::vector<char> expected;
      ASSERT_TRUE(c.encode(sample, 14, expected));
      char* data = nullptr;
      size_t size = 0;
      FILE* out = open_memstream(&data, &size);
      XDR x;
      xdrstdio_create(&x, out, XDR_ENCODE);
      EXPECT_TRUE(c.encodeXdr(sample, &x, 14));
      xdr_destroy(&x);
      fclose(out);
      EXPECT_EQ(std::vector<char>(data, data + size), expected);
      free(data);

      FILE* in = fmemopen(expected.data(), expected.size(), "r");
      xdrstdio_create(&x, in, XDR_DECODE);
      zqtest::Slot back(c.size);
      EXPECT_TRUE(c.decodeXdr(&x, back.get(), 14));
      EXPECT_EQ(c.dumpAt(back.get(), 14), c.dumpAt(sample, 14));
      c.releaseInPlace(back.get());
      xdr_destroy(&x);
      fclose(in);
    });
  }
}

// Without a known length a false count costs no more than what arrives.
TEST_F(Codec, FalseCountOnARecordStreamAllocatesLittle) {
  auto wire = words({0x7FFFFFFF, 2, 1});  // a value list claiming 2^31 - 1 items
  FILE* in = fmemopen(wire.data(), wire.size(), "r");
  XDR x;
  xdrstdio_create(&x, in, XDR_DECODE);
  ZQValueList list{};
  EXPECT_FALSE(zq::model::decode(&x, list, 14));
  EXPECT_LE(list.count, 4096u);
  FreeZQValueList(&list, 0);
  xdr_destroy(&x);
  fclose(in);

  auto text = words({4, 0x7FFFFFF0, 0x41414141});
  in = fmemopen(text.data(), text.size(), "r");
  xdrstdio_create(&x, in, XDR_DECODE);
  ZQValueStruct value{};
  EXPECT_FALSE(zq::model::decode(&x, value, 14));
  FreeZQValueStruct(&value, 0);
  xdr_destroy(&x);
  fclose(in);
}

}  // namespace
