#include "qualify/tokens.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "frame/frame.h"
#include "qualify/qualify.h"
#include "text/text.h"

namespace zq::qualify {
namespace {

bool separator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A run of other characters ends at one of these (or a separator).
bool endsRun(char c) {
  return separator(c) || c == '\0' || strchr("()=!<>+*/%\"'", c) != nullptr;
}

bool digit(char c) {
  return c >= '0' && c <= '9';
}

bool sameWord(std::string_view a, const std::string& b) {
  if (a.size() != b.size() || b.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y && toupper(x) != toupper(y)) return false;
  }
  return true;
}

}  // namespace

bool Tokenizer::quoted(char quote, std::string& out, int32_t* error) {
  const size_t open = pos_;
  ++pos_;
  for (;;) {
    if (pos_ >= text_.size()) {
      pos_ = open;
      *error = kMsgQualQuoteOpen;
      return false;
    }
    const char c = text_[pos_++];
    if (c != quote) {
      out += c;
    } else if (pos_ < text_.size() && text_[pos_] == quote) {
      out += quote;  // doubled: the quote itself
      ++pos_;
    } else {
      return true;
    }
  }
}

std::string_view Tokenizer::run() {
  const size_t start = pos_;
  while (pos_ < text_.size() && !endsRun(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

bool Tokenizer::next(Token& out, int32_t* error) {
  out = Token{};
  while (pos_ < text_.size() && separator(text_[pos_])) ++pos_;
  out.start = pos_;
  if (pos_ >= text_.size()) return true;  // end
  const char c = text_[pos_];
  const char d = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
  auto two = [&](Tok kind, uint32_t code) {
    out.kind = kind;
    out.code = code;
    pos_ += 2;
    return true;
  };
  auto one = [&](Tok kind, uint32_t code) {
    out.kind = kind;
    out.code = code;
    pos_ += 1;
    return true;
  };
  switch (c) {
    case '(':
      return one(Tok::open, 0);
    case ')':
      return one(Tok::close, 0);
    case '=':
      return d == '=' ? two(Tok::relation, ZQ_REL_OP_EQUAL) : one(Tok::relation, ZQ_REL_OP_EQUAL);
    case '!':
      return d == '=' ? two(Tok::relation, ZQ_REL_OP_NOT_EQUAL) : one(Tok::notWord, 0);
    case '<':
      if (d == '>') return two(Tok::relation, ZQ_REL_OP_NOT_EQUAL);
      if (d == '=') return two(Tok::relation, ZQ_REL_OP_LESS_EQUAL);
      return one(Tok::relation, ZQ_REL_OP_LESS);
    case '>':
      return d == '=' ? two(Tok::relation, ZQ_REL_OP_GREATER_EQUAL)
                      : one(Tok::relation, ZQ_REL_OP_GREATER);
    case '+':
      return one(Tok::arithmetic, ZQ_ARITH_OP_ADD);
    case '-':
      return one(Tok::arithmetic, ZQ_ARITH_OP_SUBTRACT);
    case '*':
      return one(Tok::arithmetic, ZQ_ARITH_OP_MULTIPLY);
    case '/':
      return one(Tok::arithmetic, ZQ_ARITH_OP_DIVIDE);
    case '%':
      return one(Tok::arithmetic, ZQ_ARITH_OP_MODULO);
    case '&':
      if (d == '&') return two(Tok::andWord, 0);
      break;
    case '|':
      if (d == '|') return two(Tok::orWord, 0);
      break;
    case '"':
      out.kind = Tok::text;
      return quoted('"', out.text, error);
    case '\'':
      out.kind = Tok::field;
      if (!quoted('\'', out.text, error)) return false;
      // 'Status History'.Fixed.TIME: what follows the quote directly
      // belongs to the reference.
      out.text += run();
      return true;
    default:
      break;
  }

  if (digit(c) || (c == '.' && digit(d))) {
    // The text is terminated (it comes from a C string), so strtod stops
    // inside it, as "%lg" would.
    char* end = nullptr;
    const double v = strtod(text_.data() + pos_, &end);
    const size_t used = static_cast<size_t>(end - (text_.data() + pos_));
    if (used > 0 && pos_ + used <= text_.size()) {
      pos_ += used;
      if (std::isfinite(v) && v == std::floor(v) && v >= INT32_MIN && v <= INT32_MAX) {
        out.kind = Tok::integer;
        out.integer = static_cast<int32_t>(v);
      } else {
        out.kind = Tok::real;
        out.real = v;
      }
      return true;
    }
  }

  const size_t start = pos_;
  if (c == '$') {
    // $NAME$: a keyword when NAME is one; a minus right after it is not
    // part of it.
    const size_t close = text_.find('$', pos_ + 1);
    if (close != std::string_view::npos) {
      const int number = keywordOf(text_.substr(pos_ + 1, close - pos_ - 1));
      if (number != -2) {
        out.kind = Tok::keyword;
        out.keyword = number;
        pos_ = close + 1;
        return true;
      }
    }
  }
  std::string_view word = run();
  if (word.empty()) {  // a lone '&' or '|' followed by a stop character
    pos_ = start + 1;
    word = text_.substr(start, 1);
  }
  const text::KeywordTables& words = text::keywordTables();
  if (sameWord(word, words.like)) return out.kind = Tok::relation, out.code = ZQ_REL_OP_LIKE, true;
  if (sameWord(word, words.andWord)) return out.kind = Tok::andWord, true;
  if (sameWord(word, words.orWord)) return out.kind = Tok::orWord, true;
  if (sameWord(word, words.notWord)) return out.kind = Tok::notWord, true;
  if (sameWord(word, words.nullWord)) return out.kind = Tok::null, true;
  out.kind = Tok::field;
  out.text.assign(word);
  return true;
}

}  // namespace zq::qualify
