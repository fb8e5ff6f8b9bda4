/* A short tour of the library against a running zqserverd:
 *   zqdemo HOST PORT
 * initializes a control record, asks the server for its settings, creates
 * entries in the form "Tickets" (started with zqserverd --form, see
 * scripts/run-demo.sh), one of them with an attachment, reads one back,
 * shows session variables and message texts, and terminates. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zqapi/zqapi.h"

static const char* typeName(uint32_t type) {
  return type == 2 ? "error" : type == 1 ? "warning" : "note";
}

static void printStatus(const char* what, int rc, const ZQStatusList* status) {
  printf("%-30s return code %d\n", what, rc);
  for (uint32_t i = 0; i < status->count; ++i)
    printf("    [%s %d] %s%s%s\n", typeName(status->items[i].messageType),
           status->items[i].messageNumber, status->items[i].message,
           status->items[i].appended ? " : " : "",
           status->items[i].appended ? status->items[i].appended : "");
}

static void printValue(const ZQValueStruct* v) {
  switch (v->dataType) {
    case ZQ_DATA_TYPE_CHAR:
      printf("\"%s\"", v->u.charValue ? v->u.charValue : "");
      break;
    case ZQ_DATA_TYPE_INTEGER:
      printf("%d", v->u.integerValue);
      break;
    case ZQ_DATA_TYPE_TIME:
      printf("%d (seconds since 1970)", v->u.timestampValue);
      break;
    case ZQ_DATA_TYPE_NULL:
      printf("(no value)");
      break;
    case ZQ_DATA_TYPE_ENUM:
      printf("%u (selection)", v->u.enumValue);
      break;
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachStruct* a = v->u.attachmentValue;
      if (!a) {
        printf("(attachment without content)");
        break;
      }
      printf("attachment \"%s\", %d bytes", a->name ? a->name : "", a->originalSize);
      if (a->location.locationType == ZQ_LOC_BUFFER && a->location.u.buffer.size)
        printf(": \"%.*s\"", (int)(a->location.u.buffer.size < 40 ? a->location.u.buffer.size : 40),
               (const char*)a->location.u.buffer.bytes);
      break;
    }
    default:
      printf("(data type %u)", v->dataType);
      break;
  }
}

int main(int argc, char** argv) {
  const char* host = argc > 1 ? argv[1] : "127.0.0.1";
  int port = argc > 2 ? atoi(argv[2]) : 0;

  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", host);

  int rc = ZQInitialization(&control, &status);
  printStatus("ZQInitialization", rc, &status);
  FreeZQStatusList(&status, 0);
  if (rc >= ZQ_RETURN_ERROR) return 1;
  if (port) {
    rc = ZQSetServerPort(&control, host, port, 0, &status);
    FreeZQStatusList(&status, 0);
  }

  /* A real remote call: the server's settings. */
  static const struct {
    uint32_t number;
    const char* label;
  } wanted[] = {{4, "server version"}, {55, "server language"}, {1, "database"},
                {116, "server time"},  {246, "argument limit"}, {333, "max attachment size"}};
  uint32_t numbers[sizeof wanted / sizeof wanted[0]];
  for (size_t i = 0; i < sizeof wanted / sizeof wanted[0]; ++i) numbers[i] = wanted[i].number;
  ZQServerInfoRequestList request = {sizeof numbers / sizeof numbers[0], numbers};
  ZQServerInfoList info = {0, NULL};
  rc = ZQGetServerInfo(&control, &request, &info, &status);
  printStatus("ZQGetServerInfo", rc, &status);
  FreeZQStatusList(&status, 0);
  for (uint32_t i = 0; i < info.count; ++i) {
    printf("    %-22s (setting %3u)  ", wanted[i].label, info.items[i].operation);
    printValue(&info.items[i].value);
    printf("\n");
  }
  FreeZQServerInfoList(&info, 0);
  printf("    server session (cache id)  %d\n", control.cacheId);

  char charset[ZQ_CHARSET_NAME_SIZE];
  if (ZQGetServerCharSet(&control, charset, &status) == 0)
    printf("    server character set       %s\n", charset);
  FreeZQStatusList(&status, 0);

  /* Entries of the form "Tickets": two plain ones, one with an attachment. */
  enum { kTitle = 536870913, kPriority = 536870914, kFile = 536870915 };
  static const char* titles[] = {"Printer on floor 3 jams", "VPN drops every hour",
                                 "Badge reader at the door"};
  static const char note[] =
      "Reader logs show a timeout after 30 s; firmware 2.1 fixes it. "
      "Reader logs show a timeout after 30 s; firmware 2.1 fixes it.";
  ZQEntryIdType ids[3];
  for (int i = 0; i < 3; ++i) {
    ZQAttachStruct attachment;
    memset(&attachment, 0, sizeof attachment);
    attachment.name = (char*)"reader-notes.txt";
    attachment.location.locationType = ZQ_LOC_BUFFER;
    attachment.location.u.buffer.size = sizeof note - 1;
    attachment.location.u.buffer.bytes = (unsigned char*)note;
    ZQFieldValueStruct fields[3];
    memset(fields, 0, sizeof fields);
    fields[0].fieldId = kTitle;
    fields[0].value.dataType = ZQ_DATA_TYPE_CHAR;
    fields[0].value.u.charValue = (char*)titles[i];
    fields[1].fieldId = kPriority;
    fields[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
    fields[1].value.u.integerValue = i + 1;
    fields[2].fieldId = kFile;
    fields[2].value.dataType = ZQ_DATA_TYPE_ATTACH;
    fields[2].value.u.attachmentValue = &attachment;
    ZQFieldValueList values = {i == 2 ? 3u : 2u, fields};
    rc = ZQCreateEntry(&control, "Tickets", &values, ids[i], &status);
    printStatus("ZQCreateEntry", rc, &status);
    FreeZQStatusList(&status, 0);
    if (rc < ZQ_RETURN_ERROR) printf("    new entry id               %s\n", ids[i]);
  }

  /* Read the entry with the attachment back: it arrives inflated. */
  ZQEntryIdList which = {1, &ids[2]};
  ZQInternalId fieldIds[] = {1, kTitle, kPriority, 3, kFile};
  ZQInternalIdList wantedFields = {sizeof fieldIds / sizeof fieldIds[0], fieldIds};
  ZQFieldValueList entry = {0, NULL};
  rc = ZQGetEntry(&control, "Tickets", &which, &wantedFields, &entry, &status);
  printStatus("ZQGetEntry", rc, &status);
  FreeZQStatusList(&status, 0);
  for (uint32_t i = 0; i < entry.count; ++i) {
    printf("    field %-10u  ", entry.items[i].fieldId);
    printValue(&entry.items[i].value);
    printf("\n");
  }
  FreeZQFieldValueList(&entry, 0);

  /* A query: tickets of priority 2 or more, the highest first. */
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
  ZQEntryListFieldStruct columns[] = {{1, 15, " "}, {kPriority, 3, " "}, {kTitle, 40, ""}};
  ZQEntryListFieldList listFields = {sizeof columns / sizeof columns[0], columns};
  ZQEntryListFieldValueList found = {0, NULL};
  uint32_t matches = 0;
  rc = ZQGetListEntryWithFields(&control, "Tickets", &qualifier, &listFields, &sort, 0, 0, 0,
                                &found, &matches, &status);
  printStatus("ZQGetListEntryWithFields", rc, &status);
  FreeZQStatusList(&status, 0);
  printf("    %u of %u tickets match 'priority >= 2', highest first:\n", found.count, matches);
  for (uint32_t i = 0; i < found.count; ++i) {
    const ZQFieldValueList* row = found.items[i].fieldValues;
    printf("    %-16s", found.items[i].entryId.items[0]);
    for (uint32_t k = 1; row && k < row->count; ++k) {
      printf("  ");
      printValue(&row->items[k].value);
    }
    printf("\n");
  }
  FreeZQEntryListFieldValueList(&found, 0);

  /* Session variables are local to the control record. */
  ZQValueStruct value;
  memset(&value, 0, sizeof value);
  value.dataType = ZQ_DATA_TYPE_INTEGER;
  value.u.integerValue = 45;
  ZQSetSessionVariable(&control, ZQ_SESSVAR_TIMEOUT_NORMAL, &value, &status);
  ZQGetSessionVariable(&control, ZQ_SESSVAR_TIMEOUT_NORMAL, &value, &status);
  printf("normal time-out now           %d seconds\n", value.u.integerValue);

  /* Bad input is refused with a numbered message, before anything is sent. */
  ZQServerInfoRequestList empty = {0, NULL};
  rc = ZQGetServerInfo(&control, &empty, &info, &status);
  printStatus("ZQGetServerInfo (empty list)", rc, &status);
  FreeZQStatusList(&status, 0);

  char version[] = ZQ_LIBRARY_VERSION;
  printf("library version               %s\n", ZQFormatVersionString(version));

  rc = ZQTermination(&control, &status);
  printStatus("ZQTermination", rc, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
