#!/usr/bin/env bash
# Starts the port mapper when none answers; the end-to-end tests register with it.
set -euo pipefail
if rpcinfo -p 127.0.0.1 >/dev/null 2>&1; then
  exit 0
fi
RPCBIND=$(command -v rpcbind || echo /usr/sbin/rpcbind)
mkdir -p /run/rpcbind
"$RPCBIND" -w 2>/dev/null || "$RPCBIND"
for _ in $(seq 1 50); do
  rpcinfo -p 127.0.0.1 >/dev/null 2>&1 && exit 0
  sleep 0.1
done
echo "start-rpcbind: the port mapper did not come up" >&2
exit 1
