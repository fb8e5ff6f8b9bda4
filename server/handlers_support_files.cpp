// Handlers of the support-file procedures. A content larger than a reply
// travels in slices under a chunk token, downloads and uploads alike.
#include <ctime>
#include <memory>
#include <string>

#include "definition_lists.h"
#include "form_definitions.h"
#include "query_text.h"
#include "server.h"
#include "zqapi/zq_definitions.h"

namespace zqserver {
namespace {

using namespace zq::transport;

RequestHeader& inHeader(Call& call) {
  return *call.procedure.argsHeader(call.argsRecord);
}
// A form's files need the form; an active link's are kept by name.
bool ownerExists(Call& call, FormDefinitions& defs, const SupportFileKey& key) {
  if (key.fileType != ZQ_SUPPORT_FILE_FORM) return true;
  if (defs.findForm(textOf(key.name))) return true;
  report(call, zq::kMsgNoSuchForm, textOf(key.name));
  return false;
}

struct PendingDownload : PendingResult {
  std::string content;
  size_t next = 0;
  int64_t changed = 0;
};

struct PendingUpload : PendingResult {
  uint32_t fileType = 0;
  std::string owner;
  uint32_t id = 0;
  uint32_t fileId = 0;
  uint32_t total = 0;
  std::string content;
};

void getSupportFile(Request<proc::GetSupportFile>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  const int32_t token = a.header.chunkToken;
  PendingDownload* p = nullptr;
  std::unique_ptr<PendingDownload> fresh;
  if (token != 0) {
    p = dynamic_cast<PendingDownload*>(findPending(token));
    if (!p) return report(call, zq::kMsgBadEncoding, "unknown chunk token");
  } else {
    FormDefinitions defs(call.server.store());
    if (!ownerExists(call, defs, a.key)) return;
    auto file =
        defs.store().supportFile(a.key.fileType, textOf(a.key.name), a.key.id, a.key.fileId);
    if (!file) return report(call, zq::kMsgNoSuchDefinition, std::to_string(a.key.fileId));
    fresh = std::make_unique<PendingDownload>();
    fresh->content = std::move(file->content);
    fresh->changed = file->changed;
    p = fresh.get();
  }
  const size_t n = std::min(sliceBytes(a.header.responseSize), p->content.size() - p->next);
  r.bytes = static_cast<unsigned char*>(ZQAlloc(n ? n : 1));
  if (!r.bytes) {
    if (token) dropPending(token);
    return report(call, zq::kMsgNoMemory);
  }
  memcpy(r.bytes, p->content.data() + p->next, n);
  r.length = static_cast<uint32_t>(n);
  r.timestamp = static_cast<ZQTimestamp>(p->changed);
  p->next += n;
  RequestHeader& out = outHeader(call);
  out.lastChunk = p->next == p->content.size();
  if (out.lastChunk) {
    if (token) dropPending(token);
    out.chunkToken = 0;
  } else {
    out.chunkToken = fresh ? keepPending(std::move(fresh)) : token;
  }
}

void setSupportFile(Request<proc::SetSupportFile>& call) {
  auto& a = call.args();
  const int32_t token = inHeader(call).chunkToken;
  FormDefinitions defs(call.server.store());
  PendingUpload* p = nullptr;
  std::unique_ptr<PendingUpload> fresh;
  if (token != 0) {
    p = dynamic_cast<PendingUpload*>(findPending(token));
    if (!p) return report(call, zq::kMsgBadEncoding, "unknown chunk token");
  } else {
    if (!ownerExists(call, defs, a.key)) return;
    fresh = std::make_unique<PendingUpload>();
    fresh->fileType = a.key.fileType;
    fresh->owner = textOf(a.key.name);
    fresh->id = a.key.id;
    fresh->fileId = a.key.fileId;
    fresh->total = a.totalSize;
    p = fresh.get();
  }
  auto abandon = [&](int32_t message, const std::string& why) {
    if (token) dropPending(token);
    report(call, message, why);
  };
  if (a.bytes && a.length) {
    if (p->content.size() + a.length > p->total)
      return abandon(zq::kMsgBadEncoding, "support file longer than announced");
    p->content.append(reinterpret_cast<const char*>(a.bytes), a.length);
  }
  RequestHeader& out = outHeader(call);
  if (!inHeader(call).lastChunk) {
    out.lastChunk = 0;
    out.chunkToken = fresh ? keepPending(std::move(fresh)) : token;
    return;
  }
  if (p->content.size() != p->total)
    return abandon(zq::kMsgBadEncoding, "support file shorter than announced");
  const StoreResult stored = defs.store().putSupportFile(
      p->fileType, p->owner, p->id, p->fileId, p->content, static_cast<int64_t>(time(nullptr)));
  if (token) dropPending(token);
  out.chunkToken = 0;
  out.lastChunk = 1;
  report(call, stored);
}

void deleteSupportFile(Request<proc::DeleteSupportFile>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  if (!defs.store().removeSupportFile(a.key.fileType, textOf(a.key.name), a.key.id, a.key.fileId))
    report(call, zq::kMsgNoSuchDefinition, std::to_string(a.key.fileId));
}

void getListSupportFile(Request<proc::GetListSupportFile>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  SupportFileKey key{a.fileType, a.name, a.id, 0};
  if (!ownerExists(call, defs, key)) return;
  const auto ids = defs.store().supportFileIds(a.fileType, textOf(a.name), a.id, a.changedSince);
  ZQInternalIdList& out = call.reply().ids;
  if (!sized(out, static_cast<uint32_t>(ids.size()), true)) return report(call, zq::kMsgNoMemory);
  for (size_t i = 0; i < ids.size(); ++i) out.items[i] = ids[i];
}

}  // namespace

void serveSupportFiles(Handlers& h) {
  h.serve<proc::GetSupportFile, getSupportFile>();
  h.serve<proc::SetSupportFile, setSupportFile>();
  h.serve<proc::DeleteSupportFile, deleteSupportFile>();
  h.serve<proc::GetListSupportFile, getListSupportFile>();
}

}  // namespace zqserver
