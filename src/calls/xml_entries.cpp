// The XML entry calls: create, set, get, service and delete an entry through
// documents the server reads (procedures 119 to 122 and 153). The library
// leaves the documents alone except the entry document, which travels in the
// server's character set and protected, and the output document, which
// comes back in the client's.
#include <cstring>
#include <string>

#include "calls/entries.h"
#include "calls/export_text.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "platform/platform.h"
#include "security/security.h"
#include "transport/describe.h"
#include "zqapi/zq_xml.h"

namespace zq::calls {
namespace {

using call::Call;
namespace proc = transport::proc;

const char* charsetNameOr(uint32_t id, const char* fallback) {
  const char* name = platform::charsetName(id);
  return name && *name ? name : fallback;
}

// Converts text between two known, different character sets; a declaration
// in the text is rewritten to name the new set, or the reader would decode
// the converted bytes by the old name. False when out of memory; text the
// converter refuses travels as it is.
bool convertDocument(uint32_t from, uint32_t to, std::string& text) {
  if (!from || !to || from == to || from == platform::kCharsetUnknown ||
      to == platform::kCharsetUnknown)
    return true;
  std::string out;
  switch (platform::convert(from, to, text.data(), text.size(), out)) {
    case platform::ConvertResult::ok:
      text = isXmlText(out.data(), out.size()) ? rewriteXmlEncoding(out, charsetNameOr(to, "UTF-8"))
                                               : std::move(out);
      return true;
    case platform::ConvertResult::noMemory:
      return false;
    default:
      return true;
  }
}

// The entry document as it travels: converted to the server's character set
// (when asked), then protected under the document key. The caller's text is
// never changed.
class EntryDocument {
 public:
  ~EntryDocument() { freeBlock(protected_); }
  // 0, or 154 when memory ran out.
  int32_t prepare(ZQThreadContext* ctx, const char* doc, bool convert) {
    text_ = orEmpty(doc);
    if (convert && !convertDocument(ctx->clientCharset, ctx->serverCharset, text_))
      return kMsgNoMemory;
    const int rc =
        security::encryptCharData(1, text_.c_str(), security::keys::kDocumentKeyText, &protected_);
    if (rc == 0) return 0;
    // Any refusal but a lack of memory leaves the document unprotected. It
    // then travels as the caller wrote it, as the wire converts every text
    // to the server's set; only its declaration is made to say so.
    freeBlock(protected_);
    protected_ = nullptr;
    if (rc == kMsgNoMemory || rc == kMsgCopyNoMemory) return kMsgNoMemory;
    text_ = orEmpty(doc);
    const uint32_t server = ctx->serverCharset;
    if (convert && server && ctx->clientCharset && server != ctx->clientCharset &&
        isXmlText(text_.data(), text_.size()))
      text_ = rewriteXmlEncoding(text_, charsetNameOr(server, "UTF-8"));
    return 0;
  }
  // What travels: the protected text, or the (converted) document.
  char* wire() { return const_cast<char*>(protected_ ? protected_ : text_.c_str()); }

 private:
  std::string text_;
  char* protected_ = nullptr;
};

// The documents of a call as they travel: nulls become empty strings.
template <size_t N>
void fillDocuments(char* (&out)[N], const char* const (&docs)[N]) {
  for (size_t i = 0; i < N; ++i) out[i] = const_cast<char*>(orEmpty(docs[i]));
}

bool bulkOpen(ZQThreadContext* ctx) {
  auto* st = dynamic_cast<EntryCallsState*>(ctx->calls.get());
  return st && st->bulkOpen;
}

// Queues the call's documents as an operation of kind into the open bulk
// transaction.
template <class P, size_t N>
void queueDocuments(Call<P>& call, uint32_t kind, char* (&docs)[N]) {
  transport::BulkOperation op{};
  op.kind = kind;
  op.header = call.header();
  for (size_t i = 0; i < N; ++i) op.documents[i] = docs[i];
  const int rc = queueOperation(call.context(), op, call.status());
  call.setRc(rc >= ZQ_RETURN_ERROR ? rc : returnCode(call.status()));
}

// Hands the reply's output document to the caller, in the client's
// character set: the wire has converted its text already, so only its XML
// declaration is rewritten to name the client's set.
void takeOutput(call::Frame& call, char*& replyDoc, char** out) {
  if (!out || !replyDoc) return;
  ZQThreadContext* ctx = call.context();
  const uint32_t client = ctx->clientCharset, server = ctx->serverCharset;
  const size_t size = strlen(replyDoc);
  if (!client || !server || client == server || !isXmlText(replyDoc, size)) {
    *out = replyDoc;
    replyDoc = nullptr;
    return;
  }
  const std::string text = rewriteXmlEncoding(replyDoc, charsetNameOr(client, "UTF-8"));
  char* copy = static_cast<char*>(alloc(text.size() + 1));
  if (!copy) {
    call.raise(addError(call.status(), kMsgNoMemory));
    return;
  }
  memcpy(copy, text.c_str(), text.size() + 1);
  *out = copy;
}

// Create (kind 5) and set (kind 6): the entry document at entryAt is
// prepared, then the documents are queued or sent.
template <class P, size_t N>
int changeByDocuments(ZQControlStruct* control, diag::Command command, uint32_t kind,
                      const char* const (&docs)[N], size_t entryAt, char** outputDoc,
                      ZQStatusList* status) {
  if (outputDoc) *outputDoc = nullptr;
  Call<P> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(command, orEmpty(docs[0]));
  if (!call.bind()) return call.finish();
  EntryDocument entry;
  if (int32_t failed = entry.prepare(call.context(), docs[entryAt], true))
    return call.finishWithError(failed);
  char* wire[N];
  fillDocuments(wire, docs);
  wire[entryAt] = entry.wire();
  if (bulkOpen(call.context())) {
    queueDocuments(call, kind, wire);
    return call.finish();
  }
  for (size_t i = 0; i < N; ++i) call.args().documents[i] = wire[i];
  if (auto* reply = sendInTransaction(call)) takeOutput(call, reply->outputDoc, outputDoc);
  return call.finish();
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQXMLCreateEntry(ZQControlStruct* control, const char* inputMapping, const char* inputDoc,
                     const char* outputMapping, const char* optionDoc, char** outputDoc,
                     ZQStatusList* status) {
  const char* const docs[4] = {inputMapping, inputDoc, outputMapping, optionDoc};
  return changeByDocuments<proc::XMLCreateEntry>(
      control, diag::Command::XMLCreateEntry, ZQ_BULK_ENTRY_XML_CREATE, docs, 1, outputDoc, status);
}

int ZQXMLSetEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                  const char* inputMapping, const char* inputDoc, const char* outputMapping,
                  const char* optionDoc, char** outputDoc, ZQStatusList* status) {
  const char* const docs[6] = {queryMapping, queryDoc,      inputMapping,
                               inputDoc,     outputMapping, optionDoc};
  return changeByDocuments<proc::XMLSetEntry>(control, diag::Command::XMLSetEntry,
                                              ZQ_BULK_ENTRY_XML_SET, docs, 3, outputDoc, status);
}

int ZQXMLGetEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                  const char* outputMapping, const char* optionDoc, char** outputDoc,
                  ZQStatusList* status) {
  if (outputDoc) *outputDoc = nullptr;
  Call<proc::XMLGetEntry> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::XMLGetEntry, orEmpty(queryMapping));
  if (call.bind()) {
    const char* const docs[4] = {queryMapping, queryDoc, outputMapping, optionDoc};
    fillDocuments(call.args().documents, docs);
    if (auto* reply = sendInTransaction(call)) takeOutput(call, reply->outputDoc, outputDoc);
  }
  return call.finish();
}

int ZQXMLServiceEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                      const char* inputMapping, const char* inputDoc, const char* outputMapping,
                      const char* optionDoc, char** outputDoc, ZQStatusList* status) {
  if (outputDoc) *outputDoc = nullptr;
  Call<proc::XMLServiceEntry> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::XMLServiceEntry, orEmpty(queryMapping));
  if (!call.bind()) return call.finish();
  // The input document is protected in its own place, as for create and
  // set: sending it in the third place would lose the input mapping.
  EntryDocument entry;
  if (int32_t failed = entry.prepare(call.context(), inputDoc, false))
    return call.finishWithError(failed);
  const char* const docs[6] = {queryMapping, queryDoc,      inputMapping,
                               inputDoc,     outputMapping, optionDoc};
  fillDocuments(call.args().documents, docs);
  call.args().documents[3] = entry.wire();
  if (auto* reply = sendInTransaction(call)) takeOutput(call, reply->outputDoc, outputDoc);
  return call.finish();
}

int ZQXMLDeleteEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                     const char* inputMapping, const char* inputDoc, const char* optionDoc,
                     ZQStatusList* status) {
  Call<proc::XMLDeleteEntry> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::XMLDeleteEntry, orEmpty(queryMapping));
  if (!call.bind()) return call.finish();
  const char* const docs[5] = {queryMapping, queryDoc, inputMapping, inputDoc, optionDoc};
  char* wire[5];
  fillDocuments(wire, docs);
  if (bulkOpen(call.context())) {
    queueDocuments(call, ZQ_BULK_ENTRY_XML_DELETE, wire);
    return call.finish();
  }
  for (size_t i = 0; i < 5; ++i) call.args().documents[i] = wire[i];
  sendInTransaction(call);
  return call.finish();
}

}  // extern "C"
