#!/usr/bin/env bash
# Installs the build into a temporary prefix, builds examples/ against it once
# with pkg-config and once with find_package, and runs the demo and zq from
# the installed tree against the installed zqserverd: no NLSPATH, no
# LD_LIBRARY_PATH.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/zqinstall-XXXXXX)
server=
cleanup() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
unset NLSPATH LD_LIBRARY_PATH
export ZQAPI_CONFIG=$work/no-config ZQ_CONFIG=$work/no-config
fail() { echo "install test: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

# The layout: SONAME links, headers, catalog, programs, pages, unit.
lib=$(dirname "$(find "$prefix" -name 'libzqapi.so.*.*.*' | head -1)")
[ -f "$lib/libzqapi.a" ] || fail "no static archive in $lib"
[ "$(readlink "$lib/libzqapi.so")" = libzqapi.so.7 ] || fail "libzqapi.so does not point at libzqapi.so.7"
[ "$(readlink "$lib/libzqapi.so.7")" = "$(basename "$(ls "$lib"/libzqapi.so.*.*.*)")" ] ||
  fail "libzqapi.so.7 does not point at the versioned library"
readelf -d "$lib/libzqapi.so.7" | grep -q 'SONAME.*\[libzqapi.so.7\]' || fail "wrong SONAME"
for f in include/zqapi/zqapi.h include/zqapi/zq_types.h share/zqapi/zqsystem.cat bin/zq \
  bin/zqserverd bin/zqreplay share/man/man1/zq.1 share/man/man1/zqreplay.1 \
  share/man/man8/zqserverd.8 share/bash-completion/completions/zq \
  lib/systemd/system/zqserverd.service; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
man -l "$prefix/share/man/man1/zq.1" >/dev/null 2>&1 || groff -man -Tutf8 "$prefix/share/man/man1/zq.1" >/dev/null ||
  fail "zq.1 does not format"

# Consumers: pkg-config (shared, and static with --static), then find_package.
export PKG_CONFIG_PATH=$lib/pkgconfig
mkdir -p "$work/pc"
for src in "$source"/examples/*.c; do
  name=$(basename "$src" .c)
  # shellcheck disable=SC2046
  cc -std=c11 -Wall -Wextra -Werror "$src" -o "$work/pc/$name" $(pkg-config --cflags --libs zqapi) \
    -Wl,-rpath,"$(pkg-config --variable=libdir zqapi)"
done
# A program linked with the archive finds the catalog relative to the folder
# it is installed in (bin/), whatever the prefix.
# shellcheck disable=SC2046
cc -std=c11 "$source/examples/demo.c" -o "$prefix/bin/demo-static" $(pkg-config --cflags zqapi) \
  "$lib/libzqapi.a" $(pkg-config --static --libs-only-l zqapi | sed 's/-lzqapi//')
cmake -S "$source/examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >"$work/cmake.log"
cmake --build "$work/cmake" >>"$work/cmake.log" || { cat "$work/cmake.log"; fail "find_package build"; }

# The installed server (from BIN), on a free port: sets server and port.
start_server() {
  "$1/zqserverd" --listen 127.0.0.1:0 \
    --form 'Tickets:536870913:char:Title,536870914:integer:Priority,536870915:attach:Notes' \
    >"$work/server.log" 2>&1 &
  server=$!
  for _ in $(seq 1 100); do
    grep -q '^listening on' "$work/server.log" && break
    sleep 0.1
  done
  port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$work/server.log")
  [ -n "$port" ] || { cat "$work/server.log"; fail "zqserverd did not start"; }
}
# A clean stop on SIGTERM.
stop_server() {
  kill -TERM "$server"
  wait "$server" || fail "zqserverd did not stop cleanly on SIGTERM"
  server=
}

# The demos against the installed server.
start_server "$prefix/bin"
for demo in "$work/pc/demo" "$prefix/bin/demo-static" "$work/cmake/demo"; do
  "$demo" 127.0.0.1 "$port" >"$work/demo.log" 2>&1 || { cat "$work/demo.log"; fail "$demo failed"; }
  grep -q 'ZQCreateEntry *return code 0' "$work/demo.log" || { cat "$work/demo.log"; fail "$demo created nothing"; }
  # A message text from the installed catalog, found without NLSPATH.
  grep -q '\[error 122\] [A-Z]' "$work/demo.log" || { cat "$work/demo.log"; fail "$demo: no message text"; }
  if grep -q 'Cannot open catalog' "$work/demo.log"; then fail "$demo did not find the catalog"; fi
done

stop_server

# zq and zqserverd from the installed tree, after the tree moved: they find
# the library and the catalog relative to themselves.
mv "$prefix" "$work/moved"
start_server "$work/moved/bin"
out=$("$work/moved/bin/zq" --url "zq://demo@127.0.0.1:$port" get Tickets 000000000000099 2>&1 || true)
case $out in
  *"error 302: Entry does not exist"*) ;;
  *) fail "moved zq: $out" ;;
esac
"$work/moved/bin/zq" --url "zq://demo@127.0.0.1:$port" info 4 >/dev/null || fail "moved zq info"

stop_server
echo "install test: passed"
