#include "security/ossl.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/provider.h>
#include <openssl/rand.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <mutex>

namespace zq::security::ossl {
namespace {

struct Algorithms {
  OSSL_LIB_CTX* context = nullptr;
  EVP_CIPHER* des = nullptr;
  EVP_MD* md5 = nullptr;
  EVP_MD* sha1 = nullptr;
  EVP_MAC* hmac = nullptr;
  bool ok = false;
};

// Built once and kept for the life of the process.
Algorithms& algorithms() {
  static Algorithms* a = [] {
    auto* r = new Algorithms;
    r->context = OSSL_LIB_CTX_new();
    if (!r->context) return r;
    if (!OSSL_PROVIDER_load(r->context, "default") || !OSSL_PROVIDER_load(r->context, "legacy"))
      return r;
    r->des = EVP_CIPHER_fetch(r->context, "DES-CBC", nullptr);
    r->md5 = EVP_MD_fetch(r->context, "MD5", nullptr);
    r->sha1 = EVP_MD_fetch(r->context, "SHA1", nullptr);
    r->hmac = EVP_MAC_fetch(r->context, "HMAC", nullptr);
    r->ok = r->des && r->md5 && r->sha1 && r->hmac;
    return r;
  }();
  return *a;
}

bool digest(EVP_MD* md, const uint8_t* a, size_t na, const uint8_t* b, size_t nb, uint8_t* out) {
  if (!md) return false;
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  if (!ctx) return false;
  unsigned int len = 0;
  bool ok = EVP_DigestInit_ex2(ctx, md, nullptr) && (na == 0 || EVP_DigestUpdate(ctx, a, na)) &&
            (nb == 0 || EVP_DigestUpdate(ctx, b, nb)) && EVP_DigestFinal_ex(ctx, out, &len);
  EVP_MD_CTX_free(ctx);
  return ok;
}

// 20 bytes: SHA-1 of a block of changing process facts.
void gatherPiece(uint8_t out[kSha1Size]) {
  static std::atomic<uint32_t> counter{0};
  uint8_t block[256] = {};
  size_t at = 0;
  auto put = [&](const void* p, size_t n) {
    if (at + n > sizeof block) n = sizeof block - at;
    memcpy(block + at, p, n);
    at += n;
  };
  time_t now = time(nullptr);
  pid_t pid = getpid();
  struct timeval tv {};
  gettimeofday(&tv, nullptr);
  long millis = tv.tv_usec / 1000;
  void* stackAddress = &now;
  void* heapAddress = &algorithms();
  uint32_t count = counter.fetch_add(1);
  struct timespec mono {};
  clock_gettime(CLOCK_MONOTONIC, &mono);
  put(&now, sizeof now);
  put(&pid, sizeof pid);
  put(&millis, sizeof millis);
  put(&stackAddress, sizeof stackAddress);
  put(&heapAddress, sizeof heapAddress);
  put(&count, sizeof count);
  put(&mono, sizeof mono);
  unsigned int dlen = 0;
  EVP_Digest(block, sizeof block, out, &dlen, algorithms().sha1, nullptr);
}

}  // namespace

bool prepare() {
  return algorithms().ok;
}

ossl_lib_ctx_st* libraryContext() {
  return prepare() ? algorithms().context : nullptr;
}

bool desCbc(bool encrypt, const uint8_t key[8], const uint8_t iv[8], const uint8_t* in, size_t n,
            uint8_t* out, size_t* outLength) {
  *outLength = 0;
  if (!prepare() || n > INT32_MAX - 2 * kDesBlock) return false;
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  if (!ctx) return false;
  int len1 = 0, len2 = 0;
  bool ok = EVP_CipherInit_ex2(ctx, algorithms().des, key, iv, encrypt ? 1 : 0, nullptr) &&
            EVP_CipherUpdate(ctx, out, &len1, in, static_cast<int>(n)) &&
            EVP_CipherFinal_ex(ctx, out + len1, &len2);
  EVP_CIPHER_CTX_free(ctx);
  if (ok) *outLength = static_cast<size_t>(len1) + static_cast<size_t>(len2);
  return ok;
}

bool hmacMd5(const uint8_t* key, size_t keyLength, const uint8_t* data, size_t n,
             uint8_t out[kMd5Size]) {
  if (!prepare()) return false;
  EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(algorithms().hmac);
  if (!ctx) return false;
  char digestName[] = "MD5";
  OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
                         OSSL_PARAM_construct_end()};
  size_t len = 0;
  bool ok = EVP_MAC_init(ctx, key, keyLength, params) && (n == 0 || EVP_MAC_update(ctx, data, n)) &&
            EVP_MAC_final(ctx, out, &len, kMd5Size) && len == kMd5Size;
  EVP_MAC_CTX_free(ctx);
  return ok;
}

bool md5(const uint8_t* a, size_t na, const uint8_t* b, size_t nb, uint8_t out[kMd5Size]) {
  return prepare() && digest(algorithms().md5, a, na, b, nb, out);
}

bool sha1(const uint8_t* a, size_t na, const uint8_t* b, size_t nb, uint8_t out[kSha1Size]) {
  return prepare() && digest(algorithms().sha1, a, na, b, nb, out);
}

bool randomBytes(uint8_t* out, size_t n) {
  if (!prepare()) return false;
  static std::once_flag seeded;
  std::call_once(seeded, [] {
    // Our gathered bytes go in as additional input: they add to the
    // generator's own entropy, never replace it.
    uint8_t seed[2 * kSha1Size];
    gatherPiece(seed);
    gatherPiece(seed + kSha1Size);
    EVP_RAND_CTX* primary = RAND_get0_primary(algorithms().context);
    if (primary) EVP_RAND_reseed(primary, 0, nullptr, 0, seed, sizeof seed);
    OPENSSL_cleanse(seed, sizeof seed);
  });
  if (n == 0) return true;
  return RAND_bytes_ex(algorithms().context, out, n, 0) == 1;
}

bool equalBytes(const uint8_t* a, const uint8_t* b, size_t n) {
  return CRYPTO_memcmp(a, b, n) == 0;
}

}  // namespace zq::security::ossl
