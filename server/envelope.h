// The server side of wire encryption: the key pair whose public half it
// announces, the key exchanges in progress, the key sets agreed with
// clients, and the envelope of enciphered calls.
//
// A client sends the same verifier (0) with every envelope and no session
// in the clear, so the server finds the key set of a call by trying its
// sets, most recently used first: the authentication code of the block tells
// the right one. The number of sets is bounded; the oldest go first.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "security/buffer.h"
#include "security/handshake.h"
#include "transport/procedures.h"
#include "zqapi/zq_security.h"

namespace zqserver {

class Server;
class Exchange;
struct Call;

class Crypto {
 public:
  static constexpr int32_t kDataAlgorithm = ZQ_DATA_ALG_DES;
  static constexpr int32_t kPublicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_RSA_512;
  static constexpr size_t kMaxKeySets = 256;
  static constexpr size_t kMaxPendingExchanges = 256;

  explicit Crypto(int32_t policy);
  ~Crypto();
  Crypto(const Crypto&) = delete;
  Crypto& operator=(const Crypto&) = delete;

  // Prepares the engine state; false with a reason in error.
  bool start(std::string& error);
  // Generates the key pair on first need: 0 or an error number.
  int prepareKeyPair();
  // The public key's modulus for procedure 97, on the library heap.
  bool copyPublicKey(ZQByteList& out) const;

  int32_t policy() const { return policy_.load(); }
  void setPolicy(int32_t policy) { policy_ = policy; }

  // Procedure 95 for a session: 0 or an error number.
  int hello(int32_t session, const uint8_t clientRandom[zq::security::kRandomSize],
            uint8_t serverRandom[zq::security::kRandomSize]);
  // Procedure 96: ends the session's exchange with a new key set; block
  // receives the verifier under the server key.
  int keyTransfer(int32_t session, const uint8_t* secret, size_t n, int32_t verifier,
                  zq::security::Buffer& block);

  // Opens an enciphered request with the key set that authenticates it; 0,
  // or 9004 when no set does. keySet names the set for the answer.
  int open(const uint8_t* block, size_t n, zq::security::Buffer& plain, uint64_t& keySet);
  // Enciphers an answer with the server key of a set.
  int seal(uint64_t keySet, const uint8_t* plain, size_t n, zq::security::Buffer& block);

  // Forgets every agreed key set (clients must negotiate again).
  void forgetKeys();
  size_t keySetCount() const;

 private:
  struct KeySet {
    uint64_t id = 0;
    zq::security::BindingKeys keys;
  };

  mutable std::mutex mutex_;
  std::atomic<int32_t> policy_;
  ZQEncryptStateStruct engine_{};
  bool engineStarted_ = false;
  std::unique_ptr<zq::security::ServerKeyExchange> exchange_;
  std::map<int32_t, std::unique_ptr<zq::security::ServerHello>> pending_;
  std::list<std::unique_ptr<KeySet>> sets_;  // most recently used first
  uint64_t nextId_ = 1;
};

// Dispatch of an enciphered call (procedure number with bit 0x8000): reads
// the envelope and deciphers it into the procedure's argument record.
// Returns true when args holds the request; otherwise the client has been
// answered (an RPC error) and the call is over.
bool receiveEnvelope(Server& server, Exchange& exchange, const zq::transport::Procedure& p,
                     void* args, uint64_t& keySet);
// Answers an enciphered call with the reply record in an envelope.
bool answerEnvelope(Server& server, Exchange& exchange, const zq::transport::Procedure& p,
                    void* reply, uint64_t keySet);

}  // namespace zqserver
