#include "security/scrambler.h"

#include <cstring>

#include "security/key_material.h"

namespace zq::security {
namespace {

constexpr int kAlphabetSize = 95;

// Maps a character to its range (printable ASCII or the upper Latin range)
// and its offset there; false for characters the scrambler leaves alone.
bool rangeOf(uint8_t c, int& base) {
  if (c >= 32 && c <= 126) {
    base = 32;
    return true;
  }
  if (c >= 160 && c <= 254) {
    base = 160;
    return true;
  }
  return false;
}

const uint8_t* rowFor(uint32_t key, int position) {
  return keys::kScramblerRows[keys::kScramblerRowOfPosition[key % 13 + position]];
}

}  // namespace

void scrambleLegacy(uint32_t key, char* buffer) {
  if (!buffer) return;
  size_t len = strnlen(buffer, kScrambledLength);
  if (len == 0) {
    buffer[0] = '\0';
    return;
  }
  const uint8_t* pad = keys::kScramblerPads[key % 11];
  uint8_t text[kScrambledLength];
  memcpy(text, buffer, len);
  for (size_t i = len; i < kScrambledLength; ++i) text[i] = pad[i - len];

  const int shift = static_cast<int>(key % kAlphabetSize);
  uint8_t substituted[kScrambledLength];
  for (int i = 0; i < kScrambledLength; ++i) {
    int base = 0;
    uint8_t c = text[i];
    substituted[i] =
        rangeOf(c, base)
            ? static_cast<uint8_t>(rowFor(key, i)[(c - base + shift) % kAlphabetSize] + base)
            : c;
  }
  const uint8_t* permutation = keys::kScramblerPermutations[key % 8];
  for (int i = 0; i < kScrambledLength; ++i)
    buffer[i] = static_cast<char>(substituted[permutation[i]]);
  buffer[kScrambledLength] = '\0';
  explicit_bzero(text, sizeof text);
  explicit_bzero(substituted, sizeof substituted);
}

bool unscrambleLegacy(uint32_t key, char* buffer) {
  if (!buffer) return false;
  size_t len = strnlen(buffer, kScrambledLength + 1);
  if (len == 0) return true;
  if (len != kScrambledLength) return false;

  const uint8_t* permutation = keys::kScramblerPermutations[key % 8];
  uint8_t substituted[kScrambledLength];
  for (int i = 0; i < kScrambledLength; ++i)
    substituted[permutation[i]] = static_cast<uint8_t>(buffer[i]);

  const int shift = static_cast<int>(key % kAlphabetSize);
  uint8_t text[kScrambledLength + 1];
  for (int i = 0; i < kScrambledLength; ++i) {
    int base = 0;
    uint8_t c = substituted[i];
    text[i] = c;
    if (!rangeOf(c, base)) continue;
    // Search the row from the shift on, wrapping, as the rows are
    // permutations exactly one offset matches.
    const uint8_t* row = rowFor(key, i);
    for (int step = 0; step < kAlphabetSize; ++step) {
      int j = (shift + step) % kAlphabetSize;
      if (row[j] == c - base) {
        text[i] = static_cast<uint8_t>((j - shift + kAlphabetSize) % kAlphabetSize + base);
        break;
      }
    }
  }
  text[kScrambledLength] = '\0';

  // Cut the padding: the last occurrence of the pad's first character that
  // starts a match with the pad up to the end.
  const uint8_t* pad = keys::kScramblerPads[key % 11];
  size_t cut = kScrambledLength;
  for (size_t p = kScrambledLength; p-- > 0;) {
    if (text[p] != pad[0]) continue;
    if (memcmp(text + p, pad, kScrambledLength - p) == 0) cut = p;
    break;
  }
  text[cut] = '\0';
  memcpy(buffer, text, cut + 1);
  explicit_bzero(text, sizeof text);
  explicit_bzero(substituted, sizeof substituted);
  return true;
}

uint32_t legacyKeyFromLabel(const char* label) {
  uint32_t sum = keys::kLabelStart;
  for (const char* p = label ? label : ""; *p; ++p) sum += static_cast<uint8_t>(*p);
  return static_cast<uint32_t>(static_cast<double>(sum) * keys::kLabelFactor);
}

uint32_t remoteWorkflowKey() {
  return legacyKeyFromLabel(keys::kRemoteWorkflowLabel);
}
uint32_t serverSettingKey() {
  return keys::kServerSettingPasswordKey;
}
uint32_t legacyEntryPasswordKey() {
  return keys::kLegacyEntryPasswordKey;
}

}  // namespace zq::security
