#include "call/ordinals.h"
#include "zqapi/zq_copy.h"

namespace zq::model {

// Copy functions of this group of structures, exported by ordinal.
OrdinalTable coreOrdinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(1001, ZQCopyAssignFilterApiStruct),
      ZQ_ORDINAL(1002, ZQCopyValueStruct),
      ZQ_ORDINAL(1003, ZQCopyPermissionList),
      ZQ_ORDINAL(1004, ZQCopyPermissionList),
      ZQ_ORDINAL(1005, ZQCopyNameList),
      ZQ_ORDINAL(1006, ZQCopyTextStringList),
      ZQ_ORDINAL(1007, ZQCopyInternalIdList),
      ZQ_ORDINAL(1008, ZQCopyAccessNameList),
      ZQ_ORDINAL(1012, ZQCopySortList),
      ZQ_ORDINAL(1013, ZQCopyEntryListFieldList),
      ZQ_ORDINAL(1015, ZQCopyStatusHistoryList),
      ZQ_ORDINAL(1016, ZQCopyFieldValueStruct),
      ZQ_ORDINAL(1017, ZQCopyPropList),
      ZQ_ORDINAL(1018, ZQCopyDisplayInstanceStruct),
      ZQ_ORDINAL(1019, ZQCopyDisplayInstanceList),
      ZQ_ORDINAL(1020, ZQCopyInternalIdListWithSpare),
      ZQ_ORDINAL(1022, ZQCopyFieldValueList),
      ZQ_ORDINAL(1023, ZQCopyValueList),
      ZQ_ORDINAL(1024, ZQCopyRelOpStruct),
      ZQ_ORDINAL(1025, ZQCopyQueryStruct),
      ZQ_ORDINAL(1026, ZQCopyFieldValueOrArithStruct),
      ZQ_ORDINAL(1027, ZQCopyArithOpStruct),
      ZQ_ORDINAL(1028, ZQCopyQualifierStruct),
      ZQ_ORDINAL(1029, ZQCopyAssignFieldStruct),
      ZQ_ORDINAL(1030, ZQCopyFieldAssignStruct),
      ZQ_ORDINAL(1031, ZQCopyArithOpAssignStruct),
      ZQ_ORDINAL(1032, ZQCopyFunctionAssignStruct),
      ZQ_ORDINAL(1033, ZQCopyDDEStruct),
      ZQ_ORDINAL(1034, ZQCopyAssignSQLStruct),
      ZQ_ORDINAL(1035, ZQCopyAssignStruct),
      ZQ_ORDINAL(1036, ZQCopyFieldAssignList),
      ZQ_ORDINAL(1056, ZQCopyStatusStruct),
      ZQ_ORDINAL(1057, ZQCopyStatusList),
      ZQ_ORDINAL(1061, ZQCopyCurrencyStruct),
      ZQ_ORDINAL(1062, ZQCopyServerInfoStruct),
      ZQ_ORDINAL(1065, ZQCopyEntryIdList),
      ZQ_ORDINAL(1066, ZQCopyEntryListFieldValueList),
  };
  return table;
}

}  // namespace zq::model
