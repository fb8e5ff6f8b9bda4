// Handlers of the encryption key exchange: the encryption information
// (procedure 97), hello (95) and key transfer (96).
#include "dispatch.h"
#include "frame/alloc.h"
#include "security/errors.h"
#include "security/handshake.h"
#include "server.h"

namespace zqserver {

using namespace zq::transport;
namespace sec = zq::security;

namespace {

void integerItem(ZQServerInfoStruct& item, uint32_t tag, int32_t value) {
  item.operation = tag;
  item.value.dataType = ZQ_DATA_TYPE_INTEGER;
  item.value.u.integerValue = value;
}

}  // namespace

void encryptionInfo(Request<proc::EncryptionInfo>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  Crypto& crypto = call.server.crypto();
  if (call.server.faults().unknownEncryptionInfo.load()) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, sec::kMsgUnknownEncryptionInfo, nullptr);
    return;
  }
  const int32_t policy = crypto.policy();
  if (policy != ZQ_SECURITY_POLICY_DISABLED) {
    if (int rc = crypto.prepareKeyPair()) {
      ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, rc, nullptr);
      return;
    }
  }
  if (args.settings.count == 0) return;  // an empty list owns no block
  reply.settings.items =
      static_cast<ZQServerInfoStruct*>(ZQCalloc(args.settings.count, sizeof(ZQServerInfoStruct)));
  if (!reply.settings.items) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgNoMemory, nullptr);
    return;
  }
  reply.settings.count = args.settings.count;
  for (uint32_t i = 0; i < args.settings.count; ++i) {
    ZQServerInfoStruct& item = reply.settings.items[i];
    const uint32_t tag = args.settings.items[i];
    item.operation = tag;
    switch (tag) {
      case sec::kInfoSecurityPolicy:
        integerItem(item, tag, policy);
        break;
      case sec::kInfoDataAlgorithm:
        integerItem(
            item, tag,
            policy == ZQ_SECURITY_POLICY_DISABLED ? ZQ_DATA_ALG_DISABLED : Crypto::kDataAlgorithm);
        break;
      case sec::kInfoPublicKeyAlgorithm:
        integerItem(item, tag,
                    policy == ZQ_SECURITY_POLICY_DISABLED ? ZQ_PUBLIC_KEY_ALG_DISABLED
                                                          : Crypto::kPublicKeyAlgorithm);
        break;
      case sec::kInfoPublicKey: {
        if (policy == ZQ_SECURITY_POLICY_DISABLED) break;  // no value
        auto* bytes = static_cast<ZQByteList*>(ZQCalloc(1, sizeof(ZQByteList)));
        if (!bytes || !crypto.copyPublicKey(*bytes)) {
          ZQFree(bytes);
          ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgNoMemory, nullptr);
          return;
        }
        item.value.dataType = ZQ_DATA_TYPE_BYTES;
        item.value.u.byteListValue = bytes;
        break;
      }
      default:
        break;  // not an encryption item: no value
    }
  }
}

void keyHello(Request<proc::KeyHello>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  // The exchange belongs to the session the header echo names; the client
  // sends that cache id with its key transfer.
  const int32_t session = reply.header.cacheId;
  if (int rc = call.server.crypto().hello(session, args.clientRandom, reply.serverRandom)) {
    ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, zq::kMsgHandshakeFailed, rc);
    return;
  }
  reply.word = session;
}

void keyTransfer(Request<proc::KeyTransfer>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  sec::Buffer block;
  if (Faults::take(call.server.faults().failKeyTransfers)) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgHandshakeFailed, nullptr);
    return;
  }
  if (int rc = call.server.crypto().keyTransfer(reply.header.cacheId, args.secret,
                                                args.secretLength, args.verifier, block)) {
    ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, zq::kMsgHandshakeFailed, rc);
    return;
  }
  reply.blockLength = static_cast<uint32_t>(block.size());
  reply.block = block.release();
  call.server.faults().keyExchanges++;
}

void serveKeyExchange(Handlers& h) {
  h.serve<proc::KeyHello, keyHello>();
  h.serve<proc::KeyTransfer, keyTransfer>();
  h.serve<proc::EncryptionInfo, encryptionInfo>();
}

}  // namespace zqserver
