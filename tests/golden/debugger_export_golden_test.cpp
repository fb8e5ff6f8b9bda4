// Wire vectors of the workflow debugger records (protocol version 14 only)
// and of the export item list, written by hand from the XDR rules, checked
// against the encoder and read back member by member.
#include "golden/wire.h"
#include "model/describe_debugger.h"
#include "model/describe_export.h"

namespace zqgolden {
namespace {

class DebuggerGolden : public GoldenTest {};

TEST_F(DebuggerGolden, CurrentLocation) {
  ZQEntryIdType id = "000000000000001";
  ZQWfdCurrentLocation where{};
  where.apiCall = 2;
  where.stage = 3;
  where.formName = text("Orders");
  where.workflowName = text("Check");
  where.guideName = nullptr;  // travels as an empty string
  where.detail = text("qualifier");
  where.executionOrder = 500;
  where.actionIndex = 1;
  where.elseActions = 1;
  where.entryIds = {1, &id};
  expectRefused(where, 13);
  const Wire golden = Wire()
                          .w(2)
                          .w(3)
                          .str("Orders")
                          .str("Check")
                          .str("")
                          .str("qualifier")
                          .w(500)
                          .w(1)
                          .w(1)
                          .w(1)
                          .name("000000000000001", 16);
  expectEncodes(where, 14, golden);
  ZQWfdCurrentLocation back = decodes<ZQWfdCurrentLocation>(golden, 14);
  EXPECT_EQ(back.apiCall, 2u);
  EXPECT_EQ(back.stage, 3u);
  EXPECT_STREQ(back.formName, "Orders");
  EXPECT_STREQ(back.workflowName, "Check");
  EXPECT_STREQ(back.guideName, "");
  EXPECT_STREQ(back.detail, "qualifier");
  EXPECT_EQ(back.executionOrder, 500u);
  EXPECT_EQ(back.actionIndex, 1u);
  EXPECT_EQ(back.elseActions, 1);
  ASSERT_EQ(back.entryIds.count, 1u);
  EXPECT_STREQ(back.entryIds.items[0], "000000000000001");
  FreeZQWfdCurrentLocation(&back, 0);
}

// The qualification travels at a qualifier step only.
TEST_F(DebuggerGolden, StepCarriesItsQualificationAtAQualifierStep) {
  ZQWfdStepStruct step{};
  step.type = ZQ_WFD_STEP_QUALIFIER;
  step.qualifier.operation = ZQ_COND_OP_FROM_FIELD;
  step.qualifier.u.fieldId = 9;
  const Wire qualifierStep = Wire().w(2).w(0).w(0).w(5).w(9);
  expectEncodes(step, 14, qualifierStep);
  ZQWfdStepStruct back = decodes<ZQWfdStepStruct>(qualifierStep, 14);
  EXPECT_EQ(back.type, uint32_t{ZQ_WFD_STEP_QUALIFIER});
  EXPECT_EQ(back.qualifier.u.fieldId, 9u);
  FreeZQWfdStepStruct(&back, 0);

  step.type = ZQ_WFD_STEP_ACTION;
  step.actionIndex = 4;
  step.elseActions = 1;
  const Wire actionStep = Wire().w(1).w(4).w(1);
  expectEncodes(step, 14, actionStep);
  back = decodes<ZQWfdStepStruct>(actionStep, 14);
  EXPECT_EQ(back.actionIndex, 4u);
  EXPECT_EQ(back.elseActions, 1);
  EXPECT_EQ(back.qualifier.operation, 0u);
  FreeZQWfdStepStruct(&back, 0);
  expectRefused(step, 13);
}

// Id, disabled flag, count, the condition inline (an absent one as the empty
// qualification), four words, the flag; then the flags word and the name,
// held inline (a name of 255) or as a string of at most 254.
TEST_F(DebuggerGolden, BreakpointSendsItsConditionInline) {
  ZQWfdBreakpoint bp{};
  bp.id = 7;
  bp.disabled = 1;
  bp.passCount = 3;
  bp.words[0] = 1;
  bp.words[1] = 2;
  bp.words[2] = 3;
  bp.words[3] = 4;
  bp.flag = 1;
  bp.flags = 0;
  bp.name.text = text("Check");
  const auto head = [] { return Wire().w(7).w(1).w(3); };
  const auto tail = [] { return Wire().w(1).w(2).w(3).w(4).w(1); };
  const Wire absent = head().w(0).then(tail()).w(0).str("Check");
  expectEncodes(bp, 14, absent);
  ZQWfdBreakpoint back = decodes<ZQWfdBreakpoint>(absent, 14);
  EXPECT_EQ(back.id, 7u);
  EXPECT_EQ(back.disabled, 1);
  EXPECT_EQ(back.passCount, 3u);
  ASSERT_NE(back.qualifier, nullptr);  // a node of its own holding no condition
  EXPECT_EQ(back.qualifier->operation, 0u);
  EXPECT_EQ(back.words[3], 4u);
  EXPECT_EQ(back.flag, 1);
  EXPECT_EQ(back.flags, 0u);
  EXPECT_STREQ(back.name.text, "Check");
  FreeZQWfdBreakpoint(&back, 0);

  ZQQualifierStruct condition{};
  condition.operation = ZQ_COND_OP_FROM_FIELD;
  condition.u.fieldId = 9;
  bp.qualifier = &condition;
  bp.flags = ZQ_WFD_BREAKPOINT_NAME_INLINE;
  setName(bp.name.buffer, "Check");
  const Wire present = head().w(5).w(9).then(tail()).w(1).name("Check", 255);
  expectEncodes(bp, 14, present);
  back = decodes<ZQWfdBreakpoint>(present, 14);
  ASSERT_NE(back.qualifier, nullptr);
  EXPECT_EQ(back.qualifier->u.fieldId, 9u);
  EXPECT_STREQ(back.name.buffer, "Check");
  FreeZQWfdBreakpoint(&back, 0);

  ZQWfdBreakpointList list{1, &bp};
  expectEncodes(list, 14, Wire().w(1).then(present));
  expectRefused(list, 13);

  const std::string tooLong(255, 'n');
  bp.flags = 0;
  bp.name.text = const_cast<char*>(tooLong.c_str());
  expectRefused(bp, 14);
}

TEST_F(DebuggerGolden, UserContext) {
  ZQInternalId groups[] = {1, 3};
  ZQInternalId roles[] = {5};
  ZQWfdUserContext user{};
  setName(user.userName, "Demo");
  user.licenseType = 1;
  user.currentLicenseType = 2;
  user.notifyMechanism = 3;
  user.groupIds = {2, groups};
  user.roleIds = {1, roles};
  ZQWfdUserContextList list{1, &user};
  const Wire golden = Wire().w(1).name("Demo", 255).w(1).w(2).w(3).w(2).w(1).w(3).w(1).w(5);
  expectEncodes(list, 14, golden);
  expectRefused(list, 13);
  ZQWfdUserContextList back = decodes<ZQWfdUserContextList>(golden, 14);
  ASSERT_EQ(back.count, 1u);
  const ZQWfdUserContext& b = back.items[0];
  EXPECT_STREQ(b.userName, "Demo");
  EXPECT_EQ(b.licenseType, 1u);
  EXPECT_EQ(b.currentLicenseType, 2u);
  EXPECT_EQ(b.notifyMechanism, 3u);
  ASSERT_EQ(b.groupIds.count, 2u);
  EXPECT_EQ(b.groupIds.items[1], 3u);
  ASSERT_EQ(b.roleIds.count, 1u);
  EXPECT_EQ(b.roleIds.items[0], 5u);
  FreeZQWfdUserContextList(&back, 0);
}

// ---- export item list ---------------------------------------------------------------------

TEST_F(DebuggerGolden, ExportItemListByVersion) {
  ZQNameType parts[] = {"View A"};
  ZQStructItemStruct items[2] = {};
  items[0].type = 0x20000005;  // the modifier bit travels as it is
  setName(items[0].name, "Orders");
  items[0].selectedElements = {1, parts};
  items[1].type = 6;
  setName(items[1].name, "Filter");
  ZQStructItemList list{2, items};
  for (int version : {7, 14}) {
    const size_t width = version == 7 ? 31 : 255;
    const Wire golden = Wire()
                            .w(2)
                            .w(0x20000005)
                            .name("Orders", width)
                            .w(1)
                            .name("View A", width)
                            .w(6)
                            .name("Filter", width)
                            .w(0);
    expectEncodes(list, version, golden);
    ZQStructItemList back = decodes<ZQStructItemList>(golden, version);
    ASSERT_EQ(back.count, 2u);
    EXPECT_EQ(back.items[0].type, 0x20000005u);
    EXPECT_STREQ(back.items[0].name, "Orders");
    ASSERT_EQ(back.items[0].selectedElements.count, 1u);
    EXPECT_STREQ(back.items[0].selectedElements.items[0], "View A");
    EXPECT_EQ(back.items[1].type, 6u);
    EXPECT_EQ(back.items[1].selectedElements.count, 0u);
    FreeZQStructItemList(&back, 0);
  }
}

}  // namespace
}  // namespace zqgolden
