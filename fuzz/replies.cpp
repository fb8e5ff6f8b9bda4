// Every reply record of the procedure table, as the library decodes what a
// server sends.
#include "fuzz_target.h"
#include "wire_records.h"

ZQ_FUZZ_TARGET(replies)(const uint8_t* data, size_t size) {
  return zqfuzz::decodeRecord(data, size, true);
}
