#include "platform/host.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstring>

namespace zq::platform {

std::string localHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

std::string localHostAddress() {
  std::string host = localHostName();
  if (host.empty()) return "";
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* res = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return "127.0.0.1";
  const auto* a = reinterpret_cast<const sockaddr_in*>(res->ai_addr);
  const auto* b = reinterpret_cast<const unsigned char*>(&a->sin_addr.s_addr);
  char text[32];
  snprintf(text, sizeof text, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
  freeaddrinfo(res);
  return text;
}

std::string hostAddress(const std::string& host) {
  if (host.empty()) return "";
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* res = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return "";
  char text[INET_ADDRSTRLEN] = {};
  const auto* a = reinterpret_cast<const sockaddr_in*>(res->ai_addr);
  if (!inet_ntop(AF_INET, &a->sin_addr, text, sizeof text)) text[0] = '\0';
  freeaddrinfo(res);
  return text;
}

}  // namespace zq::platform
