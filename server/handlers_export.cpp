// Handlers of export (34), import (35) and the removal of an import (124).
//
// An export goes out deflated in slices of the client's response size: the
// first slice begins with two big-endian words, the compression marker (1)
// and the length of the deflated text, later slices continue under the
// chunk token of the first reply. An import arrives in slices: the first
// carries chunk token 0 and the reply gives the token the next slices
// carry; the slice whose request header has the last-chunk byte set ends
// it. The gathered bytes are inflated, or taken as text when they do not
// inflate and end with a terminator (a client whose compression failed).
#include <cstring>
#include <string>

#include "access.h"
#include "definitions_export.h"
#include "call_status.h"
#include "dispatch.h"
#include "form_handlers.h"
#include "frame/alloc.h"
#include "platform/compress.h"
#include "query_text.h"
#include "server.h"
#include "transport/describe_alerts.h"

namespace zqserver {
namespace {

using namespace zq::transport;

// Largest import text zqserverd gathers.
constexpr size_t kMaxImportBytes = 256u << 20;

struct PendingSlices : PendingResult {
  std::string bytes;
  size_t next = 0;
};

void exportSlice(Request<proc::Export>& call, int32_t token, PendingSlices* p) {
  auto& reply = call.reply();
  const size_t n = std::min(sliceBytes(call.args().header.responseSize), p->bytes.size() - p->next);
  reply.bytes = static_cast<unsigned char*>(ZQAlloc(n ? n : 1));
  if (!reply.bytes) {
    dropPending(token);
    return addError(call, zq::kMsgNoMemory);
  }
  memcpy(reply.bytes, p->bytes.data() + p->next, n);
  reply.length = static_cast<uint32_t>(n);
  p->next += n;
  RequestHeader& out = outHeader(call);
  out.chunkToken = token;
  out.lastChunk = p->next == p->bytes.size();
  if (out.lastChunk) dropPending(token);
}

void exportDefinitionsCall(Request<proc::Export>& call) {
  auto& args = call.args();
  if (args.header.chunkToken != 0) {
    auto* p = dynamic_cast<PendingSlices*>(findPending(args.header.chunkToken));
    if (!p) return addError(call, zq::kMsgBadEncoding, "unknown chunk token");
    return exportSlice(call, args.header.chunkToken, p);
  }
  if (!requireAdministrator(call)) return;
  std::string text;
  const StoreResult r = exportDefinitions(call.server.store(), args.items, text);
  if (!report(call, r)) return;
  zq::platform::ZBuffer packed;
  if (zq::platform::compressBytes(text.data(), text.size(), packed) != zq::platform::ZResult::ok) {
    ZQFree(packed.data);
    return addError(call, zq::kMsgNoMemory);
  }
  auto pending = std::make_unique<PendingSlices>();
  const uint32_t length = static_cast<uint32_t>(packed.size);
  pending->bytes = {0,
                    0,
                    0,
                    1,
                    static_cast<char>(length >> 24),
                    static_cast<char>(length >> 16),
                    static_cast<char>(length >> 8),
                    static_cast<char>(length)};
  pending->bytes.append(reinterpret_cast<const char*>(packed.data), packed.size);
  ZQFree(packed.data);
  PendingSlices* p = pending.get();
  exportSlice(call, keepPending(std::move(pending)), p);
}

// The whole import text of gathered bytes; false when they are neither a
// deflated text nor a terminated one.
bool importText(const std::string& bytes, std::string& text) {
  zq::platform::ZBuffer plain;
  if (zq::platform::decompressBytes(bytes.data(), bytes.size(), 0, plain, kMaxImportBytes) ==
      zq::platform::ZResult::ok) {
    text.assign(reinterpret_cast<const char*>(plain.data), plain.size);
    ZQFree(plain.data);
  } else {
    ZQFree(plain.data);
    if (bytes.empty() || bytes.back() != '\0') return false;
    text = bytes;
  }
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return true;
}

// Gathers one slice; the whole text once the last one came (false: not yet,
// or a failure was reported).
bool gatherUpload(Call& call, const ImportArgs& args, std::string& text) {
  RequestHeader& out = outHeader(call);
  int32_t token = args.header.chunkToken;
  PendingSlices* p = nullptr;
  std::unique_ptr<PendingSlices> first;
  if (token != 0) {
    p = dynamic_cast<PendingSlices*>(findPending(token));
    if (!p) {
      addError(call, zq::kMsgBadImportText, "unknown chunk token");
      return false;
    }
  } else {
    first = std::make_unique<PendingSlices>();
    p = first.get();
  }
  if (p->bytes.size() + args.length > kMaxImportBytes) {
    if (token) dropPending(token);
    addError(call, zq::kMsgBadImportText, "too long");
    return false;
  }
  if (args.bytes) p->bytes.append(reinterpret_cast<const char*>(args.bytes), args.length);
  if (!args.header.lastChunk) {
    if (first) token = keepPending(std::move(first));
    out.chunkToken = token;
    out.lastChunk = 0;
    return false;
  }
  const std::string bytes = std::move(p->bytes);
  if (token) dropPending(token);
  out.lastChunk = 1;
  if (!importText(bytes, text)) {
    addError(call, zq::kMsgBadImportText);
    return false;
  }
  return true;
}

void importCall(Request<proc::Import>& call) {
  if (!requireAdministrator(call)) return;
  std::string text;
  if (!gatherUpload(call, call.args(), text)) return;
  if (report(call,
             importDefinitions(call.server.store(), call.args().items, text, call.args().option)))
    syncAllPermissions(call);
}

void unImportCall(Request<proc::UnImport>& call) {
  if (!requireAdministrator(call)) return;
  std::string text;
  if (!gatherUpload(call, call.args(), text)) return;
  if (report(call, removeImported(call.server.store(), call.args().items, text)))
    syncAllPermissions(call);
}

}  // namespace

void serveExportImport(Handlers& h) {
  h.serve<proc::Export, exportDefinitionsCall>();
  h.serve<proc::Import, importCall>();
  h.serve<proc::UnImport, unImportCall>();
}

}  // namespace zqserver
