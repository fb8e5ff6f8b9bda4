// ZQGetEntryBlock with blocks no server should send: a block that inflates
// to more than a block can hold is refused before it takes gigabytes.
#include <gtest/gtest.h>

#include <string>

#include "frame/status.h"
#include "platform/compress.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

TEST(EntryBlock, HostileBlocksAreRefused) {
  const std::string zeros((64u << 20) + 4, '\0');
  zq::platform::ZBuffer bomb;
  ASSERT_EQ(zq::platform::compressBytes(zeros.data(), zeros.size(), bomb),
            zq::platform::ZResult::ok);
  const std::string garbage(64, '\x7f');
  ZQEntryBlockStruct items[] = {
      {static_cast<uint32_t>(bomb.size), bomb.data},
      {static_cast<uint32_t>(garbage.size()),
       reinterpret_cast<unsigned char*>(const_cast<char*>(garbage.data()))},
  };
  ZQEntryBlockList blocks{2, items};
  for (uint32_t index : {0u, 1u}) {
    SCOPED_TRACE(index);
    ZQEntryListFieldValueList entries{0, nullptr};
    Status s;
    EXPECT_EQ(ZQGetEntryBlock(&blocks, index, &entries, &s), 2);
    EXPECT_TRUE(s.has(zq::kMsgDecompressFailed));
    EXPECT_EQ(entries.count, 0u);
  }
  ZQFree(bomb.data);
}
