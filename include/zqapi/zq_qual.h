/** \file
 * Qualifications, arithmetic and assignments.
 *
 * Conditions and computed values are trees of plain structures. Every node
 * reached through a pointer is a separate block owned by its parent and
 * released with the matching FreeZQ... function (zq_free.h). */
#ifndef ZQAPI_ZQ_QUAL_H
#define ZQAPI_ZQ_QUAL_H

#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZQQualifierStruct ZQQualifierStruct;
typedef struct ZQRelOpStruct ZQRelOpStruct;
typedef struct ZQArithOpStruct ZQArithOpStruct;
typedef struct ZQQueryStruct ZQQueryStruct;
typedef struct ZQAssignStruct ZQAssignStruct;
typedef struct ZQAssignFieldStruct ZQAssignFieldStruct;
typedef struct ZQArithOpAssignStruct ZQArithOpAssignStruct;
typedef struct ZQFunctionAssignStruct ZQFunctionAssignStruct;
typedef struct ZQDDEStruct ZQDDEStruct;
typedef struct ZQAssignSQLStruct ZQAssignSQLStruct;
typedef struct ZQAssignFilterApiStruct ZQAssignFilterApiStruct;

/* ---- qualification operations ----------------------------------------- */
#define ZQ_COND_OP_NONE 0
#define ZQ_COND_OP_AND 1
#define ZQ_COND_OP_OR 2
#define ZQ_COND_OP_NOT 3
#define ZQ_COND_OP_REL_OP 4
#define ZQ_COND_OP_FROM_FIELD 5 /* protocol version 8 and later */

/* ---- relational operations -------------------------------------------- */
#define ZQ_REL_OP_EQUAL 1
#define ZQ_REL_OP_GREATER 2
#define ZQ_REL_OP_GREATER_EQUAL 3
#define ZQ_REL_OP_LESS 4
#define ZQ_REL_OP_LESS_EQUAL 5
#define ZQ_REL_OP_NOT_EQUAL 6
#define ZQ_REL_OP_LIKE 7
#define ZQ_REL_OP_IN 8

/* ---- arithmetic operations -------------------------------------------- */
#define ZQ_ARITH_OP_ADD 1
#define ZQ_ARITH_OP_SUBTRACT 2
#define ZQ_ARITH_OP_MULTIPLY 3
#define ZQ_ARITH_OP_DIVIDE 4
#define ZQ_ARITH_OP_MODULO 5
#define ZQ_ARITH_OP_NEGATE 6 /* unary: only right is meaningful */

/* ---- operand tags of ZQFieldValueOrArithStruct ------------------------- */
#define ZQ_FIELD 1
#define ZQ_VALUE 2
#define ZQ_ARITHMETIC 3
#define ZQ_STAT_HISTORY 4
#define ZQ_VALUE_SET 5
#define ZQ_CURRENCY_FLD 6
#define ZQ_FIELD_TRAN 50
#define ZQ_FIELD_DB 51
#define ZQ_LOCAL_VARIABLE 52
#define ZQ_QUERY 53
#define ZQ_CURRENCY_FLD_TRAN 54
#define ZQ_CURRENCY_FLD_DB 55
#define ZQ_CURRENCY_FLD_CURRENT 56
#define ZQ_FIELD_CURRENT 99

/* userOrTime of ZQStatusHistoryOperand */
#define ZQ_STAT_HISTORY_USER 1
#define ZQ_STAT_HISTORY_TIME 2

/* multiValueCode of ZQQueryStruct */
#define ZQ_QUERY_VALUE_MULTI_ERROR 1
#define ZQ_QUERY_VALUE_MULTI_FIRST 2
#define ZQ_QUERY_VALUE_MULTI_SET 3

/* ---- assignment types ---------------------------------------------------- */
#define ZQ_ASSIGN_TYPE_NONE 0
#define ZQ_ASSIGN_TYPE_VALUE 1
#define ZQ_ASSIGN_TYPE_FIELD 2
#define ZQ_ASSIGN_TYPE_PROCESS 3
#define ZQ_ASSIGN_TYPE_ARITH 4
#define ZQ_ASSIGN_TYPE_FUNCTION 5
#define ZQ_ASSIGN_TYPE_DDE 6
#define ZQ_ASSIGN_TYPE_SQL 7
#define ZQ_ASSIGN_TYPE_FILTER_API 8 /* protocol version 8 and later */

/* noMatchOption and multiMatchOption of the field and SQL sources */
#define ZQ_NO_MATCH_ERROR 1
#define ZQ_NO_MATCH_NULL 2
#define ZQ_MULTI_MATCH_ERROR 1
#define ZQ_MULTI_MATCH_NULL 2
#define ZQ_MULTI_MATCH_FIRST 3
#define ZQ_MULTI_MATCH_PICKLIST 4

/* ---- operands ------------------------------------------------------------ */
typedef struct ZQStatusHistoryOperand {
  uint32_t enumeratedValueIndex;
  uint32_t userOrTime; /* 1 user, 2 time */
} ZQStatusHistoryOperand;

typedef struct ZQCurrencyPartStruct {
  ZQInternalId fieldId;
  uint32_t partTag;
  ZQCurrencyCodeType currencyCode; /* meaningful only when partTag is 4 */
} ZQCurrencyPartStruct;

typedef struct ZQFieldValueOrArithStruct {
  uint32_t tag;
  union {
    ZQInternalId fieldId; /* tags 1, 12 to 26, 50, 51, 99 */
    ZQValueStruct value;
    ZQArithOpStruct* arithOp;
    ZQStatusHistoryOperand statHistory;
    ZQValueList valueSet;
    ZQCurrencyPartStruct* currencyField; /* tags 6, 54 to 56 */
    uint32_t variable;                   /* local variable number */
    ZQQueryStruct* query;
  } u;
} ZQFieldValueOrArithStruct;

struct ZQArithOpStruct {
  uint32_t operation;
  ZQFieldValueOrArithStruct left; /* not used by NEGATE */
  ZQFieldValueOrArithStruct right;
};

struct ZQRelOpStruct {
  uint32_t operation;
  ZQFieldValueOrArithStruct left;
  ZQFieldValueOrArithStruct right;
};

/* ---- qualification --------------------------------------------------------- */
struct ZQQualifierStruct {
  uint32_t operation;
  union {
    struct {
      ZQQualifierStruct* left;
      ZQQualifierStruct* right;
    } andOr;                    /* AND, OR */
    ZQQualifierStruct* operand; /* NOT */
    ZQRelOpStruct* relation;    /* relational test */
    ZQInternalId fieldId;       /* condition taken from a field */
  } u;
};

typedef struct ZQQualifierList {
  uint32_t count;
  ZQQualifierStruct* items;
} ZQQualifierList;

/* A query embedded in an operand. */
struct ZQQueryStruct {
  ZQNameType schema;
  ZQServerNameType server;
  ZQQualifierStruct* qualifier;
  ZQInternalId valueFieldId;
  uint32_t multiValueCode; /* 1 error, 2 first, 3 set */
};

/* ---- assignments ------------------------------------------------------------- */
struct ZQAssignStruct {
  uint32_t assignType;
  union {
    ZQValueStruct value;
    ZQAssignFieldStruct* field;
    char* process;
    ZQArithOpAssignStruct* arithOp;
    ZQFunctionAssignStruct* function;
    ZQDDEStruct* dde;
    ZQAssignSQLStruct* sql;
    ZQAssignFilterApiStruct* filterApi;
  } u;
};

/* The field an assignment reads, in the entry its qualification selects. */
struct ZQAssignFieldStruct {
  ZQServerNameType server;
  ZQNameType schema;
  ZQQualifierStruct qualifier;
  uint32_t tag; /* 1 field, 4 status history, 6 currency field */
  union {
    ZQInternalId fieldId;
    ZQStatusHistoryOperand statHistory;
    ZQCurrencyPartStruct* currencyField;
  } u;
  uint32_t noMatchOption;
  uint32_t multiMatchOption;
};

struct ZQArithOpAssignStruct {
  uint32_t operation;
  ZQAssignStruct left; /* not used by NEGATE */
  ZQAssignStruct right;
};

struct ZQFunctionAssignStruct {
  uint32_t functionCode;
  uint32_t count; /* the arguments, in order */
  ZQAssignStruct* items;
};

struct ZQDDEStruct {
  char* serviceName;
  char* topic;
  char* item;
  uint32_t action;
  char* pathToProgram;
  char* command;
};

struct ZQAssignSQLStruct {
  ZQServerNameType server;
  char* sqlCommand;
  uint32_t valueIndex;
  uint32_t noMatchOption;    /* 1 error, 2 null */
  uint32_t multiMatchOption; /* 1 error, 2 null, 3 first, 4 pick list */
};

struct ZQAssignFilterApiStruct {
  ZQNameType serviceName;
  uint32_t count; /* the input values */
  ZQAssignStruct* items;
  uint32_t valueIndex;
};

typedef struct ZQFieldAssignStruct {
  ZQInternalId fieldId;
  ZQAssignStruct assignment;
} ZQFieldAssignStruct;

typedef struct ZQFieldAssignList {
  uint32_t count;
  ZQFieldAssignStruct* items;
} ZQFieldAssignList;

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_QUAL_H */
