// Date and time text as users type it, and single values in their text form
// (first byte: which reader).
#include "fuzz_target.h"

ZQ_FUZZ_TARGET(dates)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text = zqfuzz::text(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      int32_t day = 0;
      const char* end = nullptr;
      ZQParseDate(data[0] >> 2, text.c_str(), &end, &day);
      break;
    }
    case 1: {
      ZQTimestamp value = 0;
      ZQBoolean interval = 0;
      ZQParseTimestamp(text.c_str(), data[0] & 4, &value, &interval);
      break;
    }
    case 2: {
      int32_t seconds = 0;
      ZQParseTimeOfDay(text.c_str(), &seconds);
      break;
    }
    default: {
      const char* cursor = text.c_str();
      ZQValueStruct value{};
      ZQDecodeValueText(&cursor, &value);
      FreeZQValueStruct(&value, 0);
      break;
    }
  }
  return 0;
}
