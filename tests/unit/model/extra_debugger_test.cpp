// Records of the workflow debugger calls: wire forms (version 14 only),
// release, and the copies 1011, 1014, 1063 and 1064.
#include "zqapi/zq_session.h"
#include "unit/model/extra_support.h"
#include "unit/model/fixtures.h"
#include "zqapi/zq_debugger.h"

namespace {

using zqtest::extra::allZero;
using zqtest::extra::CodecTest;
using zqtest::extra::Wire;
namespace fx = zqtest::fx;

ZQWfdCurrentLocation location() {
  ZQWfdCurrentLocation s{};
  s.apiCall = 2;
  s.stage = 3;
  s.formName = fx::str("Tickets");
  s.workflowName = fx::str("Route ticket");
  s.detail = fx::str("set fields");
  s.executionOrder = 500;
  s.actionIndex = 1;
  s.elseActions = 1;
  s.entryIds = fx::entryIds({"000000000000012"});
  return s;
}

ZQWfdStepStruct qualifierStep() {
  ZQWfdStepStruct s{};
  s.type = ZQ_WFD_STEP_QUALIFIER;
  s.actionIndex = 4;
  s.qualifier = fx::richQualifier();
  return s;
}

ZQWfdBreakpoint breakpoint(bool inlineName) {
  ZQWfdBreakpoint s{};
  s.id = 7;
  s.disabled = 1;
  s.passCount = 3;
  s.qualifier = fx::node(
      fx::relation(ZQ_REL_OP_EQUAL, fx::fieldOperand(7), fx::valueOperand(fx::charValue("New"))));
  for (uint32_t i = 0; i < 4; ++i) s.words[i] = 10 + i;
  s.flag = 1;
  if (inlineName) {
    s.flags = ZQ_WFD_BREAKPOINT_NAME_INLINE;
    fx::setName(s.name.buffer, "Route ticket");
  } else {
    s.name.text = fx::str("Close ticket");
  }
  return s;
}

ZQWfdBreakpointList breakpoints() {
  ZQWfdBreakpointList l{3, static_cast<ZQWfdBreakpoint*>(ZQCalloc(3, sizeof(ZQWfdBreakpoint)))};
  l.items[0] = breakpoint(true);
  l.items[1] = breakpoint(false);
  l.items[2].id = 9;  // no condition, no name
  return l;
}

ZQInternalIdList ids(std::initializer_list<uint32_t> list) {
  return ZQInternalIdList{static_cast<uint32_t>(list.size()),
                          list.size() ? fx::array<uint32_t>(list) : nullptr};
}

ZQWfdUserContext userContext(const char* name) {
  ZQWfdUserContext s{};
  fx::setName(s.userName, name);
  s.licenseType = 1;
  s.currentLicenseType = 2;
  s.notifyMechanism = 3;
  s.groupIds = ids({1, 3, 1000});
  s.roleIds = ids({-5u});
  return s;
}

ZQWfdUserContextList userContexts() {
  ZQWfdUserContextList l{2, static_cast<ZQWfdUserContext*>(ZQCalloc(2, sizeof(ZQWfdUserContext)))};
  l.items[0] = userContext("Demo");
  l.items[1] = userContext("Allen");
  FreeZQInternalIdList(&l.items[1].roleIds, 0);
  return l;
}

// A record that releases itself.
template <class T, void (*Free)(T*, ZQBoolean)>
struct Owned : T {
  explicit Owned(const T& value) : T(value) {}
  ~Owned() { Free(this, 0); }
};
using Location = Owned<ZQWfdCurrentLocation, FreeZQWfdCurrentLocation>;
using Step = Owned<ZQWfdStepStruct, FreeZQWfdStepStruct>;
using Breakpoint = Owned<ZQWfdBreakpoint, FreeZQWfdBreakpoint>;
using Breakpoints = Owned<ZQWfdBreakpointList, FreeZQWfdBreakpointList>;
using UserContext = Owned<ZQWfdUserContext, FreeZQWfdUserContext>;
using UserContexts = Owned<ZQWfdUserContextList, FreeZQWfdUserContextList>;

class Debugger : public CodecTest {};

// Every record travels in version 14 and is refused by older versions in
// both directions.
TEST_F(Debugger, TravelInVersion14Only) {
  Location loc(location());
  Step step(qualifierStep());
  Breakpoints list(breakpoints());
  UserContexts users(userContexts());
  auto check = [](const auto& sample, auto freeFn) {
    using T = std::remove_cvref_t<decltype(sample)>;
    const std::vector<char> wire = zqtest::extra::roundTrip<T>(sample, 14, freeFn);
    zqtest::extra::truncatedInputFails<T>(sample, 14, freeFn);
    std::vector<char> old;
    EXPECT_FALSE(zq::model::encodeToBuffer(sample, 13, old));
    T decoded;
    EXPECT_FALSE(zq::model::decodeFromBuffer(wire.data(), wire.size(), decoded, 13));
    freeFn(&decoded, 0);
  };
  check(static_cast<const ZQWfdCurrentLocation&>(loc), FreeZQWfdCurrentLocation);
  check(static_cast<const ZQWfdStepStruct&>(step), FreeZQWfdStepStruct);
  check(static_cast<const ZQWfdBreakpointList&>(list), FreeZQWfdBreakpointList);
  check(static_cast<const ZQWfdUserContextList&>(users), FreeZQWfdUserContextList);
  check(static_cast<const ZQWfdUserContext&>(users.items[0]), FreeZQWfdUserContext);
  ZQWfdStepStruct actionStep{ZQ_WFD_STEP_ACTION, 2, 1, {}};
  check(actionStep, FreeZQWfdStepStruct);
}

TEST_F(Debugger, GoldenWireForms) {
  std::vector<char> wire;

  // A step carries its qualification only at a qualifier step.
  ZQWfdStepStruct step{ZQ_WFD_STEP_ACTION, 2, 1, {}};
  ASSERT_TRUE(zq::model::encodeToBuffer(step, 14, wire));
  EXPECT_EQ(wire, Wire{}.u32(1).u32(2).u32(1).bytes);
  step.type = ZQ_WFD_STEP_QUALIFIER;
  ASSERT_TRUE(zq::model::encodeToBuffer(step, 14, wire));
  EXPECT_EQ(wire, Wire{}.u32(2).u32(2).u32(1).u32(0).bytes);

  // Without a condition the empty qualification travels in its place; the
  // name travels as a string or as a fixed name, as the flags say.
  ZQWfdBreakpoint bp{};
  bp.id = 7;
  bp.disabled = 1;
  bp.passCount = 3;
  bp.words[0] = 10;
  bp.words[3] = 13;
  bp.flag = 1;
  bp.name.text = const_cast<char*>("F1");
  ASSERT_TRUE(zq::model::encodeToBuffer(bp, 14, wire));
  EXPECT_EQ(wire, Wire{}
                      .u32(7)
                      .u32(1)
                      .u32(3)
                      .u32(0)
                      .u32(10)
                      .u32(0)
                      .u32(0)
                      .u32(13)
                      .u32(1)
                      .u32(0)
                      .string("F1")
                      .bytes);
  bp.flags = ZQ_WFD_BREAKPOINT_NAME_INLINE;
  fx::setName(bp.name.buffer, "F1");
  ASSERT_TRUE(zq::model::encodeToBuffer(bp, 14, wire));
  EXPECT_EQ(wire, Wire{}
                      .u32(7)
                      .u32(1)
                      .u32(3)
                      .u32(0)
                      .u32(10)
                      .u32(0)
                      .u32(0)
                      .u32(13)
                      .u32(1)
                      .u32(1)
                      .fixed("F1", 255)
                      .bytes);

  UserContext user(userContext("Demo"));
  ASSERT_TRUE(zq::model::encodeToBuffer(static_cast<ZQWfdUserContext&>(user), 14, wire));
  EXPECT_EQ(wire, Wire{}
                      .fixed("Demo", 255)
                      .u32(1)
                      .u32(2)
                      .u32(3)
                      .u32(3)
                      .u32(1)
                      .u32(3)
                      .u32(1000)
                      .u32(1)
                      .u32(0xFFFFFFFB)
                      .bytes);
}

// A breakpoint sent without a condition is listed back with a condition of
// its own holding the empty qualification.
TEST_F(Debugger, AbsentConditionComesBackEmpty) {
  ZQWfdBreakpoint bp{};
  bp.id = 9;
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(bp, 14, wire));
  Breakpoint back(ZQWfdBreakpoint{});
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(),
                                          static_cast<ZQWfdBreakpoint&>(back), 14));
  ASSERT_NE(back.qualifier, nullptr);
  EXPECT_EQ(back.qualifier->operation, static_cast<uint32_t>(ZQ_COND_OP_NONE));
  EXPECT_STREQ(back.name.text ? back.name.text : "", "");  // a null name travels empty
}

// Kept records are zero-filled and free again harmlessly; ASan reports
// anything left behind.
TEST_F(Debugger, FreeReleasesAndZeroFills) {
  ZQWfdCurrentLocation loc = location();
  FreeZQWfdCurrentLocation(&loc, 0);
  EXPECT_TRUE(allZero(loc));
  FreeZQWfdCurrentLocation(&loc, 0);

  ZQWfdStepStruct step = qualifierStep();
  FreeZQWfdStepStruct(&step, 0);
  EXPECT_TRUE(allZero(step));

  for (bool inlineName : {true, false}) {
    ZQWfdBreakpoint bp = breakpoint(inlineName);
    FreeZQWfdBreakpoint(&bp, 0);
    EXPECT_TRUE(allZero(bp));
    FreeZQWfdBreakpoint(&bp, 0);
  }

  ZQWfdUserContext user = userContext("Demo");
  FreeZQWfdUserContext(&user, 0);
  EXPECT_TRUE(allZero(user));

  ZQWfdBreakpointList list = breakpoints();
  FreeZQWfdBreakpointList(&list, 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);

  FreeZQWfdBreakpointList(fx::node(breakpoints()), 1);
  FreeZQWfdUserContextList(fx::node(userContexts()), 1);
  FreeZQWfdBreakpoint(nullptr, 1);
  FreeZQWfdUserContextList(nullptr, 0);
}

TEST_F(Debugger, CopiesAreIndependentOfTheirSource) {
  Step step(qualifierStep());
  zqtest::extra::copyIsIndependent<ZQWfdStepStruct>(step, ZQCopyWfdStepStruct, FreeZQWfdStepStruct);
  for (bool inlineName : {true, false}) {
    Breakpoint bp(breakpoint(inlineName));
    zqtest::extra::copyIsIndependent<ZQWfdBreakpoint>(bp, ZQCopyWfdBreakpoint, FreeZQWfdBreakpoint);
  }
  UserContexts users(userContexts());
  zqtest::extra::copyIsIndependent<ZQWfdUserContextList>(users, ZQCopyWfdUserContextList,
                                                         FreeZQWfdUserContextList);
  zqtest::extra::copyIsIndependent<ZQWfdUserContext>(users.items[0], ZQCopyWfdUserContext,
                                                     FreeZQWfdUserContext);
}

// 1011: the qualification is the step's only at a qualifier step; at any
// other step whatever the member holds is neither followed nor carried.
TEST_F(Debugger, StepCopyTakesTheQualificationAtQualifierStepsOnly) {
  Step step(qualifierStep());
  ZQWfdStepStruct copy;
  ASSERT_EQ(ZQCopyWfdStepStruct(&copy, &step), 0);
  EXPECT_EQ(copy.qualifier.operation, static_cast<uint32_t>(ZQ_COND_OP_OR));
  EXPECT_NE(copy.qualifier.u.andOr.left, step.qualifier.u.andOr.left);
  EXPECT_NE(copy.qualifier.u.andOr.right, step.qualifier.u.andOr.right);
  FreeZQWfdStepStruct(&copy, 0);

  ZQRelOpStruct notOwned{};
  ZQWfdStepStruct action{ZQ_WFD_STEP_ACTION, 3, 0, {}};
  action.qualifier.operation = ZQ_COND_OP_REL_OP;
  action.qualifier.u.relation = &notOwned;
  for (uint32_t type : {0u, 1u, 3u, 99u}) {
    action.type = type;
    ASSERT_EQ(ZQCopyWfdStepStruct(&copy, &action), 0);
    EXPECT_EQ(copy.type, type);
    EXPECT_EQ(copy.actionIndex, 3u);
    EXPECT_TRUE(allZero(copy.qualifier));
    FreeZQWfdStepStruct(&copy, 0);
  }
}

// 1014: a new condition tree (none stays none); the name duplicated when it
// is a string, copied up to its terminator when it is held inline.
TEST_F(Debugger, BreakpointCopyFollowsItsFlags) {
  Breakpoint text(breakpoint(false));
  ZQWfdBreakpoint copy;
  ASSERT_EQ(ZQCopyWfdBreakpoint(&copy, &text), 0);
  ASSERT_NE(copy.qualifier, nullptr);
  EXPECT_NE(copy.qualifier, text.qualifier);
  EXPECT_NE(copy.qualifier->u.relation, text.qualifier->u.relation);
  EXPECT_NE(copy.name.text, text.name.text);
  EXPECT_STREQ(copy.name.text, "Close ticket");
  EXPECT_EQ(copy.words[3], 13u);
  FreeZQWfdBreakpoint(&copy, 0);

  Breakpoint held(breakpoint(true));
  memset(held.name.buffer + 13, 'x', 20);  // bytes after the terminator
  ASSERT_EQ(ZQCopyWfdBreakpoint(&copy, &held), 0);
  EXPECT_STREQ(copy.name.buffer, "Route ticket");
  for (size_t i = 12; i < sizeof copy.name.buffer; ++i) EXPECT_EQ(copy.name.buffer[i], '\0') << i;
  FreeZQWfdBreakpoint(&copy, 0);

  ZQWfdBreakpoint bare{};
  bare.id = 4;
  ASSERT_EQ(ZQCopyWfdBreakpoint(&copy, &bare), 0);
  EXPECT_EQ(copy.qualifier, nullptr);
  EXPECT_EQ(copy.name.text, nullptr);
  EXPECT_EQ(copy.id, 4u);
}

// 1063 and 1064: the user name copied up to its terminator and never past
// its array; the id lists duplicated.
TEST_F(Debugger, UserContextCopyBoundsItsName) {
  UserContext user(userContext("Demo"));
  memset(user.userName + 5, 'x', 40);
  ZQWfdUserContext copy;
  ASSERT_EQ(ZQCopyWfdUserContext(&copy, &user), 0);
  EXPECT_STREQ(copy.userName, "Demo");
  EXPECT_EQ(copy.userName[5], '\0');
  EXPECT_NE(copy.groupIds.items, user.groupIds.items);
  EXPECT_EQ(copy.groupIds.items[2], 1000u);
  FreeZQWfdUserContext(&copy, 0);

  memset(user.userName, 'a', sizeof user.userName);  // no terminator at all
  ASSERT_EQ(ZQCopyWfdUserContext(&copy, &user), 0);
  EXPECT_EQ(strlen(copy.userName), sizeof copy.userName - 1);
  FreeZQWfdUserContext(&copy, 0);

  UserContexts users(userContexts());
  ZQWfdUserContextList list;
  ASSERT_EQ(ZQCopyWfdUserContextList(&list, &users), 0);
  ASSERT_EQ(list.count, 2u);
  EXPECT_STREQ(list.items[1].userName, "Allen");
  EXPECT_EQ(list.items[1].roleIds.items, nullptr);
  FreeZQWfdUserContextList(&list, 0);
}

TEST_F(Debugger, CopiesFailCleanlyAtEveryAllocation) {
  Step step(qualifierStep());
  EXPECT_GT(zqtest::extra::copyFailsCleanly<ZQWfdStepStruct>(step, ZQCopyWfdStepStruct,
                                                             FreeZQWfdStepStruct),
            10);
  for (bool inlineName : {true, false}) {
    Breakpoint bp(breakpoint(inlineName));
    // The condition node, its relation, the value string; then the name.
    EXPECT_EQ(zqtest::extra::copyFailsCleanly<ZQWfdBreakpoint>(bp, ZQCopyWfdBreakpoint,
                                                               FreeZQWfdBreakpoint),
              inlineName ? 3 : 4);
  }
  UserContexts users(userContexts());
  EXPECT_EQ(zqtest::extra::copyFailsCleanly<ZQWfdUserContextList>(users, ZQCopyWfdUserContextList,
                                                                  FreeZQWfdUserContextList),
            4);
  EXPECT_EQ(zqtest::extra::copyFailsCleanly<ZQWfdUserContext>(users.items[0], ZQCopyWfdUserContext,
                                                              FreeZQWfdUserContext),
            2);
}

TEST_F(Debugger, NullArguments) {
  Breakpoint bp(breakpoint(false));
  ZQWfdBreakpoint copy = bp;  // overwritten, not freed
  EXPECT_EQ(ZQCopyWfdBreakpoint(&copy, nullptr), 0);
  EXPECT_TRUE(allZero(copy));
  EXPECT_EQ(ZQCopyWfdBreakpoint(nullptr, &bp), 155);
  EXPECT_EQ(ZQCopyWfdStepStruct(nullptr, nullptr), 0);
  ZQWfdUserContextList list{3, nullptr};
  EXPECT_EQ(ZQCopyWfdUserContextList(&list, nullptr), 0);
  EXPECT_TRUE(allZero(list));
  EXPECT_EQ(ZQCopyWfdUserContext(nullptr, nullptr), 0);
}

TEST_F(Debugger, OrdinalsGiveTheCopies) {
  struct Case {
    unsigned ordinal;
    void* fn;
  };
  for (const Case& c : {Case{1011, reinterpret_cast<void*>(&ZQCopyWfdStepStruct)},
                        Case{1014, reinterpret_cast<void*>(&ZQCopyWfdBreakpoint)},
                        Case{1063, reinterpret_cast<void*>(&ZQCopyWfdUserContextList)},
                        Case{1064, reinterpret_cast<void*>(&ZQCopyWfdUserContext)}})
    EXPECT_EQ(ZQGetOrdinal(c.ordinal), c.fn) << c.ordinal;
}

}  // namespace
