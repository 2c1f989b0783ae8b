#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

# Runs the Linux tests on Debian 13 ("trixie") too, from Debian 12: in a Debian 13 system made
# with debootstrap from the archive this system's apt uses, kept in a cache folder outside the
# clone and made again only when what it installs changes. Inside it, the normal build and its
# tests (build-debian13), then the package that package.sh built here, installed as a user
# installs it, started until its window shows, and its manual page read. On Debian 13 itself the
# test command has run everything natively, and this does nothing. Run as root (it mounts and
# chroots).
set -eu
cd "$(dirname "$0")/.."
source_dir=$(pwd)

# shellcheck disable=SC1091
. /etc/os-release
if [ "${VERSION_CODENAME:-}" != bookworm ]; then
    echo "Debian 13 check: left out, this is not Debian 12 (on Debian 13 the tests ran natively)"
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi
./scripts/install-deps.sh debootstrap

suite=trixie
# The archive the system's own packages come from, and its security archive.
archive_of() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
        awk -v release="$1" '$2 == release { print $1; exit }'
}
mirror=$(archive_of bookworm)
security=$(archive_of bookworm-security)
# What the check needs beyond what install-deps.sh installs for the build and the tests.
extra_packages="xvfb xauth xdotool man-db"
key=$({ echo "$mirror $security $extra_packages"; cat scripts/install-deps.sh; } |
    sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quillog-debian13
root=$cache/$suite-$key
inside=/src/quillog

# Unmounts whatever is mounted inside the system, the deepest first; also when a step fails.
unmount_all() {
    awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r |
        while read -r point; do umount -l "$point"; done
}
trap unmount_all EXIT

mount_all() {
    mkdir -p "$root$inside"
    mount --bind "$source_dir" "$root$inside"
    mount -t proc proc "$root/proc"
    mount --bind /sys "$root/sys"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
    mount -t tmpfs tmpfs "$root/tmp"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# Runs a command in the Debian 13 system, in the clone, with a plain environment.
in_debian13() {
    chroot "$root" env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        sh -c "cd $inside && $1"
}

if [ ! -f "$root/.complete" ]; then
    echo "Making a Debian 13 system in $root (once; a few minutes)"
    unmount_all
    rm -rf "$root"
    debootstrap --variant=minbase "$suite" "$root" "$mirror"
    cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
SOURCES
    mount_all
    in_debian13 "apt-get -qq update && apt-get -qq -y upgrade >/dev/null"
    in_debian13 "./scripts/install-deps.sh $extra_packages"
    unmount_all
    touch "$root/.complete"
fi

mount_all
in_debian13 "apt-get -qq update && apt-get -qq -y upgrade >/dev/null"
echo "Debian 13: $(cat "$root/etc/debian_version"), Qt $(in_debian13 \
    "dpkg-query -W -f='\${Version}' qt6-base-dev")"
in_debian13 "./scripts/linux-tests.sh build-debian13"

# The package built on Debian 12, installed on Debian 13 as a user installs it.
package=$(ls build-package/quillog_*.deb)
cp "$package" "$root/tmp/"
in_debian13 "apt-get -qq -y install /tmp/$(basename "$package") >/dev/null"
in_debian13 "man -P cat quillog | head -n 5"
# Started with a log folder of its own, until its window shows on a virtual display.
in_debian13 "HOME=/tmp/operator xvfb-run -a sh -c '
    quillog & program=\$!
    timeout 60 xdotool search --sync --onlyvisible --name \"^Quillog v\" >/dev/null
    shown=\$?
    kill \$program
    [ \$shown -eq 0 ] && echo \"Debian 13: the installed package shows its window\"
    exit \$shown'"
in_debian13 "apt-get -qq -y purge quillog >/dev/null"
