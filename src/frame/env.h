// Environment settings read by each new thread context.
#pragma once

#include <cstdint>
#include <string>

#include "frame/context.h"

namespace zq::env {

// Catalog numbers (set 255) under which each variable may be renamed.
enum CatalogName : int {
  kNameProgram = 84,
  kNameProtocol = 85,
  kNameResponseSize = 86,
  kNameTcpPort = 87,
  kNameLogging = 88,
};

// The variable's name: the catalog's text when it holds one, else the default.
std::string variableName(int catalogNumber, const char* defaultName);

// Up to three numbers separated by ':' or ';'; missing, zero, negative or
// non-numeric parts keep their value.
void parseTimeouts(const char* text, Settings& settings);
// 4096..10000000, else the default.
uint32_t parseResponseSize(const char* text);
// True when the value is an accepted program number.
bool acceptedProgram(long value);
// "udp" when the text begins with "udp", else "tcp".
const char* parseProtocol(const char* text);

// Reads every setting into a new context, adding warning 68 for a bad
// program number.
void readEnvironment(ZQThreadContext* ctx, ZQStatusList* status);

}  // namespace zq::env

namespace zq::testing {
// Restarts the numbering of recording files (first initialization again).
void resetLogFileCounter();
}  // namespace zq::testing
