// Menu file content, as a server-side or client-side menu file holds it.
#include "fuzz_target.h"
#include "menus/menus.h"

ZQ_FUZZ_TARGET(menus)(const uint8_t* data, size_t size) {
  ZQCharMenuStruct menu{};
  zq::menus::parseMenuFile(std::string_view(reinterpret_cast<const char*>(data), size), menu);
  FreeZQCharMenuStruct(&menu, 0);
  return 0;
}
