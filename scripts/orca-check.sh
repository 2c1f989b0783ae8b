#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Lets the Orca screen reader read Quillog while the keyboard tabs once round the window, types a
# call sign and presses Alt+S, and prints what Orca said (taken from its debug log; the sound goes
# nowhere). Runs on a throw-away home and log folder, on the current display or a virtual one.
# Installs what it needs (Debian 12).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh at-spi2-core dbus-x11 xvfb xdotool openbox orca speech-dispatcher \
    speech-dispatcher-espeak-ng espeak-ng
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillog >/dev/null

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# Speech goes to a sound device that discards it.
mkdir -p "$home/.config/speech-dispatcher"
printf 'pcm.!default { type null }\n' >"$home/.asoundrc"
printf 'AudioOutputMethod "alsa"\nDefaultModule espeak-ng\nAddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n' \
    >"$home/.config/speech-dispatcher/speechd.conf"

HOME="$home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 dbus-run-session -- sh -c '
    openbox >/dev/null 2>&1 &
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 1
    orca --replace --debug-file="$HOME/orca.log" >/dev/null 2>&1 &
    sleep 6
    ./build/quillog &
    program=$!
    sleep 4
    xdotool search --sync --name "Quillog v1.0" windowactivate --sync
    sleep 2
    for step in 1 2 3 4 5 6 7 8 9 10 11 12 13; do xdotool key Tab; sleep 1; done
    xdotool key alt+c; sleep 1; xdotool type k1ab; sleep 1; xdotool key alt+s; sleep 3
    kill -TERM "$program"
    wait "$program" || true
    sed -n "s/^.* - SPEECH OUTPUT: \(.*\)/\1/p" "$HOME/orca.log"
' 2>/dev/null
