// Loading the XML library: once per process, never unloaded. The loaded flag
// is set only when every entry point has been found, so a library that lacks
// one is never used; a failure is retried by the next call.
#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "frame/frame.h"
#include "platform/platform.h"
#include "xml/xml.h"

namespace zq::xml {
namespace {

std::atomic<uint8_t> g_loaded{0};
std::atomic<void*> g_slots[kSlotCount];
std::string g_libraryName = kLibraryName;
std::atomic<int> g_completeLoads{0};

constexpr const char* kEntryNames[] = {
#define ZQ_XML_NAME(name) #name,
    ZQ_XML_ENTRY_POINTS(ZQ_XML_NAME)
#undef ZQ_XML_NAME
};
static_assert(sizeof kEntryNames / sizeof kEntryNames[0] == kSlotCount);

std::recursive_mutex& loadLock() {
  return platform::processLock(platform::ProcessLock::xmlLibrary);
}

}  // namespace

bool loaded() {
  return g_loaded.load(std::memory_order_acquire) != 0;
}

void* address(Slot s) {
  return g_slots[static_cast<unsigned>(s)].load(std::memory_order_relaxed);
}

int load() {
  if (loaded()) return 0;
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  if (loaded()) return 0;
  // A module found before stays mapped; opening it again only counts up.
  void* module = platform::openLibrary(g_libraryName);
  if (!module) return kMsgXmlLibraryMissing;
  for (unsigned i = 0; i < kSlotCount; ++i) {
    void* found = dlsym(module, kEntryNames[i]);
    if (!found) return kMsgXmlLibraryMissing;
    g_slots[i].store(found, std::memory_order_relaxed);
  }
  g_completeLoads.fetch_add(1, std::memory_order_relaxed);
  g_loaded.store(1, std::memory_order_release);
  return 0;
}

int prepare(Before before, ZQStatusList* status) {
  if (load() != 0) return addError(status, kMsgXmlLibraryMissing, "");
  if (before == Before::initParser) {
    int rc = entry<Slot::InitXMLParser>()(status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return 0;
}

namespace testing {

void setLibraryName(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  g_libraryName = name ? name : kLibraryName;
}

void resetLoader() {
  std::lock_guard<std::recursive_mutex> lock(loadLock());
  g_loaded.store(0, std::memory_order_release);
  for (auto& s : g_slots) s.store(nullptr, std::memory_order_relaxed);
}

int completeLoads() {
  return g_completeLoads.load(std::memory_order_relaxed);
}

}  // namespace testing

}  // namespace zq::xml
