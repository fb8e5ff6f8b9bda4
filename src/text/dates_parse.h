// Reading date and time texts typed by users.
#pragma once

#include <cstdint>

#include "text/dates_locale.h"

namespace zq::text::dates {

// Lenient date reading: the first of a fixed list of patterns that yields a
// valid date wins; else a bare day number. pivotYear < 0 means the default.
// On success end points just past what was read.
bool parseDate(const LocaleTables& t, int pivotYear, const char* text, int32_t& dayNumber,
               const char*& end);

// A point in time (seconds since 1970) or, when nothing matches and
// timeOnly is off, an interval "h[:m[:s]]" in seconds.
bool parseTimestamp(const LocaleTables& t, const char* text, bool timeOnly, int32_t& value,
                    bool& interval);

// Seconds since midnight, 0..86399.
bool parseTimeOfDay(const LocaleTables& t, const char* text, int32_t& seconds);

}  // namespace zq::text::dates
