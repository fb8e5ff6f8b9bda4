#include "platform/sync.h"

namespace zq::platform {

std::recursive_mutex& processLock(ProcessLock which) {
  static std::recursive_mutex locks[static_cast<int>(ProcessLock::count_)];
  return locks[static_cast<int>(which)];
}

}  // namespace zq::platform
