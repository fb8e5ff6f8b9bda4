/** \file
 * Export and import: the list of definitions to export, import or remove. */
#ifndef ZQAPI_ZQ_EXPORT_H
#define ZQAPI_ZQ_EXPORT_H

#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Bit of an item type that modifies it; the checks of the export and import
 * calls ignore it. */
#define ZQ_STRUCT_ITEM_MODIFIER 0x20000000u

/* One definition: its type, its name and, for the types that have parts,
 * the names of the parts wanted (empty: all of them). */
typedef struct ZQStructItemStruct {
  uint32_t type;
  ZQNameType name;
  ZQNameList selectedElements;
} ZQStructItemStruct;

typedef struct ZQStructItemList {
  uint32_t count;
  ZQStructItemStruct* items;
} ZQStructItemList;

/**@{*/
/** Each item's list of part names is released with it. */
void FreeZQStructItemStruct(ZQStructItemStruct* value, ZQBoolean freeStruct);
void FreeZQStructItemList(ZQStructItemList* value, ZQBoolean freeStruct);
/**@}*/

/* Deep copies (zq_copy.h gives the common rules), also exported by the
 * ordinal given beside each. */

/** ordinal 1058: room for the next multiple of 10 items, spare slots zeroed */
int32_t ZQCopyStructItemList(ZQStructItemList* destination, const ZQStructItemList* source);
/** ordinal 1059: the part names get room for the next multiple of 10 */
int32_t ZQCopyStructItemStruct(ZQStructItemStruct* destination, const ZQStructItemStruct* source);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_EXPORT_H */
