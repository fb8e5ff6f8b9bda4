// The entry list texts of queries with field values (first byte: single or
// multi-form), against a result bound of 16 MiB.
#include "calls/entry_list_text.h"
#include "fuzz_target.h"

ZQ_FUZZ_TARGET(entrylist)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char* text = reinterpret_cast<const char*>(data + 1);
  uint32_t matches = 0;
  constexpr size_t kBound = 16u << 20;
  if (data[0] & 1) {
    ZQMultiSchemaFieldValueListList rows{0, nullptr};
    zq::calls::parseMultiSchemaText(text, size - 1, {}, &rows, &matches, kBound);
    FreeZQMultiSchemaFieldValueListList(&rows, 0);
  } else {
    ZQEntryListFieldValueList entries{0, nullptr};
    zq::calls::parseEntryListText(text, size - 1, {}, &entries, &matches, kBound);
    FreeZQEntryListFieldValueList(&entries, 0);
  }
  return 0;
}
