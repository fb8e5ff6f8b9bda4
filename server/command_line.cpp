#include "command_line.h"

#include <getopt.h>

#include <cstdint>
#include <cstring>

#include "decimal.h"
#include "entry_store.h"

namespace zqserver {
namespace {

// getopt_long codes of the long options; above every character.
enum Option : int {
  kHost = 256,
  kPort,
  kRpcbind,
  kVersions,
  kProgram,
  kDb,
  kSetting,
  kRefuseSetting,
  kSecurity,
  kForm,
  kDefinitions,
  kVerbose,
  kHelp,
  kAllowSqlWrite,
  kSqlRowLimit,
  kSqlTimeLimit,
  kProcessDir,
  kMenuDir,
  kProcessTimeLimit,
  kProcessOutputLimit,
  kAccessKeyFile,
  kWorkflowServer,
  kWorkflowPasswordFile,
  kListen,
  kLog,
  kWorkers,
  kQueueLimit,
  kMaxRecordSize,
  kRecordTimeLimit,
  kIdleTimeLimit,
  kMaxConnections,
};

constexpr option kOptions[] = {
    {"host", required_argument, nullptr, kHost},
    {"port", required_argument, nullptr, kPort},
    {"rpcbind", no_argument, nullptr, kRpcbind},
    {"versions", required_argument, nullptr, kVersions},
    {"program", required_argument, nullptr, kProgram},
    {"db", required_argument, nullptr, kDb},
    {"database", required_argument, nullptr, kDb},
    {"listen", required_argument, nullptr, kListen},
    {"log", required_argument, nullptr, kLog},
    {"setting", required_argument, nullptr, kSetting},
    {"refuse-setting", required_argument, nullptr, kRefuseSetting},
    {"security", required_argument, nullptr, kSecurity},
    {"form", required_argument, nullptr, kForm},
    {"definitions", required_argument, nullptr, kDefinitions},
    {"verbose", no_argument, nullptr, kVerbose},
    {"help", no_argument, nullptr, kHelp},
    {"allow-sql-write", no_argument, nullptr, kAllowSqlWrite},
    {"sql-row-limit", required_argument, nullptr, kSqlRowLimit},
    {"sql-time-limit", required_argument, nullptr, kSqlTimeLimit},
    {"process-dir", required_argument, nullptr, kProcessDir},
    {"menu-dir", required_argument, nullptr, kMenuDir},
    {"process-time-limit", required_argument, nullptr, kProcessTimeLimit},
    {"process-output-limit", required_argument, nullptr, kProcessOutputLimit},
    {"access-key-file", required_argument, nullptr, kAccessKeyFile},
    {"workflow-server", required_argument, nullptr, kWorkflowServer},
    {"workflow-password-file", required_argument, nullptr, kWorkflowPasswordFile},
    {"workers", required_argument, nullptr, kWorkers},
    {"queue-limit", required_argument, nullptr, kQueueLimit},
    {"max-record-size", required_argument, nullptr, kMaxRecordSize},
    {"record-time-limit", required_argument, nullptr, kRecordTimeLimit},
    {"idle-time-limit", required_argument, nullptr, kIdleTimeLimit},
    {"max-connections", required_argument, nullptr, kMaxConnections},
    {nullptr, 0, nullptr, 0},
};

constexpr int kFirstVersion = 7;
constexpr int kLastVersion = 14;

// "N" or "A-B" within the versions the codec knows.
bool parseVersions(const std::string& text, int& lo, int& hi) {
  const size_t dash = text.find('-');
  int64_t a = 0, b = 0;
  if (!parseDecimal(text.substr(0, dash), kFirstVersion, kLastVersion, a)) return false;
  b = a;
  if (dash != std::string::npos &&
      !parseDecimal(text.substr(dash + 1), kFirstVersion, kLastVersion, b))
    return false;
  if (a > b) return false;
  lo = static_cast<int>(a);
  hi = static_cast<int>(b);
  return true;
}

// "N=VALUE": VALUE "int:NUMBER" is an integer, anything else a text.
bool parseSetting(const std::string& text, Options& options, std::string& error) {
  const size_t eq = text.find('=');
  int64_t number = 0;
  if (eq == std::string::npos || !parseDecimal(text.substr(0, eq), 1, UINT32_MAX, number)) {
    error = "--setting " + text + ": expected N=VALUE with N a setting number from 1 to 4294967295";
    return false;
  }
  const std::string value = text.substr(eq + 1);
  if (value.rfind("int:", 0) == 0) {
    int64_t integer = 0;
    if (!parseDecimal(value.substr(4), INT32_MIN, INT32_MAX, integer)) {
      error = "--setting " + text + ": expected int:NUMBER, NUMBER from -2147483648 to 2147483647";
      return false;
    }
    options.settings[static_cast<uint32_t>(number)] = static_cast<int32_t>(integer);
  } else {
    options.settings[static_cast<uint32_t>(number)] = value;
  }
  return true;
}

// A secret read from the first line of a file, so that it never shows in
// the process list.
bool readSecret(const std::string& option, const std::string& path, std::string& out,
                std::string& error) {
  FILE* f = fopen(path.c_str(), "r");
  if (!f) {
    error = option + " " + path + ": cannot read the file";
    return false;
  }
  char line[512] = {};
  const bool got = fgets(line, sizeof line, f) != nullptr;
  fclose(f);
  out = got ? line : "";
  explicit_bzero(line, sizeof line);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  if (out.empty()) {
    error = option + " " + path + ": the file's first line is empty";
    return false;
  }
  return true;
}

// A positive count for a limit option.
bool parseLimit(const std::string& option, const std::string& value, uint32_t& out,
                std::string& error) {
  int64_t number = 0;
  if (!parseDecimal(value, 1, UINT32_MAX, number)) {
    error = option + " " + value + ": expected a number from 1 to 4294967295";
    return false;
  }
  out = static_cast<uint32_t>(number);
  return true;
}

// "ADDRESS:PORT" (an IPv4 address, as --host takes it) or ":PORT".
bool parseListen(const std::string& text, Options& options) {
  const size_t colon = text.rfind(':');
  int64_t port = 0;
  if (colon == std::string::npos || !parseDecimal(text.substr(colon + 1), 0, UINT16_MAX, port))
    return false;
  const std::string host = text.substr(0, colon);
  if (!host.empty()) options.host = host;
  options.port = static_cast<uint16_t>(port);
  return true;
}

// The option getopt_long stopped at, as the user wrote it.
std::string offending(int argc, char** argv) {
  return optind > 0 && optind <= argc ? argv[optind - 1] : "";
}

}  // namespace

bool parseCommandLine(int argc, char** argv, CommandLine& out, std::string& error) {
  Options& o = out.options;
  optind = 0;  // full reinitialisation, so that the parser can run more than once
  opterr = 0;  // the errors below say more than getopt's own
  for (;;) {
    const int code = getopt_long(argc, argv, ":h", kOptions, nullptr);
    if (code == -1) break;
    const std::string value = optarg ? optarg : "";
    int64_t number = 0;
    switch (code) {
      case 'h':
      case kHelp:
        out.help = true;
        return true;
      case kHost:
        o.host = value;
        break;
      case kPort:
        if (!parseDecimal(value, 0, UINT16_MAX, number)) {
          error = "--port " + value + ": expected a port number from 0 to 65535";
          return false;
        }
        o.port = static_cast<uint16_t>(number);
        break;
      case kListen:
        if (!parseListen(value, o)) {
          error = "--listen " + value + ": expected ADDRESS:PORT with a port from 0 to 65535";
          return false;
        }
        break;
      case kLog:
        if (value.empty()) {
          error = "--log needs a file name";
          return false;
        }
        out.logFile = value;
        break;
      case kRpcbind:
        o.useRpcbind = true;
        break;
      case kVersions:
        if (!parseVersions(value, o.minVersion, o.maxVersion)) {
          error = "--versions " + value + ": expected N or A-B within 7-14";
          return false;
        }
        break;
      case kProgram:
        if (!parseDecimal(value, 1, UINT32_MAX, number)) {
          error = "--program " + value + ": expected a program number from 1 to 4294967295";
          return false;
        }
        o.programs = {static_cast<uint32_t>(number)};
        break;
      case kDb:
        o.database = value;
        break;
      case kSetting:
        if (!parseSetting(value, o, error)) return false;
        break;
      case kRefuseSetting:
        if (!parseDecimal(value, 1, UINT32_MAX, number)) {
          error = "--refuse-setting " + value + ": expected a setting number from 1 to 4294967295";
          return false;
        }
        o.refusedSetting = static_cast<uint32_t>(number);
        break;
      case kSecurity:
        if (value == "optional") {
          o.securityPolicy = 0;
        } else if (value == "required") {
          o.securityPolicy = 1;
        } else if (value == "disabled") {
          o.securityPolicy = 2;
        } else {
          error = "--security " + value + ": expected optional, required or disabled";
          return false;
        }
        break;
      case kForm: {
        std::string name, why;
        std::vector<FieldDef> fields;
        if (!parseFormDescription(value, name, fields, why)) {
          error = "--form " + value + ": " + why;
          return false;
        }
        out.forms.push_back(value);
        break;
      }
      case kDefinitions:
        out.definitions.push_back(value);
        break;
      case kVerbose:
        o.verbose = true;
        break;
      case kAllowSqlWrite:
        o.allowSqlWrite = true;
        break;
      case kSqlRowLimit:
        if (!parseLimit("--sql-row-limit", value, o.sqlRowLimit, error)) return false;
        break;
      case kSqlTimeLimit:
        if (!parseLimit("--sql-time-limit", value, o.sqlTimeLimitMs, error)) return false;
        break;
      case kProcessDir:
        if (value.empty() || value[0] != '/') {
          error = "--process-dir " + value + ": expected an absolute directory";
          return false;
        }
        o.processDirectory = value;
        break;
      case kMenuDir:
        if (value.empty() || value[0] != '/') {
          error = "--menu-dir " + value + ": expected an absolute directory";
          return false;
        }
        o.menuDirectory = value;
        break;
      case kProcessTimeLimit:
        if (!parseLimit("--process-time-limit", value, o.processTimeLimitMs, error)) return false;
        break;
      case kProcessOutputLimit:
        if (!parseLimit("--process-output-limit", value, o.processOutputLimit, error)) return false;
        break;
      case kAccessKeyFile:
        if (!readSecret("--access-key-file", value, o.accessKey, error)) return false;
        break;
      case kWorkflowServer:
        o.workflowServer = value;
        break;
      case kWorkflowPasswordFile:
        if (!readSecret("--workflow-password-file", value, o.workflowPassword, error)) return false;
        break;
      case kWorkers:
      case kQueueLimit:
      case kMaxRecordSize:
      case kMaxConnections: {
        const char* name = code == kWorkers         ? "--workers"
                           : code == kQueueLimit    ? "--queue-limit"
                           : code == kMaxRecordSize ? "--max-record-size"
                                                 : "--max-connections";
        uint32_t n = 0;
        if (!parseLimit(name, value, n, error)) return false;
        if (code == kWorkers && n > 1024) {
          error = std::string(name) + " " + value + ": expected at most 1024 workers";
          return false;
        }
        if (code == kMaxRecordSize && n > 0x7FFFFFFFu) {
          error = std::string(name) + " " + value + ": expected at most 2147483647 bytes";
          return false;
        }
        (code == kWorkers       ? o.workers
         : code == kQueueLimit  ? o.queueLimit
         : code == kMaxRecordSize ? o.limits.maxRecordSize
                               : o.limits.maxConnections) = n;
        break;
      }
      case kRecordTimeLimit:
        if (!parseLimit("--record-time-limit", value, o.limits.recordTimeoutMs, error)) return false;
        break;
      case kIdleTimeLimit:
        if (!parseLimit("--idle-time-limit", value, o.limits.idleTimeoutMs, error)) return false;
        break;
      case ':':
        error = offending(argc, argv) + " needs a value";
        return false;
      default:  // '?': unknown or ambiguous, or a value given to an option without one
        error = optopt >= kHost ? offending(argc, argv) + ": this option takes no value"
                                : "unknown or ambiguous option " + offending(argc, argv);
        return false;
    }
  }
  if (optind < argc) {
    error = std::string("unexpected argument ") + argv[optind];
    return false;
  }
  return true;
}

void printUsage(FILE* out) {
  fputs(
      "usage: zqserverd [options]\n"
      "\n"
      "The zq reference server: answers the client library's remote calls on\n"
      "loopback or any local address, keeping definitions and entries in SQLite.\n"
      "An option's value follows it as the next argument or after '='.\n"
      "\n"
      "  --host ADDRESS        listen address (default 127.0.0.1)\n"
      "  --port N              TCP port, 0 to 65535 (default 0: any free port)\n"
      "  --listen ADDRESS:PORT both at once (\":PORT\" keeps the address)\n"
      "  --rpcbind             register the programs with the local rpcbind, so that\n"
      "                        clients find the server without knowing its port\n"
      "  --versions A-B        protocol versions to serve, within 7-14 (default 7-14;\n"
      "                        a single N serves only N); a client asking for\n"
      "                        another version gets a version mismatch\n"
      "  --program N           serve only this private program number (1 to\n"
      "                        4294967295) instead of the admin (390600), fast\n"
      "                        (390620) and list (390635) programs\n"
      "  --database FILE       keep the store in FILE (default: a temporary file\n"
      "                        removed at exit); --db is the same option\n"
      "  --log FILE            append the server's own messages (start, readiness,\n"
      "                        shut-down, failures) to FILE instead of stderr\n"
      "  --setting N=VALUE     answer server setting N with VALUE; a VALUE of the form\n"
      "                        int:NUMBER is a 32-bit integer, anything else a text.\n"
      "                        Examples: --setting 4='7.5.00 Patch 004' (version),\n"
      "                        --setting 246=int:1000 (argument limit in bytes),\n"
      "                        --setting 333=int:65536 (maximum attachment size),\n"
      "                        --setting 55=de_DE.UTF-8 (server language)\n"
      "  --refuse-setting N    answer any settings request naming N with error 123\n"
      "  --security POLICY     wire encryption: optional (clients that can encrypt\n"
      "                        do), required (calls in the clear are refused) or\n"
      "                        disabled (the default). The encryption is single DES\n"
      "                        with a 672-bit RSA key exchange, kept for wire\n"
      "                        compatibility: it does not replace TLS\n"
      "  --form DESCRIPTION    create a form at start (repeatable). DESCRIPTION is\n"
      "                        Name:id:type[:fieldName][,id:type[:fieldName]...]\n"
      "                        with id a field id from 1 to 4294967295 and type a\n"
      "                        data type number or one of char, integer, real,\n"
      "                        diary, enum, time, bitmask, bytes, decimal, attach,\n"
      "                        currency, date, timeofday, ulong, coords.\n"
      "                        The core fields (1 entry id, 2 submitter, 3 create\n"
      "                        date, 4 assigned to, 5 last modified by, 6 modified\n"
      "                        date, 7 status, 8 short description, 15 status\n"
      "                        history) are added. Example:\n"
      "                        --form 'Tickets:536870913:char:Title,536870914:attach'\n"
      "  --allow-sql-write     let administrators' SQL change the database (default:\n"
      "                        reading statements only)\n"
      "  --sql-row-limit N     at most N rows per SQL statement (default 10000)\n"
      "  --sql-time-limit MS   at most MS milliseconds per SQL statement (default 10000)\n"
      "  --process-dir DIR     run processes, only programs of DIR and without a shell\n"
      "  --menu-dir DIR        serve character menu files from DIR only\n"
      "                        (default: processes are refused)\n"
      "  --process-time-limit MS  end a process after MS milliseconds (default 10000)\n"
      "  --process-output-limit N keep at most N bytes of a process's output\n"
      "                        (default 65536)\n"
      "  --access-key-file FILE the key the user and group creation calls must give\n"
      "                        once users exist (first line of FILE)\n"
      "  --workflow-server NAME redirect active-link SQL and processes to NAME\n"
      "  --workflow-password-file FILE  the workflow password (first line of FILE)\n"
      "  --definitions FILE    load the definitions of FILE at start (repeatable),\n"
      "                        after the --form options; one per line:\n"
      "                          form DESCRIPTION (as --form)\n"
      "                          view FORM:ID:NAME[:LOCALE]\n"
      "                          image NAME:TYPE:PATH\n"
      "                          support-file FORM:FILE-ID:PATH\n"
      "                        blank lines and lines starting with # are skipped;\n"
      "                        relative paths are read from FILE's folder\n"
      "  --workers N           run calls on N threads (default 8)\n"
      "  --queue-limit N       at most N requests wait for a worker; beyond that\n"
      "                        connections are not read (default 256)\n"
      "  --max-record-size N   cut off a client whose request exceeds N bytes\n"
      "                        (default 67108864)\n"
      "  --record-time-limit MS  cut off a client that takes longer than MS\n"
      "                        milliseconds to send one request (default 30000)\n"
      "  --idle-time-limit MS  close a connection idle for MS milliseconds\n"
      "                        (default 600000)\n"
      "  --max-connections N   beyond N connections the longest idle one is\n"
      "                        closed (default 4096)\n"
      "  --verbose             print the chosen port and the registrations\n"
      "  --help, -h            show this text\n"
      "\n"
      "The server prints \"listening on PORT\" on stdout when it is ready (and tells\n"
      "systemd through NOTIFY_SOCKET when that is set). On SIGINT or SIGTERM it\n"
      "finishes the call it is serving, removes its rpcbind registrations, closes\n"
      "the store and exits with status 0. A bad option stops it with a line on\n"
      "stderr and exit status 2.\n"
      "\n"
      "Workflow debugger (administrators; ZQWfd... calls). With debug mode on for\n"
      "a session (any non-zero word), entry operations of other sessions stop at\n"
      "its breakpoints. Breakpoint words[0]: 0 at a filter or escalation before\n"
      "its qualification, 1 at its condition (result can be forced), 2 at an\n"
      "action (words[1]: its number from 1, 0 any); name: the filter or escalation\n"
      "(empty: any); passCount: hits passed over; condition: the entry must match.\n"
      "ZQWfdExecute: 0 continue, 1 step, 2 wait for a stop (at most 10 s); results:\n"
      "stopped (1/0), stage (1 filter, 2 condition, 3 action), procedure of the\n"
      "call. ZQWfdSetQualifierResult: 0 false, else true. Keywords: 1 user, 2 time,\n"
      "3 form, 4 server, 5 operation. ZQWfdTerminateAPI fails the call (297\n"
      "\"stopped\") and changes nothing. ZQRunEscalation: 0 every enabled\n"
      "escalation, n the n-th in name order. A debugger that disconnects or\n"
      "switches debug mode off as the last one releases the stopped call.\n",
      out);
}

}  // namespace zqserver
