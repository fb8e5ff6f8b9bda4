#include "text/dates_format.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "text/dates_calendar.h"

namespace zq::text::dates {
namespace {

constexpr int kMaxWidth = 64;  // a width beyond any sensible field

// Copies quoted picture text starting after the opening quote; '' is a quote.
size_t copyQuoted(const std::string& picture, size_t i, std::string& out, bool escapePercent) {
  while (i < picture.size()) {
    char c = picture[i];
    if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      return i + 1;
    }
    if (c == '%' && escapePercent) out += '%';
    out += c;
    ++i;
  }
  return i;
}

size_t runLength(const std::string& s, size_t i) {
  size_t n = 0;
  while (i + n < s.size() && s[i + n] == s[i]) ++n;
  return n;
}

void appendNumber(std::string& out, int64_t value, char pad, int width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (value < 0) digits.insert(digits.begin(), '-');
  if (pad && static_cast<int>(digits.size()) < width)
    out.append(static_cast<size_t>(width) - digits.size(), pad);
  out += digits;
}

// First character of a UTF-8 text.
std::string firstCharacter(const std::string& s) {
  if (s.empty()) return s;
  size_t n = 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return s.substr(0, n);
}

DateParts partsOf(const struct tm& time) {
  DateParts d;
  d.year = int64_t{time.tm_year} + 1900;
  d.month = time.tm_mon + 1;
  d.day = time.tm_mday;
  d.weekday = time.tm_wday;
  d.dayOfYear = time.tm_yday + 1;
  return d;
}

std::string defaultDate(const LocaleTables& t, const struct tm& time) {
  // The user's short-date picture, as the system's own default would use it.
  if (!t.shortDatePicture.empty())
    return formatDirectives(t, datePictureToDirectives(t.shortDatePicture), partsOf(time));
  return strftimeText(t, t.dateFormat, time);
}

std::string defaultTime(const LocaleTables& t, const struct tm& time) {
  if (!t.timePicture.empty()) return formatTimePicture(t, t.timePicture, time);
  return strftimeText(t, t.timeFormat, time);
}

}  // namespace

std::string datePictureToDirectives(const std::string& picture) {
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    char c = picture[i];
    if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {  // '' is a quote
        out += '\'';
        i += 2;
        continue;
      }
      i = copyQuoted(picture, i + 1, out, true);
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'y') {
      out += c;
      ++i;
      continue;
    }
    size_t run = runLength(picture, i);
    i += run;
    while (run > 0) {
      size_t used;
      if (c == 'd') {
        static const char* kDay[] = {"%1d", "%d", "%a", "%A"};
        used = std::min<size_t>(run, 4);
        out += kDay[used - 1];
      } else if (c == 'M') {
        static const char* kMonth[] = {"%1m", "%m", "%b", "%B"};
        used = std::min<size_t>(run, 4);
        out += kMonth[used - 1];
      } else {
        used = run >= 4 ? 4 : (run >= 2 ? 2 : 1);
        // Four digits, as the system pads them: year 5 reads back as 0005.
        out += used == 4 ? "%04Y" : (used == 2 ? "%y" : "%1y");
      }
      run -= used;
    }
  }
  return out;
}

std::string formatDirectives(const LocaleTables& t, const std::string& directives,
                             const DateParts& date) {
  std::string out;
  const int64_t shownYear = date.year < 1 ? 1 - date.year : date.year;
  bool yearPrinted = false;
  const int month = std::clamp(date.month, 1, 12);
  const int weekday = std::clamp(date.weekday, 0, 6);

  for (size_t i = 0; i < directives.size(); ++i) {
    char c = directives[i];
    if (c != '%') {
      out += c;
      continue;
    }
    size_t start = i++;
    char flag = 0;
    if (i < directives.size() &&
        (directives[i] == '0' || directives[i] == ' ' || directives[i] == '-'))
      flag = directives[i++];
    int width = -1;
    while (i < directives.size() && directives[i] >= '0' && directives[i] <= '9')
      width = std::min(kMaxWidth, (width < 0 ? 0 : width * 10) + (directives[i++] - '0'));
    while (i < directives.size() && (directives[i] == 'E' || directives[i] == 'O')) ++i;
    if (i >= directives.size()) {
      out.append(directives, start, std::string::npos);
      break;
    }
    // Numbers pad as strftime does unless the directive says otherwise.
    auto number = [&](int64_t value, char defaultPad, int defaultWidth) {
      if (flag == '-') return appendNumber(out, value, '0', 0);
      char pad = flag ? flag : (defaultPad ? defaultPad : '0');
      appendNumber(out, value, pad, width >= 0 ? width : (defaultPad ? defaultWidth : 0));
    };
    char numeric[64];
    switch (directives[i]) {
      case '%':
        out += '%';
        break;
      case 'A':
        out += t.weekdays[weekday];
        break;
      case 'a':
        out += t.abbreviatedWeekdays[weekday];
        break;
      case 'B':
        out += t.months[month - 1];
        break;
      case 'b':
      case 'h':
        out += t.abbreviatedMonths[month - 1];
        break;
      case 'D':
      case 'x': {
        int first = t.monthFirst ? date.month : date.day;
        int second = t.monthFirst ? date.day : date.month;
        long long year = directives[i] == 'D' ? shownYear % 100 : shownYear;
        snprintf(numeric, sizeof numeric,
                 directives[i] == 'D' ? "%02d/%02d/%02lld" : "%02d/%02d/%04lld", first, second,
                 year);
        out += numeric;
        yearPrinted = true;
        break;
      }
      case 'Y':
        number(shownYear, 0, 0);
        yearPrinted = true;
        break;
      case 'y':
        number(shownYear % 100, '0', 2);
        yearPrinted = true;
        break;
      case 'd':
        number(date.day, '0', 2);
        break;
      case 'e':
        number(date.day, ' ', 2);
        break;
      case 'j':
        number(date.dayOfYear, '0', 3);
        break;
      case 'm':
        number(date.month, '0', 2);
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'u':
        number(weekday == 0 ? 7 : weekday, 0, 0);
        break;
      case 'w':
        number(weekday, 0, 0);
        break;
      default:  // not a date directive: kept as written
        out.append(directives, start, i - start + 1);
        break;
    }
  }
  if (yearPrinted && date.year < 1) out += " BC";
  return out;
}

std::string formatDayNumber(const LocaleTables& t, int64_t dayNumber) {
  const std::string& picture = t.envDateOnly ? *t.envDateOnly : t.shortDatePicture;
  CalendarDate c = dateOf(dayNumber);
  DateParts parts;
  parts.year = c.year;
  parts.month = static_cast<int>(c.month);
  parts.day = static_cast<int>(c.day);
  parts.weekday = weekdayOf(dayNumber);
  parts.dayOfYear = dayOfYear(dayNumber);
  // Without a picture the locale's own date format, which is already written
  // in directives.
  const std::string directives = !picture.empty()        ? datePictureToDirectives(picture)
                                 : !t.dateFormat.empty() ? t.dateFormat
                                                         : std::string("%m/%d/%Y");
  return formatDirectives(t, directives, parts);
}

std::string formatTimePicture(const LocaleTables& t, const std::string& picture,
                              const struct tm& time) {
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    char c = picture[i];
    if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      i = copyQuoted(picture, i + 1, out, false);
      continue;
    }
    if (c != 'h' && c != 'H' && c != 'm' && c != 's' && c != 't') {
      out += c;
      ++i;
      continue;
    }
    size_t run = runLength(picture, i);
    i += run;
    while (run > 0) {
      size_t used = run >= 2 ? 2 : 1;
      int value = 0;
      switch (c) {
        case 'h':
          value = time.tm_hour % 12 == 0 ? 12 : time.tm_hour % 12;
          break;
        case 'H':
          value = time.tm_hour;
          break;
        case 'm':
          value = time.tm_min;
          break;
        case 's':
          value = time.tm_sec;
          break;
        default:
          break;
      }
      if (c == 't') {
        const std::string& marker = time.tm_hour < 12 ? t.am : t.pm;
        out += used == 2 ? marker : firstCharacter(marker);
      } else {
        appendNumber(out, value, '0', static_cast<int>(used));
      }
      run -= used;
    }
  }
  return out;
}

std::string strftimeText(const LocaleTables& t, const std::string& format, const struct tm& time) {
  if (format.empty()) return std::string();
  // strftime answers 0 both for a short buffer and for an empty text.
  for (size_t size : {256u, 4096u}) {
    std::vector<char> buffer(size);
    size_t n = strftime_l(buffer.data(), buffer.size(), format.c_str(), &time, t.locale);
    if (n > 0) return std::string(buffer.data(), n);
  }
  return std::string();
}

bool usableTime(const struct tm& time) {
  return time.tm_mon >= 0 && time.tm_mon <= 11 && time.tm_mday >= 1 && time.tm_mday <= 31 &&
         time.tm_hour >= 0 && time.tm_hour <= 23 && time.tm_min >= 0 && time.tm_min <= 59 &&
         time.tm_sec >= 0 && time.tm_sec <= 61 && time.tm_wday >= 0 && time.tm_wday <= 6 &&
         time.tm_yday >= 0 && time.tm_yday <= 365;
}

std::string formatTimeDate(const LocaleTables& t, const struct tm& time) {
  if (t.envDateOnly)
    return formatDirectives(t, datePictureToDirectives(*t.envDateOnly), partsOf(time));
  return defaultDate(t, time);
}

std::string formatTimeDateTime(const LocaleTables& t, const struct tm& time) {
  if (t.envDate) return strftimeText(t, *t.envDate, time);
  return defaultDate(t, time) + " " + defaultTime(t, time);
}

std::string formatTimeOfDay(const LocaleTables& t, const struct tm& time) {
  if (t.envTimeOnly) return formatTimePicture(t, *t.envTimeOnly, time);
  return defaultTime(t, time);
}

}  // namespace zq::text::dates
