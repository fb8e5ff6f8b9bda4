// The bridge to the XML library (libzqxmlutil.so): loading it on first use,
// forwarding the XML calls to its entry points, and the parser handle each
// thread context keeps.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "xml/entry_points.h"
#include "zqapi/zq_xml.h"
#include "zqxmlutil.h"  // the entry points' types

namespace zq::xml {

inline constexpr const char* kLibraryName = "libzqxmlutil.so";

enum class Slot : unsigned {
#define ZQ_XML_SLOT(name) name,
  ZQ_XML_ENTRY_POINTS(ZQ_XML_SLOT)
#undef ZQ_XML_SLOT
      count_
};
inline constexpr unsigned kSlotCount = static_cast<unsigned>(Slot::count_);

// The type of each slot: the entry point's own prototype.
template <Slot S>
struct SlotType;
#define ZQ_XML_SLOT_TYPE(name)      \
  template <>                       \
  struct SlotType<Slot::name> {     \
    using type = decltype(&::name); \
  };
ZQ_XML_ENTRY_POINTS(ZQ_XML_SLOT_TYPE)
#undef ZQ_XML_SLOT_TYPE

// Loads the library and resolves every entry point unless done already.
// Returns 0, or kMsgXmlLibraryMissing when the library or one of its entry
// points is missing (nothing is used then; the next call tries again).
int load();
bool loaded();
// The resolved address of an entry point (null until found).
void* address(Slot s);

template <Slot S>
typename SlotType<S>::type entry() {
  return reinterpret_cast<typename SlotType<S>::type>(address(S));
}

// What a forwarder does before its call.
enum class Before { nothing, initParser };

// Loads the library (a failure adds error 8953 to status) and, with
// initParser, runs InitXMLParser. Returns 0 or the code to return.
int prepare(Before before, ZQStatusList* status);

// The parser handle of the control record's thread context, created on first
// use; *handle is set when the result is 0.
int parserHandle(ZQControlStruct* control, ZQStatusList* status, ZQXMLParserHandle** handle);

// OK and warnings become 0; errors are returned unchanged.
inline int result(int rc) {
  return rc < ZQ_RETURN_ERROR ? ZQ_RETURN_OK : rc;
}

template <Slot S, class... Args>
int forward(Before before, ZQStatusList* status, Args&&... args) {
  if (int rc = prepare(before, status)) return rc;
  return result(entry<S>()(static_cast<Args&&>(args)..., status));
}

template <Slot S, class... Args>
int forwardWithParser(ZQControlStruct* control, ZQStatusList* status, Args&&... args) {
  ZQXMLParserHandle* handle = nullptr;
  if (int rc = parserHandle(control, status, &handle)) return rc;
  return result(entry<S>()(handle, static_cast<Args&&>(args)..., status));
}

// The Free functions: load if needed (8953 when that fails), then the
// library's own release.
template <Slot S, class Doc>
int release(Doc* doc, ZQBoolean freeStruct) {
  if (load() != 0) return kMsgXmlLibraryMissing;
  return entry<S>()(doc, freeStruct);
}

// Releases a parser handle when the library is loaded; without it no handle
// can have been created.
int releaseParserHandle(ZQXMLParserHandle* handle, ZQBoolean freeStruct);

namespace testing {
// Tests load stand-in libraries: another name (null: the default), and a
// reset of the loader's state (the loaded modules stay mapped).
void setLibraryName(const char* name);
void resetLoader();
// Loads that found every entry point.
int completeLoads();
}  // namespace testing

}  // namespace zq::xml
