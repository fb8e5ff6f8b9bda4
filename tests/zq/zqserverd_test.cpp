// zqserverd as a service: the readiness line and systemd's READY=1, a store
// kept in a file across a clean stop on SIGTERM, and the log file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_program.h"
#include "support/program_dir.h"

namespace {

// zqserverd started in the background, its stdout read up to the readiness
// line.
struct Daemon {
  pid_t pid = -1;
  int port = 0;
  bool start(const std::vector<std::string>& args, const std::string& notifySocket) {
    int out[2];
    if (pipe(out) != 0) return false;
    pid = fork();
    if (pid == 0) {
      dup2(out[1], 1);
      close(out[0]);
      if (!notifySocket.empty()) setenv("NOTIFY_SOCKET", notifySocket.c_str(), 1);
      std::vector<std::string> all{zqtest::programDir() + "/zqserverd"};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (std::string& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    if (line.rfind("listening on ", 0) != 0) return false;
    port = std::stoi(line.substr(13));
    return true;
  }
  int stop() {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Daemon() {
    if (pid > 0) stop();
  }
};

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(Zqserverd, ServesFromAFileStoreAndStopsCleanlyOnSigterm) {
  char pattern[] = "/tmp/zqserverd-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern, store = dir + "/store.db", log = dir + "/server.log";
  const std::string socketPath = dir + "/notify";
  struct Cleanup {
    std::string dir;
    int fd;
    ~Cleanup() {
      close(fd);
      std::filesystem::remove_all(dir);
    }
  };
  const int notify = socket(AF_UNIX, SOCK_DGRAM, 0);
  Cleanup cleanup{dir, notify};
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  strcpy(addr.sun_path, socketPath.c_str());
  ASSERT_EQ(bind(notify, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  const timeval patience{10, 0};  // a server that never says READY fails the test
  setsockopt(notify, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  const std::vector<std::string> args = {
      "--listen", "127.0.0.1:0", "--database", store,
      "--log",    log,           "--form",     "Notes:536870913:char"};
  auto zq = [&](int port, std::vector<std::string> more) {
    std::vector<std::string> argv = {zqtest::programDir() + "/zq", "--url",
                                     "zq://demo@127.0.0.1:" + std::to_string(port)};
    argv.insert(argv.end(), more.begin(), more.end());
    zqtest::RunOptions options;
    options.env = {"ZQ_CONFIG=" + dir + "/none", "ZQAPI_CONFIG=" + dir + "/none"};
    return zqtest::runProgram(argv, options);
  };

  {
    Daemon first;
    ASSERT_TRUE(first.start(args, socketPath));
    char ready[64] = {};
    ASSERT_GT(recv(notify, ready, sizeof ready - 1, 0), 0);
    EXPECT_STREQ(ready, "READY=1");
    zqtest::RunResult created = zq(first.port, {"create", "Notes", "536870913=kept"});
    ASSERT_EQ(created.exitStatus, 0) << created.err;
    EXPECT_EQ(first.stop(), 0);
  }
  const std::string logged = readFile(log);
  EXPECT_NE(logged.find("zqserverd: listening on 127.0.0.1:"), std::string::npos) << logged;
  EXPECT_NE(logged.find("zqserverd: stopped on SIGTERM"), std::string::npos) << logged;

  // The store survived the stop: a second server on it, started without
  // --form, has the form and the entry.
  Daemon second;
  ASSERT_TRUE(second.start({"--listen", "127.0.0.1:0", "--database", store}, ""));
  zqtest::RunResult got =
      zq(second.port, {"-f", "csv", "get", "Notes", "000000000000001", "--fields", "536870913"});
  EXPECT_EQ(got.exitStatus, 0) << got.err;
  EXPECT_EQ(got.out, "\"field\",\"value\"\r\n\"536870913\",\"kept\"\r\n");
  EXPECT_EQ(second.stop(), 0);
}

}  // namespace
