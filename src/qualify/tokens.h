// The tokens of the qualification language, read one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zq::qualify {

enum class Tok {
  end,
  open,
  close,
  relation,    // code: the relational operation
  arithmetic,  // code: the arithmetic operation
  andWord,
  orWord,
  notWord,
  null,
  integer,  // integer
  real,     // real
  text,     // text: double-quoted, quotes undoubled
  field,    // text: the reference, quotes undoubled
  keyword,  // code: keyword number, -1 for no keyword
};

struct Token {
  Tok kind = Tok::end;
  size_t start = 0;  // offset of its first character
  uint32_t code = 0;
  int32_t integer = 0;
  double real = 0;
  int keyword = 0;
  std::string text;
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}
  // The next token; false with the message number in *error (an unclosed
  // quote) and the position at the quote.
  bool next(Token& out, int32_t* error);
  size_t position() const { return pos_; }
  std::string_view text() const { return text_; }

 private:
  bool quoted(char quote, std::string& out, int32_t* error);
  std::string_view run();

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace zq::qualify
