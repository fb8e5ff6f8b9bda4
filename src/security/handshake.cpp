#include "security/handshake.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/frame.h"
#include "model/model.h"
#include "security/errors.h"
#include "security/provider.h"
#include "security/trace.h"

namespace zq::security {
namespace {

// The plain forms inside the two encrypted blocks of procedure 96: the
// secret the client encrypts under the server's public key, and the
// verifier the server answers under the server key.
struct SecretRecord {
  uint8_t bytes[kSecretSize];
};
struct VerifierRecord {
  uint32_t verifier;
};

}  // namespace
}  // namespace zq::security

namespace zq::model {

template <class V>
void describe(V& v, security::SecretRecord& r) {
  fixedOpaque(v, r.bytes, "secret");
}

template <class V>
void describe(V& v, security::VerifierRecord& r) {
  v.u32(r.verifier, "verifier");
}

}  // namespace zq::model

namespace zq::security {
namespace {

// Neither form changes with the protocol version.
constexpr int kInnerVersion = model::kNewestVersion;

bool integerOf(const ZQValueStruct& v, int32_t& out) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_INTEGER:
      out = v.u.integerValue;
      return true;
    case ZQ_DATA_TYPE_ENUM:
      out = static_cast<int32_t>(v.u.enumValue);
      return true;
    case ZQ_DATA_TYPE_ULONG:
      out = static_cast<int32_t>(v.u.ulongValue);
      return true;
    default:
      return false;
  }
}

const ZQServerInfoStruct* itemAt(const ZQServerInfoList& reply, size_t position, uint32_t tag) {
  if (position >= reply.count || !reply.items) return nullptr;
  const ZQServerInfoStruct& item = reply.items[position];
  return item.operation == tag ? &item : nullptr;
}

void releasePublicKey(ZQPublicKeyStruct& key) {
  if (key.modulus) free(key.modulus);
  key = ZQPublicKeyStruct{};
}

}  // namespace

void releaseKey(ZQEncryptKeyStruct& key) {
  if (key.keyBytes) {
    if (key.keyLength > 0) wipe(key.keyBytes, static_cast<size_t>(key.keyLength));
    free(key.keyBytes);
  }
  wipe(&key, sizeof key);
}

void BindingKeys::release() {
  releaseKey(serverKey);
  releaseKey(clientKey);
  verifier = 0;
}

EncryptionInfo::~EncryptionInfo() {
  releasePublicKey(publicKey);
}

int readEncryptionInfo(const ZQServerInfoList& reply, EncryptionInfo& info) {
  releasePublicKey(info.publicKey);
  info.policy = ZQ_SECURITY_POLICY_DISABLED;
  info.dataAlgorithm = ZQ_DATA_ALG_DISABLED;
  info.publicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_DISABLED;
  int32_t number = 0;
  if (auto* item = itemAt(reply, 0, kInfoSecurityPolicy); item && integerOf(item->value, number))
    info.policy = number;
  if (auto* item = itemAt(reply, 2, kInfoDataAlgorithm); item && integerOf(item->value, number))
    info.dataAlgorithm = number;
  if (auto* item = itemAt(reply, 3, kInfoPublicKeyAlgorithm);
      item && integerOf(item->value, number))
    info.publicKeyAlgorithm = number;
  if (auto* item = itemAt(reply, 1, kInfoPublicKey);
      item && item->value.dataType == ZQ_DATA_TYPE_BYTES && item->value.u.byteListValue) {
    const ZQByteList& bytes = *item->value.u.byteListValue;
    if (bytes.count && bytes.bytes) {
      Buffer modulus;
      if (!modulus.assign(bytes.bytes, bytes.count)) return kMsgCopyNoMemory;
      info.publicKey.length = bytes.count;
      info.publicKey.modulus = modulus.release();
    }
  }
  info.publicKey.algorithm = info.publicKeyAlgorithm;
  return kOk;
}

int decideEncryption(const EncryptionInfo& info, ZQEncryptStateStruct* state,
                     const char* serverName, ZQStatusList* status, bool& encrypt) {
  encrypt = false;
  providerInitializeSecurity(state, info.dataAlgorithm, info.publicKeyAlgorithm, info.policy);
  if (int rc = providerCheckPolicy(info.policy); rc != kOk) {
    addError(status, rc, serverName);
    return ZQ_RETURN_ERROR;
  }
  if (info.policy == ZQ_SECURITY_POLICY_DISABLED) return ZQ_RETURN_OK;
  if (info.policy == ZQ_SECURITY_POLICY_OPTIONAL) {
    const Provider& p = provider();
    bool publicKeyOk = p.isPublicKeyAlgSupported(info.publicKeyAlgorithm) != 0;
    bool dataOk = p.isDataEncryptAlgSupported(info.dataAlgorithm) != 0;
    if (!publicKeyOk || !dataOk) {
      // The built-in provider quietly goes without; an external one says why.
      if (!p.external) return ZQ_RETURN_OK;
      if (!publicKeyOk) addWarning(status, kMsgUnsupportedKeyAlgorithm, serverName);
      if (!dataOk) {
        int last = providerLastError();
        addWarning(status, last ? last : kMsgUnsupportedDataAlgorithm, serverName);
      }
      return ZQ_RETURN_WARNING;
    }
  }
  encrypt = true;
  return ZQ_RETURN_OK;
}

// ---- client ------------------------------------------------------------------

ClientKeyExchange::~ClientKeyExchange() {
  releaseKey(serverKey_);
  releaseKey(clientKey_);
  wipe(clientRandom_, sizeof clientRandom_);
  wipe(serverRandom_, sizeof serverRandom_);
}

int ClientKeyExchange::start(uint8_t clientRandom[kRandomSize]) {
  if (!clientRandom) return kMsgProtectArgumentMissing;
  int rc = provider().genRandomBytes(state_, kRandomSize, clientRandom_);
  if (rc != kOk) return rc;
  memcpy(clientRandom, clientRandom_, kRandomSize);
  verifier_ = 0;
  return kOk;
}

void ClientKeyExchange::acceptHello(const uint8_t serverRandom[kRandomSize]) {
  if (serverRandom) memcpy(serverRandom_, serverRandom, kRandomSize);
}

int ClientKeyExchange::keyTransfer(const EncryptionInfo& info, Buffer& encryptedSecret,
                                   int32_t& verifier) {
  encryptedSecret.reset();
  releaseKey(serverKey_);
  releaseKey(clientKey_);
  const Provider& p = provider();
  SecretRecord secret;
  int rc = p.genRandomBytes(state_, kSecretSize, secret.bytes);
  if (rc == kOk) {
    std::vector<char> wire;
    rc = model::encodeToBuffer(secret, kInnerVersion, wire) ? kOk : kMsgBadEncoding;
    unsigned char* out = nullptr;
    uint32_t length = 0;
    if (rc == kOk)
      rc = p.publicKeyEncrypt(state_, &info.publicKey,
                              reinterpret_cast<const unsigned char*>(wire.data()),
                              static_cast<uint32_t>(wire.size()), &out, &length);
    if (rc == kOk)
      encryptedSecret.adopt(out, length);
    else
      free(out);
    wipe(wire.data(), wire.size());
  }
  if (rc == kOk)
    rc = p.genDataEncryptKeys(state_, info.dataAlgorithm, secret.bytes, serverRandom_,
                              clientRandom_, &serverKey_, &clientKey_);
  wipe(&secret, sizeof secret);
  if (rc != kOk) {
    encryptedSecret.reset();
    releaseKey(serverKey_);
    releaseKey(clientKey_);
    trace::line(trace::kFailures, "-->KeyTransfer Failed:(%d)\n", rc);
    return rc;
  }
  verifier = verifier_;
  return kOk;
}

int ClientKeyExchange::finish(const uint8_t* block, size_t n, BindingKeys& binding) {
  if (!serverKey_.keyBytes || !clientKey_.keyBytes) return kMsgKeyAgreement;
  unsigned char* out = nullptr;
  uint32_t length = 0;
  int rc = (!block || n == 0 || n > UINT32_MAX)
               ? kMsgIntegrityFailed
               : provider().decryptData(state_, &serverKey_, block, static_cast<uint32_t>(n), &out,
                                        &length);
  Buffer plain;
  if (rc == kOk)
    plain.adopt(out, length);
  else
    free(out);
  VerifierRecord echoed{};
  if (rc != kOk || !model::decodeFromBuffer(plain.data(), plain.size(), echoed, kInnerVersion) ||
      echoed.verifier != static_cast<uint32_t>(verifier_)) {
    releaseKey(serverKey_);
    releaseKey(clientKey_);
    trace::line(trace::kFailures, "-->KeyTransfer verifier mismatch:(%d)\n", rc);
    return kMsgKeyAgreement;
  }
  binding.release();
  binding.serverKey = serverKey_;
  binding.clientKey = clientKey_;
  binding.verifier = verifier_;
  binding.encrypted = true;
  serverKey_ = ZQEncryptKeyStruct{};
  clientKey_ = ZQEncryptKeyStruct{};
  return kOk;
}

// ---- server ------------------------------------------------------------------

ServerKeyExchange::~ServerKeyExchange() {
  releasePublicKey(publicKey_);
  if (privateKey_) {
    wipe(privateKey_, strlen(privateKey_));
    free(privateKey_);
  }
}

int ServerKeyExchange::generateKeyPair(int32_t publicKeyAlgorithm) {
  releasePublicKey(publicKey_);
  if (privateKey_) {
    wipe(privateKey_, strlen(privateKey_));
    free(privateKey_);
    privateKey_ = nullptr;
  }
  return provider().genPPKeyPair(state_, publicKeyAlgorithm, &publicKey_, &privateKey_);
}

int ServerKeyExchange::hello(const uint8_t clientRandom[kRandomSize],
                             uint8_t serverRandom[kRandomSize]) {
  return hello(single_, clientRandom, serverRandom);
}

int ServerKeyExchange::keyTransfer(int32_t dataAlgorithm, const uint8_t* encryptedSecret, size_t n,
                                   int32_t verifier, Buffer& replyBlock, BindingKeys& session) {
  return keyTransfer(single_, dataAlgorithm, encryptedSecret, n, verifier, replyBlock, session);
}

int ServerKeyExchange::hello(ServerHello& exchange, const uint8_t clientRandom[kRandomSize],
                             uint8_t serverRandom[kRandomSize]) {
  if (!clientRandom || !serverRandom) return kMsgProtectArgumentMissing;
  memcpy(exchange.clientRandom, clientRandom, kRandomSize);
  int rc = provider().genRandomBytes(state_, kRandomSize, exchange.serverRandom);
  if (rc == kOk) memcpy(serverRandom, exchange.serverRandom, kRandomSize);
  return rc;
}

int ServerKeyExchange::keyTransfer(const ServerHello& exchange, int32_t dataAlgorithm,
                                   const uint8_t* encryptedSecret, size_t n, int32_t verifier,
                                   Buffer& replyBlock, BindingKeys& session) {
  replyBlock.reset();
  if (!privateKey_) return kMsgHandshakeFailed;
  if (!encryptedSecret || n == 0 || n > UINT32_MAX) return kMsgCryptoFailure;
  const Provider& p = provider();
  unsigned char* plain = nullptr;
  uint32_t plainLength = 0;
  int rc = p.publicKeyDecrypt(state_, privateKey_, encryptedSecret, static_cast<uint32_t>(n),
                              &plain, &plainLength);
  Buffer secretBytes;
  if (rc == kOk)
    secretBytes.adopt(plain, plainLength);
  else
    free(plain);
  // A secret of any other length is none of ours.
  SecretRecord secret{};
  if (rc == kOk &&
      (secretBytes.size() != kSecretSize ||
       !model::decodeFromBuffer(secretBytes.data(), secretBytes.size(), secret, kInnerVersion)))
    rc = kMsgCryptoFailure;
  ZQEncryptKeyStruct serverKey{}, clientKey{};
  if (rc == kOk)
    rc = p.genDataEncryptKeys(state_, dataAlgorithm, secret.bytes, exchange.serverRandom,
                              exchange.clientRandom, &serverKey, &clientKey);
  wipe(&secret, sizeof secret);
  if (rc == kOk) {
    std::vector<char> word;
    const VerifierRecord echo{static_cast<uint32_t>(verifier)};
    rc = model::encodeToBuffer(echo, kInnerVersion, word) ? kOk : kMsgBadEncoding;
    unsigned char* out = nullptr;
    uint32_t length = 0;
    if (rc == kOk)
      rc = p.encryptData(state_, &serverKey, reinterpret_cast<const unsigned char*>(word.data()),
                         static_cast<uint32_t>(word.size()), &out, &length);
    if (rc == kOk)
      replyBlock.adopt(out, length);
    else
      free(out);
  }
  if (rc != kOk) {
    releaseKey(serverKey);
    releaseKey(clientKey);
    return rc;
  }
  session.release();
  session.serverKey = serverKey;
  session.clientKey = clientKey;
  session.verifier = verifier;
  session.encrypted = true;
  return kOk;
}

}  // namespace zq::security
