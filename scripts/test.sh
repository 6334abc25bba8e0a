#!/bin/bash
# Builds and runs every test: the host unit tests, the Windows unit and
# end-to-end tests under Wine (win64), and the release checks (win32).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

status=0
for preset in host win64 win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
