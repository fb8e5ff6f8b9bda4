// The POSIX message catalog "zqsystem.cat": found through NLSPATH, then next
// to the library itself, then where the installation put it.
#pragma once

#include <string>

namespace zq::platform {

// Opens the catalog; returns a handle >= 0, or -1.
int catalogOpen();
void catalogClose(int handle);
// The text of (set, number), or def when absent.
std::string catalogGet(int handle, int set, int number, const char* def);

// Tests point the library at another catalog file (or at a missing one);
// an empty path restores the normal search.
void setCatalogPathForTesting(const std::string& path);

}  // namespace zq::platform
