#!/usr/bin/env bash
# Brevnote beside a minimal Qt 6 program (bench/reference: a tray icon and a plain-text editor)
# on a throw-away X desktop with a tray host: start to tray docked, start to window mapped,
# private memory while idle, "Abrir", the closing dump and each text tool on a million lines
# (with the longest time the window could not repaint), and the reminder pass
# (bench_reminders). Prints one table of medians, minimums and ratios.
#
#   bench/compare.sh [--pairs N] [--idle SECONDS] [--lines N] [--tool-pairs N]
#                    [--tools ACTION,...] [--only-large | --only-start]
#                                                  (defaults: 10, 30, 1000000, 3)
#
# Builds the bench preset first. Everything runs in a temporary root (program, data, config,
# home and temporary folders), never in the real home. About 15 minutes with the defaults.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh" libxcb1-dev
cd "$here"
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
cmake --preset bench >/dev/null
cmake --build --preset bench --target brevnote brevnote_reference dockwatch bench_reminders >/dev/null
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
    "Debian $(cat /etc/debian_version), Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?')"
exec /usr/bin/python3 "$here/bench/compare.py" "$here/build/bench" "$@"
