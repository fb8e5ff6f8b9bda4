// The crypto trace file: opt-in through ZQCRYPTOTRACE (file name) and
// ZQCRYPTOTRACELEVEL (level bits), read on first use.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zq::security::trace {

enum Bits : uint32_t {
  kFailures = 0x02,
  kKeys = 0x04,
  kPlainText = 0x40,
  kCipherText = 0x80,
  kEntry = 0x100,
  kPasswords = 0x200,
};

// True when tracing is on and any of bits is selected.
bool enabled(uint32_t bits);

// One line: the local time, a blank, then the formatted text (which brings
// its own line feed). Flushed at once.
void line(uint32_t bits, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A labelled byte dump.
void dump(uint32_t bits, const char* label, const uint8_t* bytes, size_t n);

namespace testing {
// Closes the file and forgets the settings; the next use reads them again.
void reset();
}  // namespace testing

}  // namespace zq::security::trace
