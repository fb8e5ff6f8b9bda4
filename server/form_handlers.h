// What the handlers of the form, field, view and image procedures share: the
// form a call names, and the get of one definition by its id in that form.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "definition_lists.h"
#include "form_definitions.h"

namespace zqserver {

// A name argument as the store takes it (a null one is empty).
// The form of a field or view call, or the message that it has none.
inline std::optional<Definition> formOf(Call& call, FormDefinitions& defs, const char* form) {
  Definition row;
  if (!report(call, defs.formRow(textOf(form), row))) return std::nullopt;
  return row;
}

// Answers the get of one field or view: reads it back and keeps only the
// wanted parts. `missing` is the message when the form has no such id.
template <class P, class Read>
void answerGet(Call& call, FormDefinitions& defs, const char* form, DefinitionKind kind,
               ZQInternalId id, int32_t missing, uint32_t wanted, P& out, Read read,
               std::span<const PartRule<P>> rules) {
  auto formRow = formOf(call, defs, form);
  if (!formRow) return;
  auto row = defs.store().findById(kind, formRow->rowId, id);
  if (!row) return report(call, missing, std::to_string(id));
  if (report(call, (defs.*read)(*row, out))) keepWanted(out, wanted, rules);
}

// Access is decided by the accounts from the permissions a form's stored
// definitions hold: hand them over after every change of the form or its
// fields (a form that is gone is forgotten), or of every form at once after
// an import.
void syncPermissions(Call& call, FormDefinitions& defs, const std::string& form);
void syncAllPermissions(Call& call);

}  // namespace zqserver
