#include "access.h"

#include <strings.h>

#include <algorithm>

#include "administration.h"
#include "frame/message_numbers.h"
#include "query_engine.h"
#include "server.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

constexpr uint32_t kImpersonationProperty = 1;
constexpr uint32_t kProcedureServerInfo = 36;
constexpr uint32_t kProcedureEndSession = 47;

void refuse(Call& call, int32_t message, const std::string& appended = {}) {
  if (call.status)
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, message,
                appended.empty() ? nullptr : appended.c_str());
}

Accounts& accountsOf(const Call& call) {
  return call.server.accounts();
}

}  // namespace

std::string impersonatedUserOf(const zq::transport::RequestHeader& header) {
  for (uint32_t i = 0; i < header.properties.count && header.properties.items; ++i) {
    const ZQPropStruct& p = header.properties.items[i];
    if (p.propertyTag == kImpersonationProperty && p.value.dataType == ZQ_DATA_TYPE_CHAR &&
        p.value.u.charValue)
      return p.value.u.charValue;
  }
  return {};
}

bool admit(Call& call, const zq::transport::RequestHeader& header, const std::string& password) {
  const std::string user = header.user ? header.user : "";
  Accounts& accounts = accountsOf(call);
  const uint32_t number = call.procedure.number;
  // The private contexts bind as the access user, which only learns the
  // settings of a first contact and ends its session.
  if (strcasecmp(user.c_str(), kAccessUser) == 0 && password.empty() &&
      (number == kProcedureServerInfo || number == kProcedureEndSession) && accounts.hasUsers()) {
    call.principal = Principal{};
    call.principal.user = call.principal.realUser = kAccessUser;
    call.principal.open = false;
    call.principal.administrator = false;
    call.principal.accessUser = true;
    return true;
  }
  if (int32_t message = accounts.authenticate(user, password, call.principal)) {
    call.server.administration().count(kStatFailedLogins);
    refuse(call, message, user);
    return false;
  }
  const std::string impersonated = impersonatedUserOf(header);
  if (!impersonated.empty()) {
    if (int32_t message = accounts.impersonate(call.principal, impersonated)) {
      refuse(call, message, impersonated);
      return false;
    }
  }
  return true;
}

bool requireAdministrator(Call& call) {
  if (call.principal.administrator) return true;
  refuse(call, zq::kMsgAdministratorRequired);
  return false;
}

bool mayRead(Call& call, const std::string& form) {
  if (accountsOf(call).formAccess(call.principal, form) != Access::none) return true;
  refuse(call, zq::kMsgNoFormAccess, form);
  return false;
}

bool mayChangeEntries(Call& call, const std::string& form) {
  if (accountsOf(call).formAccess(call.principal, form) == Access::change) return true;
  refuse(call, zq::kMsgNoFormAccess, form);
  return false;
}

bool mayChangeFields(Call& call, const std::string& form, const ZQFieldValueList& values) {
  if (!mayRead(call, form)) return false;
  const Accounts& accounts = accountsOf(call);
  for (uint32_t i = 0; i < values.count && values.items; ++i) {
    const ZQInternalId field = values.items[i].fieldId;
    if (accounts.fieldAccess(call.principal, form, field) != Access::change) {
      refuse(call, zq::kMsgFieldNotChangeable, std::to_string(field));
      return false;
    }
  }
  return true;
}

namespace {

// The fields a qualification or an operand reads.
void fieldsOf(const ZQFieldValueOrArithStruct& o, std::vector<ZQInternalId>& out);

void fieldsOf(const ZQQualifierStruct* q, std::vector<ZQInternalId>& out) {
  if (!q) return;
  switch (q->operation) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      fieldsOf(q->u.andOr.left, out);
      fieldsOf(q->u.andOr.right, out);
      return;
    case ZQ_COND_OP_NOT:
      fieldsOf(q->u.operand, out);
      return;
    case ZQ_COND_OP_REL_OP:
      if (!q->u.relation) return;
      fieldsOf(q->u.relation->left, out);
      fieldsOf(q->u.relation->right, out);
      return;
    default:
      return;
  }
}

void fieldsOf(const ZQFieldValueOrArithStruct& o, std::vector<ZQInternalId>& out) {
  const uint32_t tag = o.tag;
  if (tag == ZQ_FIELD || tag == ZQ_FIELD_TRAN || tag == ZQ_FIELD_DB || tag == ZQ_FIELD_CURRENT ||
      (tag >= 12 && tag <= 26)) {
    out.push_back(o.u.fieldId);
    return;
  }
  switch (tag) {
    case ZQ_ARITHMETIC:
      if (!o.u.arithOp) return;
      fieldsOf(o.u.arithOp->left, out);
      fieldsOf(o.u.arithOp->right, out);
      return;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT:
      if (o.u.currencyField) out.push_back(o.u.currencyField->fieldId);
      return;
    default:
      return;
  }
}

}  // namespace

bool mayUseFields(Call& call, const std::string& form, const ZQQualifierStruct* qualifier,
                  const ZQSortList* sort, const ZQFieldValueOrArithStruct* target) {
  if (call.principal.open || call.principal.administrator) return true;
  std::vector<ZQInternalId> fields;
  fieldsOf(qualifier, fields);
  for (uint32_t i = 0; sort && sort->items && i < sort->count; ++i)
    fields.push_back(sort->items[i].fieldId);
  if (target) fieldsOf(*target, fields);
  const Accounts& accounts = accountsOf(call);
  for (ZQInternalId field : fields) {
    if (accounts.fieldAccess(call.principal, form, field) == Access::none) {
      refuse(call, zq::kMsgNoFormAccess, form + " " + std::to_string(field));
      return false;
    }
  }
  return true;
}

void hideFields(const Call& call, const std::string& form, ZQFieldValueList& values) {
  if (call.principal.open || call.principal.administrator || !values.items) return;
  const Accounts& accounts = accountsOf(call);
  uint32_t kept = 0;
  for (uint32_t i = 0; i < values.count; ++i) {
    ZQFieldValueStruct& v = values.items[i];
    if (accounts.fieldAccess(call.principal, form, v.fieldId) == Access::none) {
      FreeZQValueStruct(&v.value, 0);
      continue;
    }
    if (kept != i) values.items[kept] = v;
    ++kept;
  }
  values.count = kept;
}

void hideFields(const Call& call, QueryResult& result) {
  if (call.principal.open || call.principal.administrator) return;
  const Accounts& accounts = accountsOf(call);
  const std::string& form = result.form.name;
  auto& fields = result.form.fields;
  fields.erase(std::remove_if(fields.begin(), fields.end(),
                              [&](const FieldDef& f) {
                                return accounts.fieldAccess(call.principal, form, f.id) ==
                                       Access::none;
                              }),
               fields.end());
  for (Row& row : result.rows) hideFields(call, form, row.values);
}

}  // namespace zqserver
