// The compression layer: round trips, limits, files, broken streams and
// running out of memory.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>

#include "frame/alloc.h"
#include "platform/compress.h"
#include "zqapi/zq_session.h"

namespace {

using zq::platform::ZBuffer;
using zq::platform::ZResult;

std::string sample(size_t n) {
  std::string s;
  for (size_t i = 0; s.size() < n; ++i) s += "entry " + std::to_string(i * 31 % 997) + ";";
  s.resize(n);
  return s;
}

std::string text(const ZBuffer& b) {
  return std::string(reinterpret_cast<const char*>(b.data), b.size);
}

struct Owned : ZBuffer {
  ~Owned() { ZQFree(data); }
};

TEST(Compress, RoundTripsAcrossSizes) {
  for (size_t n : {size_t{1}, size_t{100}, size_t{65536}, size_t{65537}, size_t{300000}}) {
    SCOPED_TRACE(n);
    const std::string in = sample(n);
    Owned packed, plain;
    ASSERT_EQ(zq::platform::compressBytes(in.data(), in.size(), packed), ZResult::ok);
    EXPECT_LT(packed.size, in.size() + 64);
    ASSERT_EQ(zq::platform::decompressBytes(packed.data, packed.size, 0, plain), ZResult::ok);
    EXPECT_EQ(text(plain), in);
  }
  Owned empty;
  EXPECT_EQ(zq::platform::compressBytes("", 0, empty), ZResult::ok);
  EXPECT_EQ(empty.size, 0u);
  EXPECT_EQ(empty.data, nullptr);
}

// The stream format is plain zlib: another zlib user reads what we write.
TEST(Compress, ProducesZlibStreams) {
  const std::string in = sample(5000);
  Owned packed;
  ASSERT_EQ(zq::platform::compressBytes(in.data(), in.size(), packed), ZResult::ok);
  std::string out(in.size(), '\0');
  uLongf outLen = out.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &outLen, packed.data, packed.size),
            Z_OK);
  EXPECT_EQ(out, in);
}

TEST(Compress, RefusesBrokenAndOversizedStreams) {
  const std::string in = sample(10000);
  Owned packed;
  ASSERT_EQ(zq::platform::compressBytes(in.data(), in.size(), packed), ZResult::ok);
  Owned out;
  EXPECT_EQ(zq::platform::decompressBytes(packed.data, packed.size / 2, 0, out),
            ZResult::corrupt);  // truncated
  EXPECT_EQ(out.data, nullptr);
  EXPECT_EQ(zq::platform::decompressBytes(in.data(), in.size(), 0, out), ZResult::corrupt);
  EXPECT_EQ(zq::platform::decompressBytes(packed.data, packed.size, 0, out, 9999),
            ZResult::corrupt);  // larger than allowed
  EXPECT_EQ(zq::platform::decompressBytes(packed.data, packed.size, 0, out, 10000), ZResult::ok);
  EXPECT_EQ(out.size, 10000u);
}

// A zlib bomb inflates in steps and stops at the bound; a declared size is
// believed only as far as the input can inflate.
TEST(Compress, BombsStopAtTheBound) {
  const std::string zeros(64u << 20, '\0');
  Owned bomb;
  ASSERT_EQ(zq::platform::compressBytes(zeros.data(), zeros.size(), bomb), ZResult::ok);
  ASSERT_LT(bomb.size, 128u * 1024);
  Owned out;
  EXPECT_EQ(zq::platform::decompressBytes(bomb.data, bomb.size, 0, out, 1u << 20),
            ZResult::corrupt);
  EXPECT_EQ(out.data, nullptr);
  EXPECT_EQ(zq::platform::decompressBytes(bomb.data, bomb.size, SIZE_MAX / 2, out, 1u << 20),
            ZResult::corrupt);
  // A small stream that declares 2 GiB still inflates to what it holds.
  const std::string in = sample(1000);
  Owned packed;
  ASSERT_EQ(zq::platform::compressBytes(in.data(), in.size(), packed), ZResult::ok);
  EXPECT_EQ(zq::platform::decompressBytes(packed.data, packed.size, 2u << 30, out), ZResult::ok);
  EXPECT_EQ(out.size, 1000u);
}

TEST(Compress, FilesWithAndWithoutLimit) {
  const std::string in = sample(200000);
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  fwrite(in.data(), 1, in.size(), f);
  struct Case {
    size_t limit;
    size_t expect;
  } cases[] = {{0, in.size()}, {1000, 1000}, {in.size() + 5, in.size()}, {65536, 65536}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    rewind(f);
    Owned packed, plain;
    size_t read = 0;
    ASSERT_EQ(zq::platform::compressFile(f, c.limit, packed, read), ZResult::ok);
    EXPECT_EQ(read, c.expect);
    ASSERT_EQ(zq::platform::decompressBytes(packed.data, packed.size, read, plain), ZResult::ok);
    EXPECT_EQ(text(plain), in.substr(0, c.expect));
  }
  // And back into a file.
  rewind(f);
  Owned packed;
  size_t read = 0;
  ASSERT_EQ(zq::platform::compressFile(f, 0, packed, read), ZResult::ok);
  FILE* out = tmpfile();
  size_t written = 0;
  ASSERT_EQ(zq::platform::decompressToFile(packed.data, packed.size, out, written), ZResult::ok);
  EXPECT_EQ(written, in.size());
  fclose(out);
  fclose(f);
}

TEST(Compress, OutOfMemoryLeavesNothingBehind) {
  const std::string in = sample(150000);
  Owned packed;
  ASSERT_EQ(zq::platform::compressBytes(in.data(), in.size(), packed), ZResult::ok);
  bool sawSuccess = false;
  for (long n = 0; n < 40 && !sawSuccess; ++n) {
    zq::testing::failAllocationsAfter(n);
    Owned a, b;
    const ZResult r1 = zq::platform::compressBytes(in.data(), in.size(), a);
    const ZResult r2 = zq::platform::decompressBytes(packed.data, packed.size, 0, b);
    zq::testing::failAllocationsAfter(-1);
    EXPECT_TRUE(r1 == ZResult::ok || r1 == ZResult::noMemory);
    EXPECT_TRUE(r2 == ZResult::ok || r2 == ZResult::noMemory);
    if (r1 != ZResult::ok) {
      EXPECT_EQ(a.data, nullptr);
    }
    if (r2 != ZResult::ok) {
      EXPECT_EQ(b.data, nullptr);
    }
    sawSuccess = r1 == ZResult::ok && r2 == ZResult::ok;
  }
  EXPECT_TRUE(sawSuccess);
}

}  // namespace
