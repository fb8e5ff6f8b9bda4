// The text side of export and import: the item list check, the gathering
// of an export's slices, XML recognition and its encoding declaration, the
// character set an import text names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/frame.h"
#include "zqapi/zq_export.h"

namespace zq::calls {

// Export: a null or empty list gives 132. Import and removal accept one
// (everything in the text) and refuse the export-only types 2, 4 and 103.
int checkItemList(const ZQStructItemList* items, bool exporting, ZQStatusList* status);

// After optional white space the text begins with "<" and its first 99
// characters hold "<?xml version".
bool isXmlText(const char* text, size_t size);
// The encoding an XML declaration names, or "".
std::string xmlDeclaredEncoding(const std::string& text);
// The text with its XML declaration naming charset (added to a declaration
// without one); a text without a declaration is returned unchanged.
std::string rewriteXmlEncoding(const std::string& text, const char* charset);
// The character set of an import text: an XML text's declared encoding;
// otherwise the first line that is neither empty nor a comment, when it is
// "char-set: NAME"; otherwise the client's. An unknown name gives
// platform::kCharsetUnknown.
uint32_t importCharset(const std::string& text, uint32_t clientCharset);

// An export gathered slice by slice. With framing (servers of version 6
// and later) the first slice begins with two big-endian words, the
// compression marker and the length of all that follows; without, the
// slices are plain text.
class ExportGatherer {
 public:
  explicit ExportGatherer(bool framed) : framed_(framed) {}
  // False with a message number when a slice breaks the framing.
  bool take(const unsigned char* bytes, size_t size, int32_t& message);
  // The whole export, inflated when it came compressed; false with 160
  // (or 154) when it does not inflate, or a framing message when short.
  bool finish(std::string& text, int32_t& message);

 private:
  bool framed_;
  bool started_ = false;
  bool compressed_ = false;
  uint32_t total_ = 0;
  std::string gathered_;
};

// The largest slice of an upload: the response size less 500 bytes, never
// below kMinUploadSlice.
inline constexpr size_t kMinUploadSlice = 512;
size_t uploadSlice(uint32_t responseSize);

}  // namespace zq::calls
