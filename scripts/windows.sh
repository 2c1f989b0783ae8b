#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Makes the Windows release on Debian 12: Qt for Windows, built once from Debian's own qt6-base
# source with Debian's MinGW-w64 and kept in a cache folder outside the clone, then Quillog
# cross-built with it and packed as a zip and an NSIS installer. Installs what is missing.
# Prints the folder that holds both files at its end.
set -eu
cd "$(dirname "$0")/.."
source_dir=$(pwd)

./scripts/install-deps.sh g++-mingw-w64-x86-64-posix ninja-build nsis wine64 dpkg-dev xz-utils
jobs=$(nproc 2>/dev/null || echo 2)
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake

# Qt for Windows is the same Qt as the one this system builds the Linux program with, so that the
# code generators of that Qt (moc, rcc) serve both builds.
qt_source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
qt_upstream_version=${qt_source_version%%+*}
# What the program needs of Qt, and no more. Debian's source has no tablet headers for Windows;
# without OpenGL the Windows platform plugin builds only without its dynamic OpenGL loading.
qt_options="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
-DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
-DFEATURE_tabletevent=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
-DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
-DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
-DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
-DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
-DFEATURE_system_doubleconversion=OFF"
# A new Qt version, other options or another toolchain make a new Qt; the old one stays until the
# cache folder is removed.
qt_key=$({ echo "$qt_source_version"; echo "$qt_options"; cat "$toolchain"; } | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quillog-windows
qt=$cache/qt-$qt_upstream_version-$qt_key

# Each step leaves a mark in the work folder, so that a build stopped part-way (a closed terminal,
# a machine switched off) resumes where it stopped: the source is fetched once, and Ninja builds
# only what is not built yet.
build_qt() {
    work=$cache/work-$qt_key
    if [ ! -f "$work/source.complete" ]; then
        rm -rf "$work"
        mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"
        fetch_qt_source
        touch "$work/source.complete"
    fi
    if [ ! -f "$work/configure.complete" ]; then
        # shellcheck disable=SC2086
        cmake -S "$work/source" -B "$work/build" -G Ninja --toolchain "$toolchain" \
            -DCMAKE_INSTALL_PREFIX="$qt" -DQT_HOST_PATH=/usr \
            -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
            $qt_options >"$work/configure.log"
        touch "$work/configure.complete"
    fi
    cmake --build "$work/build" -j"$jobs"
    rm -rf "$qt"
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
    rm -rf "$work"
}

# The source comes through apt, checked against the archive's signed index like any package, from
# the archive this system's qt6-base-dev was installed from. A private list of source archives
# leaves the system's apt configuration as it is.
fetch_qt_source() {
    apt-get indextargets --format '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)' \
        'Identifier: Packages' | sed -n 's/^deb /deb-src /p' | sort -u >"$work/apt/sources.list"
    apt_options="-o Dir::Etc::SourceList=$work/apt/sources.list -o Dir::Etc::SourceParts=-
        -o Dir::State::Lists=$work/apt/lists -o Dir::Cache=$work/apt -o APT::Sandbox::User=$(id -un)"
    # shellcheck disable=SC2086
    apt-get -qq $apt_options update
    # shellcheck disable=SC2086
    (cd "$work" && apt-get -qq $apt_options source --download-only "qt6-base=$qt_source_version")
    dpkg-source -x "$work"/qt6-base_*.dsc "$work/source" >/dev/null
}

if [ ! -f "$qt/.complete" ]; then
    echo "Building Qt $qt_upstream_version for Windows into $qt (once; about half an hour;" \
        "a build stopped part-way resumes)"
    build_qt
fi

# Quillog for Windows, with its tests, which run under Wine (ctest --test-dir build-windows).
cmake -S . -B build-windows -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64
cmake --build build-windows -j"$jobs"
rm -rf build-windows/release
(cd build-windows && cpack -B release >/dev/null)
rm -rf build-windows/release/_CPack_Packages
echo "Windows release: $(pwd)/build-windows/release"
ls -l build-windows/release
