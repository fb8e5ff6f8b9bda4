#include "values.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

namespace zqcli {
namespace {

struct TypeName {
  const char* name;
  uint32_t type;
};

// The types a value can be given as, by the names zqserverd's --form uses.
constexpr TypeName kTypes[] = {
    {"null", ZQ_DATA_TYPE_NULL},       {"integer", ZQ_DATA_TYPE_INTEGER},
    {"real", ZQ_DATA_TYPE_REAL},       {"char", ZQ_DATA_TYPE_CHAR},
    {"diary", ZQ_DATA_TYPE_DIARY},     {"enum", ZQ_DATA_TYPE_ENUM},
    {"time", ZQ_DATA_TYPE_TIME},       {"bitmask", ZQ_DATA_TYPE_BITMASK},
    {"decimal", ZQ_DATA_TYPE_DECIMAL}, {"attach", ZQ_DATA_TYPE_ATTACH},
    {"date", ZQ_DATA_TYPE_DATE},       {"timeofday", ZQ_DATA_TYPE_TIME_OF_DAY},
    {"ulong", ZQ_DATA_TYPE_ULONG},
};

bool typeByName(const std::string& name, uint32_t& type) {
  for (const TypeName& t : kTypes) {
    if (name == t.name) {
      type = t.type;
      return true;
    }
  }
  return false;
}

std::string typeNames() {
  std::string all;
  for (const TypeName& t : kTypes) all += (all.empty() ? "" : ", ") + std::string(t.name);
  return all;
}

bool isDecimalText(const std::string& text) {
  size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

// 2026-12-10T16:02:20Z: times print in UTC, so that output does not depend
// on where zq runs.
std::string isoTime(ZQTimestamp seconds) {
  time_t t = seconds;
  struct tm parts {};
  char text[32];
  if (!gmtime_r(&t, &parts) || !strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts))
    return std::to_string(seconds);
  return text;
}

std::string isoDate(int32_t dayNumber) {
  ZQDateStruct date{};
  ZQStatusList status{0, nullptr};
  const int rc = ZQJulianDateToDate(nullptr, dayNumber, &date, &status);
  FreeZQStatusList(&status, 0);
  if (rc != ZQ_RETURN_OK) return std::to_string(dayNumber);
  char text[32];
  snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string timeOfDay(int32_t seconds) {
  char text[16];
  snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

std::string realText(double value) {
  char text[64];
  snprintf(text, sizeof text, "%.15g", value);
  return text;
}

}  // namespace

std::string dataTypeName(uint32_t type) {
  for (const TypeName& t : kTypes)
    if (t.type == type) return t.name;
  // Types a field can have but a value typed on the command line cannot.
  static constexpr TypeName kFieldOnly[] = {
      {"keyword", ZQ_DATA_TYPE_KEYWORD},
      {"bytes", ZQ_DATA_TYPE_BYTES},
      {"currency", ZQ_DATA_TYPE_CURRENCY},
      {"join", ZQ_DATA_TYPE_JOIN},
      {"trim", ZQ_DATA_TYPE_TRIM},
      {"control", ZQ_DATA_TYPE_CONTROL},
      {"table", ZQ_DATA_TYPE_TABLE},
      {"column", ZQ_DATA_TYPE_COLUMN},
      {"page", ZQ_DATA_TYPE_PAGE},
      {"page holder", ZQ_DATA_TYPE_PAGE_HOLDER},
      {"attachment pool", ZQ_DATA_TYPE_ATTACH_POOL},
      {"coords", ZQ_DATA_TYPE_COORDS},
      {"view", ZQ_DATA_TYPE_VIEW},
      {"display", ZQ_DATA_TYPE_DISPLAY},
  };
  for (const TypeName& t : kFieldOnly)
    if (t.type == type) return t.name;
  return std::to_string(type);
}

bool parseNumber(const std::string& text, long long low, long long high, long long& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end && value >= low && value <= high;
}

bool parseFieldId(const std::string& text, ZQInternalId& id) {
  long long number = 0;
  if (!parseNumber(text, 1, UINT32_MAX, number)) return false;
  id = static_cast<ZQInternalId>(number);
  return true;
}

bool parseFieldIds(const std::string& text, std::vector<ZQInternalId>& ids, std::string& error) {
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma - start);
    ZQInternalId id = 0;
    if (!parseFieldId(item, id)) {
      error = "'" + item + "' is not a field id (a number from 1 to 4294967295)";
      return false;
    }
    ids.push_back(id);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool parseSort(const std::string& text, std::vector<ZQSortStruct>& sort, std::string& error) {
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma - start);
    const size_t colon = item.find(':');
    ZQSortStruct s{0, ZQ_SORT_ASCENDING};
    const std::string order = colon == std::string::npos ? "asc" : item.substr(colon + 1);
    if (!parseFieldId(item.substr(0, colon), s.fieldId) || (order != "asc" && order != "desc")) {
      error = "sort '" + item + "': expected ID, ID:asc or ID:desc";
      return false;
    }
    s.sortOrder = order == "asc" ? ZQ_SORT_ASCENDING : ZQ_SORT_DESCENDING;
    sort.push_back(s);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool FieldValues::add(const std::string& argument, std::string& error) {
  const size_t eq = argument.find('=');
  if (eq == std::string::npos) {
    error = "'" + argument + "': expected ID=VALUE or ID:TYPE=VALUE";
    return false;
  }
  const std::string left = argument.substr(0, eq);
  const std::string text = argument.substr(eq + 1);
  const size_t colon = left.find(':');
  ZQFieldValueStruct item{};
  if (!parseFieldId(left.substr(0, colon), item.fieldId)) {
    error = "'" + argument + "': the field id must be a number from 1 to 4294967295";
    return false;
  }
  uint32_t type = ZQ_DATA_TYPE_CHAR;
  if (colon != std::string::npos) {
    if (!typeByName(left.substr(colon + 1), type)) {
      error = "'" + argument + "': unknown type '" + left.substr(colon + 1) + "' (one of " +
              typeNames() + ")";
      return false;
    }
  } else if (text.empty()) {
    type = ZQ_DATA_TYPE_NULL;  // ID= clears the field
  } else {
    // Without a type a whole number goes as an integer, anything else as
    // text; ID:char=42 sends digits as text.
    long long number = 0;
    if (parseNumber(text, INT32_MIN, INT32_MAX, number)) type = ZQ_DATA_TYPE_INTEGER;
  }
  ZQValueStruct& v = item.value;
  v.dataType = type;
  auto wrong = [&](const char* expected) {
    error = "'" + argument + "': " + expected;
    return false;
  };
  auto keep = [&](const std::string& s) {
    texts_.push_back(std::make_unique<std::string>(s));
    return texts_.back()->data();
  };
  long long number = 0;
  switch (type) {
    case ZQ_DATA_TYPE_NULL:
      if (!text.empty()) return wrong("a null value takes no text");
      break;
    case ZQ_DATA_TYPE_INTEGER:
      if (!parseNumber(text, INT32_MIN, INT32_MAX, number))
        return wrong("not a whole number from -2147483648 to 2147483647");
      v.u.integerValue = static_cast<int32_t>(number);
      break;
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      if (!parseNumber(text, 0, UINT32_MAX, number))
        return wrong("not a whole number from 0 to 4294967295");
      v.u.enumValue = static_cast<uint32_t>(number);  // the three share one word
      break;
    case ZQ_DATA_TYPE_REAL: {
      char* end = nullptr;
      errno = 0;
      v.u.realValue = strtod(text.c_str(), &end);
      if (text.empty() || *end || errno == ERANGE || !std::isfinite(v.u.realValue))
        return wrong("not a real number");
      break;
    }
    case ZQ_DATA_TYPE_DECIMAL:
      if (text.empty() || !isDecimalText(text)) return wrong("not a decimal number");
      v.u.decimalValue = keep(text);
      break;
    case ZQ_DATA_TYPE_TIME: {
      ZQTimestamp t = 0;
      ZQBoolean interval = 0;
      if (!ZQParseTimestamp(text.c_str(), 0, &t, &interval) || interval)
        return wrong("not a date and time");
      v.u.timestampValue = t;
      break;
    }
    case ZQ_DATA_TYPE_DATE: {
      int32_t day = 0;
      const char* end = nullptr;
      if (ZQParseDate(0, text.c_str(), &end, &day) != 0 || (end && *end))
        return wrong("not a date");
      v.u.dateValue = day;
      break;
    }
    case ZQ_DATA_TYPE_TIME_OF_DAY: {
      int32_t seconds = 0;
      if (!ZQParseTimeOfDay(text.c_str(), &seconds)) return wrong("not a time of day");
      v.u.timeOfDayValue = seconds;
      break;
    }
    case ZQ_DATA_TYPE_CHAR:
      v.u.charValue = keep(text);
      break;
    case ZQ_DATA_TYPE_DIARY:
      v.u.diaryValue = keep(text);
      break;
    case ZQ_DATA_TYPE_ATTACH: {
      // The library reads the file itself while it sends the entry.
      struct stat st {};
      if (stat(text.c_str(), &st) != 0)
        return wrong(("cannot read " + text + ": " + strerror(errno)).c_str());
      if (!S_ISREG(st.st_mode)) return wrong(("not a regular file: " + text).c_str());
      auto attachment = std::make_unique<ZQAttachStruct>();
      *attachment = ZQAttachStruct{};
      const size_t slash = text.rfind('/');
      attachment->name = keep(slash == std::string::npos ? text : text.substr(slash + 1));
      attachment->location.locationType = ZQ_LOC_FILENAME;
      attachment->location.u.filename = keep(text);
      v.u.attachmentValue = attachment.get();
      attachments_.push_back(std::move(attachment));
      break;
    }
  }
  items_.push_back(item);
  return true;
}

ZQFieldValueList* FieldValues::list() {
  list_.count = static_cast<uint32_t>(items_.size());
  list_.items = items_.data();
  return &list_;
}

std::string valueText(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_NULL:
      return "";
    case ZQ_DATA_TYPE_KEYWORD:
      return "$" + std::to_string(v.u.keywordNumber) + "$";
    case ZQ_DATA_TYPE_INTEGER:
      return std::to_string(v.u.integerValue);
    case ZQ_DATA_TYPE_REAL:
      return realText(v.u.realValue);
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return v.u.charValue ? v.u.charValue : "";
    case ZQ_DATA_TYPE_DIARY:
      return v.u.diaryValue ? v.u.diaryValue : "";
    case ZQ_DATA_TYPE_DECIMAL:
      return v.u.decimalValue ? v.u.decimalValue : "";
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      return std::to_string(v.u.enumValue);
    case ZQ_DATA_TYPE_TIME:
      return isoTime(v.u.timestampValue);
    case ZQ_DATA_TYPE_DATE:
      return isoDate(v.u.dateValue);
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      return timeOfDay(v.u.timeOfDayValue);
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachStruct* a = v.u.attachmentValue;
      if (!a) return "";
      return std::string(a->name ? a->name : "") + " (" + std::to_string(a->originalSize) +
             " bytes)";
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const ZQCurrencyStruct* c = v.u.currencyValue;
      if (!c || !c->value || !*c->value) return "";
      return std::string(c->value) + " " + c->currencyCode;
    }
    case ZQ_DATA_TYPE_BYTES: {
      const ZQByteList* b = v.u.byteListValue;
      std::string hex;
      static const char digits[] = "0123456789abcdef";
      for (uint32_t i = 0; b && b->bytes && i < b->count; ++i) {
        hex += digits[b->bytes[i] >> 4];
        hex += digits[b->bytes[i] & 15];
      }
      return hex;
    }
    case ZQ_DATA_TYPE_COORDS: {
      const ZQCoordList* c = v.u.coordListValue;
      std::string all;
      for (uint32_t i = 0; c && c->items && i < c->count; ++i)
        all += (i ? ";" : "") + std::to_string(c->items[i].x) + "," + std::to_string(c->items[i].y);
      return all;
    }
    default:
      return "(data type " + std::to_string(v.dataType) + ")";
  }
}

nlohmann::json valueJson(const ZQValueStruct& v) {
  switch (v.dataType) {
    case ZQ_DATA_TYPE_NULL:
      return nullptr;
    case ZQ_DATA_TYPE_INTEGER:
      return v.u.integerValue;
    case ZQ_DATA_TYPE_REAL:
      return v.u.realValue;
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      return v.u.enumValue;
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachStruct* a = v.u.attachmentValue;
      if (!a) return nullptr;
      return {{"attachment", a->name ? a->name : ""}, {"size", a->originalSize}};
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const ZQCurrencyStruct* c = v.u.currencyValue;
      if (!c || !c->value || !*c->value) return nullptr;
      return {{"amount", c->value}, {"currency", c->currencyCode}};
    }
    default:
      return valueText(v);  // decimals stay texts: no digit is lost
  }
}

}  // namespace zqcli
