// The thread context: everything the library remembers for one control record.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "zqapi/zq_session.h"

namespace zq {

inline constexpr uint32_t kContextMagic = 0x1a942f50;

// Base of the per-subsystem state a context owns (transport caches, security
// engine, trace log, ...). Each subsystem derives its own and reaches it with
// the accessor it defines; the context only destroys it.
struct SubsystemState {
  virtual ~SubsystemState() = default;
};

enum Queue : uint32_t { kQueueAdmin = 0, kQueueFast = 1, kQueueList = 2, kQueueCount = 3 };

inline constexpr uint32_t kDefaultResponseSize = 500000;
inline constexpr uint32_t kDefaultTimeoutNormal = 120;
inline constexpr uint32_t kDefaultTimeoutLong = 300;
inline constexpr uint32_t kDefaultTimeoutExtraLong = 1800;
// The most a reply, or a result gathered over chunks or inflated from a
// compressed block, may take in memory (session variable 1961).
inline constexpr uint32_t kDefaultMaxResultSize = 256u << 20;
inline constexpr uint32_t kMinMaxResultSize = 64u << 10;
inline constexpr uint32_t kProgramAdmin = 390600;
inline constexpr uint32_t kProgramFast = 390620;
inline constexpr uint32_t kProgramList = 390635;

struct Settings {
  uint32_t responseSize = kDefaultResponseSize;
  uint32_t timeoutNormal = kDefaultTimeoutNormal;
  uint32_t timeoutLong = kDefaultTimeoutLong;
  uint32_t timeoutExtraLong = kDefaultTimeoutExtraLong;
  uint32_t tcpPort = 0;       // from the environment; 0 = none
  uint32_t rpcProgram = 0;    // 0 = none
  bool programGiven = false;  // set with an accepted program number
  std::string transport = "tcp";
  uint8_t settingsFlag = 1;  // session variable 1955
  int32_t clientType = 0;    // session variable 7
  int32_t clientOption = 0;  // session variable 8
  int32_t headerFlag = 0;    // session variable 9 (bit 0 of the header flags)
  uint32_t callerWord = 0;   // session variable 1959
  uint32_t maxResultSize = kDefaultMaxResultSize;  // session variable 1961
};

struct ThreadContextData {
  uint32_t magic = kContextMagic;  // first word, checked with the registry

  Settings settings;

  // Call state.
  uint32_t currentQueue = kQueueAdmin;
  ZQControlStruct* callControl = nullptr;  // control record of the call in progress
  // Set by ZQCloseNetworkConnections, possibly from another thread.
  std::atomic<uint8_t> noReconnect{0};
  std::atomic<uint8_t> stopRequested{0};
  uint8_t rekeyNeeded = 0;
  uint8_t argumentTooLarge = 0;
  uint8_t passwordValue = 0;
  uint8_t suspendNameConversion = 0;  // names and strings
  uint8_t suspendTextConversion = 0;  // counted texts
  int32_t unsupportedMessage = 0;
  uint8_t cacheIdManaged = 0;  // session variable 6
  uint8_t translateResults = 0;
  uint32_t bindingDepth = 0;
  uint32_t programPerQueue[kQueueCount] = {kProgramAdmin, 0, 0};

  // Character sets (identifiers of platform/charset.h). Binding writes them
  // under the call lock; length checks may read them from another thread.
  std::atomic<uint32_t> clientCharset{0};
  std::atomic<uint32_t> serverCharset{0};

  // Request header parts that binding fills.
  char protectedPassword[121] = {};  // legacy scramble or cipher text
  uint32_t serverLogMask = 0;        // set by ZQSetLogging

  // Identity.
  char clientHostIdentity[129] = {};
  char clientIdentity[129] = {};
  uint32_t identityGeneration = 0;

  // Caller sources.
  ZQUserNameSource userNameSource = nullptr;
  ZQAuthStringSource authStringSource = nullptr;
  ZQNativeAuthenticationSource nativeAuthSource = nullptr;

  // Diagnostics switches read by every call; the state behind them is diag's.
  int32_t loggingFlags = 0;  // value of the logging environment variable
  uint8_t tracePrint = 1;
  bool traceOn = false;
  std::string recordCommandFile;  // empty: no recording
  std::string recordResultFile;

  // Entry and query results.
  char lastEntryId[16] = {};
  uint32_t lastMatchCount = 0;

  // Text buffers handed out by the message helpers.
  char catalogBuffer[256] = {};
  char errorTextBuffer[256] = {};
  char versionBuffer[51] = {};
  char detailBuffer[256] = {};  // failure detail of the text decoders

  // Locks: the call lock around one driver run, the binding lock.
  std::recursive_mutex callLock;
  std::recursive_mutex bindingLock;

  // Per-subsystem state, created on first use.
  std::unique_ptr<SubsystemState> transport;
  std::unique_ptr<SubsystemState> security;
  std::unique_ptr<SubsystemState> diag;
  std::unique_ptr<SubsystemState> text;
  std::unique_ptr<SubsystemState> calls;
  std::unique_ptr<SubsystemState> xml;
};

}  // namespace zq

// The public opaque type is the data above.
struct ZQThreadContext : zq::ThreadContextData {};

namespace zq {

// Creates a context and adds it to the registry of live contexts.
ZQThreadContext* createContext();
// Removes it from the registry (so stale pointers are refused) and frees it.
void destroyContext(ZQThreadContext* ctx);
// True when ptr designates a live context with the magic number.
bool isLiveContext(const void* ptr);

// The context most recently validated on this thread (or null).
ZQThreadContext* currentContext();
void setCurrentContext(ZQThreadContext* ctx);

// The control record's context, made current on this thread; without a
// control record the current one. A context that is not live adds error
// kMsgBadContext (when there is a list) and gives null.
ZQThreadContext* findContext(ZQControlStruct* control, ZQStatusList* status);

}  // namespace zq
