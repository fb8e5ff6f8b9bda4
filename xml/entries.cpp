// Entry requests and replies in XML form: one element per call holding its
// <request> and <reply>, each written and read by the same description below.
#include <cstring>

#include "documents.h"
#include "visitors.h"

namespace zq::xmlutil {
namespace {

struct CreateCall {
  ZQNameType form;
  ZQFieldValueList values;
  ZQEntryIdType entryId;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, CreateCall& c) {
  v.name(c.form, "form");
  v.member(c.values, "values");
}
template <class V>
void describeReply(V& v, CreateCall& c) {
  v.name(c.entryId, "entryId");
  v.member(c.status, "status");
}

struct MergeCall {
  ZQNameType form;
  ZQFieldValueList values;
  uint32_t mergeType;
  ZQEntryIdType entryId;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, MergeCall& c) {
  v.name(c.form, "form");
  v.member(c.values, "values");
  v.u32(c.mergeType, "mergeType");
}
template <class V>
void describeReply(V& v, MergeCall& c) {
  v.name(c.entryId, "entryId");
  v.member(c.status, "status");
}

struct SetCall {
  ZQNameType form;
  ZQEntryIdList entryId;
  ZQFieldValueList values;
  ZQTimestamp getTime;
  uint32_t option;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, SetCall& c) {
  v.name(c.form, "form");
  v.member(c.entryId, "entryId");
  v.member(c.values, "values");
  v.i32(c.getTime, "getTime");
  v.u32(c.option, "option");
}
template <class V>
void describeReply(V& v, SetCall& c) {
  v.member(c.status, "status");
}

struct DeleteCall {
  ZQNameType form;
  ZQEntryIdList entryId;
  uint32_t option;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, DeleteCall& c) {
  v.name(c.form, "form");
  v.member(c.entryId, "entryId");
  v.u32(c.option, "option");
}
template <class V>
void describeReply(V& v, DeleteCall& c) {
  v.member(c.status, "status");
}

struct GetCall {
  ZQNameType form;
  ZQEntryIdList entryId;
  ZQInternalIdList fieldIds;
  ZQFieldValueList values;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, GetCall& c) {
  v.name(c.form, "form");
  v.member(c.entryId, "entryId");
  v.member(c.fieldIds, "fieldIds");
}
template <class V>
void describeReply(V& v, GetCall& c) {
  v.member(c.values, "values");
  v.member(c.status, "status");
}

template <class Call>
void releaseCall(Call& c) {
  model::FreeVisitor f;
  describeRequest(f, c);
  describeReply(f, c);
}

template <class Call>
int push(ZQXMLOutputDoc* out, uint32_t parts, const char* element, Call& c, ZQStatusList* status) {
  if (!out) return addError(status, kMsgNullArgument);
  if (parts == 0 || (parts & ~uint32_t{ZQ_XML_PART_BOTH}))
    return addError(status, kMsgXmlUnreadable, "parts must be request, reply or both");
  xmlDocPtr doc = newDocument();
  if (!doc) return addError(status, kMsgNoMemory);
  xmlNodePtr call = xmlNewChild(xmlDocGetRootElement(doc), nullptr, X(element), nullptr);
  bool ok = call != nullptr;
  if (ok && (parts & ZQ_XML_PART_REQUEST)) {
    XmlWriter w(xmlNewChild(call, nullptr, X("request"), nullptr));
    describeRequest(w, c);
    ok = w.ok();
  }
  if (ok && (parts & ZQ_XML_PART_REPLY)) {
    XmlWriter w(xmlNewChild(call, nullptr, X("reply"), nullptr));
    describeReply(w, c);
    ok = w.ok();
  }
  if (!ok) {
    xmlFreeDoc(doc);
    return addError(status, kMsgXmlUnreadable, "a value has no XML form");
  }
  ok = writeDocument(doc, out, status);
  xmlFreeDoc(doc);
  return ok ? 0 : ZQ_RETURN_ERROR;
}

// Reads the call into c (zeroed first). On failure c holds nothing.
template <class Call>
int pull(ZQXMLInputDoc* input, const char* element, Call& c, ZQStatusList* status) {
  memset(static_cast<void*>(&c), 0, sizeof c);
  xmlDocPtr doc = readDocument(input, status);
  if (!doc) return ZQ_RETURN_ERROR;
  xmlNodePtr call = childElement(xmlDocGetRootElement(doc), element);
  std::string why;
  if (!call) why = std::string("no ") + element + " in the document";
  if (xmlNodePtr request = why.empty() ? childElement(call, "request") : nullptr) {
    XmlReader r(request);
    describeRequest(r, c);
    if (!r.ok()) why = std::string("request, at ") + r.failedAt();
  }
  if (xmlNodePtr reply = why.empty() ? childElement(call, "reply") : nullptr) {
    XmlReader r(reply);
    describeReply(r, c);
    if (!r.ok()) why = std::string("reply, at ") + r.failedAt();
  }
  xmlFreeDoc(doc);
  if (!why.empty()) {
    releaseCall(c);
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  return 0;
}

// Hands a member read to the caller's output (when there is one) and leaves
// the call without it.
template <class T>
void give(T* out, T& member) {
  if (!out) return;
  *out = member;
  member = T{};
}
inline void giveName(char* out, char* member, size_t width) {
  if (out) copyName(out, member, width);
}

}  // namespace
}  // namespace zq::xmlutil

using namespace zq;
using namespace zq::xmlutil;

extern "C" {

int PushCreateEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                         ZQFieldValueList* values, const char* entryId, ZQStatusList* replyStatus,
                         ZQStatusList* status) {
  CreateCall c{};
  copyName(c.form, form, sizeof c.form);
  if (values) c.values = *values;
  copyName(c.entryId, entryId, sizeof c.entryId);
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "createEntry", c, status);
}

int PullCreateEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQFieldValueList* values,
                           ZQEntryIdType entryId, ZQStatusList* replyStatus, ZQStatusList* status) {
  CreateCall c;
  if (int rc = pull(input, "createEntry", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(values, c.values);
  giveName(entryId, c.entryId, sizeof c.entryId);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

int PushMergeEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                        ZQFieldValueList* values, uint32_t mergeType, const char* entryId,
                        ZQStatusList* replyStatus, ZQStatusList* status) {
  MergeCall c{};
  copyName(c.form, form, sizeof c.form);
  if (values) c.values = *values;
  c.mergeType = mergeType;
  copyName(c.entryId, entryId, sizeof c.entryId);
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "mergeEntry", c, status);
}

int PullMergeEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQFieldValueList* values,
                          uint32_t* mergeType, ZQEntryIdType entryId, ZQStatusList* replyStatus,
                          ZQStatusList* status) {
  MergeCall c;
  if (int rc = pull(input, "mergeEntry", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(values, c.values);
  give(mergeType, c.mergeType);
  giveName(entryId, c.entryId, sizeof c.entryId);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

int PushSetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                      ZQEntryIdList* entryId, ZQFieldValueList* values, ZQTimestamp getTime,
                      uint32_t option, ZQStatusList* replyStatus, ZQStatusList* status) {
  SetCall c{};
  copyName(c.form, form, sizeof c.form);
  if (entryId) c.entryId = *entryId;
  if (values) c.values = *values;
  c.getTime = getTime;
  c.option = option;
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "setEntry", c, status);
}

int PullSetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                        ZQFieldValueList* values, ZQTimestamp* getTime, uint32_t* option,
                        ZQStatusList* replyStatus, ZQStatusList* status) {
  SetCall c;
  if (int rc = pull(input, "setEntry", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(entryId, c.entryId);
  give(values, c.values);
  give(getTime, c.getTime);
  give(option, c.option);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

int PushDeleteEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                         ZQEntryIdList* entryId, uint32_t option, ZQStatusList* replyStatus,
                         ZQStatusList* status) {
  DeleteCall c{};
  copyName(c.form, form, sizeof c.form);
  if (entryId) c.entryId = *entryId;
  c.option = option;
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "deleteEntry", c, status);
}

int PullDeleteEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                           uint32_t* option, ZQStatusList* replyStatus, ZQStatusList* status) {
  DeleteCall c;
  if (int rc = pull(input, "deleteEntry", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(entryId, c.entryId);
  give(option, c.option);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

int PushGetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                      ZQEntryIdList* entryId, ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                      ZQStatusList* replyStatus, ZQStatusList* status) {
  GetCall c{};
  copyName(c.form, form, sizeof c.form);
  if (entryId) c.entryId = *entryId;
  if (fieldIds) c.fieldIds = *fieldIds;
  if (values) c.values = *values;
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "getEntry", c, status);
}

int PullGetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                        ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                        ZQStatusList* replyStatus, ZQStatusList* status) {
  GetCall c;
  if (int rc = pull(input, "getEntry", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(entryId, c.entryId);
  give(fieldIds, c.fieldIds);
  give(values, c.values);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

}  // extern "C"
