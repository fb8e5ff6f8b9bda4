#include "password_hash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <cstdlib>
#include <mutex>
#include <vector>

namespace zqserver {
namespace {

constexpr const char* kScheme = "pbkdf2-sha256";
constexpr size_t kSaltSize = 16;
constexpr size_t kHashSize = 32;
constexpr unsigned kMaxIterations = 10000000;

std::string base64(const unsigned char* bytes, size_t n) {
  std::string out(4 * ((n + 2) / 3) + 1, '\0');
  const int written =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes, static_cast<int>(n));
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

bool unbase64(const std::string& text, size_t expected, std::vector<unsigned char>& out) {
  if (text.size() != 4 * ((expected + 2) / 3)) return false;
  out.assign(3 * text.size() / 4 + 1, 0);
  const int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < static_cast<int>(expected)) return false;
  out.resize(expected);  // EVP_DecodeBlock counts the padding as zero bytes
  return true;
}

bool derive(const std::string& password, const unsigned char* salt, size_t saltSize,
            unsigned iterations, unsigned char* hash) {
  return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt,
                           static_cast<int>(saltSize), static_cast<int>(iterations), EVP_sha256(),
                           static_cast<int>(kHashSize), hash) == 1;
}

}  // namespace

std::string hashPassword(const std::string& password, unsigned iterations) {
  unsigned char salt[kSaltSize];
  unsigned char hash[kHashSize];
  if (RAND_bytes(salt, sizeof salt) != 1) return {};
  if (!derive(password, salt, sizeof salt, iterations, hash)) return {};
  std::string out = std::string(kScheme) + "$" + std::to_string(iterations) + "$" +
                    base64(salt, sizeof salt) + "$" + base64(hash, sizeof hash);
  OPENSSL_cleanse(hash, sizeof hash);
  return out;
}

bool verifyPassword(const std::string& password, const std::string& stored) {
  const size_t a = stored.find('$');
  const size_t b = a == std::string::npos ? a : stored.find('$', a + 1);
  const size_t c = b == std::string::npos ? b : stored.find('$', b + 1);
  if (c == std::string::npos || stored.compare(0, a, kScheme) != 0) return false;
  const std::string count = stored.substr(a + 1, b - a - 1);
  char* end = nullptr;
  const unsigned long iterations = strtoul(count.c_str(), &end, 10);
  if (count.empty() || *end || iterations == 0 || iterations > kMaxIterations) return false;
  std::vector<unsigned char> salt, expected;
  if (!unbase64(stored.substr(b + 1, c - b - 1), kSaltSize, salt) ||
      !unbase64(stored.substr(c + 1), kHashSize, expected))
    return false;
  unsigned char hash[kHashSize];
  const bool ok =
      derive(password, salt.data(), salt.size(), static_cast<unsigned>(iterations), hash) &&
      CRYPTO_memcmp(hash, expected.data(), kHashSize) == 0;
  OPENSSL_cleanse(hash, sizeof hash);
  return ok;
}

std::string passwordToken(const std::string& password) {
  static unsigned char key[32];
  static std::once_flag once;
  static bool keyed = false;
  std::call_once(once, [] { keyed = RAND_bytes(key, sizeof key) == 1; });
  if (!keyed) return {};
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!HMAC(EVP_sha256(), key, sizeof key, reinterpret_cast<const unsigned char*>(password.data()),
            password.size(), digest, &length))
    return {};
  return std::string(reinterpret_cast<char*>(digest), length);
}

}  // namespace zqserver
