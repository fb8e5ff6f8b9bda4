// The encryption key exchange as pure steps; the transport sends the
// messages (procedures 95 to 97, never in the envelope) and keeps the result
// with the binding.
//
// Client, when a new binding asks for encryption:
//   1. Procedure 97 with kEncryptionInfoTags. A reply with message 91 means
//      the server knows no encryption: EncryptionInfo{} (policy 2). Else
//      readEncryptionInfo(reply items).
//   2. decideEncryption(info, ...): adds the policy error (2) or the
//      warnings of an unsupported algorithm (1) to the status list and says
//      whether to go on. Not going on: the binding does not encrypt.
//   3. ClientKeyExchange::start gives the 20-byte client random for
//      procedure 95; its reply brings the server random (acceptHello) and the
//      server's control data, which the transport copies into procedure 96.
//   4. ClientKeyExchange::keyTransfer gives the encrypted secret (counted
//      bytes of procedure 96) and the verifier word to send with it.
//   5. ClientKeyExchange::finish checks the block of the procedure 96 reply
//      and moves the keys into the binding's BindingKeys (9002 on mismatch).
//   Any failure: drop the exchange (its keys are released with it).
// Server: ServerKeyExchange mirrors these steps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/frame.h"
#include "security/buffer.h"
#include "zqapi/zq_security.h"

namespace zq::security {

inline constexpr uint32_t kProcedureKeyHello = 95;
inline constexpr uint32_t kProcedureKeyTransfer = 96;
inline constexpr uint32_t kProcedureEncryptionInfo = 97;
inline constexpr uint32_t kFirstKeyExchangeVersion = 8;

// Server information items of the handshake, in the order they are asked.
inline constexpr uint32_t kInfoSecurityPolicy = 133;
inline constexpr uint32_t kInfoPublicKey = 129;
inline constexpr uint32_t kInfoDataAlgorithm = 132;
inline constexpr uint32_t kInfoPublicKeyAlgorithm = 168;
inline constexpr uint32_t kEncryptionInfoTags[4] = {kInfoSecurityPolicy, kInfoPublicKey,
                                                    kInfoDataAlgorithm, kInfoPublicKeyAlgorithm};
// A server that does not know the items answers with this message.
inline constexpr int32_t kMsgUnknownEncryptionInfo = kMsgRpcFailure;

inline constexpr size_t kRandomSize = 20;
inline constexpr size_t kSecretSize = 40;

// Releases the key bytes of a record (provider memory comes from malloc).
void releaseKey(ZQEncryptKeyStruct& key);

// What an encrypting binding keeps.
struct BindingKeys {
  bool encrypted = false;
  ZQEncryptKeyStruct serverKey{};
  ZQEncryptKeyStruct clientKey{};
  int32_t verifier = 0;

  BindingKeys() = default;
  BindingKeys(const BindingKeys&) = delete;
  BindingKeys& operator=(const BindingKeys&) = delete;
  ~BindingKeys() { release(); }
  bool hasKeys() const { return serverKey.keyBytes && clientKey.keyBytes; }
  void release();  // keys only; the encrypted flag stays
};

// The server's answer to procedure 97.
struct EncryptionInfo {
  int32_t policy = ZQ_SECURITY_POLICY_DISABLED;
  ZQPublicKeyStruct publicKey{};  // modulus owned (ZQAlloc)
  int32_t dataAlgorithm = ZQ_DATA_ALG_DISABLED;
  int32_t publicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_DISABLED;

  EncryptionInfo() = default;
  EncryptionInfo(const EncryptionInfo&) = delete;
  EncryptionInfo& operator=(const EncryptionInfo&) = delete;
  ~EncryptionInfo();
};

// Takes each item only when the item at its position carries the expected
// tag and type (integer types for the numbers, a byte list for the key).
// 300 when the key cannot be copied.
int readEncryptionInfo(const ZQServerInfoList& reply, EncryptionInfo& info);

// Steps 1 to 4 of the client's decision. Returns the code to hand on
// (0, 1 after warnings, 2 after a policy error); encrypt says whether the
// key exchange goes on.
int decideEncryption(const EncryptionInfo& info, ZQEncryptStateStruct* state,
                     const char* serverName, ZQStatusList* status, bool& encrypt);

class ClientKeyExchange {
 public:
  explicit ClientKeyExchange(ZQEncryptStateStruct* state) : state_(state) {}
  ~ClientKeyExchange();
  ClientKeyExchange(const ClientKeyExchange&) = delete;
  ClientKeyExchange& operator=(const ClientKeyExchange&) = delete;

  // Draws the client random of the hello request.
  int start(uint8_t clientRandom[kRandomSize]);
  void acceptHello(const uint8_t serverRandom[kRandomSize]);
  // Draws the secret, encrypts it under the server's public key and derives
  // the key records. verifier: the word to send with it (0).
  int keyTransfer(const EncryptionInfo& info, Buffer& encryptedSecret, int32_t& verifier);
  // Checks the reply block (the verifier encrypted with the server key) and
  // hands the keys to binding.
  int finish(const uint8_t* block, size_t n, BindingKeys& binding);

 private:
  ZQEncryptStateStruct* state_;
  uint8_t clientRandom_[kRandomSize] = {};
  uint8_t serverRandom_[kRandomSize] = {};
  ZQEncryptKeyStruct serverKey_{};
  ZQEncryptKeyStruct clientKey_{};
  int32_t verifier_ = 0;
};

// The randoms of one exchange in progress on the server.
struct ServerHello {
  uint8_t clientRandom[kRandomSize] = {};
  uint8_t serverRandom[kRandomSize] = {};
  ~ServerHello() {
    wipe(clientRandom, sizeof clientRandom);
    wipe(serverRandom, sizeof serverRandom);
  }
};

class ServerKeyExchange {
 public:
  explicit ServerKeyExchange(ZQEncryptStateStruct* state) : state_(state) {}
  ~ServerKeyExchange();
  ServerKeyExchange(const ServerKeyExchange&) = delete;
  ServerKeyExchange& operator=(const ServerKeyExchange&) = delete;

  // Generates the key pair whose public half answers procedure 97.
  int generateKeyPair(int32_t publicKeyAlgorithm = ZQ_PUBLIC_KEY_ALG_RSA_512);
  const ZQPublicKeyStruct& publicKey() const { return publicKey_; }
  // Procedure 95: takes the client random, draws the server random.
  int hello(const uint8_t clientRandom[kRandomSize], uint8_t serverRandom[kRandomSize]);
  // Procedure 96: recovers the secret, derives the keys and builds the
  // reply block (the verifier as XDR, encrypted with the server key).
  int keyTransfer(int32_t dataAlgorithm, const uint8_t* encryptedSecret, size_t n, int32_t verifier,
                  Buffer& replyBlock, BindingKeys& session);

  // The same two steps for a server that runs several exchanges at once:
  // the randoms live in the caller's record, the key pair is shared.
  int hello(ServerHello& exchange, const uint8_t clientRandom[kRandomSize],
            uint8_t serverRandom[kRandomSize]);
  int keyTransfer(const ServerHello& exchange, int32_t dataAlgorithm,
                  const uint8_t* encryptedSecret, size_t n, int32_t verifier, Buffer& replyBlock,
                  BindingKeys& session);

 private:
  ZQEncryptStateStruct* state_;
  ZQPublicKeyStruct publicKey_{};
  char* privateKey_ = nullptr;
  ServerHello single_;
};

}  // namespace zq::security
