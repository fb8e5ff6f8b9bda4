#include "envelope.h"

#include <rpc/rpc.h>

#include <cstring>

#include "dispatch.h"
#include "frame/alloc.h"
#include "security/describe_envelope.h"
#include "security/envelope.h"
#include "security/envelope_call.h"
#include "security/errors.h"
#include "security/provider.h"
#include "rpc_message.h"
#include "server.h"

namespace zqserver {

using zq::security::Buffer;

Crypto::Crypto(int32_t policy) : policy_(policy) {}

Crypto::~Crypto() {
  exchange_.reset();
  if (engineStarted_) zq::security::provider().endEncryption(&engine_);
}

bool Crypto::start(std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (engineStarted_) return true;
  if (int rc = zq::security::provider().initEncryption(&engine_)) {
    error = "cannot start the encryption engine (" + std::to_string(rc) + ")";
    return false;
  }
  engineStarted_ = true;
  return true;
}

int Crypto::prepareKeyPair() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (exchange_) return zq::security::kOk;
  if (!engineStarted_) return zq::kMsgHandshakeFailed;
  auto exchange = std::make_unique<zq::security::ServerKeyExchange>(&engine_);
  if (int rc = exchange->generateKeyPair(kPublicKeyAlgorithm)) return rc;
  exchange_ = std::move(exchange);
  return zq::security::kOk;
}

bool Crypto::copyPublicKey(ZQByteList& out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  out = ZQByteList{};
  if (!exchange_ || !exchange_->publicKey().modulus) return false;
  const ZQPublicKeyStruct& key = exchange_->publicKey();
  out.bytes = static_cast<unsigned char*>(ZQAlloc(key.length));
  if (!out.bytes) return false;
  memcpy(out.bytes, key.modulus, key.length);
  out.count = key.length;
  return true;
}

int Crypto::hello(int32_t session, const uint8_t clientRandom[zq::security::kRandomSize],
                  uint8_t serverRandom[zq::security::kRandomSize]) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!exchange_) return zq::kMsgHandshakeFailed;
  auto state = std::make_unique<zq::security::ServerHello>();
  if (int rc = exchange_->hello(*state, clientRandom, serverRandom)) return rc;
  if (pending_.size() >= kMaxPendingExchanges && !pending_.count(session))
    pending_.erase(pending_.begin());
  pending_[session] = std::move(state);
  return zq::security::kOk;
}

int Crypto::keyTransfer(int32_t session, const uint8_t* secret, size_t n, int32_t verifier,
                        Buffer& block) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = pending_.find(session);
  if (!exchange_ || it == pending_.end()) return zq::kMsgHandshakeFailed;
  auto set = std::make_unique<KeySet>();
  int rc =
      exchange_->keyTransfer(*it->second, kDataAlgorithm, secret, n, verifier, block, set->keys);
  pending_.erase(it);
  if (rc != zq::security::kOk) return rc;
  set->id = nextId_++;
  sets_.push_front(std::move(set));
  if (sets_.size() > kMaxKeySets) sets_.pop_back();
  return zq::security::kOk;
}

int Crypto::open(const uint8_t* block, size_t n, Buffer& plain, uint64_t& keySet) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = sets_.begin(); it != sets_.end(); ++it) {
    if (zq::security::openEnvelope(&engine_, &(*it)->keys.clientKey, block, n, plain) !=
        zq::security::kOk)
      continue;
    keySet = (*it)->id;
    sets_.splice(sets_.begin(), sets_, it);
    return zq::security::kOk;
  }
  return zq::kMsgIntegrityFailed;
}

int Crypto::seal(uint64_t keySet, const uint8_t* plain, size_t n, Buffer& block) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& set : sets_)
    if (set->id == keySet)
      return zq::security::sealEnvelope(&engine_, &set->keys.serverKey, plain, n, block);
  return zq::kMsgKeyAgreement;
}

void Crypto::forgetKeys() {
  std::lock_guard<std::mutex> lock(mutex_);
  sets_.clear();
  pending_.clear();
}

size_t Crypto::keySetCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sets_.size();
}

// ---- the envelope in dispatch ------------------------------------------------------

namespace {

template <class T>
xdrproc_t recordProc() {
  return zq::model::xdrProc<T>();
}

}  // namespace

bool receiveEnvelope(Server& server, Exchange& exchange, const zq::transport::Procedure& p, void* args,
                     uint64_t& keySet) {
  zq::security::EnvelopeArgs envelope{};
  if (!exchange.getArgs(recordProc<zq::security::EnvelopeArgs>(), &envelope)) {
    zq::model::release(envelope);
    exchange.errDecode();
    return false;
  }
  Faults& faults = server.faults();
  if (Faults::take(faults.forgetKeys)) server.crypto().forgetKeys();
  Buffer plain;
  int rc = zq::kMsgIntegrityFailed;
  if (!faults.rejectKeysAlways.load() && !Faults::take(faults.rejectKeys))
    rc = server.crypto().open(envelope.block, envelope.blockLength, plain, keySet);
  zq::model::release(envelope);
  if (rc != zq::security::kOk) {
    // Keys the server does not have: the client negotiates again.
    exchange.errAuth(AUTH_REJECTEDCRED);
    return false;
  }
  if (zq::security::decodeRecord(p.args, plain.data(), plain.size(), args) != zq::security::kOk) {
    exchange.errDecode();
    return false;
  }
  faults.envelopedCalls++;
  return true;
}

bool answerEnvelope(Server& server, Exchange& exchange, const zq::transport::Procedure& p, void* reply,
                    uint64_t keySet) {
  Buffer plain, sealed;
  int rc = zq::security::encodeRecord(p.reply, reply, plain);
  if (rc == zq::security::kOk)
    rc = server.crypto().seal(keySet, plain.data(), plain.size(), sealed);
  if (rc != zq::security::kOk) {
    exchange.errSystem();
    return false;
  }
  if (Faults::take(server.faults().corruptEnvelopes) && !sealed.empty())
    sealed.data()[sealed.size() / 2] ^= 0x10;
  zq::security::EnvelopeReply envelope{static_cast<uint32_t>(sealed.size()), sealed.data(), 0};
  return exchange.sendReply(recordProc<zq::security::EnvelopeReply>(), &envelope);
}

}  // namespace zqserver
