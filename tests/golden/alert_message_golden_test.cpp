// ZQDecodeAlertMessage against messages written by hand from the alert
// format: fields ended by backslashes, the first the text's own length,
// counted texts that may hold backslashes, version 1 (15 fields) and 2 (17),
// and the "2059" envelope around a deflated text.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/session.h"

namespace {

using zqtest::Status;

// 70 bytes, 15 backslashes: version 1.
const std::string kVersion1 =
    "70\\1\\1700000000\\1\\3\\5\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\15\\000000000000001\\";
// 61 bytes: version 2, a negative timestamp, a text holding three
// backslashes, an empty source tag and the server address.
const std::string kVersion2 =
    "61\\2\\-5\\2\\9\\8\\a\\b\\c\\de\\0\\\\4\\srv2\\7\\Tickets\\3\\E17\\9\\127.0.0.1\\";

std::vector<unsigned char> bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// "2059", the big-endian length of the whole message, then the body.
std::vector<unsigned char> envelope(const std::vector<unsigned char>& body, uint32_t length) {
  std::vector<unsigned char> m;
  m.reserve(body.size() + 8);
  for (char c : std::string("2059")) m.push_back(static_cast<unsigned char>(c));
  for (int shift = 24; shift >= 0; shift -= 8)
    m.push_back(static_cast<unsigned char>(length >> shift));
  for (unsigned char c : body) m.push_back(c);
  return m;
}

std::vector<unsigned char> deflated(const std::string& text) {
  uLongf size = compressBound(text.size());
  std::vector<unsigned char> out(size);
  EXPECT_EQ(compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(),
                      Z_DEFAULT_COMPRESSION),
            Z_OK);
  out.resize(size);
  return out;
}

std::string orNull(const char* s) {
  return s ? s : "<null>";
}

// Every output of one decode, released afterwards.
struct Decoded {
  ZQTimestamp timestamp = -1;
  uint32_t sourceType = 99, priority = 99;
  char *text = nullptr, *tag = nullptr, *server = nullptr, *address = nullptr, *form = nullptr,
       *objectId = nullptr;
  Status status;
  int rc = -1;

  Decoded(ZQControlStruct* control, const std::vector<unsigned char>& m) {
    rc = ZQDecodeAlertMessage(control, m.data(), static_cast<uint32_t>(m.size()), &timestamp,
                              &sourceType, &priority, &text, &tag, &server, &address, &form,
                              &objectId, &status);
  }
  ~Decoded() {
    for (char* s : {text, tag, server, address, form, objectId}) ZQFree(s);
  }
  bool noStrings() const { return !text && !tag && !server && !address && !form && !objectId; }
};

class AlertMessage : public ::testing::Test {
 protected:
  zqtest::Session session_;
};

TEST_F(AlertMessage, PlainVersion1) {
  Decoded d(session_.control(), bytes(kVersion1));
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.timestamp, 1700000000);
  EXPECT_EQ(d.sourceType, 1u);
  EXPECT_EQ(d.priority, 3u);
  EXPECT_EQ(orNull(d.text), "Hello");
  EXPECT_EQ(orNull(d.tag), "tag");
  EXPECT_EQ(orNull(d.server), "srv1");
  EXPECT_EQ(orNull(d.form), "Tickets");
  EXPECT_EQ(orNull(d.objectId), "000000000000001");
  EXPECT_EQ(d.address, nullptr);  // version 1 has no server address
}

TEST_F(AlertMessage, PlainVersion2WithBackslashesInACountedText) {
  Decoded d(session_.control(), bytes(kVersion2));
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.timestamp, -5);
  EXPECT_EQ(d.sourceType, 2u);
  EXPECT_EQ(d.priority, 9u);
  EXPECT_EQ(orNull(d.text), "a\\b\\c\\de");
  EXPECT_EQ(orNull(d.tag), "");
  EXPECT_EQ(orNull(d.server), "srv2");
  EXPECT_EQ(orNull(d.form), "Tickets");
  EXPECT_EQ(orNull(d.objectId), "E17");
  EXPECT_EQ(orNull(d.address), "127.0.0.1");
}

TEST_F(AlertMessage, CompressedEnvelope) {
  const auto body = deflated(kVersion2);
  Decoded d(session_.control(), envelope(body, static_cast<uint32_t>(body.size() + 8)));
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(orNull(d.text), "a\\b\\c\\de");
  EXPECT_EQ(orNull(d.address), "127.0.0.1");
}

// An envelope whose body does not inflate is read as it stands.
TEST_F(AlertMessage, EnvelopeAroundAPlainText) {
  Decoded d(session_.control(),
            envelope(bytes(kVersion1), static_cast<uint32_t>(kVersion1.size() + 8)));
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(orNull(d.objectId), "000000000000001");
}

TEST_F(AlertMessage, OnlyTheOutputsPassedAreFilled) {
  const auto m = bytes(kVersion2);
  char* address = nullptr;
  Status s;
  ASSERT_EQ(ZQDecodeAlertMessage(session_.control(), m.data(), static_cast<uint32_t>(m.size()),
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &address,
                                 nullptr, nullptr, &s),
            0);
  EXPECT_EQ(orNull(address), "127.0.0.1");
  ZQFree(address);
}

// Every malformation gives 3317 alone, and no string output survives.
TEST_F(AlertMessage, MalformedMessages) {
  const auto v1 = bytes(kVersion1);
  const auto body = deflated(kVersion2);
  struct Case {
    const char* what;
    std::vector<unsigned char> message;
    bool timestampRead;  // decoding got as far as field 2
  };
  const Case cases[] = {
      {"7 bytes", bytes("7\\1\\2\\3"), false},
      {"8 bytes, too few fields", bytes("8\\1\\2\\3\\"), false},
      {"14 backslashes",
       bytes("69\\1\\1700000000\\1\\3\\5\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\15\\000000000000001"),
       false},
      {"version 3",
       bytes(
           "70\\3\\1700000000\\1\\3\\5\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\15\\000000000000001\\"),
       false},
      {"first field not the length",
       bytes(
           "71\\1\\1700000000\\1\\3\\5\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\15\\000000000000001\\"),
       false},
      {"counted text longer than its length",
       bytes(
           "70\\1\\1700000000\\1\\3\\4\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\15\\000000000000001\\"),
       true},
      {"last counted text past the end",
       bytes(
           "70\\1\\1700000000\\1\\3\\5\\Hello\\3\\tag\\4\\srv1\\7\\Tickets\\16\\000000000000001\\"),
       true},
      {"a length that is not a number",
       bytes(
           "70\\1\\1700000000\\1\\3\\5\\Hello\\3\\tag\\x\\srv1\\7\\Tickets\\15\\000000000000001\\"),
       true},
      {"envelope length word not the length",
       envelope(body, static_cast<uint32_t>(body.size() + 9)), false},
      {"envelope of nothing", envelope({}, 8), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Decoded d(session_.control(), c.message);
    EXPECT_EQ(d.rc, 2);
    EXPECT_EQ(d.status.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, 3317}}));
    EXPECT_TRUE(d.noStrings());
    EXPECT_EQ(d.timestamp, c.timestampRead ? 1700000000 : 0);
  }
}

TEST_F(AlertMessage, ArgumentChecks) {
  const auto m = bytes(kVersion1);
  EXPECT_EQ(ZQDecodeAlertMessage(session_.control(), m.data(), static_cast<uint32_t>(m.size()),
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr),
            4);
  Status s;
  EXPECT_EQ(ZQDecodeAlertMessage(session_.control(), nullptr, 70, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(3317));
}

}  // namespace
