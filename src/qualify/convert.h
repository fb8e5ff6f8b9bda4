// Operand resolution and the conversion of values after each relation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "qualify/qualify.h"

namespace zq::qualify {

inline constexpr int kKeywordTimestamp = 2;  // TIMESTAMP, TIME, DATE: 2 to 4
inline constexpr int kKeywordDate = 4;

// What the operands of one relation say about the values compared with them.
struct Marks {
  bool time = false;       // a time-stamp field or a TIMESTAMP, TIME, DATE keyword
  bool date = false;       // a date field
  bool timeOfDay = false;  // a time-of-day field

  Marks& operator|=(const Marks& o) {
    time |= o.time;
    date |= o.date;
    timeOfDay |= o.timeOfDay;
    return *this;
  }
};

// A field reference (name, status-history reference, currency part or id)
// as an operand; 0 or the message number (not added to any list).
int32_t resolveField(const FieldTable& table, const std::string& reference,
                     ZQFieldValueOrArithStruct& out, Marks& marks);

// Enumeration names, time stamps, dates and times of day written as text
// become values of the field's type. 0 or the message number (154 added to
// status; others left to the caller, which knows the position).
int32_t convertRelation(const FieldTable& table, const Marks& marks, ZQRelOpStruct& relation,
                        ZQStatusList* status);

// "position %d   (...before^after...)".
std::string positionText(std::string_view text, size_t position);

}  // namespace zq::qualify
