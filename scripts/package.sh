#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Builds the Debian package (build-package/quillog_<version>_<arch>.deb) the way Debian builds its
# own: with the compiler and linker flags dpkg-buildflags gives, every hardening feature on, and
# the time of the last commit as the time of every file, so that two builds of one commit give the
# same bytes. Then checks it as a distribution would: a second build from scratch gives an
# identical package, lintian finds no error, no warning and no hardening tag in it, reuse finds
# the licence of every file in the tree, and the manual page reads without a warning. Installs
# what is missing (Debian 12).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh lintian reuse groff-base
jobs=$(nproc 2>/dev/null || echo 2)

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y packaging/changelog)
export SOURCE_DATE_EPOCH
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)

build() {
    rm -rf build-package
    cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
    cmake --build build-package -j"$jobs" --target quillog
    (cd build-package && cpack >/dev/null)
}

build
first=$(sha256sum build-package/quillog_*.deb | cut -d' ' -f1)
build
second=$(sha256sum build-package/quillog_*.deb | cut -d' ' -f1)
if [ "$first" != "$second" ]; then
    echo "Two builds of the same commit gave different packages: $first and $second"
    exit 1
fi
echo "Two builds gave the same package: $second"

warnings=$(groff -man -ww -z build-package/quillog.1 2>&1)
if [ -n "$warnings" ]; then
    echo "$warnings"
    exit 1
fi
reuse lint
# Informational tags are shown too; errors, warnings and hardening tags fail.
tags=$(lintian --display-info build-package/quillog_*.deb)
echo "$tags"
if echo "$tags" | grep -qE '^[EW]: |hardening'; then
    exit 1
fi
