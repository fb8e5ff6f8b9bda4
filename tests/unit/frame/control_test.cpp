#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/context.h"
#include "platform/charset.h"
#include "support/session.h"

using zqtest::Status;

namespace {

void fill(char* field, size_t n, char c = 'u') {
  memset(field, c, n);
  field[n] = '\0';
}

}  // namespace

TEST(CheckControl, FieldsInOrder) {
  zqtest::Session session;
  ZQControlStruct* c = session.control();
  struct Case {
    const char* what;
    void (*mutate)(ZQControlStruct&);
    int rc;
    int32_t message;
    const char* appended;
  } cases[] = {
      {"valid", [](ZQControlStruct&) {}, 0, 0, ""},
      {"user 254", [](ZQControlStruct& k) { fill(k.user, 254); }, 0, 0, ""},
      {"empty user", [](ZQControlStruct& k) { k.user[0] = 0; }, 2, 149, ""},
      {"user unterminated", [](ZQControlStruct& k) { memset(k.user, 'u', sizeof k.user); }, 2, 103,
       "User"},
      {"password 30", [](ZQControlStruct& k) { fill(k.password, 30); }, 0, 0, ""},
      {"password 31", [](ZQControlStruct& k) { memset(k.password, 'p', sizeof k.password); }, 2,
       103, "Password"},
      {"auth 2047", [](ZQControlStruct& k) { fill(k.authString, 2047); }, 0, 0, ""},
      {"auth 2048", [](ZQControlStruct& k) { memset(k.authString, 'a', sizeof k.authString); }, 2,
       103, "Authentication String"},
      {"empty server", [](ZQControlStruct& k) { k.server[0] = 0; }, 2, 150, ""},
      {"bad charset", [](ZQControlStruct& k) { strcpy(k.charSet, "KLINGON"); }, 2, 8853, ""},
      {"good charset", [](ZQControlStruct& k) { strcpy(k.charSet, "utf-8"); }, 0, 0, ""},
      // The first failure wins: user before server.
      {"user and server",
       [](ZQControlStruct& k) {
         k.user[0] = 0;
         k.server[0] = 0;
       },
       2, 149, ""},
  };
  for (const auto& tc : cases) {
    ZQControlStruct copy = *c;
    tc.mutate(copy);
    Status s;
    EXPECT_EQ(ZQCheckControl(&copy, &s), tc.rc) << tc.what;
    if (tc.message) {
      ASSERT_EQ(s.count, 1u) << tc.what;
      EXPECT_EQ(s.items[0].messageNumber, tc.message) << tc.what;
      EXPECT_EQ(s.appendedOf(tc.message), tc.appended) << tc.what;
    } else {
      EXPECT_EQ(s.count, 0u) << tc.what;
    }
  }
}

TEST(CheckControl, UserNameSourceAllowsAnEmptyUser) {
  zqtest::Session session;
  ZQControlStruct* c = session.control();
  c->user[0] = '\0';
  Status s;
  EXPECT_EQ(ZQCheckControl(c, &s), 2);
  s.reset();
  ASSERT_EQ(ZQSetUserNameSource(c, [](char* user) { strcpy(user, "FromSource"); }, &s), 0);
  EXPECT_EQ(ZQCheckControl(c, &s), 0);
  EXPECT_EQ(ZQSetUserNameSource(nullptr, nullptr, &s), 3);
}

TEST(CheckControl, LengthsCountAfterConversion) {
  zqtest::Session session;
  ZQControlStruct* c = session.control();
  ZQThreadContext* ctx = session.context();
  // Client UTF-8, server Latin-1: 127 two-byte characters count as 254.
  ctx->clientCharset = zq::platform::kCharsetUtf8;
  ctx->serverCharset = 0;
  std::string e127;
  for (int i = 0; i < 127; ++i) e127 += "\xc3\xa9";
  strcpy(c->user, e127.c_str());
  Status s;
  EXPECT_EQ(ZQCheckControl(c, &s), 0);
  // Client Latin-1, server UTF-8: 128 bytes grow to 256 on the server.
  ctx->clientCharset = 0;
  ctx->serverCharset = zq::platform::kCharsetUtf8;
  memset(c->user, '\xe9', 128);
  c->user[128] = '\0';
  EXPECT_EQ(ZQCheckControl(c, &s), 2);
  EXPECT_EQ(s.appendedOf(103), "User");
  EXPECT_EQ(ZQServerTextLength(c->user), 256u);
  EXPECT_EQ(ZQServerTextLength(nullptr), 0u);
}

TEST(CheckName, EmptyAndLong) {
  zqtest::Session session;
  std::string n254(254, 'n'), n255(255, 'n');
  struct Case {
    const char* name;
    ZQBoolean emptyAllowed;
    int rc;
    int32_t message;
  } cases[] = {
      {nullptr, 0, 2, 102}, {"", 0, 2, 102},          {"", 1, 0, 0},
      {nullptr, 1, 0, 0},   {n254.c_str(), 0, 0, 0}, {n255.c_str(), 1, 2, 103},
  };
  for (const auto& tc : cases) {
    Status s;
    EXPECT_EQ(ZQCheckName(tc.name, tc.emptyAllowed, &s), tc.rc);
    EXPECT_EQ(s.count ? s.items[0].messageNumber : 0, tc.message);
  }
  Status s;
  EXPECT_EQ(ZQCheckControlAndName(session.control(), "", 0, &s), 2);
  s.reset();
  EXPECT_EQ(ZQCheckControlAndNames(session.control(), "form", n255.c_str(), &s), 2);
  EXPECT_TRUE(s.has(103));
  s.reset();
  EXPECT_EQ(ZQCheckControlAndNames(session.control(), "form", "", &s), 0);
  s.reset();
  EXPECT_EQ(ZQCheckControlAndNames(session.control(), nullptr, "x", &s), 2);
  EXPECT_TRUE(s.has(102));
}

TEST(ThreadContext, StaleAndForeignPointersAreRefusedWithoutReadingThem) {
  ZQControlStruct control = zqtest::makeControl();
  Status s;
  ASSERT_EQ(ZQInitialization(&control, &s), 0);
  ZQControlStruct stale = control;  // a copy keeps the context pointer
  ASSERT_EQ(ZQTermination(&control, &s), 0);
  EXPECT_EQ(control.context, nullptr);

  // The freed context is never dereferenced (ASan would report it).
  EXPECT_EQ(ZQCheckControl(&stale, &s), 3);
  ASSERT_EQ(s.count, 1u);
  EXPECT_EQ(s.items[0].messageNumber, 161);
  s.reset();

  // Foreign memory that even carries the magic number is not a context.
  uint32_t fake[64] = {zq::kContextMagic};
  stale.context = reinterpret_cast<ZQThreadContext*>(fake);
  EXPECT_EQ(ZQGetThreadContext(&stale, &s), nullptr);
  EXPECT_TRUE(s.has(161));
  s.reset();

  stale.context = nullptr;
  EXPECT_EQ(ZQGetThreadContext(&stale, nullptr), nullptr);
  EXPECT_EQ(ZQGetThreadContext(&stale, &s), nullptr);
  EXPECT_TRUE(s.has(161));
}

TEST(ThreadContext, NullControlGivesTheCurrentContext) {
  zqtest::Session a, b;
  Status s;
  EXPECT_EQ(ZQGetThreadContext(a.control(), &s), a.context());
  EXPECT_EQ(ZQGetThreadContext(nullptr, &s), a.context());
  EXPECT_EQ(ZQGetThreadContext(b.control(), &s), b.context());
  EXPECT_EQ(ZQGetThreadContext(nullptr, nullptr), b.context());
  EXPECT_EQ(s.count, 0u);
}
