// Documents of libzqxmlutil: the root element, reading and writing.
#pragma once

#include <libxml/tree.h>

#include <string>

#include "frame/frame.h"
#include "zqxmlutil.h"

namespace zq::xmlutil {

inline constexpr const char* kNamespace = "urn:zqapi:xml";
inline constexpr const char* kFormatVersion = "1";

// A new document with its root element (namespace and version set).
xmlDocPtr newDocument();
// Parses an input document: no network, no DTD, no entities; the root must be
// ours in a version we read. Adds kMsgXmlUnreadable (with libxml2's reason)
// and gives null on failure.
xmlDocPtr readDocument(const ZQXMLInputDoc* input, ZQStatusList* status);
// Writes doc (with its declaration and encoding) into out; false on failure.
bool writeDocument(xmlDocPtr doc, ZQXMLOutputDoc* out, ZQStatusList* status);
// The first child element of parent called name, in our namespace (or null).
xmlNodePtr childElement(xmlNodePtr parent, const char* name);

}  // namespace zq::xmlutil
