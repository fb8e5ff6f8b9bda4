// Argument checks shared by every server call family. Each check adds its
// error message (type 2) to the status list and returns the list's return
// code (2 or more) on the first fault; a sound argument returns 0 and adds
// nothing. Lengths are counted as the server counts them (serverTextLength).
//
// Only checkValue (and the checks that run it) may change the caller's
// structure: a value whose payload pointer is null becomes the null value.
#pragma once

#include "zqapi/zq_qual.h"
#include "zqapi/zq_session.h"

namespace zq::checks {

// Name, name pair and control record: checkName, checkControlAndNames
// and checkControl of the frame (frame/checks.h).

// Null list or count 0: 113 unless allowed; count without items 165; each
// name: empty 102, 255 or more characters 103, either followed by 114.
int checkNameList(const ZQNameList* names, bool emptyAllowed, ZQStatusList* status);

// Null list or count 0: 106; count without items 165; an id longer than 15
// characters 121; a list whose ids are all empty 100.
int checkEntryIds(const ZQEntryIdList* ids, ZQStatusList* status);

// Null list or count 0: 106 unless allowed; count without items 165; each
// inner list by checkEntryIds, stopping at the first failure.
int checkEntryIdLists(const ZQEntryIdListList* lists, bool emptyAllowed, ZQStatusList* status);

// Data type 44 or above 110; keyword above 46 197; an attachment name that is
// empty 102 or of 256 characters or more 109. A character, diary, byte list,
// decimal, attachment, coordinate, view or display value with a null
// pointer, and a currency without amount text, become the null value (a
// currency structure without amount is released first).
int checkValue(ZQValueStruct* value, ZQStatusList* status);

// Null list or count 0: 104 unless allowed; count without items 165; each
// value by checkValue, a failing one followed by 124.
int checkFieldValues(ZQFieldValueList* values, bool emptyAllowed, ZQStatusList* status);

// Null or empty passes; count without items 165; every column but field 99
// needs a field id, a column width and a separator of at most 10 characters
// (214).
int checkEntryListFields(const ZQEntryListFieldList* fields, ZQStatusList* status);

// Null or empty passes; count without items 165; sort order not 1 or 2: 153
// followed by 152.
int checkSortList(const ZQSortList* sort, ZQStatusList* status);

// The qualification tree (messages 141 to 148, 170, 203, 220, 8733, 8734 and
// those of the embedded-query check; 403 past the nesting limit). Operation 0
// passes only at the top and only when noConditionAllowed. Operands of
// negation have their left tag set to 1 (field) before the check.
int checkQualifier(ZQQualifierStruct* qualifier, bool noConditionAllowed, ZQStatusList* status);
int checkOperand(ZQFieldValueOrArithStruct* operand, ZQStatusList* status);

}  // namespace zq::checks
