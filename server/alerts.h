// Alerts in zqserverd: the alert form, the listeners registered for alerts
// and the delivery of each new alert entry to every listener of its user.
//
// The alert form (ZQ_ALERT_FORM) is created with the first alert: a
// regular form whose fields 2 (user), 704 (text), 705 (priority, integer),
// 4 (source tag), 703 (server), 701 (form) and 702 (object id) hold the
// alert. Every entry created on it (ZQCreateAlertEvent, a plain create, and
// the workflow engine's NOTIFY actions through alertCreated) is delivered.
//
// Registrations (procedure 102) are kept in memory: user, the listener's
// address and port, flags and language. Deregistration (103) removes the
// caller's registration of that address and port.
//
// Delivery never runs on the thread of the call that created the alert: a
// delivery thread takes messages from a bounded queue (kMaxQueued; a full
// queue drops the newest message), connects to the listener (at most
// kConnectTimeoutMs), writes the message (at most kSendTimeoutMs, so a
// listener that accepts and never reads cannot hold the thread) and closes
// the connection. A registration whose delivery failed kMaxFailures times
// in a row is dropped.
//
// The message is version 2 of the alert format: fields separated by
// backslashes, texts counted. Source type 1 is an alert created by a call,
// 2 one created by a workflow NOTIFY action. The server address field is
// the address zqserverd listens on. A text longer than kCompressAbove bytes
// travels in the compressed envelope ("2059", the big-endian total length,
// the deflated text).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "entry_store.h"

namespace zqserver {

struct Store;

struct AlertEvent {
  std::string user;
  std::string text;
  int32_t priority = 0;
  std::string sourceTag;
  std::string serverName;
  std::string formName;
  std::string objectId;
  int32_t timestamp = 0;
  uint32_t sourceType = 1;
};

inline constexpr uint32_t kAlertFromCall = 1;
inline constexpr uint32_t kAlertFromWorkflow = 2;

// The message of an alert as a listener receives it.
std::vector<unsigned char> encodeAlertMessage(const AlertEvent& event,
                                              const std::string& serverAddress);

// The event an alert entry's values describe.
AlertEvent alertOfValues(const ZQFieldValueList& values);

class AlertCenter {
 public:
  static constexpr size_t kCompressAbove = 4096;
  static constexpr size_t kMaxQueued = 1024;
  static constexpr int kConnectTimeoutMs = 2000;
  static constexpr int kSendTimeoutMs = 2000;
  static constexpr int kMaxFailures = 3;

  AlertCenter(Store& store, std::string serverAddress);
  ~AlertCenter();
  AlertCenter(const AlertCenter&) = delete;
  AlertCenter& operator=(const AlertCenter&) = delete;

  // Starts the delivery thread.
  void start();
  // Creates the alert form when it is missing (on the first alert, so that
  // a server that never sees one keeps only the forms it was given).
  StoreResult ensureForm();
  // Ends the delivery thread; queued messages are dropped.
  void stop();

  void registerListener(const std::string& user, const std::string& address, uint32_t port,
                        uint32_t flags, const std::string& language);
  void deregisterListener(const std::string& user, const std::string& address, uint32_t port);
  // Users with at least one registration, each once.
  std::vector<std::string> users();

  // An alert entry was created: its message is queued for every listener
  // of its user.
  void alertCreated(AlertEvent event);

 private:
  struct Registration {
    std::string user;
    std::string address;
    uint32_t port = 0;
    uint32_t flags = 0;
    std::string language;
    int failures = 0;
  };
  struct Job {
    std::string user;
    std::string address;
    uint32_t port = 0;
    std::vector<unsigned char> message;
  };
  void run();
  void delivered(const Job& job, bool ok);

  Store& store_;
  std::string serverAddress_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Registration> registrations_;
  std::deque<Job> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zqserver
