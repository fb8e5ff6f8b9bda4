#include "text/dates_parse.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>

#include "text/dates_calendar.h"

namespace zq::text::dates {
namespace {

// Patterns expand into others (%D, %x, ...); a locale or environment pattern
// naming itself must not recurse without end.
constexpr int kMaxExpansionDepth = 4;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isAsciiAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

const char* skipBlanks(const char* s) {
  while (isBlank(*s)) ++s;
  return s;
}
bool onlyBlanksLeft(const char* s) {
  return *skipBlanks(s) == '\0';
}

// strftime flags, widths and modifiers ("%-d", "%02m", "%Ey") say how a field
// is printed; a reader takes the field whichever way it was printed.
const char* skipFlags(const char* p) {
  while (*p && strchr("-_0^#", *p)) ++p;
  while (isDigit(*p)) ++p;
  while (*p == 'E' || *p == 'O') ++p;
  return p;
}

// 1 to maxDigits digits.
bool readNumber(const char*& s, int maxDigits, int& value, int* digits = nullptr) {
  int n = 0, v = 0;
  while (n < maxDigits && isDigit(s[n])) v = v * 10 + (s[n++] - '0');
  if (n == 0) return false;
  s += n;
  value = v;
  if (digits) *digits = n;
  return true;
}

// Length of name when text starts with it (ASCII letters in any case).
size_t matchName(const char* text, const std::string& name) {
  if (name.empty()) return 0;
  for (size_t i = 0; i < name.size(); ++i) {
    char a = text[i], b = name[i];
    if (a == '\0') return 0;
    if (a != b && asciiLower(a) != asciiLower(b)) return 0;
  }
  return name.size();
}

// Full names are tried before abbreviations; the longest match wins.
template <size_t N>
int matchNames(const char* text, const std::array<std::string, N>& full,
               const std::array<std::string, N>& abbreviated, size_t& length) {
  for (const auto* list : {&full, &abbreviated}) {
    int best = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < N; ++i) {
      size_t n = matchName(text, (*list)[i]);
      if (n > bestLength) {
        best = static_cast<int>(i);
        bestLength = n;
      }
    }
    if (best >= 0) {
      length = bestLength;
      return best;
    }
  }
  return -1;
}

// 1 AM, 2 PM, 0 neither. A locale without the strings (de_DE) would match
// every text with its empty AM string; the English strings stand in.
int matchMeridiem(const LocaleTables& t, const char* text, size_t& length) {
  const std::string& am = t.am.empty() ? std::string("AM") : t.am;
  const std::string& pm = t.pm.empty() ? std::string("PM") : t.pm;
  size_t a = matchName(text, am), p = matchName(text, pm);
  if (a == 0 && p == 0) return 0;
  length = a > p ? a : p;
  return a > p ? 1 : 2;
}

bool allDigits(const char* text, uint64_t& value, bool& overflow) {
  const char* s = skipBlanks(text);
  if (!isDigit(*s)) return false;
  value = 0;
  overflow = false;
  while (isDigit(*s)) {
    unsigned d = static_cast<unsigned>(*s++ - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - d) / 10) overflow = true;
    if (!overflow) value = value * 10 + d;
  }
  return onlyBlanksLeft(s);
}

// Month and day of the given (1-based) day of the year, through day numbers
// so that 1582 loses its ten days.
bool fromDayOfYear(int64_t year, int64_t yday, int& month, int& day) {
  if (yday < 1) return false;
  int64_t j = dayNumberOf(year, 1, 1) + yday - 1;
  CalendarDate d = dateOf(j);
  if (d.year != year) return false;
  month = static_cast<int>(d.month);
  day = static_cast<int>(d.day);
  return true;
}

// ---- strict parsing (time stamps) ----------------------------------------

struct TimeFields {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  int yday = -1;     // 0-based, when a pattern gave one
  int meridiem = 0;  // 1 AM, 2 PM
};

class StrictParser {
 public:
  StrictParser(const LocaleTables& t, bool timeOnly) : t_(t), timeOnly_(timeOnly) {}

  // Blanks are skipped in pattern and text; a directive reads its field, any
  // other character must match itself.
  bool run(const char* p, const char*& s, TimeFields& f, int depth) const {
    for (;;) {
      while (isBlank(*p)) ++p;
      s = skipBlanks(s);
      if (*p == '\0') return true;
      if (*p == '%') {
        ++p;
        p = skipFlags(p);
        char c = *p;
        if (c == '\0') return false;
        ++p;
        if (!directive(c, s, f, depth)) return false;
        continue;
      }
      if (*p == '.' && isDigit(p[1])) {
        // A fraction in the pattern (seconds written "SS.00"): skip it, and
        // a fraction in the text with it.
        ++p;
        while (isDigit(*p)) ++p;
        if (*s == '.' && isDigit(s[1])) {
          ++s;
          while (isDigit(*s)) ++s;
        }
        continue;
      }
      if (*s != *p) return false;
      ++p;
      ++s;
    }
  }

  // Applies AM/PM and the day of the year, then checks the date.
  bool finish(TimeFields& f) const {
    if (f.meridiem == 1) {
      if (f.hour == 12)
        f.hour = 0;
      else if (f.hour > 12)
        return false;
    } else if (f.meridiem == 2 && f.hour < 12) {
      f.hour += 12;
    }
    if (f.yday >= 0 && !fromDayOfYear(f.year, f.yday + 1, f.month, f.day)) return false;
    return f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= monthLength(f.year, f.month);
  }

 private:
  bool expand(const char* sub, const char*& s, TimeFields& f, int depth) const {
    return depth < kMaxExpansionDepth && run(sub, s, f, depth + 1);
  }

  static bool field(const char*& s, int maxDigits, int low, int high, int& out) {
    int v;
    if (!readNumber(s, maxDigits, v) || v < low || v > high) return false;
    out = v;
    return true;
  }

  bool directive(char c, const char*& s, TimeFields& f, int depth) const {
    if (timeOnly_ && !strchr("HkIlMSTXpRrnt%", c)) return false;
    size_t n = 0;
    int v;
    switch (c) {
      case 'A':
      case 'a':
        if (matchNames(s, t_.weekdays, t_.abbreviatedWeekdays, n) < 0) return false;
        s += n;
        return true;
      case 'B':
      case 'b':
      case 'h': {
        int m = matchNames(s, t_.months, t_.abbreviatedMonths, n);
        if (m < 0) return false;
        f.month = m + 1;
        s += n;
        return true;
      }
      case 'D':
        return expand(t_.monthFirst ? "%m/%d/%y" : "%d/%m/%y", s, f, depth);
      case 'F':
        return expand("%Y-%m-%d", s, f, depth);
      case 'H':
      case 'k':
        return field(s, 2, 0, 23, f.hour);
      case 'I':
      case 'l':
        return field(s, 2, 0, 12, f.hour);
      case 'M':
        return field(s, 2, 0, 59, f.minute);
      case 'S':
        return field(s, 2, 0, 59, f.second);
      case 'T':
      case 'X':
        return expand("%H:%M:%S", s, f, depth);
      case 'R':
        return expand("%H:%M", s, f, depth);
      case 'r':
        return expand("%I:%M:%S %p", s, f, depth);
      case 'x':
        return expand(t_.dateFormat.c_str(), s, f, depth);
      case 'Y':
      case 'y':
        if (!readNumber(s, 4, v)) return false;
        f.year = v > 100 ? v : (v <= 38 ? 2000 + v : 1900 + v);
        return true;
      case 'd':
      case 'e':
        return field(s, 2, 1, 31, f.day);
      case 'j':
        return field(s, 3, 0, 365, f.yday);
      case 'm':
        return field(s, 2, 1, 12, f.month);
      case 'p':
        f.meridiem = matchMeridiem(t_, s, n);
        if (!f.meridiem) return false;
        s += n;
        return true;
      case 'w':
        return field(s, 1, 1, 7, v);
      case 'Z':  // a zone name, as the locale's date-and-time format prints it
        while (isAsciiAlpha(*s)) ++s;
        return true;
      case 'z':
        if (*s == '+' || *s == '-') ++s;
        while (isDigit(*s) || *s == ':') ++s;
        return true;
      case 'n':
      case 't':
        while (isSpace(*s)) ++s;
        return true;
      case '%':
        if (*s != '%') return false;
        ++s;
        return true;
      default:
        return false;
    }
  }

  const LocaleTables& t_;
  bool timeOnly_;
};

// Times after a date, or alone. The first four must take the whole rest; the
// last two are taken as soon as they match and leave the rest to the caller.
bool timeList(const LocaleTables& t, const char* text, TimeFields& f, const char*& end) {
  struct Entry {
    const char* pattern;
    bool whole;
  };
  const Entry entries[] = {{t.timeFormat.c_str(), true}, {"%H:%M:%S", true},
                           {"%I:%M:%S %p", true},        {"%H:%M", true},
                           {"%I:%M %p", false},          {t.timeFormat.c_str(), false}};
  StrictParser strict(t, true);
  for (const Entry& e : entries) {
    TimeFields g = f;
    const char* s = text;
    if (!strict.run(e.pattern, s, g, 0) || !strict.finish(g)) continue;
    if (e.whole && !onlyBlanksLeft(s)) continue;
    f = g;
    end = s;
    return true;
  }
  return false;
}

enum class RowKind { plain, dateThenTimes };

struct Row {
  const char* parts[3];
  RowKind kind;
  bool whole;  // else final: a match leaving other text fails the parse
};

enum class Outcome { matched, noMatch, failed };

Outcome runRows(const LocaleTables& t, const char* text, const TimeFields& base, TimeFields& out,
                bool weekdaySkipAllowed) {
  const char* dt = t.dateTimeFormat.c_str();
  const char* d = t.dateFormat.c_str();
  const char* tf = t.timeFormat.c_str();
  constexpr RowKind P = RowKind::plain;
  constexpr bool W = true, F = false;
  const Row rows[] = {
      {{t.envDate ? t.envDate->c_str() : nullptr}, P, W},
      {{dt}, P, W},
      {{d}, RowKind::dateThenTimes, F},
      {{d, " %I:%M:%S %p"}, P, F},
      {{d, " %p %I:%M:%S"}, P, F},
      {{d, " ", tf}, P, F},
      {{"%y/%m/%d %H:%M:%S"}, P, F},
      {{"%y %m %d %H:%M:%S"}, P, F},
      {{"%h %d %Y %H:%M:%S"}, P, W},
      {{"%h %d %y %H:%M"}, P, W},
      {{"%h %d %y %H:%M:%S"}, P, W},
      {{"%h %d %y %H:%M"}, P, W},
      {{"%h %d , %Y %H:%M:%S"}, P, W},
      {{"%h %d , %Y %H:%M"}, P, W},
      {{"%h %d , %y %H:%M:%S"}, P, W},
      {{"%h %d , %y %H:%M"}, P, W},
      {{"%h %d %Y %I:%M:%S %p"}, P, F},
      {{"%h %d %Y %I:%M %p"}, P, F},
      {{"%h %d %y %I:%M:%S %p"}, P, F},
      {{"%h %d %y %I:%M %p"}, P, F},
      {{"%h %d , %Y %I:%M:%S %p"}, P, F},
      {{"%h %d , %Y %I:%M %p"}, P, F},
      {{"%h %d , %y %I:%M:%S %p"}, P, F},
      {{"%h %d , %y %I:%M %p"}, P, F},
      {{"%h %d %Y", " ", tf}, P, F},
      {{"%h %d %y", " ", tf}, P, F},
      {{"%h %d , %Y", " ", tf}, P, F},
      {{"%h %d , %y", " ", tf}, P, F},
      {{d}, P, F},  // a date alone: midnight
      {{"%h %d %Y"}, P, F},
      {{"%h %d %y"}, P, F},
      {{"%h %d , %Y"}, P, F},
      {{"%h %d , %y"}, P, F},
      {{"%A , %B %d , %Y %I:%M:%S %p"}, P, F},
      {{"%d %b %Y %H:%M:%S%p"}, P, F},
      {{"%d %b %Y %H:%M:%S %p"}, P, F},
      {{"%d %b %Y %H:%M:%S"}, P, F},
      {{"%d %b %Y %H:%M%p"}, P, F},
      {{"%d %b %Y %H:%M %p"}, P, F},
      {{"%d %b %Y %H:%M"}, P, F},
      {{"%d %b %Y %H%p"}, P, F},
      {{"%d %b %y%p"}, P, F},
      {{"%d %b %Y%p"}, P, F},
      {{"%D %H:%M:%S %p"}, P, F},
      {{"%D %H:%M:%S%p"}, P, F},
      {{"%D %H:%M:%S"}, P, F},
      {{"%D %H:%M %p"}, P, F},
      {{"%D %H:%M%p"}, P, F},
      {{"%D %H:%M"}, P, F},
      {{"%D %H%p"}, P, F},
      {{"%D %I:%M:%S %p"}, P, F},
      {{"%D %I:%M:%S%p"}, P, F},
      {{"%D %I:%M:%S"}, P, F},
      {{"%D %I:%M %p"}, P, F},
      {{"%D %I:%M%p"}, P, F},
      {{"%D %I:%M"}, P, F},
      {{"%D %I%p"}, P, F},
      {{"%D%p"}, P, F},
  };

  StrictParser strict(t, false);
  for (const Row& row : rows) {
    if (!row.parts[0]) continue;
    TimeFields f = base;
    const char* s = text;
    bool ok = true;
    for (const char* part : row.parts) {
      if (part && !strict.run(part, s, f, 0)) {
        ok = false;
        break;
      }
    }
    if (ok && row.kind == RowKind::dateThenTimes && !onlyBlanksLeft(s))
      ok = timeList(t, skipBlanks(s), f, s);
    else if (ok)
      ok = strict.finish(f);
    if (!ok) continue;
    if (onlyBlanksLeft(s)) {
      out = f;
      return Outcome::matched;
    }
    if (!row.whole) return Outcome::failed;
  }

  if (weekdaySkipAllowed) {
    size_t n = 0;
    if (matchNames(text, t.weekdays, t.abbreviatedWeekdays, n) >= 0) {
      const char* rest = text + n;
      if (isBlank(*rest) || *rest == ',') {
        while (isBlank(*rest) || *rest == ',') ++rest;
        Outcome o = runRows(t, rest, base, out, false);
        return o == Outcome::matched ? o : Outcome::failed;
      }
    }
  }
  return Outcome::noMatch;
}

TimeFields today() {
  TimeFields f;
  time_t now = time(nullptr);
  struct tm local {};
  if (localtime_r(&now, &local)) {
    f.year = local.tm_year + 1900;
    f.month = local.tm_mon + 1;
    f.day = local.tm_mday;
  }
  return f;
}

// Local time with the daylight flag cleared; a result in daylight time is
// taken back by the hour mktime added.
bool normalise(const TimeFields& f, int64_t& value, struct tm& out) {
  struct tm tm {};
  tm.tm_year = f.year - 1900;
  tm.tm_mon = f.month - 1;
  tm.tm_mday = f.day;
  tm.tm_hour = f.hour;
  tm.tm_min = f.minute;
  tm.tm_sec = f.second;
  tm.tm_isdst = 0;
  errno = 0;
  time_t t = mktime(&tm);
  if (t == static_cast<time_t>(-1) && errno != 0) return false;
  if (tm.tm_isdst > 0) {
    t -= 3600;
    if (!localtime_r(&t, &tm)) return false;
  }
  value = t;
  out = tm;
  return true;
}

bool toTimestamp(const TimeFields& f, int32_t& value) {
  int64_t t;
  struct tm tm {};
  if (!normalise(f, t, tm)) return false;
  if (t < 0 || t > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(t);
  return true;
}

// sscanf's "%d": optional white space and sign, then digits.
bool scanInt(const char*& s, int64_t& value) {
  const char* p = s;
  while (isSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!isDigit(*p)) return false;
  int64_t v = 0;
  while (isDigit(*p)) {
    v = v * 10 + (*p++ - '0');
    if (v > std::numeric_limits<int32_t>::max()) return false;
  }
  value = negative ? -v : v;
  s = p;
  return true;
}

// "h", "h:m" or "h:m:s" followed only by blanks and tabs.
bool parseInterval(const char* text, int32_t& value) {
  const char* s = text;
  int64_t parts[3] = {0, 0, 0};
  if (!scanInt(s, parts[0])) return false;
  for (int i = 1; i < 3 && *s == ':'; ++i) {
    const char* next = s + 1;
    if (!scanInt(next, parts[i])) break;
    s = next;
  }
  if (!onlyBlanksLeft(s)) return false;
  int64_t total = parts[0] * 3600 + parts[1] * 60 + parts[2];
  if (total < std::numeric_limits<int32_t>::min() || total > std::numeric_limits<int32_t>::max())
    return false;
  value = static_cast<int32_t>(total);
  return true;
}

// ---- lenient parsing (dates) ---------------------------------------------

struct DateFields {
  int64_t year = 0;
  bool haveYear = false;
  bool shortYear = false;  // written with at most two digits
  int century = -1;
  int month = 0, day = 0;
  int yday = 0;  // 1-based, 0 when not given
};

class LenientParser {
 public:
  explicit LenientParser(const LocaleTables& t) : t_(t) {}

  bool run(const char* p, const char*& s, DateFields& f, int depth) const {
    while (*p) {
      if (isSpace(*p)) {
        while (isSpace(*p)) ++p;
        while (isSpace(*s)) ++s;
        continue;
      }
      if (*p != '%') {
        if (*s != *p) return false;
        ++p;
        ++s;
        continue;
      }
      ++p;
      p = skipFlags(p);
      char c = *p;
      if (c == '\0') return false;
      ++p;
      if (c != '%') {
        // Punctuation typed around the fields is not significant.
        while (*s && static_cast<unsigned char>(*s) < 0x80 && !isDigit(*s) && !isAsciiAlpha(*s))
          ++s;
      }
      if (!directive(c, s, f, depth)) return false;
    }
    return true;
  }

 private:
  bool expand(const char* sub, const char*& s, DateFields& f, int depth) const {
    return depth < kMaxExpansionDepth && run(sub, s, f, depth + 1);
  }

  static bool ignoredNumber(const char*& s, int maxDigits) {
    int v;
    return readNumber(s, maxDigits, v);
  }

  bool directive(char c, const char*& s, DateFields& f, int depth) const {
    size_t n = 0;
    int v, digits;
    switch (c) {
      case 'A':
      case 'a':
        if (isDigit(*s)) return ignoredNumber(s, 1);
        if (matchNames(s, t_.weekdays, t_.abbreviatedWeekdays, n) < 0) return false;
        s += n;
        return true;
      case 'Z':
        if (isDigit(*s)) return ignoredNumber(s, 4);
        if (!isAsciiAlpha(*s)) return false;
        while (isAsciiAlpha(*s)) ++s;
        return true;
      case 'B':
      case 'b':
      case 'h':
      case 'm': {
        if (isDigit(*s)) {
          if (!readNumber(s, 2, v) || v < 1 || v > 12) return false;
          f.month = v;
          return true;
        }
        int m = matchNames(s, t_.months, t_.abbreviatedMonths, n);
        if (m < 0) return false;
        f.month = m + 1;
        s += n;
        return true;
      }
      case 'C':
        if (!readNumber(s, 2, v)) return false;
        f.century = v;
        return true;
      case 'd':
      case 'e':
        if (!readNumber(s, 2, v) || v < 1 || v > 31) return false;
        f.day = v;
        return true;
      case 'j':
        if (!readNumber(s, 3, v) || v < 1 || v > 366) return false;
        f.yday = v;
        return true;
      case 'Y':
        if (!readNumber(s, 4, v, &digits)) return false;
        f.year = v;
        f.haveYear = true;
        f.shortYear = digits <= 2;
        return true;
      case 'y': {
        // Three or four digits are a full year (a locale writing two-digit
        // years still reads 2024 whole); a longer run is a compact date
        // whose first two digits are the year.
        int run = 0;
        while (isDigit(s[run])) ++run;
        if (run == 0) return false;
        int take = (run == 3 || run == 4) ? run : (run > 4 ? 2 : run);
        if (!readNumber(s, take, v)) return false;
        f.year = v;
        f.haveYear = true;
        f.shortYear = take <= 2;
        return true;
      }
      case 's': {
        if (!isDigit(*s)) return false;
        int64_t secs = 0;
        while (isDigit(*s)) {
          secs = secs * 10 + (*s++ - '0');
          if (secs > (int64_t{1} << 40)) return false;
        }
        time_t tt = static_cast<time_t>(secs);
        struct tm local {};
        if (!localtime_r(&tt, &local)) return false;
        f.year = int64_t{local.tm_year} + 1900;
        f.haveYear = true;
        f.shortYear = false;
        f.month = local.tm_mon + 1;
        f.day = local.tm_mday;
        return true;
      }
      case 'D':
        return expand("%m/%d/%y", s, f, depth);
      case 'F':
        return expand("%Y-%m-%d", s, f, depth);
      case 'R':
        return expand("%H:%M", s, f, depth);
      case 'T':
        return expand("%H:%M:%S", s, f, depth);
      case 'r':
        return expand("%I:%M:%S %p", s, f, depth);
      case 'v':
        return expand("%e-%b-%Y", s, f, depth);
      case 'x':
        return expand(t_.dateFormat.c_str(), s, f, depth);
      case 'X':
        return expand(t_.timeFormat.c_str(), s, f, depth);
      case 'c':
        return expand(t_.dateTimeFormat.c_str(), s, f, depth);
      case 'H':
      case 'I':
      case 'k':
      case 'l':
      case 'M':
      case 'S':
      case 'U':
      case 'W':
      case 'V':
      case 'u':
      case 'w':
      case 'g':
        return ignoredNumber(s, 2);
      case 'G':
        return ignoredNumber(s, 4);
      case 'p':
        if (!matchMeridiem(t_, s, n)) return false;
        s += n;
        return true;
      case 'z':
        if (*s == 'Z') {
          ++s;
          return true;
        }
        if (*s != '+' && *s != '-') return false;
        ++s;
        if (!ignoredNumber(s, 4)) return false;
        if (*s == ':' && isDigit(s[1])) {
          ++s;
          ignoredNumber(s, 2);
        }
        return true;
      case 'n':
      case 't':
        while (isSpace(*s)) ++s;
        return true;
      case '%':
        if (*s != '%') return false;
        ++s;
        return true;
      default:
        return false;
    }
  }

  const LocaleTables& t_;
};

// The year of the window pivot - 99 .. pivot that ends in the two digits.
int64_t windowYear(int64_t twoDigits, int64_t pivot) {
  return pivot - floorMod(pivot - twoDigits, 100);
}

bool startsWithNoCase(const char* s, const char* word) {
  for (; *word; ++s, ++word)
    if (asciiLower(*s) != asciiLower(*word)) return false;
  return true;
}

bool finishDate(DateFields& f, const char*& s, int64_t pivot, int64_t& dayNumber) {
  if (!f.haveYear && f.century < 0) return false;
  const char* q = s;
  while (isSpace(*q)) ++q;
  bool bc = false;
  if (startsWithNoCase(q, "B.C.")) {
    bc = true;
    q += 4;
  } else if (startsWithNoCase(q, "BC") && !isAsciiAlpha(q[2])) {
    bc = true;
    q += 2;
  }
  int64_t year = f.year;
  if (!f.haveYear)
    year = int64_t{f.century} * 100;
  else if (f.shortYear && f.century >= 0)
    year = int64_t{f.century} * 100 + year % 100;
  else if (f.shortYear && !bc)  // "44 BC" means that year, not 2044
    year = windowYear(year, pivot);
  if (bc) year = 1 - year;

  int month = f.month, day = f.day;
  if (f.yday && !fromDayOfYear(year, f.yday, month, day)) return false;
  if (!isValidDate(year, month, day)) return false;
  dayNumber = dayNumberOf(year, month, day);
  if (bc) s = q;
  return true;
}

bool bareDayNumber(const char* text, int32_t& dayNumber, const char*& end) {
  const char* s = skipBlanks(text);
  if (!isDigit(*s)) return false;
  int64_t v = 0;
  while (isDigit(*s)) {
    v = v * 10 + (*s++ - '0');
    if (v > kMaxDayNumber) return false;
  }
  while (isSpace(*s) && *s != '\v' && *s != '\f') ++s;
  if (*s) return false;
  dayNumber = static_cast<int32_t>(v);
  end = s;
  return true;
}

}  // namespace

bool parseDate(const LocaleTables& t, int pivotYear, const char* text, int32_t& dayNumber,
               const char*& end) {
  dayNumber = 0;
  end = text;
  if (!text) return false;
  const int64_t pivot = pivotYear < 0 ? t.pivotYear : pivotYear;
  const char* patterns[] = {t.dateFormat.c_str(), "%m/%d/%Y",   "%m/%d/%y", "%y/%m/%d",
                            "%Y/%m/%d",           "%Y-%m-%d",   "%y %m %d", "%Y %m %d",
                            "%h %d %Y",           "%h %d , %Y", "%h %d %y", "%A , %B %d , %Y",
                            "%B %d , %Y",         "%d %b %Y",   "%D"};
  LenientParser lenient(t);
  for (const char* pattern : patterns) {
    DateFields f;
    const char* s = text;
    int64_t j;
    if (!lenient.run(pattern, s, f, 0)) continue;
    // A field that stopped inside a longer number read only part of it:
    // "25 Dec 1999" is not 2025-12-19 followed by "99".
    if (s > text && isDigit(s[-1]) && isDigit(*s)) continue;
    if (finishDate(f, s, pivot, j)) {
      dayNumber = static_cast<int32_t>(j);
      end = s;
      return true;
    }
  }
  return bareDayNumber(text, dayNumber, end);
}

bool parseTimestamp(const LocaleTables& t, const char* text, bool timeOnly, int32_t& value,
                    bool& interval) {
  value = 0;
  interval = false;
  if (!text) return false;

  uint64_t digits;
  bool overflow;
  if (allDigits(text, digits, overflow)) {
    // Seconds since 1970, as they are.
    if (overflow || digits > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
      return false;
    value = static_cast<int32_t>(digits);
    return true;
  }

  const TimeFields base = today();
  TimeFields f;
  if (runRows(t, text, base, f, true) == Outcome::matched) return toTimestamp(f, value);

  if (timeOnly) {
    f = base;
    const char* end = text;
    return timeList(t, text, f, end) && onlyBlanksLeft(end) && toTimestamp(f, value);
  }
  int32_t seconds;
  if (!parseInterval(text, seconds)) return false;
  value = seconds;
  interval = true;
  return true;
}

bool parseTimeOfDay(const LocaleTables& t, const char* text, int32_t& seconds) {
  seconds = 0;
  if (!text) return false;

  uint64_t digits;
  bool overflow;
  if (allDigits(text, digits, overflow)) {
    // Seconds since 1970 in UTC: the time of day of the first day, and the
    // last second of that day for anything later.
    seconds = (overflow || digits >= 86400) ? 86399 : static_cast<int32_t>(digits);
    return true;
  }

  const TimeFields base = today();
  TimeFields f = base;
  const char* end = text;
  if (timeList(t, text, f, end) && onlyBlanksLeft(end)) {
    seconds = f.hour * 3600 + f.minute * 60 + f.second;
    return true;
  }
  if (runRows(t, text, base, f, true) != Outcome::matched) return false;
  int64_t stamp;
  struct tm tm {};
  if (!normalise(f, stamp, tm)) return false;
  seconds = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
  return true;
}

}  // namespace zq::text::dates
