// Decoding character menus is bounded: a sub-menu chain deeper than the codec
// allows fails cleanly instead of exhausting the stack, and what was read so
// far can still be released.
#include "model/describe_defs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/session.h"

namespace {

void word(std::vector<char>& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>(v >> shift));
}

// A list menu whose single item is a sub-menu, `depth` times, ending in an
// empty menu; written by hand so that no encoder limits it.
std::vector<char> menuChain(int depth) {
  std::vector<char> b;
  for (int i = 0; i < depth; ++i) {
    word(b, ZQ_CHAR_MENU_LIST);
    word(b, 1);                    // one item
    b.insert(b.end(), 256, '\0');  // empty label
    word(b, ZQ_MENU_ITEM_MENU);
    word(b, 1);  // the sub-menu is present
  }
  word(b, ZQ_CHAR_MENU_NONE);
  return b;
}

int depthOf(const ZQCharMenuStruct& menu) {
  int depth = 0;
  for (const ZQCharMenuStruct* m = &menu; m->menuType == ZQ_CHAR_MENU_LIST;
       m = m->u.menuList.items[0].u.childMenu)
    ++depth;
  return depth;
}

class DefsDepth : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    zq::setCurrentContext(session_.context());
  }
  zqtest::Session session_;
};

TEST_F(DefsDepth, MenuChainsWithinTheLimitDecode) {
  for (int depth : {1, 16, static_cast<int>(zq::model::kMaxDecodeDepth)}) {
    const std::vector<char> wire = menuChain(depth);
    ZQCharMenuStruct menu{};
    ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), menu, 14)) << depth;
    EXPECT_EQ(depthOf(menu), depth);
    ZQCharMenuStruct copy;
    ASSERT_EQ(ZQCopyCharMenuStruct(&copy, &menu), 0);
    std::vector<char> again;
    EXPECT_TRUE(zq::model::encodeToBuffer(copy, 14, again));
    EXPECT_EQ(again, wire);
    FreeZQCharMenuStruct(&copy, 0);
    FreeZQCharMenuStruct(&menu, 0);
  }
}

TEST_F(DefsDepth, DeeperMenuChainsFailCleanly) {
  for (int depth : {static_cast<int>(zq::model::kMaxDecodeDepth) + 1, 5000, 100000}) {
    const std::vector<char> wire = menuChain(depth);
    ZQCharMenuStruct menu{};
    EXPECT_FALSE(zq::model::decodeFromBuffer(wire.data(), wire.size(), menu, 14)) << depth;
    FreeZQCharMenuStruct(&menu, 0);  // what was read is released; ASan checks it all
    EXPECT_EQ(menu.menuType, 0u);
  }
}

// A list count larger than the bytes that follow is refused before anything
// is allocated for it.
TEST_F(DefsDepth, MenuItemCountBeyondTheInputIsRefused) {
  std::vector<char> wire;
  word(wire, ZQ_CHAR_MENU_LIST);
  word(wire, 0x40000000);
  word(wire, 0);
  ZQCharMenuStruct menu{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(wire.data(), wire.size(), menu, 14));
  FreeZQCharMenuStruct(&menu, 0);
}

}  // namespace
