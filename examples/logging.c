/* Logging and replay: the recording writes every call into a command log
 * (replayable with zqreplay or `zq replay`) and a result log. The same
 * happens for a whole program with the environment variable ZQAPILOGGING=1.
 *   logging HOST PORT   (writes example-cmd.log and example-res.log) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

int main(int argc, char** argv) {
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argc > 1 ? argv[1] : "localhost");
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  if (argc > 2) ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status);
  FreeZQStatusList(&status, 0);

  int rc = ZQStartRecording(&control, "example-cmd.log", "example-res.log", &status);
  FreeZQStatusList(&status, 0);
  uint32_t settings[] = {4, 55};
  ZQServerInfoRequestList request = {2, settings};
  ZQServerInfoList info = {0, NULL};
  ZQGetServerInfo(&control, &request, &info, &status); /* recorded */
  FreeZQServerInfoList(&info, 0);
  FreeZQStatusList(&status, 0);
  ZQStopRecording(&control, &status);
  FreeZQStatusList(&status, 0);
  printf("recording: return code %d; see example-cmd.log (zq replay example-cmd.log)\n", rc);

  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return rc >= ZQ_RETURN_ERROR;
}
