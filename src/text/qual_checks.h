// Checks of qualifications, operands, values and assignments before they are
// encoded as text, and the embedded-query check shared with the argument
// checks of the server calls.
//
// Each check adds exactly one ERROR entry to status for the first fault it
// finds and returns its return code (2 or more); a sound tree returns 0 and
// adds nothing. Nothing in the checked tree is changed.
#pragma once

#include "zqapi/zq_qual.h"

namespace zq::text {

// Checks a nested qualification on behalf of checkEmbeddedQuery; returns a
// return code and may add entries to status (they are discarded).
using NestedQualifierCheck = int (*)(const ZQQualifierStruct* qual, ZQStatusList* status);

// The embedded query of an operand (tag 53):
//   null query                                         221
//   form name empty                                    102
//   form name of 255 bytes or more (or unterminated)   103
//   server empty or longer than 64 bytes               222
//   nested qualification refused by nestedCheck        222
//   value field id 0                                   222
//   multi-match code not 1 (error), 2 (first), 3 (set) 223
// The nested qualification may be null or of operation 0 (no condition).
// A null nestedCheck checks it with checkQualifier's rules.
int checkEmbeddedQuery(const ZQQueryStruct* query, ZQStatusList* status,
                       NestedQualifierCheck nestedCheck = nullptr);

// A whole qualification. Null or operation 0 passes at the top; below the
// top an operation 0, or AND, OR, NOT without their operands, give 141.
// Operation above 5: 142; relational node null 143, operator 0 or above 8
// 144; operands by checkOperand. Nesting deeper than kMaxNesting: 403.
int checkQualifier(const ZQQualifierStruct* qual, ZQStatusList* status);

// One operand: tags 1, 13 to 26, 50, 51, 99 pass; 2 checkValue; 3 arithmetic
// node null 145, operator 0 or above 6 146, operands (right only for 6);
// 4 selector not 1 or 2 170; 5 count 0 203, items null 165, each value;
// 6 and 54 to 56 part node null 147, part above 4 8733, part 4 with a code
// that is not 3 bytes 8734; 52 variable above 10 220; 53 checkEmbeddedQuery;
// any other tag (0 and 12 included) 148.
int checkOperand(const ZQFieldValueOrArithStruct* operand, ZQStatusList* status);

// One value: data type 44 or above 110, keyword above 46 197; a currency
// with a functional currency whose code is not 1 to 3 bytes 8734, or a
// functional list with a count but no items 165; an attachment whose name
// holds a backslash 404. Null payload pointers pass: they encode as NULL.
int checkValue(const ZQValueStruct* value, ZQStatusList* status);

// A whole assignment; type 0 passes at the top, below it gives 195.
// The rules of each type are those of the text form (see the .cpp).
int checkAssign(const ZQAssignStruct* assign, ZQStatusList* status);

}  // namespace zq::text
