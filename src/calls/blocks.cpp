// ZQGetListEntryBlocks (procedure 135) and the local ZQGetEntryBlock.
#include "calls/queries.h"
#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

using namespace zq;

namespace {
// A block holds the rows of one slice of a result; its text never comes near
// this, and a block that inflates beyond it is refused rather than allowed
// to take gigabytes (the decoded rows take some times more again).
constexpr size_t kMaxBlockText = 64u << 20;
}  // namespace

extern "C" int ZQGetListEntryBlocks(ZQControlStruct* control, const char* form,
                                    ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                    ZQSortList* sort, uint32_t rowsPerBlock, uint32_t firstRetrieve,
                                    uint32_t maxRetrieve, ZQBoolean useLocale,
                                    ZQEntryBlockList* blocks, uint32_t* numReturnedRows,
                                    uint32_t* numMatches, ZQStatusList* status) {
  if (numReturnedRows) *numReturnedRows = 0;
  if (numMatches) *numMatches = 0;
  if (!status) return ZQ_RETURN_BAD_STATUS;
  if (!blocks) {
    clearStatus(status);
    return addError(status, kMsgNoResultOutput);
  }
  *blocks = {0, nullptr};
  call::Call<transport::proc::GetListEntryBlocks> call(control, status);
  if (!call || call.refused(calls::checkQuery(control, form, qualifier, fields, sort, status)))
    return call.rc();
  call.record(diag::Command::GetListEntryBlocks, form, qualifier, fields, sort, rowsPerBlock,
              firstRetrieve, maxRetrieve, useLocale);
  if (call.bind()) {
    auto& args = call.args();
    args.form = const_cast<char*>(form);
    if (qualifier) args.qualifier = *qualifier;
    if (fields) args.fields = *fields;
    if (sort) args.sort = *sort;
    args.rowsPerBlock = rowsPerBlock;
    args.firstRetrieve = firstRetrieve;
    args.maxRetrieve = maxRetrieve;
    args.useLocale = useLocale;
    auto* reply = call.send();
    if (reply && call.rc() < ZQ_RETURN_ERROR) {
      *blocks = reply->blocks;
      reply->blocks = {0, nullptr};
      if (numReturnedRows) *numReturnedRows = reply->returnedRows;
      if (numMatches) *numMatches = reply->matches;
      calls::setLastMatchCount(call.context(), status, reply->matches, numMatches != nullptr,
                               reply->returnedRows);
    }
  }
  return call.finish(blocks, numReturnedRows, numMatches);
}

extern "C" int ZQGetEntryBlock(const ZQEntryBlockList* blocks, uint32_t index,
                               ZQEntryListFieldValueList* entries, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (entries) *entries = {0, nullptr};
  if (!blocks) return addError(status, kMsgBlockListMissing, "entryBlockList");
  if (!entries) return addError(status, kMsgNoResultOutput);
  if (index >= blocks->count || !blocks->items)
    return addError(status, kMsgBlockIndexOutOfRange, "entryBlockList");
  const ZQEntryBlockStruct& block = blocks->items[index];
  platform::ZBuffer plain;
  const platform::ZResult z =
      block.bytes
          ? platform::decompressBytes(block.bytes, block.blockSize, 0, plain, kMaxBlockText)
                  : platform::ZResult::corrupt;
  if (z != platform::ZResult::ok) {
    zq::freeBlock(plain.data);
    return addError(status, z == platform::ZResult::noMemory ? kMsgNoMemory : kMsgDecompressFailed);
  }
  ZQEntryListFieldValueList decoded{0, nullptr};
  const bool ok = model::decodeFromBuffer(plain.data, plain.size, decoded, 14);
  zq::freeBlock(plain.data);
  if (!ok) {
    zq::model::release(decoded);
    return addError(status, kMsgBadEncoding, "entryBlockList");
  }
  *entries = decoded;
  return ZQ_RETURN_OK;
}
