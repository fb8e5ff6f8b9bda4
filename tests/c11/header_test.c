/* The public header is plain C11: compile it strictly and call into the library. */
#include <stdio.h>
#include <string.h>

#include "zqapi/zqapi.h"

int main(void) {
  ZQStatusList status = {0, NULL};
  ZQControlStruct control;
  memset(&control, 0, sizeof control);
  if (ZQAddStatus(&status, ZQ_MESSAGE_WARNING, 68, "x") != ZQ_RETURN_WARNING) return 1;
  if (status.count != 1 || status.items[0].messageNumber != 68) return 1;
  FreeZQStatusList(&status, 0);
  if (ZQInitialization(&control, NULL) != ZQ_RETURN_BAD_STATUS) return 1;
  if (ZQGetOrdinal(806) == NULL || ZQGetOrdinal(1) != NULL) return 1;
  puts("ok");
  return 0;
}
