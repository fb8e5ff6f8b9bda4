#include "query_text.h"

#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "frame/alloc.h"
#include "security/base64.h"
#include "text/qual_text.h"

namespace zqserver {

namespace {

void appendTyped(std::string& out, uint32_t type, const char* bytes, size_t length) {
  out += std::to_string(type);
  out += '\\';
  out += std::to_string(length);
  out += '\\';
  out.append(bytes, length);
  out += '\\';
}

}  // namespace

void appendValueText(std::string& out, const ZQValueStruct* v) {
  if (!v) return appendTyped(out, 0, "", 0);
  const uint32_t type = v->dataType;
  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_TIME_OF_DAY: {
      std::string n = (type == ZQ_DATA_TYPE_ENUM || type == ZQ_DATA_TYPE_BITMASK ||
                       type == ZQ_DATA_TYPE_KEYWORD)
                          ? std::to_string(v->u.enumValue)
                          : std::to_string(v->u.integerValue);
      return appendTyped(out, type, n.data(), n.size());
    }
    case ZQ_DATA_TYPE_REAL: {
      uint64_t bits;
      memcpy(&bits, &v->u.realValue, sizeof bits);
      uint8_t be[8];
      for (int i = 7; i >= 0; --i, bits >>= 8) be[i] = static_cast<uint8_t>(bits);
      zq::security::Buffer text;
      if (!zq::security::base64::encode(be, 8, 0, text)) return appendTyped(out, 0, "", 0);
      return appendTyped(out, type, reinterpret_cast<const char*>(text.data()),
                         strlen(reinterpret_cast<const char*>(text.data())));
    }
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      if (!v->u.charValue) return appendTyped(out, 0, "", 0);
      return appendTyped(out, type, v->u.charValue, strlen(v->u.charValue));
    case ZQ_DATA_TYPE_BYTES: {
      if (!v->u.byteListValue) return appendTyped(out, 0, "", 0);
      const ZQByteList& b = *v->u.byteListValue;
      std::string s = std::to_string(b.type) + "\\" + std::to_string(b.bytes ? b.count : 0) + "\\";
      if (b.bytes) s.append(reinterpret_cast<const char*>(b.bytes), b.count);
      return appendTyped(out, type, s.data(), s.size());
    }
    case ZQ_DATA_TYPE_ATTACH: {
      if (!v->u.attachmentValue) return appendTyped(out, 0, "", 0);
      const ZQAttachStruct& a = *v->u.attachmentValue;
      std::string s = std::to_string(a.originalSize) + ";" + std::to_string(a.compressedSize) +
                      ";" + (a.name ? a.name : "");
      return appendTyped(out, type, s.data(), s.size());
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      // The value bytes are the currency text alone; without an amount
      // there is no currency to send.
      if (!v->u.currencyValue) return appendTyped(out, 0, "", 0);
      zq::text::EncodeResult text =
          zq::text::encodeCurrencyText(*v->u.currencyValue, zq::text::LengthCounter());
      if (!text.text) return appendTyped(out, 0, "", 0);
      appendTyped(out, type, text.text, strlen(text.text));
      ZQFree(text.text);
      return;
    }
    default:
      return appendTyped(out, 0, "", 0);
  }
}

std::string entryListText(const QueryResult& result, const std::vector<ZQInternalId>& columns) {
  std::string out;
  out.reserve(64 + result.rows.size() * (16 + columns.size() * 16));
  out += std::to_string(result.rows.size()) + "\n" + std::to_string(result.matches) + "\n" +
         std::to_string(columns.size()) + "\n";
  for (ZQInternalId id : columns) out += std::to_string(id) + "\n";
  for (const Row& row : result.rows) {
    out += row.id;
    out += '\n';
    for (ZQInternalId id : columns)
      if (id != 1) appendValueText(out, row.find(id));
  }
  return out;
}

std::string multiSchemaText(const JoinResult& result,
                            const std::vector<ZQMultiSchemaFieldIdStruct>& columns) {
  std::string out;
  out += std::to_string(result.rows.size()) + "\n" + std::to_string(result.matches) + "\n" +
         std::to_string(columns.size()) + "\n";
  for (const auto& c : columns)
    out += std::to_string(c.fieldId) + "\\" + c.queryFromAlias + "\n";
  for (const JoinedRow& row : result.rows)
    for (const auto& c : columns) appendValueText(out, joinedValue(result, row, c));
  return out;
}

namespace {

constexpr size_t kMaxPending = 64;

struct PendingTable {
  std::mutex mutex;
  std::map<int32_t, std::unique_ptr<PendingResult>> items;
  std::deque<int32_t> order;
  int32_t next = 1;
};
PendingTable& pendingTable() {
  static PendingTable table;
  return table;
}

}  // namespace

int32_t keepPending(std::unique_ptr<PendingResult> pending) {
  PendingTable& t = pendingTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  while (t.items.size() >= kMaxPending && !t.order.empty()) {
    t.items.erase(t.order.front());
    t.order.pop_front();
  }
  int32_t token = t.next++;
  if (t.next <= 0) t.next = 1;
  t.items[token] = std::move(pending);
  t.order.push_back(token);
  return token;
}

PendingResult* findPending(int32_t token) {
  PendingTable& t = pendingTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.items.find(token);
  return it == t.items.end() ? nullptr : it->second.get();
}

void dropPending(int32_t token) {
  PendingTable& t = pendingTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.items.erase(token);
  for (auto it = t.order.begin(); it != t.order.end(); ++it)
    if (*it == token) {
      t.order.erase(it);
      break;
    }
}

size_t sliceBytes(uint32_t responseSize) {
  if (responseSize == 0) responseSize = 500000;
  // Room for the header echo and a status list.
  return responseSize > 2048 ? responseSize - 1024 : 1024;
}

}  // namespace zqserver
