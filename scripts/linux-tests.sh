#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Installs what is missing, builds Quillog and its tests in the folder given and runs every test:
#   ./scripts/linux-tests.sh <build folder> [further CMake options]
# The test command runs it for the normal and the sanitized build, and inside Debian 13.
set -eu
cd "$(dirname "$0")/.."
build=$1
shift

./scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure -j"$jobs"
