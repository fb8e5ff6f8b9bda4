// The qualification language as exported calls: ZQLoadZQQualifierStruct
// reads a typed qualification against a form's live definition, and
// ZQExpandKeywords (ordinal 849) turns a text with keywords into a value.
#include <cstring>
#include <ctime>
#include <string>

#include "call/call.h"
#include "calls/admin.h"
#include "calls/entries.h"
#include "calls/qualification.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "text/text.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_text.h"

namespace zq::calls {
namespace {

enum Keyword {
  kUser = 1,
  kTimestamp = 2,
  kTime = 3,
  kDate = 4,
  kSchema = 5,
  kServer = 6,
  kWeekday = 7,
  kGroups = 8,
  kOperation = 9,
  kHardware = 10,
  kOs = 11,
  kDatabase = 12,
  kLastId = 13,
  kLastCount = 14,
  kVersion = 15,
  kVui = 16,
  kInBulkTransaction = 35,
  kServerTimestamp = 39,
  kGroupIds = 40,
};

constexpr size_t kMaxGroupsText = 255;
constexpr uint32_t kSettingDbType = 1;
constexpr uint32_t kSettingDbVersion = 27;
constexpr uint32_t kSettingServerTime = 116;

// The server settings asked for, as texts in order; empty when refused.
std::string settingText(const ZQServerInfoList& list, uint32_t setting) {
  for (uint32_t i = 0; i < list.count; ++i) {
    const ZQServerInfoStruct& s = list.items[i];
    if (s.operation != setting) continue;
    const ZQValueStruct& v = s.value;
    switch (v.dataType) {
      case ZQ_DATA_TYPE_CHAR:
        return v.u.charValue ? v.u.charValue : "";
      case ZQ_DATA_TYPE_INTEGER:
        return std::to_string(v.u.integerValue);
      case ZQ_DATA_TYPE_TIME:
        return text::dates::localTimeText(&text::dates::formatTimestamp, v.u.timestampValue);
      default:
        return "";
    }
  }
  return "";
}

int32_t groupsText(ZQControlStruct* control, bool ids, std::string& out) {
  ZQGroupInfoList groups{0, nullptr};
  ZQStatusList s{0, nullptr};
  const int rc = ZQGetListGroup(control, nullptr, nullptr, &groups, &s);
  FreeZQStatusList(&s, 0);
  if (rc < ZQ_RETURN_ERROR) {
    for (uint32_t i = 0; i < groups.count; ++i) {
      const ZQGroupInfoStruct& g = groups.items[i];
      std::string piece;
      if (ids) {
        piece = ";" + std::to_string(g.groupId);
      } else if (g.groupNames.count > 0) {
        piece = (out.empty() ? "" : " ") + std::string(g.groupNames.items[0]);
      }
      if (out.size() + piece.size() + (ids ? 1 : 0) > kMaxGroupsText) break;
      out += piece;
    }
    if (ids && !out.empty()) out += ';';
  }
  FreeZQGroupInfoList(&groups, 0);
  return 0;
}

}  // namespace

qualify::KeywordValue keywordValues(ZQControlStruct* control, const char* form,
                                    const char* viewLabel) {
  const std::string formName = form ? form : "";
  const std::string view = viewLabel ? viewLabel : "";
  return [control, formName, view](int keyword, std::string& out) -> int32_t {
    out.clear();
    ZQThreadContext* ctx = control->context;
    switch (keyword) {
      case kUser:
        out = control->user;
        break;
      case kTimestamp:
        out = text::dates::localTimeText(&text::dates::formatTimestamp, time(nullptr));
        break;
      case kTime:
        out = text::dates::localTimeText(&text::dates::formatTimestampTime, time(nullptr));
        break;
      case kDate:
        out = text::dates::localTimeText(&text::dates::formatTimestampDate, time(nullptr));
        break;
      case kSchema:
        out = formName;
        break;
      case kServer:
        out = control->server;
        break;
      case kVui:
        out = view;
        break;
      case kWeekday: {
        const time_t now = time(nullptr);
        struct tm local {};
        localtime_r(&now, &local);
        char buffer[64];
        if (strftime(buffer, sizeof buffer, "%A", &local) > 0) out = buffer;
        break;
      }
      case kGroups:
        return groupsText(control, false, out);
      case kGroupIds:
        return groupsText(control, true, out);
      case kOperation:
        out = "QUERY";
        break;
      case kHardware:
        out = qualify::hardwareText();
        break;
      case kOs:
        out = qualify::systemText();
        break;
      case kDatabase:
      case kServerTimestamp: {
        ZQServerInfoList answer{0, nullptr};
        ZQStatusList s{0, nullptr};
        if (keyword == kDatabase)
          askServerInfo(control, {kSettingDbType, kSettingDbVersion}, &answer, &s);
        else
          askServerInfo(control, {kSettingServerTime}, &answer, &s);
        FreeZQStatusList(&s, 0);
        if (keyword == kDatabase)
          out = settingText(answer, kSettingDbType) + " " + settingText(answer, kSettingDbVersion);
        else
          out = settingText(answer, kSettingServerTime);
        FreeZQServerInfoList(&answer, 0);
        break;
      }
      case kLastId:
        if (ctx) out.assign(ctx->lastEntryId, strnlen(ctx->lastEntryId, sizeof ctx->lastEntryId));
        break;
      case kLastCount:
        if (ctx) out = std::to_string(ctx->lastMatchCount);
        break;
      case kVersion:
        out = ZQ_LIBRARY_VERSION;
        break;
      case kInBulkTransaction: {
        auto* state = ctx ? dynamic_cast<EntryCallsState*>(ctx->calls.get()) : nullptr;
        out = state && state->bulkOpen ? "1" : "0";
        break;
      }
      default:
        break;  // keywords of the client's screen: no value here
    }
    return 0;
  };
}

}  // namespace zq::calls

namespace {

using zq::call::Frame;
namespace calls = zq::calls;

bool blank(const char* text) {
  for (; *text; ++text)
    if (*text != ' ' && *text != '\t') return false;
  return true;
}

}  // namespace

int ZQLoadZQQualifierStruct(ZQControlStruct* control, const char* form, const char* viewLabel,
                            const char* text, ZQQualifierStruct* qual, ZQStatusList* status) {
  if (qual) qual->operation = ZQ_COND_OP_NONE;
  Frame call(control, status);
  if (!call || call.refusedControl() || call.refused(zq::checkName(form, false, status)))
    return call.rc();
  if (!qual) return call.fail(zq::kMsgNoOutputQualifier);
  *qual = ZQQualifierStruct{};
  if (!text || blank(text)) return call.rc();
  call.record(zq::diag::Command::LoadZQQualifierStruct, form, viewLabel, zq::diag::LongText{text});

  zq::qualify::FieldTable table;
  int rc = calls::readFieldTable(call.control(), form, viewLabel, table, call.status());
  if (rc >= ZQ_RETURN_ERROR) {
    call.setRc(rc);
    return call.finish(qual);
  }
  const zq::qualify::KeywordValue keywords = calls::keywordValues(call.control(), form, viewLabel);
  if (zq::qualify::parse(table, text, keywords, qual, call.status()) != 0) {
    *qual = ZQQualifierStruct{};
  }
  call.setRc(zq::returnCode(call.status()));
  return call.finish(qual);
}

int ZQExpandKeywords(ZQControlStruct* control, const char* form, const char* viewLabel,
                     const char* text, ZQValueStruct* value, ZQStatusList* status) {
  if (value) *value = ZQValueStruct{};
  Frame call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!value) return call.fail(zq::kMsgMissingOutput);
  if (!text) return call.rc();
  const zq::qualify::KeywordValue keywords = calls::keywordValues(call.control(), form, viewLabel);
  zq::qualify::expandKeywords(text, keywords, value, call.status());
  call.setRc(zq::returnCode(call.status()));
  return call.finish();
}
