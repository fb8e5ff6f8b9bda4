#include "session.h"

#include <unistd.h>

#include <cstring>

#include "connection.h"

namespace zqcli {
namespace {

const char* typeWord(uint32_t type) {
  return type == ZQ_MESSAGE_ERROR ? "error" : type == ZQ_MESSAGE_WARNING ? "warning" : "note";
}

}  // namespace

Session::Session(Settings settings) : settings_(std::move(settings)) {}

Session::~Session() {
  if (initialized_) {
    ZQStatusList status{0, nullptr};
    ZQTermination(&control_, &status);
    FreeZQStatusList(&status, 0);
  }
  explicit_bzero(control_.password, sizeof control_.password);
  explicit_bzero(settings_.password.data(), settings_.password.size());
}

bool Session::resolvePassword() {
  if (settings_.passwordGiven || !settings_.prompt || !isatty(STDIN_FILENO)) return true;
  std::string typed;
  if (promptPassword("Password for " + settings_.user + "@" + settings_.server + ": ", typed)) {
    settings_.password.swap(typed);
    settings_.passwordGiven = true;
  }
  explicit_bzero(typed.data(), typed.size());
  return true;
}

bool Session::open() {
  if (!resolvePassword()) return false;
  if (settings_.user.size() > ZQ_MAX_ACCESS_NAME_SIZE) {
    fail("the user name is longer than 254 characters");
    return false;
  }
  if (settings_.password.size() >= sizeof control_.password) {
    fail("the password is longer than 30 characters");
    return false;
  }
  if (settings_.server.size() > ZQ_MAX_SERVER_SIZE) {
    fail("the server name is longer than 64 characters");
    return false;
  }
  memcpy(control_.user, settings_.user.c_str(), settings_.user.size() + 1);
  memcpy(control_.password, settings_.password.c_str(), settings_.password.size() + 1);
  memcpy(control_.server, settings_.server.c_str(), settings_.server.size() + 1);
  ZQStatusList status{0, nullptr};
  const int rc = ZQInitialization(&control_, &status);
  report(rc, status);
  if (rc >= ZQ_RETURN_ERROR) return false;
  initialized_ = true;
  if (settings_.port) {
    const int portRc = ZQSetServerPort(&control_, control_.server, settings_.port, 0, &status);
    report(portRc, status);
    if (portRc >= ZQ_RETURN_ERROR) return false;
  }
  return true;
}

int Session::report(int rc, ZQStatusList& status, uint32_t lines) {
  for (uint32_t i = 0; i < status.count && i < lines; ++i) {
    const ZQStatusStruct& s = status.items[i];
    const bool appended = s.appended && *s.appended;
    fprintf(stderr, "zq: %s %d: %s%s%s\n", typeWord(s.messageType), s.messageNumber,
            s.message ? s.message : "", appended ? ": " : "", appended ? s.appended : "");
  }
  FreeZQStatusList(&status, 0);
  raise(rc);
  return rc;
}

int Session::fail(const std::string& text) {
  complain(text);
  raise(kExitError);
  return kExitError;
}

void Session::raise(int rc) {
  if (rc > exit_) exit_ = rc;
}

bool Session::takeForm(std::vector<std::string>& args, size_t full, std::string& form) {
  if (args.size() < full && !settings_.form.empty()) {
    form = settings_.form;
    return true;
  }
  if (args.empty()) return false;
  form = args.front();
  args.erase(args.begin());
  return true;
}

}  // namespace zqcli
