// What an exported call writes to the trace log and the recording: one line
// on entry (its command and arguments), one before it finishes (its outputs).
//
//   zq::diag::command(e.ctx, control, zq::diag::Command::GetServerInfo, request);
//   ...
//   zq::diag::outputs(e.ctx, result);
//   return zq::ZQFinishCall(e.ctx, rc, status);
//
// Arguments are written in parameter order, outputs left out; outputs are
// passed in parameter order, null for those the caller did not pass. Both
// cost one test when logging is off.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "diag/commands.h"
#include "frame/frame.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_qual.h"

namespace zq::diag {

// ---- argument markers ---------------------------------------------------------------------

// A password: recorded as "<password here>".
struct Password {
  const char* text;
};
// A file name of export and import: never recorded.
struct FileName {
  const char* text;
};
// Qualification text, process command, diary text: one line, cut to 1023 bytes.
struct LongText {
  const char* text;
};
// An argument that may be absent: "T" and the value, or "F".
template <class T>
struct Optional {
  const T* value;
};
template <class T>
Optional<T> optional(const T* value) {
  return {value};
}
inline Optional<char> optionalText(const char* text) {
  return {text};
}
// A blob locator: the file name, or a note for memory and no locator.
struct Blob {
  const ZQLocStruct* locator;
};
// A signed word.
struct Signed {
  int32_t value;
};

// ---- the command record ---------------------------------------------------------------------

// Writes argument lines into a record.
class CommandWriter {
 public:
  explicit CommandWriter(std::string& out) : out_(out) {}

  void u32(uint32_t x);
  void i32(int32_t x);
  void name(const char* s);
  void longText(const char* s);
  void boolean(bool b);
  void password();
  void fileName();
  void blob(const ZQLocStruct* locator);
  void value(const ZQValueStruct* v);
  void fieldValue(const ZQFieldValueStruct& fv);
  void fieldValues(const ZQFieldValueList* list);
  void qualifier(const ZQQualifierStruct* q);
  void operand(const ZQFieldValueOrArithStruct& o);
  void entryId(const ZQEntryIdList* ids);
  void internalIds(const ZQInternalIdList* ids);
  void unsignedList(uint32_t count, const uint32_t* items);
  void names(const ZQNameList* list);
  void sortList(const ZQSortList* list);
  void entryListFields(const ZQEntryListFieldList* list);
  void valueList(const ZQValueList* list);
  void diary(const ZQDiaryList* list);
  void statusHistory(const ZQStatusHistoryList* list);

 private:
  std::string& out_;
  unsigned depth_ = 0;
};

inline void writeArg(CommandWriter& w, uint32_t x) {
  w.u32(x);
}
inline void writeArg(CommandWriter& w, int32_t x) {
  w.i32(x);
}
inline void writeArg(CommandWriter& w, Signed x) {
  w.i32(x.value);
}
inline void writeArg(CommandWriter& w, bool b) {
  w.boolean(b);
}
inline void writeArg(CommandWriter& w, ZQBoolean b) {
  w.boolean(b != 0);
}
inline void writeArg(CommandWriter& w, const char* s) {
  w.name(s);
}
inline void writeArg(CommandWriter& w, char* s) {
  w.name(s);
}
inline void writeArg(CommandWriter& w, LongText t) {
  w.longText(t.text);
}
inline void writeArg(CommandWriter& w, Password) {
  w.password();
}
inline void writeArg(CommandWriter& w, FileName) {
  w.fileName();
}
inline void writeArg(CommandWriter& w, Blob b) {
  w.blob(b.locator);
}
inline void writeArg(CommandWriter& w, const ZQValueStruct* v) {
  w.value(v);
}
inline void writeArg(CommandWriter& w, const ZQFieldValueList* l) {
  w.fieldValues(l);
}
inline void writeArg(CommandWriter& w, const ZQQualifierStruct* q) {
  w.qualifier(q);
}
inline void writeArg(CommandWriter& w, const ZQEntryIdList* ids) {
  w.entryId(ids);
}
inline void writeArg(CommandWriter& w, const ZQInternalIdList* ids) {
  w.internalIds(ids);
}
inline void writeArg(CommandWriter& w, const ZQNameList* l) {
  w.names(l);
}
inline void writeArg(CommandWriter& w, const ZQSortList* l) {
  w.sortList(l);
}
inline void writeArg(CommandWriter& w, const ZQEntryListFieldList* l) {
  w.entryListFields(l);
}
inline void writeArg(CommandWriter& w, const ZQValueList* l) {
  w.valueList(l);
}
inline void writeArg(CommandWriter& w, const ZQDiaryList* l) {
  w.diary(l);
}
inline void writeArg(CommandWriter& w, const ZQStatusHistoryList* l) {
  w.statusHistory(l);
}
inline void writeArg(CommandWriter& w, const ZQServerInfoRequestList* l) {
  w.unsignedList(l ? l->count : 0, l ? l->items : nullptr);
}
inline void writeArg(CommandWriter& w, const ZQUnsignedIntList* l) {
  w.unsignedList(l ? l->count : 0, l ? l->items : nullptr);
}
// A pointer to a non-const argument is written as its const form; a type
// without a form of its own does not compile.
template <class T>
requires(!std::is_const_v<T>) void writeArg(CommandWriter& w, T* p) {
  writeArg(w, static_cast<const T*>(p));
}
template <class T>
void writeArg(CommandWriter& w, Optional<T> o) {
  w.boolean(o.value != nullptr);
  if (o.value) writeArg(w, o.value);
}

// Starts the record of a call: stores its name, takes the time, writes the
// pause and the header. The writer appends to the record's buffer; finish
// writes the record out.
struct RecordScope {
  ZQThreadContext* ctx;
  std::string buffer;
};
bool beginCommand(ZQThreadContext* ctx, ZQControlStruct* control, Command cmd, RecordScope& scope);
void finishCommand(RecordScope& scope);

template <class... A>
inline void command(ZQThreadContext* ctx, ZQControlStruct* control, Command cmd, const A&... args) {
  if (!ctx || !ctx->traceOn) return;
  try {  // the trace never fails a call, not even when memory runs out
    RecordScope scope{ctx, {}};
    if (!beginCommand(ctx, control, cmd, scope)) return;
    CommandWriter w(scope.buffer);
    (writeArg(w, args), ...);
    finishCommand(scope);
  } catch (...) {
  }
}

// ---- the outputs of the result record ---------------------------------------------------------

// A reference to one output, printed by the form of its table item.
struct OutputRef {
  enum class Kind : uint8_t { none, text, textPointer, u32, i32, boolean, structure };
  Kind kind = Kind::none;
  const void* pointer = nullptr;
  // Structures: their print routine (label: the routine's variant).
  void (*print)(std::string& out, const void* value, const char* label,
                const std::string& prefix) = nullptr;
  // Lists of the calls returning several definitions: the number of items,
  // the item of one definition shown by the form of its table item, and the
  // item as the text naming a block.
  uint32_t (*count)(const void* list) = nullptr;
  void (*element)(std::string& out, const void* list, uint32_t index,
                  const ResultItem& item) = nullptr;
  std::string (*name)(const void* list, uint32_t index) = nullptr;
};

// The print routine of a structure output (instantiated in outputs.cpp).
template <class T>
void printOutput(std::string& out, const void* value, const char* label, const std::string& prefix);
template <class T>
uint32_t outputCount(const void* list);
template <class T>
void printElement(std::string& out, const void* list, uint32_t index, const ResultItem& item);
template <class T>
std::string elementName(const void* list, uint32_t index);
template <>
void printOutput<ZQWorkflowConnectStruct>(std::string& out, const void* value, const char* label,
                                          const std::string& prefix);

inline OutputRef outputRef(std::nullptr_t) {
  return {};
}
inline OutputRef outputRef(const char* s) {
  return {s ? OutputRef::Kind::text : OutputRef::Kind::none, s, nullptr};
}
inline OutputRef outputRef(char* s) {
  return outputRef(static_cast<const char*>(s));
}
inline OutputRef outputRef(char** s) {
  return {s ? OutputRef::Kind::textPointer : OutputRef::Kind::none, s, nullptr};
}
inline OutputRef outputRef(uint32_t* x) {
  return {x ? OutputRef::Kind::u32 : OutputRef::Kind::none, x, nullptr};
}
inline OutputRef outputRef(int32_t* x) {
  return {x ? OutputRef::Kind::i32 : OutputRef::Kind::none, x, nullptr};
}
inline OutputRef outputRef(ZQBoolean* b) {
  return {b ? OutputRef::Kind::boolean : OutputRef::Kind::none, b, nullptr};
}
template <class T>
OutputRef outputRef(T* value) {
  static_assert(std::is_class_v<T>, "an output is a text, a number, a flag or a structure");
  using U = std::remove_const_t<T>;
  return {value ? OutputRef::Kind::structure : OutputRef::Kind::none,
          value,
          &printOutput<U>,
          &outputCount<U>,
          &printElement<U>,
          &elementName<U>};
}

// Hands the call's outputs to the result record its finish writes.
void setOutputs(ZQThreadContext* ctx, std::vector<OutputRef>&& refs);

template <class... O>
inline void outputs(ZQThreadContext* ctx, O... outs) {
  if (!ctx || !ctx->traceOn) return;
  try {
    setOutputs(ctx, std::vector<OutputRef>{outputRef(outs)...});
  } catch (...) {
  }
}

// ---- session entries ------------------------------------------------------------------------

// Result record of the call in progress (the frame's finish calls it).
void writeResult(ZQThreadContext* ctx, int rc, const ZQStatusList* status);

}  // namespace zq::diag
