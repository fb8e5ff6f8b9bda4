#include "model/codec.h"

#include <atomic>
#include <cstdlib>

#include "platform/platform.h"

namespace zq::model {
namespace {

thread_local const CodecSession* t_session = nullptr;

// Bits of the conversion-check setting; -1 until read.
std::atomic<long> g_checks{-1};

unsigned long conversionChecks() {
  long v = g_checks.load(std::memory_order_relaxed);
  if (v < 0) {
    const char* text = getenv("ZQCHECKCONVERSION");
    v = text ? static_cast<long>(strtoul(text, nullptr, 0) & 0x7fffffffUL) : 0;
    g_checks.store(v, std::memory_order_relaxed);
  }
  return static_cast<unsigned long>(v);
}

}  // namespace

CodecScope::CodecScope(int version, ZQThreadContext* context)
    : session_{version, context}, previous_(t_session) {
  t_session = &session_;
}

CodecScope::~CodecScope() {
  t_session = previous_;
}

const CodecSession* activeSession() {
  return t_session;
}

ZQThreadContext* codecContext() {
  return t_session ? t_session->context : currentContext();
}

int codecVersion() {
  return t_session ? t_session->version : kNewestVersion;
}

bool convertToServer(const ZQThreadContext* ctx, const char* text, size_t len, std::string& out) {
  const uint32_t from = ctx->clientCharset, to = ctx->serverCharset;
  if (!platform::isValid(from, text, len)) return false;
  if (platform::convert(from, to, text, len, out) != platform::ConvertResult::ok) return false;
  if (to == platform::kCharsetUtf8) {
    const unsigned long checks = conversionChecks();
    if (checks & 1) {
      bool high = false;
      for (size_t i = 0; i < len && !high; ++i) high = (static_cast<unsigned char>(text[i]) & 0x80);
      // A text with non-ASCII bytes that did not grow was not really converted.
      if (high && out.size() <= len) return false;
    }
    if ((checks & 2) && !platform::isValid(platform::kCharsetUtf8, out.data(), out.size()))
      return false;
  }
  return true;
}

bool convertToClient(const ZQThreadContext* ctx, const char* text, size_t len, std::string& out) {
  return platform::convert(ctx->serverCharset, ctx->clientCharset, text, len, out) ==
         platform::ConvertResult::ok;
}

namespace testing {
void reloadConversionChecks() {
  g_checks.store(-1);
}
}  // namespace testing

// ---- memory streams --------------------------------------------------------

bool isAlignedMemoryStream(const XDR* xdrs) {
  static const void* const ops = [] {
    alignas(8) static char buffer[8];
    XDR probe;
    xdrmem_create(&probe, buffer, sizeof buffer, XDR_ENCODE);
    return static_cast<const void*>(probe.x_ops);
  }();
  return static_cast<const void*>(xdrs->x_ops) == ops;
}

}  // namespace zq::model
