// The objects an export adds to a document of definitions: the lock of its
// definitions (<lockBlock>, at most one per document) and the entries of a
// form (<formData name="form">, one per form). Both are written and read
// through their one description below.
#include <cstring>
#include <string>

#include "definitions.h"
#include "object_io.h"

namespace zq::xmlutil {
namespace {

constexpr const char* kLockBlock = "lockBlock";
constexpr const char* kFormData = "formData";

struct LockBlockObject {
  uint32_t lockType;
  char* lockKey;
  ZQStructItemList lockedObjects;
  AppBlock app;
};
template <class V>
void describe(V& v, LockBlockObject& o) {
  v.u32(o.lockType, "lockType");
  v.string(o.lockKey, model::kUnbounded, "lockKey");
  v.member(o.lockedObjects, "lockedObjects");
  describeAppBlock(v, o.app);
}

// The rows of a form: the fields they hold, then each row's values.
struct FormDataObject {
  ZQInternalIdList fieldIds;
  ZQFieldValueListList rows;
};
template <class V>
void describe(V& v, FormDataObject& o) {
  v.member(o.fieldIds, "fieldIds");
  v.member(o.rows, "rows");
}

// The first value of the rows whose field the data does not list (row index
// in *row), or null when every value is listed.
const ZQFieldValueStruct* unlisted(const FormDataObject& o, uint32_t* row) {
  for (uint32_t r = 0; r < o.rows.count; ++r) {
    const ZQFieldValueList& values = o.rows.items[r];
    for (uint32_t i = 0; i < values.count; ++i) {
      bool listed = false;
      for (uint32_t k = 0; k < o.fieldIds.count && !listed; ++k)
        listed = o.fieldIds.items[k] == values.items[i].fieldId;
      if (!listed) {
        *row = r;
        return &values.items[i];
      }
    }
  }
  return nullptr;
}

std::string unlistedWhy(const char* form, uint32_t row, const ZQFieldValueStruct& value) {
  return std::string(kFormData) + " " + form + ", row " + std::to_string(row) + ": field " +
         std::to_string(value.fieldId) + " is not among its fieldIds";
}

// How many objects of that kind (and name, when given) the document holds:
// a reader refuses a document that leaves it to guess.
uint32_t countObjects(const ZQXMLParsedStream* parsed, const char* element, const char* name) {
  if (!parsed || !parsed->state) return 0;
  uint32_t n = 0;
  for (xmlNodePtr c = xmlDocGetRootElement(static_cast<xmlDocPtr>(parsed->state))->children; c;
       c = c->next)
    if (c->type == XML_ELEMENT_NODE && strcmp(C(c->name), element) == 0 &&
        (!name || attribute(c, "name") == name))
      ++n;
  return n;
}

// Whether the document the header started already holds that object.
bool alreadyThere(const ZQXMLOutputDoc* out, const char* element, const char* name) {
  return out && out->state &&
         findObject(static_cast<xmlDocPtr>(out->state), element, nullptr, name);
}

}  // namespace
}  // namespace zq::xmlutil

using namespace zq;
using namespace zq::xmlutil;

extern "C" {

int SetLockBlockToXML(ZQXMLOutputDoc* doc, uint32_t lockType, const char* lockKey,
                      ZQStructItemList* lockedObjects, const char* appBlockName,
                      const char* appOwner, ZQStatusList* status) {
  if (alreadyThere(doc, kLockBlock, nullptr))
    return addError(status, kMsgXmlUnreadable, "a document holds one lockBlock");
  LockBlockObject o{};
  o.lockType = lockType;
  o.lockKey = const_cast<char*>(lockKey);
  if (lockedObjects) o.lockedObjects = *lockedObjects;
  o.app = AppBlock{const_cast<char*>(appBlockName), const_cast<char*>(appOwner)};
  return addObject(doc, kLockBlock, nullptr, nullptr, o, status);
}

int GetLockBlockFromXML(ZQXMLParsedStream* parsed, uint32_t* lockType, char** lockKey,
                        ZQStructItemList* lockedObjects, char** appBlockName, char** appOwner,
                        ZQStatusList* status) {
  LockBlockObject o;
  if (countObjects(parsed, kLockBlock, nullptr) > 1) {
    memset(static_cast<void*>(&o), 0, sizeof o);
    return addError(status, kMsgXmlUnreadable, "more than one lockBlock in the document");
  }
  if (int rc = readObject(parsed, kLockBlock, nullptr, nullptr, o, status)) return rc;
  give(lockType, o.lockType);
  give(lockKey, o.lockKey);
  give(lockedObjects, o.lockedObjects);
  give(appBlockName, o.app.blockName);
  give(appOwner, o.app.owner);
  release(o);
  return 0;
}

int SetSchemaDataToXML(ZQXMLOutputDoc* doc, const char* form, ZQInternalIdList* fieldIds,
                       ZQFieldValueListList* rows, ZQStatusList* status) {
  if (!badName(form) && alreadyThere(doc, kFormData, form)) {
    const std::string why = std::string("a document holds one formData ") + form;
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  FormDataObject o{};
  if (fieldIds) o.fieldIds = *fieldIds;
  if (rows) o.rows = *rows;
  // What could not be read back is not written.
  uint32_t row = 0;
  if (const ZQFieldValueStruct* v = unlisted(o, &row))
    return addError(status, kMsgXmlUnreadable, unlistedWhy(form, row, *v).c_str());
  return setObject(doc, kFormData, nullptr, form, o, status);
}

int GetSchemaDataFromXML(ZQXMLParsedStream* parsed, const char* form, uint32_t firstRow,
                         uint32_t maxRows, ZQInternalIdList* fieldIds, ZQFieldValueListList* rows,
                         ZQStatusList* status) {
  FormDataObject o;
  if (form && countObjects(parsed, kFormData, form) > 1) {
    const std::string why = std::string("more than one formData ") + form + " in the document";
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  if (int rc = getObject(parsed, kFormData, nullptr, form, o, status)) return rc;
  uint32_t row = 0;
  if (const ZQFieldValueStruct* v = unlisted(o, &row)) {
    const std::string why = unlistedWhy(form, row, *v);
    release(o);
    return addError(status, kMsgXmlUnreadable, why.c_str());
  }
  // The window [firstRow, firstRow + maxRows) of the rows; maxRows 0: all
  // from firstRow on. The rows outside it are released with the object.
  ZQFieldValueListList window{};
  const uint32_t left = firstRow < o.rows.count ? o.rows.count - firstRow : 0;
  const uint32_t n = maxRows && maxRows < left ? maxRows : left;
  if (rows && n) {
    window.items = static_cast<ZQFieldValueList*>(allocZeroed(n, sizeof(ZQFieldValueList)));
    if (!window.items) {
      release(o);
      return addError(status, kMsgNoMemory);
    }
    window.count = n;
    for (uint32_t i = 0; i < n; ++i) {
      window.items[i] = o.rows.items[firstRow + i];
      o.rows.items[firstRow + i] = ZQFieldValueList{};
    }
  }
  give(fieldIds, o.fieldIds);
  give(rows, window);
  release(o);
  return 0;
}

}  // extern "C"
