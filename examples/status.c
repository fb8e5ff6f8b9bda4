/* Errors and status lists: every call returns the code of its status list
 * (0 OK, 1 warning, 2 error, 3 fatal, 4 no status list) and explains it in
 * numbered messages.
 *   status HOST PORT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

static void show(const char* call, int rc, ZQStatusList* status) {
  printf("%s: return code %d\n", call, rc);
  for (uint32_t i = 0; i < status->count; ++i) {
    const ZQStatusStruct* s = &status->items[i];
    printf("  %s %d: %s%s%s\n",
           s->messageType == ZQ_MESSAGE_ERROR     ? "error"
           : s->messageType == ZQ_MESSAGE_WARNING ? "warning"
                                                  : "note",
           s->messageNumber, s->message, s->appended ? " : " : "", s->appended ? s->appended : "");
  }
  FreeZQStatusList(status, 0); /* the list is the caller's: empty it for the next call */
}

int main(int argc, char** argv) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argc > 1 ? argv[1] : "localhost");
  show("ZQInitialization", ZQInitialization(&control, &status), &status);
  if (argc > 2)
    show("ZQSetServerPort", ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status),
         &status);

  /* Refused before anything is sent: no settings asked for. */
  ZQServerInfoRequestList none = {0, NULL};
  ZQServerInfoList info = {0, NULL};
  show("ZQGetServerInfo (empty)", ZQGetServerInfo(&control, &none, &info, &status), &status);

  /* Refused by the server: a form it does not have. */
  ZQEntryIdType id = "1";
  ZQEntryIdList ids = {1, &id};
  ZQFieldValueList values = {0, NULL};
  show("ZQGetEntry", ZQGetEntry(&control, "NoSuchForm", &ids, NULL, &values, &status), &status);
  FreeZQFieldValueList(&values, 0);

  /* Without a status list a call cannot report anything: 4. */
  printf("ZQGetEntry without a status list: %d\n",
         ZQGetEntry(&control, "NoSuchForm", &ids, NULL, &values, NULL));

  /* The text of any message number, from the catalog. */
  char text[ZQ_MESSAGE_TEXT_SIZE];
  ZQGetMessageText(302, text);
  printf("message 302: %s\n", text);

  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
