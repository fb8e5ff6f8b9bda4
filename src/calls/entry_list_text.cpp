#include "calls/entry_list_text.h"

#include <cstddef>
#include <cstdint>
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
// Inflated text is parsed through a window of this size (grown only for a
// value longer than the window).
constexpr size_t kWindow = 128u << 10;

// A cursor over the bytes at hand that never reads past their end. A read
// that failed only because the bytes ended is marked short: with more text
// it may succeed.
class Cursor {
 public:
  Cursor(const char* text, size_t length) : p_(text), end_(text + length) {}

  size_t remaining() const { return static_cast<size_t>(end_ - p_); }
  const char* position() const { return p_; }
  bool ranShort() const { return short_; }

  // A decimal number (optionally negative) ended by `stop`.
  bool number(int64_t& out, char stop) {
    const char* p = p_;
    bool negative = false;
    if (p < end_ && *p == '-') {
      negative = true;
      ++p;
    }
    const char* start = p;
    uint64_t n = 0;
    while (p < end_ && static_cast<unsigned char>(*p - '0') <= 9) {
      n = n * 10 + static_cast<uint64_t>(*p - '0');
      if (n > 0xFFFFFFFFull) return false;
      ++p;
    }
    if (p == end_) return ranOut();
    if (p == start || *p != stop) return false;
    p_ = p + 1;
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
    if (!nl) return ranOut();
    start = p_;
    length = static_cast<size_t>(static_cast<const char*>(nl) - p_);
    p_ = static_cast<const char*>(nl) + 1;
    return true;
  }
  bool take(size_t n, const char*& start) {
    if (n > remaining()) return ranOut();
    start = p_;
    p_ += n;
    return true;
  }

 private:
  bool ranOut() {
    short_ = true;
    return false;
  }
  const char* p_;
  const char* end_;
  bool short_ = false;
};

// The text as it comes: all of it at once, or a window over an inflating
// stream that is refilled when a piece of the text does not fit in it.
class Source {
 public:
  Source(const char* text, size_t length)
      : pos_(text), end_(text + length), final_(true), limit_(length) {}
  Source(platform::InflateStream& stream, size_t limit, size_t window)
      : stream_(&stream), limit_(limit), window_size_(window ? window : kWindow) {}
  ~Source() { zq::freeBlock(window_); }

  const char* pos() const { return pos_; }
  const char* end() const { return end_; }
  void advance(const char* to) { pos_ = to; }
  bool final() const { return final_; }
  platform::ZResult failure() const { return failure_; }
  // At most how many bytes of text are still to come from pos on.
  size_t remainingBound() const {
    if (final_) return static_cast<size_t>(end_ - pos_);
    const size_t used = base_ + static_cast<size_t>(pos_ - window_);
    return used < limit_ ? limit_ - used : 0;
  }

  // Keeps the unread bytes and appends more; false at the end of the text
  // or on a failure of the stream (failure() then tells which).
  bool more() {
    if (final_) return false;
    const size_t keep = static_cast<size_t>(end_ - pos_);
    if (keep == capacity_) {
      // One piece larger than the window.
      const size_t grown = capacity_ ? capacity_ * 2 : window_size_;
      auto* bigger = static_cast<char*>(zq::alloc(grown));
      if (!bigger) return fail(platform::ZResult::noMemory);
      if (keep) memcpy(bigger, pos_, keep);
      base_ += static_cast<size_t>(pos_ - window_);
      zq::freeBlock(window_);
      window_ = bigger;
      capacity_ = grown;
    } else if (keep) {
      base_ += static_cast<size_t>(pos_ - window_);
      memmove(window_, pos_, keep);
    } else {
      base_ += static_cast<size_t>(pos_ - window_);
    }
    pos_ = window_;
    end_ = window_ + keep;
    size_t produced = 0;
    const platform::ZResult r = stream_->read(reinterpret_cast<unsigned char*>(window_) + keep,
                                              capacity_ - keep, produced);
    if (r != platform::ZResult::ok) return fail(r);
    end_ += produced;
    final_ = stream_->finished();
    return produced > 0;
  }

  // Reads what is left of the stream, so that a broken end is noticed.
  bool drain() {
    while (!final_) {
      pos_ = end_;
      if (!more() && failure_ != platform::ZResult::ok) return false;
    }
    return true;
  }

 private:
  bool fail(platform::ZResult r) {
    failure_ = r;
    final_ = true;
    return false;
  }

  platform::InflateStream* stream_ = nullptr;
  char* window_ = nullptr;
  size_t capacity_ = 0;
  size_t base_ = 0;  // offset in the text of window_
  const char* pos_ = nullptr;
  const char* end_ = nullptr;
  bool final_ = false;
  size_t limit_;
  size_t window_size_ = 0;
  platform::ZResult failure_ = platform::ZResult::ok;
};

// Where the values of one result live: one heap block each, so that a
// caller may keep any value after releasing the rest.
struct ValueMemory {
  void* takeBytes(size_t n) { return zq::alloc(n); }
  void* take(size_t n) { return zq::alloc(n); }
  void* takeZeroed(size_t count, size_t size) { return zq::allocZeroed(count, size); }
};

// An item array grown as items are parsed, so that an announced count
// costs memory only as the text bears it out.
template <class T>
bool growItems(T*& items, uint32_t& capacity, uint32_t used, uint32_t total) {
  if (used < capacity) return true;
  uint32_t want = capacity ? (capacity > total / 2 ? total : capacity * 2) : 1024;
  if (want > total) want = total;
  auto* grown = static_cast<T*>(zq::reallocate(items, size_t{want} * sizeof(T)));
  if (!grown) return false;
  memset(static_cast<void*>(grown + capacity), 0, size_t{want - capacity} * sizeof(T));
  items = grown;
  capacity = want;
  return true;
}

struct Parser {
  TextCharsets charsets;
  bool converting = false;
  ParseResult result;
  ValueMemory memory;
  std::string converted;  // reused for every converted text

  bool fail(int32_t message, const char* detail) {
    if (result.ok()) result = {message, detail};
    return false;
  }
  bool noMemory() { return fail(kMsgNoMemory, "out of memory"); }
  bool sourceFailed(const Source& source) {
    return fail(source.failure() == platform::ZResult::noMemory ? kMsgNoMemory
                                                                : kMsgDecompressFailed,
                nullptr);
  }

  // Runs one piece of the text, again with more text each time it ran
  // short; the piece does its work only once it has all its bytes.
  template <class F>
  bool step(Source& source, F&& piece) {
    for (;;) {
      Cursor c(source.pos(), static_cast<size_t>(source.end() - source.pos()));
      if (piece(c)) {
        source.advance(c.position());
        return true;
      }
      if (!c.ranShort() || source.final()) return false;
      result = {};
      if (!source.more() && source.failure() != platform::ZResult::ok)
        return sourceFailed(source);
    }
  }

  // Text converted from the server's character set when needed: s and n
  // are redirected to the converted bytes. Unconvertible text is kept.
  bool convert(const char*& s, size_t& n) {
    if (!converting) return true;
    auto rc = platform::convert(charsets.server, charsets.client, s, n, converted);
    if (rc == platform::ConvertResult::noMemory) return noMemory();
    if (rc == platform::ConvertResult::ok) {
      s = converted.data();
      n = converted.size();
    }
    return true;
  }

  char* copy(const char* s, size_t n) {
    char* out = static_cast<char*>(memory.takeBytes(n + 1));
    if (!out) return noMemory(), nullptr;
    memcpy(out, s, n);
    out[n] = '\0';
    return out;
  }

  // A copy of text, converted when needed.
  char* text(const char* s, size_t n) {
    if (!convert(s, n)) return nullptr;
    return copy(s, n);
  }

  // One 32-bit word: signed, or for the unsigned types (keyword, enumerated,
  // bitmask) up to 4294967295. Anything beyond is refused, never wrapped.
  static bool integer(const char* s, size_t n, bool isUnsigned, int32_t& out) {
    if (n == 0) {
      out = 0;
      return true;
    }
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
      const unsigned digit = static_cast<unsigned char>(s[i] - '0');
      if (digit > 9) return false;
      v = v * 10 + digit;
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
    auto* list = static_cast<ZQByteList*>(memory.takeZeroed(1, sizeof(ZQByteList)));
    if (!list) return noMemory();
    list->type = type;
    if (count) {
      list->bytes = static_cast<unsigned char*>(memory.takeBytes(count));
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
    auto* a = static_cast<ZQAttachStruct*>(memory.takeZeroed(1, sizeof(ZQAttachStruct)));
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
        char* copied = text(s, length);
        if (!copied) return false;
        v.dataType = type;
        v.u.charValue = copied;
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
    for (const char* p = line; (p = static_cast<const char*>(memchr(p, '|', n - (p - line))));
         ++p)
      ++pieces;
    ids.items = static_cast<ZQEntryIdType*>(memory.takeZeroed(pieces, sizeof(ZQEntryIdType)));
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
  bool head(Source& source, uint32_t& entries, uint32_t& matches, uint32_t& columns) {
    const bool read = step(source, [&](Cursor& c) {
      return c.count(entries, '\n') && c.count(matches, '\n') && c.count(columns, '\n');
    });
    if (!read) return fail(kMsgBadEncoding, "entry list counts");
    // A column line takes at least 2 bytes, an entry at least its line feed.
    const size_t bound = source.remainingBound();
    if (columns > bound / 2 || entries > bound)
      return fail(kMsgBadEncoding, "entry list counts exceed the text");
    return true;
  }

  // Before the first byte: an empty text is an empty result.
  bool empty(Source& source) {
    while (source.pos() == source.end()) {
      if (source.final()) return true;
      if (!source.more() && source.failure() != platform::ZResult::ok) {
        sourceFailed(source);
        return true;
      }
    }
    return false;
  }
};

template <class List>
ParseResult finishList(Parser& p, Source& source, List& result, List* out) {
  if (p.result.ok() && !source.drain()) p.sourceFailed(source);
  if (!p.result.ok()) {
    zq::model::release(result);
    return p.result;
  }
  *out = result;
  return {};
}

ParseResult parseEntries(Source& source, const TextCharsets& charsets,
                         ZQEntryListFieldValueList* out, uint32_t* matchesOut, size_t maxResult) {
  Parser p;
  p.charsets = charsets;
  p.converting = charsets.server && charsets.client && charsets.server != charsets.client;
  if (p.empty(source)) return p.result;
  uint32_t n, matches, m;
  if (!p.head(source, n, matches, m)) return p.result;
  std::string columnsStore(m * sizeof(ZQInternalId), '\0');
  auto* columns = reinterpret_cast<ZQInternalId*>(columnsStore.data());
  uint32_t withText = 0;
  for (uint32_t i = 0; i < m; ++i) {
    uint32_t id;
    if (!p.step(source, [&](Cursor& c) { return c.count(id, '\n'); }))
      return p.fail(kMsgBadEncoding, "column line"), p.result;
    columns[i] = id;
    withText += id != 1;
  }
  // Every value with text takes at least "0\0\" and its separator.
  if (n && withText && n > source.remainingBound() / (5u * withText))
    return p.fail(kMsgBadEncoding, "entry count exceeds the text"), p.result;
  // Columns of field 1 take no text of their own but cost a value and a
  // copy of the id line in every entry: what the result takes in memory is
  // counted against the bound, before and while it is built.
  uint64_t used = uint64_t{n} * sizeof(ZQEntryListFieldValueStruct) +
                  uint64_t{n} * m * sizeof(ZQFieldValueStruct);
  const uint32_t idColumns = m - withText;
  if (used > maxResult) return p.fail(kMsgBadEncoding, kTooLarge), p.result;

  ZQEntryListFieldValueList result{0, nullptr};
  uint32_t capacity = 0;
  std::string idScratch;
  bool ok = true;
  for (uint32_t e = 0; e < n && ok; ++e) {
    if (!growItems(result.items, capacity, e, n)) {
      ok = p.noMemory();
      break;
    }
    ZQEntryListFieldValueStruct& entry = result.items[e];
    result.count = e + 1;
    const char* idText = nullptr;
    size_t idLength = 0;
    if (!p.step(source, [&](Cursor& c) { return c.line(idText, idLength); })) {
      ok = p.fail(kMsgBadEncoding, "entry id line");
      break;
    }
    // The id line must outlive the refills of the values that follow it.
    if (p.converting) {
      if (!(ok = p.convert(idText, idLength))) break;
    }
    idScratch.assign(idText, idLength);
    idText = idScratch.data();
    used += uint64_t{idColumns} * (idLength + 1);
    if (used > maxResult) {
      ok = p.fail(kMsgBadEncoding, kTooLarge);
      break;
    }
    ok = p.entryIds(idText, idLength, entry.entryId);
    auto* values =
        ok ? static_cast<ZQFieldValueList*>(p.memory.takeZeroed(1, sizeof(ZQFieldValueList)))
           : nullptr;
    if (ok && !values) ok = p.noMemory();
    if (ok && m) {
      values->items =
          static_cast<ZQFieldValueStruct*>(p.memory.takeZeroed(m, sizeof(ZQFieldValueStruct)));
      if (!values->items) {
        zq::freeBlock(values);
        values = nullptr;
        ok = p.noMemory();
      }
    }
    if (!ok) break;
    entry.fieldValues = values;
    for (uint32_t k = 0; k < m && ok; ++k) {
      ZQFieldValueStruct& fv = values->items[k];
      values->count = k + 1;
      fv.fieldId = columns[k];
      if (columns[k] == 1) {
        char* copied = p.copy(idText, idLength);
        if (!copied) {
          ok = false;
          break;
        }
        fv.value.dataType = ZQ_DATA_TYPE_CHAR;
        fv.value.u.charValue = copied;
      } else {
        ok = p.step(source, [&](Cursor& c) { return p.value(c, fv.value); });
      }
    }
  }
  if (!ok) p.fail(kMsgBadEncoding, "entry list");
  const ParseResult r = finishList(p, source, result, out);
  if (r.ok() && matchesOut) *matchesOut = matches;
  return r;
}

ParseResult parseRows(Source& source, const TextCharsets& charsets,
                      ZQMultiSchemaFieldValueListList* out, uint32_t* matchesOut,
                      size_t maxResult) {
  Parser p;
  p.charsets = charsets;
  p.converting = charsets.server && charsets.client && charsets.server != charsets.client;
  if (p.empty(source)) return p.result;
  uint32_t n, matches, m;
  if (!p.head(source, n, matches, m)) return p.result;
  std::string columnsStore(m * sizeof(ZQMultiSchemaFieldIdStruct), '\0');
  auto* columns = reinterpret_cast<ZQMultiSchemaFieldIdStruct*>(columnsStore.data());
  for (uint32_t i = 0; i < m; ++i) {
    ZQMultiSchemaFieldIdStruct& column = columns[i];
    const bool read = p.step(source, [&](Cursor& c) {
      const char* alias;
      size_t aliasLength;
      if (!c.count(column.fieldId, '\\') || !c.line(alias, aliasLength)) return false;
      const size_t width = sizeof column.queryFromAlias;
      const size_t kept = strnlen(alias, aliasLength < width - 1 ? aliasLength : width - 1);
      memcpy(column.queryFromAlias, alias, kept);
      column.queryFromAlias[kept] = '\0';
      return true;
    });
    if (!read) return p.fail(kMsgBadEncoding, "column line"), p.result;
  }
  if (n && m && n > source.remainingBound() / (5u * m))
    return p.fail(kMsgBadEncoding, "row count exceeds the text"), p.result;
  if (uint64_t{n} * sizeof(ZQMultiSchemaFieldValueList) +
          uint64_t{n} * m * sizeof(ZQMultiSchemaFieldValueStruct) >
      maxResult)
    return p.fail(kMsgBadEncoding, kTooLarge), p.result;
  ZQMultiSchemaFieldValueListList result{0, nullptr};
  uint32_t capacity = 0;
  bool ok = true;
  for (uint32_t r = 0; r < n && ok; ++r) {
    if (!growItems(result.items, capacity, r, n)) {
      ok = p.noMemory();
      break;
    }
    ZQMultiSchemaFieldValueList& row = result.items[r];
    result.count = r + 1;
    if (m) {
      row.items = static_cast<ZQMultiSchemaFieldValueStruct*>(
          p.memory.takeZeroed(m, sizeof(ZQMultiSchemaFieldValueStruct)));
      if (!row.items) {
        ok = p.noMemory();
        break;
      }
    }
    for (uint32_t k = 0; k < m && ok; ++k) {
      row.count = k + 1;
      row.items[k].fieldId = columns[k];
      ZQValueStruct& v = row.items[k].value;
      ok = p.step(source, [&](Cursor& c) { return p.value(c, v); });
    }
  }
  if (!ok) p.fail(kMsgBadEncoding, "entry list");
  const ParseResult r = finishList(p, source, result, out);
  if (r.ok() && matchesOut) *matchesOut = matches;
  return r;
}

}  // namespace

namespace {

// Empties out and *matches, then parses what source gives with parse.
template <class Out, class Parse>
ParseResult parseInto(Out* out, uint32_t* matchesOut, Parse&& parse) {
  if (!out) return {233, "no output"};
  zq::model::release(*out);
  *out = {0, nullptr};
  if (matchesOut) *matchesOut = 0;
  return parse();
}

}  // namespace

ParseResult parseEntryListText(const char* text, size_t length, const TextCharsets& charsets,
                               ZQEntryListFieldValueList* out, uint32_t* matchesOut,
                               size_t maxResult) {
  return parseInto(out, matchesOut, [&]() -> ParseResult {
    if (!text || length == 0) return {};
    Source source(text, length);
    return parseEntries(source, charsets, out, matchesOut, maxResult);
  });
}

ParseResult parseMultiSchemaText(const char* text, size_t length, const TextCharsets& charsets,
                                 ZQMultiSchemaFieldValueListList* out, uint32_t* matchesOut,
                                 size_t maxResult) {
  return parseInto(out, matchesOut, [&]() -> ParseResult {
    if (!text || length == 0) return {};
    Source source(text, length);
    return parseRows(source, charsets, out, matchesOut, maxResult);
  });
}

ParseResult inflateEntryListText(const void* packed, size_t size, const TextCharsets& charsets,
                                 ZQEntryListFieldValueList* out, uint32_t* matchesOut,
                                 size_t maxResult, size_t window) {
  return parseInto(out, matchesOut, [&] {
    platform::InflateStream stream(packed, size, maxResult);
    Source source(stream, maxResult, window);
    return parseEntries(source, charsets, out, matchesOut, maxResult);
  });
}

ParseResult inflateMultiSchemaText(const void* packed, size_t size, const TextCharsets& charsets,
                                   ZQMultiSchemaFieldValueListList* out, uint32_t* matchesOut,
                                   size_t maxResult, size_t window) {
  return parseInto(out, matchesOut, [&] {
    platform::InflateStream stream(packed, size, maxResult);
    Source source(stream, maxResult, window);
    return parseRows(source, charsets, out, matchesOut, maxResult);
  });
}

}  // namespace zq::calls
