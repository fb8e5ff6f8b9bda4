// The encryption provider table: an external provider library when one can
// be loaded, otherwise the built-in provider.
#pragma once

#include <cstdint>

#include "zqapi/zq_security.h"

namespace zq::security {

// Entry points by ordinal. Required ones are never null; optional ones may
// be (use the helpers below for those).
struct Provider {
  ZQGenRandomBytesFn genRandomBytes;                       // 1
  ZQInitEncryptionFn initEncryption;                       // 2
  ZQEndEncryptionFn endEncryption;                         // 3
  ZQGenPPKeyPairFn genPPKeyPair;                           // 4
  ZQPublicKeyEncryptFn publicKeyEncrypt;                   // 5
  ZQPublicKeyDecryptFn publicKeyDecrypt;                   // 6
  ZQGenDataEncryptKeysFn genDataEncryptKeys;               // 7
  ZQEncryptDataFn encryptData;                             // 8
  ZQDecryptDataFn decryptData;                             // 9
  ZQGetEncryptAlgDefaultsFn getEncryptAlgDefaults;         // 12
  ZQIsAlgSupportedFn isPublicKeyAlgSupported;              // 14
  ZQIsAlgSupportedFn isDataEncryptAlgSupported;            // 15
  ZQGetEncryptConfigFn getEncryptConfig;                   // 19
  ZQSetEncryptLevelFn setEncryptLevel;                     // 20
  ZQSetFipsConfigFn setFipsConfig;                         // 21
  ZQGetEncryptConfigValueFn getEncryptConfigValue;         // 22
  ZQGetEncryptConfigFn getEncryptConfigInt;                // 23
  ZQEncryptQueryFn defaultPublicKeyAlgorithm;              // 25
  ZQEncryptQueryFn setDefaultSecurityPolicy;               // 26
  ZQEncryptQueryFn lastError;                              // 27
  ZQCheckEncryptionPolicyFn checkEncryptionPolicy;         // 28
  ZQCheckPolicyFn checkPolicy;                             // 29
  ZQInitializeSecurityFn initializeSecurity;               // 30
  ZQSetEncryptConfigIntFn setEncryptConfigInt;             // 31
  ZQIsAlgSupportedFn isNewDataEncryptAlgSupported;         // 32
  ZQEncryptEntryPoint extra16, extra17, extra18, extra33;  // not called
  bool external;
};

// The provider in use: the loaded external one, else the built-in one
// (also before any initialization).
const Provider& provider();
const Provider& builtinProvider();

// Loads the provider once per process under its process lock: the external
// library when present and complete, else the built-in provider. Returns 0,
// or 9011 when a library was found but lacks a required entry point (it is
// unloaded again and nothing is kept).
int loadProvider();

// True when an external provider library is in use.
bool externalProviderLoaded();

// Optional entry points with the built-in answer when absent.
int providerCheckPolicy(int32_t policy);
int providerLastError();
int providerInitializeSecurity(ZQEncryptStateStruct* state, int32_t dataAlgorithm,
                               int32_t publicKeyAlgorithm, int32_t policy);

namespace testing {
// Looks for this library name instead of the standard one (null restores).
void setProviderLibraryName(const char* name);
// Forgets the provider in use and unloads an external library, so that the
// next loadProvider starts afresh. Only while no context uses it.
void unloadProvider();
}  // namespace testing

}  // namespace zq::security
