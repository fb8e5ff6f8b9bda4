#include "alerts.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "frame/alloc.h"
#include "platform/compress.h"
#include "zqapi/zq_alerts.h"

namespace zqserver {
namespace {

void appendField(std::string& out, const std::string& text) {
  out += text;
  out += '\\';
}

void appendCounted(std::string& out, const std::string& text) {
  appendField(out, std::to_string(text.size()));
  appendField(out, text);
}

const char* textOf(const ZQValueStruct& v) {
  return v.dataType == ZQ_DATA_TYPE_CHAR && v.u.charValue ? v.u.charValue : "";
}

bool sameUser(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// A connected socket to address:port within the time-out, or -1.
int connectTo(const std::string& address, uint32_t port, int timeoutMs) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (port == 0 || port > 65535 ||
      getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &res) != 0 || !res)
    return -1;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  bool ok = fd >= 0;
  if (ok && connect(fd, res->ai_addr, res->ai_addrlen) != 0) {
    ok = errno == EINPROGRESS;
    pollfd p{fd, POLLOUT, 0};
    int error = 0;
    socklen_t len = sizeof error;
    ok = ok && poll(&p, 1, timeoutMs) == 1 &&
         getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
  }
  freeaddrinfo(res);
  if (!ok && fd >= 0) close(fd);
  return ok ? fd : -1;
}

// Writes every byte within the time-out.
bool sendAll(int fd, const std::vector<unsigned char>& bytes, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t sent = 0;
  while (sent < bytes.size()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    pollfd p{fd, POLLOUT, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) != 1) return false;
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n > 0) sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<unsigned char> encodeAlertMessage(const AlertEvent& e,
                                              const std::string& serverAddress) {
  std::string rest;  // every field after the first
  appendField(rest, "2");
  appendField(rest, std::to_string(e.timestamp));
  appendField(rest, std::to_string(e.sourceType));
  appendField(rest, std::to_string(e.priority));
  appendCounted(rest, e.text);
  appendCounted(rest, e.sourceTag);
  appendCounted(rest, e.serverName);
  appendCounted(rest, e.formName);
  appendCounted(rest, e.objectId);
  appendCounted(rest, serverAddress);
  // The first field is the length of the whole text, its own digits included.
  size_t total = rest.size() + 2;
  while (std::to_string(total).size() + 1 + rest.size() != total)
    total = std::to_string(total).size() + 1 + rest.size();
  const std::string text = std::to_string(total) + "\\" + rest;

  std::vector<unsigned char> message(text.begin(), text.end());
  if (text.size() <= AlertCenter::kCompressAbove) return message;
  zq::platform::ZBuffer packed;
  if (zq::platform::compressBytes(text.data(), text.size(), packed) != zq::platform::ZResult::ok) {
    zq::freeBlock(packed.data);
    return message;
  }
  const uint32_t length = static_cast<uint32_t>(packed.size + 8);
  message.assign({'2', '0', '5', '9', static_cast<unsigned char>(length >> 24),
                  static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 8),
                  static_cast<unsigned char>(length)});
  message.insert(message.end(), packed.data, packed.data + packed.size);
  zq::freeBlock(packed.data);
  return message;
}

AlertEvent alertOfValues(const ZQFieldValueList& values) {
  AlertEvent e;
  e.timestamp = static_cast<int32_t>(time(nullptr));
  for (uint32_t i = 0; i < values.count && values.items; ++i) {
    const ZQValueStruct& v = values.items[i].value;
    switch (values.items[i].fieldId) {
      case ZQ_ALERT_FIELD_USER:
        e.user = textOf(v);
        break;
      case ZQ_ALERT_FIELD_TEXT:
        e.text = textOf(v);
        break;
      case ZQ_ALERT_FIELD_PRIORITY:
        if (v.dataType == ZQ_DATA_TYPE_INTEGER) e.priority = v.u.integerValue;
        break;
      case ZQ_ALERT_FIELD_SOURCE_TAG:
        e.sourceTag = textOf(v);
        break;
      case ZQ_ALERT_FIELD_SERVER:
        e.serverName = textOf(v);
        break;
      case ZQ_ALERT_FIELD_FORM:
        e.formName = textOf(v);
        break;
      case ZQ_ALERT_FIELD_OBJECT_ID:
        e.objectId = textOf(v);
        break;
      default:
        break;
    }
  }
  return e;
}

AlertCenter::AlertCenter(Store& store, std::string serverAddress)
    : store_(store), serverAddress_(std::move(serverAddress)) {}

AlertCenter::~AlertCenter() {
  stop();
}

StoreResult AlertCenter::ensureForm() {
  EntryStore entries(store_);
  if (entries.form(ZQ_ALERT_FORM)) return {};
  const std::vector<FieldDef> fields = {
      {ZQ_ALERT_FIELD_FORM, ZQ_DATA_TYPE_CHAR, "Form Name"},
      {ZQ_ALERT_FIELD_OBJECT_ID, ZQ_DATA_TYPE_CHAR, "Object Id"},
      {ZQ_ALERT_FIELD_SERVER, ZQ_DATA_TYPE_CHAR, "Server Name"},
      {ZQ_ALERT_FIELD_TEXT, ZQ_DATA_TYPE_CHAR, "Alert Text"},
      {ZQ_ALERT_FIELD_PRIORITY, ZQ_DATA_TYPE_INTEGER, "Priority"}};
  const StoreResult r = entries.createForm(ZQ_ALERT_FORM, fields);
  // Another call may have created it in the meantime.
  return r.message == zq::kMsgDefinitionExists ? StoreResult{} : r;
}

void AlertCenter::start() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopping_ = false;
  if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void AlertCenter::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void AlertCenter::registerListener(const std::string& user, const std::string& address,
                                   uint32_t port, uint32_t flags, const std::string& language) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (Registration& r : registrations_)
    if (sameUser(r.user, user) && r.address == address && r.port == port) {
      r.flags = flags;
      r.language = language;
      r.failures = 0;
      return;
    }
  registrations_.push_back(Registration{user, address, port, flags, language, 0});
}

void AlertCenter::deregisterListener(const std::string& user, const std::string& address,
                                     uint32_t port) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(registrations_, [&](const Registration& r) {
    return sameUser(r.user, user) && r.address == address && r.port == port;
  });
}

std::vector<std::string> AlertCenter::users() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> out;
  for (const Registration& r : registrations_) {
    bool seen = false;
    for (const std::string& u : out) seen = seen || sameUser(u, r.user);
    if (!seen) out.push_back(r.user);
  }
  return out;
}

void AlertCenter::alertCreated(AlertEvent event) {
  const std::vector<unsigned char> message = encodeAlertMessage(event, serverAddress_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Registration& r : registrations_) {
      if (!sameUser(r.user, event.user) || queue_.size() >= kMaxQueued) continue;
      queue_.push_back(Job{r.user, r.address, r.port, message});
    }
  }
  wake_.notify_one();
}

void AlertCenter::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    const int fd = connectTo(job.address, job.port, kConnectTimeoutMs);
    const bool ok = fd >= 0 && sendAll(fd, job.message, kSendTimeoutMs);
    if (fd >= 0) close(fd);
    delivered(job, ok);
  }
}

void AlertCenter::delivered(const Job& job, bool ok) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = registrations_.begin(); it != registrations_.end(); ++it) {
    if (!sameUser(it->user, job.user) || it->address != job.address || it->port != job.port)
      continue;
    it->failures = ok ? 0 : it->failures + 1;
    if (it->failures >= kMaxFailures) registrations_.erase(it);
    return;
  }
}

}  // namespace zqserver
