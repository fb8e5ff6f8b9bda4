// Handlers of SQL (59, 116), processes (61, 117), signals (100), cancel
// (81), candidates of external data (106, 107) and the procedures behind the
// ordinal exports (60, 132, 133).
#include <openssl/crypto.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "access.h"
#include "accounts.h"
#include "administration.h"
#include "call_status.h"
#include "dispatch.h"
#include "entry_store.h"
#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "processes.h"
#include "security/key_material.h"
#include "security/scrambler.h"
#include "server.h"
#include "sql_runner.h"
#include "sqlite_statement.h"
#include "store.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zqserver {
namespace {

using namespace zq::transport;

constexpr int kStrongPasswordVersion = 12;
constexpr size_t kLegacyPasswordLength = 30;
constexpr size_t kStrongPasswordLength = 120;

// ---- workflow passwords and redirects -----------------------------------------------------------

// The workflow password of this server in the form a "+" command carries
// it to a client of protocolVersion.
bool protectWorkflowPassword(const std::string& password, int protocolVersion, std::string& out) {
  char buffer[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  bool ok = true;
  if (protocolVersion < kStrongPasswordVersion) {
    zq::copyName(buffer, password.c_str(), kLegacyPasswordLength + 1);
    zq::security::scrambleLegacy(zq::security::remoteWorkflowKey(), buffer);
  } else {
    ok = EncryptCharPasswordEx(password.c_str(), zq::security::keys::kPasswordKeys[0], buffer) == 0;
  }
  if (ok) out = buffer;
  explicit_bzero(buffer, sizeof buffer);
  return ok;
}

// A command that starts with "+" carries a workflow password: it must be
// this server's, and the command then runs with the workflow's rights.
// Strips the password; false (with 641 added) when it does not match.
bool takeWorkflowPassword(Call& call, std::string& command, bool& workflow) {
  workflow = false;
  if (command.empty() || command[0] != '+') return true;
  const size_t length =
      call.version >= kStrongPasswordVersion ? kStrongPasswordLength : kLegacyPasswordLength;
  const std::string& expected = call.server.options().workflowPassword;
  char work[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  bool ok = command.size() > length && !expected.empty();
  if (ok) {
    memcpy(work, command.data() + 1, length);
    ok = call.version >= kStrongPasswordVersion
             ? DecryptPasswordEx(zq::security::keys::kPasswordKeys[0], work) == 0
             : zq::security::unscrambleLegacy(zq::security::remoteWorkflowKey(), work);
    ok = ok && expected.size() == strlen(work) &&
         CRYPTO_memcmp(expected.data(), work, expected.size()) == 0;
  }
  explicit_bzero(work, sizeof work);
  if (!ok) {
    addError(call, zq::kMsgBadWorkflowPassword);
    return false;
  }
  command.erase(0, 1 + length);
  workflow = true;
  return true;
}

// The redirect text of an active-link request that another server runs:
// "<length>\<server>\<command>", the command with this server's workflow
// password in front when it has one.
bool redirectText(Call& call, const std::string& command, std::string& text) {
  const Options& o = call.server.options();
  std::string carried = command;
  if (!o.workflowPassword.empty()) {
    std::string password;
    if (!protectWorkflowPassword(o.workflowPassword, call.version, password)) return false;
    carried = "+" + password + command;
  }
  text = std::to_string(o.workflowServer.size()) + "\\" + o.workflowServer + "\\" + carried;
  return true;
}

bool redirected(Call& call) {
  return !call.server.options().workflowServer.empty();
}

void noteRedirect(Call& call) {
  ZQAddStatus(call.status, ZQ_MESSAGE_WARNING, zq::kMsgRedirected,
              call.server.options().workflowServer.c_str());
}

// Who may run SQL and processes: administrators, and commands carrying
// this server's workflow password.
bool mayRunCommand(Call& call, std::string& command) {
  bool workflow = false;
  if (!takeWorkflowPassword(call, command, workflow)) return false;
  return workflow || requireAdministrator(call);
}

// ---- SQL ----------------------------------------------------------------------------------------

void runSqlFor(Call& call, std::string sql, uint32_t maxRows, bool countAll, ZQValueListList& rows,
               uint32_t& matches) {
  if (!mayRunCommand(call, sql)) return;
  const Options& o = call.server.options();
  SqlLimits limits;
  limits.allowWrite = o.allowSqlWrite;
  limits.maxRows = maxRows && maxRows < o.sqlRowLimit ? maxRows : o.sqlRowLimit;
  limits.timeLimitMs = o.sqlTimeLimitMs;
  call.server.administration().count(kStatSqlStatements);
  // On a connection of its own where the store allows it: a statement that
  // runs for seconds must not hold the other calls, nor the cancel meant for it.
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> side(call.server.store().openSide(), sqlite3_close);
  if (side) installSqlGuards(side.get());
  sqlite3* db = side ? side.get() : call.server.store().db();
  SqlOutcome outcome = runSql(db, sql, limits, countAll, rows, matches);
  if (!outcome.ok()) addError(call, outcome.message, outcome.appended);
}

void getListSQL(Request<proc::GetListSQL>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  runSqlFor(call, textOf(args.sql), args.maxRows, args.wantMatches != 0, reply.rows, reply.matches);
}

void getListSQLForActiveLink(Request<proc::GetListSQLForActiveLink>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (redirected(call)) {
    std::string text;
    if (!redirectText(call, textOf(args.sql), text)) return addError(call, zq::kMsgNoMemory);
    ZQValueListList& rows = reply.rows;
    rows.items = static_cast<ZQValueList*>(ZQCalloc(1, sizeof(ZQValueList)));
    if (!rows.items) return addError(call, zq::kMsgNoMemory);
    rows.count = 1;
    rows.items[0].items = static_cast<ZQValueStruct*>(ZQCalloc(1, sizeof(ZQValueStruct)));
    if (!rows.items[0].items) return addError(call, zq::kMsgNoMemory);
    rows.items[0].count = 1;
    rows.items[0].items[0].dataType = ZQ_DATA_TYPE_CHAR;
    rows.items[0].items[0].u.charValue = zq::dupString(text.c_str());
    std::fill(text.begin(), text.end(), '\0');
    if (!rows.items[0].items[0].u.charValue) return addError(call, zq::kMsgNoMemory);
    return noteRedirect(call);
  }
  runSqlFor(call, textOf(args.sql), args.maxRows, (args.wanted & 1) != 0, reply.rows,
            reply.matches);
}

// ---- processes ---------------------------------------------------------------------------------

// Runs a command; with wait its status and output come back.
void runCommandFor(Call& call, std::string command, bool wait, int32_t& status, char*& output) {
  if (!mayRunCommand(call, command)) return;
  const Options& o = call.server.options();
  if (o.processDirectory.empty()) return addError(call, zq::kMsgProcessesDisabled);
  std::vector<std::string> argv;
  std::string why;
  if (!parseCommand(command, o.processDirectory, argv, why))
    return addError(call, zq::kMsgProcessRefused, why);
  ProcessLimits limits{o.processDirectory, o.processTimeLimitMs, o.processOutputLimit};
  call.server.administration().count(kStatProcesses);
  if (!wait) {
    if (int32_t message = call.server.processes().start(argv, limits)) addError(call, message);
    return;
  }
  ProcessOutcome outcome = runProcess(argv, limits);
  status = outcome.status;
  output = zq::dupString(outcome.output.c_str());
  if (!output) return addError(call, zq::kMsgNoMemory);
  if (!outcome.ok()) addError(call, outcome.message, outcome.appended);
}

void executeProcess(Request<proc::ExecuteProcess>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  runCommandFor(call, textOf(args.command), args.wait != 0, reply.returnStatus, reply.output);
}

void executeProcessForActiveLink(Request<proc::ExecuteProcessForActiveLink>& call) {
  auto& args = call.args();
  auto& reply = call.reply();
  if (redirected(call)) {
    std::string text;
    if (!redirectText(call, textOf(args.command), text)) return addError(call, zq::kMsgNoMemory);
    reply.output = zq::dupString(text.c_str());
    std::fill(text.begin(), text.end(), '\0');
    if (!reply.output) return addError(call, zq::kMsgNoMemory);
    return noteRedirect(call);
  }
  runCommandFor(call, textOf(args.command), (args.wanted & 1) != 0, reply.returnStatus,
                reply.output);
}

// ---- signals and cancel
// --------------------------------------------------------------------------

void handleSignal(Request<proc::Signal>& call) {
  if (!requireAdministrator(call)) return;
  const ZQSignalList& signals = call.args().signals;
  for (uint32_t i = 0; i < signals.count && signals.items; ++i) {
    switch (signals.items[i].type) {
      case ZQ_SIGNAL_GROUP_CACHE_CHANGED:
      case ZQ_SIGNAL_ALERT_USER_CHANGED:
        // Accounts changed behind the server's back: read them again.
        if (!call.server.accounts().reload()) addError(call, zq::kMsgStoreFailure);
        call.server.administration().raise(ZQ_CACHE_EVENT_GROUP_CHANGE);
        break;
      case ZQ_SIGNAL_DEFINITIONS_CHANGED:
        call.server.administration().raise(ZQ_CACHE_EVENT_DEFINITION_CHANGE);
        break;
      default:  // settings are read from the store at every call
        break;
    }
  }
}

void cancel(Request<proc::Cancel>& call) {
  call.server.running().cancel(call.args().header.cacheId, call.principal.realUser,
                               call.principal.administrator);
}

// ---- candidates of external data
// -------------------------------------------------------------------

// Tables and views of the database that are neither the server's own (the
// zq_ tables and the store's sessions) nor SQLite's.
std::vector<std::string> externalTables(sqlite3* db) {
  std::vector<std::string> names;
  SqlStatement q(
      db,
      "SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"
      " AND name NOT LIKE 'zq\\_%' ESCAPE '\\' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"
      " AND name <> 'sessions'"
      " ORDER BY name");
  while (q && q.step() == SQLITE_ROW) names.push_back(q.text(0));
  return names;
}

void getListExtSchemaCandidates(Request<proc::GetListExtSchemaCandidates>& call) {
  if (!requireAdministrator(call)) return;
  const uint32_t type = call.args().formType;
  if (type != ZQ_SCHEMA_VIEW && type != ZQ_SCHEMA_VENDOR) return;  // nothing else is external
  const std::vector<std::string> tables = externalTables(call.server.store().db());
  ZQCompoundSchemaList& out = call.reply().forms;
  if (tables.empty()) return;
  out.items = static_cast<ZQCompoundSchema*>(ZQCalloc(tables.size(), sizeof(ZQCompoundSchema)));
  if (!out.items) return addError(call, zq::kMsgNoMemory);
  for (const std::string& t : tables) {
    ZQCompoundSchema& s = out.items[out.count++];
    s.schemaType = type;
    if (type == ZQ_SCHEMA_VIEW) {
      zq::copyName(s.u.view.viewTableName, t.c_str(), sizeof s.u.view.viewTableName);
    } else {
      zq::copyName(s.u.vendor.vendorName, "SQLite", sizeof s.u.vendor.vendorName);
      zq::copyName(s.u.vendor.vendorTableName, t.c_str(), sizeof s.u.vendor.vendorTableName);
    }
  }
}

// A column's SQLite type as a field data type.
uint32_t dataTypeOf(std::string declared) {
  for (char& c : declared) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (declared.find("INT") != std::string::npos) return ZQ_DATA_TYPE_INTEGER;
  if (declared.find("REAL") != std::string::npos || declared.find("FLOA") != std::string::npos ||
      declared.find("DOUB") != std::string::npos)
    return ZQ_DATA_TYPE_REAL;
  if (declared.find("DEC") != std::string::npos || declared.find("NUM") != std::string::npos)
    return ZQ_DATA_TYPE_DECIMAL;
  return ZQ_DATA_TYPE_CHAR;
}

void getMultipleExtFieldCandidates(Request<proc::GetMultipleExtFieldCandidates>& call) {
  if (!requireAdministrator(call)) return;
  const ZQCompoundSchema& form = call.args().form;
  std::string table;
  if (form.schemaType == ZQ_SCHEMA_VIEW)
    table.assign(form.u.view.viewTableName,
                 strnlen(form.u.view.viewTableName, sizeof form.u.view.viewTableName));
  else if (form.schemaType == ZQ_SCHEMA_VENDOR)
    table.assign(form.u.vendor.vendorTableName,
                 strnlen(form.u.vendor.vendorTableName, sizeof form.u.vendor.vendorTableName));
  const std::vector<std::string> tables = externalTables(call.server.store().db());
  if (std::find(tables.begin(), tables.end(), table) == tables.end())
    return addError(call, zq::kMsgNoSuchForm, table);
  struct Column {
    std::string name;
    uint32_t type;
  };
  std::vector<Column> columns;
  {
    SqlStatement q(call.server.store().db(), "SELECT name, type FROM pragma_table_info(?)");
    if (q) q.bind(1, table);
    while (q && q.step() == SQLITE_ROW) columns.push_back({q.text(0), dataTypeOf(q.text(1))});
  }
  auto& r = call.reply();
  const size_t n = columns.size();
  if (n == 0) return;
  r.fields.items = static_cast<ZQFieldMappingStruct*>(ZQCalloc(n, sizeof(ZQFieldMappingStruct)));
  r.limits.items = static_cast<ZQFieldLimitStruct*>(ZQCalloc(n, sizeof(ZQFieldLimitStruct)));
  r.dataTypes.items = static_cast<uint32_t*>(ZQCalloc(n, sizeof(uint32_t)));
  if (!r.fields.items || !r.limits.items || !r.dataTypes.items)
    return addError(call, zq::kMsgNoMemory);
  for (const Column& c : columns) {
    ZQFieldMappingStruct& m = r.fields.items[r.fields.count++];
    m.fieldType = form.schemaType == ZQ_SCHEMA_VIEW ? 3 : 4;
    zq::copyName(m.u.view.externalFieldName, c.name.c_str(), sizeof m.u.view.externalFieldName);
    r.limits.items[r.limits.count++].dataType = ZQ_DATA_TYPE_NULL;
    r.dataTypes.items[r.dataTypes.count++] = c.type;
  }
}

// ---- procedures of the ordinal exports
// -----------------------------------------------------------

// 60: the names of a form's fields the caller may see.
void getFormFieldNames(Request<proc::GetNamesOrdinal312>& call) {
  const std::string form = textOf(call.args().name);
  EntryStore store(call.server.store());
  auto def = store.form(form);
  if (!def) return addError(call, zq::kMsgNoSuchForm, form);
  if (!mayRead(call, form)) return;
  std::vector<std::string> names;
  for (const FieldDef& f : def->fields)
    if (call.server.accounts().fieldAccess(call.principal, form, f.id) != Access::none)
      names.push_back(f.name.empty() ? std::to_string(f.id) : f.name);
  ZQNameList& out = call.reply().names;
  if (names.empty()) return;
  out.items = static_cast<ZQNameType*>(ZQCalloc(names.size(), sizeof(ZQNameType)));
  if (!out.items) return addError(call, zq::kMsgNoMemory);
  for (const std::string& n : names)
    zq::copyName(out.items[out.count++], n.c_str(), sizeof(ZQNameType));
}

// 132 and 133: the ids of a form's entries; 133 only those the caller
// submitted.
void entryIdsOf(Call& call, const std::string& form, bool own, ZQEntryIdList& out) {
  if (!mayRead(call, form)) return;
  std::vector<std::string> ids;
  EntryStore store(call.server.store());
  StoreResult r = store.forEachEntry(form, [&](const std::string& id, const ZQFieldValueList& v) {
    if (own) {
      const char* submitter = nullptr;
      for (uint32_t i = 0; i < v.count; ++i)
        if (v.items[i].fieldId == kFieldSubmitter && v.items[i].value.dataType == ZQ_DATA_TYPE_CHAR)
          submitter = v.items[i].value.u.charValue;
      if (!submitter || strcasecmp(submitter, call.principal.user.c_str()) != 0) return true;
    }
    ids.push_back(id);
    return true;
  });
  if (!r.ok()) return addError(call, r.message, r.appended);
  if (ids.empty()) return;
  out.items = static_cast<ZQEntryIdType*>(ZQCalloc(ids.size(), sizeof(ZQEntryIdType)));
  if (!out.items) return addError(call, zq::kMsgNoMemory);
  for (const std::string& id : ids)
    zq::copyName(out.items[out.count++], id.c_str(), sizeof(ZQEntryIdType));
}

void getFormEntryIds(Request<proc::GetEntryIdsOrdinal845>& call) {
  entryIdsOf(call, textOf(call.args().name), false, call.reply().ids);
}

void getOwnEntryIds(Request<proc::GetEntryIdsOrdinal846>& call) {
  entryIdsOf(call, textOf(call.args().name), true, call.reply().ids);
}

}  // namespace

void serveServerControl(Handlers& h) {
  h.serve<proc::GetListSQL, getListSQL>();
  h.serve<proc::GetListSQLForActiveLink, getListSQLForActiveLink>();
  h.serve<proc::ExecuteProcess, executeProcess>();
  h.serve<proc::ExecuteProcessForActiveLink, executeProcessForActiveLink>();
  h.serve<proc::Signal, handleSignal>();
  h.serve<proc::Cancel, cancel>();
  h.serve<proc::GetListExtSchemaCandidates, getListExtSchemaCandidates>();
  h.serve<proc::GetMultipleExtFieldCandidates, getMultipleExtFieldCandidates>();
  h.serve<proc::GetNamesOrdinal312, getFormFieldNames>();
  h.serve<proc::GetEntryIdsOrdinal845, getFormEntryIds>();
  h.serve<proc::GetEntryIdsOrdinal846, getOwnEntryIds>();
}

}  // namespace zqserver
