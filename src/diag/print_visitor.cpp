// The trace-print visitor: lines, labels, words and the walk's bookkeeping.
#include "diag/print_visitor.h"

#include <cctype>
#include <cstdio>

namespace zq::diag {

namespace {

bool isItems(Label label) {
  return label && strcmp(label, "items") == 0;
}

// The word of a value; false when the value prints nothing at all.
bool findWord(const Words& words, uint32_t value, std::string& out) {
  for (const Word& w : words.words) {
    if (w.value != value) continue;
    if (!w.word) return false;
    out = w.word;
    return true;
  }
  char buf[96];
  snprintf(buf, sizeof buf, words.undefined, value);
  out = buf;
  return true;
}

}  // namespace

std::string wordOf(const Words& words, uint32_t value) {
  std::string word;
  findWord(words, value, word);
  return word;
}

std::string fixedString(const char* buf, size_t width) {
  return std::string(buf, strnlen(buf, width));
}

// ---- lines ------------------------------------------------------------------------------

void PrintVisitor::vappendf(const char* fmt, va_list args) {
  char small[512];
  va_list copy;
  va_copy(copy, args);
  const int n = vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out_.append(small, static_cast<size_t>(n));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  vsnprintf(big.data(), big.size(), fmt, args);
  big.resize(static_cast<size_t>(n));
  out_ += big;
}

void PrintVisitor::appendf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

void PrintVisitor::line(const char* fmt, ...) {
  out_ += prefix_;
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

void PrintVisitor::raw(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

std::string PrintVisitor::labelText(Label label) {
  if (!label || !*label) return "";
  const std::string l(label);
  if (l.find(':') != std::string::npos || !islower(static_cast<unsigned char>(l[0]))) return l;
  // A member name: "fieldId" reads "   Field Id:".
  std::string words = "   ";
  for (size_t i = 0; i < l.size(); ++i) {
    const char c = l[i];
    if (i == 0) {
      words += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    } else if (isupper(static_cast<unsigned char>(c))) {
      words += ' ';
      words += c;
    } else {
      words += c;
    }
  }
  return words + ":";
}

std::string PrintVisitor::nestedPrefix() const {
  return prefix_.size() >= 40 ? std::string() : prefix_ + "   ";
}

bool PrintVisitor::enter() {
  if (depth_ >= kMaxPrintDepth) {
    line("<nested too deeply to print>\n");
    return false;
  }
  ++depth_;
  return true;
}

void PrintVisitor::text(Label label, const char* value) {
  const std::string l = labelText(label);
  out_ += prefix_;
  out_ += l;
  if (value) {
    if (!l.empty()) out_ += ' ';
    out_ += value;
  }
  out_ += '\n';
}

void PrintVisitor::packed(const std::string& label, const std::vector<std::string>& items,
                          bool longItems) {
  const size_t limit = longItems ? 271 : 79;
  const size_t longestLabel = longItems ? 273 : 81;
  const std::string continuation = nestedPrefix();
  char counted[24];
  snprintf(counted, sizeof counted, "(%zu)  ", items.size());
  std::string line;
  if (label.size() > longestLabel) {
    out_.append(prefix_).append(label, 0, longestLabel).append("\n");
    line = continuation;
  } else {
    line = prefix_;
    line.append(" ").append(label).append(" ");
  }
  line.append(counted);
  const size_t fresh = continuation.size();  // a line holding only its prefix
  for (size_t i = 0; i < items.size(); ++i) {
    std::string item = items[i];
    if (i + 1 < items.size()) item += ", ";
    if (line.size() + item.size() >= limit && line.size() > fresh) {
      const size_t blank = line.find_last_of(' ');
      if (blank != std::string::npos)
        line[blank] = '\n';
      else
        line += '\n';
      out_ += line;
      line = continuation;
    }
    line += item;
  }
  out_ += line;
  out_ += '\n';
}

void PrintVisitor::listHeader(Label label, uint32_t count) {
  if (!label || isItems(label))
    line("%u items\n", count);
  else
    line("%s %u items\n", labelText(label).c_str(), count);
}

// ---- forms ------------------------------------------------------------------------------

PrintVisitor::Placement::Placement(PrintVisitor& v, const Look* look) : v_(v), saved_(v.prefix_) {
  if (!look) return;
  if (look->caption) v.line("%s\n", look->caption);
  v.prefix_ = v.indented(look->indent);
}

PrintVisitor::Frame::Frame(PrintVisitor& v, const TraceForm* form, Label label)
    : v_(v),
      form_(v.form_),
      label_(v.label_),
      muted_(v.muted_),
      listOpen_(v.listOpen_),
      prefix_(v.prefix_) {
  v.form_ = form;
  v.label_ = label;
  v.muted_ = false;
  v.listOpen_ = false;
}

PrintVisitor::Frame::~Frame() {
  v_.form_ = form_;
  v_.label_ = label_;
  v_.muted_ = muted_;
  v_.listOpen_ = listOpen_;
  v_.prefix_ = prefix_;
}

const Look* PrintVisitor::lookFor(Label label) const {
  if (!label || !form_) return nullptr;
  for (const Look& look : form_->looks)
    if (strcmp(look.label, label) == 0) return &look;
  return nullptr;
}

void PrintVisitor::after(const Look* look, uint32_t value) {
  if (!look) return;
  if (look->rest != Indent::same) prefix_ = indented(look->rest);
  if (look->stopAtZero && value == 0) muted_ = true;
}

std::string PrintVisitor::indented(Indent indent) const {
  switch (indent) {
    case Indent::same:
      break;
    case Indent::nested:
      return nestedPrefix();
    case Indent::nestedPlus:
      return nestedPrefix() + "   ";
  }
  return prefix_;
}

// The form's heading, its variant filled in from the caller's label.
std::string PrintVisitor::heading() const {
  std::string h = form_->heading ? form_->heading : "";
  if (!form_->variant) return h;
  const size_t at = h.find("%s");
  if (at != std::string::npos)
    h.replace(at, 2, label_ && !isItems(label_) ? label_ : form_->variant);
  return h;
}

// True for the list a counted or packed structure consists of.
bool PrintVisitor::ownList(Label label) {
  const bool own = listOpen_ && isItems(label);
  listOpen_ = false;
  return own;
}

// A packed list's label: the caller's, without its leading blanks, or the form's.
void PrintVisitor::writePacked(const std::vector<std::string>& items) {
  std::string label = form_->heading;
  if (label_ && !isItems(label_)) {
    const std::string l = labelText(label_);
    const size_t start = l.find_first_not_of(' ');
    label = start == std::string::npos ? l : l.substr(start);
  }
  packed(label, items, form_->packing == Packing::longItems);
}

// ---- members ------------------------------------------------------------------------------

void PrintVisitor::u32(uint32_t& x, Label label) {
  if (packedItems_) return packedItems_->push_back(std::to_string(x));
  const Look* look = lookFor(label);
  if (skipped(look)) return;
  if (look && look->words) {
    std::string word;
    if (findWord(*look->words, x, word)) {
      if (look->wordAlone)
        line("%s\n", word.c_str());
      else
        text(label, word.c_str());
    }
  } else if (look && look->asSigned) {
    scalar(label, "%d", static_cast<int32_t>(x));
  } else {
    scalar(label, "%u", x);
  }
  after(look, x);
}

void PrintVisitor::i32(int32_t& x, Label label) {
  if (packedItems_) return packedItems_->push_back(std::to_string(x));
  const Look* look = lookFor(label);
  if (skipped(look)) return;
  scalar(label, "%d", x);
}

void PrintVisitor::real(double& x, Label label) {
  if (skipped(lookFor(label))) return;
  scalar(label, "%f", x);
}

void PrintVisitor::flag(ZQBoolean& b, Label label) {
  if (skipped(lookFor(label))) return;
  text(label, b ? "TRUE" : "FALSE");
}

void PrintVisitor::u32Array(uint32_t* p, size_t n, Label label) {
  const Look* look = lookFor(label);
  if (skipped(look)) return;
  std::vector<std::string> items;
  for (size_t i = 0; i < n; ++i) {
    if (look && look->joinUntilZero && p[i] == 0) break;
    items.push_back(std::to_string(p[i]));
  }
  if (look && look->joinUntilZero) {
    std::string joined;
    for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
    return text(label, joined.c_str());
  }
  std::string l = "List:";
  if (label && !isItems(label)) {
    l = labelText(label);
    const size_t start = l.find_first_not_of(' ');
    if (start != std::string::npos) l = l.substr(start);
  }
  packed(l, items, false);
}

void PrintVisitor::textMember(const char* value, Label label) {
  const Look* look = lookFor(label);
  if (skipped(look)) return;
  if (!value && look && look->nullText) value = look->nullText;
  text(label, value);
}

void PrintVisitor::fixedText(const char* buf, size_t width, Label label) {
  if (packedItems_) return packedItems_->push_back(fixedString(buf, width));
  textMember(fixedString(buf, width).c_str(), label);
}

void PrintVisitor::string(char*& s, uint32_t, Label label) {
  textMember(s, label);
}

void PrintVisitor::text(uint32_t& length, char*& bytes, Label label) {
  textMember(bytes ? fixedString(bytes, length).c_str() : nullptr, label);
}

void PrintVisitor::bytes(uint32_t& size, unsigned char*& data, Label label) {
  if (skipped(lookFor(label))) return;
  line("%s %u bytes\n", labelText(label).c_str(), data ? size : 0u);
}

}  // namespace zq::diag
