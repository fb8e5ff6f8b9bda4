#include "security/handshake.h"

#include <cstdlib>
#include <cstring>

#include "frame/status.h"
#include "security/errors.h"
#include "security/provider.h"
#include "security/trace.h"
#include "security/xdr_bytes.h"

namespace zq::security {
namespace {

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

// ---- message bodies -------------------------------------------------------

int encodeHelloArguments(const uint8_t clientRandom[kRandomSize], Buffer& out) {
  if (!clientRandom) return kMsgProtectArgumentMissing;
  return out.assign(clientRandom, kRandomSize) ? kOk : kMsgCopyNoMemory;
}

int decodeHelloArguments(const uint8_t* in, size_t n, uint8_t clientRandom[kRandomSize],
                         size_t& used) {
  used = 0;
  xdr::Reader r(in, n);
  const uint8_t* bytes = nullptr;
  if (!clientRandom || !r.fixed(bytes, kRandomSize)) return kMsgBadEncoding;
  memcpy(clientRandom, bytes, kRandomSize);
  used = r.used();
  return kOk;
}

int encodeHelloReply(const uint8_t serverRandom[kRandomSize], int32_t word, Buffer& out) {
  if (!serverRandom) return kMsgProtectArgumentMissing;
  if (!out.allocate(kRandomSize + 4)) return kMsgCopyNoMemory;
  memcpy(out.data(), serverRandom, kRandomSize);
  xdr::putU32(out.data() + kRandomSize, static_cast<uint32_t>(word));
  return kOk;
}

int decodeHelloReply(const uint8_t* in, size_t n, uint8_t serverRandom[kRandomSize], int32_t& word,
                     size_t& used) {
  used = 0;
  xdr::Reader r(in, n);
  const uint8_t* bytes = nullptr;
  uint32_t w = 0;
  if (!serverRandom || !r.fixed(bytes, kRandomSize) || !r.u32(w)) return kMsgBadEncoding;
  memcpy(serverRandom, bytes, kRandomSize);
  word = static_cast<int32_t>(w);
  used = r.used();
  return kOk;
}

int encodeKeyTransferArguments(int32_t verifier, const uint8_t* secret, size_t length,
                               Buffer& out) {
  if (!secret && length) return kMsgProtectArgumentMissing;
  if (length > UINT32_MAX - 8) return kMsgBadEncoding;
  if (!out.allocate(4 + xdr::opaqueSize(length))) return kMsgCopyNoMemory;
  xdr::putOpaque(xdr::putU32(out.data(), static_cast<uint32_t>(verifier)), secret, length);
  return kOk;
}

int decodeKeyTransferArguments(const uint8_t* in, size_t n, int32_t& verifier, Buffer& secret,
                               size_t& used) {
  used = 0;
  secret.reset();
  xdr::Reader r(in, n);
  uint32_t w = 0;
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  if (!r.u32(w) || !r.opaque(bytes, length)) return kMsgBadEncoding;
  if (!secret.assign(bytes, length)) return kMsgCopyNoMemory;
  verifier = static_cast<int32_t>(w);
  used = r.used();
  return kOk;
}

int encodeKeyTransferReply(const uint8_t* block, size_t length, Buffer& out) {
  if (!block && length) return kMsgProtectArgumentMissing;
  if (length > UINT32_MAX - 8) return kMsgBadEncoding;
  if (!out.allocate(xdr::opaqueSize(length))) return kMsgCopyNoMemory;
  xdr::putOpaque(out.data(), block, length);
  return kOk;
}

int decodeKeyTransferReply(const uint8_t* in, size_t n, Buffer& block, size_t& used) {
  used = 0;
  block.reset();
  xdr::Reader r(in, n);
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  if (!r.opaque(bytes, length)) return kMsgBadEncoding;
  if (!block.assign(bytes, length)) return kMsgCopyNoMemory;
  used = r.used();
  return kOk;
}

int encodeEncryptionInfoTags(Buffer& out) {
  constexpr size_t count = sizeof kEncryptionInfoTags / sizeof kEncryptionInfoTags[0];
  if (!out.allocate(4 + 4 * count)) return kMsgCopyNoMemory;
  uint8_t* at = xdr::putU32(out.data(), static_cast<uint32_t>(count));
  for (uint32_t tag : kEncryptionInfoTags) at = xdr::putU32(at, tag);
  return kOk;
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
  uint8_t secret[kSecretSize];
  int rc = p.genRandomBytes(state_, kSecretSize, secret);
  if (rc == kOk) {
    // The secret travels as an XDR fixed-length opaque of 40 bytes: the
    // bytes themselves, as 40 is a multiple of four.
    unsigned char* out = nullptr;
    uint32_t length = 0;
    rc = p.publicKeyEncrypt(state_, &info.publicKey, secret, kSecretSize, &out, &length);
    if (rc == kOk)
      encryptedSecret.adopt(out, length);
    else
      free(out);
  }
  if (rc == kOk)
    rc = p.genDataEncryptKeys(state_, info.dataAlgorithm, secret, serverRandom_, clientRandom_,
                              &serverKey_, &clientKey_);
  wipe(secret, sizeof secret);
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
  uint32_t echoed = 0;
  xdr::Reader r(plain.data(), plain.size());
  if (rc != kOk || !r.u32(echoed) || echoed != static_cast<uint32_t>(verifier_)) {
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
  unsigned char* secret = nullptr;
  uint32_t secretLength = 0;
  int rc = p.publicKeyDecrypt(state_, privateKey_, encryptedSecret, static_cast<uint32_t>(n),
                              &secret, &secretLength);
  Buffer secretBytes;
  if (rc == kOk)
    secretBytes.adopt(secret, secretLength);
  else
    free(secret);
  if (rc == kOk && secretBytes.size() != kSecretSize) rc = kMsgCryptoFailure;
  ZQEncryptKeyStruct serverKey{}, clientKey{};
  if (rc == kOk)
    rc = p.genDataEncryptKeys(state_, dataAlgorithm, secretBytes.data(), exchange.serverRandom,
                              exchange.clientRandom, &serverKey, &clientKey);
  if (rc == kOk) {
    uint8_t word[4];
    xdr::putU32(word, static_cast<uint32_t>(verifier));
    unsigned char* out = nullptr;
    uint32_t length = 0;
    rc = p.encryptData(state_, &serverKey, word, sizeof word, &out, &length);
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
