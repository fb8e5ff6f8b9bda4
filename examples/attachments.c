/* Attachments: a file's content into an attachment field, and back into
 * another file. The library reads and writes the files itself, compressing
 * on the way.
 *   attachments HOST PORT FILE COPY
 * (form "Tickets" with attachment field 536870915, as run-demo.sh starts it) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zqapi/zqapi.h>

enum { kNotes = 536870915 };

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: attachments HOST PORT FILE COPY\n");
    return 2;
  }
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  snprintf(control.server, sizeof control.server, "%s", argv[1]);
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  ZQSetServerPort(&control, control.server, atoi(argv[2]), 0, &status);
  FreeZQStatusList(&status, 0);

  /* Upload: the attachment names a file (ZQ_LOC_FILENAME). */
  ZQAttachStruct attachment;
  memset(&attachment, 0, sizeof attachment);
  attachment.name = argv[3];
  attachment.location.locationType = ZQ_LOC_FILENAME;
  attachment.location.u.filename = argv[3];
  ZQFieldValueStruct field;
  memset(&field, 0, sizeof field);
  field.fieldId = kNotes;
  field.value.dataType = ZQ_DATA_TYPE_ATTACH;
  field.value.u.attachmentValue = &attachment;
  ZQFieldValueList values = {1, &field};
  ZQEntryIdType id;
  int rc = ZQCreateEntry(&control, "Tickets", &values, id, &status);
  FreeZQStatusList(&status, 0);

  /* Download: into a file, or (ZQ_LOC_BUFFER) a buffer released with ZQFree. */
  if (rc < ZQ_RETURN_ERROR) {
    ZQEntryIdList which = {1, &id};
    ZQLocStruct into;
    memset(&into, 0, sizeof into);
    into.locationType = ZQ_LOC_FILENAME;
    into.u.filename = argv[4];
    rc = ZQGetEntryBLOB(&control, "Tickets", &which, kNotes, &into, &status);
    FreeZQStatusList(&status, 0);
    printf("entry %s: %s copied to %s (return code %d)\n", id, argv[3], argv[4], rc);
  }
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return rc >= ZQ_RETURN_ERROR;
}
