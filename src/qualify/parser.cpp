// The grammar of the qualification language, loosest binding first:
//   qualification := and-term { OR and-term }
//   and-term      := term { AND term }
//   term          := NOT term | relation | ( qualification )
//   relation      := expression relational-operator expression
//   expression    := product { (+|-) product }
//   product       := unary { (*|/|%) unary }
//   unary         := - unary | ( expression ) | operand
// A parenthesis opened where a term is expected may hold a qualification or
// an expression: both parse through one descent and the kind of what came
// back decides. NOT and unary minus chains loop instead of recursing, so the
// stack depth is bounded by the 64 parentheses allowed.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "frame/frame.h"
#include "model/model.h"
#include "qualify/convert.h"
#include "qualify/qualify.h"
#include "qualify/tokens.h"

namespace zq::qualify {

const Field* FieldTable::byName(std::string_view name) const {
  for (const Field& f : fields)
    if (f.name == name) return &f;
  return nullptr;
}

const Field* FieldTable::byId(ZQInternalId id) const {
  for (const Field& f : fields)
    if (f.id == id) return &f;
  return nullptr;
}

namespace {

void freeQual(ZQQualifierStruct* q) {
  if (!q) return;
  model::release(*q);
  freeBlock(q);
}

// What one step of the descent built: a qualification or an operand.
struct Node {
  ZQQualifierStruct* qual = nullptr;
  ZQFieldValueOrArithStruct operand{};
  bool grouped = false;  // came back from parentheses
  int depth = 0;         // pointer levels below it

  Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  Node(Node&& o) noexcept : qual(o.qual), operand(o.operand), grouped(o.grouped), depth(o.depth) {
    o.qual = nullptr;
    o.operand = {};
  }
  Node& operator=(Node&& o) noexcept {
    if (this != &o) {
      reset();
      qual = std::exchange(o.qual, nullptr);
      operand = std::exchange(o.operand, {});
      grouped = o.grouped;
      depth = o.depth;
    }
    return *this;
  }
  ~Node() { reset(); }
  void reset() {
    freeQual(qual);
    qual = nullptr;
    model::release(operand);
    operand = {};
  }
  bool isQual() const { return qual != nullptr; }
  ZQQualifierStruct* takeQual() { return std::exchange(qual, nullptr); }
  ZQFieldValueOrArithStruct takeOperand() { return std::exchange(operand, {}); }
};

class Parser {
 public:
  Parser(const FieldTable& table, const char* text, const KeywordValue& keywords,
         ZQStatusList* status)
      : table_(table), tokens_(text), keywords_(keywords), status_(status) {}

  int run(ZQQualifierStruct* out) {
    if (!advance()) return error_;
    Node top;
    if (!qualification(top)) return error_;
    if (!top.isQual()) return fail(notQual(top));
    if (token_.kind == Tok::close) return fail(kMsgQualAfterRelation);  // none open
    if (token_.kind != Tok::end) return fail(kMsgQualUnexpected);
    ZQQualifierStruct* q = top.takeQual();
    *out = *q;
    freeBlock(q);
    return 0;
  }

 private:
  // ---- errors --------------------------------------------------------------------------

  // The error with the position where reading stopped.
  bool failAt(int32_t message, size_t position) {
    error_ = message;
    addError(status_, message, positionText(tokens_.text(), position).c_str());
    return false;
  }
  int fail(int32_t message) {
    failAt(message, token_.start);
    return error_;
  }
  bool failed(int32_t message) {
    fail(message);
    return false;
  }
  // An error whose entry was already added (keyword expansion, memory).
  bool failedQuietly(int32_t message) {
    error_ = message;
    return false;
  }

  bool advance() {
    int32_t message = 0;
    if (tokens_.next(token_, &message)) return true;
    return failAt(message, tokens_.position());
  }

  // Every walker of the tree (release, copy, encoding, the server's
  // decoder) recurses: one more level over both parts, refused past the
  // limit, so that a long chain of AND or + cannot exhaust a stack.
  bool deepen(Node& left, const Node& right) {
    left.depth = std::max(left.depth, right.depth) + 1;
    if (left.depth > kMaxTreeDepth) return failed(kMsgQualTooDeep);
    return true;
  }

  // An expression where a qualification belongs: a closed arithmetic group
  // is unexpected there, anything else lacks its relational operator.
  static int32_t notQual(const Node& n) {
    return n.grouped ? kMsgQualUnexpected : kMsgQualRelOpExpected;
  }

  // ---- qualifications ----------------------------------------------------------------

  bool joinQual(Node& left, Node& right, uint32_t operation) {
    if (!deepen(left, right)) return false;
    auto* q = static_cast<ZQQualifierStruct*>(allocZeroed(1, sizeof(ZQQualifierStruct)));
    if (!q) return noMemory();
    q->operation = operation;
    q->u.andOr.left = left.takeQual();
    q->u.andOr.right = right.takeQual();
    left.qual = q;
    left.grouped = false;
    return true;
  }

  bool qualification(Node& out) {
    if (!andTerm(out)) return false;
    while (token_.kind == Tok::orWord) {
      if (!out.isQual()) return failed(notQual(out));
      if (!advance()) return false;
      Node right;
      if (!andTerm(right)) return false;
      if (!right.isQual()) return failed(notQual(right));
      if (!joinQual(out, right, ZQ_COND_OP_OR)) return false;
    }
    return true;
  }

  bool andTerm(Node& out) {
    if (!term(out)) return false;
    while (token_.kind == Tok::andWord) {
      if (!out.isQual()) return failed(notQual(out));
      if (!advance()) return false;
      Node right;
      if (!term(right)) return false;
      if (!right.isQual()) return failed(notQual(right));
      if (!joinQual(out, right, ZQ_COND_OP_AND)) return false;
    }
    return true;
  }

  bool term(Node& out) {
    size_t nots = 0;
    while (token_.kind == Tok::notWord) {
      ++nots;
      if (!advance()) return false;
    }
    if (!relation(out)) return false;
    if (nots > 0 && !out.isQual()) return failed(notQual(out));
    for (; nots > 0; --nots) {
      if (!deepen(out, out)) return false;
      auto* q = static_cast<ZQQualifierStruct*>(allocZeroed(1, sizeof(ZQQualifierStruct)));
      if (!q) return noMemory();
      q->operation = ZQ_COND_OP_NOT;
      q->u.operand = out.takeQual();
      out.qual = q;
      out.grouped = false;
    }
    return true;
  }

  bool relation(Node& out) {
    Marks outer = marks_;
    marks_ = Marks{};
    Node left;
    if (!expression(left)) return false;
    if (left.isQual()) {  // a parenthesised qualification
      marks_ = outer;
      out = std::move(left);
      if (token_.kind == Tok::relation || token_.kind == Tok::arithmetic)
        return failed(kMsgQualUnexpected);
      return true;
    }
    if (token_.kind != Tok::relation) {
      // An expression where a term belongs: the caller decides whether
      // that is fine (inside parentheses of an expression) or not; the
      // relation it belongs to keeps what its fields say.
      outer |= marks_;
      marks_ = outer;
      out = std::move(left);
      return true;
    }
    const uint32_t operation = token_.code;
    if (!advance()) return false;
    Node right;
    if (!expression(right)) return false;
    if (right.isQual()) return failed(kMsgQualUnexpected);
    if (!deepen(left, right)) return false;
    auto* rel = static_cast<ZQRelOpStruct*>(allocZeroed(1, sizeof(ZQRelOpStruct)));
    auto* q = static_cast<ZQQualifierStruct*>(allocZeroed(1, sizeof(ZQQualifierStruct)));
    if (!rel || !q) {
      freeBlock(rel);
      freeBlock(q);
      return noMemory();
    }
    rel->operation = operation;
    rel->left = left.takeOperand();
    rel->right = right.takeOperand();
    q->operation = ZQ_COND_OP_REL_OP;
    q->u.relation = rel;
    out.reset();
    out.qual = q;
    out.grouped = false;
    out.depth = left.depth;
    const Marks marks = marks_;
    marks_ = outer;
    if (int32_t message = convertRelation(table_, marks, *rel, status_)) {
      error_ = message;
      if (message == kMsgNoMemory) return false;
      return failAt(message, tokens_.text().size() < token_.start ? 0 : token_.start);
    }
    if (token_.kind != Tok::end && token_.kind != Tok::close && token_.kind != Tok::andWord &&
        token_.kind != Tok::orWord)
      return failed(kMsgQualAfterRelation);
    return true;
  }

  // ---- expressions -------------------------------------------------------------------

  bool joinArith(Node& left, Node& right, uint32_t operation) {
    if (!deepen(left, right)) return false;
    auto* a = static_cast<ZQArithOpStruct*>(allocZeroed(1, sizeof(ZQArithOpStruct)));
    if (!a) return noMemory();
    a->operation = operation;
    a->left = left.takeOperand();
    a->right = right.takeOperand();
    left.operand.tag = ZQ_ARITHMETIC;
    left.operand.u.arithOp = a;
    left.grouped = false;
    return true;
  }

  bool expression(Node& out) {
    if (!product(out)) return false;
    while (token_.kind == Tok::arithmetic &&
           (token_.code == ZQ_ARITH_OP_ADD || token_.code == ZQ_ARITH_OP_SUBTRACT)) {
      if (out.isQual()) return failed(kMsgQualUnexpected);
      const uint32_t operation = token_.code;
      if (!advance()) return false;
      Node right;
      if (!product(right)) return false;
      if (right.isQual()) return failed(kMsgQualUnexpected);
      if (!joinArith(out, right, operation)) return false;
    }
    return true;
  }

  bool product(Node& out) {
    if (!unary(out)) return false;
    while (token_.kind == Tok::arithmetic && token_.code != ZQ_ARITH_OP_ADD &&
           token_.code != ZQ_ARITH_OP_SUBTRACT) {
      if (out.isQual()) return failed(kMsgQualUnexpected);
      const uint32_t operation = token_.code;
      if (!advance()) return false;
      Node right;
      if (!unary(right)) return false;
      if (right.isQual()) return failed(kMsgQualUnexpected);
      if (!joinArith(out, right, operation)) return false;
    }
    return true;
  }

  bool unary(Node& out) {
    size_t negations = 0;
    while (token_.kind == Tok::arithmetic && token_.code == ZQ_ARITH_OP_SUBTRACT) {
      ++negations;
      if (!advance()) return false;
    }
    if (!primary(out)) return false;
    if (negations > 0 && out.isQual()) return failed(kMsgQualUnexpected);
    for (; negations > 0; --negations) {
      Node none;
      none.depth = out.depth;
      if (!joinArith(none, out, ZQ_ARITH_OP_NEGATE)) return false;
      out = std::move(none);
    }
    return true;
  }

  bool primary(Node& out) {
    if (token_.kind == Tok::open) {
      if (depth_ == kMaxParentheses) return failed(kMsgQualTooDeep);
      ++depth_;
      const size_t opened = token_.start;
      if (!advance()) return false;
      if (!qualification(out)) return false;
      if (token_.kind != Tok::close) {
        if (token_.kind == Tok::end) return failAt(kMsgQualParenOpen, opened);
        return failed(out.isQual() ? kMsgQualAfterRelation : kMsgQualUnexpected);
      }
      --depth_;
      out.grouped = true;
      return advance();
    }
    if (!operand(out.operand)) return false;
    return advance();
  }

  // ---- operands ----------------------------------------------------------------------

  bool operand(ZQFieldValueOrArithStruct& out) {
    switch (token_.kind) {
      case Tok::null:
        out.tag = ZQ_VALUE;
        out.u.value.dataType = ZQ_DATA_TYPE_NULL;
        return true;
      case Tok::integer:
        out.tag = ZQ_VALUE;
        out.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
        out.u.value.u.integerValue = token_.integer;
        return true;
      case Tok::real:
        out.tag = ZQ_VALUE;
        out.u.value.dataType = ZQ_DATA_TYPE_REAL;
        out.u.value.u.realValue = token_.real;
        return true;
      case Tok::keyword:
        out.tag = ZQ_VALUE;
        if (token_.keyword >= 0) {
          out.u.value.dataType = ZQ_DATA_TYPE_KEYWORD;
          out.u.value.u.keywordNumber = static_cast<uint32_t>(token_.keyword);
          noteKeyword(token_.keyword);
        }
        return true;
      case Tok::text: {
        out.tag = ZQ_VALUE;
        if (int32_t message = expandKeywords(token_.text, keywords_, &out.u.value, status_))
          return failedQuietly(message);
        if (out.u.value.dataType == ZQ_DATA_TYPE_KEYWORD)
          noteKeyword(static_cast<int>(out.u.value.u.keywordNumber));
        return true;
      }
      case Tok::field: {
        const int32_t message = resolveField(table_, token_.text, out, marks_);
        if (message == kMsgQualUnknownField) {
          // The reference itself says more than a position would.
          error_ = message;
          addError(status_, message, token_.text.c_str());
          return false;
        }
        if (message == kMsgNoMemory) return noMemory();
        if (message) return failed(message);
        return true;
      }
      default:
        return failed(kMsgQualOperandExpected);
    }
  }

  void noteKeyword(int number) {
    if (number >= kKeywordTimestamp && number <= kKeywordDate) marks_.time = true;
  }

  bool noMemory() {
    error_ = kMsgNoMemory;
    addError(status_, kMsgNoMemory);
    return false;
  }

  const FieldTable& table_;
  Tokenizer tokens_;
  const KeywordValue& keywords_;
  ZQStatusList* status_;
  Token token_;
  Marks marks_;
  int depth_ = 0;
  int32_t error_ = 0;
};

}  // namespace

std::string positionText(std::string_view text, size_t position) {
  constexpr size_t kAround = 15;
  if (position > text.size()) position = text.size();
  std::string out = "position " + std::to_string(position) + "   (";
  const size_t from = position > kAround ? position - kAround : 0;
  if (from > 0) out += "...";
  out.append(text.substr(from, position - from));
  out += '^';
  out.append(text.substr(position, kAround));
  out += position + kAround < text.size() ? "...)" : ")";
  return out;
}

int parse(const FieldTable& table, const char* text, const KeywordValue& keywords,
          ZQQualifierStruct* out, ZQStatusList* status) {
  *out = ZQQualifierStruct{};
  Parser parser(table, text, keywords, status);
  return parser.run(out);
}

}  // namespace zq::qualify
