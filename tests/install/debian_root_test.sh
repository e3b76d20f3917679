#!/usr/bin/env bash
# The Debian packages in a fresh Debian 12 root (debootstrap, from the mirror apt uses here):
# each installs with what it depends on, the examples build against the installed development
# package, and each removes cleanly; once all are removed the root holds what it held before.
# Needs root (debootstrap, chroot) and the network. Takes about 6 minutes on two cores.
# Usage: debian_root_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD="$1"
SOURCE="$2"

[ "$(id -u)" -eq 0 ] || exec sudo -n "$0" "$@"
WORK="$(mktemp -d)"
ROOT="$WORK/root"
trap 'umount "$ROOT/proc" 2>/dev/null || true; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

MIRROR="$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)"
debootstrap --variant=minbase bookworm "$ROOT" "${MIRROR:-http://deb.debian.org/debian}" >"$WORK/debootstrap.log" 2>&1 ||
    { tail -n 20 "$WORK/debootstrap.log" >&2; fail "debootstrap could not make a Debian 12 root"; }
mount -t proc proc "$ROOT/proc"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
# The root gets a clean environment: nothing of the caller's (a compiler launcher, say) leaks in.
in_root() { chroot "$ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"; }
apt_in_root() { in_root apt-get -y -q --no-install-recommends "$@" >>"$WORK/apt.log" 2>&1 || { tail -n 30 "$WORK/apt.log" >&2; return 1; }; }

# What an example's developer brings along: a compiler and CMake, and for the Qt Quick example
# Qt Quick's and Qt WebEngine's development files, which only the package's component Quick needs.
apt_in_root install cmake make g++ qt6-declarative-dev qt6-webengine-dev || fail "the build tools do not install"
state() {
    in_root dpkg-query -W -f='${Package} ${Status}\n' | sort
    in_root find / -xdev \( -path /proc -o -path /tmp -o -path /var/cache -o -path /var/lib/apt -o -path /var/lib/dpkg \
        -o -path /var/log -o -path /etc/ld.so.cache \) -prune -o -print | sort
}
BEFORE="$(state)"

mkdir "$ROOT/tmp/debs"
(cd "$BUILD" && cpack -G DEB -B "$WORK/cpack" >/dev/null)
cp "$WORK"/cpack/*.deb "$ROOT/tmp/debs/"
PACKAGES=(liblumetto-control3 liblumetto-control-dev liblumetto-control-designer qml6-module-lumetto lumetto-demo)

# Each installs on its own, the packages it depends on already there or from the mirror.
for package in "${PACKAGES[@]}"; do
    apt_in_root install "$(cd "$ROOT" && ls tmp/debs/"$package"_*.deb | sed 's|^|/|')" || fail "$package does not install"
    in_root dpkg-query -W -f='${Status}' "$package" | grep -q "install ok installed" || fail "$package is not installed"
done
in_root test -x /usr/bin/lumetto-demo || fail "the demo's command is not installed"

# The examples, against the installed development package only (and the QML module, for the
# Qt Quick one: its component Quick is found in Qt's own folder of QML modules).
cp -r "$SOURCE/examples" "$ROOT/tmp/examples"
for example in minimal designer_form records quick_records; do
    in_root sh -c "cmake -S /tmp/examples/$example -B /tmp/build-$example && cmake --build /tmp/build-$example -j2" \
        >"$WORK/$example.log" 2>&1 || { tail -n 30 "$WORK/$example.log" >&2; fail "$example does not build against liblumetto-control-dev"; }
done

# Each removes cleanly, the last user of the library first: none of its files stays behind.
for ((i = ${#PACKAGES[@]} - 1; i >= 0; i--)); do
    package="${PACKAGES[$i]}"
    files="$(in_root dpkg-query -L "$package")"
    apt_in_root purge "$package" || fail "$package does not remove"
    while read -r path; do
        if [ -n "$path" ] && [ ! -d "$ROOT$path" ] && { [ -e "$ROOT$path" ] || [ -L "$ROOT$path" ]; }; then
            fail "$path of $package is left after its removal"
        fi
    done <<<"$files"
done
# What only our packages needed goes too; a package that was there before keeps what it depends
# on, not what it merely recommends or suggests (perl, which Qt's tools pulled in).
apt_in_root -o APT::AutoRemove::RecommendsImportant=false -o APT::AutoRemove::SuggestsImportant=false autoremove --purge || fail "the packages' dependencies do not remove"
diff <(echo "$BEFORE") <(state) >&2 || fail "the root differs from before the packages were installed"
