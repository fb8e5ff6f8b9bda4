// Preparing field values for the wire and post-processing returned ones,
// without a server: attachment packing, raw fallback, inflation, password
// fields, and running out of memory on every allocation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calls/attachments.h"
#include "frame/alloc.h"
#include "frame/context.h"
#include "platform/compress.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

std::string sample(size_t n) {
  std::string s;
  for (size_t i = 0; s.size() < n; ++i) s += "line " + std::to_string(i % 97) + "\n";
  s.resize(n);
  return s;
}

class EntryValues : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = zqtest::makeControl("Demo", "zq-unreachable.invalid");
    Status s;
    ASSERT_LT(ZQInitialization(&control_, &s), 2);
  }
  void TearDown() override {
    zq::testing::failAllocationsAfter(-1);
    Status s;
    ZQTermination(&control_, &s);
  }
  ZQControlStruct control_{};
};

TEST_F(EntryValues, PackedAttachmentsInflateBackAndLeaveTheCallerAlone) {
  const std::string content = sample(50000);
  ZQAttachStruct a{};
  a.name = const_cast<char*>("a.txt");
  a.location.locationType = ZQ_LOC_BUFFER;
  a.location.u.buffer.size = static_cast<uint32_t>(content.size());
  a.location.u.buffer.bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(content.data()));
  ZQFieldValueStruct fv{};
  fv.fieldId = 536870913;
  fv.value.dataType = ZQ_DATA_TYPE_ATTACH;
  fv.value.u.attachmentValue = &a;
  ZQFieldValueList list{1, &fv};

  zq::calls::ServerTraits server;
  zq::calls::PreparedValues prepared;
  Status s;
  ASSERT_EQ(zq::calls::prepareValues(server, &list, true, prepared, &s), 0);
  const ZQAttachStruct* packed = prepared.list().items[0].value.u.attachmentValue;
  EXPECT_EQ(packed->originalSize, 50000);
  EXPECT_LT(packed->compressedSize, 50000);
  EXPECT_EQ(a.location.u.buffer.bytes,
            reinterpret_cast<const unsigned char*>(content.data()));  // untouched

  ZQFieldValueList back = prepared.release();
  ASSERT_EQ(zq::calls::postProcessValues(control_.context, server, &back, 254, &s), 0);
  const ZQAttachStruct* got = back.items[0].value.u.attachmentValue;
  EXPECT_EQ(got->originalSize, 50000);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(got->location.u.buffer.bytes),
                        got->location.u.buffer.size),
            content);
  FreeZQFieldValueList(&back, 0);
}

TEST_F(EntryValues, RawBytesStayRawAndBrokenStreamsGive160) {
  struct Case {
    const char* label;
    int32_t original, compressed;
    int rc;
  } cases[] = {{"sent raw (equal sizes)", 9, 9, 0}, {"broken stream", 100, 9, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    auto* a = static_cast<ZQAttachStruct*>(ZQCalloc(1, sizeof(ZQAttachStruct)));
    a->originalSize = c.original;
    a->compressedSize = c.compressed;
    a->location.locationType = ZQ_LOC_BUFFER;
    a->location.u.buffer.size = 9;
    a->location.u.buffer.bytes = static_cast<unsigned char*>(ZQAlloc(9));
    memcpy(a->location.u.buffer.bytes, "raw bytes", 9);
    auto* items = static_cast<ZQFieldValueStruct*>(ZQCalloc(1, sizeof(ZQFieldValueStruct)));
    items[0].value.dataType = ZQ_DATA_TYPE_ATTACH;
    items[0].value.u.attachmentValue = a;
    ZQFieldValueList list{1, items};
    Status s;
    EXPECT_EQ(zq::calls::postProcessValues(control_.context, {}, &list, 254, &s), c.rc);
    EXPECT_EQ(s.has(160), c.rc == 2);
    FreeZQFieldValueList(&list, 0);
  }
}

TEST_F(EntryValues, PasswordFieldsByServerVersion) {
  const std::string digest(28, 'd');
  struct Case {
    const char* label;
    int version;
    const char* in;
    size_t outLength;
    bool unchanged;
  } cases[] = {
      {"digest on version 10", 10, "secret", 28, false},
      {"digest text travels as it is", 14, digest.c_str(), 28, true},
      {"scrambled below 10", 9, "secret", 30, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ZQFieldValueStruct fv{};
    fv.fieldId = 102;
    fv.value.dataType = ZQ_DATA_TYPE_CHAR;
    fv.value.u.charValue = const_cast<char*>(c.in);
    ZQFieldValueList list{1, &fv};
    zq::calls::ServerTraits server;
    server.version = c.version;
    zq::calls::PreparedValues prepared;
    Status s;
    ASSERT_EQ(zq::calls::prepareValues(server, &list, true, prepared, &s), 0);
    const char* sent = prepared.list().items[0].value.u.charValue;
    EXPECT_EQ(strlen(sent), c.outLength);
    EXPECT_EQ(std::string(sent) == c.in, c.unchanged);
    EXPECT_STREQ(fv.value.u.charValue, c.in);  // the caller's list is never changed
  }
}

TEST_F(EntryValues, OutOfMemoryAnywhereLeavesNothingBehind) {
  const std::string content = sample(20000);
  ZQAttachStruct a{};
  a.name = const_cast<char*>("a.txt");
  a.location.locationType = ZQ_LOC_BUFFER;
  a.location.u.buffer.size = static_cast<uint32_t>(content.size());
  a.location.u.buffer.bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(content.data()));
  ZQFieldValueStruct fv[2] = {};
  fv[0].fieldId = 536870913;
  fv[0].value.dataType = ZQ_DATA_TYPE_ATTACH;
  fv[0].value.u.attachmentValue = &a;
  fv[1].fieldId = 102;
  fv[1].value.dataType = ZQ_DATA_TYPE_CHAR;
  fv[1].value.u.charValue = const_cast<char*>("secret");
  ZQFieldValueList list{2, fv};
  bool succeeded = false;
  for (long n = 0; n < 200 && !succeeded; ++n) {
    zq::calls::PreparedValues prepared;
    Status s;
    zq::testing::failAllocationsAfter(n);
    const int rc = zq::calls::prepareValues({}, &list, true, prepared, &s);
    zq::testing::failAllocationsAfter(-1);
    succeeded = rc == 0;
    if (!succeeded) {
      EXPECT_GE(rc, 2);  // 3 when even the message cannot be added
    }
  }
  EXPECT_TRUE(succeeded);
}

}  // namespace
