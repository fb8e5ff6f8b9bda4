/* A short tour of the library against a running zqserverd:
 *   zqdemo HOST PORT
 * initializes a control record, asks the server for its settings, shows
 * session variables and message texts, and terminates. */
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
    case ZQ_DATA_TYPE_CHAR: printf("\"%s\"", v->u.charValue ? v->u.charValue : ""); break;
    case ZQ_DATA_TYPE_INTEGER: printf("%d", v->u.integerValue); break;
    case ZQ_DATA_TYPE_TIME: printf("%d (seconds since 1970)", v->u.timestampValue); break;
    case ZQ_DATA_TYPE_NULL: printf("(no value)"); break;
    default: printf("(data type %u)", v->dataType); break;
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
