// Impersonation records: while one exists for a server and a real user,
// every call to that server runs as the impersonated user, in a session of
// its own on the server.
#pragma once

#include <cstdint>
#include <string>

#include "frame/frame.h"

namespace zq::transport {

inline constexpr size_t kMaxRealUser = 30;

struct Impersonation {
  std::string server;
  std::string realUser;        // at most 30 characters
  std::string impersonated;    // the login the calls carry (client property 1)
  int32_t sessionCacheId = 0;  // the impersonated session; 0 until its first call
  int32_t earlierCacheId = 0;  // the control record's cache id before it began
};

// The record that applies to a control record's calls: its server and user,
// and a cache id of the impersonation's lineage (the one from before it, or
// its own session's), or null.
Impersonation* findImpersonation(ZQThreadContext* ctx, const ZQControlStruct* control);
// Adds a record; false without memory.
bool addImpersonation(ZQThreadContext* ctx, Impersonation record);
void removeImpersonation(ZQThreadContext* ctx, const Impersonation* record);

// Writes a cache id into the control record's bindings of every queue.
void setBindingCacheIds(ZQThreadContext* ctx, const ZQControlStruct* control, int32_t cacheId);

}  // namespace zq::transport
