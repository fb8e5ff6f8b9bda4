/* An alert listener: registers for alerts, accepts the server's alert
 * connections on a port of this machine and decodes each message.
 *   alert_listener HOST PORT LISTEN-PORT [USER] [COUNT]
 *
 * zqserverd delivers one alert per connection: it connects to the address
 * and port the registration named, writes the message and closes. So a
 * listener reads until the end of the connection (here at most 1 MiB) and
 * hands the bytes to ZQDecodeAlertMessage, which takes the plain and the
 * compressed form alike. COUNT alerts (default 1) are received, then the
 * registration is removed.
 *
 * Try it with a zqserverd on port 7000 and, from another shell, any program
 * that calls ZQCreateAlertEvent for the same user:
 *   zqserverd --port 7000 &
 *   alert_listener localhost 7000 7100 Demo 1 */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include <zqapi/zqapi.h>

#define MAX_MESSAGE (1024 * 1024)

/* A socket listening on every address of this machine, or -1. */
static int listenOn(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int one = 1;
  struct sockaddr_in addr;
  if (fd < 0) return -1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  memset(&addr, 0, sizeof addr);
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_ANY);
  addr.sin_port = htons((unsigned short)port);
  if (bind(fd, (struct sockaddr*)&addr, sizeof addr) != 0 || listen(fd, 8) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

/* One alert connection read to its end; the number of bytes, or -1. */
static long readMessage(int fd, unsigned char* buffer, long room) {
  long length = 0;
  while (length < room) {
    ssize_t n = read(fd, buffer + length, (size_t)(room - length));
    if (n < 0) return -1;
    if (n == 0) break;
    length += n;
  }
  return length;
}

static void printAlert(ZQControlStruct* control, const unsigned char* message, long length) {
  ZQStatusList status = {0, NULL};
  ZQTimestamp when = 0;
  uint32_t sourceType = 0, priority = 0;
  char *text = NULL, *tag = NULL, *server = NULL, *address = NULL, *form = NULL, *id = NULL;
  int rc = ZQDecodeAlertMessage(control, message, (uint32_t)length, &when, &sourceType, &priority,
                                &text, &tag, &server, &address, &form, &id, &status);
  if (rc < ZQ_RETURN_ERROR)
    printf("alert at %ld, priority %u: %s (form %s, entry %s, from %s at %s)\n", (long)when,
           priority, text, form ? form : "", id ? id : "", server ? server : "",
           address ? address : "");
  else
    printf("a malformed alert message of %ld bytes (return code %d)\n", length, rc);
  ZQFree(text);
  ZQFree(tag);
  ZQFree(server);
  ZQFree(address);
  ZQFree(form);
  ZQFree(id);
  FreeZQStatusList(&status, 0);
}

int main(int argc, char** argv) {
  const char* host = argc > 1 ? argv[1] : "localhost";
  int port = argc > 2 ? atoi(argv[2]) : 0;
  int listenPort = argc > 3 ? atoi(argv[3]) : 7100;
  int count = argc > 5 ? atoi(argv[5]) : 1;
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  unsigned char* buffer = malloc(MAX_MESSAGE);
  int listener = listenOn(listenPort);
  int rc;

  if (!buffer || listener < 0) {
    fprintf(stderr, "cannot listen on port %d\n", listenPort);
    return 1;
  }
  memset(&control, 0, sizeof control);
  snprintf(control.user, sizeof control.user, "%s", argc > 4 ? argv[4] : "Demo");
  snprintf(control.server, sizeof control.server, "%s", host);
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  FreeZQStatusList(&status, 0);
  if (port) ZQSetServerPort(&control, host, port, 0, &status);
  FreeZQStatusList(&status, 0);

  rc = ZQRegisterForAlerts(&control, (uint32_t)listenPort, 0, &status);
  FreeZQStatusList(&status, 0);
  if (rc >= ZQ_RETURN_ERROR) {
    fprintf(stderr, "registering failed (return code %d)\n", rc);
    return 1;
  }
  printf("listening for alerts of %s on port %d\n", control.user, listenPort);
  while (count-- > 0) {
    int connection = accept(listener, NULL, NULL);
    long length;
    if (connection < 0) break;
    length = readMessage(connection, buffer, MAX_MESSAGE);
    close(connection);
    if (length >= 0) printAlert(&control, buffer, length);
  }

  ZQDeregisterForAlerts(&control, (uint32_t)listenPort, &status);
  FreeZQStatusList(&status, 0);
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  close(listener);
  free(buffer);
  return 0;
}
