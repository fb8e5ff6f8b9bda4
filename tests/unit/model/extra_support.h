// Test helpers for the export item list and the debugger records: a session
// for the codec, round trips, copies under a failing allocator, and a writer
// of expected wire bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/alloc.h"
#include "model/codec.h"
// Before the dump visitor, which finds the descriptions declared before it.
#include "model/describe_debugger.h"
#include "model/describe_export.h"
#include "support/session.h"
#include "unit/model/dump.h"

namespace zqtest::extra {

class CodecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }
  void TearDown() override { zq::testing::failAllocationsAfter(-1); }
  Session session_;
};

// Encodes, decodes and encodes again in one version: the decoded structure
// reads the same as the sample and writes the same bytes. Returns the bytes.
template <class T>
std::vector<char> roundTrip(const T& sample, int version, void (*freeFn)(T*, ZQBoolean)) {
  SCOPED_TRACE("version " + std::to_string(version));
  std::vector<char> wire;
  EXPECT_TRUE(zq::model::encodeToBuffer(sample, version, wire));
  T decoded;
  EXPECT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), decoded, version));
  EXPECT_EQ(dump(decoded, version), dump(sample, version));
  std::vector<char> again;
  EXPECT_TRUE(zq::model::encodeToBuffer(decoded, version, again));
  EXPECT_EQ(again, wire);
  freeFn(&decoded, 0);
  return wire;
}

// Cuts the encoding of sample everywhere: every prefix fails to decode and
// leaves a structure its free function releases.
template <class T>
void truncatedInputFails(const T& sample, int version, void (*freeFn)(T*, ZQBoolean)) {
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(sample, version, wire));
  for (size_t cut = 0; cut < wire.size(); ++cut) {
    T decoded;
    EXPECT_FALSE(zq::model::decodeFromBuffer(wire.data(), cut, decoded, version)) << cut;
    freeFn(&decoded, 0);
  }
}

template <class T>
bool allZero(const T& value) {
  const auto* p = reinterpret_cast<const unsigned char*>(&value);
  for (size_t i = 0; i < sizeof(T); ++i)
    if (p[i]) return false;
  return true;
}

// Fails each allocation of the copy in turn, then lets it succeed: each
// failure gives 300 and an empty destination that its free function
// releases; the source never changes. Returns the number of allocations
// the copy needs.
template <class T>
long copyFailsCleanly(const T& source, int32_t (*copyFn)(T*, const T*),
                      void (*freeFn)(T*, ZQBoolean)) {
  const std::string before = dump(source);
  for (long n = 0;; ++n) {
    T copy;
    memset(static_cast<void*>(&copy), 0xA5, sizeof copy);  // never read
    zq::testing::failAllocationsAfter(n);
    const int32_t rc = copyFn(&copy, &source);
    const bool failed = zq::testing::failedAllocations() > 0;
    zq::testing::failAllocationsAfter(-1);
    if (!failed) {
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(dump(copy), before);
      freeFn(&copy, 0);
      EXPECT_EQ(dump(source), before);
      return n;
    }
    SCOPED_TRACE("allocation " + std::to_string(n));
    EXPECT_EQ(rc, 300);
    EXPECT_TRUE(allZero(copy));
    freeFn(&copy, 0);
    if (n > 1000) {
      ADD_FAILURE() << "the copy never succeeds";
      return n;
    }
  }
}

// Copies, checks that the copy reads the same and shares no block with its
// source, frees the copy and checks the source is intact.
template <class T>
void copyIsIndependent(const T& source, int32_t (*copyFn)(T*, const T*),
                       void (*freeFn)(T*, ZQBoolean)) {
  const std::string before = dump(source);
  T copy;
  ASSERT_EQ(copyFn(&copy, &source), 0);
  EXPECT_EQ(dump(copy), before);
  const auto sourceBlocks = blocksOf(source);
  for (const void* block : blocksOf(copy)) EXPECT_EQ(sourceBlocks.count(block), 0u);
  freeFn(&copy, 0);
  EXPECT_EQ(dump(source), before);
}

// Expected wire bytes, written from the XDR rules.
struct Wire {
  std::vector<char> bytes;
  Wire& u32(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  // Fixed opaque of width bytes, then padding to a multiple of 4.
  Wire& fixed(const char* text, size_t width) {
    const size_t n = strlen(text);
    bytes.insert(bytes.end(), text, text + n);
    bytes.insert(bytes.end(), width - n + (4 - width % 4) % 4, '\0');
    return *this;
  }
  // Counted string: length, bytes, padding.
  Wire& string(const char* text) {
    const size_t n = strlen(text);
    u32(static_cast<uint32_t>(n));
    bytes.insert(bytes.end(), text, text + n);
    bytes.insert(bytes.end(), (4 - n % 4) % 4, '\0');
    return *this;
  }
};

}  // namespace zqtest::extra
