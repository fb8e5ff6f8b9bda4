// Entry blocks as a server sends them (first byte: the input is the
// compressed block itself, or the rows it holds, compressed here so that
// the row decoder is reached).
#include "fuzz_target.h"
#include "platform/compress.h"

ZQ_FUZZ_TARGET(blocks)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  zqfuzz::session();  // names and texts convert in the thread's context
  zq::platform::ZBuffer packed;
  ZQEntryBlockStruct block{};
  if (data[0] & 1) {
    block.blockSize = static_cast<uint32_t>(size - 1);
    block.bytes = const_cast<uint8_t*>(data + 1);
  } else {
    if (zq::platform::compressBytes(data + 1, size - 1, packed) != zq::platform::ZResult::ok)
      return 0;
    block.blockSize = static_cast<uint32_t>(packed.size);
    block.bytes = packed.data;
  }
  ZQEntryBlockList blocks{1, &block};
  ZQEntryListFieldValueList entries{0, nullptr};
  ZQStatusList s{0, nullptr};
  ZQGetEntryBlock(&blocks, 0, &entries, &s);
  FreeZQEntryListFieldValueList(&entries, 0);
  FreeZQStatusList(&s, 0);
  ZQFree(packed.data);
  return 0;
}
