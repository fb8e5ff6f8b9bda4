/* Connecting: a control record, its context, a server and a first call.
 *   connect HOST PORT [USER] */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

int main(int argc, char** argv) {
  const char* host = argc > 1 ? argv[1] : "localhost";
  int port = argc > 2 ? atoi(argv[2]) : 0; /* 0: rpcbind finds the server */

  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  snprintf(control.user, sizeof control.user, "%s", argc > 3 ? argv[3] : "Demo");
  snprintf(control.server, sizeof control.server, "%s", host);

  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  FreeZQStatusList(&status, 0);
  if (port) ZQSetServerPort(&control, host, port, 0, &status);
  FreeZQStatusList(&status, 0);

  /* The first remote call binds the control record to the server. */
  uint32_t version = 4;
  ZQServerInfoRequestList request = {1, &version};
  ZQServerInfoList info = {0, NULL};
  int rc = ZQGetServerInfo(&control, &request, &info, &status);
  if (rc < ZQ_RETURN_ERROR && info.count == 1 && info.items[0].value.dataType == ZQ_DATA_TYPE_CHAR)
    printf("connected to %s, server version %s\n", host, info.items[0].value.u.charValue);
  else
    printf("no answer from %s (return code %d)\n", host, rc);
  FreeZQServerInfoList(&info, 0);
  FreeZQStatusList(&status, 0);

  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return rc >= ZQ_RETURN_ERROR;
}
