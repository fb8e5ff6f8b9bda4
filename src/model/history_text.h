// Status-history and diary text, the frame-free halves of the exported
// encoders and decoders: the text calls (calls/) and the trace log (diag/)
// both use them.
//
// Status history: one record per status value, 0x04 between the time stamp
// and the user, 0x03 after every record. Diary: per entry the time stamp,
// 0x04, the user, 0x04, the text, 0x03.
#pragma once

#include <cstdint>

#include "zqapi/zq_types.h"

namespace zq::model {

inline constexpr char kFieldSeparator = '\x04';
inline constexpr char kRecordTerminator = '\x03';

// They add their failures to status and return a return code; outputs are
// left empty on failure.
int encodeStatusHistory(const ZQStatusHistoryList* list, char** text, ZQStatusList* status);
int decodeStatusHistory(const char* text, ZQStatusHistoryList* list, ZQStatusList* status);
int encodeDiary(const ZQDiaryList* list, char** text, ZQStatusList* status);
int decodeDiary(const char* text, ZQDiaryList* list, ZQStatusList* status);

// The decimal number at the start of a record, read like atol but never past
// end; the result wraps to 32 bits as the time stamp fields do.
inline uint32_t recordTimestamp(const char* p, const char* end) {
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  uint64_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p)
    value = value * 10 + static_cast<uint64_t>(*p - '0');
  return static_cast<uint32_t>(negative ? 0 - value : value);
}

}  // namespace zq::model
