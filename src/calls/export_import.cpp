// Export and import of definitions: ZQExport and ZQExportToFile (34), ZQImport
// and ZQImportFromFile (35), ZQUnImport (124). Exports arrive in slices
// (calls/queries.h), imports leave in slices of the response size less 500
// bytes, the last one marked in the request header.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "call/call.h"
#include "calls/export_text.h"
#include "calls/queries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "transport/describe.h"
#include "zqapi/zq_transfer.h"

namespace zq::calls {
namespace {

using call::Call;
namespace proc = transport::proc;

// Servers below this major version take import texts as they are and send
// exports as plain text.
constexpr int kFramedServerMajor = 6;

// The copy of an item list that travels, released with the call.
struct ItemCopy {
  ZQStructItemList list{};
  ~ItemCopy() { model::release(list); }
};

int serverMajor(ZQThreadContext* ctx, ZQControlStruct* control) {
  const transport::ServerOptions* o = transport::findOptions(ctx, control->server);
  return o ? o->major : 0;
}

const char* charsetNameOr(uint32_t id, const char* fallback) {
  const char* name = platform::charsetName(id);
  return name && *name ? name : fallback;
}

// Converts between two different character sets; true when nothing needed
// doing. Callers test the context's sets for 0 (not known yet) themselves:
// 0 is a real set when a text names it.
bool convertText(uint32_t from, uint32_t to, std::string& text, bool& noMemory) {
  noMemory = false;
  if (from == to || from == platform::kCharsetUnknown || to == platform::kCharsetUnknown)
    return true;
  std::string out;
  switch (platform::convert(from, to, text.data(), text.size(), out)) {
    case platform::ConvertResult::ok:
      text.swap(out);
      return true;
    case platform::ConvertResult::noMemory:
      noMemory = true;
      return false;
    default:
      return false;
  }
}

// ZQExport and ZQExportToFile: the text into *out, or into file.
int exportDefinitions(ZQControlStruct* control, ZQStructItemList* items, const char* displayTag,
                      uint32_t viewType, ZQLockStruct* lock, char** out, FILE* file, bool toFile,
                      ZQStatusList* status) {
  if (out) *out = nullptr;
  Call<proc::Export> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkItemList(items, true, status)))
    return call.rc();
  if (toFile && !file) return call.fail(kMsgEmptyFile);
  if (!toFile && !out) return call.fail(kMsgMissingOutput);
  call.record(diag::Command::Export, displayTag, viewType);

  ItemCopy copy;
  if (!model::deepCopy(copy.list, *items)) return call.finishWithError(kMsgNoMemory);
  auto& args = call.args();
  args.items = copy.list;
  args.displayTag = const_cast<char*>(displayTag ? displayTag : "");
  args.viewType = viewType;
  args.lockType = lock ? lock->lockType : 0;
  args.lockKey = const_cast<char*>(lock ? lock->lockKey : "");

  ZQThreadContext* ctx = call.context();
  ExportGatherer gatherer(serverMajor(ctx, control) >= kFramedServerMajor ||
                          serverMajor(ctx, control) == 0);
  int32_t broken = 0;
  bool replyFailed = false;
  runChunked(call, [&](transport::ExportReply& reply, const Chunk& chunk) {
    if (chunk.failed) {
      replyFailed = true;
      return false;
    }
    return gatherer.take(reply.bytes, reply.bytes ? reply.length : 0, broken);
  });
  args.items = ZQStructItemList{};
  args.displayTag = args.lockKey = nullptr;
  if (broken) return call.finishWithError(broken);
  if (call.rc() >= ZQ_RETURN_ERROR || replyFailed) return call.finish();

  std::string text;
  if (!gatherer.finish(text, broken)) return call.finishWithError(broken);
  const uint32_t client = ctx->clientCharset, server = ctx->serverCharset;
  const bool xml = isXmlText(text.data(), text.size());
  bool noMemory = false;
  if (client && server && client != server && convertText(server, client, text, noMemory) && xml)
    text = rewriteXmlEncoding(text, charsetNameOr(client, "UTF-8"));
  if (noMemory) return call.finishWithError(kMsgNoMemory);
  if (!xml) text = std::string("char-set: ") + charsetNameOr(client, "UTF-8") + "\n" + text;

  if (toFile) {
    if (fwrite(text.data(), 1, text.size(), file) != text.size() || fflush(file) != 0)
      return call.finishWithError(kMsgWriteFailed, strerror(errno));
    return call.finish();
  }
  char* result = static_cast<char*>(zq::alloc(text.size() + 1));
  if (!result) return call.finishWithError(kMsgNoMemory);
  memcpy(result, text.data(), text.size() + 1);
  *out = result;
  return call.finish();
}

// The bytes an import sends: the text as the server takes it, compressed
// unless compression failed (then terminated, as older servers take it).
struct Upload {
  std::string bytes;
  int32_t failure = 0;
};

// from: the text's character set, 0 with known false when neither the text
// nor the context says; server: 0 when not known.
Upload prepareUpload(const char* text, uint32_t from, bool known, uint32_t server, bool asIs) {
  Upload u;
  std::string body(text);
  if (asIs) {
    u.bytes.assign(text, body.size() + 1);
    return u;
  }
  if (from == platform::kCharsetUnknown) {
    u.failure = kMsgBadImportText;
    return u;
  }
  bool noMemory = false;
  if (known && server && from != server) {
    if (!convertText(from, server, body, noMemory)) {
      u.failure = noMemory ? kMsgNoMemory : kMsgBadImportText;
      return u;
    }
    if (isXmlText(body.data(), body.size())) {
      body = rewriteXmlEncoding(body, charsetNameOr(server, "UTF-8"));
      if (body.empty()) {
        u.failure = kMsgBadImportText;
        return u;
      }
    }
  }
  platform::ZBuffer packed;
  if (platform::compressBytes(body.data(), body.size(), packed) == platform::ZResult::ok) {
    u.bytes.assign(reinterpret_cast<const char*>(packed.data), packed.size);
  } else {
    u.bytes.assign(body.c_str(), body.size() + 1);
  }
  zq::freeBlock(packed.data);
  return u;
}

// Older servers take slices that end on whole characters: a UTF-8 slice
// does not end inside a character.
size_t wholeCharacters(const std::string& bytes, size_t from, size_t length, uint32_t charset) {
  if (charset != platform::kCharsetUtf8 || from + length >= bytes.size()) return length;
  size_t cut = length;
  while (cut > 0 && (static_cast<unsigned char>(bytes[from + cut]) & 0xC0) == 0x80) --cut;
  return cut ? cut : length;
}

// ZQImport and ZQUnImport.
template <class P>
int importDefinitions(ZQControlStruct* control, ZQStructItemList* items, const char* text,
                      uint32_t option, ZQStatusList* status) {
  constexpr bool unimport = std::is_same_v<P, proc::UnImport>;
  Call<P> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkItemList(items, false, status)))
    return call.rc();
  if (!text || !*text) return call.fail(kMsgBadImportText);
  call.record(unimport ? diag::Command::UnImport : diag::Command::Import, option);
  if (!call.bind()) return call.finish();

  ZQThreadContext* ctx = call.context();
  const uint32_t client = ctx->clientCharset, server = ctx->serverCharset;
  const bool older =
      !unimport && serverMajor(ctx, control) > 0 && serverMajor(ctx, control) < kFramedServerMajor;
  const uint32_t from = unimport ? client : importCharset(text, client);
  Upload upload = prepareUpload(text, from, from != client || client != 0, server, older);
  if (upload.failure) return call.finishWithError(upload.failure);

  ItemCopy copy;
  if (items && items->count && !model::deepCopy(copy.list, *items))
    return call.finishWithError(kMsgNoMemory);

  const size_t slice = uploadSlice(ctx->settings.responseSize);
  int32_t token = 0;
  for (size_t at = 0;;) {
    if (at && !call.bind()) break;
    size_t length = upload.bytes.size() - at < slice ? upload.bytes.size() - at : slice;
    if (older) length = wholeCharacters(upload.bytes, at, length, server);
    const bool last = at + length >= upload.bytes.size();
    auto& args = call.args();
    args.header.chunkToken = token;
    args.header.lastChunk = last ? 1 : 0;
    args.header.responseSize = ctx->settings.responseSize;
    args.items = copy.list;
    args.length = static_cast<uint32_t>(length);
    args.bytes = reinterpret_cast<unsigned char*>(upload.bytes.data() + at);
    args.option = option;
    int replyCode = ZQ_RETURN_OK;
    auto* reply = call.send(&replyCode);
    args.items = ZQStructItemList{};
    args.bytes = nullptr;
    if (!reply || replyCode >= ZQ_RETURN_ERROR || last) break;
    token = reply->header.chunkToken;
    at += length;
  }
  if (call.rc() < ZQ_RETURN_ERROR) call.setRc(returnCode(status));
  return call.finish();
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQExport(ZQControlStruct* control, ZQStructItemList* items, const char* displayTag,
             uint32_t viewType, ZQLockStruct* lock, char** exportText, ZQStatusList* status) {
  return exportDefinitions(control, items, displayTag, viewType, lock, exportText, nullptr, false,
                           status);
}

int ZQExportToFile(ZQControlStruct* control, ZQStructItemList* items, const char* displayTag,
                   uint32_t viewType, ZQLockStruct* lock, FILE* file, ZQStatusList* status) {
  return exportDefinitions(control, items, displayTag, viewType, lock, nullptr, file, true, status);
}

int ZQImport(ZQControlStruct* control, ZQStructItemList* items, const char* importText,
             uint32_t option, ZQStatusList* status) {
  return importDefinitions<proc::Import>(control, items, importText, option, status);
}

int ZQUnImport(ZQControlStruct* control, ZQStructItemList* items, const char* importText,
               uint32_t option, ZQStatusList* status) {
  return importDefinitions<proc::UnImport>(control, items, importText, option, status);
}

int ZQImportFromFile(ZQControlStruct* control, ZQStructItemList* items, FILE* file, uint32_t option,
                     ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  long size = 0;
  if (file && fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  if (!file || size <= 0 || fseek(file, 0, SEEK_SET) != 0) return addError(status, kMsgEmptyFile);
  char* text = static_cast<char*>(zq::alloc(static_cast<size_t>(size) + 1));
  if (!text) return addError(status, kMsgNoMemory);
  const size_t read = fread(text, 1, static_cast<size_t>(size), file);
  text[read] = '\0';
  const int rc = ZQImport(control, items, text, option, status);
  zq::freeBlock(text);
  return rc;
}

}  // extern "C"
