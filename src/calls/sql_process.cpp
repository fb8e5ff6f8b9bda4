// Direct SQL and processes on the server: ZQGetListSQL (59),
// ZQExecuteProcess (61), and their active-link forms (116, 117), which the
// server may redirect to another server.
#include <cstdlib>
#include <cstring>
#include <string>

#include "calls/admin.h"
#include "calls/attachments.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "model/describe.h"
#include "security/security.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr uint32_t kWantMatches = 1;
constexpr uint32_t kWantCommand = 2;
constexpr uint32_t kWantProcessResult = 1;
constexpr int kStrongPasswordVersion = 12;
constexpr size_t kLegacyPasswordLength = 30;
constexpr size_t kStrongPasswordLength = 120;
constexpr uint32_t kInternalActiveLink = 9999;

bool hasMessage(const ZQStatusList* status, int32_t number) {
  for (uint32_t i = 0; status && i < status->count; ++i)
    if (status->items[i].messageNumber == number) return true;
  return false;
}

// "<n>\<server of n characters>\<command>" -> server and command.
bool parseRedirect(const char* text, std::string& server, std::string& command) {
  if (!text) return false;
  char* end = nullptr;
  const unsigned long n = strtoul(text, &end, 10);
  if (end == text || *end != '\\' || n == 0 || n > ZQ_MAX_SERVER_SIZE) return false;
  const char* name = end + 1;
  if (strnlen(name, n) < n || name[n] != '\\') return false;
  server.assign(name, n);
  command.assign(name + n + 1);
  return true;
}

}  // namespace

int32_t convertWorkflowPassword(std::string& command, int fromVersion, int toVersion) {
  const bool fromStrong = fromVersion >= kStrongPasswordVersion;
  const bool toStrong = toVersion >= kStrongPasswordVersion;
  if (fromStrong == toStrong) return 0;
  const size_t length = fromStrong ? kStrongPasswordLength : kLegacyPasswordLength;
  if (command.size() < 1 + length) return kMsgBadRedirect;
  char work[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  memcpy(work, command.data() + 1, length);
  char out[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  int32_t rc = 0;
  if (fromStrong) {
    rc = DecryptPasswordEx(security::keys::kPasswordKeys[0], work);
    if (rc == 0) {
      copyName(out, work, kLegacyPasswordLength + 1);
      security::scrambleLegacy(security::remoteWorkflowKey(), out);
    }
  } else if (!security::unscrambleLegacy(security::remoteWorkflowKey(), work)) {
    rc = kMsgBadRedirect;
  } else {
    rc = EncryptCharPasswordEx(work, security::keys::kPasswordKeys[0], out);
  }
  if (rc == 0) {
    try {
      // Built by appending: GCC 12 at -O3 warns (falsely) about overlap in
      // the chain of operator+.
      std::string rebuilt;
      rebuilt.reserve(1 + strlen(out) + command.size());
      rebuilt += '+';
      rebuilt += out;
      rebuilt.append(command, 1 + length, std::string::npos);
      command.swap(rebuilt);
      explicit_bzero(rebuilt.data(), rebuilt.size());
    } catch (...) {
      rc = kMsgNoMemory;
    }
  }
  explicit_bzero(work, sizeof work);
  explicit_bzero(out, sizeof out);
  return rc;
}

namespace {

// The caller's control record aimed at the redirect's target; the caller's
// own record is never changed.
struct Redirect {
  ZQControlStruct target;
  std::string command;
};

// A nested call empties the list it is given without releasing it: what the
// list holds (the redirect's note) is released first, and the nested call's
// outcome takes its place.
ZQStatusList* releasedForNestedCall(ZQStatusList* status) {
  FreeZQStatusList(status, 0);
  return status;
}

// Prepares a redirect; the status list's code (2 with the reason added when
// it cannot be followed).
int prepareRedirect(call::Frame& call, const char* text, Redirect& out) {
  std::string server;
  if (!parseRedirect(text, server, out.command)) {
    call.failAfterRecord(kMsgBadRedirect, text ? text : "");
    return ZQ_RETURN_ERROR;
  }
  const int firstVersion = protocolVersion(call.context(), call.control());
  memcpy(&out.target, call.control(), sizeof out.target);
  copyName(out.target.server, server.c_str(), sizeof out.target.server);
  out.target.cacheId = 0;
  if (out.command.empty() || out.command[0] != '+') return ZQ_RETURN_OK;
  // The target's protocol generation decides the password's form.
  ZQServerInfoList answer{0, nullptr};
  const int rc = askServerInfo(&out.target, {4}, &answer, releasedForNestedCall(call.status()));
  const bool empty = answer.count == 0;
  FreeZQServerInfoList(&answer, 0);
  if (rc >= ZQ_RETURN_ERROR) {
    call.setRc(rc);
    return rc;
  }
  if (empty) {
    call.failAfterRecord(kMsgBadRedirect, server.c_str());
    return ZQ_RETURN_ERROR;
  }
  const int targetVersion = protocolVersion(call.context(), &out.target);
  if (int32_t message = convertWorkflowPassword(out.command, firstVersion, targetVersion)) {
    call.failAfterRecord(message, server.c_str());
    return ZQ_RETURN_ERROR;
  }
  return ZQ_RETURN_OK;
}

bool internalCommand(uint32_t actionIndex, const char* command) {
  if (actionIndex != kInternalActiveLink || !command || !command[0]) return false;
  for (const char* name :
       {"VelmorDeleteAlert", "VelmorApplicationCommand", "VelmorDeleteUserCentralFile"})
    if (strcmp(command + 1, name) == 0) return true;
  return false;
}

template <class T>
void takeString(char*& from, T** to) {
  if (to) {
    *to = from;
  } else {
    ZQFree(from);
  }
  from = nullptr;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetListSQL(ZQControlStruct* control, const char* sql, uint32_t maxRows, ZQValueListList* rows,
                 uint32_t* matches, ZQStatusList* status) {
  if (rows) *rows = ZQValueListList{0, nullptr};
  if (matches) *matches = 0;
  call::Call<proc::GetListSQL> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!sql || !sql[0]) return call.fail(kMsgSqlCommandMissing);
  if (!rows) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListSQL, diag::LongText{sql}, maxRows);
  if (call.bind()) {
    call.args().sql = const_cast<char*>(sql);
    call.args().maxRows = maxRows;
    call.args().wantMatches = matches ? 1 : 0;
    if (auto* reply = call.send()) {
      *rows = reply->rows;
      reply->rows = ZQValueListList{0, nullptr};
      if (matches) *matches = reply->matches;
    }
  }
  return call.finish(rows, matches);
}

int ZQExecuteProcess(ZQControlStruct* control, const char* command, int32_t* returnStatus,
                     char** output, ZQStatusList* status) {
  if (returnStatus) *returnStatus = 0;
  if (output) *output = nullptr;
  call::Call<proc::ExecuteProcess> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!command) return call.fail(kMsgBadProcess);
  call.record(diag::Command::ExecuteProcess, diag::LongText{command});
  if (call.bind()) {
    call.args().command = const_cast<char*>(command);
    // Without outputs the server starts the process and does not wait.
    call.args().wait = returnStatus || output ? 1 : 0;
    if (auto* reply = call.send()) {
      if (returnStatus) *returnStatus = reply->returnStatus;
      takeString(reply->output, output);
    }
  }
  return call.finish(returnStatus, output);
}

int ZQGetListSQLForActiveLink(ZQControlStruct* control, const char* sql, uint32_t actionIndex,
                              uint32_t actionKind, uint32_t activeLinkOrder,
                              ZQFieldValueList* fieldValues, ZQFieldValueList* databaseValues,
                              uint32_t maxRows, ZQValueListList* rows, uint32_t* matches,
                              char** returnedCommand, ZQStatusList* status) {
  if (rows) *rows = ZQValueListList{0, nullptr};
  if (matches) *matches = 0;
  if (returnedCommand) *returnedCommand = nullptr;
  call::Call<proc::GetListSQLForActiveLink> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!rows) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListSQLForActiveLink, diag::LongText{sql}, actionIndex, actionKind,
              activeLinkOrder, fieldValues, databaseValues, maxRows);
  if (!call.bind()) return call.finish(rows, matches, returnedCommand);
  auto& args = call.args();
  args.sql = const_cast<char*>(sql);
  args.actionIndex = actionIndex;
  args.actionKind = actionKind;
  args.activeLinkOrder = activeLinkOrder;
  args.fieldValues = fieldValues && fieldValues->count ? fieldValues : nullptr;
  args.databaseValues = databaseValues && databaseValues->count ? databaseValues : nullptr;
  args.maxRows = maxRows;
  args.wanted = (matches ? kWantMatches : 0) | (returnedCommand ? kWantCommand : 0);
  int replyCode = 0;
  auto* reply = call.send(&replyCode);
  if (!reply) return call.finish(rows, matches, returnedCommand);
  if (hasMessage(status, kMsgRedirected)) {
    std::string text;
    const ZQValueListList& r = reply->rows;
    if (r.count && r.items && r.items[0].count && r.items[0].items &&
        r.items[0].items[0].dataType == ZQ_DATA_TYPE_CHAR && r.items[0].items[0].u.charValue)
      text = r.items[0].items[0].u.charValue;
    model::release(reply->rows);
    ZQFree(reply->returnedCommand);
    reply->returnedCommand = nullptr;
    Redirect redirect;
    if (prepareRedirect(call, text.c_str(), redirect) >= ZQ_RETURN_ERROR)
      return call.finish(rows, matches, returnedCommand);
    call.setRc(ZQGetListSQL(&redirect.target, redirect.command.c_str(), maxRows, rows, matches,
                            releasedForNestedCall(status)));
    std::fill(redirect.command.begin(), redirect.command.end(), '\0');
    return call.finish(rows, matches, returnedCommand);
  }
  *rows = reply->rows;
  reply->rows = ZQValueListList{0, nullptr};
  if (matches) *matches = reply->matches;
  takeString(reply->returnedCommand, returnedCommand);
  return call.finish(rows, matches, returnedCommand);
}

int ZQExecuteProcessForActiveLink(ZQControlStruct* control, const char* command,
                                  uint32_t actionIndex, uint32_t actionKind,
                                  uint32_t activeLinkOrder, uint32_t timerInterval,
                                  ZQFieldValueList* fieldValues, ZQFieldValueList* databaseValues,
                                  int32_t* returnStatus, char** output, char** returnedCommand,
                                  ZQStatusList* status) {
  if (returnStatus) *returnStatus = 0;
  if (output) *output = nullptr;
  if (returnedCommand) *returnedCommand = nullptr;
  call::Call<proc::ExecuteProcessForActiveLink> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!command) return call.fail(kMsgBadProcess);
  if (!databaseValues) return call.fail(kMsgNullArgument, "databaseValues");
  // The library's own internal commands are not recorded.
  if (!internalCommand(actionIndex, command))
    call.record(diag::Command::ExecuteProcessForActiveLink, diag::LongText{command}, actionIndex,
                diag::Signed{static_cast<int32_t>(actionKind)}, activeLinkOrder, timerInterval,
                fieldValues, databaseValues, returnStatus || output, returnedCommand != nullptr);
  auto finish = [&] { return call.finish(returnStatus, output, returnedCommand); };
  if (!call.bind()) return finish();
  PreparedValues prepared;
  call.raise(
      prepareValues(boundServer(call.context(), control), databaseValues, false, prepared, status));
  if (call.rc() >= ZQ_RETURN_ERROR) return finish();
  auto& args = call.args();
  args.command = const_cast<char*>(command);
  args.actionIndex = actionIndex;
  args.actionKind = actionKind;
  args.activeLinkOrder = activeLinkOrder;
  args.timerInterval = timerInterval;
  args.fieldValues = fieldValues && fieldValues->count ? fieldValues : nullptr;
  args.databaseValues = prepared.list();
  args.wanted =
      (returnStatus || output ? kWantProcessResult : 0) | (returnedCommand ? kWantCommand : 0);
  auto* reply = call.send();
  args.databaseValues = ZQFieldValueList{};
  if (!reply) return finish();
  if (hasMessage(status, kMsgRedirected)) {
    std::string text = reply->output ? reply->output : "";
    ZQFree(reply->output);
    reply->output = nullptr;
    ZQFree(reply->returnedCommand);
    reply->returnedCommand = nullptr;
    Redirect redirect;
    if (prepareRedirect(call, text.c_str(), redirect) >= ZQ_RETURN_ERROR) return finish();
    call.setRc(ZQExecuteProcess(&redirect.target, redirect.command.c_str(), returnStatus, output,
                                releasedForNestedCall(status)));
    std::fill(redirect.command.begin(), redirect.command.end(), '\0');
    return finish();
  }
  if (returnStatus) *returnStatus = reply->returnStatus;
  takeString(reply->output, output);
  takeString(reply->returnedCommand, returnedCommand);
  return finish();
}

}  // extern "C"
