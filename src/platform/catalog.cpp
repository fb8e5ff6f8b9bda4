#include "platform/catalog.h"

#include <dlfcn.h>
#include <nl_types.h>

#include <mutex>
#include <vector>

#ifndef ZQ_CATALOG_NAME
#define ZQ_CATALOG_NAME "zqsystem.cat"
#endif

namespace zq::platform {
namespace {

std::mutex& tableMutex() {
  static std::mutex m;
  return m;
}
std::vector<nl_catd>& handles() {
  static std::vector<nl_catd> h;
  return h;
}
std::string& overridePath() {
  static std::string p;
  return p;
}

std::string libraryDirectory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&catalogOpen), &info) && info.dli_fname) {
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos) return path.substr(0, slash);
  }
  return ".";
}

nl_catd openCatalog() {
  std::string over;
  {
    std::lock_guard<std::mutex> lock(tableMutex());
    over = overridePath();
  }
  if (!over.empty()) return catopen(over.c_str(), 0);
  nl_catd cd = catopen(ZQ_CATALOG_NAME, 0);
  if (cd != (nl_catd)-1) return cd;
  const std::string here = libraryDirectory();
  cd = catopen((here + "/" + ZQ_CATALOG_NAME).c_str(), 0);
#ifdef ZQ_CATALOG_INSTALL_DIRS
  // An installed library (or a program linked with the static archive) finds
  // the installed catalog relative to its own folder first, so that a moved
  // installation tree keeps working, then at the path it was installed to.
  for (const char* dir : {ZQ_CATALOG_INSTALL_DIRS}) {
    if (cd != (nl_catd)-1) break;
    const std::string path = dir[0] == '/' ? std::string(dir) : here + "/" + dir;
    cd = catopen((path + "/" + ZQ_CATALOG_NAME).c_str(), 0);
  }
#endif
  return cd;
}

nl_catd lookup(int handle) {
  std::lock_guard<std::mutex> lock(tableMutex());
  if (handle < 0 || static_cast<size_t>(handle) >= handles().size()) return (nl_catd)-1;
  return handles()[handle];
}

}  // namespace

int catalogOpen() {
  nl_catd cd = openCatalog();
  if (cd == (nl_catd)-1) return -1;
  std::lock_guard<std::mutex> lock(tableMutex());
  auto& h = handles();
  for (size_t i = 0; i < h.size(); ++i) {
    if (h[i] == (nl_catd)-1) {
      h[i] = cd;
      return static_cast<int>(i);
    }
  }
  h.push_back(cd);
  return static_cast<int>(h.size() - 1);
}

void catalogClose(int handle) {
  nl_catd cd;
  {
    std::lock_guard<std::mutex> lock(tableMutex());
    if (handle < 0 || static_cast<size_t>(handle) >= handles().size()) return;
    cd = handles()[handle];
    handles()[handle] = (nl_catd)-1;
  }
  if (cd != (nl_catd)-1) catclose(cd);
}

std::string catalogGet(int handle, int set, int number, const char* def) {
  nl_catd cd = lookup(handle);
  if (cd == (nl_catd)-1) return def ? def : "";
  const char* s = catgets(cd, set, number, def ? def : "");
  return s ? s : "";
}

void setCatalogPathForTesting(const std::string& path) {
  std::lock_guard<std::mutex> lock(tableMutex());
  overridePath() = path;
}

}  // namespace zq::platform
