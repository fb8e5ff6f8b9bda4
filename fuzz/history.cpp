// Status history and diary text (first byte: which).
#include "fuzz_target.h"

ZQ_FUZZ_TARGET(history)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text = zqfuzz::text(data + 1, size - 1);
  ZQStatusList s{0, nullptr};
  if (data[0] & 1) {
    ZQDiaryList diary{0, nullptr};
    ZQDecodeDiary(zqfuzz::session(), text.c_str(), &diary, &s);
    FreeZQDiaryList(&diary, 0);
  } else {
    ZQStatusHistoryList history{0, nullptr};
    ZQDecodeStatusHistory(zqfuzz::session(), text.c_str(), &history, &s);
    FreeZQStatusHistoryList(&history, 0);
  }
  FreeZQStatusList(&s, 0);
  return 0;
}
