#include "connection.h"

#include <fcntl.h>
#include <pwd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "values.h"

extern char** environ;

namespace zqcli {
namespace {

constexpr const char kScheme[] = "zq://";
constexpr const char kShape[] = "expected zq://user[:password]@host[:port][/form]";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes let a user name or password hold '@', ':' or '/'.
bool percentDecode(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int hi = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
    const int lo = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

// Where the password of a URL lies in text: [begin, end), or false.
bool passwordSpan(const char* text, size_t& begin, size_t& end) {
  const char* start = strstr(text, kScheme);
  if (!start) return false;
  const char* authority = start + strlen(kScheme);
  const char* slash = strchr(authority, '/');
  const char* at = nullptr;
  for (const char* p = authority; *p && (!slash || p < slash); ++p)
    if (*p == '@') at = p;  // the last '@' before the path ends the user part
  if (!at) return false;
  const char* colon = static_cast<const char*>(memchr(authority, ':', at - authority));
  if (!colon) return false;
  begin = colon - text;  // the colon goes too: nothing says a password was there
  end = at - text;
  return true;
}

// Removes the password from a NUL-terminated string in place.
void hideIn(char* text) {
  size_t begin = 0, end = 0;
  if (!passwordSpan(text, begin, end)) return;
  const size_t length = strlen(text);
  memmove(text + begin, text + end, length - end + 1);
  memset(text + length - (end - begin), 0, end - begin);
}

std::string homeDirectory() {
  if (const char* home = getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir;
  return ".";
}

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

bool parseUrl(const std::string& text, Url& url, std::string& error) {
  url = Url{};
  auto fail = [&](const std::string& why) {
    std::string shown = text;
    size_t begin = 0, end = 0;
    if (passwordSpan(shown.c_str(), begin, end)) shown.replace(begin, end - begin, ":***");
    error = "bad URL '" + shown + "': " + why;
    return false;
  };
  if (text.compare(0, strlen(kScheme), kScheme) != 0) return fail(kShape);
  std::string rest = text.substr(strlen(kScheme));
  const size_t slash = rest.find('/');
  if (slash != std::string::npos) {
    if (!percentDecode(rest.substr(slash + 1), url.form)) return fail("bad %-escape in the form");
    rest.resize(slash);
  }
  const size_t at = rest.rfind('@');
  std::string hostPort = rest;
  if (at != std::string::npos) {
    const std::string userInfo = rest.substr(0, at);
    hostPort = rest.substr(at + 1);
    const size_t colon = userInfo.find(':');
    if (!percentDecode(userInfo.substr(0, colon), url.user))
      return fail("bad %-escape in the user name");
    if (colon != std::string::npos) {
      url.hasPassword = true;
      if (!percentDecode(userInfo.substr(colon + 1), url.password))
        return fail("bad %-escape in the password");
    }
    if (url.user.empty()) return fail("the user name is empty");
  }
  const size_t colon = hostPort.rfind(':');
  url.host = hostPort.substr(0, colon);
  if (colon != std::string::npos) {
    long long port = 0;
    if (!parseNumber(hostPort.substr(colon + 1), 1, 65535, port))
      return fail("the port must be a number from 1 to 65535");
    url.port = static_cast<int>(port);
  }
  if (url.host.empty()) return fail("no host");
  if (url.host.size() > ZQ_MAX_SERVER_SIZE) return fail("the host name is too long");
  for (char c : url.host)
    if (c == '@' || c == ':' || c == ' ' || c == '[' || c == ']') return fail(kShape);
  return true;
}

void hidePasswords(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) hideIn(argv[i]);
  for (char** e = environ; e && *e; ++e)
    if (strncmp(*e, "ZQ_URL=", 7) == 0) hideIn(*e);
}

std::string configPath() {
  if (const char* path = getenv("ZQ_CONFIG"); path && *path) return path;
  if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return std::string(xdg) + "/zq/config";
  return homeDirectory() + "/.config/zq/config";
}

std::string configValue(const std::string& key) {
  std::ifstream in(configPath());
  for (std::string line; std::getline(in, line);) {
    line = trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find('=');
    if (eq != std::string::npos && trim(line.substr(0, eq)) == key)
      return trim(line.substr(eq + 1));
  }
  return "";
}

bool promptPassword(const std::string& prompt, std::string& password) {
  const int tty = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (tty < 0) return false;
  termios saved{};
  if (tcgetattr(tty, &saved) != 0) {
    close(tty);
    return false;
  }
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  quiet.c_lflag |= ECHONL;
  if (write(tty, prompt.data(), prompt.size()) < 0 || tcsetattr(tty, TCSAFLUSH, &quiet) != 0) {
    close(tty);
    return false;
  }
  password.clear();
  char c;
  for (;;) {
    const ssize_t n = read(tty, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n' || c == '\r') break;
    password += c;
  }
  tcsetattr(tty, TCSAFLUSH, &saved);
  close(tty);
  return true;
}

bool readFirstLine(const std::string& path, std::string& line, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path + ": " + strerror(errno);
    return false;
  }
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace zqcli
