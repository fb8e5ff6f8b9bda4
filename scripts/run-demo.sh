#!/usr/bin/env bash
# Starts zqserverd on loopback, runs the demo program against it, stops it.
set -euo pipefail
out=${1:-build/out}
log=$(mktemp)
# The demo's form: a title, a priority and an attachment field.
"$out/zqserverd" --port 0 \
  --form 'Tickets:536870913:char:Title,536870914:integer:Priority,536870915:attach:Notes' \
  >"$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 1 50); do
  grep -q '^listening on' "$log" && break
  sleep 0.1
done
port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$log")
if [ -z "$port" ]; then
  echo "run-demo: zqserverd did not start:" >&2
  cat "$log" >&2
  exit 1
fi
echo "zqserverd is listening on 127.0.0.1:$port"
echo
ZQAPI_CONFIG="${ZQAPI_CONFIG:-$(mktemp -u)}" "$out/zqdemo" 127.0.0.1 "$port"
