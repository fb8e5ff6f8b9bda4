#include "calls/attachments.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "security/security.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zq::calls {
namespace {

constexpr ZQInternalId kPasswordField = 102;
constexpr ZQInternalId kProtectedTextField = 123;
constexpr size_t kPasswordLength = 30;
constexpr size_t kDigestLength = 28;
constexpr size_t kProtectedLength = 120;

int noMemory(ZQStatusList* status) {
  return addError(status, kMsgNoMemory);
}

// Replaces an attachment's location by a buffer holding bytes compressed
// (or raw when compression is impossible).
int packBytes(ZQAttachStruct& a, const unsigned char* bytes, size_t size, ZQStatusList* status) {
  platform::ZBuffer packed;
  const platform::ZResult r = platform::compressBytes(bytes, size, packed);
  if (r != platform::ZResult::ok) {
    // Send the bytes as they are; equal sizes tell the reader so.
    packed.data = static_cast<unsigned char*>(zq::alloc(size));
    if (!packed.data) return noMemory(status);
    memcpy(packed.data, bytes, size);
    packed.size = size;
  }
  a.originalSize = static_cast<int32_t>(size);
  a.compressedSize = static_cast<int32_t>(packed.size);
  a.location.locationType = ZQ_LOC_BUFFER;
  a.location.u.buffer.size = static_cast<uint32_t>(packed.size);
  a.location.u.buffer.bytes = packed.data;
  return ZQ_RETURN_OK;
}

void clearLocation(ZQAttachStruct& a) {
  model::release(a.location);
  a.location = ZQLocStruct{};
  a.originalSize = 0;
  a.compressedSize = 0;
}

int packFile(ZQAttachStruct& a, ZQStatusList* status) {
  // The name is released with the location; keep it for the message.
  std::string name = a.location.u.filename ? a.location.u.filename : "";
  FILE* f = name.empty() ? nullptr : fopen(name.c_str(), "rb");
  if (!f) return addError(status, kMsgOpenFailed, name.c_str());
  long length = -1;
  if (fseek(f, 0, SEEK_END) == 0) length = ftell(f);
  if (length < 0 || fseek(f, 0, SEEK_SET) != 0) {
    fclose(f);
    return addError(status, kMsgOpenFailed, name.c_str());
  }
  if (length > INT32_MAX) {
    fclose(f);
    return addError(status, kMsgAttachTooLarge, name.c_str());
  }
  const int32_t wanted = a.originalSize;
  clearLocation(a);
  if (length == 0) {  // an empty file: an attachment without content
    fclose(f);
    return ZQ_RETURN_OK;
  }
  size_t size = static_cast<size_t>(length);
  if (wanted > 0 && static_cast<size_t>(wanted) < size) size = static_cast<size_t>(wanted);
  auto* bytes = static_cast<unsigned char*>(zq::alloc(size));
  if (!bytes) {
    fclose(f);
    return noMemory(status);
  }
  const size_t got = fread(bytes, 1, size, f);
  fclose(f);
  if (got == 0) {
    zq::freeBlock(bytes);
    return addError(status, kMsgEmptyFile, name.c_str());
  }
  const int rc = packBytes(a, bytes, got, status);
  zq::freeBlock(bytes);
  return rc;
}

int packAttachment(ZQAttachStruct& a, ZQStatusList* status) {
  if (a.originalSize < 0) return addError(status, kMsgAttachTooLarge);
  switch (a.location.locationType) {
    case 0:
      return ZQ_RETURN_OK;
    case ZQ_LOC_FILENAME:
      return packFile(a, status);
    case ZQ_LOC_BUFFER: {
      ZQBufStruct buffer = a.location.u.buffer;
      if (buffer.size == 0 || !buffer.bytes) {
        clearLocation(a);
        return ZQ_RETURN_OK;
      }
      if (buffer.size > INT32_MAX) return addError(status, kMsgAttachTooLarge);
      a.location = ZQLocStruct{};  // the copy's raw bytes are released below
      const int rc = packBytes(a, buffer.bytes, buffer.size, status);
      zq::freeBlock(buffer.bytes);
      return rc;
    }
    default:
      return addError(status, kMsgBadAttachLocation);
  }
}

// Converts a password to the server's character set when the two sides
// differ and one of them is UTF-8 (other pairs travel as they are).
int toServerCharset(const ServerTraits& s, std::string& text, ZQStatusList* status) {
  if (s.clientCharset == s.serverCharset || !s.clientCharset || !s.serverCharset ||
      (s.clientCharset != platform::kCharsetUtf8 && s.serverCharset != platform::kCharsetUtf8))
    return ZQ_RETURN_OK;
  std::string out;
  switch (platform::convert(s.clientCharset, s.serverCharset, text.data(), text.size(), out)) {
    case platform::ConvertResult::ok:
      break;
    case platform::ConvertResult::noMemory:
      return addError(status, kMsgNoMemory, "102");
    default:
      return addError(status, kMsgBadEncoding, "102");
  }
  if (out.size() > kPasswordLength) return addError(status, kMsgTooLongForServer, "102");
  text = std::move(out);
  return ZQ_RETURN_OK;
}

int replaceText(ZQValueStruct& v, const char* text, ZQStatusList* status) {
  char* copy = dupString(text);
  if (!copy) return noMemory(status);
  zq::freeBlock(v.u.charValue);
  v.u.charValue = copy;
  return ZQ_RETURN_OK;
}

int preparePassword(const ServerTraits& s, ZQValueStruct& v, ZQStatusList* status) {
  std::string text(v.u.charValue, strnlen(v.u.charValue, kPasswordLength));
  char buffer[64] = {};
  if (s.version < 10) {
    int rc = toServerCharset(s, text, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    copyName(buffer, text.c_str(), kPasswordLength + 1);
    security::scrambleLegacy(security::legacyEntryPasswordKey(), buffer);
    return replaceText(v, buffer, status);
  }
  if (text.size() == kDigestLength) return replaceText(v, text.c_str(), status);
  int rc = toServerCharset(s, text, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  copyName(buffer, text.c_str(), kPasswordLength + 1);
  rc = HashPassword(buffer);
  if (rc != 0) return addError(status, rc, "102");
  return replaceText(v, buffer, status);
}

// A protected text field travels protected under the header key; a text
// already protected under one of the library's keys is restored first.
int prepareProtectedText(ZQValueStruct& v, ZQStatusList* status) {
  char work[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  copyName(work, v.u.charValue, kProtectedLength + 1);
  if (strlen(work) == kProtectedLength) {
    const unsigned char* keys[] = {
        security::keys::kHeaderPasswordKey, security::keys::kPasswordKeys[0],
        security::keys::kPasswordKeys[1], security::keys::kPasswordKeys[2]};
    int rc = kMsgIntegrityFailed;
    for (const unsigned char* key : keys) {
      rc = DecryptPasswordEx(key, work);
      if (rc != kMsgIntegrityFailed) break;
    }
    if (rc != 0) return addError(status, rc, "123");
  }
  char out[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  const int rc = EncryptCharPasswordEx(work, security::keys::kHeaderPasswordKey, out);
  if (rc != 0) return addError(status, rc, "123");
  return replaceText(v, out, status);
}

// Restores bytes the server sent compressed. Bytes sent raw (equal sizes and
// no compressed stream) are kept as they are. What the attachments of one
// reply inflate to comes out of budget, the session's maximum result size.
int inflate(ZQAttachStruct& a, size_t& budget, ZQStatusList* status) {
  ZQBufStruct& b = a.location.u.buffer;
  platform::ZBuffer plain;
  const size_t expected = a.originalSize > 0 ? static_cast<size_t>(a.originalSize) : 0;
  const platform::ZResult r =
      platform::decompressBytes(b.bytes, b.size, expected, plain, budget);
  if (r == platform::ZResult::noMemory) return noMemory(status);
  if (r != platform::ZResult::ok) {
    if (a.compressedSize == a.originalSize && b.size == static_cast<uint32_t>(a.originalSize))
      return ZQ_RETURN_OK;
    return addError(status, kMsgDecompressFailed);
  }
  budget -= plain.size;
  zq::freeBlock(b.bytes);
  b.bytes = plain.data;
  b.size = static_cast<uint32_t>(plain.size);
  a.originalSize = static_cast<int32_t>(plain.size);
  return ZQ_RETURN_OK;
}

// Returns 0 or the message of the failure.
int protectForCaller(const ServerTraits& s, ZQValueStruct& v) {
  char out[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  if (s.version <= 9) {
    copyName(out, v.u.charValue, kPasswordLength + 1);
    security::scrambleLegacy(security::legacyEntryPasswordKey(), out);
  } else {
    char plain[kProtectedLength + 1] = {};
    copyName(plain, v.u.charValue, sizeof plain);
    const int rc = EncryptCharPasswordEx(plain, security::keys::kHeaderPasswordKey, out);
    if (rc != 0) return rc;
  }
  char* copy = dupString(out);
  if (!copy) return kMsgNoMemory;
  zq::freeBlock(v.u.charValue);
  v.u.charValue = copy;
  return 0;
}

}  // namespace

ServerTraits boundServer(ZQThreadContext* ctx, ZQControlStruct* control) {
  ServerTraits t;
  t.clientCharset = ctx->clientCharset;
  t.serverCharset = ctx->serverCharset;
  if (transport::ServerRecord* server = transport::findServer(ctx, control->server))
    t.version = server->version;
  if (transport::ServerOptions* o = transport::findOptions(ctx, control->server))
    t.maxAttachmentSize = o->maxAttachmentSize;
  return t;
}

PreparedValues::~PreparedValues() {
  zq::model::release(list_);
}

ZQFieldValueList PreparedValues::release() {
  ZQFieldValueList out = list_;
  list_ = ZQFieldValueList{};
  return out;
}

int prepareValues(const ServerTraits& server, const ZQFieldValueList* values, bool checkLimit,
                  PreparedValues& out, ZQStatusList* status) {
  ZQFieldValueList& copy = out.list();
  zq::model::release(copy);
  copy = ZQFieldValueList{};
  if (!values || values->count == 0) return ZQ_RETURN_OK;
  // The copy drops locations it does not know: refuse them before.
  for (uint32_t i = 0; i < values->count; ++i) {
    const ZQValueStruct& v = values->items[i].value;
    if (v.dataType != ZQ_DATA_TYPE_ATTACH || !v.u.attachmentValue) continue;
    if (v.u.attachmentValue->originalSize < 0) return addError(status, kMsgAttachTooLarge);
    if (v.u.attachmentValue->location.locationType > ZQ_LOC_BUFFER)
      return addError(status, kMsgBadAttachLocation);
  }
  if (!model::deepCopy(copy, *values)) return noMemory(status);
  for (uint32_t i = 0; i < copy.count; ++i) {
    ZQFieldValueStruct& fv = copy.items[i];
    ZQValueStruct& v = fv.value;
    int rc = ZQ_RETURN_OK;
    if (v.dataType == ZQ_DATA_TYPE_ATTACH && v.u.attachmentValue) {
      rc = packAttachment(*v.u.attachmentValue, status);
      if (rc < ZQ_RETURN_ERROR && checkLimit && server.maxAttachmentSize &&
          v.u.attachmentValue->compressedSize > 0 &&
          static_cast<uint32_t>(v.u.attachmentValue->compressedSize) > server.maxAttachmentSize)
        rc = addError(status, kMsgAttachTooLarge);
    } else if (v.dataType == ZQ_DATA_TYPE_CHAR && v.u.charValue) {
      if (fv.fieldId == kPasswordField)
        rc = preparePassword(server, v, status);
      else if (fv.fieldId == kProtectedTextField)
        rc = prepareProtectedText(v, status);
    }
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

int postProcessValues(ZQThreadContext* ctx, const ServerTraits& server, ZQFieldValueList* values,
                      size_t untouchedLength, ZQStatusList* status) {
  if (!values || !values->items) return ZQ_RETURN_OK;
  int worst = ZQ_RETURN_OK;
  size_t budget = ctx->settings.maxResultSize;
  for (uint32_t i = 0; i < values->count; ++i) {
    ZQValueStruct& v = values->items[i].value;
    if (v.dataType == ZQ_DATA_TYPE_ATTACH && v.u.attachmentValue &&
        v.u.attachmentValue->location.locationType == ZQ_LOC_BUFFER &&
        v.u.attachmentValue->compressedSize > 0 && v.u.attachmentValue->location.u.buffer.bytes) {
      const int rc = inflate(*v.u.attachmentValue, budget, status);
      if (rc >= ZQ_RETURN_ERROR) return rc;
    }
    // The decoder saw a password value: it must not reach the caller plain.
    if (values->items[i].fieldId == kPasswordField && v.dataType == ZQ_DATA_TYPE_CHAR)
      ctx->passwordValue = 1;
  }
  if (!ctx->passwordValue) return worst;
  for (uint32_t i = 0; i < values->count; ++i) {
    ZQValueStruct& v = values->items[i].value;
    if (values->items[i].fieldId != kPasswordField || v.dataType != ZQ_DATA_TYPE_CHAR ||
        !v.u.charValue || strlen(v.u.charValue) == untouchedLength)
      continue;
    const int message = protectForCaller(server, v);
    if (message) {
      zq::model::release(v);
      v = ZQValueStruct{};
      const int rc = addError(status, message);
      if (rc > worst) worst = rc;
    }
  }
  return worst;
}

}  // namespace zq::calls
