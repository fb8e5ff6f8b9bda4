// zq end to end: each command against zqserverd on loopback, its output in
// every format, its errors and exit status, the progress bar and passwords.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include "entry_store.h"
#include "run_program.h"
#include "support/server_fixture.h"
#include "support/program_dir.h"

namespace {

using zqtest::RunOptions;
using zqtest::runProgram;
using zqtest::RunResult;

constexpr ZQInternalId kTitle = 536870913, kPriority = 536870914, kNotes = 536870915;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

size_t lineCount(const std::string& text) {
  size_t n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

class Zq : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kPriority, ZQ_DATA_TYPE_INTEGER, "Priority"},
                                            {kNotes, ZQ_DATA_TYPE_ATTACH, "Notes"}})
                    .ok());
    char pattern[] = "/tmp/zqcli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    url_ = "zq://demo@127.0.0.1:" + std::to_string(server_->port());
  }
  void TearDown() override {
    std::string command = "rm -rf '" + dir_ + "'";
    if (!dir_.empty() && system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir_;
    ServerTest::TearDown();
  }

  RunResult zq(std::vector<std::string> args, RunOptions options = {}) {
    args.insert(args.begin(), zqtest::programDir() + "/zq");
    options.env.push_back("ZQ_CONFIG=" + dir_ + "/no-config");
    if (options.cwd.empty()) options.cwd = dir_;
    return runProgram(args, options);
  }

  // Three tickets, created through zq itself.
  void createTickets() {
    const char* titles[] = {"Printer jams", "VPN drops", "Badge reader"};
    for (int i = 0; i < 3; ++i) {
      RunResult r =
          zq({"--url", url_, "create", "Tickets", std::to_string(kTitle) + "=" + titles[i],
              std::to_string(kPriority) + "=" + std::to_string(i + 1)});
      ASSERT_EQ(r.exitStatus, 0) << r.err;
    }
  }

  std::string dir_, url_;
};

TEST_F(Zq, CreateGetSetDeleteInEveryFormat) {
  RunResult created =
      zq({"--url", url_ + "/Tickets", "create", "536870913=Printer, \"floor 3\"", "536870914=2"});
  EXPECT_EQ(created.exitStatus, 0) << created.err;
  EXPECT_EQ(created.out, "id\n---------------\n000000000000001\n");
  EXPECT_EQ(created.err, "");

  const std::vector<std::string> get = {
      "--url", url_, "get", "Tickets", "000000000000001", "--fields", "536870913,536870914,4"};
  struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"table",
       "field      value\n"
       "---------  ------------------\n"
       "536870913  Printer, \"floor 3\"\n"
       "536870914  2\n"
       "4          \n"},
      {"csv",
       "\"field\",\"value\"\r\n"
       "\"536870913\",\"Printer, \"\"floor 3\"\"\"\r\n"
       "\"536870914\",\"2\"\r\n"
       "\"4\",\"\"\r\n"},
      {"json", "[\n  {\"536870913\":\"Printer, \\\"floor 3\\\"\",\"536870914\":2,\"4\":null}\n]\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = get;
    args.insert(args.end(), {"--format", c.format});
    RunResult r = zq(args);
    EXPECT_EQ(r.exitStatus, 0) << c.format << ": " << r.err;
    EXPECT_EQ(r.out, c.expected) << c.format;
  }

  RunResult set =
      zq({"--url", url_, "set", "Tickets", "000000000000001", "536870914=5", "536870913:char=042"});
  EXPECT_EQ(set.exitStatus, 0) << set.err;
  RunResult after = zq({"-f", "csv", "--url", url_, "get", "Tickets", "000000000000001", "--fields",
                        "536870913,536870914"});
  EXPECT_EQ(after.out, "\"field\",\"value\"\r\n\"536870913\",\"042\"\r\n\"536870914\",\"5\"\r\n");

  RunResult deleted = zq({"--url", url_, "delete", "Tickets", "000000000000001"});
  EXPECT_EQ(deleted.exitStatus, 0) << deleted.err;
  RunResult gone = zq({"--url", url_, "get", "Tickets", "000000000000001"});
  EXPECT_EQ(gone.exitStatus, 2);
  EXPECT_EQ(gone.out, "");
  EXPECT_EQ(gone.err, "zq: error 302: Entry does not exist in the database: 000000000000001\n");
}

TEST_F(Zq, QueryWithQualificationSortAndLimit) {
  createTickets();
  // Priority >= 2, highest first; then the same with a limit of one.
  const std::string atLeast2 = "4\\3\\1\\536870914\\2\\2\\2\\";
  RunResult csv = zq({"--url", url_, "-f", "csv", "query", "Tickets", atLeast2, "--fields",
                      "536870913,536870914", "--sort", "536870914:desc"});
  EXPECT_EQ(csv.exitStatus, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "\"id\",\"536870913\",\"536870914\"\r\n"
            "\"000000000000003\",\"Badge reader\",\"3\"\r\n"
            "\"000000000000002\",\"VPN drops\",\"2\"\r\n");
  RunResult table = zq({"--url", url_ + "/Tickets", "query", atLeast2, "--fields", "536870913",
                        "--sort", "536870914:desc", "--limit", "1"});
  EXPECT_EQ(table.out,
            "id               536870913\n"
            "---------------  ------------\n"
            "000000000000003  Badge reader\n");
  // In chunks of one entry, skipping the first match: the same rows as one call.
  RunResult json = zq({"--url", url_, "-f", "json", "query", "Tickets", "--fields", "536870914",
                       "--sort", "1", "--first", "1", "--chunk", "1"});
  EXPECT_EQ(json.out,
            "[\n  {\"id\":\"000000000000002\",\"536870914\":2},\n"
            "  {\"id\":\"000000000000003\",\"536870914\":3}\n]\n");
  RunResult none =
      zq({"--url", url_, "-f", "json", "query", "Tickets", "4\\1\\1\\536870914\\2\\2\\9\\"});
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_EQ(none.out, "[]\n");
}

// The qualification language names fields by name or id; the encoded form
// of the earlier releases still reads the same.
TEST_F(Zq, QueryWithTheQualificationLanguage) {
  createTickets();
  struct {
    const char* qualification;
    const char* expected;
  } cases[] = {
      {"'Priority' >= 2",
       "\"id\",\"536870913\"\r\n\"000000000000003\",\"Badge reader\"\r\n"
       "\"000000000000002\",\"VPN drops\"\r\n"},
      {"'Title' LIKE \"%r%\" AND NOT '536870914' = 3",
       "\"id\",\"536870913\"\r\n\"000000000000002\",\"VPN drops\"\r\n"
       "\"000000000000001\",\"Printer jams\"\r\n"},
      {"('Priority' = 1 OR 'Priority' = 3) AND 'Priority' * 2 > 4",
       "\"id\",\"536870913\"\r\n\"000000000000003\",\"Badge reader\"\r\n"},
      {"'Title' = \"Nothing like it\"", "\"id\",\"536870913\"\r\n"},
      {"4\\3\\1\\536870914\\2\\2\\2\\",
       "\"id\",\"536870913\"\r\n\"000000000000003\",\"Badge reader\"\r\n"
       "\"000000000000002\",\"VPN drops\"\r\n"},
  };
  for (const auto& c : cases) {
    RunResult r = zq({"--url", url_, "-f", "csv", "query", "Tickets", c.qualification, "--fields",
                      "536870913", "--sort", "536870914:desc"});
    EXPECT_EQ(r.exitStatus, 0) << c.qualification << ": " << r.err;
    EXPECT_EQ(r.out, c.expected) << c.qualification;
  }
}

TEST_F(Zq, FormsAndFields) {
  zqserver::EntryStore store(server_->store());
  ASSERT_TRUE(store.createForm("Assets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Tag"}}).ok());
  RunResult forms = zq({"--url", url_, "-f", "csv", "forms"});
  EXPECT_EQ(forms.exitStatus, 0) << forms.err;
  EXPECT_EQ(forms.out, "\"form\"\r\n\"Assets\"\r\n\"Tickets\"\r\n");
  RunResult json = zq({"--url", url_, "-f", "json", "forms", "--type", "regular"});
  EXPECT_EQ(json.out, "[\n  {\"form\":\"Assets\"},\n  {\"form\":\"Tickets\"}\n]\n");
  EXPECT_EQ(zq({"--url", url_, "-f", "csv", "forms", "--type", "join"}).out, "\"form\"\r\n");

  RunResult fields = zq({"--url", url_ + "/Tickets", "fields"});
  EXPECT_EQ(fields.exitStatus, 0) << fields.err;
  EXPECT_EQ(fields.out,
            "id         name               type     option\n"
            "---------  -----------------  -------  --------\n"
            "1          Request ID         char     system\n"
            "2          Submitter          char     optional\n"
            "3          Create Date        time     optional\n"
            "4          Assigned To        char     optional\n"
            "5          Last Modified By   char     optional\n"
            "6          Modified Date      time     optional\n"
            "7          Status             enum     optional\n"
            "8          Short Description  char     optional\n"
            "15         Status History     char     optional\n"
            "536870913  Title              char     optional\n"
            "536870914  Priority           integer  optional\n"
            "536870915  Notes              attach   optional\n");
  RunResult fieldsJson = zq({"--url", url_, "-f", "json", "fields", "Assets"});
  EXPECT_EQ(
      fieldsJson.out.rfind(
          "[\n  {\"id\":1,\"name\":\"Request ID\",\"type\":\"char\",\"option\":\"system\"},\n", 0),
      0u)
      << fieldsJson.out;
  EXPECT_NE(
      fieldsJson.out.find(
          ",\n  "
          "{\"id\":536870913,\"name\":\"Tag\",\"type\":\"char\",\"option\":\"optional\"}\n]\n"),
      std::string::npos)
      << fieldsJson.out;
}

// An export read back by import recreates the form it held.
TEST_F(Zq, ExportAndImportThroughAFile) {
  RunResult exported = zq({"--url", url_, "export", "Tickets"});
  ASSERT_EQ(exported.exitStatus, 0) << exported.err;
  EXPECT_EQ(exported.err, "");
  EXPECT_NE(exported.out.find("Tickets"), std::string::npos) << exported.out;
  std::ofstream(dir_ + "/tickets.def", std::ios::binary) << exported.out;
  zqtest::Status s;
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  ASSERT_EQ(zq({"--url", url_, "-f", "csv", "forms"}).out, "\"form\"\r\n");

  RunOptions terminal;
  terminal.stderrTerminal = true;
  RunResult imported = zq({"--url", url_, "import", "tickets.def"}, terminal);
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_NE(imported.err.find("importing tickets.def ["), std::string::npos) << imported.err;
  EXPECT_NE(imported.err.find("100% 1/1"), std::string::npos) << imported.err;
  EXPECT_EQ(zq({"--url", url_, "-f", "csv", "forms"}).out, "\"form\"\r\n\"Tickets\"\r\n");
  // In a pipe no bar; the form exists now, so --no-overwrite refuses.
  RunResult again = zq({"--url", url_, "import", "tickets.def", "form:Tickets", "--no-overwrite"});
  EXPECT_EQ(again.exitStatus, 2);
  EXPECT_EQ(again.err.find("importing"), std::string::npos) << again.err;
  EXPECT_EQ(lineCount(again.err), 1u) << again.err;
  // The same text again, replacing the form, from standard input.
  RunResult replaced = zq({"--url", url_, "import", "-"}, [&] {
    RunOptions o;
    o.stdinFile = dir_ + "/tickets.def";
    return o;
  }());
  EXPECT_EQ(replaced.exitStatus, 0) << replaced.err;
}

// zq alerts listen prints what arrives; --count or SIGINT end it, and the
// registration is gone afterwards.
class ZqAlerts : public Zq {
 protected:
  std::vector<std::string> alertUsers() {
    ZQAccessNameList users{0, nullptr};
    zqtest::Status s;
    EXPECT_EQ(ZQGetListAlertUser(&control_, &users, s.fresh()), 0);
    std::vector<std::string> out(users.items, users.items + users.count);
    FreeZQAccessNameList(&users, 0);
    return out;
  }
  // Waits until zq has registered, then creates an alert for it, or, with
  // interrupt, sends it SIGINT instead.
  struct Sender {
    ZqAlerts* test;
    bool interrupt;
    bool registered = false;
  };
  static void send(int pid, void* data) {
    auto* sender = static_cast<Sender*>(data);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sender->test->alertUsers().empty() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sender->registered = !sender->test->alertUsers().empty();
    if (sender->interrupt) {
      kill(pid, SIGINT);
      return;
    }
    zqtest::Status s;
    ZQCreateAlertEvent(&sender->test->control_, "demo", "Disk full, \"rack 4\"", 7, "tag", "srv",
                       "Tickets", "000000000000042", nullptr, s.fresh());
  }
  RunResult listen(std::vector<std::string> args, bool interrupt) {
    Sender sender{this, interrupt};
    RunOptions options;
    options.whileRunning = send;
    options.data = &sender;
    args.insert(args.begin(), {"--url", url_});
    RunResult r = zq(args, options);
    EXPECT_TRUE(sender.registered);
    EXPECT_TRUE(alertUsers().empty()) << "still registered";
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r;
  }
};

TEST_F(ZqAlerts, ListenPrintsAlertsUntilCountOrInterrupt) {
  // 2026-12-11T01:40:00Z  priority 7  Tickets 000000000000042  Disk full, "rack 4"
  const std::string line = "  priority 7  Tickets 000000000000042  Disk full, \"rack 4\"\n";
  RunResult table = listen({"alerts", "listen", "--count", "1"}, false);
  EXPECT_EQ(table.out.size(), 20 + line.size()) << table.out;
  EXPECT_EQ(table.out.find("Z" + line), 19u) << table.out;

  RunResult json = listen({"-f", "json", "alerts", "listen", "--count", "1"}, false);
  EXPECT_EQ(json.out.rfind("[\n  {\"time\":\"", 0), 0u) << json.out;
  EXPECT_NE(
      json.out.find(
          "Z\",\"priority\":7,\"form\":\"Tickets\",\"entry\":\"000000000000042\","
          "\"source\":\"tag\",\"server\":\"srv\",\"text\":\"Disk full, \\\"rack 4\\\"\"}\n]\n"),
      std::string::npos)
      << json.out;

  // SIGINT ends the listening cleanly: the JSON array is closed.
  EXPECT_EQ(listen({"-f", "json", "alerts", "listen"}, true).out, "[]\n");
}

TEST_F(Zq, InfoShowsTheServerSettings) {
  RunResult r = zq({"--url", url_, "-f", "csv", "info", "4", "246"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out,
            "\"setting\",\"name\",\"value\"\r\n"
            "\"4\",\"server version\",\"7.5.00 Patch 004\"\r\n"
            "\"246\",\"argument limit\",\"0\"\r\n");
}

TEST_F(Zq, AttachmentsToAndFromFiles) {
  const std::string source = dir_ + "/notes.bin";
  std::string content;
  for (int i = 0; i < 5000; ++i) content += static_cast<char>(i * 7);
  std::ofstream(source, std::ios::binary) << content;
  RunResult created = zq(
      {"--url", url_, "create", "Tickets", "536870913=With notes", "536870915:attach=" + source});
  ASSERT_EQ(created.exitStatus, 0) << created.err;
  RunResult got = zq({"--url", url_, "get", "Tickets", "000000000000001", "--fields", "536870915",
                      "--save", "536870915=" + dir_ + "/copy.bin"});
  EXPECT_EQ(got.exitStatus, 0) << got.err;
  EXPECT_NE(got.out.find("notes.bin (5000 bytes)"), std::string::npos) << got.out;
  EXPECT_EQ(readFile(dir_ + "/copy.bin"), content);
}

// Bad input: one line naming what was wrong, and a non-zero exit.
TEST_F(Zq, BadInputGivesOneLineAndAnErrorStatus) {
  struct {
    std::vector<std::string> args;
    const char* expected;  // the whole stderr
  } cases[] = {
      {{"--url", "http://x", "info"},
       "zq: bad URL 'http://x': expected zq://user[:password]@host[:port][/form]\n"},
      {{"--url", "zq://demo:pw@host:0", "info"},
       "zq: bad URL 'zq://demo:***@host:0': the port must be a number from 1 to 65535\n"},
      {{"--url", "URL", "get", "Nope", "1"},
       "zq: error 303: Form does not exist on the server: Nope\n"},
      {{"--url", "URL", "query", "Tickets", "4\\1\\1\\"},
       "zq: error 402: The qualification or assignment text is malformed: "},
      {{"--url", "URL", "create", "Tickets", "536870914:integer=abc"},
       "zq: '536870914:integer=abc': not a whole number from -2147483648 to 2147483647\n"},
      {{"--url", "URL", "create", "Tickets", "536870913=1"},
       "zq: error 306: The value does not match the data type of the field: 536870913\n"},
      {{"--url", "URL", "create", "Tickets", "536870913:colour=red"},
       "zq: '536870913:colour=red': unknown type 'colour'"},
      {{"--url", "URL", "-f", "xml", "info"}, "zq: --format xml: expected table, csv or json\n"},
      {{"--url", "URL", "query", "Tickets", "--limit", "-1"},
       "zq: --limit -1: expected a number of entries\n"},
      {{"--url", "URL", "frobnicate"}, "zq: unknown command 'frobnicate' (see zq --help)\n"},
      {{"--url", "URL", "get", "Tickets", "1", "--colour"}, "zq: unknown option --colour\n"},
      // The qualification language: where reading stopped, on one line.
      {{"--url", "URL", "query", "Tickets", "'Title' = \"abc"},
       "zq: error 1580: Quoted text is not closed: position 10"},
      {{"--url", "URL", "query", "Tickets", "'Colour' = 1"}, "zq: error 1587: Unknown field"},
      {{"--url", "URL", "query", "Nope", "'Title' = 1"}, "zq: error 303: "},
      {{"--url", "URL", "query", "Tickets", "'Title' = = 1"}, "zq: error 158"},
      {{"--url", "URL", "fields", "Nope"},
       "zq: error 303: Form does not exist on the server: Nope\n"},
      {{"--url", "URL", "forms", "--type", "odd"},
       "zq: --type odd: expected regular, join, view, dialog or vendor\n"},
      {{"--url", "URL", "export", "Nope"}, "zq: error 303: "},
      {{"--url", "URL", "export"}, "zq: export needs at least one ITEM (see zq export --help)\n"},
      {{"--url", "URL", "import", "no-such.def"},
       "zq: cannot read no-such.def: No such file or directory\n"},
      {{"--url", "URL", "import", "garbage.def"}, "zq: error "},
      {{"--url", "URL", "import", "nul.def"},
       "zq: nul.def is not an export text: it holds a NUL byte\n"},
      {{"--url", "URL", "alerts"},
       "zq: alerts knows one action: zq alerts listen (see zq alerts --help)\n"},
      {{"--url", "URL", "alerts", "listen", "--count", "0"},
       "zq: --count 0: expected a number of alerts\n"},
  };
  std::ofstream(dir_ + "/garbage.def") << "this is no export\n";
  std::ofstream(dir_ + "/nul.def", std::ios::binary) << std::string("begin\0end", 9);
  for (auto& c : cases) {
    for (std::string& a : c.args)
      if (a == "URL") a = url_;
    RunResult r = zq(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.expected;
    EXPECT_EQ(r.err.rfind(c.expected, 0), 0u) << r.err;
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    EXPECT_EQ(r.out, "") << c.expected;
  }
}

TEST_F(Zq, ProgressBarOnATerminalOnly) {
  createTickets();
  const std::vector<std::string> args = {"--url",   url_, "query",    "Tickets",
                                         "--chunk", "1",  "--fields", "1"};
  RunOptions terminal;
  terminal.stderrTerminal = true;
  RunResult shown = zq(args, terminal);
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_NE(shown.err.find("query Tickets ["), std::string::npos) << shown.err;
  EXPECT_NE(shown.err.find("100% 3/3"), std::string::npos) << shown.err;
  RunResult piped = zq(args);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out, shown.out);
  RunOptions quietTerminal;
  quietTerminal.stderrTerminal = true;
  std::vector<std::string> quietArgs = args;
  quietArgs.push_back("--quiet");
  EXPECT_EQ(zq(quietArgs, quietTerminal).err, "");
}

TEST_F(Zq, BrokenPipeEndsQuietly) {
  createTickets();
  RunOptions closed;
  closed.closeStdoutAtOnce = true;
  for (const char* format : {"csv", "table", "json"}) {
    RunResult r = zq({"--url", url_, "-f", format, "query", "Tickets", "--chunk", "1"}, closed);
    EXPECT_EQ(r.exitStatus, 0) << format;
    EXPECT_EQ(r.err, "") << format;
  }
}

// The password of a URL shows neither in the process's arguments and
// environment once zq runs, nor in the command, result and crypto trace logs
// (every trace bit but 0x200, the one that asks for passwords in the clear).
TEST_F(Zq, PasswordNeverShows) {
  const std::string secret = "s3cretPw";
  const std::string withPassword =
      "zq://demo:" + secret + "@127.0.0.1:" + std::to_string(server_->port());
  server_->faults().delayMs = 600;
  server_->faults().delayCalls = 3;
  struct Seen {
    std::string cmdline, environ;
  } seen;
  RunOptions options;
  options.env = {"ZQAPILOGGING=1", "ZQ_URL=" + withPassword,
                 "ZQCRYPTOTRACE=" + dir_ + "/crypto.log", "ZQCRYPTOTRACELEVEL=0xfffffdff"};
  options.data = &seen;
  options.whileRunning = [](int pid, void* data) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // zq is started and waiting
    auto* s = static_cast<Seen*>(data);
    s->cmdline = readFile("/proc/" + std::to_string(pid) + "/cmdline");
    s->environ = readFile("/proc/" + std::to_string(pid) + "/environ");
  };
  RunResult r = zq({"--url", withPassword, "info", "4"}, options);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_NE(seen.cmdline.find("zq://demo"), std::string::npos) << "read too late";
  EXPECT_EQ(seen.cmdline.find(secret), std::string::npos);
  EXPECT_NE(seen.environ.find("ZQ_URL=zq://demo"), std::string::npos);
  EXPECT_EQ(seen.environ.find(secret), std::string::npos);
  const std::string commands = readFile(dir_ + "/zqapicmd.log");
  const std::string results = readFile(dir_ + "/zqapires.log");
  EXPECT_NE(commands.find("gsi"), std::string::npos) << "no command log written";
  EXPECT_EQ(commands.find(secret), std::string::npos);
  EXPECT_EQ(results.find(secret), std::string::npos);
  const std::string trace = readFile(dir_ + "/crypto.log");
  EXPECT_NE(trace.find("EncryptData: plain"), std::string::npos) << "no crypto trace written";
  EXPECT_EQ(trace.find(secret), std::string::npos);
  EXPECT_EQ(r.out.find(secret), std::string::npos);
  EXPECT_EQ(r.err.find(secret), std::string::npos);
}

TEST_F(Zq, ReplayChecksAndPlaysACommandLog) {
  RunOptions logging;
  logging.env = {"ZQAPILOGGING=1"};
  ASSERT_EQ(zq({"--url", url_, "info", "4"}, logging).exitStatus, 0);
  RunResult summary = zq({"replay", "zqapicmd.log"});
  EXPECT_EQ(summary.exitStatus, 0) << summary.err;
  EXPECT_NE(summary.out.find("zqapicmd.log:"), std::string::npos) << summary.out;
  RunResult played = zq({"--url", url_, "replay", "--run", "--no-wait", "zqapicmd.log"});
  EXPECT_EQ(played.exitStatus, 0) << played.err;
  EXPECT_NE(played.out.find("gsi    rc 0"), std::string::npos) << played.out;
  RunResult missing = zq({"replay", "no-such.log"});
  EXPECT_EQ(missing.exitStatus, 1);
}

TEST_F(Zq, HelpAndCompletion) {
  RunResult help = zq({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  const std::vector<const char*> all = {"info",   "get",   "create", "set",    "delete", "query",
                                        "replay", "forms", "fields", "export", "import", "alerts"};
  for (const char* command : all)
    EXPECT_NE(help.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  for (const char* command : all) {
    RunResult r = zq({command, "--help"});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out.rfind(std::string("usage: zq ") + command + " ", 0), 0u) << r.out;
  }
  // The completion script completes commands and a command's options in bash.
  RunResult script = zq({"completion", "bash"});
  ASSERT_EQ(script.exitStatus, 0);
  std::ofstream(dir_ + "/zq.bash") << script.out;
  RunResult completed =
      runProgram({"/bin/bash", "-c",
                  "source " + dir_ +
                      "/zq.bash; COMP_WORDS=(zq qu); COMP_CWORD=1; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq query Tickets --li); COMP_CWORD=3; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq -f j); COMP_CWORD=2; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq al); COMP_CWORD=1; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq alerts l); COMP_CWORD=2; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq import x --no); COMP_CWORD=3; _zq; echo ${COMPREPLY[@]};"
                      "COMP_WORDS=(zq forms --type j); COMP_CWORD=3; _zq; echo ${COMPREPLY[@]}"});
  EXPECT_EQ(completed.out,
            "query\n--limit\njson\nalerts\nlisten\n--no-overwrite --no-password\njoin\n")
      << completed.err;
  EXPECT_EQ(zq({}).exitStatus, 2);
}

}  // namespace
