// Test helpers: an initialized control record, status-list assertions and
// scoped environment variables.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "zqapi/zqapi.h"

namespace zqtest {

// A status list that releases itself.
struct Status : ZQStatusList {
  Status() : ZQStatusList{0, nullptr} {}
  ~Status() { FreeZQStatusList(this, 0); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  void reset() { FreeZQStatusList(this, 0); }
  // Calls empty the list they are given without releasing what it held: a
  // list reused for another call is released first.
  ZQStatusList* fresh() {
    reset();
    return this;
  }
  // (type, number) pairs in list order.
  std::vector<std::pair<uint32_t, int32_t>> entries() const {
    std::vector<std::pair<uint32_t, int32_t>> out;
    for (uint32_t i = 0; i < count; ++i)
      out.emplace_back(items[i].messageType, items[i].messageNumber);
    return out;
  }
  bool has(int32_t number) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].messageNumber == number) return true;
    return false;
  }
  std::string appendedOf(int32_t number) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].messageNumber == number && items[i].appended) return items[i].appended;
    return "";
  }
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_.c_str(), old_->c_str(), 1);
    else
      unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

inline ZQControlStruct makeControl(const char* user = "Demo", const char* server = "localhost") {
  ZQControlStruct c;
  memset(&c, 0, sizeof c);
  strncpy(c.user, user, sizeof c.user - 1);
  strncpy(c.server, server, sizeof c.server - 1);
  return c;
}

// A control record initialized for the duration of a test.
class Session {
 public:
  explicit Session(ZQControlStruct control = makeControl()) : control_(control) {
    Status s;
    rc_ = ZQInitialization(&control_, &s);
  }
  ~Session() {
    Status s;
    ZQTermination(&control_, &s);
  }
  ZQControlStruct* control() { return &control_; }
  ZQThreadContext* context() { return control_.context; }
  int initResult() const { return rc_; }

 private:
  ZQControlStruct control_;
  int rc_ = -1;
};

}  // namespace zqtest
