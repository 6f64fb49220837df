#!/usr/bin/env bash
# The content side of the system, run for real: builds tessel_content and the fixture server,
# serves the built content fixture tree on a free loopback port, and runs `update`, `list` and
# `download st1` on the sandbox root out/tessel-content (kept between runs, as a device keeps its
# store). The server is stopped at the end, whatever happened.
#   scripts/run-content-example.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target tessel_content tessel_fixture_server TesselContentFixtures

tree=$(sed -n 's/^TESSEL_CONTENT_FIXTURES_DIR:INTERNAL=//p' build/release/CMakeCache.txt)/content-tree
mkdir -p out
log=out/tessel-content-server.log
build/release/examples/tessel_fixture_server --port 0 "$tree" >"$log" &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [[ -s $log ]] && break
  sleep 0.05
done
url=$(head -n 1 "$log")
[[ $url == http://127.0.0.1:* ]] || { echo "the fixture server did not start" >&2; exit 1; }

program=build/release/examples/tessel_content
echo "== update";          "$program" --root out/tessel-content --server "$url" update
echo "== list";            "$program" --root out/tessel-content list
echo "== download st1";    "$program" --root out/tessel-content --server "$url" download st1
echo "== requests the server answered"
tail -n +2 "$log"
