#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Installs what is missing, builds Quillog and its tests, and runs every test: once in a normal
# build, then again built with AddressSanitizer and UndefinedBehaviorSanitizer. Then builds the
# Debian package and checks it. On Debian 12, runs the tests and the package on Debian 13 too, then
# builds the Windows release and runs the same tests, built for Windows, under Wine; the first run
# on a machine makes the Debian 13 system and builds Qt for Windows too.
set -eu
cd "$(dirname "$0")/.."

./scripts/linux-tests.sh build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ./scripts/linux-tests.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLOG_SANITIZE=ON

# The Debian package, the licence of every file and the manual page, as a distribution checks them.
./scripts/package.sh

# The same tests, and the package built here, on Debian 13 too.
./scripts/debian13.sh

# The Windows build and its tests, under Wine on a virtual display: Wine gives a program windows,
# the hidden ones of Qt's platforms included, only where there is a display. Built from the Qt
# source of the release it runs on, it is made and tested on Debian 12 only.
# shellcheck disable=SC1091
. /etc/os-release
if [ "${VERSION_CODENAME:-}" != bookworm ]; then
    echo "Windows build: left out here; it is built and tested on Debian 12"
    exit 0
fi
./scripts/windows.sh
./scripts/install-deps.sh xvfb xauth
jobs=$(nproc 2>/dev/null || echo 2)
xvfb-run -a ctest --test-dir build-windows --output-on-failure -j"$jobs"
