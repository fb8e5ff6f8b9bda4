// Strict decimal numbers for the texts of zqserverd's command line.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace zqserver {

// Reads text as a decimal number from min to max: digits, with a leading '-'
// only for a negative number; no blanks, no '+', nothing after the digits.
inline bool parseDecimal(const std::string& text, int64_t min, int64_t max, int64_t& value) {
  const char* end = text.data() + text.size();
  int64_t v = 0;
  const auto [stop, error] = std::from_chars(text.data(), end, v);
  if (error != std::errc() || stop != end || v < min || v > max) return false;
  value = v;
  return true;
}

}  // namespace zqserver
