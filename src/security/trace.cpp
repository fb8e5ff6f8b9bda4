#include "security/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

namespace zq::security::trace {
namespace {

constexpr uint32_t kDefaultLevel = 3;
constexpr uint32_t kAlwaysOn = 0x13;
constexpr size_t kDumpWidth = 81;

struct TraceFile {
  std::mutex mutex;
  bool configured = false;
  FILE* file = nullptr;
  uint32_t level = 0;
};

TraceFile& traceFile() {
  static TraceFile* t = new TraceFile;  // used from static destructors too
  return *t;
}

uint32_t parseLevel(const char* text) {
  if (!text || !*text) return kDefaultLevel;
  char* end = nullptr;
  unsigned long v = (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
                        ? strtoul(text + 2, &end, 16)
                        : strtoul(text, &end, 10);
  return static_cast<uint32_t>(v) | kAlwaysOn;
}

void writeStamp(FILE* f) {
  char stamp[64];
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  strftime(stamp, sizeof stamp, "%a %b %d %Y %H:%M:%S", &local);
  fputs(stamp, f);
  fputc(' ', f);
}

// Opens the file on first use; caller holds the mutex.
FILE* openLocked(TraceFile& t) {
  if (!t.configured) {
    t.configured = true;
    const char* name = getenv("ZQCRYPTOTRACE");
    if (name && *name) {
      t.file = fopen(name, "a+");
      if (t.file) {
        t.level = parseLevel(getenv("ZQCRYPTOTRACELEVEL"));
        writeStamp(t.file);
        fprintf(t.file, "Trace file Opened TraceLevel(%d)\n", static_cast<int>(t.level));
        fputs(std::string(80, '-').append("\n").c_str(), t.file);
        fflush(t.file);
      }
    }
  }
  return t.file;
}

char shown(uint8_t c) {
  switch (c) {
    case 0:
      return '_';
    case '\n':
      return 'N';
    case '\r':
      return 'R';
    case '\a':
      return 'B';
    default:
      return static_cast<char>(c);
  }
}

}  // namespace

bool enabled(uint32_t bits) {
  TraceFile& t = traceFile();
  std::lock_guard<std::mutex> lock(t.mutex);
  return openLocked(t) && (t.level & bits);
}

void line(uint32_t bits, const char* format, ...) {
  TraceFile& t = traceFile();
  std::lock_guard<std::mutex> lock(t.mutex);
  FILE* f = openLocked(t);
  if (!f || !(t.level & bits)) return;
  writeStamp(f);
  va_list args;
  va_start(args, format);
  vfprintf(f, format, args);
  va_end(args);
  fflush(f);
}

void dump(uint32_t bits, const char* label, const uint8_t* bytes, size_t n) {
  TraceFile& t = traceFile();
  std::lock_guard<std::mutex> lock(t.mutex);
  FILE* f = openLocked(t);
  if (!f || !(t.level & bits)) return;
  writeStamp(f);
  fprintf(f, "%s (%zu)\n", label ? label : "", n);
  if (!bytes || n == 0) {
    writeStamp(f);
    fputs("<-- Zero Length -->\n", f);
  }
  for (size_t at = 0; bytes && at < n; at += kDumpWidth) {
    size_t len = n - at < kDumpWidth ? n - at : kDumpWidth;
    char text[kDumpWidth + 2];
    for (size_t i = 0; i < len; ++i) text[i] = shown(bytes[at + i]);
    text[len] = '\n';
    text[len + 1] = '\0';
    writeStamp(f);
    fwrite(text, 1, len + 1, f);
  }
  fflush(f);
}

namespace testing {
void reset() {
  TraceFile& t = traceFile();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (t.file) fclose(t.file);
  t.file = nullptr;
  t.configured = false;
  t.level = 0;
}
}  // namespace testing

}  // namespace zq::security::trace
