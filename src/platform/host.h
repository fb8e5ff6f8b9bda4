// Local host name and address lookup.
#pragma once

#include <string>

namespace zq::platform {

std::string localHostName();
// First IPv4 address of the local host name in dotted decimal, or "".
std::string localHostAddress();
// First IPv4 address of a host name in dotted decimal, or "" when it does
// not resolve.
std::string hostAddress(const std::string& host);

}  // namespace zq::platform
