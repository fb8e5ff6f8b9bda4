// zqserverd's menu procedures: the content of a menu file of the server's
// menu folder (45), query menus run through the query engine (55), the menus
// the definition store holds (108) and data-dictionary menus (118). A user
// sees only the forms, fields and rows a query would show it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access.h"
#include "definition_store.h"
#include "call_status.h"
#include "dispatch.h"
#include "entry_store.h"
#include "frame/alloc.h"
#include "menu_definitions.h"
#include "menus/menus.h"
#include "query_engine.h"
#include "query_text.h"
#include "server.h"
#include "transport/records_menus.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_session.h"

namespace zqserver {
namespace {

using namespace zq::transport;

std::string nameOf(const char* name, size_t width) {
  return std::string(name, strnlen(name, width));
}

// ---- procedure 45 ------------------------------------------------------------------------

// Menu files are read from the menu folder only: a name is relative, and
// once links are resolved the file must still lie inside the folder.
bool menuFilePath(Call& call, const std::string& name, std::string& path) {
  const std::string& folder = call.server.options().menuDirectory;
  if (folder.empty()) {
    addError(call, zq::kMsgMenuFileRefused, name);
    return false;
  }
  if (name.empty() || name[0] == '/') {
    addError(call, zq::kMsgMenuFileRefused, name);
    return false;
  }
  char root[PATH_MAX], resolved[PATH_MAX];
  if (!realpath(folder.c_str(), root)) {
    addError(call, zq::kMsgMenuFileOpen, name + ": " + strerror(errno));
    return false;
  }
  const std::string joined = std::string(root) + "/" + name;
  if (!realpath(joined.c_str(), resolved)) {
    addError(call, zq::kMsgMenuFileOpen, name + ": " + strerror(errno));
    return false;
  }
  const std::string inside = std::string(root) + "/";
  if (strncmp(resolved, inside.c_str(), inside.size()) != 0) {
    addError(call, zq::kMsgMenuFileRefused, name);
    return false;
  }
  path = resolved;
  return true;
}

// Menu files are small; one beyond this is refused rather than read.
constexpr off_t kMaxMenuFile = 16 * 1024 * 1024;

bool readMenuFile(Call& call, const std::string& name, std::string& content) {
  std::string path;
  if (!menuFilePath(call, name, path)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxMenuFile) {
    const int e = fd < 0 ? errno : (S_ISREG(st.st_mode) ? EFBIG : EISDIR);
    if (fd >= 0) close(fd);
    addError(call, zq::kMsgMenuFileOpen, name + ": " + strerror(e));
    return false;
  }
  char buffer[8192];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<size_t>(n));
  const int e = errno;
  close(fd);
  if (n < 0) {
    addError(call, zq::kMsgReadFailed, name + ": " + strerror(e));
    return false;
  }
  // The content travels as a terminated text.
  content.erase(std::find(content.begin(), content.end(), '\0'), content.end());
  return true;
}

struct PendingText : PendingResult {
  std::string text;
  size_t next = 0;
};

void getMenuFile(Request<proc::GetMenuFile>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  int32_t token = args.header.chunkToken;
  PendingText* p = nullptr;
  if (token == 0) {
    auto pending = std::make_unique<PendingText>();
    if (!readMenuFile(call, args.fileName ? args.fileName : "", pending->text)) return;
    p = pending.get();
    token = keepPending(std::move(pending));
  } else if (!(p = dynamic_cast<PendingText*>(findPending(token)))) {
    return addError(call, zq::kMsgBadEncoding, "unknown chunk token");
  }
  const size_t n = std::min(sliceBytes(args.header.responseSize), p->text.size() - p->next);
  reply.content = static_cast<char*>(ZQAlloc(n + 1));
  if (!reply.content) return addError(call, zq::kMsgNoMemory);
  memcpy(reply.content, p->text.data() + p->next, n);
  reply.content[n] = '\0';
  p->next += n;
  RequestHeader& out = *call.procedure.replyHeader(call.replyRecord);
  out.chunkToken = token;
  out.lastChunk = p->next == p->text.size();
  if (out.lastChunk) dropPending(token);
}

// ---- procedure 55 ------------------------------------------------------------------------

void expandQueryMenu(Request<proc::ExpandQueryMenu>& call) {
  ZQCharMenuQueryStruct& q = call.args().query;
  const std::string form = nameOf(q.schemaName, sizeof q.schemaName);
  std::vector<ZQInternalId> columns;
  for (ZQInternalId id : q.labelFieldId) {
    if (!id) break;
    columns.push_back(id);
  }
  if (columns.empty() || !q.valueFieldId) return addError(call, zq::kMsgFieldIdZero);
  const size_t labelCount = columns.size();
  columns.push_back(q.valueFieldId);

  // Every field the menu shows must be one the user may see, as for sorting.
  std::vector<ZQSortStruct> read;
  for (ZQInternalId id : columns) read.push_back({id, ZQ_SORT_ASCENDING});
  ZQSortList readList{static_cast<uint32_t>(read.size()), read.data()};
  if (!mayRead(call, form) || !mayUseFields(call, form, &q.qualifier, &readList)) return;

  EntryStore store(call.server.store());
  const std::optional<FormDef> def = store.form(form);
  if (!def) return addError(call, zq::kMsgNoSuchForm, form);
  for (ZQInternalId id : columns) {
    const bool known = std::any_of(def->fields.begin(), def->fields.end(),
                                   [&](const FieldDef& f) { return f.id == id; });
    if (!known) return addError(call, zq::kMsgNoSuchField, std::to_string(id));
  }
  ZQSortList byLabel{static_cast<uint32_t>(labelCount), read.data()};
  QueryResult result;
  QueryError error;
  if (!runQuery(store, form, &q.qualifier, q.sortOnLabel ? &byLabel : nullptr, 0, 0, result, error))
    return addError(call, error.message, error.appended);
  hideFields(call, result);

  // The rows as value lists borrowing the rows' values: labels, then value.
  const ZQValueStruct none{};
  std::vector<std::vector<ZQValueStruct>> cells(result.rows.size());
  std::vector<ZQValueList> lists(result.rows.size());
  for (size_t r = 0; r < result.rows.size(); ++r) {
    for (ZQInternalId id : columns) {
      const ZQValueStruct* v = result.rows[r].find(id);
      cells[r].push_back(v ? *v : none);
    }
    lists[r] = {static_cast<uint32_t>(cells[r].size()), cells[r].data()};
  }
  ZQValueListList rows{static_cast<uint32_t>(lists.size()), lists.data()};
  int32_t labels[ZQ_MENU_LABEL_FIELDS] = {};
  for (size_t i = 0; i < labelCount; ++i) labels[i] = static_cast<int32_t>(i + 1);
  if (int32_t message = zq::menus::menuFromRows(rows, labels, static_cast<int32_t>(labelCount + 1),
                                                call.reply().menu)) {
    FreeZQCharMenuStruct(&call.reply().menu, 0);
    call.reply().menu = ZQCharMenuStruct{};
    return addError(call, message);
  }
}

// ---- procedure 108 -----------------------------------------------------------------------

// The definition of the named menu as it is stored; the client expands a
// query or SQL menu in turn.
void expandServerMenu(Request<proc::ExpandSSMenu>& call) {
  const ZQCharMenuSSStruct& request = call.args().request;
  const std::string name = nameOf(request.menuName, sizeof request.menuName);
  DefinitionStore defs(call.server.store());
  ZQCharMenuStruct menu{};
  if (!storedMenu(defs, name, menu)) {
    FreeZQCharMenuStruct(&menu, 0);
    return addError(call, zq::kMsgNoSuchDefinition, name);
  }
  call.reply().menu = menu;
}

// ---- procedure 118 -----------------------------------------------------------------------

// Form menus list the forms the user may read (schemaType 0: every kind,
// else forms of that kind); field menus the fields of a form it may see
// (fieldType 0: every data type, else that type), labelled by name, valued
// by name or, with valueFormat 1, by field id.
void expandDictionaryMenu(Request<proc::ExpandDataDictionaryMenu>& call) {
  const ZQCharMenuDDStruct& dd = call.args().dictionary;
  const Accounts& accounts = call.server.accounts();
  EntryStore store(call.server.store());
  std::vector<std::pair<std::string, std::string>> items;  // label, value
  if (dd.menuKind == ZQ_MENU_DD_FORM) {
    std::vector<std::string> names = store.formNames();
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (accounts.formAccess(call.principal, name) == Access::none) continue;
      if (dd.u.formDefn.schemaType) {
        const std::optional<FormDef> def = store.form(name);
        if (!def || def->kind != dd.u.formDefn.schemaType) continue;
      }
      items.emplace_back(name, name);
    }
  } else if (dd.menuKind == ZQ_MENU_DD_FIELD) {
    const std::string form = nameOf(dd.u.fieldDefn.formName, sizeof dd.u.fieldDefn.formName);
    if (!mayRead(call, form)) return;
    const std::optional<FormDef> def = store.form(form);
    if (!def) return addError(call, zq::kMsgNoSuchForm, form);
    for (const FieldDef& f : def->fields) {
      if (accounts.fieldAccess(call.principal, form, f.id) == Access::none) continue;
      if (dd.u.fieldDefn.fieldType && f.dataType != dd.u.fieldDefn.fieldType) continue;
      items.emplace_back(f.name, dd.valueFormat == 1 ? std::to_string(f.id) : f.name);
    }
  } else {
    return addError(call, zq::kMsgBadCharMenu);
  }
  // One label column and one value column, as the rows of a query.
  std::vector<std::array<ZQValueStruct, 2>> cells(items.size());
  std::vector<ZQValueList> lists(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    cells[i][0].dataType = cells[i][1].dataType = ZQ_DATA_TYPE_CHAR;
    cells[i][0].u.charValue = items[i].first.data();
    cells[i][1].u.charValue = items[i].second.data();
    lists[i] = {2, cells[i].data()};
  }
  ZQValueListList rows{static_cast<uint32_t>(lists.size()), lists.data()};
  const int32_t labels[ZQ_MENU_LABEL_FIELDS] = {1};
  ZQCharMenuStruct& menu = call.reply().menu;
  if (int32_t message = zq::menus::menuFromRows(rows, labels, 2, menu)) {
    FreeZQCharMenuStruct(&menu, 0);
    menu = ZQCharMenuStruct{};
    addError(call, message);
  }
}

}  // namespace

void serveMenus(Handlers& h) {
  h.serve<proc::GetMenuFile, getMenuFile>();
  h.serve<proc::ExpandQueryMenu, expandQueryMenu>();
  h.serve<proc::ExpandSSMenu, expandServerMenu>();
  h.serve<proc::ExpandDataDictionaryMenu, expandDictionaryMenu>();
}

}  // namespace zqserver
