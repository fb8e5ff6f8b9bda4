// Rules of the copy functions beyond the plain deep copy (the table tests run
// every copy through success and every allocation failure).
#include <gtest/gtest.h>

#include "frame/alloc.h"
#include "unit/model/dump.h"
#include "unit/model/fixtures.h"

namespace {

using namespace zqtest::fx;

TEST(Copy, NameListGetsRoomForTheNextMultipleOfTen) {
  struct {
    uint32_t count;
    size_t room;
  } cases[] = {{1, 10}, {9, 10}, {10, 20}, {25, 30}, {30, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    ZQNameList src{c.count, static_cast<ZQNameType*>(ZQCalloc(c.count, sizeof(ZQNameType)))};
    for (uint32_t i = 0; i < c.count; ++i) snprintf(src.items[i], sizeof(ZQNameType), "n%u", i);
    ZQNameList dst;
    ASSERT_EQ(ZQCopyNameList(&dst, &src), 0);
    ASSERT_EQ(dst.count, c.count);
    EXPECT_EQ(zqtest::dump(dst), zqtest::dump(src));
    // The spare slots exist (ASan would object otherwise) and are zeroed.
    for (size_t i = c.count; i < c.room; ++i)
      for (size_t k = 0; k < sizeof(ZQNameType); ++k) ASSERT_EQ(dst.items[i][k], 0);
    FreeZQNameList(&dst, 0);
    FreeZQNameList(&src, 0);
  }
  ZQNameList empty{0, nullptr}, dst{7, reinterpret_cast<ZQNameType*>(0x1)};
  EXPECT_EQ(ZQCopyNameList(&dst, &empty), 0);
  EXPECT_EQ(dst.count, 0u);
  EXPECT_EQ(dst.items, nullptr);
}

TEST(Copy, InternalIdListWithSpareRoundsToHundreds) {
  ZQInternalIdList src{150, static_cast<ZQInternalId*>(ZQCalloc(150, sizeof(ZQInternalId)))};
  for (uint32_t i = 0; i < 150; ++i) src.items[i] = i + 1;
  ZQInternalIdList dst;
  ASSERT_EQ(ZQCopyInternalIdListWithSpare(&dst, &src), 0);
  EXPECT_EQ(dst.count, 150u);
  EXPECT_EQ(dst.items[149], 150u);
  for (uint32_t i = 150; i < 200; ++i) EXPECT_EQ(dst.items[i], 0u);
  FreeZQInternalIdList(&dst, 0);
  FreeZQInternalIdList(&src, 0);
}

TEST(Copy, ServerLogNoteGetsWholeBlocks) {
  const std::string text(10000, 'L');
  ZQStatusStruct note{ZQ_MESSAGE_NOTE, 8914, str(text.c_str()), nullptr};
  ZQStatusStruct copy;
  ASSERT_EQ(ZQCopyStatusStruct(&copy, &note), 0);
  EXPECT_EQ(std::string(copy.message), text);
  copy.message[16383] = 'x';  // within the 16384-byte buffer (ASan checks)
  ZQFree(copy.message);
  ZQFree(note.message);

  // Any other entry gets an exact duplicate.
  ZQStatusStruct warning{ZQ_MESSAGE_WARNING, 8914, str("w"), str("a")};
  ASSERT_EQ(ZQCopyStatusStruct(&copy, &warning), 0);
  EXPECT_STREQ(copy.message, "w");
  EXPECT_STREQ(copy.appended, "a");
  EXPECT_NE(copy.message, warning.message);
  ZQFree(copy.message);
  ZQFree(copy.appended);
  ZQFree(warning.message);
  ZQFree(warning.appended);
}

TEST(Copy, AttachmentBufferOfNoBytes) {
  ZQValueStruct src = attachValue(ZQ_LOC_BUFFER, {});
  ZQValueStruct dst;
  ASSERT_EQ(ZQCopyValueStruct(&dst, &src), 0);
  EXPECT_EQ(dst.u.attachmentValue->location.locationType, uint32_t{ZQ_LOC_BUFFER});
  EXPECT_EQ(dst.u.attachmentValue->location.u.buffer.size, 0u);
  EXPECT_EQ(dst.u.attachmentValue->location.u.buffer.bytes, nullptr);
  FreeZQValueStruct(&dst, 0);
  FreeZQValueStruct(&src, 0);

  // An unknown location type copies as no location at all.
  src = attachValue(7, {});
  src.u.attachmentValue->location.u.filename = reinterpret_cast<char*>(0x30);
  ASSERT_EQ(ZQCopyValueStruct(&dst, &src), 0);
  EXPECT_EQ(dst.u.attachmentValue->location.locationType, 0u);
  EXPECT_EQ(dst.u.attachmentValue->location.u.filename, nullptr);
  FreeZQValueStruct(&dst, 0);
  src.u.attachmentValue->location.locationType = 0;
  FreeZQValueStruct(&src, 0);
}

TEST(Copy, QualifierTreeGetsNewNodesEverywhere) {
  ZQQualifierStruct none{};
  ZQQualifierStruct src = both(
      ZQ_COND_OP_AND,
      negation(relation(ZQ_REL_OP_EQUAL, fieldOperand(7), valueOperand(charValue("open")))), none);
  ZQQualifierStruct dst;
  ASSERT_EQ(ZQCopyQualifierStruct(&dst, &src), 0);
  EXPECT_EQ(zqtest::dump(dst), zqtest::dump(src));
  ASSERT_EQ(dst.u.andOr.left->operation, uint32_t{ZQ_COND_OP_NOT});
  ZQRelOpStruct* rel = dst.u.andOr.left->u.operand->u.relation;
  EXPECT_NE(rel, src.u.andOr.left->u.operand->u.relation);
  EXPECT_NE(rel->right.u.value.u.charValue,
            src.u.andOr.left->u.operand->u.relation->right.u.value.u.charValue);
  EXPECT_EQ(dst.u.andOr.right->operation, 0u);
  const auto copied = zqtest::blocksOf(dst), original = zqtest::blocksOf(src);
  for (const void* p : copied) EXPECT_EQ(original.count(p), 0u);
  EXPECT_EQ(copied.size(), original.size());
  FreeZQQualifierStruct(&dst, 0);
  FreeZQQualifierStruct(&src, 0);
}

// The copy of a NEGATE does not carry the left operand that nothing would
// release.
TEST(Copy, NegateCopiesOnlyItsRightOperand) {
  ZQArithOpStruct src{ZQ_ARITH_OP_NEGATE, valueOperand(charValue("left")), fieldOperand(3)};
  ZQArithOpStruct dst;
  ASSERT_EQ(ZQCopyArithOpStruct(&dst, &src), 0);
  EXPECT_EQ(dst.left.tag, 0u);
  EXPECT_EQ(dst.right.u.fieldId, 3u);
  FreeZQArithOpStruct(&dst, 0);
  FreeZQValueStruct(&src.left.u.value, 0);
}

TEST(Copy, NullArguments) {
  ZQValueList dst{5, reinterpret_cast<ZQValueStruct*>(0x1)};
  EXPECT_EQ(ZQCopyValueList(&dst, nullptr), 0);
  EXPECT_EQ(dst.count, 0u);
  EXPECT_EQ(dst.items, nullptr);
  EXPECT_EQ(ZQCopyValueList(nullptr, nullptr), 0);
  ZQValueList src = mixedValues();
  EXPECT_EQ(ZQCopyValueList(nullptr, &src), ZQ_COPY_NO_DESTINATION);
  EXPECT_EQ(ZQCopyNameList(nullptr, nullptr), 0);
  // Copying onto itself changes nothing.
  EXPECT_EQ(ZQCopyValueList(&src, &src), 0);
  FreeZQValueList(&src, 0);
}

TEST(Copy, RoundedCopyOutOfMemory) {
  ZQNameList src = names({"a", "b"});
  ZQNameList dst;
  zq::testing::failAllocationsAfter(0);
  EXPECT_EQ(ZQCopyNameList(&dst, &src), 300);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(dst.count, 0u);
  EXPECT_EQ(dst.items, nullptr);
  ZQStatusStruct note{ZQ_MESSAGE_NOTE, 8914, str("log"), nullptr};
  ZQStatusStruct copy;
  zq::testing::failAllocationsAfter(0);
  EXPECT_EQ(ZQCopyStatusStruct(&copy, &note), 300);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(copy.message, nullptr);
  ZQFree(note.message);
  FreeZQNameList(&src, 0);
}

TEST(Copy, EveryCopyOrdinalIsExported) {
  struct {
    unsigned ordinal;
    void* function;
  } table[] = {
      {1001, reinterpret_cast<void*>(&ZQCopyAssignFilterApiStruct)},
      {1002, reinterpret_cast<void*>(&ZQCopyValueStruct)},
      {1003, reinterpret_cast<void*>(&ZQCopyPermissionList)},
      {1004, reinterpret_cast<void*>(&ZQCopyPermissionList)},
      {1005, reinterpret_cast<void*>(&ZQCopyNameList)},
      {1006, reinterpret_cast<void*>(&ZQCopyTextStringList)},
      {1007, reinterpret_cast<void*>(&ZQCopyInternalIdList)},
      {1008, reinterpret_cast<void*>(&ZQCopyAccessNameList)},
      {1012, reinterpret_cast<void*>(&ZQCopySortList)},
      {1013, reinterpret_cast<void*>(&ZQCopyEntryListFieldList)},
      {1015, reinterpret_cast<void*>(&ZQCopyStatusHistoryList)},
      {1016, reinterpret_cast<void*>(&ZQCopyFieldValueStruct)},
      {1017, reinterpret_cast<void*>(&ZQCopyPropList)},
      {1018, reinterpret_cast<void*>(&ZQCopyDisplayInstanceStruct)},
      {1019, reinterpret_cast<void*>(&ZQCopyDisplayInstanceList)},
      {1020, reinterpret_cast<void*>(&ZQCopyInternalIdListWithSpare)},
      {1022, reinterpret_cast<void*>(&ZQCopyFieldValueList)},
      {1023, reinterpret_cast<void*>(&ZQCopyValueList)},
      {1024, reinterpret_cast<void*>(&ZQCopyRelOpStruct)},
      {1025, reinterpret_cast<void*>(&ZQCopyQueryStruct)},
      {1026, reinterpret_cast<void*>(&ZQCopyFieldValueOrArithStruct)},
      {1027, reinterpret_cast<void*>(&ZQCopyArithOpStruct)},
      {1028, reinterpret_cast<void*>(&ZQCopyQualifierStruct)},
      {1029, reinterpret_cast<void*>(&ZQCopyAssignFieldStruct)},
      {1030, reinterpret_cast<void*>(&ZQCopyFieldAssignStruct)},
      {1031, reinterpret_cast<void*>(&ZQCopyArithOpAssignStruct)},
      {1032, reinterpret_cast<void*>(&ZQCopyFunctionAssignStruct)},
      {1033, reinterpret_cast<void*>(&ZQCopyDDEStruct)},
      {1034, reinterpret_cast<void*>(&ZQCopyAssignSQLStruct)},
      {1035, reinterpret_cast<void*>(&ZQCopyAssignStruct)},
      {1036, reinterpret_cast<void*>(&ZQCopyFieldAssignList)},
      {1056, reinterpret_cast<void*>(&ZQCopyStatusStruct)},
      {1057, reinterpret_cast<void*>(&ZQCopyStatusList)},
      {1061, reinterpret_cast<void*>(&ZQCopyCurrencyStruct)},
      {1062, reinterpret_cast<void*>(&ZQCopyServerInfoStruct)},
      {1065, reinterpret_cast<void*>(&ZQCopyEntryIdList)},
      {1066, reinterpret_cast<void*>(&ZQCopyEntryListFieldValueList)},
  };
  for (const auto& e : table) EXPECT_EQ(ZQGetOrdinal(e.ordinal), e.function) << e.ordinal;
}

}  // namespace
