// zq: the command-line client of the zq server.
//
//   zq [OPTIONS] COMMAND [ARGS]     (zq --help lists the commands)
#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli.h"
#include "connection.h"
#include "output.h"
#include "session.h"
#include "values.h"

namespace zqcli {
namespace {

// ZQ_URL as it was before its password was hidden.
std::string g_environmentUrl;

constexpr const char* kGlobalOptions =
    "--url --server --port --user --password-file --no-password --form --format --quiet "
    "--help --version";

void printUsage(FILE* out) {
  fputs(
      "usage: zq [OPTIONS] COMMAND [ARGS]\n"
      "\n"
      "The command-line client of the zq server.\n"
      "\n"
      "Commands:\n",
      out);
  for (const Command& c : commands()) fprintf(out, "  %-8s %s\n", c.name, c.summary);
  fputs(
      "  help     show the help of a command\n"
      "  completion bash\n"
      "           print the bash completion script\n"
      "\n"
      "Options (anywhere before a lone --):\n"
      "  --url URL            zq://user[:password]@host[:port][/form] (default: ZQ_URL,\n"
      "                       else url= of the config file)\n"
      "  -s, --server HOST    the server (default localhost)\n"
      "  -p, --port N         its TCP port (default: found through rpcbind)\n"
      "  -U, --user NAME      the user (default: the login name)\n"
      "  --password-file F    read the password from the first line of F\n"
      "  -w, --no-password    never ask for a password\n"
      "  --form FORM          the form of commands given one argument fewer\n"
      "  -f, --format F       table (default), csv or json\n"
      "  -q, --quiet          no progress bar\n"
      "  -h, --help           this text; zq COMMAND --help for a command\n"
      "  -V, --version        the version of zq and of the library\n"
      "\n"
      "Without a password zq asks for one on the terminal. A password in a URL is\n"
      "removed from the process's arguments as zq starts; prefer the prompt or a\n"
      "password file, which stay out of the shell's history too.\n"
      "\n"
      "Exit status: the highest return code of the calls (0 OK, 1 warning, 2 error,\n"
      "3 fatal, 4 bad status list); 2 for bad usage. Errors go to stderr with their\n"
      "message numbers.\n",
      out);
}

void printCommandHelp(const Command& c) {
  printf("usage: zq %s %s\n\n%s", c.name, c.synopsis, c.help);
}

// The bash completion of zq: commands, then each command's options and the
// global ones. `zq completion bash` prints it; it is also installed.
void printCompletion() {
  printf(
      "# bash completion of zq\n"
      "_zq() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} command='' i\n"
      "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      "    case ${COMP_WORDS[i]} in\n"
      "      --url|--server|-s|--port|-p|--user|-U|--password-file|--form|--format|-f) ((i++)) ;;\n"
      "      -*) ;;\n"
      "      *) command=${COMP_WORDS[i]}; break ;;\n"
      "    esac\n"
      "  done\n"
      "  case ${COMP_WORDS[COMP_CWORD-1]} in\n"
      "    --format|-f) COMPREPLY=($(compgen -W 'table csv json' -- \"$cur\")); return ;;\n"
      "    --password-file) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
      "    --type) COMPREPLY=($(compgen -W 'regular join view dialog vendor' -- \"$cur\")); return "
      ";;\n"
      "  esac\n"
      "  case $command in\n");
  std::string names;
  for (const Command& c : commands()) {
    names += std::string(c.name) + " ";
    printf("    %s) COMPREPLY=($(compgen -W '%s --help %s' -- \"$cur\")) ;;\n", c.name, c.options,
           kGlobalOptions);
  }
  printf(
      "    replay) COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n"
      "    '') COMPREPLY=($(compgen -W '%shelp completion %s' -- \"$cur\")) ;;\n"
      "  esac\n"
      "}\n"
      "complete -o default -F _zq zq\n",
      names.c_str(), kGlobalOptions);
}

std::string loginName() {
  if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
  if (const char* user = getenv("USER")) return user;
  return "";
}

// Pulls zq's own options out of args, leaving the command and its arguments.
// Values of flags win over the URL, the URL over the config file.
bool readGlobalOptions(std::vector<std::string>& args, Settings& s, bool& help, bool& version,
                       std::string& error) {
  std::string url, server, user, port, passwordFile, form, format;
  bool noPassword = false;
  std::vector<std::string> rest;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string a = args[i];
    if (optionsEnded) {
      rest.push_back(a);
      continue;
    }
    std::string name = a, value;
    bool inlineValue = false;
    if (a.compare(0, 2, "--") == 0 && a.find('=') != std::string::npos) {
      name = a.substr(0, a.find('='));
      value = a.substr(a.find('=') + 1);
      inlineValue = true;
    }
    struct Valued {
      const char* longName;
      const char* shortName;
      std::string* target;
    };
    const Valued valued[] = {{"--url", nullptr, &url},
                             {"--server", "-s", &server},
                             {"--port", "-p", &port},
                             {"--user", "-U", &user},
                             {"--password-file", nullptr, &passwordFile},
                             {"--form", nullptr, &form},
                             {"--format", "-f", &format}};
    bool matched = false;
    for (const Valued& v : valued) {
      if (name != v.longName && !(v.shortName && name == v.shortName)) continue;
      matched = true;
      if (!inlineValue) {
        if (i + 1 >= args.size()) {
          error = name + " needs a value";
          return false;
        }
        value = args[++i];
      }
      *v.target = value;
    }
    if (matched) continue;
    if (a == "--") {
      optionsEnded = true;
      rest.push_back(a);
    } else if (a == "--no-password" || a == "-w") {
      noPassword = true;
    } else if (a == "--quiet" || a == "-q") {
      s.quiet = true;
    } else if (a == "--help" || a == "-h") {
      help = true;
    } else if (a == "--version" || a == "-V") {
      version = true;
    } else {
      rest.push_back(a);
    }
  }
  args.swap(rest);

  if (url.empty()) url = g_environmentUrl;
  if (url.empty()) url = configValue("url");
  if (format.empty()) format = configValue("format");
  s.user = loginName();
  if (!url.empty()) {
    Url parsed;
    if (!parseUrl(url, parsed, error)) return false;
    s.server = parsed.host;
    if (!parsed.user.empty()) s.user = parsed.user;
    s.port = parsed.port;
    s.form = parsed.form;
    if (parsed.hasPassword) {
      s.password = parsed.password;
      s.passwordGiven = true;
    }
    explicit_bzero(parsed.password.data(), parsed.password.size());
  }
  if (!server.empty()) s.server = server;
  if (!user.empty()) s.user = user;
  if (!form.empty()) s.form = form;
  if (!port.empty()) {
    long long n = 0;
    if (!parseNumber(port, 1, 65535, n)) {
      error = "--port " + port + ": expected a port number from 1 to 65535";
      return false;
    }
    s.port = static_cast<int>(n);
  }
  if (!passwordFile.empty()) {
    if (!readFirstLine(passwordFile, s.password, error)) return false;
    s.passwordGiven = true;
  }
  s.prompt = !noPassword;
  if (format == "table" || format.empty()) {
    s.format = Format::Table;
  } else if (format == "csv") {
    s.format = Format::Csv;
  } else if (format == "json") {
    s.format = Format::Json;
  } else {
    error = "--format " + format + ": expected table, csv or json";
    return false;
  }
  return true;
}

int runMain(std::vector<std::string> args) {
  Settings settings;
  bool help = false, version = false;
  std::string error;
  if (!readGlobalOptions(args, settings, help, version, error)) {
    complain(error);
    return kExitError;
  }
  if (version) {
    char text[] = ZQ_LIBRARY_VERSION;
    printf("zq %s (library %s)\n", ZQ_LIBRARY_VERSION, ZQFormatVersionString(text));
    return kExitOk;
  }
  if (!args.empty() && args[0] == "help") {
    args.erase(args.begin());
    help = true;
    if (args.empty()) {
      printUsage(stdout);
      return kExitOk;
    }
  }
  if (args.empty()) {
    if (help) {
      printUsage(stdout);
      return kExitOk;
    }
    printUsage(stderr);
    return kExitError;
  }
  if (args[0] == "completion") {
    if (args.size() != 2 || args[1] != "bash") {
      complain("completion knows bash only: zq completion bash");
      return kExitError;
    }
    printCompletion();
    return kExitOk;
  }
  const Command* command = findCommand(args[0]);
  if (!command) {
    complain("unknown command '" + args[0] + "' (see zq --help)");
    return kExitError;
  }
  if (help) {
    printCommandHelp(*command);
    return kExitOk;
  }
  args.erase(args.begin());
  Session session(std::move(settings));
  if (command->connects && !session.open()) return session.exitStatus();
  command->run(session, args);
  return session.exitStatus();
}

}  // namespace
}  // namespace zqcli

int main(int argc, char** argv) {
  // The arguments are copied, then the passwords in them are overwritten,
  // so that the process listing never shows one.
  std::vector<std::string> args(argv + 1, argv + argc);
  if (const char* url = getenv("ZQ_URL")) zqcli::g_environmentUrl = url;
  zqcli::hidePasswords(argc, argv);
  // A closed pipe (zq query ... | head) ends the output quietly; the session
  // still ends cleanly.
  signal(SIGPIPE, SIG_IGN);
  const int status = zqcli::runMain(std::move(args));
  if (zqcli::outputBroken()) return zqcli::kExitOk;
  return status;
}
