// The localized words of the qualification language: keyword names,
// operator words, status-history selectors, the null word and the currency
// parts. Read once per process from the message catalog (set 2); a word
// the catalog lacks keeps its built-in English form.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zq::text {

inline constexpr int kKeywordCount = 47;  // keyword numbers 0 to 46

struct KeywordTables {
  std::array<std::string, kKeywordCount> keywords;  // by keyword number
  std::string like, andWord, orWord, notWord;       // operator words
  std::string user, time;                           // status-history selectors 1, 2
  std::string nullWord;                             // the null value
  std::array<std::string, 3> currencyParts;         // parts 1 to 3

  // Keyword number of a name (exact match), or -1.
  int keywordNumber(std::string_view name) const;
};

// The process-wide tables, built on first use under the keyword-tables lock
// and never changed afterwards; safe to read from any thread.
const KeywordTables& keywordTables();

// The built-in English word of a keyword number, or null when out of range.
const char* builtInKeyword(int number);

}  // namespace zq::text
