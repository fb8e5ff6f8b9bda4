// The entry list text: the form in which queries with field values return
// their result (after the client has joined and inflated the slices).
//
//   N\n  matches\n  M\n  M lines of field ids\n
//   per entry: the entry id line (ids joined by "|"), then per column
//   (except field id 1, which repeats the id line as a character value)
//   "type\length\" + length bytes + one separator byte.
//
// The multi-form variant has "fieldId\alias" column lines and no id lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_defs.h"

namespace zq::calls {

// Character sets of the text and of the caller; texts are converted when
// they differ (0 on either side: no conversion).
struct TextCharsets {
  uint32_t server = 0;
  uint32_t client = 0;
};

// Outcome of a parse: 0, or the message number with a short explanation
// (154 memory, 9009 malformed text or an undecodable value).
struct ParseResult {
  int32_t message = 0;
  const char* detail = nullptr;
  bool ok() const { return message == 0; }
};

// Parses text into out (released and emptied first) and *matches (may be
// null). On failure out is empty and nothing is leaked. A result that
// would take more than maxResult bytes in memory is refused (9009) before
// it is built: a few bytes of text must not become gigabytes of values.
ParseResult parseEntryListText(const char* text, size_t length, const TextCharsets& charsets,
                               ZQEntryListFieldValueList* out, uint32_t* matches,
                               size_t maxResult = kDefaultMaxResultSize);
ParseResult parseMultiSchemaText(const char* text, size_t length, const TextCharsets& charsets,
                                 ZQMultiSchemaFieldValueListList* out, uint32_t* matches,
                                 size_t maxResult = kDefaultMaxResultSize);

// The same from the compressed text, parsed while it inflates: the text is
// never whole in memory, only a window of it (window bytes, 0: the
// default; it grows for a longer value). A stream that is broken or
// inflates beyond maxResult fails with 160 (154 without memory).
ParseResult inflateEntryListText(const void* packed, size_t size, const TextCharsets& charsets,
                                 ZQEntryListFieldValueList* out, uint32_t* matches,
                                 size_t maxResult = kDefaultMaxResultSize, size_t window = 0);
ParseResult inflateMultiSchemaText(const void* packed, size_t size, const TextCharsets& charsets,
                                   ZQMultiSchemaFieldValueListList* out, uint32_t* matches,
                                   size_t maxResult = kDefaultMaxResultSize, size_t window = 0);

}  // namespace zq::calls
