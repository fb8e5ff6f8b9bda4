#include "call/ordinals.h"
#include "zqapi/zq_defs.h"

namespace zq::model {

// Copy functions of the workflow and definition structures, exported by ordinal.
OrdinalTable defOrdinals() {
  // One ordinal per line.
  // clang-format off
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(1009, ZQCopyEnumItemList),
      ZQ_ORDINAL(1010, ZQCopyFieldLimitStruct),
      ZQ_ORDINAL(1021, ZQCopyNotifyStruct),
      ZQ_ORDINAL(1037, ZQCopyPushFieldsStruct),
      ZQ_ORDINAL(1038, ZQCopyPushFieldsList),
      ZQ_ORDINAL(1039, ZQCopySQLStruct),
      ZQ_ORDINAL(1040, ZQCopyFilterActionStruct),
      ZQ_ORDINAL(1041, ZQCopyFilterActionList),
      ZQ_ORDINAL(1042, ZQCopyCharMenuItemStruct),
      ZQ_ORDINAL(1043, ZQCopyCharMenuStruct),
      ZQ_ORDINAL(1045, ZQCopyVuiInfoList),
      ZQ_ORDINAL(1046, ZQCopyVuiInfoStruct),
      ZQ_ORDINAL(1047, ZQCopyFieldInfoList),
      ZQ_ORDINAL(1048, ZQCopyFieldInfoStruct),
      ZQ_ORDINAL(1049, ZQCopyWorkflowConnectStruct),
      ZQ_ORDINAL(1050, ZQCopyActiveLinkActionStruct),
      ZQ_ORDINAL(1051, ZQCopyActiveLinkActionList),
      ZQ_ORDINAL(1052, ZQCopyEnumItemList),
      ZQ_ORDINAL(1053, ZQCopyReferenceList),
      ZQ_ORDINAL(1054, ZQCopySupportFileInfoStruct),
      ZQ_ORDINAL(1055, ZQCopySupportFileInfoList),
      ZQ_ORDINAL(1060, ZQCopyCurrencyPrecisionList),
  };
  // clang-format on
  return table;
}

}  // namespace zq::model
