// Date and time settings for one test: locale, environment variables, time
// zone and config file, with the process tables reloaded on entry and exit.
#pragma once

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>
#include <time.h>

#include <map>
#include <optional>
#include <string>

#include "text/dates_locale.h"

namespace datetest {

inline bool localeInstalled(const char* name) {
  locale_t l = newlocale(LC_ALL_MASK, name, nullptr);
  if (!l) return false;
  freelocale(l);
  return true;
}

class Settings {
 public:
  // Variables not named are unset; the config file is a missing one unless
  // ZQAPI_CONFIG is given.
  explicit Settings(const char* locale, std::map<std::string, std::optional<std::string>> vars = {},
                    const char* timeZone = "UTC") {
    for (const char* name : {"ZQDATE", "ZQDATEONLY", "ZQTIMEONLY", "ZQAPI_CONFIG", "TZ"}) {
      if (!vars.count(name)) vars[name] = std::nullopt;
    }
    if (!vars["ZQAPI_CONFIG"]) vars["ZQAPI_CONFIG"] = "/nonexistent/zqapi-date-tests/config";
    vars["TZ"] = std::string(timeZone);
    for (auto& [name, value] : vars) {
      const char* old = getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    tzset();
    zq::testing::resetDateTables(locale);
  }
  ~Settings() {
    for (auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    tzset();
    zq::testing::resetDateTables("C");
  }
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

#define SKIP_WITHOUT_LOCALE(name) \
  if (!datetest::localeInstalled(name)) GTEST_SKIP() << "locale " << name << " is not installed"

}  // namespace datetest
