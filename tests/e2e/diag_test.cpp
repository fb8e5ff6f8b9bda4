// The trace log, the recording and the server-log capture against zqserverd:
// sessions of real calls and the files they leave behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "frame/env.h"
#include "support/server_fixture.h"
#include "support/program_dir.h"

using zqtest::ScopedEnv;
using zqtest::Status;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Everything of a result log but the clock: timing lines become their labels.
[[maybe_unused]] std::string withoutTimes(const std::string& log) {
  static const std::regex kStamps(
      "(Start Time: +|Finish Time: +)[0-9]+\\.[0-9]{6} \\([A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} "
      "[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\\)\n");
  static const std::regex kElapsed("Elapsed Time:  [0-9]+\\.[0-9]{6}\n");
  std::string out = std::regex_replace(log, kStamps, "$1<time>\n");
  out = std::regex_replace(out, std::regex("(Start|Finish) Time: +<time>"), "$1 Time:<time>");
  return std::regex_replace(out, kElapsed, "Elapsed Time:<time>\n");
}

[[maybe_unused]] std::string clatFree(const std::string& log) {
  static const std::regex kClat(
      "<CLAT> /\\* [A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\\."
      "[0-9]{4} \\*/");
  return std::regex_replace(log, kClat, "<CLAT>");
}

}  // namespace

// Each test runs in a folder of its own, so that default file names land there.
class Diag : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    char pattern[] = "/tmp/zqdiag-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(getcwd(oldDir_, sizeof oldDir_), oldDir_);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    zq::testing::resetLogFileCounter();
  }
  void TearDown() override {
    for (ZQControlStruct* c : sessions_) {
      Status s;
      ZQTermination(c, &s);
      delete c;
    }
    EXPECT_EQ(chdir(oldDir_), 0);
    std::string cleanup = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(system(cleanup.c_str()), 0);
    ServerTest::TearDown();
  }

  // A session on the test server, initialized with the environment as set.
  ZQControlStruct* open(int expectedRc = 0, const char* commandFile = nullptr,
                        const char* resultFile = nullptr) {
    auto* c = new ZQControlStruct(zqtest::makeControl("Demo", "127.0.0.1"));
    sessions_.push_back(c);
    Status s;
    int rc = commandFile || resultFile ? ZQInitializationWithLogs(c, commandFile, resultFile, 1, &s)
                                       : ZQInitialization(c, &s);
    EXPECT_EQ(rc, expectedRc);
    usePort(c);
    return c;
  }
  void close(ZQControlStruct* c) {
    Status s;
    EXPECT_EQ(ZQTermination(c, &s), 0);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs the replay reader over a command log; its summary, or "" on failure.
  std::string replay(const std::string& arguments, int expectedStatus = 0) {
    std::string tool = zqtest::programDir() + "/zqreplay";
    if (!exists(tool)) {
      ADD_FAILURE() << "the replay reader is not built: " << tool;
      return "";
    }
    std::string cmd = "'" + tool + "' " + arguments + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "";
    std::string text;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p)) text.append(buf, n);
    const int status = pclose(p);
    EXPECT_EQ(WEXITSTATUS(status), expectedStatus) << text;
    return text;
  }

  std::string dir_;
  char oldDir_[4096] = {};
  std::vector<ZQControlStruct*> sessions_;
};

TEST_F(Diag, ASessionLeavesMatchingCommandAndResultLogs) {
  ScopedEnv logging("ZQAPILOGGING", "8");
  ZQControlStruct* c = open();
  Status s;
  ZQServerInfoList info{0, nullptr};
  // A call refused by the server: its record shows the error and no outputs.
  server_->faults().refuseProcedure = 36;
  ASSERT_EQ(serverInfo(c, {4}, &info, s), 2);
  server_->faults().refuseProcedure = 0;
  s.reset();
  ASSERT_EQ(serverInfo(c, {4, 246}, &info, s), 0);
  FreeZQServerInfoList(&info, 0);
  char charset[ZQ_CHARSET_NAME_SIZE] = {};
  ASSERT_EQ(ZQGetClientCharSet(c, charset, &s), 0);
  // A call that fails its own checks writes nothing.
  ASSERT_EQ(serverInfo(c, {}, &info, s), 2);
  close(c);

  EXPECT_EQ(readFile(path("zqapicmd.log")),
            "#\n# ZQInitialization\n#\ninit\n"
            "#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n"
            "#\n# ZQGetServerInfo\n#\ngsi\n2\n4\n246\n"
            "#\n# ZQGetClientCharSet\n#\ngccs\n"
            "#\n# ZQTermination\n#\nterm\n");
  const std::string timing = "Start Time:<time>\nFinish Time:<time>\nElapsed Time:<time>\n";
  char refused[ZQ_MESSAGE_TEXT_SIZE];
  ZQGetMessageText(123, refused);
  EXPECT_EQ(withoutTimes(readFile(path("zqapires.log"))),
            "\n   ZQInitialization results\nReturn Code: OK\nStatus List: 0 items\n" + timing +
                "\n   ZQGetServerInfo results\nReturn Code: ERROR\nStatus List: 1 items\n"
                "Status Struct:\n   Message type: ERROR\n   Message number: 123\n"
                "   Message: " +
                refused + "\n   Appended:\n" + timing +
                "\n   ZQGetServerInfo results\nReturn Code: OK\n"
                "Server Info List: 2 items\n"
                "   Server Info Struct: <undefined tag value = 4>\n"
                "      Value: (char) 7.5.00 Patch 004\n"
                "   Server Info Struct: <undefined tag value = 246>\n"
                "      Value: (integer) 0\n"
                "Status List: 0 items\n" +
                timing + "\n   ZQGetClientCharSet results\nReturn Code: OK\nChar Set: " + charset +
                "\nStatus List: 0 items\n" + timing +
                "\n   ZQTermination results\nReturn Code: OK\nStatus List: 0 items\n" + timing);
  const std::string summary = replay(path("zqapicmd.log"));
  EXPECT_NE(summary.find("5 records"), std::string::npos) << summary;
  // Played again against the server: the three calls it knows, in order.
  const std::string played = replay("--server 127.0.0.1 --port " + std::to_string(server_->port()) +
                                    " --user Demo --no-wait " + path("zqapicmd.log"));
  EXPECT_NE(played.find("gsi    rc 0\ngsi    rc 0\ngccs   rc 0\nreplayed 3 calls, skipped 2"),
            std::string::npos)
      << played;

  // A log the reader cannot follow is refused with the line that broke it.
  std::ofstream(path("broken.log"))
      << "#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n#\n# ZQNothing\n#\nzz\n";
  EXPECT_NE(replay(path("broken.log"), 1).find("line 7: unknown command code \"zz\""),
            std::string::npos);
}

TEST_F(Diag, TheReplayReaderRefusesBadOptions) {
  struct Case {
    const char* arguments;
    const char* reason;
  };
  const Case cases[] = {
      {"--port abc x.log", "zqreplay: --port abc: expected a port number from 1 to 65535"},
      {"--port 70000 x.log", "--port 70000: expected a port number"},
      {"--port=0 x.log", "--port 0: expected a port number"},
      {"x.log --port", "--port needs a value"},
      {"--bogus x.log", "unknown or ambiguous option --bogus"},
      {"--no-wait=1 x.log", "--no-wait=1: this option takes no value"},
      {"", "no command log given"},
      {"a.log b.log", "unexpected argument b.log"},
  };
  for (const Case& c : cases) {
    const std::string text = replay(c.arguments, 2);
    EXPECT_NE(text.find(c.reason), std::string::npos) << c.arguments << ": " << text;
  }
  EXPECT_NE(replay("--help").find("--no-wait"), std::string::npos);
}

TEST_F(Diag, ASecondInitializationNumbersItsFiles) {
  ScopedEnv logging("ZQAPILOGGING", "1");
  ZQControlStruct* first = open();
  ZQControlStruct* second = open();
  Status s;
  EXPECT_EQ(ping(second, s), 0);
  EXPECT_EQ(ping(first, s), 0);
  close(first);
  close(second);
  EXPECT_TRUE(exists(path("zqapicmd.log")));
  EXPECT_TRUE(exists(path("zqapires.log")));
  // Each session writes its own files.
  EXPECT_EQ(readFile(path("zqapicmd_1.log")),
            "#\n# ZQInitialization\n#\ninit\n#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n"
            "#\n# ZQTermination\n#\nterm\n");
  EXPECT_NE(readFile(path("zqapires_1.log")).find("   ZQGetServerInfo results\n"),
            std::string::npos);
  // Names given to ZQInitializationWithLogs win over the numbered ones.
  ZQControlStruct* third = open(0, "mine.cmd", "mine.res");
  close(third);
  EXPECT_EQ(readFile(path("mine.cmd")),
            "#\n# ZQInitialization\n#\ninit\n#\n# ZQTermination\n#\nterm\n");
  EXPECT_FALSE(exists(path("zqapicmd_2.log")));
}

TEST_F(Diag, SingleFileModeInterleavesCommandsAndResults) {
  ScopedEnv logging("ZQAPILOGGING", "16");
  ZQControlStruct* c = open();
  Status s;
  ASSERT_EQ(ping(c, s), 0);
  close(c);
  EXPECT_FALSE(exists(path("zqapicmd.log")));
  const std::string log = readFile(path("zqapires.log"));
  EXPECT_EQ(log.substr(0, log.find("Server Info List")),
            "#\n# ZQInitialization\n#\ninit\n"
            "\n   ZQInitialization results\nReturn Code: OK\nStatus List: 0 items\n\n"
            "#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n"
            "\n   ZQGetServerInfo results\nReturn Code: OK\n");
  EXPECT_NE(log.find("Status List: 0 items\n\n#\n# ZQTermination\n#\nterm\n"), std::string::npos);
  EXPECT_NE(replay(path("zqapires.log")).find("3 records"), std::string::npos);
}

TEST_F(Diag, Flag0x20LeavesOutTheReturnedStructures) {
  ScopedEnv logging("ZQAPILOGGING", "32");
  ZQControlStruct* c = open();
  Status s;
  ASSERT_EQ(ping(c, s), 0);
  char charset[ZQ_CHARSET_NAME_SIZE];
  ASSERT_EQ(ZQGetServerCharSet(c, charset, &s), 0);
  close(c);
  const std::string log = readFile(path("zqapires.log"));
  EXPECT_NE(log.find("   ZQGetServerInfo results\nReturn Code: OK\nStatus List: 0 items\n"),
            std::string::npos);
  EXPECT_NE(log.find("   ZQGetServerCharSet results\nReturn Code: OK\nStatus List: 0 items\n"),
            std::string::npos);
  EXPECT_EQ(log.find("Server Info"), std::string::npos);
  EXPECT_EQ(log.find("Char Set:"), std::string::npos);
  EXPECT_EQ(log.find("Start Time"), std::string::npos);  // no timing without 0x08
}

TEST_F(Diag, TheValue24GivesLongHeaders) {
  ScopedEnv logging("ZQAPILOGGING", "24");
  ZQControlStruct* c = open();
  Status s;
  ASSERT_EQ(ping(c, s), 0);
  close(c);
  const std::string port = std::to_string(server_->port());
  // Single-file mode (0x10) and timing (0x08) come with the value.
  const std::string log = readFile(path("zqapires.log"));
  EXPECT_EQ(log.substr(0, log.find("\n   ZQInitialization results")),
            "#\n# ZQInitialization\n# Server: \"127.0.0.1\"\n# Username: \"Demo\"\n"
            "# Port: \"0\"\n#\ninit\n");
  EXPECT_NE(log.find("#\n# ZQGetServerInfo\n# Server: \"127.0.0.1\"\n# Username: \"Demo\"\n"
                     "# Port: \"" +
                     port + "\"\n#\ngsi\n1\n4\n"),
            std::string::npos);
  EXPECT_NE(log.find("Elapsed Time:"), std::string::npos);
  EXPECT_NE(replay(path("zqapires.log")).find("3 records"), std::string::npos);
}

TEST_F(Diag, ServerLogGoesToTheCallersFileBetweenMarkers) {
  char name[] = "/tmp/zqserverlog-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  FILE* file = fdopen(fd, "w+");
  ASSERT_NE(file, nullptr);
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);  // first contact is made: one remote call per ping
  ASSERT_EQ(ZQSetLogging(&control_, 0x10, ZQ_SERVER_LOG_TO_FILE, file, &s), 0);
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(s.count, 0u) << "the note 8914 stays out of the caller's list";
  fflush(file);
  EXPECT_EQ(clatFree(readFile(name)),
            "<CLAT>+API call\n"
            "<API > /* procedure 36, protocol version 14 */ user Demo\n"
            "<CLAT>-API call\n");

  // 0x2 keeps the note; its text is the server's log.
  ASSERT_EQ(ZQSetLogging(&control_, 0x01 | 0x02, ZQ_SERVER_LOG_KEEP_NOTE, file, &s), 0);
  ASSERT_EQ(ping(&control_, s), 0);
  ASSERT_TRUE(s.has(8914));
  EXPECT_EQ(s.items[0].messageType, uint32_t{ZQ_MESSAGE_NOTE});
  EXPECT_STREQ(s.items[0].message,
               "<SQL > /* procedure 36, protocol version 14 */ user Demo\n"
               "<FLTR> /* procedure 36, protocol version 14 */ user Demo\n");
  s.reset();
  // Mask bits the library does not capture only travel: the note stays.
  ASSERT_EQ(ZQSetLogging(&control_, 0x04, ZQ_SERVER_LOG_TO_FILE, file, &s), 0);
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(s.count, 0u);  // the server logs nothing for that type
  ASSERT_EQ(ZQSetLogging(&control_, 0, 0, nullptr, &s), 0);
  fclose(file);
  unlink(name);
}

TEST_F(Diag, AFailedServerLogWriteWarnsAndTheCallGoesOn) {
  FILE* full = fopen("/dev/full", "w");  // every flush fails: a full disk
  ASSERT_NE(full, nullptr);
  Status s;
  ASSERT_EQ(ZQSetLogging(&control_, 0x10, ZQ_SERVER_LOG_TO_FILE, full, &s), 0);
  ZQServerInfoList out{0, nullptr};
  EXPECT_EQ(serverInfo(&control_, {4}, &out, s), 1);
  EXPECT_EQ(out.count, 1u);
  EXPECT_FALSE(s.has(8914));
  ASSERT_GT(s.count, 0u);
  for (uint32_t i = 0; i < s.count; ++i) {
    EXPECT_EQ(s.items[i].messageType, uint32_t{ZQ_MESSAGE_WARNING});
    EXPECT_EQ(s.items[i].messageNumber, 8915);
  }
  FreeZQServerInfoList(&out, 0);
  s.reset();
  ASSERT_EQ(ZQSetLogging(&control_, 0, 0, nullptr, &s), 0);  // the file is ours to close
  fclose(full);
}

TEST_F(Diag, UnwritableLogPathsLeaveTheSessionWorking) {
  Status s;
  // ZQStartRecording: 2 and nothing else.
  EXPECT_EQ(ZQStartRecording(&control_, "/nonexistent/dir/cmd.log", "res.log", &s), 2);
  EXPECT_EQ(s.count, 0u);
  EXPECT_FALSE(exists(path("res.log")));
  EXPECT_EQ(ZQStartRecording(&control_, "cmd.log", "/nonexistent/dir/res.log", &s), 2);
  EXPECT_EQ(s.count, 0u);
  EXPECT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(readFile(path("cmd.log")), "");  // opened, then closed again unused

  // Initialization asked to log: a warning, and the session works unlogged.
  ScopedEnv logging("ZQAPILOGGING", "8");
  ZQControlStruct* c = open(1, "/nonexistent/dir/cmd.log", "/nonexistent/dir/res.log");
  EXPECT_EQ(ping(c, s), 0);
  ZQValueStruct v{};
  ASSERT_EQ(ZQGetSessionVariable(c, ZQ_SESSVAR_RECORDING_RESULT_FILE, &v, &s), 0);
  EXPECT_EQ(v.u.charValue, nullptr);
}

TEST_F(Diag, StartAndStopRecordingWithTheSessionVariables) {
  Status s;
  ZQValueStruct v{};
  ASSERT_EQ(ZQGetSessionVariable(&control_, ZQ_SESSVAR_RECORDING_COMMAND_FILE, &v, &s), 0);
  EXPECT_EQ(v.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(v.u.charValue, nullptr);

  ASSERT_EQ(ZQStartRecording(&control_, nullptr, "results.log", &s), 0);
  ASSERT_EQ(ZQGetSessionVariable(&control_, ZQ_SESSVAR_RECORDING_COMMAND_FILE, &v, &s), 0);
  EXPECT_STREQ(v.u.charValue, "zqapicmd.log");
  FreeZQValueStruct(&v, 0);
  ASSERT_EQ(ZQGetSessionVariable(&control_, ZQ_SESSVAR_RECORDING_RESULT_FILE, &v, &s), 0);
  EXPECT_STREQ(v.u.charValue, "results.log");
  FreeZQValueStruct(&v, 0);
  // A second start keeps the open files.
  ASSERT_EQ(ZQStartRecording(&control_, "other.cmd", "other.res", &s), 0);
  EXPECT_FALSE(exists(path("other.cmd")));

  ASSERT_EQ(ping(&control_, s), 0);
  ASSERT_EQ(ZQStopRecording(&control_, &s), 0);
  ASSERT_EQ(ping(&control_, s), 0);  // not recorded any more
  ASSERT_EQ(ZQGetSessionVariable(&control_, ZQ_SESSVAR_RECORDING_RESULT_FILE, &v, &s), 0);
  EXPECT_EQ(v.u.charValue, nullptr);

  EXPECT_EQ(readFile(path("zqapicmd.log")), "#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n");
  EXPECT_EQ(readFile(path("results.log")).find("   ZQGetServerInfo results\nReturn Code: OK\n"),
            1u);
  // Appending: a new start adds to the same files.
  ASSERT_EQ(ZQStartRecording(&control_, nullptr, "results.log", &s), 0);
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(readFile(path("zqapicmd.log")),
            "#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n#\n# ZQGetServerInfo\n#\ngsi\n1\n4\n");
}

TEST_F(Diag, NullArgumentsNeverCrash) {
  Status s;
  EXPECT_EQ(ZQStartRecording(&control_, nullptr, nullptr, nullptr), 4);
  EXPECT_EQ(ZQStopRecording(&control_, nullptr), 4);
  EXPECT_EQ(ZQSetLogging(&control_, 1, 1, nullptr, nullptr), 4);
  ZQControlStruct stranger = zqtest::makeControl();
  EXPECT_EQ(ZQStartRecording(&stranger, nullptr, nullptr, &s), 3);
  EXPECT_TRUE(s.has(161));
  s.reset();
  // No control record: nothing to switch, whatever the thread used last.
  EXPECT_EQ(ZQSetLogging(nullptr, 1, 1, nullptr, &s), 3);
  EXPECT_TRUE(s.has(161));
  s.reset();
  EXPECT_EQ(ZQStopRecording(nullptr, &s), 3);
  s.reset();
  // A server log asked for without a file: the note is dropped, nothing written.
  ASSERT_EQ(ZQSetLogging(&control_, 0x10, ZQ_SERVER_LOG_TO_FILE, nullptr, &s), 0);
  EXPECT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(s.count, 0u);
}
