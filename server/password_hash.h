// Salted password hashes of zqserverd's accounts: PBKDF2-HMAC-SHA256 from
// OpenSSL. A stored hash reads "pbkdf2-sha256$ITERATIONS$SALT$HASH" (salt
// and hash in Base64), so that the work factor can grow without breaking
// the hashes stored before.
#pragma once

#include <string>

namespace zqserver {

// The work factor of new hashes.
inline constexpr unsigned kPasswordIterations = 100000;

// A new salted hash of a password; empty when the random generator or the
// key derivation failed.
std::string hashPassword(const std::string& password, unsigned iterations = kPasswordIterations);

// True when password matches a stored hash (compared in constant time).
bool verifyPassword(const std::string& password, const std::string& stored);

// A keyed digest of a password under a key drawn once per process: what the
// server keeps in memory to recognise a password it verified already,
// without keeping the password.
std::string passwordToken(const std::string& password);

}  // namespace zqserver
