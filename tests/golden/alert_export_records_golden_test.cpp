// The records of the alert registration (102, 103), the alert count (115)
// and an import slice (35, 124) against bytes written by hand.
#include <gtest/gtest.h>

#include "golden/wire.h"
#include "transport/describe_alerts.h"

namespace zqgolden {
namespace {

class AlertExportGolden : public GoldenTest {};

TEST_F(AlertExportGolden, Registration) {
  zq::transport::AlertRegistrationArgs r{};
  r.clientAddress = text("10.0.0.5");
  r.port = 7100;
  r.flags = 1;
  r.serverAddress = text("127.0.0.1");
  expectEncodes(r, 14, emptyHeader().str("10.0.0.5").w(7100).w(1).str("127.0.0.1"));
}

// No qualification: operation 0 alone; the reply's count before its status list.
TEST_F(AlertExportGolden, CountWithoutQualification) {
  zq::transport::AlertCountArgs r{};
  expectEncodes(r, 14, emptyHeader().w(0));
  zq::transport::AlertCountReply reply =
      decodes<zq::transport::AlertCountReply>(emptyHeader().w(3).w(0), 14);
  EXPECT_EQ(reply.count, 3u);
  zq::model::release(reply);
}

TEST_F(AlertExportGolden, ImportSlice) {
  ZQStructItemStruct item{};
  item.type = 1;
  setName(item.name, "Tickets");
  unsigned char bytes[] = {0x78, 0x9c, 0x03, 0x00, 0x00};
  zq::transport::ImportArgs r{};
  r.items = {1, &item};
  r.length = sizeof bytes;
  r.bytes = bytes;
  r.option = 1;
  Wire golden = emptyHeader().w(1).w(1).name("Tickets", 255).w(0).w(5);
  golden.b.insert(golden.b.end(), {'\x78', '\x9c', '\x03', '\x00', '\x00', 0, 0, 0});
  golden.w(1);
  expectEncodes(r, 14, golden);
}

}  // namespace
}  // namespace zqgolden
