#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Builds the Debian package from a Release build (build-package/quillog_<version>_<arch>.deb) and
# checks it as a distribution would: lintian finds no error and no warning in the package, reuse
# finds the licence of every file in the tree, and the manual page reads without a warning.
# Installs what is missing (Debian 12).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh lintian reuse groff-base
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-package -j"$jobs" --target quillog
rm -f build-package/quillog_*.deb
(cd build-package && cpack)

warnings=$(groff -man -ww -z packaging/quillog.1 2>&1)
if [ -n "$warnings" ]; then
    echo "$warnings"
    exit 1
fi
reuse lint
# Informational tags are shown too; only errors and warnings fail.
lintian --display-info --fail-on error,warning build-package/quillog_*.deb
