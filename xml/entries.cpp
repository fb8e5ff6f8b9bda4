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

struct GetBlobCall {
  ZQNameType form;
  ZQEntryIdList entryId;
  ZQInternalId fieldId;
  ZQLocStruct location;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, GetBlobCall& c) {
  v.name(c.form, "form");
  v.member(c.entryId, "entryId");
  v.u32(c.fieldId, "fieldId");
}
template <class V>
void describeReply(V& v, GetBlobCall& c) {
  v.member(c.location, "location");
  v.member(c.status, "status");
}

// The query of the get-list calls.
struct ListQuery {
  ZQNameType form;
  ZQQualifierStruct qualifier;
  ZQEntryListFieldList fields;
  ZQSortList sort;
  uint32_t firstRetrieve;
  uint32_t maxRetrieve;
  ZQBoolean useLocale;
};
template <class V>
void describeQuery(V& v, ListQuery& q) {
  v.name(q.form, "form");
  v.member(q.qualifier, "qualifier");
  v.member(q.fields, "fields");
  v.member(q.sort, "sort");
  v.u32(q.firstRetrieve, "firstRetrieve");
  v.u32(q.maxRetrieve, "maxRetrieve");
  v.flag(q.useLocale, "useLocale");
}
void setQuery(ListQuery& q, const char* form, ZQQualifierStruct* qualifier,
              ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t first, uint32_t max,
              ZQBoolean useLocale) {
  copyName(q.form, form, sizeof q.form);
  if (qualifier) q.qualifier = *qualifier;
  if (fields) q.fields = *fields;
  if (sort) q.sort = *sort;
  q.firstRetrieve = first;
  q.maxRetrieve = max;
  q.useLocale = useLocale;
}

struct GetListCall {
  ListQuery query;
  ZQEntryListList entries;
  uint32_t numMatches;
};
template <class V>
void describeRequest(V& v, GetListCall& c) {
  describeQuery(v, c.query);
}
template <class V>
void describeReply(V& v, GetListCall& c) {
  v.member(c.entries, "entries");
  v.u32(c.numMatches, "numMatches");
}

struct GetListWithFieldsCall {
  ListQuery query;
  ZQEntryListFieldValueList entries;
  uint32_t numMatches;
};
template <class V>
void describeRequest(V& v, GetListWithFieldsCall& c) {
  describeQuery(v, c.query);
}
template <class V>
void describeReply(V& v, GetListWithFieldsCall& c) {
  v.member(c.entries, "entries");
  v.u32(c.numMatches, "numMatches");
}

struct GetMultipleCall {
  ZQNameType form;
  ZQEntryIdListList ids;
  ZQInternalIdList fields;
  ZQBooleanList exists;
  ZQFieldValueListList values;
  ZQStatusList status;
};
template <class V>
void describeRequest(V& v, GetMultipleCall& c) {
  v.name(c.form, "form");
  v.member(c.ids, "ids");
  v.member(c.fields, "fields");
}
template <class V>
void describeReply(V& v, GetMultipleCall& c) {
  v.member(c.exists, "exists");
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

// The entry to create is the request of a <createEntry>; validateOnly reads
// and checks it without handing anything over.
int GetComplexEntryCreateFromXML(ZQXMLInputDoc* input, ZQNameType form, uint32_t validateOnly,
                                 ZQFieldValueList* values, ZQStatusList* status) {
  CreateCall c;
  if (int rc = pull(input, "createEntry", c, status)) return rc;
  if (!c.form[0]) {
    releaseCall(c);
    return addError(status, kMsgXmlUnreadable, "createEntry without the form of a request");
  }
  if (!validateOnly) {
    giveName(form, c.form, sizeof c.form);
    give(values, c.values);
  }
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

int PushGetEntryBlobToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                          ZQEntryIdList* entryId, ZQInternalId fieldId, ZQLocStruct* location,
                          ZQStatusList* replyStatus, ZQStatusList* status) {
  GetBlobCall c{};
  copyName(c.form, form, sizeof c.form);
  if (entryId) c.entryId = *entryId;
  c.fieldId = fieldId;
  if (location) c.location = *location;
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "getEntryBlob", c, status);
}

int PullGetEntryBlobFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                            ZQInternalId* fieldId, ZQLocStruct* location, ZQStatusList* replyStatus,
                            ZQStatusList* status) {
  GetBlobCall c;
  if (int rc = pull(input, "getEntryBlob", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(entryId, c.entryId);
  give(fieldId, c.fieldId);
  give(location, c.location);
  give(replyStatus, c.status);
  releaseCall(c);
  return 0;
}

int PushGetListEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                          ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                          ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
                          ZQBoolean useLocale, ZQEntryListList* entries, uint32_t numMatches,
                          ZQStatusList* status) {
  GetListCall c{};
  setQuery(c.query, form, qualifier, fields, sort, firstRetrieve, maxRetrieve, useLocale);
  if (entries) c.entries = *entries;
  c.numMatches = numMatches;
  return push(doc, parts, "getListEntry", c, status);
}

int PullGetListEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQQualifierStruct* qualifier,
                            ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t* firstRetrieve,
                            uint32_t* maxRetrieve, ZQBoolean* useLocale, ZQEntryListList* entries,
                            uint32_t* numMatches, ZQStatusList* status) {
  GetListCall c;
  if (int rc = pull(input, "getListEntry", c, status)) return rc;
  giveName(form, c.query.form, sizeof c.query.form);
  give(qualifier, c.query.qualifier);
  give(fields, c.query.fields);
  give(sort, c.query.sort);
  give(firstRetrieve, c.query.firstRetrieve);
  give(maxRetrieve, c.query.maxRetrieve);
  give(useLocale, c.query.useLocale);
  give(entries, c.entries);
  give(numMatches, c.numMatches);
  releaseCall(c);
  return 0;
}

int PushGetListEntryWithFieldsToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                                    ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                    ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
                                    ZQBoolean useLocale, ZQEntryListFieldValueList* entries,
                                    uint32_t numMatches, ZQStatusList* status) {
  GetListWithFieldsCall c{};
  setQuery(c.query, form, qualifier, fields, sort, firstRetrieve, maxRetrieve, useLocale);
  if (entries) c.entries = *entries;
  c.numMatches = numMatches;
  return push(doc, parts, "getListEntryWithFields", c, status);
}

int PullGetListEntryWithFieldsFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                      ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                      ZQSortList* sort, uint32_t* firstRetrieve,
                                      uint32_t* maxRetrieve, ZQBoolean* useLocale,
                                      ZQEntryListFieldValueList* entries, uint32_t* numMatches,
                                      ZQStatusList* status) {
  GetListWithFieldsCall c;
  if (int rc = pull(input, "getListEntryWithFields", c, status)) return rc;
  giveName(form, c.query.form, sizeof c.query.form);
  give(qualifier, c.query.qualifier);
  give(fields, c.query.fields);
  give(sort, c.query.sort);
  give(firstRetrieve, c.query.firstRetrieve);
  give(maxRetrieve, c.query.maxRetrieve);
  give(useLocale, c.query.useLocale);
  give(entries, c.entries);
  give(numMatches, c.numMatches);
  releaseCall(c);
  return 0;
}

int PushGetMultipleEntriesToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t, const char* form,
                                ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                ZQBooleanList* exists, ZQFieldValueListList* values,
                                ZQStatusList* replyStatus, ZQStatusList* status) {
  GetMultipleCall c{};
  copyName(c.form, form, sizeof c.form);
  if (ids) c.ids = *ids;
  if (fields) c.fields = *fields;
  if (exists) c.exists = *exists;
  if (values) c.values = *values;
  if (replyStatus) c.status = *replyStatus;
  return push(doc, parts, "getMultipleEntries", c, status);
}

int PullGetMultipleEntriesFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdListList* ids,
                                  ZQInternalIdList* fields, ZQBooleanList* exists,
                                  ZQFieldValueListList* values, ZQStatusList* status) {
  GetMultipleCall c;
  if (int rc = pull(input, "getMultipleEntries", c, status)) return rc;
  giveName(form, c.form, sizeof c.form);
  give(ids, c.ids);
  give(fields, c.fields);
  give(exists, c.exists);
  give(values, c.values);
  releaseCall(c);
  return 0;
}

}  // extern "C"
