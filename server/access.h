// Who a call runs as and what it may do: the authentication of every call
// when the store has users, impersonation, the administrators' operations
// and the permissions of groups on forms and fields. Handlers call these
// gates; each adds its message to the reply when it refuses.
#pragma once

#include <string>

#include "accounts.h"
#include "dispatch.h"
#include "transport/records.h"
#include "zqapi/zq_qual.h"

namespace zqserver {

struct QueryResult;

// Authenticates a request from its header (user, recovered password,
// impersonation property) and fills call.principal. False, with 623 or 627
// added, when the call must not run.
bool admit(Call& call, const zq::transport::RequestHeader& header, const std::string& password);
// The impersonated user a request names (client property 1), or "".
std::string impersonatedUserOf(const zq::transport::RequestHeader& header);

// Administrators only: false with 624 added otherwise.
bool requireAdministrator(Call& call);

// The form may be read (view or change) / its entries changed; false with
// 625 added otherwise.
bool mayRead(Call& call, const std::string& form);
bool mayChangeEntries(Call& call, const std::string& form);
// Every field given may be changed: false with 626 (and the field id) added
// otherwise.
bool mayChangeFields(Call& call, const std::string& form, const ZQFieldValueList& values);
// A query may qualify, sort and count only by fields the caller may see:
// otherwise a hidden value could be guessed from which entries match.
// False with 625 (form and field id) added.
bool mayUseFields(Call& call, const std::string& form, const ZQQualifierStruct* qualifier,
                  const ZQSortList* sort, const ZQFieldValueOrArithStruct* target = nullptr);
// Drops the values of the fields the caller may not see.
void hideFields(const Call& call, const std::string& form, ZQFieldValueList& values);
void hideFields(const Call& call, QueryResult& result);

}  // namespace zqserver
