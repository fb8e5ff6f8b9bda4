#!/usr/bin/env bash
# Succeeds when clang can build a libFuzzer target with ASan and UBSan;
# otherwise says what is missing and fails.
set -uo pipefail
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found (scripts/bootstrap.sh installs clang and libclang-rt-dev)"
  exit 1
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat >"$dir/t.cpp" <<'SRC'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
SRC
if ! clang++ -fsanitize=fuzzer,address,undefined "$dir/t.cpp" -o "$dir/t" >"$dir/log" 2>&1; then
  echo "clang++ cannot link a libFuzzer target (libclang-rt-dev missing?):"
  head -3 "$dir/log"
  exit 1
fi
