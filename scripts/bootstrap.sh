#!/usr/bin/env bash
# Installs every build and test dependency that is missing. Safe to re-run.
set -euo pipefail

packages=(
  build-essential cmake g++ pkg-config libc-dev-bin rpcsvc-proto
  libtirpc-dev libssl-dev openssl zlib1g-dev libsqlite3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  rpcbind locales ninja-build
  nlohmann-json3-dev libcsv-dev doxygen dpkg-dev file man-db libxml2-dev
)
# The fuzz targets (make fuzz, and the smoke run of make check) need clang
# and libFuzzer; without them the smoke run is skipped, so a failed install
# here warns instead of stopping the build.
fuzz_packages=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

fuzz_missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fuzz_missing+=("$p")
done
if ((${#fuzz_missing[@]})); then
  echo "bootstrap: installing ${fuzz_missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends \
      "${fuzz_missing[@]}"; } ||
    echo "bootstrap: WARNING: could not install ${fuzz_missing[*]}; the fuzz smoke run will be skipped"
fi

# Locales used by the date and time tests.
if command -v locale-gen >/dev/null && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  for l in "en_US.UTF-8 UTF-8" "de_DE.UTF-8 UTF-8" "en_GB.UTF-8 UTF-8"; do
    grep -qxF "$l" /etc/locale.gen 2>/dev/null || echo "$l" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
