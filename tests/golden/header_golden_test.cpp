// The request header in its three wire forms, and records built on it,
// against bytes written by hand from the XDR rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/codec.h"
#include "support/fuzz_seeds.h"
#include "support/session.h"
#include "transport/describe_entries.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes& b, uint32_t w) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(w >> s));
}
void putText(Bytes& b, const std::string& t) {  // XDR string: length, bytes, padding
  put(b, static_cast<uint32_t>(t.size()));
  for (char c : t) b.push_back(static_cast<unsigned char>(c));
  while (b.size() % 4) b.push_back(0);
}
void putFixed(Bytes& b, const std::string& t, size_t width) {  // opaque name, padded
  for (size_t i = 0; i < width; ++i) b.push_back(i < t.size() ? t[i] : 0);
  while (b.size() % 4) b.push_back(0);
}

struct Header {
  char user[3] = "ab";
  char password[4] = "pwd";
  unsigned char info[2] = {'x', 0};
  char locale[3] = "en";
  zq::transport::RequestHeader h{};
  Header() {
    h.cacheId = 0x01020304;
    h.operationTime = 5;
    h.user = user;
    h.password = password;
    h.clientInfo = {7, 2, info};
    h.localeBlock[0] = locale;
    h.clientType = 9;
    h.timeout = 120;
    h.callWordA = -1;
    h.continuation = 2;
    h.callWordC = 3;
    h.flags = 1;
    h.responseSize = 4096;
    h.lastChunk = 1;
  }
};

// Byte list: type, count, one unit per byte. Version 9 and older keep only
// the authentication string, and "x" has no leading length: all zero.
void putInfo(Bytes& b, int version = 14) {
  put(b, 7);
  put(b, 2);
  put(b, version <= 9 ? 0 : 'x');
  put(b, 0);
}
void putTail(Bytes& b) {  // call words, flags, header byte
  put(b, 0xFFFFFFFFu);
  put(b, 2);
  put(b, 3);
  put(b, 1);
  put(b, 4096);
  put(b, 0);
  put(b, 1);
}

Bytes expected(int version) {
  Bytes b;
  put(b, 0x01020304);
  put(b, 5);
  if (version >= 12) {
    putText(b, "ab");
    putText(b, "pwd");
  } else {
    putFixed(b, "ab", 31);
    putFixed(b, "pwd", 31);
  }
  if (version <= 10) putFixed(b, "en", 16);  // at most 15 characters in 16 bytes
  putInfo(b, version);
  if (version >= 11) {
    if (version >= 12)
      put(b, 0);  // reserved text: null travels as an empty string
    else
      putFixed(b, "", 31);
    putText(b, "en");
    for (int i = 0; i < 5; ++i) put(b, 0);
  }
  put(b, 0);    // server-log mask
  put(b, 0);    // client option
  put(b, 9);    // client type
  put(b, 120);  // time-out
  if (version >= 11) put(b, 0);  // no properties
  putTail(b);
  return b;
}

class HeaderGolden : public ::testing::Test {
 protected:
  zqtest::Session session;
};

}  // namespace

TEST_F(HeaderGolden, ThreeWireForms) {
  for (int version : {7, 10, 11, 12, 14}) {
    Header h;
    zq::model::CodecScope scope(version, session.context());
    std::vector<char> out;
    ASSERT_TRUE(zq::model::encodeToBuffer(h.h, version, out)) << version;
    Bytes got(out.begin(), out.end());
    EXPECT_EQ(got, expected(version)) << "version " << version;

    // And back: the decoded header holds the same words and texts.
    zq::transport::RequestHeader back{};
    ASSERT_TRUE(zq::model::decodeFromBuffer(out.data(), out.size(), back, version)) << version;
    EXPECT_EQ(back.cacheId, 0x01020304);
    EXPECT_STREQ(back.user, "ab");
    EXPECT_STREQ(back.password, "pwd");
    EXPECT_STREQ(back.localeBlock[0], "en");
    EXPECT_EQ(back.timeout, 120u);
    EXPECT_EQ(back.responseSize, 4096u);
    EXPECT_EQ(back.lastChunk, 1);
    zq::model::release(back);
  }
}

TEST_F(HeaderGolden, ServerInfoRequestWithAProperty) {
  Header h;
  char identity[] = "AP1";
  ZQPropStruct property{};
  property.propertyTag = 2;
  property.value.dataType = ZQ_DATA_TYPE_CHAR;
  property.value.u.charValue = identity;
  h.h.properties = {1, &property};
  uint32_t settings[2] = {4, 246};
  zq::transport::ServerInfoArgs args{};
  args.header = h.h;
  args.settings = {2, settings};
  zq::model::CodecScope scope(14, session.context());
  std::vector<char> out;
  ASSERT_TRUE(zq::model::encodeToBuffer(args, 14, out));

  Bytes want;
  put(want, 0x01020304);
  put(want, 5);
  putText(want, "ab");
  putText(want, "pwd");
  putInfo(want);
  put(want, 0);
  putText(want, "en");
  for (int i = 0; i < 5; ++i) put(want, 0);
  put(want, 0);
  put(want, 0);
  put(want, 9);
  put(want, 120);
  put(want, 1);  // one property: tag 2, a character value
  put(want, 2);
  put(want, 4);
  putText(want, "AP1");
  putTail(want);
  put(want, 2);  // the settings list
  put(want, 4);
  put(want, 246);
  EXPECT_EQ(Bytes(out.begin(), out.end()), want);
  zqtest::fuzzSeed("requests", "server-info-36-v14", 36, 14, want);
}

// ---- records built on the header --------------------------------------------------------

namespace {

Bytes headerBytes(int version) { return expected(version); }

}  // namespace

TEST_F(HeaderGolden, GetEntryRequestAndReply) {
  for (int version : {7, 14}) {
    Header h;
    ZQEntryIdType id = "000000000000042";
    ZQInternalId wanted[2] = {1, 536870913};
    zq::transport::GetEntryArgs args{};
    args.header = h.h;
    args.form = const_cast<char*>("Tickets");
    args.entryId = {1, &id};
    args.fieldIds = {2, wanted};
    zq::model::CodecScope scope(version, session.context());
    std::vector<char> out;
    ASSERT_TRUE(zq::model::encodeToBuffer(args, version, out)) << version;
    Bytes want = headerBytes(version);
    putText(want, "Tickets");              // the form name travels as a string
    put(want, 1);                           // one id makes the entry
    putFixed(want, "000000000000042", 16);  // a 16-byte name, no padding needed
    put(want, 2);
    put(want, 1);
    put(want, 536870913);
    put(want, 0);  // the trailing word
    EXPECT_EQ(Bytes(out.begin(), out.end()), want) << version;
    zqtest::fuzzSeed("requests", "get-entry-1-v" + std::to_string(version), 1, version, want);
  }
  // A form name longer than 31 characters cannot travel to version 7.
  Header h;
  zq::transport::GetEntryArgs args{};
  args.header = h.h;
  args.form = const_cast<char*>("A form name of thirty-two chars!");
  zq::model::CodecScope scope(7, session.context());
  std::vector<char> out;
  EXPECT_FALSE(zq::model::encodeToBuffer(args, 7, out));

  // The reply: header echo, the values (entry-value routine), the status list.
  Bytes reply = headerBytes(14);
  put(reply, 2);          // two field values
  put(reply, 536870913);  // a character value
  put(reply, 4);
  putText(reply, "hi");
  put(reply, 7);  // an enumerated value
  put(reply, 6);
  put(reply, 2);
  put(reply, 1);  // one status entry: a warning without appended text
  put(reply, 1);
  put(reply, 68);
  putText(reply, "w");
  put(reply, 0);
  zqtest::fuzzSeed("replies", "get-entry-1-v14", 1, 14, reply);
  zq::transport::GetEntryReply decoded{};
  zq::model::CodecScope decodeScope(14, session.context());
  ASSERT_TRUE(zq::model::decodeFromBuffer(reply.data(), reply.size(), decoded, 14));
  ASSERT_EQ(decoded.values.count, 2u);
  EXPECT_EQ(decoded.values.items[0].fieldId, 536870913u);
  EXPECT_STREQ(decoded.values.items[0].value.u.charValue, "hi");
  EXPECT_EQ(decoded.values.items[1].value.dataType, ZQ_DATA_TYPE_ENUM);
  EXPECT_EQ(decoded.values.items[1].value.u.enumValue, 2u);
  ASSERT_EQ(decoded.status.count, 1u);
  EXPECT_EQ(decoded.status.items[0].messageNumber, 68);
  EXPECT_STREQ(decoded.status.items[0].message, "w");
  zq::model::release(decoded);
}

TEST_F(HeaderGolden, ListEntryRequest) {
  Header h;
  ZQEntryListFieldStruct column{536870913, 20, "|"};
  ZQSortStruct sort{3, ZQ_SORT_DESCENDING};
  zq::transport::ListEntryArgs args{};
  args.header = h.h;
  args.form = const_cast<char*>("Tickets");
  args.fields = {1, &column};
  args.sort = {1, &sort};
  args.firstRetrieve = 10;
  args.maxRetrieve = 50;
  args.useLocale = 1;
  zq::model::CodecScope scope(14, session.context());
  std::vector<char> out;
  ASSERT_TRUE(zq::model::encodeToBuffer(args, 14, out));
  Bytes want = headerBytes(14);
  putText(want, "Tickets");
  put(want, 0);  // qualification: operation 0, nothing follows
  put(want, 1);  // one column: id, width, 10-character separator padded to 12
  put(want, 536870913);
  put(want, 20);
  putFixed(want, "|", 10);
  put(want, 1);  // one sort item
  put(want, 3);
  put(want, 2);
  put(want, 10);  // first entry and maximum
  put(want, 50);
  put(want, 1);  // the byte travels as a 4-byte unit
  put(want, 0);  // the reserved word
  EXPECT_EQ(Bytes(out.begin(), out.end()), want);
  zqtest::fuzzSeed("requests", "list-entry-5-v14", 5, 14, want);
}

// A 40-character user, a six-text locale block and a property list through
// the steps 12 to 11 (fixed fields) and 11 to 10 (locale cut, properties
// dropped), and the client information as version 9 takes it.
TEST_F(HeaderGolden, LongUserPropertiesAndLegacyClientInformation) {
  const std::string user40 = "u123456789012345678901234567890123456789";
  ASSERT_EQ(user40.size(), 40u);
  const std::string info = "4:auth:host.example";
  const std::string locale = "en_US.ISO8859-15@euro";  // 21 characters
  for (int version : {14, 12, 11, 10, 9}) {
    std::string userText = user40;
    std::string localeText = locale;
    char password[] = "secret";
    char charSet[] = "UTF-8";
    char identity[] = "AP1";
    ZQPropStruct property{};
    property.propertyTag = 2;
    property.value.dataType = ZQ_DATA_TYPE_CHAR;
    property.value.u.charValue = identity;
    std::vector<unsigned char> infoBytes(info.begin(), info.end());
    infoBytes.push_back(0);
    zq::transport::RequestHeader h{};
    h.cacheId = 7;
    h.operationTime = 8;
    h.user = userText.data();
    h.password = password;
    h.clientInfo = {7, static_cast<uint32_t>(infoBytes.size()), infoBytes.data()};
    h.localeBlock[0] = localeText.data();
    h.localeBlock[1] = charSet;
    h.properties = {1, &property};
    h.timeout = 30;
    h.lastChunk = 1;
    zq::model::CodecScope scope(version, session.context());
    std::vector<char> out;
    ASSERT_TRUE(zq::model::encodeToBuffer(h, version, out)) << version;

    Bytes want;
    put(want, 7);
    put(want, 8);
    if (version >= 12) {
      putText(want, user40);  // texts travel whole
      putText(want, "secret");
    } else {
      // 31-byte fields: 30 characters and the terminator, one byte of padding.
      Bytes user(user40.begin(), user40.begin() + 30);
      want.insert(want.end(), user.begin(), user.end());
      for (int i = 0; i < 2; ++i) want.push_back(0);
      const char pw[] = "secret";
      want.insert(want.end(), pw, pw + 6);
      for (int i = 0; i < 26; ++i) want.push_back(0);
    }
    if (version <= 10) {  // 16 bytes: the locale's first 15 characters and a zero
      const char cut[] = "en_US.ISO8859-1";
      want.insert(want.end(), cut, cut + 15);
      want.push_back(0);
    }
    put(want, 7);  // client information: type, count, one unit per byte
    put(want, 20);
    if (version >= 10) {
      for (char c : info) put(want, static_cast<unsigned char>(c));
      put(want, 0);
    } else {  // "auth", then zeros to the same count
      for (char c : std::string("auth")) put(want, static_cast<unsigned char>(c));
      for (int i = 0; i < 16; ++i) put(want, 0);
    }
    if (version >= 11) {
      if (version >= 12)
        put(want, 0);  // reserved: an empty string
      else
        for (int i = 0; i < 32; ++i) want.push_back(0);  // reserved: 31 zero bytes, padded
      putText(want, locale);
      putText(want, "UTF-8");
      for (int i = 0; i < 4; ++i) put(want, 0);
    }
    put(want, 0);   // server-log mask
    put(want, 0);   // client option
    put(want, 0);   // client type
    put(want, 30);  // time-out
    if (version >= 11) {
      put(want, 1);  // one property: tag 2, character value "AP1"
      put(want, 2);
      put(want, 4);
      putText(want, "AP1");
    }
    for (int i = 0; i < 6; ++i) put(want, 0);  // call words, flags, response size, token
    put(want, 1);                              // header byte
    EXPECT_EQ(Bytes(out.begin(), out.end()), want) << "version " << version;
  }
}
