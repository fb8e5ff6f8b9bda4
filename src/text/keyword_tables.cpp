#include "text/keyword_tables.h"

#include <mutex>

#include "platform/platform.h"
#include "zqapi/zq_session.h"

namespace zq::text {
namespace {

constexpr int kCatalogSet = 2;
constexpr int kFirstKeywordMessage = 1060;

constexpr const char* kBuiltInKeywords[kKeywordCount] = {
    "DEFAULT",
    "USER",
    "TIMESTAMP",
    "TIME",
    "DATE",
    "SCHEMA",
    "SERVER",
    "WEEKDAY",
    "GROUPS",
    "OPERATION",
    "HARDWARE",
    "OS",
    "DATABASE",
    "LASTID",
    "LASTCOUNT",
    "VERSION",
    "VUI",
    "GUIDETEXT",
    "FIELDHELP",
    "GUIDE",
    "APPLICATION",
    "LOCALE",
    "CLIENT-TYPE",
    "SCHEMA-ALIAS",
    "ROWSELECTED",
    "ROWCHANGED",
    "BROWSER",
    "VUI-TYPE",
    "TCPPORT",
    "HOMEURL",
    "ROLES",
    "EVENTTYPE",
    "EVENTSRCWINID",
    "CURRENTWINID",
    "LASTOPENEDWINID",
    "INBULKTRANSACTION",
    "FIELDID",
    "FIELDNAME",
    "FIELDLABEL",
    "SERVERTIMESTAMP",
    "GROUPIDS",
    "EVENTDATA",
    "ERRNO",
    "ERRMSG",
    "ERRAPPENDMSG",
    "INCLIENTTRANSACTION",
    "NO",
};

KeywordTables* buildTables() {
  auto* t = new KeywordTables;
  // The process catalog when it is open, else one opened for this read.
  int handle = ZQMessageCatalogHandle;
  bool temporary = false;
  if (handle == -1) {
    handle = platform::catalogOpen();
    temporary = handle != -1;
  }
  auto word = [&](int number, const char* builtIn) {
    if (handle == -1) return std::string(builtIn);
    std::string text = platform::catalogGet(handle, kCatalogSet, number, "");
    return text.empty() ? std::string(builtIn) : text;
  };
  for (int i = 0; i < kKeywordCount; ++i)
    t->keywords[i] = word(kFirstKeywordMessage + i, kBuiltInKeywords[i]);
  t->like = word(21, "LIKE");
  t->andWord = word(22, "AND");
  t->orWord = word(23, "OR");
  t->notWord = word(24, "NOT");
  t->user = word(25, "USER");
  t->time = word(26, "TIME");
  t->nullWord = word(829, "NULL");
  t->currencyParts = {word(1055, "VALUE"), word(1056, "TYPE"), word(1057, "DATE")};
  if (temporary) platform::catalogClose(handle);
  return t;
}

}  // namespace

int KeywordTables::keywordNumber(std::string_view name) const {
  for (int i = 0; i < kKeywordCount; ++i)
    if (keywords[i] == name) return i;
  return -1;
}

const KeywordTables& keywordTables() {
  // Built once and kept for the life of the process: readers hold plain
  // references, so the tables are never rebuilt or released.
  static const KeywordTables* tables = nullptr;
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::keywordTables));
  if (!tables) tables = buildTables();
  return *tables;
}

const char* builtInKeyword(int number) {
  return number >= 0 && number < kKeywordCount ? kBuiltInKeywords[number] : nullptr;
}

}  // namespace zq::text
