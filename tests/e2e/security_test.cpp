// Wire encryption and password protection against zqserverd on loopback:
// the key exchange at binding under each policy, the envelope, the driver's
// re-key and encryption-switch paths, and the request-header password.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/alloc.h"
#include "frame/context.h"
#include "calls/session.h"
#include "platform/config.h"
#include "security/handshake_seam.h"
#include "security/provider.h"
#include "support/server_fixture.h"
#include "transport/state.h"

using zqtest::Status;

namespace {

zq::transport::Binding* fastBinding(ZQControlStruct* c) {
  auto* st = zq::transport::stateOf(c->context);
  return st ? st->current[zq::kQueueFast] : nullptr;
}

std::string describe(const Status& s) {
  std::string out;
  for (auto [type, number] : s.entries())
    out += " (" + std::to_string(type) + "," + std::to_string(number) + ")";
  return out.empty() ? " (none)" : out;
}

}  // namespace

class Security : public zqtest::ServerTest {
 protected:
  zqserver::Faults& faults() { return server_->faults(); }
  void setPolicy(int32_t policy) { server_->crypto().setPolicy(policy); }
};

// Each policy, taken at the first binding: whether the binding encrypts and
// every call after it goes through the envelope.
TEST_F(Security, PolicyDecidesTheEnvelope) {
  struct Case {
    int32_t policy;
    bool encrypted;
  } cases[] = {{ZQ_SECURITY_POLICY_REQUIRED, true},
               {ZQ_SECURITY_POLICY_OPTIONAL, true},
               {ZQ_SECURITY_POLICY_DISABLED, false}};
  for (const auto& c : cases) {
    setPolicy(c.policy);
    faults().reset();
    ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_EQ(ZQInitialization(&control, &s), 0);
    usePort(&control);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(ping(&control, s), 0) << c.policy << describe(s);

    zq::transport::Binding* b = fastBinding(&control);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->encryptionOn, c.encrypted) << c.policy;
    EXPECT_EQ(b->keys.hasKeys(), c.encrypted) << c.policy;
    EXPECT_EQ(faults().keyExchanges.load(), c.encrypted ? 1u : 0u) << c.policy;
    // Settings request and three pings; with encryption all in the envelope.
    EXPECT_EQ(faults().callsReceived.load(), 4u) << c.policy;
    EXPECT_EQ(faults().envelopedCalls.load(), c.encrypted ? 4u : 0u) << c.policy;
    EXPECT_EQ(faults().lastProcedure.load(), 36u);  // the inner procedure

    ASSERT_EQ(ZQTermination(&control, &s), 0);
    // The session's end travels like every other call.
    EXPECT_EQ(faults().envelopedCalls.load(), c.encrypted ? 5u : 0u) << c.policy;
  }
}

TEST_F(Security, ServerWithoutEncryptionItemsIsUsedInTheClear) {
  setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
  faults().unknownEncryptionInfo = true;  // answers procedure 97 with message 91
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_EQ(s.count, 0u);  // the 91 stays inside the handshake
  EXPECT_FALSE(fastBinding(&control_)->encryptionOn);
  EXPECT_EQ(faults().keyExchangeCalls.load(), 1u);
  EXPECT_EQ(faults().envelopedCalls.load(), 0u);
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(faults().keyExchangeCalls.load(), 1u);  // asked once per binding
}

TEST_F(Security, RequiredPolicyRefusesCallsInTheClear) {
  // A binding made while the server did not encrypt is refused once the
  // server requires it; without an external provider the client cannot
  // switch encryption on by itself.
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  ASSERT_FALSE(fastBinding(&control_)->encryptionOn);
  setPolicy(ZQ_SECURITY_POLICY_REQUIRED);
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(9001)) << describe(s);
  EXPECT_TRUE(s.has(9010)) << describe(s);
  s.reset();
  faults().reset();
  setPolicy(ZQ_SECURITY_POLICY_DISABLED);
  faults().demandEncryption = 1;  // the same through the fault
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(9001) && s.has(9010)) << describe(s);
  EXPECT_EQ(faults().callsReceived.load(), 1u);  // no retry
}

TEST_F(Security, FailedKeyExchangeIsRetriedOnceAtBinding) {
  setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
  faults().failKeyTransfers = 1;
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
  EXPECT_EQ(faults().keyExchangeCalls.load(), 6u);  // 97, 95, 96 twice
  EXPECT_TRUE(fastBinding(&control_)->keys.hasKeys());

  // Failing twice fails the binding: no binding stays, nothing was sent.
  ZQControlStruct other = control_;
  strcpy(other.user, "Second");
  other.cacheId = 0;
  faults().reset();
  faults().failKeyTransfers = 2;
  EXPECT_EQ(ping(&other, s), 2);
  EXPECT_EQ(s.entries().front(), std::make_pair(uint32_t{ZQ_MESSAGE_ERROR}, 9003)) << describe(s);
  EXPECT_EQ(faults().callsReceived.load(), 0u);
  EXPECT_EQ(zq::transport::stateOf(control_.context)->bindings[zq::kQueueFast].size(), 1u);
  s.reset();
  ASSERT_EQ(ping(&other, s), 0) << describe(s);  // binds afresh
}

class EncryptedSecurity : public Security {
 protected:
  void SetUp() override {
    Security::SetUp();
    setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
    Status s;
    ASSERT_EQ(ping(&control_, s), 0) << describe(s);
    ASSERT_TRUE(fastBinding(&control_)->keys.hasKeys());
    faults().reset();
  }
};

TEST_F(EncryptedSecurity, RejectedKeysAreRenegotiatedOnce) {
  faults().rejectKeys = 1;
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
  EXPECT_EQ(faults().envelopedCalls.load(), 1u);  // the retry, under the new keys
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
  EXPECT_EQ(faults().envelopedCalls.load(), 2u);

  // A server that lost its keys asks for new ones the same way.
  faults().forgetKeys = 1;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_EQ(faults().keyExchanges.load(), 2u);
}

TEST_F(EncryptedSecurity, KeysRejectedAlwaysEndWith9002AfterOneRenegotiation) {
  faults().rejectKeysAlways = true;
  Status s;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(9002)) << describe(s);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
  EXPECT_EQ(faults().callsReceived.load(), 2u);
  s.reset();
  faults().rejectKeysAlways = false;
  EXPECT_EQ(ping(&control_, s), 0) << describe(s);  // the next call works again
}

TEST_F(EncryptedSecurity, BadCredentialsTurnEncryptionOff) {
  faults().badCredentials = 1;
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_FALSE(fastBinding(&control_)->encryptionOn);
  // The refused call came in the envelope, the retry in the clear.
  EXPECT_EQ(faults().envelopedCalls.load(), 1u);
  EXPECT_EQ(faults().callsReceived.load(), 2u);
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(faults().envelopedCalls.load(), 1u);  // stays off for the binding
}

TEST_F(EncryptedSecurity, BadCredentialsTwiceInOneCallGive9002) {
  faults().badCredentials = 2;
  Status s;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(9002)) << describe(s);
  EXPECT_EQ(faults().callsReceived.load(), 2u);
}

TEST_F(EncryptedSecurity, ReplyThatDoesNotDecipherIsAnError) {
  faults().corruptEnvelopes = 1;
  Status s;
  ZQServerInfoList out{0, nullptr};
  EXPECT_EQ(serverInfo(&control_, {4, 55}, &out, s), 2);
  EXPECT_TRUE(s.has(9004)) << describe(s);
  EXPECT_EQ(out.count, 0u);
  EXPECT_EQ(out.items, nullptr);
  EXPECT_EQ(faults().callsReceived.load(), 1u);  // the request ran: not sent again
  s.reset();
  ASSERT_EQ(serverInfo(&control_, {4, 55}, &out, s), 0) << describe(s);
  ASSERT_EQ(out.count, 2u);
  EXPECT_STREQ(out.items[0].value.u.charValue, "7.5.00 Patch 004");
  FreeZQServerInfoList(&out, 0);
}

TEST_F(EncryptedSecurity, SecondUserGetsKeysOfItsOwn) {
  ZQControlStruct other = control_;
  strcpy(other.user, "Second");
  other.cacheId = 0;
  Status s;
  ASSERT_EQ(ping(&other, s), 0) << describe(s);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
  // Both bindings keep working over the same connection.
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  ASSERT_EQ(ping(&other, s), 0) << describe(s);
  EXPECT_EQ(faults().envelopedCalls.load(), 3u);
  EXPECT_EQ(faults().keyExchanges.load(), 1u);
}

// The request-header password and the envelope by the newest version the
// server speaks: the legacy scramble below 12, the cipher text from 12 on;
// versions 8 and 9 without an external provider travel in the clear.
struct VersionCase {
  int maxVersion;
  bool enveloped;
  bool cipherPassword;
};

class SecurityByVersion : public Security, public ::testing::WithParamInterface<VersionCase> {
 protected:
  void configure(zqserver::Options& o) override {
    o.minVersion = 7;
    o.maxVersion = GetParam().maxVersion;
    o.securityPolicy = ZQ_SECURITY_POLICY_OPTIONAL;
  }
};

TEST_P(SecurityByVersion, PasswordAndEnvelope) {
  const VersionCase& c = GetParam();
  strcpy(control_.password, "pa55 w0rd!");
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  ASSERT_EQ(faults().lastVersion.load(), static_cast<uint32_t>(c.maxVersion));
  // Even the calls that stepped down to the server's version carried a
  // password it could read.
  for (const auto& seen : server_->sessions().recentPasswords())
    EXPECT_EQ(seen.plain, "pa55 w0rd!") << seen.version << " " << seen.received;
  EXPECT_EQ(faults().keyExchanges.load(), 1u);  // keys are agreed from version 8 on
  faults().reset();
  ASSERT_EQ(ping(&control_, s), 0) << describe(s);
  EXPECT_EQ(faults().envelopedCalls.load(), c.enveloped ? 1u : 0u);

  zqserver::Sessions::Password seen = server_->sessions().lastPassword();
  EXPECT_EQ(seen.version, c.maxVersion);
  EXPECT_EQ(seen.rc, 0);
  EXPECT_EQ(seen.plain, "pa55 w0rd!");
  EXPECT_NE(seen.received, "pa55 w0rd!");
  if (c.cipherPassword) {
    EXPECT_EQ(seen.received.size(), 120u) << seen.received;
  } else {
    EXPECT_EQ(seen.received.size(), 30u) << seen.received;  // padded and scrambled
  }
  // The session keeps what it saw.
  EXPECT_EQ(server_->sessions().passwordOf(control_.cacheId).plain, "pa55 w0rd!");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SecurityByVersion,
    ::testing::Values(VersionCase{9, false, false}, VersionCase{11, true, false},
                      VersionCase{12, true, true}, VersionCase{14, true, true}),
    [](const auto& info) { return "UpTo" + std::to_string(info.param.maxVersion); });

TEST_F(Security, EmptyPasswordTravelsInBothForms) {
  for (int32_t policy : {ZQ_SECURITY_POLICY_DISABLED, ZQ_SECURITY_POLICY_REQUIRED}) {
    setPolicy(policy);
    ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_EQ(ZQInitialization(&control, &s), 0);
    usePort(&control);
    ASSERT_EQ(ping(&control, s), 0) << describe(s);
    zqserver::Sessions::Password seen = server_->sessions().lastPassword();
    EXPECT_EQ(seen.received.size(), 120u);
    EXPECT_EQ(seen.rc, 0);
    EXPECT_EQ(seen.plain, "");
    ZQTermination(&control, &s);
  }
}

// The provider-loaded branch of the driver: with an external provider the
// client switches encryption on when the server demands it, and negotiates.
// (The test provider lacks the server's public-key algorithm and refuses the
// required policy, so the negotiation ends without encryption.)
class ExternalProvider : public Security {
 protected:
  void SetUp() override {
    Security::SetUp();
    // The server's key pair comes from the built-in provider before the
    // test provider replaces it in this process.
    ASSERT_EQ(server_->crypto().prepareKeyPair(), 0);
    Status s;
    ZQTermination(&control_, &s);
    zq::security::testing::unloadProvider();
    zq::security::testing::setProviderLibraryName("libzqtestprovider_complete.so");
    control_ = zqtest::makeControl("Demo", "127.0.0.1");
    ASSERT_EQ(ZQInitialization(&control_, &s), 0) << describe(s);
    ASSERT_TRUE(zq::security::externalProviderLoaded());
    usePort(&control_);
  }
  void TearDown() override {
    Status s;
    if (control_.context) ZQTermination(&control_, &s);
    zq::security::testing::unloadProvider();
    zq::security::testing::setProviderLibraryName(nullptr);
    Security::TearDown();
  }
};

TEST_F(ExternalProvider, DemandedEncryptionIsSwitchedOnAndNegotiated) {
  // Optional policy with an algorithm the provider lacks: a warning, and the
  // binding goes without.
  setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
  Status s;
  ASSERT_EQ(ping(&control_, s), 1) << describe(s);
  EXPECT_EQ(s.entries().front(), std::make_pair(uint32_t{ZQ_MESSAGE_WARNING}, 9006));
  EXPECT_FALSE(fastBinding(&control_)->encryptionOn);
  s.reset();

  faults().reset();
  faults().demandEncryption = 1;
  EXPECT_EQ(ping(&control_, s), 1) << describe(s);
  EXPECT_FALSE(s.has(9001) || s.has(9010)) << describe(s);
  EXPECT_TRUE(s.has(9006));
  EXPECT_EQ(faults().keyExchangeCalls.load(), 1u);  // asked again after the switch
  EXPECT_EQ(faults().callsReceived.load(), 2u);
  EXPECT_FALSE(fastBinding(&control_)->encryptionOn);

  // A provider that refuses the server's policy fails the negotiation.
  s.reset();
  setPolicy(ZQ_SECURITY_POLICY_REQUIRED);
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_EQ(s.appendedOf(9001), "127.0.0.1") << describe(s);
}

TEST(SourceIdentity, StoredEnciphered) {
  std::string path = ::testing::TempDir() + "zqapi-identity-" + std::to_string(getpid());
  zqtest::ScopedEnv config("ZQAPI_CONFIG", path.c_str());
  unlink(path.c_str());
  std::string identity;
  {
    zqtest::Session session(zqtest::makeControl("Demo", "127.0.0.1"));
    Status s;
    char* text = nullptr;
    ASSERT_EQ(ZQGetClientIdentity(session.control(), &text, &s), 0);
    identity = text;
    ZQFree(text);
  }
  ASSERT_EQ(identity.size(), 30u);
  EXPECT_EQ(identity.rfind("AP", 0), 0u);
  auto stored = zq::platform::configValue("apiSourceID");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->find(identity), std::string::npos);  // not in the clear
  EXPECT_EQ(stored->find('\n'), std::string::npos);
  std::string plain;
  ASSERT_TRUE(zq::security::unprotectSourceIdentity(*stored, plain));
  EXPECT_EQ(plain.rfind("1,", 0), 0u);
  EXPECT_EQ(plain.substr(plain.size() - identity.size()), identity);

  // The next context reads the same identity back.
  {
    zqtest::Session session(zqtest::makeControl("Demo", "127.0.0.1"));
    Status s;
    char* text = nullptr;
    ASSERT_EQ(ZQGetClientIdentity(session.control(), &text, &s), 0);
    EXPECT_EQ(identity, text);
    ZQFree(text);
  }
  // A damaged value is replaced by a new identity.
  ASSERT_TRUE(zq::platform::setConfigValue("apiSourceID", "bm90IGEgdmFsdWU="));
  {
    zqtest::Session session(zqtest::makeControl("Demo", "127.0.0.1"));
    Status s;
    char* text = nullptr;
    ASSERT_EQ(ZQGetClientIdentity(session.control(), &text, &s), 0);
    EXPECT_NE(identity, text);
    EXPECT_EQ(strlen(text), 30u);
    ZQFree(text);
  }
  unlink(path.c_str());
}

// The client identity is exported by ordinal 835 as well.
TEST(SourceIdentity, ExportedByOrdinal) {
  using GetIdentity = int (*)(ZQControlStruct*, char**, ZQStatusList*);
  auto get = reinterpret_cast<GetIdentity>(ZQGetOrdinal(835));
  ASSERT_EQ(reinterpret_cast<void*>(get), reinterpret_cast<void*>(&ZQGetClientIdentity));
  Status s;
  EXPECT_EQ(get(nullptr, nullptr, &s), 2);
  EXPECT_TRUE(s.has(233));
}

// Running out of memory at any allocation of a first encrypted call (key
// exchange, envelope, password protection) fails the call cleanly.
TEST_F(Security, RunningOutOfMemoryAnywhereFailsCleanly) {
  setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
  for (long n = 0;; ++n) {
    ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
    strcpy(control.password, "secret");
    Status s;
    ASSERT_EQ(ZQInitialization(&control, &s), 0);
    usePort(&control);
    zq::testing::failOnlyAllocation(n);
    int rc = ping(&control, s);
    const long failed = zq::testing::failedAllocations();
    zq::testing::failOnlyAllocation(-1);
    EXPECT_TRUE(rc == 0 || rc >= 2) << n << describe(s);
    if (rc >= 2) {
      EXPECT_GT(s.count, 0u) << n;
    }
    s.reset();
    ZQTermination(&control, &s);
    if (failed == 0) {
      EXPECT_EQ(rc, 0) << describe(s);
      break;
    }
    ASSERT_LT(n, 20000);
  }
}
