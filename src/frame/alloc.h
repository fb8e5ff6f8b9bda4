// Library heap helpers. Every block handed to a caller comes from ZQAlloc so
// that callers can release it with ZQFree, and so that tests can make the Nth
// allocation fail.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zqapi/zq_session.h"

namespace zq {

// Duplicates text into the library heap, cut to maxLength characters.
// Null text gives null; failure gives null.
char* dupString(const char* text, size_t maxLength = SIZE_MAX);

// Copies src into a fixed-width name buffer of width bytes, always terminated.
void copyName(char* dst, const char* src, size_t width);

namespace testing {
// After n more successful allocations, every allocation fails; -1 disables.
void failAllocationsAfter(long n);
// Only the allocation after n more successful ones fails; -1 disables.
void failOnlyAllocation(long n);
// Number of allocations that failed since the last call of failAllocationsAfter.
long failedAllocations();
}  // namespace testing

}  // namespace zq
