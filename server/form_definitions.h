// What the server does with forms, fields, views and images: their checks,
// the core fields of a regular form, renames that keep references, deletes
// that take what depends on them along. The handlers, the --form and
// --definitions paths and the entry store all go through here, so that a
// form is one thing whatever made it.
//
// Every operation takes the parts as the request carried them; it may move
// members out of them (the caller still releases them). A failing
// operation leaves the stored definitions as they were.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "definition_parts.h"
#include "definition_store.h"
#include "entry_store.h"

namespace zqserver {

// Who writes, and when.
struct Actor {
  std::string user;
  int64_t now = 0;
};
Actor actorOf(const zq::transport::RequestHeader& header);

// A unit of work over the store: what it wrote goes unless it is committed.
// Units nest: an inner one joins the outer one.
class DefinitionUnit {
 public:
  explicit DefinitionUnit(Store& store);
  ~DefinitionUnit();
  DefinitionUnit(const DefinitionUnit&) = delete;
  DefinitionUnit& operator=(const DefinitionUnit&) = delete;
  bool commit();

 private:
  Store& store_;
  bool open_;
};

// The first id the server hands out for fields and views it numbers itself.
inline constexpr uint32_t kFirstFreeId = 536870913;

class FormDefinitions {
 public:
  explicit FormDefinitions(Store& store);
  DefinitionStore& store() { return defs_; }
  Store& sql() { return sql_; }

  // ---- forms ---------------------------------------------------------------
  std::optional<Definition> findForm(const std::string& name);
  // A regular form gets `fields` and then the core fields it lacks.
  StoreResult createForm(const std::string& name, zq::transport::SchemaParts& parts,
                         const Actor& actor, const std::vector<FieldDef>& fields = {});
  StoreResult setForm(const std::string& name, const std::string& newName, uint32_t changed,
                      zq::transport::SchemaParts& given, const Actor& actor);
  // Option ZQ_DELETE_FORCE deletes a form that a join form uses.
  StoreResult deleteForm(const std::string& name, uint32_t option);
  // The stored parts of a form (released by the caller).
  StoreResult readForm(const Definition& row, zq::transport::SchemaParts& out);
  // The form as the entry store reads it.
  std::optional<FormDef> formDef(const std::string& name);

  // ---- fields --------------------------------------------------------------
  // id 0: the server chooses one, written back.
  StoreResult createField(const std::string& form, ZQInternalId& id,
                          zq::transport::FieldParts& parts, const Actor& actor);
  StoreResult setField(const std::string& form, ZQInternalId id, uint32_t changed,
                       zq::transport::FieldParts& given, const Actor& actor);
  StoreResult deleteField(const std::string& form, ZQInternalId id);
  // Every id, or none: a failure deletes nothing.
  StoreResult deleteFields(const std::string& form, const std::vector<ZQInternalId>& ids);
  StoreResult readField(const Definition& row, zq::transport::FieldParts& out);

  // ---- views ---------------------------------------------------------------
  StoreResult createView(const std::string& form, ZQInternalId& id,
                         zq::transport::ViewParts& parts, const Actor& actor);
  StoreResult setView(const std::string& form, ZQInternalId id, uint32_t changed,
                      zq::transport::ViewParts& given, const Actor& actor);
  StoreResult deleteView(const std::string& form, ZQInternalId id);
  StoreResult readView(const Definition& row, zq::transport::ViewParts& out);

  // ---- images --------------------------------------------------------------
  StoreResult createImage(const std::string& name, zq::transport::ImageParts& parts,
                          const Actor& actor);
  StoreResult setImage(const std::string& name, const std::string& newName, uint32_t changed,
                       zq::transport::ImageParts& given, const Actor& actor);
  StoreResult deleteImage(const std::string& name);
  StoreResult readImage(const Definition& row, zq::transport::ImageParts& out);

  // The form row a field or view belongs to, or NoSuchForm.
  StoreResult formRow(const std::string& form, Definition& out);

 private:
  Store& sql_;
  DefinitionStore defs_;
};

// The part tables of the kinds: what a get returns by its wanted-output
// mask and what a set replaces by its changed-parts mask.
std::span<const PartRule<zq::transport::SchemaParts>> schemaPartRules();
std::span<const PartRule<zq::transport::FieldParts>> fieldPartRules();
std::span<const PartRule<zq::transport::ViewParts>> viewPartRules();
std::span<const PartRule<zq::transport::ImageParts>> imagePartRules();

// Kinds that other issues add keep references to forms by name (workflow
// connections, ...): they register what a rename or a delete of a form
// does to them. Hooks run inside the operation's transaction; a failing
// rename hook fails the rename.
struct FormHooks {
  StoreResult (*renamed)(FormDefinitions& defs, const std::string& from, const std::string& to,
                         const Actor& actor);
  void (*deleted)(FormDefinitions& defs, const std::string& name);
};
void addFormHooks(FormHooks hooks);

}  // namespace zqserver
