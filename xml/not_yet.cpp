// Entry points whose XML form is not written yet: the ordinal-only readers.
// They refuse with a message, so that the library is complete for the
// loader and no caller is misled.
#include "documents.h"

using namespace zq;

namespace {
int notYet(ZQStatusList* status) {
  return addError(status, kMsgXmlNotSupported);
}
}  // namespace

extern "C" {

int GetComplexEntryCreateFromXML(ZQXMLInputDoc*, ZQNameType, uint32_t, ZQFieldValueList*,
                                 ZQStatusList* status) {
  return notYet(status);
}

int GetLockBlockFromXML(ZQXMLParsedStream*, uint32_t*, char**, ZQStructItemList*, char**, char**,
                        ZQStatusList* status) {
  return notYet(status);
}

int GetSchemaDataFromXML(ZQXMLParsedStream*, const char*, uint32_t, uint32_t, ZQInternalIdList*,
                         ZQFieldValueListList*, ZQStatusList* status) {
  return notYet(status);
}

}  // extern "C"
