// Status-history text: golden texts, round trips, malformed texts, argument
// handling and out-of-memory paths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/alloc.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::Session;
using zqtest::Status;

struct Position {
  uint32_t timestamp;
  std::string user;
};

// A list over test-owned items.
struct History {
  std::vector<ZQStatusHistoryStruct> items;
  ZQStatusHistoryList list{0, nullptr};
  explicit History(const std::vector<Position>& positions) {
    for (const auto& p : positions) {
      ZQStatusHistoryStruct s{};
      strncpy(s.user, p.user.c_str(), sizeof s.user - 1);
      s.timestamp = p.timestamp;
      items.push_back(s);
    }
    list.count = static_cast<uint32_t>(items.size());
    list.items = items.data();
  }
};

// A decoded list that releases itself.
struct Decoded : ZQStatusHistoryList {
  Decoded() : ZQStatusHistoryList{7, reinterpret_cast<ZQStatusHistoryStruct*>(0x1)} {}
  ~Decoded() { ZQFree(items); }
};

class StatusHistoryText : public ::testing::Test {
 protected:
  Session session;
  Status status;

  std::string encode(const std::vector<Position>& positions, int expectRc = 0) {
    History h(positions);
    char* text = reinterpret_cast<char*>(0x1);
    EXPECT_EQ(ZQEncodeStatusHistory(session.control(), &h.list, &text, &status), expectRc);
    std::string out = text ? text : "<null>";
    ZQFree(text);
    return out;
  }
};

TEST_F(StatusHistoryText, GoldenTexts) {
  struct Case {
    const char* name;
    std::vector<Position> positions;
    std::string text;
  } cases[] = {
      {"only the second of three set",
       {{0, ""}, {1700000000, "Demo"}, {0, ""}},
       "\x03"
       "1700000000\x04"
       "Demo\x03"
       "\x03"},
      {"one set position",
       {{5, "a b"}},
       "5\x04"
       "a b\x03"},
      {"unset positions ignore their time stamps", {{99, ""}, {99, ""}}, "\x03\x03"},
      {"largest time stamp", {{4294967295u, "x"}}, "4294967295\x04x\x03"},
      {"empty list", {}, "<null>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(encode(c.positions), c.text);
    EXPECT_EQ(status.count, 0u);
  }
}

TEST_F(StatusHistoryText, UserNameIsCutTo254Bytes) {
  // The name buffer is full and unterminated: the encoder must stop at 254.
  History h({{1, ""}});
  memset(h.items[0].user, 'u', sizeof h.items[0].user);
  char* text = nullptr;
  ASSERT_EQ(ZQEncodeStatusHistory(session.control(), &h.list, &text, &status), 0);
  EXPECT_EQ(std::string(text), "1\x04" + std::string(254, 'u') + "\x03");
  ZQFree(text);
}

TEST_F(StatusHistoryText, DecodesGoldenTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Position> expected;
  } cases[] = {
      {"single terminator is one unset position", "\x03", {{0, ""}}},
      {"unset, set, unset",
       "\x03"
       "17\x04"
       "Demo\x03\x03",
       {{0, ""}, {17, "Demo"}, {0, ""}}},
      {"empty user after separator", "42\x04\x03", {{42, ""}}},
      {"time stamp read like atol", " 12abc\x04u\x03", {{12, "u"}}},
      {"no digits gives 0", "\x04u\x03", {{0, "u"}}},
      {"second separator belongs to the user",
       "3\x04"
       "a\x04"
       "b\x03",
       {{3,
         "a\x04"
         "b"}}},
      {"user kept to 254 bytes",
       "1\x04" + std::string(300, 'n') + "\x03",
       {{1, std::string(254, 'n')}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded list;
    ASSERT_EQ(ZQDecodeStatusHistory(session.control(), c.text.c_str(), &list, &status), 0);
    ASSERT_EQ(list.count, c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(list.items[i].timestamp, c.expected[i].timestamp) << i;
      EXPECT_EQ(std::string(list.items[i].user), c.expected[i].user) << i;
    }
  }
}

TEST_F(StatusHistoryText, RoundTrip) {
  std::vector<Position> positions = {{1, "Demo"},
                                     {0, ""},
                                     {4000000000u, "x"},
                                     {7, "a b c"},
                                     {12, "\xc3\xa9t\xc3\xa9"},
                                     {0, ""},
                                     {9, std::string(254, 'z')}};
  std::string text = encode(positions);
  Decoded list;
  ASSERT_EQ(ZQDecodeStatusHistory(session.control(), text.c_str(), &list, &status), 0);
  ASSERT_EQ(list.count, positions.size());
  for (size_t i = 0; i < positions.size(); ++i) {
    EXPECT_EQ(list.items[i].timestamp, positions[i].timestamp) << i;
    EXPECT_EQ(std::string(list.items[i].user), positions[i].user) << i;
  }
}

TEST_F(StatusHistoryText, NullOrEmptyTextIsAnEmptyList) {
  for (const char* text : {static_cast<const char*>(nullptr), ""}) {
    Decoded list;
    EXPECT_EQ(ZQDecodeStatusHistory(session.control(), text, &list, &status), 0);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);
  }
}

TEST_F(StatusHistoryText, MalformedTextsFailWith340AndLeaveTheListEmpty) {
  const char* texts[] = {
      "1700000000\x04"
      "Demo",  // no terminator at all
      "\x03"
      "5\x04"
      "u",                   // last record unterminated
      "5\x04u\x03trailing",  // material after the last terminator
      "5u\x03",              // non-empty record without separator
      "\x03"
      "12\x03",  // the same after a good record
  };
  for (const char* text : texts) {
    SCOPED_TRACE(testing::PrintToString(std::string(text)));
    Decoded list;
    status.reset();
    EXPECT_EQ(ZQDecodeStatusHistory(session.control(), text, &list, &status), 2);
    EXPECT_EQ(status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, 340}}));
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);
  }
}

TEST_F(StatusHistoryText, ArgumentChecks) {
  History h({{1, "u"}});
  char* text = reinterpret_cast<char*>(0x1);
  Decoded list;

  EXPECT_EQ(ZQEncodeStatusHistory(session.control(), &h.list, &text, nullptr), 4);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(ZQDecodeStatusHistory(session.control(), "\x03", &list, nullptr), 4);
  EXPECT_EQ(list.count, 0u);

  EXPECT_EQ(ZQEncodeStatusHistory(session.control(), &h.list, nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();
  EXPECT_EQ(ZQDecodeStatusHistory(session.control(), "\x03", nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();

  // A control record without a live context.
  ZQControlStruct stale = zqtest::makeControl();
  EXPECT_EQ(ZQEncodeStatusHistory(&stale, &h.list, &text, &status), 3);
  status.reset();
  EXPECT_EQ(ZQDecodeStatusHistory(&stale, "\x03", &list, &status), 3);
  status.reset();

  // A null list encodes like an empty one.
  EXPECT_EQ(ZQEncodeStatusHistory(session.control(), nullptr, &text, &status), 0);
  EXPECT_EQ(text, nullptr);
}

TEST_F(StatusHistoryText, OutOfMemoryLeavesNothingBehind) {
  // Fail the first, second, ... allocation until the calls succeed; each
  // failure must leave the outputs empty (leaks show under ASan).
  History h({{1, "u"}, {0, ""}});
  bool encoded = false, decoded = false;
  for (long n = 0; !(encoded && decoded) && n < 20; ++n) {
    char* text = reinterpret_cast<char*>(0x1);
    Decoded list;
    Status s1, s2;
    zq::testing::failAllocationsAfter(n);
    int encodeRc = ZQEncodeStatusHistory(session.control(), &h.list, &text, &s1);
    zq::testing::failAllocationsAfter(n);
    int decodeRc = ZQDecodeStatusHistory(session.control(), "1\x04u\x03\x03", &list, &s2);
    zq::testing::failAllocationsAfter(-1);
    encoded = encodeRc == 0;
    decoded = decodeRc == 0;
    if (!encoded) {
      EXPECT_GE(encodeRc, 2);
      EXPECT_EQ(text, nullptr);
      if (s1.count) {
        EXPECT_TRUE(s1.has(154));
      }
    }
    if (!decoded) {
      EXPECT_GE(decodeRc, 2);
      EXPECT_EQ(list.count, 0u);
      EXPECT_EQ(list.items, nullptr);
      if (s2.count) {
        EXPECT_TRUE(s2.has(154));
      }
    }
    ZQFree(encoded ? text : nullptr);
  }
  EXPECT_TRUE(encoded && decoded);
}

}  // namespace
