// zqserverd's option parser: every numeric value is checked, and a bad one
// is refused with a reason instead of turning into 0 or a wrapped number.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"

namespace {

struct Parsed {
  bool ok = false;
  std::string error;
  zqserver::CommandLine line;
};

Parsed parse(std::vector<std::string> args) {
  args.insert(args.begin(), "zqserverd");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  Parsed p;
  p.ok = zqserver::parseCommandLine(static_cast<int>(args.size()), argv.data(), p.line, p.error);
  return p;
}

}  // namespace

TEST(ServerCommandLine, RefusesBadValuesWithAReason) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{"--port", "abc"}, "--port abc: expected a port number from 0 to 65535"},
      {{"--port", "70000"}, "--port 70000: expected a port number"},
      {{"--port", "-1"}, "--port -1: expected"},
      {{"--port", "+80"}, "--port +80: expected"},
      {{"--port", " 80"}, "--port  80: expected"},
      {{"--port", "80x"}, "--port 80x: expected"},
      {{"--port="}, "--port : expected"},
      {{"--port", "18446744073709551617"}, "--port 18446744073709551617: expected"},
      {{"--versions", "6-14"}, "--versions 6-14: expected N or A-B within 7-14"},
      {{"--versions", "7-15"}, "--versions 7-15: expected"},
      {{"--versions", "12-8"}, "--versions 12-8: expected"},
      {{"--versions", "7-"}, "--versions 7-: expected"},
      {{"--versions", "7-14x"}, "--versions 7-14x: expected"},
      {{"--program", "0"}, "--program 0: expected a program number from 1 to 4294967295"},
      {{"--program", "4294967296"}, "--program 4294967296: expected"},
      {{"--setting", "246"}, "--setting 246: expected N=VALUE"},
      {{"--setting", "x=1"}, "--setting x=1: expected N=VALUE"},
      {{"--setting", "0=1"}, "--setting 0=1: expected N=VALUE"},
      {{"--setting", "246=int:2147483648"}, "--setting 246=int:2147483648: expected int:NUMBER"},
      {{"--setting", "246=int:"}, "--setting 246=int:: expected int:NUMBER"},
      {{"--refuse-setting", "0"}, "--refuse-setting 0: expected a setting number"},
      {{"--refuse-setting", "seven"}, "--refuse-setting seven: expected"},
      {{"--security", "maybe"}, "--security maybe: expected optional, required or disabled"},
      {{"--form", "Tickets:0:char"}, "--form Tickets:0:char: field id '0'"},
      {{"--form", "Tickets:536870913:4294967296"}, "data type '4294967296' is out of range"},
      {{"--form", ":536870913:char"}, "the form name is missing"},
      {{"--port"}, "--port needs a value"},
      {{"--verbose=1"}, "--verbose=1: this option takes no value"},
      {{"--bogus"}, "unknown or ambiguous option --bogus"},
      {{"--port", "9000", "extra"}, "unexpected argument extra"},
      {{"--sql-row-limit", "0"}, "--sql-row-limit 0: expected a number from 1"},
      {{"--sql-time-limit", "soon"}, "--sql-time-limit soon: expected"},
      {{"--process-time-limit", "-5"}, "--process-time-limit -5: expected"},
      {{"--process-output-limit", "4294967296"}, "--process-output-limit 4294967296: expected"},
      {{"--process-dir", "bin"}, "--process-dir bin: expected an absolute directory"},
      {{"--menu-dir", "menus"}, "--menu-dir menus: expected an absolute directory"},
      {{"--access-key-file", "/nonexistent/key"}, "--access-key-file /nonexistent/key: cannot"},
      {{"--workflow-password-file", "/dev/null"}, "first line is empty"},
      {{"--listen", "127.0.0.1"}, "--listen 127.0.0.1: expected ADDRESS:PORT"},
      {{"--listen", "127.0.0.1:65536"}, "--listen 127.0.0.1:65536: expected ADDRESS:PORT"},
      {{"--listen", "127.0.0.1:"}, "--listen 127.0.0.1:: expected ADDRESS:PORT"},
      {{"--log="}, "--log needs a file name"},
      {{"--workers", "0"}, "--workers 0: expected a number from 1"},
      {{"--workers", "5000"}, "--workers 5000: expected at most 1024 workers"},
      {{"--queue-limit", "many"}, "--queue-limit many: expected"},
      {{"--max-record-size", "3000000000"}, "--max-record-size 3000000000: expected at most"},
      {{"--record-time-limit", "0"}, "--record-time-limit 0: expected"},
      {{"--idle-time-limit", "-1"}, "--idle-time-limit -1: expected"},
      {{"--max-connections", ""}, "--max-connections : expected"},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.args);
    EXPECT_FALSE(p.ok) << c.reason;
    EXPECT_NE(p.error.find(c.reason), std::string::npos) << p.error;
  }
}

TEST(ServerCommandLine, ReadsGoodValues) {
  Parsed p = parse({"--port",
                    "65535",
                    "--versions=8-12",
                    "--program",
                    "4294967295",
                    "--setting",
                    "246=int:-2147483648",
                    "--setting",
                    "4=7.5.00 Patch 004",
                    "--refuse-setting",
                    "55",
                    "--security",
                    "required",
                    "--form",
                    "Tickets:536870913:char:Title",
                    "--form",
                    "Other:536870914:4",
                    "--host",
                    "0.0.0.0",
                    "--rpcbind",
                    "--verbose"});
  ASSERT_TRUE(p.ok) << p.error;
  const zqserver::Options& o = p.line.options;
  EXPECT_EQ(o.port, 65535);
  EXPECT_EQ(o.minVersion, 8);
  EXPECT_EQ(o.maxVersion, 12);
  EXPECT_EQ(o.programs, std::vector<uint32_t>{4294967295u});
  EXPECT_EQ(std::get<int32_t>(o.settings.at(246)), INT32_MIN);
  EXPECT_EQ(std::get<std::string>(o.settings.at(4)), "7.5.00 Patch 004");
  EXPECT_EQ(o.refusedSetting, 55u);
  EXPECT_EQ(o.securityPolicy, 1);
  EXPECT_EQ(p.line.forms,
            (std::vector<std::string>{"Tickets:536870913:char:Title", "Other:536870914:4"}));
  EXPECT_EQ(o.host, "0.0.0.0");
  EXPECT_TRUE(o.useRpcbind);
  EXPECT_TRUE(o.verbose);
  EXPECT_FALSE(p.line.help);

  // Port 0 (any free port) and a single version are values of their own.
  p = parse({"--port", "0", "--versions", "9"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.line.options.port, 0);
  EXPECT_EQ(p.line.options.minVersion, 9);
  EXPECT_EQ(p.line.options.maxVersion, 9);

  // The SQL and process limits, and secrets read from files (never from
  // the command line, where the process list would show them).
  const std::string keyFile = ::testing::TempDir() + "zq-key-" + std::to_string(getpid());
  FILE* f = fopen(keyFile.c_str(), "w");
  ASSERT_TRUE(f);
  fputs("s3cret key\nsecond line\n", f);
  fclose(f);
  p = parse({"--allow-sql-write", "--sql-row-limit", "5", "--sql-time-limit", "250",
             "--process-dir", "/opt/zq/bin", "--menu-dir", "/opt/zq/menus", "--process-time-limit",
             "1000", "--process-output-limit", "4096", "--access-key-file", keyFile,
             "--workflow-server", "other", "--workflow-password-file", keyFile});
  unlink(keyFile.c_str());
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.line.options.allowSqlWrite);
  EXPECT_EQ(p.line.options.sqlRowLimit, 5u);
  EXPECT_EQ(p.line.options.sqlTimeLimitMs, 250u);
  EXPECT_EQ(p.line.options.processDirectory, "/opt/zq/bin");
  EXPECT_EQ(p.line.options.menuDirectory, "/opt/zq/menus");
  EXPECT_EQ(p.line.options.processTimeLimitMs, 1000u);
  EXPECT_EQ(p.line.options.processOutputLimit, 4096u);
  EXPECT_EQ(p.line.options.accessKey, "s3cret key");
  EXPECT_EQ(p.line.options.workflowServer, "other");
  EXPECT_EQ(p.line.options.workflowPassword, "s3cret key");
  p = parse({"--workers", "3", "--queue-limit", "7", "--max-record-size", "1048576",
             "--record-time-limit", "1500", "--idle-time-limit", "60000", "--max-connections",
             "900"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.line.options.workers, 3u);
  EXPECT_EQ(p.line.options.queueLimit, 7u);
  EXPECT_EQ(p.line.options.limits.maxRecordSize, 1048576u);
  EXPECT_EQ(p.line.options.limits.recordTimeoutMs, 1500u);
  EXPECT_EQ(p.line.options.limits.idleTimeoutMs, 60000u);
  EXPECT_EQ(p.line.options.limits.maxConnections, 900u);
  // The service options: --listen sets address and port together, ":PORT"
  // keeps the address; --database is --db.
  p = parse({"--listen", "0.0.0.0:9000", "--database", "/var/lib/zq/store.db", "--log", "zq.log"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.line.options.host, "0.0.0.0");
  EXPECT_EQ(p.line.options.port, 9000);
  EXPECT_EQ(p.line.options.database, "/var/lib/zq/store.db");
  EXPECT_EQ(p.line.logFile, "zq.log");
  p = parse({"--host", "127.0.0.2", "--listen", ":0"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.line.options.host, "127.0.0.2");
  EXPECT_EQ(p.line.options.port, 0);

  // --help stops the parse, whatever follows.
  p = parse({"--help", "--port", "abc"});
  EXPECT_TRUE(p.ok);
  EXPECT_TRUE(p.line.help);
}
