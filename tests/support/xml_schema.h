// Validation of a document against docs/zqxml.xsd with libxml2's schema
// validator (ZQ_XML_SCHEMA names the file).
#pragma once

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstring>

namespace zqtest {

inline bool validAgainstXmlSchema(const char* text) {
  xmlSchemaParserCtxtPtr pc = xmlSchemaNewParserCtxt(ZQ_XML_SCHEMA);
  xmlSchemaPtr schema = pc ? xmlSchemaParse(pc) : nullptr;
  xmlSchemaValidCtxtPtr vc = schema ? xmlSchemaNewValidCtxt(schema) : nullptr;
  xmlDocPtr doc =
      xmlReadMemory(text, static_cast<int>(strlen(text)), nullptr, nullptr, XML_PARSE_NONET);
  const bool ok = vc && doc && xmlSchemaValidateDoc(vc, doc) == 0;
  xmlFreeDoc(doc);
  if (vc) xmlSchemaFreeValidCtxt(vc);
  if (schema) xmlSchemaFree(schema);
  if (pc) xmlSchemaFreeParserCtxt(pc);
  return ok;
}

}  // namespace zqtest
