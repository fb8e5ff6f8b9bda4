// What the calls of the workflow kinds (filters, active links,
// escalations, menus, containers) share beyond the pieces of every
// definition call (definitions.h): the checks of the common inputs and the
// list-by-form call of filters, active links and escalations.
#pragma once

#include <cstdint>

#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "calls/workflow_checks.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zq::calls::workflow {

inline constexpr uint32_t kMaxOrder = 1000;
inline constexpr uint32_t kMaxOperations = 127;
inline constexpr uint32_t kMaxExecuteMask = 134217727;
inline constexpr size_t kMaxErrorName = 255;

// The owner (empty allowed) and the object properties.
inline int checkCommon(const char* owner, ZQPropList* properties, ZQStatusList* status) {
  int rc = ZQCheckName(owner, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkProperties(properties, status);
  return rc;
}

// An error handler name of more than 255 characters: 8001 with the name.
int checkErrorName(const char* errorName, ZQStatusList* status);

// A connection whose form list is missing or empty changes nothing.
inline bool connectionGiven(const ZQWorkflowConnectStruct* forms) {
  return forms && !(forms->type == ZQ_WORKFLOW_CONN_SCHEMA_LIST &&
                    (!forms->schemaList || forms->schemaList->count == 0));
}

// The parts shared by every kind's request.
inline void fillCommon(transport::CommonProps& c, const char* helpText, const char* owner,
                       const char* changeDiary, ZQPropList* properties) {
  c.helpText = const_cast<char*>(helpText);
  copyName(c.owner, owner, sizeof c.owner);
  c.changeDiary = const_cast<char*>(changeDiary);
  if (properties) c.properties = *properties;
}

// ZQGetListFilter, ZQGetListActiveLink, ZQGetListEscalation.
template <class P>
int getListByForm(diag::Command command, ZQControlStruct* control, const char* form,
                  ZQTimestamp changedSince, ZQPropList* properties, ZQNameList* names,
                  ZQStatusList* status) {
  defs::clear(names);
  call::Call<P> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (form && strlen(form) > ZQ_MAX_NAME_SIZE) return call.fail(kMsgTooLong);
  if (!names) return call.fail(kMsgNoResultOutput);
  call.record(command, form, static_cast<uint32_t>(changedSince), diag::described(properties));
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form ? form : "");
    a.changedSince = changedSince;
    if (properties) a.properties = *properties;
    if (auto* reply = call.send()) call.raise(defs::convertNames(reply->names, names, status));
  }
  return call.finish(names);
}

}  // namespace zq::calls::workflow
