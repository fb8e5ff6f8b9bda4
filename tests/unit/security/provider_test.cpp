// Loading an external provider library, and falling back to the built-in one.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/context.h"
#include "helpers.h"
#include "security/errors.h"
#include "security/handshake.h"
#include "security/lifecycle.h"
#include "security/provider.h"

using namespace zq;
using namespace zq::security;
using zqtest::Bytes;

namespace {

// The test libraries are built next to this program.
std::string besideThisProgram(const char* name) {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&ZQInitialization), &info);
  std::string path = info.dli_fname;
  return path.substr(0, path.rfind('/') + 1) + name;
}

bool stillLoaded(const char* name) {
  void* h = dlopen(besideThisProgram(name).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

int liveProviderStates() {
  void* h =
      dlopen(besideThisProgram("libzqtestprovider_complete.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!h) return -1;
  auto fn = reinterpret_cast<int (*)()>(dlsym(h, "zqTestProviderLiveStates"));
  int n = fn ? fn() : -1;
  dlclose(h);
  return n;
}

class ProviderLoading : public ::testing::Test {
 protected:
  void SetUp() override { zq::security::testing::unloadProvider(); }
  void TearDown() override {
    zq::security::testing::setProviderLibraryName(nullptr);
    zq::security::testing::unloadProvider();
  }
  ZQControlStruct control{};
  ZQStatusList status{0, nullptr};
};

}  // namespace

TEST_F(ProviderLoading, ExternalLibraryIsFoundBesideUsAndUsed) {
  // Not on the loader's search path: found through our own directory.
  zq::security::testing::setProviderLibraryName("libzqtestprovider_complete.so");
  ASSERT_EQ(ZQInitialization(&control, &status), 0);
  EXPECT_TRUE(externalProviderLoaded());
  EXPECT_EQ(liveProviderStates(), 1) << "InitEncryption ran for the session";

  // The provider's random bytes (all 0xA5) salt the hash: openssl gives
  // base64(a5a5a5a5a5 | md5(a5a5a5a5a5 "secret" + 24 tabs)).
  char password[31] = "secret";
  ASSERT_EQ(HashPassword(password), 0);
  EXPECT_STREQ(password, "paWlpaVC6s3JC//t3tHjhNW7QgGv");

  // Its EncryptData: XOR with the key's first byte, then "TPRV".
  uint8_t keyByte = 0x20;
  ZQEncryptKeyStruct key{&keyByte, 1, {}, ZQ_DATA_ALG_DES};
  unsigned char* out = nullptr;
  uint32_t length = 0;
  const unsigned char abc[] = "abc";
  ASSERT_EQ(CRYPTLIB_EncryptBuffer(&key, 0, 0, abc, 3, &out, &length), 0);
  EXPECT_EQ(zqtest::take(out, length),
            (Bytes{'A', 'B', 'C', 0x23, 0x20, 0x20, 0x20, 'T', 'P', 'R', 'V'}));

  // A second session shares the loaded library.
  ZQControlStruct second{};
  ASSERT_EQ(ZQInitialization(&second, &status), 0);
  EXPECT_EQ(liveProviderStates(), 2);
  EXPECT_EQ(ZQTermination(&second, &status), 0);
  EXPECT_EQ(ZQTermination(&control, &status), 0);
  EXPECT_EQ(liveProviderStates(), 0) << "EndEncryption ran for each session";
}

TEST_F(ProviderLoading, ExternalProviderDecidesAboutEncryption) {
  zq::security::testing::setProviderLibraryName("libzqtestprovider_complete.so");
  ASSERT_EQ(loadProvider(), 0);
  struct Case {
    int32_t policy, dataAlgorithm, publicKeyAlgorithm;
    int rc;
    bool encrypt;
    std::vector<int32_t> messages;
  } cases[] = {
      {ZQ_SECURITY_POLICY_OPTIONAL, 6, 5, 0, true, {}},
      // Unsupported algorithms: warnings, the data one with the provider's
      // last error (status lists put the newest first).
      {ZQ_SECURITY_POLICY_OPTIONAL, 9, 4, 1, false, {9123, 9006}},
      {ZQ_SECURITY_POLICY_OPTIONAL, 1, 4, 1, false, {9006}},
      // The provider's policy check refuses "required".
      {ZQ_SECURITY_POLICY_REQUIRED, 1, 5, 2, false, {9001}},
      {ZQ_SECURITY_POLICY_DISABLED, 1, 5, 0, false, {}},
  };
  for (const Case& c : cases) {
    EncryptionInfo info;
    info.policy = c.policy;
    info.dataAlgorithm = c.dataAlgorithm;
    info.publicKeyAlgorithm = c.publicKeyAlgorithm;
    ZQStatusList list{0, nullptr};
    bool encrypt = !c.encrypt;
    EXPECT_EQ(decideEncryption(info, nullptr, "srv1", &list, encrypt), c.rc) << c.policy;
    EXPECT_EQ(encrypt, c.encrypt);
    ASSERT_EQ(list.count, c.messages.size());
    for (uint32_t i = 0; i < list.count; ++i) {
      EXPECT_EQ(list.items[i].messageNumber, c.messages[i]);
      EXPECT_STREQ(list.items[i].appended, "srv1");
    }
    FreeZQStatusList(&list, 0);
  }
}

TEST_F(ProviderLoading, IncompleteLibraryFailsInitializationAndIsUnloaded) {
  zq::security::testing::setProviderLibraryName("libzqtestprovider_incomplete.so");
  EXPECT_EQ(ZQInitialization(&control, &status), ZQ_RETURN_ERROR);
  ASSERT_EQ(status.count, 1u);
  EXPECT_EQ(status.items[0].messageNumber, kMsgIncompleteProvider);
  EXPECT_EQ(control.context, nullptr);
  EXPECT_FALSE(externalProviderLoaded());
  EXPECT_FALSE(stillLoaded("libzqtestprovider_incomplete.so"));
  FreeZQStatusList(&status, 0);

  // Each initialization tries again; once the library is gone, the built-in
  // provider takes over.
  EXPECT_EQ(ZQInitialization(&control, &status), ZQ_RETURN_ERROR);
  FreeZQStatusList(&status, 0);
  zq::security::testing::setProviderLibraryName("libzqtestprovider_absent.so");
  ASSERT_EQ(ZQInitialization(&control, &status), 0);
  EXPECT_FALSE(externalProviderLoaded());
  EXPECT_EQ(ZQTermination(&control, &status), 0);
}

TEST_F(ProviderLoading, WithoutLibraryTheBuiltinProviderServes) {
  ASSERT_EQ(ZQInitialization(&control, &status), 0);
  EXPECT_FALSE(externalProviderLoaded());
  EXPECT_FALSE(provider().external);
  ASSERT_TRUE(zq::isLiveContext(control.context));
  SecurityState* state = stateOf(control.context);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->provider, &builtinProvider());
  EXPECT_EQ(ZQTermination(&control, &status), 0);
}

TEST_F(ProviderLoading, OutOfMemoryDuringInitializationLeavesNothing) {
  for (long n = 0; n < 30; ++n) {
    ZQControlStruct c{};
    ZQStatusList s{0, nullptr};
    zq::testing::failAllocationsAfter(n);
    int rc = ZQInitialization(&c, &s);
    zq::testing::failAllocationsAfter(-1);
    if (rc == 0) {
      EXPECT_EQ(ZQTermination(&c, &s), 0);
      break;
    }
    EXPECT_EQ(c.context, nullptr) << n;
    FreeZQStatusList(&s, 0);
  }
}
