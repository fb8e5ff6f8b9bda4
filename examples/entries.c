/* Entries: create, read, change and delete one entry of the form "Tickets"
 * (zqserverd --form 'Tickets:536870913:char:Title,536870914:integer:Priority').
 *   entries HOST PORT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

enum { kTitle = 536870913, kPriority = 536870914 };

static int check(const char* call, int rc, ZQStatusList* status) {
  if (rc >= ZQ_RETURN_ERROR && status->count)
    fprintf(stderr, "%s: %d %s\n", call, status->items[0].messageNumber, status->items[0].message);
  FreeZQStatusList(status, 0);
  return rc < ZQ_RETURN_ERROR;
}

int main(int argc, char** argv) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argc > 1 ? argv[1] : "localhost");
  if (!check("init", ZQInitialization(&control, &status), &status)) return 1;
  if (argc > 2) ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status);
  FreeZQStatusList(&status, 0);

  /* Create: the values are the caller's; the new id comes back. */
  ZQFieldValueStruct fields[2];
  memset(fields, 0, sizeof fields);
  fields[0].fieldId = kTitle;
  fields[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  fields[0].value.u.charValue = (char*)"Printer jams";
  fields[1].fieldId = kPriority;
  fields[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
  fields[1].value.u.integerValue = 2;
  ZQFieldValueList values = {2, fields};
  ZQEntryIdType id;
  int ok = check("create", ZQCreateEntry(&control, "Tickets", &values, id, &status), &status);

  /* Change one field. */
  ZQEntryIdList which = {1, &id};
  fields[1].value.u.integerValue = 1;
  ZQFieldValueList change = {1, &fields[1]};
  ok = ok && check("set", ZQSetEntry(&control, "Tickets", &which, &change, 0, 0, &status), &status);

  /* Read it back: the values are ours to release. */
  ZQInternalId wanted[] = {kTitle, kPriority};
  ZQInternalIdList wantedList = {2, wanted};
  ZQFieldValueList read = {0, NULL};
  if (ok &&
      check("get", ZQGetEntry(&control, "Tickets", &which, &wantedList, &read, &status), &status))
    for (uint32_t i = 0; i < read.count; ++i) {
      const ZQValueStruct* v = &read.items[i].value;
      if (v->dataType == ZQ_DATA_TYPE_CHAR)
        printf("entry %s field %u: %s\n", id, read.items[i].fieldId, v->u.charValue);
      else if (v->dataType == ZQ_DATA_TYPE_INTEGER)
        printf("entry %s field %u: %d\n", id, read.items[i].fieldId, v->u.integerValue);
    }
  FreeZQFieldValueList(&read, 0);

  ok = ok && check("delete", ZQDeleteEntry(&control, "Tickets", &which, 0, &status), &status);
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return ok ? 0 : 1;
}
