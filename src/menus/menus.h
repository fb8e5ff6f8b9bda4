// Character menus built in the library: the menu file format, menus from
// the rows of an SQL query, and the locale variants of a menu file's name.
// The functions fill list menus (type 1) that the caller releases with the
// menu's free function. Other subsystems include this header only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "zqapi/zq_workflow.h"

namespace zq::menus {

inline constexpr size_t kMenuLineLength = 528;  // characters read per line
inline constexpr int kMaxMenuLevel = 14;

// Parses the content of a menu file into out (made an empty list menu
// first). Returns 0, or the message number of the first fault: 321 for a
// level above 14, 130 for a level with nothing to hang under, 154.
int32_t parseMenuFile(std::string_view content, ZQCharMenuStruct& out);

// Builds a nested list menu from the rows of an SQL query: label columns
// (1-based, up to the first 0, at least one) and a value column (0: empty
// values). Returns 0 or 154.
int32_t menuFromRows(const ZQValueListList& rows,
                     const int32_t (&labelColumns)[ZQ_MENU_LABEL_FIELDS], int32_t valueColumn,
                     ZQCharMenuStruct& out);

// The names a menu file is looked for under, in order: with language and
// country, with language, plain. locale is "language_COUNTRY.charset@modifier".
std::vector<std::string> localeVariants(const std::string& file, const std::string& locale);

}  // namespace zq::menus
