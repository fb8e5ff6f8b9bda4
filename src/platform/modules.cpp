#include "platform/modules.h"

#include <dlfcn.h>
#include <limits.h>

namespace zq::platform {

void* openLibrary(const std::string& name) {
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle || name.find('/') != std::string::npos) return handle;
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&openLibrary), &info) || !info.dli_fname) return nullptr;
  std::string path = info.dli_fname;
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return nullptr;
  path.resize(slash + 1);
  path += name;
  if (path.size() >= PATH_MAX) return nullptr;
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace zq::platform
