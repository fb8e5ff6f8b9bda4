#include "platform/charset.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <unordered_map>
#include <cctype>
#include <utility>

namespace zq::platform {
namespace {

struct CharsetEntry {
  uint32_t id;
  const char* name;       // canonical, also the iconv name
  const char* aliases[4];  // further names callers may use
};

// Identifiers below 35 keep the meaning the server's remapping table gives
// them (for example 8 -> 7 and 14 -> 23 name code-page variants of the same
// script); 65 is UTF-8.
const CharsetEntry kCharsets[] = {
    {0, "ISO-8859-1", {"LATIN1", "ISO8859-1", "ISO_8859-1", nullptr}},
    {1, "US-ASCII", {"ASCII", "ANSI_X3.4-1968", nullptr, nullptr}},
    {2, "WINDOWS-1252", {"CP1252", nullptr, nullptr, nullptr}},
    {3, "ISO-8859-2", {"LATIN2", "ISO8859-2", nullptr, nullptr}},
    {4, "WINDOWS-1250", {"CP1250", nullptr, nullptr, nullptr}},
    {5, "ISO-8859-5", {"ISO8859-5", nullptr, nullptr, nullptr}},
    {6, "WINDOWS-1251", {"CP1251", nullptr, nullptr, nullptr}},
    {7, "SJIS", {"SHIFT_JIS", "SHIFT-JIS", nullptr, nullptr}},
    {8, "CP932", {"WINDOWS-31J", "MS932", nullptr, nullptr}},
    {9, "EUC-JP", {"EUCJP", nullptr, nullptr, nullptr}},
    {10, "EUC-JP-MS", {"EUCJP-MS", nullptr, nullptr, nullptr}},
    {11, "GBK", {"CP936", nullptr, nullptr, nullptr}},
    {12, "GB2312", {"EUC-CN", "EUCCN", nullptr, nullptr}},
    {13, "BIG5", {"BIG-5", "CP950", nullptr, nullptr}},
    {14, "EUC-KR", {"EUCKR", nullptr, nullptr, nullptr}},
    {15, "KOI8-R", {nullptr, nullptr, nullptr, nullptr}},
    {16, "ISO-8859-7", {"ISO8859-7", nullptr, nullptr, nullptr}},
    {17, "ISO-8859-9", {"ISO8859-9", "LATIN5", nullptr, nullptr}},
    {18, "ISO-8859-15", {"ISO8859-15", "LATIN-9", nullptr, nullptr}},
    {19, "ISO-8859-8", {"ISO8859-8", nullptr, nullptr, nullptr}},
    {20, "ISO-8859-4", {"ISO8859-4", nullptr, nullptr, nullptr}},
    {21, "ISO-8859-6", {"ISO8859-6", nullptr, nullptr, nullptr}},
    {22, "ISO-8859-13", {"ISO8859-13", nullptr, nullptr, nullptr}},
    {23, "CP949", {"UHC", nullptr, nullptr, nullptr}},
    {24, "WINDOWS-1254", {"CP1254", nullptr, nullptr, nullptr}},
    {25, "WINDOWS-1255", {"CP1255", nullptr, nullptr, nullptr}},
    {26, "WINDOWS-1256", {"CP1256", nullptr, nullptr, nullptr}},
    {27, "WINDOWS-1257", {"CP1257", nullptr, nullptr, nullptr}},
    {28, "TIS-620", {"TIS620", nullptr, nullptr, nullptr}},
    {29, "WINDOWS-1253", {"CP1253", nullptr, nullptr, nullptr}},
    {31, "GB18030", {nullptr, nullptr, nullptr, nullptr}},
    {40, "CP54936", {nullptr, nullptr, nullptr, nullptr}},
    {kCharsetUtf8, "UTF-8", {"UTF8", nullptr, nullptr, nullptr}},
};

const CharsetEntry* findById(uint32_t id) {
  for (const auto& e : kCharsets)
    if (e.id == id) return &e;
  return nullptr;
}

// iconv descriptors are not thread-safe; each thread keeps its own and
// closes them when it ends.
struct DescriptorCache : std::map<std::pair<uint32_t, uint32_t>, iconv_t> {
  ~DescriptorCache() {
    for (auto& [key, cd] : *this)
      if (cd != (iconv_t)-1) iconv_close(cd);
  }
};

iconv_t descriptor(uint32_t from, uint32_t to) {
  thread_local DescriptorCache cache;
  auto key = std::make_pair(from, to);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  const CharsetEntry* f = findById(from);
  const CharsetEntry* t = findById(to);
  iconv_t cd = (iconv_t)-1;
  if (f && t) {
    // GB18030-based ids share one converter.
    const char* tn = t->id == 40 ? "GB18030" : t->name;
    const char* fn = f->id == 40 ? "GB18030" : f->name;
    cd = iconv_open(tn, fn);
  }
  cache.emplace(key, cd);
  return cd;
}

}  // namespace

uint32_t charsetId(const char* name) {
  if (!name || !*name) return kCharsetUnknown;
  // Every bound call looks names up: an index of upper-case names, built once.
  static const std::unordered_map<std::string, uint32_t> index = [] {
    std::unordered_map<std::string, uint32_t> m;
    auto upper = [](std::string s) {
      for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
      return s;
    };
    for (const auto& e : kCharsets) {
      m.emplace(upper(e.name), e.id);
      for (const char* a : e.aliases)
        if (a) m.emplace(upper(a), e.id);
    }
    return m;
  }();
  char key[32];
  size_t n = 0;
  for (; name[n] && n < sizeof key - 1; ++n)
    key[n] = static_cast<char>(toupper(static_cast<unsigned char>(name[n])));
  if (name[n]) return kCharsetUnknown;  // longer than any known name
  key[n] = '\0';
  auto it = index.find(key);
  return it == index.end() ? kCharsetUnknown : it->second;
}

const char* charsetName(uint32_t id) {
  const CharsetEntry* e = findById(id);
  return e ? e->name : "";
}

uint32_t charsetOfLocale(const char* locale) {
  if (!locale || !*locale) return charsetId("UTF-8");
  const char* dot = strchr(locale, '.');
  if (!dot) return 0;
  std::string codeset(dot + 1);
  auto at = codeset.find('@');
  if (at != std::string::npos) codeset.resize(at);
  uint32_t id = charsetId(codeset.c_str());
  return id == kCharsetUnknown ? 0 : id;
}

ConvertResult convert(uint32_t from, uint32_t to, const char* text, size_t len, std::string& out) {
  out.clear();
  if (from == to) {
    out.assign(text, len);
    return ConvertResult::ok;
  }
  iconv_t cd = descriptor(from, to);
  if (cd == (iconv_t)-1) return ConvertResult::unknownCharset;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  try {
    out.resize(len * 4 + 16);
  } catch (...) {
    return ConvertResult::noMemory;
  }
  char* in = const_cast<char*>(text);
  size_t inLeft = len;
  char* dst = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == (size_t)-1) {
      if (errno != E2BIG) {
        out.clear();
        return ConvertResult::invalidInput;
      }
      size_t used = out.size() - outLeft;
      try {
        out.resize(out.size() * 2);
      } catch (...) {
        return ConvertResult::noMemory;
      }
      dst = out.data() + used;
      outLeft = out.size() - used;
    }
  }
  // Flush any shift state.
  if (iconv(cd, nullptr, nullptr, &dst, &outLeft) == (size_t)-1) {
    out.clear();
    return ConvertResult::invalidInput;
  }
  out.resize(out.size() - outLeft);
  return ConvertResult::ok;
}

bool isValid(uint32_t id, const char* text, size_t len) {
  if (id == 1) {
    for (size_t i = 0; i < len; ++i)
      if (static_cast<unsigned char>(text[i]) & 0x80) return false;
    return true;
  }
  if (id == kCharsetUtf8) {
    // Strict UTF-8 check, no overlongs or surrogates.
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < len) {
      unsigned c = s[i];
      size_t n;
      uint32_t cp;
      if (c < 0x80) {
        ++i;
        continue;
      } else if ((c & 0xe0) == 0xc0) {
        n = 1;
        cp = c & 0x1f;
      } else if ((c & 0xf0) == 0xe0) {
        n = 2;
        cp = c & 0x0f;
      } else if ((c & 0xf8) == 0xf0) {
        n = 3;
        cp = c & 0x07;
      } else {
        return false;
      }
      for (size_t k = 1; k <= n; ++k) {
        if (i + k >= len || (s[i + k] & 0xc0) != 0x80) return false;
        cp = (cp << 6) | (s[i + k] & 0x3f);
      }
      if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
          cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
        return false;
      i += n + 1;
    }
    return true;
  }
  std::string scratch;
  return convert(id, kCharsetUtf8, text, len, scratch) == ConvertResult::ok;
}

}  // namespace zq::platform
