// The trace-print visitor: writes a structure as the readable lines of the
// API trace log, from the same description that encodes and copies it.
//
// Every line starts with the visitor's prefix. A nested structure is printed
// with the prefix and three more blanks (or no prefix once the prefix has 40
// characters). Member labels of the descriptions are printed as they stand
// when they read like trace labels ("   Server:"); plain member names
// ("fieldId") become "   Field Id:". Structures whose trace form differs from
// a walk of their members (values, qualifications, actions, lists with
// headers, ...) have printMember overloads in visit_print.cpp.
//
// Printing reads memory only, never fails, and stops descending at
// kMaxPrintDepth so that a caller's runaway tree cannot exhaust the stack.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

#include "model/codec_base.h"
#include "model/describe_defs.h"

namespace zq::model {

inline constexpr unsigned kMaxPrintDepth = 256;

class PrintVisitor {
 public:
  // Printing walks memory the way releasing does, touching nothing: the
  // descriptions' release branches are the ones that show what memory holds.
  static constexpr Pass kPass = Pass::release;

  explicit PrintVisitor(std::string& out, std::string prefix = "")
      : out_(out), prefix_(std::move(prefix)) {}

  // ---- the visitor calls ---------------------------------------------------------
  int version() const { return kNewestVersion; }
  bool ok() const { return true; }
  void fail() {}
  void badTag() {}
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }
  void suspend(Suspend) {}
  void resume(Suspend) {}

  void u32(uint32_t& x, Label label = nullptr) { scalar(label, "%u", x); }
  void i32(int32_t& x, Label label = nullptr) { scalar(label, "%d", x); }
  void real(double& x, Label label = nullptr) { scalar(label, "%f", x); }
  void flag(ZQBoolean& b, Label label = nullptr) { text(label, b ? "TRUE" : "FALSE"); }
  uint32_t tag(uint32_t& t, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label label = nullptr) {
    u32(t, label);
    return wireTag;
  }
  void u32Array(uint32_t* p, size_t n, Label label = nullptr);
  template <size_t M>
  void name(char (&buf)[M], NameKind, Label label = nullptr) {
    fixedText(buf, M, label);
  }
  template <size_t M>
  void name(char (&buf)[M], Label label = nullptr) {
    fixedText(buf, M, label);
  }
  void name(char* buf, size_t memWidth, size_t, Label label = nullptr) {
    fixedText(buf, memWidth, label);
  }
  void chars(char* buf, size_t memWidth, size_t, Label label = nullptr) {
    fixedText(buf, memWidth, label);
  }
  void string(char*& s, uint32_t = kUnbounded, Label label = nullptr) { text(label, s); }
  void text(uint32_t& length, char*& bytes, Label label = nullptr);
  void bytes(uint32_t& size, unsigned char*& data, Label label = nullptr);
  void byteArray(uint32_t& count, unsigned char*& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label label = nullptr);
  template <class T>
  void unowned(T& s, Label label = nullptr) {
    member(s, label);
  }
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { v.member(item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label label = nullptr) {
    listHeader(label, count);
    Nest nest(*this);
    if (!items) return;
    for (uint32_t i = 0; i < count; ++i) fn(*this, items[i]);
  }
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    if (p) member(*p, label);
  }
  template <class T, class F>
  void pointer(T*& p, F&& fn, Label = nullptr) {
    if (!p || !enter()) return;
    fn(*this, *p);
    leave();
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    listHeader(label, count);
    Nest nest(*this);
    if (!items) return;
    for (uint32_t i = 0; i < count; ++i)
      if (items[i]) fn(*this, *items[i]);
  }

  // ---- helpers for the per-type routines -----------------------------------------
  const std::string& prefix() const { return prefix_; }
  std::string& out() { return out_; }
  // prefix + formatted text.
  void line(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // formatted text alone (continuing a line).
  void raw(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // prefix + label, a blank and the text; the label alone for a null text.
  void text(Label label, const char* value);
  // A member label as the trace shows it.
  static std::string labelText(Label label);
  // The prefix handed to nested structures.
  std::string nestedPrefix() const;

  // Depth guard around a nested structure; false (and a marker line) when
  // the structure is nested too deeply to print.
  bool enter();
  void leave() { --depth_; }

  // Prefix of nested structures for the lifetime of the object.
  class Nest {
   public:
    explicit Nest(PrintVisitor& v) : v_(v), saved_(v.prefix_) { v.prefix_ = v.nestedPrefix(); }
    Nest(PrintVisitor& v, std::string prefix) : v_(v), saved_(v.prefix_) {
      v.prefix_ = std::move(prefix);
    }
    ~Nest() { v_.prefix_ = saved_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

   private:
    PrintVisitor& v_;
    std::string saved_;
  };

 private:
  template <class X>
  void scalar(Label label, const char* fmt, X x) {
    const std::string l = labelText(label);
    out_ += prefix_;
    if (!l.empty()) {
      out_ += l;
      out_ += ' ';
    }
    appendf(fmt, x);
    out_ += '\n';
  }
  void fixedText(const char* buf, size_t width, Label label);
  void listHeader(Label label, uint32_t count);
  void appendf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void vappendf(const char* fmt, va_list args);

  std::string& out_;
  std::string prefix_;
  unsigned depth_ = 0;
};

// A structure without a trace form of its own: a heading from its label,
// then its members.
template <class T>
void printMember(PrintVisitor& v, T& s, Label label) {
  if (label && std::string(label) != "items")
    v.line("%s\n", PrintVisitor::labelText(label).c_str());
  describe(v, s);
}

template <class T>
void PrintVisitor::member(T& s, Label label) {
  if (!enter()) return;
  printMember(*this, s, label);
  leave();
}

// ---- structures with a trace form of their own (visit_print.cpp) ---------------------

// Values and lists of values.
void printMember(PrintVisitor& v, ZQValueStruct& s, Label label);
void printMember(PrintVisitor& v, ZQValueList& s, Label label);
void printMember(PrintVisitor& v, ZQValueListList& s, Label label);
void printMember(PrintVisitor& v, ZQFieldValueStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldValueList& s, Label label);
void printMember(PrintVisitor& v, ZQFieldValueListList& s, Label label);
void printMember(PrintVisitor& v, ZQPropList& s, Label label);
void printMember(PrintVisitor& v, ZQDisplayInstanceList& s, Label label);
void printMember(PrintVisitor& v, ZQCurrencyStruct& s, Label label);

// Packed lists: one line, wrapped.
void printMember(PrintVisitor& v, ZQNameList& s, Label label);
void printMember(PrintVisitor& v, ZQAccessNameList& s, Label label);
void printMember(PrintVisitor& v, ZQServerNameList& s, Label label);
void printMember(PrintVisitor& v, ZQInternalIdList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryIdList& s, Label label);
void printMember(PrintVisitor& v, ZQUnsignedIntList& s, Label label);

// Status lists (nested form; the call's own list has printStatusList).
void printMember(PrintVisitor& v, ZQStatusStruct& s, Label label);
void printMember(PrintVisitor& v, ZQStatusList& s, Label label);

// Qualifications, arithmetic and assignments.
void printMember(PrintVisitor& v, ZQQualifierStruct& s, Label label);
void printMember(PrintVisitor& v, ZQRelOpStruct& s, Label label);
void printMember(PrintVisitor& v, ZQArithOpStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldValueOrArithStruct& s, Label label);
void printMember(PrintVisitor& v, ZQAssignStruct& s, Label label);
void printMember(PrintVisitor& v, ZQAssignFieldStruct& s, Label label);
void printMember(PrintVisitor& v, ZQArithOpAssignStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFunctionAssignStruct& s, Label label);
void printMember(PrintVisitor& v, ZQAssignSQLStruct& s, Label label);
void printMember(PrintVisitor& v, ZQAssignFilterApiStruct& s, Label label);
void printMember(PrintVisitor& v, ZQDDEStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldAssignStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldAssignList& s, Label label);

// Workflow actions.
void printMember(PrintVisitor& v, ZQFilterActionStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFilterActionList& s, Label label);
void printMember(PrintVisitor& v, ZQActiveLinkActionStruct& s, Label label);
void printMember(PrintVisitor& v, ZQActiveLinkActionList& s, Label label);
void printMember(PrintVisitor& v, ZQNotifyStruct& s, Label label);
void printMember(PrintVisitor& v, ZQMessageStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFilterStatusStruct& s, Label label);
void printMember(PrintVisitor& v, ZQSetFieldsStruct& s, Label label);
void printMember(PrintVisitor& v, ZQPushFieldsList& s, Label label);
void printMember(PrintVisitor& v, ZQPushFieldsStruct& s, Label label);
void printMember(PrintVisitor& v, ZQSQLStruct& s, Label label);
void printMember(PrintVisitor& v, ZQGotoActionStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCallGuideStruct& s, Label label);
void printMember(PrintVisitor& v, ZQExitGuideStruct& s, Label label);
void printMember(PrintVisitor& v, ZQGotoGuideLabelStruct& s, Label label);
void printMember(PrintVisitor& v, ZQWaitStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCloseWindowStruct& s, Label label);
void printMember(PrintVisitor& v, ZQActiveLinkMacroStruct& s, Label label);
void printMember(PrintVisitor& v, ZQOutboundAutomationStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldCharacteristicsStruct& s, Label label);
void printMember(PrintVisitor& v, ZQOpenDialogStruct& s, Label label);
void printMember(PrintVisitor& v, ZQSvcActionStruct& s, Label label);

// Character menus and field limits.
void printMember(PrintVisitor& v, ZQCharMenuStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuList& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuItemStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuQueryStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuFileStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuSQLStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuSSStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuDDStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldLimitStruct& s, Label label);
void printMember(PrintVisitor& v, ZQEnumeratedLimits& s, Label label);

// Definitions and results.
void printMember(PrintVisitor& v, ZQPermissionList& s, Label label);
void printMember(PrintVisitor& v, ZQGroupInfoList& s, Label label);
void printMember(PrintVisitor& v, ZQRoleInfoList& s, Label label);
void printMember(PrintVisitor& v, ZQSortList& s, Label label);
void printMember(PrintVisitor& v, ZQIndexList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryListFieldList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryListList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryListFieldValueList& s, Label label);
void printMember(PrintVisitor& v, ZQServerInfoList& s, Label label);
void printMember(PrintVisitor& v, ZQFullTextInfoList& s, Label label);
void printMember(PrintVisitor& v, ZQStatisticsResultList& s, Label label);
void printMember(PrintVisitor& v, ZQFieldMappingStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCompoundSchema& s, Label label);
void printMember(PrintVisitor& v, ZQArchiveInfoStruct& s, Label label);
void printMember(PrintVisitor& v, ZQAuditInfoStruct& s, Label label);
void printMember(PrintVisitor& v, ZQContainerOwnerObjList& s, Label label);
void printMember(PrintVisitor& v, ZQContainerInfoList& s, Label label);
void printMember(PrintVisitor& v, ZQReferenceList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryBlockList& s, Label label);

// ---- entry points ---------------------------------------------------------------------

// The status list of a call's result record ("Status List: %u items").
void printStatusList(std::string& out, const ZQStatusList* status);

// Prints a structure with its trace routine; label selects the variant some
// routines have (the "Filter If" of an action list, ...).
template <class T>
void print(std::string& out, const T& value, const std::string& prefix = "",
           Label label = nullptr) {
  PrintVisitor v(out, prefix);
  v.member(const_cast<T&>(value), label);
}

template <class T>
std::string printToString(const T& value, const std::string& prefix = "", Label label = nullptr) {
  std::string out;
  print(out, value, prefix, label);
  return out;
}

}  // namespace zq::model
