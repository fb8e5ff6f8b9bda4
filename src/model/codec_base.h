// Basics shared by every visitor of the structure descriptions: versions,
// kinds of names, the codec session and text conversion. See codec.h for how
// descriptions are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/frame.h"

namespace zq::model {

inline constexpr int kOldestVersion = 7;
inline constexpr int kNewestVersion = 14;

// Maximum of a string member that has none.
inline constexpr uint32_t kUnbounded = 0xFFFFFFFFu;

// Pointer nesting allowed when decoding; deeper input is refused so that a
// broken or hostile peer cannot exhaust the stack.
inline constexpr unsigned kMaxDecodeDepth = 512;

// Trace label of a member; the wire visitors ignore it.
using Label = const char*;

// What a visitor does with a description. The print pass (the trace log)
// reads the members as memory holds them at the newest version.
enum class Pass { encode, decode, size, release, copy, print };

// Names whose wire width depends on the protocol version.
enum class NameKind {
  plain,   // forms, fields, menus, ...: 31 bytes in version 7, 255 from 8
  access,  // users, groups, roles: 31 bytes up to version 11, 255 from 12
};

inline constexpr size_t nameWireWidth(NameKind kind, int version) {
  if (kind == NameKind::plain) return version <= 7 ? 31 : 255;
  return version <= 11 ? 31 : 255;
}

// Pseudo-members that change text conversion for the members between a
// suspend and its resume.
enum class Suspend {
  namesWhenEncoding,  // id-102 entry values: names and strings, encoding only
  binaryText,         // binary counted texts: both counters, both directions
};

// The version and thread context of the encoding in progress on this thread,
// for code reached through the RPC library (xdrproc_t has no room for them).
struct CodecSession {
  int version = kNewestVersion;
  ZQThreadContext* context = nullptr;
};

// Makes a session current on this thread for its lifetime; scopes nest.
class CodecScope {
 public:
  CodecScope(int version, ZQThreadContext* context);
  ~CodecScope();
  CodecScope(const CodecScope&) = delete;
  CodecScope& operator=(const CodecScope&) = delete;

 private:
  CodecSession session_;
  const CodecSession* previous_;
};

// The innermost session of this thread, or null.
const CodecSession* activeSession();
// The context an encoding uses: the session's, else the thread's current one.
ZQThreadContext* codecContext();
// The version an encoding uses when none is given: the session's, else 14.
int codecVersion();

// ---- text conversion ------------------------------------------------------

enum class Counter { names, texts };

// True when members of this kind are converted right now.
inline bool conversionActive(const ZQThreadContext* ctx, Counter counter) {
  const uint8_t suspended =
      counter == Counter::names ? ctx->suspendNameConversion : ctx->suspendTextConversion;
  return suspended == 0 && ctx->clientCharset != ctx->serverCharset;
}

// Client set to server set, with the validity checks; false when a check or
// the conversion fails.
bool convertToServer(const ZQThreadContext* ctx, const char* text, size_t len, std::string& out);
// Server set to client set; no checks.
bool convertToClient(const ZQThreadContext* ctx, const char* text, size_t len, std::string& out);

namespace testing {
// Reads the conversion-check setting from the environment again.
void reloadConversionChecks();
}  // namespace testing

}  // namespace zq::model
