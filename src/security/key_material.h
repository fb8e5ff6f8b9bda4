// Fixed key material shared by the client and the reference server.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zq::security::keys {

inline constexpr size_t kPasswordKeySize = 24;
inline constexpr size_t kPasswordKeyCount = 3;
inline constexpr size_t kScramblerRowCount = 16;

extern const uint8_t kHeaderPasswordKey[kPasswordKeySize];
extern const uint8_t kPasswordKeys[kPasswordKeyCount][kPasswordKeySize];
extern const uint8_t kSaltVector[8];
extern const char kDocumentKeyText[];  // 30 characters
extern const char kSourceIdentityKeyText[];  // 20 characters

// Legacy scrambler keys: a label turned into a key number, and two fixed
// key numbers (password-bearing server settings; password field values for
// servers below protocol 10).
extern const char kRemoteWorkflowLabel[];
extern const uint32_t kLabelStart;
extern const double kLabelFactor;
extern const uint32_t kServerSettingPasswordKey;
extern const uint32_t kLegacyEntryPasswordKey;

// Legacy scrambler tables.
extern const uint8_t kScramblerRows[kScramblerRowCount][95];
extern const uint8_t kScramblerRowOfPosition[42];
extern const uint8_t kScramblerPermutations[8][30];
extern const uint8_t kScramblerPads[11][31];

}  // namespace zq::security::keys
