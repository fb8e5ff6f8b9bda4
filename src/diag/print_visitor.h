// The trace-print visitor: writes a structure as the readable lines of the
// API trace log, walking the same description that encodes and copies it.
//
// A walk writes every member as its description's label, a blank and the
// value, every list as its label and count with its items one level in, and
// every nested structure under the label its parent gives it. The forms of
// print_forms.h add what the trace shows beyond that: headings, the words of
// tags, members it leaves out, captions and indents. The few structures whose
// trace is not a walk of their members have printMember overloads
// (print_values.cpp, print_overrides.cpp).
//
// Every line starts with the visitor's prefix. A nested structure is printed
// with the prefix and three more blanks, or with no prefix once the prefix
// has 40 characters. Printing reads memory only, never fails, and stops
// descending at kMaxPrintDepth so that a caller's runaway tree cannot exhaust
// the stack.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "diag/print_forms.h"
#include "model/describe.h"

namespace zq::diag {

using model::describe;  // the descriptions, for a visitor outside zq::model
using model::Label;

inline constexpr unsigned kMaxPrintDepth = 256;

// The word of a value, or the value in the undefined form of its table.
std::string wordOf(const Words& words, uint32_t value);
// A fixed-width name up to its terminator.
std::string fixedString(const char* buf, size_t width);

class PrintVisitor {
 public:
  static constexpr model::Pass kPass = model::Pass::print;

  explicit PrintVisitor(std::string& out, std::string prefix = "")
      : out_(out), prefix_(std::move(prefix)) {}

  // ---- the visitor calls ---------------------------------------------------------
  int version() const { return model::kNewestVersion; }
  bool ok() const { return true; }
  void fail() {}
  void badTag() {}
  template <class F>
  void withVersion(int, F&& fn) {
    fn();
  }
  void suspend(model::Suspend) {}
  void resume(model::Suspend) {}

  void u32(uint32_t& x, Label label = nullptr);
  void i32(int32_t& x, Label label = nullptr);
  void real(double& x, Label label = nullptr);
  void flag(ZQBoolean& b, Label label = nullptr);
  uint32_t tag(uint32_t& t, uint32_t wireTag, uint32_t (*)(uint32_t, int), Label label = nullptr) {
    u32(t, label);
    return wireTag;
  }
  void u32Array(uint32_t* p, size_t n, Label label = nullptr);
  template <size_t M>
  void name(char (&buf)[M], model::NameKind, Label label = nullptr) {
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
  void string(char*& s, uint32_t = model::kUnbounded, Label label = nullptr);
  void text(uint32_t& length, char*& bytes, Label label = nullptr);
  void bytes(uint32_t& size, unsigned char*& data, Label label = nullptr);
  void byteArray(uint32_t& count, unsigned char*& data, Label label = nullptr) {
    bytes(count, data, label);
  }

  template <class T>
  void member(T& s, Label label = nullptr) {
    const Look* look = lookFor(label);
    if (skipped(look)) return;
    Placement place(*this, look);
    structure(s, label);
  }
  // The left operand of NEGATE belongs to nobody; the trace leaves it out.
  template <class T>
  void unowned(T&, Label = nullptr) {}
  template <class T>
  void list(uint32_t& count, T*& items, Label label = nullptr) {
    list(
        count, items, [](auto& v, T& item) { v.member(item); }, label);
  }
  template <class T, class F>
  void list(uint32_t& count, T*& items, F&& fn, Label label = nullptr);
  template <class T>
  void pointer(T*& p, Label label = nullptr) {
    const Look* look = lookFor(label);
    if (skipped(look)) return;
    Placement place(*this, look);
    if (p) structure(*p, label);
  }
  // A node prints by its own description; the one a description names here
  // is a wire form (an older version's, entry values unconverted).
  template <class T, class F>
  void pointer(T*& p, F&&, Label label = nullptr) {
    pointer(p, label);
  }
  template <class T, class F>
  void ptrList(uint32_t& count, T**& items, F&& fn, Label label = nullptr) {
    if (skipped(lookFor(label))) return;
    listHeader(label, count);
    Nest nest(*this);
    if (!items) return;
    for (uint32_t i = 0; i < count; ++i) {
      if (!items[i]) continue;
      if constexpr (std::is_class_v<T>)
        structure(*items[i], nullptr);  // as a pointer's node
      else
        fn(*this, *items[i]);
    }
  }

  // ---- helpers for the per-type routines -----------------------------------------
  const std::string& prefix() const { return prefix_; }
  // prefix + formatted text.
  void line(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // formatted text alone (continuing a line).
  void raw(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // prefix + label, a blank and the text; the label alone for a null text.
  void text(Label label, const char* value);
  // " label (count)  " and the items separated by ", ", wrapped before the
  // line reaches column 79 (271 for long items).
  void packed(const std::string& label, const std::vector<std::string>& items, bool longItems);
  // A member label as the trace shows it: member names ("fieldId") read
  // "   Field Id:", trace labels stand as they are.
  static std::string labelText(Label label);
  // The prefix handed to nested structures.
  std::string nestedPrefix() const;

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

  // A structure without a printMember overload: its form, then its members.
  template <class T>
  void walk(T& s, Label label);

 private:
  // The caption and indent a structure's form gives one of its members.
  class Placement {
   public:
    Placement(PrintVisitor& v, const Look* look);
    ~Placement() { v_.prefix_ = saved_; }
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;

   private:
    PrintVisitor& v_;
    std::string saved_;
  };

  // What the structure being printed has set up; restored when it ends.
  class Frame {
   public:
    Frame(PrintVisitor& v, const TraceForm* form, Label label);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

   private:
    PrintVisitor& v_;
    const TraceForm* form_;
    Label label_;
    bool muted_, listOpen_;
    std::string prefix_;
  };

  template <class T>
  void structure(T& s, Label label);
  // Depth guard around a nested structure; false (and a marker line) when
  // the structure is nested too deeply to print.
  bool enter();
  void leave() { --depth_; }

  const Look* lookFor(Label label) const;
  bool skipped(const Look* look) const { return muted_ || (look && look->hidden); }
  // After a member: the indent of the members that follow, the end of a
  // structure whose tag is 0.
  void after(const Look* look, uint32_t value);
  std::string indented(Indent indent) const;
  std::string heading() const;
  bool ownList(Label label);
  void writePacked(const std::vector<std::string>& items);

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
  void textMember(const char* value, Label label);
  void listHeader(Label label, uint32_t count);
  void appendf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void vappendf(const char* fmt, va_list args);

  std::string& out_;
  std::string prefix_;
  unsigned depth_ = 0;
  const TraceForm* form_ = nullptr;  // the form of the structure being printed
  Label label_ = nullptr;            // ... the label its parent gave it
  bool muted_ = false;               // ... its remaining members are not shown
  bool listOpen_ = false;            // ... its heading waits for the count of its list
  std::vector<std::string>* packedItems_ = nullptr;  // items of a packed list, being gathered
};

// ---- structures with a trace of their own ----------------------------------------------

// Values (print_values.cpp).
void printMember(PrintVisitor& v, ZQValueStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCurrencyStruct& s, Label label);
void printMember(PrintVisitor& v, ZQFieldValueStruct& s, Label label);
void printMember(PrintVisitor& v, ZQStatisticsResultList& s, Label label);
void printMember(PrintVisitor& v, ZQEntryIdList& s, Label label);
void printMember(PrintVisitor& v, ZQStatusStruct& s, Label label);

// Actions, menus, limits and definitions (print_overrides.cpp).
void printMember(PrintVisitor& v, ZQCurrencyPartStruct& s, Label label);
void printMember(PrintVisitor& v, ZQNotifyStruct& s, Label label);
void printMember(PrintVisitor& v, ZQGotoActionStruct& s, Label label);
void printMember(PrintVisitor& v, ZQMacroParmList& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuSQLStruct& s, Label label);
void printMember(PrintVisitor& v, ZQCharMenuSSStruct& s, Label label);
void printMember(PrintVisitor& v, ZQEnumeratedLimits& s, Label label);
void printMember(PrintVisitor& v, ZQIndexStruct& s, Label label);
void printMember(PrintVisitor& v, ZQEntryBlockStruct& s, Label label);

// Users and change times of definitions (print_overrides.cpp).
void printMember(PrintVisitor& v, ZQUserInfoStruct& s, Label label);
void printMember(PrintVisitor& v, ZQObjectChangeTimesStruct& s, Label label);

template <class T>
void printMember(PrintVisitor& v, T& s, Label label) {
  v.walk(s, label);
}

// ---- the walk ---------------------------------------------------------------------------

template <class T>
void PrintVisitor::structure(T& s, Label label) {
  if (!enter()) return;
  {
    Frame frame(*this, &kTraceForm<T>, label);
    printMember(*this, s, label);
  }
  leave();
}

template <class T>
void PrintVisitor::walk(T& s, Label label) {
  const TraceForm& form = *form_;
  if (form.labelAsCaption) {
    if (label && strcmp(label, "items") != 0) line("%s\n", labelText(label).c_str());
  } else if (form.counted || form.packing != Packing::none) {
    listOpen_ = true;  // the list writes the heading with its count
  } else if (form.heading) {
    line("%s\n", heading().c_str());
  }
  prefix_ = indented(form.members);
  describe(*this, s);
}

template <class T, class F>
void PrintVisitor::list(uint32_t& count, T*& items, F&& fn, Label label) {
  const Look* look = lookFor(label);
  if (skipped(look)) return;
  const bool own = ownList(label);
  const uint32_t n = items ? count : 0;
  if (own && form_->packing != Packing::none) {
    std::vector<std::string> texts;
    packedItems_ = &texts;
    for (uint32_t i = 0; i < n; ++i) fn(*this, items[i]);
    packedItems_ = nullptr;
    return writePacked(texts);
  }
  if (look && look->caption) line("%s\n", look->caption);
  if (own)
    line("%s %u items\n", heading().c_str(), count);
  else
    listHeader(label, count);
  Nest nest(*this, indented(own ? form_->items : look ? look->items : Indent::nested));
  for (uint32_t i = 0; i < n; ++i) fn(*this, items[i]);
}

// ---- entry points -------------------------------------------------------------------------

// The status list of a call's result record ("Status List: %u items").
void printStatusList(std::string& out, const ZQStatusList* status);

// Prints a structure with its trace form; label selects the variant some
// forms have (the "Filter If" of an action list, ...).
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

}  // namespace zq::diag
