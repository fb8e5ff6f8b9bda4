// Argument checks of the workflow definitions: action lists and every
// action of filters, escalations and active links, the assignments inside
// them, escalation times, character menus, workflow connections and the
// owners and references of containers. They run before anything is
// recorded or sent; like the shared checks each adds its error message and
// returns 2 on the first fault, 0 when the structure passes.
//
// Some repair the caller's structure in place (a notify's null subject, a
// macro parameter's null value, a DDE's null item or command become empty
// texts; a notify of field-list kind 0 loses its list; a negation's left
// operand is cleared). The repair stays whether or not a later check fails;
// a failed allocation for it gives 154.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_workflow.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zq::checks {

// Where a filter action list belongs: a filter's or an escalation's, its
// if- or else-list. Some actions are not allowed in escalations.
struct ActionListPlace {
  bool escalation = false;
  bool elseList = false;
};

// Null or empty 284 (escalation) or 116 (filter); count without items 165;
// 26 or more actions 182; then each action.
int checkFilterActions(ZQFilterActionList* actions, ActionListPlace place, ZQStatusList* status);
int checkFilterAction(ZQFilterActionStruct* action, ActionListPlace place, ZQStatusList* status);

// Null or empty 189; count without items 165; 26 or more 182; each action.
int checkActiveLinkActions(ZQActiveLinkActionList* actions, ZQStatusList* status);
int checkActiveLinkAction(ZQActiveLinkActionStruct* action, ZQStatusList* status);

// Null or empty 192; count without items 165; a failing item adds 193.
int checkFieldAssignments(ZQFieldAssignList* assignments, ZQStatusList* status);
int checkAssignment(ZQAssignStruct* assignment, ZQStatusList* status);

// Returns the message number (0: passes) and adds nothing: an interval
// above 0 (247); a calendar with a day (248), an hour (249) and a minute
// of at most 59 (250); another kind 246.
int32_t escalationTimeMessage(const ZQEscalationTimeStruct& time);

// A workflow connection: type 1 (8923) with a form list passing the name
// list check (an empty list is allowed).
int checkConnection(const ZQWorkflowConnectStruct* forms, ZQStatusList* status);

// The menu definition: every menu type's rules, list menus to a nesting
// depth below 16 (321).
int checkMenu(const ZQCharMenuStruct* menu, ZQStatusList* status);

// Container owner objects (8800, 102, 103) and references (8801, 8803,
// 102, 103).
int checkContainerOwners(const ZQContainerOwnerObjList* owners, ZQStatusList* status);
int checkReferences(ZQReferenceList* references, ZQStatusList* status);

}  // namespace zq::checks
