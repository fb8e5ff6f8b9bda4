// ZQGetEntryBLOB (procedure 80): the content of an attachment field, in
// slices, into a file or a buffer.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "calls/checks.h"
#include "calls/queries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "platform/platform.h"
#include "transport/transport.h"

namespace zq::calls {
namespace {

uint32_t bigEndian(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The transfer's state across replies.
struct BlobTransfer {
  BlobTransfer(const ZQLocStruct* where, ZQStatusList* list, size_t maxResult)
      : location(where), status(list), limit(maxResult) {}
  const ZQLocStruct* location;
  ZQStatusList* status;
  size_t limit;  // what the content may inflate to: the session's maximum result size
  bool started = false;
  bool compressed = false;
  uint32_t total = 0;
  uint32_t received = 0;
  SliceBuffer gathered;
  FILE* file = nullptr;
  int failure = 0;  // the return code of a local failure

  ~BlobTransfer() {
    if (file) fclose(file);
  }
  bool toFile() const { return location->locationType == ZQ_LOC_FILENAME; }

  bool fail(int32_t message, const char* appended = nullptr) {
    failure = addError(status, message, appended);
    return false;
  }

  bool content(const unsigned char* bytes, uint32_t n) {
    if (n > total - received)
      return fail(kMsgBadEncoding, "attachment content longer than announced");
    received += n;
    if (compressed || !toFile()) {
      uint32_t length = n;
      // SliceBuffer takes ownership only of the first slice; hand it a copy.
      auto* copy = static_cast<unsigned char*>(zq::alloc(n ? n : 1));
      if (!copy) return fail(kMsgNoMemory);
      memcpy(copy, bytes, n);
      unsigned char* owned = copy;
      const bool ok = gathered.append(length, owned);
      zq::freeBlock(owned);
      return ok || fail(kMsgNoMemory);
    }
    if (n && fwrite(bytes, 1, n, file) != n) return fail(kMsgWriteFailed, strerror(errno));
    return true;
  }

  bool slice(transport::EntryBlobReply& reply) {
    const unsigned char* p = reply.bytes;
    uint32_t n = p ? reply.length : 0;
    if (!started) {
      if (n < 8) return fail(kMsgBadEncoding, "attachment content without its header");
      compressed = bigEndian(p) != 0;
      total = bigEndian(p + 4);
      p += 8;
      n -= 8;
      started = true;
      if (!compressed && toFile() && !(file = fopen(location->u.filename, "wb")))
        return fail(kMsgOpenFailed, location->u.filename);
    } else if (n == 0) {
      return fail(kMsgBadEncoding, "attachment slice without content");
    }
    return content(p, n);
  }

  // After the last reply: inflate or hand over. False on failure.
  bool finish(ZQLocStruct* out) {
    if (!started) return fail(kMsgBadEncoding, "no attachment content");
    if (received != total)
      return fail(kMsgBadEncoding, "attachment content shorter than announced");
    if (toFile()) {
      if (!compressed) {
        const bool ok = fflush(file) == 0;
        fclose(file);
        file = nullptr;
        return ok || fail(kMsgWriteFailed, strerror(errno));
      }
      if (!(file = fopen(location->u.filename, "wb")))
        return fail(kMsgOpenFailed, location->u.filename);
      size_t written = 0;
      const platform::ZResult z =
          platform::decompressToFile(gathered.data(), gathered.size(), file, written, limit);
      if (z == platform::ZResult::io) return fail(kMsgWriteFailed, strerror(errno));
      if (z != platform::ZResult::ok)
        return fail(z == platform::ZResult::noMemory ? kMsgNoMemory : kMsgDecompressFailed);
      return true;
    }
    platform::ZBuffer plain;
    if (compressed) {
      const platform::ZResult z =
          platform::decompressBytes(gathered.data(), gathered.size(), 0, plain, limit);
      if (z != platform::ZResult::ok) {
        zq::freeBlock(plain.data);
        return fail(z == platform::ZResult::noMemory ? kMsgNoMemory : kMsgDecompressFailed);
      }
    } else if (gathered.size()) {
      plain.data = static_cast<unsigned char*>(zq::alloc(gathered.size()));
      if (!plain.data) return fail(kMsgNoMemory);
      memcpy(plain.data, gathered.data(), gathered.size());
      plain.size = gathered.size();
    }
    // One byte more, so that text content is terminated.
    auto* bytes = static_cast<unsigned char*>(zq::reallocate(plain.data, plain.size + 1));
    if (!bytes) {
      zq::freeBlock(plain.data);
      return fail(kMsgNoMemory);
    }
    bytes[plain.size] = 0;
    out->u.buffer.bytes = bytes;
    out->u.buffer.size = static_cast<uint32_t>(plain.size);
    return true;
  }
};

}  // namespace
}  // namespace zq::calls

using namespace zq;

extern "C" int ZQGetEntryBLOB(ZQControlStruct* control, const char* form, ZQEntryIdList* id,
                              ZQInternalId fieldId, ZQLocStruct* location, ZQStatusList* status) {
  call::Call<transport::proc::GetEntryBLOB> call(control, status);
  if (!call || call.refusedControl() || call.refused(zq::checkName(form, false, status)) ||
      call.refused(checks::checkEntryIds(id, status)))
    return call.rc();
  if (!location ||
      (location->locationType != ZQ_LOC_FILENAME && location->locationType != ZQ_LOC_BUFFER))
    return call.fail(kMsgBadAttachLocation);
  if (location->locationType == ZQ_LOC_FILENAME &&
      (!location->u.filename || !*location->u.filename))
    return call.fail(kMsgOpenFailed);
  if (location->locationType == ZQ_LOC_BUFFER) location->u.buffer = {0, nullptr};
  call.record(diag::Command::GetEntryBLOB, form, id, fieldId, diag::Blob{location});
  auto& args = call.args();
  args.form = const_cast<char*>(form);
  args.id = *id;
  args.fieldId = fieldId;

  calls::BlobTransfer transfer(location, status, call.context()->settings.maxResultSize);
  bool replyFailed = false;
  calls::runChunked(call, [&](transport::EntryBlobReply& reply, calls::Chunk& chunk) {
    chunk.empty = reply.length == 0;
    if (chunk.failed) {
      replyFailed = true;
      return false;
    }
    return transfer.slice(reply);
  });
  if (transfer.failure)
    call.setRc(transfer.failure);
  else if (call.rc() < ZQ_RETURN_ERROR && !replyFailed && !transfer.finish(location))
    call.setRc(transfer.failure);
  if (call.rc() < ZQ_RETURN_ERROR) call.setRc(returnCode(status));
  return call.finish(nullptr);
}
