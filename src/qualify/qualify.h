// The qualification language a person types, such as
//   'Status' = "Open" AND 'Priority' > 2
// turned into a qualification tree against the fields of one form. The
// parser knows nothing of servers: the caller hands it the form's field
// table and the current values of the keywords. Other subsystems include
// this header only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "zqapi/zq_qual.h"

namespace zq::qualify {

// Field ids the language knows by number.
inline constexpr ZQInternalId kStatusField = 7;
inline constexpr ZQInternalId kStatusHistoryField = 15;

// Parentheses, of either kind, nest at most this deep.
inline constexpr int kMaxParentheses = 64;
// Pointer levels of a built tree: below what the wire decoder accepts.
inline constexpr int kMaxTreeDepth = 480;

struct EnumName {
  std::string name;
  uint32_t number = 0;
};

// One field of the form: the name used in qualifications (its label in the
// chosen view, else its name) and, for enumerations, the value names.
struct Field {
  ZQInternalId id = 0;
  uint32_t dataType = 0;
  std::string name;
  std::vector<EnumName> values;
};

struct FieldTable {
  std::vector<Field> fields;
  const Field* byName(std::string_view name) const;  // exact comparison
  const Field* byId(ZQInternalId id) const;
};

// The current value of a keyword (by number) as text; keywords without a
// value answer the empty text. A failure to find it returns a message
// number (0 when fine), which ends the parse with that error.
using KeywordValue = std::function<int32_t(int keyword, std::string& value)>;

// Parses text into *out. Returns 0 with the tree, or the message number of
// the first fault, added to status with its position detail; *out is then
// left empty (operation 0).
int parse(const FieldTable& table, const char* text, const KeywordValue& keywords,
          ZQQualifierStruct* out, ZQStatusList* status);

// Keyword expansion of one text: exactly one keyword gives a value of type
// keyword (no keyword: a NULL value); otherwise each known keyword in the
// text is replaced by its current value and the result is a char value.
// Returns 0 or a message number (added to status, without detail).
int expandKeywords(std::string_view text, const KeywordValue& keywords, ZQValueStruct* out,
                   ZQStatusList* status);

// The keyword number of the text between the dollar signs of one keyword,
// -1 for "no keyword" (the null word, "--1"), or -2 when it names none.
int keywordOf(std::string_view name);

// This machine's processor and operating system, as the HARDWARE and OS
// keywords give them.
std::string hardwareText();
std::string systemText();

}  // namespace zq::qualify
