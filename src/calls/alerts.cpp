// The alert calls: register and deregister a listener (102, 103), create an
// alert entry (procedure 3 on the alert form), list the users registered
// for alerts (104), count alert entries (115), and decode the message a
// listener received (local).
#include "calls/alerts.h"

#include <cstring>
#include <string>

#include "call/call.h"
#include "calls/checks.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "transport/describe.h"
#include "zqapi/zq_alerts.h"

namespace zq::calls {

std::string alertLanguage(const std::string& configured) {
  if (configured == "enu" || configured == "ENU" ||
      configured.find("English") != std::string::npos ||
      configured.find("en_US") != std::string::npos)
    return "";
  for (const char* japanese : {"ja", "JA", "Ja", "jpn", "JPN"})
    if (configured.find(japanese) != std::string::npos) return configured + ";SJIS";
  return configured;
}

namespace {

using call::Call;
namespace proc = transport::proc;

// Address texts of a registration.
constexpr size_t kClientAddressMax = 64;
constexpr size_t kLanguageMax = 64;

// Largest text a compressed alert message may inflate to: a hostile
// message cannot make the decoder allocate more.
constexpr size_t kMaxAlertText = 16u << 20;

std::string cut(std::string text, size_t max) {
  if (text.size() > max) text.resize(max);
  return text;
}

// The machine's host name, or its first IPv4 address when the name resolves.
std::string clientAddress() {
  const std::string name = cut(platform::localHostName(), kClientAddressMax);
  const std::string address = platform::hostAddress(name);
  return address.empty() ? name : address;
}

// Registration and deregistration share everything but the language and
// the flags.
template <class P>
int registration(ZQControlStruct* control, uint32_t port, uint32_t flags, bool withLanguage,
                 diag::Command command, ZQStatusList* status) {
  Call<P> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(command, port, flags);
  if (!call.bind()) return call.finish();
  std::string language;
  if (withLanguage) {
    language = alertLanguage(cut(platform::configValue("sLanguage").value_or(""), kLanguageMax));
    call.header().localeBlock[0] = language.empty() ? nullptr : language.data();
  }
  std::string client = clientAddress();
  std::string server = withLanguage ? platform::hostAddress(control->server) : "";
  auto& args = call.args();
  args.clientAddress = client.data();
  args.port = port;
  args.flags = withLanguage ? flags : 0;
  args.serverAddress = server.data();
  call.send();
  return call.finish();
}

// ---- the alert message ----------------------------------------------------------------------

constexpr char kEnvelopeMark[4] = {'2', '0', '5', '9'};
constexpr size_t kEnvelopeSize = 8;
constexpr uint32_t kVersion1Fields = 15;
constexpr uint32_t kVersion2Fields = 17;

uint32_t bigEndian(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// A decimal number of a field; false for anything else (empty, a sign where
// none is allowed, other characters, more digits than a 32-bit word holds).
bool decimal(const unsigned char* p, size_t n, bool withSign, int64_t& out) {
  bool negative = false;
  if (withSign && n && p[0] == '-') {
    negative = true;
    ++p;
    --n;
  }
  if (n == 0 || n > 10) return false;
  int64_t value = 0;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    value = value * 10 + (p[i] - '0');
  }
  out = negative ? -value : value;
  return withSign ? out >= INT32_MIN && out <= INT32_MAX : out <= UINT32_MAX;
}

// Where the decoded fields go; null members were not asked for.
struct AlertOutputs {
  ZQTimestamp* timestamp;
  uint32_t* sourceType;
  uint32_t* priority;
  char** strings[6];  // fields 6, 8, ..., 16: text, tag, server, form, object id, address

  void releaseStrings() {
    for (char** s : strings)
      if (s) {
        zq::freeBlock(*s);
        *s = nullptr;
      }
  }
};

// Walks the fields of an alert text, reporting every malformation as 3317.
class AlertParser {
 public:
  AlertParser(const unsigned char* text, size_t size, ZQStatusList* status)
      : text_(text), size_(size), status_(status) {}

  // The field count of the text's version, or 0 (3317 reported).
  uint32_t fieldCount() {
    size_t backslashes = 0;
    for (size_t i = 0; i < size_; ++i) backslashes += text_[i] == '\\';
    const auto* first = static_cast<const unsigned char*>(memchr(text_, '\\', size_));
    if (first) {
      const size_t from = first - text_ + 1;
      const auto* second =
          static_cast<const unsigned char*>(memchr(text_ + from, '\\', size_ - from));
      int64_t version = 0;
      if (second && decimal(text_ + from, second - text_ - from, false, version)) {
        if (version == 1 && backslashes >= kVersion1Fields) return kVersion1Fields;
        if (version == 2 && backslashes >= kVersion2Fields) return kVersion2Fields;
      }
    }
    malformed();
    return 0;
  }

  void walk(uint32_t fields, AlertOutputs& out) {
    int64_t counted = 0;  // the length the previous field gave
    for (uint32_t i = 0; i < fields; ++i) {
      if (status_->count) return;
      if (i >= 6 && i % 2 == 0) {
        countedField(static_cast<size_t>(counted), out.strings[(i - 6) / 2]);
        continue;
      }
      const auto* end = static_cast<const unsigned char*>(memchr(text_ + pos_, '\\', size_ - pos_));
      if (!end) return malformed();
      const unsigned char* field = text_ + pos_;
      const size_t length = end - field;
      pos_ += length + 1;
      int64_t n = 0;
      if (!decimal(field, length, i == 2, n)) return malformed();
      switch (i) {
        case 0:
          if (static_cast<uint64_t>(n) != size_) return malformed();
          break;
        case 1:
          break;  // the version, read already
        case 2:
          if (out.timestamp) *out.timestamp = static_cast<ZQTimestamp>(n);
          break;
        case 3:
          if (out.sourceType) *out.sourceType = static_cast<uint32_t>(n);
          break;
        case 4:
          if (out.priority) *out.priority = static_cast<uint32_t>(n);
          break;
        default:
          counted = n;
      }
    }
  }

 private:
  void malformed() { addError(status_, kMsgBadAlertMessage); }

  // Exactly length bytes, whatever they hold, then the terminating backslash.
  void countedField(size_t length, char** out) {
    if (length >= size_ - pos_ || text_[pos_ + length] != '\\') return malformed();
    if (out) {
      auto* copy = static_cast<char*>(zq::alloc(length + 1));
      if (!copy) {
        addError(status_, kMsgNoMemory);
        return;
      }
      memcpy(copy, text_ + pos_, length);
      copy[length] = '\0';
      *out = copy;
    }
    pos_ += length + 1;
  }

  const unsigned char* text_;
  size_t size_;
  ZQStatusList* status_;
  size_t pos_ = 0;
};

// One value of the alert entry; a missing text becomes a null value.
bool setText(ZQFieldValueStruct& item, ZQInternalId id, const char* text) {
  item.fieldId = id;
  if (!text) {
    item.value.dataType = ZQ_DATA_TYPE_NULL;
    return true;
  }
  item.value.dataType = ZQ_DATA_TYPE_CHAR;
  item.value.u.charValue = zq::dupString(text);
  return item.value.u.charValue != nullptr;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQRegisterForAlerts(ZQControlStruct* control, uint32_t clientPort, uint32_t flags,
                        ZQStatusList* status) {
  return registration<proc::RegisterForAlerts>(control, clientPort, flags, true,
                                               diag::Command::RegisterForAlerts, status);
}

int ZQDeregisterForAlerts(ZQControlStruct* control, uint32_t clientPort, ZQStatusList* status) {
  return registration<proc::DeregisterForAlerts>(control, clientPort, 0, false,
                                                 diag::Command::DeregisterForAlerts, status);
}

int ZQCreateAlertEvent(ZQControlStruct* control, const char* user, const char* alertText,
                       int32_t priority, const char* sourceTag, const char* serverName,
                       const char* formName, const char* objectId, ZQEntryIdType entryId,
                       ZQStatusList* status) {
  if (entryId) entryId[0] = '\0';
  Call<proc::CreateEntry> call(control, status);
  if (!call || call.refusedControl() || call.refused(zq::checkName(user, false, status)))
    return call.rc();
  if (!alertText || !*alertText) return call.fail(kMsgAlertTextRequired);
  call.record(diag::Command::CreateAlertEvent, user, alertText, priority, sourceTag, serverName,
              formName, objectId);
  if (!call.bind()) return call.finish(entryId);

  ZQFieldValueStruct items[7] = {};
  ZQFieldValueList values{7, items};
  items[2].fieldId = ZQ_ALERT_FIELD_PRIORITY;
  items[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
  items[2].value.u.integerValue = priority;
  const bool built = setText(items[0], ZQ_ALERT_FIELD_USER, user) &&
                     setText(items[1], ZQ_ALERT_FIELD_TEXT, alertText) &&
                     setText(items[3], ZQ_ALERT_FIELD_SOURCE_TAG, sourceTag) &&
                     setText(items[4], ZQ_ALERT_FIELD_SERVER, serverName) &&
                     setText(items[5], ZQ_ALERT_FIELD_FORM, formName) &&
                     setText(items[6], ZQ_ALERT_FIELD_OBJECT_ID, objectId);
  if (built) {
    auto& args = call.args();
    args.form = const_cast<char*>(ZQ_ALERT_FORM);
    args.values = values;
    if (auto* reply = call.send(); reply && entryId)
      copyName(entryId, reply->entryId, sizeof(ZQEntryIdType));
  } else {
    call.failAfterRecord(kMsgNoMemory);
  }
  for (auto& item : items)
    if (item.value.dataType == ZQ_DATA_TYPE_CHAR) zq::freeBlock(item.value.u.charValue);
  return call.finish(entryId);
}

int ZQGetListAlertUser(ZQControlStruct* control, ZQAccessNameList* users, ZQStatusList* status) {
  if (users) *users = ZQAccessNameList{};
  Call<proc::GetListAlertUser> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::GetListAlertUser);
  if (call.bind()) {
    if (auto* reply = call.send(); reply && users) {
      *users = reply->users;
      reply->users = ZQAccessNameList{};
    }
  }
  return call.finish(users);
}

int ZQGetAlertCount(ZQControlStruct* control, ZQQualifierStruct* qualifier, uint32_t* count,
                    ZQStatusList* status) {
  if (count) *count = 0;
  Call<proc::GetAlertCount> call(control, status);
  if (!call || call.refusedControl() ||
      (qualifier && call.refused(checks::checkQualifier(qualifier, true, status))))
    return call.rc();
  call.record(diag::Command::GetAlertCount, qualifier);
  if (call.bind()) {
    if (qualifier) call.args().qualifier = *qualifier;
    if (auto* reply = call.send(); reply && count) *count = reply->count;
    call.args().qualifier = ZQQualifierStruct{};  // the caller's, not ours
  }
  return call.finish(count);
}

int ZQDecodeAlertMessage(ZQControlStruct* control, const unsigned char* message, uint32_t length,
                         ZQTimestamp* timestamp, uint32_t* sourceType, uint32_t* priority,
                         char** alertText, char** sourceTag, char** serverName,
                         char** serverAddress, char** formName, char** objectId,
                         ZQStatusList* status) {
  AlertOutputs out{timestamp,
                   sourceType,
                   priority,
                   {alertText, sourceTag, serverName, formName, objectId, serverAddress}};
  if (timestamp) *timestamp = 0;
  if (sourceType) *sourceType = 0;
  if (priority) *priority = 0;
  for (char** s : out.strings)
    if (s) *s = nullptr;

  call::Frame call(control, status);
  if (!call) return call.rc();
  if (!message || length < kEnvelopeSize) return call.fail(kMsgBadAlertMessage);

  const unsigned char* text = message;
  size_t size = length;
  platform::ZBuffer inflated;
  if (memcmp(message, kEnvelopeMark, sizeof kEnvelopeMark) == 0) {
    if (bigEndian(message + 4) != length) return call.fail(kMsgBadAlertMessage);
    text = message + kEnvelopeSize;
    size = length - kEnvelopeSize;
    // A body that does not inflate is read as it stands (and fails the field checks).
    if (platform::decompressBytes(text, size, 0, inflated, kMaxAlertText) ==
        platform::ZResult::ok) {
      text = inflated.data;
      size = inflated.size;
    }
  }
  std::string recorded(reinterpret_cast<const char*>(text), size);
  call.record(diag::Command::DecodeAlertMessage, length, diag::LongText{recorded.c_str()});

  AlertParser parser(text ? text : message, text ? size : 0, status);
  if (const uint32_t fields = parser.fieldCount()) parser.walk(fields, out);
  zq::freeBlock(inflated.data);

  call.setRc(returnCode(status));
  if (call.rc() >= ZQ_RETURN_ERROR) out.releaseStrings();
  return call.finish(timestamp, sourceType, priority, alertText, sourceTag, serverName,
                     serverAddress, formName, objectId);
}

}  // extern "C"
