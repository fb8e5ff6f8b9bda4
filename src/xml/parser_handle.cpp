// The parser handle of a thread context: created by the first parse or
// object listing on it, released with the context.
#include "frame/frame.h"
#include "xml/xml.h"

namespace zq::xml {
namespace {

struct XmlState : SubsystemState {
  ZQXMLParserHandle handle{};  // first word 0 until created
  ~XmlState() override { releaseParserHandle(&handle, 0); }
};

}  // namespace

int releaseParserHandle(ZQXMLParserHandle* handle, ZQBoolean freeStruct) {
  if (!loaded()) return 0;
  return entry<Slot::FreeZQXMLParserHandleInternal>()(handle, freeStruct);
}

int parserHandle(ZQControlStruct* control, ZQStatusList* status, ZQXMLParserHandle** handle) {
  ZQThreadContext* ctx = findContext(control, nullptr);
  if (!ctx) return ZQ_RETURN_FATAL;
  if (!ctx->xml) {
    ctx->xml.reset(new (std::nothrow) XmlState);
    if (!ctx->xml) return addError(status, kMsgNoMemory);
  }
  ZQXMLParserHandle* h = &static_cast<XmlState*>(ctx->xml.get())->handle;
  if (!h->state) {
    if (int rc = prepare(Before::initParser, status)) return rc;
    int rc = entry<Slot::CreateXMLParserHandle>()(h, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  *handle = h;
  return 0;
}

}  // namespace zq::xml
