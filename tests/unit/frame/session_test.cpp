#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "frame/alloc.h"
#include "frame/context.h"
#include "frame/env.h"
#include "platform/catalog.h"
#include "support/session.h"

using zqtest::ScopedEnv;
using zqtest::Status;

TEST(EnvParsing, Timeouts) {
  struct Case {
    const char* text;
    uint32_t normal, lng, xlong;
  } cases[] = {
      {"60", 60, 300, 1800},        {"60;0;3600", 60, 300, 3600}, {"1:2:3", 1, 2, 3},
      {"-5:abc:7", 120, 300, 7},    {"", 120, 300, 1800},         {"::9", 120, 300, 9},
      {"10:20:30:40", 10, 20, 30},  {"5x", 120, 300, 1800},
  };
  for (const auto& c : cases) {
    zq::Settings s;
    zq::env::parseTimeouts(c.text, s);
    EXPECT_EQ(s.timeoutNormal, c.normal) << c.text;
    EXPECT_EQ(s.timeoutLong, c.lng) << c.text;
    EXPECT_EQ(s.timeoutExtraLong, c.xlong) << c.text;
  }
}

TEST(EnvParsing, ResponseSizeProgramAndProtocol) {
  EXPECT_EQ(zq::env::parseResponseSize("4095"), 500000u);
  EXPECT_EQ(zq::env::parseResponseSize("4096"), 4096u);
  EXPECT_EQ(zq::env::parseResponseSize("10000000"), 10000000u);
  EXPECT_EQ(zq::env::parseResponseSize("10000001"), 500000u);
  EXPECT_EQ(zq::env::parseResponseSize(nullptr), 500000u);
  for (long ok : {0L, 390600L, 390603L, 390619L, 390669L, 390680L, 390694L})
    EXPECT_TRUE(zq::env::acceptedProgram(ok)) << ok;
  for (long bad : {1L, 390601L, 390618L, 390670L, 390679L, 390695L})
    EXPECT_FALSE(zq::env::acceptedProgram(bad)) << bad;
  EXPECT_STREQ(zq::env::parseProtocol("udpx"), "udp");
  EXPECT_STREQ(zq::env::parseProtocol("UDP"), "tcp");
  EXPECT_STREQ(zq::env::parseProtocol(nullptr), "tcp");
}

TEST(Initialization, ReadsTheEnvironment) {
  ScopedEnv t("ZQAPITIMEOUTS", "60;0;3600");
  ScopedEnv r("ZQRPC_RESPONSE_SIZE", "4096");
  ScopedEnv p("ZQRPC", "390621");
  ScopedEnv port("ZQTCPPORT", "7777");
  ScopedEnv proto("ZQPROTOCOL", "udp");
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  const zq::Settings& s = session.context()->settings;
  EXPECT_EQ(s.timeoutNormal, 60u);
  EXPECT_EQ(s.timeoutLong, 300u);
  EXPECT_EQ(s.timeoutExtraLong, 3600u);
  EXPECT_EQ(s.responseSize, 4096u);
  EXPECT_EQ(s.rpcProgram, 390621u);
  EXPECT_TRUE(s.programGiven);
  EXPECT_EQ(s.tcpPort, 7777u);
  EXPECT_EQ(s.transport, "udp");
  EXPECT_EQ(s.settingsFlag, 1);
  EXPECT_EQ(session.context()->programPerQueue[zq::kQueueAdmin], 390600u);
}

TEST(Initialization, BadProgramNumberIsAWarning) {
  ScopedEnv p("ZQRPC", "12345");
  ZQControlStruct control = zqtest::makeControl();
  Status s;
  EXPECT_EQ(ZQInitialization(&control, &s), 1);
  ASSERT_EQ(s.count, 1u);
  EXPECT_EQ(s.items[0].messageNumber, 68);
  EXPECT_STREQ(s.items[0].appended, "12345");
  EXPECT_EQ(control.context->settings.rpcProgram, 0u);
  EXPECT_FALSE(control.context->settings.programGiven);
  s.reset();
  ZQTermination(&control, &s);
}

TEST(Initialization, VariableNamesComeFromTheCatalog) {
  // A catalog that renames the response-size variable.
  std::string dir = testing::TempDir();
  std::string msg = dir + "/renamed.msg", cat = dir + "/renamed.cat";
  std::ofstream(msg) << "$set 255\n86 MY_RESPONSE_SIZE\n";
  ASSERT_EQ(system(("gencat " + cat + " " + msg).c_str()), 0);
  zq::platform::setCatalogPathForTesting(cat);
  ScopedEnv mine("MY_RESPONSE_SIZE", "8192");
  ScopedEnv standard("ZQRPC_RESPONSE_SIZE", "4096");
  zqtest::Session session;
  zq::platform::setCatalogPathForTesting("");
  EXPECT_EQ(session.context()->settings.responseSize, 8192u);
}

TEST(Initialization, RecordingFilesAreNumberedPerInitialization) {
  zq::testing::resetLogFileCounter();
  ScopedEnv logging("ZQAPILOGGING", "1");
  Status s;
  ZQControlStruct first = zqtest::makeControl(), second = zqtest::makeControl(),
                  named = zqtest::makeControl();
  ASSERT_EQ(ZQInitialization(&first, &s), 0);
  ASSERT_EQ(ZQInitialization(&second, &s), 0);
  ASSERT_EQ(ZQInitializationWithLogs(&named, "mine.cmd", nullptr, 1, &s), 0);
  ZQValueStruct v{};
  ZQGetSessionVariable(&first, 10, &v, &s);
  EXPECT_STREQ(v.u.charValue, "zqapicmd.log");
  ZQFree(v.u.charValue);
  ZQGetSessionVariable(&second, 11, &v, &s);
  EXPECT_STREQ(v.u.charValue, "zqapires_1.log");
  ZQFree(v.u.charValue);
  ZQGetSessionVariable(&named, 10, &v, &s);
  EXPECT_STREQ(v.u.charValue, "mine.cmd");  // given names win over numbered ones
  ZQFree(v.u.charValue);
  for (auto* c : {&first, &second, &named}) ZQTermination(c, &s);
  unlink("zqapicmd.log");
  unlink("zqapires.log");
  unlink("zqapicmd_1.log");
  unlink("zqapires_1.log");
  unlink("mine.cmd");
}

TEST(Initialization, FailuresLeaveTheControlRecordAlone) {
  ZQControlStruct control = zqtest::makeControl();
  EXPECT_EQ(ZQInitialization(&control, nullptr), 4);
  EXPECT_EQ(control.context, nullptr);
  Status s;
  EXPECT_EQ(ZQInitialization(nullptr, &s), 2);

  s.reset();
  zq::testing::failOnlyAllocation(0);  // the context
  int rc = ZQInitialization(&control, &s);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(rc, 2);
  EXPECT_EQ(control.context, nullptr);
  EXPECT_TRUE(s.has(154));
  s.reset();
  zq::testing::failAllocationsAfter(0);  // not even the message fits
  rc = ZQInitialization(&control, &s);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(rc, 3);
  EXPECT_EQ(control.context, nullptr);
}

TEST(Initialization, WithLogsCarriesTheHostIdentityOver) {
  ZQControlStruct control = zqtest::makeControl();
  Status s;
  ASSERT_EQ(ZQInitialization(&control, &s), 0);
  ZQThreadContext* old = control.context;
  strcpy(old->clientHostIdentity, "10.1.2.3");
  ASSERT_EQ(ZQInitializationWithLogs(&control, nullptr, nullptr, 0, &s), 0);
  EXPECT_NE(control.context, old);
  EXPECT_STREQ(control.context->clientHostIdentity, "10.1.2.3");
  ZQTermination(&control, &s);
  ZQControlStruct oldRecord = zqtest::makeControl();
  oldRecord.context = old;  // the abandoned context is still alive: release it
  ZQTermination(&oldRecord, &s);
}

TEST(Termination, StatusAndContextRules) {
  ZQControlStruct control = zqtest::makeControl();
  Status s;
  ASSERT_EQ(ZQInitialization(&control, &s), 0);
  ZQThreadContext* ctx = control.context;
  EXPECT_EQ(ZQTermination(&control, nullptr), 0);  // does nothing
  EXPECT_EQ(control.context, ctx);
  EXPECT_TRUE(zq::isLiveContext(ctx));
  EXPECT_EQ(ZQTermination(&control, &s), 0);
  EXPECT_EQ(control.context, nullptr);
  EXPECT_FALSE(zq::isLiveContext(ctx));
  EXPECT_EQ(zq::currentContext(), nullptr);
  // Uninitialized: 0 and an empty list, not 161.
  EXPECT_EQ(ZQTermination(&control, &s), 0);
  EXPECT_EQ(s.count, 0u);
  EXPECT_EQ(ZQTermination(nullptr, &s), 0);
}

TEST(Termination, CallerManagedCacheIdKeepsTheContext) {
  ZQControlStruct control = zqtest::makeControl();
  Status s;
  ASSERT_EQ(ZQInitialization(&control, &s), 0);
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = 1;
  ASSERT_EQ(ZQSetSessionVariable(&control, 6, &v, &s), 0);
  EXPECT_EQ(ZQTermination(&control, &s), 0);
  ASSERT_NE(control.context, nullptr);
  EXPECT_TRUE(zq::isLiveContext(control.context));
  v.u.integerValue = 0;
  ASSERT_EQ(ZQSetSessionVariable(&control, 6, &v, &s), 0);
  EXPECT_EQ(ZQTermination(&control, &s), 0);
  EXPECT_EQ(control.context, nullptr);
}
