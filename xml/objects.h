// The definition objects of a parsed document: their kinds and names.
#pragma once

#include <libxml/tree.h>

#include "zqxmlutil.h"

namespace zq::xmlutil {

// The object kind of an element name (0: not a definition object).
uint32_t objectKind(const char* element);
// Lists the objects under the document's root into objects (emptied first);
// false when out of memory (objects then empty).
bool listObjects(xmlDocPtr doc, ZQStructItemList& objects);

}  // namespace zq::xmlutil
