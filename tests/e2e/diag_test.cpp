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

// The folder of the test program, where the build puts the tools too.
std::string programDir() {
  if (const char* out = getenv("ZQ_TEST_OUT")) return out;
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return ".";
  std::string path(self, static_cast<size_t>(n));
  return path.substr(0, path.find_last_of('/'));
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
  std::string replay(const std::string& log) {
    std::string tool = programDir() + "/zqreplay";
    if (!exists(tool)) {
      ADD_FAILURE() << "the replay reader is not built: " << tool;
      return "";
    }
    std::string cmd = "'" + tool + "' '" + log + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "";
    std::string text;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p)) text.append(buf, n);
    const int status = pclose(p);
    EXPECT_EQ(status, 0) << text;
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
}
