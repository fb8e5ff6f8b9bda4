// zqserverd's administrative state: server settings, full-text settings,
// statistics, change times of definitions and the cache events they raise,
// application states, localized texts and currency ratio sets.
//
// SCHEMA (created on first use; every table lives in Store::db())
//   zq_settings(number INTEGER PRIMARY KEY, is_text INTEGER, value)
//     Settings seeded from the command line at every start (the command line
//     wins), changed by ZQSetServerInfo. The password part of
//     password-bearing settings is kept as a salted hash only.
//   zq_fulltext(info_type INTEGER PRIMARY KEY, value)
//     Types 1 and 9 text, 2 the stop words separated by line feeds, 3 to 6
//     integers.
//   zq_change_times(kind INTEGER PRIMARY KEY, created INTEGER, changed INTEGER,
//                   deleted INTEGER)
//   zq_applications(name TEXT PRIMARY KEY COLLATE NOCASE, state TEXT, changed INTEGER)
//   zq_localized(name TEXT, type INTEGER, locale TEXT, text TEXT, changed INTEGER,
//                PRIMARY KEY(name, type, locale))
//     Texts per locale; system messages (type 0) without a row of their own
//     come from the message catalog.
//   zq_currency_ratios(set_time INTEGER PRIMARY KEY, ratios TEXT)
//     Ratio sets ("USDEUR0.92/USDJPY151.3", sorted by key) by the time they
//     apply from.
//
// STATISTICS (ZQGetServerStatistics), counted since the server started:
//   1 calls, 2 entries created, 3 entries changed, 4 entries deleted,
//   5 entries read, 6 queries, 7 calls answered with an error, 8 sessions
//   opened, 9 sessions open, 10 registered users, 11 seconds running,
//   12 SQL statements run, 13 processes run, 14 failed authentications,
//   15 calls per procedure as text ("36:4,1:2"); 16 to 74 are 0.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "store.h"
#include "zqapi/zq_admin.h"

namespace zqserver {

struct Options;

// Statistic numbers.
enum Statistic : uint32_t {
  kStatCalls = 1,
  kStatEntriesCreated,
  kStatEntriesChanged,
  kStatEntriesDeleted,
  kStatEntriesRead,
  kStatQueries,
  kStatErrors,
  kStatSessionsOpened,
  kStatSessionsOpen,
  kStatUsers,
  kStatSecondsRunning,
  kStatSqlStatements,
  kStatProcesses,
  kStatFailedLogins,
  kStatCallsPerProcedure,
  kLastStatistic = 74,
};

// Kinds of objects whose change times the server keeps.
enum ObjectKind : int32_t {
  kKindForm = 1,
  kKindField = 2,
  kKindMenu = 3,
  kKindFilter = 4,
  kKindActiveLink = 5,
  kKindEscalation = 6,
  kKindContainer = 7,
  kKindImage = 8,
  kKindGroup = 9,
  kKindUser = 10,
};

class Administration {
 public:
  Administration(Store& store, const Options& options);
  Administration(const Administration&) = delete;
  Administration& operator=(const Administration&) = delete;

  // Creates the tables and seeds the settings. False with a reason.
  bool open(std::string& error);

  // ---- settings ----------------------------------------------------------------------
  // The value of a setting (null when unknown); out is filled, owned by the caller.
  void setting(uint32_t number, ZQValueStruct& out) const;
  // Stores a setting that the client checked; password parts arrive in
  // their protected form for protocolVersion. 0 or the message.
  int32_t setSetting(const ZQServerInfoStruct& item, int protocolVersion);
  bool isPasswordSetting(uint32_t number) const;

  // ---- full-text settings ---------------------------------------------------------------
  // False for an unknown type.
  bool fullText(uint32_t type, ZQFullTextInfoStruct& out) const;
  int32_t setFullText(const ZQFullTextInfoStruct& item);

  // ---- statistics -----------------------------------------------------------------------
  void countCall(uint32_t procedure, bool failed);
  void count(Statistic which, uint64_t n = 1);
  // Fills a statistic; sessionsOpen and users come from the caller.
  void statistic(uint32_t number, size_t sessionsOpen, size_t users, ZQValueStruct& out) const;

  // ---- definitions and cache events ---------------------------------------------------------
  // Hook of the definition store and the accounts: records the change and
  // raises the matching cache event.
  void noteChange(int32_t kind, ChangeEvent event);
  // The object kind whose change times a stored definition's kind counts
  // under (a view changes its form); 0 for none.
  static int32_t objectKindOf(uint32_t definitionKind);
  std::vector<ZQObjectChangeTimesStruct> changeTimes() const;
  ZQTimestamp lastChange(int32_t kind) const;
  // Raises cache events (ZQ_CACHE_EVENT_...).
  void raise(uint32_t event);
  // The events among ids that occurred since the session last asked; with
  // wait, blocks until one occurs or stop() is called.
  std::vector<uint32_t> awaitEvents(int32_t session, const std::vector<uint32_t>& ids, bool wait);
  // Ends every wait (the server stops).
  void stop();

  // ---- applications -------------------------------------------------------------------------
  static const std::vector<std::string>& stateNames();
  // 0 with state filled, or the message.
  int32_t applicationState(const std::string& application, std::string& state) const;
  int32_t setApplicationState(const std::string& application, const std::string& state);

  // ---- localized texts and currency ratios ----------------------------------------------------
  // 0 with the text and its time, or the message.
  int32_t localizedText(const ZQLocalizedRequestStruct& request, const std::string& locale,
                        std::string& text, ZQTimestamp& changed) const;
  bool setLocalizedText(const std::string& name, uint32_t type, const std::string& locale,
                        const std::string& text);
  // The ratio set that applied at a time (0: the current one); "" for none.
  std::string ratioSet(ZQTimestamp at) const;
  bool addRatioSet(ZQTimestamp from, const std::string& ratios);

 private:
  Store& store_;
  const Options& options_;
  const int64_t started_;
  mutable std::mutex mutex_;

  std::map<uint32_t, std::variant<std::string, int32_t>> settings_;  // as stored
  std::atomic<uint64_t> counters_[kLastStatistic + 1] = {};
  std::array<std::atomic<uint64_t>, 183> perProcedure_{};

  // Cache events: a counter per event, what each session saw last.
  static constexpr uint32_t kEventCount = 4;
  std::condition_variable eventRaised_;
  uint64_t events_[kEventCount] = {};
  std::map<int32_t, std::array<uint64_t, kEventCount>> seen_;
  bool stopping_ = false;
};

}  // namespace zqserver
