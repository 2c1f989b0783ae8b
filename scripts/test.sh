#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Installs what is missing, builds Quillog and its tests, and runs every test: once in a normal
# build, then again built with AddressSanitizer and UndefinedBehaviorSanitizer. Then builds the
# Debian package and checks it. Then builds the Windows release and runs the same tests, built for
# Windows, under Wine; the first run on a machine builds Qt for Windows too (about half an hour).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLOG_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The Debian package, the licence of every file and the manual page, as a distribution checks them.
./scripts/package.sh

# The Windows build and its tests, under Wine on a virtual display: Wine gives a program windows,
# the hidden ones of Qt's platforms included, only where there is a display.
./scripts/windows.sh
./scripts/install-deps.sh xvfb xauth
xvfb-run -a ctest --test-dir build-windows --output-on-failure -j"$jobs"
