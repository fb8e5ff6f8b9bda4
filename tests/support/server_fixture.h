// End-to-end fixture: a zqserverd inside the test process on loopback and
// an initialized control record pointing at it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <string>

#include "server.h"
#include "support/session.h"

namespace zqtest {

class ServerTest : public ::testing::Test {
 protected:
  // Override to change the server before it starts.
  virtual void configure(zqserver::Options&) {}

  void SetUp() override {
    signal(SIGPIPE, SIG_IGN);
    configPath_ = ::testing::TempDir() + "zqapi-config-" + std::to_string(getpid());
    setenv("ZQAPI_CONFIG", configPath_.c_str(), 1);
    zqserver::Options options;
    configure(options);
    server_ = std::make_unique<zqserver::Server>(options);
    ASSERT_TRUE(server_->start()) << server_->error();
    control_ = makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_LT(ZQInitialization(&control_, &s), 2);
    if (!options.useRpcbind) usePort(&control_);
  }

  void TearDown() override {
    Status s;
    if (control_.context) ZQTermination(&control_, &s);
    if (server_) server_->stop();
    unlink(configPath_.c_str());
  }

  // Points a control record at the server's port.
  void usePort(ZQControlStruct* control) {
    Status s;
    ASSERT_EQ(ZQSetServerPort(control, control->server, server_->port(), 0, &s), 0);
  }

  // A server setting through the whole frame.
  int serverInfo(ZQControlStruct* control, std::vector<uint32_t> settings, ZQServerInfoList* out,
                 Status& s) {
    ZQServerInfoRequestList request{static_cast<uint32_t>(settings.size()), settings.data()};
    s.reset();  // the call empties the list without releasing what it held
    return ZQGetServerInfo(control, &request, out, &s);
  }
  int ping(ZQControlStruct* control, Status& s) {
    ZQServerInfoList out{0, nullptr};
    int rc = serverInfo(control, {4}, &out, s);
    FreeZQServerInfoList(&out, 0);
    return rc;
  }

  std::unique_ptr<zqserver::Server> server_;
  ZQControlStruct control_{};
  std::string configPath_;
};

}  // namespace zqtest
