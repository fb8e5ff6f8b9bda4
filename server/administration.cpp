#include "administration.h"

#include "definition_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <variant>

#include "calls/admin.h"
#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "password_hash.h"
#include "security/key_material.h"
#include "security/scrambler.h"
#include "server.h"
#include "sqlite_statement.h"
#include "store.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zqserver {
namespace {

constexpr const char* kAdministrationSchema =
    "CREATE TABLE IF NOT EXISTS zq_settings(number INTEGER PRIMARY KEY, is_text INTEGER,"
    " value);"
    "CREATE TABLE IF NOT EXISTS zq_fulltext(info_type INTEGER PRIMARY KEY, value);"
    "CREATE TABLE IF NOT EXISTS zq_change_times(kind INTEGER PRIMARY KEY, created INTEGER,"
    " changed INTEGER, deleted INTEGER);"
    "CREATE TABLE IF NOT EXISTS zq_applications(name TEXT PRIMARY KEY COLLATE NOCASE,"
    " state TEXT, changed INTEGER);"
    "CREATE TABLE IF NOT EXISTS zq_localized(name TEXT, type INTEGER, locale TEXT, text TEXT,"
    " changed INTEGER, PRIMARY KEY(name, type, locale));"
    "CREATE TABLE IF NOT EXISTS zq_currency_ratios(set_time INTEGER PRIMARY KEY, ratios TEXT);"
    "INSERT OR IGNORE INTO zq_fulltext VALUES (1, ''), (3, 0), (4, 0), (5, 1), (6, 0), (9, '');";

constexpr uint32_t kSettingTime = 116;
constexpr uint32_t kSettingDatabaseVersion = 27;
constexpr const char* kMask = "********";

bool setText(ZQValueStruct& out, const std::string& text) {
  out.dataType = ZQ_DATA_TYPE_CHAR;
  out.u.charValue = zq::dupString(text.c_str());
  if (out.u.charValue) return true;
  out = ZQValueStruct{};
  return false;
}

void setInteger(ZQValueStruct& out, int64_t x) {
  out.dataType = ZQ_DATA_TYPE_INTEGER;
  out.u.integerValue = static_cast<int32_t>(x);
}

// The password of a setting as the client protected it for protocolVersion.
bool recoverSettingPassword(const char* protectedText, int protocolVersion, std::string& plain) {
  char work[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  zq::copyName(work, protectedText, sizeof work);
  bool ok;
  if (protocolVersion < 10)
    ok = zq::security::unscrambleLegacy(zq::security::serverSettingKey(), work);
  else
    ok = DecryptPasswordEx(zq::security::keys::kPasswordKeys[0], work) == 0;
  if (ok) plain = work;
  explicit_bzero(work, sizeof work);
  return ok;
}

uint32_t eventIndex(uint32_t event) {
  return event < 4 ? event : 0;
}

}  // namespace

Administration::Administration(Store& store, const Options& options)
    : store_(store), options_(options), started_(time(nullptr)) {}

bool Administration::open(std::string& error) {
  if (!store_.exec(kAdministrationSchema)) {
    error = store_.error();
    return false;
  }
  // The command line wins over what an earlier run stored.
  for (const auto& [number, value] : options_.settings) {
    SqlStatement q(store_.db(), "INSERT OR REPLACE INTO zq_settings VALUES(?,?,?)");
    if (!q) continue;
    q.bind(1, number);
    if (const auto* text = std::get_if<std::string>(&value))
      q.bind(2, 1).bind(3, *text);
    else
      q.bind(2, 0).bind(3, std::get<int32_t>(value));
    if (!q.run()) {
      error = sqlite3_errmsg(store_.db());
      return false;
    }
  }
  // Settings are answered from memory: a long SQL statement holds the
  // database, and clients ask for settings whenever they bind.
  SqlStatement all(store_.db(), "SELECT number, is_text, value FROM zq_settings");
  while (all && all.step() == SQLITE_ROW) {
    if (all.integer(1))
      settings_[static_cast<uint32_t>(all.integer(0))] = all.text(2);
    else
      settings_[static_cast<uint32_t>(all.integer(0))] = static_cast<int32_t>(all.integer(2));
  }
  return true;
}

// ---- settings ------------------------------------------------------------------------------

bool Administration::isPasswordSetting(uint32_t number) const {
  return zq::calls::settingPasswordOffset(number, "::") != std::string::npos;
}

void Administration::setting(uint32_t number, ZQValueStruct& out) const {
  out = ZQValueStruct{};
  if (number == kSettingTime) {
    out.dataType = ZQ_DATA_TYPE_TIME;
    out.u.timestampValue = now();
    return;
  }
  if (number == kSettingDatabaseVersion) {
    setText(out, sqlite3_libversion());
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = settings_.find(number);
  if (it == settings_.end()) return;
  if (const auto* stored = std::get_if<std::string>(&it->second)) {
    // A stored password is a hash: it never leaves the server.
    std::string text = *stored;
    const size_t at = zq::calls::settingPasswordOffset(number, text.c_str());
    if (at != std::string::npos) text = text.substr(0, at) + kMask;
    setText(out, text);
  } else {
    setInteger(out, std::get<int32_t>(it->second));
  }
}

int32_t Administration::setSetting(const ZQServerInfoStruct& item, int protocolVersion) {
  const ZQValueStruct& v = item.value;
  std::string text;
  bool isText = v.dataType == ZQ_DATA_TYPE_CHAR;
  if (isText && v.u.charValue) text = v.u.charValue;
  const size_t at =
      isText ? zq::calls::settingPasswordOffset(item.operation, text.c_str()) : std::string::npos;
  if (at != std::string::npos) {
    // Only a salted hash of the password part is kept.
    std::string plain;
    if (!recoverSettingPassword(text.c_str() + at, protocolVersion, plain))
      return zq::kMsgBadSettingValue;
    const std::string hash = hashPassword(plain);
    std::fill(plain.begin(), plain.end(), '\0');
    if (hash.empty()) return zq::kMsgStoreFailure;
    text = text.substr(0, at) + hash;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  if (v.dataType == ZQ_DATA_TYPE_NULL) {
    SqlStatement q(db, "DELETE FROM zq_settings WHERE number = ?");
    if (!q || !q.bind(1, item.operation).run()) return zq::kMsgStoreFailure;
    settings_.erase(item.operation);
    return 0;
  }
  SqlStatement q(db, "INSERT OR REPLACE INTO zq_settings VALUES(?,?,?)");
  if (!q) return zq::kMsgStoreFailure;
  q.bind(1, item.operation).bind(2, isText ? 1 : 0);
  if (isText)
    q.bind(3, text);
  else
    q.bind(3, v.u.integerValue);
  if (!q.run()) return zq::kMsgStoreFailure;
  if (isText)
    settings_[item.operation] = text;
  else
    settings_[item.operation] = v.u.integerValue;
  return 0;
}

// ---- full text -------------------------------------------------------------------------------

bool Administration::fullText(uint32_t type, ZQFullTextInfoStruct& out) const {
  out = ZQFullTextInfoStruct{};
  out.infoType = type;
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "SELECT value FROM zq_fulltext WHERE info_type = ?");
  const bool found = q && q.bind(1, type).step() == SQLITE_ROW;
  if (type == ZQ_FULLTEXT_STOPWORD) {
    std::vector<std::string> words;
    std::string all = found ? q.text(0) : "";
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find('\n', start);
      if (end == std::string::npos) end = all.size();
      if (end > start) words.push_back(all.substr(start, end - start));
      start = end + 1;
    }
    ZQValueList& list = out.u.valueList;
    if (words.empty()) return true;
    list.items = static_cast<ZQValueStruct*>(ZQCalloc(words.size(), sizeof(ZQValueStruct)));
    if (!list.items) return false;
    for (const std::string& w : words)
      if (setText(list.items[list.count], w)) ++list.count;
    return true;
  }
  if (type == ZQ_FULLTEXT_COLLECTION_DIRECTORY || type == 9) {
    if (found) setText(out.u.value, q.text(0));
    return true;
  }
  if (type >= ZQ_FULLTEXT_REINDEX && type <= ZQ_FULLTEXT_FTS_MATCH_OP) {
    if (found) setInteger(out.u.value, q.integer(0));
    return true;
  }
  return false;
}

int32_t Administration::setFullText(const ZQFullTextInfoStruct& item) {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "INSERT OR REPLACE INTO zq_fulltext VALUES(?,?)");
  if (!q) return zq::kMsgStoreFailure;
  q.bind(1, item.infoType);
  if (item.infoType == ZQ_FULLTEXT_STOPWORD) {
    std::string all;
    for (uint32_t i = 0; i < item.u.valueList.count && item.u.valueList.items; ++i) {
      const ZQValueStruct& w = item.u.valueList.items[i];
      if (w.dataType != ZQ_DATA_TYPE_CHAR || !w.u.charValue) continue;
      if (!all.empty()) all += '\n';
      all += w.u.charValue;
    }
    q.bind(2, all);
  } else if (item.u.value.dataType == ZQ_DATA_TYPE_CHAR) {
    q.bind(2, item.u.value.u.charValue ? item.u.value.u.charValue : "");
  } else if (item.u.value.dataType == ZQ_DATA_TYPE_INTEGER) {
    q.bind(2, item.u.value.u.integerValue);
  } else {
    return 0;  // the null value leaves the setting as it is
  }
  return q.run() ? 0 : zq::kMsgStoreFailure;
}

// ---- statistics -------------------------------------------------------------------------------

void Administration::countCall(uint32_t procedure, bool failed) {
  ++counters_[kStatCalls];
  if (failed) ++counters_[kStatErrors];
  if (procedure < perProcedure_.size()) ++perProcedure_[procedure];
  if (failed) return;
  switch (procedure) {
    case 1:
    case 67:
    case 136:
      ++counters_[kStatEntriesRead];
      break;
    case 2:
      ++counters_[kStatEntriesChanged];
      break;
    case 3:
    case 37:
      ++counters_[kStatEntriesCreated];
      break;
    case 4:
      ++counters_[kStatEntriesDeleted];
      break;
    case 5:
    case 6:
    case 73:
    case 135:
    case 171:
    case 181:
      ++counters_[kStatQueries];
      break;
    default:
      break;
  }
}

void Administration::count(Statistic which, uint64_t n) {
  if (which <= kLastStatistic) counters_[which] += n;
}

void Administration::statistic(uint32_t number, size_t sessionsOpen, size_t users,
                               ZQValueStruct& out) const {
  out = ZQValueStruct{};
  switch (number) {
    case kStatSessionsOpen:
      return setInteger(out, static_cast<int64_t>(sessionsOpen));
    case kStatUsers:
      return setInteger(out, static_cast<int64_t>(users));
    case kStatSecondsRunning:
      return setInteger(out, time(nullptr) - started_);
    case kStatCallsPerProcedure: {
      std::string text;
      for (size_t p = 0; p < perProcedure_.size(); ++p) {
        const uint64_t n = perProcedure_[p].load();
        if (!n) continue;
        if (!text.empty()) text += ',';
        text += std::to_string(p) + ":" + std::to_string(n);
      }
      setText(out, text);
      return;
    }
    default:
      if (number >= 1 && number <= kLastStatistic)
        setInteger(out, static_cast<int64_t>(counters_[number].load()));
      return;
  }
}

// ---- change times and cache events -------------------------------------------------------------

void Administration::noteChange(int32_t kind, ChangeEvent event) {
  const char* column = event == ChangeEvent::created   ? "created"
                       : event == ChangeEvent::changed ? "changed"
                                                       : "deleted";
  const std::string sql = std::string("INSERT INTO zq_change_times(kind, ") + column +
                          ") VALUES(?1, ?2) ON CONFLICT(kind) DO UPDATE SET " + column + " = ?2";
  {
    std::lock_guard<std::mutex> lock(mutex_);
    SqlStatement q(store_.db(), sql.c_str());
    if (q) q.bind(1, kind).bind(2, now()).run();
  }
  raise(kind == kKindGroup  ? ZQ_CACHE_EVENT_GROUP_CHANGE
        : kind == kKindUser ? ZQ_CACHE_EVENT_USER_CHANGE
                            : ZQ_CACHE_EVENT_DEFINITION_CHANGE);
}

int32_t Administration::objectKindOf(uint32_t definitionKind) {
  switch (static_cast<DefinitionKind>(definitionKind)) {
    case DefinitionKind::form:
    case DefinitionKind::view:
      return kKindForm;
    case DefinitionKind::field:
      return kKindField;
    case DefinitionKind::image:
      return kKindImage;
    case DefinitionKind::menu:
      return kKindMenu;
    case DefinitionKind::filter:
      return kKindFilter;
    case DefinitionKind::activeLink:
      return kKindActiveLink;
    case DefinitionKind::escalation:
      return kKindEscalation;
    case DefinitionKind::container:
      return kKindContainer;
  }
  return 0;
}

std::vector<ZQObjectChangeTimesStruct> Administration::changeTimes() const {
  std::vector<ZQObjectChangeTimesStruct> out;
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(),
                 "SELECT kind, ifnull(created, 0), ifnull(changed, 0), ifnull(deleted, 0)"
                 " FROM zq_change_times ORDER BY kind");
  while (q && q.step() == SQLITE_ROW)
    out.push_back({static_cast<int32_t>(q.integer(0)), static_cast<ZQTimestamp>(q.integer(1)),
                   static_cast<ZQTimestamp>(q.integer(2)), static_cast<ZQTimestamp>(q.integer(3))});
  return out;
}

ZQTimestamp Administration::lastChange(int32_t kind) const {
  for (const ZQObjectChangeTimesStruct& t : changeTimes())
    if (t.objectType == kind) return std::max({t.createTime, t.changeTime, t.deleteTime});
  return static_cast<ZQTimestamp>(started_);
}

void Administration::raise(uint32_t event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++events_[eventIndex(event)];
  }
  eventRaised_.notify_all();
}

std::vector<uint32_t> Administration::awaitEvents(int32_t session, const std::vector<uint32_t>& ids,
                                                  bool wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto seen = seen_.find(session);
  if (seen == seen_.end()) {
    std::array<uint64_t, kEventCount> now{};
    std::copy(std::begin(events_), std::end(events_), now.begin());
    seen = seen_.emplace(session, now).first;
  }
  std::vector<uint32_t> occurred;
  auto collect = [&] {
    occurred.clear();
    for (uint32_t id : ids)
      if (eventIndex(id) && events_[eventIndex(id)] > seen->second[eventIndex(id)])
        occurred.push_back(id);
    return !occurred.empty() || stopping_;
  };
  if (wait)
    eventRaised_.wait(lock, collect);
  else
    collect();
  for (uint32_t id : occurred) seen->second[eventIndex(id)] = events_[eventIndex(id)];
  return occurred;
}

void Administration::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  eventRaised_.notify_all();
}

// ---- applications ------------------------------------------------------------------------------

const std::vector<std::string>& Administration::stateNames() {
  static const std::vector<std::string> names = {"Maintenance", "Production", "Test"};
  return names;
}

int32_t Administration::applicationState(const std::string& application, std::string& state) const {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "SELECT state FROM zq_applications WHERE name = ?");
  if (!q || q.bind(1, application).step() != SQLITE_ROW) return zq::kMsgNoSuchApplication;
  state = q.text(0);
  return 0;
}

int32_t Administration::setApplicationState(const std::string& application,
                                            const std::string& state) {
  const auto& names = stateNames();
  auto known = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
    return strcasecmp(n.c_str(), state.c_str()) == 0;
  });
  if (known == names.end()) return zq::kMsgBadApplicationState;
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "INSERT OR REPLACE INTO zq_applications VALUES(?,?,?)");
  return q && q.bind(1, application).bind(2, *known).bind(3, now()).run() ? 0
                                                                          : zq::kMsgStoreFailure;
}

// ---- localized texts and currency ratios
// ----------------------------------------------------------

int32_t Administration::localizedText(const ZQLocalizedRequestStruct& request,
                                      const std::string& locale, std::string& text,
                                      ZQTimestamp& changed) const {
  const std::string name(request.name, strnlen(request.name, sizeof request.name));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    SqlStatement q(store_.db(),
                   "SELECT text, changed FROM zq_localized WHERE name = ? AND type = ?"
                   " AND locale IN (?, '') ORDER BY locale DESC LIMIT 1");
    if (q && q.bind(1, name).bind(2, request.messageType).bind(3, locale).step() == SQLITE_ROW) {
      text = q.text(0);
      changed = static_cast<ZQTimestamp>(q.integer(1));
      return 0;
    }
  }
  char* end = nullptr;
  const long number = strtol(name.c_str(), &end, 10);
  if (request.messageType != ZQ_LOCAL_TEXT_SYSTEM_MESSAGE || name.empty() || *end || number <= 0)
    return zq::kMsgNoSuchLocalizedText;
  char buffer[ZQ_MESSAGE_TEXT_SIZE] = {};
  ZQGetMessageText(static_cast<int32_t>(number), buffer);
  text = buffer;
  changed = static_cast<ZQTimestamp>(started_);
  return 0;
}

bool Administration::setLocalizedText(const std::string& name, uint32_t type,
                                      const std::string& locale, const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "INSERT OR REPLACE INTO zq_localized VALUES(?,?,?,?,?)");
  return q && q.bind(1, name).bind(2, type).bind(3, locale).bind(4, text).bind(5, now()).run();
}

std::string Administration::ratioSet(ZQTimestamp at) const {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(),
                 "SELECT ratios FROM zq_currency_ratios WHERE ?1 = 0 OR set_time <= ?1"
                 " ORDER BY set_time DESC LIMIT 1");
  if (q && q.bind(1, at).step() == SQLITE_ROW) return q.text(0);
  return {};
}

bool Administration::addRatioSet(ZQTimestamp from, const std::string& ratios) {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(), "INSERT OR REPLACE INTO zq_currency_ratios VALUES(?,?)");
  return q && q.bind(1, from).bind(2, ratios).run();
}

}  // namespace zqserver
