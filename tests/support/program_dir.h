// The folder of the test program, where the build puts the tools and
// zqserverd too (ZQ_TEST_OUT names another).
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace zqtest {

inline std::string programDir() {
  if (const char* out = getenv("ZQ_TEST_OUT")) return out;
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return ".";
  std::string path(self, static_cast<size_t>(n));
  return path.substr(0, path.find_last_of('/'));
}

}  // namespace zqtest
