// The request and reply records of the workflow debugger procedures against
// bytes written by hand: the breakpoint request (175) with and without its
// condition, the breakpoint list reply (177), the execute reply (159).
#include <gtest/gtest.h>

#include "golden/wire.h"
#include "transport/describe_debugger.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class DebuggerRecordsGolden : public GoldenTest {};

// After the header: id, disabled, pass count, the condition inline (absent:
// operation 0 alone), four words, the flag, the flags word, the name.
TEST_F(DebuggerRecordsGolden, SetBreakpointRequest) {
  tr::WfdBreakpointArgs r{};
  r.breakpoint.id = 0;
  r.breakpoint.passCount = 2;
  r.breakpoint.words[0] = 1;
  r.breakpoint.name.text = text("Route");
  expectEncodes(r, 14,
                emptyHeader().w(0).w(0).w(2).w(0).w(1).w(0).w(0).w(0).w(0).w(0).str("Route"));

  ZQQualifierStruct condition{};
  condition.operation = ZQ_COND_OP_FROM_FIELD;
  condition.u.fieldId = 536870913;
  r.breakpoint.qualifier = &condition;
  r.breakpoint.disabled = 1;
  const Wire golden =
      emptyHeader().w(0).w(1).w(2).w(5).w(536870913).w(1).w(0).w(0).w(0).w(0).w(0).str("Route");
  expectEncodes(r, 14, golden);
  expectRefused(r, 13);
}

// A list of one breakpoint without condition: it decodes with a condition
// node of its own holding operation 0; then a status list of one note.
TEST_F(DebuggerRecordsGolden, BreakpointListReply) {
  const Wire golden = emptyHeader()
                          .w(1)
                          .w(4)  // id
                          .w(0)  // enabled
                          .w(0)  // pass count
                          .w(0)  // no condition
                          .w(2)  // at an action
                          .w(1)  // the first one
                          .w(0)
                          .w(0)
                          .w(1)  // flag
                          .w(0)  // name as a string
                          .str("Route")
                          .w(1)  // status: one note
                          .w(0)
                          .w(8914)
                          .str("ok")
                          .str("");
  auto back = decodes<tr::WfdBreakpointListReply>(golden, 14);
  ASSERT_EQ(back.breakpoints.count, 1u);
  const ZQWfdBreakpoint& b = back.breakpoints.items[0];
  EXPECT_EQ(b.id, 4u);
  ASSERT_NE(b.qualifier, nullptr);
  EXPECT_EQ(b.qualifier->operation, 0u);
  EXPECT_EQ(b.words[0], 2u);
  EXPECT_EQ(b.words[1], 1u);
  EXPECT_EQ(b.flag, 1);
  EXPECT_STREQ(b.name.text, "Route");
  ASSERT_EQ(back.status.count, 1u);
  EXPECT_EQ(back.status.items[0].messageNumber, 8914);
  zq::model::release(back);

  auto none = decodes<tr::WfdBreakpointListReply>(emptyHeader().w(0).w(0), 14);
  EXPECT_EQ(none.breakpoints.count, 0u);
  EXPECT_EQ(none.breakpoints.items, nullptr);
  zq::model::release(none);
}

TEST_F(DebuggerRecordsGolden, ExecuteRecords) {
  tr::WfdWordArgs r{};
  r.value = 2;
  expectEncodes(r, 14, emptyHeader().w(2));
  auto back = decodes<tr::WfdExecuteReply>(emptyHeader().w(1).w(3).w(3).w(0), 14);
  EXPECT_EQ(back.result[0], 1u);
  EXPECT_EQ(back.result[1], 3u);
  EXPECT_EQ(back.result[2], 3u);
  zq::model::release(back);
}

}  // namespace
}  // namespace zqgolden
