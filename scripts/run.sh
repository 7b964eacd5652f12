#!/usr/bin/env bash
# Installs what is missing, builds Brevnote and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target brevnote

exe=build/default/src/app/brevnote
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Brevnote needs a graphical desktop and none was found (DISPLAY and WAYLAND_DISPLAY are empty); run it as: xvfb-run -a $exe"
    exit 1
fi
exec "$exe"
