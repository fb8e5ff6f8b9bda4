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
 * expanded is left empty (type 0). Release it with FreeZQCharMenuStruct.
 * Query menus (run on their form, "@" naming the control record's server),
 * menu files on the server (location 1), server-side and data-dictionary
 * menus are built by the server. Menus that lead to further menus are
 * followed 64 levels deep at most (message 321). */
int ZQExpandCharMenu(ZQControlStruct* control, ZQCharMenuStruct* menu, ZQCharMenuStruct* expanded,
                     ZQStatusList* status);

/** Asks the server for the menu it defines under request->menuName, passing
 * the request's keyword, parameter and qualifier lists (each may be empty).
 * The menu that comes back may itself be a query or SQL menu: expand it with
 * ZQExpandCharMenu. A missing or over-long name gives 130. On failure menu
 * is left empty (type 0). Release it with FreeZQCharMenuStruct. */
int ZQExpandSSMenu(ZQControlStruct* control, ZQCharMenuSSStruct* request, ZQCharMenuStruct* menu,
                   ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_MENUS_H */
