#include "security/provider.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/platform.h"
#include "security/errors.h"
#include "security/ossl.h"

namespace zq::security {
namespace {

struct Loaded {
  Provider table{};
  void* handle = nullptr;
};

std::atomic<const Provider*> g_active{nullptr};
Loaded g_external;
std::string g_libraryName = ZQ_ENCRYPT_PROVIDER_LIBRARY;

std::recursive_mutex& loadLock() {
  return platform::processLock(platform::ProcessLock::encryptionLibrary);
}

template <class Fn>
Fn slot(const ZQEncryptEntryPoint* slots, uint32_t count, unsigned ordinal) {
  return ordinal < count ? reinterpret_cast<Fn>(slots[ordinal]) : nullptr;
}

// Fills table from the library's slots; false when a required one is absent.
bool resolve(void* handle, Provider& p) {
  auto tableFn =
      reinterpret_cast<ZQEncryptProviderTableFn>(dlsym(handle, ZQ_ENCRYPT_PROVIDER_SYMBOL));
  if (!tableFn) return false;
  uint32_t count = 0;
  const ZQEncryptEntryPoint* s = tableFn(&count);
  if (!s) count = 0;
  p = Provider{};
  p.genRandomBytes = slot<ZQGenRandomBytesFn>(s, count, 1);
  p.initEncryption = slot<ZQInitEncryptionFn>(s, count, 2);
  p.endEncryption = slot<ZQEndEncryptionFn>(s, count, 3);
  p.genPPKeyPair = slot<ZQGenPPKeyPairFn>(s, count, 4);
  p.publicKeyEncrypt = slot<ZQPublicKeyEncryptFn>(s, count, 5);
  p.publicKeyDecrypt = slot<ZQPublicKeyDecryptFn>(s, count, 6);
  p.genDataEncryptKeys = slot<ZQGenDataEncryptKeysFn>(s, count, 7);
  p.encryptData = slot<ZQEncryptDataFn>(s, count, 8);
  p.decryptData = slot<ZQDecryptDataFn>(s, count, 9);
  p.getEncryptAlgDefaults = slot<ZQGetEncryptAlgDefaultsFn>(s, count, 12);
  p.isPublicKeyAlgSupported = slot<ZQIsAlgSupportedFn>(s, count, 14);
  p.isDataEncryptAlgSupported = slot<ZQIsAlgSupportedFn>(s, count, 15);
  p.extra16 = slot<ZQEncryptEntryPoint>(s, count, 16);
  p.extra17 = slot<ZQEncryptEntryPoint>(s, count, 17);
  p.extra18 = slot<ZQEncryptEntryPoint>(s, count, 18);
  p.getEncryptConfig = slot<ZQGetEncryptConfigFn>(s, count, 19);
  p.setEncryptLevel = slot<ZQSetEncryptLevelFn>(s, count, 20);
  p.setFipsConfig = slot<ZQSetFipsConfigFn>(s, count, 21);
  p.getEncryptConfigValue = slot<ZQGetEncryptConfigValueFn>(s, count, 22);
  p.getEncryptConfigInt = slot<ZQGetEncryptConfigFn>(s, count, 23);
  p.defaultPublicKeyAlgorithm = slot<ZQEncryptQueryFn>(s, count, 25);
  p.setDefaultSecurityPolicy = slot<ZQEncryptQueryFn>(s, count, 26);
  p.lastError = slot<ZQEncryptQueryFn>(s, count, 27);
  p.checkEncryptionPolicy = slot<ZQCheckEncryptionPolicyFn>(s, count, 28);
  p.checkPolicy = slot<ZQCheckPolicyFn>(s, count, 29);
  p.initializeSecurity = slot<ZQInitializeSecurityFn>(s, count, 30);
  p.setEncryptConfigInt = slot<ZQSetEncryptConfigIntFn>(s, count, 31);
  p.isNewDataEncryptAlgSupported = slot<ZQIsAlgSupportedFn>(s, count, 32);
  p.extra33 = slot<ZQEncryptEntryPoint>(s, count, 33);
  p.external = true;
  return p.genRandomBytes && p.initEncryption && p.endEncryption && p.genPPKeyPair &&
         p.publicKeyEncrypt && p.publicKeyDecrypt && p.genDataEncryptKeys && p.encryptData &&
         p.decryptData && p.getEncryptAlgDefaults && p.isPublicKeyAlgSupported &&
         p.isDataEncryptAlgSupported;
}

}  // namespace

const Provider& provider() {
  const Provider* p = g_active.load(std::memory_order_acquire);
  return p ? *p : builtinProvider();
}

bool externalProviderLoaded() {
  const Provider* p = g_active.load(std::memory_order_acquire);
  return p && p->external;
}

int loadProvider() {
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  if (g_active.load(std::memory_order_acquire)) return kOk;
  if (void* handle = platform::openLibrary(g_libraryName)) {
    Provider table{};
    if (!resolve(handle, table)) {
      dlclose(handle);
      return kMsgIncompleteProvider;
    }
    g_external.table = table;
    g_external.handle = handle;
    g_active.store(&g_external.table, std::memory_order_release);
    return kOk;
  }
  // The built-in provider; its password cipher needs our OpenSSL context.
  // A failure there is reported by each operation (9005), not here.
  ossl::prepare();
  g_active.store(&builtinProvider(), std::memory_order_release);
  return kOk;
}

int providerCheckPolicy(int32_t policy) {
  const Provider& p = provider();
  return p.checkPolicy ? p.checkPolicy(policy) : kOk;
}

int providerLastError() {
  const Provider& p = provider();
  return p.lastError ? p.lastError() : kOk;
}

int providerInitializeSecurity(ZQEncryptStateStruct* state, int32_t dataAlgorithm,
                               int32_t publicKeyAlgorithm, int32_t policy) {
  const Provider& p = provider();
  return p.initializeSecurity
             ? p.initializeSecurity(state, dataAlgorithm, 0, publicKeyAlgorithm, 0, policy)
             : kOk;
}

namespace testing {

void setProviderLibraryName(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  g_libraryName = name ? name : ZQ_ENCRYPT_PROVIDER_LIBRARY;
}

void unloadProvider() {
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  g_active.store(nullptr, std::memory_order_release);
  if (g_external.handle) dlclose(g_external.handle);
  g_external = Loaded{};
}

}  // namespace testing

}  // namespace zq::security
