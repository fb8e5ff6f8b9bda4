// The OpenSSL primitives of the built-in provider and of the salting layer.
//
// Everything runs in a library context of our own with the "default" and
// "legacy" providers loaded (single DES lives in "legacy"), so a program that
// links us keeps its own OpenSSL defaults untouched.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zq::security::ossl {

inline constexpr size_t kDesBlock = 8;
inline constexpr size_t kMd5Size = 16;
inline constexpr size_t kSha1Size = 20;

// Creates the library context and fetches the algorithms, once per process.
// False when OpenSSL cannot offer them (every operation then fails).
bool prepare();

// DES-CBC with PKCS padding. out needs room for n + 8 bytes. False on any
// failure, including bad padding when decrypting.
bool desCbc(bool encrypt, const uint8_t key[8], const uint8_t iv[8], const uint8_t* in, size_t n,
            uint8_t* out, size_t* outLength);

bool hmacMd5(const uint8_t* key, size_t keyLength, const uint8_t* data, size_t n,
             uint8_t out[kMd5Size]);

// Digests over the concatenation of up to two parts.
bool md5(const uint8_t* a, size_t na, const uint8_t* b, size_t nb, uint8_t out[kMd5Size]);
bool sha1(const uint8_t* a, size_t na, const uint8_t* b, size_t nb, uint8_t out[kSha1Size]);

// Random bytes of our context's generator, seeded once with our own
// gathered bytes on first use.
bool randomBytes(uint8_t* out, size_t n);

// Constant-time comparison.
bool equalBytes(const uint8_t* a, const uint8_t* b, size_t n);

}  // namespace zq::security::ossl

// The library context itself, for the RSA operations (opaque here so that
// only the files that need it include OpenSSL).
struct ossl_lib_ctx_st;
namespace zq::security::ossl {
ossl_lib_ctx_st* libraryContext();
}
