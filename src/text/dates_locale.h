// Process-wide date and time settings: locale formats and names, the
// environment patterns, the config-file pictures, the month-first flag and
// the two-digit year pivot. Built once, at first use, under the date/time
// process lock, and never changed afterwards.
#pragma once

#include <locale.h>

#include <array>
#include <optional>
#include <string>

namespace zq::text::dates {

// Catalog numbers (set 255) under which the environment variables may be
// renamed, and the catalog numbers of the names ordinal 833 returns.
enum CatalogNumber : int {
  kNameDate = 101,
  kNameDateOnly = 102,
  kNameTimeOnly = 103,
  kCatalogFirstWeekday = 2781,  // Monday .. Sunday
  kCatalogMonthBase = 5114,     // + month 1..12
};

struct LocaleTables {
  locale_t locale = nullptr;  // for strftime_l; owned
  std::string localeName;

  std::string dateTimeFormat;  // strftime notation
  std::string dateFormat;
  std::string timeFormat;
  std::array<std::string, 7> weekdays;  // Sunday first
  std::array<std::string, 7> abbreviatedWeekdays;
  std::array<std::string, 12> months;
  std::array<std::string, 12> abbreviatedMonths;
  std::string am, pm;

  // Names from the message catalog (English when the catalog has none).
  std::array<std::string, 12> catalogMonths;
  std::array<std::string, 7> catalogWeekdays;  // Sunday first

  std::optional<std::string> envDate;      // strftime notation
  std::optional<std::string> envDateOnly;  // date picture
  std::optional<std::string> envTimeOnly;  // time picture
  std::string shortDatePicture;            // "sShortDate", may be empty
  std::string timePicture;                 // "sTimeFormat", may be empty

  bool monthFirst = true;
  int pivotYear = 0;  // two-digit years fall in pivotYear - 99 .. pivotYear

  ~LocaleTables();
};

// The tables, loaded at first use. Throws std::bad_alloc when memory runs out
// while loading (the next call tries again).
const LocaleTables& tables();

// Month-first decision over a strftime pattern: the first of B, b, h, m means
// month first, a d or e before them day first; none of them, month first.
bool monthFirstOf(const std::string& pattern);

// Names of the variables: the catalog's text (set 255) or the built-in one.
std::string variableName(int catalogNumber, const char* builtIn);

}  // namespace zq::text::dates

namespace zq::testing {
// Drops the loaded date and time tables so that the next use reloads them,
// from the named locale when one is given (else from the environment's).
// Tables handed out earlier stay valid until the process ends.
void resetDateTables(const char* localeName = nullptr);
// Makes the next load of the tables run out of memory.
void failNextDateTableLoad();
}  // namespace zq::testing
