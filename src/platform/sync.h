// Process-wide locks, created with the library and never destroyed while it
// is loaded.
#pragma once

#include <mutex>

namespace zq::platform {

enum class ProcessLock {
  dateTimeSettings,
  keywordTables,
  logFileCounter,
  xmlLibrary,
  encryptionLibrary,
  clientIdentity,
  identityGenerator,
  count_
};

std::recursive_mutex& processLock(ProcessLock which);

}  // namespace zq::platform
