// Alerts against zqserverd on loopback: a listener registered by the test
// receives the message of ZQCreateAlertEvent and decodes it; deregistered
// and vanished listeners; the alert count and the users registered.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "entry_store.h"
#include "support/server_fixture.h"
#include "zqapi/zq_workflow_definitions.h"

using zqtest::Status;

namespace {

// A listening socket on every address of this machine (the registration
// names the machine's first address, whatever it is).
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(fd_, 8) != 0)
      return;
    socklen_t len = sizeof addr;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  ~Listener() { close(); }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  uint32_t port() const { return port_; }

  // One alert connection read to its end; false when none came in time.
  bool receive(std::vector<unsigned char>& message, int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) != 1) return false;
    const int c = accept(fd_, nullptr, nullptr);
    if (c < 0) return false;
    message.clear();
    unsigned char buffer[4096];
    for (ssize_t n; (n = read(c, buffer, sizeof buffer)) > 0;)
      message.insert(message.end(), buffer, buffer + n);
    ::close(c);
    return true;
  }

 private:
  int fd_ = -1;
  uint32_t port_ = 0;
};

struct Alert {
  ZQTimestamp timestamp = 0;
  uint32_t sourceType = 0, priority = 0;
  char *text = nullptr, *tag = nullptr, *server = nullptr, *address = nullptr, *form = nullptr,
       *objectId = nullptr;
  int rc = -1;
  Alert(ZQControlStruct* control, const std::vector<unsigned char>& m) {
    Status s;
    rc = ZQDecodeAlertMessage(control, m.data(), static_cast<uint32_t>(m.size()), &timestamp,
                              &sourceType, &priority, &text, &tag, &server, &address, &form,
                              &objectId, s.fresh());
  }
  ~Alert() {
    for (char* p : {text, tag, server, address, form, objectId}) ZQFree(p);
  }
};

std::string orNull(const char* s) {
  return s ? s : "<null>";
}

struct Names : ZQAccessNameList {
  Names() : ZQAccessNameList{0, nullptr} {}
  ~Names() { FreeZQAccessNameList(this, 0); }
};

}  // namespace

class Alerts : public zqtest::ServerTest {
 protected:
  std::vector<std::string> alertUsers() {
    Names users;
    Status s;
    EXPECT_EQ(ZQGetListAlertUser(&control_, &users, s.fresh()), 0);
    std::vector<std::string> out;
    for (uint32_t i = 0; i < users.count; ++i) out.push_back(users.items[i]);
    return out;
  }
  int createAlert(const char* text, int32_t priority, ZQEntryIdType id, Status& s) {
    return ZQCreateAlertEvent(&control_, "Demo", text, priority, "tag", "srv", "Tickets",
                              "000000000000042", id, s.fresh());
  }
};

TEST_F(Alerts, ListenerReceivesTheAlertItCreated) {
  Listener listener;
  ASSERT_NE(listener.port(), 0u);
  Status s;
  ASSERT_EQ(ZQRegisterForAlerts(&control_, listener.port(), 0, s.fresh()), 0);
  EXPECT_EQ(alertUsers(), std::vector<std::string>{"Demo"});

  ZQEntryIdType id = "junk";
  ASSERT_EQ(createAlert("Disk full on \\\\host", 7, id, s), 0);
  EXPECT_STRNE(id, "");

  std::vector<unsigned char> message;
  ASSERT_TRUE(listener.receive(message, 5000));
  Alert a(&control_, message);
  ASSERT_EQ(a.rc, 0);
  EXPECT_EQ(orNull(a.text), "Disk full on \\\\host");
  EXPECT_EQ(a.priority, 7u);
  EXPECT_EQ(a.sourceType, 1u);
  EXPECT_EQ(orNull(a.tag), "tag");
  EXPECT_EQ(orNull(a.server), "srv");
  EXPECT_EQ(orNull(a.form), "Tickets");
  EXPECT_EQ(orNull(a.objectId), "000000000000042");
  EXPECT_EQ(orNull(a.address), "127.0.0.1");  // the address zqserverd listens on
  EXPECT_GT(a.timestamp, 0);
}

TEST_F(Alerts, LongTextTravelsCompressed) {
  Listener listener;
  Status s;
  ASSERT_EQ(ZQRegisterForAlerts(&control_, listener.port(), 0, s.fresh()), 0);
  const std::string text(10000, 'x');
  ASSERT_EQ(createAlert(text.c_str(), 1, nullptr, s), 0);
  std::vector<unsigned char> message;
  ASSERT_TRUE(listener.receive(message, 5000));
  ASSERT_GT(message.size(), 8u);
  EXPECT_EQ(std::string(message.begin(), message.begin() + 4), "2059");
  EXPECT_LT(message.size(), text.size());
  Alert a(&control_, message);
  ASSERT_EQ(a.rc, 0);
  EXPECT_EQ(orNull(a.text), text);
}

TEST_F(Alerts, DeregisteredListenerReceivesNothing) {
  Listener listener;
  Status s;
  ASSERT_EQ(ZQRegisterForAlerts(&control_, listener.port(), 0, s.fresh()), 0);
  ASSERT_EQ(ZQDeregisterForAlerts(&control_, listener.port(), s.fresh()), 0);
  EXPECT_TRUE(alertUsers().empty());
  ASSERT_EQ(createAlert("nobody listens", 1, nullptr, s), 0);
  std::vector<unsigned char> message;
  EXPECT_FALSE(listener.receive(message, 300));
}

TEST_F(Alerts, VanishedListenerIsDroppedAfterRepeatedFailures) {
  Listener gone;
  const uint32_t port = gone.port();
  gone.close();
  Status s;
  ASSERT_EQ(ZQRegisterForAlerts(&control_, port, 0, s.fresh()), 0);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(createAlert("lost", 1, nullptr, s), 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!alertUsers().empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(alertUsers().empty());
}

// A NOTIFY action of a filter is an alert like any other: the listener of
// the notified user receives it with the filter as its source and the
// entry's form and id. A listener that never reads what it is sent holds
// up neither the call that made the alert nor the delivery to the others.
TEST_F(Alerts, NotifyFilterAlertsAndASilentListenerHoldsNothing) {
  Listener silent;  // accepts (its backlog does) and never reads
  Listener listener;
  Status s;
  ASSERT_EQ(ZQRegisterForAlerts(&control_, silent.port(), 0, s.fresh()), 0);
  ASSERT_EQ(ZQRegisterForAlerts(&control_, listener.port(), 0, s.fresh()), 0);
  constexpr ZQInternalId kTitle = 536870913;
  {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store.createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
  }
  ZQNameType formName = "Tickets";
  ZQNameList forms{1, &formName};
  ZQWorkflowConnectStruct connect{};
  connect.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
  connect.schemaList = &forms;
  ZQFilterActionStruct notify{};
  notify.action = ZQ_FILTER_ACTION_NOTIFY;
  notify.u.notify.user = const_cast<char*>("Demo");
  notify.u.notify.text = const_cast<char*>("a ticket arrived");
  notify.u.notify.subject = const_cast<char*>("");  // a null one the check would fill
  notify.u.notify.mechanism = ZQ_NOTIFY_ALERT;
  notify.u.notify.priority = 4;
  ZQFilterActionList actions{1, &notify};
  ASSERT_EQ(
      ZQCreateFilter(&control_, "Tell", 1, &connect, ZQ_OPERATION_CREATE, 1, nullptr, &actions,
                     nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, s.fresh()),
      0);

  ZQFieldValueStruct title{};
  title.fieldId = kTitle;
  title.value.dataType = ZQ_DATA_TYPE_CHAR;
  title.value.u.charValue = const_cast<char*>("printer");
  ZQFieldValueList values{1, &title};
  for (int i = 0; i < 3; ++i) {
    ZQEntryIdType id = "";
    ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &values, id, s.fresh()), 0);
  }
  std::vector<unsigned char> message;
  ASSERT_TRUE(listener.receive(message, 5000));
  Alert a(&control_, message);
  ASSERT_EQ(a.rc, 0);
  EXPECT_EQ(orNull(a.text), "a ticket arrived");
  EXPECT_EQ(a.priority, 4u);
  EXPECT_EQ(orNull(a.tag), "Tell");
  EXPECT_EQ(orNull(a.form), "Tickets");
}

TEST_F(Alerts, CountMatchesTheQualification) {
  Status s;
  uint32_t count = 99;
  ASSERT_EQ(ZQGetAlertCount(&control_, nullptr, &count, s.fresh()), 0);  // no alert form yet
  EXPECT_EQ(count, 0u);
  ASSERT_EQ(createAlert("one", 7, nullptr, s), 0);
  ASSERT_EQ(createAlert("two", 7, nullptr, s), 0);
  ASSERT_EQ(createAlert("three", 2, nullptr, s), 0);

  ZQRelOpStruct rel{};
  rel.operation = ZQ_REL_OP_EQUAL;
  rel.left.tag = ZQ_FIELD;
  rel.left.u.fieldId = ZQ_ALERT_FIELD_PRIORITY;
  rel.right.tag = ZQ_VALUE;
  rel.right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  rel.right.u.value.u.integerValue = 7;
  ZQQualifierStruct qual{};
  qual.operation = ZQ_COND_OP_REL_OP;
  qual.u.relation = &rel;
  ASSERT_EQ(ZQGetAlertCount(&control_, &qual, &count, s.fresh()), 0);
  EXPECT_EQ(count, 2u);
  ASSERT_EQ(ZQGetAlertCount(&control_, nullptr, &count, s.fresh()), 0);
  EXPECT_EQ(count, 3u);
}

TEST_F(Alerts, CreateChecks) {
  uint32_t count = 99;
  Status s;
  ZQEntryIdType id = "junk";
  EXPECT_EQ(ZQCreateAlertEvent(&control_, "Demo", nullptr, 1, nullptr, nullptr, nullptr, nullptr,
                               id, s.fresh()),
            2);
  EXPECT_TRUE(s.has(162));
  EXPECT_STREQ(id, "");
  EXPECT_EQ(ZQCreateAlertEvent(&control_, "Demo", "", 1, nullptr, nullptr, nullptr, nullptr, id,
                               s.fresh()),
            2);
  EXPECT_TRUE(s.has(162));
  EXPECT_EQ(ZQCreateAlertEvent(&control_, nullptr, "text", 1, nullptr, nullptr, nullptr, nullptr,
                               id, s.fresh()),
            2);
  // Only the optional texts missing: a plain alert.
  EXPECT_EQ(ZQCreateAlertEvent(&control_, "Demo", "text", 1, nullptr, nullptr, nullptr, nullptr, id,
                               s.fresh()),
            0);
  ASSERT_EQ(ZQGetAlertCount(&control_, nullptr, &count, s.fresh()), 0);
  EXPECT_EQ(count, 1u);
}
