#include "platform/config.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

namespace zq::platform {
namespace {

std::mutex& configMutex() {
  static std::mutex m;
  return m;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

void makeParents(const std::string& path) {
  for (size_t pos = 1; (pos = path.find('/', pos)) != std::string::npos; ++pos)
    mkdir(path.substr(0, pos).c_str(), 0700);
}

}  // namespace

std::string configPath() {
  if (const char* p = getenv("ZQAPI_CONFIG"); p && *p) return p;
  if (const char* x = getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/zqapi/config";
  const char* home = getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/zqapi/config";
}

std::optional<std::string> configValue(const std::string& key) {
  std::lock_guard<std::mutex> lock(configMutex());
  std::ifstream in(configPath());
  if (!in) return std::nullopt;
  std::string line;
  while (std::getline(in, line)) {
    std::string t = trim(line);
    if (t.empty() || t[0] == '#') continue;
    size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    if (trim(t.substr(0, eq)) == key) return trim(t.substr(eq + 1));
  }
  return std::nullopt;
}

bool setConfigValue(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> lock(configMutex());
  std::string path = configPath();
  std::vector<std::string> lines;
  bool replaced = false;
  {
    std::ifstream in(path);
    std::string line;
    while (in && std::getline(in, line)) {
      std::string t = trim(line);
      size_t eq = t.find('=');
      if (!t.empty() && t[0] != '#' && eq != std::string::npos && trim(t.substr(0, eq)) == key) {
        if (!replaced) lines.push_back(key + "=" + value);
        replaced = true;
      } else {
        lines.push_back(line);
      }
    }
  }
  if (!replaced) lines.push_back(key + "=" + value);
  makeParents(path);
  // Write a sibling file and rename it so that readers never see half a file.
  std::string tmp = path + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(tmp, std::ios::trunc);
    if (!out) return false;
    for (const auto& l : lines) out << l << '\n';
    if (!out.flush()) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace zq::platform
