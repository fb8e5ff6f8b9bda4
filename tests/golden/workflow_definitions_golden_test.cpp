// Filter and escalation records at protocol version 14, against bytes
// written by hand from the XDR rules: words big-endian, strings as length,
// bytes and padding, fixed names padded to a multiple of 4 (255 -> 256,
// server 65 -> 68), counted texts holding their terminator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/codec.h"
#include "support/session.h"
#include "transport/describe_workflow_defs.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace t = zq::transport;

constexpr int kVersion = 14;

void put(Bytes& b, uint32_t w) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(w >> s));
}
void putText(Bytes& b, const std::string& s) {
  put(b, static_cast<uint32_t>(s.size()));
  for (char c : s) b.push_back(static_cast<unsigned char>(c));
  while (b.size() % 4) b.push_back(0);
}
void putCounted(Bytes& b, const std::string& s) {  // with its terminator
  put(b, static_cast<uint32_t>(s.size() + 1));
  for (char c : s) b.push_back(static_cast<unsigned char>(c));
  b.push_back(0);
  while (b.size() % 4) b.push_back(0);
}
void putOpaque(Bytes& b, const std::string& s, size_t width) {
  for (size_t i = 0; i < width; ++i) b.push_back(i < s.size() ? s[i] : 0);
  while (b.size() % 4) b.push_back(0);
}
void putZeroHeader(Bytes& b) {
  for (int i = 0; i < 25; ++i) put(b, 0);
}

template <class R>
Bytes encode(R& record) {
  std::vector<char> out;
  EXPECT_TRUE(zq::model::encodeToBuffer(record, kVersion, out));
  return Bytes(out.begin(), out.end());
}
template <class R>
bool decode(const Bytes& b, R& record) {
  return zq::model::decodeFromBuffer(reinterpret_cast<const char*>(b.data()), b.size(), record,
                                     kVersion);
}

class WorkflowDefinitionsGolden : public ::testing::Test {
 protected:
  zqtest::Session session;
  zq::model::CodecScope scope{kVersion, session.context()};
};

// The connection of the form "Form": type 1, a present pointer, one counted name.
void putConnection(Bytes& b) {
  put(b, 1);
  put(b, 1);
  put(b, 1);
  putCounted(b, "Form");
}

TEST_F(WorkflowDefinitionsGolden, CreateFilterRequestWithSetFieldsAndNotify) {
  ZQFieldAssignStruct assign{};
  assign.fieldId = 536870913;
  assign.assignment.assignType = ZQ_ASSIGN_TYPE_VALUE;
  assign.assignment.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  assign.assignment.u.value.u.integerValue = 5;
  ZQInternalId ids[] = {8};
  ZQFilterActionStruct actions[2]{};
  actions[0].action = ZQ_FILTER_ACTION_FIELDS;
  actions[0].u.setFields.fieldAssignList = {1, &assign};
  actions[1].action = ZQ_FILTER_ACTION_NOTIFY;
  ZQNotifyStruct& n = actions[1].u.notify;
  n.user = const_cast<char*>("Al");
  n.text = const_cast<char*>("Hi");
  n.priority = 1;
  n.mechanism = ZQ_NOTIFY_ALERT;
  n.subject = const_cast<char*>("S");
  n.fieldIdListKind = ZQ_NOTIFY_FIELDS_LIST;
  n.fieldIdList = {1, ids};
  ZQNameType form = "Form";
  ZQNameList forms{1, &form};

  t::CreateFilterArgs a{};
  a.name = const_cast<char*>("F1");
  a.parts.order = 7;
  a.parts.forms = {ZQ_WORKFLOW_CONN_SCHEMA_LIST, &forms};
  a.parts.operations = ZQ_OPERATION_CREATE;
  a.parts.enable = 1;
  a.parts.ifActions = {2, actions};
  a.parts.common.helpText = const_cast<char*>("h");
  strcpy(a.parts.common.owner, "Al");
  a.parts.errorOptions = 1;
  strcpy(a.parts.errorName, "Err");

  Bytes b;
  putZeroHeader(b);
  putText(b, "F1");
  put(b, 7);  // order
  putConnection(b);
  put(b, 4);  // operations: create
  put(b, 1);  // enable
  put(b, 0);  // no qualification
  put(b, 2);  // two if actions
  put(b, 4);  // set fields: one assignment of the integer 5 to field 536870913
  put(b, 1);
  put(b, 536870913);
  put(b, 1);
  put(b, 2);
  put(b, 5);
  putOpaque(b, "", 65);   // sample server
  putOpaque(b, "", 255);  // sample form
  put(b, 1);              // notify
  putText(b, "Al");
  putText(b, "Hi");
  put(b, 1);  // priority
  put(b, 1);  // alert
  put(b, 0);  // cross-reference field
  putText(b, "S");
  put(b, 2);  // a list of fields: one id
  put(b, 1);
  put(b, 8);
  put(b, 0);  // behavior
  put(b, 0);  // permission
  put(b, 0);  // no advanced block
  put(b, 0);  // no else actions
  putText(b, "h");
  putText(b, "Al");  // the owner travels as a text in a request
  putText(b, "");    // diary
  put(b, 0);         // no object properties
  put(b, 1);         // error handler options
  putText(b, "Err");
  EXPECT_EQ(encode(a), b);
}

TEST_F(WorkflowDefinitionsGolden, GetFilterReplyCarriesTheErrorHandlerAfterTheStatus) {
  Bytes b;
  putZeroHeader(b);
  put(b, 12);  // order
  putConnection(b);
  put(b, 2);  // operations: set
  put(b, 0);  // disabled
  put(b, 0);  // no qualification
  put(b, 1);  // one if action: a message
  put(b, 2);
  put(b, 2);  // error
  put(b, 10001);
  putText(b, "No");
  put(b, 0);  // no else actions
  putCounted(b, "help");
  put(b, 0x5F000000);
  putOpaque(b, "Owner", 255);
  putOpaque(b, "Changer", 255);
  putCounted(b, "");
  put(b, 0);  // no object properties
  put(b, 0);  // status list: none
  put(b, 1);  // error handler options
  putOpaque(b, "Handler", 255);

  t::GetFilterReply r{};
  ASSERT_TRUE(decode(b, r));
  EXPECT_EQ(r.parts.order, 12u);
  ASSERT_NE(r.parts.forms.schemaList, nullptr);
  ASSERT_EQ(r.parts.forms.schemaList->count, 1u);
  EXPECT_STREQ(r.parts.forms.schemaList->items[0], "Form");
  EXPECT_EQ(r.parts.operations, 2u);
  EXPECT_EQ(r.parts.enable, 0u);
  ASSERT_EQ(r.parts.ifActions.count, 1u);
  EXPECT_EQ(r.parts.ifActions.items[0].u.message.messageNumber, 10001);
  EXPECT_STREQ(r.parts.ifActions.items[0].u.message.message, "No");
  EXPECT_STREQ(r.parts.common.helpText, "help");
  EXPECT_EQ(r.parts.common.timestamp, 0x5F000000);
  EXPECT_STREQ(r.parts.common.owner, "Owner");
  EXPECT_STREQ(r.parts.common.lastChanged, "Changer");
  EXPECT_EQ(r.parts.errorOptions, 1u);
  EXPECT_STREQ(r.parts.errorName, "Handler");
  zq::model::release(r);
}

TEST_F(WorkflowDefinitionsGolden, EscalationTimes) {
  ZQEscalationTimeStruct interval{};
  interval.kind = ZQ_ESCALATION_INTERVAL;
  interval.u.interval = 300;
  Bytes b;
  put(b, 1);
  put(b, 300);
  EXPECT_EQ(encode(interval), b);

  ZQEscalationTimeStruct calendar{};
  calendar.kind = ZQ_ESCALATION_CALENDAR;
  calendar.u.date.monthday = 0;
  calendar.u.date.weekday = 0x3E;  // Monday to Friday
  calendar.u.date.hourmask = 1 << 9;
  calendar.u.date.minute = 30;
  b.clear();
  put(b, 2);
  put(b, 0);
  put(b, 0x3E);
  put(b, 0x200);
  put(b, 30);
  EXPECT_EQ(encode(calendar), b);

  ZQEscalationTimeStruct decoded{};
  ASSERT_TRUE(decode(b, decoded));
  EXPECT_EQ(decoded.u.date.weekday, 0x3E);
  EXPECT_EQ(decoded.u.date.minute, 30u);

  ZQEscalationTimeStruct bad{};
  bad.kind = 3;  // no such kind: the encoding fails
  std::vector<char> out;
  EXPECT_FALSE(zq::model::encodeToBuffer(bad, kVersion, out));
}

}  // namespace
