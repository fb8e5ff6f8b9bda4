/* Memory ownership: what a call hands back is the caller's, from the
 * library's heap; release it with the matching FreeZQ... function (or
 * ZQFree). Structures a caller passes in stay the caller's.
 *   ownership (works without a server) */
#include <stdio.h>
#include <string.h>

#include <zqapi/zqapi.h>

int main(void) {
  /* The text calls need a context, though no server. */
  ZQControlStruct control;
  ZQStatusList status = {0, NULL};
  memset(&control, 0, sizeof control);
  strcpy(control.user, "Demo");
  strcpy(control.server, "localhost");
  if (ZQInitialization(&control, &status) >= ZQ_RETURN_ERROR) return 1;
  FreeZQStatusList(&status, 0);

  /* A value built by the caller: its text is the caller's (a literal here). */
  ZQFieldValueStruct mine;
  memset(&mine, 0, sizeof mine);
  mine.fieldId = 8;
  mine.value.dataType = ZQ_DATA_TYPE_CHAR;
  mine.value.u.charValue = (char*)"caller's text";

  /* A deep copy belongs to the copier: every string and list in it comes
   * from ZQAlloc and goes with FreeZQFieldValueStruct. */
  ZQFieldValueStruct copy;
  if (ZQCopyFieldValueStruct(&copy, &mine) != ZQ_COPY_OK) return 1;
  printf("copy of field %u: %s\n", copy.fieldId, copy.value.u.charValue);
  FreeZQFieldValueStruct(&copy, 0); /* 0: the structure itself is on our stack */

  /* With freeStruct 1 the structure's own block goes too. */
  ZQFieldValueStruct* heap = ZQAlloc(sizeof *heap);
  if (!heap || ZQCopyFieldValueStruct(heap, &mine) != ZQ_COPY_OK) return 1;
  FreeZQFieldValueStruct(heap, 1);

  /* Text the library allocates (here an encoded qualification) goes with
   * ZQFree. */
  ZQRelOpStruct equal;
  memset(&equal, 0, sizeof equal);
  equal.operation = ZQ_REL_OP_EQUAL;
  equal.left.tag = ZQ_FIELD;
  equal.left.u.fieldId = 7;
  equal.right.tag = ZQ_VALUE;
  equal.right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  equal.right.u.value.u.integerValue = 3;
  ZQQualifierStruct qualifier;
  memset(&qualifier, 0, sizeof qualifier);
  qualifier.operation = ZQ_COND_OP_REL_OP;
  qualifier.u.relation = &equal;
  char* text = NULL;
  if (ZQEncodeZQQualifierStruct(&control, &qualifier, &text, &status) == ZQ_RETURN_OK)
    printf("field 7 = 3 as text: %s\n", text);
  ZQFree(text);
  FreeZQStatusList(&status, 0);
  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
  return 0;
}
