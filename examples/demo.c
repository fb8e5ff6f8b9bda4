/* A short tour of the library: initialize a control record, read and set
 * session variables, look up message texts, terminate. */
#include <stdio.h>
#include <string.h>

#include "zqapi/zqapi.h"

static void printStatus(const char* what, int rc, const ZQStatusList* status) {
  printf("%-28s return code %d\n", what, rc);
  for (uint32_t i = 0; i < status->count; ++i)
    printf("    [%s %d] %s%s%s\n",
           status->items[i].messageType == 2   ? "error"
           : status->items[i].messageType == 1 ? "warning"
                                               : "note",
           status->items[i].messageNumber, status->items[i].message,
           status->items[i].appended ? " : " : "",
           status->items[i].appended ? status->items[i].appended : "");
}

int main(void) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  strcpy(control.server, "localhost");

  int rc = ZQInitialization(&control, &status);
  printStatus("ZQInitialization", rc, &status);
  FreeZQStatusList(&status, 0);
  if (rc >= ZQ_RETURN_ERROR) return 1;

  ZQValueStruct value;
  memset(&value, 0, sizeof value);
  ZQGetSessionVariable(&control, ZQ_SESSVAR_TIMEOUT_NORMAL, &value, &status);
  printf("normal time-out               %d seconds\n", value.u.integerValue);
  value.dataType = ZQ_DATA_TYPE_INTEGER;
  value.u.integerValue = 45;
  rc = ZQSetSessionVariable(&control, ZQ_SESSVAR_TIMEOUT_NORMAL, &value, &status);
  ZQGetSessionVariable(&control, ZQ_SESSVAR_TIMEOUT_NORMAL, &value, &status);
  printf("after setting it              %d seconds (return code %d)\n", value.u.integerValue, rc);
  ZQGetSessionVariable(&control, ZQ_SESSVAR_RESPONSE_SIZE, &value, &status);
  printf("response size                 %d bytes\n", value.u.integerValue);

  /* A control record without a server is refused with a numbered message. */
  char saved[65];
  strcpy(saved, control.server);
  control.server[0] = '\0';
  rc = ZQCheckControl(&control, &status);
  printStatus("ZQCheckControl (no server)", rc, &status);
  FreeZQStatusList(&status, 0);
  strcpy(control.server, saved);

  int numbers[] = {90, 161, 9008};
  for (size_t i = 0; i < sizeof numbers / sizeof numbers[0]; ++i) {
    char* text = ZQGetTextForErrorMessage(numbers[i]);
    printf("message %-5d                 %s\n", numbers[i], text ? text : "(no memory)");
    ZQFree(text);
  }
  char version[] = ZQ_LIBRARY_VERSION;
  printf("library version              %s\n", ZQFormatVersionString(version));

  rc = ZQTermination(&control, &status);
  printStatus("ZQTermination", rc, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
