// The support-file calls: a file's content travels in slices of at most the
// response size, downloads in replies (into the caller's open file) and
// uploads in requests (from it).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "calls/definitions.h"
#include "calls/queries.h"
#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

using call::Call;
namespace proc = transport::proc;

// File type and name: what every support-file call checks after the
// control record.
int checkFileKey(ZQControlStruct* control, uint32_t fileType, const char* name,
                 ZQStatusList* status) {
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR && fileType != ZQ_SUPPORT_FILE_FORM &&
      fileType != ZQ_SUPPORT_FILE_ACTIVE_LINK)
    rc = addError(status, kMsgBadSupportFileType);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(name, 0, status);
  return rc;
}

transport::SupportFileKey keyOf(uint32_t fileType, const char* name, ZQInternalId id,
                                ZQInternalId fileId) {
  return transport::SupportFileKey{fileType, const_cast<char*>(name), id, fileId};
}

// The size of an open file, found by seeking to its end; the file is left
// at its start. -1 when it cannot be measured.
long fileSize(FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = ftell(file);
  if (size < 0 || fseek(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name, ZQInternalId id,
                     ZQInternalId fileId, FILE* file, ZQTimestamp* timestamp,
                     ZQStatusList* status) {
  if (timestamp) *timestamp = 0;
  Call<proc::GetSupportFile> call(control, status);
  if (!call || call.refused(checkFileKey(control, fileType, name, status))) return call.rc();
  if (!file) return call.fail(kMsgEmptyFile);
  call.record(diag::Command::GetSupportFile, fileType, name, id, fileId);
  call.args().key = keyOf(fileType, name, id, fileId);
  int failure = ZQ_RETURN_OK;
  runChunked(call, [&](transport::GetSupportFileReply& reply, const Chunk& chunk) {
    if (chunk.failed) {
      failure = ZQ_RETURN_ERROR;
      return false;
    }
    if (timestamp) *timestamp = reply.timestamp;
    if (reply.length && reply.bytes && fwrite(reply.bytes, 1, reply.length, file) != reply.length) {
      failure = addError(status, kMsgWriteFailed, strerror(errno));
      return false;
    }
    return true;
  });
  if (failure && call.rc() < failure) call.setRc(failure);
  if (call.rc() < ZQ_RETURN_ERROR && fflush(file) != 0)
    call.failAfterRecord(kMsgWriteFailed, strerror(errno));
  return call.finish(timestamp);
}

int ZQSetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name, ZQInternalId id,
                     ZQInternalId fileId, FILE* file, ZQStatusList* status) {
  Call<proc::SetSupportFile> call(control, status);
  if (!call || call.refused(checkFileKey(control, fileType, name, status))) return call.rc();
  const long size = file ? fileSize(file) : 0;
  if (size <= 0) return call.fail(kMsgEmptyFile);
  if (static_cast<unsigned long>(size) > UINT32_MAX) return call.fail(kMsgTooLong);
  call.record(diag::Command::SetSupportFile, fileType, name, id, fileId);
  const uint32_t slice = call.context()->settings.responseSize;
  // One byte more than a slice, as the reads may ask for.
  std::unique_ptr<unsigned char, void (*)(void*)> buffer(
      static_cast<unsigned char*>(ZQAlloc(size_t{slice} + 1)), &ZQFree);
  if (!buffer) return call.finishWithError(kMsgNoMemory);
  auto& a = call.args();
  a.key = keyOf(fileType, name, id, fileId);
  a.totalSize = static_cast<uint32_t>(size);
  ChunkCursor cursor(call.context());
  uint32_t sent = 0;
  while (sent < a.totalSize) {
    const uint32_t want = a.totalSize - sent < slice ? a.totalSize - sent : slice;
    const size_t got = fread(buffer.get(), 1, want, file);
    if (got == 0) {
      call.failAfterRecord(kMsgReadFailed, strerror(errno));
      break;
    }
    if (cursor.stopped(call) || !call.bind()) break;
    cursor.prepare(call.header());
    const bool last = sent + got >= a.totalSize;
    call.header().lastChunk = last ? 1 : 0;
    a.length = static_cast<uint32_t>(got);
    a.bytes = buffer.get();
    int replyCode = ZQ_RETURN_OK;
    auto* reply = call.send(&replyCode);
    if (!reply || replyCode >= ZQ_RETURN_ERROR) break;
    cursor.advance(reply->header);
    sent += static_cast<uint32_t>(got);
  }
  a.bytes = nullptr;
  return call.finish();
}

int ZQCreateSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, FILE* file, ZQStatusList* status) {
  return ZQSetSupportFile(control, fileType, name, id, fileId, file, status);
}

int ZQDeleteSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, ZQStatusList* status) {
  Call<proc::DeleteSupportFile> call(control, status);
  if (!call || call.refused(checkFileKey(control, fileType, name, status))) return call.rc();
  call.record(diag::Command::DeleteSupportFile, fileType, name, id, fileId);
  if (call.bind()) {
    call.args().key = keyOf(fileType, name, id, fileId);
    call.send();
  }
  return call.finish();
}

int ZQGetListSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                         ZQInternalId id, ZQTimestamp changedSince, ZQInternalIdList* fileIds,
                         ZQStatusList* status) {
  defs::clear(fileIds);
  Call<proc::GetListSupportFile> call(control, status);
  if (!call || call.refused(checkFileKey(control, fileType, name, status))) return call.rc();
  if (!fileIds) return call.fail(kMsgNoResultOutput);
  if (call.bind()) {
    auto& a = call.args();
    a.fileType = fileType;
    a.name = const_cast<char*>(name);
    a.id = id;
    a.changedSince = changedSince;
    if (auto* reply = call.send()) defs::take(fileIds, reply->ids);
  }
  return call.finish();
}

}  // extern "C"
