// Diary text: golden texts, round trips, malformed texts, argument handling
// and out-of-memory paths.
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

struct Entry {
  uint32_t timestamp;
  std::string user;
  const char* text;  // null: absent
};

struct Diary {
  std::vector<ZQDiaryStruct> items;
  ZQDiaryList list{0, nullptr};
  explicit Diary(const std::vector<Entry>& entries) {
    for (const auto& e : entries) {
      ZQDiaryStruct d{};
      strncpy(d.user, e.user.c_str(), sizeof d.user - 1);
      d.timestamp = e.timestamp;
      d.value = const_cast<char*>(e.text);
      items.push_back(d);
    }
    list.count = static_cast<uint32_t>(items.size());
    list.items = items.data();
  }
};

struct Decoded : ZQDiaryList {
  Decoded() : ZQDiaryList{3, nullptr} {}
  ~Decoded() {
    for (uint32_t i = 0; i < count; ++i) ZQFree(items[i].value);
    ZQFree(items);
  }
};

class DiaryText : public ::testing::Test {
 protected:
  Session session;
  Status status;

  std::string encode(const std::vector<Entry>& entries) {
    Diary d(entries);
    char* text = reinterpret_cast<char*>(0x1);
    EXPECT_EQ(ZQEncodeDiary(session.control(), &d.list, &text, &status), 0);
    std::string out = text ? text : "<null>";
    ZQFree(text);
    return out;
  }
};

TEST_F(DiaryText, GoldenTexts) {
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    std::string text;
  } cases[] = {
      {"empty text",
       {{1700000000, "Demo", ""}},
       "1700000000\x04"
       "Demo\x04\x03"},
      {"absent text", {{5, "u", nullptr}}, "5\x04u\x04\x03"},
      {"two entries with line breaks and backslashes",
       {{1, "a", "line one\nline two"}, {2, "b", "c:\\dir\\"}},
       "1\x04"
       "a\x04line one\nline two\x03"
       "2\x04"
       "b\x04"
       "c:\\dir\\\x03"},
      {"empty user", {{3, "", "t"}}, "3\x04\x04t\x03"},
      {"empty list", {}, "<null>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(encode(c.entries), c.text);
  }
}

TEST_F(DiaryText, DecodesGoldenTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Entry> expected;
  } cases[] = {
      {"one entry",
       "17\x04"
       "Demo\x04hello\x03",
       {{17, "Demo", "hello"}}},
      {"empty text is an empty string",
       "17\x04"
       "Demo\x04\x03",
       {{17, "Demo", ""}}},
      {"two entries",
       "1\x04"
       "a\x04x\x03"
       "2\x04"
       "b\x04y y\x03",
       {{1, "a", "x"}, {2, "b", "y y"}}},
      {"text may hold the field separator",
       "1\x04u\x04"
       "a\x04"
       "b\x03",
       {{1, "u",
         "a\x04"
         "b"}}},
      {"time stamp read like atol", "7z\x04u\x04t\x03", {{7, "u", "t"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded list;
    ASSERT_EQ(ZQDecodeDiary(session.control(), c.text.c_str(), &list, &status), 0);
    ASSERT_EQ(list.count, c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(list.items[i].timestamp, c.expected[i].timestamp);
      EXPECT_EQ(std::string(list.items[i].user), c.expected[i].user);
      ASSERT_NE(list.items[i].value, nullptr);
      EXPECT_EQ(std::string(list.items[i].value), c.expected[i].text);
    }
  }
}

// A user name the encoder writes (up to 254 bytes) decodes back unchanged;
// cutting it shorter would lose data on every round trip.
TEST_F(DiaryText, RoundTripKeepsLongUserNames) {
  std::string longText(5000, 'q');
  std::vector<Entry> entries = {{1, std::string(31, 'a'), "short"},
                                {2, std::string(254, 'b'), longText.c_str()},
                                {4000000000u, "x y", ""},
                                {0, "\xc3\xa9", "multi\nline\\"}};
  std::string text = encode(entries);
  Decoded list;
  ASSERT_EQ(ZQDecodeDiary(session.control(), text.c_str(), &list, &status), 0);
  ASSERT_EQ(list.count, entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(list.items[i].timestamp, entries[i].timestamp) << i;
    EXPECT_EQ(std::string(list.items[i].user), entries[i].user) << i;
    EXPECT_EQ(std::string(list.items[i].value), entries[i].text) << i;
  }
}

TEST_F(DiaryText, UserNameBeyond254BytesIsCut) {
  std::string text = "1\x04" + std::string(400, 'n') + "\x04t\x03";
  Decoded list;
  ASSERT_EQ(ZQDecodeDiary(session.control(), text.c_str(), &list, &status), 0);
  EXPECT_EQ(std::string(list.items[0].user), std::string(254, 'n'));
  EXPECT_EQ(std::string(list.items[0].value), "t");
}

TEST_F(DiaryText, NullOrEmptyTextIsAnEmptyList) {
  for (const char* text : {static_cast<const char*>(nullptr), ""}) {
    Decoded list;
    EXPECT_EQ(ZQDecodeDiary(session.control(), text, &list, &status), 0);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);
  }
}

TEST_F(DiaryText, MalformedTextsFailWith339AndLeaveTheListEmpty) {
  const char* texts[] = {
      "1\x04u\x04text",  // no terminator
      "1\x04utext\x03",  // one separator only
      "1utext\x03",      // no separator
      "\x03",            // empty record
      "1\x04u\x04t\x03"
      "2\x03",  // second record broken
      "1\x03"
      "2\x04u\x04t\x03",      // separators of the next record do not count
      "1\x04u\x04t\x03tail",  // material after the last terminator
  };
  for (const char* text : texts) {
    SCOPED_TRACE(testing::PrintToString(std::string(text)));
    Decoded list;
    status.reset();
    EXPECT_EQ(ZQDecodeDiary(session.control(), text, &list, &status), 2);
    EXPECT_EQ(status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, 339}}));
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);
  }
}

TEST_F(DiaryText, ArgumentChecks) {
  Diary d({{1, "u", "t"}});
  char* text = reinterpret_cast<char*>(0x1);
  Decoded list;
  EXPECT_EQ(ZQEncodeDiary(session.control(), &d.list, &text, nullptr), 4);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(ZQDecodeDiary(session.control(), "1\x04u\x04t\x03", &list, nullptr), 4);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(ZQEncodeDiary(session.control(), &d.list, nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();
  EXPECT_EQ(ZQDecodeDiary(session.control(), "1\x04u\x04t\x03", nullptr, &status), 2);
  EXPECT_TRUE(status.has(155));
  status.reset();
  ZQControlStruct stale = zqtest::makeControl();
  EXPECT_EQ(ZQEncodeDiary(&stale, &d.list, &text, &status), 3);
  status.reset();
  EXPECT_EQ(ZQDecodeDiary(&stale, "1\x04u\x04t\x03", &list, &status), 3);
}

TEST_F(DiaryText, OutOfMemoryFreesThePartlyDecodedList) {
  Diary d({{1, "u", "t"}, {2, "v", "w"}});
  const char* text3 =
      "1\x04u\x04t\x03"
      "2\x04v\x04w\x03"
      "3\x04x\x04y\x03";
  bool encoded = false, decoded = false;
  for (long n = 0; !(encoded && decoded) && n < 20; ++n) {
    char* text = reinterpret_cast<char*>(0x1);
    Decoded list;
    Status s1, s2;
    zq::testing::failAllocationsAfter(n);
    int encodeRc = ZQEncodeDiary(session.control(), &d.list, &text, &s1);
    zq::testing::failAllocationsAfter(n);
    int decodeRc = ZQDecodeDiary(session.control(), text3, &list, &s2);
    zq::testing::failAllocationsAfter(-1);
    encoded = encodeRc == 0;
    decoded = decodeRc == 0;
    if (!encoded) {
      EXPECT_GE(encodeRc, 2);
      EXPECT_EQ(text, nullptr);
    } else {
      ZQFree(text);
    }
    if (!decoded) {
      EXPECT_GE(decodeRc, 2) << n;
      EXPECT_EQ(list.count, 0u);
      EXPECT_EQ(list.items, nullptr);
      if (s2.count) {
        EXPECT_TRUE(s2.has(154));
      }
    } else {
      EXPECT_EQ(list.count, 3u);
    }
  }
  EXPECT_TRUE(encoded && decoded);
}

}  // namespace
