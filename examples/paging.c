/* Queries and paging: the entries of "Tickets" with priority >= 2, highest
 * first, read a page at a time with the retrieval window (first entry,
 * maximum count). Within one call the library gathers a result that spans
 * several replies (the response size session variable) by itself.
 *   paging HOST PORT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

enum { kTitle = 536870913, kPriority = 536870914, kPage = 2 };

int main(int argc, char** argv) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argc > 1 ? argv[1] : "localhost");
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  if (argc > 2) ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status);
  FreeZQStatusList(&status, 0);

  /* priority >= 2 */
  ZQRelOpStruct atLeast2;
  memset(&atLeast2, 0, sizeof atLeast2);
  atLeast2.operation = ZQ_REL_OP_GREATER_EQUAL;
  atLeast2.left.tag = ZQ_FIELD;
  atLeast2.left.u.fieldId = kPriority;
  atLeast2.right.tag = ZQ_VALUE;
  atLeast2.right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  atLeast2.right.u.value.u.integerValue = 2;
  ZQQualifierStruct qualifier;
  memset(&qualifier, 0, sizeof qualifier);
  qualifier.operation = ZQ_COND_OP_REL_OP;
  qualifier.u.relation = &atLeast2;

  ZQSortStruct byPriority = {kPriority, ZQ_SORT_DESCENDING};
  ZQSortList sort = {1, &byPriority};
  ZQEntryListFieldStruct columns[] = {{kPriority, 3, " "}, {kTitle, 40, ""}};
  ZQEntryListFieldList fields = {2, columns};

  int rc = 0;
  for (uint32_t first = 0;; first += kPage) {
    ZQEntryListFieldValueList page = {0, NULL};
    uint32_t matches = 0;
    rc = ZQGetListEntryWithFields(&control, "Tickets", &qualifier, &fields, &sort, first, kPage, 0,
                                  &page, &matches, &status);
    FreeZQStatusList(&status, 0);
    if (rc >= ZQ_RETURN_ERROR) break;
    for (uint32_t i = 0; i < page.count; ++i) {
      const ZQFieldValueList* row = page.items[i].fieldValues;
      printf("%u/%u  %s", first + i + 1, matches, page.items[i].entryId.items[0]);
      for (uint32_t k = 0; row && k < row->count; ++k) {
        if (row->items[k].value.dataType == ZQ_DATA_TYPE_INTEGER)
          printf("  %d", row->items[k].value.u.integerValue);
        else if (row->items[k].value.dataType == ZQ_DATA_TYPE_CHAR)
          printf("  %s", row->items[k].value.u.charValue);
      }
      printf("\n");
    }
    const int last = page.count < kPage || first + page.count >= matches;
    FreeZQEntryListFieldValueList(&page, 0); /* each page is the caller's */
    if (last) break;
  }
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return rc >= ZQ_RETURN_ERROR;
}
