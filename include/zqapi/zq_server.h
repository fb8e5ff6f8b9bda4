/** \file
 * Server information, connections, ports and the list of known servers. */
#ifndef ZQAPI_ZQ_SERVER_H
#define ZQAPI_ZQ_SERVER_H

#include "zq_defs.h"
#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Reads server settings (procedure 36). The result is cleared first and
 * released by the caller with FreeZQServerInfoList. */
int ZQGetServerInfo(ZQControlStruct* control, ZQServerInfoRequestList* request,
                    ZQServerInfoList* result, ZQStatusList* status);

/** Drops the connection to the control record's server; bindings, cache ids
 * and keys stay, the next call reconnects. A call running meanwhile on
 * another thread ends promptly with message 93. */
int ZQCloseNetworkConnections(ZQControlStruct* control, ZQStatusList* status);

/** Size of the buffers of ZQGetServerCharSet and ZQGetClientCharSet. */
#define ZQ_CHARSET_NAME_SIZE 32
/**@{*/
/** The character-set name of the server, or of this client, into charSet (a
 * buffer of at least ZQ_CHARSET_NAME_SIZE bytes). */
int ZQGetServerCharSet(ZQControlStruct* control, char* charSet, ZQStatusList* status);
int ZQGetClientCharSet(ZQControlStruct* control, char* charSet, ZQStatusList* status);
/**@}*/

/**@{*/
/** Attaches or detaches a client-managed transaction handle (at most 128
 * characters) to every later call to the control record's server. */
int ZQSetClientManagedTransaction(ZQControlStruct* control, const char* handle,
                                  ZQStatusList* status);
int ZQRemoveClientManagedTransaction(ZQControlStruct* control, ZQStatusList* status);
/**@}*/

/** Fixes the TCP port (1-65535, 0 = ask the port mapper) and a private RPC
 * program number (0 = none) for one server name. */
int ZQSetServerPort(ZQControlStruct* control, const char* server, int32_t port, int32_t program,
                    ZQStatusList* status);
/** The server names registered for this installation ("ServerList" of the
 * configuration file, names separated by ';' or ','). */
int ZQGetListServer(ZQControlStruct* control, ZQServerNameList* servers, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_SERVER_H */
