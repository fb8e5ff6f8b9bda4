// Qualification and assignment text (first byte: which).
#include "fuzz_target.h"

ZQ_FUZZ_TARGET(qualtext)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text = zqfuzz::text(data + 1, size - 1);
  ZQStatusList s{0, nullptr};
  if (data[0] & 1) {
    ZQAssignStruct assign{};
    ZQDecodeZQAssignStruct(zqfuzz::session(), text.c_str(), &assign, &s);
    FreeZQAssignStruct(&assign, 0);
  } else {
    ZQQualifierStruct qual{};
    ZQDecodeZQQualifierStruct(zqfuzz::session(), text.c_str(), &qual, &s);
    FreeZQQualifierStruct(&qual, 0);
  }
  FreeZQStatusList(&s, 0);
  return 0;
}
