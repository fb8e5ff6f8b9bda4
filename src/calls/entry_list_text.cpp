#include "calls/entry_list_text.h"

#include <cstring>
#include <string>

#include "frame/frame.h"
#include "model/describe.h"
#include "platform/platform.h"
#include "text/text.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

constexpr const char* kTooLarge = "the entry list exceeds the maximum result size";

// A cursor over the text that never reads past its end.
class Cursor {
 public:
  Cursor(const char* text, size_t length) : p_(text), end_(text + length) {}

  size_t remaining() const { return static_cast<size_t>(end_ - p_); }

  // A decimal number (optionally negative) ended by `stop`.
  bool number(int64_t& out, char stop) {
    bool negative = false;
    if (p_ < end_ && *p_ == '-') {
      negative = true;
      ++p_;
    }
    const char* start = p_;
    uint64_t n = 0;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
      n = n * 10 + static_cast<uint64_t>(*p_ - '0');
      if (n > 0xFFFFFFFFull) return false;
      ++p_;
    }
    if (p_ == start || p_ == end_ || *p_ != stop) return false;
    ++p_;
    out = negative ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
    return true;
  }
  bool count(uint32_t& out, char stop) {
    int64_t n;
    if (!number(n, stop) || n < 0) return false;
    out = static_cast<uint32_t>(n);
    return true;
  }
  // The rest of the line, without its line feed.
  bool line(const char*& start, size_t& length) {
    const void* nl = memchr(p_, '\n', remaining());
    if (!nl) return false;
    start = p_;
    length = static_cast<size_t>(static_cast<const char*>(nl) - p_);
    p_ = static_cast<const char*>(nl) + 1;
    return true;
  }
  bool take(size_t n, const char*& start) {
    if (n > remaining()) return false;
    start = p_;
    p_ += n;
    return true;
  }

 private:
  const char* p_;
  const char* end_;
};

struct Parser {
  TextCharsets charsets;
  bool converting = false;
  ParseResult result;

  bool fail(int32_t message, const char* detail) {
    if (result.ok()) result = {message, detail};
    return false;
  }
  bool noMemory() { return fail(kMsgNoMemory, "out of memory"); }

  // A copy of text, converted from the server's character set when needed.
  char* text(const char* s, size_t n) {
    if (converting) {
      std::string out;
      auto rc = platform::convert(charsets.server, charsets.client, s, n, out);
      if (rc == platform::ConvertResult::ok) {
        char* copy = static_cast<char*>(zq::alloc(out.size() + 1));
        if (!copy) return noMemory(), nullptr;
        memcpy(copy, out.data(), out.size());
        copy[out.size()] = '\0';
        return copy;
      }
      if (rc == platform::ConvertResult::noMemory) return noMemory(), nullptr;
      // Unconvertible text is kept as it came.
    }
    char* copy = static_cast<char*>(zq::alloc(n + 1));
    if (!copy) return noMemory(), nullptr;
    memcpy(copy, s, n);
    copy[n] = '\0';
    return copy;
  }

  // One 32-bit word: signed, or for the unsigned types (keyword, enumerated,
  // bitmask) up to 4294967295. Anything beyond is refused, never wrapped.
  static bool integer(const char* s, size_t n, bool isUnsigned, int32_t& out) {
    if (n == 0) {
      out = 0;
      return true;
    }
    Cursor c(s, n);
    int64_t v = 0;
    bool negative = false;
    size_t i = 0;
    if (s[0] == '-') {
      negative = true;
      i = 1;
    }
    if (i == n) return false;
    const int64_t limit = negative ? -int64_t{INT32_MIN} : isUnsigned ? UINT32_MAX : INT32_MAX;
    for (; i < n; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      v = v * 10 + (s[i] - '0');
      if (v > limit) return false;
    }
    out = static_cast<int32_t>(static_cast<uint32_t>(negative ? -v : v));
    return true;
  }

  // Base64 of the 8-byte XDR double; characters outside the alphabet are
  // skipped. Decoded in place: one real per value must not cost an allocation.
  bool real(const char* s, size_t n, double& out) {
    if (n == 0) {
      out = 0.0;
      return true;
    }
    uint8_t bytes[8];
    size_t count = 0;
    uint32_t bits = 0;
    int pending = 0;
    for (size_t i = 0; i < n; ++i) {
      const int v = base64Digit(s[i]);
      if (v < 0) continue;
      bits = (bits << 6) | static_cast<uint32_t>(v);
      pending += 6;
      if (pending >= 8) {
        pending -= 8;
        if (count == sizeof bytes) return fail(kMsgBadEncoding, "real value");
        bytes[count++] = static_cast<uint8_t>(bits >> pending);
      }
    }
    if (count != sizeof bytes) return fail(kMsgBadEncoding, "real value");
    uint64_t word = 0;
    for (uint8_t b : bytes) word = (word << 8) | b;
    memcpy(&out, &word, sizeof out);
    return true;
  }

  static int base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  }

  bool byteList(const char* s, size_t n, ZQValueStruct& v) {
    Cursor c(s, n);
    uint32_t type, count;
    const char* bytes;
    if (!c.count(type, '\\') || !c.count(count, '\\') || !c.take(count, bytes) ||
        c.remaining() != 0)
      return fail(kMsgBadEncoding, "byte list value");
    auto* list = static_cast<ZQByteList*>(zq::allocZeroed(1, sizeof(ZQByteList)));
    if (!list) return noMemory();
    list->type = type;
    if (count) {
      list->bytes = static_cast<unsigned char*>(zq::alloc(count));
      if (!list->bytes) {
        zq::freeBlock(list);
        return noMemory();
      }
      memcpy(list->bytes, bytes, count);
      list->count = count;
    }
    v.dataType = ZQ_DATA_TYPE_BYTES;
    v.u.byteListValue = list;
    return true;
  }

  bool attachment(const char* s, size_t n, ZQValueStruct& v) {
    Cursor c(s, n);
    int64_t original, compressed;
    if (!c.number(original, ';') || !c.number(compressed, ';') || original > INT32_MAX ||
        compressed > INT32_MAX || original < INT32_MIN || compressed < INT32_MIN)
      return fail(kMsgBadEncoding, "attachment value");
    auto* a = static_cast<ZQAttachStruct*>(zq::allocZeroed(1, sizeof(ZQAttachStruct)));
    if (!a) return noMemory();
    const char* name;
    size_t rest = c.remaining();
    c.take(rest, name);
    a->name = text(name, rest);
    if (!a->name) {
      zq::freeBlock(a);
      return false;
    }
    a->originalSize = static_cast<int32_t>(original);
    a->compressedSize = static_cast<int32_t>(compressed);
    v.dataType = ZQ_DATA_TYPE_ATTACH;
    v.u.attachmentValue = a;
    return true;
  }

  // The value text is the currency text itself, with no type code nor
  // counted wrapper of its own; its lengths count the bytes as they came.
  bool currency(const char* s, size_t n, ZQValueStruct& v) {
    const int32_t rc = text::decodeCurrencyText(s, n, text::LengthCounter(), &v);
    if (rc == kMsgCopyNoMemory) return noMemory();
    if (rc != 0) return fail(kMsgBadEncoding, "currency value");
    return true;
  }

  // "type\length\" + bytes + separator into v (zeroed by the caller).
  bool value(Cursor& c, ZQValueStruct& v) {
    uint32_t type, length;
    const char* s;
    const char* separator;
    if (!c.count(type, '\\') || !c.count(length, '\\'))
      return fail(kMsgBadEncoding, "value header");
    if (!c.take(length, s) || !c.take(1, separator))
      return fail(kMsgBadEncoding, "value length past the end of the text");
    switch (type) {
      case ZQ_DATA_TYPE_NULL:
        return true;
      case ZQ_DATA_TYPE_KEYWORD:
      case ZQ_DATA_TYPE_DATE:
      case ZQ_DATA_TYPE_INTEGER:
      case ZQ_DATA_TYPE_ENUM:
      case ZQ_DATA_TYPE_TIME:
      case ZQ_DATA_TYPE_BITMASK:
      case ZQ_DATA_TYPE_TIME_OF_DAY: {
        int32_t n;
        const bool isUnsigned = type == ZQ_DATA_TYPE_KEYWORD || type == ZQ_DATA_TYPE_ENUM ||
                                type == ZQ_DATA_TYPE_BITMASK;
        if (!integer(s, length, isUnsigned, n)) return fail(kMsgBadEncoding, "numeric value");
        v.dataType = type;
        v.u.integerValue = n;  // every member of this group is one 32-bit word
        return true;
      }
      case ZQ_DATA_TYPE_REAL: {
        double d;
        if (!real(s, length, d)) return false;
        v.dataType = type;
        v.u.realValue = d;
        return true;
      }
      case ZQ_DATA_TYPE_CHAR:
      case ZQ_DATA_TYPE_DIARY:
      case ZQ_DATA_TYPE_DECIMAL:
      case ZQ_DATA_TYPE_VIEW:
      case ZQ_DATA_TYPE_DISPLAY: {
        char* copy = text(s, length);
        if (!copy) return false;
        v.dataType = type;
        v.u.charValue = copy;
        return true;
      }
      case ZQ_DATA_TYPE_BYTES:
        return byteList(s, length, v);
      case ZQ_DATA_TYPE_ATTACH:
        return attachment(s, length, v);
      case ZQ_DATA_TYPE_CURRENCY:
        return currency(s, length, v);
      default:
        return fail(kMsgBadEncoding, "unknown data type");
    }
  }

  // The ids of one entry from its (converted) id line.
  bool entryIds(const char* line, size_t n, ZQEntryIdList& ids) {
    uint32_t pieces = 1;
    for (size_t i = 0; i < n; ++i) pieces += line[i] == '|';
    ids.items = static_cast<ZQEntryIdType*>(zq::allocZeroed(pieces, sizeof(ZQEntryIdType)));
    if (!ids.items) return noMemory();
    ids.count = pieces;
    size_t start = 0;
    uint32_t k = 0;
    for (size_t i = 0; i <= n; ++i) {
      if (i == n || line[i] == '|') {
        size_t len = i - start;
        if (len > ZQ_MAX_ENTRYID_SIZE) len = ZQ_MAX_ENTRYID_SIZE;
        memcpy(ids.items[k++], line + start, len);
        start = i + 1;
      }
    }
    return true;
  }

  // The three counting lines; refuses counts the text cannot hold.
  bool head(Cursor& c, uint32_t& entries, uint32_t& matches, uint32_t& columns) {
    if (!c.count(entries, '\n') || !c.count(matches, '\n') || !c.count(columns, '\n'))
      return fail(kMsgBadEncoding, "entry list counts");
    // A column line takes at least 2 bytes, an entry at least its line feed.
    if (columns > c.remaining() / 2 || entries > c.remaining())
      return fail(kMsgBadEncoding, "entry list counts exceed the text");
    return true;
  }
};

}  // namespace

ParseResult parseEntryListText(const char* text, size_t length, const TextCharsets& charsets,
                               ZQEntryListFieldValueList* out, uint32_t* matchesOut,
                               size_t maxResult) {
  if (!out) return {233, "no output"};
  zq::model::release(*out);
  *out = {0, nullptr};
  if (matchesOut) *matchesOut = 0;
  if (!text || length == 0) return {};
  Parser p;
  p.charsets = charsets;
  p.converting = charsets.server && charsets.client && charsets.server != charsets.client;
  Cursor c(text, length);
  uint32_t n, matches, m;
  if (!p.head(c, n, matches, m)) return p.result;
  std::string columnsStore(m * sizeof(ZQInternalId), '\0');
  auto* columns = reinterpret_cast<ZQInternalId*>(columnsStore.data());
  uint32_t withText = 0;
  for (uint32_t i = 0; i < m; ++i) {
    uint32_t id;
    if (!c.count(id, '\n')) return p.fail(kMsgBadEncoding, "column line"), p.result;
    columns[i] = id;
    withText += id != 1;
  }
  // Every value with text takes at least "0\0\" and its separator.
  if (n && withText && n > c.remaining() / (5u * withText))
    return p.fail(kMsgBadEncoding, "entry count exceeds the text"), p.result;
  // Columns of field 1 take no text of their own but cost a value and a
  // copy of the id line in every entry: what the result takes in memory is
  // counted against the bound, before and while it is built.
  uint64_t used = uint64_t{n} * sizeof(ZQEntryListFieldValueStruct) +
                  uint64_t{n} * m * sizeof(ZQFieldValueStruct);
  const uint32_t idColumns = m - withText;
  if (used > maxResult) return p.fail(kMsgBadEncoding, kTooLarge), p.result;

  ZQEntryListFieldValueList result{0, nullptr};
  if (n) {
    result.items = static_cast<ZQEntryListFieldValueStruct*>(
        zq::allocZeroed(n, sizeof(ZQEntryListFieldValueStruct)));
    if (!result.items) return p.noMemory(), p.result;
  }
  bool ok = true;
  for (uint32_t e = 0; e < n && ok; ++e) {
    ZQEntryListFieldValueStruct& entry = result.items[e];
    result.count = e + 1;
    const char* line;
    size_t lineLength;
    if (!c.line(line, lineLength)) {
      ok = p.fail(kMsgBadEncoding, "entry id line");
      break;
    }
    // The id line is copied only when it must be converted.
    char* converted = nullptr;
    if (p.converting && !(converted = p.text(line, lineLength))) {
      ok = false;
      break;
    }
    const char* idText = converted ? converted : line;
    const size_t idLength = converted ? strlen(converted) : lineLength;
    used += uint64_t{idColumns} * (idLength + 1);
    if (used > maxResult) {
      ZQFree(converted);
      ok = p.fail(kMsgBadEncoding, kTooLarge);
      break;
    }
    ok = p.entryIds(idText, idLength, entry.entryId);
    auto* values =
        ok ? static_cast<ZQFieldValueList*>(zq::allocZeroed(1, sizeof(ZQFieldValueList))) : nullptr;
    if (ok && !values) ok = p.noMemory();
    if (ok && m) {
      values->items =
          static_cast<ZQFieldValueStruct*>(zq::allocZeroed(m, sizeof(ZQFieldValueStruct)));
      if (!values->items) {
        zq::freeBlock(values);
        values = nullptr;
        ok = p.noMemory();
      }
    }
    if (!ok) {
      zq::freeBlock(converted);
      break;
    }
    entry.fieldValues = values;
    for (uint32_t k = 0; k < m && ok; ++k) {
      ZQFieldValueStruct& fv = values->items[k];
      values->count = k + 1;
      fv.fieldId = columns[k];
      if (columns[k] == 1) {
        auto* copy = static_cast<char*>(zq::alloc(idLength + 1));
        if (copy) {
          memcpy(copy, idText, idLength);
          copy[idLength] = '\0';
        } else {
          ok = p.noMemory();
          break;
        }
        fv.value.dataType = ZQ_DATA_TYPE_CHAR;
        fv.value.u.charValue = copy;
      } else {
        ok = p.value(c, fv.value);
      }
    }
    zq::freeBlock(converted);
  }
  if (!ok) {
    zq::model::release(result);
    return p.result;
  }
  *out = result;
  if (matchesOut) *matchesOut = matches;
  return {};
}

ParseResult parseMultiSchemaText(const char* text, size_t length, const TextCharsets& charsets,
                                 ZQMultiSchemaFieldValueListList* out, uint32_t* matchesOut,
                                 size_t maxResult) {
  if (!out) return {233, "no output"};
  zq::model::release(*out);
  *out = {0, nullptr};
  if (matchesOut) *matchesOut = 0;
  if (!text || length == 0) return {};
  Parser p;
  p.charsets = charsets;
  p.converting = charsets.server && charsets.client && charsets.server != charsets.client;
  Cursor c(text, length);
  uint32_t n, matches, m;
  if (!p.head(c, n, matches, m)) return p.result;
  std::string columnsStore(m * sizeof(ZQMultiSchemaFieldIdStruct), '\0');
  auto* columns = reinterpret_cast<ZQMultiSchemaFieldIdStruct*>(columnsStore.data());
  for (uint32_t i = 0; i < m; ++i) {
    uint32_t id;
    const char* alias;
    size_t aliasLength;
    if (!c.count(columns[i].fieldId, '\\') || !c.line(alias, aliasLength))
      return p.fail(kMsgBadEncoding, "column line"), p.result;
    (void)id;
    copyName(columns[i].queryFromAlias, std::string(alias, aliasLength).c_str(),
             sizeof columns[i].queryFromAlias);
  }
  if (n && m && n > c.remaining() / (5u * m))
    return p.fail(kMsgBadEncoding, "row count exceeds the text"), p.result;
  if (uint64_t{n} * sizeof(ZQMultiSchemaFieldValueList) +
          uint64_t{n} * m * sizeof(ZQMultiSchemaFieldValueStruct) >
      maxResult)
    return p.fail(kMsgBadEncoding, kTooLarge), p.result;
  ZQMultiSchemaFieldValueListList result{0, nullptr};
  if (n) {
    result.items = static_cast<ZQMultiSchemaFieldValueList*>(
        zq::allocZeroed(n, sizeof(ZQMultiSchemaFieldValueList)));
    if (!result.items) return p.noMemory(), p.result;
  }
  bool ok = true;
  for (uint32_t r = 0; r < n && ok; ++r) {
    ZQMultiSchemaFieldValueList& row = result.items[r];
    result.count = r + 1;
    if (m) {
      row.items = static_cast<ZQMultiSchemaFieldValueStruct*>(
          zq::allocZeroed(m, sizeof(ZQMultiSchemaFieldValueStruct)));
      if (!row.items) {
        ok = p.noMemory();
        break;
      }
    }
    for (uint32_t k = 0; k < m && ok; ++k) {
      row.count = k + 1;
      row.items[k].fieldId = columns[k];
      ok = p.value(c, row.items[k].value);
    }
  }
  if (!ok) {
    zq::model::release(result);
    return p.result;
  }
  *out = result;
  if (matchesOut) *matchesOut = matches;
  return {};
}

}  // namespace zq::calls
