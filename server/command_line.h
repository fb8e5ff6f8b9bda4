// zqserverd's command line: the options, their checks and the help text.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "server.h"

namespace zqserver {

struct CommandLine {
  Options options;
  std::vector<std::string> forms;        // --form descriptions, in the order given
  std::vector<std::string> definitions;  // --definitions files, in the order given
  std::string logFile;                   // --log: the server's messages go here
  bool help = false;                     // --help: print the usage and stop
};

// Reads argv with getopt_long (which may reorder argv). Every value is
// checked: false, with a one-line reason in error, for an unknown option, a
// missing value, a number that is not a number or lies out of range, a
// malformed form description or a stray argument. Stops at --help.
bool parseCommandLine(int argc, char** argv, CommandLine& out, std::string& error);

// The help text of --help.
void printUsage(FILE* out);

}  // namespace zqserver
