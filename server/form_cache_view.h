// What a client's form cache checks against (procedure 94): the active
// links of the form, with those changed since the client's copy, and the
// menus and guides changed since its copies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transport/records_admin.h"

namespace zqserver {

class Store;

// Container types that are guides: active-link guides and filter guides.
inline constexpr uint32_t kContainerGuide = 1;
inline constexpr uint32_t kContainerFilterGuide = 4;

struct FormCacheView {
  int32_t activeLinks = 0;
  int32_t changedActiveLinks = 0;          // changed at or after the client's time
  std::vector<std::string> changedMenus;   // every menu changed since
  std::vector<std::string> changedGuides;  // guides the form owns, changed since
};

// A time of 0 means the client holds nothing: everything counts as changed.
FormCacheView formCacheView(Store& store, const std::string& form,
                            const zq::transport::ValidateFormCacheArgs& since);

}  // namespace zqserver
