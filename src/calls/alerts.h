// The alert calls' parts that tests reach directly.
#pragma once

#include <string>

namespace zq::calls {

// The language a registration sends, from the configured one: English
// names go as none, Japanese names get ";SJIS" appended, anything else
// goes unchanged.
std::string alertLanguage(const std::string& configured);

}  // namespace zq::calls
