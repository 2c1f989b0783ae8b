#!/bin/sh
# Starts Quillog on a throw-away log folder with the desktop's accessibility bus running, and
# prints what a screen reader finds in its window (scripts/accessibility_tree.py). Uses the
# current display, or a virtual one when there is none. Installs what it needs (Debian 12).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
for package in at-spi2-core python3-pyatspi dbus-x11 xvfb; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="${missing:-} $package"
    fi
done
if [ -n "${missing:-}" ]; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillog >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

HOME="$home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 dbus-run-session -- sh -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 1
    ./build/quillog &
    program=$!
    /usr/bin/python3 scripts/accessibility_tree.py
    status=$?
    kill -TERM "$program"
    wait "$program" || true
    exit $status
'
