// The server's workflow definitions: filters, active links, escalations,
// character menus and containers, kept in the definition store by name.
// One template serves every kind; a kind states its store kind, its part
// table and the bits of its name, owner and diary (WorkflowKind<P>).
//
// The workflow engine (workflow_engine.h) reads filters and escalations
// through here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "definition_parts.h"
#include "definition_store.h"
#include "form_definitions.h"
#include "transport/describe_workflow_defs.h"
#include "transport/records_workflow.h"

namespace zqserver {

template <class P>
struct WorkflowKind;  // kind, rules(), nameBit, ownerBit, diaryBit

#define ZQ_WORKFLOW_KIND(P)                                     \
  template <>                                                   \
  struct WorkflowKind<zq::transport::P> {                       \
    static const DefinitionKind kind;                           \
    static const uint32_t nameBit, ownerBit, diaryBit;          \
    static std::span<const PartRule<zq::transport::P>> rules(); \
  };
ZQ_WORKFLOW_KIND(FilterParts)
ZQ_WORKFLOW_KIND(ActiveLinkParts)
ZQ_WORKFLOW_KIND(EscalationParts)
ZQ_WORKFLOW_KIND(MenuParts)
ZQ_WORKFLOW_KIND(ContainerParts)
#undef ZQ_WORKFLOW_KIND

class WorkflowDefinitions {
 public:
  explicit WorkflowDefinitions(Store& store) : defs_(store) {}
  DefinitionStore& store() { return defs_; }

  template <class P>
  StoreResult read(const Definition& row, P& out);
  template <class P>
  StoreResult create(const std::string& name, P& parts, const Actor& actor);
  template <class P>
  StoreResult set(const std::string& name, const std::string& newName, uint32_t changed, P& given,
                  const Actor& actor);
  template <class P>
  StoreResult remove(const std::string& name);

 private:
  DefinitionStore defs_;
};

// Whether a connection holds the form (case-insensitive); an empty form
// name matches every connection.
bool connects(const ZQWorkflowConnectStruct& forms, const std::string& form);

}  // namespace zqserver
