// One run of zq against a server: the control record, the status lists of
// its calls reported on stderr, and the exit status they add up to.
#pragma once

#include <memory>
#include <string>

#include "cli.h"
#include "output.h"

namespace zqcli {

class Session {
 public:
  explicit Session(Settings settings);
  ~Session();  // ends the server session and wipes the password
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const Settings& settings() const { return settings_; }
  // Initializes the control record and points it at the server; false (and
  // the reason reported) when that fails.
  bool open();
  // Asks for the password on the terminal when none was given (and a
  // terminal is there to ask); false only when reading it failed.
  bool resolvePassword();
  ZQControlStruct* control() { return &control_; }

  // Prints the entries of the list on stderr (the first `lines` of them),
  // one line each ("zq: error 302: ...: appended"), frees it and raises the
  // exit status to rc.
  int report(int rc, ZQStatusList& status, uint32_t lines = UINT32_MAX);
  // A failure of zq's own (bad usage, a file it cannot read): one line,
  // exit status 2.
  int fail(const std::string& text);
  void raise(int rc);
  int exitStatus() const { return exit_; }

  std::unique_ptr<RowWriter> writer() const { return makeWriter(settings_.format, stdout); }

  // The form of a command: the first argument, or the URL's form when the
  // command was given fewer than `full` arguments. Consumes what it uses.
  bool takeForm(std::vector<std::string>& args, size_t full, std::string& form);

 private:
  Settings settings_;
  ZQControlStruct control_{};
  bool initialized_ = false;
  int exit_ = kExitOk;
};

}  // namespace zqcli
