/** \file
 * Expansion of character menus into the list menus a client shows. */
#ifndef ZQAPI_ZQ_MENUS_H
#define ZQAPI_ZQ_MENUS_H

#include "zq_session.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Fills expanded with a list menu built from the definition in menu: list
 * menus are expanded item by item; file menus are read from the client's
 * file (first "name.language_COUNTRY", then "name.language" from the control
 * record's locale, then the plain name); SQL menus run their query
 * (ZQGetListSQL) and nest the rows by their label columns. A menu file holds
 * one item per line, "label" or "label\value"; leading tabs nest an item
 * under the line above; lines beginning with '#' are ignored. On failure
 * expanded is left empty (type 0). Release it with FreeZQCharMenuStruct. */
int ZQExpandCharMenu(ZQControlStruct* control, ZQCharMenuStruct* menu, ZQCharMenuStruct* expanded,
                     ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_MENUS_H */
