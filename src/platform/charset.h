// Character-set identifiers and conversion (iconv behind our own table).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zq::platform {

inline constexpr uint32_t kCharsetUtf8 = 65;
inline constexpr uint32_t kCharsetUnknown = 0xffffffffu;

// Identifier for a character-set name (case-insensitive, common aliases
// accepted), or kCharsetUnknown.
uint32_t charsetId(const char* name);
// Canonical name of an identifier, or "" for an unknown one.
const char* charsetName(uint32_t id);
// Character set of a POSIX locale name ("de_DE.UTF-8", "ja_JP.SJIS", "C").
uint32_t charsetOfLocale(const char* locale);

enum class ConvertResult { ok, invalidInput, unknownCharset, noMemory };

// Converts len bytes of text from one identifier to another into out.
ConvertResult convert(uint32_t from, uint32_t to, const char* text, size_t len, std::string& out);
// True when text is a valid byte sequence in the given character set.
bool isValid(uint32_t id, const char* text, size_t len);

}  // namespace zq::platform
