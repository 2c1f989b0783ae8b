#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Installs the Debian packages that building, running and testing Quillog need, and any further
# packages named as arguments, and only those that are missing. Safe to run again and again.
set -eu

packages="cmake make g++ dpkg-dev file qt6-base-dev libxkbcommon-dev qt6-qpa-plugins fonts-dejavu-core"
packages="$packages desktop-file-utils appstream $*"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
echo "Installing:$missing"
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
