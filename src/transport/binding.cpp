// Binding a control record to a server queue: binding records, the first
// contact with a new server, character sets, the request header.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <utility>

#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "security/security.h"
#include "transport/binding.h"
#include "transport/state.h"
#include "zqapi/zq_free.h"

namespace zq::transport {
namespace {

// Remaps a server character set for a UTF-8 client.
uint32_t remapForUtf8Client(uint32_t id) {
  static const uint8_t table[35] = {0,  0,  0,  3,  4,  5,  6,  7,  7,  9,  9,  11,
                                    11, 13, 23, 15, 29, 24, 18, 25, 20, 26, 22, 23,
                                    24, 25, 26, 27, 28, 29, 30, 40, 32, 33, 34};
  if (id < 35 && table[id] != 255) return table[id];
  return id;
}

bool matches(const Binding& b, const ZQControlStruct* c, bool withAuth = true) {
  return b.user == c->user && b.password == c->password && b.server == c->server &&
         (!withAuth || b.authString == c->authString);
}

// Time-out override table filled from setting 305 (process-wide).
uint32_t g_timeoutPrograms[21];

// Locale step: the system language stands in for the caller's locale.
void chooseLocale(ZQControlStruct* control) {
  if (control->locale[0]) return;
  const char* lang = nullptr;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = getenv(var);
    if (v && *v) {
      lang = v;
      break;
    }
  }
  if (!lang) return;
  std::string l(lang, strnlen(lang, 64));
  if (l == "enu" || l == "ENU" || l == "C" || l == "c" || l == "POSIX" ||
      l.find("English") != std::string::npos || l.find("en_US") != std::string::npos)
    return;
  copyName(control->locale, l.c_str(), sizeof control->locale);
}

}  // namespace

// "7.5.00 Patch 004" -> 7, 5, 0, 4; false (fields cleared) when malformed.
bool parseServerVersion(const char* text, int& major, int& minor, int& maintenance, int& patch) {
  major = minor = maintenance = patch = 0;
  if (!text) return false;
  const char* p = text;
  auto number = [&](int max, int& out) {
    if (*p < '0' || *p > '9') return false;
    long v = 0;
    while (*p >= '0' && *p <= '9') {
      v = v * 10 + (*p++ - '0');
      if (v > 1000) return false;
    }
    out = static_cast<int>(v);
    return v <= max;
  };
  int mj = 0, mn = 0, mt = 0;
  if (!number(99, mj) || mj < 1 || *p != '.') return false;
  ++p;
  if (!number(99, mn)) return false;
  if (*p == '.' && p[1] >= '0' && p[1] <= '9') {
    ++p;
    if (!number(99, mt)) return false;
  }
  major = mj;
  minor = mn;
  maintenance = mt;
  const char* rest = text + strspn(text, "0123456789.");
  const char* word = strstr(rest, "patch");
  if (!word) word = strstr(rest, "Patch");
  if (word) {
    word += 5;
    while (*word == ' ') ++word;
    patch = atoi(word);
  }
  return true;
}

bool isTimeoutOverrideProgram(uint32_t program) {
  for (int i = 0; i < 20 && g_timeoutPrograms[i]; ++i)
    if (g_timeoutPrograms[i] == program) return true;
  return false;
}

// Asks a new server for the settings the client needs (procedure 36 on the
// fast queue), stepping down the request when the server refuses an item.
int askServerSettings(ZQThreadContext* ctx, ZQControlStruct* control, ServerOptions* options,
                      bool useCallLock, FirstContact& remote, ZQStatusList* status) {
  static const uint32_t items[7] = {55, 140, 139, 4, 246, 305, 333};
  static const uint32_t forms[4] = {7, 6, 4, 1};
  ZQServerInfoList result{0, nullptr};
  int rc = ZQ_RETURN_ERROR;
  for (uint32_t count : forms) {
    ZQServerInfoRequestList request{count, const_cast<uint32_t*>(items)};
    ZQStatusList attempt{0, nullptr};
    rc = remote.askSettings(control, &request, &result, useCallLock, &attempt);
    bool refused =
        rc >= ZQ_RETURN_ERROR && attempt.count > 0 && attempt.items[0].messageNumber == 123;
    if (!refused || count == 1) {
      zq::mergeStatusLists(&attempt, status, status);
      break;
    }
    zq::releaseStatusList(&attempt);
  }
  if (rc >= ZQ_RETURN_ERROR) return rc;

  auto text = [&](uint32_t i) -> const char* {
    if (i < result.count && result.items[i].value.dataType == ZQ_DATA_TYPE_CHAR)
      return result.items[i].value.u.charValue ? result.items[i].value.u.charValue : "";
    return nullptr;
  };
  auto integer = [&](uint32_t i, int32_t& out) {
    if (i < result.count && result.items[i].value.dataType == ZQ_DATA_TYPE_INTEGER) {
      out = result.items[i].value.u.integerValue;
      return true;
    }
    out = 0;
    return false;
  };
  const char* t = text(0);
  options->language = t ? std::string(t, strnlen(t, 32)) : "";
  integer(1, options->localizedServer);
  t = text(2);
  options->item139 = t ? std::string(t, strnlen(t, 254)) : "";
  parseServerVersion(text(3), options->major, options->minor, options->maintenance, options->patch);
  options->wantsClientProperties = options->major > 6;
  int32_t v;
  integer(4, v);
  options->argumentLimit = static_cast<uint32_t>(v);
  if ((t = text(5)) && *t) {
    int n = 0;
    for (const char* p = t; *p && n < 20;) {
      char* end;
      unsigned long program = strtoul(p, &end, 10);
      if (end == p) break;
      g_timeoutPrograms[n++] = static_cast<uint32_t>(program);
      p = *end == ';' ? end + 1 : end;
      if (*end != ';') break;
    }
    g_timeoutPrograms[n] = 0;
    TransportState* st = stateOf(ctx);
    uint32_t configured = st && st->lastServer ? st->lastServer->program : 0;
    if (configured && isTimeoutOverrideProgram(configured)) {
      ctx->settings.timeoutNormal = ctx->settings.timeoutLong = ctx->settings.timeoutExtraLong =
          86400;
    }
  }
  integer(6, v);
  options->maxAttachmentSize = static_cast<uint32_t>(v);
  zq::model::release(result);
  return ZQ_RETURN_OK;
}

int bind(ZQControlStruct* control, uint32_t queue, RequestHeader* header, bool useCallLock,
         FirstContact& remote, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  ZQThreadContext* ctx = zq::findContext(control, status);
  if (!ctx) return ZQ_RETURN_FATAL;
  TransportState* st = stateOf(ctx);
  if (!st) return addError(status, kMsgNoMemory);

  std::unique_lock<std::recursive_mutex> callLock(ctx->callLock);
  std::unique_lock<std::recursive_mutex> bindingLock(ctx->bindingLock);
  auto unlocked = [&](auto fn) {
    ++ctx->bindingDepth;
    bindingLock.unlock();
    callLock.unlock();
    auto r = fn();
    callLock.lock();
    bindingLock.lock();
    --ctx->bindingDepth;
    return r;
  };

  if (!control->user[0] && ctx->userNameSource) ctx->userNameSource(control->user);
  if (!control->user[0]) return addError(status, kMsgUserRequired);
  if (!control->authString[0] && ctx->authStringSource) ctx->authStringSource(control->authString);

  ctx->callControl = control;
  ServerRecord* server = findOrCreateServer(ctx, control->server);
  if (!server) return addError(status, kMsgNoMemory);
  bool provisional = false;
  const uint32_t d = resolveQueue(ctx, server, queue, &provisional);
  control->operationTime = static_cast<int32_t>(time(nullptr));

  Binding* binding = st->current[d];
  if (!binding || !matches(*binding, control)) {
    binding = nullptr;
    for (auto& b : st->bindings[d])
      if (matches(*b, control)) binding = b.get();
    if (binding) st->current[d] = binding;
  }
  bool created = false;
  if (!binding) {
    auto fresh = std::unique_ptr<Binding>(new (std::nothrow) Binding);
    if (!fresh) return addError(status, kMsgNoMemory);
    fresh->user = control->user;
    fresh->password = control->password;
    fresh->authString = control->authString;
    fresh->server = control->server;
    fresh->provisional = provisional;
    for (auto& b : st->bindings[d])
      if (b->server == fresh->server) {
        fresh->version = b->version;
        break;
      }
    binding = fresh.get();
    st->bindings[d].push_front(std::move(fresh));
    st->current[d] = binding;
    created = true;

    int rc = ZQ_RETURN_OK;
    if (provisional && !st->current[kQueueFast]) {
      binding->encryptionOn = false;
    } else if (binding->encryptionOn) {
      rc = unlocked([&] {
        int r = remote.exchangeKeys(ctx, control, d, *binding, useCallLock, status);
        if (r >= ZQ_RETURN_ERROR && (status->count && (status->items[0].messageNumber == 9002 ||
                                                       status->items[0].messageNumber == 9003))) {
          zq::releaseStatusList(status);
          r = remote.exchangeKeys(ctx, control, d, *binding, useCallLock, status);
        }
        return r;
      });
    }
    if (rc >= ZQ_RETURN_ERROR) {
      st->bindings[d].remove_if([&](auto& b) { return b.get() == binding; });
      st->current[d] = nullptr;
      return rc;
    }
  }

  // A key exchange binds for its own messages before the keys exist; the
  // settings are asked by the binding that started it, once they do.
  if (!findOptions(ctx, control->server) && !remote.exchangingKeys(ctx)) {
    auto options = std::unique_ptr<ServerOptions>(new (std::nothrow) ServerOptions);
    if (!options) return addError(status, kMsgNoMemory);
    options->name = control->server;
    ServerOptions* fresh = options.get();
    st->options.push_front(std::move(options));
    ctx->serverCharset = 0;
    int rc = unlocked(
        [&] { return askServerSettings(ctx, control, fresh, useCallLock, remote, status); });
    if (rc >= ZQ_RETURN_ERROR) {
      if (created) {
        st->bindings[d].remove_if([&](auto& b) { return b.get() == binding; });
        if (st->current[d] == binding) st->current[d] = nullptr;
      }
      st->options.remove_if([&](auto& o) { return o.get() == fresh; });
      if (st->currentOptions == fresh) st->currentOptions = nullptr;
      return rc;
    }
  }

  chooseLocale(control);
  if (!control->charSet[0]) {
    uint32_t id = platform::charsetOfLocale(control->locale[0] ? control->locale : nullptr);
    copyName(control->charSet, platform::charsetName(id), sizeof control->charSet);
  }
  // Names are looked up again only when they changed since the last bind.
  TransportState::CharsetMemo& memo = st->charsets;
  ServerOptions* options = findOptions(ctx, control->server);
  static const std::string kNoLanguage;
  const std::string& language = options ? options->language : kNoLanguage;
  const bool memoHolds =
      memo.valid && memo.clientName == control->charSet && memo.serverLanguage == language;
  ctx->clientCharset = memoHolds ? memo.client : platform::charsetId(control->charSet);

  // The client information text: "%u:%s:%s" of the authentication string's
  // length, the string and the client host identity; built in place, so
  // that an unchanged text costs no allocation.
  char prefix[16];
  snprintf(prefix, sizeof prefix, "%u:", static_cast<unsigned>(strlen(control->authString)));
  st->clientInfo.assign(prefix);
  st->clientInfo.append(control->authString);
  st->clientInfo.push_back(':');
  st->clientInfo.append(ctx->clientHostIdentity);

  if (header) {
    memset(header, 0, sizeof *header);
    Binding* current = st->current[d];
    header->cacheId = (ctx->cacheIdManaged || !current) ? control->cacheId : current->cacheId;
    header->operationTime = control->operationTime;
    header->user = control->user[0] ? control->user : nullptr;
    header->password = ctx->protectedPassword;
    header->clientInfo.type = 7;
    header->clientInfo.count = static_cast<uint32_t>(st->clientInfo.size() + 1);
    header->clientInfo.bytes =
        reinterpret_cast<unsigned char*>(const_cast<char*>(st->clientInfo.c_str()));
    char* locales[6] = {control->locale,       control->charSet,      control->localeExtra1,
                        control->localeExtra2, control->localeExtra3, control->localeExtra4};
    for (int i = 0; i < 6; ++i) header->localeBlock[i] = locales[i][0] ? locales[i] : nullptr;
    header->logMask = ctx->serverLogMask;
    header->clientOption = static_cast<uint32_t>(ctx->settings.clientOption);
    header->clientType = static_cast<uint32_t>(ctx->settings.clientType);
    header->flags = ctx->settings.headerFlag ? 1u : 0u;
    header->lastChunk = 1;
  }

  st->currentOptions = options;
  if (memoHolds) {
    ctx->serverCharset = memo.server;
  } else {
    std::string serverSet;
    if (language.find("SJIS") != std::string::npos)
      serverSet = "SJIS";
    else if (language.find("UTF-8") != std::string::npos)
      serverSet = "UTF-8";
    else
      serverSet = language;
    uint32_t serverId = platform::charsetId(serverSet.c_str());
    if (serverId == platform::kCharsetUnknown)
      serverId = platform::charsetOfLocale(serverSet.c_str());
    if (ctx->clientCharset == platform::kCharsetUtf8 && serverId != platform::kCharsetUtf8)
      serverId = remapForUtf8Client(serverId);
    ctx->serverCharset = serverId;
    memo.valid = false;
    memo.clientName = control->charSet;
    memo.serverLanguage = language;
    memo.client = ctx->clientCharset;
    memo.server = serverId;
    memo.valid = true;
  }

  std::string password = control->password;
  if (ctx->clientCharset != ctx->serverCharset && (ctx->clientCharset == platform::kCharsetUtf8 ||
                                                   ctx->serverCharset == platform::kCharsetUtf8)) {
    std::string converted;
    auto r = platform::convert(ctx->clientCharset, ctx->serverCharset, password.data(),
                               password.size(), converted);
    if (r == platform::ConvertResult::noMemory)
      return addError(status, kMsgNoMemory, "ZQLoadRPCControlStruct1: TranscodePassword");
    if (r == platform::ConvertResult::ok) {
      if (converted.size() > 30)
        return addError(status, kMsgTooLongForServer, "ZQLoadRPCControlStruct1: TranscodePassword");
      password = converted;
    }
  }
  Binding* current = st->current[d];
  const uint32_t version = current ? static_cast<uint32_t>(current->version) : 0;
  // Protecting is costly (a cipher) and its result stays valid: reuse it
  // while the password, the form (by version) and, for the legacy form keyed
  // with the operation time, that time are the same.
  PasswordCache& cache = st->passwordCache;
  const bool legacy = version < 12;
  if (cache.valid && cache.plain == password && cache.legacy == legacy &&
      (!legacy || cache.operationTime == control->operationTime)) {
    memcpy(ctx->protectedPassword, cache.protectedText, sizeof ctx->protectedPassword);
  } else {
    cache.valid = false;
    if (int rc = security::protectHeaderPassword(password.c_str(), control->operationTime, version,
                                                 ctx->protectedPassword))
      return addError(status, rc);
    cache.plain = password;
    cache.legacy = legacy;
    cache.operationTime = control->operationTime;
    memcpy(cache.protectedText, ctx->protectedPassword, sizeof cache.protectedText);
    cache.valid = true;
  }

  if (provisional && hasOtherQueueBinding(st, control->server)) {
    bool reachable = false;
    for (uint32_t q : {kQueueAdmin, kQueueFast})
      for (auto& b : st->bindings[q])
        if (b->server == control->server && b->version >= 7) reachable = true;
    if (reachable && !st->bindings[kQueueList].empty()) {
      st->bindings[kQueueList].pop_front();
      st->current[kQueueList] = nullptr;
    }
  }
  return returnCode(status);
}

void recordCacheId(ZQControlStruct* control, uint32_t queue) {
  ZQThreadContext* ctx = zq::findContext(control, nullptr);
  TransportState* st = stateOf(ctx);
  if (!st) return;
  if (Impersonation* imp = std::exchange(st->impersonationInFlight, nullptr))
    imp->sessionCacheId = control->cacheId;
  if (ctx->cacheIdManaged) return;
  uint32_t q = queue;
  if (queue != kQueueAdmin) {
    ServerRecord* server = findServer(ctx, control->server);
    if (ctx->settings.rpcProgram != 0)
      q = ctx->settings.rpcProgram != kProgramAdmin ? kQueueFast : kQueueAdmin;
    else if (server && server->program != 0)
      q = server->program != kProgramAdmin ? kQueueFast : kQueueAdmin;
  }
  Binding* b = st->current[q];
  if (!b || !matches(*b, control, false)) {
    b = nullptr;
    for (auto& candidate : st->bindings[q])
      if (matches(*candidate, control)) b = candidate.get();
    if (!b) return;
    st->current[q] = b;
  }
  b->cacheId = control->cacheId;
  if (q == kQueueList) b->listCacheIds[35] = control->cacheId;
}

}  // namespace zq::transport
