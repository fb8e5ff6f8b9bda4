// The objects of a document of many: one element each under the root, with a
// name attribute (and for fields and views a form attribute), written and read
// through the object's one description. A document the header started
// collects them; without a header each object is a document of its own.
#pragma once

#include <cstring>
#include <string>

#include "documents.h"
#include "visitors.h"

namespace zq::xmlutil {

inline std::string attribute(xmlNodePtr node, const char* name) {
  xmlChar* value = xmlGetProp(node, X(name));
  std::string out = value ? C(value) : "";
  xmlFree(value);
  return out;
}

// The element of the named object (for fields and views, of that form); a
// null name takes the first element of that kind.
inline xmlNodePtr findObject(xmlDocPtr doc, const char* element, const char* form,
                             const char* name) {
  for (xmlNodePtr c = xmlDocGetRootElement(doc)->children; c; c = c->next) {
    if (c->type != XML_ELEMENT_NODE || strcmp(C(c->name), element) != 0) continue;
    if (name && attribute(c, "name") != name) continue;
    if (form && attribute(c, "form") != form) continue;
    return c;
  }
  return nullptr;
}

template <class Obj>
void release(Obj& o) {
  model::FreeVisitor f;
  describe(f, o);
}

inline bool badName(const char* name) {
  return !name || !*name || strlen(name) > ZQ_MAX_NAME_SIZE;
}

// Adds the object to the document the header started, or writes a document
// of this one object. A null name writes an element without one.
template <class Obj>
int addObject(ZQXMLOutputDoc* out, const char* element, const char* form, const char* name, Obj& o,
              ZQStatusList* status) {
  if (!out) return addError(status, kMsgNullArgument);
  const bool own = out->state == nullptr;
  auto* doc = own ? newDocument() : static_cast<xmlDocPtr>(out->state);
  if (!doc) return addError(status, kMsgNoMemory);
  xmlNodePtr node = xmlNewChild(xmlDocGetRootElement(doc), nullptr, X(element), nullptr);
  bool ok = node != nullptr;
  if (ok && name) ok = xmlSetProp(node, X("name"), X(name)) != nullptr;
  if (ok && form) ok = xmlSetProp(node, X("form"), X(form)) != nullptr;
  if (ok) {
    XmlWriter w(node);
    describe(w, o);
    ok = w.ok();
  }
  if (!ok) {
    // A document of many keeps what it held before this object.
    if (node) {
      xmlUnlinkNode(node);
      xmlFreeNode(node);
    }
    if (own) xmlFreeDoc(doc);
    return addError(status, kMsgXmlUnreadable, "a value has no XML form");
  }
  if (!own) return 0;
  ok = writeDocument(doc, out, status);
  xmlFreeDoc(doc);
  return ok ? 0 : ZQ_RETURN_ERROR;
}

// A named object (and, for fields and views, its form).
template <class Obj>
int setObject(ZQXMLOutputDoc* out, const char* element, const char* form, const char* name, Obj& o,
              ZQStatusList* status) {
  if (!out) return addError(status, kMsgNullArgument);
  if (badName(name) || (form && badName(form)))
    return addError(status, kMsgXmlUnreadable, "an object needs a name of 1 to 254 characters");
  return addObject(out, element, form, name, o, status);
}

// Reads the object into o (zeroed first). On failure o holds nothing. A null
// name reads the first element of that kind.
template <class Obj>
int readObject(ZQXMLParsedStream* parsed, const char* element, const char* form, const char* name,
               Obj& o, ZQStatusList* status) {
  memset(static_cast<void*>(&o), 0, sizeof o);
  if (!parsed || !parsed->state) return addError(status, kMsgNullArgument);
  xmlNodePtr node = findObject(static_cast<xmlDocPtr>(parsed->state), element, form, name);
  const std::string subject = name ? std::string(element) + " " + name : std::string(element);
  if (!node) {
    const std::string why = "no " + subject + " in the document";
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  XmlReader r(node);
  describe(r, o);
  if (!r.ok()) {
    release(o);
    memset(static_cast<void*>(&o), 0, sizeof o);
    const std::string why = subject + ", at " + r.failedAt();
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  return 0;
}

// Reads the named object.
template <class Obj>
int getObject(ZQXMLParsedStream* parsed, const char* element, const char* form, const char* name,
              Obj& o, ZQStatusList* status) {
  if (!name) {
    memset(static_cast<void*>(&o), 0, sizeof o);
    return addError(status, kMsgNullArgument);
  }
  return readObject(parsed, element, form, name, o, status);
}

// Hands a member to the caller's output (when given) and leaves the object
// without it; what is not handed over is released with the object.
template <class T>
void give(T* out, T& member) {
  if (!out) return;
  *out = member;
  member = T{};
}
inline void giveName(char* out, const char* member, size_t width) {
  if (out) copyName(out, member, width);
}

}  // namespace zq::xmlutil
