#include "frame/messages.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/alloc.h"
#include "frame/context.h"
#include "platform/platform.h"

// The process-wide catalog handle is exported as a datum (ordinal 821).
extern "C" {
int ZQMessageCatalogHandle = -1;
}

namespace zq {
namespace {

constexpr const char* kCannotOpen = "Cannot open catalog; Message number = ";
constexpr const char* kNotInCatalog = "Message not in catalog; Message number = ";

// Runs fn with an open catalog handle: the process handle, or one opened for
// this lookup only. Returns false when no catalog can be opened.
template <class Fn>
bool withCatalog(Fn fn) {
  int handle = ZQMessageCatalogHandle;
  bool temporary = false;
  if (handle == -1) {
    handle = platform::catalogOpen();
    if (handle == -1) return false;
    temporary = true;
  }
  fn(handle);
  if (temporary) platform::catalogClose(handle);
  return true;
}

void copyCut(char* dst, const std::string& src, size_t max) {
  size_t n = src.size() < max ? src.size() : max;
  memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

}  // namespace

void messageText(int32_t messageNumber, char* buffer) {
  if (!buffer) return;
  memset(buffer, 0, ZQ_MESSAGE_TEXT_SIZE);
  bool opened = withCatalog([&](int handle) {
    int set = 1, number = messageNumber;
    if (messageNumber >= 120000 && messageNumber <= 120999) {
      set = 20;
      number = messageNumber - 119000;
    }
    std::string text = platform::catalogGet(handle, set, number, "");
    if (!text.empty()) {
      copyCut(buffer, text, 255);
      return;
    }
    text = platform::catalogGet(handle, 1, 1, kNotInCatalog);
    copyCut(buffer, text, 255);
    size_t len = strlen(buffer);
    if (len < 243) snprintf(buffer + len, ZQ_MESSAGE_TEXT_SIZE - len, "%d", messageNumber);
  });
  if (!opened) snprintf(buffer, ZQ_MESSAGE_TEXT_SIZE, "%s%d", kCannotOpen, messageNumber);
}

char* textForErrorMessage(int32_t messageNumber) {
  auto* buffer = static_cast<char*>(alloc(ZQ_MESSAGE_TEXT_SIZE));
  if (buffer) messageText(messageNumber, buffer);
  return buffer;
}

char* catalogString(int set, int number) {
  ZQThreadContext* ctx = currentContext();
  if (!ctx) return nullptr;
  char* buffer = ctx->catalogBuffer;
  buffer[0] = '\0';
  bool opened = withCatalog([&](int handle) {
    copyCut(buffer, platform::catalogGet(handle, set, number, ""), 255);
  });
  if (!opened) return nullptr;
  return buffer[0] ? buffer : nullptr;
}

int openMessageCatalog() {
  if (ZQMessageCatalogHandle != -1) platform::catalogClose(ZQMessageCatalogHandle);
  ZQMessageCatalogHandle = platform::catalogOpen();
  return ZQMessageCatalogHandle;
}

int systemErrorText(int errorNumber, char* buffer, size_t length) {
  if (!buffer || length == 0) return 0;
  // Only numbers the C library knows have a text; others are empty.
  char scratch[256];
  const char* text = "";
  errno = 0;
  const char* r = strerror_r(errorNumber, scratch, sizeof scratch);
  if (r && strncmp(r, "Unknown error", 13) != 0) text = r;
  size_t len = strlen(text);
  if (len < length) {
    memcpy(buffer, text, len + 1);
    return 0;
  }
  memcpy(buffer, text, length - 1);
  buffer[length - 1] = '\0';
  return 34;
}

char* errnoText(const char* text) {
  int savedErrno = errno;
  ZQThreadContext* ctx = currentContext();
  if (!ctx) return const_cast<char*>(text);
  if (!text) text = "";
  char system[128] = "";
  // errno 0 is no error: it contributes no text.
  if (savedErrno != 0) systemErrorText(savedErrno, system, sizeof system);
  std::string out = system;
  if (!out.empty() && *text) out += " : ";
  out += text;
  copyCut(ctx->errorTextBuffer, out, 255);
  return ctx->errorTextBuffer;
}

bool isReservedRangeMessage(int32_t messageNumber) {
  return (messageNumber >= 50 && messageNumber <= 89) ||
         (messageNumber >= 8031 && messageNumber <= 8200);
}

char* formatVersionString(char* text) {
  ZQThreadContext* ctx = currentContext();
  if (!text || !ctx) return text;
  // major.minor[.third], each a decimal number in its range.
  auto readNumber = [](const char*& p, int lo, int hi, int& out) {
    if (*p < '0' || *p > '9') return false;
    long v = 0;
    while (*p >= '0' && *p <= '9') {
      v = v * 10 + (*p - '0');
      if (v > 1000) return false;
      ++p;
    }
    out = static_cast<int>(v);
    return v >= lo && v <= hi;
  };
  const char* p = text;
  int major = 0, minor = 0, third = 0;
  bool hasThird = false;
  if (!readNumber(p, 1, 99, major) || *p != '.') return text;
  ++p;
  if (!readNumber(p, 0, 99, minor)) return text;
  if (*p == '.' && p[1] >= '0' && p[1] <= '9') {
    ++p;
    if (!readNumber(p, 0, 99, third)) return text;
    hasThird = true;
  }
  const char* rest = text + strspn(text, "0123456789.");
  char numbers[32];
  if (hasThird)
    snprintf(numbers, sizeof numbers, "%2d.%02d.%02d", major, minor, third);
  else
    snprintf(numbers, sizeof numbers, "%2d.%02d", major, minor);
  std::string out = numbers;
  std::string tail = rest;
  size_t patch = tail.find("Patch");
  if (patch != std::string::npos) tail[patch] = 'p';
  out += tail;
  // The buffer holds 50 characters; a longer result is cut.
  copyCut(ctx->versionBuffer, out, sizeof ctx->versionBuffer - 1);
  return ctx->versionBuffer;
}

}  // namespace zq
