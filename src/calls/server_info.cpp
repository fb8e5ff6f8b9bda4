// Server settings, statistics and full-text settings: ZQGetServerInfo (36),
// ZQSetServerInfo (44), ZQGetServerStatistics (57), ZQGetFullTextInfo (54)
// and ZQSetFullTextInfo (53).
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "call/call.h"
#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "security/security.h"
#include "transport/transport.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"
#include "zqapi/zq_server.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

// ---- request lists of numbers ---------------------------------------------------------------

// Checks every requested number; each bad one adds its own message with the
// number appended, and all are examined.
template <class List, class Bad>
int checkRequest(const List* request, ZQStatusList* status, Bad&& bad) {
  if (!request || request->count == 0) return addError(status, kMsgRequestListEmpty);
  if (!request->items) return addError(status, kMsgCountWithoutItems);
  int rc = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < request->count; ++i) {
    const uint32_t n = request->items[i];
    if (int32_t message = bad(n)) rc = ZQAddStatusNumber(status, ZQ_MESSAGE_ERROR, message, n);
  }
  return rc;
}

int32_t badSettingRequest(uint32_t n) {
  if (n == 0) return kMsgUnknownServerSetting;
  if (n == 10) return kMsgSettingNotReadable;
  return 0;
}

constexpr uint32_t kLastStatistic = 74;
constexpr uint32_t kLastFullTextSetting = 9;

// ---- settable settings ----------------------------------------------------------------------

enum class SettingClass : uint8_t { integer, text, readOnly, notSettable, unassigned };

constexpr uint32_t kLastSetting = 333;

struct Range {
  uint16_t first, last;
};

constexpr Range kReadOnly[] = {
    {1, 4},     {9, 9},     {11, 14},   {18, 18},   {23, 27},   {35, 36},   {38, 44},
    {48, 49},   {51, 55},   {67, 77},   {91, 91},   {101, 101}, {116, 116}, {127, 127},
    {138, 139}, {149, 150}, {177, 178}, {185, 188}, {198, 198}, {200, 201}, {203, 203},
    {205, 206}, {209, 209}, {222, 222}, {263, 271}, {283, 283}, {312, 312}};
constexpr Range kText[] = {
    {10, 10},   {16, 17},   {21, 22},   {31, 31},   {34, 34},   {46, 47},   {57, 57},   {59, 59},
    {85, 87},   {89, 90},   {93, 93},   {97, 98},   {104, 105}, {114, 114}, {123, 123}, {126, 126},
    {135, 135}, {141, 141}, {144, 144}, {151, 155}, {158, 158}, {160, 165}, {167, 167}, {169, 169},
    {174, 174}, {176, 176}, {179, 179}, {189, 189}, {193, 193}, {196, 196}, {202, 202}, {217, 217},
    {219, 219}, {225, 225}, {229, 229}, {231, 233}, {238, 238}, {251, 251}, {256, 261}, {303, 304},
    {308, 308}, {316, 318}, {320, 320}};
constexpr Range kNotSettable[] = {{272, 279}, {292, 294}, {296, 296}, {298, 298}, {300, 301},
                                  {305, 305}, {315, 315}, {321, 321}, {325, 332}};

constexpr std::array<SettingClass, kLastSetting + 1> buildClasses() {
  std::array<SettingClass, kLastSetting + 1> a{};
  for (auto& c : a) c = SettingClass::integer;
  a[0] = SettingClass::unassigned;
  for (Range r : kReadOnly)
    for (uint32_t n = r.first; n <= r.last; ++n) a[n] = SettingClass::readOnly;
  for (Range r : kText)
    for (uint32_t n = r.first; n <= r.last; ++n) a[n] = SettingClass::text;
  for (Range r : kNotSettable)
    for (uint32_t n = r.first; n <= r.last; ++n) a[n] = SettingClass::notSettable;
  return a;
}
constexpr auto kSettingClasses = buildClasses();

SettingClass classOf(uint32_t setting) {
  return setting > kLastSetting ? SettingClass::unassigned : kSettingClasses[setting];
}

int32_t badSettingChange(const ZQServerInfoStruct& item) {
  const uint32_t type = item.value.dataType;
  switch (classOf(item.operation)) {
    case SettingClass::unassigned:
    case SettingClass::notSettable:
      return kMsgUnknownServerSetting;
    case SettingClass::readOnly:
      return kMsgSettingReadOnly;
    case SettingClass::text:
      return type == ZQ_DATA_TYPE_CHAR || type == ZQ_DATA_TYPE_NULL ? 0 : kMsgSettingWrongType;
    case SettingClass::integer:
      return type == ZQ_DATA_TYPE_INTEGER || type == ZQ_DATA_TYPE_NULL ? 0 : kMsgSettingWrongType;
  }
  return kMsgUnknownServerSetting;
}

int checkSettingChanges(const ZQServerInfoList* settings, ZQStatusList* status) {
  if (!settings || settings->count == 0) return addError(status, kMsgSettingListEmpty);
  if (!settings->items) return addError(status, kMsgCountWithoutItems);
  int rc = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < settings->count; ++i)
    if (int32_t message = badSettingChange(settings->items[i]))
      rc = ZQAddStatusNumber(status, ZQ_MESSAGE_ERROR, message, settings->items[i].operation);
  return rc;
}

// ---- password-bearing settings ------------------------------------------------------------------

bool isPasswordSetting(const ZQServerInfoStruct& item) {
  return item.value.dataType == ZQ_DATA_TYPE_CHAR && item.value.u.charValue &&
         settingPasswordOffset(item.operation, item.value.u.charValue) != std::string::npos;
}

// Replaces the password part of one setting by its protected form for a
// server of protocolVersion.
int protectSetting(ZQServerInfoStruct& item, int protocolVersion, ZQStatusList* status) {
  char*& text = item.value.u.charValue;
  const size_t at = settingPasswordOffset(item.operation, text);
  std::string result(text, at);
  char buffer[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  if (protocolVersion < 10) {
    copyName(buffer, text + at, security::kScrambledLength + 1);
    security::scrambleLegacy(security::serverSettingKey(), buffer);
  } else if (int rc = EncryptCharPasswordEx(text + at, security::keys::kPasswordKeys[0], buffer)) {
    return addError(status, rc);
  }
  result += buffer;
  explicit_bzero(buffer, sizeof buffer);
  char* copy = dupString(result.c_str());
  std::fill(result.begin(), result.end(), '\0');
  if (!copy) return addError(status, kMsgNoMemory);
  explicit_bzero(text, strlen(text));
  ZQFree(text);
  text = copy;
  return ZQ_RETURN_OK;
}

// The settings as the recording shows them: passwords masked.
struct MaskedSettings {
  std::vector<ZQServerInfoStruct> items;
  ZQServerInfoList list{0, nullptr};
  explicit MaskedSettings(const ZQServerInfoList* settings) {
    static char mask[] = "****";
    items.assign(settings->items, settings->items + settings->count);
    for (ZQServerInfoStruct& item : items)
      if (isPasswordSetting(item)) item.value.u.charValue = mask;
    list = ZQServerInfoList{static_cast<uint32_t>(items.size()), items.data()};
  }
};

// ---- full-text settings ---------------------------------------------------------------------

bool isInteger(const ZQValueStruct& v, int32_t lo, int32_t hi) {
  return v.dataType == ZQ_DATA_TYPE_INTEGER && v.u.integerValue >= lo && v.u.integerValue <= hi;
}

int32_t badFullTextChange(const ZQFullTextInfoStruct& item) {
  const ZQValueStruct& v = item.u.value;
  const bool none = v.dataType == ZQ_DATA_TYPE_NULL;
  switch (item.infoType) {
    case ZQ_FULLTEXT_COLLECTION_DIRECTORY:
    case 9:
      return none || v.dataType == ZQ_DATA_TYPE_CHAR ? 0 : kMsgBadFullTextValue;
    case ZQ_FULLTEXT_STOPWORD: {
      const ZQValueList& words = item.u.valueList;
      if (words.count != 0 && !words.items) return kMsgBadFullTextValue;
      for (uint32_t i = 0; i < words.count; ++i) {
        const ZQValueStruct& w = words.items[i];
        if (w.dataType != ZQ_DATA_TYPE_CHAR || !w.u.charValue || !w.u.charValue[0])
          return kMsgBadFullTextValue;
      }
      return 0;
    }
    case ZQ_FULLTEXT_REINDEX:
      return none || isInteger(v, 1, 1) ? 0 : kMsgBadFullTextValue;
    case ZQ_FULLTEXT_CASE_SENSITIVE_SRCH:
    case ZQ_FULLTEXT_STATE:
      return none || isInteger(v, 0, 1) ? 0 : kMsgBadFullTextValue;
    case ZQ_FULLTEXT_FTS_MATCH_OP:
      return none || isInteger(v, 0, 4) ? 0 : kMsgBadFullTextValue;
    default:
      return kMsgBadFullTextSetting;
  }
}

int checkFullTextChanges(const ZQFullTextInfoList* settings, ZQStatusList* status) {
  if (!settings || settings->count == 0) return addError(status, kMsgFullTextListEmpty);
  if (!settings->items) return addError(status, kMsgCountWithoutItems);
  int rc = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < settings->count; ++i)
    if (int32_t message = badFullTextChange(settings->items[i]))
      rc = ZQAddStatusNumber(status, ZQ_MESSAGE_ERROR, message, settings->items[i].infoType);
  return rc;
}

}  // namespace

size_t settingPasswordOffset(uint32_t setting, const char* text) {
  int colons = 0;
  switch (setting) {
    case 151:
    case 153:
    case 154:
    case 161:
    case 164:
      return 0;
    case 152:
    case 165:
      colons = 1;
      break;
    case 163:
      colons = 2;
      break;
    default:
      return std::string::npos;
  }
  const char* p = text;
  for (int i = 0; i < colons; ++i) {
    p = strchr(p, ':');
    if (!p) return std::string::npos;
    ++p;
  }
  while (*p == ' ') ++p;
  return static_cast<size_t>(p - text);
}

int32_t settingChangeRefusal(const ZQServerInfoStruct& item) {
  return badSettingChange(item);
}

int askServerInfo(ZQControlStruct* control, std::initializer_list<uint32_t> settings,
                  ZQServerInfoList* result, ZQStatusList* status) {
  *result = ZQServerInfoList{0, nullptr};
  std::vector<uint32_t> numbers(settings);
  using P = proc::GetServerInfo;
  P::Args args{};
  args.settings = ZQServerInfoRequestList{static_cast<uint32_t>(numbers.size()), numbers.data()};
  const call::Send send{control, P::row(), kQueueFast,
                        transport::timeoutSeconds(control->context->settings, P::row().timeout)};
  void* reply = nullptr;
  const int rc = call::remoteStep(send, &args, &reply, status);
  if (reply) {
    auto* r = static_cast<P::Reply*>(reply);
    *result = r->settings;
    r->settings = ZQServerInfoList{0, nullptr};
  }
  return rc;
}

int protocolVersion(ZQThreadContext* ctx, const ZQControlStruct* control) {
  transport::ServerRecord* server = transport::findServer(ctx, control->server);
  return server ? server->version : transport::kNewestVersion;
}

bool ServerVersion::atLeast(int ma, int mi, int mt, int pa) const {
  const int mine[] = {major, minor, maintenance, patch};
  const int other[] = {ma, mi, mt, pa};
  for (int i = 0; i < 4; ++i)
    if (mine[i] != other[i]) return mine[i] > other[i];
  return true;
}

int serverVersion(ZQControlStruct* control, ServerVersion& out, ZQStatusList* status) {
  out = ServerVersion{};
  transport::ServerOptions* o = transport::findOptions(control->context, control->server);
  if (o && o->major != 0) {
    out = ServerVersion{o->major, o->minor, o->maintenance, o->patch};
    return ZQ_RETURN_OK;
  }
  ZQServerInfoList answer{0, nullptr};
  int rc = askServerInfo(control, {4}, &answer, status);
  if (rc < ZQ_RETURN_ERROR) {
    const ZQValueStruct* v = answer.count == 1 && answer.items ? &answer.items[0].value : nullptr;
    if (v && v->dataType == ZQ_DATA_TYPE_CHAR && v->u.charValue)
      transport::parseServerVersion(v->u.charValue, out.major, out.minor, out.maintenance,
                                    out.patch);
  }
  FreeZQServerInfoList(&answer, 0);
  return rc;
}

}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetServerInfo(ZQControlStruct* control, ZQServerInfoRequestList* request,
                    ZQServerInfoList* result, ZQStatusList* status) {
  if (result) *result = {0, nullptr};
  call::Call<proc::GetServerInfo> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!result) return call.fail(kMsgMissingOutput);
  if (call.refused(checkRequest(request, status, badSettingRequest))) return call.rc();
  call.record(diag::Command::GetServerInfo, request);
  if (call.bind()) {
    call.args().settings = *request;
    if (auto* reply = call.send()) {
      *result = reply->settings;
      reply->settings = {0, nullptr};
    }
  }
  return call.finish(result);
}

int ZQGetServerStatistics(ZQControlStruct* control, ZQServerInfoRequestList* request,
                          ZQServerInfoList* result, ZQStatusList* status) {
  if (result) *result = {0, nullptr};
  call::Call<proc::GetServerStatistics> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!result) return call.fail(kMsgMissingOutput);
  auto bad = [](uint32_t n) -> int32_t {
    return n == 0 || n > kLastStatistic ? kMsgBadServerStatistic : 0;
  };
  if (call.refused(checkRequest(request, status, bad))) return call.rc();
  call.record(diag::Command::GetServerStatistics, request);
  if (call.bind()) {
    call.args().settings = *request;
    if (auto* reply = call.send()) {
      *result = reply->settings;
      reply->settings = {0, nullptr};
    }
  }
  return call.finish(result);
}

int ZQSetServerInfo(ZQControlStruct* control, ZQServerInfoList* settings, ZQStatusList* status) {
  call::Call<proc::SetServerInfo> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkSettingChanges(settings, status)))
    return call.rc();
  {
    MaskedSettings masked(settings);
    call.record(diag::Command::SetServerInfo, &masked.list);
  }
  if (!call.bind()) return call.finish();
  // Protected for the server as bound: below protocol 10 it reads the
  // legacy scramble, from 10 on the cipher text.
  const int version = protocolVersion(call.context(), control);
  for (uint32_t i = 0; i < settings->count; ++i) {
    if (!isPasswordSetting(settings->items[i])) continue;
    if (protectSetting(settings->items[i], version, status) >= ZQ_RETURN_ERROR) {
      call.setRc(ZQ_RETURN_ERROR);
      return call.finish();
    }
  }
  call.args().settings = *settings;
  call.send();
  return call.finish();
}

int ZQGetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoRequestList* request,
                      ZQFullTextInfoList* result, ZQStatusList* status) {
  if (result) *result = {0, nullptr};
  call::Call<proc::GetFullTextInfo> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!result) return call.fail(kMsgMissingOutput);
  auto bad = [](uint32_t n) -> int32_t {
    return n == 0 || n > kLastFullTextSetting ? kMsgBadFullTextSetting : 0;
  };
  if (call.refused(checkRequest(request, status, bad))) return call.rc();
  call.record(diag::Command::GetFullTextInfo, request);
  if (call.bind()) {
    call.args().request = *request;
    if (auto* reply = call.send()) {
      *result = reply->settings;
      reply->settings = {0, nullptr};
    }
  }
  return call.finish(result);
}

int ZQSetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoList* settings,
                      ZQStatusList* status) {
  call::Call<proc::SetFullTextInfo> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkFullTextChanges(settings, status)))
    return call.rc();
  call.record(diag::Command::SetFullTextInfo, settings);
  if (call.bind()) {
    call.args().settings = *settings;
    call.send();
  }
  return call.finish();
}

}  // extern "C"
