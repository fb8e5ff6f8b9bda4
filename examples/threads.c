/* Threads: a control record belongs to one thread at a time, and calls on
 * one record run one after another. Give each thread a record of its own
 * (initialized in that thread or before it starts); different records work
 * in parallel.
 *   threads HOST PORT */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

static const char* g_host;
static int g_port;

static void* worker(void* arg) {
  int* result = arg;
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", g_host);
  *result = ZQInitialization(&control, &status);
  FreeZQStatusList(&status, 0);
  if (*result >= ZQ_RETURN_ERROR) return NULL;
  if (g_port) ZQSetServerPort(&control, g_host, g_port, 0, &status);
  FreeZQStatusList(&status, 0);
  uint32_t version = 4;
  ZQServerInfoRequestList request = {1, &version};
  for (int i = 0; i < 5 && *result < ZQ_RETURN_ERROR; ++i) {
    ZQServerInfoList info = {0, NULL};
    *result = ZQGetServerInfo(&control, &request, &info, &status);
    FreeZQServerInfoList(&info, 0);
    FreeZQStatusList(&status, 0);
  }
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return NULL;
}

int main(int argc, char** argv) {
  g_host = argc > 1 ? argv[1] : "localhost";
  g_port = argc > 2 ? atoi(argv[2]) : 0;
  /* Opened once before the threads start, the catalog serves all of them. */
  ZQOpenMessageCatalog();
  pthread_t threads[4];
  int results[4];
  for (int i = 0; i < 4; ++i) pthread_create(&threads[i], NULL, worker, &results[i]);
  int worst = 0;
  for (int i = 0; i < 4; ++i) {
    pthread_join(threads[i], NULL);
    if (results[i] > worst) worst = results[i];
    printf("thread %d: return code %d\n", i, results[i]);
  }
  return worst >= ZQ_RETURN_ERROR;
}
