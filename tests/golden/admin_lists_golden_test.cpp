// The lists of the administration calls against bytes written by hand: users
// (46) with their nested licences and the user-name width of each version,
// server settings (44), localized values (114), signals (100), object
// change times (163), cache events (182) and currency ratio sets (123).
#include <gtest/gtest.h>

#include "golden/wire.h"
#include "model/describe_admin.h"
#include "transport/describe_admin.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class AdminListsGolden : public GoldenTest {};

// One status note after the records of a reply.
Wire note(Wire w) {
  return w.w(1).w(0).w(8914).str("ok").str("");
}

// User name (31 characters up to version 11, 255 from 12), the licences as
// a counted list of three words, connect time, last access, notify
// mechanism, the mail address as a string.
TEST_F(AdminListsGolden, UserListByVersion) {
  auto golden = [](size_t width) {
    return Wire()
        .w(1)
        .name("Ann", width)
        .w(2)  // two licences
        .w(1)
        .w(2)
        .w(2)
        .w(5)
        .w(0)
        .w(0)
        .i(1700000000)
        .i(-1)
        .w(2)
        .str("ann@example.org");
  };
  for (const auto& [version, width] : {std::pair{11, size_t{31}}, std::pair{12, size_t{255}}}) {
    const Wire wire = golden(width);
    auto back = decodes<ZQUserInfoList>(wire, version);
    ASSERT_EQ(back.count, 1u) << version;
    const ZQUserInfoStruct& u = back.items[0];
    EXPECT_STREQ(u.userName, "Ann");
    ASSERT_EQ(u.licenses.count, 2u);
    EXPECT_EQ(u.licenses.items[0].licenseType, 2u);
    EXPECT_EQ(u.licenses.items[1].licenseTag, 5u);
    EXPECT_EQ(u.connectTime, 1700000000);
    EXPECT_EQ(u.lastAccess, -1);
    EXPECT_EQ(u.defaultNotifyMechanism, 2u);
    EXPECT_STREQ(u.emailAddress, "ann@example.org");
    expectEncodes(back, version, wire);
    FreeZQUserInfoList(&back, 0);
  }
  // In the reply of procedure 46, the status list follows the users.
  auto reply = decodes<tr::GetListUserReply>(note(emptyHeader().then(golden(255))), 14);
  ASSERT_EQ(reply.users.count, 1u);
  ASSERT_EQ(reply.status.count, 1u);
  zq::model::release(reply);
  // The request: list type and changed-since.
  tr::GetListUserArgs args{};
  args.listType = 3;
  args.changedSince = 1700000000;
  expectEncodes(args, 14, emptyHeader().w(3).i(1700000000));
}

// Settings go through the plain value routine: number, type tag, value.
TEST_F(AdminListsGolden, ServerSettings) {
  ZQServerInfoStruct items[3] = {};
  items[0].operation = 333;
  items[0].value.dataType = ZQ_DATA_TYPE_INTEGER;
  items[0].value.u.integerValue = 4096;
  items[1].operation = 320;
  items[1].value.dataType = ZQ_DATA_TYPE_CHAR;
  items[1].value.u.charValue = text("ops@example.org");
  items[2].operation = 59;  // a null clears the setting
  tr::SetServerInfoArgs args{};
  args.settings = {3, items};
  expectEncodes(args, 14,
                emptyHeader()
                    .w(3)
                    .w(333)
                    .w(ZQ_DATA_TYPE_INTEGER)
                    .w(4096)
                    .w(320)
                    .w(ZQ_DATA_TYPE_CHAR)
                    .str("ops@example.org")
                    .w(59)
                    .w(ZQ_DATA_TYPE_NULL));
}

// Requests: the message name as a fixed name (31 characters in version 7,
// 255 from 8), type and index, then the wanted word. Reply: a value list,
// a timestamp list, the status list.
TEST_F(AdminListsGolden, LocalizedValues) {
  ZQLocalizedRequestStruct request{};
  setName(request.name, "Greeting");
  request.messageType = 2;
  request.index = 7;
  tr::LocalizedValuesArgs args{};
  args.requests = {1, &request};
  args.wanted = 1;
  expectEncodes(args, 14, emptyHeader().w(1).name("Greeting", 255).w(2).w(7).w(1));

  const Wire reply = note(emptyHeader()
                              .w(2)
                              .w(ZQ_DATA_TYPE_CHAR)
                              .str("Hello")
                              .w(ZQ_DATA_TYPE_NULL)
                              .w(2)
                              .i(1700000000)
                              .i(0));
  auto back = decodes<tr::LocalizedValuesReply>(reply, 14);
  ASSERT_EQ(back.values.count, 2u);
  EXPECT_STREQ(back.values.items[0].u.charValue, "Hello");
  EXPECT_EQ(back.values.items[1].dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  ASSERT_EQ(back.timestamps.count, 2u);
  EXPECT_EQ(back.timestamps.items[0], 1700000000);
  zq::model::release(back);
}

TEST_F(AdminListsGolden, SignalsChangeTimesAndCacheEvents) {
  ZQSignalStruct signals[2] = {{1, text("")}, {4, text("all")}};
  tr::SignalArgs sig{};
  sig.signals = {2, signals};
  expectEncodes(sig, 14, emptyHeader().w(2).w(1).str("").w(4).str("all"));

  // Four signed words per kind: kind, last create, change, delete.
  const Wire times = note(emptyHeader().w(1).i(3).i(1700000000).i(1700000100).i(-1));
  auto back = decodes<tr::ObjectChangeTimesReply>(times, 14);
  ASSERT_EQ(back.times.count, 1u);
  EXPECT_EQ(back.times.items[0].objectType, 3);
  EXPECT_EQ(back.times.items[0].changeTime, 1700000100);
  EXPECT_EQ(back.times.items[0].deleteTime, -1);
  expectEncodes(back, 14, times);
  zq::model::release(back);

  uint32_t wanted[2] = {1, 2};
  tr::CacheEventArgs events{};
  events.eventIds = {2, wanted};
  events.returnOption = 1;
  expectEncodes(events, 14, emptyHeader().w(2).w(1).w(2).w(1));
  auto occurred = decodes<tr::CacheEventReply>(emptyHeader().w(1).w(2).w(5).w(0), 14);
  ASSERT_EQ(occurred.events.count, 1u);
  EXPECT_EQ(occurred.events.items[0], 2u);
  EXPECT_EQ(occurred.count, 5u);
  zq::model::release(occurred);
}

// Ratio sets: the wanted times as a timestamp list; the sets as texts.
TEST_F(AdminListsGolden, CurrencyRatioSets) {
  ZQTimestamp when[1] = {0};
  tr::CurrencyRatioSetsArgs args{};
  args.ratioTimes = {1, when};
  expectEncodes(args, 14, emptyHeader().w(1).i(0));
  auto back = decodes<tr::CurrencyRatioSetsReply>(
      emptyHeader().w(1).str("1700000000;USDEUR=0.9;USDJPY=150").w(0), 14);
  ASSERT_EQ(back.ratioSets.count, 1u);
  EXPECT_STREQ(back.ratioSets.items[0], "1700000000;USDEUR=0.9;USDJPY=150");
  zq::model::release(back);
}

}  // namespace
}  // namespace zqgolden
