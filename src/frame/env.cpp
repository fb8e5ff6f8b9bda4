#include "frame/env.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "frame/messages.h"
#include "frame/status.h"

namespace zq::env {
namespace {

// A decimal integer filling the whole text (surrounding blanks allowed).
bool parseLong(const char* text, long& out) {
  if (!text) return false;
  errno = 0;
  char* end = nullptr;
  long v = strtol(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  out = v;
  return true;
}

const char* lookup(int catalogNumber, const char* defaultName, std::string& name) {
  name = variableName(catalogNumber, defaultName);
  return getenv(name.c_str());
}

}  // namespace

std::string variableName(int catalogNumber, const char* defaultName) {
  const char* renamed = catalogString(255, catalogNumber);
  return renamed && *renamed ? renamed : defaultName;
}

void parseTimeouts(const char* text, Settings& settings) {
  if (!text) return;
  uint32_t* slots[3] = {&settings.timeoutNormal, &settings.timeoutLong,
                        &settings.timeoutExtraLong};
  std::string s(text);
  size_t start = 0;
  for (int i = 0; i < 3 && start <= s.size(); ++i) {
    size_t sep = s.find_first_of(":;", start);
    std::string part = s.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    long v;
    if (parseLong(part.c_str(), v) && v > 0 && v <= 0x7fffffffL) *slots[i] = static_cast<uint32_t>(v);
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
}

uint32_t parseResponseSize(const char* text) {
  long v;
  if (parseLong(text, v) && v >= 4096 && v <= 10000000) return static_cast<uint32_t>(v);
  return kDefaultResponseSize;
}

bool acceptedProgram(long v) {
  return v == 0 || v == 390600 || v == 390603 || (v >= 390619 && v <= 390669) ||
         (v >= 390680 && v <= 390694);
}

const char* parseProtocol(const char* text) {
  return text && strncmp(text, "udp", 3) == 0 ? "udp" : "tcp";
}

void readEnvironment(ZQThreadContext* ctx, ZQStatusList* status) {
  Settings& s = ctx->settings;
  std::string name;
  long v;

  const char* logging = lookup(kNameLogging, "ZQAPILOGGING", name);
  ctx->loggingFlags = (logging && parseLong(logging, v)) ? static_cast<int32_t>(v) : 0;

  s.responseSize = parseResponseSize(lookup(kNameResponseSize, "ZQRPC_RESPONSE_SIZE", name));

  s.rpcProgram = 0;
  s.programGiven = false;
  if (const char* program = lookup(kNameProgram, "ZQRPC", name)) {
    if (parseLong(program, v) && acceptedProgram(v)) {
      s.rpcProgram = static_cast<uint32_t>(v);
      s.programGiven = true;
    } else {
      addWarning(status, kMsgBadEnvProgram, program);
    }
  }

  const char* port = lookup(kNameTcpPort, "ZQTCPPORT", name);
  s.tcpPort = (port && parseLong(port, v)) ? static_cast<uint32_t>(v) : 0;

  s.transport = parseProtocol(lookup(kNameProtocol, "ZQPROTOCOL", name));
}

}  // namespace zq::env
