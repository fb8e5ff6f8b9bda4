// The status list exports (ordinals 806, 827 and 841, and FreeZQStatusList).
#include "frame/frame.h"

extern "C" {

int ZQAddStatus(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                const char* appended) {
  return zq::addStatus(status, messageType, messageNumber, appended);
}

int ZQAddStatusNumber(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                      uint32_t number) {
  return zq::addStatusNumber(status, messageType, messageNumber, number);
}

void FreeZQStatusList(ZQStatusList* status, ZQBoolean freeStruct) {
  zq::releaseStatusList(status, freeStruct != 0);
}

ZQStatusList* ZQMergeStatusLists(ZQStatusList* first, ZQStatusList* second,
                                 ZQStatusList* result) {
  return zq::mergeStatusLists(first, second, result);
}

}  // extern "C"
