// Keywords written between dollar signs: recognition and expansion.
#include <sys/utsname.h>

#include <cstring>

#include "frame/frame.h"
#include "qualify/qualify.h"
#include "text/text.h"

namespace zq::qualify {
namespace {

constexpr size_t kMaxKeywordName = 254;

}  // namespace

int keywordOf(std::string_view name) {
  if (name.empty() || name.size() > kMaxKeywordName) return -2;
  if (name.find('\x01') != std::string_view::npos || name.find('\x02') != std::string_view::npos)
    return -2;
  const text::KeywordTables& words = text::keywordTables();
  if (name == words.nullWord || name == "--1") return -1;
  if (name[0] == '-' && name.size() <= 3) {
    int number = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return -2;
      number = number * 10 + (name[i] - '0');
    }
    return name.size() > 1 && number < text::kKeywordCount ? number : -2;
  }
  const int number = words.keywordNumber(name);
  return number >= 0 ? number : -2;
}

int expandKeywords(std::string_view text, const KeywordValue& keywords, ZQValueStruct* out,
                   ZQStatusList* status) {
  *out = ZQValueStruct{};
  if (text.size() >= 2 && text.front() == '$' && text.back() == '$' &&
      text.find('$', 1) == text.size() - 1) {
    const int number = keywordOf(text.substr(1, text.size() - 2));
    if (number == -1) return 0;  // no keyword: the NULL value
    if (number >= 0) {
      out->dataType = ZQ_DATA_TYPE_KEYWORD;
      out->u.keywordNumber = static_cast<uint32_t>(number);
      return 0;
    }
  }
  std::string result;
  try {
    size_t at = 0;
    while (at < text.size()) {
      const size_t open = text.find('$', at);
      if (open == std::string_view::npos) break;
      const size_t close = text.find('$', open + 1);
      if (close == std::string_view::npos) break;
      const int number = keywordOf(text.substr(open + 1, close - open - 1));
      if (number == -2) {
        // Not a keyword: keep the sign; the closing one may open the next.
        result.append(text.substr(at, close - at));
        at = close;
        continue;
      }
      result.append(text.substr(at, open - at));
      if (number >= 0) {
        std::string value;
        if (int32_t message = keywords(number, value)) {
          addError(status, message);
          return message;
        }
        result += value;
      }
      at = close + 1;
    }
    if (at < text.size()) result.append(text.substr(at));
  } catch (...) {
    addError(status, kMsgNoMemory);
    return kMsgNoMemory;
  }
  char* copy = dupString(result.c_str());
  if (!copy) {
    addError(status, kMsgNoMemory);
    return kMsgNoMemory;
  }
  out->dataType = ZQ_DATA_TYPE_CHAR;
  out->u.charValue = copy;
  return 0;
}

std::string hardwareText() {
  struct utsname u {};
  if (uname(&u) != 0) return {};
  return u.machine;
}

std::string systemText() {
  struct utsname u {};
  if (uname(&u) != 0) return {};
  return std::string(u.sysname) + " " + u.release;
}

}  // namespace zq::qualify
