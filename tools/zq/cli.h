// zq, the command-line client: what the commands share. zq is written on the
// public interface of the library alone (<zqapi/zqapi.h>).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zqapi/zqapi.h"

namespace zqcli {

// Exit status: the highest return code of the calls made (0 OK, 1 warning,
// 2 error, 3 fatal, 4 bad status list); bad usage exits with 2.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 2;

enum class Format { Table, Csv, Json };

// Where to connect and how to print, from flags, ZQ_URL and the config file.
struct Settings {
  std::string server = "localhost";
  std::string user;
  std::string password;  // wiped before zq exits
  bool passwordGiven = false;
  bool prompt = true;  // --no-password turns the prompt off
  int port = 0;        // 0: the port mapper finds the server
  std::string form;    // the URL's /form: the default form of the commands
  Format format = Format::Table;
  bool quiet = false;  // no progress bar
};

class Session;

// One command of the table in commands.cpp: a later command is a row and a
// function.
struct Command {
  const char* name;
  const char* synopsis;  // the arguments after the name
  const char* summary;   // one line for `zq --help`
  const char* help;      // the rest of `zq COMMAND --help`
  const char* options;   // the command's own options, for completion
  bool connects;         // runs against a server
  int (*run)(Session& session, std::vector<std::string>& args);
};

const std::vector<Command>& commands();
const Command* findCommand(const std::string& name);

// One line on stderr, prefixed "zq: ".
void complain(const std::string& text);

}  // namespace zqcli
