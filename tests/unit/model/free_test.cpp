// Reset rules of the Free family.
#include <gtest/gtest.h>

#include "unit/model/dump.h"
#include "unit/model/fixtures.h"

namespace {

using namespace zqtest::fx;

TEST(Free, NullValueIsIgnored) {
  FreeZQValueStruct(nullptr, 1);
  FreeZQQualifierList(nullptr, 0);
}

TEST(Free, ListWithNullItemsIsOnlyReset) {
  ZQValueList list{3, nullptr};
  FreeZQValueList(&list, 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);
}

TEST(Free, ListWithCountZeroKeepsItsBlock) {
  ZQInternalId ids[2] = {1, 2};  // not from the heap: it must not be released
  ZQInternalIdList list{0, ids};
  FreeZQInternalIdList(&list, 0);
  EXPECT_EQ(list.items, nullptr);
  EXPECT_EQ(ids[1], 2u);
}

TEST(Free, ValueIsZeroFilledAndCanBeFreedTwice) {
  ZQValueStruct value = currencyValue();
  FreeZQValueStruct(&value, 0);
  EXPECT_EQ(value.dataType, 0u);
  EXPECT_EQ(value.u.currencyValue, nullptr);
  FreeZQValueStruct(&value, 0);

  ZQValueStruct null{};
  FreeZQValueStruct(&null, 0);
  EXPECT_EQ(null.dataType, 0u);
}

TEST(Free, FreeStructReleasesTheBlock) {
  auto* list = node(mixedValues());
  FreeZQValueList(list, 1);  // ASan reports a leak otherwise
  auto* q = node(richQualifier());
  FreeZQQualifierStruct(q, 0);
  EXPECT_EQ(q->operation, 0u);
  FreeZQQualifierStruct(q, 1);
}

// Kept structures are reset by their own rule.
TEST(Free, ResetRules) {
  ZQPropStruct prop{20, charValue("x")};
  FreeZQPropStruct(&prop, 0);
  EXPECT_EQ(prop.propertyTag, 0u);
  EXPECT_EQ(prop.value.dataType, 0u);

  ZQFieldValueStruct fv{7, charValue("x")};
  FreeZQFieldValueStruct(&fv, 0);
  EXPECT_EQ(fv.fieldId, 7u);  // not reset; its value is
  EXPECT_EQ(fv.value.dataType, 0u);

  ZQValueStruct attach = attachValue(ZQ_LOC_BUFFER, {1, 2});
  ZQAttachStruct* a = attach.u.attachmentValue;
  FreeZQAttachStruct(a, 0);
  EXPECT_EQ(a->name, nullptr);
  EXPECT_EQ(a->originalSize, 0);
  EXPECT_EQ(a->compressedSize, 0);
  EXPECT_EQ(a->location.locationType, 0u);
  FreeZQValueStruct(&attach, 0);

  ZQByteList* bytes = byteListValue({1, 2}).u.byteListValue;
  FreeZQByteList(bytes, 0);
  EXPECT_EQ(bytes->type, 7u);
  EXPECT_EQ(bytes->count, 0u);
  EXPECT_EQ(bytes->bytes, nullptr);
  FreeZQByteList(bytes, 1);

  ZQAssignStruct field = fieldAssign(ZQ_CURRENCY_FLD);
  ZQAssignFieldStruct* f = field.u.field;
  FreeZQAssignFieldStruct(f, 0);
  EXPECT_EQ(f->qualifier.operation, 0u);
  EXPECT_EQ(f->tag, 1u);
  EXPECT_EQ(f->u.currencyField, nullptr);
  FreeZQAssignStruct(&field, 0);
  EXPECT_EQ(field.assignType, 0u);
  EXPECT_EQ(field.u.field, nullptr);

  ZQAssignSQLStruct* sql = sqlAssign().u.sql;
  FreeZQAssignSQLStruct(sql, 0);
  EXPECT_STREQ(sql->server, "");
  EXPECT_EQ(sql->sqlCommand, nullptr);
  EXPECT_EQ(sql->valueIndex, 1u);
  FreeZQAssignSQLStruct(sql, 1);

  ZQDDEStruct* dde = ddeAssign().u.dde;
  FreeZQDDEStruct(dde, 0);
  EXPECT_EQ(dde->serviceName, nullptr);
  EXPECT_EQ(dde->command, nullptr);
  EXPECT_EQ(dde->action, 2u);
  FreeZQDDEStruct(dde, 1);

  ZQEntryListFieldValueStruct e{entryIds({"1"}), node(fieldValues())};
  FreeZQEntryListFieldValueStruct(&e, 0);
  EXPECT_EQ(e.fieldValues, nullptr);
  EXPECT_EQ(e.entryId.count, 0u);

  ZQDisplayInstanceList d{props(), 1, array({ZQDisplayInstanceStruct{3, props()}})};
  FreeZQDisplayInstanceList(&d, 0);
  EXPECT_EQ(d.count, 0u);
  EXPECT_EQ(d.items, nullptr);
  EXPECT_EQ(d.commonProperties.count, 0u);
}

// The left operand of NEGATE is not the operation's: it is never touched.
TEST(Free, NegateLeavesItsLeftOperand) {
  ZQArithOpStruct* op = static_cast<ZQArithOpStruct*>(ZQCalloc(1, sizeof(ZQArithOpStruct)));
  op->operation = ZQ_ARITH_OP_NEGATE;
  op->left.tag = ZQ_ARITHMETIC;
  op->left.u.arithOp = reinterpret_cast<ZQArithOpStruct*>(0x10);  // garbage
  op->right = valueOperand(charValue("5"));
  FreeZQArithOpStruct(op, 0);
  EXPECT_EQ(op->left.u.arithOp, reinterpret_cast<ZQArithOpStruct*>(0x10));
  EXPECT_EQ(op->right.u.value.dataType, 0u);
  FreeZQArithOpStruct(op, 1);

  ZQAssignStruct a = arithAssign(ZQ_ARITH_OP_NEGATE, ZQAssignStruct{}, valueAssign(intValue(1)));
  a.u.arithOp->left.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  a.u.arithOp->left.u.process = reinterpret_cast<char*>(0x20);
  FreeZQAssignStruct(&a, 0);  // ASan: nothing touched at 0x20
}

// A qualification list kept by the caller no longer points to released
// memory: freeing it again is harmless.
TEST(Free, QualifierListCanBeFreedTwice) {
  ZQQualifierList list{2, array({richQualifier(), richQualifier()})};
  FreeZQQualifierList(&list, 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);
  FreeZQQualifierList(&list, 0);
}

// Released pointers inside structures that are "not reset" are nulled too.
TEST(Free, RelOpKeptAfterFreeHoldsNoDanglingPointer) {
  ZQRelOpStruct rel{ZQ_REL_OP_EQUAL, arithOperand(1, fieldOperand(1), fieldOperand(2)),
                    valueOperand(charValue("x"))};
  FreeZQRelOpStruct(&rel, 0);
  EXPECT_EQ(rel.operation, ZQ_REL_OP_EQUAL);
  EXPECT_EQ(rel.left.tag, uint32_t{ZQ_ARITHMETIC});
  EXPECT_EQ(rel.left.u.arithOp, nullptr);
  FreeZQRelOpStruct(&rel, 0);
}

TEST(Free, PointerListsOwnTheirBlocksOrOnlyTheContents) {
  // A flat pointer list owns each block.
  ZQTextStringList texts{2, array({str("a"), str("b")})};
  FreeZQTextStringList(&texts, 0);
  EXPECT_EQ(texts.count, 0u);

  // A value pointer list releases only what the values hold.
  ZQValueStruct held[2] = {charValue("one"), currencyValue()};
  ZQValuePtrList values{2, array<ZQValueStruct*>({&held[0], &held[1]})};
  FreeZQValuePtrList(&values, 0);
  EXPECT_EQ(values.items, nullptr);
  EXPECT_EQ(held[0].dataType, 0u);
  EXPECT_EQ(held[1].u.currencyValue, nullptr);

  ZQPermissionList perms{1, array({ZQPermissionStruct{1, 2}})};
  ZQPermissionListPtrList permPtrs{1, array<ZQPermissionList*>({&perms})};
  FreeZQPermissionListPtrList(&permPtrs, 0);
  EXPECT_EQ(perms.count, 0u);
  EXPECT_EQ(perms.items, nullptr);

  ZQDisplayInstanceList display{props(), 0, nullptr};
  ZQDisplayInstanceListPtrList displayPtrs{1, array<ZQDisplayInstanceList*>({&display})};
  FreeZQDisplayInstanceListPtrList(&displayPtrs, 0);
  EXPECT_EQ(display.commonProperties.count, 0u);
}

}  // namespace
