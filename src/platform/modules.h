// On-demand libraries (the encryption provider, the XML library).
#pragma once

#include <string>

namespace zq::platform {

// Opens a shared library by name through the loader's search, then from the
// directory of the module that holds this code. A name with a slash is
// opened as it stands. Null when neither finds it.
void* openLibrary(const std::string& name);

}  // namespace zq::platform
