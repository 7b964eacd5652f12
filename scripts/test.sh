#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test.
# With the argument "sanitize" the same is done under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-default}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
