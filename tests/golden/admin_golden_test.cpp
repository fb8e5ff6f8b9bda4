// Records of the administration procedures against bytes written by hand
// from the XDR rules: the end of a session or an impersonation (47), the
// private-context user creation without request header (90), SQL (59) and
// processes (61).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/codec.h"
#include "support/session.h"
#include "transport/describe_admin.h"

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

// A request header of protocol 14 and its bytes.
struct Header {
  char user[3] = "ab";
  char password[4] = "pwd";
  char locale[3] = "en";
  zq::transport::RequestHeader h{};
  Header() {
    h.cacheId = 77;
    h.user = user;
    h.password = password;
    h.localeBlock[0] = locale;
    h.timeout = 1;
  }
};

Bytes headerBytes() {
  Bytes b;
  put(b, 77);  // cache id
  put(b, 0);   // operation time
  putText(b, "ab");
  putText(b, "pwd");
  put(b, 0);  // client information: type 0, no bytes
  put(b, 0);
  put(b, 0);  // reserved text
  putText(b, "en");
  for (int i = 0; i < 5; ++i) put(b, 0);  // the other locale texts
  put(b, 0);                              // server-log mask
  put(b, 0);                              // client option
  put(b, 0);                              // client type
  put(b, 1);                              // time-out
  put(b, 0);                              // no properties
  for (int i = 0; i < 7; ++i) put(b, 0);  // call words, flags, header byte
  return b;
}

class AdminGolden : public ::testing::Test {
 protected:
  template <class T>
  Bytes encode(T& record) {
    zq::model::CodecScope scope(14, session_.context());
    std::vector<char> out;
    EXPECT_TRUE(zq::model::encodeToBuffer(record, 14, out));
    return Bytes(out.begin(), out.end());
  }
  template <class T>
  bool decode(const Bytes& bytes, T& record) {
    zq::model::CodecScope scope(14, session_.context());
    return zq::model::decodeFromBuffer(reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                                       record, 14);
  }
  zqtest::Session session_;
};

}  // namespace

TEST_F(AdminGolden, EndOfASessionAndOfAnImpersonation) {
  // Termination names nobody: the name travels as the empty string.
  Header h;
  zq::transport::EndSessionArgs end{};
  end.header = h.h;
  Bytes want = headerBytes();
  put(want, 0);
  EXPECT_EQ(encode(end), want);

  char joe[] = "Joe";
  end.user = joe;
  want = headerBytes();
  putText(want, "Joe");
  EXPECT_EQ(encode(end), want);
}

TEST_F(AdminGolden, CreateUserHasNoRequestHeader) {
  char host[] = "client1", key[] = "k", user[] = "Ann", password[] = "pw", mail[] = "a@b";
  char full[] = "Ann B", locale[] = "";
  ZQInternalId groups[] = {1, 1000};
  zq::transport::CreateUserArgs args{};
  args.clientHost = host;
  args.accessKey = key;
  args.user = user;
  args.password = password;
  args.emailAddress = mail;
  args.notifyMechanism = 2;
  args.groupIds = {2, groups};
  args.license = {5, 1, 2};
  args.fullName = full;
  args.defaultLocale = locale;
  Bytes want;
  putText(want, "client1");  // the client host name first
  putText(want, "k");
  putText(want, "Ann");
  putText(want, "pw");
  putText(want, "a@b");
  put(want, 2);
  put(want, 2);  // the group ids
  put(want, 1);
  put(want, 1000);
  put(want, 5);  // the license: tag, type, current type
  put(want, 1);
  put(want, 2);
  putText(want, "Ann B");
  putText(want, "");
  EXPECT_EQ(encode(args), want);
}

TEST_F(AdminGolden, SqlRequestAndTypedRows) {
  Header h;
  char sql[] = "SELECT 1";
  zq::transport::GetListSQLArgs args{};
  args.header = h.h;
  args.sql = sql;
  args.maxRows = 10;
  args.wantMatches = 1;
  Bytes want = headerBytes();
  putText(want, "SELECT 1");
  put(want, 10);
  put(want, 1);
  EXPECT_EQ(encode(args), want);

  // Two rows: (integer 7, text "x") and (null); two matches; no messages.
  Bytes reply = headerBytes();
  put(reply, 2);
  put(reply, 2);
  put(reply, 2);  // integer
  put(reply, 7);
  put(reply, 4);  // character
  putText(reply, "x");
  put(reply, 1);
  put(reply, 0);  // null
  put(reply, 2);  // matches
  put(reply, 0);  // status list
  zq::transport::GetListSQLReply got{};
  ASSERT_TRUE(decode(reply, got));
  ASSERT_EQ(got.rows.count, 2u);
  ASSERT_EQ(got.rows.items[0].count, 2u);
  EXPECT_EQ(got.rows.items[0].items[0].dataType, uint32_t{ZQ_DATA_TYPE_INTEGER});
  EXPECT_EQ(got.rows.items[0].items[0].u.integerValue, 7);
  EXPECT_STREQ(got.rows.items[0].items[1].u.charValue, "x");
  ASSERT_EQ(got.rows.items[1].count, 1u);
  EXPECT_EQ(got.rows.items[1].items[0].dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  EXPECT_EQ(got.matches, 2u);
  EXPECT_EQ(got.status.count, 0u);
  zq::model::release(got);
}

TEST_F(AdminGolden, ProcessRequestAndReply) {
  Header h;
  char command[] = "greet world";
  zq::transport::ExecuteProcessArgs args{};
  args.header = h.h;
  args.command = command;
  args.wait = 1;
  Bytes want = headerBytes();
  putText(want, "greet world");
  put(want, 1);
  EXPECT_EQ(encode(args), want);

  Bytes reply = headerBytes();
  put(reply, 0xFFFFFFFDu);  // status -3
  putText(reply, "hello\n");
  put(reply, 0);
  zq::transport::ExecuteProcessReply got{};
  ASSERT_TRUE(decode(reply, got));
  EXPECT_EQ(got.returnStatus, -3);
  EXPECT_STREQ(got.output, "hello\n");
  zq::model::release(got);
}
