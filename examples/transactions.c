/* Transactions. A bulk transaction queues creates, changes and deletes on
 * the client and sends them as one unit; a client-managed transaction runs
 * every call to the server inside a server transaction until commit or
 * rollback.
 *   transactions HOST PORT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

enum { kTitle = 536870913 };

static ZQFieldValueList title(ZQFieldValueStruct* field, const char* text) {
  memset(field, 0, sizeof *field);
  field->fieldId = kTitle;
  field->value.dataType = ZQ_DATA_TYPE_CHAR;
  field->value.u.charValue = (char*)text;
  ZQFieldValueList list = {1, field};
  return list;
}

int main(int argc, char** argv) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argc > 1 ? argv[1] : "localhost");
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  if (argc > 2) ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status);
  FreeZQStatusList(&status, 0);

  /* Bulk: the creates return 0 and an empty id at once; the results come
   * with the end call, one per queued operation. */
  ZQBeginBulkEntryTransaction(&control, &status);
  FreeZQStatusList(&status, 0);
  const char* titles[] = {"Queued one", "Queued two"};
  for (int i = 0; i < 2; ++i) {
    ZQFieldValueStruct field;
    ZQFieldValueList values = title(&field, titles[i]);
    ZQEntryIdType id;
    ZQCreateEntry(&control, "Tickets", &values, id, &status);
    FreeZQStatusList(&status, 0);
  }
  ZQBulkEntryReturnList results = {0, NULL};
  int rc = ZQEndBulkEntryTransaction(&control, ZQ_BULK_ENTRY_ACTION_SEND, &results, &status);
  printf("bulk: return code %d, %u results\n", rc, results.count);
  for (uint32_t i = 0; i < results.count; ++i)
    if (results.items[i].entryCallType == ZQ_BULK_ENTRY_CREATE)
      printf("  created %s\n", results.items[i].u.entry.entryId);
  FreeZQBulkEntryReturnList(&results, 0);
  FreeZQStatusList(&status, 0);

  /* Client-managed: a create, then rolled back. */
  char* handle = NULL;
  rc = ZQBeginClientManagedTransaction(&control, &handle, &status);
  FreeZQStatusList(&status, 0);
  if (rc < ZQ_RETURN_ERROR) {
    ZQFieldValueStruct field;
    ZQFieldValueList values = title(&field, "Rolled back");
    ZQEntryIdType id;
    ZQCreateEntry(&control, "Tickets", &values, id, &status);
    FreeZQStatusList(&status, 0);
    rc = ZQEndClientManagedTransaction(&control, ZQ_CMT_ACTION_ROLLBACK, &status);
    printf("client-managed transaction %s rolled back: return code %d\n", handle, rc);
    FreeZQStatusList(&status, 0);
  } else {
    printf("this server offers no client-managed transactions (return code %d)\n", rc);
  }
  ZQFree(handle);
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
