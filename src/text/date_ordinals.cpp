#include "call/ordinals.h"
#include "zqapi/zq_datetime.h"

namespace zq::text {

// Functions of this part of the text subsystem exported by ordinal.
OrdinalTable dateOrdinals() {
  static const OrdinalEntry table[] = {
      ZQ_ORDINAL(809, ZQFormatTimestampDate), ZQ_ORDINAL(810, ZQFormatTimestamp),
      ZQ_ORDINAL(811, ZQFormatTimestampTime), ZQ_ORDINAL(812, ZQParseTimestamp),
      ZQ_ORDINAL(830, ZQDateDifference),      ZQ_ORDINAL(831, ZQDateAdd),
      ZQ_ORDINAL(832, ZQIsValidDate),         ZQ_ORDINAL(833, ZQGetDateName),
      ZQ_ORDINAL(834, ZQGetDatePart),         ZQ_ORDINAL(837, ZQParseDate),
      ZQ_ORDINAL(838, ZQParseTimeOfDay),      ZQ_ORDINAL(839, ZQFormatDate),
  };
  return table;
}

}  // namespace zq::text
