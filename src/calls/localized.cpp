// Localized texts and currency ratios: ZQGetLocalizedValue (99),
// ZQGetMultipleLocalizedValues (114), ZQGetCurrencyRatio (local) and
// ZQGetMultipleCurrencyRatioSets (123).
#include <cstring>
#include <string>

#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr uint32_t kWantValue = 1;
constexpr uint32_t kWantTimestamp = 2;

// The texts of connection failures are the client's own: a client that
// cannot reach the server still has to show them.
bool answeredLocally(const ZQLocalizedRequestStruct& r) {
  if (r.messageType != ZQ_LOCAL_TEXT_SYSTEM_MESSAGE) return false;
  for (const char* n : {"90", "91", "92", "93", "94"})
    if (strncmp(r.name, n, sizeof r.name) == 0) return true;
  return false;
}

bool localized(call::Frame& call) {
  transport::ServerOptions* o = transport::findOptions(call.context(), call.control()->server);
  return o && o->localizedServer != 0;
}

constexpr size_t kCodeLength = 3;
constexpr size_t kKeyLength = 2 * kCodeLength;
constexpr size_t kShortestEntry = kKeyLength + 2;

// The ratio of a key in a ratio set sorted by key ("USDEUR0.9/USDJPY150"):
// the entry's text after the key, or nothing.
bool findRatio(const char* set, const std::string& key, std::string& ratio) {
  const char* p = set;
  while (strlen(p) >= kShortestEntry) {
    if (strncmp(p, key.c_str(), kKeyLength) == 0) {
      const char* end = strchr(p, '/');
      ratio.assign(p + kKeyLength, end ? end : p + strlen(p));
      return true;
    }
    if (strncmp(key.c_str(), p, kKeyLength) < 0) return false;  // sorted: no later match
    const char* next = strchr(p, '/');
    if (!next) return false;
    p = next + 1;
  }
  return false;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetLocalizedValue(ZQControlStruct* control, ZQLocalizedRequestStruct* request,
                        ZQValueStruct* value, ZQTimestamp* timestamp, ZQStatusList* status) {
  if (value) *value = ZQValueStruct{};
  if (timestamp) *timestamp = 0;
  call::Call<proc::GetLocalizedValue> call(control, status);
  if (!call) return call.rc();
  if (!request) return ZQ_RETURN_BAD_STATUS;
  if (call.refusedControl()) return call.rc();
  call.record(diag::Command::GetLocalizedValue, request);
  if (answeredLocally(*request)) return call.finish(value, timestamp);
  if (!call.bind()) return call.finish(value, timestamp);
  if (!localized(call)) return call.finishWithError(kMsgNoLocalization, value, timestamp);
  call.args().request = *request;
  call.args().wanted = (value ? kWantValue : 0) | (timestamp ? kWantTimestamp : 0);
  if (auto* reply = call.send()) {
    if (value) {
      *value = reply->value;
      reply->value = ZQValueStruct{};
    }
    if (timestamp) *timestamp = reply->timestamp;
  }
  return call.finish(value, timestamp);
}

int ZQGetMultipleLocalizedValues(ZQControlStruct* control, ZQLocalizedRequestList* requests,
                                 ZQValueList* values, ZQTimestampList* timestamps,
                                 ZQStatusList* status) {
  if (values) *values = ZQValueList{0, nullptr};
  if (timestamps) *timestamps = ZQTimestampList{0, nullptr};
  call::Call<proc::GetMultipleLocalizedValues> call(control, status);
  if (!call) return call.rc();
  if (!requests) return ZQ_RETURN_BAD_STATUS;
  if (call.refusedControl()) return call.rc();
  if (requests->count && !requests->items) return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::GetMultipleLocalizedValues, requests);
  if (!call.bind()) return call.finish(values, timestamps);
  if (!localized(call)) return call.finishWithError(kMsgNoLocalization, values, timestamps);
  call.args().requests = *requests;
  call.args().wanted = (values ? kWantValue : 0) | (timestamps ? kWantTimestamp : 0);
  if (auto* reply = call.send()) {
    if (values) {
      *values = reply->values;
      reply->values = ZQValueList{0, nullptr};
    }
    if (timestamps) {
      *timestamps = reply->timestamps;
      reply->timestamps = ZQTimestampList{0, nullptr};
    }
  }
  return call.finish(values, timestamps);
}

int ZQGetCurrencyRatio(ZQControlStruct* control, const char* ratioSet, const char* sourceCode,
                       const char* targetCode, ZQValueStruct* ratio, ZQStatusList* status) {
  if (ratio) *ratio = ZQValueStruct{};
  call::Frame call(control, status);
  if (!call) return call.rc();
  if (!ratio) return call.fail(kMsgMissingOutput);
  call.record(diag::Command::GetCurrencyRatio, diag::LongText{ratioSet}, sourceCode, targetCode);
  if (ratioSet && sourceCode && targetCode && strlen(sourceCode) == kCodeLength &&
      strlen(targetCode) == kCodeLength) {
    std::string text;
    if (findRatio(ratioSet, std::string(sourceCode) + targetCode, text)) {
      char* decimal = dupString(text.c_str());
      if (!decimal) return call.finishWithError(kMsgNoMemory, ratio);
      ratio->dataType = ZQ_DATA_TYPE_DECIMAL;
      ratio->u.decimalValue = decimal;
    }
  }
  return call.finish(ratio);
}

int ZQGetMultipleCurrencyRatioSets(ZQControlStruct* control, ZQTimestampList* ratioTimes,
                                   ZQTextStringList* ratioSets, ZQStatusList* status) {
  if (ratioSets) *ratioSets = ZQTextStringList{0, nullptr};
  call::Call<proc::GetMultipleCurrencyRatioSets> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!ratioSets) return call.fail(kMsgNoResultOutput);
  if (ratioTimes && ratioTimes->count && !ratioTimes->items)
    return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::GetMultipleCurrencyRatioSets, ratioTimes);
  if (call.bind()) {
    if (ratioTimes) call.args().ratioTimes = *ratioTimes;
    if (auto* reply = call.send()) {
      *ratioSets = reply->ratioSets;
      reply->ratioSets = ZQTextStringList{0, nullptr};
    }
  }
  return call.finish(ratioSets);
}

}  // extern "C"
