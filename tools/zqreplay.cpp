// zqreplay: reads an API command log back, checks every record and prints a
// summary; with --server it plays the calls it knows against a server again,
// keeping the recorded pauses.
//
//   zqreplay [--server NAME --port N --user NAME [--password TEXT] [--no-wait]] LOG
//
// Exit status: 0 when every record parsed, 1 for a malformed log, 2 for bad
// usage, 3 when a replayed call failed to reach the server.
#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "diag/commands.h"
#include "zqapi/zqapi.h"

namespace {

struct Record {
  size_t line = 0;  // where the record starts (1-based)
  std::string name;
  std::string code;
  bool pause = false;
  bool longHeader = false;
  std::string server, user, port;
  std::vector<std::string> args;  // the lines after the code
};

bool startsRecord(const std::vector<std::string>& lines, size_t i) {
  return i + 1 < lines.size() && lines[i] == "#" && lines[i + 1].rfind("# ", 0) == 0;
}

// Text between the first pair of double quotes of a long-header line.
bool quoted(const std::string& line, const char* label, std::string* out) {
  if (line.rfind(label, 0) != 0) return false;
  const size_t open = line.find('"');
  const size_t close = line.rfind('"');
  if (open == std::string::npos || close <= open) return false;
  *out = line.substr(open + 1, close - open - 1);
  return true;
}

// In a single-file log the results of a call follow its command record:
// an empty line, then "   <name> results".
bool resultsStart(const std::vector<std::string>& lines, size_t i) {
  if (i + 1 >= lines.size() || !lines[i].empty()) return false;
  const std::string& next = lines[i + 1];
  return next.rfind("   ", 0) == 0 && next.size() > 11 &&
         next.compare(next.size() - 8, 8, " results") == 0;
}

bool parse(const std::vector<std::string>& lines, std::vector<Record>& records, unsigned& results,
           std::string& error) {
  size_t i = 0;
  while (i < lines.size() && resultsStart(lines, i)) {  // a single-file log opens with results
    ++results;
    while (i < lines.size() && !startsRecord(lines, i)) ++i;
  }
  while (i < lines.size()) {
    if (!startsRecord(lines, i)) {
      error = "line " + std::to_string(i + 1) + ": a record must start with \"#\" and \"# name\"";
      return false;
    }
    Record r;
    r.line = i + 1;
    r.name = lines[i + 1].substr(2);
    i += 2;
    if (i < lines.size() && lines[i].rfind("# Server: ", 0) == 0) {
      r.longHeader = true;
      if (i + 3 >= lines.size() || !quoted(lines[i], "# Server: ", &r.server) ||
          !quoted(lines[i + 1], "# Username: ", &r.user) ||
          !quoted(lines[i + 2], "# Port: ", &r.port)) {
        error = "line " + std::to_string(i + 1) + ": incomplete long header";
        return false;
      }
      i += 3;
    }
    if (i >= lines.size() || lines[i] != "#") {
      error = "line " + std::to_string(i + 1) + ": header not closed by \"#\"";
      return false;
    }
    ++i;
    if (i >= lines.size()) {
      error = "line " + std::to_string(i) + ": record without a command code";
      return false;
    }
    r.code = lines[i++];
    while (i < lines.size() && !startsRecord(lines, i)) {
      if (resultsStart(lines, i)) {
        ++results;
        while (i < lines.size() && !startsRecord(lines, i)) ++i;  // a single-file log
        break;
      }
      r.args.push_back(lines[i++]);
    }
    if (r.name == "(Pause)") {
      r.pause = true;
      if ((r.code != "st" && r.code != "msst") || r.args.size() != 1) {
        error = "line " + std::to_string(r.line) + ": malformed pause record";
        return false;
      }
    } else {
      const zq::diag::CommandInfo* info = zq::diag::findByCode(r.code);
      if (!info) {
        error = "line " + std::to_string(r.line) + ": unknown command code \"" + r.code + "\"";
        return false;
      }
      if (r.name != info->recorded) {
        error = "line " + std::to_string(r.line) + ": \"" + r.code + "\" recorded as \"" + r.name +
                "\", expected \"" + info->recorded + "\"";
        return false;
      }
    }
    records.push_back(std::move(r));
  }
  return true;
}

bool number(const std::string& text, unsigned long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = strtoul(text.c_str(), &end, 10);
  return *end == '\0';
}

// ---- replay ---------------------------------------------------------------------------

struct Options {
  std::string server, user, password, log;
  int port = 0;
  bool wait = true;
};

int replayRecords(const Options& o, const std::vector<Record>& records) {
  ZQControlStruct control;
  memset(&control, 0, sizeof control);
  snprintf(control.server, sizeof control.server, "%s", o.server.c_str());
  snprintf(control.user, sizeof control.user, "%s", o.user.c_str());
  snprintf(control.password, sizeof control.password, "%s", o.password.c_str());
  ZQStatusList status{0, nullptr};
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) {
    fprintf(stderr, "zqreplay: initialization failed\n");
    return 3;
  }
  FreeZQStatusList(&status, 0);
  if (o.port) ZQSetServerPort(&control, control.server, o.port, 0, &status);
  FreeZQStatusList(&status, 0);
  int result = 0;
  unsigned played = 0, skipped = 0;
  for (const Record& r : records) {
    if (r.pause) {
      unsigned long amount = 0;
      number(r.args[0], &amount);
      if (o.wait)
        std::this_thread::sleep_for(r.code == "st" ? std::chrono::milliseconds(amount * 1000)
                                                   : std::chrono::milliseconds(amount));
      continue;
    }
    int rc = -1;
    if (r.code == "gsi") {
      unsigned long count = 0;
      std::vector<uint32_t> settings;
      if (!r.args.empty() && number(r.args[0], &count) && count + 1 <= r.args.size()) {
        for (unsigned long k = 0; k < count; ++k) {
          unsigned long v = 0;
          number(r.args[k + 1], &v);
          settings.push_back(static_cast<uint32_t>(v));
        }
      }
      ZQServerInfoRequestList request{static_cast<uint32_t>(settings.size()), settings.data()};
      ZQServerInfoList out{0, nullptr};
      rc = ZQGetServerInfo(&control, &request, &out, &status);
      FreeZQServerInfoList(&out, 0);
    } else if (r.code == "gscs" || r.code == "gccs") {
      char name[ZQ_CHARSET_NAME_SIZE];
      rc = r.code == "gscs" ? ZQGetServerCharSet(&control, name, &status)
                            : ZQGetClientCharSet(&control, name, &status);
    } else if (r.code == "svr") {
      ZQServerNameList servers{0, nullptr};
      rc = ZQGetListServer(&control, &servers, &status);
      ZQFree(servers.items);
    } else {
      ++skipped;  // init, term and calls this replay does not make
      continue;
    }
    ++played;
    printf("%-6s rc %d\n", r.code.c_str(), rc);
    if (rc >= ZQ_RETURN_ERROR) result = 3;
    FreeZQStatusList(&status, 0);
  }
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  printf("replayed %u calls, skipped %u\n", played, skipped);
  return result;
}

void printUsage(FILE* out) {
  fputs(
      "usage: zqreplay [--server NAME --port N --user NAME [--password TEXT] [--no-wait]] LOG\n"
      "\n"
      "Reads an API command log (zqapicmd.log) back, checks every record and prints\n"
      "a summary. With --server it plays the calls it knows against that server\n"
      "again, keeping the recorded pauses. An option's value follows it as the next\n"
      "argument or after '='.\n"
      "\n"
      "  --server NAME      replay against this server\n"
      "  --port N           its TCP port, 1 to 65535 (default: ZQTCPPORT, else rpcbind)\n"
      "  --user NAME        the user of the replayed session\n"
      "  --password TEXT    that user's password\n"
      "  --password-fd N    read the password from file descriptor N (one line)\n"
      "  --no-wait          replay without the recorded pauses\n"
      "  --help, -h         show this text\n"
      "\n"
      "Exit status: 0 when every record parsed, 1 for a malformed log, 2 for bad\n"
      "usage, 3 when a replayed call failed to reach the server.\n",
      out);
}

// The first line readable from fd (a pipe from zq replay): the password then
// never appears in the process's arguments.
bool readPassword(int fd, std::string& password) {
  password.clear();
  char c;
  for (;;) {
    const ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0 || c == '\n') break;
    password += c;
  }
  close(fd);
  return true;
}

// A bad command line: one line on stderr, exit status 2.
int badUsage(const std::string& reason) {
  fprintf(stderr, "zqreplay: %s (see --help)\n", reason.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  enum { kServer = 256, kPort, kUser, kPassword, kNoWait, kHelp, kPasswordFd };
  static const option kOptions[] = {
      {"server", required_argument, nullptr, kServer},
      {"port", required_argument, nullptr, kPort},
      {"user", required_argument, nullptr, kUser},
      {"password", required_argument, nullptr, kPassword},
      {"password-fd", required_argument, nullptr, kPasswordFd},
      {"no-wait", no_argument, nullptr, kNoWait},
      {"help", no_argument, nullptr, kHelp},
      {nullptr, 0, nullptr, 0},
  };
  Options o;
  opterr = 0;  // the reasons below say more than getopt's own
  for (;;) {
    const int code = getopt_long(argc, argv, ":h", kOptions, nullptr);
    if (code == -1) break;
    const std::string value = optarg ? optarg : "";
    const std::string given = argv[optind - 1];
    switch (code) {
      case 'h':
      case kHelp:
        printUsage(stdout);
        return 0;
      case kServer:
        o.server = value;
        break;
      case kUser:
        o.user = value;
        break;
      case kPassword:
        o.password = value;
        break;
      case kPasswordFd: {
        int fd = -1;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, fd);
        if (error != std::errc() || stop != end || fd < 0)
          return badUsage("--password-fd " + value + ": expected a file descriptor number");
        if (!readPassword(fd, o.password))
          return badUsage("--password-fd " + value + ": cannot read a password from it");
        break;
      }
      case kPort: {
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, o.port);
        if (error != std::errc() || stop != end || o.port < 1 || o.port > 65535)
          return badUsage("--port " + value + ": expected a port number from 1 to 65535");
        break;
      }
      case kNoWait:
        o.wait = false;
        break;
      case ':':
        return badUsage(given + " needs a value");
      default:  // '?': unknown or ambiguous, or a value given to an option without one
        return badUsage(optopt >= kServer ? given + ": this option takes no value"
                                          : "unknown or ambiguous option " + given);
    }
  }
  if (optind >= argc) return badUsage("no command log given");
  if (argc - optind > 1) return badUsage(std::string("unexpected argument ") + argv[optind + 1]);
  o.log = argv[optind];

  std::ifstream in(o.log, std::ios::binary);
  if (!in) {
    fprintf(stderr, "zqreplay: cannot read %s\n", o.log.c_str());
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);

  std::vector<Record> records;
  std::string error;
  unsigned results = 0;
  if (!parse(lines, records, results, error)) {
    fprintf(stderr, "zqreplay: %s: %s\n", o.log.c_str(), error.c_str());
    return 1;
  }
  unsigned calls = 0, pauses = 0;
  unsigned long pausedMillis = 0;
  std::map<std::string, unsigned> perCode;
  for (const Record& r : records) {
    if (r.pause) {
      ++pauses;
      unsigned long amount = 0;
      number(r.args[0], &amount);
      pausedMillis += r.code == "st" ? amount * 1000 : amount;
    } else {
      ++calls;
      ++perCode[r.code];
    }
  }
  printf("%s: %u records, %u calls, %u pauses (%lu ms), %u result records\n", o.log.c_str(),
         static_cast<unsigned>(records.size()), calls, pauses, pausedMillis, results);
  for (const auto& [code, n] : perCode)
    printf("  %-8s %-40s %u\n", code.c_str(), zq::diag::findByCode(code)->recorded, n);
  if (o.server.empty()) return 0;
  return replayRecords(o, records);
}
