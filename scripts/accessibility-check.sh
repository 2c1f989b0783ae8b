#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Starts Quillog on a throw-away log folder with the desktop's accessibility bus running, and
# prints what a screen reader finds in its window (scripts/accessibility_tree.py). Uses the
# current display, or a virtual one when there is none. Installs what it needs (Debian 12).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh at-spi2-core python3-pyatspi dbus-x11 xvfb
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
