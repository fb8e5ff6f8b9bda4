// Users, groups and roles as the server sees them: ZQVerifyUser (32),
// ZQGetListGroup (33), ZQGetListUser (46) and ZQGetListRole (126).
#include <cstring>
#include <string>

#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "platform/platform.h"
#include "security/security.h"
#include "zqapi/zq_security.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr size_t kMaxUserName = 254;
constexpr uint32_t kLastUserListType = ZQ_USER_LIST_INVALID;

int checkUserName(const char* user, ZQStatusList* status) {
  if (user && ZQServerTextLength(user) > kMaxUserName) return addError(status, kMsgTooLong);
  return ZQ_RETURN_OK;
}

// A password protected for the wire: the cipher text under the library's
// key, from the password as the server's character set spells it.
struct ProtectedPassword {
  char text[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  ~ProtectedPassword() { explicit_bzero(text, sizeof text); }
};

int protectPassword(ZQThreadContext* ctx, const char* password, const char* operation,
                    ProtectedPassword& out, ZQStatusList* status) {
  std::string plain(password);
  const uint32_t client = ctx->clientCharset, server = ctx->serverCharset;
  if (client && server && client != server &&
      (client == platform::kCharsetUtf8 || server == platform::kCharsetUtf8)) {
    std::string converted;
    switch (platform::convert(client, server, plain.data(), plain.size(), converted)) {
      case platform::ConvertResult::ok:
        break;
      case platform::ConvertResult::noMemory:
        return addError(status, kMsgNoMemory, operation);
      default:
        return addError(status, kMsgBadEncoding, operation);
    }
    std::fill(plain.begin(), plain.end(), '\0');
    plain = std::move(converted);
  }
  if (plain.size() > ZQ_MAX_PASSWORD_LENGTH) {
    std::fill(plain.begin(), plain.end(), '\0');
    return addError(status, kMsgTooLongForServer, operation);
  }
  const int rc = EncryptCharPasswordEx(plain.c_str(), security::keys::kPasswordKeys[0], out.text);
  std::fill(plain.begin(), plain.end(), '\0');
  return rc ? addError(status, rc, operation) : ZQ_RETURN_OK;
}

// Whether a group request's password travels protected: never up to
// protocol 7; for 8 and 9 only with servers that read it so; from 10 on
// always. -1 when the server's version could not be learnt.
int groupPasswordProtected(ZQControlStruct* control, ZQStatusList* status, int* rc) {
  const int protocol = protocolVersion(control->context, control);
  if (protocol <= 7) return 0;
  if (protocol >= 10) return 1;
  ServerVersion v;
  *rc = serverVersion(control, v, status);
  if (*rc >= ZQ_RETURN_ERROR) return -1;
  return protocol == 8 ? v.atLeast(5, 0, 1, 1190) : v.atLeast(5, 1, 0, 1191);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQVerifyUser(ZQControlStruct* control, ZQBoolean* administrator, ZQBoolean* subAdministrator,
                 ZQBoolean* customize, ZQStatusList* status) {
  for (ZQBoolean* flag : {administrator, subAdministrator, customize})
    if (flag) *flag = 0;
  call::Call<proc::VerifyUser> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::VerifyUser);
  if (call.bind()) {
    if (auto* reply = call.send()) {
      if (administrator) *administrator = reply->administrator;
      if (subAdministrator) *subAdministrator = reply->subAdministrator;
      if (customize) *customize = reply->customize;
    }
  }
  return call.finish(administrator, subAdministrator, customize);
}

int ZQGetListUser(ZQControlStruct* control, uint32_t listType, ZQTimestamp changedSince,
                  ZQUserInfoList* users, ZQStatusList* status) {
  if (users) *users = ZQUserInfoList{0, nullptr};
  call::Call<proc::GetListUser> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!users) return call.fail(kMsgNoResultOutput);
  if (listType > kLastUserListType) return call.fail(kMsgBadUserListType);
  call.record(diag::Command::GetListUser, listType, diag::Signed{changedSince});
  if (call.bind()) {
    call.args().listType = listType;
    call.args().changedSince = changedSince;
    if (auto* reply = call.send()) {
      *users = reply->users;
      reply->users = ZQUserInfoList{0, nullptr};
    }
  }
  return call.finish(users);
}

int ZQGetListGroup(ZQControlStruct* control, const char* userName, const char* password,
                   ZQGroupInfoList* groups, ZQStatusList* status) {
  if (groups) *groups = ZQGroupInfoList{0, nullptr};
  call::Call<proc::GetListGroup> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkUserName(userName, status)))
    return call.rc();
  if (!groups) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListGroup, diag::optionalText(userName), diag::Password{});
  if (!call.bind()) return call.finish(groups);
  ProtectedPassword protectedText;
  const char* sent = password;
  if (password && password[0]) {
    int rc = ZQ_RETURN_OK;
    const int protect = groupPasswordProtected(control, status, &rc);
    if (protect < 0) {
      call.setRc(rc);
      return call.finish(groups);
    }
    if (protect) {
      if (protectPassword(call.context(), password, "ZQGetListGroup: TranscodePassword",
                          protectedText, status) >= ZQ_RETURN_ERROR) {
        call.setRc(ZQ_RETURN_ERROR);
        return call.finish(groups);
      }
      sent = protectedText.text;
    }
  }
  call.args().user = orEmpty(userName);
  call.args().password = orEmpty(sent);
  if (auto* reply = call.send()) {
    *groups = reply->groups;
    reply->groups = ZQGroupInfoList{0, nullptr};
  }
  return call.finish(groups);
}

int ZQGetListRole(ZQControlStruct* control, const char* applicationName, const char* userName,
                  const char* password, ZQRoleInfoList* roles, ZQStatusList* status) {
  if (roles) *roles = ZQRoleInfoList{0, nullptr};
  call::Call<proc::GetListRole> call(control, status);
  if (!call || call.refusedControl() || call.refused(checkUserName(userName, status)))
    return call.rc();
  if (!roles) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListRole, applicationName, userName, diag::Password{});
  if (!call.bind()) return call.finish(roles);
  ProtectedPassword protectedText;
  if (password && password[0]) {
    if (protectPassword(call.context(), password, "ZQGetListRole: TranscodePassword", protectedText,
                        status) >= ZQ_RETURN_ERROR) {
      call.setRc(ZQ_RETURN_ERROR);
      return call.finish(roles);
    }
  }
  call.args().application = orEmpty(applicationName);
  call.args().user = orEmpty(userName);
  call.args().password = protectedText.text;
  if (auto* reply = call.send()) {
    *roles = reply->roles;
    reply->roles = ZQRoleInfoList{0, nullptr};
  }
  return call.finish(roles);
}

}  // extern "C"
