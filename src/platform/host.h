// Local host name and address lookup.
#pragma once

#include <string>

namespace zq::platform {

std::string localHostName();
// First IPv4 address of the local host name in dotted decimal, or "".
std::string localHostAddress();

}  // namespace zq::platform
