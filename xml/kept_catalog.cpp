// This library carries its own copy of libzqapi's message table, with its
// own catalog handle. Without one kept open, every status message it adds
// would search for, open and close the catalog file again.
#include "platform/catalog.h"
#include "zqapi/zqapi.h"

namespace {

struct KeptCatalog {
  KeptCatalog() {
    if (ZQMessageCatalogHandle == -1) ZQMessageCatalogHandle = zq::platform::catalogOpen();
  }
  ~KeptCatalog() {
    zq::platform::catalogClose(ZQMessageCatalogHandle);
    ZQMessageCatalogHandle = -1;
  }
};

const KeptCatalog kept;

}  // namespace
