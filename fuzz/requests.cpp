// Every argument record of the procedure table, as zqserverd decodes what a
// client sends (its dispatcher reads requests with the same routines).
#include "fuzz_target.h"
#include "wire_records.h"

ZQ_FUZZ_TARGET(requests)(const uint8_t* data, size_t size) {
  return zqfuzz::decodeRecord(data, size, false);
}
