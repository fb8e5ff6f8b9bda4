/* Encryption: with a server that offers it (zqserverd --security optional or
 * required) the library encrypts every call after a key exchange on its
 * own; the program does not change. Texts can be protected under a key of
 * the program's, and Base64 is at hand.
 *   encryption HOST PORT */
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

  /* The same call, encrypted when the server asks for it. */
  uint32_t version = 4;
  ZQServerInfoRequestList request = {1, &version};
  ZQServerInfoList info = {0, NULL};
  int rc = ZQGetServerInfo(&control, &request, &info, &status);
  printf("server info: return code %d\n", rc);
  FreeZQServerInfoList(&info, 0);
  FreeZQStatusList(&status, 0);

  /* A text protected under a key text, with an integrity check. */
  char* protectedText = NULL;
  char* plain = NULL;
  if (EncryptCharData(1, "meet at noon", "a key of ours", &protectedText) == 0 &&
      DecryptCharData(1, protectedText, "a key of ours", &plain) == 0)
    printf("protected and restored: %s\n", plain);
  ZQFree(protectedText);
  ZQFree(plain);

  char* base64 = NULL;
  if (ZQBase64Encode((const unsigned char*)"zq", 2, &base64) == 0) printf("base64: %s", base64);
  ZQFree(base64);

  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
