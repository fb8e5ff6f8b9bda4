#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "frame/context.h"
#include "platform/catalog.h"
#include "support/session.h"

namespace {

std::string messageText(int32_t number) {
  char buffer[ZQ_MESSAGE_TEXT_SIZE];
  ZQGetMessageText(number, buffer);
  return buffer;
}

// Points the library at another catalog for one test.
struct CatalogOverride {
  explicit CatalogOverride(const std::string& path) { zq::platform::setCatalogPathForTesting(path); }
  ~CatalogOverride() { zq::platform::setCatalogPathForTesting(""); }
};

}  // namespace

TEST(MessageCatalog, LooksUpSetsByNumberRange) {
  EXPECT_EQ(messageText(90), "Cannot establish a network connection to the server");
  // 120000..120999 live in set 20 as number - 119000.
  EXPECT_EQ(messageText(120005), "Server extension message 120005");
  EXPECT_EQ(messageText(7777), "Message not in catalog; Message number = 7777");
}

TEST(MessageCatalog, MissingCatalogGivesTheBuiltInText) {
  CatalogOverride missing("/nonexistent/zqsystem.cat");
  char* text = ZQGetTextForErrorMessage(90);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "Cannot open catalog; Message number = 90");
  ZQFree(text);
  // Adding a status entry still works and carries that text.
  zqtest::Status s;
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 161, nullptr), 2);
  EXPECT_STREQ(s.items[0].message, "Cannot open catalog; Message number = 161");
}

TEST(MessageCatalog, CatalogStringNeedsAContext) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  EXPECT_STREQ(ZQGetCatalogString(255, 88), "ZQAPILOGGING");
  EXPECT_EQ(ZQGetCatalogString(255, 9999), nullptr);  // empty string gives null
  {
    CatalogOverride missing("/nonexistent/zqsystem.cat");
    EXPECT_EQ(ZQGetCatalogString(255, 88), nullptr);
  }
}

TEST(MessageCatalog, ProcessHandleStaysOpen) {
  EXPECT_GE(ZQOpenMessageCatalog(), 0);
  EXPECT_EQ(*static_cast<int*>(ZQGetOrdinal(821)), ZQMessageCatalogHandle);
  EXPECT_EQ(messageText(90), "Cannot establish a network connection to the server");
  int again = ZQOpenMessageCatalog();  // reopening closes the old handle
  EXPECT_GE(again, 0);
  {
    CatalogOverride missing("/nonexistent/zqsystem.cat");
    EXPECT_EQ(ZQOpenMessageCatalog(), -1);
  }
  // A handle of -1 means: open the catalog for each lookup again.
  EXPECT_EQ(ZQMessageCatalogHandle, -1);
  EXPECT_EQ(messageText(90), "Cannot establish a network connection to the server");
}

TEST(FormatVersionString, Table) {
  zqtest::Session session;
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"7.5.00 Patch 004", " 7.05.00 patch 004"},
      {"7.5", " 7.05"},
      {"12.1.3", "12.01.03"},
      {"7.5.00 Patch 007 201009161400", " 7.05.00 patch 007 201009161400"},
      {"6.3 beta Patch Patch", " 6.03 beta patch Patch"},
      {"100.1", "100.1"},   // major above 99: unchanged
      {"7", "7"},           // no minor number
      {"7.100", "7.100"},   // minor above 99
      {"x7.5", "x7.5"},
      {"0.5", "0.5"},
  };
  for (const auto& c : cases) {
    std::string in = c.in;
    EXPECT_STREQ(ZQFormatVersionString(in.data()), c.out) << c.in;
  }
  EXPECT_EQ(ZQFormatVersionString(nullptr), nullptr);
}

TEST(FormatVersionString, WithoutContextReturnsTheArgument) {
  zq::setCurrentContext(nullptr);
  char text[] = "7.5.00";
  EXPECT_EQ(ZQFormatVersionString(text), text);
}

TEST(SystemErrorText, CutsAndReportsIt) {
  char buffer[8];
  EXPECT_EQ(ZQGetSystemErrorText(ENOENT, buffer, sizeof buffer), 34);
  EXPECT_EQ(std::string(buffer), std::string(strerror(ENOENT)).substr(0, 7));
  char big[256];
  EXPECT_EQ(ZQGetSystemErrorText(ENOENT, big, sizeof big), 0);
  EXPECT_STREQ(big, strerror(ENOENT));
  EXPECT_EQ(ZQGetSystemErrorText(100000, big, sizeof big), 0);
  EXPECT_STREQ(big, "");
}

TEST(ErrnoText, JoinsSystemTextAndCallerText) {
  zqtest::Session session;
  errno = ENOENT;
  EXPECT_EQ(std::string(ZQGetErrnoText("opening x")), std::string(strerror(ENOENT)) + " : opening x");
  errno = 0;  // no error, no system text
  EXPECT_STREQ(ZQGetErrnoText("only text"), "only text");
  errno = ENOENT;
  EXPECT_STREQ(ZQGetErrnoText(nullptr), strerror(ENOENT));
}

TEST(ReservedRange, Boundaries) {
  for (int n : {50, 89, 8031, 8200}) EXPECT_TRUE(ZQIsReservedRangeMessage(n)) << n;
  for (int n : {49, 90, 8030, 8201, -50}) EXPECT_FALSE(ZQIsReservedRangeMessage(n)) << n;
}

TEST(Ordinals, FrameFunctionsAreReachable) {
  EXPECT_EQ(ZQGetOrdinal(806), reinterpret_cast<void*>(&ZQAddStatus));
  EXPECT_EQ(ZQGetOrdinal(841), reinterpret_cast<void*>(&ZQMergeStatusLists));
  EXPECT_EQ(ZQGetOrdinal(852), reinterpret_cast<void*>(&ZQFree));
  EXPECT_EQ(ZQGetOrdinal(0), nullptr);
  auto alloc = reinterpret_cast<void* (*)(size_t)>(ZQGetOrdinal(850));
  void* p = alloc(16);
  ASSERT_NE(p, nullptr);
  ZQFree(p);
  ZQFree(nullptr);
}
