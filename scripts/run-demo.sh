#!/usr/bin/env bash
# Runs the demo program from a build's output folder.
set -euo pipefail
out=${1:-build/out}
"$out/zqdemo"
