#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Brevnote need.
# Idempotent: when every package is already installed, apt is not touched at all.
# Arguments name further packages a script needs beyond these (scripts/fuzz.sh: clang).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
    libqt6webenginewidgets6 libqt6printsupport6
    qt6-qpa-plugins
    libqt6svg6             # draws the program's SVG icons
    libqt6sql6-sqlite      # the search index: SQLite (with FTS5) through Qt's SQL module
    qt6-translations-l10n  # Qt's own texts in Brazilian Portuguese
    libicu-dev             # the sort's collation keys (the ICU QtCore collates with)
    libbenchmark-dev
    xvfb xauth
    # the end-to-end test: a tray host, a window manager, driving and reading windows, the
    # accessibility bus, and the launcher and AppStream checks
    trayer openbox xdotool x11-utils dbus-daemon at-spi2-core python3-pyatspi
    desktop-file-utils appstream
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
