#include "security/envelope_call.h"

#include <cstring>

#include "security/describe_envelope.h"
#include "security/envelope.h"
#include "security/errors.h"
#include "security/lifecycle.h"
#include "security/trace.h"

namespace zq::security {
namespace {

xdrproc_t xdrOf(platform::XdrProc proc) {
  return reinterpret_cast<xdrproc_t>(proc);
}

template <class T>
platform::XdrProc recordProc() {
  return reinterpret_cast<platform::XdrProc>(model::xdrProc<T>());
}

ZQEncryptStateStruct* engineOf(ZQThreadContext* ctx) {
  if (SecurityState* s = stateOf(ctx)) return &s->engine;
  return currentEngineState();
}

}  // namespace

int encodeRecord(platform::XdrProc proc, void* record, Buffer& out) {
  out.reset();
  if (!proc || !record) return kMsgBadEncoding;
  const unsigned long size = xdr_sizeof(xdrOf(proc), record);
  if (size == 0) return kMsgBadEncodedSize;
  if (size > 0xFFFFFFF0ul) return kMsgBadEncoding;
  if (!out.allocate(size)) return kMsgCopyNoMemory;
  XDR xdrs;
  xdrmem_create(&xdrs, reinterpret_cast<char*>(out.data()), static_cast<u_int>(size), XDR_ENCODE);
  const bool ok = proc(&xdrs, record, 0) && xdr_getpos(&xdrs) == size;
  xdr_destroy(&xdrs);
  if (!ok) {
    out.reset();
    return kMsgBadEncoding;
  }
  return kOk;
}

int decodeRecord(platform::XdrProc proc, const uint8_t* data, size_t n, void* record) {
  if (!proc || !record || (!data && n) || n > 0xFFFFFFF0u) return kMsgBadEncoding;
  XDR xdrs;
  // Decoding never writes to the bytes.
  xdrmem_create(&xdrs, reinterpret_cast<char*>(const_cast<uint8_t*>(data)), static_cast<u_int>(n),
                XDR_DECODE);
  const bool ok = proc(&xdrs, record, 0);
  xdr_destroy(&xdrs);
  if (ok) return kOk;
  XDR release;
  release.x_op = XDR_FREE;
  proc(&release, record, 0);
  return kMsgBadEncoding;
}

int callThroughEnvelope(ZQThreadContext* ctx, __rpc_client* client, uint32_t procedure,
                        platform::XdrProc encode, void* args, platform::XdrProc decode, void* reply,
                        const BindingKeys& keys, uint32_t timeoutSeconds, int* error) {
  *error = kOk;
  if (!ctx || !keys.hasKeys()) {
    *error = kMsgKeyAgreement;
    return platform::kRpcCantSend;
  }
  ZQEncryptStateStruct* engine = engineOf(ctx);
  Buffer sealed;
  {
    Buffer plain;
    int rc = encodeRecord(encode, args, plain);
    if (rc == kOk) rc = sealEnvelope(engine, &keys.clientKey, plain.data(), plain.size(), sealed);
    if (rc != kOk) {
      trace::line(trace::kFailures, "-->Envelope seal Failed:(%d)\n", rc);
      *error = rc;
      return platform::kRpcCantSend;
    }
  }

  EnvelopeArgs request{static_cast<uint32_t>(sealed.size()), sealed.data(), keys.verifier};
  EnvelopeReply answer{};
  // The enciphered bytes are no text: nothing may convert them on the way.
  const uint8_t savedTexts = ctx->suspendTextConversion;
  ctx->suspendTextConversion = 1;
  const int status =
      platform::rpcCall(client, envelopeProcedure(procedure), recordProc<EnvelopeArgs>(), &request,
                        recordProc<EnvelopeReply>(), &answer, timeoutSeconds);
  ctx->suspendTextConversion = savedTexts;
  sealed.reset();
  if (status != platform::kRpcSuccess) {
    model::release(answer);
    return status;
  }

  Buffer plain;
  int rc = openEnvelope(engine, &keys.serverKey, answer.block, answer.blockLength, plain);
  model::release(answer);
  if (rc == kOk) rc = decodeRecord(decode, plain.data(), plain.size(), reply);
  if (rc != kOk) {
    trace::line(trace::kFailures, "-->Envelope open Failed:(%d)\n", rc);
    *error = rc;
    return platform::kRpcCantReceive;
  }
  return platform::kRpcSuccess;
}

}  // namespace zq::security
