// ZQExpandCharMenu: a character menu definition turned into the plain list
// menu a client shows. List menus are expanded item by item, file menus are
// read from a local file (trying the locale's variants of its name), SQL
// menus are built from the rows of the query.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "call/call.h"
#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "menus/menus.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_menus.h"
#include "zqapi/zq_workflow.h"

namespace {

using zq::call::Frame;

// Nested list menus a caller may hand in.
constexpr int kMaxNesting = 64;

void absorb(ZQStatusList* into, ZQStatusList& from) {
  ZQStatusList merged{0, nullptr};
  zq::mergeStatusLists(into, &from, &merged);
  *into = merged;
}

// The control record to ask for a menu on the named server: the caller's
// own for "" and "@" and its own server, else a copy aimed elsewhere.
ZQControlStruct* serverFor(ZQControlStruct* control, const char* server, ZQControlStruct& copy) {
  if (!server || !*server || strcmp(server, "@") == 0 || strcmp(server, control->server) == 0)
    return control;
  memcpy(&copy, control, sizeof copy);
  zq::copyName(copy.server, server, sizeof copy.server);
  copy.cacheId = 0;
  return &copy;
}

// The whole content of the first variant of the file name that opens.
int readLocalFile(const ZQControlStruct* control, const char* name, std::string& content,
                  ZQStatusList* status) {
  int openError = ENOENT;
  for (const std::string& candidate : zq::menus::localeVariants(name, control->locale)) {
    FILE* f = fopen(candidate.c_str(), "rb");
    if (!f) {
      openError = errno;
      continue;
    }
    char buffer[8192];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    const bool failed = ferror(f) != 0;
    const int readError = errno;
    fclose(f);
    if (failed) {
      const std::string detail = candidate + ": " + strerror(readError);
      return zq::addError(status, zq::kMsgReadFailed, detail.c_str());
    }
    return ZQ_RETURN_OK;
  }
  const std::string detail = std::string(name) + ": " + strerror(openError);
  return zq::addError(status, zq::kMsgMenuFileOpen, detail.c_str());
}

int expandFile(ZQControlStruct* control, ZQCharMenuStruct& menu, ZQStatusList* status) {
  const std::string name = menu.u.menuFile.filename ? menu.u.menuFile.filename : "";
  if (menu.u.menuFile.fileLocation != ZQ_MENU_FILE_CLIENT)
    return zq::addError(status, zq::kMsgOperationUnsupported, "menu files on the server");
  std::string content;
  try {
    const int rc = readLocalFile(control, name.c_str(), content, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  } catch (...) {
    return zq::addError(status, zq::kMsgNoMemory);
  }
  FreeZQCharMenuStruct(&menu, 0);
  const int32_t message = zq::menus::parseMenuFile(content, menu);
  if (message == 0) return ZQ_RETURN_OK;
  return zq::addError(status, message, message == zq::kMsgBadCharMenu ? name.c_str() : nullptr);
}

int expandSql(ZQControlStruct* control, ZQCharMenuStruct& menu, ZQStatusList* status) {
  ZQControlStruct copy;
  ZQControlStruct* target = serverFor(control, menu.u.menuSQL.serverName, copy);
  std::string command = menu.u.menuSQL.sqlCommand ? menu.u.menuSQL.sqlCommand : "";
  if (!command.empty() && command[0] == '+') {
    // The password after "+" has the form of the protocol generation known
    // so far; asking the server for its version may change the generation.
    const int before = zq::calls::protocolVersion(target->context, target);
    ZQServerInfoList answer{0, nullptr};
    ZQStatusList asked{0, nullptr};
    const int rc = zq::calls::askServerInfo(target, {4}, &answer, &asked);
    FreeZQServerInfoList(&answer, 0);
    absorb(status, asked);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    const int now = zq::calls::protocolVersion(target->context, target);
    if (int32_t message = zq::calls::convertWorkflowPassword(command, before, now))
      return zq::addError(status, message);
  }
  ZQValueListList rows{0, nullptr};
  uint32_t matches = 0;
  ZQStatusList s{0, nullptr};
  const int rc = ZQGetListSQL(target, command.c_str(), 0, &rows, &matches, &s);
  absorb(status, s);
  if (rc >= ZQ_RETURN_ERROR) {
    FreeZQValueListList(&rows, 0);
    return rc;
  }
  int32_t labels[ZQ_MENU_LABEL_FIELDS];
  memcpy(labels, menu.u.menuSQL.labelIndex, sizeof labels);
  const int32_t value = menu.u.menuSQL.valueIndex;
  FreeZQCharMenuStruct(&menu, 0);
  const int32_t message = zq::menus::menuFromRows(rows, labels, value, menu);
  FreeZQValueListList(&rows, 0);
  return message ? zq::addError(status, message) : ZQ_RETURN_OK;
}

int expand(ZQControlStruct* control, ZQCharMenuStruct& menu, int depth, ZQStatusList* status) {
  switch (menu.menuType) {
    case ZQ_CHAR_MENU_NONE:
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_LIST:
      if (depth >= kMaxNesting) return zq::addError(status, zq::kMsgMenuTooDeep);
      for (uint32_t i = 0; i < menu.u.menuList.count; ++i) {
        ZQCharMenuItemStruct& item = menu.u.menuList.items[i];
        if (item.type != ZQ_MENU_ITEM_MENU || !item.u.childMenu) continue;
        const int rc = expand(control, *item.u.childMenu, depth + 1, status);
        if (rc >= ZQ_RETURN_ERROR) return rc;
      }
      return ZQ_RETURN_OK;
    case ZQ_CHAR_MENU_FILE:
      return expandFile(control, menu, status);
    case ZQ_CHAR_MENU_SQL:
      return expandSql(control, menu, status);
    case ZQ_CHAR_MENU_QUERY:
    case ZQ_CHAR_MENU_SS:
    case ZQ_CHAR_MENU_DATA_DICTIONARY:
      // The server's procedures for these menus are not in this library yet.
      return zq::addError(status, zq::kMsgOperationUnsupported);
    default:
      menu.menuType = ZQ_CHAR_MENU_NONE;
      return zq::addError(status, zq::kMsgBadMenuType);
  }
}

}  // namespace

int ZQExpandCharMenu(ZQControlStruct* control, ZQCharMenuStruct* menu, ZQCharMenuStruct* expanded,
                     ZQStatusList* status) {
  if (expanded) *expanded = ZQCharMenuStruct{};
  Frame call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!menu) return call.fail(zq::kMsgBadCharMenu);
  if (!expanded) return call.rc();
  call.record(zq::diag::Command::ExpandCharMenu);
  if (int32_t message = ZQCopyCharMenuStruct(expanded, menu)) {
    *expanded = ZQCharMenuStruct{};
    return call.finishWithError(message);
  }
  const int rc = expand(call.control(), *expanded, 0, call.status());
  if (rc >= ZQ_RETURN_ERROR) {
    FreeZQCharMenuStruct(expanded, 0);
    *expanded = ZQCharMenuStruct{};
  }
  call.setRc(zq::returnCode(call.status()));
  return call.finish();
}
