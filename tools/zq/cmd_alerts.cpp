// zq alerts listen: alerts printed as they arrive, until interrupted.
//
// zqserverd delivers one alert per connection to the port the registration
// named: it connects, writes the message and closes. zq listens on that
// port, reads each connection to its end and decodes it with
// ZQDecodeAlertMessage. SIGINT or SIGTERM ends the loop; the registration
// is removed before zq exits.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "args.h"
#include "commands_impl.h"
#include "values.h"

namespace zqcli {
namespace {

constexpr size_t kMaxMessage = 1024 * 1024;
constexpr int kReadTimeoutMs = 5000;  // a sender that stalls loses its alert, not zq

// The write end of the pipe a signal wakes the loop through.
int g_wake = -1;

void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t n = write(g_wake, &byte, 1);
  errno = saved;
}

// A socket listening on every address of this machine; port 0: any free
// port, written back.
int listenOn(uint32_t& port, std::string& error) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("cannot open a socket: ") + strerror(errno);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_ANY);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    error = "cannot listen on port " + std::to_string(port) + ": " + strerror(errno);
    close(fd);
    return -1;
  }
  port = ntohs(addr.sin_port);
  return fd;
}

// One connection read to its end; false when it broke, stalled or sent
// more than an alert can be.
bool readMessage(int fd, std::string& message) {
  char buffer[4096];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, kReadTimeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    message.append(buffer, static_cast<size_t>(n));
    if (message.size() > kMaxMessage) return false;
  }
}

std::string text(const char* s) {
  return s ? s : "";
}

// A table row keeps to one line.
std::string oneLine(std::string s) {
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return s;
}

class AlertPrinter {
 public:
  explicit AlertPrinter(Session& session) : session_(session) {
    // A table cannot wait for its widths here: each alert is a line of its own.
    if (session.settings().format != Format::Table) {
      writer_ = session.writer();
      writer_->begin({"time", "priority", "form", "entry", "source", "server", "text"});
    }
  }

  // false once stdout's reader has gone away.
  bool print(const std::string& message) {
    ZQTimestamp when = 0;
    uint32_t sourceType = 0, priority = 0;
    char *alertText = nullptr, *tag = nullptr, *server = nullptr, *address = nullptr,
         *form = nullptr, *objectId = nullptr;
    ZQStatusList status{0, nullptr};
    const int rc = ZQDecodeAlertMessage(
        session_.control(), reinterpret_cast<const unsigned char*>(message.data()),
        static_cast<uint32_t>(message.size()), &when, &sourceType, &priority, &alertText, &tag,
        &server, &address, &form, &objectId, &status);
    // A malformed alert is reported and the listening goes on.
    session_.report(rc >= ZQ_RETURN_ERROR ? ZQ_RETURN_WARNING : rc, status);
    bool ok = true;
    if (rc < ZQ_RETURN_ERROR) {
      ZQValueStruct time{};
      time.dataType = ZQ_DATA_TYPE_TIME;
      time.u.timestampValue = when;
      const std::string whenText = valueText(time);
      if (writer_) {
        writer_->row({{whenText, whenText},
                      {std::to_string(priority), priority},
                      {text(form), text(form)},
                      {text(objectId), text(objectId)},
                      {text(tag), text(tag)},
                      {text(server), text(server)},
                      {text(alertText), text(alertText)}});
        ok = writer_->flush();
      } else {
        std::string line = whenText + "  priority " + std::to_string(priority);
        if (form && *form) line += "  " + oneLine(form);
        if (objectId && *objectId) line += " " + oneLine(objectId);
        line += "  " + oneLine(text(alertText));
        printf("%s\n", line.c_str());
        ok = fflush(stdout) == 0;
      }
    }
    for (char* p : {alertText, tag, server, address, form, objectId}) ZQFree(p);
    return ok && !outputBroken();
  }

  void end() {
    if (writer_ && !outputBroken()) {
      writer_->end();
      writer_->flush();
    }
  }

 private:
  Session& session_;
  std::unique_ptr<RowWriter> writer_;
};

}  // namespace

int runAlerts(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {{"listen-port", true}, {"count", true}}, parsed, error))
    return session.fail(error);
  if (parsed.positional.size() != 1 || parsed.positional[0] != "listen")
    return session.fail("alerts knows one action: zq alerts listen (see zq alerts --help)");
  long long port = 0, count = 0;
  if (parsed.has("listen-port") && !parseNumber(parsed.value("listen-port"), 1, 65535, port))
    return session.fail("--listen-port " + parsed.value("listen-port") +
                        ": expected a port number from 1 to 65535");
  if (parsed.has("count") && !parseNumber(parsed.value("count"), 1, UINT32_MAX, count))
    return session.fail("--count " + parsed.value("count") + ": expected a number of alerts");

  int wake[2];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
    return session.fail(std::string("cannot make a pipe: ") + strerror(errno));
  g_wake = wake[1];
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  struct sigaction oldInt {
  }, oldTerm{};
  sigaction(SIGINT, &action, &oldInt);
  sigaction(SIGTERM, &action, &oldTerm);

  uint32_t listenPort = static_cast<uint32_t>(port);
  const int listener = listenOn(listenPort, error);
  int rc = ZQ_RETURN_OK;
  if (listener < 0) {
    session.fail(error);
  } else {
    ZQStatusList status{0, nullptr};
    rc = session.report(ZQRegisterForAlerts(session.control(), listenPort, 0, &status), status);
  }
  if (listener >= 0 && rc < ZQ_RETURN_ERROR) {
    // Like the progress bar, a word for the person at the terminal only.
    if (!session.settings().quiet && isatty(STDERR_FILENO))
      fprintf(stderr, "zq: listening for alerts of %s on port %u (Ctrl-C ends)\n",
              session.settings().user.c_str(), listenPort);
    AlertPrinter printer(session);
    long long received = 0;
    for (bool stop = false; !stop && (!count || received < count);) {
      pollfd fds[2] = {{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        session.fail(std::string("waiting for alerts failed: ") + strerror(errno));
        break;
      }
      if (fds[1].revents) break;
      const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      std::string message;
      const bool whole = readMessage(connection, message);
      close(connection);
      if (!whole) continue;
      ++received;
      stop = !printer.print(message);
    }
    printer.end();
    ZQStatusList status{0, nullptr};
    session.report(ZQDeregisterForAlerts(session.control(), listenPort, &status), status);
  }
  if (listener >= 0) close(listener);
  sigaction(SIGINT, &oldInt, nullptr);
  sigaction(SIGTERM, &oldTerm, nullptr);
  g_wake = -1;
  close(wake[0]);
  close(wake[1]);
  return session.exitStatus();
}

}  // namespace zqcli
