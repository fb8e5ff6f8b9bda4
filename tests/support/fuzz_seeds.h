// Golden vectors double as the fuzzers' seed corpora: with ZQ_FUZZ_SEEDS set
// (make fuzz-seeds), a golden test writes each hand-written record there as
// ZQ_FUZZ_SEEDS/<target>/<name>, prefixed as the record targets read it:
// procedure number (2 bytes), protocol version (1 byte), record.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zqtest {

template <class Bytes>
void fuzzSeed(const char* target, const std::string& name, uint32_t procedure, int version,
              const Bytes& record) {
  const char* root = getenv("ZQ_FUZZ_SEEDS");
  if (!root || !*root) return;
  const std::string dir = std::string(root) + "/" + target;
  mkdir(root, 0755);
  mkdir(dir.c_str(), 0755);
  if (FILE* f = fopen((dir + "/" + name).c_str(), "wb")) {
    const unsigned char head[3] = {static_cast<unsigned char>(procedure >> 8),
                                   static_cast<unsigned char>(procedure),
                                   static_cast<unsigned char>(version - 7)};
    fwrite(head, 1, 3, f);
    fwrite(record.data(), 1, record.size(), f);
    fclose(f);
  }
}

}  // namespace zqtest
