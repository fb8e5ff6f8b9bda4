// The legacy password scrambler of servers below protocol 12 (header
// passwords) and below 10 (password field values). Obfuscation only.
#pragma once

#include <cstdint>

namespace zq::security {

inline constexpr int kScrambledLength = 30;

// Scrambles the text in buffer (at least 31 bytes; a longer text is cut to
// 30 characters) under key. A non-empty result is exactly 30 characters.
void scrambleLegacy(uint32_t key, char* buffer);

// Reverses scrambleLegacy in place. False, leaving buffer unchanged, when
// the text is not a scrambled one (neither empty nor 30 characters).
bool unscrambleLegacy(uint32_t key, char* buffer);

// Key number of a label: (start + sum of its bytes) times a fixed factor.
uint32_t legacyKeyFromLabel(const char* label);

// The key of remote workflow passwords in SQL and process commands.
uint32_t remoteWorkflowKey();
// The key of password-bearing server settings.
uint32_t serverSettingKey();
// The key of password field values of servers below protocol 10.
uint32_t legacyEntryPasswordKey();

}  // namespace zq::security
