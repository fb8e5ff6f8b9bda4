// Every sample structure through every protocol version, through the copy
// functions under a failing allocator, and through truncated input.
#include <gtest/gtest.h>

#include "frame/alloc.h"
#include "support/session.h"
#include "unit/model/cases.h"

namespace {

using zqtest::ModelCase;
using zqtest::Slot;

class ModelTable : public ::testing::TestWithParam<ModelCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }
  void TearDown() override { zq::testing::failAllocationsAfter(-1); }
  zqtest::Session session_;
};

TEST_P(ModelTable, RoundTripsInEveryVersion) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    for (int version = c.minVersion; version <= zq::model::kNewestVersion; ++version) {
      SCOPED_TRACE("version " + std::to_string(version));
      std::vector<char> wire;
      ASSERT_TRUE(c.encode(sample, version, wire));
      Slot decoded(c.size);
      ASSERT_TRUE(c.decodePrefix(wire, wire.size(), decoded.get(), version));
      EXPECT_EQ(c.dumpAt(decoded.get(), version), c.dumpAt(sample, version));
      std::vector<char> again;
      EXPECT_TRUE(c.encode(decoded.get(), version, again));
      EXPECT_EQ(again, wire);
      c.releaseInPlace(decoded.get());
      EXPECT_TRUE(decoded.zeroed() || c.blocks(decoded.get()).empty());
    }
  });
}

TEST_P(ModelTable, CopyIsIndependentOfItsSource) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    const std::string before = c.dumpAt(sample, zq::model::kNewestVersion);
    Slot copy(c.size);
    ASSERT_EQ(c.copy(copy.get(), sample), 0);
    EXPECT_EQ(c.dumpAt(copy.get(), zq::model::kNewestVersion), before);
    for (const void* block : c.blocks(copy.get())) EXPECT_EQ(c.blocks(sample).count(block), 0u);
    c.releaseInPlace(copy.get());
    EXPECT_EQ(c.dumpAt(sample, zq::model::kNewestVersion), before);
  });
}

// Each allocation of the copy fails in turn: the copy gives 300 and an empty
// destination that can be released, until it has room to succeed. ASan
// reports anything left behind.
TEST_P(ModelTable, CopyFailsCleanlyAtEveryAllocation) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    const std::string before = c.dumpAt(sample, zq::model::kNewestVersion);
    for (long n = 0;; ++n) {
      Slot copy(c.size);
      memset(copy.get(), 0xA5, c.size);  // the destination is not read
      zq::testing::failAllocationsAfter(n);
      const int32_t rc = c.copy(copy.get(), sample);
      const bool failed = zq::testing::failedAllocations() > 0;
      zq::testing::failAllocationsAfter(-1);
      if (!failed) {
        ASSERT_EQ(rc, 0);
        EXPECT_EQ(c.dumpAt(copy.get(), zq::model::kNewestVersion), before);
        c.releaseInPlace(copy.get());
        break;
      }
      SCOPED_TRACE("allocation " + std::to_string(n));
      ASSERT_EQ(rc, 300);
      EXPECT_TRUE(copy.zeroed());
      c.releaseInPlace(copy.get());
      ASSERT_LT(n, 1000);
    }
    EXPECT_EQ(c.dumpAt(sample, zq::model::kNewestVersion), before);
  });
}

// Input cut anywhere fails to decode and leaves a releasable structure.
TEST_P(ModelTable, TruncatedInputFailsAndStaysReleasable) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    for (int version : {c.minVersion, zq::model::kNewestVersion}) {
      std::vector<char> wire;
      ASSERT_TRUE(c.encode(sample, version, wire));
      for (size_t cut = 0; cut < wire.size(); ++cut) {
        Slot decoded(c.size);
        EXPECT_FALSE(c.decodePrefix(wire, cut, decoded.get(), version)) << "cut at " << cut;
        c.releaseInPlace(decoded.get());
      }
    }
  });
}

// Decoding under a failing allocator fails cleanly at each allocation.
TEST_P(ModelTable, DecodeFailsCleanlyAtEveryAllocation) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    std::vector<char> wire;
    ASSERT_TRUE(c.encode(sample, zq::model::kNewestVersion, wire));
    for (long n = 0;; ++n) {
      Slot decoded(c.size);
      zq::testing::failAllocationsAfter(n);
      const bool ok = c.decodePrefix(wire, wire.size(), decoded.get(), zq::model::kNewestVersion);
      const bool failed = zq::testing::failedAllocations() > 0;
      zq::testing::failAllocationsAfter(-1);
      c.releaseInPlace(decoded.get());
      if (!failed) {
        EXPECT_TRUE(ok);
        break;
      }
      EXPECT_FALSE(ok);
      ASSERT_LT(n, 1000);
    }
  });
}

std::string caseName(const ::testing::TestParamInfo<ModelCase>& info) {
  std::string name;
  for (char ch : info.param.name) name += isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(AllStructures, ModelTable, ::testing::ValuesIn(zqtest::modelCases()),
                         caseName);

}  // namespace
