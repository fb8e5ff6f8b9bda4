#include "calls/export_text.h"

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace zq::calls {
namespace {

constexpr size_t kXmlLookahead = 99;
constexpr size_t kImportLineMax = 324;
constexpr size_t kMaxNameLength = 254;

bool validItemType(uint32_t type) {
  type &= ~ZQ_STRUCT_ITEM_MODIFIER;
  return (type >= 1 && type <= 18) || type == 30 || type == 103 || type == 0x40000001 ||
         type == 0x40000005 || type == 0x40000006 || (type >= 0x40000008 && type <= 0x4000000A) ||
         (type >= 0x4000000C && type <= 0x40000012) || type == 0x4000001E;
}

bool exportOnly(uint32_t type) {
  type &= ~ZQ_STRUCT_ITEM_MODIFIER;
  return type == 2 || type == 4 || type == 103;
}

int refuseItem(ZQStatusList* status, int32_t message, const char* appended) {
  addError(status, message, appended);
  return addError(status, kMsgBadItem);
}

uint32_t bigEndian(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Where the declaration's encoding value sits: [begin, end) inside the
// declaration, or npos when the text has no declaration or no encoding.
bool findEncoding(const std::string& text, size_t& declEnd, size_t& begin, size_t& end) {
  const size_t decl = text.find("<?xml");
  if (decl == std::string::npos || decl > kXmlLookahead) return false;
  declEnd = text.find("?>", decl);
  if (declEnd == std::string::npos) return false;
  begin = end = std::string::npos;
  const size_t at = text.find("encoding", decl);
  if (at == std::string::npos || at > declEnd) return true;
  size_t q = text.find_first_of("\"'", at);
  if (q == std::string::npos || q > declEnd) return true;
  const size_t close = text.find(text[q], q + 1);
  if (close == std::string::npos || close > declEnd) return true;
  begin = q + 1;
  end = close;
  return true;
}

}  // namespace

int checkItemList(const ZQStructItemList* items, bool exporting, ZQStatusList* status) {
  if (!items || items->count == 0)
    return exporting ? addError(status, kMsgExportListEmpty) : ZQ_RETURN_OK;
  if (!items->items) return addError(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < items->count; ++i) {
    const ZQStructItemStruct& item = items->items[i];
    if (!validItemType(item.type) || (!exporting && exportOnly(item.type)))
      return refuseItem(status, kMsgBadItemType, std::to_string(item.type).c_str());
    const size_t length = strnlen(item.name, sizeof item.name);
    if (length == 0) return refuseItem(status, kMsgNameRequired, nullptr);
    if (length > kMaxNameLength) return refuseItem(status, kMsgTooLong, nullptr);
  }
  return ZQ_RETURN_OK;
}

bool isXmlText(const char* text, size_t size) {
  size_t i = 0;
  while (i < size && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  if (i >= size || text[i] != '<') return false;
  const std::string head(text, size < kXmlLookahead ? size : kXmlLookahead);
  return head.find("<?xml version") != std::string::npos;
}

std::string xmlDeclaredEncoding(const std::string& text) {
  size_t declEnd, begin, end;
  if (!findEncoding(text, declEnd, begin, end) || begin == std::string::npos) return "";
  return text.substr(begin, end - begin);
}

std::string rewriteXmlEncoding(const std::string& text, const char* charset) {
  size_t declEnd, begin, end;
  if (!findEncoding(text, declEnd, begin, end)) return text;
  if (begin != std::string::npos) return text.substr(0, begin) + charset + text.substr(end);
  // A declaration without an encoding gets one before its end.
  size_t at = declEnd;
  while (at > 0 && text[at - 1] == ' ') --at;
  return text.substr(0, at) + " encoding=\"" + charset + "\"" + text.substr(at);
}

uint32_t importCharset(const std::string& text, uint32_t clientCharset) {
  if (isXmlText(text.data(), text.size())) {
    const std::string declared = xmlDeclaredEncoding(text);
    return declared.empty() ? clientCharset : platform::charsetId(declared.c_str());
  }
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (line.size() > kImportLineMax) line.resize(kImportLineMax);
    pos = end + 1;
    if (line.empty() || line[0] == '#') continue;
    static constexpr char kMark[] = "char-set:";
    if (line.compare(0, sizeof kMark - 1, kMark) != 0) return clientCharset;
    const size_t first = line.find_first_not_of(" \t", sizeof kMark - 1);
    if (first == std::string::npos) return platform::kCharsetUnknown;
    const size_t last = line.find_last_not_of(" \t");
    return platform::charsetId(line.substr(first, last - first + 1).c_str());
  }
  return clientCharset;
}

bool ExportGatherer::take(const unsigned char* bytes, size_t size, int32_t& message) {
  if (!framed_) {
    gathered_.append(reinterpret_cast<const char*>(bytes), size);
    return true;
  }
  if (!started_) {
    if (size < 8) {
      message = kMsgBadEncoding;
      return false;
    }
    compressed_ = bigEndian(bytes) != 0;
    total_ = bigEndian(bytes + 4);
    bytes += 8;
    size -= 8;
    started_ = true;
  }
  if (size > total_ - gathered_.size()) {
    message = kMsgBadEncoding;  // more than the export announced
    return false;
  }
  gathered_.append(reinterpret_cast<const char*>(bytes), size);
  return true;
}

bool ExportGatherer::finish(std::string& text, int32_t& message) {
  if (framed_ && (!started_ || gathered_.size() != total_)) {
    message = kMsgBadEncoding;  // shorter than announced
    return false;
  }
  if (!compressed_) {
    // A plain text ends at its first terminator, if it carries one.
    const size_t nul = gathered_.find('\0');
    if (nul != std::string::npos) gathered_.resize(nul);
    text.swap(gathered_);
    return true;
  }
  platform::ZBuffer plain;
  const platform::ZResult z =
      platform::decompressBytes(gathered_.data(), gathered_.size(), 0, plain);
  if (z != platform::ZResult::ok) {
    zq::freeBlock(plain.data);
    message = z == platform::ZResult::noMemory ? kMsgNoMemory : kMsgDecompressFailed;
    return false;
  }
  text.assign(reinterpret_cast<const char*>(plain.data), plain.size);
  zq::freeBlock(plain.data);
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return true;
}

size_t uploadSlice(uint32_t responseSize) {
  return responseSize > kMinUploadSlice + 500 ? responseSize - 500 : kMinUploadSlice;
}

}  // namespace zq::calls
