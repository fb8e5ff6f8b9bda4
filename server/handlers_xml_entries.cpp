// Handlers of the XML entry procedures (119 to 122, 153). The documents are
// read with libzqxmlutil, the one the client library uses, and the entry
// operations run through the structured handlers, so that access checks,
// client-managed transactions and the store behave the same either way:
// - create (119): the second document, the entry document, holds a create
//   request; the output is the create's reply half (entry id and messages);
// - set (120): the fourth document, the entry document, holds a set request;
// - get (121): the second document holds a get request; the output is the
//   get's reply half (the values and messages);
// - delete (122): the second document holds a delete request;
// - service (153): the second document holds a get request (form, entry id,
//   the wanted fields), the fourth a create request (the input values); the
//   output is a get reply half.
// Entry documents arrive protected under the document key, or as they are.
#include <cstring>
#include <string>
#include <utility>

#include "frame/alloc.h"
#include "handlers_entries.h"
#include "model/model.h"
#include "security/key_material.h"
#include "security/protection.h"
#include "transport/describe_entries.h"
#include "zqapi/zq_free.h"
#include "zqxmlutil.h"

namespace zqserver {
namespace {

using namespace zq::transport;

void addMessage(ZQStatusList* status, int32_t message, const char* appended = nullptr) {
  if (status) ZQAddStatus(status, ZQ_MESSAGE_ERROR, message, appended);
}

bool failed(int rc) {
  return rc >= ZQ_RETURN_ERROR;
}

// The text of an entry document: a protected text is opened with the
// document key; an XML text (or an empty one) is taken as it is.
bool openEntryDocument(const char* doc, std::string& text, ZQStatusList* status) {
  const char* p = doc ? doc : "";
  const char* first = p + strspn(p, " \t\r\n");
  if (*first == '<' || *first == '\0') {
    text = p;
    return true;
  }
  char* opened = nullptr;
  const int rc = zq::security::decryptCharData(1, p, zq::security::keys::kDocumentKeyText, &opened);
  if (rc != 0 || !opened) {
    zq::freeBlock(opened);
    addMessage(status, zq::kMsgXmlUnreadable, "the entry document does not open");
    return false;
  }
  text = opened;
  zq::freeBlock(opened);
  return true;
}

ZQXMLInputDoc inputOf(const std::string& text) {
  ZQXMLInputDoc doc{};
  doc.docType = ZQ_XML_DOC_CHAR_STR;
  doc.u.charBuffer = const_cast<char*>(text.c_str());
  return doc;
}

// The reply half a push writes, or null (its messages added to status).
template <class Push>
char* replyDocument(ZQStatusList* status, Push push) {
  ZQXMLOutputDoc out{};
  out.docType = ZQ_XML_DOC_CHAR_STR;
  ZQStatusList scratch{};
  const int rc = push(&out, &scratch);
  for (uint32_t i = 0; status && i < scratch.count; ++i)
    ZQAddStatus(status, scratch.items[i].messageType, scratch.items[i].messageNumber,
                scratch.items[i].appended);
  FreeZQStatusList(&scratch, 0);
  if (failed(rc)) {
    zq::freeBlock(out.u.charBuffer);
    return nullptr;
  }
  return out.u.charBuffer;
}

// Runs the structured handler of P on records read from documents.
template <class P, void (*Handle)(Request<P>&)>
void runStructured(Call& call, typename P::Args& args, typename P::Reply& reply) {
  Request<P> inner{call};
  inner.argsRecord = &args;
  inner.replyRecord = &reply;
  Handle(inner);
}

void xmlCreateEntry(Request<proc::XMLCreateEntry>& call) {
  auto& args = call.args();
  std::string text;
  ZQNameType form{};
  EntryIdReply result{};
  if (openEntryDocument(args.documents[1], text, call.status)) {
    CreateEntryArgs request{};
    request.header = args.header;
    ZQXMLInputDoc in = inputOf(text);
    if (!failed(
            PullCreateEntryFromXML(&in, form, &request.values, nullptr, nullptr, call.status))) {
      request.form = form;
      runStructured<proc::CreateEntry, createEntry>(call, request, result);
      FreeZQFieldValueList(&request.values, 0);
    }
  }
  call.reply().outputDoc = replyDocument(call.status, [&](ZQXMLOutputDoc* out, ZQStatusList* s) {
    return PushCreateEntryToXML(out, ZQ_XML_PART_REPLY, 0, form, nullptr, result.entryId,
                                call.status, s);
  });
}

void xmlSetEntry(Request<proc::XMLSetEntry>& call) {
  auto& args = call.args();
  std::string text;
  if (openEntryDocument(args.documents[3], text, call.status)) {
    SetEntryArgs request{};
    request.header = args.header;
    ZQNameType form{};
    ZQXMLInputDoc in = inputOf(text);
    if (!failed(PullSetEntryFromXML(&in, form, &request.entryId, &request.values, &request.getTime,
                                    &request.option, nullptr, call.status))) {
      request.form = form;
      StatusReply result{};
      runStructured<proc::SetEntry, setEntry>(call, request, result);
      FreeZQEntryIdList(&request.entryId, 0);
      FreeZQFieldValueList(&request.values, 0);
    }
  }
  call.reply().outputDoc = replyDocument(call.status, [&](ZQXMLOutputDoc* out, ZQStatusList* s) {
    return PushSetEntryToXML(out, ZQ_XML_PART_REPLY, 0, "", nullptr, nullptr, 0, 0, call.status, s);
  });
}

// Reads a get request from a plain document into request (form into form).
bool readGetRequest(const char* doc, ZQNameType form, GetEntryArgs& request, ZQStatusList* status) {
  const std::string text = doc ? doc : "";
  ZQXMLInputDoc in = inputOf(text);
  if (failed(PullGetEntryFromXML(&in, form, &request.entryId, &request.fieldIds, nullptr, nullptr,
                                 status)))
    return false;
  request.form = form;
  return true;
}

void xmlGetEntry(Request<proc::XMLGetEntry>& call) {
  auto& args = call.args();
  ZQNameType form{};
  GetEntryArgs request{};
  request.header = args.header;
  GetEntryReply result{};
  if (readGetRequest(args.documents[1], form, request, call.status)) {
    runStructured<proc::GetEntry, getEntry>(call, request, result);
    FreeZQEntryIdList(&request.entryId, 0);
    FreeZQInternalIdList(&request.fieldIds, 0);
  }
  call.reply().outputDoc = replyDocument(call.status, [&](ZQXMLOutputDoc* out, ZQStatusList* s) {
    return PushGetEntryToXML(out, ZQ_XML_PART_REPLY, 0, form, nullptr, nullptr, &result.values,
                             call.status, s);
  });
  FreeZQFieldValueList(&result.values, 0);
}

void xmlServiceEntry(Request<proc::XMLServiceEntry>& call) {
  auto& args = call.args();
  ZQNameType form{};
  GetEntryArgs query{};
  GetEntryReply result{};
  std::string text;
  if (readGetRequest(args.documents[1], form, query, call.status)) {
    ServiceEntryArgs request{};
    request.header = args.header;
    request.form = form;
    request.entryId = query.entryId;
    request.outputIds = query.fieldIds;
    ZQNameType inputForm{};
    ZQXMLInputDoc in{};
    if (openEntryDocument(args.documents[3], text, call.status) && (in = inputOf(text), true) &&
        !failed(PullCreateEntryFromXML(&in, inputForm, &request.values, nullptr, nullptr,
                                       call.status))) {
      runStructured<proc::ServiceEntry, serviceEntry>(call, request, result);
      FreeZQFieldValueList(&request.values, 0);
    }
    FreeZQEntryIdList(&query.entryId, 0);
    FreeZQInternalIdList(&query.fieldIds, 0);
  }
  call.reply().outputDoc = replyDocument(call.status, [&](ZQXMLOutputDoc* out, ZQStatusList* s) {
    return PushGetEntryToXML(out, ZQ_XML_PART_REPLY, 0, form, nullptr, nullptr, &result.values,
                             call.status, s);
  });
  FreeZQFieldValueList(&result.values, 0);
}

void xmlDeleteEntry(Request<proc::XMLDeleteEntry>& call) {
  auto& args = call.args();
  const std::string text = args.documents[1] ? args.documents[1] : "";
  ZQXMLInputDoc in = inputOf(text);
  ZQNameType form{};
  DeleteEntryArgs request{};
  request.header = args.header;
  if (failed(PullDeleteEntryFromXML(&in, form, &request.entryId, &request.option, nullptr,
                                    call.status)))
    return;
  request.form = form;
  StatusReply result{};
  runStructured<proc::DeleteEntry, deleteEntry>(call, request, result);
  FreeZQEntryIdList(&request.entryId, 0);
}

}  // namespace

// ---- queued XML operations ----------------------------------------------------------------

LoweredXmlOperations::LoweredXmlOperations(BulkOperation* ops, uint32_t count)
    : ops_(ops), count_(count) {}

LoweredXmlOperations::~LoweredXmlOperations() {
  for (uint32_t i = 0; i < kinds_.size() && i < count_; ++i) {
    if (!kinds_[i]) continue;
    BulkOperation& op = ops_[i];
    zq::freeBlock(op.form);
    op.form = nullptr;
    FreeZQEntryIdList(&op.entryId, 0);
    FreeZQFieldValueList(&op.values, 0);
    op.entryId = ZQEntryIdList{};
    op.values = ZQFieldValueList{};
    op.kind = kinds_[i];
  }
}

bool LoweredXmlOperations::lower(Call& call) {
  kinds_.assign(count_, 0);
  for (uint32_t i = 0; i < count_; ++i) {
    BulkOperation& op = ops_[i];
    if (!xmlDocumentCount(op.kind)) continue;
    const bool set = op.kind == ZQ_BULK_ENTRY_XML_SET;
    std::string text;
    if (!openEntryDocument(op.documents[set ? 3 : 1], text, call.status)) return false;
    ZQXMLInputDoc in = inputOf(text);
    ZQNameType form{};
    BulkOperation low{};
    int rc = ZQ_RETURN_ERROR;
    switch (op.kind) {
      case ZQ_BULK_ENTRY_XML_CREATE:
        low.kind = ZQ_BULK_ENTRY_CREATE;
        rc = PullCreateEntryFromXML(&in, form, &low.values, nullptr, nullptr, call.status);
        break;
      case ZQ_BULK_ENTRY_XML_SET:
        low.kind = ZQ_BULK_ENTRY_SET;
        rc = PullSetEntryFromXML(&in, form, &low.entryId, &low.values, &low.getTime, &low.option,
                                 nullptr, call.status);
        break;
      default:
        low.kind = ZQ_BULK_ENTRY_DELETE;
        rc = PullDeleteEntryFromXML(&in, form, &low.entryId, &low.option, nullptr, call.status);
        break;
    }
    if (failed(rc)) return false;
    low.form = zq::dupString(form);
    if (!low.form) {
      FreeZQEntryIdList(&low.entryId, 0);
      FreeZQFieldValueList(&low.values, 0);
      addMessage(call.status, zq::kMsgNoMemory);
      return false;
    }
    kinds_[i] = op.kind;
    op.kind = low.kind;
    op.form = low.form;
    op.entryId = low.entryId;
    op.values = low.values;
    op.getTime = low.getTime;
    op.option = low.option;
  }
  return true;
}

void LoweredXmlOperations::raise(ZQBulkEntryReturnList& results) {
  for (uint32_t i = 0; i < kinds_.size() && i < results.count && results.items; ++i) {
    if (!kinds_[i]) continue;
    ZQBulkEntryReturn& item = results.items[i];
    if (kinds_[i] == ZQ_BULK_ENTRY_XML_DELETE) {
      item.entryCallType = ZQ_BULK_ENTRY_XML_DELETE;
      continue;
    }
    const bool create = kinds_[i] == ZQ_BULK_ENTRY_XML_CREATE;
    ZQEntryIdType id{};
    ZQStatusList status{};
    if (create && item.entryCallType == ZQ_BULK_ENTRY_CREATE) {
      memcpy(id, item.u.entry.entryId, sizeof id);
      status = item.u.entry.status;
    } else if (item.entryCallType == ZQ_BULK_ENTRY_SET) {
      status = item.u.status;
    }
    memset(static_cast<void*>(&item.u), 0, sizeof item.u);
    item.entryCallType = kinds_[i];
    item.u.xml.status = status;
    ZQStatusList ignored{};
    ZQXMLOutputDoc out{};
    out.docType = ZQ_XML_DOC_CHAR_STR;
    const int rc = create ? PushCreateEntryToXML(&out, ZQ_XML_PART_REPLY, 0, "", nullptr, id,
                                                 &item.u.xml.status, &ignored)
                          : PushSetEntryToXML(&out, ZQ_XML_PART_REPLY, 0, "", nullptr, nullptr, 0,
                                              0, &item.u.xml.status, &ignored);
    FreeZQStatusList(&ignored, 0);
    if (failed(rc)) zq::freeBlock(std::exchange(out.u.charBuffer, nullptr));
    item.u.xml.outputDoc = out.u.charBuffer;
  }
}

void serveXmlEntries(Handlers& h) {
  h.serve<proc::XMLCreateEntry, xmlCreateEntry>();
  h.serve<proc::XMLSetEntry, xmlSetEntry>();
  h.serve<proc::XMLGetEntry, xmlGetEntry>();
  h.serve<proc::XMLDeleteEntry, xmlDeleteEntry>();
  h.serve<proc::XMLServiceEntry, xmlServiceEntry>();
}

}  // namespace zqserver
