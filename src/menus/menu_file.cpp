// The menu file format: one item per line, leading tabs for the nesting
// level, "label\value" or a label that is its own value.
#include <cstring>

#include "frame/frame.h"
#include "menus/menus.h"
#include "menus/menu_items.h"

namespace zq::menus {
namespace {

constexpr uint32_t kFileGrowth = 5;

// The next line as a reader with a buffer of 528 characters sees it: a
// longer line comes in pieces, each read as a line of its own.
bool nextLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  size_t n = 0;
  while (n < rest.size() && n < kMenuLineLength) {
    if (rest[n++] == '\n') break;
  }
  line = rest.substr(0, n);
  rest.remove_prefix(n);
  return true;
}

}  // namespace

int32_t parseMenuFile(std::string_view content, ZQCharMenuStruct& out) {
  out = ZQCharMenuStruct{};
  out.menuType = ZQ_CHAR_MENU_LIST;
  // The open menus by level; menus[0] is the top.
  ZQCharMenuStruct* menus[kMaxMenuLevel + 1] = {&out};
  // The tabs of the line that opened each level: lines indented alike stay
  // siblings even when their level was opened by more than one tab.
  size_t tabsOf[kMaxMenuLevel + 1] = {0};
  int current = 0;
  std::string_view line;
  while (nextLine(content, line)) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    // A NUL ends the line, as it would in a C string.
    line = line.substr(0, std::min(line.size(), line.find('\0')));
    if (line.empty() || line[0] == '#') continue;
    size_t level = 0;
    while (level < line.size() && line[level] == '\t') ++level;
    if (level > static_cast<size_t>(kMaxMenuLevel)) return kMsgMenuTooDeep;
    if (level > tabsOf[current]) {
      ZQCharMenuList& here = menus[current]->u.menuList;
      if (here.count == 0) return kMsgBadCharMenu;
      ZQCharMenuStruct* child = openSubMenu(here.items[here.count - 1]);
      if (!child) return kMsgNoMemory;
      menus[++current] = child;
      tabsOf[current] = level;
    } else {
      while (current > 0 && tabsOf[current] > level) --current;
    }
    const std::string_view text = line.substr(level);
    const size_t slash = text.find('\\');
    const std::string_view label = text.substr(0, slash);
    const std::string_view value = slash == std::string_view::npos ? label : text.substr(slash + 1);
    if (!appendValue(menus[current]->u.menuList, label, value, kFileGrowth)) return kMsgNoMemory;
  }
  return 0;
}

std::vector<std::string> localeVariants(const std::string& file, const std::string& locale) {
  // language_COUNTRY.charset@modifier, each part up to the next separator.
  const size_t languageEnd = locale.find_first_of("_.@");
  const std::string language = locale.substr(0, languageEnd);
  std::string country;
  if (languageEnd != std::string::npos && locale[languageEnd] == '_') {
    const size_t countryEnd = locale.find_first_of(".@", languageEnd + 1);
    country = locale.substr(languageEnd + 1, countryEnd == std::string::npos
                                                 ? std::string::npos
                                                 : countryEnd - languageEnd - 1);
  }
  std::vector<std::string> names;
  if (!language.empty()) {
    if (!country.empty()) names.push_back(file + "." + language + "_" + country);
    names.push_back(file + "." + language);
  }
  names.push_back(file);
  return names;
}

}  // namespace zq::menus
