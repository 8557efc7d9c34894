#!/bin/bash
# Runs bench_proxytest against a farm of loopback proxies (bench/proxy_farm.py).
# Hold the machine-wide lock around it:
#   flock /tmp/corvane-ports.lock bash bench/proxytest/run.sh [build dir] [latency ms] [--quick]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
arch=$(cat "$top/build/test-arch" 2>/dev/null || echo i686)
build_dir=${1:-$top/build/$arch}
latency=${2:-200}
quick=${3:-}
exe="$build_dir/bench/bench_proxytest.exe"
[ -f "$exe" ] || { echo "run.sh: no $exe; build the target bench_proxytest" >&2; exit 1; }

if grep -q 'mingw-x86_64.cmake' "$build_dir/CMakeCache.txt"; then
  export WINE_BITS=64
  export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix64}
else
  export WINE_BITS=32
  export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix32}
fi

work=$(mktemp -d)
farm_pid=""
cleanup() {
  [ -n "$farm_pid" ] && kill "$farm_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

python3 "$top/bench/proxy_farm.py" --ports 400 --addresses 8 --latency-ms "$latency" \
  --endpoint-file "$work/endpoints.txt" &
farm_pid=$!
for _ in $(seq 1 200); do
  [ -f "$work/endpoints.txt" ] && break
  sleep 0.1
done
[ -f "$work/endpoints.txt" ] || { echo "run.sh: the farm did not come up" >&2; exit 1; }

# Wine sees the Unix root as drive Z:.
"$top/tools/wine-run" "$exe" "Z:${work//\//\\}\\endpoints.txt" "$latency" $quick
