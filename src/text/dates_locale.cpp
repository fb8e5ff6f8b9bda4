#include "text/dates_locale.h"

#include <langinfo.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "zqapi/zq_session.h"

namespace zq::text::dates {
namespace {

constexpr const char* kEnglishMonths[12] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
constexpr const char* kEnglishWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};

bool monthFirstOf(const std::string& pattern, const LocaleTables* locale, int depth);

std::atomic<const LocaleTables*> g_current{nullptr};

// Every table ever built. Readers may hold a reference across a test reset,
// so tables are kept until the process ends (deliberately never destroyed:
// static destructors would race with late readers).
std::vector<std::unique_ptr<LocaleTables>>& allTables() {
  static auto* all = new std::vector<std::unique_ptr<LocaleTables>>();
  return *all;
}

std::optional<std::string>& requestedLocale() {
  static auto* name = new std::optional<std::string>();
  return *name;
}

// Runs fn with an open catalog: the process handle, or one opened for now.
template <class Fn>
void withCatalog(Fn fn) {
  int handle = ZQMessageCatalogHandle;
  bool temporary = false;
  if (handle == -1) {
    handle = platform::catalogOpen();
    temporary = handle != -1;
  }
  fn(handle);  // catalogGet answers the default for -1
  if (temporary) platform::catalogClose(handle);
}

std::string langinfo(nl_item item, locale_t loc) {
  const char* s = nl_langinfo_l(item, loc);
  return s ? s : "";
}

std::optional<std::string> environmentValue(int catalogNumber, const char* builtIn) {
  const char* value = getenv(variableName(catalogNumber, builtIn).c_str());
  if (!value || !*value) return std::nullopt;  // an empty pattern would match nothing useful
  return std::string(value);
}

// Registry values were read into 256-byte buffers.
std::string configPicture(const char* key) {
  std::string value = platform::configValue(key).value_or("");
  if (value.size() > 255) value.resize(255);
  return value;
}

int currentYear() {
  time_t now = time(nullptr);
  struct tm local {};
  if (!localtime_r(&now, &local)) return 2000;
  return local.tm_year + 1900;
}

std::atomic<bool> g_failNextLoad{false};

std::unique_ptr<LocaleTables> load() {
  if (g_failNextLoad.exchange(false)) throw std::bad_alloc();
  auto t = std::make_unique<LocaleTables>();
  const std::optional<std::string>& wanted = requestedLocale();
  const char* name = wanted ? wanted->c_str() : "";
  t->locale = newlocale(LC_ALL_MASK, name, nullptr);
  // A locale named in the environment but not installed: fall back to "C"
  // rather than fail every date call.
  if (!t->locale) t->locale = newlocale(LC_ALL_MASK, "C", nullptr);
  if (!t->locale) throw std::bad_alloc();
  t->localeName = name;

  locale_t loc = t->locale;
  t->dateTimeFormat = langinfo(D_T_FMT, loc);
  t->dateFormat = langinfo(D_FMT, loc);
  t->timeFormat = langinfo(T_FMT, loc);
  for (int i = 0; i < 7; ++i) {
    t->weekdays[i] = langinfo(DAY_1 + i, loc);
    t->abbreviatedWeekdays[i] = langinfo(ABDAY_1 + i, loc);
  }
  for (int i = 0; i < 12; ++i) {
    t->months[i] = langinfo(MON_1 + i, loc);
    t->abbreviatedMonths[i] = langinfo(ABMON_1 + i, loc);
  }
  t->am = langinfo(AM_STR, loc);
  t->pm = langinfo(PM_STR, loc);

  withCatalog([&](int handle) {
    for (int m = 1; m <= 12; ++m) {
      std::string s = platform::catalogGet(handle, 1, kCatalogMonthBase + m, "");
      t->catalogMonths[m - 1] = s.empty() ? kEnglishMonths[m - 1] : s;
    }
    for (int w = 0; w < 7; ++w) {
      // The catalog runs Monday (2781) to Sunday (2787).
      std::string s = platform::catalogGet(handle, 1, kCatalogFirstWeekday + (w + 6) % 7, "");
      t->catalogWeekdays[w] = s.empty() ? kEnglishWeekdays[w] : s;
    }
  });

  t->envDate = environmentValue(kNameDate, "ZQDATE");
  t->envDateOnly = environmentValue(kNameDateOnly, "ZQDATEONLY");
  t->envTimeOnly = environmentValue(kNameTimeOnly, "ZQTIMEONLY");
  t->shortDatePicture = configPicture("sShortDate");
  t->timePicture = configPicture("sTimeFormat");

  // The locale's numeric date format decides the order of day and month:
  // glibc's date-and-time formats put the day before a month name even where
  // numeric dates are written month first (en_US).
  t->monthFirst = monthFirstOf(t->envDate ? *t->envDate : t->dateFormat, t.get(), 0);
  t->pivotYear = currentYear() + 29;
  return t;
}

bool monthFirstOf(const std::string& pattern, const LocaleTables* locale, int depth) {
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    size_t k = i + 1;
    while (k < pattern.size() && pattern[k] != '\0' && strchr("-_0^#EO", pattern[k])) ++k;
    while (k < pattern.size() && pattern[k] >= '0' && pattern[k] <= '9') ++k;
    if (k >= pattern.size()) break;
    char c = pattern[k];
    i = k;
    switch (c) {
      case 'B':
      case 'b':
      case 'h':
      case 'm':
      case 'D':
      case 'F':
        return true;
      case 'd':
      case 'e':
        return false;
      case 'x':
        if (locale && depth < 2) return monthFirstOf(locale->dateFormat, nullptr, depth + 1);
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace

LocaleTables::~LocaleTables() {
  if (locale) freelocale(locale);
}

bool monthFirstOf(const std::string& pattern) {
  return monthFirstOf(pattern, nullptr, 0);
}

std::string variableName(int catalogNumber, const char* builtIn) {
  std::string name;
  withCatalog([&](int handle) { name = platform::catalogGet(handle, 255, catalogNumber, ""); });
  return name.empty() ? builtIn : name;
}

const LocaleTables& tables() {
  if (const LocaleTables* t = g_current.load(std::memory_order_acquire)) return *t;
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::dateTimeSettings));
  if (const LocaleTables* t = g_current.load(std::memory_order_acquire)) return *t;
  std::unique_ptr<LocaleTables> fresh = load();
  allTables().reserve(allTables().size() + 1);
  const LocaleTables* published = fresh.get();
  allTables().push_back(std::move(fresh));
  g_current.store(published, std::memory_order_release);
  return *published;
}

}  // namespace zq::text::dates

namespace zq::testing {

void resetDateTables(const char* localeName) {
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::dateTimeSettings));
  if (localeName)
    zq::text::dates::requestedLocale() = std::string(localeName);
  else
    zq::text::dates::requestedLocale().reset();
  zq::text::dates::g_current.store(nullptr, std::memory_order_release);
}

void failNextDateTableLoad() {
  zq::text::dates::g_failNextLoad = true;
}

}  // namespace zq::testing
