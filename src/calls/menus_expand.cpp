// ZQExpandCharMenu: a character menu definition turned into the plain list
// menu a client shows. List menus are expanded item by item, file menus are
// read from a local file or fetched from the server (procedure 45), trying
// the locale's variants of its name, SQL menus are built from the rows of
// the query; query (55), server-side (108) and data-dictionary (118) menus
// come back built from the server.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "call/call.h"
#include "calls/admin.h"
#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/queries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "menus/menus.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_menus.h"
#include "zqapi/zq_workflow.h"

namespace {

using zq::call::Frame;
namespace proc = zq::transport::proc;

// Nested list menus a caller may hand in.
constexpr int kMaxNesting = 64;

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

// The content of the first variant of the file name the server has
// (procedure 45, in chunks). The messages of a variant that failed are
// dropped, except for the last (the plain name).
int readServerFile(ZQControlStruct* control, const char* name, std::string& content,
                   ZQStatusList* status) {
  const std::vector<std::string> variants = zq::menus::localeVariants(name, control->locale);
  for (size_t i = 0; i < variants.size(); ++i) {
    ZQStatusList s{0, nullptr};
    int rc;
    content.clear();
    {
      zq::call::Call<proc::GetMenuFile> call(control, &s);
      if (!call) {
        zq::absorbStatus(status, s);
        return call.rc();
      }
      call.args().fileName = const_cast<char*>(variants[i].c_str());
      bool failed = false;
      zq::calls::runChunked(
          call, [&](zq::transport::MenuFileReply& reply, const zq::calls::Chunk& chunk) {
            if (chunk.failed) {
              failed = true;
              return false;
            }
            if (reply.content) content += reply.content;
            return true;
          });
      rc = failed && call.rc() < ZQ_RETURN_ERROR ? ZQ_RETURN_ERROR : call.rc();
    }
    if (rc < ZQ_RETURN_ERROR || i + 1 == variants.size()) {
      zq::absorbStatus(status, s);
      return rc;
    }
    FreeZQStatusList(&s, 0);
  }
  return ZQ_RETURN_ERROR;
}

int expandFile(ZQControlStruct* control, ZQCharMenuStruct& menu, ZQStatusList* status) {
  const std::string name = menu.u.menuFile.filename ? menu.u.menuFile.filename : "";
  const uint32_t location = menu.u.menuFile.fileLocation;
  if (location != ZQ_MENU_FILE_CLIENT && location != ZQ_MENU_FILE_SERVER)
    return zq::addError(status, zq::kMsgBadMenuFileLocation);
  if (name.empty() || name.size() > 255) return zq::addError(status, zq::kMsgBadMenuFileName);
  std::string content;
  try {
    const int rc = location == ZQ_MENU_FILE_CLIENT
                       ? readLocalFile(control, name.c_str(), content, status)
                       : readServerFile(control, name.c_str(), content, status);
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
    zq::absorbStatus(status, asked);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    const int now = zq::calls::protocolVersion(target->context, target);
    if (int32_t message = zq::calls::convertWorkflowPassword(command, before, now))
      return zq::addError(status, message);
  }
  ZQValueListList rows{0, nullptr};
  uint32_t matches = 0;
  ZQStatusList s{0, nullptr};
  const int rc = ZQGetListSQL(target, command.c_str(), 0, &rows, &matches, &s);
  zq::absorbStatus(status, s);
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

// Runs a menu procedure on the target's server and replaces the menu with
// the one that came back. fill writes the arguments (borrowed from menu).
template <class P, class Fill>
int askServer(ZQControlStruct* target, ZQCharMenuStruct& menu, ZQStatusList* status, Fill fill) {
  ZQStatusList s{0, nullptr};
  int rc;
  {
    zq::call::Call<P> call(target, &s);
    if (call && call.bind()) {
      fill(call.args());
      if (auto* reply = call.send()) {
        FreeZQCharMenuStruct(&menu, 0);
        menu = reply->menu;
        reply->menu = ZQCharMenuStruct{};
      }
    }
    rc = call.rc();
  }
  zq::absorbStatus(status, s);
  return rc;
}

// The query part of a menu definition: a form, a server, a qualifier (none
// allowed), a first label field and a value field; samples when given.
int checkQueryMenu(ZQCharMenuQueryStruct& q, ZQStatusList* status) {
  using namespace zq::checks;
  int rc = checkFixedName(q.schemaName, sizeof q.schemaName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkServerName(q.serverName, sizeof q.serverName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkQualifier(&q.qualifier, true, status);
  if (rc < ZQ_RETURN_ERROR && (q.labelFieldId[0] == 0 || q.valueFieldId == 0))
    rc = zq::addError(status, zq::kMsgFieldIdZero);
  if (rc < ZQ_RETURN_ERROR && q.sampleSchemaName[0])
    rc = checkFixedName(q.sampleSchemaName, sizeof q.sampleSchemaName, true, status);
  if (rc < ZQ_RETURN_ERROR && q.sampleServerName[0])
    rc = checkServerName(q.sampleServerName, sizeof q.sampleServerName, true, status);
  return rc >= ZQ_RETURN_ERROR ? zq::addError(status, zq::kMsgBadCharMenu) : rc;
}

// A data-dictionary menu: a server name of at most 64 characters and a form
// menu, or a field menu naming its form.
int checkDictionaryMenu(const ZQCharMenuDDStruct& d, ZQStatusList* status) {
  const bool serverOk = strnlen(d.serverName, sizeof d.serverName) <= 64;
  const bool kindOk =
      d.menuKind == ZQ_MENU_DD_FORM ||
      (d.menuKind == ZQ_MENU_DD_FIELD &&
       strnlen(d.u.fieldDefn.formName, sizeof d.u.fieldDefn.formName) < sizeof(ZQNameType) - 1);
  return serverOk && kindOk ? ZQ_RETURN_OK : zq::addError(status, zq::kMsgBadCharMenu);
}

int expand(ZQControlStruct* control, ZQCharMenuStruct& menu, int depth, ZQStatusList* status);

int expandQuery(ZQControlStruct* control, ZQCharMenuStruct& menu, ZQStatusList* status) {
  ZQControlStruct copy;
  ZQControlStruct* target = serverFor(control, menu.u.menuQuery.serverName, copy);
  if (int rc = checkQueryMenu(menu.u.menuQuery, status); rc >= ZQ_RETURN_ERROR) return rc;
  return askServer<proc::ExpandQueryMenu>(target, menu, status,
                                          [&](auto& args) { args.query = menu.u.menuQuery; });
}

int expandDictionary(ZQControlStruct* control, ZQCharMenuStruct& menu, ZQStatusList* status) {
  ZQControlStruct copy;
  ZQControlStruct* target = serverFor(control, menu.u.menuDD.serverName, copy);
  if (int rc = checkDictionaryMenu(menu.u.menuDD, status); rc >= ZQ_RETURN_ERROR) return rc;
  return askServer<proc::ExpandDataDictionaryMenu>(
      target, menu, status, [&](auto& args) { args.dictionary = menu.u.menuDD; });
}

// The server's menu replaces the request; what it holds is expanded in
// turn, one level deeper, so that menus naming each other end at the depth
// limit.
int expandServerSide(ZQControlStruct* control, ZQCharMenuStruct& menu, int depth,
                     ZQStatusList* status) {
  ZQControlStruct copy;
  ZQControlStruct* target = serverFor(control, menu.u.menuSS.serverName, copy);
  ZQCharMenuStruct result{};
  ZQStatusList s{0, nullptr};
  const int rc = ZQExpandSSMenu(target, &menu.u.menuSS, &result, &s);
  zq::absorbStatus(status, s);
  if (rc >= ZQ_RETURN_ERROR) {
    FreeZQCharMenuStruct(&result, 0);
    return rc;
  }
  FreeZQCharMenuStruct(&menu, 0);
  menu = result;
  return expand(control, menu, depth + 1, status);
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
      return expandQuery(control, menu, status);
    case ZQ_CHAR_MENU_SS:
      if (depth >= kMaxNesting) return zq::addError(status, zq::kMsgMenuTooDeep);
      return expandServerSide(control, menu, depth, status);
    case ZQ_CHAR_MENU_DATA_DICTIONARY:
      return expandDictionary(control, menu, status);
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
  return call.finish(expanded);
}
