// Password forms of the request header and the helpers the binding, the
// version translation and the reference server call.
#pragma once

#include <cstdint>

namespace zq::security {

// The header's protected-password buffer: 120 characters and a terminator.
inline constexpr int kProtectedPasswordSize = 121;
// Protocol version from which the header carries the password cipher.
inline constexpr uint32_t kPasswordCipherVersion = 12;

// Fills buffer (kProtectedPasswordSize bytes) with the password as the
// request header carries it to a server of protocolVersion: below 12
// scrambled with the legacy scrambler keyed with operationTime (at most 30
// characters), from 12 on the password cipher under the fixed header key.
// Returns 0 or an error number (buffer then empty).
int protectHeaderPassword(const char* password, int32_t operationTime, uint32_t protocolVersion,
                          char* buffer);

// The reverse, for the server side: password receives at most 30 characters
// and a terminator (31 bytes).
int recoverHeaderPassword(const char* protectedText, int32_t operationTime,
                          uint32_t protocolVersion, char* password);

// Rewrites a header buffer protected for version 12 or later into the legacy
// form (a text longer than 30 characters is the cipher form; shorter ones are
// left as they are): used when a call drops below version 12.
int reprotectHeaderPasswordForLegacy(char* buffer, int32_t operationTime);

// HashPassword with a given 5-byte salt (the exported function draws it).
int hashPasswordWithSalt(char* password, const uint8_t salt[5]);

}  // namespace zq::security
