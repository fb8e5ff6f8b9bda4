// Alert messages as a registered client receives them, plain or in their
// compressed envelope.
#include "fuzz_target.h"
#include "zqapi/zq_alerts.h"

ZQ_FUZZ_TARGET(alerts)(const uint8_t* data, size_t size) {
  ZQStatusList s{0, nullptr};
  ZQTimestamp when = 0;
  uint32_t sourceType = 0, priority = 0;
  char *text = nullptr, *tag = nullptr, *server = nullptr, *address = nullptr, *form = nullptr,
       *id = nullptr;
  ZQDecodeAlertMessage(zqfuzz::session(), data, static_cast<uint32_t>(size), &when, &sourceType,
                       &priority, &text, &tag, &server, &address, &form, &id, &s);
  for (char* p : {text, tag, server, address, form, id}) ZQFree(p);
  FreeZQStatusList(&s, 0);
  return 0;
}
