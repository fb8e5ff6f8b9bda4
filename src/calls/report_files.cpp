#include "calls/report_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

constexpr const char* kReportLine = "\nReport: ";
constexpr size_t kMaxPath = 255;

// Key k of a report line: the byte 1, the digits of k and "=".
std::string key(int k) {
  return std::string(1, '\x01') + std::to_string(k) + "=";
}

// Where the value of key k starts within [from, to) of text, or npos.
size_t valueOf(const std::string& text, int k, size_t from, size_t to) {
  const std::string name = key(k);
  const size_t at = text.find(name, from);
  if (at == std::string::npos || at + name.size() > to) return std::string::npos;
  return at + name.size();
}

// "!n!" with n above 0 at `at`: the number and the reference's length.
bool reference(const std::string& text, size_t at, size_t end, uint32_t& number, size_t& length) {
  if (at >= end || text[at] != '!') return false;
  size_t i = at + 1;
  uint64_t n = 0;
  while (i < end && text[i] >= '0' && text[i] <= '9' && n <= UINT32_MAX)
    n = n * 10 + static_cast<uint64_t>(text[i++] - '0');
  if (i == at + 1 || i >= end || text[i] != '!' || n == 0 || n > UINT32_MAX) return false;
  number = static_cast<uint32_t>(n);
  length = i + 1 - at;
  return true;
}

}  // namespace

ReportFiles::~ReportFiles() {
  for (Text& t : texts_) {
    if (t.copy) *t.slot = t.own;
    freeBlock(t.copy);
  }
}

void ReportFiles::walk(ZQActiveLinkActionList* actions) {
  if (!actions || !actions->items) return;
  for (uint32_t i = 0; i < actions->count; ++i) {
    ZQActiveLinkActionStruct& a = actions->items[i];
    char** slot = a.action == ZQ_ACTIVE_LINK_ACTION_MACRO     ? &a.u.macro.macroText
                  : a.action == ZQ_ACTIVE_LINK_ACTION_OPENDLG ? &a.u.openDialog.reportString
                                                              : nullptr;
    if (!slot || !*slot || !strstr(*slot, "Report: ")) continue;
    texts_.push_back({slot, *slot, *slot, nullptr});
    parse(texts_.size() - 1, a.action == ZQ_ACTIVE_LINK_ACTION_OPENDLG);
  }
}

void ReportFiles::parse(size_t index, bool openWindow) {
  const std::string& text = texts_[index].rewritten;
  int mode = -1;
  bool seen = false;
  uint32_t last = 0;
  for (size_t line = text.find(kReportLine); line != std::string::npos;
       line = text.find(kReportLine, line + 1)) {
    const size_t start = line + 1;
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    // The report mode: required on an open-window line; a macro takes the
    // first one from this line onward.
    const size_t modeAt = valueOf(text, 30, start, openWindow ? end : text.size());
    if (modeAt == std::string::npos) {
      if (openWindow) continue;
    } else {
      mode = atoi(text.c_str() + modeAt);
    }
    const size_t kindAt = valueOf(text, 21, start, end);
    if (kindAt == std::string::npos) continue;
    if (!openWindow && atoi(text.c_str() + kindAt) == 1) continue;
    size_t at = valueOf(text, 22, start, end);
    if (at == std::string::npos) continue;
    while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;

    Item item;
    item.text = index;
    item.at = at;
    uint32_t number = 0;
    size_t length = 0;
    if (reference(text, at, end, number, length)) {
      seen = true;
      last = number;
      if (number > highest_) highest_ = number;
      if (mode <= 0) continue;
      item.number = number;
      item.length = length;
    } else if (seen) {
      // A line after a reference lets the last one go; its own value is no
      // reference and stays as it is.
      if (mode <= 0) continue;
      item.number = last;
    } else if (mode == 0 || !openWindow) {
      size_t stop = text.find('\x01', at);
      if (stop == std::string::npos || stop > end) stop = end;
      item.upload = true;
      item.path = text.substr(at, std::min(stop - at, kMaxPath));
    } else {
      continue;
    }
    items_.insert(items_.begin(), std::move(item));
  }
}

int ReportFiles::prepare(ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                         ZQStatusList* status) {
  walk(ifActions);
  walk(elseActions);
  // The last found first, so that the positions of earlier items hold.
  for (Item& item : items_) {
    std::string& text = texts_[item.text].rewritten;
    if (item.upload) {
      item.number = ++highest_;
      text.insert(item.at, "!" + std::to_string(item.number) + "!");
    } else if (item.length) {
      text.erase(item.at, item.length);
    }
  }
  for (Text& t : texts_) {
    if (t.rewritten == t.own) continue;
    t.copy = dupString(t.rewritten.c_str());
    if (!t.copy) return addError(status, kMsgNoMemory);
    *t.slot = t.copy;
  }
  return ZQ_RETURN_OK;
}

void ReportFiles::store(ZQControlStruct* control, const char* linkName,
                        ZQStatusList* status) const {
  ZQStatusList collected{0, nullptr};
  for (const Item& item : items_) {
    ZQStatusList own{0, nullptr};
    int rc = ZQ_RETURN_OK;
    if (item.upload) {
      FILE* file = fopen(item.path.c_str(), "rb");
      if (!file) {
        addWarning(&collected, kMsgReportFileUnreadable, item.path.c_str());
        continue;
      }
      rc = ZQSetSupportFile(control, ZQ_SUPPORT_FILE_ACTIVE_LINK, linkName, 0, item.number, file,
                            &own);
      fclose(file);
    } else {
      rc =
          ZQDeleteSupportFile(control, ZQ_SUPPORT_FILE_ACTIVE_LINK, linkName, 0, item.number, &own);
    }
    // The active link stands: what went wrong with its files is a warning.
    if (rc >= ZQ_RETURN_ERROR)
      for (uint32_t i = 0; i < own.count; ++i)
        if (own.items[i].messageType >= ZQ_MESSAGE_ERROR)
          own.items[i].messageType = ZQ_MESSAGE_WARNING;
    absorbStatus(&collected, own);
    if (rc != ZQ_RETURN_OK) addWarning(&collected, kMsgReportFileNotStored);
  }
  absorbStatus(status, collected);
}

}  // namespace zq::calls
