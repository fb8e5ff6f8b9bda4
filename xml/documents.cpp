#include "documents.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <cstring>
#include <mutex>

#include "objects.h"
#include "visitors.h"

namespace zq::xmlutil {

std::string toHex(const unsigned char* data, size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string out(n * 2, '0');
  for (size_t i = 0; i < n; ++i) {
    out[2 * i] = digits[data[i] >> 4];
    out[2 * i + 1] = digits[data[i] & 15];
  }
  return out;
}

bool fromHex(const char* text, std::string& out) {
  auto value = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  size_t n = strlen(text);
  if (n % 2) return false;
  out.resize(n / 2);
  for (size_t i = 0; i < n / 2; ++i) {
    int hi = value(text[2 * i]), lo = value(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<char>(hi * 16 + lo);
  }
  return true;
}

xmlDocPtr newDocument() {
  xmlDocPtr doc = xmlNewDoc(X("1.0"));
  if (!doc) return nullptr;
  xmlNodePtr root = xmlNewDocNode(doc, nullptr, X("document"), nullptr);
  if (!root) {
    xmlFreeDoc(doc);
    return nullptr;
  }
  xmlDocSetRootElement(doc, root);
  xmlNsPtr ns = xmlNewNs(root, X(kNamespace), nullptr);
  xmlSetNs(root, ns);
  xmlSetProp(root, X("version"), X(kFormatVersion));
  return doc;
}

namespace {

// Nothing from outside the document: no network, no DTD loaded, entities
// left as they are (a document with a DTD is refused below), no huge texts.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

int unreadable(ZQStatusList* status, const char* why) {
  return addError(status, kMsgXmlUnreadable, why);
}

}  // namespace

xmlDocPtr readDocument(const ZQXMLInputDoc* input, ZQStatusList* status) {
  if (!input || !input->u.charBuffer) {
    unreadable(status, "no document");
    return nullptr;
  }
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) {
    addError(status, kMsgNoMemory);
    return nullptr;
  }
  xmlDocPtr doc = nullptr;
  if (input->docType == ZQ_XML_DOC_CHAR_STR) {
    const size_t n = strlen(input->u.charBuffer);
    if (n > INT32_MAX) {
      xmlFreeParserCtxt(ctxt);
      unreadable(status, "document too large");
      return nullptr;
    }
    doc = xmlCtxtReadMemory(ctxt, input->u.charBuffer, static_cast<int>(n), nullptr, nullptr,
                            kParseOptions);
  } else if (input->docType == ZQ_XML_DOC_FILE_NAME) {
    doc = xmlCtxtReadFile(ctxt, input->u.fileName, nullptr, kParseOptions);
  } else {
    xmlFreeParserCtxt(ctxt);
    unreadable(status, "unknown kind of document");
    return nullptr;
  }
  std::string why;
  if (!doc) {
    const xmlError* e = xmlCtxtGetLastError(ctxt);
    why = e && e->message ? e->message : "not well-formed";
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
  }
  xmlFreeParserCtxt(ctxt);
  if (!doc) {
    unreadable(status, why.c_str());
    return nullptr;
  }
  xmlNodePtr root = xmlDocGetRootElement(doc);
  const char* refusal = nullptr;
  if (doc->intSubset || doc->extSubset)
    refusal = "a document type declaration is not accepted";
  else if (!root || strcmp(C(root->name), "document") != 0 || !root->ns ||
           strcmp(C(root->ns->href), kNamespace) != 0)
    refusal = "not a document of this format";
  if (!refusal) {
    xmlChar* version = xmlGetProp(root, X("version"));
    if (!version || strcmp(C(version), kFormatVersion) != 0) refusal = "unknown format version";
    xmlFree(version);
  }
  if (refusal) {
    xmlFreeDoc(doc);
    unreadable(status, refusal);
    return nullptr;
  }
  return doc;
}

bool writeDocument(xmlDocPtr doc, ZQXMLOutputDoc* out, ZQStatusList* status) {
  if (!out) {
    addError(status, kMsgNullArgument);
    return false;
  }
  if (out->docType == ZQ_XML_DOC_FILE_NAME) {
    if (!out->u.fileName || xmlSaveFormatFileEnc(out->u.fileName, doc, "UTF-8", 1) < 0) {
      addError(status, kMsgXmlUnreadable, "the file cannot be written");
      return false;
    }
    return true;
  }
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &text, &size, "UTF-8", 1);
  if (!text) {
    addError(status, kMsgNoMemory);
    return false;
  }
  char* copy = dupString(C(text));
  xmlFree(text);
  if (!copy) {
    addError(status, kMsgNoMemory);
    return false;
  }
  freeBlock(out->u.charBuffer);
  out->docType = ZQ_XML_DOC_CHAR_STR;
  out->u.charBuffer = copy;
  return true;
}

xmlNodePtr childElement(xmlNodePtr parent, const char* name) {
  for (xmlNodePtr c = parent ? parent->children : nullptr; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && strcmp(C(c->name), name) == 0) return c;
  return nullptr;
}

}  // namespace zq::xmlutil

using namespace zq;
using namespace zq::xmlutil;

extern "C" {

int InitXMLParser(ZQStatusList*) {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
  return 0;
}

int CreateXMLParserHandle(ZQXMLParserHandle* handle, ZQStatusList* status) {
  if (!handle) return addError(status, kMsgNullArgument);
  // The handle marks the thread's parser as made; libxml2 keeps no state we
  // need per thread beyond its own.
  handle->state = handle;
  return 0;
}

int FreeZQXMLParserHandleInternal(ZQXMLParserHandle* handle, ZQBoolean freeStruct) {
  if (!handle) return 0;
  handle->state = nullptr;
  if (freeStruct) freeBlock(handle);
  return 0;
}

int FreeZQXMLInputDocInternal(ZQXMLInputDoc* doc, ZQBoolean freeStruct) {
  if (!doc) return 0;
  freeBlock(doc->u.charBuffer);
  doc->u.charBuffer = nullptr;
  if (freeStruct) freeBlock(doc);
  return 0;
}

int FreeZQXMLOutputDocInternal(ZQXMLOutputDoc* doc, ZQBoolean freeStruct) {
  if (!doc) return 0;
  if (doc->state) xmlFreeDoc(static_cast<xmlDocPtr>(doc->state));
  doc->state = nullptr;
  freeBlock(doc->u.charBuffer);
  doc->u.charBuffer = nullptr;
  if (freeStruct) freeBlock(doc);
  return 0;
}

int FreeZQXMLParsedStreamInternal(ZQXMLParsedStream* parsed, ZQBoolean freeStruct) {
  if (!parsed) return 0;
  if (parsed->state) xmlFreeDoc(static_cast<xmlDocPtr>(parsed->state));
  parsed->state = nullptr;
  if (freeStruct) freeBlock(parsed);
  return 0;
}

int ParseXMLDocument(ZQXMLParserHandle*, ZQXMLInputDoc* input, ZQStructItemList* wanted,
                     ZQXMLParsedStream* parsed, ZQStructItemList* found, ZQStructItemList* missing,
                     ZQStatusList* status) {
  if (!parsed) return addError(status, kMsgNullArgument);
  xmlDocPtr doc = readDocument(input, status);
  if (!doc) return ZQ_RETURN_ERROR;
  // found: the wanted objects present (every object when none is wanted);
  // missing: the wanted ones absent. Nothing is filled unless all is.
  ZQStructItemList present{}, gotFound{}, gotMissing{};
  bool ok = listObjects(doc, present);
  if (ok && wanted && wanted->count) {
    ZQStructItemList* lists[2] = {&gotFound, &gotMissing};
    for (int pass = 0; pass < 2 && ok; ++pass) {
      ZQStructItemList& into = *lists[pass];
      into.items =
          static_cast<ZQStructItemStruct*>(allocZeroed(wanted->count, sizeof(ZQStructItemStruct)));
      ok = into.items != nullptr;
      for (uint32_t i = 0; ok && i < wanted->count; ++i) {
        const ZQStructItemStruct& w = wanted->items[i];
        bool there = false;
        for (uint32_t j = 0; j < present.count && !there; ++j)
          there = (present.items[j].type == (w.type & ~ZQ_STRUCT_ITEM_MODIFIER)) &&
                  strcmp(present.items[j].name, w.name) == 0;
        if (there != (pass == 0)) continue;
        ZQStructItemStruct& item = into.items[into.count++];
        item.type = w.type;
        copyName(item.name, w.name, sizeof item.name);
      }
    }
  } else if (ok) {
    gotFound = present;
    present = ZQStructItemList{};
  }
  model::FreeVisitor release;
  model::describe(release, present);
  if (!ok) {
    model::describe(release, gotFound);
    model::describe(release, gotMissing);
    xmlFreeDoc(doc);
    return addError(status, kMsgNoMemory);
  }
  if (found)
    *found = gotFound;
  else
    model::describe(release, gotFound);
  if (missing)
    *missing = gotMissing;
  else
    model::describe(release, gotMissing);
  if (parsed->state) xmlFreeDoc(static_cast<xmlDocPtr>(parsed->state));
  parsed->state = doc;
  return 0;
}

int SetDocHeaderToXML(ZQXMLOutputDoc* doc, uint32_t, ZQStatusList* status) {
  if (!doc) return addError(status, kMsgNullArgument);
  if (doc->state) xmlFreeDoc(static_cast<xmlDocPtr>(doc->state));
  doc->state = newDocument();
  return doc->state ? 0 : addError(status, kMsgNoMemory);
}

int SetDocFooterToXML(ZQXMLOutputDoc* doc, uint32_t, ZQStatusList* status) {
  if (!doc || !doc->state) return addError(status, kMsgNullArgument);
  auto* xdoc = static_cast<xmlDocPtr>(doc->state);
  const bool ok = writeDocument(xdoc, doc, status);
  xmlFreeDoc(xdoc);
  doc->state = nullptr;
  return ok ? 0 : ZQ_RETURN_ERROR;
}

}  // extern "C"
