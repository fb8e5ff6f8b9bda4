/** \file
 * Diagnostics: the API trace log with its recording of every call, and the
 * capture of the server's own log output. */
#ifndef ZQAPI_ZQ_DIAG_H
#define ZQAPI_ZQ_DIAG_H

#include <stdio.h>

#include "zq_session.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Bits of the ZQAPILOGGING value. Any non-zero value switches the recording
 * on at initialization; the value 24 exactly gives command records the long
 * header (server, user, port). */
#define ZQ_LOGGING_PAUSE_SECONDS 0x02 /* pause records in seconds */
#define ZQ_LOGGING_PAUSE_MILLIS 0x04  /* pause records in milliseconds */
#define ZQ_LOGGING_TIMING 0x08        /* start, finish and elapsed time per call */
#define ZQ_LOGGING_SINGLE_FILE 0x10   /* command records go into the result file */
#define ZQ_LOGGING_NO_RESULTS 0x20    /* returned structures are not printed */
#define ZQ_LOGGING_BUFFERED 0x40      /* files keep the C library's buffering */

/** Opens the command log and the result log (null names: "zqapicmd.log" and
 * "zqapires.log") in append mode and switches logging on for the control
 * record. Files already open stay open. 2 when a file cannot be opened. */
int ZQStartRecording(ZQControlStruct* control, const char* commandFile, const char* resultFile,
                     ZQStatusList* status);
/** Switches logging off, clears the logging flags and closes both files. */
int ZQStopRecording(ZQControlStruct* control, ZQStatusList* status);

/* Destination bits of ZQSetLogging. */
#define ZQ_SERVER_LOG_TO_FILE 0x01   /* server log text and marker lines go to file */
#define ZQ_SERVER_LOG_KEEP_NOTE 0x02 /* the note 8914 stays in the status list */

/** Asks the server for its log output of the types in logTypeMask with every
 * call (the bits 0x01, 0x02 and 0x10 are captured by the library). The file
 * is the caller's open stream; it stays the caller's to close. */
int ZQSetLogging(ZQControlStruct* control, uint32_t logTypeMask, uint32_t destination, FILE* file,
                 ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DIAG_H */
